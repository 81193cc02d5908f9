// The program's three forms read from their stored descriptions, with the wizard's pages in
// the order the start page leads to them.
#include "tests/app/program_session.h"

using namespace apptest;

TEST(ProgramForms, TheThreeFormsAreCreatedFromTheirDescriptionsMainWindowFirst) {
  RemoveSettingsFile();
  TProgramSession session;
  ASSERT_NE(MainForm, nullptr);
  ASSERT_NE(PropForm, nullptr);
  ASSERT_NE(CustomVal, nullptr);
  EXPECT_EQ(Application->MainForm(), MainForm);
  EXPECT_EQ(Application->Title(), "Kavo");

  TMainForm* m = MainForm;
  ASSERT_NE(m->Wizard, nullptr);
  TKvWizardCustomPage* const pages[] = {m->Page1, m->SettingsPage, m->MuxPage, m->ProcessPage, m->SplitPage,
                                        m->ConcatPage, m->ExtractPage, m->ConverterPage, m->TagPage};
  ASSERT_EQ(m->Wizard->Pages()->Count(), static_cast<int>(std::size(pages)));
  for (int i = 0; i < static_cast<int>(std::size(pages)); ++i) {
    ASSERT_NE(pages[i], nullptr) << i;
    EXPECT_EQ(m->Wizard->Pages()->Items(i), pages[i]) << pages[i]->Name();
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->Page1);

  // A sample of each page's design values and of the components the pages' handlers use.
  EXPECT_EQ(m->CreationList->Items()->Count(), 2);
  EXPECT_EQ(m->EditionList->Items()->Count(), 5);
  EXPECT_EQ(m->SettingsList->Items()->Count(), 1);
  EXPECT_TRUE(m->CreationList->Visible());
  EXPECT_FALSE(m->EditionList->Visible());
  EXPECT_EQ(m->cbPriority->ItemIndex(), 3);
  EXPECT_EQ(m->cbLang->ItemIndex(), 1);
  EXPECT_EQ(m->cbLang->Items()->Count(), 3);
  EXPECT_TRUE(m->chOutputLog->Checked());
  EXPECT_FALSE(m->chKavoLog->Checked());
  EXPECT_TRUE(m->chWarningAVC->Checked());
  EXPECT_TRUE(m->chEnableOnFinish->Checked());
  EXPECT_EQ(m->MP4ListView->Columns()->Count(), 18);
  EXPECT_EQ(m->ConcListView->Columns()->Count(), 18);
  EXPECT_EQ(m->FilesTagList->Columns()->Count(), 22);
  EXPECT_EQ(m->ExtractListView->Columns()->Count(), 6);
  EXPECT_EQ(m->ETAListView->Columns()->Count(), 3);
  EXPECT_EQ(m->ProgressBar->Max(), 100);
  EXPECT_FALSE(m->Timer1->Enabled());
  EXPECT_EQ(m->Timer1->Interval(), 1000u);
  EXPECT_EQ(m->UpDown1->Position(), 700);
  EXPECT_EQ(m->cbGenre->Items()->Count(), 47);
  EXPECT_EQ(m->cbGenre->ItemIndex(), 19);
  EXPECT_FALSE(m->SaveInfosas1->Enabled());
  EXPECT_EQ(m->PopupMenu1->Items()->Count(), 10);
  EXPECT_NE(m->FilterGraph, nullptr);
  EXPECT_NE(m->DosCommand, nullptr);
  EXPECT_NE(m->MainTaskDialog, nullptr);
  EXPECT_NE(m->FileDropTarget, nullptr);

  EXPECT_EQ(PropForm->PageControl1->PageCount(), 4);
  EXPECT_EQ(PropForm->cbLang->Items()->Count(), 77);
  EXPECT_EQ(PropForm->cbBrand->Items()->Count(), 14);
  EXPECT_NE(PropForm->ThumbView, nullptr);
  EXPECT_FALSE(CustomVal->edPAR1->Visible());
  EXPECT_TRUE(CustomVal->edCustomVal->Visible());
}
