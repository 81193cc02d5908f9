// The split page driven as a user would, in the program's own forms: a file chosen, its size,
// chapters and video read by the real MediaInfo, a mode clicked, Next clicked, and the job
// run through the stand-in MP4Box, which writes the parts as MP4Box names them.
#include <gtest/gtest.h>

#include "app/common/utf8.h"
#include "app/media/input_problems.h"

#include "app/common/named_texts.h"
#include "tests/app/media_test_support.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_page_test.h"
#include "tests/app/program_session.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/user_input.h"
#include "tests/support/window_shot.h"
#include "tests/widetext/temp_folder.h"
#include "widetext/uni_message_dialogs.h"

using namespace apptest;

namespace {

std::vector<WideString> ItemsOf(TUniComboBox* Box) {
  std::vector<WideString> items;
  for (int i = 0; i < Box->Items()->Count(); ++i) items.push_back(Box->Items()->Strings(i));
  return items;
}

class SplitPageTest : public TProgramPageTest {
 protected:
  void SetUp() override {
    StartProgram({L"clip.mp4", L"chapters3.mp4", L"chapters12.mp4"});
    if (IsSkipped()) return;
    m->EditionList->SetItemIndex(0);
    m->EditionListDblClick(nullptr);
  }

  // The file as the open dialog gives it.
  void Choose(const wchar_t* Name) { m->SplitInputChosen(folder + Name); }
  void Click(TWinControl* Control) {
    SendMessageA(Control->Handle(), BM_CLICK, 0, 0);
    PumpUntil([] { return false; }, 20);
  }
  void Next() { Click(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)); }
  bool JobClosed() const { return !m->FJobs->JobRunning() && !m->btAbort->Enabled(); }
  std::vector<TArgv> Runs() const { return RecordedRuns(ReadFileBytes(argvLog)); }
  // The process page's rows as "image text".
  std::vector<std::wstring> Rows() const {
    std::vector<std::wstring> rows;
    for (int i = 0; i < m->ETAListView->Items()->Count(); ++i) {
      TUniListItem* row = m->ETAListView->Items()->Item(i);
      rows.push_back(std::to_wstring(row->ImageIndex()) + L" " + row->SubItems()->Strings(1));
    }
    return rows;
  }
  void Shot(const char* Name) {
    m->Repaint();
    PumpUntil([] { return false; }, 100);
    if (const char* shots = getenv("KAVO_APP_SHOTS")) SaveWindowShot(m->Handle(), std::string(shots) + "\\" + Name);
  }

};

TEST_F(SplitPageTest, AChosenFileIsReadForItsSizeChaptersAndVideo) {
  ASSERT_EQ(m->Wizard->ActivePage(), m->SplitPage);
  EXPECT_FALSE(m->gbSplitOptions->Enabled());
  m->SplitInputChosen(L"");  // the dialog cancelled, nothing chosen yet: nothing happens
  EXPECT_FALSE(m->gbSplitOptions->Enabled());

  Choose(L"chapters3.mp4");
  EXPECT_TRUE(m->gbSplitOptions->Enabled());
  EXPECT_EQ(m->edSplitSize->Text(), L"1");  // under half a megabyte: the least part size
  EXPECT_EQ(m->UpDown1->Max(), 1);
  EXPECT_TRUE(m->rbSplitChapN->Enabled());
  EXPECT_TRUE(m->rbSplitChapAll->Enabled());
  EXPECT_TRUE(m->chVIdeoPreview->Enabled());
  EXPECT_TRUE(HasButton(m->SplitPage->EnabledButtons(), TKvWizardButtonKind::bkNext));
  EXPECT_EQ(ItemsOf(m->cbChap), (std::vector<WideString>{L"01 - G\u00e9n\u00e9rique", L"02 - Part - two",
                                                         L"03 - Fin \u00e0 No\u00ebl"}));
  EXPECT_EQ(ItemsOf(m->cbChapVal), (std::vector<WideString>{L"00:00:00.000", L"00:00:01.000", L"00:00:02.500"}));
  const std::vector<WideString> ends = ItemsOf(m->cbChapVal2);
  ASSERT_EQ(ends.size(), 3u);
  EXPECT_EQ(ends[0], L"00:00:01.000");
  EXPECT_EQ(ends[1], L"00:00:02.500");
  EXPECT_EQ(ends[2].substr(0, 8), L"00:00:03");  // the file's duration
  EXPECT_GT(m->Memo1->Lines()->Count(), 3);
  EXPECT_EQ(m->cbChap->ItemIndex(), 0);

  Choose(L"chapters12.mp4");
  ASSERT_EQ(m->cbChap->Items()->Count(), 12);
  EXPECT_EQ(m->cbChap->Items()->Strings(8), L"09 - Chapter 9");
  EXPECT_EQ(m->cbChap->Items()->Strings(9), L"10 - Chapter 10");

  // A file without chapters: the chapter modes go, the lists stay.
  Choose(L"clip.mp4");
  EXPECT_FALSE(m->rbSplitChapN->Enabled());
  EXPECT_FALSE(m->rbSplitChapAll->Enabled());
  EXPECT_EQ(m->cbChap->Items()->Count(), 12);
  EXPECT_TRUE(m->chVIdeoPreview->Enabled());
}

TEST_F(SplitPageTest, TheModesHintAndEnableTheirValues) {
  Choose(L"chapters3.mp4");
  const TNamedTexts& t = NamedTexts();
  Click(m->rbFrom);
  EXPECT_EQ(UniControl_GetHint(m->rbFrom), t.Split30 + L"\r\n" + t.Split31 + L"\r\n" + t.Split32 + L"\r\n" + t.Split33 +
                                               L"\r\n" + t.Split34);
  EXPECT_TRUE(m->edSplitFrom->Enabled() && m->edSplitTo->Enabled() && m->lbTo->Enabled());
  EXPECT_FALSE(m->edSplitSize->Enabled() || m->UpDown1->Enabled() || m->cbChap->Enabled() || m->edSplitDuration->Enabled());
  Click(m->rbSplitChapAll);
  EXPECT_EQ(UniControl_GetHint(m->rbSplitChapAll), t.Split50 + L"\r\n" + t.Split51);
  for (TControl* c : std::initializer_list<TControl*>{m->edSplitSize, m->UpDown1, m->lbMB, m->edSplitDuration,
                                                      m->edSplitFrom, m->edSplitTo, m->lbTo, m->cbChap})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  Click(m->rbSize);
  EXPECT_TRUE(m->edSplitSize->Enabled() && m->UpDown1->Enabled() && m->lbMB->Enabled());

  // The time edits take digits, the colon, the point and backspace only.
  m->edSplitDuration->SetText(L"");
  for (char c : std::string("1a:2.b3 -"))
    SendMessageA(m->edSplitDuration->Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
  EXPECT_EQ(m->edSplitDuration->Text(), L"1:2.3");

  // A chapter picked: its start and end follow.
  m->cbChap->SetItemIndex(1);
  m->cbChapChange(m->cbChap);
  EXPECT_EQ(m->cbChapVal->ItemIndex(), 1);
  EXPECT_EQ(m->cbChapVal2->ItemIndex(), 1);
}

struct TModeCase {
  const char* Name;
  const wchar_t* File;
  TUniRadioButton* TMainForm::*Mode;
  std::function<void(TMainForm*)> Set;  // the values typed
  TArgv Args;                           // after the tool, before the input
  const wchar_t* Status;
  std::vector<const wchar_t*> Parts;
};

class SplitModes : public SplitPageTest, public ::testing::WithParamInterface<TModeCase> {};

TEST_P(SplitModes, AJobThroughTheStandInWritesTheParts) {
  const TModeCase& c = GetParam();
  Choose(c.File);
  Click(m->*c.Mode);
  if (c.Set) c.Set(m);
  Next();
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 1u);
  TArgv expected{"MP4Box.exe"};
  expected.insert(expected.end(), c.Args.begin(), c.Args.end());
  expected.push_back(WideToAnsi(folder + c.File));
  EXPECT_EQ(runs[0], expected);
  const std::vector<std::wstring> rows = Rows();
  ASSERT_GE(rows.size(), 2u);
  EXPECT_NE(std::find(rows.begin(), rows.end(), std::wstring(L"0 ") + c.Status), rows.end());
  EXPECT_EQ(rows.back(), L"0 " + NamedTexts().SplitSucceed);
  for (const wchar_t* part : c.Parts) EXPECT_TRUE(TempFolder::Exists(folder + part)) << WideToAnsi(part);
}

INSTANTIATE_TEST_SUITE_P(
    EveryMode, SplitModes,
    ::testing::Values(
        TModeCase{"size", L"clip.mp4", &TMainForm::rbSize, nullptr, {"-splits", "1024"},
                  L"Split clip.mp4 into 1 MB part...", {L"clip_001.mp4"}},
        TModeCase{"duration", L"clip.mp4", &TMainForm::rbDuration,
                  [](TMainForm* f) { f->edSplitDuration->SetText(L"00:00:30.000"); }, {"-split", "30"},
                  L"Split clip.mp4 each 00:00:30.000 ...", {L"clip_001.mp4", L"clip_002.mp4"}},
        // Within the clip, which lasts a second.
        TModeCase{"range", L"clip.mp4", &TMainForm::rbFrom,
                  [](TMainForm* f) {
                    f->edSplitFrom->SetText(L"000");
                    f->edSplitTo->SetText(L"00:00:01.000");
                  },
                  {"-splitx", "0:1"}, L"Split clip.mp4 from 000 to 00:00:01.000...", {L"clip_0_1.mp4"}},
        TModeCase{"chapter", L"chapters3.mp4", &TMainForm::rbSplitChapN,
                  [](TMainForm* f) {
                    f->cbChap->SetItemIndex(1);
                    f->cbChapChange(f->cbChap);
                  },
                  {"-splitx", "1.000:2.500"}, L"Split chapters3.mp4 at Chapter # 2 ...",
                  {L"chapters3_1.000_2.500.mp4"}}),
    [](const ::testing::TestParamInfo<TModeCase>& i) { return std::string(i.param.Name); });

TEST_F(SplitPageTest, SplitAllIsOneRunPerChapterThenChapterOneAgain) {
  Choose(L"chapters12.mp4");
  Click(m->rbSplitChapAll);
  m->cbChap->SetItemIndex(5);
  m->cbChapChange(m->cbChap);
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 60000));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 12u);
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    char range[32];
    snprintf(range, sizeof range, "%d.%s:%d.%s", i / 2, i % 2 ? "500" : "000", (i + 1) / 2, (i + 1) % 2 ? "500" : "000");
    EXPECT_EQ(runs[i][1], "-splitx");
    EXPECT_EQ(runs[i][2], range);
  }
  EXPECT_EQ(m->cbChap->ItemIndex(), 0);
  EXPECT_EQ(m->cbChapVal->ItemIndex(), 0);
  EXPECT_EQ(m->cbChapVal2->ItemIndex(), 0);
  const std::vector<std::wstring> rows = Rows();
  EXPECT_NE(std::find(rows.begin(), rows.end(), L"0 Split chapters12.mp4 at Chapter # 12 ..."), rows.end());
  EXPECT_EQ(rows.back(), L"0 " + NamedTexts().SplitSucceed);
  EXPECT_TRUE(TempFolder::Exists(folder + L"chapters12_0.000_0.500.mp4"));
}

TEST_F(SplitPageTest, AbortStopsTheRemainingChapters) {
  Choose(L"chapters12.mp4");
  Click(m->rbSplitChapAll);
  SetEnvironmentVariableW(L"KAVO_MP4BOX_STALL", L"40");
  Next();
  ASSERT_TRUE(PumpUntil([&] { return m->ProgressBar->Position() == 40; }, 20000));
  Click(m->btAbort);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(Runs().size(), 1u);
  EXPECT_EQ(Rows().back(), std::to_wstring(pekError) + L" " + NamedTexts().SplitAborted);
  EXPECT_EQ(m->cbChap->ItemIndex(), 0);
}

TEST_F(SplitPageTest, UnreadableValuesAreRefusedAndThePageStays) {
  Choose(L"clip.mp4");
  const struct {
    const char* what;
    TUniRadioButton* TMainForm::*mode;
    std::function<void(TMainForm*)> set;
    WideString content;
  } cases[] = {
      {"size", &TMainForm::rbSize, [](TMainForm* f) { f->edSplitSize->SetText(L"7x"); },
       L"The part size \"7x\" is not a number of megabytes above 0."},
      {"duration", &TMainForm::rbDuration, [](TMainForm* f) { f->edSplitDuration->SetText(L"12:30:00"); },
       FormatText(NamedTexts().SplitMsgBadTime, {L"12:30:00"})},
      {"range", &TMainForm::rbFrom,
       [](TMainForm* f) {
         f->edSplitFrom->SetText(L"600");
         f->edSplitTo->SetText(L"300");
       },
       NamedTexts().SplitMsgEmptyRange},
      // Two digits are hours: far past the end of the clip.
      {"past the end", &TMainForm::rbFrom,
       [](TMainForm* f) {
         f->edSplitFrom->SetText(L"2");
         f->edSplitTo->SetText(L"8");
       },
       FormatText(NamedTexts().SplitMsgPastEnd, {L"02:00:00", L"08:00:00", L"%s"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Click(m->*c.mode);
    c.set(m);
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    // The file's own length ends the past-the-end text.
    const WideString content = c.content.substr(0, c.content.find(L"%s"));
    EXPECT_EQ(answer.Content.substr(0, content.size()), content);
    EXPECT_EQ(m->Wizard->ActivePage(), m->SplitPage);
  }
  // A chapter mode left checked from a file with chapters is refused on one without.
  Choose(L"chapters3.mp4");
  Click(m->rbSplitChapN);
  Choose(L"clip.mp4");
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_EQ(answer.Content, NamedTexts().SplitMsgNoChapters);
  }
  EXPECT_FALSE(TempFolder::Exists(argvLog));
  EXPECT_EQ(m->ETAListView->Items()->Count(), 0);
}

TEST_F(SplitPageTest, WithNoModeCheckedTheSelectedChapterIsSplitOutOnce) {
  Choose(L"clip.mp4");  // no chapters: the user is asked to choose a mode
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Content, NamedTexts().SplitMsgNoMode);
  }
  Choose(L"chapters3.mp4");
  m->cbChap->SetItemIndex(1);
  m->cbChapChange(m->cbChap);
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-splitx", "1.000:2.500", WideToAnsi(folder) + "chapters3.mp4"}));
}

TEST_F(SplitPageTest, APartSizeWithAFractionIsTakenInKilobytes) {
  Choose(L"clip.mp4");
  Click(m->rbSize);
  m->edSplitSize->SetText(L"1.5");
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-splits", "1536", WideToAnsi(folder) + "clip.mp4"}));
}

TEST_F(SplitPageTest, TheInputBoxTakesAPastedName) {
  const WideString name = folder + L"chapters3.mp4";
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (name.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(memory), name.c_str(), (name.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  SendMessageW(m->edSplitInput->Handle(), WM_PASTE, 0, 0);
  PumpUntil([] { return false; }, 20);
  EXPECT_EQ(m->edSplitInput->Text(), name);
  // Read as a picked file: its options, its chapters, Next.
  EXPECT_TRUE(m->gbSplitOptions->Enabled());
  EXPECT_EQ(ItemsOf(m->cbChap).size(), 3u);
  EXPECT_TRUE(HasButton(m->SplitPage->EnabledButtons(), TKvWizardButtonKind::bkNext));
  // A name of no file is refused when Next comes.
  m->edSplitInput->SetText(folder + L"gone.mp4");
  Click(m->rbSize);
  TTaskAnswer answer(0);
  Next();
  EXPECT_TRUE(answer.Driver.Done());
  EXPECT_EQ(answer.Content, FormatText(NamedTexts().MsgFileNotFound, {folder + L"gone.mp4"}));
  EXPECT_EQ(m->Wizard->ActivePage(), m->SplitPage);
}

TEST_F(SplitPageTest, ThePageWithAFileInEnglishAndFrench) {
  Choose(L"chapters3.mp4");
  Click(m->rbSplitChapN);
  EXPECT_TRUE(m->ToolBar1->HandleAllocated());
  EXPECT_EQ(m->ToolBar1->ButtonCount(), 9);
  EXPECT_FALSE(m->ToolBar1->Enabled());
  EXPECT_EQ(m->Playbt->Hint(), "Play");
  EXPECT_EQ(m->UniImage18->Cursor(), crHandPoint);
  Shot("split_page_en.bmp");
  ApplyLanguage(TMainForm::ProgramFolder() + L"lang\\Fran\u00e7ais.ini");
  EXPECT_EQ(m->lbMB->Caption(), L"Mo");
  Click(m->rbSplitChapN);
  Shot("split_page_fr.bmp");
}

}  // namespace

namespace {

// The message form shown modally, if one shows.
TUniMessageForm* ShownMessageForm() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TUniMessageForm*>(Screen->Forms(i)); f && f->HandleAllocated() && IsWindowVisible(f->WindowHandle()))
      return f;
  return nullptr;
}

TEST_F(SplitPageTest, ThePreviewBoxEnablesTheToolBarWithItsNotice) {
  Choose(L"clip.mp4");
  WideString text;
  {
    TModalDriver driver([] { return ShownMessageForm() != nullptr; }, [&] {
      TUniMessageForm* f = ShownMessageForm();
      text = f->ClipboardText();
      f->SetModalResult(mrOk);
    });
    Click(m->chVIdeoPreview);
    EXPECT_TRUE(driver.Done());
  }
  EXPECT_NE(text.find(L"This is not yet fonctional...sorry"), WideString::npos) << WideToAnsi(text);
  EXPECT_TRUE(m->ToolBar1->Enabled());
  EXPECT_FALSE(m->Playbt->Enabled());  // the buttons themselves stay disabled
  {
    TModalDriver driver([] { return ShownMessageForm() != nullptr; }, [] { ShownMessageForm()->SetModalResult(mrOk); });
    Click(m->chVIdeoPreview);  // unchecked: no notice
    EXPECT_FALSE(driver.Done());
  }
  EXPECT_FALSE(m->ToolBar1->Enabled());
}

TEST_F(SplitPageTest, ASecondSplitAsksBeforeReplacingTheFirstSplitsParts) {
  Choose(L"clip.mp4");
  Click(m->rbDuration);
  m->edSplitDuration->SetText(L"00:00:30.000");
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  ASSERT_TRUE(TempFolder::Exists(folder + L"clip_002.mp4"));
  TempFolder::MakeFile(folder + L"clip_001.mp4", "first");
  TempFolder::MakeFile(folder + L"clip_002.mp4", "second");
  bool stop = false;
  m->ProcessPage->OnBackButtonClick(m->ProcessPage, stop);
  ASSERT_EQ(m->Wizard->ActivePage(), m->SplitPage);
  // One question names both parts; No keeps them and starts nothing.
  {
    TTaskAnswer answer(1, "overwrite_parts.bmp");
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Instruction, NamedTexts().MsgOverwriteThese);
    EXPECT_EQ(answer.Content, folder + L"clip_001.mp4\n" + folder + L"clip_002.mp4");
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->SplitPage);
  EXPECT_EQ(Runs().size(), 1u);
  EXPECT_EQ(ReadFileBytes(folder + L"clip_001.mp4"), "first");
  EXPECT_EQ(ReadFileBytes(folder + L"clip_002.mp4"), "second");
  // Yes replaces them, and the log says so.
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
  }
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(Runs().size(), 2u);
  EXPECT_NE(ReadFileBytes(folder + L"clip_001.mp4"), "first");
  EXPECT_NE(m->FLog->Lines()->Text().find("clip_002.mp4 " + WideToUtf8(NamedTexts().MsgOverwritten)), std::string::npos);
}

TEST_F(SplitPageTest, AFileThatCannotBeOpenedIsSaidSo) {
  WideString text;
  TModalDriver driver([] { return ShownMessageForm() != nullptr; }, [&] {
    text = ShownMessageForm()->ClipboardText();
    ShownMessageForm()->SetModalResult(mrOk);
  });
  Choose(L"gone.mp4");
  EXPECT_TRUE(driver.Done());
  EXPECT_NE(text.find(FormatText(NamedTexts().MsgCannotOpen, {folder + L"gone.mp4"})), WideString::npos)
      << WideToAnsi(text);
  EXPECT_EQ(m->edSplitSize->Text(), L"700");  // nothing read
}

TEST_F(SplitPageTest, TheMuxPagesCustomSplitSizeComesFromTheValueDialog) {
  m->CreationList->SetItemIndex(0);
  m->CreationListDblClick(nullptr);
  TModalDriver driver([] { return CustomVal->HandleAllocated() && IsWindowVisible(CustomVal->WindowHandle()); }, [] {
    CustomVal->edCustomVal->SetText(L"650");
    PostMessageA(CustomVal->btCustomVal->Handle(), BM_CLICK, 0, 0);
  });
  m->cbSplitOut->SetItemIndex(5);
  m->cbSplitOutChange(m->cbSplitOut);
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(CustomVal->edCustomVal->Visible());
  EXPECT_FALSE(CustomVal->edPAR1->Visible() || CustomVal->edPAR2->Visible() || CustomVal->Label1->Visible());
  EXPECT_EQ(m->cbSplitOut->Text(), L"650");
  EXPECT_EQ(SplitKilobytes(m->cbSplitOut->ItemIndex(), m->cbSplitOut->Text()), 665600);
}

}  // namespace
