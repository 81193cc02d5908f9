// Asking MP4Box which version it is: one short hidden run of "MP4Box -version", waited for.
#pragma once

#include <windows.h>

#include "app/commands/mp4box_version.h"

// Everything the program wrote on its standard output and error (joined), once it has
// ended; a program still running after TimeoutMs is killed and what it wrote is returned.
// Empty when it cannot be started.
AnsiString ConsoleOutputOf(const WideString& CommandLine, DWORD TimeoutMs);

// The version of the MP4Box at Path; not known when it cannot be run or prints none.
TMP4BoxVersion ReadMP4BoxVersion(const WideString& Path, DWORD TimeoutMs = 5000);

// The version of the configured MP4Box, read once for each path it is asked about.
class TMP4BoxVersionCache {
 public:
  const TMP4BoxVersion& Of(const WideString& Path);
  // Reads it again (a path chosen anew may name another program than before).
  const TMP4BoxVersion& Reread(const WideString& Path);

 private:
  WideString FPath;
  bool FRead = false;
  TMP4BoxVersion FVersion;
};
