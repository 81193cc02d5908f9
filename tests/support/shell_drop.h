// Files dropped on a window as the shell drops them: a DROPFILES block in global memory.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

// Wide names, NUL-separated, an extra NUL; the receiver releases the block (DragFinish).
inline HGLOBAL MakeShellDrop(const std::vector<std::wstring>& Names, POINT Point) {
  size_t chars = 1;
  for (const auto& n : Names) chars += n.size() + 1;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(GlobalLock(h));
  df->pFiles = sizeof(DROPFILES);
  df->pt = Point;
  df->fWide = TRUE;
  auto* p = reinterpret_cast<wchar_t*>(df + 1);
  for (const auto& n : Names) {
    std::copy(n.begin(), n.end(), p);
    p += n.size() + 1;
  }
  GlobalUnlock(h);
  return h;
}
