#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "tests/support/pump.h"
#include "vcl/threads.h"

namespace {

// A worker whose body is given by the test.
class TTestThread : public TThread {
 public:
  TTestThread(bool suspended, std::function<void(TTestThread&)> body)
      : TThread(suspended), FBody(std::move(body)) {}
  using TThread::Synchronize;
  bool* freedFlag = nullptr;
  ~TTestThread() override {
    if (freedFlag) *freedFlag = true;
  }

 protected:
  void Execute() override { FBody(*this); }

 private:
  std::function<void(TTestThread&)> FBody;
};

// An event the test owns: one thread sets it, the other waits on it a bounded time.
class TTestEvent {
 public:
  TTestEvent() : FHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~TTestEvent() { CloseHandle(FHandle); }
  void Set() { SetEvent(FHandle); }
  bool Wait(DWORD timeoutMs = 10000) { return WaitForSingleObject(FHandle, timeoutMs) == WAIT_OBJECT_0; }

 private:
  HANDLE FHandle;
};

class Threads : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
};

TEST_F(Threads, SynchronisedCallRunsOnTheMainThreadWhileTheWorkerWaits) {
  std::vector<int> order;  // touched on the main thread only
  std::atomic<int> mismatches{0};
  auto* t = TThread::Create<TTestThread>(false, [&](TTestThread& self) {
    for (int i = 0; i < 50; ++i) {
      size_t before = 0;
      self.Synchronize([&] {
        if (GetCurrentThreadId() != MainThreadID) ++mismatches;
        before = order.size();
        order.push_back(i);
      });
      // The call has run completely before Synchronize returns.
      if (order.size() != before + 1) ++mismatches;
    }
    self.ReturnValue = 7;
  });
  ASSERT_TRUE(PumpUntil([&] { return t->Finished(); }));
  EXPECT_EQ(t->WaitFor(), 7);
  EXPECT_EQ(mismatches, 0);
  ASSERT_EQ(order.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[static_cast<size_t>(i)], i);
  EXPECT_FALSE(t->FatalException);
  delete t;
}

TEST_F(Threads, ExceptionsReachTheWorkerAndFatalException) {
  std::string caught;
  auto* t = TThread::Create<TTestThread>(false, [&](TTestThread& self) {
    try {
      self.Synchronize([] { throw Exception("thrown on the main thread"); });
    } catch (const Exception& e) {
      caught = e.Message;
    }
    throw EConvertError("escaped Execute");
  });
  t->WaitFor();  // services the synchronised call itself
  EXPECT_EQ(caught, "thrown on the main thread");
  ASSERT_TRUE(t->FatalException);
  try {
    std::rethrow_exception(t->FatalException);
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "escaped Execute");
  }
  delete t;
}

TEST_F(Threads, SuspendedThreadRunsOnStartAndFreesItselfWhenAsked) {
  std::atomic<bool> ran{false};
  bool freed = false;
  auto* t = TThread::Create<TTestThread>(true, [&](TTestThread&) { ran = true; });
  t->freedFlag = &freed;
  EXPECT_TRUE(t->Suspended());
  EXPECT_FALSE(PumpUntil([&] { return ran.load(); }, 100));
  t->SetFreeOnTerminate(true);
  t->Start();
  EXPECT_TRUE(PumpUntil([&] { return freed; }));
  EXPECT_TRUE(ran);
}

TEST_F(Threads, TerminateIsSeenByTheWorkerAndDestructionWaits) {
  std::atomic<bool> looping{false};
  std::atomic<bool> left{false};
  auto* t = TThread::Create<TTestThread>(false, [&](TTestThread& self) {
    looping = true;
    // Terminate sets a flag and nothing else: poll it, but not for ever.
    for (DWORD start = GetTickCount(); !self.Terminated() && GetTickCount() - start < 10000;) Sleep(1);
    left = self.Terminated();
  });
  ASSERT_TRUE(PumpUntil([&] { return looping.load(); }));
  delete t;  // terminates and waits
  EXPECT_TRUE(left);
}

TEST_F(Threads, SynchronisedCallsRunInsideAModalLoop) {
  // The main thread sits in a message box's own loop; the worker's call still runs there,
  // and closes the box.
  std::atomic<bool> boxOpen{false};
  TTestEvent aboutToOpen;
  bool ranInBox = false;
  auto* t = TThread::Create<TTestThread>(true, [&](TTestThread& self) {
    if (!aboutToOpen.Wait()) return;
    self.Synchronize([&] {
      ranInBox = boxOpen;
      HWND box = nullptr;
      EnumThreadWindows(
          MainThreadID,
          [](HWND w, LPARAM p) -> BOOL {
            char cls[32] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (std::string(cls) != "#32770") return TRUE;
            *reinterpret_cast<HWND*>(p) = w;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&box));
      if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
  });
  t->Start();
  boxOpen = true;
  aboutToOpen.Set();
  MessageBoxA(Application->Handle(), "waiting for the worker", "modal", MB_OK);
  boxOpen = false;
  t->WaitFor();
  EXPECT_TRUE(ranInBox);
  delete t;
}

TEST_F(Threads, DroppedCallsNeverRunAndReleaseTheWorker) {
  TTestEvent aboutToSync;
  std::atomic<int> returned{0};
  bool ran = false;
  auto* t = TThread::Create<TTestThread>(false, [&](TTestThread& self) {
    aboutToSync.Set();
    self.Synchronize([&] { ran = true; });
    ++returned;
    self.Synchronize([&] { ran = true; });  // after the drop: returns at once
    ++returned;
  });
  // Not pumping: the first call stays queued (or has yet to be queued).
  ASSERT_TRUE(aboutToSync.Wait());
  t->DropSynchronize();
  // No servicing: the worker must not need it.
  ASSERT_EQ(WaitForSingleObject(t->Handle(), 10000), WAIT_OBJECT_0);
  EXPECT_EQ(returned, 2);
  Application->ProcessMessages();
  EXPECT_FALSE(ran);
  delete t;
}

TEST_F(Threads, WaitingWithoutAQueueEventStillServicesTheCalls) {
  // The queue's event may be missing; the wait then looks at the queue by itself.
  int ran = 0;
  auto* t = TThread::Create<TTestThread>(false, [&](TTestThread& self) {
    for (int i = 0; i < 3; ++i) self.Synchronize([&] { ++ran; });
  });
  WaitServicingSyncCalls(t->Handle(), nullptr);
  EXPECT_EQ(ran, 3);
  delete t;
}

}  // namespace
