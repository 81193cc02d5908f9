// Measures how many lines per second the runner hands to OnNewLine when a child writes
// 20,000 short lines, and, in the same run, how many bare synchronised calls per second
// the framework makes; prints both and their ratio. Run: scripts/wine-run runner_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/common/bench_support.h"
#include "runner/dos_command.h"
#include "vcl/application.h"

namespace {

constexpr int kLines = 20000;
constexpr int kRounds = 7;

void LoopUntil(const bool& done) {
  while (!done) Application->HandleMessage();
}

std::string Folder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\') + 1);
}

// Lines per second from the first line delivered to the last.
double LineRate() {
  TDosCommand cmd(nullptr);
  int count = 0;
  double first = 0, last = 0;
  bool done = false;
  cmd.SetOnNewLine([&](TObject*, const AnsiString&, TOutputType) {
    last = SecondsNow();
    if (count++ == 0) first = last;
  });
  cmd.SetOnTerminated([&](TObject*, unsigned) { done = true; });
  cmd.SetCommandLine("\"" + Folder() + "scripted_child.exe\" lines:" + std::to_string(kLines) + ":line");
  cmd.Execute();
  LoopUntil(done);
  if (count != kLines) std::printf("  (expected %d lines, got %d)\n", kLines, count);
  return (count - 1) / (last - first);
}

class TSyncThread : public TThread {
 public:
  TSyncThread() : TThread(true) {}
  int calls = 0;
  bool done = false;
  double start = 0, end = 0;

 protected:
  void Execute() override {
    start = SecondsNow();
    for (int i = 0; i < kLines; ++i) Synchronize([this] { ++calls; });
    end = SecondsNow();
    Synchronize([this] { done = true; });
  }
};

// Synchronised round trips per second, the main thread in the same message loop.
double SyncRate() {
  TSyncThread t;
  t.Start();
  LoopUntil(t.done);
  t.WaitFor();
  return t.calls / (t.end - t.start);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  InitApplication();
  std::vector<double> lines, syncs;
  for (int r = 0; r < kRounds; ++r) {
    lines.push_back(LineRate());
    syncs.push_back(SyncRate());
    std::printf("round %d: %8.0f lines/s to OnNewLine, %8.0f synchronised calls/s\n", r + 1,
                lines.back(), syncs.back());
  }
  double l = Median(lines), s = Median(syncs);
  std::printf("median:  %8.0f lines/s to OnNewLine, %8.0f synchronised calls/s, ratio %.2f\n", l, s,
              s / l);
  delete Application;
  return 0;
}
