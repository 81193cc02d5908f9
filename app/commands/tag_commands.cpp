#include "app/commands/tag_commands.h"

#include "app/commands/command_line_quote.h"
#include "app/commands/mux_command.h"
#include "app/commands/tool_command_line.h"
#include "app/common/utf8.h"
#include "widetext/filenames.h"

namespace {

// AtomicParsley reads its arguments as UTF-16: every value is written whole, as UTF-8 here.
AnsiString Argument(const WideString& Value) { return QuoteArgument(WideToUtf8(Value)); }

void Option(AnsiString& Line, const char* Name, const WideString& Value) {
  if (!Value.empty()) Line += Name + Argument(Value);
}

// "3" or "3/12": the number, with its total when there is one.
void CountOption(AnsiString& Line, const char* Name, const WideString& Number, const WideString& Total) {
  if (!Number.empty()) Line += Name + Argument(Total.empty() ? Number : Number + L"/" + Total);
}

}  // namespace

AnsiString AtomicParsleyCommandLine(const WideString& Tagger, const WideString& File, const TTagFields& Tags) {
  AnsiString line = Argument(Tagger) + " " + Argument(File) + " --overWrite";
  Option(line, " --title ", Tags.Name);
  Option(line, " --artist ", Tags.Artist);
  Option(line, " --year ", Tags.Year);
  Option(line, " --composer ", Tags.Writer);
  CountOption(line, " --tracknum ", Tags.TrackNum, Tags.TrackTotal);
  Option(line, " --album ", Tags.Album);
  CountOption(line, " --disk ", Tags.DiskNum, Tags.DiskTotal);
  Option(line, " --grouping ", Tags.Group);
  Option(line, " --bpm ", Tags.Tempo);
  Option(line, " --composer ", Tags.Composer);
  if (Tags.Compilation) line += " --compilation " + Argument(L"true");
  Option(line, " --genre ", Tags.Genre);
  Option(line, " --comment ", Tags.Comment);
  if (!Tags.Cover.empty()) line += " --artwork " + Argument(Tags.Cover);
  return line;
}

TRunRequest AtomicParsleyRun(const WideString& Tagger, const WideString& File, const TTagFields& Tags) {
  TRunRequest run;
  run.Tool = TToolKind::AtomicParsley;
  // Always started with its UTF-16 line (the code-page form beside it for the log).
  run.WideCommandLine = Utf8ToWide(AtomicParsleyCommandLine(Tagger, File, Tags));
  run.CommandLine = WideToAnsi(run.WideCommandLine);
  // Fixed English texts: the language files have none for this run.
  const WideString starting = L"Tagging of " + WideExtractFileName(File) + L"...";
  run.Notes = {{starting, pekInformation, true},
               {L"Command Line used for Tagging : " + CommandLineText(run), pekInformation, false}};
  return run;
}

AnsiString FilesTagCommandLine(const TFileTagOptions& Options, const AnsiString& ITags, const WideString& Source,
                               const WideString& Target) {
  const TMP4BoxVersion& v = Options.Version;
  // Today's tool keeps only the given tags of a file it imports with "-add": it rewrites
  // the file itself, whole, into "-out".
  const bool current = IsCurrentGeneration(v);
  AnsiString line = PathArgument(Options.Tagger, v) + ITags + (current ? " " : " -add ") + PathArgument(Source, v);
  if (!Options.TempFolder.empty()) line += " -tmp " + PathArgument(Options.TempFolder, v);
  if (Options.Verbose) line += " -v";
  return line + (current ? " -out " : " -new ") + OutputArgument(Target, v);
}
