#include "runner/dos_command.h"

#include <algorithm>

#include "runner/input_queue.h"
#include "runner/process_timer.h"

VCL_CLASS_IMPL(TDosCommand, TComponent, &CreateComponentOf<TDosCommand>, nullptr)

TDosCommand::TDosCommand(TComponent* AOwner)
    : TComponent(AOwner), FLines(new TStringList), FInputQueue(new TInputQueue) {}

TDosCommand::~TDosCommand() {
  Destroying();
  // Every worker still alive refers to us; each frees itself, so wait on our own copies
  // of their handles. Their hand-overs are dropped, so none waits for this thread.
  std::vector<HANDLE> ends;
  for (TDosThread* w : FWorkers) {
    HANDLE h = nullptr;
    DuplicateHandle(GetCurrentProcess(), w->Handle(), GetCurrentProcess(), &h, SYNCHRONIZE,
                    FALSE, 0);
    ends.push_back(h);
    w->Terminate();
    w->DropSynchronize();
  }
  FWorkers.clear();
  FThread = nullptr;
  for (HANDLE h : ends) {
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
  }
  delete FTimer;
  delete FInputQueue;
  delete FLines;
}

TStrings* TDosCommand::InputQueue() const { return FInputQueue; }

void TDosCommand::Execute() {
  if (FCommandLine.empty()) return;
  Stop();
  if (!FTimer) FTimer = new TProcessTimer(nullptr);
  FLines->Clear();
  unsigned run;
  {
    std::lock_guard<std::mutex> g(FRunLock);
    run = FRunNumber.load() + 1;
    FRunNumber.store(run);
    FRunStep.store(rsStarting);
  }
  auto* w = new TDosThread(this, run);
  FWorkers.push_back(w);
  FThread = w;
  w->Start();
}

void TDosCommand::Stop() {
  if (!FThread) return;
  FThread->SetFreeOnTerminate(true);
  FThread->Terminate();
  FThread = nullptr;
}

bool TDosCommand::IsRunning() const {
  return FThread && FThread->Running() && !FThread->Terminated();
}

void TDosCommand::PublishRunStep(unsigned run, BYTE step) {
  std::lock_guard<std::mutex> g(FRunLock);
  if (IsLatestRun(run)) FRunStep.store(step);
}

void TDosCommand::PublishExitCode(unsigned run, DWORD code) {
  std::lock_guard<std::mutex> g(FRunLock);
  if (IsLatestRun(run)) FExitCode.store(code);
}

void TDosCommand::NoteOutput(unsigned run) {
  std::lock_guard<std::mutex> g(FRunLock);
  if (IsLatestRun(run) && FTimer) FTimer->NewOutput();
}

bool TDosCommand::TakeInputLine(unsigned run, AnsiString& line) {
  std::lock_guard<std::mutex> g(FRunLock);
  return IsLatestRun(run) && FInputQueue->TakeFirst(line);
}

void TDosCommand::WorkerEnded(TDosThread* worker) {
  if (FThread == worker) FThread = nullptr;
  FWorkers.erase(std::remove(FWorkers.begin(), FWorkers.end(), worker), FWorkers.end());
}
