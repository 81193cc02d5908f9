// The two kinds of input the program reads itself: text subtitle files (SubRip, GPAC
// TimeText, QuickTime TeXML), recognised by their first two lines, and VobSub index files,
// one row per subtitle stream they declare.
#pragma once

#include <vector>

#include "app/media/track_row.h"

// The row of a text subtitle file from its lines: described and checked when its format is
// recognised, else unchecked with an empty description.
TTrackRow TextSubtitleRow(const WideString& FileName, const std::vector<WideString>& Lines);

// The rows of a VobSub index from its lines; false (no rows) when the first line is not the
// index header. A stream is checked once a time stamp follows its "id: " line; a stream
// line whose index is not a whole number is passed over.
bool VobSubIndexRows(const WideString& FileName, const std::vector<WideString>& Lines, std::vector<TTrackRow>& Rows);

// The lines of a text file (the byte-order mark decides UTF-16, UTF-8 or 8-bit text).
// Raises the loader's error when the file cannot be read.
std::vector<WideString> ReadTextLines(const WideString& FileName);
