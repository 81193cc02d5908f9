#include "app/commands/join_command.h"

#include "app/commands/tool_command_line.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

namespace {

using C = TTrackColumn;

}  // namespace

AnsiString BuildJoinCommandLine(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options) {
  const TMP4BoxVersion& v = Options.Version;
  AnsiString cmd = PathArgument(Options.MP4BoxPath, v);
  cmd += ComplianceArgument(Options.ComplianceEnabled, Options.Compliance);
  const WideString firstFile = Rows.empty() ? WideString() : WideLowerCase(Rows.front().InputPath());
  for (const TTrackRow& row : Rows) {
    if (!row.Checked) continue;
    cmd += TrackFileOptions(row, v);
    if (row[C::Type] == L"chap")
      cmd += " -chap ";
    else
      cmd += WideLowerCase(row.InputPath()) == firstFile ? " -add " : " -cat ";
    cmd += TrackSourceArgument(row, {}, v);
  }
  if (!Options.TempFolder.empty()) cmd += " -tmp " + PathArgument(Options.TempFolder, v);
  if (Options.Verbose) cmd += " -v";
  cmd += Options.OverWrite ? " -new " : " ";
  cmd += OutputArgument(Options.Output, v);
  return cmd;
}

TMuxRefusal CheckJoinJob(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options, bool AVCWarning) {
  return CheckTrackListJob(Rows, Options.MP4BoxPath, Options.Output, AVCWarning);
}

TJobStart JoinJobStart(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options, const TNamedTexts& Texts) {
  TJobStart job;
  job.Mode = TJobMode::Concat;
  job.StepCount = 1;
  job.Steps = [Rows, Options, Texts](int StepIndex) -> std::optional<TRunRequest> {
    if (StepIndex != 0) return std::nullopt;
    TRunRequest run;
    SetToolCommandLine(run, BuildJoinCommandLine(Rows, Options), Options.Version);
    run.Writes = {{{Options.Output}}};
    run.Verbose = Options.Verbose;
    run.Notes = {{Texts.Msg5 + L" " + WideExtractFileName(Options.Output) + L"...", pekInformation, true},
                 {Texts.Msg6 + L" : " + CommandLineText(run), pekInformation, false}};
    return run;
  };
  return job;
}
