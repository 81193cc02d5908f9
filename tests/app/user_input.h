// A user's mouse on the program's windows: real input through SendInput, at the places the
// controls report for their items.
#pragma once

#include <gtest/gtest.h>
#include <commctrl.h>
#include <windows.h>

#include "desktop/image_list_box.h"
#include "tests/support/pump.h"
#include "widetext/uni_list_view.h"

namespace apptest {

// Clicks (Count times, quickly enough to make a double click) at a point of a window.
inline void ClickAt(HWND Window, POINT Client, int Count) {
  POINT screen = Client;
  ClientToScreen(Window, &screen);
  SetCursorPos(screen.x, screen.y);
  // The input goes to the window under the point: wait until the window shows there.
  EXPECT_TRUE(PumpUntil([&] { return WindowFromPoint(screen) == Window; }, 3000));
  for (int i = 0; i < Count; ++i) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
  }
}

inline POINT MiddleOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A double click as the system delivers it to the window under the mouse: down, up, the
// double-click message, up. Posted to the list box itself, so that no other input of the
// desktop (nor the system's double-click timing) can split the pair.
inline void DoubleClickItem(TdkImageListBox* List, int Index) {
  RECT r{};
  ASSERT_NE(SendMessageA(List->Handle(), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r)), LB_ERR);
  const POINT p = MiddleOf(r);
  const LPARAM at = MAKELPARAM(p.x, p.y);
  const HWND w = List->Handle();
  PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(w, WM_LBUTTONUP, 0, at);
  PostMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(w, WM_LBUTTONUP, 0, at);
}

inline void ClickAreaItem(TUniListView* List, int Index) {
  RECT r{};
  r.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageA(List->Handle(), LVM_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r)));
  ClickAt(List->Handle(), MiddleOf(r), 1);
}

}  // namespace apptest
