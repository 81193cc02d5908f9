// The text side of the HTML-like markup of the task dialog: entities, attribute values,
// colours and numbers, and the line splitting of titled texts. Nothing here needs a window
// or a device, so every rule can be checked on its own.
#pragma once

#include "vcl/graphics.h"
#include "vcl/sysutils.h"

class TUniStringList;

// Before layout: the entity table is applied (each entity once a pass, first occurrence,
// any letter case, until a pass changes nothing), the first "<#" loses its "<" and the
// first ">" after it, each CR becomes "<BR>" and each LF goes.
WideString PrepareHtmlMarkup(const WideString& Text);
// Inside one text run: "&nbsp;", "&lt;" and "&gt;" (every occurrence, exact case).
void ReplaceRunEntities(WideString& Run);

// Upper case through the system code page, as attribute texts are compared.
WideString HtmlUpperCase(const WideString& S);
// The text between the first two double quotes after the first occurrence of Name in
// Attrs; empty when Name or either quote is missing. SkipToEquals first moves to the
// first "=" after the name (the font's SIZE).
WideString HtmlAttrValue(const WideString& Attrs, const WideString& Name, bool SkipToEquals = false);
// The quoted value after the first letter Letter (either case): the rotation's angle and the
// position's X. Without quotes, the digits after the letter (and an optional "=").
WideString HtmlLetterValue(const WideString& Attrs, wchar_t Letter);
// A decimal integer at the start of S (leading spaces and a sign allowed); 0 when S does not
// start with one. Values beyond +-1,000,000 are held there.
int HtmlNumber(const WideString& S);

// "#RRGGBB" as a colour (0x00BBGGRR); a missing digit counts 0.
TColor HtmlHexColor(const WideString& S);
// A colour name ("clRed", "clBtnFace", any letter case); 0 (black) for an unknown name.
TColor HtmlNamedColor(const WideString& S);
// Hexadecimal when S starts with "#", else a name (the font's and paragraph's colours).
TColor HtmlColorValue(const WideString& S);
// The body's colour: a name when it holds "CL", hexadecimal when it holds "#" (which wins).
TColor HtmlBodyColor(const WideString& S);
// The points of a font SIZE value: 1..5 give 8, 10, 12, 14, 16; any other number that many.
int HtmlFontPoints(int Size);

// Leading and trailing spaces (U+0020 only) removed.
AnsiString TrimSpaces(const AnsiString& S);
WideString TrimSpacesW(const WideString& S);
// A text without backslash-n and CR is added as it is; otherwise it is cut at each
// backslash-n and each CR (a CR LF pair counts as one break) and each trimmed piece added,
// empty pieces too.
void SplitTextLines(const WideString& Text, TUniStringList* Lines);
