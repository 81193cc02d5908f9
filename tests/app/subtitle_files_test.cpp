// Text subtitle files and VobSub indexes read by the program itself.
#include <gtest/gtest.h>

#include "app/media/subtitle_files.h"
#include "tests/widetext/temp_folder.h"

namespace {

using C = TTrackColumn;

TEST(SubtitleFiles, TextFormatsByTheirFirstTwoLines) {
  struct Case {
    std::vector<WideString> lines;
    const wchar_t* description;
  } cases[] = {
      {{L"1", L"00:00:01,000 --> 00:00:04,000", L"Hi"}, L"SRT - SubRip Subtitle Format."},
      {{L"2", L"00:00:01,000 --> 00:00:04,000"}, L""},
      {{L"1", L"00:00:01,000 -"}, L""},
      {{L"<?xml version=\"1.0\"?>", L"<!-- GPAC 3GPP Text Stream -->"}, L"TTXT - GPAC TimeText Format."},
      {{L"<?xml version=\"1.0\"?>", L"<?quicktime type=\"application/x-quicktime-tx3g\"?>"},
       L"XML - QuickTime TeXML Format."},
      {{L"<?quicktime type=\"application/x-quicktime-tx3g\"?>"}, L""},
      {{}, L""},
  };
  for (const Case& c : cases) {
    TTrackRow row = TextSubtitleRow(L"C:\\s\\a.srt", c.lines);
    EXPECT_EQ(row[C::Description], c.description);
    EXPECT_EQ(row.Checked, *c.description != 0);
    EXPECT_EQ(row[C::Type], L"sub");
    EXPECT_EQ(row[C::Path], L"C:\\s\\");
    EXPECT_EQ(row[C::File], L"a.srt");
  }
}

TEST(SubtitleFiles, VobSubStreamsAndTheirTimeStamps) {
  std::vector<TTrackRow> rows;
  EXPECT_TRUE(VobSubIndexRows(L"d\\movie.idx",
                              {L"# VobSub index file, v7 (do not modify this line!)", L"id: en, index: 0",
                               L"timestamp: 00:00:01:000, filepos: 000000000", L"id: xx, index: x",
                               L"id: fr, index: 1"},
                              rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][C::Index], L"1");
  EXPECT_EQ(rows[0][C::Language], L"English");
  EXPECT_TRUE(rows[0].Checked);
  EXPECT_EQ(rows[1][C::Index], L"2");
  EXPECT_EQ(rows[1][C::Language], L"French");
  EXPECT_FALSE(rows[1].Checked);
  EXPECT_EQ(rows[1][C::Type], L"vobsub");
  EXPECT_EQ(rows[1][C::Description], L"VobSub - The Same Subtitle Format used on DVDs.");

  rows.clear();
  EXPECT_FALSE(VobSubIndexRows(L"a.idx", {L"id: en, index: 0", L"timestamp: 0"}, rows));
  EXPECT_FALSE(VobSubIndexRows(L"a.idx", {}, rows));
  EXPECT_TRUE(rows.empty());
}

TEST(SubtitleFiles, FilesWithAndWithoutAByteOrderMark) {
  TempFolder temp;
  const std::string body = "1\r\n00:00:01,000 --> 00:00:04,000\r\nHello\r\n";
  for (const std::string& content : {body, "\xEF\xBB\xBF" + body}) {
    ASSERT_TRUE(TempFolder::MakeFile(temp / L"a.srt", content));
    TTrackRow row = TextSubtitleRow(temp / L"a.srt", ReadTextLines(temp / L"a.srt"));
    EXPECT_EQ(row[C::Description], L"SRT - SubRip Subtitle Format.");
  }
}

}  // namespace
