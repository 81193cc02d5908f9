#include "runner/dos_thread.h"

#include <algorithm>

#include "runner/dos_command.h"
#include "runner/input_queue.h"
#include "runner/process_timer.h"
#include "vcl/scopeexit.h"

namespace {

constexpr size_t kFirstBufferSize = 1024;

void CloseAndClear(HANDLE& h) {
  if (h) CloseHandle(h);
  h = nullptr;
}

}  // namespace

TDosThread::TDosThread(TDosCommand* AOwner, unsigned ARun)
    : TThread(true),
      FOwner(AOwner),
      FRun(ARun),
      FCommandLine(AOwner->FCommandLine),
      FWideCommandLine(AOwner->FWideCommandLine),
      FTimer(AOwner->FTimer),
      FMaxTimeAfterBeginning(AOwner->FMaxTimeAfterBeginning),
      FMaxTimeAfterLastOutput(AOwner->FMaxTimeAfterLastOutput),
      FPriority(AOwner->FPriority),
      FShowWindow(AOwner->FShowWindow),
      FCreationFlag(AOwner->FCreationFlag),
      FOnNewLine(AOwner->FOnNewLine),
      FOnTerminated(AOwner->FOnTerminated) {
  FSyncAddLine = [this] { SyncAddLine(); };
  AOwner->FInputQueue->Clear();
  // The worker frees itself when it ends, whether it is stopped or ends by itself.
  SetFreeOnTerminate(true);
  FRunning.store(true);
}

TDosThread::~TDosThread() {
  // Execute has closed everything by now; this only guards against a run cut short.
  if (FProcess && !FProcessEnded) TerminateProcess(FProcess, 0);
  CloseAndClear(FProcess);
  CloseAndClear(FProcessThread);
  ClosePipes();
}

// --- the run ----------------------------------------------------------------------

void TDosThread::Execute() {
  std::exception_ptr failure;
  bool leftByTest = false;
  try {
    StartRun();
    PollUntilEnd();
    leftByTest = true;
  } catch (...) {
    failure = std::current_exception();
    if (!FErrorCode) FErrorCode = GetLastError();
  }
  // The end of the run: each step runs whatever happened in the one before.
  if (leftByTest && !FSplitter.Pending.empty()) {
    try {
      AddString(FSplitter.Pending, otBeginningOfLine, false);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  EndProcess();
  ClosePipes();
  FBuffer.clear();
  FBuffer.shrink_to_fit();
  // A failed stage is set, with the system's error code, before the end notice, so the
  // handler sees the run's real outcome; after a failed start the notice carries that
  // code too.
  if (FRunStep <= rsRunning && FRunStep % 2 == 0) FailStage(FErrorCode);
  try {
    NotifyEnd();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  if (!failure) return;
  try {
    std::rethrow_exception(failure);
  } catch (const TCreatePipeError& e) {
    // Shown on the main thread, through the application's exception message box.
    Synchronize([&] {
      if (ApplicationShowException) ApplicationShowException(e);
    });
  } catch (const TCreateProcessError& e) {
    Synchronize([&] {
      if (ApplicationShowException) ApplicationShowException(e);
    });
  }
  // Any other failure ends the worker unshown (kept in FatalException).
}

void TDosThread::SetRunStep(BYTE step) {
  FRunStep = step;
  FOwner->PublishRunStep(FRun, step);
}

void TDosThread::FailStage(DWORD errorCode) {
  bool beforeStart = FRunStep < rsRunning;
  FOwner->PublishExitCode(FRun, errorCode);
  SetRunStep(static_cast<BYTE>(FRunStep + 1));
  if (beforeStart) FLastExitCode = errorCode;
}

void TDosThread::StartRun() {
  SetRunStep(rsStarting);
  // Default security: only the handles we mark are inherited.
  SECURITY_ATTRIBUTES sa{};
  sa.nLength = sizeof sa;
  sa.bInheritHandle = TRUE;
  FBuffer.assign(kFirstBufferSize, 0);

  SetRunStep(rsCreatingPipes);
  if (!CreatePipe(&FInputRead, &FInputWrite, &sa, 0)) {
    FErrorCode = GetLastError();
    throw TCreatePipeError("Cannot create the input pipe. " + SysErrorMessage(FErrorCode));
  }
  if (!CreatePipe(&FOutputRead, &FOutputWrite, &sa, 0)) {
    FErrorCode = GetLastError();
    CloseAndClear(FInputRead);
    CloseAndClear(FInputWrite);
    throw TCreatePipeError("Cannot create the output pipe. " + SysErrorMessage(FErrorCode));
  }
  // Our own ends stay with us: a child holding them would keep its own input open and
  // could read its own output.
  SetHandleInformation(FInputWrite, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(FOutputRead, HANDLE_FLAG_INHERIT, 0);

  SetRunStep(rsCreatingProcess);
  if (!CreateChild()) {
    FErrorCode = GetLastError();
    throw TCreateProcessError((FWideCommandLine.empty() ? FCommandLine : WideToAnsi(FWideCommandLine)) +
                              " doesn't exist.");
  }
  // The child has its own copies; ours would only hide the end of its output.
  CloseAndClear(FInputRead);
  CloseAndClear(FOutputWrite);

  // The timer belongs to the main thread (SetTimer works on its window's thread only).
  Synchronize([this] {
    if (FOwner->IsLatestRun(FRun)) FTimer->Beginning();
  });
  FLastExitCode = STILL_ACTIVE;
  SetRunStep(rsRunning);
  FSplitter = TLineSplitter();
  FLineBegun = false;
}

// The start-up record is our own, with the pipes for the child's standard handles; the
// command line goes as 8-bit text (CreateProcessA) or, when a UTF-16 one is set, as that.
template <typename StartupInfo>
static void FillStartupInfo(StartupInfo& si, WORD showWindow, HANDLE input, HANDLE output) {
  si.cb = sizeof si;
  // Our C runtime's file table means nothing to the child.
  si.cbReserved2 = 0;
  si.lpReserved2 = nullptr;
  si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  si.wShowWindow = showWindow;
  si.hStdInput = input;
  si.hStdOutput = output;
  si.hStdError = output;
}

bool TDosThread::CreateChild() {
  PROCESS_INFORMATION pi{};
  const DWORD flags = CreationFlagValues[FCreationFlag] | FPriority;
  BOOL ok;
  if (FWideCommandLine.empty()) {
    STARTUPINFOA si{};
    GetStartupInfoA(&si);
    FillStartupInfo(si, ShowWindowValues[FShowWindow], FInputRead, FOutputWrite);
    std::vector<char> cmd(FCommandLine.begin(), FCommandLine.end());
    cmd.push_back('\0');  // CreateProcessA may write into the command line
    ok = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &si, &pi);
  } else {
    STARTUPINFOW si{};
    GetStartupInfoW(&si);
    FillStartupInfo(si, ShowWindowValues[FShowWindow], FInputRead, FOutputWrite);
    std::vector<wchar_t> cmd(FWideCommandLine.begin(), FWideCommandLine.end());
    cmd.push_back(L'\0');
    ok = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr, &si, &pi);
  }
  if (!ok) return false;
  FProcess = pi.hProcess;
  FProcessThread = pi.hThread;
  return true;
}

void TDosThread::PollUntilEnd() {
  for (;;) {
    // The end is decided by the process handle, not by the exit code: a child may really
    // exit with 259 (STILL_ACTIVE). Seen before the pipe is read, so that this cycle still
    // reads everything the child wrote.
    FProcessEnded = WaitForSingleObject(FProcess, 0) == WAIT_OBJECT_0;
    if (FProcessEnded) GetExitCodeProcess(FProcess, &FLastExitCode);
    DWORD available = OutputAvailable();
    if (!available) {
      WriteInput();
    } else {
      // Once the child has ended, what the pipe holds is all it wrote: take all of it,
      // however many reads that needs (what a grandchild writes later is not waited for).
      DWORD left = available;
      do {
        DWORD read = ReadOutput(left);
        if (!read) break;
        left -= std::min(read, left);
      } while (FProcessEnded && left && !Terminated());
    }
    Sleep(1);
    if (FProcessEnded) {
      SetRunStep(rsEnded);
      FOwner->PublishExitCode(FRun, FLastExitCode);
      return;
    }
    if (Terminated()) {
      SetRunStep(rsStopped);
      return;
    }
    if (TimedOut()) {
      SetRunStep(rsTimedOut);
      return;
    }
  }
}

bool TDosThread::TimedOut() const {
  return (FMaxTimeAfterBeginning >= 1 && FTimer->SinceBeginning() > FMaxTimeAfterBeginning) ||
         (FMaxTimeAfterLastOutput >= 1 && FTimer->SinceLastOutput() > FMaxTimeAfterLastOutput);
}

DWORD TDosThread::OutputAvailable() const {
  DWORD total = 0;
  // Fails once every writer has gone: nothing more to read then.
  if (!PeekNamedPipe(FOutputRead, nullptr, 0, nullptr, &total, nullptr)) return 0;
  return total;
}

DWORD TDosThread::ReadOutput(DWORD available) {
  if (available > FBuffer.size()) FBuffer.resize(available);  // grows to the most seen, never shrinks
  DWORD read = 0;
  if (!ReadFile(FOutputRead, FBuffer.data(), static_cast<DWORD>(FBuffer.size()), &read, nullptr))
    return 0;
  FSplitter.Split(
      FBuffer.data(), read, [this] { return Terminated(); },
      [this](const AnsiString& line, TOutputType type) {
        AddString(line, type, type == otEntireLine);
      });
  return read;
}

void TDosThread::WriteInput() {
  AnsiString line;
  while (!Terminated() && FOwner->TakeInputLine(FRun, line)) {
    DWORD written = 0;
    if (!line.empty())
      WriteFile(FInputWrite, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    if (!FOwner->InputToOutput()) continue;
    // The echo joins a partial line the child has begun (a prompt), its line end included.
    if (FLineBegun)
      FSplitter.Pending += line;
    else
      FSplitter.Pending = line;
    if (IsEndedInputLine(line)) {
      AddString(FSplitter.Pending, otEntireLine, false);
      FSplitter.Pending.clear();
    } else {
      AddString(FSplitter.Pending, otBeginningOfLine, false);
    }
  }
}

void TDosThread::EndProcess() {
  if (!FProcess) return;
  // Stopped, timed out or left by an exception: the child is still there.
  if (!FProcessEnded) TerminateProcess(FProcess, 0);
  Synchronize([this] {
    if (FOwner->IsLatestRun(FRun)) FTimer->Ending();
  });
  CloseAndClear(FProcess);
  CloseAndClear(FProcessThread);
}

void TDosThread::ClosePipes() {
  CloseAndClear(FInputRead);
  CloseAndClear(FInputWrite);
  CloseAndClear(FOutputRead);
  CloseAndClear(FOutputWrite);
}

void TDosThread::NotifyEnd() {
  Synchronize([this] {
    ScopeExit forget{[this] {
      FRunning.store(false);
      Terminate();
      FOwner->WorkerEnded(this);  // after this, the component may be gone
    }};
    if (FOnTerminated) FOnTerminated(FOwner, FLastExitCode);
  });
}

// --- handing strings over ---------------------------------------------------------

void TDosThread::AddString(const AnsiString& s, TOutputType type, bool endsLine) {
  FOwner->NoteOutput(FRun);
  FHandOver = &s;
  FHandOverType = type;
  FHandOverEndsLine = endsLine;
  Synchronize(FSyncAddLine);
}

void TDosThread::SyncAddLine() {
  const AnsiString& s = *FHandOver;
  // Lines is kept on the main thread, where the run that owns it is known for sure.
  if (FOwner->IsLatestRun(FRun)) {
    FOwner->FLines->Add(s);
    if (FHandOverEndsLine) FOwner->FOutputReturnCode = FSplitter.LineEnd;
  }
  if (TStrings* out = FOwner->FOutputLines) {
    out->BeginUpdate();
    try {
      MirrorLine(out, s);
    } catch (...) {
      out->EndUpdate();
      throw;
    }
    out->EndUpdate();
  }
  FLineBegun = FHandOverType == otBeginningOfLine;
  if (FOnNewLine) FOnNewLine(FOwner, s, FHandOverType);
}

void TDosThread::MirrorLine(TStrings* out, const AnsiString& s) const {
  if (out->Count() == 0) {
    if (FHandOverType == otBeginningOfLine)
      out->SetText(s);
    else
      out->Add(s);
  } else if (FLineBegun) {
    out->SetStrings(out->Count() - 1, s);  // the line begun before, grown or complete
  } else {
    out->Add(s);
  }
}
