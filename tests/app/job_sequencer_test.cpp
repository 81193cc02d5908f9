#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/common/utf8.h"
#include "app/jobs/job_sequencer.h"
#include "tests/app/recording_view.h"
#include "tests/support/pump.h"
#include "tests/widetext/temp_folder.h"
#include "vcl/application.h"

namespace {

// A runner the test ends by hand: each Run is recorded and stays "running" until the test
// delivers its end.
class TFakeRunner : public IToolRunner {
 public:
  void Run(const AnsiString& CommandLine, DWORD PriorityClass) override {
    WideRuns.push_back(WideString());
    Runs.push_back(CommandLine);
    Priorities.push_back(PriorityClass);
    Running = true;
    Stopped = false;
  }
  void Stop() override {
    Stopped = true;
    Running = false;
  }
  bool IsRunning() const override { return Running; }
  bool RunFailed() const override { return Failed; }
  bool EndedByItself() const override { return !Stopped && !Failed; }

  void RunWide(const WideString& CommandLine, DWORD PriorityClass) override {
    Run(WideToAnsi(CommandLine), PriorityClass);
    WideRuns.back() = CommandLine;
  }

  std::vector<AnsiString> Runs;
  std::vector<WideString> WideRuns;  // the UTF-16 line of each run, empty for an 8-bit one
  std::vector<DWORD> Priorities;
  bool Running = false, Stopped = false, Failed = false;
};

// What one run of a case does.
struct TStepScript {
  std::vector<AnsiString> lines;  // complete output lines
  unsigned exitCode = 0;
  bool failsToStart = false;
  bool abort = false;  // the user aborts while it runs
};

struct TSequenceCase {
  const char* name;
  TJobMode mode;
  int stepCount;
  int buildableSteps;  // the builder has a run for steps below this
  std::vector<TStepScript> script;
  int expectedRuns;
  TJobOutcome outcome;
  TRecordedRow closingRow;
};

class Sequencer : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }

  // Starts the job and plays the script until the job closes.
  void Play(TJobSequencer& seq, TJobStart job, const std::vector<TStepScript>& script) {
    Play(seq, runner, std::move(job), script);
  }
  static void Play(TJobSequencer& seq, TFakeRunner& runner, TJobStart job, const std::vector<TStepScript>& script) {
    ASSERT_TRUE(seq.StartJob(std::move(job)));
    for (size_t run = 0; runner.Running; ++run) {
      ASSERT_LT(run, script.size()) << "more runs than the script has";
      const TStepScript& s = script[run];
      for (const AnsiString& line : s.lines) seq.RunnerNewLine(line, otEntireLine);
      if (s.abort) seq.Abort();
      runner.Failed = s.failsToStart;
      runner.Running = false;
      seq.RunnerTerminated(s.abort ? STILL_ACTIVE : s.exitCode);
      runner.Failed = false;
    }
  }

  TJobStart Job(TJobMode mode, int count, int buildable) {
    TJobStart job;
    job.Mode = mode;
    job.StepCount = count;
    job.Steps = [buildable](int step) -> std::optional<TRunRequest> {
      if (step >= buildable) return std::nullopt;
      TRunRequest r;
      r.CommandLine = "\"MP4Box.exe\" step " + IntToStr(step);
      r.Notes = {{L"note " + AnsiToWide(IntToStr(step)), pekInformation, true}};
      return r;
    };
    return job;
  }

  TFakeRunner runner;
  TRecordingView view;
  TNamedTexts texts = KeyTexts();
};

TEST_F(Sequencer, StatesAsATable) {
  const TStepScript ok{}, errorLine{{"Error opening file x.avi"}}, exit3{{}, 3}, noStart{{}, 2, true},
      aborted{{}, 0, false, true};
  const TSequenceCase cases[] = {
      {"one step when the count is 0", TJobMode::Mux, 0, 9, {ok}, 1, TJobOutcome::Succeeded, {0, L"CreateSucceed"}},
      {"one step when the count is 1", TJobMode::Concat, 1, 9, {ok}, 1, TJobOutcome::Succeeded, {0, L"ConcatSucceed"}},
      {"every step of a count of 3", TJobMode::Split, 3, 9, {ok, ok, ok}, 3, TJobOutcome::Succeeded,
       {0, L"SplitSucceed"}},
      {"a step with no builder closes the job", TJobMode::Convert, 2, 1, {ok}, 1, TJobOutcome::Succeeded,
       {0, L"ConvSucceed"}},
      {"a first step with no builder closes at once", TJobMode::Tag, 2, 0, {}, 0, TJobOutcome::Succeeded,
       {0, L"TagSucceed"}},
      {"an error line fails the job, later steps still run", TJobMode::Extract, 2, 9, {errorLine, ok}, 2,
       TJobOutcome::Failed, {1, L"ExtractFailded"}},
      {"a non-zero exit code fails the job", TJobMode::Extract, 2, 9, {ok, exit3}, 2, TJobOutcome::Failed,
       {1, L"ExtractFailded"}},
      {"a tool that cannot start fails the job and ends it", TJobMode::Mux, 3, 9, {noStart}, 1,
       TJobOutcome::Failed, {1, L"CreateFailed"}},
      {"abort ends the job after the current run", TJobMode::Extract, 3, 9, {aborted}, 1, TJobOutcome::Aborted,
       {2, L"ExtractAborted"}},
      {"abort wins over a problem", TJobMode::Split, 2, 9, {errorLine, aborted}, 2, TJobOutcome::Aborted,
       {2, L"SplitAborted"}},
  };
  for (const TSequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeRunner runner;
    TRecordingView view;
    TJobSequencer seq(&runner, &view, &texts);
    Play(seq, runner, Job(c.mode, c.stepCount, c.buildableSteps), c.script);
    EXPECT_EQ(static_cast<int>(runner.Runs.size()), c.expectedRuns);
    EXPECT_EQ(view.RunsStarted, c.expectedRuns);
    ASSERT_EQ(view.Closed, std::vector<TJobOutcome>{c.outcome});
    ASSERT_FALSE(view.Rows.empty());
    EXPECT_EQ(view.Rows.back(), c.closingRow);
    EXPECT_EQ(view.LogTexts.back(), WideToAnsi(c.closingRow.Text));
    EXPECT_FALSE(seq.JobRunning());
    EXPECT_FALSE(seq.State().JobAborted);
    EXPECT_FALSE(seq.State().JobProblem);
    EXPECT_TRUE(seq.State().Flag(c.mode));
  }
}

TEST_F(Sequencer, EveryJobSetsItsOwnStepCount) {
  TJobSequencer seq(&runner, &view, &texts);
  Play(seq, Job(TJobMode::Split, 3, 9), {{}, {}, {}});
  ASSERT_EQ(runner.Runs.size(), 3u);
  // A job whose page names no count runs once, whatever the last job's count was.
  TJobStart next = Job(TJobMode::Concat, 1, 9);
  Play(seq, std::move(next), {{}});
  EXPECT_EQ(runner.Runs.size(), 4u);
  EXPECT_EQ(view.Closed.size(), 2u);
}

TEST_F(Sequencer, RunNotesComeBeforeTheRunAndThePriorityHoldsForIt) {
  TJobSequencer seq(&runner, &view, &texts);
  seq.SetPriorityIndex(2);
  seq.SetPriorityIndex(42);  // outside the list: no change
  ASSERT_TRUE(seq.StartJob(Job(TJobMode::Mux, 1, 9)));
  ASSERT_EQ(runner.Priorities, std::vector<DWORD>{ABOVE_NORMAL_PRIORITY_CLASS});
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{0, L"note 0"}}));
  EXPECT_EQ(view.LogTexts, std::vector<std::string>{"note 0"});
  // While a tool runs no other job starts.
  EXPECT_FALSE(seq.StartJob(Job(TJobMode::Split, 1, 9)));
  // Nor once it is stopped, until its end notice has closed the job.
  seq.Abort();
  EXPECT_FALSE(seq.StartJob(Job(TJobMode::Split, 1, 9)));
  EXPECT_FALSE(seq.StartInfoRun("\"MP4Box.exe\" -info \"a.mp4\"", nullptr));
  EXPECT_TRUE(seq.State().MuxMode);
  EXPECT_TRUE(seq.JobRunning());
  seq.RunnerTerminated(STILL_ACTIVE);
  EXPECT_EQ(view.Rows.back(), (TRecordedRow{2, L"CreateAborted"}));
  EXPECT_TRUE(seq.StartJob(Job(TJobMode::Split, 1, 9)));
  EXPECT_EQ(runner.Runs.size(), 2u);
  SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

TEST_F(Sequencer, RowsAndLogLinesComeFromCompleteLinesOnly) {
  TJobSequencer seq(&runner, &view, &texts);
  ASSERT_TRUE(seq.StartJob(Job(TJobMode::Mux, 1, 9)));
  const AnsiString stage = "Importing AVI Video: |                    | (01/100)";
  seq.RunnerNewLine("Importing AVI Video: |=====", otBeginningOfLine);
  seq.RunnerNewLine("Importing AVI Video: |=====               | (25/100)", otBeginningOfLine);
  EXPECT_EQ(view.Positions, std::vector<int>{25});
  EXPECT_EQ(view.Percent, L"25 %");
  EXPECT_EQ(view.Rows.size(), 1u);  // the run's note only
  seq.RunnerNewLine(stage, otBeginningOfLine);
  seq.RunnerNewLine(stage, otEntireLine);
  EXPECT_EQ(view.Rows.back(), (TRecordedRow{0, L"ImportAVIVideo"}));
  EXPECT_EQ(view.Rows.size(), 2u);
  // A problem line the tool left without a line end counts when the run ends.
  seq.RunnerNewLine("Error writing file", otBeginningOfLine);
  runner.Running = false;
  seq.RunnerTerminated(0);
  // The tool's own words come before the closing row.
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{0, L"note 0"},
                                                  {0, L"ImportAVIVideo"},
                                                  {1, L"MsgError"},
                                                  {2, L"MP4Box: Error writing file"},
                                                  {1, L"CreateFailed"}}));
}

TEST_F(Sequencer, AFailingStepBuilderEndsTheJobAsFailed) {
  TJobSequencer seq(&runner, &view, &texts);
  TJobStart job = Job(TJobMode::Extract, 3, 9);
  job.Steps = [](int step) -> std::optional<TRunRequest> {
    if (step == 1) throw Exception("The track list changed.");
    return TRunRequest{"\"MP4Box.exe\" -raw 1 \"a.mp4\""};
  };
  Play(seq, std::move(job), {{}});
  EXPECT_EQ(runner.Runs.size(), 1u);
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed});
  EXPECT_EQ(view.LogTexts, (std::vector<std::string>{"The track list changed.", "ExtractFailded"}));
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{2, L"The track list changed."}, {1, L"ExtractFailded"}}));
}

TEST_F(Sequencer, AStepWithoutAToolEndsByItselfAndTheJobGoesOn) {
  // The middle step is the program's own work: its notes, then the next step's run.
  TJobSequencer seq(&runner, &view, &texts);
  TJobStart job;
  job.Mode = TJobMode::Extract;
  job.StepCount = 3;
  job.Steps = [](int step) -> std::optional<TRunRequest> {
    TRunRequest run{step == 1 ? AnsiString() : "\"MP4Box.exe\" -raw " + std::to_string(step + 1) + " \"a.mp4\""};
    run.Notes = {{L"step " + std::to_wstring(step)}};
    return run;
  };
  ASSERT_TRUE(seq.StartJob(std::move(job)));
  runner.Running = false;
  seq.RunnerTerminated(0);
  EXPECT_TRUE(seq.JobRunning());
  ASSERT_TRUE(PumpUntil([&] { return runner.Running; }, 3000));
  runner.Running = false;
  seq.RunnerTerminated(0);
  EXPECT_FALSE(seq.JobRunning());
  EXPECT_EQ(runner.Runs, (std::vector<AnsiString>{"\"MP4Box.exe\" -raw 1 \"a.mp4\"", "\"MP4Box.exe\" -raw 3 \"a.mp4\""}));
  EXPECT_EQ(view.Rows, (std::vector<TRecordedRow>{{0, L"step 0"}, {0, L"step 1"}, {0, L"step 2"}, {0, L"ExtractSucceed"}}));

  // A job of one such step closes from the message loop, after its start returned.
  TJobStart only;
  only.Mode = TJobMode::Extract;
  only.Steps = [](int step) -> std::optional<TRunRequest> {
    return step == 0 ? std::optional<TRunRequest>(TRunRequest{}) : std::nullopt;
  };
  ASSERT_TRUE(seq.StartJob(std::move(only)));
  EXPECT_TRUE(seq.JobRunning());
  ASSERT_TRUE(PumpUntil([&] { return !seq.JobRunning(); }, 3000));
  EXPECT_EQ(view.Closed.back(), TJobOutcome::Succeeded);
  EXPECT_EQ(runner.Runs.size(), 2u);
}

TEST_F(Sequencer, EachRunIsToldWhetherItEndedWellAndItsProblemFailsTheJob) {
  const TStepScript ok{}, exit3{{}, 3}, noStart{{}, 2, true}, aborted{{}, 0, false, true};
  const struct {
    const char* name;
    std::vector<TStepScript> script;
    std::vector<bool> told;
  } cases[] = {
      {"ended well, then a non-zero exit code", {ok, exit3}, {true, false}},
      {"could not start", {noStart}, {false}},
      {"stopped by the user", {aborted}, {false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeRunner runner;
    TRecordingView view;
    TJobSequencer seq(&runner, &view, &texts);
    std::vector<bool> told;
    TJobStart job = Job(TJobMode::Tag, 2, 9);
    auto steps = job.Steps;
    job.Steps = [&, steps](int step) {
      std::optional<TRunRequest> run = steps(step);
      run->Finished = [&](bool Succeeded) {
        told.push_back(Succeeded);
        return WideString();
      };
      return run;
    };
    Play(seq, runner, std::move(job), c.script);
    EXPECT_EQ(told, c.told);
  }

  // A run whose own finishing fails makes the job fail, with the reason in the log.
  TJobStart job = Job(TJobMode::Tag, 1, 9);
  auto steps = job.Steps;
  job.Steps = [steps](int step) {
    std::optional<TRunRequest> run = steps(step);
    run->Finished = [](bool) { return WideString(L"a.m4a could not be replaced"); };
    return run;
  };
  TJobSequencer seq(&runner, &view, &texts);
  Play(seq, std::move(job), {ok});
  EXPECT_EQ(view.Rows.back(), (TRecordedRow{1, L"TagFailed"}));
  EXPECT_NE(std::find(view.LogTexts.begin(), view.LogTexts.end(), "a.m4a could not be replaced"), view.LogTexts.end());
}

TEST_F(Sequencer, TheOneSecondTimerShowsTheRemainingTimeWhileTheJobRuns) {
  TJobSequencer seq(&runner, &view, &texts);
  ASSERT_TRUE(seq.StartJob(Job(TJobMode::Mux, 1, 9)));
  seq.RunnerNewLine("ISO File Writing: |==========          | (50/100)", otEntireLine);
  ASSERT_TRUE(PumpUntil([&] { return !view.TimeRemaining.empty(); }, 5000));
  const WideString& t = view.TimeRemaining;  // the time spent again, plus a second
  ASSERT_EQ(t.size(), 8u);
  EXPECT_TRUE(t.compare(0, 6, L"00:00:") == 0 && t >= L"00:00:02" && t <= L"00:00:04") << WideToAnsi(t);
  runner.Running = false;
  seq.RunnerTerminated(0);
  EXPECT_FALSE(seq.JobRunning());
}

TEST_F(Sequencer, TranslatedTextsAreNeverPatterns) {
  texts.CreateSucceed = L"100% fait %s %d %n";
  TJobSequencer seq(&runner, &view, &texts);
  Play(seq, Job(TJobMode::Mux, 1, 9), {{}});
  EXPECT_EQ(view.Rows.back(), (TRecordedRow{0, L"100% fait %s %d %n"}));
}

TEST_F(Sequencer, InfoRunLinesGoToTheirSinkAndItsEndClosesNothing) {
  TJobSequencer seq(&runner, &view, &texts);
  std::vector<AnsiString> got;
  ASSERT_TRUE(seq.StartInfoRun("\"MP4Box.exe\" -info \"a.mp4\"", [&](const AnsiString& l) { got.push_back(l); }));
  EXPECT_TRUE(seq.State().InfoRun);
  seq.RunnerNewLine("* Movie", otBeginningOfLine);
  seq.RunnerNewLine("* Movie Info *", otEntireLine);
  seq.RunnerNewLine("Error in track 2", otEntireLine);
  seq.RunnerNewLine("last", otBeginningOfLine);
  runner.Running = false;
  seq.RunnerTerminated(0);
  EXPECT_EQ(got, (std::vector<AnsiString>{"* Movie Info *", "Error in track 2", "last"}));
  EXPECT_FALSE(seq.State().InfoRun);
  EXPECT_TRUE(view.Rows.empty());
  EXPECT_TRUE(view.Closed.empty());
}

TEST(RemainingTime, FromTheTimeSpentAndTheBar) {
  const struct {
    double elapsed;
    int position;
    const wchar_t* text;
  } cases[] = {
      {30000, 25, L"00:01:31"},  // 90,000 ms left, plus one second
      {30000, 0, L"00:00:01"},
      {5000, 100, L"00:00:01"},
      {3600000, 50, L"01:00:01"},
  };
  for (const auto& c : cases) EXPECT_EQ(RemainingTimeText(c.elapsed, c.position), c.text) << c.position;
}

TEST(PriorityClasses, ByListIndex) {
  const DWORD expected[] = {256, 128, 32768, 32, 16384, 64};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(PriorityClassOfIndex(i), expected[i]) << i;
  EXPECT_EQ(PriorityClassOfIndex(-1), 0u);
  EXPECT_EQ(PriorityClassOfIndex(6), 0u);
}

}  // namespace

namespace {

TEST(JobState, PagesAfterTheJob) {
  TJobState s;
  EXPECT_EQ(BackTargetMode(s), TJobMode::None);
  EXPECT_EQ(NewTaskMode(s), TJobMode::None);
  s.SetMode(TJobMode::Tag);
  EXPECT_EQ(BackTargetMode(s), TJobMode::Tag);
  EXPECT_EQ(NewTaskMode(s), TJobMode::None);
  s.MuxMode = true;  // the tagging after a mux
  EXPECT_EQ(BackTargetMode(s), TJobMode::Mux);
  EXPECT_EQ(NewTaskMode(s), TJobMode::Mux);
  s.SetMode(TJobMode::Concat);
  s.SplitMode = true;
  EXPECT_EQ(BackTargetMode(s), TJobMode::Split);
  EXPECT_EQ(NewTaskMode(s), TJobMode::Concat);
}

}  // namespace

namespace {

// A run that ends with exit code 0 without the files it should have written fails its job,
// and the log names the file; one of several names will do.
TEST_F(Sequencer, ARunThatWritesNothingFailsItsJob) {
  texts.MsgFileNotWritten = TNamedTexts().MsgFileNotWritten;  // the English line, with the file's name
  TempFolder temp;
  const WideString written = temp / L"part_1.mp4", missing = temp / L"movie_video.h264";
  HANDLE f = CreateFileW(written.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  const struct {
    const char* name;
    std::vector<TExpectedOutput> writes;
    TStepScript script;
    TJobOutcome outcome;
    std::vector<std::string> missingLines;
  } cases[] = {
      {"the file is there", {{{written}}}, {}, TJobOutcome::Succeeded, {}},
      {"one of its names is there", {{{missing, written}}}, {}, TJobOutcome::Succeeded, {}},
      {"the file is missing", {{{written}}, {{missing}}}, {}, TJobOutcome::Failed,
       {"The file " + WideToAnsi(missing) + " was not written."}},
      // Ended otherwise, the run is judged by that alone.
      {"a failed run is not searched", {{{missing}}}, {{}, 1}, TJobOutcome::Failed, {}},
      {"an aborted run is not searched", {{{missing}}}, {{}, 0, false, true}, TJobOutcome::Aborted, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeRunner runner;
    TRecordingView view;
    TJobSequencer seq(&runner, &view, &texts);
    TJobStart job = Job(TJobMode::Split, 1, 1);
    job.Steps = [&c](int) -> std::optional<TRunRequest> {
      TRunRequest r;
      r.CommandLine = "MP4Box.exe -splits 500 movie.mp4";
      r.Writes = c.writes;
      return r;
    };
    Play(seq, runner, std::move(job), {c.script});
    EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{c.outcome});
    std::vector<std::string> missingLines;
    for (const std::string& line : view.LogTexts)
      if (line.find("was not written") != std::string::npos) missingLines.push_back(line);
    EXPECT_EQ(missingLines, c.missingLines);
    if (!c.missingLines.empty())
      EXPECT_EQ(view.Rows.at(view.Rows.size() - 2), (TRecordedRow{pekWarning, AnsiToWide(c.missingLines[0])}));
  }
}

// Today's MP4Box reads a file whose media data is cut, says so and ends with exit code 0:
// the job fails, the row before its closing row says what the tool said, and the tool's
// UTF-8 words (a Greek name) show as they are in rows and log.
TEST_F(Sequencer, ACutInputFailsTheJobInTheToolsOwnWords) {
  const AnsiString cut = "[IsoMedia] File truncated, aborting read for track 1 after 736 / 1500 samples";
  const AnsiString greekLine = "[IsoMedia] File truncated, reading D:\\v\\\xce\xa4\xce\xb1.mp4";
  const WideString greekText = L"MP4Box: [IsoMedia] File truncated, reading D:\\v\\\x03A4\x03B1.mp4";
  const struct {
    const char* name;
    AnsiString line;
    bool utf8;
    WideString reason;
  } cases[] = {
      {"the capture's line", cut, true, L"MP4Box: " + AnsiToWide(cut)},
      {"a Greek name in UTF-8", greekLine, true, greekText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeRunner runner;
    TRecordingView view;
    TJobSequencer seq(&runner, &view, &texts);
    TJobStart job = Job(TJobMode::Extract, 1, 1);
    const bool utf8 = c.utf8;
    job.Steps = [utf8](int) -> std::optional<TRunRequest> {
      TRunRequest r;
      r.CommandLine = "MP4Box.exe -raw 1 cut.mp4";
      r.Utf8Output = utf8;
      return r;
    };
    Play(seq, runner, std::move(job), {{{"Exporting MPEG-4 AVC|H264 Video - Size 320x240", c.line}, 0}});
    EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed});
    ASSERT_GE(view.Rows.size(), 2u);
    EXPECT_EQ(view.Rows[view.Rows.size() - 2], (TRecordedRow{pekError, c.reason}));
    // The run log keeps its lines in UTF-8.
    bool logged = false;
    for (int i = 0; i < view.Log.Lines()->Count(); ++i)
      logged = logged || view.Log.Lines()->Strings(i).find(WideToUtf8(c.reason)) != AnsiString::npos;
    EXPECT_TRUE(logged);
  }
}

TEST_F(Sequencer, AUtf16LineStartsTheToolAsSuch) {
  TJobSequencer seq(&runner, &view, &texts);
  TJobStart job = Job(TJobMode::Mux, 2, 2);
  job.Steps = [](int step) -> std::optional<TRunRequest> {
    TRunRequest r;
    r.CommandLine = "MP4Box.exe -new ??.mp4";
    if (step == 0) r.WideCommandLine = L"MP4Box.exe -new \x03A4\x03B1.mp4";
    return r;
  };
  Play(seq, std::move(job), {{}, {}});
  EXPECT_EQ(runner.WideRuns, (std::vector<WideString>{L"MP4Box.exe -new \x03A4\x03B1.mp4", L""}));
}

}  // namespace
