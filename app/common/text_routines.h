// Small text routines the handlers, builders and parsers share.
#pragma once

#include <cstdint>

#include "vcl/sysutils.h"

// The text after the first Marker, up to the end; empty when Marker is absent.
AnsiString StrAfter(const AnsiString& Marker, const AnsiString& Text);
// The text before the first Marker; empty when Marker is absent or starts Text.
AnsiString StrBefore(const AnsiString& Marker, const AnsiString& Text);
WideString StrAfter(const WideString& Marker, const WideString& Text);
WideString StrBefore(const WideString& Marker, const WideString& Text);

// Pattern with its first "%s" replaced by Value (Pattern unchanged when it has none).
WideString FillText(const WideString& Pattern, const WideString& Value);

// S := T when S is empty, else S + " " + T (WithBlank) or S + T.
void AppendWithBlank(AnsiString& S, const AnsiString& T, bool WithBlank);
AnsiString ReplaceChar(AnsiString S, char FromChar, char ToChar);
// The value of the hexadecimal digits S; EConvertError when S is not hexadecimal.
long long HexToInt(const AnsiString& S);
// Size / 1048576 rounded to a whole number; "0" for sizes of 0 and below.
AnsiString FormatMegabytes(int64_t Size);
// True when S is one or more decimal digits and nothing else.
bool IsDecimalDigits(const AnsiString& S);
// Ordinal comparison of 8-bit texts in which only the letters A to Z equal a to z:
// negative, 0 or positive for A before, equal to or after B.
int CompareText(const AnsiString& A, const AnsiString& B);
