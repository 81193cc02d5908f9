// The extract page's commands: one MP4Box run per listed stream (the chapter streams the
// program writes itself, as a chapter file or a cue sheet), the options the page offers for
// a row, and the extraction job as the sequencer runs it.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/commands/mp4box_version.h"
#include "app/common/named_texts.h"
#include "app/jobs/job_sequencer.h"
#include "app/media/extract_listing.h"

// The page's four options: rbRaw, rbMP4, rbAVI (one stream) and rbRawAll (all streams).
enum class TExtractChoice { Raw, MP4, AVI, RawAll };

struct TExtractRequest {
  WideString MP4BoxPath;
  WideString Input;  // the listed file
  TExtractRow Row;   // the stream to extract
  TExtractChoice Choice = TExtractChoice::Raw;
  bool Verbose = false;
  TMP4BoxVersion Version;  // the MP4Box the job drives
  // An AVI stream's track number for today's MP4Box: its place in the listing, from 1 (the
  // job sets it); 0 takes track 1 for the video and 2 for the audio.
  int AviTrack = 0;
};

// What a chapter row writes instead of an MP4Box run.
enum class TChapterOutput { None, ChapterFile, CueSheet };

struct TExtractRun {
  // The quoted MP4Box path, the option part, " -v" when verbose, the quoted input. Empty
  // for a chapter row: the program writes the chapters itself and runs no tool.
  AnsiString CommandLine;
  WideString StatusText;  // the status row and log line before the run; empty for none
  TChapterOutput Chapters = TChapterOutput::None;
  // The file the run writes (MP4Box names it; "*" stands for the extension it chooses).
  WideString Writes;
};

TExtractRun BuildExtractCommandLine(const TExtractRequest& Request, const TNamedTexts& Texts = NamedTexts());

// The options for a row: captions to set and visibility of rbMP4 and rbAVI; an unset
// value leaves the control as it is. FirstVideoCodec and FirstAudioCodec are the codec
// texts of the file's first video and audio streams.
struct TExtractOptionView {
  std::optional<WideString> RawCaption, MP4Caption, AVICaption;
  std::optional<bool> MP4Visible, AVIVisible;
  // Why an option is hidden, for the log: today's MP4Box no longer writes AVI files.
  std::optional<WideString> Note;
};
TExtractOptionView ExtractOptionsFor(TExtractGroup Group, const WideString& Type, const WideString& FirstVideoCodec,
                                     const WideString& FirstAudioCodec, const TNamedTexts& Texts = NamedTexts(),
                                     const TMP4BoxVersion& Version = TMP4BoxVersion());

struct TExtractJob {
  TExtractRequest Request;          // Row is the selected row; Choice says one or all
  std::vector<TExtractRow> Rows;    // every listed row (all streams)
  int Selected = 0;                 // the selected row's index (one stream)
  WideString ChapterText;           // the listing's chapter report(s)
  // Told the row of each step before it runs (the page selects it).
  std::function<void(int Row)> RowStarting;
};

// One step (one row in list order for all streams, else the selected row). A chapter
// row's file is written when its step starts; a file that cannot be written fails the step
// (EFCreateError) and the job closes as failed.
TJobStart ExtractJobStart(const TExtractJob& Job, const TNamedTexts& Texts = NamedTexts());
