// The welcome page: the area list and its three task lists lead to the task pages.
#include "app/forms/main_form.h"


void TMainForm::MainListClick(TObject*) {
  // No selection (a click beside the items) keeps the area that shows.
  const int index = MainList->ItemIndex();
  if (index < 0 || index > 3) return;
  CreationList->SetVisible(index == 0);
  EditionList->SetVisible(index == 1);
  SettingsList->SetVisible(index == 2);
  AboutPanel->SetVisible(index == 3);
}

// CreationListDblClick, which opens the mux page, lives with the mux page.

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
