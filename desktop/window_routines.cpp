#include "desktop/window_routines.h"

#include <shellapi.h>

#include "desktop/utility_routines.h"
#include "vcl/application.h"

TColor PixelColourUnderCursor() {
  POINT p{};
  GetCursorPos(&p);
  HWND desktop = GetDesktopWindow();
  HDC dc = GetWindowDC(desktop);
  COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(desktop, dc);
  return static_cast<TColor>(c);
}

void FillRectColour(HDC DC, const RECT& Rect, TColor Colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Colour));
  FillRect(DC, &Rect, brush);
  DeleteObject(brush);
}

void FrameRectColour(HDC DC, const RECT& Rect, TColor Colour) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Colour));
  FrameRect(DC, &Rect, brush);
  DeleteObject(brush);
}

void ShowApplication() {
  if (!Application) return;
  if (IsWindow(Application->Handle())) ShowWindow(Application->Handle(), SW_SHOWNORMAL);
  if (Application->MainForm()) Application->MainForm()->SetVisible(true);
}

void HideApplication() {
  if (!Application) return;
  if (IsWindowVisible(Application->Handle())) ShowWindow(Application->Handle(), SW_HIDE);
  if (Application->MainForm()) Application->MainForm()->SetVisible(false);
}

namespace {

struct TInstanceSearch {
  AnsiString ClassName;
  AnsiString Title;
  HWND Own;
  HWND Found;
};

BOOL CALLBACK MatchInstance(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<TInstanceSearch*>(param);
  if (wnd == search->Own) return TRUE;
  char cls[256] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  if (search->ClassName != cls) return TRUE;
  AnsiString text(static_cast<size_t>(GetWindowTextLengthA(wnd)) + 1, '\0');
  text.resize(static_cast<size_t>(Max(GetWindowTextA(wnd, text.data(), static_cast<int>(text.size())), 0)));
  if (text != search->Title) return TRUE;
  search->Found = wnd;
  return FALSE;
}

}  // namespace

HWND FindPreviousInstance() {
  if (!Application) return nullptr;
  TInstanceSearch search{"TApplication", Application->Title(), Application->Handle(), nullptr};
  EnumWindows(&MatchInstance, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

bool ActivatePreviousInstance() {
  HWND wnd = FindPreviousInstance();
  if (!wnd) return false;
  if (IsIconic(wnd))
    OpenIcon(wnd);
  else
    SetForegroundWindow(wnd);
  return true;
}

bool LoadShellIcon(int Index, TIcon* Large, TIcon* Small) {
  HICON large = nullptr, small = nullptr;
  const AnsiString file = SystemFolder() + "shell32.dll";
  if (ExtractIconExA(file.c_str(), Index, &large, &small, 1) == 0) return false;
  if (Large) Large->SetHandle(large); else if (large) DestroyIcon(large);
  if (Small) Small->SetHandle(small); else if (small) DestroyIcon(small);
  return large || small;
}
