#include "app/commands/mux_command.h"

#include "app/commands/command_line_quote.h"
#include "app/commands/tool_command_line.h"
#include "app/media/media_analysis.h"
#include "app/settings/language_codes.h"
#include "widetext/filenames.h"

namespace {

using C = TTrackColumn;

bool IsNumber(const WideString& S) {
  return !S.empty() && S.find_first_not_of(L"0123456789") == WideString::npos;
}

// The track of a file is named by its number: a text track of an MP4 file named without it
// would import the whole file (its video and audio a second time). Subtitle files and
// chapter files are imported whole.
bool TakesSelector(const WideString& Type, const WideString& Index) {
  return Type == L"audio" || Type == L"video" || Type == L"vobsub" || (Type == L"sub" && IsNumber(Index));
}

AnsiString TrackSource(const TTrackRow& Row, const std::set<WideString>& AviH264Inputs, const TMP4BoxVersion& v,
                       bool KeepFrameRate) {
  WideString source = Row.InputPath();
  const WideString& type = Row[C::Type];
  if (type == L"video" && AviH264Inputs.count(source)) source = RawH264FileOf(source);
  AnsiString s = PathText(source, v);
  if (!Row[C::Index].empty() && TakesSelector(type, Row[C::Index])) s += "#" + ValueText(Row[C::Index], v);
  auto option = [&](const char* key, const WideString& value) {
    if (!value.empty()) s += key + ValueText(value, v);
  };
  option(":name=", Row[C::Name]);
  if (!Row[C::Language].empty()) s += ":lang=" + ValueText(LangNameToCode(Row[C::Language]), v);
  if (KeepFrameRate) option(":fps=", Row[C::FrameRate]);
  option(":par=", Row[C::PAR]);
  if (Row[C::HEAACSignal] == L"sbr") s += ":sbr";
  if (Row[C::HEAACSignal] == L"sbrx") s += ":sbrx";
  option(":delay=", Row[C::Delay]);
  option(":font=", Row[C::FontName]);
  option(":size=", Row[C::FontSize]);
  return s;
}

const char* const ComplianceOptions[] = {"", " -ipod -brand M4VP:1", " -ipod", " -isma", " -psp"};

}  // namespace

AnsiString EightBitPath(const WideString& Path) {
  AnsiString ansi = WideToAnsi(Path);
  if (AnsiToWide(ansi) == Path) return ansi;
  WideString shortName = WideExtractShortPathName(Path);
  return shortName.empty() ? ansi : WideToAnsi(shortName);
}

AnsiString PathArgument(const WideString& Path) { return QuoteArgument(EightBitPath(Path)); }

AnsiString TrackSourceArgument(const TTrackRow& Row, const std::set<WideString>& AviH264Inputs,
                               const TMP4BoxVersion& Version, bool KeepFrameRate) {
  return QuoteArgument(TrackSource(Row, AviH264Inputs, Version, KeepFrameRate));
}

AnsiString TrackFileOptions(const TTrackRow& Row, const TMP4BoxVersion& v) {
  AnsiString s;
  if (!Row[C::Brand].empty()) s += " -brand " + TextArgument(Row[C::Brand], v);
  if (!Row[C::Interleave].empty()) s += " -inter " + TextArgument(Row[C::Interleave], v);
  if (!Row[C::Copyright].empty()) s += " -cprt " + TextArgument(Row[C::Copyright], v);
  return s;
}

const char* ComplianceArgument(bool Enabled, int Index) {
  return Enabled && Index >= 0 && Index <= 4 ? ComplianceOptions[Index] : "";
}

AnsiString TextArgument(const WideString& Text) { return QuoteArgument(WideToAnsi(Text)); }

std::optional<long long> SplitKilobytes(int Index, const WideString& Text) {
  static const long long Fixed[] = {0, 716800, 819200, 1024000, 1433600};
  if (Index >= 0 && Index <= 4) return Fixed[Index];
  if (Index != 5) return 0;
  WideString digits = Text;
  while (!digits.empty() && digits.front() == L' ') digits.erase(0, 1);
  while (!digits.empty() && digits.back() == L' ') digits.pop_back();
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  long long mb = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return std::nullopt;
    mb = mb * 10 + (c - L'0');
  }
  if (mb == 0) return std::nullopt;
  return mb * 1024;
}

WideString RawH264FileOf(const WideString& AviPath) { return WideChangeFileExt(AviPath, L"_video.h264"); }

std::vector<TAviRawStep> AviRawSteps(const std::vector<TTrackRow>& Rows, const TMuxOptions& Options) {
  std::vector<TAviRawStep> steps;
  std::set<WideString> seen;
  for (const TTrackRow& row : Rows) {
    if (!row.Checked || row[C::Type] != L"video") continue;
    WideString input = row.InputPath();
    if (!Options.AviH264Inputs.count(input) || !seen.insert(input).second) continue;
    // Today's MP4Box refuses "-aviraw": its "-raw" writes the AVI's video track under the
    // name the creation command reads.
    const TMP4BoxVersion& v = Options.Version;
    AnsiString arguments = IsCurrentGeneration(v)
                               ? "-raw 1 -out " + PathArgument(RawH264FileOf(input), v) + " " + PathArgument(input, v)
                               : "-aviraw video " + PathArgument(input, v);
    steps.push_back({input, arguments, L"Extraction of " + row[C::File] + L" to raw h264..."});
  }
  return steps;
}

AnsiString BuildAviRawCommandLine(const TMuxOptions& Options, const TAviRawStep& Step) {
  return PathArgument(Options.MP4BoxPath, Options.Version) + " " + Step.Arguments;
}

AnsiString BuildMuxCommandLine(const std::vector<TTrackRow>& Rows, const TMuxOptions& Options) {
  const TMP4BoxVersion& v = Options.Version;
  AnsiString cmd = PathArgument(Options.MP4BoxPath, v);
  cmd += ComplianceArgument(Options.ComplianceEnabled, Options.Compliance);
  if (Options.Hint) cmd += " -hint";
  if (Options.Flat) cmd += " -flat";
  for (size_t i = 0; i < Rows.size(); ++i) {
    const TTrackRow& row = Rows[i];
    if (!row.Checked) continue;
    cmd += TrackFileOptions(row, v);
    if (row[C::Type] == L"chap")
      cmd += " -chap ";
    else
      cmd += VFRAppends(Options) && i != 0 ? " -cat " : " -add ";
    cmd += TrackSourceArgument(row, Options.AviH264Inputs, v);
  }
  if (Options.SplitKilobytes > 0) cmd += " -splits " + std::to_string(Options.SplitKilobytes);
  cmd += Options.ITags;
  if (!Options.TempFolder.empty()) cmd += " -tmp " + PathArgument(Options.TempFolder, v);
  if (Options.Verbose) cmd += " -v";
  if (!Options.CreateMP4) cmd += " -3gp";
  cmd += Options.OverWrite ? " -new " : " ";
  cmd += OutputArgument(Options.Output, v);
  return cmd;
}

bool VFRAppends(const TMuxOptions& Options) { return Options.VFR && !IsCurrentGeneration(Options.Version); }

bool SplitMuxLosesThe3GPBrand(const TMuxOptions& Options) {
  return !Options.CreateMP4 && Options.SplitKilobytes > 0 && IsCurrentGeneration(Options.Version);
}

WideString SplitMuxPartName(const WideString& Output, int N) {
  const WideString ext = WideExtractFileExt(Output);
  return Output.substr(0, Output.size() - ext.size()) + L"_" + std::to_wstring(N) + L".mp4";
}

std::vector<WideString> WrittenMuxFiles(const TMuxOptions& Options) {
  auto exists = [](const WideString& name) { return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; };
  if (Options.SplitKilobytes <= 0) return {Options.Output};
  if (IsCurrentGeneration(Options.Version)) {
    // Today's tool writes the parts only, "name_1.mp4" on, whatever the output's extension.
    std::vector<WideString> parts;
    for (int n = 1; exists(SplitMuxPartName(Options.Output, n)); ++n) parts.push_back(SplitMuxPartName(Options.Output, n));
    return parts;
  }
  if (exists(Options.Output)) return {Options.Output};
  const WideString ext = WideExtractFileExt(Options.Output);
  const WideString base = Options.Output.substr(0, Options.Output.size() - ext.size());
  std::vector<WideString> parts;
  for (int n = 1;; ++n) {
    wchar_t padded[16];
    swprintf(padded, 16, L"_%03d", n);
    const WideString numbered = base + L"_" + std::to_wstring(n) + ext;
    if (exists(numbered))
      parts.push_back(numbered);
    else if (exists(base + padded + ext))
      parts.push_back(base + padded + ext);
    else
      break;
  }
  return parts;
}

std::vector<TExpectedOutput> MuxOutputs(const TMuxOptions& Options) {
  if (Options.SplitKilobytes <= 0) return {{{Options.Output}}};
  if (IsCurrentGeneration(Options.Version)) return {{{SplitMuxPartName(Options.Output, 1)}}};
  const WideString ext = WideExtractFileExt(Options.Output);
  const WideString base = Options.Output.substr(0, Options.Output.size() - ext.size());
  return {{{Options.Output, base + L"_001" + ext, base + L"_1" + ext}}};
}

bool RawAvcRowLacksFrameRate(const std::vector<TTrackRow>& Rows) {
  for (const TTrackRow& row : Rows) {
    if (!row.Checked || row[C::Type] != L"video" || !row[C::FrameRate].empty()) continue;
    WideString ext = AnalysisExtension(row[C::File]);
    if (ext == L".264" || ext == L".h264") return true;
  }
  return false;
}
