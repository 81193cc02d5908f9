// A track row: one track of an input file as the mux and concatenation lists hold it, with
// its check state and its seventeen text columns. The rows are the whole state of a track
// between its analysis and the command line built from it.
#pragma once

#include <array>

#include "vcl/sysutils.h"

// The text columns, in list order (sub-item numbers of the list item).
enum class TTrackColumn {
  Path,         // folder of the input file, with its trailing "\"
  File,         // file name without folder
  Index,        // track selector: a track number, "video", "audio", "sub", or empty
  Description,  // shown only
  Name,
  Language,     // English language name, never a code
  FrameRate,
  Type,         // "video", "audio", "sub", "vobsub", "chap" or empty
  Brand,
  PAR,          // pixel aspect ratio "w:h"
  HEAACSignal,  // "sbr", "sbrx" or empty
  Copyright,
  Delay,
  Interleave,
  KeepNVops,    // "1" or empty
  FontName,
  FontSize,
};
inline constexpr int TrackColumnCount = 17;

// The titles of the list's columns after the check-box column, in the order above.
extern const wchar_t* const TrackColumnTitles[TrackColumnCount];

struct TTrackRow {
  bool Checked = false;
  std::array<WideString, TrackColumnCount> Columns;

  WideString& operator[](TTrackColumn Column) { return Columns[static_cast<int>(Column)]; }
  const WideString& operator[](TTrackColumn Column) const { return Columns[static_cast<int>(Column)]; }

  // Folder + file name.
  WideString InputPath() const;
  bool operator==(const TTrackRow&) const = default;
};
