// Mux jobs run for real: the real test media analysed into rows, the job's command lines
// built from them, and the stand-in MP4Box.exe run by the sequencer through the console tool
// runner, without the program's windows.
#include <gtest/gtest.h>


#include "app/commands/itags_argument.h"
#include "app/commands/mux_job.h"
#include "app/common/utf8.h"
#include "app/media/media_analysis.h"
#include "tests/app/media_test_support.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/recording_view.h"
#include "tests/support/pump.h"
#include "tests/widetext/temp_folder.h"

namespace {

using C = TTrackColumn;

std::string ReadText(const std::wstring& name) {
  std::string text;
  HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) text.append(buffer, got);
  CloseHandle(h);
  return text;
}

std::vector<TArgv> Recorded(const std::wstring& logFile) { return RecordedRuns(ReadText(logFile)); }

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

class MuxJobRun : public ::testing::Test {
 protected:
  void SetUp() override {
    media = TestMediaFolder();
    if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
    InitApplication();
    // Blanks and letters beyond ASCII in the folder, whose trailing backslash ends -tmp.
    folder = temp / L"mux \x00E9t\x00E9";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\";
    for (const wchar_t* name : {L"clip.mp4", L"clip.avi", L"tone.mp3"})
      CopyFileW((media + name).c_str(), (folder + name).c_str(), FALSE);
    argvLog = folder + L"argv.log";
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", argvLog.c_str());
    command = new TDosCommand(nullptr);
    seq = std::make_unique<TJobSequencer>(command, &view, &texts);
    seq->AttachRunner();
    options.MP4BoxPath = ProgramFolder() + L"MP4Box.exe";
    options.Output = folder + L"new film.mp4";
  }
  void TearDown() override {
    seq.reset();
    delete command;
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", nullptr);
    SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", nullptr);
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

  std::string Ansi(const std::wstring& s) { return WideToAnsi(s); }

  TempFolder temp;
  WideString media;
  std::wstring folder, argvLog;
  TMuxOptions options;
  TNamedTexts texts = KeyTexts();
  TRecordingView view;
  TDosCommand* command = nullptr;
  std::unique_ptr<TJobSequencer> seq;
};

TEST_F(MuxJobRun, AviWithH264GoesThroughItsRawStream) {
  std::vector<TTrackRow> rows = Analysed({L"clip.avi", L"clip.mp4", L"tone.mp3"});
  ASSERT_EQ(rows.size(), 5u);
  rows[3].Checked = false;  // clip.mp4's audio
  rows[2][C::Name] = L"12\" Mix \\";
  rows[2][C::Language] = L"English";
  rows[4][C::Delay] = L"-100";
  // This library never reports "Intel H.264": the AVI file is marked as the analysis would.
  options.AviH264Inputs = {folder + L"clip.avi"};
  options.TempFolder = folder;
  options.OverWrite = true;
  TTagFields tags;
  tags.Name = L"Caf\x00E9";
  tags.Comment = L"100% \"live\"";
  options.ITags = MuxITagsArgument(tags);

  RunToClose(MuxJobStart(rows, options, texts));

  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded});
  const std::string f = Ansi(folder);
  const std::vector<TArgv> runs = Recorded(argvLog);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-aviraw", "video", f + "clip.avi"}));
  EXPECT_EQ(runs[1], (TArgv{"MP4Box.exe", "-add", f + "clip_video.h264#video:fps=25.000", "-add", f + "clip.avi#audio",
                            "-add", f + "clip.mp4#1:name=12\" Mix \\:lang=en:fps=25.000", "-add", f + "tone.mp3:delay=-100",
                            "-itags", "name=" + WideToUtf8(L"Caf\x00E9") + ":comment=100% \"live\"", "-tmp", f,
                            "-new", f + "new film.mp4"}));
  const std::string written = ReadText(folder + L"new film.mp4");
  EXPECT_NE(written.find("-add " + f + "clip_video.h264#video:fps=25.000"), std::string::npos) << written;
  // The pre-step's raw stream is the job's own: gone when it closes.
  EXPECT_FALSE(TempFolder::Exists(folder + L"clip_video.h264"));
  ASSERT_GE(view.Rows.size(), 3u);
  EXPECT_EQ(view.Rows[0], (TRecordedRow{pekError, L"AVCinAVIDetect"}));
  EXPECT_EQ(view.Rows[1], (TRecordedRow{pekInformation, L"Extraction of clip.avi to raw h264..."}));
  EXPECT_EQ(view.Rows.back(), (TRecordedRow{pekInformation, L"CreateSucceed"}));
}

TEST_F(MuxJobRun, AFailingToolGivesTheFailedRow) {
  SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", L"2");
  RunToClose(MuxJobStart(Analysed({L"tone.mp3"}), options, texts));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed});
  EXPECT_EQ(view.Rows.back(), (TRecordedRow{pekWarning, L"CreateFailed"}));
  EXPECT_EQ(Recorded(argvLog).size(), 1u);
  EXPECT_FALSE(TempFolder::Exists(folder + L"new film.mp4"));
}

}  // namespace
