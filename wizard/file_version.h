// Reading the version resource of a file: the fixed version block and the module's file name.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

// The file name of a loaded module (up to MAX_PATH characters); empty when unknown.
AnsiString ModuleFileName(HMODULE Module);

// Copies a fixed version block that the system handed over; a block of any size but that of
// VS_FIXEDFILEINFO (52 bytes) counts as missing.
bool AcceptFixedFileInfo(const void* Block, UINT Size, VS_FIXEDFILEINFO& Info);

// The fixed version block of a file; false when the file has none.
bool GetFixedFileInfo(const AnsiString& FileName, VS_FIXEDFILEINFO& Info);
