// Makes the dialog components known to the form reader by class name.
#pragma once

void RegisterDialogClasses();
