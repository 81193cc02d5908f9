// Logs off, shuts down, restarts, suspends or hibernates the machine, after asking the program.
#pragma once

#include <windows.h>

#include <functional>

#include "desktop/desktop_component.h"
#include "vcl/typinfo.h"

enum TdkShutdownActionType { aatPowerOff, aatShutdown, aatReboot, aatLogOff, aatSuspend, aatHibernate };
VCL_ENUM_INFO(TdkShutdownActionType, "aatPowerOff", "aatShutdown", "aatReboot", "aatLogOff", "aatSuspend",
              "aatHibernate")

using TdkQueryShutdownEvent = std::function<void(TObject* Sender, bool& CanShutdown)>;

// The system calls the component makes; a test puts its own in their place (ending the
// session would end every process of the test run).
struct TdkShutdownCalls {
  std::function<bool()> EnableShutdownPrivilege;
  std::function<BOOL(UINT Flags, DWORD Reason)> ExitSession;
  std::function<BOOL(BOOL Suspend, BOOL Force)> SetPowerState;
};
// The real ones.
TdkShutdownCalls SystemShutdownCalls();
// Enables SeShutdownPrivilege in the process's token; false on any failure.
bool EnableShutdownPrivilege();

// The ExitWindowsEx flags of an action (0 for suspend and hibernate).
UINT ExitWindowsFlags(TdkShutdownActionType Action, bool Force);

class TdkShutdown : public TdkComponent {
  VCL_CLASS(TdkShutdown)
 public:
  explicit TdkShutdown(TComponent* AOwner) : TdkComponent(AOwner) {}

  TdkShutdownActionType ActionType = aatPowerOff;
  bool Force = false;
  // Asked before anything happens; clearing CanShutdown cancels.
  TdkQueryShutdownEvent OnQueryShutdown;
  TdkShutdownCalls Calls = SystemShutdownCalls();

  // On NT enables the shutdown privilege first; returns whether the action was started.
  virtual bool Execute();

 protected:
  virtual void DoQueryShutdown(bool& CanShutdown);
};
