// The stream-information query: MP4Box's "-info" over the file of a track row, for the
// whole file or for the row's track.
#pragma once

#include "app/media/track_row.h"

// "mp4box" -info "file", or "mp4box" -info N "file" when ByTrack and the row's index is a
// track number (an index of "video", "audio", "sub" or none queries the whole file).
AnsiString BuildInfoCommandLine(const WideString& MP4BoxPath, const TTrackRow& Row, bool ByTrack);
