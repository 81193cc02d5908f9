// Track languages in their three forms: the two-letter code (VobSub indexes, MP4Box's
// ":lang="), the English name (track rows, the properties dialog's list) and the position
// in the properties dialog's language list. Fixed tables; comparisons are exact.
#pragma once

#include "vcl/sysutils.h"

// The English name of a code; an unknown code comes back unchanged.
WideString LangCodeToName(const WideString& Code);
// The code of an English name; empty for a name without one.
WideString LangNameToCode(const WideString& Name);
// The position in the properties dialog's language list; 0 ("Unspecified") when not there.
int LangNameToIndex(const WideString& Name);
