#include "desktop/registry_routines.h"

TdkAutoRunKey AutoRunKey(TdkAutoExecKind Kind) {
  static const char* const kBase = "Software\\Microsoft\\Windows\\CurrentVersion\\";
  switch (Kind) {
    case aekMachineRun: return {HKEY_LOCAL_MACHINE, AnsiString(kBase) + "Run"};
    case aekMachineRunOnce: return {HKEY_LOCAL_MACHINE, AnsiString(kBase) + "RunOnce"};
    case aekUserRun: return {HKEY_CURRENT_USER, AnsiString(kBase) + "Run"};
    case aekUserRunOnce: return {HKEY_CURRENT_USER, AnsiString(kBase) + "RunOnce"};
    case aekServiceRun: return {HKEY_LOCAL_MACHINE, AnsiString(kBase) + "RunServices"};
    case aekServiceRunOnce: return {HKEY_LOCAL_MACHINE, AnsiString(kBase) + "RunServicesOnce"};
  }
  return {HKEY_LOCAL_MACHINE, AnsiString(kBase) + "Run"};
}

void OpenRegistryKey(TRegistry& Registry, HKEY Root, const AnsiString& Key) {
  Registry.SetRootKey(Root);
  if (!Registry.OpenKey(Key, true)) throw ERegistryException(Format("Unable to open the %s key", Key.c_str()));
}

void WriteRegistryString(TRegistry& Registry, const AnsiString& Name, const AnsiString& Value) {
  if (Value.find('%') != AnsiString::npos)
    Registry.WriteExpandString(Name, Value);
  else
    Registry.WriteString(Name, Value);
}

namespace {

LONG Notify(const TdkRegistryNotification& n) {
  return RegNotifyChangeKeyValue(n.Key, n.SubTree, n.Filter, n.Event, TRUE);
}

}  // namespace

HANDLE ArmRegistryNotification(TdkRegistryNotification& Notification, HKEY Key, bool SubTree, DWORD Filter) {
  Notification.Key = Key;
  Notification.SubTree = SubTree;
  Notification.Filter = Filter;
  Notification.Event = INVALID_HANDLE_VALUE;
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!event) return INVALID_HANDLE_VALUE;
  Notification.Event = event;
  LONG r = Notify(Notification);
  if (r == ERROR_SUCCESS && WaitForSingleObject(event, 0) == WAIT_OBJECT_0) r = Notify(Notification);
  if (r != ERROR_SUCCESS) {
    CloseHandle(event);
    Notification.Event = INVALID_HANDLE_VALUE;
    SetLastError(static_cast<DWORD>(r));
    return INVALID_HANDLE_VALUE;
  }
  return event;
}

void RearmRegistryNotification(TdkRegistryNotification& Notification) {
  if (Notification.Event == INVALID_HANDLE_VALUE) return;
  ResetEvent(Notification.Event);
  Notify(Notification);
}

void CloseValidHandle(HANDLE& Handle) {
  if (Handle != INVALID_HANDLE_VALUE && Handle) CloseHandle(Handle);
  Handle = INVALID_HANDLE_VALUE;
}
