// The job sequencer: runs a job's steps one after another through the console tool runner,
// hands each output line to the parser, keeps the remaining time, and closes the job with
// its Succeeded, Failed or Aborted row. It reports to the process page through
// IProcessView and knows no window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/common/named_texts.h"
#include "app/jobs/job_state.h"
#include "app/jobs/output_parser.h"
#include "app/jobs/process_view.h"
#include "app/jobs/run_failure.h"
#include "runner/dos_command.h"

class TTimer;

// A status row and log line, or a log line only, written when a run starts.
struct TRunNote {
  WideString Text;
  int Kind = pekInformation;
  bool Row = true;  // false: a log line only
};

// A file a run must leave behind; any one of the names will do (a tool may name it one way
// or another), and "*" in a name stands for what the tool chooses (an extension).
struct TExpectedOutput {
  std::vector<WideString> Names;
};

// One run of a tool, as a step builder makes it.
struct TRunRequest {
  // Empty: the step runs no tool (the program did its work itself); it ends once its notes
  // are written, and the job goes on as after a run.
  AnsiString CommandLine;
  // When not empty, the tool is started with this UTF-16 line instead (CommandLine then holds
  // its code-page form): a tool that reads UTF-16 gets characters outside the code page whole.
  WideString WideCommandLine;
  // What the run must write: a run that ends with exit code 0 without one of them fails the
  // job, and the log names the missing file.
  std::vector<TExpectedOutput> Writes;
  std::vector<TRunNote> Notes;  // in order, before the run starts
  TToolKind Tool = TToolKind::MP4Box;
  bool Verbose = false;       // the command carries " -v": every line of the run is logged
  bool TagsByMP4Box = false;  // MP4Box writes the tags in this run (its writing stage says so)
  // Called when the run has ended, with whether it ended well (by itself, exit code 0);
  // a text it returns is a problem of the job: an error row, and logged.
  std::function<WideString(bool Succeeded)> Finished;
};

// Builds the run of step StepIndex (0-based) of the job; no value when that step has
// nothing to run, which closes the job.
using TStepBuilder = std::function<std::optional<TRunRequest>(int StepIndex)>;

struct TJobStart {
  TJobMode Mode = TJobMode::None;
  int StepCount = 1;  // 0 and 1 both mean one step
  TStepBuilder Steps;
  // Files the job makes for its own use (the H.264 stream of an AVI file): deleted by
  // these exact names when the job closes.
  std::vector<WideString> TempFiles;
  // Asked once the job has closed with success: the runs to start 2000 ms later (the tagging
  // of the new file, or of each part a split mux wrote), run as a tagging job; none for none.
  std::function<std::vector<TRunRequest>()> AfterClose;
  // Told once the job has closed, however it ended.
  std::function<void()> Closed;
};

// What the sequencer needs of the console tool runner.
class IToolRunner {
 public:
  virtual ~IToolRunner() = default;
  // Starts CommandLine at the priority class (which the program itself takes as well).
  virtual void Run(const AnsiString& CommandLine, DWORD PriorityClass) = 0;
  // The same with a UTF-16 command line.
  virtual void RunWide(const WideString& CommandLine, DWORD PriorityClass) { Run(WideToAnsi(CommandLine), PriorityClass); }
  virtual void Stop() = 0;
  virtual bool IsRunning() const = 0;
  // Whether the run that just ended failed in the runner: it could not start (no pipe,
  // no process) or its worker failed.
  virtual bool RunFailed() const = 0;
  // Whether the run that just ended ended by itself (not stopped, not timed out).
  virtual bool EndedByItself() const = 0;
};

// The runner of the program: TDosCommand.
class TDosCommandRunner : public IToolRunner {
 public:
  explicit TDosCommandRunner(TDosCommand* Command) : FCommand(Command) {}
  void Run(const AnsiString& CommandLine, DWORD PriorityClass) override;
  void RunWide(const WideString& CommandLine, DWORD PriorityClass) override;
  void Stop() override { FCommand->Stop(); }
  bool IsRunning() const override { return FCommand->IsRunning(); }
  bool RunFailed() const override;
  bool EndedByItself() const override { return FCommand->RunStep() == rsEnded; }
  TDosCommand* Command() const { return FCommand; }

 private:
  TDosCommand* FCommand;
};

class TJobSequencer {
 public:
  // The runner and the view stay the caller's; they must outlive the sequencer.
  TJobSequencer(TDosCommand* Runner, IProcessView* View, const TNamedTexts* Texts = &NamedTexts());
  TJobSequencer(IToolRunner* Runner, IProcessView* View, const TNamedTexts* Texts = &NamedTexts());
  ~TJobSequencer();

  // Makes the TDosCommand's two notices reach RunnerNewLine and RunnerTerminated (a
  // window that binds its own handlers calls those two instead).
  void AttachRunner();
  void RunnerNewLine(const AnsiString& Line, TOutputType OutputType);
  void RunnerTerminated(unsigned ExitCode);

  // Starts a job: step 0, the start time, the one-second timer, the mode flags; then the
  // first step's run. False (and nothing changes) while a tool runs or a job has not
  // closed yet.
  bool StartJob(TJobStart Job);
  // A stream-information query outside any job: its output lines go to Sink, and its end
  // changes nothing else. False while a tool runs or a job has not closed yet.
  bool StartInfoRun(const AnsiString& CommandLine, std::function<void(const AnsiString& Line)> Sink);
  // The abort button: the job ends after the current run, with its Aborted row.
  void Abort();

  // A job is between its start and its close (the one-second timer runs).
  bool JobRunning() const;
  // A tool runs (a job's run or a query): the window must not close.
  bool ToolRunning() const { return FRunner->IsRunning(); }

  // The settings page's priority list index; applied to the program and to the child
  // before each run starts. An index outside the list changes nothing.
  void SetPriorityIndex(int Index);
  DWORD PriorityClass() const { return FPriorityClass; }

  TJobState& State() { return FState; }
  const TJobState& State() const { return FState; }
  // The exit code of the last run that ended by itself.
  unsigned LastExitCode() const { return FLastExitCode; }

  // One tick of the remaining-time display (the one-second timer calls it).
  void TimerTick();

 private:
  std::optional<TRunRequest> BuildStep(int Index);
  void StartRun(const TRunRequest& Request);
  void HandleLine(const AnsiString& Line, bool Complete);
  void RunNextStep();
  void CloseJob();
  void StartAfterClose();
  void CheckExpectedOutputs();
  void StepEndedWithoutRun();

  std::shared_ptr<TJobSequencer*> FSelf = std::make_shared<TJobSequencer*>(this);
  std::unique_ptr<TDosCommandRunner> FOwnRunner;
  IToolRunner* FRunner;
  IProcessView* FView;
  const TNamedTexts* FTexts;
  TJobState FState;
  TJobStart FJob;
  TJobMode FClosingMode = TJobMode::None;
  TToolKind FTool = TToolKind::MP4Box;
  bool FTagsByMP4Box = false;
  std::vector<TExpectedOutput> FExpected;  // what the current run must write
  TCurrentOutputMemory FOutputMemory;       // today's output, between the lines of a run
  std::function<void(const AnsiString&)> FInfoSink;
  AnsiString FPartial;  // the line the tool is still writing
  int FPosition = 0;
  DWORD FPriorityClass = NORMAL_PRIORITY_CLASS;
  unsigned FLastExitCode = 0;
  TTimer* FJobTimer;
  TTimer* FAfterCloseTimer;
  TTimer* FNoRunTimer;  // ends a step that runs no tool, from the message loop
  std::function<std::vector<TRunRequest>()> FPendingAfterClose;
  std::function<WideString(bool)> FRunFinished;  // the running run's Finished
  TRunLines FRunLines;  // what the current run has said, for the reason of its failure
};
