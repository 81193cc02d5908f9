// Which Windows the program runs on: one version value, decided once from what the system
// reports (the platform, major and minor version, service text, the kernel's file version on
// the old 9x line, and the product type and processor of NT systems).
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

enum TWindowsVersion {
  wvUnknown,
  wvWin95,
  wvWin95OSR2,
  wvWin98,
  wvWin98SE,
  wvWinME,
  wvWinNT31,
  wvWinNT35,
  wvWinNT351,
  wvWinNT4,
  wvWin2000,
  wvWinXP,
  wvWin2003,
  wvWinXP64,
  wvWin2003R2,
  wvWinVista,
  wvWinServer2008,
  wvWin7,
  wvWinServer2008R2,
  wvWin8,
  wvWinServer2012,
  wvWin81,
  wvWinServer2012R2,
  wvWin10,
  wvWinServer2016,
};

// What the decision reads, gathered from the system or given by a test.
struct TWindowsVersionFacts {
  DWORD Platform = VER_PLATFORM_WIN32_NT;  // VER_PLATFORM_WIN32_WINDOWS for the 9x line
  DWORD Major = 0;
  DWORD Minor = 0;
  AnsiString ServiceText;                  // szCSDVersion
  DWORD KernelMajor = 0;                   // file version of the kernel (9x line only)
  DWORD KernelMinor = 0;
  int ServerR2 = 0;                        // GetSystemMetrics(SM_SERVERR2)
  WORD NativeArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
  BYTE ProductType = VER_NT_WORKSTATION;
};

TWindowsVersion DecideWindowsVersion(const TWindowsVersionFacts& Facts);

// The facts of this system (the native processor from GetNativeSystemInfo when kernel32 has
// it).
TWindowsVersionFacts ReadWindowsVersionFacts();

// This system's version, decided on first use.
TWindowsVersion GetWindowsVersion();
// The system's processor count, allocation granularity and page size.
struct TSystemFacts {
  DWORD ProcessorCount;
  DWORD AllocationGranularity;
  DWORD PageSize;
  bool IsWinNT;
};
const TSystemFacts& GetSystemFacts();
