// The Unicode platform layer: whether the system has the wide ("W") entry points,
// and one wrapper per Windows function the wide text layer needs. On the NT family
// a wrapper calls the W function with the text as it is; otherwise it converts the
// text to ConversionCodePage, calls the A function and converts the results back,
// so that callers always see the W function's contract.
#pragma once

#include "vcl/sysutils.h"

// Set once at start-up, before any window exists; read-only afterwards.
extern bool UnicodePlatform;        // the system reports the NT platform (VER_PLATFORM_WIN32_NT)
extern bool PlatformIsXPOrLater;    // version 5.1 or later
extern bool PlatformIs2003OrLater;  // version 5.2 or later
extern bool PlatformIsVistaOrLater; // major version 6 or later

struct TPlatformVersion {
  DWORD PlatformId = 0;
  DWORD Major = 0;
  DWORD Minor = 0;
};

// What the system reports about itself.
TPlatformVersion ReadPlatformVersion();
// Sets the platform and version flags from Version. The layer runs this itself
// during program initialisation with ReadPlatformVersion(), after the codec unit
// has chosen ConversionCodePage (InitConversionCodePage, codecs.h).
void InitPlatformFlags(const TPlatformVersion& Version);
