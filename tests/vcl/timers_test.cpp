#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "tests/support/pump.h"
#include "vcl/timers.h"
#include "vcl/utilwnd.h"

namespace {

class Timers : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
};

TEST_F(Timers, TicksOnTheMainThreadUntilDisabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  bool offThread = false;
  timer.SetInterval(20);
  timer.SetOnTimer([&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    if (GetCurrentThreadId() != MainThreadID) offThread = true;
    ++ticks;
  });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }, 3000));
  EXPECT_FALSE(offThread);
  timer.SetEnabled(false);
  int after = ticks;
  PumpUntil([] { return false; }, 150);
  EXPECT_EQ(ticks, after);
  // Re-enabling arms it again.
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks > after; }, 3000));
}

// A timer made disabled (as a job's timers are, most of which never run) costs no window
// until it is armed: enabled with an interval.
TEST_F(Timers, ATimerMadeDisabledHasNoWindowUntilItIsArmed) {
  TTimer timer(nullptr, false);
  int ticks = 0;
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  EXPECT_EQ(timer.WindowHandle(), nullptr);
  timer.SetInterval(0);
  timer.SetEnabled(true);
  EXPECT_EQ(timer.WindowHandle(), nullptr);
  timer.SetInterval(20);
  const HWND window = timer.WindowHandle();
  ASSERT_TRUE(IsWindow(window));
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 3000));
  // Disarmed and armed again, it keeps its window.
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  EXPECT_EQ(timer.WindowHandle(), window);
}

BOOL CALLBACK CountWindow(HWND Wnd, LPARAM Found) {
  auto* f = reinterpret_cast<std::pair<HWND, bool>*>(Found);
  if (Wnd == f->first) f->second = true;
  return TRUE;
}

// Whether Wnd is among the thread's top-level windows (a message-only window is not).
bool IsTopLevelOfThread(HWND Wnd) {
  std::pair<HWND, bool> found{Wnd, false};
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

// Both kinds of utility window: sent and posted messages reach the handler until the
// window goes; only the message window stays off the desktop.
TEST_F(Timers, HandlerWindowsGetTheirMessagesUntilDeallocated) {
  for (bool messageOnly : {false, true}) {
    SCOPED_TRACE(messageOnly ? "message window" : "utility window");
    std::vector<WPARAM> seen;
    TWindowHandler handler = [&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      if (msg == WM_USER + 1) {
        seen.push_back(wp);
        return static_cast<LRESULT>(wp + 1);
      }
      return DefWindowProcA(w, msg, wp, lp);
    };
    HWND wnd = messageOnly ? AllocateMessageHWnd(handler) : AllocateHWnd(handler);
    ASSERT_TRUE(IsWindow(wnd));
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_EQ(IsTopLevelOfThread(wnd), !messageOnly);
    EXPECT_EQ(SendMessageA(wnd, WM_USER + 1, 41, 0), 42);
    ASSERT_TRUE(PostMessageA(wnd, WM_USER + 1, 7, 0));
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == 2; }, 3000));
    char cls[32] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "TPUtilWindow");
    DeallocateHWnd(wnd);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(seen, (std::vector<WPARAM>{41, 7}));
  }
}

}  // namespace
