// "Save Infos as..." of the mux list's pop-up menu: the list's rows as text, or MP4Box's
// "-info" answer about the selected row's file, run outside any job into Memo2.
#include "app/commands/info_command.h"
#include "app/common/file_write.h"
#include "app/ui/list_export.h"
#include "app/forms/main_form.h"
#include "app/ui/track_row_item.h"
#include "app/ui/task_dialog_presets.h"
#include "vcl/application.h"
#include "widetext/uni_message_dialogs.h"

namespace {

const wchar_t* const TextFilter = L"Text Files (*.txt)|*.txt";

void ShowWriteError(const Exception& e) { WideMessageDlg(AnsiToWide(e.Message), mtError, MsgDlgButton(mbOK), 0); }

}  // namespace

void TMainForm::KavoForm1Click(TObject*) {
  InfoSaveDialog->SetFileName(L"Kavo-infos.txt");
  InfoSaveDialog->SetFilter(TextFilter);
  if (!InfoSaveDialog->Execute()) return;
  try {
    SaveListviewStrings(MP4ListView, InfoSaveDialog->FileName());
  } catch (const Exception& e) {
    ShowWriteError(e);
  }
}

void TMainForm::Full1Click(TObject*) { SaveMP4BoxInfos(false); }

void TMainForm::ByTrack1Click(TObject*) { SaveMP4BoxInfos(true); }

bool TMainForm::WaitForInfoRun(DWORD TimeoutMs) {
  // The window keeps painting, but takes no clicks that could start a job meanwhile.
  Wizard->SetEnabled(false);
  const ULONGLONG start = GetTickCount64();
  bool ended = true;
  while (FJobs->State().InfoRun) {
    if (GetTickCount64() - start >= TimeoutMs) {
      ended = false;
      break;
    }
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  Wizard->SetEnabled(true);
  return ended;
}

void TMainForm::SaveMP4BoxInfos(bool ByTrack) {
  TUniListItem* selected = MP4ListView->Selected();
  if (!selected) return;
  // The query never takes the place of a job's run.
  if (FJobs->ToolRunning() || FJobs->JobRunning()) {
    ShowProcessRunningNotice(MainTaskDialog);
    return;
  }
  Memo2->Lines()->Clear();
  const AnsiString command = BuildInfoCommandLine(edMP4Box->Text(), TTrackRowItem(selected).Read(), ByTrack);
  if (!FJobs->StartInfoRun(command, [this](const AnsiString& Line) { Memo2->Lines()->Add(Line); })) {
    ShowProcessRunningNotice(MainTaskDialog);
    return;
  }
  InfoSaveDialog->SetFilter(TextFilter);
  InfoSaveDialog->SetFileName(L"MP4Box-infos.txt");
  if (!InfoSaveDialog->Execute()) return;
  const WideString file = InfoSaveDialog->FileName();
  // The file holds MP4Box's whole answer: it is written once the run has ended.
  if (!WaitForInfoRun(InfoRunWaitMs)) {
    DosCommand->Stop();
    WideMessageDlg(L"MP4Box did not end its answer within " + std::to_wstring(InfoRunWaitMs / 1000) +
                       L" seconds and was stopped; \"" + file + L"\" was not written.",
                   mtError, MsgDlgButton(mbOK), 0);
    return;
  }
  AnsiString text;
  for (int i = 0; i < Memo2->Lines()->Count(); ++i) text += Memo2->Lines()->Strings(i) + "\r\n";
  try {
    WriteWholeFile(file, text);
  } catch (const Exception& e) {
    ShowWriteError(e);
  }
}

void AddStreamInfoHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("KavoForm1Click", &TMainForm::KavoForm1Click)
      .Handler("Full1Click", &TMainForm::Full1Click)
      .Handler("ByTrack1Click", &TMainForm::ByTrack1Click);
}
