// The system-version flags of the desktop components, decided once from what GetVersionEx
// reports: the platform, the major and minor version and the service-pack text.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

enum TdkWindowsKind {
  wkOther = 0,  // not in the table: a system after those it names
  wkWinNT3 = 1,
  wkWin95 = 2,
  wkWin95OSR2 = 3,
  wkWinNT4 = 4,
  wkWin98 = 5,
  wkWin98SE = 6,
  wkWinME = 7,
  wkWin2000 = 8,
  wkWinXP = 9,
  wkWinNTLater = 10,
};

struct TdkVersionFlags {
  TdkWindowsKind Kind = wkOther;
  bool IsWinNT3 = false, IsWin95 = false, IsWin95OSR2 = false, IsWinNT4 = false;
  bool IsWin98 = false, IsWin98SE = false, IsWinME = false;
  bool IsWin2000 = false, IsWin2K = false;  // Windows 2000 answers to both names
  bool IsWinXP = false, IsWinNTLater = false;
  bool IsWin9x = false, IsWinNT = false;    // the platform
  bool IsWin98OrLater = false, IsWin2000OrLater = false, IsWinXPOrLater = false;
};

// The kind of system a version report describes.
TdkWindowsKind DetectWindowsKind(DWORD Platform, DWORD Major, DWORD Minor, const AnsiString& ServiceText);
// Every flag for such a report.
TdkVersionFlags VersionFlagsOf(DWORD Platform, DWORD Major, DWORD Minor, const AnsiString& ServiceText);

// This system's flags.
const TdkVersionFlags& SystemVersion();

// SetLayeredWindowAttributes of user32, or null where the system lacks it.
using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
TSetLayeredWindowAttributes SetLayeredWindowAttributesProc();
