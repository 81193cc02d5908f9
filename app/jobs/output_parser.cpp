#include "app/jobs/output_parser.h"

#include <cstring>
#include <optional>

#include "app/common/text_routines.h"
#include "app/common/utf8.h"
#include "app/jobs/process_view.h"

const char* const kStageStart = "|                    | (01/100)";

const std::vector<TStageMarker>& StageMarkers() {
  static const std::vector<TStageMarker> markers = {
      {"Importing AVI Video: ", &TNamedTexts::ImportAVIVideo},
      {"Importing AVI Audio: ", &TNamedTexts::ImportAVIAudio},
      {"ISO File Writing: ", &TNamedTexts::FileW},
      {"ISO File Export: ", &TNamedTexts::FileI},
      {"Splitting: ", &TNamedTexts::FileS},
      {"Appending: ", &TNamedTexts::FileA},
      {"Importing VobSub: ", &TNamedTexts::ImportVobsubFile},
      {"Importing ISO File: ", &TNamedTexts::ImportISOFile},
      {"Importing SRT: ", &TNamedTexts::ImportSRTFile},
      {"Importing TTXT: ", &TNamedTexts::ImportTTXTFile},
      {"Importing AAC: ", &TNamedTexts::ImportAACFile},
      {"Importing Image: ", &TNamedTexts::ImportImageFile},
      {"Importing M4V: ", &TNamedTexts::ImportM4VFile},
      {"Importing MPEG-PS Video: ", &TNamedTexts::ImportPSVideoFile},
      {"Importing MPEG-PS Audio: ", &TNamedTexts::ImportPSAudioFile},
      {"Importing MPEG-2 TS: ", &TNamedTexts::ImportTSFile},
      {"Importing MP3: ", &TNamedTexts::ImportMP3File},
      {"Importing AVC-H264: ", &TNamedTexts::ImportAVCFile},
      {"Importing NHNT: ", &TNamedTexts::ImportNHNTFile},
      {"Importing NHML: ", &TNamedTexts::ImportNHMLFile},
      {"Importing AMR: ", &TNamedTexts::ImportAMRFile},
      {"Importing EVRC: ", &TNamedTexts::ImportEVRCFile},
      {"Importing SMV: ", &TNamedTexts::ImportSMVFile},
      {"Importing AMR-WB: ", &TNamedTexts::ImportAMRWBFile},
      {"Importing QCP: ", &TNamedTexts::ImportQCPFile},
      {"Importing H263: ", &TNamedTexts::ImportH263File},
      {"Importing OGG Video: ", &TNamedTexts::ImportOGGVideo},
      {"Importing OGG Audio: ", &TNamedTexts::ImportOGGAudio},
      {"Importing SAF: ", &TNamedTexts::ImportSAFFile},
      {"Importing TeXML: ", &TNamedTexts::ImportTeXMLFile},
  };
  return markers;
}

namespace {

bool StartsWith(const AnsiString& s, const AnsiString& head) { return s.compare(0, head.size(), head) == 0; }

// The progress text of a line: between "| (" and "/100)" for MP4Box, between "=>" and "%"
// for AtomicParsley (which pads it with blanks).
AnsiString ProgressText(const AnsiString& line, TToolKind tool) {
  if (tool == TToolKind::AtomicParsley) return Trim(StrBefore("%", StrAfter("=>", line)));
  return StrAfter("| (", StrBefore("/100)", line));
}

void AddEvent(TParsedLine& r, const WideString& row, int kind, const WideString& log) {
  r.Events.push_back({row, kind, log});
}

// Today's MP4Box splits with "splitting: 12.34 %" (rewritten by CR), and ends each part
// with "splitting: file N done". The whole percent, or no value for other lines.
const char* const kTodaySplitting = "splitting: ";

std::optional<int> TodaySplitProgress(const AnsiString& line) {
  if (!StartsWith(line, kTodaySplitting)) return std::nullopt;
  AnsiString whole = Trim(StrBefore(" %", line.substr(strlen(kTodaySplitting))));
  whole = whole.substr(0, whole.find('.'));
  if (!IsDecimalDigits(whole) || whole.size() > 3) return std::nullopt;
  return std::stoi(whole);
}

}  // namespace

WideString ToolOutputText(const AnsiString& Line, bool Utf8) {
  if (Utf8) {
    WideString text = Utf8ToWide(Line);
    if (WideToUtf8(text) == Line) return text;
  }
  return AnsiToWide(Line);
}

TParsedLine ParseToolLine(const AnsiString& RawLine, bool Complete, const TParseContext& Context) {
  const AnsiString Line = WithoutColourEscapes(RawLine);
  const TNamedTexts& t = *Context.Texts;
  TParsedLine r;
  AnsiString value = ProgressText(Line, Context.Tool);
  if (Context.Tool == TToolKind::MP4Box) {
    if (std::optional<int> split = TodaySplitProgress(Line)) value = IntToStr(*split);
  }
  // A progress text is digits only; anything else moves nothing.
  if (IsDecimalDigits(value) && value.size() <= 9) {
    r.HasProgress = true;
    int v = std::stoi(value);
    r.Position = v < 0 ? 0 : v > 100 ? 100 : v;
    r.PercentText = AnsiToWide(value) + L" %";
  }
  if (!Complete) return r;

  if (Context.Tool == TToolKind::MP4Box) {
    for (const TStageMarker& m : StageMarkers()) {
      if (!StartsWith(Line, AnsiString(m.Marker) + kStageStart)) continue;
      if (m.Text == &TNamedTexts::FileW && Context.TagsByMP4Box) AddEvent(r, t.FileTag, pekInformation, t.FileTag);
      AddEvent(r, t.*m.Text, pekInformation, t.*m.Text);
      break;
    }
    AnsiString done = StrBefore(" done", StrAfter("splitting: file ", Line));
    if (StartsWith(Line, kTodaySplitting) && IsDecimalDigits(done)) {
      WideString text = t.StoringFile + L" " + AnsiToWide(done);
      AddEvent(r, text, pekInformation, text);
    }
    AnsiString stored = StrAfter("Storing split-file", Line);
    if (!stored.empty()) {
      WideString text = t.StoringFile + ToolOutputText(stored, Context.Utf8Output);
      AddEvent(r, text, pekInformation, text);
    }
    TCurrentOutputMemory lineOnly;
    ReadCurrentStageLine(Line, Context.Memory ? *Context.Memory : lineOnly, t, r.Events);
  }
  AnsiString rest = StrAfter("Unknown PID ", Line);
  if (!rest.empty()) AddEvent(r, t.UnknownPID, pekWarning, t.UnknownPID);
  rest = StrAfter("Invalid UTF data", Line);
  if (!rest.empty()) {
    WideString detail = AnsiToWide(StrBefore("|", StrAfter("UTF data ", Line)));
    AddEvent(r, t.InvalidUTF, pekWarning, detail.empty() ? t.InvalidUTF : t.InvalidUTF + L" " + detail);
  }
  rest = StrAfter("Error ", Line);
  if (!rest.empty())
    AddEvent(r, t.MsgError, pekWarning, L"Error " + ToolOutputText(rest, Context.Utf8Output));
  else if (Context.Tool == TToolKind::MP4Box && IsCurrentProblemLine(Line))
    AddEvent(r, t.MsgError, pekWarning, ToolOutputText(Line, Context.Utf8Output));
  for (const TParsedEvent& e : r.Events)
    if (e.Kind == pekWarning) r.Problem = true;
  r.LogLine = Context.Verbose;
  return r;
}
