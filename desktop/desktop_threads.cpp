#include "desktop/desktop_threads.h"

void TdkThread::Terminate() {
  TThread::Terminate();
  FFinishRequested.store(true);
  if (OnFinish) Synchronize([this] { OnFinish(this); });
}

TNotifyEvent TdkEventThread::OnExecute() const {
  std::lock_guard<std::mutex> guard(FLock);
  return FOnExecute;
}

void TdkEventThread::SetOnExecute(const TNotifyEvent& Value) {
  std::lock_guard<std::mutex> guard(FLock);
  FOnExecute = Value;
}

void TdkEventThread::Execute() { RunOnce(); }

void TdkEventThread::RunOnce() {
  if (Terminated()) return;
  if (Synchronized.load())
    Synchronize([this] { DoExecute(); });
  else
    DoExecute();
}

void TdkEventThread::DoExecute() {
  TNotifyEvent handler = OnExecute();
  if (handler && !Terminated()) handler(this);
}

TdkTimerThread::TdkTimerThread(bool CreateSuspended) : TdkEventThread(CreateSuspended) {
  // Made now rather than on the first run, so that a wake before the start is not lost.
  FWakeEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  FPaused.store(CreateSuspended);
}

TdkTimerThread::~TdkTimerThread() {
  SetOnExecute(nullptr);
  TThread::Terminate();
  FPaused.store(false);
  Wake();
  // The thread must be gone before the event it waits on.
  if (!Finished()) {
    if (Suspended()) TThread::SetSuspended(false);
    WaitFor();
  }
  if (FWakeEvent) CloseHandle(FWakeEvent);
}

void TdkTimerThread::SetInterval(unsigned Value) {
  if (Value == FInterval.load()) return;
  FInterval.store(Value);
  Wake();
}

void TdkTimerThread::Wake() {
  if (FWakeEvent) SetEvent(FWakeEvent);
}

void TdkTimerThread::SetSuspended(bool Value) {
  FPaused.store(Value);
  if (!Value && Suspended()) TThread::SetSuspended(false);  // the first start
  Wake();
}

void TdkTimerThread::Terminate() {
  TdkEventThread::Terminate();
  Wake();
}

void TdkTimerThread::Execute() {
  while (!Terminated()) {
    const DWORD wait = FPaused.load() ? INFINITE : FInterval.load();
    const DWORD r = WaitForSingleObject(FWakeEvent, wait);
    if (r == WAIT_TIMEOUT && !Terminated() && !FPaused.load()) RunOnce();
    if (r == WAIT_FAILED) break;
  }
}
