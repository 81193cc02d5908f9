// The mux page: the track list, its buttons and the output file; Next checks the setup
// and starts the mux job. The rows, the command lines and the checks are the logic's
// (app/media, app/commands); the handlers read the controls and show the results.
#include "app/commands/itags_argument.h"
#include "app/commands/mux_job.h"
#include "app/ui/list_routines.h"
#include "app/forms/custom_val.h"
#include "app/forms/main_form.h"
#include "app/forms/prop_form.h"
#include "app/media/input_problems.h"
#include "app/media/media_analysis.h"
#include "app/media/subtitle_files.h"
#include "app/ui/track_row_item.h"
#include "app/commands/output_check.h"
#include "app/common/output_file.h"
#include "app/ui/picker_folders.h"
#include "app/ui/task_dialog_presets.h"
#include "widetext/filenames.h"
#include "widetext/uni_message_dialogs.h"
#include "widetext/widetextutils.h"

namespace {

const wchar_t* const MP4Filter =
    L"All Files supported (*.*)|*.avi;*.mp4;*.m4a;*.m4b;*.mov;*.3gp;*.3g2;*.mpeg;*.mpg;*.vcd;*.vob;*.srt;*.ttxt;*.xml;"
    L"*.idx;*.txt;*.jpg;*.jpeg;*.qcp;*.ogg;*.ts;*.m4v;*.cmp;*.m1v;*.m2v;*.263;*.h263;*.264;*.h264;*.smv;*.mp2;*.mp3;"
    L"*.mpa;*.evc;*.amr;*.awb;*.aac;*.nhnt;*.media;*.info;*.nhml|--- Audio Files ---|*.aac;*.amr;*.awb;*.evc;*.mp3;"
    L"*.mp2;*.mpa;*.smv|    AAC Files (*.aac)|*.aac|    AMR Files (*.amr;*.awb)|*.amr;*.awb|    EVRC Files (*.evc)|"
    L"*.evc|    MPEG-1 Audio Files (*mp3;*.mp2)|*.mp3;*.mp2;*.mpa|    SMV Files (*.smv)|*.smv|--- Video Files ---|"
    L"*.263;*.h263;*.264;*.h264;*.m1v;*.m2v;*.m4v;*.cmp|    H263 Video Files (*.263;*.h263)|*.263;*.h263|    H264 "
    L"Video Files (*.264;*.h264)|*.264;*.h264|    MPEG-1/2 Raw Files (*.m1v;*.m2v)|*.m1v;*.m2v|    MPEG-4 Raw Files "
    L"(*.m4v;*.cmp)|*.m4v;*.cmp|--- Container Files ---|*.avi;*.mpeg;*.mpg;*.vcd;*.vob;*.ts;*.mov;*.ogg;*.qcp;*.3gp;"
    L"*.3g2|    AVI Files (*.avi)|*.avi|    MPEG-PS Files (*.mpeg;*.mpg;*.vcd;*.vob)|*.mpeg;*.mpg;*.vcd;*.vob|    "
    L"MPEG-TS Files (*.ts)|*.ts|    MOV Files (*.mov)|*.mov|    OGG Files (*.ogg)|*.ogg|    QCP Files (*.qcp)|*.qcp|"
    L"    3GPP Files (*.3gp;*.3g2)|*.3gp;*.3g2|--- Subtitles Files ---|*.srt;*.ttxt;*.xml;*.idx|    SubRip Files "
    L"(*.srt)|*.srt|    GPAC TimeText Files (*.ttxt)|*.ttxt|    QuickTime TeXML Files (*.xml)|*.xml|    VobSub Files "
    L"(*.idx)|*.idx|--- Chapters Files ---|*.txt|    Chapters Files (*.txt)|*.txt|--- Pictures Files ---|*.jpg;*.jpeg|"
    L"    Pictures Files (*.jpg;*.jpeg)|*.jpeg;*.jpg|--- Extra Files ---|*.nhnt;*.media;*.info;*.nhml|    NHNT Files "
    L"(*.nhnt;*.media;*.info)|*.nhnt;*.media;*.info|    NHML Files (*.nhml)|*.nhml";

const wchar_t* const ThreeGPFilter =
    L"All Files supported (*.*)|*.avi;*.mp4;*.m4a;*.m4b;*.mov;*.3gp;*.3g2;*.mpeg;*.mpg;*.vcd;*.vob;*.srt;*.ttxt;*.xml;"
    L"*.qcp;*.ts;*.m4v;*.cmp;*.m1v;*.m2v;*.263;*.h263;*.264;*.h264;*.smv;*.mp2;*.mp3;*.mpa;*.evc;*.amr;*.awb;*.aac;|"
    L"--- Audio Files ---|*.aac;*.amr;*.awb;*.evc;*.mp3;*.mp2;*.mpa;*.smv|    AAC Files (*.aac)|*.aac|    AMR Files "
    L"(*.amr;*.awb)|*.amr;*.awb|    EVRC Files (*.evc)|*.evc|    MPEG-1 Audio Files (*mp3;*.mp2)|*.mp3;*.mp2;*.mpa|"
    L"    SMV Files (*.smv)|*.smv|--- Video Files ---|*.263;*.h263;*.264;*.h264;*.m1v;*.m2v;*.m4v;*.cmp|    H263 Video "
    L"Files (*.263;*.h263)|*.263;*.h263|    H264 Video Files (*.264;*.h264)|*.264;*.h264|    MPEG-1/2 Raw Files "
    L"(*.m1v;*.m2v)|*.m1v;*.m2v|    MPEG-4 Raw Files (*.m4v;*.cmp)|*.m4v;*.cmp|--- Container Files ---|*.avi;*.mpeg;"
    L"*.mpg;*.vcd;*.vob;*.ts;*.mov;*.qcp;*.3gp;*.3g2|    AVI Files (*.avi)|*.avi|    MPEG-PS Files (*.mpeg;*.mpg;*.vcd;"
    L"*.vob)|*.mpeg;*.mpg;*.vcd;*.vob|    MPEG-TS Files (*.ts)|*.ts|    MOV Files (*.mov)|*.mov|    QCP Files (*.qcp)|"
    L"*.qcp|    3GPP Files (*.3gp;*.3g2)|*.3gp;*.3g2|--- Subtitles Files ---|*.srt;*.ttxt;*.xml|    SubRip Files "
    L"(*.srt)|*.srt|    GPAC TimeText Files (*.ttxt)|*.ttxt|    QuickTime TeXML Files (*.xml)|*.xml";

WideString JoinLines(const std::vector<WideString>& Lines) {
  WideString text;
  for (const WideString& line : Lines) text += (text.empty() ? L"" : L"\n") + line;
  return text;
}

}  // namespace

TUniListView* TMainForm::TrackListOfPage() const {
  return Wizard->ActivePage() == MuxPage ? MP4ListView : ConcListView;
}

bool TMainForm::AddFileToMuxList(const WideString& FileName, std::vector<WideString>* Problems) {
  auto problem = [&](const WideString& Text) {
    if (Problems)
      Problems->push_back(Text);
    else
      ShowTextNotice(MainTaskDialog, Text);
    return false;
  };
  if (!WideFileExists(FileName)) return problem(MissingInputText(FileName));
  WideString readerError;
  bool badIndex = false;
  std::vector<TTrackRow> vobSubRows;
  TTextTrackReaders readers;
  readers.TextSubtitle = [&](const WideString& Name, std::vector<TTrackRow>& Rows) {
    try {
      Rows.push_back(TextSubtitleRow(Name, ReadTextLines(Name)));
    } catch (const Exception& e) {
      readerError = AnsiToWide(e.Message);
    }
  };
  readers.VobSubIndex = [&](const WideString& Name, std::vector<TTrackRow>&) {
    try {
      badIndex = !VobSubIndexRows(Name, ReadTextLines(Name), vobSubRows);
    } catch (const Exception& e) {
      readerError = AnsiToWide(e.Message);
    }
  };
  TFileAnalysis analysis = AnalyseMediaFile(FileName, readers);

  TUniListView* list = TrackListOfPage();
  list->Items()->BeginUpdate();
  for (const TTrackRow& row : analysis.Rows) AppendTrackRow(list, row);
  list->Items()->EndUpdate();
  // VobSub streams can only go into a new file. An index may declare thousands of streams:
  // the rows go in under one update, or the list repaints after each of them.
  MP4ListView->Items()->BeginUpdate();
  for (const TTrackRow& row : vobSubRows) AppendTrackRow(MP4ListView, row);
  MP4ListView->Items()->EndUpdate();

  if (analysis.AviH264.has_value()) {
    if (*analysis.AviH264) FAviH264Inputs.insert(FileName);
    else FAviH264Inputs.erase(FileName);
  }
  if (analysis.UncheckedCount > 0) ShowCompatibilityNotice(MainTaskDialog, analysis.UncheckedCount == 1 ? 1 : 2);
  if (badIndex) WideMessageDlg(NamedTexts().Msg2, mtError, MsgDlgButton(mbOK), 0);
  if (!readerError.empty()) WideMessageDlg(readerError, mtError, MsgDlgButton(mbOK), 0);
  const bool added = !analysis.Rows.empty() || !vobSubRows.empty();
  if (!added && !badIndex && readerError.empty()) return problem(UnreadableInputText(WideExtractFileName(FileName)));
  return added;
}

void TMainForm::AddMuxFiles(const std::vector<WideString>& Files) {
  const WideString extension = FJobs->State().CreateMP4 ? L".mp4" : L".3gp";
  std::vector<WideString> problems;
  std::vector<WideString> added;
  for (const WideString& file : Files) {
    // Only a file that gave tracks is logged as loaded and names the new file.
    if (!AddFileToMuxList(file, &problems)) continue;
    AddLogLine(WideExtractFileName(file) + L" " + NamedTexts().Floaded);
    added.push_back(file);
  }
  if (edMP4Output->Text().empty() && !added.empty()) {
    std::vector<WideString> inputs = CheckedInputs(ReadTrackRows(MP4ListView));
    inputs.insert(inputs.end(), added.begin(), added.end());
    edMP4Output->SetText(ProposeOutputName(added, extension, inputs, TakesUnicodeArguments(MP4BoxVersion())));
  }
  for (const WideString& text : problems) AddLogLine(text);
  if (!problems.empty()) ShowTextNotice(MainTaskDialog, JoinLines(problems));
  const bool any = MP4ListView->Items()->Count() > 0;
  for (TControl* c : {static_cast<TControl*>(btDelete), static_cast<TControl*>(btMoveUp),
                      static_cast<TControl*>(btMoveDown), static_cast<TControl*>(btProperties)})
    c->SetVisible(true);
  MuxPage->EnableButton(TKvWizardButtonKind::bkNext, HasCheckedItem(MP4ListView));
  SaveInfosas1->SetEnabled(any);
  if (any) MP4ListView->SetSelected(MP4ListView->Items()->Item(0));
}

void TMainForm::btAddClick(TObject*) {
  OpenDialog->SetFilter(FJobs->State().CreateMP4 ? MP4Filter : ThreeGPFilter);
  OpenDialog->Options = OpenOption(ofAllowMultiSelect);
  OpenDialog->FilterIndex = 1;
  PrepareDialogFor(OpenDialog, "MuxInput");
  std::vector<WideString> files;
  if (OpenDialog->Execute()) {
    for (int i = 0; i < OpenDialog->Files()->Count(); ++i) files.push_back(OpenDialog->Files()->Strings(i));
    if (!files.empty()) RememberPickerFolder("MuxInput", files.front());
  }
  AddMuxFiles(files);
}

void TMainForm::btDeleteClick(TObject*) {
  TUniListItem* selected = MP4ListView->Selected();
  if (!selected) return;
  ShowDeleteQuestion(MainTaskDialog);
  if (MainTaskDialog->Execute() == 100) selected->Delete();
}

void TMainForm::btMoveUpClick(TObject*) {
  TUniListItem* selected = MP4ListView->Selected();
  if (!selected || selected->Index() == 0) return;  // the first row stays first
  const int index = selected->Index();
  MoveListItem(MP4ListView, index, index - 1);
  SelectMovedRow(index - 1);
}

void TMainForm::btMoveDownClick(TObject*) {
  TUniListItem* selected = MP4ListView->Selected();
  if (!selected || selected->Index() + 1 >= MP4ListView->Items()->Count()) return;  // the last row stays last
  const int index = selected->Index();
  MoveListItem(MP4ListView, index + 1, index);
  SelectMovedRow(index + 1);
}

// The moved row stays selected, and shows it: the list takes the focus back from the
// button, without which the selection is drawn in the faint colour of an inactive list.
void TMainForm::SelectMovedRow(int Index) {
  TUniListItem* row = MP4ListView->Items()->Item(Index);
  MP4ListView->SetSelected(row);
  MP4ListView->SetItemFocused(row);  // the focus rectangle goes with it
  if (MP4ListView->CanFocus()) MP4ListView->SetFocus();
}

void TMainForm::MP4ListViewClick(TObject*) {
  MuxPage->EnableButton(TKvWizardButtonKind::bkNext, HasCheckedItem(MP4ListView));
}

void TMainForm::MP4ListViewCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState, bool&) {
  if (!chiTunesStyle->Checked()) return;
  Sender->Canvas()->Brush()->SetColor(Item->Index() % 2 ? static_cast<TColor>(0xFAE6D8) : clWindow);
}

void TMainForm::btMP4OutputClick(TObject*) {
  SaveDialog->SetFilter(L"MP4 Files (*.mp4)|*.mp4|3GPP Files (*.3gp)|*.3gp");
  SaveDialog->FilterIndex = FJobs->State().CreateMP4 ? 1 : 2;
  if (!edMP4Output->Text().empty()) SaveDialog->SetFileName(WideExtractFileName(edMP4Output->Text()));
  if (SaveDialog->Execute())
    edMP4Output->SetText(WideChangeFileExt(SaveDialog->FileName(), FJobs->State().CreateMP4 ? L".mp4" : L".3gp"));
}

void TMainForm::cbSplitOutChange(TObject*) {
  if (cbSplitOut->ItemIndex() != 5) return;
  if (const std::optional<WideString> megabytes = CustomVal->AskSplitSize()) {
    cbSplitOut->SetStyle(csDropDown);
    cbSplitOut->SetText(*megabytes);
  }
}

void TMainForm::MuxPageBackButtonClick(TObject*, bool& Stop) {
  Wizard->SetActivePage(Page1);
  Stop = true;
}

const TMP4BoxVersion& TMainForm::MP4BoxVersion() { return FMP4BoxVersions.Of(edMP4Box->Text()); }

TMuxOptions TMainForm::MuxOptionsOfPage() {
  TMuxOptions o;
  o.MP4BoxPath = edMP4Box->Text();
  o.ComplianceEnabled = cbCompliance->Enabled();
  o.Compliance = cbCompliance->ItemIndex();
  o.Hint = chHint->Checked();
  o.Flat = chFlat->Checked();
  o.VFR = chVFR->Checked();
  if (PropForm->chTagSupport->Checked() && WideLowerCase(WideExtractFileName(edTagger->Text())) == L"mp4box.exe")
    o.ITags = MuxITagsArgument(TagFieldsOfDialog(), MP4BoxVersion());
  o.TempFolder = edTemp->Text();
  o.Verbose = chVerbose->Checked();
  o.CreateMP4 = FJobs->State().CreateMP4;
  o.OverWrite = chOverWrite->Checked();
  o.Output = edMP4Output->Text();
  o.AviH264Inputs = FAviH264Inputs;
  o.Version = MP4BoxVersion();
  return o;
}

void TMainForm::MuxPageNextButtonClick(TObject*, bool& Stop) {
  Stop = true;  // the page changes only when the job starts, and then to the process page
  const std::vector<TTrackRow> rows = ReadTrackRows(MP4ListView);
  TMuxOptions options = MuxOptionsOfPage();
  const std::optional<long long> split = SplitKilobytes(cbSplitOut->ItemIndex(), cbSplitOut->Text());
  TPageJob launch;
  launch.Page = MuxPage;
  launch.Version = options.Version;
  launch.PageRefuses = [&] {
    return RefuseTrackListJob(CheckMuxJob(rows, options, split, chWarningAVC->Checked()), MP4ListView);
  };
  launch.Files = [&] {
    options.SplitKilobytes = *split;
    return TLaunchFiles{CheckedInputs(rows), WrittenMuxFiles(options), {options.Output}};
  };
  launch.YesTurnsOverwriteOn = true;
  launch.Job = [&](bool Replace) {
    if (Replace) options.OverWrite = true;
    TJobStart job = MuxJobStart(rows, options);
    job.AfterClose = [this, options] {
      std::vector<TRunRequest> runs;
      for (const WideString& file : WrittenMuxFiles(options))
        if (std::optional<TRunRequest> run = TagCmd(file)) runs.push_back(*run);
      return runs;
    };
    return job;
  };
  launch.Started = [&] { AddLogLine(NamedTexts().Msg3 + L" " + WideExtractFilePath(options.Output)); };
  LaunchPageJob(launch);
}

bool TMainForm::RefuseTrackListJob(TMuxRefusal Refusal, TUniListView* List) {
  switch (Refusal) {
    case TMuxRefusal::None:
      return false;
    case TMuxRefusal::MP4BoxPath:
      ShowMP4BoxPathNotice(MainTaskDialog);
      MainTaskDialog->Execute();
      break;
    case TMuxRefusal::NoCheckedTrack:
      ShowTextNotice(MainTaskDialog, NamedTexts().MsgNoCheckedTrack);
      break;
    case TMuxRefusal::NoOutputName:
      ShowTextNotice(MainTaskDialog, NamedTexts().MsgNoOutputName);
      break;
    case TMuxRefusal::BadSplitSize:
      ShowTextNotice(MainTaskDialog, FormatText(NamedTexts().MsgBadSplitOutSize, {cbSplitOut->Text()}));
      break;
    case TMuxRefusal::RawAvcFrameRate:
      ShowRawAVCNotice(MainTaskDialog);
      if (MainTaskDialog->Execute() == 100) ShowTrackProperties(List);
      break;
  }
  return true;
}

void AddMuxPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("btAddClick", &TMainForm::btAddClick)
      .Handler("btDeleteClick", &TMainForm::btDeleteClick)
      .Handler("btMoveUpClick", &TMainForm::btMoveUpClick)
      .Handler("btMoveDownClick", &TMainForm::btMoveDownClick)
      .Handler("btPropertiesClick", &TMainForm::btPropertiesClick)
      .Handler("MP4ListViewClick", &TMainForm::MP4ListViewClick)
      .Handler("MP4ListViewCustomDrawItem", &TMainForm::MP4ListViewCustomDrawItem)
      .Handler("btMP4OutputClick", &TMainForm::btMP4OutputClick)
      .Handler("cbSplitOutChange", &TMainForm::cbSplitOutChange)
      .Handler("MuxPageBackButtonClick", &TMainForm::MuxPageBackButtonClick)
      .Handler("MuxPageNextButtonClick", &TMainForm::MuxPageNextButtonClick);
}
