// The settings page: the tree that picks a group, the tool and folder pickers, and the two
// exclusive log-place boxes.
#include "app/forms/main_form.h"

#include "app/common/named_texts.h"
#include "app/common/text_routines.h"
#include "app/ui/task_dialog_presets.h"
#include "app/ui/picker_folders.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

namespace {

const wchar_t kExecutableFilter[] = L"Executable Files (*.exe)|*.exe";

WideString LowerFileName(const WideString& Path) { return WideLowerCase(WideExtractFileName(Path)); }

// The shared open dialog on executables; the chosen file's full path, empty on Cancel.
WideString PickExecutable(TUniOpenDialog* Dialog, const char* Picker) {
  Dialog->SetFilter(kExecutableFilter);
  PrepareDialogFor(Dialog, Picker);
  if (!Dialog->Execute()) return WideString();
  RememberPickerFolder(Picker, Dialog->FileName());
  return Dialog->FileName();
}

}  // namespace

void TMainForm::LogToolPicked(const WideString& FileName, const WideString& ProblemText) {
  // Texts are joined, never used as format patterns.
  if (ProblemText.empty())
    AddLogLine(FileName + L" " + NamedTexts().Floaded);
  else
    AddLogLine(L"Problem..." + FileName + L" " + ProblemText);
}

void TMainForm::UniImage13Click(TObject*) {
  const WideString path = PickExecutable(OpenDialog, "MP4Box");
  if (!path.empty()) MP4BoxChosen(path);
}

void TMainForm::MP4BoxChosen(const WideString& path) {
  edMP4Box->SetText(path);
  MP4BoxForm1->SetEnabled(!path.empty());
  LogToolPicked(WideExtractFileName(path), LowerFileName(path) == L"mp4box.exe" ? L"" : NamedTexts().BadMP4Box);
  if (LowerFileName(path) == L"mp4box.exe") LogMP4BoxVersion();
}

void TMainForm::Open2Exe(TObject*) {
  const WideString path = PickExecutable(OpenDialog, "Tagger");
  if (!path.empty()) TaggerChosen(path);
}

void TMainForm::TaggerChosen(const WideString& path) {
  edTagger->SetText(path);
  const WideString name = LowerFileName(path);
  if (name == L"atomicparsley.exe") {
    LogToolPicked(WideExtractFileName(path), L"");
    if (chTaggerorNot->Checked()) chTaggerorNot->SetChecked(false);
  } else if (name == L"mp4box.exe") {
    LogToolPicked(WideExtractFileName(path), L"");
  } else {
    LogToolPicked(WideExtractFileName(path), NamedTexts().BadTagger);
  }
}

void TMainForm::UniImage26Click(TObject*) {
  if (OpenDirDialog1->Execute()) TempFolderChosen(AnsiToWide(OpenDirDialog1->Path));
}

void TMainForm::TempFolderChosen(const WideString& Folder) {
  edTemp->SetText(TempFolderSetting(Folder));
  AddLogLine(edTemp->Text() + L" added as Temp Directory...");
}

void TMainForm::chTaggerorNotClick(TObject*) {
  if (chTaggerorNot->Checked()) {
    if (edMP4Box->Text().empty()) return;
    const WideString replaced = edTagger->Text();
    edTagger->SetText(edMP4Box->Text());
    // One tagger at a time: the user learns that AtomicParsley is set aside.
    if (LowerFileName(replaced) == L"atomicparsley.exe") {
      const WideString text = FillText(NamedTexts().TagMsgTaggerReplaced, WideExtractFileName(replaced));
      AddLogLine(text);
      ShowTextNotice(MainTaskDialog, text);
    }
  } else if (LowerFileName(edTagger->Text()) != L"atomicparsley.exe") {
    edTagger->SetText(L"");
  }
}

void TMainForm::SettingsViewClick(TObject*) {
  TTreeNode* node = SettingsView->Selected();
  const int index = node ? node->AbsoluteIndex() : -1;
  gbMP4Box->SetVisible(index == 0);
  gbTagger->SetVisible(index == 1);
  gbKavo->SetVisible(index != 0 && index != 1);
}

void TMainForm::chKavoLogClick(TObject*) { chOutputLog->SetChecked(!chKavoLog->Checked()); }

void TMainForm::chOutputLogClick(TObject*) { chKavoLog->SetChecked(!chOutputLog->Checked()); }

void TMainForm::BackToWelcomePage(TObject*, bool& Stop) {
  Wizard->SetActivePage(Page1);
  Stop = true;
}

void AddSettingsPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("SettingsViewClick", &TMainForm::SettingsViewClick)
      .Handler("UniImage13Click", &TMainForm::UniImage13Click)
      .Handler("Open2Exe", &TMainForm::Open2Exe)
      .Handler("UniImage26Click", &TMainForm::UniImage26Click)
      .Handler("chTaggerorNotClick", &TMainForm::chTaggerorNotClick)
      .Handler("chKavoLogClick", &TMainForm::chKavoLogClick)
      .Handler("chOutputLogClick", &TMainForm::chOutputLogClick)
      // Back of every page but the mux and process pages, and the settings page's Next,
      // lead to the welcome page.
      .Handler("SettingsPageBackButtonClick", &TMainForm::BackToWelcomePage)
      .Handler("SettingsPageNextButtonClick", &TMainForm::BackToWelcomePage)
      .Handler("SplitPageBackButtonClick", &TMainForm::BackToWelcomePage)
      .Handler("ConcatPageBackButtonClick", &TMainForm::BackToWelcomePage)
      .Handler("ExtractPageBackButtonClick", &TMainForm::BackToWelcomePage)
      .Handler("ConverterPageBackButtonClick", &TMainForm::BackToWelcomePage);
}
