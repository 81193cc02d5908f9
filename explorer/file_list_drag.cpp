// Rows of the file list dragged onto a node of its folder tree: the mouse is followed until
// the button comes up, and the tree copies or moves the files into the node's folder.
#include <windows.h>
#include <commctrl.h>

#include "explorer/file_list_view.h"
#include "explorer/shell_dir_tree.h"
#include "vcl/scopeexit.h"
#include "vcl/windowbinding.h"

namespace {

// The folder tree under a point of the screen, and the point in its client coordinates.
TShDirTree* DropTreeAt(POINT Screen, POINT& Client) {
  HWND wnd = WindowFromPoint(Screen);
  auto* tree = dynamic_cast<TShDirTree*>(wnd ? FindControl(wnd) : nullptr);
  if (!tree) return nullptr;
  Client = Screen;
  ScreenToClient(wnd, &Client);
  return tree;
}

POINT ScreenPointOf(const MSG& Msg) {
  POINT p{static_cast<short>(LOWORD(Msg.lParam)), static_cast<short>(HIWORD(Msg.lParam))};
  ClientToScreen(Msg.hwnd, &p);
  return p;
}

}  // namespace

void TShFileListView::DragRowsToTree() {
  if (!FDirTree || !FDirTree->DragDropEnabled || SelectedRows().empty() || !HandleAllocated()) return;
  HWND wnd = WindowHandle();
  SetCapture(wnd);
  ScopeExit release{[wnd] {
    if (GetCapture() == wnd) ReleaseCapture();
  }};
  HCURSOR allowed = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  HCURSOR refused = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_NO));
  MSG msg;
  while (GetCapture() == wnd && GetMessageW(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
      POINT at{};
      TShDirTree* target = DropTreeAt(ScreenPointOf(msg), at);
      bool accept = false;
      // Only the linked tree takes the rows: it knows them as its file list's.
      if (target == FDirTree) target->DragOver(this, at.x, at.y, dsDragMove, accept);
      if (msg.message == WM_MOUSEMOVE) {
        SetCursor(accept ? allowed : refused);
        continue;
      }
      ReleaseCapture();
      if (accept) target->DragDrop(this, at.x, at.y);
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
