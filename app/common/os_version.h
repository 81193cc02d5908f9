// The operating system's description for the start-up log, decided from a version record
// so that every branch can be checked without the system it names.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

struct TOSVersionRecord {
  DWORD Major = 0, Minor = 0, Build = 0;
  DWORD Platform = 0;        // VER_PLATFORM_WIN32_WINDOWS 1, VER_PLATFORM_WIN32_NT 2
  AnsiString ServicePack;    // szCSDVersion
  bool Extended = false;     // the suite mask and product type below are known
  WORD SuiteMask = 0;
  BYTE ProductType = 0;      // VER_NT_WORKSTATION 1, VER_NT_SERVER 3
  // Without the extended record: the registry's ProductType ("WINNT", "LANMANNT", ...).
  AnsiString RegistryProductType;
};

// Fills the record from the system (GetVersionEx, the extended record first, else the basic
// one with the registry's product type); false when the system answers neither.
bool ReadOSVersion(TOSVersionRecord& Record);
AnsiString OSVersionText(const TOSVersionRecord& Record);
// The running system's description; empty when its version cannot be read.
AnsiString GetOSVersionText();
bool IsWindowsVista();
