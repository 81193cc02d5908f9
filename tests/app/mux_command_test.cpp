// The mux job's command lines, read back as the started tool receives its arguments.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/commands/itags_argument.h"
#include "app/commands/mux_command.h"
#include "tests/app/argv_support.h"
#include "tests/widetext/temp_folder.h"

namespace {

using C = TTrackColumn;
using Args = std::vector<std::wstring>;

TTrackRow Row(const wchar_t* Folder, const wchar_t* File, const wchar_t* Index, const wchar_t* Type,
              bool Checked = true) {
  TTrackRow r;
  r.Checked = Checked;
  r[C::Path] = Folder;
  r[C::File] = File;
  r[C::Index] = Index;
  r[C::Type] = Type;
  r[C::Description] = L"shown only";
  return r;
}

TMuxOptions Options() {
  TMuxOptions o;
  o.MP4BoxPath = L"C:\\Tools\\MP4Box.exe";
  o.Output = L"C:\\Out\\movie.mp4";
  return o;
}

// The arguments after the program, with the program checked on the way.
Args Built(const std::vector<TTrackRow>& Rows, const TMuxOptions& O) {
  AnsiString line = BuildMuxCommandLine(Rows, O);
  std::vector<std::wstring> all = ArgvOf(AnsiToWide(line));
  EXPECT_FALSE(all.empty());
  if (all.empty()) return {};
  EXPECT_EQ(all[0], O.MP4BoxPath);
  return Args(all.begin() + 1, all.end());
}

TEST(MuxCommand, EachTrackOptionFeedsItsPiece) {
  struct Case {
    const char* what;
    C column;
    const wchar_t* value;
    Args expected;
  } cases[] = {
      {"name", C::Name, L"Main", {L"-add", L"C:\\In\\a.mp4#1:name=Main", L"C:\\Out\\movie.mp4"}},
      {"language", C::Language, L"Hebrew", {L"-add", L"C:\\In\\a.mp4#1:lang=he", L"C:\\Out\\movie.mp4"}},
      {"language without code", C::Language, L"Rhaeto-Romance",
       {L"-add", L"C:\\In\\a.mp4#1:lang=", L"C:\\Out\\movie.mp4"}},
      {"frame rate", C::FrameRate, L"23.976", {L"-add", L"C:\\In\\a.mp4#1:fps=23.976", L"C:\\Out\\movie.mp4"}},
      {"par", C::PAR, L"64:45", {L"-add", L"C:\\In\\a.mp4#1:par=64:45", L"C:\\Out\\movie.mp4"}},
      {"sbr", C::HEAACSignal, L"sbr", {L"-add", L"C:\\In\\a.mp4#1:sbr", L"C:\\Out\\movie.mp4"}},
      {"sbrx", C::HEAACSignal, L"sbrx", {L"-add", L"C:\\In\\a.mp4#1:sbrx", L"C:\\Out\\movie.mp4"}},
      {"other signalling", C::HEAACSignal, L"ps", {L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"delay", C::Delay, L"-200", {L"-add", L"C:\\In\\a.mp4#1:delay=-200", L"C:\\Out\\movie.mp4"}},
      {"font", C::FontName, L"Arial", {L"-add", L"C:\\In\\a.mp4#1:font=Arial", L"C:\\Out\\movie.mp4"}},
      {"size", C::FontSize, L"18", {L"-add", L"C:\\In\\a.mp4#1:size=18", L"C:\\Out\\movie.mp4"}},
      {"keep n-vops", C::KeepNVops, L"1", {L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"brand", C::Brand, L"avc1", {L"-brand", L"avc1", L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"interleave", C::Interleave, L"500", {L"-inter", L"500", L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"copyright", C::Copyright, L"(c) 2008 \"Me\" \\ 100%",
       {L"-cprt", L"(c) 2008 \"Me\" \\ 100%", L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"name with quotes", C::Name, L"12\" Mix \\",
       {L"-add", L"C:\\In\\a.mp4#1:name=12\" Mix \\", L"C:\\Out\\movie.mp4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTrackRow r = Row(L"C:\\In\\", L"a.mp4", L"1", L"audio");
    r[c.column] = c.value;
    EXPECT_EQ(Built({r}, Options()), c.expected);
  }
}

TEST(MuxCommand, SelectorsTypesAndOrderOfRows) {
  std::vector<TTrackRow> rows = {
      Row(L"C:\\My Videos\\", L"film.mp4", L"1", L"video"),
      Row(L"C:\\My Videos\\", L"film.mp4", L"2", L"audio", false),  // unchecked: nothing at all
      Row(L"C:\\My Videos\\", L"film.mp4", L"", L"audio"),          // no selector: whole file
      Row(L"C:\\s\\", L"subs.srt", L"", L"sub"),                    // a subtitle file: whole
      Row(L"C:\\My Videos\\", L"film.mp4", L"3", L"sub"),           // a text track: by its number
      Row(L"C:\\s\\", L"subs.idx", L"2", L"vobsub"),
      Row(L"C:\\s\\", L"ch.txt", L"", L"chap"),
      Row(L"C:\\s\\", L"cover.jpg", L"", L""),
  };
  rows[1][C::Brand] = L"mp42";
  rows[1][C::Copyright] = L"nobody";
  Args expected = {L"-add", L"C:\\My Videos\\film.mp4#1", L"-add", L"C:\\My Videos\\film.mp4",
                   L"-add", L"C:\\s\\subs.srt",           L"-add", L"C:\\My Videos\\film.mp4#3",
                   L"-add", L"C:\\s\\subs.idx#2",
                   L"-chap", L"C:\\s\\ch.txt",            L"-add", L"C:\\s\\cover.jpg",
                   L"C:\\Out\\movie.mp4"};
  EXPECT_EQ(Built(rows, Options()), expected);

  // VFR: the row at list position 0 is added, every later one concatenated, even when row 0
  // is unchecked.
  TMuxOptions vfr = Options();
  vfr.VFR = true;
  std::vector<TTrackRow> two = {Row(L"a\\", L"1.h264", L"", L"video"), Row(L"a\\", L"2.h264", L"", L"video")};
  EXPECT_EQ(Built(two, vfr), (Args{L"-add", L"a\\1.h264", L"-cat", L"a\\2.h264", L"C:\\Out\\movie.mp4"}));
  two[0].Checked = false;
  EXPECT_EQ(Built(two, vfr), (Args{L"-cat", L"a\\2.h264", L"C:\\Out\\movie.mp4"}));
}

TEST(MuxCommand, JobOptionsInTheirPlaces) {
  std::vector<TTrackRow> rows = {Row(L"C:\\In\\", L"a.mp4", L"1", L"video")};
  struct Case {
    const char* what;
    std::function<void(TMuxOptions&)> set;
    Args expected;
  } cases[] = {
      {"iphone", [](TMuxOptions& o) { o.Compliance = 1; },
       {L"-ipod", L"-brand", L"M4VP:1", L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"ipod", [](TMuxOptions& o) { o.Compliance = 2; }, {L"-ipod", L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"isma", [](TMuxOptions& o) { o.Compliance = 3; }, {L"-isma", L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"psp", [](TMuxOptions& o) { o.Compliance = 4; }, {L"-psp", L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"3gp: no compliance",
       [](TMuxOptions& o) {
         o.Compliance = 4;
         o.ComplianceEnabled = false;
         o.CreateMP4 = false;
         o.Output = L"C:\\Out\\movie.3gp";
       },
       {L"-add", L"C:\\In\\a.mp4#1", L"-3gp", L"C:\\Out\\movie.3gp"}},
      {"hint, flat", [](TMuxOptions& o) { o.Hint = o.Flat = true; },
       {L"-hint", L"-flat", L"-add", L"C:\\In\\a.mp4#1", L"C:\\Out\\movie.mp4"}},
      {"split", [](TMuxOptions& o) { o.SplitKilobytes = 716800; },
       {L"-add", L"C:\\In\\a.mp4#1", L"-splits", L"716800", L"C:\\Out\\movie.mp4"}},
      {"temporary folder's trailing backslash",
       [](TMuxOptions& o) {
         o.TempFolder = L"C:\\Temp Files\\";
         o.Verbose = o.OverWrite = true;
       },
       {L"-add", L"C:\\In\\a.mp4#1", L"-tmp", L"C:\\Temp Files\\", L"-v", L"-new", L"C:\\Out\\movie.mp4"}},
      {"tags",
       [](TMuxOptions& o) {
         TTagFields t;
         t.Artist = L"Ann";
         t.Year = L"1999";
         o.ITags = MuxITagsArgument(t);
       },
       {L"-add", L"C:\\In\\a.mp4#1", L"-itags", L"artist=Ann:created=1999", L"C:\\Out\\movie.mp4"}},
      {"empty output name", [](TMuxOptions& o) { o.Output.clear(); }, {L"-add", L"C:\\In\\a.mp4#1", L""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TMuxOptions o = Options();
    c.set(o);
    EXPECT_EQ(Built(rows, o), c.expected);
  }
}

TEST(MuxCommand, SplitSizes) {
  struct Case {
    int index;
    const wchar_t* text;
    std::optional<long long> kilobytes;
  } cases[] = {
      {0, L"     None", 0},   {1, L"", 716800},          {2, L"", 819200},     {3, L"", 1024000},
      {4, L"", 1433600},      {5, L"650", 650 * 1024},   {5, L" 650 ", 650 * 1024},
      {5, L"Custom...", std::nullopt}, {5, L"6.5", std::nullopt}, {5, L"", std::nullopt}, {5, L"0", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.index << " " << WideToAnsi(c.text));
    EXPECT_EQ(SplitKilobytes(c.index, c.text), c.kilobytes);
  }
}

TEST(MuxCommand, OnlyTheRowsOfAnAviWithH264TakeItsRawStream) {
  std::vector<TTrackRow> rows = {
      Row(L"C:\\v\\", L"clip.avi", L"video", L"video"),   Row(L"C:\\v\\", L"clip.avi", L"audio", L"audio"),
      Row(L"C:\\v\\", L"other.avi", L"video", L"video"),  Row(L"C:\\v\\", L"old.avi", L"video", L"video", false),
  };
  TMuxOptions o = Options();
  o.AviH264Inputs = {L"C:\\v\\clip.avi", L"C:\\v\\old.avi"};
  EXPECT_EQ(Built(rows, o), (Args{L"-add", L"C:\\v\\clip_video.h264#video", L"-add", L"C:\\v\\clip.avi#audio",
                                  L"-add", L"C:\\v\\other.avi#video", L"C:\\Out\\movie.mp4"}));
  // One pre-step per AVI file that a checked video row uses; the unchecked one has none.
  std::vector<TAviRawStep> steps = AviRawSteps(rows, o);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].LogText, L"Extraction of clip.avi to raw h264...");
  std::vector<std::wstring> all = ArgvOf(AnsiToWide(BuildAviRawCommandLine(o, steps[0])));
  EXPECT_EQ(all, (Args{L"C:\\Tools\\MP4Box.exe", L"-aviraw", L"video", L"C:\\v\\clip.avi"}));

  o.AviH264Inputs.clear();
  EXPECT_TRUE(AviRawSteps(rows, o).empty());
}

TEST(MuxCommand, RawAvcRowsWithoutFrameRate) {
  std::vector<TTrackRow> rows = {Row(L"a\\", L"clip.mp4", L"1", L"video"), Row(L"a\\", L"raw.H264", L"", L"video")};
  EXPECT_TRUE(RawAvcRowLacksFrameRate(rows));
  rows[1][C::FrameRate] = L"25";
  EXPECT_FALSE(RawAvcRowLacksFrameRate(rows));
  rows[1][C::FrameRate] = L"";
  rows[1].Checked = false;
  EXPECT_FALSE(RawAvcRowLacksFrameRate(rows));
}

// A file whose name the code page cannot carry is named by its short form, which the
// tool can open.
TEST(MuxCommand, NamesOutsideTheCodePageGoByTheirShortForm) {
  TempFolder temp;
  std::wstring file = temp / L"\x65E5\x672C clip.mp4";
  ASSERT_TRUE(TempFolder::MakeFile(file));
  TTrackRow r = Row((temp.Path() + L"\\").c_str(), L"\x65E5\x672C clip.mp4", L"1", L"video");
  Args args = Built({r}, Options());
  ASSERT_EQ(args.size(), 3u);
  std::wstring path = args[1].substr(0, args[1].find(L'#'));
  EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << WideToAnsi(path);
  wchar_t longName[MAX_PATH];
  ASSERT_NE(GetLongPathNameW(path.c_str(), longName, MAX_PATH), 0u);
  EXPECT_EQ(std::wstring(longName), file);
}

}  // namespace
