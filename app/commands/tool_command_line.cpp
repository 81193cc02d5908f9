#include "app/commands/tool_command_line.h"

#include "app/commands/command_line_quote.h"
#include "app/commands/mux_command.h"
#include "app/common/output_file.h"
#include "app/common/utf8.h"

AnsiString PathText(const WideString& Path, const TMP4BoxVersion& V) {
  return TakesUnicodeArguments(V) ? WideToUtf8(Path) : EightBitPath(Path);
}

AnsiString ValueText(const WideString& Text, const TMP4BoxVersion& V) {
  return TakesUnicodeArguments(V) ? WideToUtf8(Text) : WideToAnsi(Text);
}

AnsiString PathArgument(const WideString& Path, const TMP4BoxVersion& V) { return QuoteArgument(PathText(Path, V)); }

AnsiString TextArgument(const WideString& Text, const TMP4BoxVersion& V) { return QuoteArgument(ValueText(Text, V)); }

AnsiString OutputArgument(const WideString& Path, const TMP4BoxVersion& V) {
  if (TakesUnicodeArguments(V)) return QuoteArgument(WideToUtf8(Path));
  return QuoteArgument(EightBitOutputPath(Path).value_or(WideToAnsi(Path)));
}

void SetToolCommandLine(TRunRequest& Run, const AnsiString& Line, const TMP4BoxVersion& V) {
  Run.WideCommandLine.clear();
  // A tool that reads its arguments as UTF-16 turns them into UTF-8 and prints them so.
  Run.Utf8Output = TakesUnicodeArguments(V);
  if (!TakesUnicodeArguments(V)) {
    Run.CommandLine = Line;
    return;
  }
  SetUnicodeToolCommandLine(Run, Line);
}

void SetUnicodeToolCommandLine(TRunRequest& Run, const AnsiString& Utf8Line) {
  Run.WideCommandLine.clear();
  const WideString wide = Utf8ToWide(Utf8Line);
  Run.CommandLine = WideToAnsi(wide);
  if (AnsiToWide(Run.CommandLine) != wide) Run.WideCommandLine = wide;
}

WideString CommandLineText(const AnsiString& Line, const TMP4BoxVersion& V) {
  return TakesUnicodeArguments(V) ? Utf8ToWide(Line) : AnsiToWide(Line);
}

WideString CommandLineText(const TRunRequest& Run) {
  return Run.WideCommandLine.empty() ? AnsiToWide(Run.CommandLine) : Run.WideCommandLine;
}
