// The welcome page: the area list and its three task lists lead to the task pages.
#include "app/forms/main_form.h"

#include "app/common/named_texts.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

void TMainForm::MainListClick(TObject*) {
  // No selection (a click beside the items) keeps the area that shows.
  const int index = MainList->ItemIndex();
  if (index < 0 || index > 3) return;
  LoadAreaPictures(index);
  CreationList->SetVisible(index == 0);
  EditionList->SetVisible(index == 1);
  SettingsList->SetVisible(index == 2);
  AboutPanel->SetVisible(index == 3);
}

void TMainForm::CreationListDblClick(TObject*) {
  if (MP4ListView->Items()->Count() == 0) {
    MuxPage->EnableButton(TKvWizardButtonKind::bkNext, false);
    for (TControl* c : {static_cast<TControl*>(btMoveUp), static_cast<TControl*>(btMoveDown),
                        static_cast<TControl*>(btDelete), static_cast<TControl*>(btProperties)})
      c->SetVisible(false);
  }
  const int index = CreationList->ItemIndex();
  if (index != 0 && index != 1) return;
  const bool mp4 = index == 0;
  WHeaderMuxPage->Captions()->SetText(WideToAnsi(mp4 ? NamedTexts().TitleText : NamedTexts().TitleText2));
  Wizard->SetActivePage(MuxPage);
  FJobs->State().CreateMP4 = mp4;
  cbCompliance->SetEnabled(mp4);
  // The new file's name follows the task: an MP4 task makes a .mp4, a 3GP task a .3gp.
  const WideString output = edMP4Output->Text();
  const WideString ext = WideLowerCase(WideExtractFileExt(output));
  if (ext == L".mp4" || ext == L".3gp") edMP4Output->SetText(WideChangeFileExt(output, mp4 ? L".mp4" : L".3gp"));
}

void TMainForm::EditionListDblClick(TObject*) {
  TKvWizardCustomPage* const pages[] = {SplitPage, ConcatPage, ExtractPage, ConverterPage, TagPage};
  const int index = EditionList->ItemIndex();
  if (index < 0 || index >= static_cast<int>(std::size(pages))) return;
  Wizard->SetActivePage(pages[index]);
}

void TMainForm::SettingsListDblClick(TObject*) { Wizard->SetActivePage(SettingsPage); }

void AddWelcomePageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("MainListClick", &TMainForm::MainListClick)
      .Handler("CreationListDblClick", &TMainForm::CreationListDblClick)
      .Handler("EditionListDblClick", &TMainForm::EditionListDblClick)
      .Handler("SettingsListDblClick", &TMainForm::SettingsListDblClick);
}
