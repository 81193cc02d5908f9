// The worker of one run: starts the child, reads its output, hands every string to the
// main thread, feeds its input, enforces the time-outs and reports the end.
#pragma once

#include <atomic>
#include <vector>

#include "runner/dos_options.h"
#include "runner/line_splitter.h"
#include "vcl/strings.h"
#include "vcl/threads.h"

class TDosCommand;
class TProcessTimer;

VCL_DECLARE_EXCEPTION(TCreatePipeError, Exception)
VCL_DECLARE_EXCEPTION(TCreateProcessError, Exception)

using TNewLineEvent = std::function<void(TObject* Sender, const AnsiString& NewLine, TOutputType OutputType)>;
using TTerminateEvent = std::function<void(TObject* Sender, unsigned ExitCode)>;

// Stages of a run (TDosCommand::RunStep). A failed stage is its number plus one.
enum : BYTE {
  rsStarting = 0,
  rsCreatingPipes = 2,
  rsCreatingProcess = 4,
  rsRunning = 6,
  rsEnded = 8,
  rsStopped = 9,
  rsTimedOut = 10,
};

class TDosThread : public TThread {
 public:
  // Main thread: takes a copy of everything the run needs from the component and
  // empties its input queue. Created suspended; the component starts it.
  TDosThread(TDosCommand* AOwner, unsigned ARun);
  ~TDosThread() override;

  bool Running() const { return FRunning.load(); }

 protected:
  void Execute() override;

 private:
  void StartRun();
  bool CreateChild();
  void PollUntilEnd();
  bool TimedOut() const;
  DWORD OutputAvailable() const;
  DWORD ReadOutput(DWORD available);
  void WriteInput();
  void EndProcess();
  void ClosePipes();
  void FailStage(DWORD errorCode);
  void NotifyEnd();
  void SetRunStep(BYTE step);

  // Hands one string to the main thread and waits until it has been handled there.
  void AddString(const AnsiString& s, TOutputType type, bool endsLine);
  void SyncAddLine();  // the main thread's part
  void MirrorLine(TStrings* out, const AnsiString& s) const;

  // The run's settings.
  TDosCommand* FOwner;
  const unsigned FRun;
  const AnsiString FCommandLine;
  const WideString FWideCommandLine;
  TProcessTimer* const FTimer;
  const int FMaxTimeAfterBeginning;
  const int FMaxTimeAfterLastOutput;
  const DWORD FPriority;
  const TShowWindow FShowWindow;
  const TCreationFlag FCreationFlag;
  const TNewLineEvent FOnNewLine;
  const TTerminateEvent FOnTerminated;

  // The string being handed over.
  const AnsiString* FHandOver = nullptr;
  TOutputType FHandOverType = otEntireLine;
  bool FHandOverEndsLine = false;
  std::function<void()> FSyncAddLine;
  bool FLineBegun = false;  // the last string delivered was a partial line
  std::atomic<bool> FRunning{false};

  BYTE FRunStep = rsStarting;
  DWORD FLastExitCode = STILL_ACTIVE;
  DWORD FErrorCode = 0;
  bool FProcessEnded = false;
  TLineSplitter FSplitter;
  std::vector<char> FBuffer;
  HANDLE FProcess = nullptr;
  HANDLE FProcessThread = nullptr;
  HANDLE FInputRead = nullptr, FInputWrite = nullptr;    // the child's standard input
  HANDLE FOutputRead = nullptr, FOutputWrite = nullptr;  // its standard output and error
};
