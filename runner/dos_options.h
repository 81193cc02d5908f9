// The child's window state and creation flag as the runner's properties name them, and
// the system values they stand for.
#pragma once

#include <windows.h>

enum TShowWindow {
  swHIDE,
  swMAXIMIZE,
  swMINIMIZE,
  swRESTORE,
  swSHOW,
  swSHOWDEFAULT,
  swSHOWMAXIMIZED,
  swSHOWMINIMIZED,
  swSHOWMINNOACTIVE,
  swSHOWNA,
  swSHOWNOACTIVATE,
  swSHOWNORMAL,
};

enum TCreationFlag {
  fCREATE_DEFAULT_ERROR_MODE,
  fCREATE_NEW_CONSOLE,
  fCREATE_NEW_PROCESS_GROUP,
  fCREATE_SEPARATE_WOW_VDM,
  fCREATE_SHARED_WOW_VDM,
  fCREATE_SUSPENDED,
  fCREATE_UNICODE_ENVIRONMENT,
  fDEBUG_PROCESS,
  fDEBUG_ONLY_THIS_PROCESS,
  fDETACHED_PROCESS,
};

// Indexed by the enumerations' ordinals.
extern const WORD ShowWindowValues[swSHOWNORMAL + 1];
extern const DWORD CreationFlagValues[fDETACHED_PROCESS + 1];
