// The same mux jobs against the older MP4Box and today's (the stand-in in each of its modes,
// today's with and without colour): the version read from the tool, the command lines each
// gets, the files each writes, and the job's end.
#include <gtest/gtest.h>

#include "app/commands/extract_command.h"
#include "app/commands/itags_argument.h"
#include "app/commands/join_command.h"
#include "app/commands/mux_job.h"
#include "app/commands/split_command.h"
#include "app/common/utf8.h"
#include "app/jobs/tool_version_query.h"
#include "app/media/media_analysis.h"
#include "tests/app/media_test_support.h"
#include "tests/app/program_session.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/recording_view.h"
#include "tests/support/pump.h"
#include "tests/widetext/temp_folder.h"

namespace {

using C = TTrackColumn;

TEST(MP4BoxVersion, ReadFromWhatTheToolPrints) {
  const struct {
    const char* printed;
    bool known;
    int major, minor, patch;
    bool unicode, current;
  } cases[] = {
      {"MP4Box - GPAC version 0.4.5-DEV\nGPAC Copyright: (c) 2000-2005", true, 0, 4, 5, false, false},
      {"MP4Box - GPAC version 0.5.2", true, 0, 5, 2, false, false},
      {"MP4Box - GPAC version 0.6.0-rev5", true, 0, 6, 0, true, false},
      {"MP4Box - GPAC version 0.9.0-DEV", true, 0, 9, 0, true, false},
      {"MP4Box - GPAC version 1.0.1", true, 1, 0, 1, true, true},
      {"\x1b[32mMP4Box - GPAC version 26.08-DEV-rev12-gabc-master\n", true, 26, 8, 0, true, true},
      {"Usage: MP4Box [option] input", false, 0, 0, 0, false, false},
      {"", false, 0, 0, 0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.printed);
    TMP4BoxVersion v = ParseMP4BoxVersion(c.printed);
    EXPECT_EQ(v.Known, c.known);
    if (c.known) EXPECT_EQ(std::make_tuple(v.Major, v.Minor, v.Patch), std::make_tuple(c.major, c.minor, c.patch));
    EXPECT_EQ(TakesUnicodeArguments(v), c.unicode);
    EXPECT_EQ(IsCurrentGeneration(v), c.current);
  }
}

struct TGeneration {
  const char* Name;
  const wchar_t* Version;  // what the stand-in prints
  bool Today;
  bool Coloured;  // SHELL is set: today's MP4Box colours its lines
};

std::string ReadBytes(const std::wstring& name) { return apptest::ReadFileBytes(name); }

class Generations : public ::testing::TestWithParam<TGeneration> {
 protected:
  void SetUp() override {
    media = TestMediaFolder();
    if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
    InitApplication();
    const TGeneration& g = GetParam();
    wchar_t shell[1024];
    hadShell = GetEnvironmentVariableW(L"SHELL", shell, 1024) > 0;
    if (hadShell) oldShell = shell;
    SetEnvironmentVariableW(L"SHELL", g.Coloured ? L"/bin/sh" : nullptr);
    SetEnvironmentVariableW(L"KAVO_MP4BOX_VERSION", g.Version);
    folder = temp / L"mux \x00E9t\x00E9";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\";
    for (const wchar_t* name : {L"clip.avi", L"clip.mp4", L"tone.mp3"})
      CopyFileW((media + name).c_str(), (folder + name).c_str(), FALSE);
    argvLog = folder + L"argv.log";
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", argvLog.c_str());
    command = new TDosCommand(nullptr);
    seq = std::make_unique<TJobSequencer>(command, &view, &texts);
    seq->AttachRunner();
    options.MP4BoxPath = TMainForm::ProgramFolder() + L"MP4Box.exe";
    options.Version = ReadMP4BoxVersion(options.MP4BoxPath);
    options.Output = folder + L"new film.mp4";
    options.OverWrite = true;
  }
  void TearDown() override {
    seq.reset();
    delete command;
    for (const wchar_t* name : {L"KAVO_TOOL_LOG", L"KAVO_MP4BOX_VERSION", L"KAVO_MP4BOX_SPLIT_ABORT"})
      SetEnvironmentVariableW(name, nullptr);
    SetEnvironmentVariableW(L"SHELL", hadShell ? oldShell.c_str() : nullptr);
  }

  std::vector<TTrackRow> Analysed(std::initializer_list<const wchar_t*> Names) {
    std::vector<TTrackRow> rows;
    for (const wchar_t* name : Names) {
      TFileAnalysis a = AnalyseMediaFile(folder + name);
      rows.insert(rows.end(), a.Rows.begin(), a.Rows.end());
    }
    return rows;
  }
  void RunToClose(TJobStart job) {
    ASSERT_TRUE(seq->StartJob(std::move(job)));
    ASSERT_TRUE(PumpUntil([&] { return !view.Closed.empty(); }, 30000)) << "the job did not close";
  }
  // A text as the tool receives it: today's MP4Box takes UTF-16 and works in UTF-8, the
  // older one has the 8-bit line.
  std::string AsReceived(const std::wstring& s) const { return GetParam().Today ? WideToUtf8(s) : WideToAnsi(s); }
  std::vector<TArgv> Runs() const { return RecordedRuns(ReadBytes(argvLog)); }
  bool HasRow(const WideString& text) const {
    for (const TRecordedRow& r : view.Rows)
      if (r.Text == text) return true;
    return false;
  }

  TempFolder temp;
  WideString media;
  std::wstring folder, argvLog, oldShell;
  bool hadShell = false;
  TMuxOptions options;
  // The texts are their keys, but for the line that names a missing file, which is looked for.
  TNamedTexts texts = [] {
    TNamedTexts t = KeyTexts();
    t.MsgFileNotWritten = TNamedTexts().MsgFileNotWritten;
    return t;
  }();
  TRecordingView view;
  TDosCommand* command = nullptr;
  std::unique_ptr<TJobSequencer> seq;
};

TEST_P(Generations, TheVersionIsReadFromTheTool) {
  ASSERT_TRUE(options.Version.Known);
  EXPECT_EQ(options.Version.Major, GetParam().Today ? 26 : 0);
  EXPECT_EQ(IsCurrentGeneration(options.Version), GetParam().Today);
}

TEST_P(Generations, AnAviWithH264GoesThroughItsRawStream) {
  std::vector<TTrackRow> rows = Analysed({L"clip.avi", L"tone.mp3"});
  ASSERT_EQ(rows.size(), 3u);
  options.AviH264Inputs = {folder + L"clip.avi"};
  RunToClose(MuxJobStart(rows, options, texts));

  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded}) << ::testing::PrintToString(view.LogTexts);
  const std::string f = AsReceived(folder);
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  // Today's MP4Box refuses -aviraw; its -raw writes the stream under the name the mux reads.
  EXPECT_EQ(runs[0], GetParam().Today
                         ? (TArgv{"MP4Box.exe", "-raw", "1", "-out", f + "clip_video.h264", f + "clip.avi"})
                         : (TArgv{"MP4Box.exe", "-aviraw", "video", f + "clip.avi"}));
  EXPECT_EQ(runs[1], (TArgv{"MP4Box.exe", "-add", f + "clip_video.h264#video:fps=25.000", "-add", f + "clip.avi#audio",
                            "-add", f + "tone.mp3", "-new", f + "new film.mp4"}));
  EXPECT_TRUE(TempFolder::Exists(folder + L"new film.mp4"));
  EXPECT_FALSE(TempFolder::Exists(folder + L"clip_video.h264"));  // the job's own, gone
  // The raw stream's import and the writing give their rows in both forms of output.
  EXPECT_TRUE(HasRow(L"ImportAVCFile"));
  EXPECT_TRUE(HasRow(L"FileW"));
}

TEST_P(Generations, AMuxWithASplitSizeFindsItsParts) {
  options.SplitKilobytes = 716800;
  RunToClose(MuxJobStart(Analysed({L"tone.mp3"}), options, texts));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded}) << ::testing::PrintToString(view.LogTexts);
  // Today's tool writes out_1.mp4 on (one part for a file this small) and never the name it
  // was given.
  EXPECT_EQ(TempFolder::Exists(folder + L"new film_1.mp4"), GetParam().Today);
  EXPECT_EQ(TempFolder::Exists(folder + L"new film.mp4"), !GetParam().Today);
}

TEST_P(Generations, TagsWithATrackTotalAndTheGaplessFlag) {
  TTagFields tags;
  tags.TrackNum = L"3";
  tags.TrackTotal = L"12";
  tags.DiskTotal = L"2";  // without its number: nothing
  tags.Compilation = tags.Gapless = true;
  options.ITags = MuxITagsArgument(tags, options.Version);
  RunToClose(MuxJobStart(Analysed({L"tone.mp3"}), options, texts));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded}) << ::testing::PrintToString(view.LogTexts);
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 1u);
  const std::string itags = GetParam().Today ? "tracknum=3/12:compilation=yes:gapless=yes"
                                             : "tracknum=3/12:compilation=yes:gapeless=yes";
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-add", AsReceived(folder) + "tone.mp3", "-itags", itags, "-new",
                            AsReceived(folder) + "new film.mp4"}));
}

TEST_P(Generations, ASplitFindsItsFirstPart) {
  TSplitOptions split;
  split.MP4BoxPath = options.MP4BoxPath;
  split.Version = options.Version;
  split.Input = folder + L"clip.mp4";
  split.Size = L"1";
  RunToClose(SplitJobStart(split));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded}) << ::testing::PrintToString(view.LogTexts);
  EXPECT_TRUE(TempFolder::Exists(folder + L"clip_001.mp4"));
  EXPECT_EQ(Runs().at(0), (TArgv{"MP4Box.exe", "-splits", "1024", AsReceived(folder) + "clip.mp4"}));
}

// Two films joined: the older tool appends track by track, today's the later file whole
// after the first file's tracks (whose frame rate it cannot keep then).
TEST_P(Generations, AJoinOfTwoFiles) {
  CopyFileW((folder + L"clip.mp4").c_str(), (folder + L"b.mp4").c_str(), FALSE);
  TJoinOptions join;
  join.MP4BoxPath = options.MP4BoxPath;
  join.Version = options.Version;
  join.Output = folder + L"joined.mp4";
  join.OverWrite = true;
  const std::vector<TTrackRow> rows = Analysed({L"clip.mp4", L"b.mp4"});
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_TRUE(PlanJoin(rows, join, texts).OutOfSync.empty());
  RunToClose(JoinJobStart(rows, join, texts));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded}) << ::testing::PrintToString(view.LogTexts);
  const std::string f = AsReceived(folder);
  const std::string video = AsReceived(L"#1:name=Vid\x00E9o");
  EXPECT_EQ(Runs().at(0), GetParam().Today
                              ? (TArgv{"MP4Box.exe", "-add", f + "clip.mp4" + video, "-add", f + "clip.mp4#2:lang=fr",
                                       "-cat", f + "b.mp4", "-new", f + "joined.mp4"})
                              : (TArgv{"MP4Box.exe", "-add", f + "clip.mp4" + video + ":fps=25.000", "-add",
                                       f + "clip.mp4#2:lang=fr", "-cat", f + "b.mp4" + video + ":fps=25.000", "-cat",
                                       f + "b.mp4#2:lang=fr", "-new", f + "joined.mp4"}));
  EXPECT_TRUE(TempFolder::Exists(folder + L"joined.mp4"));
}

// The parts of an ".m4v" film: named after the input by the older tool, ".mp4" by today's;
// the job looks for the right one and succeeds.
TEST_P(Generations, TheSplitOfAnM4vFilm) {
  CopyFileW((folder + L"clip.mp4").c_str(), (folder + L"film.m4v").c_str(), FALSE);
  TSplitOptions split;
  split.MP4BoxPath = options.MP4BoxPath;
  split.Version = options.Version;
  split.Input = folder + L"film.m4v";
  split.Size = L"1";
  RunToClose(SplitJobStart(split));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded}) << ::testing::PrintToString(view.LogTexts);
  EXPECT_TRUE(TempFolder::Exists(folder + (GetParam().Today ? L"film_001.mp4" : L"film_001.m4v")));
}

INSTANTIATE_TEST_SUITE_P(MP4Box, Generations,
                         ::testing::Values(TGeneration{"older", L"0.4.5", false, false},
                                           TGeneration{"today", L"26.08-DEV", true, false},
                                           TGeneration{"today_coloured", L"26.08-DEV", true, true}),
                         [](const ::testing::TestParamInfo<TGeneration>& info) { return std::string(info.param.Name); });

// Today's tool only.
class TodaysMP4Box : public Generations {};

TEST_P(TodaysMP4Box, ASplitThatWritesNothingFailsAndTheLogSaysWhichFile) {
  SetEnvironmentVariableW(L"KAVO_MP4BOX_SPLIT_ABORT", L"1");
  options.SplitKilobytes = 716800;
  RunToClose(MuxJobStart(Analysed({L"tone.mp3"}), options, texts));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed});
  EXPECT_EQ(view.Rows.back(), (TRecordedRow{pekWarning, L"CreateFailed"}));
  const std::string missing = "The file " + WideToAnsi(folder) + "new film_1.mp4 was not written.";
  EXPECT_NE(std::find(view.LogTexts.begin(), view.LogTexts.end(), missing), view.LogTexts.end())
      << ::testing::PrintToString(view.LogTexts);
}

TEST_P(TodaysMP4Box, ASplitPageJobThatWritesNothingFails) {
  SetEnvironmentVariableW(L"KAVO_MP4BOX_SPLIT_ABORT", L"1");
  TSplitOptions split;
  split.MP4BoxPath = options.MP4BoxPath;
  split.Version = options.Version;
  split.Input = folder + L"clip.mp4";
  split.Mode = TSplitMode::Range;
  split.From = L"0";
  split.To = L"1";  // an hour
  RunToClose(SplitJobStart(split));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed});
  const std::string missing = "The file " + WideToAnsi(folder) + "clip_0_3600.mp4 was not written.";
  EXPECT_NE(std::find(view.LogTexts.begin(), view.LogTexts.end(), missing), view.LogTexts.end())
      << ::testing::PrintToString(view.LogTexts);
}

TEST_P(TodaysMP4Box, NamesAndTagsOutsideTheCodePageArriveWhole) {
  const std::wstring greek = L"\x03A4\x03B1\x03B9\x03BD\x03AF\x03B1";
  options.Output = folder + greek + L".mp4";
  TTagFields tags;
  tags.Name = greek + L" \x65E5";
  tags.Genre = L"R\x00E9tro";
  options.ITags = MuxITagsArgument(tags, options.Version);
  RunToClose(MuxJobStart(Analysed({L"tone.mp3"}), options, texts));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded}) << ::testing::PrintToString(view.LogTexts);
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-add", WideToUtf8(folder) + "tone.mp3", "-itags",
                            WideToUtf8(L"name=" + greek + L" \x65E5:genre=R\x00E9tro"), "-new",
                            WideToUtf8(options.Output)}));
  EXPECT_TRUE(TempFolder::Exists(options.Output));
}

// Every stream of an AVI file with two MP3 streams: each under its own name, none replacing
// another.
TEST_P(TodaysMP4Box, EveryStreamOfAnAviWithTwoAudioStreams) {
  CopyFileW((media + L"clip2a.avi").c_str(), (folder + L"two.avi").c_str(), FALSE);
  TExtractJob job;
  job.Request.MP4BoxPath = options.MP4BoxPath;
  job.Request.Version = options.Version;
  job.Request.Input = folder + L"two.avi";
  job.Request.Choice = TExtractChoice::RawAll;
  job.Rows = ListTracksForExtract(job.Request.Input).Rows;
  ASSERT_EQ(job.Rows.size(), 3u);
  RunToClose(ExtractJobStart(job, texts));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded}) << ::testing::PrintToString(view.LogTexts);
  for (const wchar_t* name : {L"two_track1.h264", L"two_track2.mp3", L"two_track3.mp3"})
    EXPECT_TRUE(TempFolder::Exists(folder + name)) << WideToAnsi(name);
  EXPECT_EQ(Runs().at(2), (TArgv{"MP4Box.exe", "-raw", "3", "-out", AsReceived(folder) + "two_track3.mp3",
                                 AsReceived(folder) + "two.avi"}));
}

// A film cut in its media data: the tool extracts part of it, warns and ends with exit
// code 0; the job fails and its row before the last says what the tool said.
TEST_P(TodaysMP4Box, AnExtractionOfACutFilmFails) {
  CopyFileW((media + L"trunc_mdat.mp4").c_str(), (folder + L"cut.mp4").c_str(), FALSE);
  TExtractJob job;
  job.Request.MP4BoxPath = options.MP4BoxPath;
  job.Request.Version = options.Version;
  job.Request.Input = folder + L"cut.mp4";
  job.Rows = {{folder, L"cut.mp4", L"1", L"AVC", L"video"}};
  RunToClose(ExtractJobStart(job, texts));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed}) << ::testing::PrintToString(view.LogTexts);
  ASSERT_GE(view.Rows.size(), 2u);
  EXPECT_NE(view.Rows[view.Rows.size() - 2].Text.find(L"File truncated"), WideString::npos)
      << ::testing::PrintToString(view.LogTexts);
}

INSTANTIATE_TEST_SUITE_P(MP4Box, TodaysMP4Box, ::testing::Values(TGeneration{"today", L"26.08-DEV", true, false}),
                         [](const ::testing::TestParamInfo<TGeneration>& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

// The program asks the tool beside it at start-up, and asks again when a path is chosen.
TEST(ProgramMP4BoxVersion, ReadAtStartUpAndWhenThePathIsChosen) {
  apptest::InstallLanguageFiles();
  apptest::RemoveSettingsFile();
  SetEnvironmentVariableW(L"KAVO_MP4BOX_VERSION", L"26.08-DEV");
  {
    apptest::TProgramSession session;
    session.Show();
    TMainForm* m = session.Main();
    const WideString tool = m->edMP4Box->Text();  // the stand-in beside the program
    ASSERT_FALSE(tool.empty());
    auto log = [m] { return m->FLog->Lines()->Text(); };
    EXPECT_NE(log().find("MP4Box version 26.8.0"), std::string::npos) << log();
    EXPECT_TRUE(IsCurrentGeneration(m->MuxOptionsOfPage().Version));

    SetEnvironmentVariableW(L"KAVO_MP4BOX_VERSION", L"0.4.5");
    EXPECT_TRUE(IsCurrentGeneration(m->MuxOptionsOfPage().Version));  // once for each path
    m->MP4BoxChosen(tool);
    EXPECT_NE(log().find("MP4Box version 0.4.5"), std::string::npos) << log();
    EXPECT_FALSE(IsCurrentGeneration(m->MuxOptionsOfPage().Version));
    EXPECT_EQ(m->MuxOptionsOfPage().Version.Minor, 4);
  }
  SetEnvironmentVariableW(L"KAVO_MP4BOX_VERSION", nullptr);
  apptest::RemoveSettingsFile();
}

}  // namespace
