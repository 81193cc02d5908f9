// State every folder tree, folder combo and file list of the program shares: a cut or copy
// taken in one control is pasted by whichever pastes.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

// Cut/copy and drag modes: the shell operation they turn into.
constexpr int kCopyMode = 0;
constexpr int kMoveMode = 2;
constexpr int kNoCutCopy = -1;

struct TExplorerShared {
  int CutCopyMode = kCopyMode;  // kCopyMode, kMoveMode, or kNoCutCopy
  int DragMode = kCopyMode;     // kCopyMode or kMoveMode
  DWORD DriveMask = 0;          // the last GetLogicalDrives answer
  AnsiString ContentsFolder;    // the folder the folder-contents window shows
};

inline TExplorerShared& ExplorerShared() {
  static TExplorerShared shared;
  return shared;
}
