// An input file analysed into track rows: stream facts from MediaInfo, and the rows that
// some extensions always get.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/media/media_info.h"
#include "app/media/track_row.h"

struct TFileAnalysis {
  // In the order video streams, audio streams, text streams, rows by extension.
  std::vector<TTrackRow> Rows;
  // Rows of streams MP4Box cannot take as they are (AVC in a transport stream, AC3, DTS),
  // added unchecked; above 0 the user is told.
  int UncheckedCount = 0;
  // Set by the video tracks of an AVI-family file: whether the last one holds H.264 in
  // the form that needs the raw-stream pre-step. Unset for other files.
  std::optional<bool> AviH264;
  // A video row of an H.264 elementary stream was added (MP4Box needs its frame rate).
  bool RawAvcAdded = false;
};

// The readers of the formats the program reads itself, each appending its rows; a missing
// reader adds nothing.
struct TTextTrackReaders {
  std::function<void(const WideString& FileName, std::vector<TTrackRow>& Rows)> TextSubtitle;  // .srt .xml .ttxt
  std::function<void(const WideString& FileName, std::vector<TTrackRow>& Rows)> VobSubIndex;   // .idx
};

// The file's extension as the analysis tests it: from its last ".", lower-cased.
WideString AnalysisExtension(const WideString& FileName);

TFileAnalysis AnalyseMediaFile(const WideString& FileName, TMediaAnswers& Answers,
                               const TTextTrackReaders& Readers = {});
// The same through MediaInfo.dll: the file is opened, asked and closed here.
TFileAnalysis AnalyseMediaFile(const WideString& FileName, const TTextTrackReaders& Readers = {});

// The codec text by which MediaInfo marks H.264 video inside an AVI file.
extern const wchar_t* const AviH264CodecText;
