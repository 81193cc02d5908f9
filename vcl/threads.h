// Threads of the framework and the synchronised call that takes work to the main thread.
#pragma once

#include <atomic>
#include <exception>
#include <functional>

#include "vcl/classes.h"

// The thread that runs the message loop and every handler of the program.
extern DWORD MainThreadID;

// Tells the main thread that synchronised calls are waiting. The application sets it
// (a message posted to its window) while it has a window; without it, only loops that
// call CheckSynchronize service the calls.
extern std::function<void()> WakeMainThread;

// Runs the synchronised calls that are waiting, in the order they were made. Call it on
// the main thread only; returns true when it ran at least one.
bool CheckSynchronize();

// On the main thread: waits until Thread ends, running synchronised calls as they come.
// QueuedEvent is the queue's signal of a new call; without one the queue is looked at
// every few milliseconds. (TThread::WaitFor waits this way.)
void WaitServicingSyncCalls(HANDLE Thread, HANDLE QueuedEvent);
// The same, giving up after TimeoutMs; true when the thread has ended.
bool WaitServicingSyncCalls(HANDLE Thread, HANDLE QueuedEvent, DWORD TimeoutMs);

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
 public:
  // The system thread is created at once. A thread created running starts as soon as the
  // object is complete: C++ cannot start it from this constructor (Execute would run
  // before the derived parts exist), so create it with TThread::Create<T>(...), which
  // calls AfterConstruction, or call Start yourself.
  explicit TThread(bool CreateSuspended);
  // Asks a live thread to terminate and waits for it (unless it is the thread itself).
  ~TThread() override;

  template <class T, class... Args>
  static T* Create(Args&&... args) {
    T* t = new T(std::forward<Args>(args)...);
    t->AfterConstruction();
    return t;
  }
  virtual void AfterConstruction();

  // Runs Execute, even when Terminate came first: Execute looks at Terminated itself.
  void Start();
  virtual void Terminate() { FTerminated.store(true); }
  bool Terminated() const { return FTerminated.load(std::memory_order_relaxed); }
  bool Finished() const { return FFinished.load(); }
  bool Suspended() const { return FSuspended; }
  // Suspends the system thread, or resumes it (starting it when it never ran).
  virtual void SetSuspended(bool Value);
  TThreadPriority Priority() const;
  void SetPriority(TThreadPriority Value);

  // The object frees itself once Execute has returned.
  bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
  void SetFreeOnTerminate(bool v) { FFreeOnTerminate.store(v); }

  // Waits until the thread has ended and returns ReturnValue. On the main thread the
  // waiting services synchronised calls, so a worker that synchronises cannot deadlock it.
  int WaitFor();
  // The same, giving up after TimeoutMs; true when the thread has ended.
  bool WaitFor(DWORD TimeoutMs);

  // Drops this worker's synchronised call that is still waiting to run and every later
  // one: they return at once without running. An owner being destroyed calls it before it
  // waits for its worker, so no call reaches the half-destroyed owner and the worker does
  // not wait for a main thread that is waiting for it. A call already running is not
  // affected. Main thread only.
  void DropSynchronize();

  HANDLE Handle() const { return FHandle; }
  DWORD ThreadID() const { return FThreadID; }
  int ReturnValue = 0;
  // The exception that escaped Execute, if any.
  std::exception_ptr FatalException;
  // Runs on the main thread (a synchronised call) once Execute has returned.
  TNotifyEvent OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Runs fn on the main thread and blocks until it has run there (at once when called on
  // the main thread). An exception thrown by fn is raised again here. Worker thread only.
  void Synchronize(const std::function<void()>& fn);
  // After Execute, on the worker: runs OnTerminate through Synchronize.
  virtual void DoTerminate();

 private:
  static unsigned __stdcall ThreadProc(void* param);

  HANDLE FHandle = nullptr;
  DWORD FThreadID = 0;
  HANDLE FSyncDone = nullptr;  // the worker waits on it while its call is queued or runs
  bool FCreateSuspended;
  bool FSuspended = true;
  bool FStarted = false;
  bool FSkipExecute = false;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  std::atomic<bool> FSyncDropped{false};

  friend bool CheckSynchronize();
};
