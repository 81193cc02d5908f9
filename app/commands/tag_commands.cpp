#include "app/commands/tag_commands.h"

#include "app/commands/mux_command.h"
#include "app/commands/tool_command_line.h"
#include "widetext/filenames.h"

namespace {

void Option(AnsiString& Line, const char* Name, const WideString& Value) {
  if (!Value.empty()) Line += Name + TextArgument(Value);
}

// "3" or "3/12": the number, with its total when there is one.
void CountOption(AnsiString& Line, const char* Name, const WideString& Number, const WideString& Total) {
  if (!Number.empty()) Line += Name + TextArgument(Total.empty() ? Number : Number + L"/" + Total);
}

}  // namespace

AnsiString BuildAtomicParsleyCommandLine(const WideString& Tagger, const WideString& File, const TTagFields& Tags) {
  AnsiString line = PathArgument(Tagger) + " " + PathArgument(File) + " --overWrite";
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
  if (Tags.Compilation) line += " --compilation " + TextArgument(L"true");
  Option(line, " --genre ", Tags.Genre);
  Option(line, " --comment ", Tags.Comment);
  if (!Tags.Cover.empty()) line += " --artwork " + PathArgument(Tags.Cover);
  return line;
}

TRunRequest AtomicParsleyRun(const WideString& Tagger, const WideString& File, const TTagFields& Tags) {
  TRunRequest run;
  run.Tool = TToolKind::AtomicParsley;
  run.CommandLine = BuildAtomicParsleyCommandLine(Tagger, File, Tags);
  // Fixed English texts: the language files have none for this run.
  const WideString starting = L"Tagging of " + WideExtractFileName(File) + L"...";
  run.Notes = {{starting, pekInformation, true},
               {L"Command Line used for Tagging : " + AnsiToWide(run.CommandLine), pekInformation, false}};
  return run;
}

AnsiString BuildFilesTagCommandLine(const TFileTagOptions& Options, const AnsiString& ITags, const WideString& Source,
                               const WideString& Target) {
  const TMP4BoxVersion& v = Options.Version;
  AnsiString line = PathArgument(Options.Tagger, v) + ITags + " -add " + PathArgument(Source, v);
  if (!Options.TempFolder.empty()) line += " -tmp " + PathArgument(Options.TempFolder, v);
  if (Options.Verbose) line += " -v";
  return line + " -new " + PathArgument(Target, v);
}
