// The plain 8-bit system file dialog, used on Windows Vista in place of the wide one.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

// Shows the open (Open) or save dialog; on success FileName holds the chosen name and the
// result is true, otherwise FileName is left as it was. Filter is "text|pattern|..."
// as the framework's dialogs take it.
bool ShowApiFileDialog(HWND Owner, const AnsiString& DefaultExt, const AnsiString& Filter,
                       const AnsiString& InitialDir, const AnsiString& Title, AnsiString& FileName,
                       bool FileMustExist, bool OverwritePrompt, bool NoChangeDir, bool Open,
                       bool AllowMultiSelect);
// The filter as the system takes it: every "|" a NUL, then two NULs.
AnsiString ApiFilter(const AnsiString& Filter);
