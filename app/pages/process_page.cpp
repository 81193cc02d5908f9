// The process page: what the job sequencer reports shown on its bar, labels and status
// rows; the abort button; Back and Finish once a job has closed; the window's refusal to
// close while a tool runs; and where the run log is saved.
#include "app/forms/main_form.h"
#include "app/common/failure_texts.h"

#include "app/forms/prop_form.h"
#include "app/ui/status_rows.h"
#include "app/ui/task_dialog_presets.h"
#include "vcl/application.h"
#include "widetext/platform.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"
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

// Whether FileName can be made (an empty file is left, which the log then replaces).
bool CanCreateFile(const WideString& FileName) {
  HANDLE h = CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
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
    ShowPercent(PercentText);
    ScrollToLastRow();
    SetTitle(PercentText + L" - Kavo");
  }
  void ShowTimeRemaining(const WideString& Text) override { F->lbTimeRemaining->SetCaption(Text); }
  void RunStarting() override {
    // The heading said how the last job ended; a new run is processing again (unless a
    // language chosen since has put its own heading there).
    if (!FHeadingBeforeEnd.empty() && F->WHeaderProcessPage->Captions()->Text() == FEndHeading)
      F->WHeaderProcessPage->Captions()->SetText(FHeadingBeforeEnd);
    FHeadingBeforeEnd.clear();
    F->ProcessPage->EnableButton(TKvWizardButtonKind::bkFinish, false);
    F->ProcessPage->EnableButton(TKvWizardButtonKind::bkBack, false);
    F->btAbort->SetEnabled(true);
  }
  void JobClosed(TJobOutcome Outcome, const WideString& ClosingText) override {
    ScrollToLastRow();
    // A job that succeeded shows a full bar, not an empty one that looks as if nothing ran.
    const int end = Outcome == TJobOutcome::Succeeded ? 100 : 0;
    if (F->ProgressBar->Position() != end) F->ProgressBar->SetPosition(end);
    ShowPercent(AnsiToWide(std::to_string(end)) + L" %");
    F->lbTimeRemaining->SetCaption(L"00:00:00");
    ShowEndInHeading(ClosingText);
    SetTitle(L"Kavo");
    F->ProcessPage->EnableButton(TKvWizardButtonKind::bkFinish, true);
    F->ProcessPage->EnableButton(TKvWizardButtonKind::bkBack, true);
    F->btAbort->SetEnabled(false);
    F->ViewLogFile1->SetEnabled(true);
  }

 private:
  // The bar repaints itself at once; the label is painted by its parent, which waits for
  // a quiet moment that a tool's steady output may not leave: it is painted now, so the
  // two always show the same value.
  void ShowPercent(const WideString& Text) {
    F->lbPercent->SetCaption(Text);
    F->lbPercent->Update();
  }

  void ShowEndInHeading(const WideString& ClosingText) {
    TStringList* heading = F->WHeaderProcessPage->Captions();
    if (FHeadingBeforeEnd.empty()) FHeadingBeforeEnd = heading->Text();
    FEndHeading = WideToAnsi(ClosingText);
    heading->SetText(FEndHeading);
    FEndHeading = heading->Text();  // as the list gives it back (with its line end)
  }

  void ScrollToLastRow() {
    const int count = F->ETAListView->Items()->Count();
    if (count > 0) F->ETAListView->Items()->Item(count - 1)->MakeVisible(false);
  }

  TMainForm* F;
  AnsiString FHeadingBeforeEnd;  // the processing heading while the end is shown
  AnsiString FEndHeading;
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
  else if (s.ConcatMode)
    Wizard->SetActivePage(ConcatPage);
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
// opens in Notepad; the dialog opens where the log was written.
void TMainForm::ViewLogFile1Click(TObject*) {
  const WideString written = SaveRunLog(false);
  if (!OpenDialog->FileName().empty()) OpenDialog->SetFileName(L"");
  OpenDialog->SetFilter(L"Log Files (*.log)|*.log");
  const WideString initialDir = OpenDialog->InitialDir();
  if (!written.empty()) {
    OpenDialog->SetInitialDir(WideExtractFilePath(written));
    OpenDialog->SetFileName(WideExtractFileName(written));
  }
  const bool chosen = OpenDialog->Execute();
  OpenDialog->SetInitialDir(initialDir);  // the dialog is shared with the other pages
  if (!chosen) return;
  Uni_ShellExecuteW(nullptr, L"OPEN", L"notepad.exe", OpenDialog->FileName(), L"", SW_SHOW);
}

WideString TMainForm::SaveRunLog(bool Closing) {
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
  if (file.empty()) return {};
  DeleteLogFile(file);
  WideString target = file;
  // A folder the log cannot go to (read-only media, no right to write): Kavo's own folder,
  // and the log says why it is there.
  if (const WideString own = ProgramFolder() + L"Kavo.log"; !CanCreateFile(file) && WideLowerCase(file) != WideLowerCase(own)) {
    AddLogLine(LogMovedText(file, own));
    DeleteLogFile(own);
    target = own;
  }
  if (Closing) FLog->Add(ClosingLogText(NamedTexts().Kavoclosed));
  if (Closing && chosenBy != TJobMode::None) state.Flag(chosenBy) = false;
  if (FLog->SaveToFile(target)) return target;
  ReportFailure(LogNotWrittenText(target));
  return {};
}

void AddProcessPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("btAbortClick", &TMainForm::btAbortClick)
      .Handler("ViewLogFile1Click", &TMainForm::ViewLogFile1Click)
      .Handler("ProcessPageBackButtonClick", &TMainForm::ProcessPageBackButtonClick)
      .Handler("ProcessPageFinishButtonClick", &TMainForm::ProcessPageFinishButtonClick)
      .Handler("FormCloseQuery", &TMainForm::FormCloseQuery);
}
