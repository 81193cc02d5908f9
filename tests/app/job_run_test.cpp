// Whole jobs run for real: the sequencer drives the stand-in MP4Box.exe through the console
// tool runner, without the program's windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/jobs/job_sequencer.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/recording_view.h"
#include "tests/support/pump.h"
#include "vcl/timers.h"

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::string ReadText(const std::string& name) {
  std::ifstream f(name, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> v;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      v.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  return v;
}

std::vector<TArgv> Recorded(const std::string& logFile) { return RecordedRuns(ReadText(logFile)); }

bool Exists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

class RealJob : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    static int count = 0;
    folder = std::string(tmp) + "kavo jobs " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"clip one.avi", "clip one_video.h264", "other_video.h264"})
      std::ofstream(folder + name) << "data";
    argvLog = folder + "argv.log";
    SetEnvironmentVariableA("KAVO_TOOL_LOG", argvLog.c_str());
    command = new TDosCommand(nullptr);
    seq = std::make_unique<TJobSequencer>(command, &view, &texts);
    seq->AttachRunner();
  }
  void TearDown() override {
    seq.reset();
    delete command;
    for (const char* v : {"KAVO_TOOL_LOG", "KAVO_MP4BOX_FAIL", "KAVO_MP4BOX_STALL"}) SetEnvironmentVariableA(v, nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do DeleteFileA((folder + fd.cFileName).c_str());
      while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
  }

  std::string Tool() const { return ProgramFolder() + "MP4Box.exe"; }

  // A mux of the AVI file's video, then the extraction of its track 1: two steps.
  TJobStart TwoSteps(std::string second = "out one.mp4") {
    TJobStart job;
    job.Mode = TJobMode::Mux;
    job.StepCount = 2;
    job.TempFiles = {AnsiToWide(folder + "clip one_video.h264")};
    job.Steps = [this, second](int step) -> std::optional<TRunRequest> {
      if (stepSetup) stepSetup(step);
      TRunRequest r;
      if (step == 0)
        r.CommandLine = "\"" + tool + "\" -add \"" + folder + "clip one.avi#video:fps=25\" -new \"" + folder +
                        "out one.mp4\"";
      else
        r.CommandLine = "\"" + tool + "\" -raw 1 \"" + folder + second + "\"";
      r.Notes = {{L"step " + AnsiToWide(IntToStr(step)), pekInformation, true},
                 {L"Command line: " + AnsiToWide(r.CommandLine), pekInformation, false}};
      return r;
    };
    return job;
  }

  void RunToClose(TJobStart job) {
    ASSERT_TRUE(seq->StartJob(std::move(job)));
    ASSERT_TRUE(PumpUntil([&] { return !view.Closed.empty(); }, 30000)) << "the job did not close";
    EXPECT_FALSE(seq->JobRunning());
  }

  // The saved log's lines, each checked for its time stamp and returned without it.
  std::vector<std::string> SavedLog() {
    EXPECT_TRUE(view.Log.SaveToFile(AnsiToWide(folder + "Kavo.log")));
    std::vector<std::string> texts;
    std::string text = ReadText(folder + "Kavo.log");
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");  // UTF-8, marked for Notepad
    text.erase(0, 3);
    for (const std::string& line : Lines(text)) {
      EXPECT_TRUE(line.size() >= 13 && line[0] == '[' && line[3] == ':' && line[6] == ':' &&
                  line.compare(9, 4, "] : ") == 0)
          << line;
      texts.push_back(line.substr(13));
    }
    return texts;
  }

  std::string folder, argvLog;
  std::string tool = Tool();
  std::function<void(int)> stepSetup;
  TNamedTexts texts = KeyTexts();
  TRecordingView view;
  TDosCommand* command = nullptr;
  std::unique_ptr<TJobSequencer> seq;
};

TEST_F(RealJob, TwoStepsSucceed) {
  RunToClose(TwoSteps());
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded});
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{0, L"step 0"},
                                                  {0, L"ImportAVIVideo"},
                                                  {0, L"FileW"},
                                                  {0, L"step 1"},
                                                  {0, L"FileI"},
                                                  {0, L"CreateSucceed"}}));
  const std::string cmd0 = "\"" + tool + "\" -add \"" + folder + "clip one.avi#video:fps=25\" -new \"" + folder +
                           "out one.mp4\"";
  const std::string cmd1 = "\"" + tool + "\" -raw 1 \"" + folder + "out one.mp4\"";
  EXPECT_EQ(SavedLog(), (std::vector<std::string>{"step 0", "Command line: " + cmd0, "ImportAVIVideo", "FileW",
                                                  "step 1", "Command line: " + cmd1, "FileI", "CreateSucceed"}));
  // The quoting held: each value reached the tool as one argument.
  EXPECT_EQ(Recorded(argvLog),
            (std::vector<TArgv>{{"MP4Box.exe", "-add", folder + "clip one.avi#video:fps=25", "-new", folder + "out one.mp4"},
                                {"MP4Box.exe", "-raw", "1", folder + "out one.mp4"}}));
  EXPECT_TRUE(Exists(folder + "out one.mp4"));
  EXPECT_TRUE(Exists(folder + "out one_track1.raw"));
  // Only the job's own temporary file is gone.
  EXPECT_FALSE(Exists(folder + "clip one_video.h264"));
  EXPECT_TRUE(Exists(folder + "other_video.h264"));
  EXPECT_EQ(seq->LastExitCode(), 0u);
  ASSERT_FALSE(view.Positions.empty());
  EXPECT_EQ(view.Positions.back(), 100);
  EXPECT_EQ(view.RunsStarted, 2);
}

TEST_F(RealJob, AFailingToolFailsTheJob) {
  // The first run exits with 3 and says nothing; the second names a missing file.
  stepSetup = [](int step) { SetEnvironmentVariableA("KAVO_MP4BOX_FAIL", step == 0 ? "3" : nullptr); };
  RunToClose(TwoSteps("missing.mp4"));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed});
  // Each failed run says why: its exit code, and the error it printed.
  const std::string opening = "Error opening file " + folder + "missing.mp4: Requested URL is not valid or cannot be found";
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{0, L"step 0"},
                                                  {2, L"MP4Box: (ToolExitCode 3)"},
                                                  {0, L"step 1"},
                                                  {1, L"MsgError"},
                                                  {2, AnsiToWide("MP4Box: " + opening + " (ToolExitCode 1)")},
                                                  {1, L"CreateFailed"}}));
  std::vector<std::string> log = SavedLog();
  ASSERT_EQ(log.size(), 10u);
  EXPECT_EQ(log[2], "The tool ended with the exit code 3.");
  EXPECT_EQ(log[3], "MP4Box: (ToolExitCode 3)");
  EXPECT_EQ(log[6], opening);
  EXPECT_EQ(log[7], "The tool ended with the exit code 1.");
  EXPECT_EQ(log[8], "MP4Box: " + opening + " (ToolExitCode 1)");
  EXPECT_EQ(log[9], "CreateFailed");
  EXPECT_EQ(Recorded(argvLog).size(), 2u);
  EXPECT_EQ(seq->LastExitCode(), 1u);
  EXPECT_FALSE(Exists(folder + "out one.mp4"));
  EXPECT_FALSE(Exists(folder + "clip one_video.h264"));
}

TEST_F(RealJob, AMissingToolFailsTheJobAtOnce) {
  tool = folder + "no such folder\\MP4Box.exe";
  TMessageBoxWatcher watcher;
  RunToClose(TwoSteps());
  ASSERT_TRUE(PumpUntil([&] { return watcher.Seen(); }));
  const std::string cmd0 = "\"" + tool + "\" -add \"" + folder + "clip one.avi#video:fps=25\" -new \"" + folder +
                           "out one.mp4\"";
  EXPECT_EQ(watcher.Text(), cmd0 + " doesn't exist.");
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed});
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{0, L"step 0"}, {1, L"CreateFailed"}}));
  EXPECT_EQ(SavedLog(), (std::vector<std::string>{"step 0", "Command line: " + cmd0, "CreateFailed"}));
  EXPECT_EQ(view.RunsStarted, 1);  // the second step never starts
  EXPECT_FALSE(Exists(argvLog));
}

TEST_F(RealJob, AbortEndsTheJobAfterTheCurrentRun) {
  SetEnvironmentVariableA("KAVO_MP4BOX_STALL", "40");
  ASSERT_TRUE(seq->StartJob(TwoSteps()));
  // The tool stops in the middle of a line: its progress still reaches the bar.
  ASSERT_TRUE(PumpUntil([&] { return !view.Positions.empty() && view.Positions.back() == 40; }));
  EXPECT_EQ(view.Percent, L"40 %");
  EXPECT_TRUE(seq->ToolRunning());
  seq->Abort();
  ASSERT_TRUE(PumpUntil([&] { return !view.Closed.empty(); }));
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Aborted});
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{0, L"step 0"}, {0, L"ImportAVIVideo"}, {2, L"CreateAborted"}}));
  std::vector<std::string> log = SavedLog();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log.back(), "CreateAborted");
  EXPECT_EQ(Recorded(argvLog).size(), 1u);  // no later step started
  EXPECT_EQ(view.RunsStarted, 1);
  EXPECT_FALSE(Exists(folder + "out one.mp4"));
  EXPECT_FALSE(seq->ToolRunning());
  // The next job starts clean.
  SetEnvironmentVariableA("KAVO_MP4BOX_STALL", nullptr);
  view.Closed.clear();
  RunToClose(TwoSteps());
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Succeeded});
}

}  // namespace

namespace {

// One run of the stand-in per case: what the program reads of it.
TEST_F(RealJob, StandInAnswersEachKindOfCommand) {
  std::ofstream(folder + "movie.mp4") << "data";
  std::ofstream(folder + "subs.srt") << "1\n00:00:01,000 --> 00:00:02,000\nHi\n";
  CreateDirectoryA((folder + "locked").c_str(), nullptr);
  const std::string f = folder;
  const struct {
    const char* name;
    std::string args;
    const char* print;  // chosen lines printed first
    std::vector<TRecordedRow> rows;
    TJobOutcome outcome;
    std::vector<std::string> madeFiles;
    std::string errorLine;  // the log's "Error ..." line, when one is expected
  } cases[] = {
      {"split by size", "-splits 716800 \"" + f + "movie.mp4\"", nullptr,
       {{0, L"FileS"}, {0, L"StoringFile 1"}, {0, L"SplitSucceed"}},
       TJobOutcome::Succeeded, {f + "movie_001.mp4"}, ""},
      {"join", "-add \"" + f + "movie.mp4\" -cat \"" + f + "clip one.avi\" -new \"" + f + "joined.mp4\"", nullptr,
       {{0, L"ImportISOFile"}, {0, L"FileA"}, {0, L"FileW"}, {0, L"SplitSucceed"}}, TJobOutcome::Succeeded,
       {f + "joined.mp4"}, ""},
      {"subtitle conversion", "-ttxt \"" + f + "subs.srt\"", nullptr, {{0, L"FileI"}, {0, L"SplitSucceed"}},
       TJobOutcome::Succeeded, {f + "subs.ttxt"}, ""},
      {"H.264 out of an AVI file", "-aviraw video \"" + f + "clip one.avi\"", nullptr,
       {{0, L"FileI"}, {0, L"SplitSucceed"}}, TJobOutcome::Succeeded, {f + "clip one_video.h264"}, ""},
      {"an unknown option", "-bogus \"" + f + "movie.mp4\"", nullptr,
       {{1, L"MsgError"}, {2, L"MP4Box: Error parsing the arguments: option -bogus unknown (ToolExitCode 1)"},
        {1, L"SplitFailed"}},
       TJobOutcome::Failed, {}, "Error parsing the arguments: option -bogus unknown"},
      {"a missing output folder, made by the tool", "-add \"" + f + "movie.mp4\" -new \"" + f + "new folder\\out.mp4\"",
       nullptr, {{0, L"ImportISOFile"}, {0, L"FileW"}, {0, L"SplitSucceed"}}, TJobOutcome::Succeeded,
       {f + "new folder\\out.mp4"}, ""},
      {"an unwritable output", "-add \"" + f + "movie.mp4\" -new \"" + f + "movie.mp4\\out.mp4\"", nullptr,
       {{0, L"ImportISOFile"},
        {0, L"FileW"},
        {1, L"MsgError"},
        {2, AnsiToWide("MP4Box: Error creating file " + f + "movie.mp4\\out.mp4: I/O Error (ToolExitCode 1)")},
        {1, L"SplitFailed"}},
       TJobOutcome::Failed, {}, "Error creating file " + f + "movie.mp4\\out.mp4: I/O Error"},
      {"chosen lines", "-splits 1024 \"" + f + "movie.mp4\"", "Unknown PID 0x1FF\\n",
       {{1, L"UnknownPID"}, {0, L"FileS"}, {0, L"StoringFile 1"}, {1, L"SplitFailed"}},
       TJobOutcome::Failed, {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    view.Rows.clear();
    view.LogTexts.clear();
    view.Closed.clear();
    SetEnvironmentVariableA("KAVO_MP4BOX_PRINT", c.print);
    TJobStart job;
    job.Mode = TJobMode::Split;
    const std::string cmd = "\"" + tool + "\" " + c.args;
    job.Steps = [cmd](int) -> std::optional<TRunRequest> { return TRunRequest{cmd}; };
    RunToClose(std::move(job));
    EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{c.outcome});
    EXPECT_EQ(view.Rows, c.rows);
    for (const std::string& made : c.madeFiles) EXPECT_TRUE(Exists(made)) << made;
    if (!c.errorLine.empty()) {
      EXPECT_EQ(seq->LastExitCode(), 1u);
      EXPECT_NE(std::find(view.LogTexts.begin(), view.LogTexts.end(), c.errorLine), view.LogTexts.end());
    }
  }
  SetEnvironmentVariableA("KAVO_MP4BOX_PRINT", nullptr);
}

// A mux followed by its tagging: the pause before the tagging leaves the window answering,
// and the tagging closes as a tagging job of its own.
TEST_F(RealJob, TaggingFollowsTheMuxAfterAPause) {
  const std::string ap = ProgramFolder() + "AtomicParsley.exe";
  TJobStart job = TwoSteps();
  job.StepCount = 1;
  job.AfterClose = [&]() -> std::vector<TRunRequest> {
    TRunRequest r;
    r.CommandLine = "\"" + ap + "\" \"" + folder + "out one.mp4\" --overWrite --title \"Song \\\"A\\\"\" --tracknum \"3/12\"";
    r.Tool = TToolKind::AtomicParsley;
    r.Notes = {{L"Tagging of out one.mp4...", pekInformation, true}};
    return {r};
  };
  ULONGLONG closedAt = 0, taggingAt = 0;
  int ticks = 0;
  TTimer ticker(nullptr);
  ticker.SetInterval(100);
  ticker.SetOnTimer([&](TObject*) { ++ticks; });
  int ticksAtClose = 0;
  ASSERT_TRUE(seq->StartJob(std::move(job)));
  ASSERT_TRUE(PumpUntil([&] {
    if (view.Closed.size() == 1 && !closedAt) closedAt = GetTickCount64(), ticksAtClose = ticks;
    if (view.RunsStarted == 2 && !taggingAt) taggingAt = GetTickCount64();
    return view.Closed.size() == 2;
  }, 30000));
  ticker.SetEnabled(false);
  EXPECT_GE(taggingAt - closedAt, 1900u);
  EXPECT_GE(ticks - ticksAtClose, 10);  // the message loop ran all through the pause
  EXPECT_EQ(view.Closed, (std::vector<TJobOutcome>{TJobOutcome::Succeeded, TJobOutcome::Succeeded}));
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{0, L"step 0"},
                                                  {0, L"ImportAVIVideo"},
                                                  {0, L"FileW"},
                                                  {0, L"CreateSucceed"},
                                                  {0, L"Tagging of out one.mp4..."},
                                                  {0, L"TagSucceed"}}));
  EXPECT_TRUE(seq->State().MuxMode);
  EXPECT_TRUE(seq->State().TagMode);
  EXPECT_EQ(view.Positions.back(), 100);  // AtomicParsley's own progress
  std::vector<TArgv> runs = Recorded(argvLog);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1], (TArgv{"AtomicParsley.exe", folder + "out one.mp4", "--overWrite", "--title", "Song \"A\"",
                            "--tracknum", "3/12"}));
  EXPECT_NE(ReadText(folder + "out one.mp4").find("title=Song \"A\""), std::string::npos);
}

// A mux that failed or was stopped leaves a partial file, or an older file of that name:
// nothing is tagged after it.
TEST_F(RealJob, NoTaggingFollowsAMuxThatDidNotSucceed) {
  for (const bool abort : {false, true}) {
    SCOPED_TRACE(abort ? "aborted" : "failed");
    view.Closed.clear();
    bool asked = false;
    TJobStart job = TwoSteps();
    job.StepCount = 1;
    job.AfterClose = [&]() -> std::vector<TRunRequest> {
      asked = true;
      return {};
    };
    SetEnvironmentVariableA(abort ? "KAVO_MP4BOX_STALL" : "KAVO_MP4BOX_FAIL", abort ? "40" : "1");
    ASSERT_TRUE(seq->StartJob(std::move(job)));
    if (abort) {
      ASSERT_TRUE(PumpUntil([&] { return !view.Positions.empty() && view.Positions.back() == 40; }));
      seq->Abort();
    }
    ASSERT_TRUE(PumpUntil([&] { return !view.Closed.empty(); }, 30000));
    EXPECT_EQ(view.Closed.front(), abort ? TJobOutcome::Aborted : TJobOutcome::Failed);
    // The tagging would be asked for 2000 ms after the close.
    EXPECT_FALSE(PumpUntil([&] { return asked; }, 2600));
    for (const char* v : {"KAVO_MP4BOX_FAIL", "KAVO_MP4BOX_STALL"}) SetEnvironmentVariableA(v, nullptr);
  }
}

}  // namespace

namespace {

TEST_F(RealJob, ARunsHandlersReachNothingOnceTheSequencerIsGone) {
  // A worker keeps copies of the handlers it was started with.
  TNewLineEvent onLine = command->OnNewLine();
  TTerminateEvent onEnd = command->OnTerminated();
  ASSERT_TRUE(onLine && onEnd);
  seq.reset();
  onLine(command, "Error opening file", otEntireLine);
  onEnd(command, 0);
  EXPECT_TRUE(view.Rows.empty());
  EXPECT_TRUE(view.Closed.empty());
}

}  // namespace
