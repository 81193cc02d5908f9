// What the user is told when the program cannot keep something of theirs: the run log or the
// settings not written, or the library that describes media files missing; in the language
// of the interface.
#pragma once

#include "vcl/sysutils.h"

WideString LogNotWrittenText(const WideString& FileName);
// The log went to Instead (Kavo's folder) because FileName could not be written.
WideString LogMovedText(const WideString& FileName, const WideString& Instead);
WideString SettingsNotWrittenText(const WideString& FileName);
WideString MediaInfoMissingText(const WideString& ProgramFolder);
