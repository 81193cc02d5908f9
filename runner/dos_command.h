// The console tool runner: runs one console program at a time as a hidden child and hands
// its output to the main thread line by line.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "runner/dos_options.h"
#include "runner/dos_thread.h"
#include "runner/line_splitter.h"
#include "vcl/classes.h"
#include "vcl/strings.h"

class TInputQueue;
class TProcessTimer;

class TDosCommand : public TComponent {
  VCL_CLASS(TDosCommand)
 public:
  explicit TDosCommand(TComponent* AOwner);
  // Stops every run still going and waits for its worker, whose pending hand-overs are
  // dropped: no notice reaches a destroyed owner. Not from one of its own handlers.
  ~TDosCommand() override;

  // Starts CommandLine (nothing when it is empty), stopping a run still going first;
  // returns at once.
  void Execute();
  // Tells the current run to end; its child is killed and its end notice follows (259).
  void Stop();
  bool IsRunning() const;

  // --- published
  const AnsiString& CommandLine() const { return FCommandLine; }
  void SetCommandLine(const AnsiString& v) { FCommandLine = v; }
  const TNewLineEvent& OnNewLine() const { return FOnNewLine; }
  void SetOnNewLine(TNewLineEvent v) { FOnNewLine = std::move(v); }
  const TTerminateEvent& OnTerminated() const { return FOnTerminated; }
  void SetOnTerminated(TTerminateEvent v) { FOnTerminated = std::move(v); }
  bool InputToOutput() const { return FInputToOutput.load(); }
  void SetInputToOutput(bool v) { FInputToOutput.store(v); }
  int MaxTimeAfterBeginning() const { return FMaxTimeAfterBeginning; }
  void SetMaxTimeAfterBeginning(int v) { FMaxTimeAfterBeginning = v; }
  int MaxTimeAfterLastOutput() const { return FMaxTimeAfterLastOutput; }
  void SetMaxTimeAfterLastOutput(int v) { FMaxTimeAfterLastOutput = v; }
  TShowWindow ShowWindow() const { return FShowWindow; }
  void SetShowWindow(TShowWindow v) { FShowWindow = v; }
  TCreationFlag CreationFlag() const { return FCreationFlag; }
  void SetCreationFlag(TCreationFlag v) { FCreationFlag = v; }
  TReturnCode ReturnCode() const { return FReturnCode; }  // stored only
  void SetReturnCode(TReturnCode v) { FReturnCode = v; }
  TReturnCode OutputReturnCode() const { return FOutputReturnCode; }

  // --- public state
  // When not empty, the child is started with this UTF-16 command line (CreateProcessW)
  // instead of CommandLine, for a program that reads its arguments as UTF-16; CommandLine
  // is then only the line's 8-bit form (in the message of a failed start).
  const WideString& WideCommandLine() const { return FWideCommandLine; }
  void SetWideCommandLine(const WideString& v) { FWideCommandLine = v; }
  DWORD Priority() const { return FPriority; }
  void SetPriority(DWORD v) { FPriority = v; }
  DWORD ExitCode() const { return FExitCode.load(); }
  BYTE RunStep() const { return FRunStep.load(); }
  TStrings* Lines() const { return FLines; }
  TStrings* OutputLines() const { return FOutputLines; }
  void SetOutputLines(TStrings* v) { FOutputLines = v; }
  TStrings* InputQueue() const;

 private:
  friend class TDosThread;

  // Each Execute numbers its run. Only the latest run owns Lines, InputQueue, the timer,
  // RunStep, ExitCode and OutputReturnCode: a stopped worker still finishing must not
  // touch the lists and state of the run that replaced it.
  bool IsLatestRun(unsigned run) const { return run == FRunNumber.load(); }
  void PublishRunStep(unsigned run, BYTE step);
  void PublishExitCode(unsigned run, DWORD code);
  void NoteOutput(unsigned run);
  bool TakeInputLine(unsigned run, AnsiString& line);
  void WorkerEnded(TDosThread* worker);  // main thread

  AnsiString FCommandLine;
  WideString FWideCommandLine;
  TNewLineEvent FOnNewLine;
  TTerminateEvent FOnTerminated;
  std::atomic<bool> FInputToOutput{false};
  int FMaxTimeAfterBeginning = 0;
  int FMaxTimeAfterLastOutput = 0;
  TShowWindow FShowWindow = swHIDE;
  TCreationFlag FCreationFlag = fCREATE_NEW_CONSOLE;
  TReturnCode FReturnCode = rcCRLF;
  TReturnCode FOutputReturnCode = rcCRLF;
  DWORD FPriority = NORMAL_PRIORITY_CLASS;

  TStringList* FLines;
  TStrings* FOutputLines = nullptr;
  TInputQueue* FInputQueue;
  TProcessTimer* FTimer = nullptr;

  TDosThread* FThread = nullptr;         // the current worker
  std::vector<TDosThread*> FWorkers;     // every worker still alive, stopped ones included
  std::mutex FRunLock;                   // orders a new run against old workers' updates
  std::atomic<unsigned> FRunNumber{0};
  std::atomic<BYTE> FRunStep{rsStarting};
  std::atomic<DWORD> FExitCode{0};
};
