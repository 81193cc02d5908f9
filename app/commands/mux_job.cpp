#include "app/commands/mux_job.h"

#include "app/commands/tool_command_line.h"
#include "app/common/text_routines.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

bool IsMP4BoxPath(const WideString& Path) {
  return !Path.empty() && WideLowerCase(WideExtractFileName(Path)) == L"mp4box.exe";
}

TMuxRefusal CheckTrackListJob(const std::vector<TTrackRow>& Rows, const WideString& MP4BoxPath,
                              const WideString& Output, bool AVCWarning) {
  if (!IsMP4BoxPath(MP4BoxPath)) return TMuxRefusal::MP4BoxPath;
  bool anyChecked = false;
  for (const TTrackRow& row : Rows) anyChecked = anyChecked || row.Checked;
  if (!anyChecked) return TMuxRefusal::NoCheckedTrack;
  if (Output.empty()) return TMuxRefusal::NoOutputName;
  if (AVCWarning && RawAvcRowLacksFrameRate(Rows)) return TMuxRefusal::RawAvcFrameRate;
  return TMuxRefusal::None;
}

TMuxRefusal CheckMuxJob(const std::vector<TTrackRow>& Rows, const TMuxOptions& Options,
                        const std::optional<long long>& SplitKilobytes, bool AVCWarning) {
  if (!IsMP4BoxPath(Options.MP4BoxPath)) return TMuxRefusal::MP4BoxPath;
  if (!SplitKilobytes) return TMuxRefusal::BadSplitSize;
  return CheckTrackListJob(Rows, Options.MP4BoxPath, Options.Output, AVCWarning);
}

TJobStart MuxJobStart(const std::vector<TTrackRow>& Rows, const TMuxOptions& Options, const TNamedTexts& Texts) {
  std::vector<TAviRawStep> preSteps = AviRawSteps(Rows, Options);
  TJobStart job;
  job.Mode = TJobMode::Mux;
  job.StepCount = static_cast<int>(preSteps.size()) + 1;
  for (const TAviRawStep& step : preSteps) job.TempFiles.push_back(RawH264FileOf(step.Input));
  // The rows and options are taken as they are at the start: later edits of the list do
  // not reach a running job.
  job.Steps = [Rows, Options, preSteps, Texts](int StepIndex) -> std::optional<TRunRequest> {
    TRunRequest run;
    if (StepIndex < static_cast<int>(preSteps.size())) {
      const TAviRawStep& step = preSteps[StepIndex];
      SetToolCommandLine(run, BuildAviRawCommandLine(Options, step), Options.Version);
      run.Writes = {{{RawH264FileOf(step.Input)}}};
      run.Notes = {{Texts.AVCinAVIDetect, pekError, true},
                   {step.LogText, pekInformation, true},
                   {Texts.CmdUsedForExtract + L" : " + CommandLineText(run), pekInformation, false}};
      return run;
    }
    if (StepIndex != static_cast<int>(preSteps.size())) return std::nullopt;
    SetToolCommandLine(run, BuildMuxCommandLine(Rows, Options), Options.Version);
    run.Writes = MuxOutputs(Options);
    run.Verbose = Options.Verbose;
    run.TagsByMP4Box = !Options.ITags.empty();
    run.Notes = {{Texts.Msg5 + L" " + WideExtractFileName(Options.Output) + L"...", pekInformation, true}};
    if (Options.VFR && !VFRAppends(Options)) run.Notes.push_back({Texts.MsgVFRNotUsed, pekInformation, false});
    if (SplitMuxLosesThe3GPBrand(Options)) {
      const WideString first = WideExtractFileName(SplitMuxPartName(Options.Output, 1));
      run.Notes.push_back({FillText(Texts.MsgSplit3GPParts, first), pekWarning, true});
    }
    run.Notes.push_back({Texts.Msg6 + L" : " + CommandLineText(run), pekInformation, false});
    return run;
  };
  return job;
}
