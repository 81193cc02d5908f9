// Saves a window's picture as it stands on the screen, so that a run can be looked at.
#pragma once

#include <windows.h>

#include "vcl/pictures.h"

inline void SaveWindowShot(HWND Window, const AnsiString& File) {
  RECT r;
  GetWindowRect(Window, &r);
  TBitmap bmp;
  bmp.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(bmp.Canvas()->Handle(), 0, 0, bmp.Width(), bmp.Height(), screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  bmp.SaveToFile(File);
}
