// The program's start-up, shared by Kavo.exe and the tests that start the program whole.
#pragma once

// Titles the application "Kavo" and creates the main window, the properties dialog and
// the custom value dialog from their descriptions (Application must exist).
void CreateProgramForms();
