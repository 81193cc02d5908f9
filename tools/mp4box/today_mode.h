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

// Today's behaviour, over the UTF-16 command line (MP4Box converts it to UTF-8 itself):
// everything on standard error, coloured when SHELL is set, "-aviraw" and "-avi" refused,
// "Import: " and "splitting:" progress, the parts of a split mux named out_N.mp4, and
// (KAVO_MP4BOX_SPLIT_ABORT set) a split that writes nothing and still ends with 0.
int TodayMain();
