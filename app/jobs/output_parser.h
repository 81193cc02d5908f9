// Reading the tools' console output: progress, the start of each processing stage, the
// files a split stores, and the problem lines that make a job fail.
#pragma once

#include <vector>

#include "app/common/named_texts.h"
#include "app/jobs/current_mp4box_output.h"
#include "vcl/sysutils.h"

// The tool whose output is read.
enum class TToolKind { MP4Box, AtomicParsley };

struct TParseContext {
  const TNamedTexts* Texts;
  TToolKind Tool;
  bool Verbose = false;       // every complete line goes to the log too
  bool TagsByMP4Box = false;  // MP4Box writes the tags in this run
  // What today's output needs remembered between the lines of a run; without it each line
  // is read on its own.
  TCurrentOutputMemory* Memory = nullptr;
  bool Utf8Output = false;  // the tool writes its messages (and the paths in them) in UTF-8
};

// A line of a tool's output as text: UTF-8 when Utf8 is set and the line is valid UTF-8,
// otherwise (and for the older MP4Box) in the code page.
WideString ToolOutputText(const AnsiString& Line, bool Utf8);

// A status row and its log line.
struct TParsedEvent {
  WideString RowText;
  int Kind;
  WideString LogText;
  bool operator==(const TParsedEvent& o) const {
    return RowText == o.RowText && Kind == o.Kind && LogText == o.LogText;
  }
};

struct TParsedLine {
  bool HasProgress = false;
  int Position = 0;        // 0 to 100
  WideString PercentText;  // the digits as printed + " %"
  std::vector<TParsedEvent> Events;
  bool Problem = false;     // a warning or error line: the job fails
  bool LogLine = false;     // verbose: the line itself goes to the log, after the events
};

// One output string of a run, of the older MP4Box or of today's (colour escapes are
// ignored). Progress is read from every string, also from a line still being written
// (Complete false); rows, problems and log lines only from complete lines, so a line
// delivered as it grows counts once.
TParsedLine ParseToolLine(const AnsiString& Line, bool Complete, const TParseContext& Context);

// Every stage marker MP4Box begins a stage line with, and the text of its row.
struct TStageMarker {
  const char* Marker;
  WideString TNamedTexts::*Text;
};
const std::vector<TStageMarker>& StageMarkers();
// A stage's first progress line begins with its marker followed by this.
extern const char* const kStageStart;
