#include "app/media/split_chapters.h"

TSplitChapterLists SplitChapterLists(const WideString& Report, const WideString& Duration) {
  TSplitChapterLists lists;
  lists.Report = Report;
  const std::vector<TChapterLine> chapters = ReadChapterReport(Report);
  for (size_t i = 0; i < chapters.size(); ++i) {
    lists.Names.push_back(ChapterNumberText(static_cast<int>(i) + 1) + L" - " + chapters[i].Title);
    lists.Starts.push_back(chapters[i].Start);
    if (i > 0) lists.Ends.push_back(chapters[i].Start);
  }
  if (!chapters.empty()) lists.Ends.push_back(Duration);
  return lists;
}

std::optional<TSplitChapterLists> ReadSplitChapters(TMediaAnswers& Info) {
  // The library we ship leaves "ChaptersCount" empty even for files with chapters; only
  // a "0" says there are none.
  if (Info.Get(TStreamKind::General, 0, L"ChaptersCount") == L"0") return std::nullopt;
  WideString duration = Info.Get(TStreamKind::General, 0, L"PlayTime/String3");
  if (duration.empty()) duration = Info.Get(TStreamKind::General, 0, L"Duration/String3");
  TSplitChapterLists lists = SplitChapterLists(ChapterReport(Info), duration);
  if (lists.Names.empty()) return std::nullopt;
  return lists;
}

bool MediaHasVideo(TMediaAnswers& Info) { return Info.Get(TStreamKind::General, 0, L"VideoCount") != L"0"; }
