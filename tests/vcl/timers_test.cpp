#include <gtest/gtest.h>

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

TEST_F(Timers, HandlerWindowsGetTheirMessagesUntilDeallocated) {
  std::vector<UINT> seen;
  HWND wnd = AllocateHWnd([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_USER + 1) {
      seen.push_back(msg);
      return static_cast<LRESULT>(wp + 1);
    }
    return DefWindowProcA(w, msg, wp, lp);
  });
  ASSERT_TRUE(IsWindow(wnd));
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_EQ(SendMessageA(wnd, WM_USER + 1, 41, 0), 42);
  char cls[32] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  EXPECT_STREQ(cls, "TPUtilWindow");
  DeallocateHWnd(wnd);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
