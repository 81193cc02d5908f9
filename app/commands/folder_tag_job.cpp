#include "app/commands/folder_tag_job.h"

#include "app/commands/tool_command_line.h"
#include "widetext/filenames.h"

namespace {

bool Exists(const WideString& Name) { return GetFileAttributesW(Name.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

WideString TagWorkFileOf(const WideString& Path) {
  const WideString ext = WideExtractFileExt(Path);
  const WideString base = Path.substr(0, Path.size() - ext.size());
  WideString work = base + L"-tagging" + ext;
  for (int n = 2; Exists(work); ++n) work = base + L"-tagging" + std::to_wstring(n) + ext;
  return work;
}

WideString FinishTagRewrite(const WideString& Path, const WideString& Work, bool RunSucceeded) {
  if (!RunSucceeded || !Exists(Work)) {
    if (Exists(Work)) DeleteFileW(Work.c_str());
    return WideString();
  }
  if (MoveFileExW(Work.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return WideString();
  DeleteFileW(Work.c_str());
  return WideExtractFileName(Path) + L" could not be replaced by its tagged copy; the file is unchanged.";
}

TJobStart FolderTagJobStart(const TFolderTagJob& Job, const TNamedTexts& Texts) {
  std::vector<int> rows;
  for (size_t i = 0; i < Job.Files.size() && i < Job.Checked.size(); ++i)
    if (Job.Checked[i]) rows.push_back(static_cast<int>(i));
  TJobStart job;
  job.Mode = TJobMode::Tag;
  job.StepCount = static_cast<int>(rows.size());
  job.Steps = [Job, rows, Texts](int StepIndex) -> std::optional<TRunRequest> {
    if (StepIndex < 0 || StepIndex >= static_cast<int>(rows.size())) return std::nullopt;
    const int row = rows[StepIndex];
    if (Job.Select) Job.Select(row);
    const WideString& file = Job.Files[row];
    const WideString work = TagWorkFileOf(file);
    const AnsiString itags = Job.ITagsOf ? Job.ITagsOf(row) : AnsiString();
    TRunRequest run;
    SetToolCommandLine(run, BuildFilesTagCommandLine(Job.Options, itags, file, work), Job.Options.Version);
    run.Writes = {{{work}}};
    run.TagsByMP4Box = !itags.empty();
    run.Verbose = Job.Options.Verbose;
    run.Notes = {{Texts.Msg13 + L" " + WideExtractFileName(file) + L"...", pekInformation, true},
                 {Texts.Msg12 + L" : " + CommandLineText(run), pekInformation, false}};
    run.Finished = [file, work](bool Succeeded) { return FinishTagRewrite(file, work, Succeeded); };
    return run;
  };
  return job;
}
