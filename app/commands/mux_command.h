// The mux job's MP4Box command lines: the pre-step that extracts H.264 video from an AVI
// file as a raw stream, and the creation command over the checked track rows.
#pragma once

#include <optional>
#include <set>
#include <vector>

#include "app/commands/mp4box_version.h"
#include "app/jobs/job_sequencer.h"
#include "app/media/track_row.h"
#include "vcl/sysutils.h"

struct TMuxOptions {
  WideString MP4BoxPath;
  // cbCompliance: 0 Standard, 1 iPhone, 2 iPod, 3 ISMA, 4 PSP; only while enabled (MP4).
  bool ComplianceEnabled = true;
  int Compliance = 0;
  bool Hint = false;
  bool Flat = false;
  bool VFR = false;
  long long SplitKilobytes = 0;  // 0: no split
  AnsiString ITags;              // " -itags ..." or empty (itags_argument.h)
  WideString TempFolder;
  bool Verbose = false;
  bool CreateMP4 = true;  // false: 3GP
  bool OverWrite = false;
  WideString Output;
  // Input files (folder + name) whose video tracks MP4Box takes from the pre-step's raw
  // stream instead.
  std::set<WideString> AviH264Inputs;
  // The MP4Box the job drives (its command lines differ by version).
  TMP4BoxVersion Version;
};

// A path in the code page, or its short form when the code page loses characters of it.
AnsiString EightBitPath(const WideString& Path);

// A value of a command line: a file or folder name, a name, a text. In double quotes,
// escaped; a path that the code page cannot carry goes by its short name when it has one.
// (tool_command_line.h writes them by MP4Box's version.)
AnsiString PathArgument(const WideString& Path);
AnsiString TextArgument(const WideString& Text);

// The pieces a track row gives a creation or join command, shared by both builders:
// " -brand", " -inter" and " -cprt" with their values (each only when the row has one), the
// row's source as one argument (file, "#" track, ":name=", ":lang=" and the other track
// options; the video of a listed AVI file from its raw H.264 stream), and the compliance
// options of the compliance box (nothing while it is disabled).
// Values are written for MP4Box's Version (tool_command_line.h).
AnsiString TrackFileOptions(const TTrackRow& Row, const TMP4BoxVersion& Version = TMP4BoxVersion());
// KeepFrameRate false leaves the row's ":fps=" out.
AnsiString TrackSourceArgument(const TTrackRow& Row, const std::set<WideString>& AviH264Inputs = {},
                               const TMP4BoxVersion& Version = TMP4BoxVersion(), bool KeepFrameRate = true);
const char* ComplianceArgument(bool Enabled, int Index);

// The split box: its index and, for index 5 ("Custom..."), its text in megabytes. No value
// when the custom text is not a whole number above 0.
std::optional<long long> SplitKilobytes(int Index, const WideString& Text);

// The file the pre-step writes for an AVI file: its name with "_video.h264" for the extension.
WideString RawH264FileOf(const WideString& AviPath);

struct TAviRawStep {
  WideString Input;     // the AVI file
  AnsiString Arguments; // MP4Box's arguments after the program
  WideString LogText;   // "Extraction of <file> to raw h264..."
};
// One pre-step per AVI file of Options.AviH264Inputs that a checked video row uses, in
// list order.
std::vector<TAviRawStep> AviRawSteps(const std::vector<TTrackRow>& Rows, const TMuxOptions& Options);
AnsiString BuildAviRawCommandLine(const TMuxOptions& Options, const TAviRawStep& Step);

AnsiString BuildMuxCommandLine(const std::vector<TTrackRow>& Rows, const TMuxOptions& Options);

// "VFR Creation." appends every row after the first (" -cat "). Today's MP4Box then starts
// each appended track at the end of the tracks before it (audio at 60 s in a 60 s film):
// with it every row is added, and the job's log says so.
bool VFRAppends(const TMuxOptions& Options);
// A 3GP file with a split size: today's MP4Box writes MP4 parts without the 3GP brand (the
// job's log says so).
bool SplitMuxLosesThe3GPBrand(const TMuxOptions& Options);

// Part N (from 1) of a mux with a split size, as today's MP4Box names it: the output name
// with "_N" and ".mp4", whatever its extension (also for a 3GP file).
WideString SplitMuxPartName(const WideString& Output, int N);
// What the creation command must write: the output file; with a split size, its first part
// (today's MP4Box), or the output or a part as the older tool may name it.
std::vector<TExpectedOutput> MuxOutputs(const TMuxOptions& Options);
// The files a finished mux wrote, to be tagged: the output, or the parts of a split as
// either version names them, those that exist.
std::vector<WideString> WrittenMuxFiles(const TMuxOptions& Options);

// Checked video rows of H.264 elementary streams whose frame rate is empty: MP4Box needs
// one for them.
bool RawAvcRowLacksFrameRate(const std::vector<TTrackRow>& Rows);
