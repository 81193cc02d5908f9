#include "app/media/chapter_lines.h"

#include <cstdlib>
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

namespace {

std::vector<WideString> ReportLines(const WideString& Report) {
  std::vector<WideString> lines;
  size_t from = 0;
  while (from < Report.size()) {
    size_t end = Report.find_first_of(L"\r\n", from);
    if (end == WideString::npos) end = Report.size();
    lines.push_back(Report.substr(from, end - from));
    from = end + (Report.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace

std::vector<TChapterLine> ReadChapterReport(const WideString& Report) {
  const std::vector<WideString> lines = ReportLines(Report);
  std::vector<TChapterLine> chapters;
  for (const WideString& line : lines) {
    if (StartsWithTime(line)) chapters.push_back(ReadChapterLine(line));
  }
  if (!chapters.empty()) return chapters;
  for (size_t i = 0; i + 1 < lines.size(); ++i) chapters.push_back(ReadChapterLine(lines[i]));
  return chapters;
}

TChapterSource FindChapterReport(TMediaAnswers& Info) {
  TChapterSource source;
  source.Report = Info.Get(TStreamKind::Chapters, 0, L"Inform");
  if (!source.Report.empty()) return source;
  const int menus = _wtoi(Info.Get(TStreamKind::General, 0, L"MenuCount").c_str());
  for (int i = 0; i < menus; ++i) {
    WideString report = Info.Get(TStreamKind::Menu, i, L"Inform");
    for (const WideString& line : ReportLines(report)) {
      if (StartsWithTime(line)) return {TStreamKind::Menu, i, report};
    }
  }
  return TChapterSource();
}

WideString ChapterReport(TMediaAnswers& Info) { return FindChapterReport(Info).Report; }

WideString ChapterNumberText(int Number) {
  WideString digits = std::to_wstring(Number);
  return Number < 10 ? L"0" + digits : digits;
}
