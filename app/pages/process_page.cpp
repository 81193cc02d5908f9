// The process page: what the job sequencer reports shown on its bar, labels and status
// rows; the abort button; Back and Finish once a job has closed; the window's refusal to
// close while a tool runs; and where the run log is saved.
#include "app/forms/main_form.h"

#include "app/forms/prop_form.h"
#include "app/ui/status_rows.h"
#include "app/ui/task_dialog_presets.h"
#include "vcl/application.h"
#include "widetext/platform.h"
#include "widetext/uni_application.h"
// Last: DirectShow's headers define macros that clash with names above.
#include "preview/filter_graph.h"

namespace {

void SetTitle(const WideString& Title) {
  if (WideApplication)
    WideApplication->SetTitle(Title);
  else
    Application->SetTitle(WideToAnsi(Title));
}

class TProcessPageView : public IProcessView {
 public:
  explicit TProcessPageView(TMainForm* Form) : F(Form) {}

  void AddProcessEvent(const WideString& Text, int Kind) override {
    ::AddProcessEvent(F->ETAListView, Text, Kind);
    ScrollToLastRow();
  }
  void AddLogLine(const WideString& Text) override { F->AddLogLine(Text); }
  void ShowProgress(int Position, const WideString& PercentText) override {
    F->ProgressBar->SetPosition(Position);
    F->lbPercent->SetCaption(PercentText);
    ScrollToLastRow();
    SetTitle(PercentText + L" - Kavo");
  }
  void ShowTimeRemaining(const WideString& Text) override { F->lbTimeRemaining->SetCaption(Text); }
  void RunStarting() override {
    F->ProcessPage->EnableButton(TKvWizardButtonKind::bkFinish, false);
    F->ProcessPage->EnableButton(TKvWizardButtonKind::bkBack, false);
    F->btAbort->SetEnabled(true);
  }
  void JobClosed(TJobOutcome) override {
    ScrollToLastRow();
    if (F->ProgressBar->Position() != 0) F->ProgressBar->SetPosition(0);
    F->lbPercent->SetCaption(L"0 %");
    F->lbTimeRemaining->SetCaption(L"00:00:00");
    SetTitle(L"Kavo");
    F->ProcessPage->EnableButton(TKvWizardButtonKind::bkFinish, true);
    F->ProcessPage->EnableButton(TKvWizardButtonKind::bkBack, true);
    F->btAbort->SetEnabled(false);
    F->ViewLogFile1->SetEnabled(true);
  }

 private:
  void ScrollToLastRow() {
    const int count = F->ETAListView->Items()->Count();
    if (count > 0) F->ETAListView->Items()->Item(count - 1)->MakeVisible(false);
  }

  TMainForm* F;
};

}  // namespace

std::unique_ptr<IProcessView> CreateProcessPageView(TMainForm* Form) {
  return std::make_unique<TProcessPageView>(Form);
}

void TMainForm::btAbortClick(TObject*) { FJobs->Abort(); }

void TMainForm::ProcessPageBackButtonClick(TObject*, bool& Stop) {
  const TJobState& s = FJobs->State();
  if (s.MuxMode)
    Wizard->SetActivePage(MuxPage);
  else if (s.SplitMode)
    Wizard->SetActivePage(SplitPage);
  else if (s.ConvertMode)
    Wizard->SetActivePage(ConverterPage);
  else if (s.ExtractMode)
    Wizard->SetActivePage(ExtractPage);
  else if (s.TagMode)
    Wizard->SetActivePage(TagPage);
  Stop = true;
}

void TMainForm::ProcessPageFinishButtonClick(TObject*, bool& Stop) {
  if (!chEnableOnFinish->Checked()) {
    Application->Terminate();
    return;
  }
  const TNamedTexts& t = NamedTexts();
  TUniTaskDialog* d = MainTaskDialog;
  d->Title = t.FinishCaption;
  d->Icon = tiQuestion;
  d->CustomButtons()->Clear();
  d->CustomButtons()->Add(t.btYes);
  d->CustomButtons()->Add(t.btNo);
  d->DefaultButton = 100;
  d->SetInstruction(t.Msg7);
  d->SetContent(L"");
  d->SetExpandedText(t.MsgNewTask);
  d->ExpandControlText = t.ClickToHide;
  d->CollapsControlText = t.ClickToSeeMore;
  if (d->Execute() == 100) {
    Application->Terminate();
    return;
  }
  // A new task: the last job's page is emptied and the start page shows.
  const TJobState& s = FJobs->State();
  if (s.MuxMode) {
    if (MP4ListView->Items()->Count() > 0) MP4ListView->Items()->Clear();
    edMP4Output->SetText(L"");
  } else if (s.ConcatMode) {
    if (ConcListView->Items()->Count() > 0) ConcListView->Items()->Clear();
    edConcOutput->SetText(L"");
  } else if (s.ExtractMode) {
    edExtractInput->SetText(L"");
  } else if (s.SplitMode) {
    edSplitInput->SetText(L"");
  } else if (s.ConvertMode) {
    edConvInput->SetText(L"");
  }
  ClearPropForm();
  Wizard->SetActivePage(Page1);
  Stop = true;
}

void TMainForm::FormCloseQuery(TObject*, bool& CanClose) {
  FilterGraph->SetActive(false);
  FilterGraph->Stop();
  FilterGraph->ClearGraph();
  if (!FJobs->ToolRunning()) {
    CanClose = true;
    return;
  }
  ShowProcessRunningNotice(MainTaskDialog);
  CanClose = false;
}

// The log as it stands is saved where the settings say, then a log file chosen by the user
// opens in Notepad.
void TMainForm::ViewLogFile1Click(TObject*) {
  SaveRunLog(false);
  if (!OpenDialog->FileName().empty()) OpenDialog->SetFileName(L"");
  OpenDialog->SetFilter(L"Log Files (*.log)|*.log");
  if (!OpenDialog->Execute()) return;
  Uni_ShellExecuteW(nullptr, L"OPEN", L"notepad.exe", OpenDialog->FileName(), L"", SW_SHOW);
}

void TMainForm::SaveRunLog(bool Closing) {
  TLogFolderSources files;
  files.ConvInput = edConvInput->Text();
  files.ExtractInput = edExtractInput->Text();
  files.MuxOutput = edMP4Output->Text();
  files.ConcOutput = edConcOutput->Text();
  files.SplitInput = edSplitInput->Text();
  // No selected tag row: no file, hence no folder (ChooseLogFile then writes nothing).
  if (TUniListItem* row = FilesTagList->Selected(); row && row->SubItems()->Count() >= 2)
    files.TagFile = row->SubItems()->Get(0) + row->SubItems()->Get(1);
  TJobMode chosenBy = TJobMode::None;
  TJobState& state = FJobs->State();
  const WideString file =
      ChooseLogFile(chKavoLog->Checked(), chOutputLog->Checked(), state, files, ProgramFolder(), &chosenBy);
  if (file.empty()) return;
  DeleteLogFile(file);
  if (Closing) FLog->Add(ClosingLogText(NamedTexts().Kavoclosed));
  FLog->SaveToFile(file);
  if (Closing && chosenBy != TJobMode::None) state.Flag(chosenBy) = false;
}

void AddProcessPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("btAbortClick", &TMainForm::btAbortClick)
      .Handler("ViewLogFile1Click", &TMainForm::ViewLogFile1Click)
      .Handler("ProcessPageBackButtonClick", &TMainForm::ProcessPageBackButtonClick)
      .Handler("ProcessPageFinishButtonClick", &TMainForm::ProcessPageFinishButtonClick)
      .Handler("FormCloseQuery", &TMainForm::FormCloseQuery);
}
