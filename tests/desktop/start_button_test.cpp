// The start button properties, against a desktop without a start button (Wine's) and
// against a taskbar window of the shell's class with a button inside, made by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include "desktop/start_button.h"

namespace {

TEST(StartButton, WithoutATaskbarEverythingReadsAbsentAndWritesDoNothing) {
  // Wine's desktop keeps a hidden taskbar window without a start button inside.
  HWND bar = FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_TRUE(!bar || !FindWindowExA(bar, nullptr, "Button", nullptr)) << "this desktop has a start button";
  TdkStartButtonProperties start(nullptr);
  EXPECT_EQ(start.ButtonWindow(), nullptr);
  start.SetButtonLeft(10);
  start.SetButtonWidth(99);
  start.SetEnabled(true);
  start.SetVisible(true);
  EXPECT_EQ(start.ButtonLeft(), 0);
  EXPECT_EQ(start.ButtonTop(), 0);
  EXPECT_EQ(start.ButtonWidth(), 0);
  EXPECT_EQ(start.ButtonHeight(), 0);
  EXPECT_FALSE(start.Enabled());
  EXPECT_FALSE(start.Visible());
}

struct FakeTaskbar {
  HWND Bar = nullptr;
  HWND Button = nullptr;
  FakeTaskbar() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&wc);
    Bar = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0, 700, 800, 30, nullptr,
                          nullptr, wc.hInstance, nullptr);
    Button = CreateWindowA("Button", "start", WS_CHILD | WS_VISIBLE, 2, 3, 50, 24, Bar, nullptr, wc.hInstance,
                           nullptr);
  }
  ~FakeTaskbar() {
    DestroyWindow(Bar);
    UnregisterClassA("Shell_TrayWnd", GetModuleHandleA(nullptr));
  }
  RECT ButtonRect() {
    RECT r;
    GetWindowRect(Button, &r);
    MapWindowPoints(nullptr, Bar, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
};

TEST(StartButton, ReadsAndMovesTheButtonOfTheTaskbar) {
  FakeTaskbar taskbar;
  // The newest top-level window is found first, ahead of any hidden one of the desktop's.
  ASSERT_EQ(FindWindowA("Shell_TrayWnd", nullptr), taskbar.Bar);
  TdkStartButtonProperties start(nullptr);
  ASSERT_EQ(start.ButtonWindow(), taskbar.Button);
  EXPECT_EQ(start.ButtonLeft(), 2);
  EXPECT_EQ(start.ButtonTop(), 3);
  EXPECT_EQ(start.ButtonWidth(), 50);
  EXPECT_EQ(start.ButtonHeight(), 24);

  // What is read can be written back: each setter changes its own value only.
  start.SetButtonWidth(start.ButtonWidth());
  start.SetButtonWidth(70);
  start.SetButtonTop(1);
  RECT r = taskbar.ButtonRect();
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 1);
  EXPECT_EQ(r.right - r.left, 70);
  EXPECT_EQ(r.bottom - r.top, 24);

  EXPECT_TRUE(start.Enabled());
  start.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(taskbar.Button));
  EXPECT_FALSE(start.Enabled());
  start.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(taskbar.Button));
  EXPECT_FALSE(start.Visible());
  start.SetVisible(true);
  EXPECT_TRUE(start.Visible());

  // A button that goes away reads as absent.
  DestroyWindow(taskbar.Button);
  EXPECT_EQ(start.ButtonLeft(), 0);
  EXPECT_FALSE(start.Visible());
}

}  // namespace
