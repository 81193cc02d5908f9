#include "app/commands/convert_command.h"

#include "app/commands/command_line_quote.h"
#include "app/commands/mux_command.h"
#include "app/commands/tool_command_line.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

TConvertTarget ConvertTargetOf(const WideString& Input) {
  const WideString ext = WideLowerCase(WideExtractFileExt(Input));
  if (ext == L".srt") return TConvertTarget::ToTTXT;
  if (ext == L".ttxt") return TConvertTarget::ToSRT;
  return TConvertTarget::AviToMP4;
}

WideString ConversionOutput(const TConvertRequest& Request) {
  switch (Request.Target) {
    case TConvertTarget::ToTTXT: return WideChangeFileExt(Request.Input, L".ttxt");
    case TConvertTarget::ToSRT: return WideChangeFileExt(Request.Input, L".srt");
    case TConvertTarget::AviToMP4: break;
  }
  return WideChangeFileExt(Request.Input, L".mp4");
}

WideString ConversionRawStream(const TConvertRequest& Request) { return RawH264FileOf(Request.Input); }

TConvertRun BuildConvertCommandLine(const TConvertRequest& Request) {
  const WideString name = WideExtractFileName(Request.Input);
  const TMP4BoxVersion& v = Request.Version;
  TConvertRun run;
  run.CommandLine = PathArgument(Request.MP4BoxPath, v);
  switch (Request.Target) {
    case TConvertTarget::ToTTXT:
      run.CommandLine += " -ttxt";
      run.StatusText = L"Conversion of " + name + L" to ttxt format...";
      break;
    case TConvertTarget::ToSRT:
      run.CommandLine += " -srt";
      run.StatusText = L"Conversion of " + name + L" to srt format...";
      break;
    case TConvertTarget::AviToMP4:
      // Today's MP4Box refuses "-aviraw"; its "-raw" writes the stream where the mux reads it.
      run.CommandLine += IsCurrentGeneration(v) ? " -raw 1 -out " + PathArgument(ConversionRawStream(Request), v)
                                                : AnsiString(" -aviraw video");
      run.StatusText = L"Extraction of " + name + L" to raw h264...";
      break;
  }
  if (Request.Verbose) run.CommandLine += " -v";
  run.CommandLine += " " + PathArgument(Request.Input, v);
  run.CommandText = L"Command Line used for the conversion : " + CommandLineText(run.CommandLine, v);
  return run;
}

TConvertRun BuildAviConvertMuxCommandLine(const TConvertRequest& Request) {
  const WideString raw = ConversionRawStream(Request);
  // The frame rate belongs to the quoted stream name: "...\film_video.h264:fps=25.000".
  const TMP4BoxVersion& v = Request.Version;
  AnsiString source = PathText(raw, v);
  if (!Request.FrameRate.empty()) source += ":fps=" + ValueText(Request.FrameRate, v);
  TConvertRun run;
  run.CommandLine = PathArgument(Request.MP4BoxPath, v) + " -add " + QuoteArgument(source);
  run.CommandLine += Request.ReplaceOutput ? " -new " : " ";
  run.CommandLine += OutputArgument(ConversionOutput(Request), v);
  run.StatusText = L"Mux " + WideExtractFileName(raw) + L" to mp4...";
  run.CommandText = L"Command Line used for the mux : " + CommandLineText(run.CommandLine, v);
  return run;
}

TJobStart ConvertJobStart(const TConvertRequest& Request) {
  TJobStart job;
  job.Mode = TJobMode::Convert;
  const bool avi = Request.Target == TConvertTarget::AviToMP4;
  job.StepCount = avi ? 2 : 1;
  if (avi) job.TempFiles.push_back(ConversionRawStream(Request));
  job.Steps = [Request, avi, count = job.StepCount](int Step) -> std::optional<TRunRequest> {
    if (Step >= count) return std::nullopt;
    const TConvertRun run = Step == 0 ? BuildConvertCommandLine(Request) : BuildAviConvertMuxCommandLine(Request);
    TRunRequest request;
    SetToolCommandLine(request, run.CommandLine, Request.Version);
    const bool rawStep = avi && Step == 0;
    request.Writes = {{{rawStep ? ConversionRawStream(Request) : ConversionOutput(Request)}}};
    request.Verbose = Step == 0 && Request.Verbose;
    request.Notes = {{run.StatusText, pekInformation, true}, {run.CommandText, pekInformation, false}};
    return request;
  };
  return job;
}
