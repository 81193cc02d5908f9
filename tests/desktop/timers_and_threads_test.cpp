#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "desktop/custom_timer.h"
#include "desktop/thread_components.h"
#include "tests/support/pump.h"

namespace {

class DesktopTimers : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
};

// KillTimer answers whether the window held the timer (and takes it away).
bool HoldsSystemTimer(const TdkCustomTimer& timer) { return KillTimer(timer.WindowHandle(), 1) != 0; }

TEST_F(DesktopTimers, TicksOnTheMainThreadWhileItShould) {
  TdkCustomTimer timer(nullptr);
  int ticks = 0;
  bool onMain = true;
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject* Sender) {
    EXPECT_EQ(Sender, &timer);
    onMain = onMain && GetCurrentThreadId() == MainThreadID;
    ++ticks;
  });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_TRUE(onMain);
  timer.SetEnabled(false);
  const int stopped = ticks;
  Application->ProcessMessages();
  EXPECT_EQ(ticks, stopped);
  EXPECT_FALSE(HoldsSystemTimer(timer));
}

TEST_F(DesktopTimers, HoldsNoSystemTimerWithoutIntervalOrHandler) {
  TdkCustomTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_FALSE(HoldsSystemTimer(timer)) << "no OnTimer yet";
  timer.SetOnTimer([](TObject*) {});
  EXPECT_TRUE(HoldsSystemTimer(timer));
  timer.SetInterval(0);
  EXPECT_FALSE(HoldsSystemTimer(timer));
  timer.SetInterval(50);
  timer.SetOnTimer(nullptr);
  EXPECT_FALSE(HoldsSystemTimer(timer));
}

TEST_F(DesktopTimers, AnExceptionOfATickGoesToTheApplication) {
  TdkCustomTimer timer(nullptr);
  AnsiString reported;
  TObject* sender = nullptr;
  Application->OnException = [&](TObject* Sender, const std::exception& E) {
    sender = Sender;
    reported = E.what();
  };
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) {
    timer.SetEnabled(false);
    throw EConvertError("tick failed");
  });
  EXPECT_TRUE(PumpUntil([&] { return !reported.empty(); }));
  Application->OnException = nullptr;
  EXPECT_EQ(reported, "tick failed");
  EXPECT_EQ(sender, &timer);
}

class DesktopThreadComponents : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
};

TEST_F(DesktopThreadComponents, RunsOnceOnTheWorkerThenTerminates) {
  TdkThreadComponent c(nullptr);
  c.SetName("Worker");
  EXPECT_TRUE(c.Suspended());
  std::atomic<DWORD> ranOn{0};
  bool terminated = false, finished = false;
  c.OnExecute = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &c);
    ranOn = GetCurrentThreadId();
  };
  c.OnTerminate = [&](TObject* Sender) {
    EXPECT_EQ(GetCurrentThreadId(), MainThreadID);
    EXPECT_EQ(Sender, c.Thread());
    terminated = true;
  };
  c.OnFinish = [&](TObject*) { finished = true; };
  c.SetPriority(tpLower);
  EXPECT_EQ(c.Priority(), tpLower);
  c.SetSuspended(false);
  ASSERT_TRUE(PumpUntil([&] { return terminated; }));
  EXPECT_NE(ranOn.load(), 0u);
  EXPECT_NE(ranOn.load(), MainThreadID);
  EXPECT_FALSE(finished) << "OnFinish belongs to Terminate";
  c.Thread()->Terminate();
  EXPECT_TRUE(finished);
  EXPECT_TRUE(c.Thread()->FinishRequested());
}

TEST_F(DesktopThreadComponents, SynchronizedRunsOnTheMainThread) {
  TdkThreadComponent c(nullptr);
  std::atomic<DWORD> ranOn{0};
  c.SetSynchronized(true);
  c.OnExecute = [&](TObject*) { ranOn = GetCurrentThreadId(); };
  c.SetSuspended(false);
  ASSERT_TRUE(PumpUntil([&] { return ranOn.load() != 0; }));
  EXPECT_EQ(ranOn.load(), MainThreadID);
}

TEST_F(DesktopThreadComponents, AnExceptionReachesOnExceptionOnTheMainThread) {
  TdkThreadComponent c(nullptr);
  AnsiString message;
  TObject* sender = nullptr;
  DWORD thread = 0;
  c.OnExecute = [](TObject*) { throw EConvertError("bad number"); };
  c.OnException = [&](TObject* Sender, const std::exception& E) {
    sender = Sender;
    message = E.what();
    thread = GetCurrentThreadId();
  };
  c.SetSuspended(false);
  ASSERT_TRUE(PumpUntil([&] { return !message.empty(); }));
  EXPECT_EQ(message, "bad number");
  EXPECT_EQ(sender, &c);
  EXPECT_EQ(thread, MainThreadID);
}

TEST_F(DesktopThreadComponents, WithoutOnExceptionAMessageBoxNamesThreadClassAndMessage) {
  EXPECT_EQ(ThreadExceptionText("Loader", std::make_exception_ptr(EConvertError("'x' is not a number"))),
            "Thread Loader raised exception class EConvertError with message \"'x' is not a number\".");
  EXPECT_EQ(ThreadExceptionText("T", std::make_exception_ptr(std::runtime_error("boom"))),
            "Thread T raised exception class std::runtime_error with message \"boom\".");

  Application->SetTitle("Thread test");
  TdkThreadComponent c(nullptr);
  c.SetName("Loader");
  std::atomic<bool> done{false};
  c.OnExecute = [](TObject*) { throw EConvertError("'x' is not a number"); };
  c.OnTerminate = [&](TObject*) { done = true; };
  TMessageBoxWatcher watcher;
  c.SetSuspended(false);
  ASSERT_TRUE(PumpUntil([&] { return done.load(); }));
  EXPECT_TRUE(watcher.Seen());
  EXPECT_EQ(watcher.Caption(), "Thread test");
  EXPECT_EQ(watcher.Text(), "Thread Loader raised exception class EConvertError with message \"'x' is not a number\".");
}

TEST_F(DesktopThreadComponents, RestartRunsANewWorker) {
  TdkThreadComponent c(nullptr);
  std::atomic<int> runs{0};
  c.OnExecute = [&](TObject*) { ++runs; };
  c.SetSuspended(false);
  ASSERT_TRUE(PumpUntil([&] { return runs.load() == 1; }));
  TdkEventThread* first = c.Thread();
  c.Restart();
  EXPECT_NE(c.Thread(), first);
  ASSERT_TRUE(PumpUntil([&] { return runs.load() == 2; }));
  EXPECT_FALSE(c.Suspended());
}

TEST_F(DesktopThreadComponents, RestartAsksABusyWorkerToEndBeforeForcingIt) {
  TdkThreadComponent c(nullptr);
  // Each run does what the phase asks: 0 watches Terminated, 1 returns, 2 never returns.
  std::atomic<int> phase{0}, started{0};
  std::atomic<bool> politeEnded{false};
  HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  c.OnExecute = [&](TObject*) {
    TdkEventThread* self = c.Thread();
    const int mine = phase.load();
    ++started;
    if (mine == 0) {
      while (!self->Terminated()) Sleep(1);
      politeEnded = true;
    } else if (mine == 2) {
      WaitForSingleObject(never, INFINITE);
    }
  };
  c.SetSuspended(false);
  ASSERT_TRUE(PumpUntil([&] { return started.load() == 1; }));
  phase = 1;
  c.Restart();
  EXPECT_TRUE(politeEnded.load()) << "the old worker was asked to end and waited for, not killed";
  ASSERT_TRUE(PumpUntil([&] { return started.load() == 2; }));

  // One that never looks is killed after the time-out.
  phase = 2;
  c.Restart();
  ASSERT_TRUE(PumpUntil([&] { return started.load() == 3; }));
  HANDLE stuck = nullptr;
  DuplicateHandle(GetCurrentProcess(), c.Thread()->Handle(), GetCurrentProcess(), &stuck, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  phase = 1;
  c.RestartTimeoutMs = 200;
  const DWORD before = GetTickCount();
  c.Restart();
  EXPECT_GE(GetTickCount() - before, 150u);
  EXPECT_EQ(WaitForSingleObject(stuck, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "the stuck worker is gone";
  ASSERT_TRUE(PumpUntil([&] { return started.load() == 4; }));
  CloseHandle(stuck);
  CloseHandle(never);
}

TEST_F(DesktopThreadComponents, ThreadTimerTicksUntilDisabled) {
  TdkThreadTimer t(nullptr);
  EXPECT_FALSE(t.Enabled());
  EXPECT_EQ(t.Interval(), 1000u);
  std::atomic<int> ticks{0};
  t.SetInterval(10);
  t.SetOnTimer([&](TObject* Sender) {
    EXPECT_EQ(Sender, &t);
    ++ticks;
  });
  t.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks.load() >= 3; }));
  t.SetEnabled(false);
  EXPECT_FALSE(t.Enabled());
  EXPECT_FALSE(t.Thread()->Finished()) << "disabling pauses the worker, it does not end it";
}

TEST_F(DesktopThreadComponents, ANewIntervalRestartsTheCurrentWait) {
  TdkThreadTimer t(nullptr);
  std::atomic<int> ticks{0};
  t.SetOnTimer([&](TObject*) { ++ticks; });
  t.SetInterval(60000);
  t.SetEnabled(true);
  // The minute-long wait is under way; a short interval takes effect at once.
  const DWORD before = GetTickCount();
  t.SetInterval(20);
  EXPECT_EQ(t.Interval(), 20u);
  ASSERT_TRUE(PumpUntil([&] { return ticks.load() >= 1; }, 5000));
  EXPECT_LT(GetTickCount() - before, 5000u);
}

TEST_F(DesktopThreadComponents, DestroyingARunningComponentEndsItsWorker) {
  std::atomic<int> ticks{0};
  HANDLE worker = nullptr;
  {
    TdkThreadTimer t(nullptr);
    t.SetInterval(1);
    t.SetSynchronized(true);  // ticks wait for the main thread, which is destroying it
    t.SetOnTimer([&](TObject*) { ++ticks; });
    t.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return ticks.load() >= 2; }));
    DuplicateHandle(GetCurrentProcess(), t.Thread()->Handle(), GetCurrentProcess(), &worker, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  }
  EXPECT_EQ(WaitForSingleObject(worker, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(worker);
  const int after = ticks.load();
  Application->ProcessMessages();
  EXPECT_EQ(ticks.load(), after);
}

}  // namespace
