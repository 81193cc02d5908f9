// An input file analysed into track rows: stream facts from MediaInfo, and the rows that
// some extensions always get.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/media/avi_h264.h"
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

// What the analysis and the extract page's listing share.
// A stream count as MediaInfo gives it: 0 when empty or not a number.
int StreamCount(const WideString& Count);
// "codec - play time - bit rate - width x height" of a video stream; "codec - play time -
// bit rate - channels Ch - sampling rate" of an audio stream; "codec - codec info" of a
// text stream (8-bit text, as the lists always showed them).
WideString VideoStreamDescription(TMediaAnswers& Info, int Number);
WideString AudioStreamDescription(TMediaAnswers& Info, int Number);
WideString TextStreamDescription(TMediaAnswers& Info, int Number);
// The track number MP4Box takes for a stream: its "ID"; in a transport stream the decimal
// form of a hexadecimal ID. No value when a transport stream's ID is not a number.
std::optional<WideString> StreamSelector(TMediaAnswers& Info, TStreamKind Kind, int Number, bool TransportStream);
