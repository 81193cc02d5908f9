#include "app/commands/folder_tag_job.h"

#include "app/commands/mux_command.h"
#include "app/commands/tool_command_line.h"
#include "app/common/output_file.h"
#include "app/common/text_routines.h"
#include "app/media/tag_readback.h"
#include "widetext/filenames.h"

namespace {

bool Exists(const WideString& Name) { return GetFileAttributesW(Name.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReadOnly(const WideString& Name) {
  const DWORD a = GetFileAttributesW(Name.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

void Remove(const WideString& Name) {
  if (Exists(Name)) DeleteFileW(Name.c_str());
}

WideString Joined(const std::vector<WideString>& Items, const wchar_t* Separator) {
  WideString text;
  for (const WideString& item : Items) text += (text.empty() ? L"" : Separator) + item;
  return text;
}

// Whether the older tool's 8-bit line reaches the file: by its name, or by its short name.
bool EightBitReaches(const WideString& Path) { return AnsiToWide(EightBitPath(Path)) == Path ||
                                                      !WideExtractShortPathName(Path).empty(); }

}  // namespace

WideString TagWorkFileOf(const WideString& Path) {
  const WideString ext = WideExtractFileExt(Path);
  const WideString base = Path.substr(0, Path.size() - ext.size());
  WideString work = base + L"-tagging" + ext;
  for (int n = 2; Exists(work); ++n) work = base + L"-tagging" + std::to_wstring(n) + ext;
  return work;
}

WideString FinishTagRewrite(const WideString& Path, const WideString& Work, bool RunSucceeded,
                            const TTagFields& Asked, const TNamedTexts& Texts) {
  if (!RunSucceeded || !Exists(Work)) {
    Remove(Work);
    return WideString();
  }
  const WideString name = WideExtractFileName(Path);
  if (ReadOnly(Path)) {
    Remove(Work);
    return FillText(Texts.TagMsgReadOnly, name);
  }
  if (TMediaInfoLibrary::Instance().Loaded()) {
    std::vector<WideString> lost;
    {
      TMediaInfoFile original(Path), copy(Work);
      lost = LostTags(original, copy, Asked);
    }
    if (!lost.empty()) {
      Remove(Work);
      return FillText(FillText(Texts.TagMsgLostTags, name), Joined(lost, L", "));
    }
  }
  if (MoveFileExW(Work.c_str(), Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return WideString();
  Remove(Work);
  return FillText(Texts.TagMsgNotReplaced, name);
}

TFolderTagRefusal CheckFolderTagFiles(const std::vector<WideString>& Files, const std::vector<bool>& Checked,
                                      const TMP4BoxVersion& Version) {
  TFolderTagRefusal refusal;
  for (size_t i = 0; i < Files.size() && i < Checked.size(); ++i) {
    if (!Checked[i]) continue;
    const WideString& file = Files[i];
    if (ReadOnly(file)) refusal.ReadOnly.push_back(file);
    if (!TakesUnicodeArguments(Version) &&
        (!EightBitReaches(file) || !EightBitOutputPath(TagWorkFileOf(file))))
      refusal.Unspellable.push_back(file);
  }
  return refusal;
}

WideString FolderTagRefusalText(const TFolderTagRefusal& Refusal, const TNamedTexts& Texts) {
  std::vector<WideString> parts;
  auto names = [](const std::vector<WideString>& Files) {
    std::vector<WideString> n;
    for (const WideString& f : Files) n.push_back(WideExtractFileName(f));
    return Joined(n, L", ");
  };
  if (!Refusal.ReadOnly.empty()) parts.push_back(FillText(Texts.TagMsgReadOnlyFiles, names(Refusal.ReadOnly)));
  if (!Refusal.Unspellable.empty()) parts.push_back(FillText(Texts.TagMsgUnspellable, names(Refusal.Unspellable)));
  return Joined(parts, L"\r\n\r\n");
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
    const TTagFields tags = Job.TagsOf ? Job.TagsOf(row) : TTagFields();
    const AnsiString itags = TagPageITagsArgument(tags, Job.Options.Version);
    TRunRequest run;
    SetToolCommandLine(run, FilesTagCommandLine(Job.Options, itags, file, work), Job.Options.Version);
    run.Writes = {{{work}}};
    run.TagsByMP4Box = !itags.empty();
    run.Verbose = Job.Options.Verbose;
    run.Notes = {{Texts.Msg13 + L" " + WideExtractFileName(file) + L"...", pekInformation, true},
                 {Texts.Msg12 + L" : " + CommandLineText(run), pekInformation, false}};
    run.Finished = [file, work, tags, Texts](bool Succeeded) {
      return FinishTagRewrite(file, work, Succeeded, tags, Texts);
    };
    return run;
  };
  return job;
}
