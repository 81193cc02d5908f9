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
      {"MPEG-2 Audio", &TNamedTexts::ImportMP3File}, {"VobSub", &TNamedTexts::ImportVobsubFile},
      {"JPEG", &TNamedTexts::ImportImageFile},    {"PNG", &TNamedTexts::ImportImageFile},
  };
  for (const auto& [name, text] : byFormat)
    if (format.find(name) != AnsiString::npos) return t.*text;
  // A format without a text of its own is named as the tool names it.
  return format.empty() ? WideString(L"Importing...") : L"Importing " + AnsiToWide(format) + L"...";
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

void ReadCurrentStageLine(const AnsiString& Line, TCurrentOutputMemory& Memory, const TNamedTexts& Texts,
                          std::vector<TParsedEvent>& Events) {
  const bool importProgress = StartsWith(Line, "Import: |") && Line.find("/100)") != AnsiString::npos;
  if (importProgress && !Memory.InImport) {
    WideString text = ImportRowText(Memory.ImportFormat, Texts);
    Events.push_back({text, pekInformation, text});
  }
  Memory.InImport = importProgress;
  if (Line.find("Track Importing ") != AnsiString::npos) Memory.ImportFormat = ImportFormatOf(Line);

}

bool IsCurrentProblemLine(const AnsiString& Line) {
  for (const char* marker : {"deprecated", "Session aborted before writing", "Error:", "Error assigning tag",
                             "Unrecognize tag"})
    if (Line.find(marker) != AnsiString::npos) return true;
  return false;
}
