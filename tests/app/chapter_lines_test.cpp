#include <gtest/gtest.h>

#include "app/media/chapter_lines.h"

namespace {

TEST(ChapterLines, BothShapesOfTheReport) {
  struct Case {
    const wchar_t* Line;
    const wchar_t* Start;
    const wchar_t* Title;
  } cases[] = {
      {L"1 : 00:00:00.000 - Intro", L"00:00:00.000", L"Intro"},
      {L"2 : 00:05:10.500 - Part - two", L"00:05:10.500", L"Part - two"},
      {L"no markers at all", L"", L""},
      {L"00:00:03.500                             : Part two", L"00:00:03.500", L"Part two"},
      {L"00:01:00.000                             : Caf\u00e9 - nuit", L"00:01:00.000", L"Caf\u00e9 - nuit"},
      {L"00:02:00.000                             : ", L"00:02:00.000", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << (&c - cases));
    TChapterLine chapter = ReadChapterLine(c.Line);
    EXPECT_EQ(chapter.Start, c.Start);
    EXPECT_EQ(chapter.Title, c.Title);
  }
}

TEST(ChapterLines, NumbersHaveAtLeastTwoDigits) {
  EXPECT_EQ(ChapterNumberText(1), L"01");
  EXPECT_EQ(ChapterNumberText(9), L"09");
  EXPECT_EQ(ChapterNumberText(10), L"10");
  EXPECT_EQ(ChapterNumberText(100), L"100");
}

}  // namespace

namespace {

TEST(ChapterLines, ReportsOfBothGenerations) {
  // The library we ship: a menu stream's report, its description first.
  std::vector<TChapterLine> today = ReadChapterReport(
      L"ID                                       : 2\n"
      L"Format                                   : Timed Text\n"
      L"Language                                 : English\n"
      L"00:00:00.000                             : Opening\n"
      L"00:00:00.500                             : Caf\u00e9 - nuit\n");
  ASSERT_EQ(today.size(), 2u);
  EXPECT_EQ(today[1].Start, L"00:00:00.500");
  EXPECT_EQ(today[1].Title, L"Caf\u00e9 - nuit");

  // Older libraries: every line but the closing one.
  std::vector<TChapterLine> older =
      ReadChapterReport(L"1 : 00:00:00.000 - Intro\r\n2 : 00:05:10.500 - Part two\r\n3 : 00:09:00.000 - End");
  ASSERT_EQ(older.size(), 2u);
  EXPECT_EQ(older[1].Start, L"00:05:10.500");
  EXPECT_TRUE(ReadChapterReport(L"").empty());
  EXPECT_TRUE(ReadChapterReport(L"only one line").empty());
}

}  // namespace
