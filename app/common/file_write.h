// Writing a whole file so that a failed write leaves no part of it: the bytes go to a
// temporary file beside it, which then takes the file's name.
#pragma once

#include "vcl/sysutils.h"

// Replaces (or creates) FileName with Bytes. Throws an Exception whose message names the
// file and the system's reason (disk full, access denied...); the file is then unchanged.
void WriteWholeFile(const WideString& FileName, const AnsiString& Bytes);
