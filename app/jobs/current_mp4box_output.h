// The lines of today's MP4Box (0.9.0 and later) that the older tool did not print: one
// "Import: " progress title for every raw import, named by the "Track Importing" line before
// it; "splitting: file N done" for each stored part; colour escapes around lines; and the
// lines that mean the run failed although the tool may end with exit code 0.
#pragma once

#include <vector>

#include "app/common/named_texts.h"
#include "vcl/sysutils.h"

struct TParsedEvent;

// What reading today's output remembers from one line to the next, for one run.
struct TCurrentOutputMemory {
  AnsiString ImportFormat;  // named by the last "Track Importing " line
  bool InImport = false;    // the last complete line was an "Import: " progress line
  const char* Stage = nullptr;  // the progress title of the last complete line, if one of today's
};

// The line without its ANSI colour escapes (ESC "[" parameters and a final letter).
AnsiString WithoutColourEscapes(const AnsiString& Line);

// The rows of one complete line: an import's row at its first "Import: " progress line
// (whatever value it starts at: H.264 starts at 11), an export's ("Exporting: ", "SRT
// Extract: ", "TTXT Extract: ") at its first progress line.
void ReadCurrentStageLine(const AnsiString& Line, TCurrentOutputMemory& Memory, const TNamedTexts& Texts,
                          std::vector<TParsedEvent>& Events);

// A line by which today's MP4Box says it failed: a refused option ("deprecated"), a split
// that wrote nothing ("Session aborted before writing"), "Error:", a tag it could not set
// ("Error assigning tag", "Unrecognize tag"), input cut short (truncated, incomplete).
bool IsCurrentProblemLine(const AnsiString& Line);
