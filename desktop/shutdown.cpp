#include "desktop/shutdown.h"


#include "desktop/system_version.h"
#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& ShutdownProperties() {
  using T = TdkShutdown;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("ActionType", &T::ActionType).Default(aatPowerOff)
      .Property("Force", &T::Force).Default(false)
      .Property("OnQueryShutdown", &T::OnQueryShutdown)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkShutdown, TdkComponent, &CreateComponentOf<TdkShutdown>, &ShutdownProperties)

bool EnableShutdownPrivilege() {
  HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, GetCurrentProcessId());
  if (!process) return false;
  HANDLE token = nullptr;
  bool ok = OpenProcessToken(process, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
  TOKEN_PRIVILEGES privileges{};
  if (ok) ok = LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  if (ok) {
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    ok = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) && GetLastError() == ERROR_SUCCESS;
  }
  if (token) CloseHandle(token);
  CloseHandle(process);
  return ok;
}

TdkShutdownCalls SystemShutdownCalls() {
  return {&EnableShutdownPrivilege, [](UINT flags, DWORD reason) { return ExitWindowsEx(flags, reason); },
          [](BOOL suspend, BOOL force) { return SetSystemPowerState(suspend, force); }};
}

UINT ExitWindowsFlags(TdkShutdownActionType Action, bool Force) {
  UINT flags = 0;
  switch (Action) {
    case aatPowerOff: flags = EWX_POWEROFF; break;
    case aatShutdown: flags = EWX_SHUTDOWN; break;
    case aatReboot: flags = EWX_REBOOT; break;
    case aatLogOff: flags = EWX_LOGOFF; break;
    default: return 0;
  }
  return Force ? flags | EWX_FORCE : flags;
}

void TdkShutdown::DoQueryShutdown(bool& CanShutdown) {
  if (OnQueryShutdown) OnQueryShutdown(this, CanShutdown);
}

bool TdkShutdown::Execute() {
  if (SystemVersion().IsWinNT && (!Calls.EnableShutdownPrivilege || !Calls.EnableShutdownPrivilege())) return false;
  bool canShutdown = true;
  DoQueryShutdown(canShutdown);
  if (!canShutdown) return false;
  switch (ActionType) {
    case aatSuspend: return Calls.SetPowerState && Calls.SetPowerState(TRUE, Force);
    case aatHibernate: return Calls.SetPowerState && Calls.SetPowerState(FALSE, Force);
    default: return Calls.ExitSession && Calls.ExitSession(ExitWindowsFlags(ActionType, Force), 0);
  }
}
