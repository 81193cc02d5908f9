// WideString counterparts of the runtime's text routines. Positions are 1-based.
#pragma once

#include <vector>

#include "vcl/sysutils.h"

// Line-break styles of WideAdjustLineBreaks.
enum TTextLineBreakStyle { lbLF = 0, lbCRLF = 1, lbCR = 2 };

// Flags of WideStringReplace.
enum : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };

WideString WideUpperCase(const WideString& S);
WideString WideLowerCase(const WideString& S);
// Position of SubStr in S regardless of case; 0 when absent.
size_t WideTextPos(const WideString& SubStr, const WideString& S);
// Position of the first SubStr that starts after the first Offset characters of S;
// 0 when there is none.
size_t WidePosEx(const WideString& SubStr, const WideString& S, size_t Offset);
size_t WideTextPosEx(const WideString& SubStr, const WideString& S, size_t Offset);
// Removes Count characters from Index; nothing when Index lies outside S or Count < 1.
void WideDelete(WideString& S, int Index, int Count);
WideChar WideStrLastChar(const WideString& S);  // 0 for an empty text

// The CT_CTYPE1 bits of C in the thread locale; raises the last system error on failure.
WORD WideCharType1(WideChar C);
// C is 0, a space or punctuation.
bool WideIsWordSeparator(WideChar C);
// WholeWord replaces only matches with a word separator (or the text's edge) on both
// sides. An empty OldPattern leaves S as it is.
WideString WideStringReplace(const WideString& S, const WideString& OldPattern, const WideString& NewPattern,
                             unsigned Flags, bool WholeWord = false);
// Every CR LF, lone CR, lone LF and U+2028 becomes the line break of Style.
WideString WideAdjustLineBreaks(const WideString& S, TTextLineBreakStyle Style = lbCRLF);
// C has an exact form in ConversionCodePage.
bool IsWideCharMappable(WideChar C);

// The characters from P up to the next Delimiter; P moves past that delimiter, or
// stops at the terminator when there is none. With the delimiter 0 the text is a
// list of zero-terminated items closed by an empty one.
WideString ExtractNextWideItem(const WideChar*& P, WideChar Delimiter);
// Every item up to the first empty one.
std::vector<WideString> SplitWideText(const WideChar* Text, WideChar Delimiter);

// The system's text for an error code, as the system gives it (line break included);
// "Unspecified error (code) from system." when it has none.
WideString WideSysErrorMessage(DWORD ErrorCode);
// As WideSysErrorMessage, with the texts of Module (when not null) before the system's.
WideString WideModuleErrorMessage(const WideString& ModuleName, HMODULE Module, DWORD ErrorCode);
