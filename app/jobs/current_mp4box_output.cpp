#include "app/jobs/current_mp4box_output.h"

#include "app/common/text_routines.h"
#include "app/jobs/output_parser.h"
#include "app/jobs/process_view.h"

namespace {

bool StartsWith(const AnsiString& s, const char* head) { return s.rfind(head, 0) == 0; }

// The row of an import by the format its "Track Importing" line names.
WideString ImportRowText(const AnsiString& format, const TNamedTexts& t) {
  static const std::pair<const char*, WideString TNamedTexts::*> byFormat[] = {
      {"AVC", &TNamedTexts::ImportAVCFile},       {"H264", &TNamedTexts::ImportAVCFile},
      {"AAC", &TNamedTexts::ImportAACFile},       {"MPEG-4 Visual", &TNamedTexts::ImportM4VFile},
      {"H263", &TNamedTexts::ImportH263File},     {"AMR-WB", &TNamedTexts::ImportAMRWBFile},
      {"AMR", &TNamedTexts::ImportAMRFile},       {"EVRC", &TNamedTexts::ImportEVRCFile},
      {"SMV", &TNamedTexts::ImportSMVFile},       {"QCP", &TNamedTexts::ImportQCPFile},
      {"MP3", &TNamedTexts::ImportMP3File},       {"MPEG-1 Audio", &TNamedTexts::ImportMP3File},
      // An SRT file's import says "Timed Text" (TTXT imports were not seen: they are named
      // the same way).
      {"Timed Text", &TNamedTexts::ImportSRTFile},
      {"MPEG-2 Audio", &TNamedTexts::ImportMP3File}, {"VobSub", &TNamedTexts::ImportVobsubFile},
      {"JPEG", &TNamedTexts::ImportImageFile},    {"PNG", &TNamedTexts::ImportImageFile},
  };
  for (const auto& [name, text] : byFormat)
    if (format.find(name) != AnsiString::npos) return t.*text;
  // A format without a text of its own: the translated row, with the format as the tool
  // names it.
  return FillText(t.ImportOtherFile, format.empty() ? WideString() : AnsiToWide(format));
}

// "MPEG-4 AVC" of "Track Importing MPEG-4 AVC - Width 320 Height 240 ...".
AnsiString ImportFormatOf(const AnsiString& line) {
  AnsiString rest = StrAfter("Track Importing ", line);
  AnsiString format = rest.substr(0, rest.find(" - "));
  return Trim(format);
}

}  // namespace

AnsiString WithoutColourEscapes(const AnsiString& Line) {
  if (Line.find('\x1b') == AnsiString::npos) return Line;
  AnsiString out;
  for (size_t i = 0; i < Line.size(); ++i) {
    if (Line[i] != '\x1b') {
      out += Line[i];
      continue;
    }
    size_t j = i + 1;
    if (j < Line.size() && Line[j] == '[') {
      ++j;
      while (j < Line.size() && !((Line[j] >= 'A' && Line[j] <= 'Z') || (Line[j] >= 'a' && Line[j] <= 'z'))) ++j;
    }
    i = j < Line.size() ? j : Line.size();
  }
  return out;
}

// The stages today's tool brings that the older one did not print, by their progress title.
static const std::pair<const char*, WideString TNamedTexts::*> CurrentStages[] = {
    {"Exporting: |", &TNamedTexts::FileI},
    {"SRT Extract: |", &TNamedTexts::FileI},
    {"TTXT Extract: |", &TNamedTexts::FileI},
};

void ReadCurrentStageLine(const AnsiString& Line, TCurrentOutputMemory& Memory, const TNamedTexts& Texts,
                          std::vector<TParsedEvent>& Events) {
  const bool progress = Line.find("/100)") != AnsiString::npos;
  const char* stage = nullptr;
  for (const auto& [title, text] : CurrentStages) {
    if (!progress || !StartsWith(Line, title)) continue;
    stage = title;
    // Its first progress line, whatever value it starts at.
    if (Memory.Stage != title) Events.push_back({Texts.*text, pekInformation, Texts.*text});
  }
  if (Line.find_first_not_of(" \t") != AnsiString::npos) Memory.Stage = stage;
  const bool importProgress = StartsWith(Line, "Import: |") && progress;
  if (importProgress && !Memory.InImport) {
    WideString text = ImportRowText(Memory.ImportFormat, Texts);
    Events.push_back({text, pekInformation, text});
  }
  Memory.InImport = importProgress;
  if (Line.find("Track Importing ") != AnsiString::npos) Memory.ImportFormat = ImportFormatOf(Line);

}

bool IsCurrentProblemLine(const AnsiString& Line) {
  // The tool may end with exit code 0 after these, its output cut short: a file whose media
  // data is cut ("File truncated, aborting read", "Incomplete file detected", "Incomplete
  // box mdat") gives part of its samples only.
  for (const char* marker : {"deprecated", "Session aborted before writing", "Error:", "Error assigning tag",
                             "Unrecognize tag", "File truncated", "is truncated", "Incomplete file",
                             "Incomplete box", "Incomplete MDAT"})
    if (Line.find(marker) != AnsiString::npos) return true;
  return false;
}
