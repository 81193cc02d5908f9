#include "app/media/chapter_lines.h"

#include <cwctype>

#include "app/common/text_routines.h"

namespace {

// "hh:mm:ss" followed by an optional fraction: the start of today's chapter lines.
bool StartsWithTime(const WideString& Line) {
  if (Line.size() < 8) return false;
  for (int i = 0; i < 8; ++i) {
    const wchar_t c = Line[i];
    const bool colon = i == 2 || i == 5;
    if (colon ? c != L':' : !std::iswdigit(c)) return false;
  }
  return true;
}

WideString TrimRight(WideString S) {
  while (!S.empty() && (S.back() == L' ' || S.back() == L'\t' || S.back() == L'\r')) S.pop_back();
  return S;
}

}  // namespace

TChapterLine ReadChapterLine(const WideString& Line) {
  TChapterLine chapter;
  if (StartsWithTime(Line)) {
    const size_t colon = Line.find(L": ");
    chapter.Start = TrimRight(colon == WideString::npos ? Line : Line.substr(0, colon));
    if (colon != WideString::npos) chapter.Title = TrimRight(Line.substr(colon + 2));
    return chapter;
  }
  chapter.Start = StrBefore(WideString(L" -"), StrAfter(WideString(L": "), Line));
  chapter.Title = StrAfter(WideString(L"- "), Line);
  return chapter;
}

WideString ChapterNumberText(int Number) {
  WideString digits = std::to_wstring(Number);
  return Number < 10 ? L"0" + digits : digits;
}
