// Runs a job of one MP4Box step whose child writes 20,000 progress lines, through the job
// sequencer (the parser, the progress, the stage row, the closing row) and, in the same run,
// the same child through the bare runner that only counts its lines. Prints the milliseconds
// of each from the start of the run to its end, the median of several rounds, and their ratio.
// Usage: job_bench [rounds] [lines]   (default 3 rounds of 20000 lines)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/jobs/job_sequencer.h"
#include "bench/common/bench_support.h"
#include "runner/dos_command.h"
#include "vcl/application.h"

namespace {

void LoopUntil(const bool& done) {
  while (!done) Application->HandleMessage();
}

std::string Folder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\') + 1);
}

AnsiString ChildCommand(int lines) {
  return "\"" + Folder() + "scripted_child.exe\" \"progress:" + std::to_string(lines) + ":ISO File Writing: \"";
}

// What the process page would be told, counted and kept as the page keeps it.
class TCountingView : public IProcessView {
 public:
  int Rows = 0, LogLines = 0, ProgressCalls = 0, LastPosition = -1;
  WideString LastPercent;
  bool Closed = false;
  TJobOutcome Outcome = TJobOutcome::Failed;
  void AddProcessEvent(const WideString&, int) override { ++Rows; }
  void AddLogLine(const WideString&) override { ++LogLines; }
  void ShowProgress(int Position, const WideString& PercentText) override {
    ++ProgressCalls;
    LastPosition = Position;
    LastPercent = PercentText;
  }
  void ShowTimeRemaining(const WideString&) override {}
  void RunStarting() override {}
  void JobClosed(TJobOutcome o, const WideString&) override {
    Outcome = o;
    Closed = true;
  }
};

// Milliseconds from the start of the run to its end notice, every line counted.
double BareRun(int lines) {
  TDosCommand cmd(nullptr);
  int count = 0;
  bool done = false;
  cmd.SetOnNewLine([&](TObject*, const AnsiString&, TOutputType type) {
    if (type == otEntireLine) ++count;
  });
  cmd.SetOnTerminated([&](TObject*, unsigned) { done = true; });
  cmd.SetCommandLine(ChildCommand(lines));
  const double start = MillisecondsNow();
  cmd.Execute();
  LoopUntil(done);
  const double ms = MillisecondsNow() - start;
  if (count != lines) std::printf("  (bare runner: expected %d lines, got %d)\n", lines, count);
  return ms;
}

// Milliseconds from the start of the job to its closing row.
double JobRun(int lines) {
  TDosCommand cmd(nullptr);
  TCountingView view;
  TJobSequencer sequencer(&cmd, &view);
  sequencer.AttachRunner();
  TJobStart job;
  job.Mode = TJobMode::Convert;
  job.StepCount = 1;
  job.Steps = [lines](int index) -> std::optional<TRunRequest> {
    if (index > 0) return std::nullopt;
    TRunRequest run;
    run.CommandLine = ChildCommand(lines);
    run.Tool = TToolKind::MP4Box;
    return run;
  };
  const double start = MillisecondsNow();
  sequencer.StartJob(std::move(job));
  LoopUntil(view.Closed);
  const double ms = MillisecondsNow() - start;
  // Progress from every line, ending at 100; a stage row for every line at 01 and the
  // closing row.
  if (view.ProgressCalls != lines || view.LastPosition != 100 || view.Rows < 2 ||
      view.Outcome != TJobOutcome::Succeeded)
    std::printf("  (job: %d progress calls, last %d, %d rows, outcome %d)\n", view.ProgressCalls,
                view.LastPosition, view.Rows, static_cast<int>(view.Outcome));
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
  int lines = argc > 2 ? std::atoi(argv[2]) : 20000;
  if (rounds < 1) rounds = 1;
  if (lines < 2) lines = 2;
  InitApplication();
  // One of each first for the one-time costs.
  BareRun(lines);
  JobRun(lines);
  std::vector<double> bare, job;
  for (int r = 0; r < rounds; ++r) {
    bare.push_back(BareRun(lines));
    job.push_back(JobRun(lines));
    std::printf("round %d: bare runner %8.1f ms, job %8.1f ms\n", r + 1, bare.back(), job.back());
  }
  const double b = Median(bare), j = Median(job);
  std::printf("lines: %d, rounds: %d (median)\n", lines, rounds);
  std::printf("bare runner delivering the lines: %8.1f ms  (%8.0f lines/s)\n", b, lines / b * 1000);
  std::printf("job through sequencer and parser: %8.1f ms  (%8.0f lines/s)\n", j, lines / j * 1000);
  std::printf("ratio job/bare: %.2f\n", j / b);
  delete Application;
  return 0;
}
