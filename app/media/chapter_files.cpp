#include "app/media/chapter_files.h"

#include <windows.h>

#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

namespace {

const char* const Performer = "PERFORMER \" \"";

AnsiString Eight(const WideString& S) { return WideToAnsi(S); }

void WriteLines(const WideString& FileName, const std::vector<AnsiString>& Lines) {
  AnsiString text;
  for (const AnsiString& line : Lines) text += line + "\r\n";
  // The wide name reaches the file system as it is, also where the code page cannot carry it.
  HANDLE f = CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    throw EFCreateError("Cannot create file \"" + WideToAnsi(FileName) + "\". " + SysErrorMessage(error));
  }
  DWORD written = 0;
  const bool ok = text.empty() || (WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                                   written == text.size());
  const DWORD error = GetLastError();
  CloseHandle(f);
  if (!ok) {
    DeleteFileW(FileName.c_str());
    throw EFCreateError("Cannot write file \"" + WideToAnsi(FileName) + "\". " + SysErrorMessage(error));
  }
}

}  // namespace

std::vector<AnsiString> ChapterFileLines(const std::vector<TChapterLine>& Chapters) {
  std::vector<AnsiString> lines;
  for (size_t i = 0; i < Chapters.size(); ++i) {
    const AnsiString number = Eight(ChapterNumberText(static_cast<int>(i) + 1));
    lines.push_back("CHAPTER" + number + "=" + Eight(Chapters[i].Start));
    lines.push_back("CHAPTER" + number + "NAME=" + Eight(Chapters[i].Title));
  }
  return lines;
}

std::vector<AnsiString> CueSheetLines(const WideString& MediaFile, const std::vector<TChapterLine>& Chapters) {
  const WideString name = WideExtractFileName(MediaFile);
  const WideString ext = WideExtractFileExt(MediaFile);
  std::vector<AnsiString> lines = {
      Performer,
      "TITLE \"" + Eight(name.substr(0, name.size() - ext.size())) + "\"",
      "  FILE \"" + Eight(name) + "\" " + Eight(WideUpperCase(ext)),
  };
  for (size_t i = 0; i < Chapters.size(); ++i) {
    lines.push_back("     TRACK " + Eight(ChapterNumberText(static_cast<int>(i) + 1)) + " AUDIO");
    lines.push_back("       TITLE \"" + Eight(Chapters[i].Title) + "\"");
    lines.push_back(AnsiString("       ") + Performer);
    lines.push_back("       INDEX 01 " + Eight(Chapters[i].Start));
  }
  return lines;
}

WideString CueSheetFileOf(const WideString& MediaFile) { return WideChangeFileExt(MediaFile, L".cue"); }
WideString ChapterFileOf(const WideString& MediaFile) { return WideChangeFileExt(MediaFile, L"_chap.txt"); }

void WriteChapterFile(const WideString& FileName, const WideString& ChapterText) {
  WriteLines(FileName, ChapterFileLines(ReadChapterReport(ChapterText)));
}

void WriteCueSheet(const WideString& MediaFile, const WideString& ChapterText) {
  WriteLines(CueSheetFileOf(MediaFile), CueSheetLines(MediaFile, ReadChapterReport(ChapterText)));
}
