// One value made into one argument of a Windows command line.
//
// Programs split their command line by the rules of the C runtime (and CommandLineToArgvW):
// blanks separate arguments unless they stand between double quotes, a double quote inside
// is written \", and backslashes are literal except right before a double quote, where each
// one has to be doubled. Every builder puts its free values (file and folder names, names,
// tag values) through this routine, so that a title like 12" Mix stays one argument and a
// folder's trailing backslash cannot swallow the closing quote and the rest of the line.
#pragma once

#include "vcl/sysutils.h"

// Value enclosed in double quotes and escaped; the empty value gives "".
AnsiString QuoteArgument(const AnsiString& Value);
WideString QuoteArgument(const WideString& Value);
