// The desktop components' worker threads: a thread with a finish event, a thread that runs an
// event once, and one that runs it every interval.
#pragma once

#include <atomic>
#include <mutex>

#include "vcl/threads.h"

class TdkThread : public TThread {
 public:
  explicit TdkThread(bool CreateSuspended) : TThread(CreateSuspended) {}

  // Runs on the main thread when Terminate is called (Sender: the thread).
  TNotifyEvent OnFinish;
  // Terminate has been called.
  bool FinishRequested() const { return FFinishRequested.load(); }

  // Sets Terminated and the finished flag, then runs OnFinish on the main thread.
  void Terminate() override;
  using TThread::Synchronize;

 protected:
  void Execute() override {}

 private:
  std::atomic<bool> FFinishRequested{false};
};

class TdkEventThread : public TdkThread {
 public:
  explicit TdkEventThread(bool CreateSuspended) : TdkThread(CreateSuspended) {}

  // The event may be changed while the thread runs: it is read under a lock.
  TNotifyEvent OnExecute() const;
  void SetOnExecute(const TNotifyEvent& Value);
  // Runs OnExecute on the main thread instead of the worker.
  std::atomic<bool> Synchronized{false};
  // Not running its work: never started, suspended or (timer) paused.
  virtual bool IsSuspended() const { return Suspended(); }

 protected:
  // Unless terminated: DoExecute, through Synchronize when Synchronized.
  void Execute() override;
  void RunOnce();
  // Calls OnExecute unless the thread is terminated.
  virtual void DoExecute();

 private:
  mutable std::mutex FLock;
  TNotifyEvent FOnExecute;
};

class TdkTimerThread : public TdkEventThread {
 public:
  explicit TdkTimerThread(bool CreateSuspended);
  // Clears OnExecute and wakes the thread before the usual end (terminate, wait).
  ~TdkTimerThread() override;

  unsigned Interval() const { return FInterval.load(); }
  // A new interval restarts the wait that is under way.
  void SetInterval(unsigned Value);
  // Ends the current wait at once (the next wait starts from the beginning).
  virtual void Wake();

  // A suspended timer thread only stops ticking: the system thread is never suspended in the
  // middle of its work (it might hold a lock the main thread needs), it waits for the wake
  // event instead.
  void SetSuspended(bool Value) override;
  bool IsSuspended() const override { return Suspended() || FPaused.load(); }
  void Terminate() override;

 protected:
  // While not terminated: wait Interval ms on the wake event; a time-out runs the event.
  void Execute() override;

 private:
  HANDLE FWakeEvent = nullptr;
  std::atomic<unsigned> FInterval{1000};
  std::atomic<bool> FPaused{false};
};
