#include "app/jobs/run_failure.h"

#include <algorithm>
#include <cctype>

#include "app/common/text_routines.h"

namespace {

bool SpeaksOfError(const AnsiString& Line) {
  AnsiString lower = Line;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower.find("error") != AnsiString::npos;
}

}  // namespace

void TRunLines::Note(const AnsiString& Line, bool Progress, bool Problem, bool Telling) {
  ProblemSeen = ProblemSeen || Problem;
  const AnsiString text = Trim(Line);
  if (Progress || text.empty()) return;
  Last = text;
  // A line of today's that means a failure without the word ("File truncated, aborting
  // read") tells why as well.
  if (!SpeaksOfError(text) && !Telling) return;
  Errors.push_back(text);
  if (Errors.size() > kKeptErrors) Errors.pop_front();
}

WideString FailureReasonText(TToolKind Tool, const TRunLines& Lines, bool EndedByItself, unsigned ExitCode,
                             const TNamedTexts& Texts, bool Utf8Output) {
  WideString text = Tool == TToolKind::AtomicParsley ? L"AtomicParsley:" : L"MP4Box:";
  if (!Lines.Errors.empty()) {
    for (const AnsiString& line : Lines.Errors) text += L" " + ToolOutputText(line, Utf8Output);
  } else if (!Lines.Last.empty()) {
    text += L" " + ToolOutputText(Lines.Last, Utf8Output);
  }
  if (EndedByItself && ExitCode != 0) text += L" (" + Texts.ToolExitCode + L" " + AnsiToWide(std::to_string(ExitCode)) + L")";
  return text;
}
