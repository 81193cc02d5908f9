// The chapter file and the cue sheet the extract page writes from a file's chapter report
// (the text the stream listing kept): 8-bit text in the system code page, no byte-order
// mark, every line ended by CR LF; a file of the same name is replaced.
#pragma once

#include <vector>

#include "app/media/chapter_lines.h"
#include "vcl/sysutils.h"

// Two lines a chapter: "CHAPTER01=<start>" and "CHAPTER01NAME=<title>", numbered from 01.
std::vector<AnsiString> ChapterFileLines(const std::vector<TChapterLine>& Chapters);
// The head (performer, title and file of MediaFile), then a TRACK block a chapter.
std::vector<AnsiString> CueSheetLines(const WideString& MediaFile, const std::vector<TChapterLine>& Chapters);

// The cue sheet of MediaFile: its name with ".cue" for the extension.
WideString CueSheetFileOf(const WideString& MediaFile);
// The chapter file the extract page writes for MediaFile: its name with "_chap.txt".
WideString ChapterFileOf(const WideString& MediaFile);

// Write the chapters of ChapterText (ReadChapterReport) to FileName, or to the cue sheet of
// MediaFile. EFCreateError, naming the file and the system's reason, when the file cannot
// be written; nothing is left half written then.
void WriteChapterFile(const WideString& FileName, const WideString& ChapterText);
void WriteCueSheet(const WideString& MediaFile, const WideString& ChapterText);
