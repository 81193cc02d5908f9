// Resource strings read as wide text.
#pragma once

#include "vcl/resstrings.h"

// A string-table identifier is read through Uni_LoadStringW (at most 4096
// characters); a literal is decoded as UTF-8 when it begins with the UTF-8
// byte-order mark and has text after it, else converted with ConversionCodePage.
// Empty for null or a missing string.
WideString LoadWideResString(const TResStringRec* ResStringRec);
