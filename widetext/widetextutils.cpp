#include "widetext/widetextutils.h"

#include "widetext/codecs.h"
#include "widetext/platform.h"
#include "widetext/widebuf.h"

WideString WideUpperCase(const WideString& S) {
  WideString r = S;
  if (!r.empty()) Uni_CharUpperBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

WideString WideLowerCase(const WideString& S) {
  WideString r = S;
  if (!r.empty()) Uni_CharLowerBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

size_t WidePosEx(const WideString& SubStr, const WideString& S, size_t Offset) {
  if (SubStr.empty() || Offset >= S.size()) return 0;
  const size_t at = S.find(SubStr, Offset);
  return at == WideString::npos ? 0 : at + 1;
}

size_t WideTextPos(const WideString& SubStr, const WideString& S) { return WideTextPosEx(SubStr, S, 0); }

size_t WideTextPosEx(const WideString& SubStr, const WideString& S, size_t Offset) {
  return WidePosEx(WideUpperCase(SubStr), WideUpperCase(S), Offset);
}

void WideDelete(WideString& S, int Index, int Count) {
  if (S.empty() || Index < 1 || static_cast<size_t>(Index) > S.size() || Count < 1) return;
  S.erase(static_cast<size_t>(Index) - 1, static_cast<size_t>(Count));
}

WideChar WideStrLastChar(const WideString& S) { return S.empty() ? L'\0' : S.back(); }

WORD WideCharType1(WideChar C) {
  WORD type = 0;
  if (!Uni_GetStringTypeExW(GetThreadLocale(), CT_CTYPE1, &C, 1, &type)) RaiseLastOSError();
  return type;
}

bool WideIsWordSeparator(WideChar C) { return C == L'\0' || (WideCharType1(C) & (C1_SPACE | C1_PUNCT)) != 0; }

WideString WideStringReplace(const WideString& S, const WideString& OldPattern, const WideString& NewPattern,
                             unsigned Flags, bool WholeWord) {
  // An empty pattern matches nowhere: the text comes back as it is.
  if (OldPattern.empty()) return S;
  const bool ignoreCase = (Flags & rfIgnoreCase) != 0;
  const WideString pattern = ignoreCase ? WideUpperCase(OldPattern) : OldPattern;
  // Case mapping keeps every code unit in place, so positions found in the
  // searched copy hold in the remainder of S.
  WideString search = ignoreCase ? WideUpperCase(S) : S;
  size_t from = 0;  // the unsearched remainder starts here, in S and in search
  WideString result;
  while (from < S.size()) {
    const size_t at = search.find(pattern, from);
    if (at == WideString::npos) break;
    const size_t after = at + OldPattern.size();
    if (WholeWord) {
      const WideChar before = at > from ? S[at - 1] : WideStrLastChar(result);
      const WideChar next = after < S.size() ? S[after] : L'\0';
      if (!WideIsWordSeparator(before) || !WideIsWordSeparator(next)) {
        result.append(S, from, after - from);
        from = after;
        continue;
      }
    }
    result.append(S, from, at - from);
    result += NewPattern;
    from = after;
    if (!(Flags & rfReplaceAll)) break;
  }
  result.append(S, from, WideString::npos);
  return result;
}

WideString WideAdjustLineBreaks(const WideString& S, TTextLineBreakStyle Style) {
  const WideString lineBreak = Style == lbLF ? L"\n" : Style == lbCR ? L"\r" : L"\r\n";
  // Sized first: a long text is written once.
  size_t breaks = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    const WideChar c = S[i];
    if (c == L'\r' && i + 1 < S.size() && S[i + 1] == L'\n') ++i;
    if (c == L'\r' || c == L'\n' || c == 0x2028) ++breaks;
  }
  WideString out;
  out.reserve(S.size() + breaks * lineBreak.size());
  for (size_t i = 0; i < S.size(); ++i) {
    const WideChar c = S[i];
    if (c == L'\r' || c == L'\n' || c == 0x2028) {
      if (c == L'\r' && i + 1 < S.size() && S[i + 1] == L'\n') ++i;
      out += lineBreak;
    } else {
      out += c;
    }
  }
  return out;
}

bool IsWideCharMappable(WideChar C) {
  // Without WC_NO_BEST_FIT_CHARS a Greek alpha "maps" to a Latin a.
  char bytes[4];
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(ConversionCodePage, WC_NO_BEST_FIT_CHARS, &C, 1, bytes, sizeof bytes, nullptr,
                                    &usedDefault);
  return n > 0 && !usedDefault;
}

WideString ExtractNextWideItem(const WideChar*& P, WideChar Delimiter) {
  const WideChar* end = WideBufScan(P, Delimiter);
  if (!end) {
    WideString item(P);
    P = WideBufEnd(P);
    return item;
  }
  WideString item(P, static_cast<size_t>(end - P));
  P = end + 1;
  return item;
}

std::vector<WideString> SplitWideText(const WideChar* Text, WideChar Delimiter) {
  std::vector<WideString> items;
  const WideChar* p = Text;
  for (;;) {
    WideString item = ExtractNextWideItem(p, Delimiter);
    if (item.empty()) break;
    items.push_back(std::move(item));
  }
  return items;
}

WideString WideSysErrorMessage(DWORD ErrorCode) { return WideModuleErrorMessage(L"system", nullptr, ErrorCode); }

WideString WideModuleErrorMessage(const WideString& ModuleName, HMODULE Module, DWORD ErrorCode) {
  DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY;
  if (Module) flags |= FORMAT_MESSAGE_FROM_HMODULE;
  WideString text;
  // 256 characters hold the usual message; a longer one is not lost but asked for
  // again with room to spare.
  for (DWORD size = 256; size <= 0x10000; size *= 4) {
    DWORD n;
    if (UnicodePlatform) {
      text.assign(size, L'\0');
      n = FormatMessageW(flags, Module, ErrorCode, 0, text.data(), size, nullptr);
      text.resize(n);
    } else {
      AnsiString bytes(size, '\0');
      n = FormatMessageA(flags, Module, ErrorCode, 0, bytes.data(), size, nullptr);
      bytes.resize(n);
      text = CodePageToWide(bytes, ConversionCodePage);
    }
    if (n != 0 || GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
  }
  if (text.find_first_not_of(L" \t\r\n") == WideString::npos)
    return WideFormat(L"Unspecified error (%d) from %ls.", static_cast<int>(ErrorCode), ModuleName.c_str());
  return text;
}
