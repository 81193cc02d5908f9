#include "runner/dos_command.h"

#include <algorithm>

#include "runner/input_queue.h"
#include "runner/process_timer.h"
#include "vcl/typinfo.h"

VCL_ENUM_INFO(TShowWindow, "swHIDE", "swMAXIMIZE", "swMINIMIZE", "swRESTORE", "swSHOW", "swSHOWDEFAULT",
              "swSHOWMAXIMIZED", "swSHOWMINIMIZED", "swSHOWMINNOACTIVE", "swSHOWNA", "swSHOWNOACTIVATE",
              "swSHOWNORMAL")
VCL_ENUM_INFO(TCreationFlag, "fCREATE_DEFAULT_ERROR_MODE", "fCREATE_NEW_CONSOLE", "fCREATE_NEW_PROCESS_GROUP",
              "fCREATE_SEPARATE_WOW_VDM", "fCREATE_SHARED_WOW_VDM", "fCREATE_SUSPENDED",
              "fCREATE_UNICODE_ENVIRONMENT", "fDEBUG_PROCESS", "fDEBUG_ONLY_THIS_PROCESS", "fDETACHED_PROCESS")
VCL_ENUM_INFO(TReturnCode, "rcCRLF", "rcLF")

// What a form stores of the runner, in declaration order.
static const std::vector<TPropInfo>& DosCommandProperties() {
  static const std::vector<TPropInfo> table =
      TPropertyTable<TDosCommand>()
          .Property("CommandLine", &TDosCommand::CommandLine, &TDosCommand::SetCommandLine)
          .Property("OnNewLine", &TDosCommand::OnNewLine, &TDosCommand::SetOnNewLine)
          .Property("OnTerminated", &TDosCommand::OnTerminated, &TDosCommand::SetOnTerminated)
          .Property("InputToOutput", &TDosCommand::InputToOutput, &TDosCommand::SetInputToOutput)
          .Default(false)
          .Property("MaxTimeAfterBeginning", &TDosCommand::MaxTimeAfterBeginning,
                    &TDosCommand::SetMaxTimeAfterBeginning)
          .Default(0)
          .Property("MaxTimeAfterLastOutput", &TDosCommand::MaxTimeAfterLastOutput,
                    &TDosCommand::SetMaxTimeAfterLastOutput)
          .Default(0)
          .Property("ShowWindow", &TDosCommand::ShowWindow, &TDosCommand::SetShowWindow)
          .Default(swHIDE)
          .Property("CreationFlag", &TDosCommand::CreationFlag, &TDosCommand::SetCreationFlag)
          .Default(fCREATE_NEW_CONSOLE)
          .Property("ReturnCode", &TDosCommand::ReturnCode, &TDosCommand::SetReturnCode)
          .Default(rcCRLF)
          .Property("OutputReturnCode", &TDosCommand::OutputReturnCode, nullptr)
          .Table();
  return table;
}

VCL_CLASS_IMPL(TDosCommand, TComponent, &CreateComponentOf<TDosCommand>, &DosCommandProperties)

TDosCommand::TDosCommand(TComponent* AOwner)
    : TComponent(AOwner), FLines(new TStringList), FInputQueue(new TInputQueue) {}

TDosCommand::~TDosCommand() {
  Destroying();
  // Every worker still alive refers to us; each frees itself, so wait on our own copies
  // of their handles. Their hand-overs are dropped, so none waits for this thread.
  std::vector<HANDLE> ends;
  for (TDosThread* w : FWorkers) {
    HANDLE h = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), w->Handle(), GetCurrentProcess(), &h, SYNCHRONIZE,
                         FALSE, 0))
      h = OpenThread(SYNCHRONIZE, FALSE, w->ThreadID());
    // Without a handle of our own there is nothing to wait on; waiting on a null handle
    // would fail at once anyway, and closing it is wrong.
    if (h) ends.push_back(h);
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
  if (FCommandLine.empty() && FWideCommandLine.empty()) return;
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
