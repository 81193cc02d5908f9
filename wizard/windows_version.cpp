#include "wizard/windows_version.h"

#include "wizard/file_version.h"

namespace {

AnsiString Trimmed(const AnsiString& s) {
  size_t first = s.find_first_not_of(" \t");
  if (first == AnsiString::npos) return AnsiString();
  size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

TWindowsVersion Decide9x(const TWindowsVersionFacts& f) {
  const AnsiString service = Trimmed(f.ServiceText);
  if (f.Minor == 90 || (f.KernelMajor == 4 && f.KernelMinor == 90)) return wvWinME;
  if (f.Minor < 10) return service == "B" || service == "C" ? wvWin95OSR2 : wvWin95;
  if (f.Minor < 90) return service == "A" || service == "B" ? wvWin98SE : wvWin98;
  return wvUnknown;
}

TWindowsVersion DecideNT(const TWindowsVersionFacts& f) {
  const bool workstation = f.ProductType == VER_NT_WORKSTATION;
  switch (f.Major) {
    case 3:
      if (f.Minor == 1) return wvWinNT31;
      if (f.Minor == 5) return wvWinNT35;
      if (f.Minor == 51) return wvWinNT351;
      return wvUnknown;
    case 4:
      return wvWinNT4;
    case 5:
      if (f.Minor == 0) return wvWin2000;
      if (f.Minor == 1) return wvWinXP;
      if (f.Minor == 2) {
        if (f.ServerR2 != 0) return wvWin2003R2;
        if (f.NativeArchitecture == PROCESSOR_ARCHITECTURE_INTEL) return wvWin2003;
        return workstation ? wvWinXP64 : wvWin2003;
      }
      return wvUnknown;
    case 6:
      // The releases after Vista keep major version 6 up to 8.1.
      switch (f.Minor) {
        case 0: return workstation ? wvWinVista : wvWinServer2008;
        case 1: return workstation ? wvWin7 : wvWinServer2008R2;
        case 2: return workstation ? wvWin8 : wvWinServer2012;
        case 3: return workstation ? wvWin81 : wvWinServer2012R2;
        default: return wvUnknown;
      }
    case 10:
      return workstation ? wvWin10 : wvWinServer2016;
    default:
      return wvUnknown;
  }
}

}  // namespace

TWindowsVersion DecideWindowsVersion(const TWindowsVersionFacts& Facts) {
  if (Facts.Platform == VER_PLATFORM_WIN32_WINDOWS) return Decide9x(Facts);
  if (Facts.Platform == VER_PLATFORM_WIN32_NT) return DecideNT(Facts);
  return wvUnknown;
}

TWindowsVersionFacts ReadWindowsVersionFacts() {
  TWindowsVersionFacts facts;
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
    facts.Platform = info.dwPlatformId;
    facts.Major = info.dwMajorVersion;
    facts.Minor = info.dwMinorVersion;
    facts.ServiceText = info.szCSDVersion;
    facts.ProductType = info.wProductType;
  }
  facts.ServerR2 = GetSystemMetrics(SM_SERVERR2);
  SYSTEM_INFO system{};
  using TGetNativeSystemInfo = void(WINAPI*)(SYSTEM_INFO*);
  auto native = reinterpret_cast<TGetNativeSystemInfo>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo")));
  if (native) native(&system);
  else GetSystemInfo(&system);
  facts.NativeArchitecture = system.wProcessorArchitecture;
  if (facts.Platform != VER_PLATFORM_WIN32_NT) {
    VS_FIXEDFILEINFO kernel{};
    if (GetFixedFileInfo(ModuleFileName(GetModuleHandleA("kernel32.dll")), kernel)) {
      facts.KernelMajor = HIWORD(kernel.dwFileVersionMS);
      facts.KernelMinor = LOWORD(kernel.dwFileVersionMS);
    }
  }
  return facts;
}

TWindowsVersion GetWindowsVersion() {
  static const TWindowsVersion version = DecideWindowsVersion(ReadWindowsVersionFacts());
  return version;
}

const TSystemFacts& GetSystemFacts() {
  static const TSystemFacts facts = [] {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    bool nt = GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
    return TSystemFacts{system.dwNumberOfProcessors, system.dwAllocationGranularity, system.dwPageSize, nt};
  }();
  return facts;
}
