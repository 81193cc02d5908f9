// The run log: time-stamped lines kept while the program runs and written to "Kavo.log".
#pragma once

#include <windows.h>

#include "app/jobs/job_state.h"
#include "vcl/strings.h"

// "[" + the time "hh:nn:ss" + "] : " + the message in UTF-8.
AnsiString RunLogLine(const SYSTEMTIME& Time, const WideString& Message);
// The local time as "hh:nn:ss".
WideString TimeText(const SYSTEMTIME& Time);
WideString NowTimeText();

class TRunLog {
 public:
  TRunLog();
  ~TRunLog();
  TRunLog(const TRunLog&) = delete;
  TRunLog& operator=(const TRunLog&) = delete;

  // Appends a line with the local time now.
  void Add(const WideString& Message);
  void AddAt(const SYSTEMTIME& Time, const WideString& Message);
  TStrings* Lines() const { return FLines; }
  // Writes the whole log to FileName (an older file is deleted first) as UTF-8 with a
  // byte-order mark, one line each, CR LF line ends. False when the file cannot be written.
  bool SaveToFile(const WideString& FileName) const;

 private:
  TStringList* FLines;
};

// The files whose folder receives the log when it is saved beside the task's file.
struct TLogFolderSources {
  WideString ConvInput, ExtractInput, MuxOutput, ConcOutput, SplitInput;
  WideString TagFile;  // the selected row of the tag list (path + file); empty when none
};

// The log file to write: "Kavo.log" in ProgramFolder (KavoFolder), or beside the file of
// the task that ran (OutputFolder, by the first set mode flag in the order convert,
// extract, mux, join, split, tag); empty when nothing is to be written. ChosenBy tells the
// mode whose file chose the folder (None for the program's folder).
WideString ChooseLogFile(bool KavoFolder, bool OutputFolder, const TJobState& State,
                         const TLogFolderSources& Files, const WideString& ProgramFolder, TJobMode* ChosenBy = nullptr);
// Deletes "Kavo.log" in the folder of FileName when there is one.
void DeleteLogFile(const WideString& FileName);
// The folder of a file name: up to and including its last "\" or ":".
WideString FolderOf(const WideString& FileName);
// The line written when the program closes.
WideString ClosingLogText(const WideString& KavoClosed);
