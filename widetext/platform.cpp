#include "widetext/platform.h"

bool UnicodePlatform = false;
bool PlatformIsXPOrLater = false;
bool PlatformIs2003OrLater = false;
bool PlatformIsVistaOrLater = false;

TPlatformVersion ReadPlatformVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  TPlatformVersion v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&info)) {
#pragma GCC diagnostic pop
    v.PlatformId = info.dwPlatformId;
    v.Major = info.dwMajorVersion;
    v.Minor = info.dwMinorVersion;
  }
  return v;
}

void InitPlatformFlags(const TPlatformVersion& Version) {
  UnicodePlatform = Version.PlatformId == VER_PLATFORM_WIN32_NT;
  PlatformIsXPOrLater = Version.Major > 5 || (Version.Major == 5 && Version.Minor >= 1);
  PlatformIs2003OrLater = Version.Major > 5 || (Version.Major == 5 && Version.Minor >= 2);
  PlatformIsVistaOrLater = Version.Major >= 6;
}

namespace {

// Runs before the ordinary static objects of the program (and after the codec
// unit's start-up, which has the higher priority), so that nothing made during
// initialisation sees the flags unset.
struct TPlatformFlagsStartup {
  TPlatformFlagsStartup() { InitPlatformFlags(ReadPlatformVersion()); }
};
__attribute__((init_priority(201))) TPlatformFlagsStartup startup;

}  // namespace
