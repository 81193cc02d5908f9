// UTF-8 for tag values put on a command line, and back.
#pragma once

#include "vcl/sysutils.h"

// UTF-16 to UTF-8: a surrogate pair becomes one 4-byte sequence; a lone surrogate is
// written as its own 3-byte form.
AnsiString WideToUtf8(const WideString& W);
// UTF-8 to UTF-16: 1- to 4-byte sequences, 4-byte ones as a surrogate pair. Decoding stops,
// keeping what came before, at the first malformed or truncated sequence (a stray
// continuation byte, a missing one, an overlong form, a value above U+10FFFF).
WideString Utf8ToWide(const AnsiString& S);
