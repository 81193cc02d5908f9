// What the user is told when the program cannot keep something of theirs: the run log or the
// settings not written, or the library that describes media files missing. The language files
// hold no texts for these, so they are in English.
#pragma once

#include "vcl/sysutils.h"

WideString LogNotWrittenText(const WideString& FileName);
WideString SettingsNotWrittenText(const WideString& FileName);
WideString MediaInfoMissingText(const WideString& ProgramFolder);
