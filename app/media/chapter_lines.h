// The chapter report of a media file, as MediaInfo writes it, cut into chapters.
//
// Two shapes of a chapter line are read:
//   older libraries:        "1 : 00:00:00.000 - Intro"       (label, ": ", start, " - ", title)
//   the library we ship:    "00:00:03.500          : Part two" (start, blanks, ": ", title)
// The split page's chapter lists and the extract page's chapter file and cue sheet all read
// the report through here.
#pragma once

#include <vector>

#include "app/media/media_info.h"
#include "vcl/sysutils.h"

struct TChapterLine {
  WideString Start;  // as the report gives it, e.g. "00:05:10.500"; empty when absent
  WideString Title;  // empty when absent
};

// Cuts one report line. Older shape: Start is the text between the first ": " and the first
// " -" after it, Title the text after the first "- " of the line. Today's shape (the line
// begins with a time "hh:mm:ss.mmm"): Start is that time, Title the text after the first ": ".
TChapterLine ReadChapterLine(const WideString& Line);

// The chapters of one report. A report with lines that begin with a time is today's: its
// chapters are those lines (the lines before them describe the stream). Otherwise it is the
// older report, whose every line but the last (the report's closing line) is a chapter.
std::vector<TChapterLine> ReadChapterReport(const WideString& Report);

// A file's chapter report: the chapters stream's, where the library still reports one, else
// the first menu stream's that lists chapters. Empty when the file has no chapters.
WideString ChapterReport(TMediaAnswers& Info);

// The same with the stream it comes from; Report is empty when the file has no chapters.
struct TChapterSource {
  TStreamKind Kind = TStreamKind::Chapters;
  int Number = 0;
  WideString Report;
};
TChapterSource FindChapterReport(TMediaAnswers& Info);

// The two-digit chapter number: "01" to "09", then "10", "11", ... "100".
WideString ChapterNumberText(int Number);
