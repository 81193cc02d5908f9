// Tests that need the classic look switch the application's themed controls off.
#pragma once

#include <windows.h>

#include "vcl/themes.h"

// Switches themed controls off for the application while it lives.
class TClassicLookScope {
 public:
  TClassicLookScope() {
    FLibrary = LoadLibraryA("uxtheme.dll");
    if (FLibrary) FSet = reinterpret_cast<void(WINAPI*)(DWORD)>(GetProcAddress(FLibrary, "SetThemeAppProperties"));
    if (FSet) FSet(0);
    ThemeServices()->UpdateThemes();
  }
  ~TClassicLookScope() {
    if (FSet) FSet(1 | 2 | 4);
    ThemeServices()->UpdateThemes();
    if (FLibrary) FreeLibrary(FLibrary);
  }

 private:
  HMODULE FLibrary = nullptr;
  void(WINAPI* FSet)(DWORD) = nullptr;
};
