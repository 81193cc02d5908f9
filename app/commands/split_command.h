// The split job: reading the page's time and size texts, the MP4Box command line of each
// split mode, the checks before a job starts, and the job as the sequencer runs it (one
// run, or one run per chapter when every chapter is split out).
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/commands/mp4box_version.h"
#include "app/common/named_texts.h"
#include "app/jobs/job_sequencer.h"
#include "vcl/sysutils.h"

// The mode radio buttons, by their Tag.
enum class TSplitMode { Size = 0, Duration = 1, Range = 2, Chapter = 3, AllChapters = 4 };

// A chapter time "hh:mm:ss.mmm" to whole seconds: hours, minutes and seconds from
// characters 1-2, 4-5 and 7-8 of a text longer than 9 characters; 0 for a shorter text.
int ChapterTimeToSeconds(const WideString& Text);

// A time the user typed, to whole seconds, by its length: up to 2 characters a number of
// hours; 5 characters "hh:mm"; 3, 4 or 6 to 9 characters a number of seconds; 10 or more
// "hh:mm:ss" and anything after it. No value when the characters read are not digits.
std::optional<int> SplitTimeToSeconds(const WideString& Text);

// A chapter's time as MP4Box takes it: whole seconds, then the fraction the text gives
// ("00:01:30.500" gives "90.500").
AnsiString ChapterTimeArgument(const WideString& Text);

// One chapter of the page's lists.
struct TSplitChapter {
  WideString Start;  // "hh:mm:ss.mmm"
  WideString End;    // the next chapter's start, or the file's duration
};

struct TSplitOptions {
  WideString MP4BoxPath;
  WideString Input;
  TSplitMode Mode = TSplitMode::Size;
  WideString Size;      // megabytes, as typed
  WideString Duration;  // as typed
  WideString From, To;  // as typed
  std::vector<TSplitChapter> Chapters;
  int Chapter = 0;  // the selected chapter (Chapter mode), from 0
  // No mode button is checked: the selected chapter is split out (Mode is Chapter).
  bool NoModeChecked = false;
  // The input's play time in seconds, when MediaInfo gave one: a range must end within it.
  std::optional<double> InputSeconds;
  bool Verbose = false;
  TMP4BoxVersion Version;  // the MP4Box the job drives
};

// Why a split job does not start; None when it may.
enum class TSplitRefusal {
  None,
  MP4BoxPath,  // the MP4Box path is empty or names another program
  NoInput,     // no file chosen
  NoMode,      // no mode checked, and no chapter to split out
  BadSize,     // the part size is not a number of megabytes above 0
  BadDuration, // the duration cannot be read, or is 0
  BadFrom,     // the start of the range cannot be read
  BadTo,       // the end of the range cannot be read
  EmptyRange,  // the end does not come after the start
  PastEnd,     // the range ends after the end of the file
  NoChapters,  // a chapter mode on a file without chapters
};

TSplitRefusal CheckSplitJob(const TSplitOptions& Options);

// The refusal's text for the user (in the language of Texts); empty for None and for the
// MP4Box path, which has its own notice.
WideString SplitRefusalText(TSplitRefusal Refusal, const TSplitOptions& Options, const TNamedTexts& Texts = NamedTexts());

// The command line of one run: the chapter of Chapter modes is ChapterIndex. Options must
// have passed CheckSplitJob.
AnsiString BuildSplitCommandLine(const TSplitOptions& Options, int ChapterIndex);
// The part size in kilobytes as "-splits" takes it: the megabytes typed ("1.5" or "1,5"
// too) times 1024, as the shortest decimal text ("1536", "1126.4"); no value for a text that
// is not a number above 0.
std::optional<AnsiString> SplitSizeKilobytes(const WideString& Megabytes);

// Every part the job may write that exists now: a size or duration split's numbered parts
// from the first on, as long as they follow each other; a range's or chapter's one part.
std::vector<WideString> ExistingSplitParts(const TSplitOptions& Options);

// The first part that run writes: "in_001.ext" for a size or a duration, "in_90.500_180.250.ext"
// for a range or a chapter (MP4Box names them so), ext the input's extension for the older
// MP4Box and ".mp4" for today's, whatever the input (".m4v", ".mov", ".3gp").
WideString SplitFirstPart(const TSplitOptions& Options, int ChapterIndex);
// The status row (and log line) of that run.
WideString SplitStatusText(const TSplitOptions& Options, int ChapterIndex);

// The job: one run, or one run per chapter for AllChapters. SelectChapter (may be empty) is
// told the chapter each run cuts, and chapter 0 again when the job closes.
TJobStart SplitJobStart(const TSplitOptions& Options, std::function<void(int Chapter)> SelectChapter = nullptr);

// The time edits' key filter: backspace, the point, the digits and the colon pass.
bool SplitTimeKey(wchar_t Key);
