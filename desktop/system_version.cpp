#include "desktop/system_version.h"

TdkWindowsKind DetectWindowsKind(DWORD Platform, DWORD Major, DWORD Minor, const AnsiString& ServiceText) {
  // The 9x line reports its second editions by one letter of service text (" B ", "A").
  const AnsiString service = Trim(ServiceText);
  if (Platform == VER_PLATFORM_WIN32_WINDOWS) {
    switch (Minor) {
      case 0: return service == "B" ? wkWin95OSR2 : wkWin95;
      case 10: return service == "A" ? wkWin98SE : wkWin98;
      case 90: return wkWinME;
      default: return wkOther;
    }
  }
  if (Platform == VER_PLATFORM_WIN32_NT) {
    switch (Major) {
      case 3: return wkWinNT3;
      case 4: return wkWinNT4;
      case 5:
        switch (Minor) {
          case 0: return wkWin2000;
          case 1: return wkWinXP;
          case 2: return wkWinNTLater;
          default: return wkOther;
        }
      default: return wkOther;
    }
  }
  return wkOther;
}

TdkVersionFlags VersionFlagsOf(DWORD Platform, DWORD Major, DWORD Minor, const AnsiString& ServiceText) {
  TdkVersionFlags f;
  f.Kind = DetectWindowsKind(Platform, Major, Minor, ServiceText);
  f.IsWinNT3 = f.Kind == wkWinNT3;
  f.IsWin95 = f.Kind == wkWin95;
  f.IsWin95OSR2 = f.Kind == wkWin95OSR2;
  f.IsWinNT4 = f.Kind == wkWinNT4;
  f.IsWin98 = f.Kind == wkWin98;
  f.IsWin98SE = f.Kind == wkWin98SE;
  f.IsWinME = f.Kind == wkWinME;
  f.IsWin2000 = f.IsWin2K = f.Kind == wkWin2000;
  f.IsWinXP = f.Kind == wkWinXP;
  f.IsWinNTLater = f.Kind == wkWinNTLater;
  f.IsWin9x = Platform == VER_PLATFORM_WIN32_WINDOWS;
  f.IsWinNT = Platform == VER_PLATFORM_WIN32_NT;
  // A system the table does not know is taken to be newer than all it knows.
  f.IsWin98OrLater = f.Kind >= wkWin98 || f.Kind == wkOther;
  f.IsWin2000OrLater = f.Kind >= wkWin2000 || f.Kind == wkOther;
  f.IsWinXPOrLater = f.Kind >= wkWinXP || f.Kind == wkOther;
  return f;
}

const TdkVersionFlags& SystemVersion() {
  static const TdkVersionFlags flags = [] {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return TdkVersionFlags{};
#pragma GCC diagnostic pop
    return VersionFlagsOf(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.szCSDVersion);
  }();
  return flags;
}

TSetLayeredWindowAttributes SetLayeredWindowAttributesProc() {
  static const TSetLayeredWindowAttributes proc = reinterpret_cast<TSetLayeredWindowAttributes>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetLayeredWindowAttributes")));
  return proc;
}
