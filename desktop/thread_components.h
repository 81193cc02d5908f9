// Components that run an event on a worker thread, once (TdkThreadComponent) or every
// interval (TdkThreadTimer).
#pragma once

#include <exception>
#include <functional>

#include "desktop/desktop_component.h"
#include "desktop/desktop_threads.h"
#include "vcl/application.h"
#include "vcl/typinfo.h"

VCL_ENUM_INFO(TThreadPriority, "tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical")

// A call made on the main thread with one argument: the exception a worker raised.
using TdkThreadMethodEx = std::function<void(std::exception_ptr Argument)>;

class TdkCustomThreadComponent : public TdkComponent {
  VCL_CLASS(TdkCustomThreadComponent)
 public:
  explicit TdkCustomThreadComponent(TComponent* AOwner);
  ~TdkCustomThreadComponent() override;

  // At run time these read and write the worker; while designing or loading, the fields.
  TThreadPriority Priority() const;
  void SetPriority(TThreadPriority Value);
  int ReturnValue() const;
  void SetReturnValue(int Value);
  bool Suspended() const;
  void SetSuspended(bool Value);
  bool Synchronized() const;
  void SetSynchronized(bool Value);

  // OnExecute runs on the worker (on the main thread when Synchronized) with the component
  // as Sender. An exception it raises goes to OnException (Sender: the component) on the
  // main thread, or without one to a message box. OnTerminate runs when the worker has
  // ended, OnFinish when it is told to terminate (Sender: the worker, both on the main thread).
  TNotifyEvent OnExecute;
  TExceptionEvent OnException;
  TNotifyEvent OnTerminate;
  TNotifyEvent OnFinish;

  // How long Restart lets the old worker end by itself before it is killed.
  DWORD RestartTimeoutMs = 5000;

  TdkEventThread* Thread() const { return FThread; }

  void Loaded() override;

  // Runs OnExecute once more on a new worker. The old worker is asked to end and given
  // RestartTimeoutMs to do so; only one that does not is killed (TerminateThread).
  virtual void Restart();
  // Runs Method on the main thread through the worker (call it from OnExecute).
  virtual void Synchronize(const std::function<void()>& Method);
  // The same with an argument; ignored while designing or while such a call is pending.
  virtual void SynchronizeEx(const TdkThreadMethodEx& Method, std::exception_ptr Argument);

 protected:
  // Only for descendants that make a worker of their own kind in their constructor.
  struct TNoWorker {};
  TdkCustomThreadComponent(TComponent* AOwner, TNoWorker);

  // On the worker: OnExecute, with an exception handed to HandleException on the main thread.
  virtual void Execute();
  // On the main thread: OnException, or the message box "Thread <name> raised exception
  // class <class> with message "<message>"." over the application window.
  virtual void HandleException(std::exception_ptr E);
  // A new suspended worker bound to Execute.
  virtual TdkEventThread* CreateThread();
  // Installs a new worker, carrying over the priority, the events and Synchronized.
  void InstallThread(TdkEventThread* Worker);
  bool AtRunTime() const { return !HasState(csDesigning); }
  bool ActsOnThread() const { return FThread && !HasState(csDesigning | csLoading | csReading); }

  TdkEventThread* FThread = nullptr;
  TThreadPriority FPriority = tpNormal;
  int FReturnValue = 0;
  bool FSuspended = true;
  bool FSynchronized = false;

 private:
  void DestroyThread();
  bool FSyncPending = false;
};

class TdkThreadComponent : public TdkCustomThreadComponent {
  VCL_CLASS(TdkThreadComponent)
 public:
  explicit TdkThreadComponent(TComponent* AOwner) : TdkCustomThreadComponent(AOwner) {}
};

class TdkCustomThreadTimer : public TdkCustomThreadComponent {
  VCL_CLASS(TdkCustomThreadTimer)
 public:
  explicit TdkCustomThreadTimer(TComponent* AOwner);
  // Disables the timer first.
  ~TdkCustomThreadTimer() override;

  unsigned Interval() const;
  // A running timer starts its current wait again.
  void SetInterval(unsigned Value);
  bool Enabled() const { return !Suspended(); }
  void SetEnabled(bool Value) { SetSuspended(!Value); }
  // The event of each tick (the worker's execute event).
  const TNotifyEvent& OnTimer() const { return OnExecute; }
  void SetOnTimer(const TNotifyEvent& Value) { OnExecute = Value; }

 protected:
  TdkEventThread* CreateThread() override;

 private:
  unsigned FInterval = 1000;
};

class TdkThreadTimer : public TdkCustomThreadTimer {
  VCL_CLASS(TdkThreadTimer)
 public:
  explicit TdkThreadTimer(TComponent* AOwner) : TdkCustomThreadTimer(AOwner) {}
};

// "Thread <name> raised exception class <class> with message "<message>"."
AnsiString ThreadExceptionText(const AnsiString& ComponentName, std::exception_ptr E);
// The class name of an exception ("EConvertError", "std::runtime_error").
AnsiString ExceptionClassName(const std::exception& E);
