// The launcher every task page's Next goes through: the checks of app/jobs/job_launch in
// their order, with the notice that says why a job does not start; the one question about
// the outputs that already exist (answered by the overwrite setting when it is on); the
// outputs' folders; then the process page and the job. A job that does not start leaves
// the user on the page, with its notice.
#include "app/commands/output_check.h"
#include "app/common/output_file.h"
#include "app/forms/main_form.h"
#include "app/ui/task_dialog_presets.h"
#include "widetext/filenames.h"

bool TMainForm::RefuseLaunch(const TLaunchVerdict& Verdict) {
  switch (Verdict.Refusal) {
    case TLaunchRefusal::None:
      return false;
    case TLaunchRefusal::MP4BoxPath:
      ShowMP4BoxPathNotice(MainTaskDialog);
      MainTaskDialog->Execute();
      break;
    case TLaunchRefusal::ToolRunning:
      ShowProcessRunningNotice(MainTaskDialog);
      break;
    case TLaunchRefusal::OutputIsInput:
      ShowTextNotice(MainTaskDialog, OutputIsInputText(Verdict.File));
      break;
    case TLaunchRefusal::NameNotTaken:
      ShowTextNotice(MainTaskDialog, OutputNameOutsideCodePageText(Verdict.File));
      break;
  }
  return true;
}

bool TMainForm::LaunchPageJob(const TPageJob& Job) {
  auto back = [&] {
    if (Wizard->ActivePage() != Job.Page) Wizard->SetActivePage(Job.Page);
    return false;
  };
  TLaunchCheck check;
  check.MP4BoxPath = edMP4Box->Text();
  check.Version = Job.Version;
  check.ToolRunning = FJobs->ToolRunning() || FJobs->JobRunning();
  if (RefuseLaunch(CheckLaunchTool(check))) return back();
  if (Job.PageRefuses && Job.PageRefuses()) return back();
  if (Job.Files) check.Files = Job.Files();
  if (RefuseLaunch(CheckLaunchFiles(check))) return back();

  const std::vector<WideString> existing = ExistingOutputs(check.Files.Outputs);
  const bool replace = !existing.empty();
  if (replace && !chOverWrite->Checked()) {
    ShowOverwriteQuestion(MainTaskDialog, existing);
    if (MainTaskDialog->Execute() != 100) return back();
    if (Job.YesTurnsOverwriteOn) chOverWrite->SetChecked(true);
  }
  for (const WideString& file : existing) AddLogLine(WideExtractFileName(file) + L" " + NamedTexts().MsgOverwritten);
  for (const WideString& output : check.Files.NamedOutputs)
    if (const WideString reason = PrepareOutputFolder(output); !reason.empty()) {
      ShowTextNotice(MainTaskDialog, reason);
      return back();
    }

  // A row the user selected in an earlier job's events is not this job's.
  ETAListView->ClearSelection();
  Wizard->SetActivePage(ProcessPage);
  if (!FJobs->StartJob(Job.Job(replace))) {
    back();
    ShowProcessRunningNotice(MainTaskDialog);
    return false;
  }
  if (Job.Started) Job.Started();
  return true;
}
