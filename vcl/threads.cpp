#include "vcl/threads.h"

#include <process.h>

#include <deque>
#include <mutex>

// Static initialisation runs on the thread that starts the program.
DWORD MainThreadID = GetCurrentThreadId();
std::function<void()> WakeMainThread;

// --- synchronised calls -------------------------------------------------------

// One call waiting for the main thread. It lives on the worker's stack: the worker does
// not return from Synchronize before the call has run or has been dropped.
struct TSyncCall {
  const std::function<void()>* fn;
  TThread* thread;
  std::exception_ptr error;
};

struct TSyncQueue {
  std::mutex lock;
  std::deque<TSyncCall*> calls;
  // Set when a call is queued while WaitFor waits on the main thread; only then, as each
  // event costs a round trip to the system (the wineserver under Wine) on the hot path.
  HANDLE queued = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<int> waiters{0};

  static TSyncQueue& Get() {
    static TSyncQueue queue;
    return queue;
  }
};

bool CheckSynchronize() {
  if (GetCurrentThreadId() != MainThreadID)
    throw EThread("CheckSynchronize may only be called on the main thread");
  TSyncQueue& q = TSyncQueue::Get();
  bool ran = false;
  // One call at a time: a handler may pump messages (a message box, a modal form) and so
  // run later calls itself, or drop a worker's calls; nothing is held outside the queue.
  for (;;) {
    TSyncCall* call;
    {
      std::lock_guard<std::mutex> guard(q.lock);
      if (q.calls.empty()) break;
      call = q.calls.front();
      q.calls.pop_front();
    }
    try {
      (*call->fn)();
    } catch (...) {
      call->error = std::current_exception();
    }
    // The worker may be gone as soon as it is released: touch nothing of it afterwards.
    SetEvent(call->thread->FSyncDone);
    ran = true;
  }
  return ran;
}

void TThread::Synchronize(const std::function<void()>& fn) {
  if (GetCurrentThreadId() == MainThreadID) {
    fn();
    return;
  }
  TSyncCall call{&fn, this, nullptr};
  TSyncQueue& q = TSyncQueue::Get();
  {
    std::lock_guard<std::mutex> guard(q.lock);
    if (FSyncDropped.load()) return;
    q.calls.push_back(&call);
  }
  if (q.queued && q.waiters.load()) SetEvent(q.queued);
  if (WakeMainThread) WakeMainThread();
  WaitForSingleObject(FSyncDone, INFINITE);
  if (call.error) std::rethrow_exception(call.error);
}

void WaitServicingSyncCalls(HANDLE Thread, HANDLE QueuedEvent) { WaitServicingSyncCalls(Thread, QueuedEvent, INFINITE); }

bool WaitServicingSyncCalls(HANDLE Thread, HANDLE QueuedEvent, DWORD TimeoutMs) {
  const DWORD start = GetTickCount();
  bool ended = false;
  TSyncQueue& q = TSyncQueue::Get();
  HANDLE handles[2] = {Thread, QueuedEvent};
  // Counted before the queue is looked at: a call queued after the look sets the event.
  q.waiters.fetch_add(1);
  for (;;) {
    CheckSynchronize();
    // Without an event to be woken by (or when waiting on it fails), the queue is looked
    // at every few milliseconds instead.
    DWORD wait = INFINITE;
    if (TimeoutMs != INFINITE) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= TimeoutMs) {
        ended = WaitForSingleObject(Thread, 0) == WAIT_OBJECT_0;
        break;
      }
      wait = TimeoutMs - spent;
    }
    const DWORD r = QueuedEvent ? WaitForMultipleObjects(2, handles, FALSE, wait) : WaitForSingleObject(Thread, wait < 5 ? wait : 5);
    if (r == WAIT_OBJECT_0) {
      ended = true;
      break;
    }
    if (r == WAIT_FAILED) {
      if (!QueuedEvent) break;  // the thread's handle itself is unusable
      QueuedEvent = nullptr;
    }
  }
  q.waiters.fetch_sub(1);
  return ended;
}

void TThread::DropSynchronize() {
  TSyncQueue& q = TSyncQueue::Get();
  std::lock_guard<std::mutex> guard(q.lock);
  FSyncDropped.store(true);
  for (auto it = q.calls.begin(); it != q.calls.end();) {
    if ((*it)->thread == this) {
      it = q.calls.erase(it);
      SetEvent(FSyncDone);
    } else {
      ++it;
    }
  }
}

// --- TThread --------------------------------------------------------------------

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {
  FSyncDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  unsigned id = 0;
  FHandle = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &TThread::ThreadProc, this,
                                                    CREATE_SUSPENDED, &id));
  if (!FHandle || !FSyncDone) {
    DWORD err = GetLastError();
    if (FSyncDone) CloseHandle(FSyncDone);
    throw EThread(Format("Thread creation error: %s", SysErrorMessage(err).c_str()));
  }
  FThreadID = id;
}

TThread::~TThread() {
  if (FThreadID && GetCurrentThreadId() != FThreadID && !FFinished.load()) {
    // Nobody else may free it now, and it must not free itself under our feet.
    FFreeOnTerminate.store(false);
    Terminate();
    if (!FStarted) {
      FSkipExecute = true;  // never started: the derived parts are gone already
      Start();
    } else if (FSuspended) {
      FSuspended = false;
      ResumeThread(FHandle);
    }
    WaitFor();
  }
  if (FHandle) CloseHandle(FHandle);
  if (FSyncDone) CloseHandle(FSyncDone);
}

void TThread::AfterConstruction() {
  if (!FCreateSuspended) Start();
}

void TThread::Start() {
  if (FStarted) return;
  FStarted = true;
  FSuspended = false;
  ResumeThread(FHandle);
}

void TThread::SetSuspended(bool Value) {
  if (Value == FSuspended) return;
  if (!Value && !FStarted) {
    Start();
    return;
  }
  if (Value) {
    if (SuspendThread(FHandle) != static_cast<DWORD>(-1)) FSuspended = true;
  } else {
    ResumeThread(FHandle);
    FSuspended = false;
  }
}

namespace {

const int kPriorities[] = {THREAD_PRIORITY_IDLE,   THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                           THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                           THREAD_PRIORITY_TIME_CRITICAL};

}  // namespace

TThreadPriority TThread::Priority() const {
  const int p = GetThreadPriority(FHandle);
  for (int i = 0; i <= tpTimeCritical; ++i)
    if (kPriorities[i] == p) return static_cast<TThreadPriority>(i);
  return tpNormal;
}

void TThread::SetPriority(TThreadPriority Value) { SetThreadPriority(FHandle, kPriorities[Value]); }

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

bool TThread::WaitFor(DWORD TimeoutMs) {
  if (GetCurrentThreadId() == MainThreadID) return WaitServicingSyncCalls(FHandle, TSyncQueue::Get().queued, TimeoutMs);
  return WaitForSingleObject(FHandle, TimeoutMs) == WAIT_OBJECT_0;
}

int TThread::WaitFor() {
  if (GetCurrentThreadId() == MainThreadID) {
    WaitServicingSyncCalls(FHandle, TSyncQueue::Get().queued);
  } else {
    WaitForSingleObject(FHandle, INFINITE);
  }
  DWORD code = 0;
  GetExitCodeThread(FHandle, &code);
  return static_cast<int>(code);
}

unsigned __stdcall TThread::ThreadProc(void* param) {
  auto* t = static_cast<TThread*>(param);
  try {
    if (!t->FSkipExecute) t->Execute();
  } catch (...) {
    t->FatalException = std::current_exception();
  }
  try {
    if (!t->FSkipExecute) t->DoTerminate();
  } catch (...) {
  }
  auto result = static_cast<unsigned>(t->ReturnValue);
  bool freeIt = t->FFreeOnTerminate.load();
  // Once finished, the owner may free the object at any moment.
  t->FFinished.store(true);
  if (freeIt) delete t;
  return result;
}
