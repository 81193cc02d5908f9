// The chapter file and the cue sheet: their exact lines from chapter reports of both
// shapes, and the files on disk (CR LF, no byte-order mark, replaced, or refused).
#include <gtest/gtest.h>

#include "app/media/chapter_files.h"
#include "tests/app/program_session.h"
#include "tests/widetext/temp_folder.h"

namespace {

using Lines = std::vector<AnsiString>;

// An older library's report of N chapters and its closing line.
WideString OlderReport(int N, const WideString& ClosingLine = L"end") {
  WideString report;
  for (int i = 1; i <= N; ++i)
    report += std::to_wstring(i) + L" : 00:0" + std::to_wstring(i % 10) + L":00.000 - Chapter " + std::to_wstring(i) + L"\r\n";
  return report + ClosingLine;
}

TEST(ChapterFiles, ChapterFileLinesOfEveryShape) {
  struct Case {
    const char* Name;
    WideString Report;
    Lines Expected;
  } cases[] = {
      {"older shape, last line unused even when it is a chapter",
       L"1 : 00:00:00.000 - Intro\r\n2 : 00:05:10.500 - Part two\r\n3 : 00:09:00.000 - Credits",
       {"CHAPTER01=00:00:00.000", "CHAPTER01NAME=Intro", "CHAPTER02=00:05:10.500", "CHAPTER02NAME=Part two"}},
      {"a title holding \"- \" keeps it", L"1 : 00:00:01.000 - Rock - live - 1999\r\nend",
       {"CHAPTER01=00:00:01.000", "CHAPTER01NAME=Rock - live - 1999"}},
      {"lines without markers still count", L"no markers\r\n2 : 00:00:02.000 - Two\r\nend",
       {"CHAPTER01=", "CHAPTER01NAME=", "CHAPTER02=00:00:02.000", "CHAPTER02NAME=Two"}},
      {"today's menu report", L"ID : 2\r\nFormat : Timed Text\r\n00:00:00.000   : Opening\r\n00:00:00.500   : Closing\r\n",
       {"CHAPTER01=00:00:00.000", "CHAPTER01NAME=Opening", "CHAPTER02=00:00:00.500", "CHAPTER02NAME=Closing"}},
      {"one line only", L"1 : 00:00:00.000 - Intro", {}},
      {"none", L"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ChapterFileLines(ReadChapterReport(c.Report)), c.Expected);
  }

  const Lines ten = ChapterFileLines(ReadChapterReport(OlderReport(10)));
  ASSERT_EQ(ten.size(), 20u);
  EXPECT_EQ(ten[16], "CHAPTER09=00:09:00.000");
  EXPECT_EQ(ten[18], "CHAPTER10=00:00:00.000");
  EXPECT_EQ(ten[19], "CHAPTER10NAME=Chapter 10");
}

TEST(ChapterFiles, CueSheetLines) {
  const auto chapters = ReadChapterReport(L"1 : 00:00:00.000 - Intro\r\n2 : 00:05:10.500 - Part - two\r\nend");
  EXPECT_EQ(CueSheetLines(L"D:\\v\\film.mp4", chapters),
            (Lines{"PERFORMER \" \"", "TITLE \"film\"", "  FILE \"film.mp4\" .MP4",
                   "     TRACK 01 AUDIO", "       TITLE \"Intro\"", "       PERFORMER \" \"", "       INDEX 01 00:00:00.000",
                   "     TRACK 02 AUDIO", "       TITLE \"Part - two\"", "       PERFORMER \" \"", "       INDEX 01 00:05:10.500"}));
  // Two dots in the name: only the last begins the extension.
  const Lines head = CueSheetLines(L"D:\\v\\a.b.m4b", {});
  EXPECT_EQ(head, (Lines{"PERFORMER \" \"", "TITLE \"a.b\"", "  FILE \"a.b.m4b\" .M4B"}));
  EXPECT_EQ(CueSheetFileOf(L"D:\\v\\a.b.mp4"), L"D:\\v\\a.b.cue");
  EXPECT_EQ(ChapterFileOf(L"D:\\v\\film.mp4"), L"D:\\v\\film_chap.txt");
}

TEST(ChapterFiles, FilesOnDiskAreReplacedOrRefused) {
  TempFolder temp;
  const std::wstring film = temp / L"film.mp4";
  const std::wstring chapFile = temp / L"film_chap.txt";
  ASSERT_TRUE(TempFolder::MakeFile(chapFile, "an older chapter file, longer than the new one\r\n"));
  WriteChapterFile(chapFile, L"1 : 00:00:00.000 - Intro\r\nend");
  EXPECT_EQ(apptest::ReadFileBytes(chapFile), "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Intro\r\n");

  WriteCueSheet(film, L"1 : 00:00:00.000 - Caf\u00e9\r\nend");
  EXPECT_EQ(apptest::ReadFileBytes(temp / L"film.cue"),
            "PERFORMER \" \"\r\nTITLE \"film\"\r\n  FILE \"film.mp4\" .MP4\r\n     TRACK 01 AUDIO\r\n"
            "       TITLE \"Caf\xE9\"\r\n       PERFORMER \" \"\r\n       INDEX 01 00:00:00.000\r\n");

  // A file with nothing to hold is still written, empty.
  WriteChapterFile(chapFile, L"");
  EXPECT_TRUE(TempFolder::Exists(chapFile));
  EXPECT_EQ(apptest::ReadFileBytes(chapFile), "");

  // A folder that does not exist: the error names the file.
  const std::wstring lost = temp / L"missing\\film_chap.txt";
  try {
    WriteChapterFile(lost, L"1 : 00:00:00.000 - Intro\r\nend");
    ADD_FAILURE() << "no error";
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message.find(WideToAnsi(lost)), std::string::npos) << e.Message;
  }
}

}  // namespace
