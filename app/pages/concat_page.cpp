// The concatenation page: the track list of the files to join, its buttons, the output file
// with its format and compliance; Next checks the setup and starts the join job. The
// command line and the checks are the logic's (app/commands/join_command).
#include "app/commands/join_command.h"
#include "app/commands/output_check.h"
#include "app/common/output_file.h"
#include "app/common/text_routines.h"
#include "app/ui/list_routines.h"
#include "app/forms/main_form.h"
#include "app/ui/track_row_item.h"
#include "app/ui/task_dialog_presets.h"
#include "widetext/filenames.h"
#include "widetext/uni_message_dialogs.h"

namespace {

const wchar_t* const ConcatFilter =
    L"All Files supported (*.*)|*.avi;*.mp4;*.m4a;*.m4b;*.mov;*.3gp;*.3g2;*.ts;*.mpeg;*.mpg;*.vcd;*.vob;*.qcp;*.ogg;"
    L"*.m4v;*.cmp;*.m1v;*.m2v;*.263;*.h263;*.264;*.h264;*.smv;*.mp2;*.mp3;*.mpa;*.evc;*.amr;*.awb;*.aac;|--- Audio "
    L"Files ---|*.aac;*.amr;*.awb;*.evc;*.mp3;*.mp2;*.mpa;*.smv|    AAC Files (*.aac)|*.aac|    AMR Files "
    L"(*.amr;*.awb)|*.amr;*.awb|    EVRC Files (*.evc)|*.evc|    MPEG-1 Audio Files (*mp3;*.mp2)|*.mp3;*.mp2;*.mpa|"
    L"    SMV Files (*.smv)|*.smv|--- Video Files ---|*.263;*.h263;*.264;*.h264;*.m1v;*.m2v;*.m4v;*.cmp|    H263 Video "
    L"Files (*.263;*.h263)|*.263;*.h263|    H264 Video Files (*.264;*.h264)|*.264;*.h264|    MPEG-1/2 Raw Files "
    L"(*.m1v;*.m2v)|*.m1v;*.m2v|    MPEG-4 Raw Files (*.m4v;*.cmp)|*.m4v;*.cmp|--- Container Files ---|*.avi;*.mpeg;"
    L"*.mpg;*.vcd;*.vob;*.ts;*.mov;*.ogg;*.qcp;*.3gp;*.3g2|    AVI Files (*.avi)|*.avi|    MPEG-4 Files "
    L"(*.mp4;*.m4a;*.m4b)|*.mp4;*.m4a;*.m4b|    MPEG-PS Files (*.mpeg;*.mpg;*.vcd;*.vob)|*.mpeg;*.mpg;*.vcd;*.vob|"
    L"    MPEG-TS Files (*.ts)|*.ts|    MOV Files (*.mov)|*.mov|    OGG Files (*.ogg)|*.ogg|    QCP Files (*.qcp)|"
    L"*.qcp|    3GPP Files (*.3gp;*.3g2)|*.3gp;*.3g2";

// The output extension of the format box: item 0 MP4, item 1 3GPP.
const wchar_t* OutputExtension(int FormatIndex) { return FormatIndex == 1 ? L".3gp" : L".mp4"; }

// Moves the selected row one place (Step -1 up, +1 down); the first row does not go up
// nor the last one down. The moved row stays selected.
void MoveSelectedRow(TUniListView* List, int Step) {
  TUniListItem* selected = List->Selected();
  if (!selected) return;
  const int index = selected->Index();
  const int target = index + Step;
  if (target < 0 || target >= List->Items()->Count()) return;
  if (Step < 0)
    MoveListItem(List, index, target);
  else
    MoveListItem(List, target, index);
  List->SetSelected(List->Items()->Item(target));
}

}  // namespace

void TMainForm::AddConcatFiles(const std::vector<WideString>& Files) {
  if (ConcListView->Items()->Count() == 0) FConcatFilesWithoutTracks.clear();
  std::vector<WideString> problems, added;
  for (const WideString& file : Files) {
    // Only a file that gave tracks is logged as loaded and names the new file.
    if (!AddFileToMuxList(file, &problems)) {
      FConcatFilesWithoutTracks.push_back(file);
      continue;
    }
    added.push_back(file);
    AddLogLine(WideExtractFileName(file) + L" " + NamedTexts().Floaded);
  }
  // Proposed once every chosen file is in the list: never one of them.
  if (edConcOutput->Text().empty() && !added.empty()) {
    std::vector<WideString> inputs = CheckedInputs(ReadTrackRows(ConcListView));
    inputs.insert(inputs.end(), added.begin(), added.end());
    edConcOutput->SetText(ProposeOutputName(added, L".mp4", inputs, TakesUnicodeArguments(MP4BoxVersion())));
  }
  for (const WideString& text : problems) AddLogLine(text);
  if (!problems.empty()) {
    WideString text;
    for (const WideString& line : problems) text += (text.empty() ? L"" : L"\n") + line;
    ShowTextNotice(MainTaskDialog, text);
  }
  for (TControl* c : {static_cast<TControl*>(btConcRemove), static_cast<TControl*>(btConcMoveUp),
                      static_cast<TControl*>(btConcMoveDown), static_cast<TControl*>(btConcProp)})
    c->SetVisible(true);
  ConcatPage->EnableButton(TKvWizardButtonKind::bkNext, HasCheckedItem(ConcListView));
  if (ConcListView->Items()->Count() > 0 && !ConcListView->Selected())
    ConcListView->SetSelected(ConcListView->Items()->Item(0));
}

void TMainForm::btConcAddClick(TObject*) {
  OpenDialog->SetFilter(ConcatFilter);
  OpenDialog->Options = OpenOption(ofAllowMultiSelect);
  OpenDialog->FilterIndex = 1;
  std::vector<WideString> files;
  if (OpenDialog->Execute()) {
    for (int i = 0; i < OpenDialog->Files()->Count(); ++i) files.push_back(OpenDialog->Files()->Strings(i));
  }
  AddConcatFiles(files);
}

void TMainForm::btConcRemoveClick(TObject*) {
  TUniListItem* selected = ConcListView->Selected();
  if (!selected) return;
  if (WideMessageDlg(NamedTexts().Msg1, mtWarning, MsgDlgButton(mbOK) | MsgDlgButton(mbCancel), 0) == mrOk)
    selected->Delete();
  if (ConcListView->Items()->Count() == 0) FConcatFilesWithoutTracks.clear();
  ConcatPage->EnableButton(TKvWizardButtonKind::bkNext, HasCheckedItem(ConcListView));
}

void TMainForm::btConcMoveUpClick(TObject*) { MoveSelectedRow(ConcListView, -1); }

void TMainForm::btConcMoveDownClick(TObject*) { MoveSelectedRow(ConcListView, +1); }

void TMainForm::btConcPropClick(TObject*) { ShowTrackProperties(ConcListView); }

void TMainForm::ConcListViewClick(TObject*) {
  ConcatPage->EnableButton(TKvWizardButtonKind::bkNext, HasCheckedItem(ConcListView));
}

void TMainForm::cbOutputFormatChange(TObject*) {
  if (edConcOutput->Text().empty()) return;
  const int format = cbOutputFormat->ItemIndex();
  edConcOutput->SetText(WideChangeFileExt(edConcOutput->Text(), OutputExtension(format)));
  cbCompliance2->SetEnabled(format != 1);
}

void TMainForm::btConcBrowseClick(TObject*) {
  const int format = cbOutputFormat->ItemIndex();
  SaveDialog->SetFilter(L"MP4 Files (*.mp4)|*.mp4|3GPP Files (*.3gp)|*.3gp");
  SaveDialog->FilterIndex = format == 1 ? 2 : 1;
  SaveDialog->SetFileName(edConcOutput->Text().empty() ? WideString() : WideExtractFileName(edConcOutput->Text()));
  if (SaveDialog->Execute()) edConcOutput->SetText(WideChangeFileExt(SaveDialog->FileName(), OutputExtension(format)));
}

TJoinOptions TMainForm::JoinOptionsOfPage() {
  TJoinOptions o;
  o.MP4BoxPath = edMP4Box->Text();
  o.ComplianceEnabled = cbCompliance2->Enabled();
  o.Compliance = cbCompliance2->ItemIndex();
  o.TempFolder = edTemp->Text();
  o.Verbose = chVerbose->Checked();
  o.OverWrite = chOverWrite->Checked();
  o.Output = edConcOutput->Text();
  o.Version = MP4BoxVersion();
  return o;
}

bool TMainForm::RefuseJoinOutOfSync(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options) {
  if (!FConcatFilesWithoutTracks.empty()) {
    ShowTextNotice(MainTaskDialog, FillText(NamedTexts().JoinMsgNoTrack, WideExtractFileName(FConcatFilesWithoutTracks.front())));
    return true;
  }
  const TJoinPlan plan = PlanJoin(Rows, Options);
  if (!plan.OutOfSync.empty()) {
    ShowTextNotice(MainTaskDialog, plan.OutOfSync);
    return true;
  }
  // What the join leaves out is said before it starts; the job's log repeats it.
  if (!plan.Dropped.empty()) {
    WideString text;
    for (const WideString& line : plan.Dropped) text += (text.empty() ? L"" : L"\n") + line;
    ShowTextNotice(MainTaskDialog, text);
  }
  return false;
}

void TMainForm::ConcatPageNextButtonClick(TObject*, bool& Stop) {
  Stop = true;  // the page changes only when the job starts, and then to the process page
  const std::vector<TTrackRow> rows = ReadTrackRows(ConcListView);
  TJoinOptions options = JoinOptionsOfPage();
  TPageJob launch;
  launch.Page = ConcatPage;
  launch.Version = options.Version;
  launch.PageRefuses = [&] {
    return RefuseTrackListJob(CheckJoinJob(rows, options, chWarningAVC->Checked()), ConcListView) ||
           RefuseJoinOutOfSync(rows, options);
  };
  launch.Files = [&] { return TLaunchFiles{CheckedInputs(rows), {options.Output}, {options.Output}}; };
  launch.YesTurnsOverwriteOn = true;
  launch.Job = [&](bool Replace) {
    if (Replace) options.OverWrite = true;
    return JoinJobStart(rows, options);
  };
  launch.Started = [&] { AddLogLine(NamedTexts().Msg3 + L" " + WideExtractFilePath(options.Output)); };
  LaunchPageJob(launch);
}

void AddConcatPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("btConcAddClick", &TMainForm::btConcAddClick)
      .Handler("btConcRemoveClick", &TMainForm::btConcRemoveClick)
      .Handler("btConcMoveUpClick", &TMainForm::btConcMoveUpClick)
      .Handler("btConcMoveDownClick", &TMainForm::btConcMoveDownClick)
      .Handler("btConcPropClick", &TMainForm::btConcPropClick)
      .Handler("ConcListViewClick", &TMainForm::ConcListViewClick)
      .Handler("cbOutputFormatChange", &TMainForm::cbOutputFormatChange)
      .Handler("btConcBrowseClick", &TMainForm::btConcBrowseClick)
      .Handler("ConcatPageNextButtonClick", &TMainForm::ConcatPageNextButtonClick);
}
