#include "app/commands/join_command.h"

#include <algorithm>
#include <map>

#include "app/commands/tool_command_line.h"
#include "app/common/text_routines.h"
#include "app/media/media_analysis.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

namespace {

using C = TTrackColumn;

bool SameFile(const TTrackRow& Row, const WideString& LowerPath) { return WideLowerCase(Row.InputPath()) == LowerPath; }

// The rows of one input file, in list order.
struct TJoinFile {
  WideString Path;  // as the first of its rows names it
  std::vector<const TTrackRow*> Rows;
};

// The files of the rows, chapter files left aside, in the order of their first row.
std::vector<TJoinFile> FilesOf(const std::vector<TTrackRow>& Rows) {
  std::vector<TJoinFile> files;
  std::map<WideString, size_t> index;
  for (const TTrackRow& row : Rows) {
    if (row[C::Type] == L"chap") continue;
    const WideString key = WideLowerCase(row.InputPath());
    auto [at, added] = index.emplace(key, files.size());
    if (added) files.push_back({row.InputPath(), {}});
    files[at->second].Rows.push_back(&row);
  }
  return files;
}

std::vector<const TTrackRow*> CheckedOf(const TJoinFile& File) {
  std::vector<const TTrackRow*> rows;
  for (const TTrackRow* row : File.Rows)
    if (row->Checked) rows.push_back(row);
  return rows;
}

// The files today's join reads: the file of the first checked row (its tracks added one by
// one), then every other file with a checked row, appended whole.
struct TCurrentJoin {
  TJoinFile First;
  std::vector<TJoinFile> Later;
};

TCurrentJoin CurrentJoinOf(const std::vector<TTrackRow>& Rows) {
  TCurrentJoin join;
  bool haveFirst = false;
  for (const TJoinFile& file : FilesOf(Rows)) {
    if (CheckedOf(file).empty()) continue;
    if (!haveFirst) {
      join.First = file;
      haveFirst = true;
    } else {
      join.Later.push_back(file);
    }
  }
  return join;
}

// MP4Box reads these as ISO media files: their tracks keep their own timing, and a frame
// rate forced on one of them keeps a whole file from being appended to it.
bool IsIsoFile(const WideString& Path) {
  const WideString ext = AnalysisExtension(Path);
  for (const wchar_t* e : {L".mp4", L".m4v", L".m4a", L".m4b", L".mov", L".3gp", L".3g2"})
    if (ext == e) return true;
  return false;
}

std::vector<WideString> TypesOf(const std::vector<const TTrackRow*>& Rows) {
  std::vector<WideString> types;
  for (const TTrackRow* row : Rows) types.push_back((*row)[C::Type]);
  std::sort(types.begin(), types.end());
  return types;
}

// The per-track options that an appended file's row cannot bring.
bool HasOwnOptions(const TTrackRow& Row, const TTrackRow* Target) {
  for (C column : {C::Name, C::Language, C::FrameRate, C::PAR, C::HEAACSignal, C::Delay, C::FontName, C::FontSize}) {
    const WideString& value = Row[column];
    if (!value.empty() && (!Target || (*Target)[column] != value)) return true;
  }
  return false;
}

// The row of the first file that the appended row joins: the one of the same type and
// rank among its type.
const TTrackRow* TargetOf(const TJoinFile& Later, const TTrackRow& Row, const std::vector<const TTrackRow*>& First) {
  int rank = 0;
  for (const TTrackRow* r : Later.Rows) {
    if (r == &Row) break;
    if ((*r)[C::Type] == Row[C::Type]) ++rank;
  }
  for (const TTrackRow* r : First)
    if ((*r)[C::Type] == Row[C::Type] && rank-- == 0) return r;
  return nullptr;
}

// Whether the first file's rows lose their frame rate: it cannot be forced on an ISO
// file's track that a whole file is appended to. (With raw streams the captures show
// nothing: their frame rate stays.)
bool DropsFrameRate(const TCurrentJoin& Join) { return !Join.Later.empty() && IsIsoFile(Join.First.Path); }

AnsiString BuildCurrentJoinCommandLine(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options) {
  const TMP4BoxVersion& v = Options.Version;
  const TCurrentJoin join = CurrentJoinOf(Rows);
  const WideString first = WideLowerCase(join.First.Path);
  const bool keepFrameRate = !DropsFrameRate(join);
  AnsiString cmd = PathArgument(Options.MP4BoxPath, v);
  cmd += ComplianceArgument(Options.ComplianceEnabled, Options.Compliance);
  std::vector<WideString> appended;
  for (const TTrackRow& row : Rows) {
    if (!row.Checked) continue;
    cmd += TrackFileOptions(row, v);
    if (row[C::Type] == L"chap") {
      cmd += " -chap " + TrackSourceArgument(row, {}, v);
    } else if (SameFile(row, first)) {
      cmd += " -add " + TrackSourceArgument(row, {}, v, keepFrameRate);
    } else {
      // A later file goes whole, once, into the tracks of its kinds: appended track by
      // track, each track would start after the end of the tracks before it.
      const WideString key = WideLowerCase(row.InputPath());
      if (std::find(appended.begin(), appended.end(), key) != appended.end()) continue;
      appended.push_back(key);
      cmd += " -cat " + PathArgument(row.InputPath(), v);
    }
  }
  if (!Options.TempFolder.empty()) cmd += " -tmp " + PathArgument(Options.TempFolder, v);
  if (Options.Verbose) cmd += " -v";
  cmd += Options.OverWrite ? " -new " : " ";
  cmd += OutputArgument(Options.Output, v);
  return cmd;
}

}  // namespace

TJoinPlan PlanJoin(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options, const TNamedTexts& Texts) {
  TJoinPlan plan;
  if (!IsCurrentGeneration(Options.Version)) return plan;
  const TCurrentJoin join = CurrentJoinOf(Rows);
  if (join.Later.empty()) return plan;
  const std::vector<const TTrackRow*> first = CheckedOf(join.First);
  for (const TJoinFile& later : join.Later) {
    const WideString name = WideExtractFileName(later.Path);
    if (CheckedOf(later).size() != later.Rows.size()) {
      plan.OutOfSync = FillText(Texts.JoinMsgSomeTracks, name);
      return plan;
    }
    if (AnalysisExtension(later.Path) == L".aac") {
      plan.OutOfSync = FillText(Texts.JoinMsgAACStream, name);
      return plan;
    }
    if (TypesOf(later.Rows) != TypesOf(first)) {
      plan.OutOfSync = FillText(Texts.JoinMsgOtherTracks, name);
      return plan;
    }
  }
  if (DropsFrameRate(join)) {
    for (const TTrackRow* row : first) {
      if ((*row)[C::FrameRate].empty()) continue;
      const WideString track = L"\"" + WideExtractFileName(join.First.Path) + L"\" #" + (*row)[C::Index] + L" (" +
                               (*row)[C::FrameRate] + L")";
      plan.Dropped.push_back(FillText(Texts.JoinMsgFrameRateLeft, track));
    }
  }
  for (const TJoinFile& later : join.Later) {
    for (const TTrackRow* row : later.Rows) {
      if (!HasOwnOptions(*row, TargetOf(later, *row, first))) continue;
      plan.Dropped.push_back(FillText(Texts.JoinMsgOptionsLeft, WideExtractFileName(later.Path)));
      break;
    }
  }
  return plan;
}

AnsiString BuildJoinCommandLine(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options) {
  const TMP4BoxVersion& v = Options.Version;
  if (IsCurrentGeneration(v)) return BuildCurrentJoinCommandLine(Rows, Options);
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
    run.Notes = {{Texts.Msg5 + L" " + WideExtractFileName(Options.Output) + L"...", pekInformation, true}};
    // What the join leaves out is in the log too.
    for (const WideString& dropped : PlanJoin(Rows, Options, Texts).Dropped)
      run.Notes.push_back({dropped, pekInformation, false});
    run.Notes.push_back({Texts.Msg6 + L" : " + CommandLineText(run), pekInformation, false});
    return run;
  };
  return job;
}
