// The window's open dialog serves every picker (tools, input files, logs). Each picker
// starts from the folder it was last used in, and never with a file name another picker
// left in the dialog.
#pragma once

#include "widetext/uni_file_dialogs.h"

// Readies Dialog for Picker: no file name, the picker's last folder (none yet: the
// system's choice).
void PrepareDialogFor(TUniOpenDialog* Dialog, const char* Picker);
// Notes the folder of FileName, chosen through Picker, for its next use.
void RememberPickerFolder(const char* Picker, const WideString& FileName);
