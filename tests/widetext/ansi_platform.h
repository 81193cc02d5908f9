// Test-only switch of the platform flag: the wrappers take their A paths, as on a
// system without wide entry points (Wine always reports the NT family).
#pragma once

#include <gtest/gtest.h>

#include "widetext/platform.h"

class AnsiPlatformScope {
 public:
  explicit AnsiPlatformScope(bool ansi = true) : saved_(UnicodePlatform) { UnicodePlatform = !ansi; }
  ~AnsiPlatformScope() { UnicodePlatform = saved_; }
  AnsiPlatformScope(const AnsiPlatformScope&) = delete;
  AnsiPlatformScope& operator=(const AnsiPlatformScope&) = delete;

 private:
  bool saved_;
};

// Names tests run on both paths with.
inline const char* PathName(const testing::TestParamInfo<bool>& info) { return info.param ? "AnsiPath" : "WidePath"; }
