#include "app/common/os_version.h"

#include "app/common/text_routines.h"

bool ReadOSVersion(TOSVersionRecord& Record) {
  Record = TOSVersionRecord();
  OSVERSIONINFOEXA ex{};
  ex.dwOSVersionInfoSize = sizeof ex;
  OSVERSIONINFOA& info = reinterpret_cast<OSVERSIONINFOA&>(ex);
  bool extended = GetVersionExA(&info);
  if (!extended) {
    info = OSVERSIONINFOA{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
  }
  Record.Major = info.dwMajorVersion;
  Record.Minor = info.dwMinorVersion;
  Record.Build = info.dwBuildNumber;
  Record.Platform = info.dwPlatformId;
  Record.ServicePack = info.szCSDVersion;
  Record.Extended = extended;
  if (extended) {
    Record.SuiteMask = ex.wSuiteMask;
    Record.ProductType = ex.wProductType;
  } else if (Record.Platform == VER_PLATFORM_WIN32_NT) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
      char value[80] = {};
      DWORD size = sizeof value - 1;
      if (RegQueryValueExA(key, "ProductType", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
          ERROR_SUCCESS)
        Record.RegistryProductType = value;
      RegCloseKey(key);
    }
  }
  return true;
}

namespace {

// Workstations from Vista on, by version; the names stop at the last one this program knows.
const char* WorkstationName(DWORD major, DWORD minor) {
  if (major == 6 && minor == 0) return "Windows Vista";
  if (major == 6 && minor == 1) return "Windows 7";
  if (major == 6 && minor == 2) return "Windows 8";
  if (major == 6 && minor == 3) return "Windows 8.1";
  if (major == 6) return "Windows Vista";
  return "Windows 10";
}

}  // namespace

AnsiString OSVersionText(const TOSVersionRecord& R) {
  AnsiString s;
  auto add = [&](const AnsiString& t, bool blank) { AppendWithBlank(s, t, blank); };
  const char second = R.ServicePack.size() > 1 ? R.ServicePack[1] : '\0';
  if (R.Platform == VER_PLATFORM_WIN32_WINDOWS) {
    if (R.Major == 4 && R.Minor == 0) {
      add("Windows 95", true);
      if (second == 'C' || second == 'B') add(" OSR2", false);
    } else if (R.Major == 4 && R.Minor == 10) {
      add("Windows 98", true);
      if (second == 'A') add(" SE", false);
    } else if (R.Major == 4 && R.Minor == 90) {
      add("Windows Millennium Edition", true);
    }
    return s;
  }
  if (R.Platform != VER_PLATFORM_WIN32_NT) return s;
  if (R.Major < 5) add("Windows NT", true);
  if (R.Major == 5 && R.Minor == 0) add("Windows 2000", true);
  if (R.Extended) {
    if (R.ProductType == VER_NT_WORKSTATION) {
      if (R.Major == 5 && R.Minor == 1) add("Windows XP", true);
      if (R.Major >= 6) add(WorkstationName(R.Major, R.Minor), true);
      if (R.Major < 6) add((R.SuiteMask & VER_SUITE_PERSONAL) ? " Home Edition" : " Professional", false);
    } else if (R.ProductType == VER_NT_SERVER) {
      if (R.Major == 5 && R.Minor == 1) add("Windows .NET", true);
      if (R.Major < 6) {
        if (R.SuiteMask & VER_SUITE_DATACENTER)
          add(" DataCenter Server", false);
        else if (R.SuiteMask & VER_SUITE_ENTERPRISE)
          add(R.Major == 4 ? " Advanced Server" : " Enterprise Server", false);
        else if (R.SuiteMask == VER_SUITE_BLADE)
          add(" Web Server", false);
        else
          add(" Server", false);
      }
    }
  } else {
    if (R.RegistryProductType == "WINNT") add(" Professional", false);
    if (R.RegistryProductType == "LANMANNT") add(" Server", false);
    if (R.RegistryProductType == "SERVERNT") add(" Advanced Server", false);
  }
  if (R.Major > 6)
    add(R.ServicePack + " (Build " + IntToStr(R.Build) + ")", true);
  else
    add("(version " + IntToStr(R.Major) + "." + IntToStr(R.Minor) + ", Build " + IntToStr(R.Build) + " : " +
            R.ServicePack + ")",
        true);
  return s;
}

AnsiString GetOSVersionText() {
  TOSVersionRecord r;
  return ReadOSVersion(r) ? OSVersionText(r) : AnsiString();
}

bool IsWindowsVista() {
  TOSVersionRecord r;
  return ReadOSVersion(r) && r.Major == 6 && r.Minor == 0;
}
