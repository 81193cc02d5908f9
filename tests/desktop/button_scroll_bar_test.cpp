// The two-button scroll bar: button places, limits, and stepping by real mouse messages
// with the repeat while a button is held.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "desktop/button_scroll_bar.h"
#include "tests/vcl/test_windows.h"

using namespace testwin;
using namespace button_scroll_bar_layout;

namespace {

TEST(ButtonScrollBarLayout, ButtonsShareTheRoomWhenItHoldsLessThanTwo) {
  struct Case {
    int length, margin, size, extent;
  } cases[] = {{30, 0, 17, 15}, {100, 0, 17, 17}, {34, 0, 17, 17}, {30, 5, 17, 10}, {10, 5, 17, 0}, {8, 5, 17, 0}};
  for (const Case& c : cases) EXPECT_EQ(ButtonExtent(c.length, c.margin, c.size), c.extent) << c.length << "/" << c.margin;
  RECT up = ButtonRect(sbVertical, true, 17, 30, 0, 17);
  RECT down = ButtonRect(sbVertical, false, 17, 30, 0, 17);
  EXPECT_EQ(up.top, 0);
  EXPECT_EQ(up.bottom, 15);
  EXPECT_EQ(down.top, 15);
  EXPECT_EQ(down.bottom, 30);
  RECT left = ButtonRect(sbHorizontal, true, 100, 17, 3, 17);
  RECT right = ButtonRect(sbHorizontal, false, 100, 17, 3, 17);
  EXPECT_EQ(left.left, 3);
  EXPECT_EQ(left.right, 20);
  EXPECT_EQ(right.left, 80);
  EXPECT_EQ(right.right, 97);
  RECT none = ButtonRect(sbVertical, true, 17, 8, 5, 17);
  EXPECT_TRUE(IsRectEmpty(&none));
}

struct ScrollBar : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(300, 200)};
  TdkScrollBar* bar = MakeBar();
  int changes = 0;
  TdkScrollBar* MakeBar() {
    auto* b = new TdkScrollBar(host.get());
    b->SetParent(host.get());
    b->SetBounds(20, 20, 40, 120);
    b->OnChange = [this](TObject*) { ++changes; };
    return b;
  }
  POINT Centre(bool first) {
    RECT r;
    bar->GetButtonRect(first, r);
    return POINT{bar->Left() + (r.left + r.right) / 2, bar->Top() + (r.top + r.bottom) / 2};
  }
  void Press(bool first, UINT msg) {
    POINT p = Centre(first);
    PostMessageA(host->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
  }
};

TEST_F(ScrollBar, SizesItselfFromTheSystemAndSwapsSidesWithItsKind) {
  EXPECT_EQ(bar->Width(), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(bar->Height(), 120);
  EXPECT_EQ(bar->ButtonSize(), GetSystemMetrics(SM_CYVSCROLL));
  bar->SetKind(sbHorizontal);
  EXPECT_EQ(bar->Width(), 120);
  EXPECT_EQ(bar->Height(), GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(ScrollBar, LimitsKeepMinMaxAndPositionInOrder) {
  bar->SetPosition(150);
  EXPECT_EQ(bar->Position(), 100);
  bar->SetMin(200);
  EXPECT_EQ(bar->Min(), 100);
  EXPECT_EQ(bar->Position(), 100);
  bar->SetMax(50);
  EXPECT_EQ(bar->Min(), 50);
  EXPECT_EQ(bar->Position(), 50);
  bar->SetPosition(-3);
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_FALSE(bar->Step(true));
  EXPECT_FALSE(bar->Step(false));
  EXPECT_EQ(changes, 2);  // 0 -> 100 -> 50
}

TEST_F(ScrollBar, AHeldButtonStepsAgainUntilReleasedAndAHiddenOneDoesNothing) {
  bar->SetPosition(0);
  Press(true, WM_LBUTTONDOWN);  // hidden at Min: nothing
  Press(true, WM_LBUTTONUP);
  Flush();
  EXPECT_EQ(bar->Position(), 0);

  bar->SetTimerInterval(20);
  POINT screen = Centre(false);
  ClientToScreen(host->Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  Press(false, WM_LBUTTONDOWN);
  EXPECT_TRUE(DispatchUntil([&] { return bar->Position() >= 3; }));
  Press(false, WM_LBUTTONUP);
  Flush();
  int released = bar->Position();
  Flush();
  EXPECT_EQ(bar->Position(), released);  // the repeat stopped
  EXPECT_EQ(changes, released);
}

}  // namespace
