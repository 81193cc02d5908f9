// WideString counterparts of the runtime's file-name and file routines. Positions
// are 1-based, as in the runtime's routines.
#pragma once

#include "vcl/sysutils.h"

// Index of the last character of S that occurs in Delimiters, 0 when none.
size_t WideLastDelimiter(const WideString& Delimiters, const WideString& S);
// Index inside S and S[Index] is "\".
bool WideIsPathDelimiter(const WideString& S, size_t Index);
bool WideIsDelimiter(const WideString& Delimiters, const WideString& S, size_t Index);

// "\" and ":" end the folder part (a drive letter's colon too); the extension
// starts at the last "." after them.
WideString WideExtractFilePath(const WideString& FileName);
WideString WideExtractFileName(const WideString& FileName);
WideString WideExtractFileExt(const WideString& FileName);
// Extension carries its own dot; "" removes the extension.
WideString WideChangeFileExt(const WideString& FileName, const WideString& Extension);
WideString WideExpandFileName(const WideString& FileName);
// Empty when the file does not exist or has no short name.
WideString WideExtractShortPathName(const WideString& FileName);

// Read and write access, no sharing, CREATE_ALWAYS. INVALID_HANDLE_VALUE on failure.
HANDLE WideFileCreate(const WideString& FileName);
// Mode as for TFileStream: access in the low bits (0 read, 1 write, 2 both), sharing
// in bits 4..6 (0 and 1 none, 2 read, 3 write, 4 both). INVALID_HANDLE_VALUE on failure.
HANDLE WideFileOpen(const WideString& FileName, unsigned Mode);
// A file (not a folder) of exactly this name exists.
bool WideFileExists(const WideString& FileName);
DWORD WideFileGetAttr(const WideString& FileName);  // INVALID_FILE_ATTRIBUTES on failure
bool WideDeleteFile(const WideString& FileName);
// Raises the last system error (EOSError) when RetVal is 0.
BOOL Uni_Win32Check(BOOL RetVal);
