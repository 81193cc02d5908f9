// The start page driven with the mouse: the area list shows its task list, and a double
// click on a task opens its page; the pages' Back (and the settings page's Next) lead back.
#include "tests/app/program_session.h"
#include "tests/app/page_driving.h"
#include "tests/app/user_input.h"

#include "app/common/named_texts.h"

using namespace apptest;

namespace {

class StartPage : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallLanguageFiles();
    RemoveSettingsFile();
    session = std::make_unique<TProgramSession>();
    session->Show();
    m = session->Main();
    SetForegroundWindow(m->Handle());
  }
  void TearDown() override {
    session.reset();
    RemoveSettingsFile();
  }
  bool Shows(TKvWizardCustomPage* Page) { return PumpUntil([&] { return m->Wizard->ActivePage() == Page; }, 3000); }

  std::unique_ptr<TProgramSession> session;
  TMainForm* m = nullptr;
};

TEST_F(StartPage, TheAreaListShowsOneTaskListAtATime) {
  TControl* const areas[] = {m->CreationList, m->EditionList, m->SettingsList, m->AboutPanel};
  for (int index : {1, 3, 2, 0}) {
    SCOPED_TRACE(index);
    ClickAreaItem(m->MainList, index);
    ASSERT_TRUE(PumpUntil([&] { return areas[index]->Visible(); }, 3000));
    for (int other = 0; other < 4; ++other)
      if (other != index) EXPECT_FALSE(areas[other]->Visible()) << other;
  }
  // A click beside the items leaves the area as it was.
  ClickAt(m->MainList->Handle(), POINT{m->MainList->Width() - 10, m->MainList->Height() - 10}, 1);
  PumpUntil([] { return false; }, 200);
  EXPECT_TRUE(m->CreationList->Visible());
}

TEST_F(StartPage, ADoubleClickOnATaskOpensItsPage) {
  TKvWizardCustomPage* const editions[] = {m->SplitPage, m->ConcatPage, m->ExtractPage, m->ConverterPage,
                                           m->TagPage};
  for (int index = 0; index < 5; ++index) {
    SCOPED_TRACE(index);
    m->Wizard->SetActivePage(m->Page1);
    ClickAreaItem(m->MainList, 1);
    ASSERT_TRUE(PumpUntil([&] { return m->EditionList->Visible(); }, 3000));
    DoubleClickItem(m->EditionList, index);
    EXPECT_TRUE(Shows(editions[index]));
    EXPECT_EQ(m->EditionList->ItemIndex(), index);
  }

  m->Wizard->SetActivePage(m->Page1);
  ClickAreaItem(m->MainList, 2);
  ASSERT_TRUE(PumpUntil([&] { return m->SettingsList->Visible(); }, 3000));
  DoubleClickItem(m->SettingsList, 0);
  EXPECT_TRUE(Shows(m->SettingsPage));
  // Next and Back of the settings page both lead back to the start page.
  for (TKvWizardButtonKind kind : {TKvWizardButtonKind::bkNext, TKvWizardButtonKind::bkBack}) {
    m->Wizard->SetActivePage(m->SettingsPage);
    SendMessageA(m->Wizard->ButtonControl(kind)->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(Shows(m->Page1));
  }
}

TEST_F(StartPage, TheCreationListOpensTheMuxPageInMP4Or3GPMode) {
  struct Case {
    int Index;
    bool MP4;
    const WideString* Title;
  };
  const Case cases[] = {{1, false, &NamedTexts().TitleText2}, {0, true, &NamedTexts().TitleText}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Index);
    m->Wizard->SetActivePage(m->Page1);
    ClickAreaItem(m->MainList, 0);
    ASSERT_TRUE(PumpUntil([&] { return m->CreationList->Visible(); }, 3000));
    DoubleClickItem(m->CreationList, c.Index);
    EXPECT_TRUE(Shows(m->MuxPage));
    EXPECT_EQ(m->FJobs->State().CreateMP4, c.MP4);
    EXPECT_EQ(m->cbCompliance->Enabled(), c.MP4);
    EXPECT_EQ(AnsiToWide(m->WHeaderMuxPage->CaptionText()), *c.Title);
    // An empty list: no Next, and only the add button.
    EXPECT_FALSE(IsWindowEnabled(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Handle()));
    EXPECT_FALSE(m->btDelete->Visible());
    EXPECT_TRUE(m->btAdd->Visible());
  }
}

TEST_F(StartPage, TheSettingsTreeShowsOneGroupAndTheLogBoxesExcludeEachOther) {
  m->Wizard->SetActivePage(m->SettingsPage);
  TUniGroupBox* const groups[] = {m->gbMP4Box, m->gbTagger, m->gbKavo};
  for (int index : {2, 1, 0}) {
    m->SettingsView->SetSelected(m->SettingsView->Items()->Item(index));
    m->SettingsViewClick(m->SettingsView);
    for (int g = 0; g < 3; ++g) EXPECT_EQ(groups[g]->Visible(), g == index) << index << " " << g;
  }
  for (TUniCheckBox* box : {m->chKavoLog, m->chOutputLog, m->chKavoLog, m->chKavoLog}) {
    SendMessageA(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_NE(m->chKavoLog->Checked(), m->chOutputLog->Checked());
  }
}

TEST_F(StartPage, UsingMP4BoxAsTaggerFollowsThePaths) {
  m->edMP4Box->SetText(L"");
  m->edTagger->SetText(L"C:\\Old\\x.exe");
  m->chTaggerorNot->SetChecked(true);  // no MP4Box path: nothing changes
  EXPECT_EQ(m->edTagger->Text(), L"C:\\Old\\x.exe");
  m->chTaggerorNot->SetChecked(false);
  m->edMP4Box->SetText(L"C:\\Tools\\MP4Box.exe");
  m->chTaggerorNot->SetChecked(true);
  EXPECT_EQ(m->edTagger->Text(), L"C:\\Tools\\MP4Box.exe");
  m->chTaggerorNot->SetChecked(false);  // a tagger that is not AtomicParsley goes
  EXPECT_EQ(m->edTagger->Text(), L"");
  m->edTagger->SetText(L"C:\\Tools\\AtomicParsley.exe");
  {
    TTaskAnswer notice(0);  // AtomicParsley is set aside, and the user is told
    m->chTaggerorNot->SetChecked(true);
    EXPECT_TRUE(notice.Driver.Done());
    EXPECT_EQ(notice.Content, L"MP4Box is now the tagger, in place of AtomicParsley.exe.");
  }
  EXPECT_EQ(m->edTagger->Text(), L"C:\\Tools\\MP4Box.exe");
  m->edTagger->SetText(L"C:\\Tools\\AtomicParsley.exe");
  m->chTaggerorNot->SetChecked(false);  // AtomicParsley stays
  EXPECT_EQ(m->edTagger->Text(), L"C:\\Tools\\AtomicParsley.exe");
}

}  // namespace

namespace {

std::string LastLogLine(TMainForm* Form) {
  TStrings* lines = Form->FLog->Lines();
  const AnsiString line = lines->Strings(lines->Count() - 1);
  return line.substr(line.find("] : ") + 4);
}

TEST_F(StartPage, ChosenToolsAndFoldersAreKeptAndLogged) {
  m->MP4BoxChosen(L"C:\\Tools\\MP4Box.exe");
  EXPECT_EQ(m->edMP4Box->Text(), L"C:\\Tools\\MP4Box.exe");
  EXPECT_EQ(LastLogLine(m), "MP4Box.exe loaded.");
  EXPECT_TRUE(m->MP4BoxForm1->Enabled());
  m->MP4BoxChosen(L"C:\\Tools\\mp4box-0.4.exe");  // kept, with a warning in the log
  EXPECT_EQ(m->edMP4Box->Text(), L"C:\\Tools\\mp4box-0.4.exe");
  EXPECT_EQ(LastLogLine(m), "Problem...mp4box-0.4.exe is not MP4Box.exe.");

  m->chTaggerorNot->SetChecked(true);
  m->TaggerChosen(L"C:\\Tools\\AtomicParsley.exe");
  EXPECT_EQ(LastLogLine(m), "AtomicParsley.exe loaded.");
  EXPECT_FALSE(m->chTaggerorNot->Checked());
  EXPECT_EQ(m->edTagger->Text(), L"C:\\Tools\\AtomicParsley.exe");
  m->TaggerChosen(L"C:\\Tools\\tagger.exe");
  EXPECT_EQ(m->edTagger->Text(), L"C:\\Tools\\tagger.exe");
  EXPECT_EQ(LastLogLine(m),
            "Problem...tagger.exe is not a supported tagger (AtomicParsley.exe or MP4Box.exe).");

  m->TempFolderChosen(L"C:\\Temp");
  EXPECT_EQ(m->edTemp->Text(), L"C:\\Temp\\");
  EXPECT_EQ(LastLogLine(m), "C:\\Temp\\ added as Temp Directory...");
  m->TempFolderChosen(L"D:\\");
  EXPECT_EQ(m->edTemp->Text(), L"D:\\");
}

}  // namespace

namespace {

// Each task's row is as tall as its text wrapped in the width the row is drawn in, in every
// language and after the start-up has widened the lists: no wrapped line is cut off.
TEST_F(StartPage, EveryTaskShowsItsWholeWrappedTextInEveryLanguage) {
  for (int lang : {0, 1, 2}) {
    m->cbLang->SetItemIndex(lang);
    m->cbLangChange(m->cbLang);
    for (TdkImageListBox* list : {m->CreationList, m->EditionList, m->SettingsList}) {
      list->SetVisible(true);
      RECT client{};
      GetClientRect(list->Handle(), &client);
      const int width = image_list_box_layout::TextWidth(client.right, list->Margin(), list->Spacing(),
                                                         list->ImageList()->Width(), true);
      HDC dc = GetDC(list->Handle());
      HGDIOBJ old = SelectObject(dc, list->Font()->Handle());
      for (int i = 0; i < list->Count(); ++i) {
        const AnsiString text = list->Items()->Strings(i);
        RECT r{0, 0, width, 0};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        const int row = static_cast<int>(SendMessageA(list->Handle(), LB_GETITEMHEIGHT, i, 0));
        EXPECT_GE(row, r.bottom + 2 * list->Margin()) << lang << " " << list->Name() << " " << i << " " << text;
      }
      SelectObject(dc, old);
      ReleaseDC(list->Handle(), dc);
    }
  }
}

// The tree's own mouse loop takes the release of the button: the click after choosing a
// group must still reach the control under the mouse, not the tree.
TEST_F(StartPage, TheFirstClickAfterChoosingASettingsGroupIsNotLost) {
  m->Wizard->SetActivePage(m->SettingsPage);
  SetForegroundWindow(m->Handle());
  TTreeNode* kavo = m->SettingsView->Items()->Item(2);
  RECT node{};
  const HTREEITEM item = kavo->ItemId();
  memcpy(&node, &item, sizeof item);  // the item goes in, its rectangle comes back
  ASSERT_TRUE(SendMessageA(m->SettingsView->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&node)));
  ClickAt(m->SettingsView->Handle(), MiddleOf(node), 1);
  ASSERT_TRUE(PumpUntil([&] { return m->gbKavo->Visible(); }, 3000));
  const bool before = m->chEnableOnFinish->Checked();
  RECT box{};
  GetClientRect(m->chEnableOnFinish->Handle(), &box);
  ClickAt(m->chEnableOnFinish->Handle(), POINT{8, (box.bottom - box.top) / 2}, 1);
  EXPECT_TRUE(PumpUntil([&] { return m->chEnableOnFinish->Checked() != before; }, 3000))
      << "the first click after the tree went nowhere";
}

TEST_F(StartPage, TheAboutPanelShowsEveryCreditLineOnALineOfItsOwn) {
  TUniLabel* const lines[] = {m->lbMP4Box, m->lbAP, m->lbMP4Tags, m->lbKavo, m->lbThanks,
                              m->lbMediaInfo, m->lbKVCL, m->lbKDE, m->lbYou};
  for (size_t i = 0; i < std::size(lines); ++i) {
    EXPECT_TRUE(lines[i]->Visible()) << lines[i]->Name();
    if (i > 0) EXPECT_GE(lines[i]->Top(), lines[i - 1]->Top() + lines[i - 1]->Height()) << lines[i]->Name();
  }
}

}  // namespace
