// The converter page's commands: a SubRip file to TTXT, a TTXT file to SubRip, or an AVI
// file holding H.264 video to MP4 in two runs (the raw H.264 stream extracted beside the
// input, then muxed at the chosen frame rate; the raw stream is deleted at the job's end).
#pragma once

#include "app/commands/mp4box_version.h"
#include "app/common/named_texts.h"
#include "app/jobs/job_sequencer.h"

enum class TConvertTarget { ToTTXT, ToSRT, AviToMP4 };

// By the lower-cased extension: ".srt" to TTXT, ".ttxt" to SubRip, anything else (an AVI
// file) to MP4.
TConvertTarget ConvertTargetOf(const WideString& Input);

struct TConvertRequest {
  WideString MP4BoxPath;
  WideString Input;
  TConvertTarget Target = TConvertTarget::AviToMP4;
  WideString FrameRate;  // of the mux step; empty: MP4Box's own choice
  bool Verbose = false;
  // The output exists and the user agreed to replace it: the mux step makes a new file
  // rather than adding the stream to the existing one.
  bool ReplaceOutput = false;
  TMP4BoxVersion Version;  // the MP4Box the job drives
};

// The file the conversion makes: the input with ".ttxt", ".srt" or ".mp4".
WideString ConversionOutput(const TConvertRequest& Request);
// The raw stream of the first run of an AVI conversion: the input with "_video.h264".
WideString ConversionRawStream(const TConvertRequest& Request);

struct TConvertRun {
  AnsiString CommandLine;
  WideString StatusText;    // status row and log line before the run
  WideString CommandText;   // the log line that names the command line
};

// The first (or only) run: " -ttxt", " -srt" or " -aviraw video" (today's MP4Box: " -raw 1
// -out" the raw stream's name), " -v" when verbose, the input.
TConvertRun BuildConvertCommandLine(const TConvertRequest& Request);
// The second run of an AVI conversion: " -add" the raw stream at the frame rate, the MP4.
TConvertRun BuildAviConvertMuxCommandLine(const TConvertRequest& Request);

// The conversion job: one step for a subtitle file, two for an AVI file, whose raw stream
// (by its exact name) is deleted when the job closes.
TJobStart ConvertJobStart(const TConvertRequest& Request);
