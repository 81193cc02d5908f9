#include "app/jobs/job_sequencer.h"

#include "app/jobs/output_parser.h"
#include "vcl/timers.h"

namespace {

// The closing rows of each mode: aborted, failed, succeeded.
struct TClosingTexts {
  WideString TNamedTexts::*Aborted;
  WideString TNamedTexts::*Failed;
  WideString TNamedTexts::*Succeeded;
};

TClosingTexts ClosingTextsOf(TJobMode mode) {
  switch (mode) {
    case TJobMode::Convert: return {&TNamedTexts::ConvAborted, &TNamedTexts::ConvFailded, &TNamedTexts::ConvSucceed};
    case TJobMode::Extract:
      return {&TNamedTexts::ExtractAborted, &TNamedTexts::ExtractFailded, &TNamedTexts::ExtractSucceed};
    case TJobMode::Concat:
      return {&TNamedTexts::ConcatAborted, &TNamedTexts::ConcatFailed, &TNamedTexts::ConcatSucceed};
    case TJobMode::Mux: return {&TNamedTexts::CreateAborted, &TNamedTexts::CreateFailed, &TNamedTexts::CreateSucceed};
    case TJobMode::Split: return {&TNamedTexts::SplitAborted, &TNamedTexts::SplitFailed, &TNamedTexts::SplitSucceed};
    case TJobMode::Tag:
    case TJobMode::None: break;
  }
  return {&TNamedTexts::TagAborted, &TNamedTexts::TagFailed, &TNamedTexts::TagSucceed};
}

constexpr unsigned kAfterCloseDelayMs = 2000;

}  // namespace

void TDosCommandRunner::Run(const AnsiString& CommandLine, DWORD PriorityClass) {
  FCommand->SetCommandLine(CommandLine);
  FCommand->SetWideCommandLine(WideString());
  // The chosen priority holds for this run's child already.
  FCommand->SetPriority(PriorityClass);
  SetPriorityClass(GetCurrentProcess(), PriorityClass);
  FCommand->Execute();
}

void TDosCommandRunner::RunWide(const WideString& CommandLine, DWORD PriorityClass) {
  FCommand->SetCommandLine(WideToAnsi(CommandLine));
  FCommand->SetWideCommandLine(CommandLine);
  FCommand->SetPriority(PriorityClass);
  SetPriorityClass(GetCurrentProcess(), PriorityClass);
  FCommand->Execute();
}

bool TDosCommandRunner::RunFailed() const {
  BYTE step = FCommand->RunStep();
  return step == rsStarting + 1 || step == rsCreatingPipes + 1 || step == rsCreatingProcess + 1 ||
         step == rsRunning + 1;
}

TJobSequencer::TJobSequencer(TDosCommand* Runner, IProcessView* View, const TNamedTexts* Texts)
    : TJobSequencer(static_cast<IToolRunner*>(nullptr), View, Texts) {
  FOwnRunner = std::make_unique<TDosCommandRunner>(Runner);
  FRunner = FOwnRunner.get();
}

TJobSequencer::TJobSequencer(IToolRunner* Runner, IProcessView* View, const TNamedTexts* Texts)
    : FRunner(Runner), FView(View), FTexts(Texts), FJobTimer(new TTimer(nullptr, false)),
      FAfterCloseTimer(new TTimer(nullptr, false)), FNoRunTimer(new TTimer(nullptr, false)) {
  FJobTimer->SetInterval(1000);
  FJobTimer->SetOnTimer([this](TObject*) { TimerTick(); });
  // A one-shot timer: the window goes on answering during the pause before the tagging.
  FAfterCloseTimer->SetInterval(kAfterCloseDelayMs);
  FAfterCloseTimer->SetOnTimer([this](TObject*) {
    FAfterCloseTimer->SetEnabled(false);
    StartAfterClose();
  });
  FNoRunTimer->SetInterval(1);
  FNoRunTimer->SetOnTimer([this](TObject*) {
    FNoRunTimer->SetEnabled(false);
    StepEndedWithoutRun();
  });
}

TJobSequencer::~TJobSequencer() {
  *FSelf = nullptr;
  delete FNoRunTimer;
  delete FAfterCloseTimer;
  delete FJobTimer;
}

void TJobSequencer::AttachRunner() {
  if (!FOwnRunner) return;
  TDosCommand* command = FOwnRunner->Command();
  // A run's worker keeps its own copy of the handlers: once the sequencer is gone they
  // must reach nothing.
  std::shared_ptr<TJobSequencer*> self = FSelf;
  command->SetOnNewLine([self](TObject*, const AnsiString& line, TOutputType type) {
    if (*self) (*self)->RunnerNewLine(line, type);
  });
  command->SetOnTerminated([self](TObject*, unsigned code) {
    if (*self) (*self)->RunnerTerminated(code);
  });
}

void TJobSequencer::SetPriorityIndex(int Index) {
  if (DWORD c = PriorityClassOfIndex(Index)) FPriorityClass = c;
}

bool TJobSequencer::JobRunning() const { return FJobTimer->Enabled(); }

// --- starting ------------------------------------------------------------------------

bool TJobSequencer::StartJob(TJobStart Job) {
  // A stopped run is no longer running, but its end notice, which closes its job, is still
  // to come: a new job waits for that close.
  if (FRunner->IsRunning() || JobRunning()) return false;
  FAfterCloseTimer->SetEnabled(false);
  FPendingAfterClose = nullptr;
  FJob = std::move(Job);
  FClosingMode = FJob.Mode;
  FState.SetMode(FJob.Mode);
  FState.JobIndex = 0;
  FState.JobCount = FJob.StepCount;
  FState.JobAborted = false;
  FState.JobProblem = false;
  FState.JobStartTick = GetTickCount64();
  FPosition = 0;
  FJobTimer->SetEnabled(true);
  if (std::optional<TRunRequest> first = BuildStep(0))
    StartRun(*first);
  else
    CloseJob();
  return true;
}

std::optional<TRunRequest> TJobSequencer::BuildStep(int Index) {
  if (!FJob.Steps) return std::nullopt;
  // A builder that fails ends the job as failed; from inside the runner's end notice the
  // failure would otherwise leave the job neither running nor closed.
  try {
    return FJob.Steps(Index);
  } catch (const std::exception& e) {
    FState.JobProblem = true;
    const WideString message = AnsiToWide(e.what());
    FView->AddProcessEvent(message, pekError);
    FView->AddLogLine(message);
    return std::nullopt;
  }
}

bool TJobSequencer::StartInfoRun(const AnsiString& CommandLine, std::function<void(const AnsiString&)> Sink) {
  if (FRunner->IsRunning() || JobRunning()) return false;
  FState.InfoRun = true;
  FInfoSink = std::move(Sink);
  FPartial.clear();
  FRunner->Run(CommandLine, FPriorityClass);
  return true;
}

void TJobSequencer::StartRun(const TRunRequest& Request) {
  FView->RunStarting();
  FTool = Request.Tool;
  FTagsByMP4Box = Request.TagsByMP4Box;
  FUtf8Output = Request.Utf8Output;
  FExpected = Request.Writes;
  FOutputMemory = TCurrentOutputMemory();
  FState.VerboseRun = Request.Verbose;
  FRunFinished = Request.Finished;
  FPartial.clear();
  FRunLines = TRunLines();
  for (const TRunNote& note : Request.Notes) {
    if (note.Row) FView->AddProcessEvent(note.Text, note.Kind);
    FView->AddLogLine(note.Text);
  }
  if (Request.CommandLine.empty() && Request.WideCommandLine.empty()) {
    FNoRunTimer->SetEnabled(true);
    return;
  }
  if (Request.WideCommandLine.empty())
    FRunner->Run(Request.CommandLine, FPriorityClass);
  else
    FRunner->RunWide(Request.WideCommandLine, FPriorityClass);
}

void TJobSequencer::StepEndedWithoutRun() {
  if (!JobRunning()) return;
  ++FState.JobIndex;
  if (FState.JobAborted) {
    CloseJob();
    return;
  }
  RunNextStep();
}

// --- the runner's notices ------------------------------------------------------------

void TJobSequencer::RunnerNewLine(const AnsiString& Line, TOutputType OutputType) {
  bool complete = OutputType == otEntireLine;
  FPartial = complete ? AnsiString() : Line;
  HandleLine(Line, complete);
}

void TJobSequencer::HandleLine(const AnsiString& Line, bool Complete) {
  if (FState.InfoRun) {
    if (Complete && FInfoSink) FInfoSink(Line);
    return;
  }
  TParseContext context{FTexts, FTool, FState.VerboseRun, FTagsByMP4Box, &FOutputMemory, FUtf8Output};
  TParsedLine parsed = ParseToolLine(Line, Complete, context);
  if (parsed.HasProgress) {
    FPosition = parsed.Position;
    FView->ShowProgress(parsed.Position, parsed.PercentText);
  }
  for (const TParsedEvent& e : parsed.Events) {
    FView->AddProcessEvent(e.RowText, e.Kind);
    FView->AddLogLine(e.LogText);
  }
  if (parsed.Problem) FState.JobProblem = true;
  const AnsiString plain = WithoutColourEscapes(Line);
  if (parsed.LogLine) FView->AddLogLine(ToolOutputText(plain, FUtf8Output));
  // Today's problem lines tell why the run failed even without the word "error" ("File
  // truncated, aborting read"); the older tool's warnings stay out of the reason.
  if (Complete) FRunLines.Note(plain, parsed.HasProgress, parsed.Problem, parsed.Problem && IsCurrentProblemLine(plain));
}

void TJobSequencer::RunnerTerminated(unsigned ExitCode) {
  // Output that ended without a line end is a complete line all the same.
  if (!FPartial.empty()) {
    AnsiString last = FPartial;
    FPartial.clear();
    HandleLine(last, true);
  }
  if (FState.InfoRun) {
    FState.InfoRun = false;
    FInfoSink = nullptr;
    return;
  }
  if (!JobRunning()) return;  // the end of a run the sequencer did not start
  bool runFailed = FRunner->RunFailed();
  bool byItself = FRunner->EndedByItself();
  if (byItself) FLastExitCode = ExitCode;
  if (runFailed) {
    FState.JobProblem = true;
  } else if (byItself && ExitCode != 0 && !FState.JobAborted) {
    FState.JobProblem = true;
    FView->AddLogLine(FormatText(FTexts->MsgToolExitCode, {AnsiToWide(IntToStr(ExitCode))}));
  } else if (byItself && !FState.JobAborted) {
    CheckExpectedOutputs();
  }
  if (auto finished = std::move(FRunFinished)) {
    FRunFinished = nullptr;
    WideString problem = finished(!runFailed && byItself && ExitCode == 0);
    if (!problem.empty()) {
      FState.JobProblem = true;
      FView->AddProcessEvent(problem, pekError);
      FView->AddLogLine(problem);
    }
  }
  // A failed run says why on the page, in the tool's own words.
  if (!runFailed && !FState.JobAborted &&
      ((byItself && ExitCode != 0) || (FRunLines.ProblemSeen && !FRunLines.Errors.empty()))) {
    const WideString reason = FailureReasonText(FTool, FRunLines, byItself, ExitCode, *FTexts, FUtf8Output);
    FView->AddProcessEvent(reason, pekError);
    FView->AddLogLine(reason);
  }
  ++FState.JobIndex;
  // A tool that cannot start would fail every later step the same way.
  if (runFailed || FState.JobAborted) {
    CloseJob();
    return;
  }
  RunNextStep();
}

// A tool may end with exit code 0 and have written nothing (today's MP4Box when it cannot
// split): each file the run should have left that is not there fails the job, by name.
void TJobSequencer::CheckExpectedOutputs() {
  for (const TExpectedOutput& expected : FExpected) {
    bool found = false;
    for (const WideString& name : expected.Names) {
      WIN32_FIND_DATAW data;
      HANDLE h = FindFirstFileW(name.c_str(), &data);
      if (h == INVALID_HANDLE_VALUE) continue;
      FindClose(h);
      found = true;
    }
    if (found || expected.Names.empty()) continue;
    FState.JobProblem = true;
    const WideString text = FormatText(FTexts->MsgFileNotWritten, {expected.Names.front()});
    FView->AddProcessEvent(text, pekWarning);
    FView->AddLogLine(text);
  }
}

// --- steps and close -----------------------------------------------------------------

void TJobSequencer::RunNextStep() {
  if (FState.JobIndex < FState.JobCount) {
    if (std::optional<TRunRequest> next = BuildStep(FState.JobIndex)) {
      StartRun(*next);
      return;
    }
  }
  CloseJob();
}

void TJobSequencer::CloseJob() {
  for (const WideString& name : FJob.TempFiles)
    if (GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileW(name.c_str());
  TClosingTexts texts = ClosingTextsOf(FClosingMode);
  TJobOutcome outcome = FState.JobAborted   ? TJobOutcome::Aborted
                        : FState.JobProblem ? TJobOutcome::Failed
                                            : TJobOutcome::Succeeded;
  const WideString& row = outcome == TJobOutcome::Aborted  ? FTexts->*texts.Aborted
                          : outcome == TJobOutcome::Failed ? FTexts->*texts.Failed
                                                           : FTexts->*texts.Succeeded;
  int kind = outcome == TJobOutcome::Aborted ? pekError : outcome == TJobOutcome::Failed ? pekWarning : pekInformation;
  FView->AddProcessEvent(row, kind);
  FView->AddLogLine(row);
  FState.JobAborted = false;
  FState.JobProblem = false;
  FJobTimer->SetEnabled(false);
  FPosition = 0;
  auto afterClose = std::move(FJob.AfterClose);
  auto closed = std::move(FJob.Closed);
  FJob = TJobStart();
  if (closed) closed();
  FView->JobClosed(outcome, row);
  // What follows a job (AtomicParsley on the new file) follows only a job that succeeded:
  // never a partial file, nor an older file of that name.
  if (afterClose && outcome == TJobOutcome::Succeeded) {
    FPendingAfterClose = std::move(afterClose);
    FAfterCloseTimer->SetEnabled(true);
  }
}

void TJobSequencer::StartAfterClose() {
  auto build = std::move(FPendingAfterClose);
  FPendingAfterClose = nullptr;
  if (!build || FRunner->IsRunning()) return;
  std::vector<TRunRequest> runs = build();
  if (runs.empty()) return;
  // A tagging job of a step per file; the mux flag stays for the log's place.
  FJob = TJobStart();
  FJob.Mode = TJobMode::Tag;
  FJob.StepCount = static_cast<int>(runs.size());
  FJob.Steps = [runs](int Step) -> std::optional<TRunRequest> {
    if (Step < 0 || Step >= static_cast<int>(runs.size())) return std::nullopt;
    return runs[Step];
  };
  FClosingMode = TJobMode::Tag;
  FState.TagMode = true;
  FState.JobIndex = 0;
  FState.JobCount = FJob.StepCount;
  FState.JobStartTick = GetTickCount64();
  FPosition = 0;
  FJobTimer->SetEnabled(true);
  StartRun(runs.front());
}

void TJobSequencer::Abort() {
  if (JobRunning()) FState.JobAborted = true;
  if (FRunner->IsRunning()) FRunner->Stop();
}

void TJobSequencer::TimerTick() {
  double elapsed = static_cast<double>(GetTickCount64() - FState.JobStartTick);
  FView->ShowTimeRemaining(RemainingTimeText(elapsed, FPosition));
}
