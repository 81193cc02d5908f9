// A file's chapters as the split page lists them: "01 - Title" names, start times and end
// times (the next chapter's start; for the last chapter the file's duration).
#pragma once

#include <optional>
#include <vector>

#include "app/media/chapter_lines.h"
#include "app/media/media_info.h"

struct TSplitChapterLists {
  std::vector<WideString> Names;   // "01 - Opening", ..., "10 - ..."
  std::vector<WideString> Starts;  // "hh:mm:ss.mmm"
  std::vector<WideString> Ends;
  WideString Report;  // the chapter report as the library gave it
};

// The lists of one report and the file's duration text. Empty lists for a report
// without chapters.
TSplitChapterLists SplitChapterLists(const WideString& Report, const WideString& Duration);

// The lists of a file, asked of the library. No value when the file has no chapters (its
// general "ChaptersCount" is "0", or no chapter report lists one).
std::optional<TSplitChapterLists> ReadSplitChapters(TMediaAnswers& Info);

// Whether the file has video: general "VideoCount" is anything but "0".
bool MediaHasVideo(TMediaAnswers& Info);
