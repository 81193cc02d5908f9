// Why a run of a tool failed, in the tool's own words: its last error lines (or, without
// any, its last line) and its exit code, for the status row the user reads.
#pragma once

#include <deque>

#include "app/common/named_texts.h"
#include "app/jobs/output_parser.h"

// The lines of one run that may tell why it failed.
struct TRunLines {
  static constexpr size_t kKeptErrors = 2;
  std::deque<AnsiString> Errors;  // the last lines that speak of an error or mean a problem
  AnsiString Last;                // the last line that was not progress
  bool ProblemSeen = false;       // the parser saw a warning or error line

  // A complete output line of the run; Problem: the parser saw a warning or error in it;
  // Telling: a line that says why the run failed without the word "error", kept with the
  // error lines.
  void Note(const AnsiString& Line, bool Progress, bool Problem, bool Telling = false);
};

// "MP4Box: Error creating file x: I/O Error (exit code 1)"; the exit code only when the
// tool ended by itself with one other than 0.
WideString FailureReasonText(TToolKind Tool, const TRunLines& Lines, bool EndedByItself, unsigned ExitCode,
                             const TNamedTexts& Texts, bool Utf8Output = false);
