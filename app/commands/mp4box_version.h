// Which MP4Box the jobs drive: the version the tool prints for "-version", and what each
// version changed in the command lines the jobs give it.
#pragma once

#include "vcl/sysutils.h"

struct TMP4BoxVersion {
  int Major = 0, Minor = 0, Patch = 0;
  bool Known = false;  // the tool printed a version; otherwise the older command lines are used

  bool AtLeast(int major, int minor, int patch) const;
  WideString Text() const;  // "0.4.5"; empty when not known
};

// The version in the text "MP4Box -version" prints ("MP4Box - GPAC version 0.4.5-DEV",
// "MP4Box - GPAC version 26.08-DEV-rev12"); not known when it holds none.
TMP4BoxVersion ParseMP4BoxVersion(const AnsiString& Output);

// From 0.6.0 MP4Box takes its arguments as UTF-16 and converts them to UTF-8 itself: tag
// texts go in their own characters, not as UTF-8 bytes, and a line holding characters outside
// the code page is passed as UTF-16.
bool TakesUnicodeArguments(const TMP4BoxVersion& V);
// Today's tool refuses "-aviraw" and "-avi", names the parts of a split mux after an
// "_$num$" template, and knows the gapless flag as "gapless". The version that brought these
// is not known exactly: they are used from 1.0 on.
bool IsCurrentGeneration(const TMP4BoxVersion& V);
