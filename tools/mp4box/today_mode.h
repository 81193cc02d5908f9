// The stand-in MP4Box's second mode: today's MP4Box (GPAC 1.0 and later), chosen by the
// version the stand-in prints (KAVO_MP4BOX_VERSION, "0.4.5" when not set).
#pragma once

#include <string>

#include "standin/standin.h"

namespace standin {

inline std::string PrintedVersion() {
  std::string v = Env("KAVO_MP4BOX_VERSION");
  return v.empty() ? "0.4.5" : v;
}

// Versions from 1.0 on.
inline bool IsTodayVersion(const std::string& version) { return atoi(version.c_str()) >= 1; }

}  // namespace standin

// Today's behaviour over the UTF-16 command line (MP4Box converts it to UTF-8 itself), as
// captured from the real tool: see today_mode.cpp. KAVO_MP4BOX_SPLIT_ABORT set makes a split
// that writes nothing and still ends with 0 (a test's choice, not something seen).
int TodayMain();
