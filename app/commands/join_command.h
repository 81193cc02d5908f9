// The join job: one MP4Box run that puts the checked track rows of several files into one
// MP4 or 3GP file, the later files' tracks appended to the first file's.
#pragma once

#include <vector>

#include "app/commands/mux_job.h"

struct TJoinOptions {
  WideString MP4BoxPath;
  // cbCompliance2: 0 Standard, 1 iPhone, 2 iPod, 3 ISMA, 4 PSP; only while enabled (MP4).
  bool ComplianceEnabled = true;
  int Compliance = 0;
  WideString TempFolder;
  bool Verbose = false;
  bool OverWrite = false;
  WideString Output;
  TMP4BoxVersion Version;  // the MP4Box the job drives
};

// The tracks of the file of the first row are added (" -add "), the tracks of every other
// file appended (" -cat "): an appended track of the first file would start after the end
// of its own file's other tracks and lose the sync.
AnsiString BuildJoinCommandLine(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options);

// In the order the page asks: tool, tracks, output name, frame rates (the mux's refusals).
TMuxRefusal CheckJoinJob(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options, bool AVCWarning);

// The one-step job over the rows as they are now.
TJobStart JoinJobStart(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options,
                       const TNamedTexts& Texts = NamedTexts());
