// The join job's command line, read back as the started tool receives its arguments, and
// the checks before a join or mux job starts.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "app/commands/join_command.h"
#include "app/commands/output_check.h"
#include "tests/app/argv_support.h"
#include "tests/widetext/temp_folder.h"

namespace {

using C = TTrackColumn;
using Args = std::vector<std::wstring>;

TTrackRow Row(const wchar_t* File, const wchar_t* Index, const wchar_t* Type, bool Checked = true,
              const wchar_t* Folder = L"C:\\In\\") {
  TTrackRow r;
  r.Checked = Checked;
  r[C::Path] = Folder;
  r[C::File] = File;
  r[C::Index] = Index;
  r[C::Type] = Type;
  r[C::Description] = L"shown only";
  return r;
}

TJoinOptions Options() {
  TJoinOptions o;
  o.MP4BoxPath = L"C:\\Tools\\MP4Box.exe";
  o.Output = L"C:\\Out\\joined.mp4";
  return o;
}

Args Built(const std::vector<TTrackRow>& Rows, const TJoinOptions& O) {
  std::vector<std::wstring> all = ArgvOf(AnsiToWide(BuildJoinCommandLine(Rows, O)));
  EXPECT_FALSE(all.empty());
  if (all.empty()) return {};
  EXPECT_EQ(all[0], O.MP4BoxPath);
  return Args(all.begin() + 1, all.end());
}

// The first file's tracks are added, the later files' tracks appended: an appended second
// track of the first file would start after the end of its first track.
TEST(JoinCommand, TheFirstFilesTracksAreAddedAndTheOthersAppended) {
  struct Case {
    const char* what;
    std::vector<TTrackRow> rows;
    Args expected;
  } cases[] = {
      {"two files of two tracks",
       {Row(L"a.mp4", L"1", L"video"), Row(L"a.mp4", L"2", L"audio"), Row(L"b.mp4", L"1", L"video"),
        Row(L"b.mp4", L"2", L"audio")},
       {L"-add", L"C:\\In\\a.mp4#1", L"-add", L"C:\\In\\a.mp4#2", L"-cat", L"C:\\In\\b.mp4#1", L"-cat",
        L"C:\\In\\b.mp4#2", L"C:\\Out\\joined.mp4"}},
      {"the first row unchecked",
       {Row(L"a.mp4", L"1", L"video", false), Row(L"a.mp4", L"2", L"audio"), Row(L"b.mp4", L"2", L"audio")},
       {L"-add", L"C:\\In\\a.mp4#2", L"-cat", L"C:\\In\\b.mp4#2", L"C:\\Out\\joined.mp4"}},
      {"no row of the first file checked",
       {Row(L"a.mp4", L"1", L"video", false), Row(L"b.mp4", L"1", L"video"), Row(L"c.avi", L"video", L"video")},
       {L"-cat", L"C:\\In\\b.mp4#1", L"-cat", L"C:\\In\\c.avi#video", L"C:\\Out\\joined.mp4"}},
      {"the first file named in another case, after a later file",
       {Row(L"a.mp4", L"1", L"video"), Row(L"b.mp4", L"1", L"video"), Row(L"A.MP4", L"2", L"audio")},
       {L"-add", L"C:\\In\\a.mp4#1", L"-cat", L"C:\\In\\b.mp4#1", L"-add", L"C:\\In\\A.MP4#2", L"C:\\Out\\joined.mp4"}},
      {"raw streams without selector; chapters",
       {Row(L"a.h264", L"", L"video"), Row(L"b.h264", L"", L"video"), Row(L"ch.txt", L"", L"chap")},
       {L"-add", L"C:\\In\\a.h264", L"-cat", L"C:\\In\\b.h264", L"-chap", L"C:\\In\\ch.txt", L"C:\\Out\\joined.mp4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Built(c.rows, Options()), c.expected);
  }
}

TEST(JoinCommand, TrackOptionsAndFileOptionsInTheirPlaces) {
  TTrackRow video = Row(L"a.mp4", L"1", L"video");
  video[C::Language] = L"English";
  video[C::Name] = L"12\" Mix \\";
  video[C::FrameRate] = L"25";
  video[C::PAR] = L"1:1";
  video[C::Delay] = L"-40";
  video[C::Brand] = L"mp42";
  video[C::KeepNVops] = L"1";  // not a join option
  TTrackRow audio = Row(L"b.mp4", L"2", L"audio");
  audio[C::HEAACSignal] = L"sbr";
  audio[C::Interleave] = L"500";
  audio[C::Copyright] = L"(c) \"Us\"";
  TTrackRow sub = Row(L"b.mp4", L"3", L"sub");
  sub[C::FontName] = L"Arial";
  sub[C::FontSize] = L"18";
  EXPECT_EQ(Built({video, audio, sub}, Options()),
            (Args{L"-brand", L"mp42", L"-add", L"C:\\In\\a.mp4#1:name=12\" Mix \\:lang=en:fps=25:par=1:1:delay=-40",
                  L"-inter", L"500", L"-cprt", L"(c) \"Us\"", L"-cat", L"C:\\In\\b.mp4#2:sbr", L"-cat",
                  L"C:\\In\\b.mp4#3:font=Arial:size=18", L"C:\\Out\\joined.mp4"}));
}

TEST(JoinCommand, JobOptionsInTheirPlaces) {
  std::vector<TTrackRow> rows = {Row(L"a.mp4", L"1", L"video"), Row(L"b.mp4", L"1", L"video")};
  const Args tracks = {L"-add", L"C:\\In\\a.mp4#1", L"-cat", L"C:\\In\\b.mp4#1"};
  auto with = [&](Args before, Args after) {
    Args all = std::move(before);
    all.insert(all.end(), tracks.begin(), tracks.end());
    all.insert(all.end(), after.begin(), after.end());
    return all;
  };
  struct Case {
    const char* what;
    std::function<void(TJoinOptions&)> set;
    Args expected;
  } cases[] = {
      {"iphone", [](TJoinOptions& o) { o.Compliance = 1; }, with({L"-ipod", L"-brand", L"M4VP:1"}, {L"C:\\Out\\joined.mp4"})},
      {"psp", [](TJoinOptions& o) { o.Compliance = 4; }, with({L"-psp"}, {L"C:\\Out\\joined.mp4"})},
      {"3gpp: no compliance, no -3gp",
       [](TJoinOptions& o) {
         o.Compliance = 1;
         o.ComplianceEnabled = false;
         o.Output = L"C:\\Out\\joined.3gp";
       },
       with({}, {L"C:\\Out\\joined.3gp"})},
      {"temporary folder with a blank, verbose, overwrite",
       [](TJoinOptions& o) {
         o.TempFolder = L"C:\\Temp Files\\";
         o.Verbose = o.OverWrite = true;
       },
       with({}, {L"-tmp", L"C:\\Temp Files\\", L"-v", L"-new", L"C:\\Out\\joined.mp4"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TJoinOptions o = Options();
    c.set(o);
    EXPECT_EQ(Built(rows, o), c.expected);
  }
}

TEST(JoinCommand, AFileOutsideTheCodePageGoesByItsShortName) {
  TempFolder temp;
  const std::wstring name = L"\x65E5\x672C clip.mp4";
  ASSERT_TRUE(TempFolder::MakeFile(temp / name));
  const std::wstring folder = temp.Path() + L"\\";
  Args args = Built({Row(L"a.mp4", L"1", L"video"), Row(name.c_str(), L"1", L"video", true, folder.c_str())}, Options());
  ASSERT_EQ(args.size(), 5u);
  EXPECT_EQ(args[2], L"-cat");
  const std::wstring path = args[3].substr(0, args[3].find(L'#'));
  wchar_t longName[MAX_PATH];
  ASSERT_NE(GetLongPathNameW(path.c_str(), longName, MAX_PATH), 0u) << WideToAnsi(path);
  EXPECT_EQ(std::wstring(longName), temp / name);
}

TEST(JoinCommand, TheJobIsOneRunWithItsNotes) {
  TNamedTexts texts;
  TJoinOptions o = Options();
  o.Verbose = true;
  TJobStart job = JoinJobStart({Row(L"a.mp4", L"1", L"video")}, o, texts);
  EXPECT_EQ(job.Mode, TJobMode::Concat);
  std::optional<TRunRequest> run = job.Steps(0);
  ASSERT_TRUE(run);
  EXPECT_TRUE(run->Verbose);
  ASSERT_EQ(run->Notes.size(), 2u);
  EXPECT_EQ(run->Notes[0].Text, texts.Msg5 + L" joined.mp4...");
  EXPECT_TRUE(run->Notes[0].Row);
  EXPECT_EQ(run->Notes[1].Text, texts.Msg6 + L" : " + AnsiToWide(run->CommandLine));
  EXPECT_FALSE(run->Notes[1].Row);
  EXPECT_FALSE(job.Steps(1));
}

TEST(JoinCommand, ChecksBeforeTheJobStarts) {
  std::vector<TTrackRow> rows = {Row(L"a.mp4", L"1", L"video"), Row(L"raw.264", L"", L"video", false)};
  TJoinOptions o = Options();
  EXPECT_EQ(CheckJoinJob(rows, o, true), TMuxRefusal::None);
  o.MP4BoxPath = L"C:\\Tools\\ffmpeg.exe";
  EXPECT_EQ(CheckJoinJob(rows, o, true), TMuxRefusal::MP4BoxPath);
  o = Options();
  o.Output.clear();
  EXPECT_EQ(CheckJoinJob(rows, o, true), TMuxRefusal::NoOutputName);
  rows[1].Checked = true;
  EXPECT_EQ(CheckJoinJob(rows, Options(), true), TMuxRefusal::RawAvcFrameRate);
  EXPECT_EQ(CheckJoinJob(rows, Options(), false), TMuxRefusal::None);
  for (TTrackRow& r : rows) r.Checked = false;
  EXPECT_EQ(CheckJoinJob(rows, Options(), false), TMuxRefusal::NoCheckedTrack);
}

TEST(OutputCheck, AnOutputNamingACheckedInputIsFoundInAnyForm) {
  TempFolder temp;
  const std::wstring folder = temp.Path() + L"\\";
  ASSERT_TRUE(TempFolder::MakeFile(temp / L"a long file name.mp4"));
  std::vector<TTrackRow> rows = {Row(L"a long file name.mp4", L"1", L"video", true, folder.c_str()),
                                 Row(L"other.mp4", L"1", L"video", false, folder.c_str())};
  const std::wstring input = folder + L"a long file name.mp4";
  wchar_t shortName[MAX_PATH] = {};
  GetShortPathNameW(input.c_str(), shortName, MAX_PATH);
  struct Case {
    std::wstring output;
    std::wstring found;
  } cases[] = {
      {input, input},
      {folder + L"A LONG FILE NAME.MP4", input},
      {folder + L"sub\\..\\a long file name.mp4", input},
      {shortName, input},
      {folder + L"other.mp4", L""},  // its row is not checked
      {folder + L"new.mp4", L""},
      {L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToAnsi(c.output));
    EXPECT_EQ(InputNamedByOutput(rows, c.output), c.found);
  }
}

}  // namespace
