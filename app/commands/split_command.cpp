#include "app/commands/split_command.h"

#include <cmath>
#include <cwctype>

#include "app/commands/mux_command.h"
#include "app/commands/mux_job.h"
#include "app/commands/tool_command_line.h"
#include "widetext/filenames.h"

namespace {

bool AllDigits(const WideString& S) {
  if (S.empty() || S.size() > 9) return false;
  for (wchar_t c : S)
    if (!std::iswdigit(c)) return false;
  return true;
}

// The number in characters From to From + Count - 1 (counted from 1); no value when they
// are not all digits.
std::optional<int> NumberAt(const WideString& S, size_t From, size_t Count) {
  if (S.size() < From - 1 + Count) return std::nullopt;
  const WideString part = S.substr(From - 1, Count);
  if (!AllDigits(part)) return std::nullopt;
  return std::stoi(part);
}

std::optional<int> HoursMinutesSeconds(const WideString& S) {
  const auto h = NumberAt(S, 1, 2), m = NumberAt(S, 4, 2), s = NumberAt(S, 7, 2);
  if (!h || !m || !s) return std::nullopt;
  return *h * 3600 + *m * 60 + *s;
}

WideString Fill(const WideString& Pattern, const WideString& Value) {
  WideString text = Pattern;
  const size_t at = text.find(L"%s");
  if (at != WideString::npos) text.replace(at, 2, Value);
  return text;
}

}  // namespace

int ChapterTimeToSeconds(const WideString& Text) {
  if (Text.size() <= 9) return 0;
  return HoursMinutesSeconds(Text).value_or(0);
}

std::optional<int> SplitTimeToSeconds(const WideString& Text) {
  const size_t length = Text.size();
  if (length == 0) return std::nullopt;
  if (length <= 2) {
    const auto hours = NumberAt(Text, 1, length);
    if (!hours) return std::nullopt;
    return *hours * 3600;
  }
  if (length == 5) {
    const auto h = NumberAt(Text, 1, 2), m = NumberAt(Text, 4, 2);
    if (!h || !m) return std::nullopt;
    return *h * 3600 + *m * 60;
  }
  if (length < 10) return NumberAt(Text, 1, length);
  return HoursMinutesSeconds(Text);
}

AnsiString ChapterTimeArgument(const WideString& Text) {
  AnsiString value = IntToStr(ChapterTimeToSeconds(Text));
  const size_t point = Text.find(L'.');
  if (point != WideString::npos && point + 1 < Text.size()) value += "." + WideToAnsi(Text.substr(point + 1));
  return value;
}

namespace {

// Whole seconds as "hh:mm:ss".
WideString ClockText(long long Seconds) {
  wchar_t text[32];
  swprintf(text, 32, L"%02lld:%02lld:%02lld", Seconds / 3600, Seconds / 60 % 60, Seconds % 60);
  return text;
}

}  // namespace

std::optional<AnsiString> SplitSizeKilobytes(const WideString& Megabytes) {
  // Digits with at most one decimal separator, at most 9 digits before it and 3 after.
  size_t separator = WideString::npos;
  for (size_t i = 0; i < Megabytes.size(); ++i) {
    const wchar_t c = Megabytes[i];
    if (c == L'.' || c == L',') {
      if (separator != WideString::npos) return std::nullopt;
      separator = i;
    } else if (!std::iswdigit(c)) {
      return std::nullopt;
    }
  }
  const WideString whole = Megabytes.substr(0, separator);
  const WideString fraction = separator == WideString::npos ? WideString() : Megabytes.substr(separator + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  if (whole.size() > 9 || fraction.size() > 3) return std::nullopt;
  // Thousandths of a megabyte times 1024 are thousandths of a kilobyte: exact, no rounding.
  long long thousandths = (whole.empty() ? 0 : std::stoll(whole)) * 1000;
  if (!fraction.empty()) thousandths += std::stoll((fraction + L"00").substr(0, 3));
  if (thousandths <= 0) return std::nullopt;
  const long long kilo = thousandths * 1024;
  AnsiString text = IntToStr(kilo / 1000);
  if (long long rest = kilo % 1000; rest != 0) {
    char digits[8];
    snprintf(digits, sizeof digits, "%03lld", rest);
    AnsiString f = digits;
    while (f.back() == '0') f.pop_back();
    text += "." + f;
  }
  return text;
}

TSplitRefusal CheckSplitJob(const TSplitOptions& o) {
  if (!IsMP4BoxPath(o.MP4BoxPath)) return TSplitRefusal::MP4BoxPath;
  if (o.Input.empty()) return TSplitRefusal::NoInput;
  switch (o.Mode) {
    case TSplitMode::Size:
      if (!SplitSizeKilobytes(o.Size)) return TSplitRefusal::BadSize;
      break;
    case TSplitMode::Duration: {
      const auto seconds = SplitTimeToSeconds(o.Duration);
      if (!seconds || *seconds <= 0) return TSplitRefusal::BadDuration;
      break;
    }
    case TSplitMode::Range: {
      const auto from = SplitTimeToSeconds(o.From);
      if (!from) return TSplitRefusal::BadFrom;
      const auto to = SplitTimeToSeconds(o.To);
      if (!to) return TSplitRefusal::BadTo;
      if (*to <= *from) return TSplitRefusal::EmptyRange;
      if (o.InputSeconds && *to > std::ceil(*o.InputSeconds)) return TSplitRefusal::PastEnd;
      break;
    }
    case TSplitMode::Chapter:
    case TSplitMode::AllChapters:
      if (o.Chapters.empty() || o.Chapter < 0 || o.Chapter >= static_cast<int>(o.Chapters.size()))
        return o.NoModeChecked ? TSplitRefusal::NoMode : TSplitRefusal::NoChapters;
      break;
  }
  return TSplitRefusal::None;
}

WideString SplitRefusalText(TSplitRefusal Refusal, const TSplitOptions& o, const TNamedTexts& t) {
  switch (Refusal) {
    case TSplitRefusal::None:
    case TSplitRefusal::MP4BoxPath: return WideString();
    case TSplitRefusal::NoInput: return t.SplitMsgNoInput;
    case TSplitRefusal::NoMode: return t.SplitMsgNoMode;
    case TSplitRefusal::BadSize: return Fill(t.SplitMsgBadSize, o.Size);
    case TSplitRefusal::BadDuration:
      return SplitTimeToSeconds(o.Duration) ? t.SplitMsgZeroDuration : Fill(t.SplitMsgBadTime, o.Duration);
    case TSplitRefusal::BadFrom: return Fill(t.SplitMsgBadTime, o.From);
    case TSplitRefusal::BadTo: return Fill(t.SplitMsgBadTime, o.To);
    case TSplitRefusal::EmptyRange: return t.SplitMsgEmptyRange;
    case TSplitRefusal::PastEnd:
      return FormatText(t.SplitMsgPastEnd, {ClockText(SplitTimeToSeconds(o.From).value_or(0)),
                                         ClockText(SplitTimeToSeconds(o.To).value_or(0)),
                                         ClockText(static_cast<long long>(std::ceil(o.InputSeconds.value_or(0))))});
    case TSplitRefusal::NoChapters: return t.SplitMsgNoChapters;
  }
  return WideString();
}

namespace {

// The start and end of a range or chapter run, as "-splitx" takes them.
std::pair<AnsiString, AnsiString> SplitRange(const TSplitOptions& o, int ChapterIndex) {
  if (o.Mode == TSplitMode::Range)
    return {IntToStr(SplitTimeToSeconds(o.From).value_or(0)), IntToStr(SplitTimeToSeconds(o.To).value_or(0))};
  const TSplitChapter& c = o.Chapters.at(ChapterIndex);
  return {ChapterTimeArgument(c.Start), ChapterTimeArgument(c.End)};
}

}  // namespace

AnsiString BuildSplitCommandLine(const TSplitOptions& o, int ChapterIndex) {
  AnsiString line = PathArgument(o.MP4BoxPath, o.Version);
  switch (o.Mode) {
    case TSplitMode::Size: line += " -splits " + *SplitSizeKilobytes(o.Size); break;
    case TSplitMode::Duration: line += " -split " + IntToStr(SplitTimeToSeconds(o.Duration).value_or(0)); break;
    case TSplitMode::Range:
    case TSplitMode::Chapter:
    case TSplitMode::AllChapters: {
      const auto [from, to] = SplitRange(o, ChapterIndex);
      line += " -splitx " + from + ":" + to;
      break;
    }
  }
  if (o.Verbose) line += " -v";
  return line + " " + PathArgument(o.Input, o.Version);
}

WideString SplitFirstPart(const TSplitOptions& o, int ChapterIndex) {
  const WideString inputExt = WideExtractFileExt(o.Input);
  const WideString ext = IsCurrentGeneration(o.Version) ? WideString(L".mp4") : inputExt;
  const WideString base = o.Input.substr(0, o.Input.size() - inputExt.size());
  if (o.Mode == TSplitMode::Size || o.Mode == TSplitMode::Duration) return base + L"_001" + ext;
  const auto [from, to] = SplitRange(o, ChapterIndex);
  return base + L"_" + AnsiToWide(from) + L"_" + AnsiToWide(to) + ext;
}

std::vector<WideString> ExistingSplitParts(const TSplitOptions& o) {
  std::vector<WideString> parts;
  if (o.Mode == TSplitMode::Size || o.Mode == TSplitMode::Duration) {
    const WideString first = SplitFirstPart(o, 0);
    const size_t at = first.rfind(L"_001");
    for (int n = 1; n < 1000; ++n) {
      wchar_t number[8];
      swprintf(number, 8, L"_%03d", n);
      const WideString part = at == WideString::npos ? first : first.substr(0, at) + number + first.substr(at + 4);
      if (!WideFileExists(part)) break;
      parts.push_back(part);
      if (at == WideString::npos) break;
    }
    return parts;
  }
  const bool all = o.Mode == TSplitMode::AllChapters;
  const int count = all ? static_cast<int>(o.Chapters.size()) : 1;
  for (int i = 0; i < count; ++i) {
    const WideString part = SplitFirstPart(o, all ? i : o.Chapter);
    if (WideFileExists(part)) parts.push_back(part);
  }
  return parts;
}

WideString SplitStatusText(const TSplitOptions& o, int ChapterIndex) {
  const WideString name = WideExtractFileName(o.Input);
  switch (o.Mode) {
    case TSplitMode::Size: return L"Split " + name + L" into " + o.Size + L" MB part...";
    case TSplitMode::Duration: return L"Split " + name + L" each " + o.Duration + L" ...";
    case TSplitMode::Range: return L"Split " + name + L" from " + o.From + L" to " + o.To + L"...";
    default: return L"Split " + name + L" at Chapter # " + std::to_wstring(ChapterIndex + 1) + L" ...";
  }
}

TJobStart SplitJobStart(const TSplitOptions& Options, std::function<void(int)> SelectChapter) {
  TJobStart job;
  job.Mode = TJobMode::Split;
  const bool all = Options.Mode == TSplitMode::AllChapters;
  job.StepCount = all ? static_cast<int>(Options.Chapters.size()) : 1;
  job.Steps = [Options, SelectChapter, all](int StepIndex) -> std::optional<TRunRequest> {
    if (StepIndex >= (all ? static_cast<int>(Options.Chapters.size()) : 1)) return std::nullopt;
    const int chapter = all ? StepIndex : Options.Chapter;
    if (all && SelectChapter) SelectChapter(chapter);
    TRunRequest run;
    SetToolCommandLine(run, BuildSplitCommandLine(Options, chapter), Options.Version);
    run.Writes = {{{SplitFirstPart(Options, chapter)}}};
    run.Verbose = Options.Verbose;
    const WideString status = SplitStatusText(Options, chapter);
    run.Notes = {{status, pekInformation, true},
                 {L"Command Line used for the splitting : " + CommandLineText(run), pekInformation, false}};
    return run;
  };
  if (all && SelectChapter) job.Closed = [SelectChapter] { SelectChapter(0); };
  return job;
}

bool SplitTimeKey(wchar_t Key) { return Key == L'\b' || Key == L'.' || (Key >= L'0' && Key <= L':'); }
