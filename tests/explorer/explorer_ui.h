// Helpers of the explorer window tests: acting from inside a modal loop once a window is
// up, and saving what the screen shows for a look.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>

// Runs Action once, from the message loop of whoever pumps (a modal form's included), as
// soon as Ready() holds; checked on a thread timer every 20 ms.
class TWhenReady {
 public:
  TWhenReady(std::function<bool()> Ready, std::function<void()> Action)
      : FReady(std::move(Ready)), FAction(std::move(Action)) {
    FId = SetTimer(nullptr, 0, 20, &TWhenReady::Tick);
    Timers()[FId] = this;
  }
  ~TWhenReady() { Stop(); }
  TWhenReady(const TWhenReady&) = delete;
  TWhenReady& operator=(const TWhenReady&) = delete;
  bool Done() const { return FDone; }

 private:
  static std::map<UINT_PTR, TWhenReady*>& Timers() {
    static std::map<UINT_PTR, TWhenReady*> timers;
    return timers;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR Id, DWORD) {
    auto it = Timers().find(Id);
    if (it == Timers().end()) return;
    TWhenReady* self = it->second;
    if (self->FDone || !self->FReady()) return;
    self->Stop();
    self->FDone = true;
    self->FAction();
  }
  void Stop() {
    if (!FId) return;
    KillTimer(nullptr, FId);
    Timers().erase(FId);
    FId = 0;
  }

  std::function<bool()> FReady;
  std::function<void()> FAction;
  UINT_PTR FId = 0;
  bool FDone = false;
};

// Saves the whole screen as a 24-bit BMP under the folder named by KAVO_SHOTS (Windows
// path), when that is set; for looking at windows after a run. Every window paints first.
inline void SaveScreenShot(const char* Name) {
  const char* folder = std::getenv("KAVO_SHOTS");
  if (!folder || !*folder) return;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND Wnd, LPARAM) -> BOOL {
        RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return TRUE;
      },
      0);
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + size;
  std::string path = std::string(folder) + "\\" + Name + ".bmp";
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(f, &fh, sizeof fh, &written, nullptr);
  WriteFile(f, &bi.bmiHeader, sizeof bi.bmiHeader, &written, nullptr);
  WriteFile(f, bits, size, &written, nullptr);
  CloseHandle(f);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}
