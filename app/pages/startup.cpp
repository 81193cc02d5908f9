// Start-up and shut-down of the main window: the settings file, the first language, the
// start-up lines of the run log, and what is saved when the program ends.
#include "app/forms/main_form.h"

#include "app/common/failure_texts.h"
#include "app/common/named_texts.h"
#include "app/common/os_version.h"
#include "app/media/media_info.h"
#include "app/settings/settings_file.h"
#include "vcl/application.h"
#include "widetext/filenames.h"
#include "widetext/uni_message_dialogs.h"
#include "widetext/widetextutils.h"
// Last: DirectShow's headers define macros that clash with names above.
#include "preview/filter_graph.h"

std::unique_ptr<IProcessView> CreateProcessPageView(TMainForm* Form);

namespace {

const wchar_t kProgramVersion[] = L"Kavo 2.0.0.8";

bool NamesFile(const WideString& Path, const wchar_t* Name) {
  return WideLowerCase(WideExtractFileName(Path)) == Name;
}

// Controls laid out for Windows Vista; elsewhere they get 5 more pixels.
void WidenForOlderLayout(TMainForm* f) {
  TControl* const controls[] = {f->CreationList, f->EditionList, f->SettingsList, f->MainList, f->AboutPanel,
                                f->gbInput, f->gbMP4Output, f->gbRunningProcess, f->gbSplitInput,
                                f->gbSplitOptions, f->gbConcInput, f->gbConcOutput, f->gbExtractInput,
                                f->gbContent, f->gbExtractOptions, f->gbConverterInput, f->gbSub,
                                f->gbAVIOptions, f->gbMP4Box, f->gbTagger, f->gbKavo};
  for (TControl* c : controls) c->SetWidth(c->Width() + 5);
}

}  // namespace

WideString TMainForm::ProgramFolder() {
  wchar_t path[MAX_PATH * 4] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  return WideExtractFilePath(WideString(path, n));
}

TProgramSettings TMainForm::CurrentSettings() {
  TProgramSettings s;
  s.MP4BoxPath = edMP4Box->Text();
  s.TempPath = edTemp->Text();
  s.TaggerPath = edTagger->Text();
  s.SaveLogApp = chKavoLog->Checked();
  s.SaveLogOut = chOutputLog->Checked();
  s.ModernStyleList = chiTunesStyle->Checked();
  s.Lang = cbLang->ItemIndex();
  s.Priority = cbPriority->ItemIndex();
  s.OverwriteOutput = chOverWrite->Checked();
  s.KeepAll = chKeepSys->Checked();
  s.Flat = chFlat->Checked();
  s.UseItasTagger = chTaggerorNot->Checked();
  s.Verbose = chVerbose->Checked();
  s.RaiseWarning4AVC = chWarningAVC->Checked();
  return s;
}

// In file order, so that the boxes' handlers see what a user's clicks in that order would.
void TMainForm::ApplySettings(const TProgramSettings& s) {
  edMP4Box->SetText(s.MP4BoxPath);
  edTemp->SetText(s.TempPath);
  edTagger->SetText(s.TaggerPath);
  chKavoLog->SetChecked(s.SaveLogApp);
  chOutputLog->SetChecked(s.SaveLogOut);
  chiTunesStyle->SetChecked(s.ModernStyleList);
  cbLang->SetItemIndex(s.Lang);
  cbPriority->SetItemIndex(s.Priority);
  chOverWrite->SetChecked(s.OverwriteOutput);
  chKeepSys->SetChecked(s.KeepAll);
  chFlat->SetChecked(s.Flat);
  chTaggerorNot->SetChecked(s.UseItasTagger);
  chVerbose->SetChecked(s.Verbose);
  chWarningAVC->SetChecked(s.RaiseWarning4AVC);
}

void TMainForm::FormCreate(TObject*) {
  FLog = std::make_unique<TRunLog>();
  FProcessView = CreateProcessPageView(this);
  FJobs = std::make_unique<TJobSequencer>(DosCommand, FProcessView.get());
  FJobs->AttachRunner();
  Application->HintHidePause = 10000;
  LoadStockImages();
  for (const wchar_t* area : {L"Creation", L"Edition", L"Settings", L"About"}) {
    TUniListItem* item = MainList->Items()->Add();
    item->SetCaption(area);
    item->SetImageIndex(MainList->Items()->Count() - 1);
  }
  for (const wchar_t* group : {L"MP4Box", L"Tagger", L"Kavo"}) SettingsView->Items()->Add(nullptr, group);
}

void TMainForm::FormShow(TObject* Sender) {
  CreationList->SetItemIndex(0);
  EditionList->SetItemIndex(0);
  SettingsList->SetItemIndex(0);
  MainList->SetItemIndex(0);
  if (TTreeNode* first = SettingsView->Items()->GetFirstNode()) first->SetSelected(true);
  if (!IsWindowsVista()) WidenForOlderLayout(this);

  const WideString folder = ProgramFolder();
  const WideString besideProgram = WideLowerCase(folder + L"mp4box.exe");
  if (WideFileExists(besideProgram)) edMP4Box->SetText(besideProgram);

  std::vector<WideString> problems;
  if (WideFileExists(folder + L"Kavo.cfg")) {
    TSettingsReadResult read = ReadSettingsFile(folder + L"Kavo.cfg", CurrentSettings());
    ApplySettings(read.Settings);
    problems = std::move(read.Problems);
  }
  cbLangChange(Sender);

  // The texts come from the language file and are put together as they are: a "%" in a
  // translation is a percent sign, never a format directive.
  const TNamedTexts& t = NamedTexts();
  AddLogLine(WideString(kProgramVersion) + L" " + t.MsgStarted + L" !!!");
  AddLogLine(t.MSgOSType + AnsiToWide(GetOSVersionText()));
  for (const WideString& problem : problems) AddLogLine(problem);
  const WideString mp4box = edMP4Box->Text();
  if (!mp4box.empty() && NamesFile(mp4box, L"mp4box.exe")) {
    AddLogLine(t.MsgMP4BoxFound + L" " + mp4box);
    LogMP4BoxVersion();
  } else
    AddLogLine(t.MsgMP4BoxMissing);
  const WideString tagger = edTagger->Text();
  if (tagger.empty())
    AddLogLine(t.MsgTaggerMissing);
  else if (NamesFile(tagger, L"mp4box.exe"))
    AddLogLine(t.MsgTaggerFound + WideExtractFileName(tagger));
  else
    AddLogLine(t.MsgTaggerFound + WideExtractFileName(tagger) + L" " + t.MsgTaggerFoundButNotSupported);
  MP4BoxForm1->SetEnabled(!mp4box.empty());
  // Loaded with the first file analysed: a missing one is told now, one that will not load
  // when it is first needed.
  if (!TMediaInfoLibrary::Present()) ReportFailure(MediaInfoMissingText(folder));
  TMediaInfoLibrary::LoadFailed = [] {
    if (MainForm) MainForm->ReportFailure(MediaInfoMissingText(ProgramFolder()));
  };
}

void TMainForm::LogMP4BoxVersion() {
  const WideString path = edMP4Box->Text();
  const TMP4BoxVersion& v = FMP4BoxVersions.Reread(path);
  if (v.Known)
    AddLogLine(FormatText(NamedTexts().MsgMP4BoxVersion, {v.Text()}));
  else if (WideFileExists(path))
    AddLogLine(NamedTexts().MsgMP4BoxNoVersion);
}

void TMainForm::FormDestroy(TObject*) {
  // Each step on its own: a failing one must not keep the settings from being saved.
  try {
    FilterGraph->SetActive(false);
    FilterGraph->Stop();
    FilterGraph->ClearGraph();
  } catch (const std::exception&) {
  }
  if (DosCommand->IsRunning()) DosCommand->Stop();
  // The settings first, so that a failure to write them reaches the log saved after them.
  const WideString settingsFile = ProgramFolder() + L"Kavo.cfg";
  try {
    WriteSettingsFile(settingsFile, CurrentSettings());
  } catch (const std::exception&) {
    // A folder or file the program may not write to: the user learns that this run's
    // settings are not kept.
    ReportFailure(SettingsNotWrittenText(settingsFile));
  }
  try {
    SaveRunLog(true);
  } catch (const std::exception&) {
  }
  // The sequencer's timers and the runner's notices go before the controls they reach.
  FJobs.reset();
}

void TMainForm::AddLogLine(const WideString& Text) { FLog->Add(Text); }

void TMainForm::ReportFailure(const WideString& Text) {
  AddLogLine(Text);
  WideMessageDlg(Text, mtError, MsgDlgButton(mbOK), 0);
}

void AddStartupHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("FormCreate", &TMainForm::FormCreate)
      .Handler("FormShow", &TMainForm::FormShow)
      .Handler("FormDestroy", &TMainForm::FormDestroy);
}
