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

// The older MP4Box: the tracks of the file of the first row are added (" -add "), the
// tracks of every other file appended (" -cat "): an appended track of the first file would
// start after the end of its own file's other tracks and lose the sync.
// Today's MP4Box appends a single track after the end of every track before it (the second
// file's audio 30 s after its video), and refuses to append to a track whose frame rate it
// forces: the checked tracks of the file of the first checked row are added one by one with
// their options (the frame rate left out of an MP4-family file when files follow), every
// later file is appended whole (" -cat " and its name, once), which puts each of its
// tracks after the track of the same kind and keeps them in sync.
AnsiString BuildJoinCommandLine(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options);

// What today's MP4Box makes of the rows, for the page to say before the job starts.
struct TJoinPlan {
  // Why the rows cannot be joined in sync (the job must not start); empty when they can:
  // a later file with only some of its tracks checked, an AAC stream (never appended to an
  // audio track), a later file whose tracks are not those of the first file.
  WideString OutOfSync;
  // The options the join cannot keep: the frame rates of the first file's tracks, the
  // options of a later file's tracks that differ from those of the tracks they join.
  std::vector<WideString> Dropped;
};
// Empty for the older MP4Box, and for rows of one file.
TJoinPlan PlanJoin(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options,
                   const TNamedTexts& Texts = NamedTexts());

// In the order the page asks: tool, tracks, output name, frame rates (the mux's refusals).
TMuxRefusal CheckJoinJob(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options, bool AVCWarning);

// The one-step job over the rows as they are now.
TJobStart JoinJobStart(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options,
                       const TNamedTexts& Texts = NamedTexts());
