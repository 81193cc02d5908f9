// Input files analysed into track rows: the rules by extension through chosen answers
// (including answers this library version no longer gives), then the real test media
// through MediaInfo.dll.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/media/media_analysis.h"
#include "tests/app/media_test_support.h"
#include "tests/widetext/temp_folder.h"

namespace {

using K = TStreamKind;
using C = TTrackColumn;

struct TExpectedRow {
  const wchar_t* index;
  const wchar_t* description;
  const wchar_t* type;
  bool checked;
};

void ExpectRows(const TFileAnalysis& A, const WideString& Folder, const WideString& File,
                std::initializer_list<TExpectedRow> Expected) {
  ASSERT_EQ(A.Rows.size(), Expected.size());
  size_t i = 0;
  for (const TExpectedRow& e : Expected) {
    SCOPED_TRACE(testing::Message() << "row " << i);
    const TTrackRow& row = A.Rows[i++];
    EXPECT_EQ(row[C::Path], Folder);
    EXPECT_EQ(row[C::File], File);
    EXPECT_EQ(row[C::Index], e.index);
    EXPECT_EQ(row[C::Description], e.description);
    EXPECT_EQ(row[C::Type], e.type);
    EXPECT_EQ(row.Checked, e.checked);
    for (int k = static_cast<int>(C::Brand); k < TrackColumnCount; ++k) EXPECT_EQ(row.Columns[k], L"");
  }
}

TChosenAnswers& Video(TChosenAnswers& A, int i, const wchar_t* Codec) {
  return A.Set(K::Video, i, L"Codec/String", Codec)
      .Set(K::Video, i, L"PlayTime/String", L"2 s")
      .Set(K::Video, i, L"BitRate/String", L"500 kb/s")
      .Set(K::Video, i, L"Width", L"640")
      .Set(K::Video, i, L"Height", L"480")
      .Set(K::Video, i, L"FrameRate", L"25.000");
}

TChosenAnswers& Audio(TChosenAnswers& A, int i, const wchar_t* Codec) {
  return A.Set(K::Audio, i, L"Codec/String", Codec)
      .Set(K::Audio, i, L"PlayTime/String", L"2 s")
      .Set(K::Audio, i, L"BitRate/String", L"128 kb/s")
      .Set(K::Audio, i, L"Channel(s)", L"2")
      .Set(K::Audio, i, L"SamplingRate/String", L"48.0 kHz");
}

const wchar_t* const VideoText = L"%s - 2 s - 500 kb/s - 640 x 480";

WideString Described(const wchar_t* Format, const wchar_t* Codec) {
  WideString s = Format;
  s.replace(s.find(L"%s"), 2, Codec);
  return s;
}

TEST(MediaAnalysis, ContainerTracksBySelectorAndCheckState) {
  TChosenAnswers ts;
  Video(ts.Counts(1, 2, 1), 0, L"AVC").Set(K::Video, 0, L"ID", L"1E1");
  Audio(ts, 0, L"AC3").Set(K::Audio, 0, L"ID", L"1E2").Set(K::Audio, 0, L"Language/String", L"English");
  Audio(ts, 1, L"AAC").Set(K::Audio, 1, L"ID", L"not hex");  // skipped, not raised
  ts.Set(K::Text, 0, L"ID", L"3");                            // a transport stream's text gives no row
  TFileAnalysis a = AnalyseMediaFile(L"C:\\v\\movie.ts", ts);
  ExpectRows(a, L"C:\\v\\", L"movie.ts",
             {{L"481", Described(VideoText, L"AVC").c_str(), L"video", false},
              {L"482", L"AC3 - 2 s - 128 kb/s - 2 Ch - 48.0 kHz", L"audio", false}});
  EXPECT_EQ(a.UncheckedCount, 2);
  EXPECT_EQ(a.Rows[0][C::FrameRate], L"25.000");
  EXPECT_EQ(a.Rows[1][C::Language], L"English");
  EXPECT_EQ(a.Rows[1][C::FrameRate], L"");

  TChosenAnswers mp4;
  Video(mp4.Counts(1, 1, 2), 0, L"AVC").Set(K::Video, 0, L"ID", L"1");
  Audio(mp4, 0, L"AC3").Set(K::Audio, 0, L"ID", L"2");
  mp4.Set(K::Text, 0, L"ID", L"3").Set(K::Text, 0, L"Codec/String", L"VobSub").Set(K::Text, 0, L"Codec/Info", L"DVD");
  mp4.Set(K::Text, 1, L"ID", L"4").Set(K::Text, 1, L"Codec/String", L"Timed Text");
  a = AnalyseMediaFile(L"C:\\v\\Film.MP4", mp4);
  ExpectRows(a, L"C:\\v\\", L"Film.MP4",
             {{L"1", Described(VideoText, L"AVC").c_str(), L"video", true},
              {L"2", L"AC3 - 2 s - 128 kb/s - 2 Ch - 48.0 kHz", L"audio", false},
              {L"3", L"VobSub - DVD", L"vobsub", true},
              {L"4", L"Timed Text - ", L"sub", true}});
  EXPECT_EQ(a.UncheckedCount, 1);
  EXPECT_FALSE(a.AviH264.has_value());
}

TEST(MediaAnalysis, AviFamilyWordsAndTheH264Mark) {
  TChosenAnswers avi;
  Video(avi.Counts(1, 1, 1), 0, AviH264CodecText);
  Audio(avi, 0, L"DTS");
  avi.Set(K::Text, 0, L"Codec/String", L"SubRip");
  TFileAnalysis a = AnalyseMediaFile(L"D:\\clip.AVI", avi);
  ExpectRows(a, L"D:\\", L"clip.AVI",
             {{L"video", Described(VideoText, AviH264CodecText).c_str(), L"video", true},
              {L"audio", L"DTS - 2 s - 128 kb/s - 2 Ch - 48.0 kHz", L"audio", false},
              {L"sub", L"SubRip - ", L"sub", true}});
  EXPECT_EQ(a.AviH264, true);

  // An MPEG program stream: a "video" row, and an audio row of the "any other" kind.
  TChosenAnswers mpg;
  Video(mpg.Counts(1, 1, 0), 0, L"MPEG-2V");
  Audio(mpg, 0, L"MPA2L2").Set(K::Audio, 0, L"Title", L"Commentary");
  a = AnalyseMediaFile(L"D:\\tv.mpg", mpg);
  ExpectRows(a, L"D:\\", L"tv.mpg",
             {{L"video", Described(VideoText, L"MPEG-2V").c_str(), L"video", true}, {L"", L"", L"audio", true}});
  EXPECT_EQ(a.Rows[1][C::Name], L"Commentary");
  EXPECT_EQ(a.AviH264, false);
  EXPECT_EQ(a.UncheckedCount, 0);
}

TEST(MediaAnalysis, ElementaryStreamsAndFixedRows) {
  TChosenAnswers avc;
  avc.Counts(1, 0, 0)
      .Set(K::Video, 0, L"Codec/String", L"AVC")
      .Set(K::Video, 0, L"Codec/Info", L"Advanced Video Codec")
      .Set(K::Video, 0, L"Codec_Profile", L"High@L3.0")
      .Set(K::Video, 0, L"Width", L"720")
      .Set(K::Video, 0, L"Height", L"576");
  TFileAnalysis a = AnalyseMediaFile(L"x\\raw.264", avc);
  ExpectRows(a, L"x\\", L"raw.264", {{L"", L"AVC - Advanced Video Codec - High@L3.0 - 720 x 576", L"video", true}});
  EXPECT_TRUE(a.RawAvcAdded);

  // Elementary audio takes its play time from the general stream.
  TChosenAnswers aac;
  Audio(aac.Counts(0, 1, 0), 0, L"AAC").Set(K::General, 0, L"PlayTime/String", L"9 s");
  a = AnalyseMediaFile(L"song.aac", aac);
  ExpectRows(a, L"", L"song.aac", {{L"", L"AAC - 9 s - 128 kb/s - 2 Ch - 48.0 kHz", L"audio", true}});

  // An AMR file MediaInfo describes gets its stream row and its fixed row.
  TChosenAnswers amr;
  amr.Counts(0, 1, 0).Set(K::Audio, 0, L"Title", L"Memo").Set(K::Audio, 0, L"Language/String", L"French");
  a = AnalyseMediaFile(L"c:memo.amr", amr);
  const wchar_t* amrText = L"AMR - Adaptative Multi-Rate Format - Optimized for Speech Coding";
  ExpectRows(a, L"c:", L"memo.amr", {{L"", amrText, L"audio", true}, {L"", amrText, L"audio", true}});
  EXPECT_EQ(a.Rows[0][C::Name], L"Memo");
  EXPECT_EQ(a.Rows[1][C::Name], L"");

  struct Fixed {
    const wchar_t* file;
    const wchar_t* description;
    const wchar_t* type;
  } fixed[] = {
      {L"a.h263", L"H.263 - Video Codec by the ITU-T - Low-Bitrate compressed encoding solution for videoconferencing.",
       L"video"},
      {L"a.qcp", L"QCP - Voice Data.", L"video"},
      {L"a.awb", L"AMR-WB - Adaptative Multi-Rate WideBand Format - Optimized for Speech Coding", L"audio"},
      {L"a.evc", L"EVRC - Enhanced Variable Rate Codec - Speech codec used by CDMA networks", L"audio"},
      {L"a.SMV", L"SMV - Selectable Mode Vocoder - Speech Coding Standard used in CDMA-2000 networks", L"audio"},
      {L"a.txt", L"Chapters File.", L"chap"},
      {L"a.jpeg", L"JPEG - Picture File Format.", L""},
      {L"a.nhml", L"NHML - XML-based description of a media file.", L""},
      {L"a.info", L"NHNT - Header and a set of access units descriptors for unknown media formats.", L""},
  };
  for (const Fixed& f : fixed) {
    SCOPED_TRACE(testing::Message() << WideToAnsi(f.file));
    TChosenAnswers none;  // nothing known, counts not even numbers
    none.Set(K::General, 0, L"VideoCount", L"x").Set(K::General, 0, L"AudioCount", L"-1");
    ExpectRows(AnalyseMediaFile(f.file, none), L"", f.file, {{L"", f.description, f.type, true}});
  }
}

TEST(MediaAnalysis, TitlesAreDecodedOnlyWhenTheyCameAsUtf8Bytes) {
  struct Case {
    const wchar_t* given;
    const wchar_t* shown;
  } cases[] = {
      {L"Caf\x00C3\x00A9", L"Caf\x00E9"},               // UTF-8 bytes one per character
      {L"Caf\x00E9", L"Caf\x00E9"},                     // already text: kept, not cut
      {L"\x65E5\x672C", L"\x65E5\x672C"},               // outside the code page
      {L"plain", L"plain"},
  };
  for (const Case& c : cases) {
    TChosenAnswers mp4;
    mp4.Counts(0, 1, 0).Set(K::Audio, 0, L"ID", L"1").Set(K::Audio, 0, L"Title", c.given);
    EXPECT_EQ(AnalyseMediaFile(L"a.m4a", mp4).Rows.at(0)[C::Name], c.shown);
  }
}

TEST(MediaAnalysis, ReadersOfTheProgramsOwnFormatsAddTheirRows) {
  TTextTrackReaders readers;
  WideString seen;
  readers.TextSubtitle = [&](const WideString& FileName, std::vector<TTrackRow>& Rows) {
    seen = FileName;
    Rows.emplace_back();
  };
  TChosenAnswers none;
  EXPECT_EQ(AnalyseMediaFile(L"s\\a.ttxt", none, readers).Rows.size(), 1u);
  EXPECT_EQ(seen, L"s\\a.ttxt");
  EXPECT_TRUE(AnalyseMediaFile(L"s\\a.idx", none, readers).Rows.empty());  // no VobSub reader given
}

// ---------------------------------------------------------------------------------------
// The real library on the test media.

class RealMedia : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = TestMediaFolder();
    if (folder.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
  }
  TFileAnalysis Analyse(const wchar_t* Name) { return AnalyseMediaFile(folder + Name); }
  WideString folder;
};

TEST_F(RealMedia, ContainersGiveOneRowPerTrack) {
  TFileAnalysis a = Analyse(L"clip.mp4");
  ExpectRows(a, folder, L"clip.mp4",
             {{L"1", L"AVC - 1 s 0 ms - 110 kb/s - 160 x 120", L"video", true},
              {L"2", L"AAC - 1 s 0 ms - 66.2 kb/s - 1 Ch - 44.1 kHz", L"audio", true}});
  EXPECT_EQ(a.Rows[0][C::FrameRate], L"25.000");
  EXPECT_EQ(a.Rows[0][C::Name], L"Vid\x00E9o");
  EXPECT_EQ(a.Rows[1][C::Language], L"French");

  // This library spells AC3 "AC-3".
  a = Analyse(L"ac3.mp4");
  ExpectRows(a, folder, L"ac3.mp4",
             {{L"1", L"AVC - 1 s 0 ms - 110 kb/s - 160 x 120", L"video", true},
              {L"2", L"AC-3 - 1 s 5 ms - 96.0 kb/s - 1 Ch - 44.1 kHz", L"audio", false}});
  EXPECT_EQ(a.UncheckedCount, 1);

  // Transport stream IDs come in decimal from this library.
  a = Analyse(L"clip.ts");
  ExpectRows(a, folder, L"clip.ts",
             {{L"256", L"AVC - 980 ms -  - 160 x 120", L"video", false},
              {L"257", L"AC-3 - 1 s 10 ms - 96.0 kb/s - 1 Ch - 44.1 kHz", L"audio", false}});
  EXPECT_EQ(a.UncheckedCount, 2);

  a = Analyse(L"clip.avi");
  ExpectRows(a, folder, L"clip.avi",
             {{L"video", L"AVC - 1 s 40 ms - 106 kb/s - 160 x 120", L"video", true},
              {L"audio", L"AAC - 1 s 45 ms - 64.0 kb/s - 1 Ch - 44.1 kHz", L"audio", true}});
  EXPECT_EQ(a.AviH264, true);  // as this library says it: format "AVC" in an AVI file
}

TEST_F(RealMedia, ElementaryStreams) {
  TFileAnalysis a = Analyse(L"clip.h264");
  ASSERT_EQ(a.Rows.size(), 1u);
  const WideString& d = a.Rows[0][C::Description];
  EXPECT_EQ(d.substr(0, 29), L"AVC - Advanced Video Codec - ") << WideToAnsi(d);
  EXPECT_EQ(d.substr(d.size() - 12), L" - 160 x 120") << WideToAnsi(d);
  EXPECT_EQ(a.Rows[0][C::Type], L"video");
  EXPECT_TRUE(a.RawAvcAdded);

  ExpectRows(Analyse(L"tone.mp3"), folder, L"tone.mp3",
             {{L"", L"MPEG Audio - 1 s 44 ms - 64.0 kb/s - 1 Ch - 44.1 kHz", L"audio", true}});
  ExpectRows(Analyse(L"tone.aac"), folder, L"tone.aac", {{L"", L"AAC -  -  - 1 Ch - 44.1 kHz", L"audio", true}});
  // A subtitle file's row comes from the program's own reader, none of MediaInfo's.
  EXPECT_TRUE(Analyse(L"subs.srt").Rows.empty());
}

TEST_F(RealMedia, FilesTheLibraryCannotReadGetOnlyTheirFixedRows) {
  TempFolder temp;
  std::wstring junk = temp / L"junk.mp4", chapters = temp / L"\x03C7 chapters.txt";
  ASSERT_TRUE(TempFolder::MakeFile(junk, "not a movie"));
  ASSERT_TRUE(TempFolder::MakeFile(chapters, "CHAPTER01=00:00:00.000\r\n"));
  EXPECT_TRUE(AnalyseMediaFile(junk).Rows.empty());
  EXPECT_TRUE(AnalyseMediaFile(temp / L"missing.mp4").Rows.empty());
  TFileAnalysis a = AnalyseMediaFile(chapters);
  ExpectRows(a, temp.Path() + L"\\", L"\x03C7 chapters.txt", {{L"", L"Chapters File.", L"chap", true}});
}

}  // namespace
