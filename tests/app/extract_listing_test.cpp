// The extract page's listing: rows by container group from chosen answers (older and
// today's library), and from the real library on the test media.
#include <gtest/gtest.h>

#include "app/media/avi_h264.h"
#include "app/media/chapter_lines.h"
#include "app/media/extract_listing.h"
#include "tests/app/media_test_support.h"

namespace {

using K = TStreamKind;

struct TRowCase {
  const wchar_t* Index;
  const wchar_t* Type;
};

void ExpectRows(const TExtractListing& Listing, const std::vector<TRowCase>& Expected) {
  ASSERT_EQ(Listing.Rows.size(), Expected.size());
  for (size_t i = 0; i < Expected.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "row " << i);
    EXPECT_EQ(Listing.Rows[i].Index, Expected[i].Index);
    EXPECT_EQ(Listing.Rows[i].Type, Expected[i].Type);
  }
}

TEST(ExtractListing, GroupsByExtension) {
  struct Case {
    const wchar_t* File;
    TExtractGroup Group;
  } cases[] = {{L"a.MP4", TExtractGroup::MP4}, {L"a.m4b", TExtractGroup::MP4}, {L"a.3g2", TExtractGroup::MP4},
               {L"a.mov", TExtractGroup::MP4}, {L"a.ts", TExtractGroup::TS},   {L"a.VOB", TExtractGroup::AVI},
               {L"a.mpeg", TExtractGroup::AVI}, {L"a.mkv", TExtractGroup::Other}, {L"", TExtractGroup::Other}};
  for (const Case& c : cases) EXPECT_EQ(ExtractGroupOf(c.File), c.Group) << WideToAnsi(c.File);
}

TEST(ExtractListing, OlderLibraryRowsByGroup) {
  TChosenAnswers mp4;
  mp4.Counts(1, 1, 2).Set(K::General, 0, L"ChaptersCount", L"1");
  mp4.Set(K::Video, 0, L"ID", L"1").Set(K::Video, 0, L"Codec/String", L"AVC").Set(K::Video, 0, L"Width", L"160");
  mp4.Set(K::Audio, 0, L"ID", L"2").Set(K::Audio, 0, L"Codec/String", L"AAC").Set(K::Audio, 0, L"Channel(s)", L"2");
  mp4.Set(K::Text, 0, L"ID", L"3").Set(K::Text, 0, L"Codec/String", L"Timed Text");
  mp4.Set(K::Text, 1, L"ID", L"4").Set(K::Text, 1, L"Codec/String", L"VobSub");
  mp4.Set(K::Chapters, 0, L"ID", L"5").Set(K::Chapters, 0, L"Inform", L"1 : 00:00:00.000 - Intro\r\nend");
  TExtractListing a = ListTracksForExtract(L"D:\\v\\film.mp4", mp4);
  ExpectRows(a, {{L"1", L"video"}, {L"2", L"audio"}, {L"3", L"sub"}, {L"4", L"vobsub"}, {L"5", L"chap"}});
  EXPECT_EQ(a.Rows[0], (TExtractRow{L"D:\\v\\", L"film.mp4", L"1", L"AVC -  -  - 160 x ", L"video"}));
  EXPECT_EQ(a.Rows[1].Description, L"AAC -  -  - 2 Ch - ");
  EXPECT_EQ(a.Rows[2].Description, L"Timed Text - ");
  EXPECT_EQ(a.Rows[4].Description, L"Chapters Metadata");
  EXPECT_EQ(a.ChapterText, L"1 : 00:00:00.000 - Intro\r\nend\r\n");
  EXPECT_TRUE(a.Skipped.empty());

  // The same streams in a MOV: no text and no chapter rows.
  ExpectRows(ListTracksForExtract(L"D:\\v\\film.mov", mp4), {{L"1", L"video"}, {L"2", L"audio"}});
  // An AVI names its streams by kind; a file of no group lists nothing.
  ExpectRows(ListTracksForExtract(L"D:\\v\\film.avi", mp4), {{L"video", L"video"}, {L"audio", L"audio"}});
  EXPECT_TRUE(ListTracksForExtract(L"D:\\v\\film.mkv", mp4).Rows.empty());

  // A transport stream's hexadecimal ID in decimal.
  TChosenAnswers ts;
  ts.Counts(1, 0, 0).Set(K::Video, 0, L"ID", L"E0");
  ExpectRows(ListTracksForExtract(L"D:\\v\\tv.ts", ts), {{L"224", L"video"}});
}

TEST(ExtractListing, AnswersThatAreNoNumbersSkipTheStreamWithALogLine) {
  TChosenAnswers bad;
  bad.Set(K::General, 0, L"VideoCount", L"many").Set(K::General, 0, L"AudioCount", L"2");
  bad.Set(K::Audio, 0, L"ID", L"G7").Set(K::Audio, 1, L"ID", L"B1");
  TExtractListing a = ListTracksForExtract(L"D:\\tv.ts", bad);
  ExpectRows(a, {{L"177", L"audio"}});
  ASSERT_EQ(a.Skipped.size(), 2u);
  EXPECT_NE(a.Skipped[0].find(L"VideoCount \"many\""), WideString::npos) << WideToAnsi(a.Skipped[0]);
  EXPECT_NE(a.Skipped[1].find(L"\"G7\""), WideString::npos) << WideToAnsi(a.Skipped[1]);

  // An MP4 track without an ID; a file the library could not read at all.
  TChosenAnswers noId;
  noId.Counts(1, 0, 0);
  a = ListTracksForExtract(L"D:\\a.mp4", noId);
  EXPECT_TRUE(a.Rows.empty());
  EXPECT_EQ(a.Skipped.size(), 1u);
  TChosenAnswers none;
  a = ListTracksForExtract(L"D:\\a.mp4", none);
  EXPECT_TRUE(a.Rows.empty() && a.Skipped.empty() && a.ChapterText.empty());
}

TEST(ExtractListing, TodaysLibraryGivesTheChaptersOfOneMenuStream) {
  TChosenAnswers mp4;
  mp4.Counts(0, 0, 0).Set(K::General, 0, L"MenuCount", L"2");
  const WideString menu0 = L"ID : 4\nFormat : Timed Text\n00:00:00.000  : Opening\n00:00:00.500  : Closing\n";
  mp4.Set(K::Menu, 0, L"ID", L"4").Set(K::Menu, 0, L"Inform", menu0);
  mp4.Set(K::Menu, 1, L"Inform", L"00:00:00.000  : Opening\n00:00:00.500  : Closing\n");
  TExtractListing a = ListTracksForExtract(L"D:\\film.mp4", mp4);
  ExpectRows(a, {{L"4", L"chap"}});
  EXPECT_EQ(a.ChapterText, menu0);
}

// ---------------------------------------------------------------------------------------
// The real library on the test media.

class RealExtractListing : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TestMediaFolder();
    if (folder.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
  }
  WideString folder;
};

TEST_F(RealExtractListing, EveryContainerGroup) {
  TExtractListing a = ListTracksForExtract(folder + L"full.mp4");
  ExpectRows(a, {{L"1", L"video"}, {L"2", L"audio"}, {L"3", L"sub"}, {L"4", L"chap"}});
  EXPECT_EQ(a.Rows[0].Path, folder);
  EXPECT_EQ(a.Rows[0].File, L"full.mp4");
  EXPECT_EQ(a.Rows[0].Description.substr(0, 6), L"AVC - ") << WideToAnsi(a.Rows[0].Description);
  EXPECT_EQ(a.Rows[1].Description.substr(0, 6), L"AAC - ") << WideToAnsi(a.Rows[1].Description);
  EXPECT_EQ(a.Rows[2].Description.substr(0, 13), L"Timed Text - ") << WideToAnsi(a.Rows[2].Description);
  EXPECT_EQ(a.Rows[3].Description, L"Chapters Metadata");
  std::vector<TChapterLine> chapters = ReadChapterReport(a.ChapterText);
  ASSERT_EQ(chapters.size(), 2u) << WideToAnsi(a.ChapterText);
  EXPECT_EQ(chapters[0].Start, L"00:00:00.000");
  EXPECT_EQ(chapters[0].Title, L"Opening");
  EXPECT_EQ(chapters[1].Start, L"00:00:00.500");
  EXPECT_EQ(chapters[1].Title, L"Closing");
  EXPECT_TRUE(a.Skipped.empty());

  ExpectRows(ListTracksForExtract(folder + L"subs.mov"), {{L"1", L"video"}});
  ExpectRows(ListTracksForExtract(folder + L"clip.ts"), {{L"256", L"video"}, {L"257", L"audio"}});
  ExpectRows(ListTracksForExtract(folder + L"clip.avi"), {{L"video", L"video"}, {L"audio", L"audio"}});
}

TEST_F(RealExtractListing, H264InAviAsTheShippedLibraryReportsIt) {
  struct Case {
    const wchar_t* File;
    bool AviH264;
  } cases[] = {{L"clip.avi", true}, {L"clip.mp4", false}, {L"clip.ts", false}, {L"clip.h264", false}};
  for (const Case& c : cases) {
    TMediaInfoFile info(folder + c.File);
    EXPECT_EQ(IsAviH264Video(info, 0), c.AviH264) << WideToAnsi(c.File);
  }
  // The older library's answer, and today's answer outside an AVI file.
  TChosenAnswers older, mpeg;
  older.Set(K::Video, 0, L"Codec/String", AviH264CodecText);
  mpeg.Set(K::Video, 0, L"Format", L"AVC").Set(K::General, 0, L"Format", L"MPEG-PS");
  EXPECT_TRUE(IsAviH264Video(older, 0));
  EXPECT_FALSE(IsAviH264Video(mpeg, 0));
}

}  // namespace
