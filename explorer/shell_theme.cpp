#include "explorer/shell_theme.h"

#include <windows.h>

#include <vector>

namespace {

struct TThemeLibrary {
  int Users = 0;
  HMODULE Handle = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  BOOL(WINAPI* IsAppThemed)() = nullptr;
  bool LoadedAtStart = false;
  bool ComCtl6 = false;
  int ComCtlVersion = 0;  // 0: not asked yet
};

TThemeLibrary& Library() {
  static TThemeLibrary library;
  return library;
}

// Taken once, before anyone asks: whether the library was there and the controls are 6.0+.
struct TThemeStart {
  TThemeStart() {
    TThemeLibrary& lib = Library();
    lib.LoadedAtStart = InitThemeLibrary();
    lib.ComCtl6 = GetComCtlVersion() >= 0x60000;
  }
  ~TThemeStart() {
    while (Library().Users > 0) FreeThemeLibrary();
  }
};

const TThemeStart& ThemeStart() {
  static TThemeStart start;
  return start;
}

// The start-up reading happens with the program's start, not at the first question.
const TThemeStart& gThemeStart = ThemeStart();

}  // namespace

bool InitThemeLibrary() {
  TThemeLibrary& lib = Library();
  ++lib.Users;
  if (!lib.Handle) {
    lib.Handle = LoadLibraryA("uxtheme.dll");
    if (lib.Handle) {
      lib.IsThemeActive = reinterpret_cast<BOOL(WINAPI*)()>(GetProcAddress(lib.Handle, "IsThemeActive"));
      lib.IsAppThemed = reinterpret_cast<BOOL(WINAPI*)()>(GetProcAddress(lib.Handle, "IsAppThemed"));
    }
  }
  return lib.Handle != nullptr;
}

void FreeThemeLibrary() {
  TThemeLibrary& lib = Library();
  if (lib.Users > 0) --lib.Users;
  if (lib.Handle && lib.Users == 0) {
    FreeLibrary(lib.Handle);
    lib.Handle = nullptr;
    lib.IsThemeActive = nullptr;
    lib.IsAppThemed = nullptr;
  }
}

bool UseThemes() {
  TThemeLibrary& lib = Library();
  return lib.Handle && lib.IsAppThemed && lib.IsThemeActive && lib.IsAppThemed() && lib.IsThemeActive();
}

int GetComCtlVersion() {
  TThemeLibrary& lib = Library();
  if (lib.ComCtlVersion != 0) return lib.ComCtlVersion;
  lib.ComCtlVersion = -1;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA("comctl32.dll", &ignored);
  if (size == 0) return lib.ComCtlVersion;
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (GetFileVersionInfoA("comctl32.dll", 0, size, data.data()) &&
      VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) && info &&
      length >= sizeof(VS_FIXEDFILEINFO))
    lib.ComCtlVersion = static_cast<int>(info->dwFileVersionMS);
  return lib.ComCtlVersion;
}

bool ThemeServicesActive() {
  const TThemeStart& start = ThemeStart();
  (void)start;
  TThemeLibrary& lib = Library();
  return lib.LoadedAtStart && UseThemes() && lib.ComCtl6;
}
