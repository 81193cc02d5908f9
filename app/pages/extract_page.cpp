// The extract page: a file's streams listed, the options for the selected row, and Next,
// which starts the extraction job (one stream, or every stream in list order). The listing,
// the options and the commands are the logic's (app/media/extract_listing,
// app/commands/extract_command); the handlers read the controls and show the results.
#include "app/commands/extract_command.h"
#include "app/commands/mux_job.h"
#include "app/forms/main_form.h"
#include "app/media/chapter_files.h"
#include "app/media/input_problems.h"
#include "app/ui/task_dialog_presets.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

namespace {

const wchar_t* const ExtractFilter =
    L"All Files supported (*.*)|*.avi;*.mp4;*.m4a;*.m4b;*.mov;*.3gp;*.3g2;*.mpg;*.mpeg;*.vcd;*.vob;*.ts|AVI Files "
    L"(*.avi)|*.avi|MPEG-PS Files (*.mpg, *.mpeg, *.vob, *.vcd)|*.mpeg;*.mpg;*.vcd;*.vob|MPEG-TS Files (*.ts)|*.ts|"
    L"MP4 Files (*.mp4, *.m4a, *.m4b)|*.mp4;*.m4a;*.m4b|MOV Files (*.mov)|*.mov|3GPP Files (*.3gp, *.3g2)|*.3gp;*.3g2";

// Sub-items of an extraction row, after its caption (the row's position).
enum TExtractColumn { ecPath, ecFile, ecIndex, ecDescription, ecType };

TExtractRow ReadExtractRow(TUniListItem* Item) {
  TWideSubItems* sub = Item->SubItems();
  auto at = [&](int i) { return i < sub->Count() ? sub->Strings(i) : WideString(); };
  return {at(ecPath), at(ecFile), at(ecIndex), at(ecDescription), at(ecType)};
}

void ApplyCaption(TUniRadioButton* Button, const std::optional<WideString>& Caption) {
  if (Caption) Button->SetCaption(*Caption);
}

void ApplyVisible(TUniRadioButton* Button, const std::optional<bool>& Visible) {
  if (Visible) Button->SetVisible(*Visible);
}

}  // namespace

void TMainForm::UniImage21Click(TObject*) {
  // A cancelled dialog leaves the page as it was.
  if (const WideString chosen = PickInputFile("ExtractInput", ExtractFilter, L"mp4"); !chosen.empty())
    ExtractInputChosen(chosen);
}

void TMainForm::ExtractInputChosen(const WideString& FileName) {
  ExtractListView->Items()->Clear();
  Memo1->Lines()->Clear();
  edExtractInput->SetText(FileName);
  // A new list has no selected row yet.
  ExtractPage->EnableButton(TKvWizardButtonKind::bkNext, false);
  ListTracksForExtract(edExtractInput->Text());
  if (ExtractListView->Items()->Count() == 0) {
    // Nothing to extract: the file is missing, unreadable, or holds no stream listed here.
    WideString problem = InputProblemText(FileName);
    if (problem.empty()) problem = UnreadableInputText(WideExtractFileName(FileName));
    AddLogLine(problem);
    ShowTextNotice(MainTaskDialog, problem);
    return;
  }
  AddLogLine(WideExtractFileName(edExtractInput->Text()) + L" loaded.");
}

void TMainForm::ListTracksForExtract(const WideString& FileName) {
  const TExtractListing listing = ::ListTracksForExtract(FileName);
  TUniListItems* items = ExtractListView->Items();
  items->BeginUpdate();
  for (size_t i = 0; i < listing.Rows.size(); ++i) {
    const TExtractRow& row = listing.Rows[i];
    TUniListItem* item = items->Add();
    item->SetCaption(std::to_wstring(i + 1));
    for (const WideString* text : {&row.Path, &row.File, &row.Index, &row.Description, &row.Type})
      item->SubItems()->Add(*text);
  }
  items->EndUpdate();
  Memo1->Lines()->SetTextStr(WideToAnsi(listing.ChapterText));
  for (const WideString& line : listing.Skipped) AddLogLine(line);
}

void TMainForm::ExtractListViewClick(TObject*) {
  if (edExtractInput->Text().empty() || !ExtractListView->Selected()) return;
  SetExtractOptions();
  ExtractPage->EnableButton(TKvWizardButtonKind::bkNext, true);
}

void TMainForm::SetExtractOptions() {
  gbExtractOptions->SetVisible(true);
  rbRaw->SetChecked(true);
  TUniListItem* selected = ExtractListView->Selected();
  if (!selected) return;
  const WideString input = edExtractInput->Text();
  // The codecs of the file's first video and audio streams decide two of the options.
  TMediaInfoFile info(input);
  const TExtractOptionView view =
      ExtractOptionsFor(ExtractGroupOf(input), ReadExtractRow(selected).Type,
                        info.Get(TStreamKind::Video, 0, L"Codec/String"), info.Get(TStreamKind::Audio, 0, L"Codec/String"),
                        NamedTexts(), MP4BoxVersion());
  // Said once in the log: the option the user may look for is not offered by this tool.
  static bool noteLogged = false;
  if (view.Note && !noteLogged) {
    noteLogged = true;
    AddLogLine(*view.Note);
  }
  ApplyCaption(rbRaw, view.RawCaption);
  ApplyCaption(rbMP4, view.MP4Caption);
  ApplyCaption(rbAVI, view.AVICaption);
  ApplyVisible(rbMP4, view.MP4Visible);
  ApplyVisible(rbAVI, view.AVIVisible);
}

void TMainForm::rbRawAllClick(TObject*) {
  // All streams begin with the first row.
  TUniListItems* items = ExtractListView->Items();
  if (items->Count() > 0 && (!ExtractListView->Selected() || ExtractListView->Selected()->Index() != 0))
    ExtractListView->SetSelected(items->Item(0));
}

namespace {

// The files the job writes: each extracted row's (MP4Box names them after the input), and
// the chapter file or cue sheet the program writes itself.
std::vector<WideString> ExtractOutputs(const TExtractJob& Job) {
  std::vector<WideString> outputs;
  const bool all = Job.Request.Choice == TExtractChoice::RawAll;
  for (int i = 0; i < static_cast<int>(Job.Rows.size()); ++i) {
    if (!all && i != Job.Selected) continue;
    TExtractRequest request = Job.Request;
    request.Row = Job.Rows[i];
    const TExtractRun run = BuildExtractCommandLine(request);
    if (!run.Writes.empty()) outputs.push_back(run.Writes);
    if (run.Chapters == TChapterOutput::ChapterFile) outputs.push_back(ChapterFileOf(request.Input));
    if (run.Chapters == TChapterOutput::CueSheet) outputs.push_back(CueSheetFileOf(request.Input));
  }
  return outputs;
}

}  // namespace

void TMainForm::ExtractPageNextButtonClick(TObject*, bool& Stop) {
  Stop = true;  // the page changes only when the job starts, and then to the process page
  TUniListItem* selected = ExtractListView->Selected();
  TExtractJob job;
  job.Request.MP4BoxPath = edMP4Box->Text();
  job.Request.Input = edExtractInput->Text();
  job.Request.Verbose = chVerbose->Checked();
  job.Request.Version = MP4BoxVersion();
  job.Request.Choice = rbRawAll->Checked() ? TExtractChoice::RawAll
                       : rbMP4->Checked()  ? TExtractChoice::MP4
                       : rbAVI->Checked()  ? TExtractChoice::AVI
                                           : TExtractChoice::Raw;
  for (int i = 0; i < ExtractListView->Items()->Count(); ++i)
    job.Rows.push_back(ReadExtractRow(ExtractListView->Items()->Item(i)));
  job.Selected = selected ? selected->Index() : -1;
  job.ChapterText = AnsiToWide(Memo1->Lines()->GetTextStr());
  TUniListView* list = ExtractListView;
  job.RowStarting = [list](int Row) {
    if (Row < list->Items()->Count()) list->SetSelected(list->Items()->Item(Row));
  };
  TPageJob launch;
  launch.Page = ExtractPage;
  launch.Version = job.Request.Version;
  // Next is enabled only once a row is selected.
  launch.PageRefuses = [&] { return job.Request.Input.empty() || !selected; };
  launch.Files = [&] { return TLaunchFiles{{job.Request.Input}, ExtractOutputs(job), {}}; };
  launch.Job = [&](bool) { return ExtractJobStart(job); };
  launch.Started = [&] { AddLogLine(L"File Saved in " + WideExtractFilePath(job.Request.Input)); };
  LaunchPageJob(launch);
}

void AddExtractPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("UniImage21Click", &TMainForm::UniImage21Click)
      .Handler("ExtractListViewClick", &TMainForm::ExtractListViewClick)
      .Handler("rbRawAllClick", &TMainForm::rbRawAllClick)
      .Handler("ExtractPageNextButtonClick", &TMainForm::ExtractPageNextButtonClick);
}
