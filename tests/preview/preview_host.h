// A top-level window for the preview's controls (what the application's form is), and a
// look at what the screen shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "vcl/controls.h"

// No caption: under Xvfb without a window manager Wine waits for one when a managed
// top-level window is hidden or destroyed.
class TPreviewHost : public TWinControl {
 public:
  explicit TPreviewHost(TComponent* owner) : TWinControl(owner) {
    ControlStyle |= csAcceptsControls;
    SetVisible(false);
    SetColor(clBtnFace);
    SetBounds(40, 40, 320, 240);
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.WndParent = nullptr;
  }
  bool IsTopLevelWindow() const override { return true; }
};

// The screen's pixels of a rectangle (screen coordinates), as 0x00RRGGBB values row by row.
struct TScreenShot {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

inline TScreenShot GrabScreen(const RECT& r) {
  TScreenShot shot;
  shot.Width = r.right - r.left;
  shot.Height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.Width;
  info.bmiHeader.biHeight = -shot.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, shot.Width, shot.Height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  auto* p = static_cast<const uint32_t*>(bits);
  shot.Pixels.assign(p, p + static_cast<size_t>(shot.Width) * shot.Height);
  for (auto& px : shot.Pixels) px &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}
