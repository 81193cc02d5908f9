#include "explorer/tree_drag_loop.h"

#include <cstdlib>

#include "explorer/shell_dir_tree.h"
#include "vcl/scopeexit.h"
#include "vcl/windowbinding.h"

namespace {

// The folder tree under a point of the screen, and the point in its client coordinates.
TShDirTree* TreeAt(POINT Screen, POINT& Client) {
  HWND wnd = WindowFromPoint(Screen);
  auto* tree = dynamic_cast<TShDirTree*>(wnd ? FindControl(wnd) : nullptr);
  if (!tree) return nullptr;
  Client = Screen;
  ScreenToClient(wnd, &Client);
  return tree;
}

// Where a mouse message happened, on the screen (its own coordinates: posted messages too).
POINT ScreenPointOf(const MSG& Msg) {
  POINT p{static_cast<short>(LOWORD(Msg.lParam)), static_cast<short>(HIWORD(Msg.lParam))};
  ClientToScreen(Msg.hwnd, &p);
  return p;
}

}  // namespace

void FollowDragOntoTree(TObject* Source, HWND Wnd, const std::function<bool(TShDirTree*)>& Eligible) {
  SetCapture(Wnd);
  ScopeExit release{[Wnd] {
    if (GetCapture() == Wnd) ReleaseCapture();
  }};
  HCURSOR allowed = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  HCURSOR refused = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_NO));
  MSG msg;
  while (GetCapture() == Wnd && GetMessageW(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      POINT at{};
      TShDirTree* target = TreeAt(ScreenPointOf(msg), at);
      bool accept = false;
      if (target && Eligible(target)) target->DragOver(Source, at.x, at.y, dsDragMove, accept);
      if (msg.message == WM_MOUSEMOVE) {
        ::SetCursor(accept ? allowed : refused);
        continue;
      }
      ReleaseCapture();
      if (accept) target->DragDrop(Source, at.x, at.y);
      return;
    }
    if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) return;
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool FollowUntilDragDistance(HWND Wnd, POINT Origin, int Extra) {
  const int dx = GetSystemMetrics(SM_CXDRAG) + Extra, dy = GetSystemMetrics(SM_CYDRAG) + Extra;
  SetCapture(Wnd);
  ScopeExit release{[Wnd] {
    if (GetCapture() == Wnd) ReleaseCapture();
  }};
  MSG msg;
  while (GetCapture() == Wnd && GetMessageW(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_MOUSEMOVE) {
      POINT at = ScreenPointOf(msg);
      ScreenToClient(Wnd, &at);
      if (std::abs(at.x - Origin.x) >= dx || std::abs(at.y - Origin.y) >= dy) return true;
      continue;
    }
    if (msg.message == WM_LBUTTONUP) {
      // A press that stayed a press: the window ends it as usual.
      ReleaseCapture();
      DispatchMessageW(&msg);
      return false;
    }
    if ((msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) || msg.message == WM_RBUTTONDOWN) return false;
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return false;
}
