// Registry routines of the desktop components: the keys of programs started with Windows,
// the writer of their values, and armed change notifications of a key.
#pragma once

#include <windows.h>

#include "vcl/registry.h"

enum TdkAutoExecKind {
  aekMachineRun,
  aekMachineRunOnce,
  aekUserRun,
  aekUserRunOnce,
  aekServiceRun,
  aekServiceRunOnce,
};

struct TdkAutoRunKey {
  HKEY Root;
  AnsiString Path;  // "Software\Microsoft\Windows\CurrentVersion\Run" and the like
};
TdkAutoRunKey AutoRunKey(TdkAutoExecKind Kind);

// Opens the key (created when missing) under Root: ERegistryException "Unable to open the %s
// key" when it cannot. The caller owns the registry object.
void OpenRegistryKey(TRegistry& Registry, HKEY Root, const AnsiString& Key);
// Writes Value as an expandable string when it holds "%", else as a plain string.
void WriteRegistryString(TRegistry& Registry, const AnsiString& Name, const AnsiString& Value);

// A change notification armed on a key: RegNotifyChangeKeyValue signals Event (manual reset)
// once the key changes. Arm again after each signal.
struct TdkRegistryNotification {
  HKEY Key = nullptr;
  bool SubTree = false;
  DWORD Filter = 0;
  HANDLE Event = INVALID_HANDLE_VALUE;
};
// Records the parameters, creates the event and arms it; returns the event, or
// INVALID_HANDLE_VALUE with the last error set.
HANDLE ArmRegistryNotification(TdkRegistryNotification& Notification, HKEY Key, bool SubTree, DWORD Filter);
// Resets the event and arms it again; an invalid event is left alone.
void RearmRegistryNotification(TdkRegistryNotification& Notification);
// Closes a handle unless it is INVALID_HANDLE_VALUE (or null), and marks it invalid.
void CloseValidHandle(HANDLE& Handle);
