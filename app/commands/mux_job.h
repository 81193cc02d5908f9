// A mux job as the sequencer runs it: the checks before it starts, then one pre-step per
// AVI file whose H.264 video MP4Box takes as a raw stream, then the creation command.
#pragma once

#include <vector>

#include "app/commands/mux_command.h"
#include "app/common/named_texts.h"
#include "app/jobs/job_sequencer.h"

// Why a mux job does not start; None when it may.
enum class TMuxRefusal {
  None,
  MP4BoxPath,       // the MP4Box path is empty or names another program
  NoCheckedTrack,   // nothing would go into the file
  NoOutputName,     // the file would have no name
  BadSplitSize,     // the custom split size is not a whole number of megabytes
  RawAvcFrameRate,  // an H.264 elementary stream has no frame rate while the warning is on
};

// True when Path is not empty and its file name, lower-cased, is "mp4box.exe".
bool IsMP4BoxPath(const WideString& Path);

// What every track-list job asks, in this order: tool, a checked track, output name, the
// frame rate of raw AVC rows.
TMuxRefusal CheckTrackListJob(const std::vector<TTrackRow>& Rows, const WideString& MP4BoxPath,
                              const WideString& Output, bool AVCWarning);
// In the order the page asks: tool, split size, tracks, output name, frame rates.
TMuxRefusal CheckMuxJob(const std::vector<TTrackRow>& Rows, const TMuxOptions& Options,
                        const std::optional<long long>& SplitKilobytes, bool AVCWarning);

// The job over the rows as they are now (Options.SplitKilobytes already checked).
TJobStart MuxJobStart(const std::vector<TTrackRow>& Rows, const TMuxOptions& Options,
                      const TNamedTexts& Texts = NamedTexts());
