// The extract page's listing of a file's streams: one row per stream MP4Box can extract
// (or, for chapters, the program writes itself), and the file's chapter report.
#pragma once

#include <vector>

#include "app/media/media_info.h"
#include "vcl/sysutils.h"

// The container groups, by the lower-cased extension: MP4 (.mp4 .m4a .m4b .mov .3gp .3g2),
// TS (.ts), AVI (.avi .mpeg .mpg .vcd .vob); no streams are listed for any other.
enum class TExtractGroup { MP4, TS, AVI, Other };
TExtractGroup ExtractGroupOf(const WideString& FileName);

struct TExtractRow {
  WideString Path;         // the input's folder, with its trailing separator
  WideString File;         // the input's file name
  WideString Index;        // the track number MP4Box takes; "video" or "audio" in the AVI group
  WideString Description;
  WideString Type;         // "video", "audio", "sub", "vobsub" or "chap"
  bool operator==(const TExtractRow&) const = default;
};

struct TExtractListing {
  // Video, audio, text, then chapter streams, each in stream order. Text and chapter rows
  // only for ".mp4" files.
  std::vector<TExtractRow> Rows;
  // The chapter report(s) of the listed chapter rows, one after the other.
  WideString ChapterText;
  // Log lines for the streams left out (a count or an ID MediaInfo did not give as a number).
  std::vector<WideString> Skipped;
};

TExtractListing ListTracksForExtract(const WideString& FileName, TMediaAnswers& Info);
// The same through MediaInfo.dll: the file is opened, asked and closed here.
TExtractListing ListTracksForExtract(const WideString& FileName);
