// The concatenation page driven as a user would, in the program's own forms: files added,
// rows ordered and removed, the output options folded out, and joins run through the
// stand-in MP4Box.exe by the job sequencer; and the refusal of a job that would write over
// one of its own inputs, on this page and on the mux page.
#include <gtest/gtest.h>

#include "app/commands/join_command.h"
#include "app/commands/output_check.h"
#include "app/ui/track_row_item.h"
#include "tests/app/media_test_support.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_page_test.h"
#include "tests/app/program_session.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/recording_view.h"
#include "tests/explorer/dialog_answers.h"
#include "tests/support/window_shot.h"
#include "tests/widetext/temp_folder.h"

using namespace apptest;

namespace {

using C = TTrackColumn;

class ConcatPageTest : public TProgramPageTest {
 protected:
  void SetUp() override {
    StartProgram({});
    if (IsSkipped()) return;
    CopyFileW((media + L"clip.mp4").c_str(), (folder + L"part one.mp4").c_str(), FALSE);
    CopyFileW((media + L"clip.mp4").c_str(), (folder + L"part two.mp4").c_str(), FALSE);
    CopyFileW((media + L"clip.avi").c_str(), (folder + L"part three.avi").c_str(), FALSE);
    m->EditionList->SetItemIndex(1);
    m->EditionListDblClick(nullptr);
  }

  void AddTwo() { m->AddConcatFiles({folder + L"part one.mp4", folder + L"part two.mp4"}); }
  void Next() {
    bool stop = false;
    m->ConcatPage->OnNextButtonClick(m->ConcatPage, stop);
    EXPECT_TRUE(stop);
  }
  bool NextEnabled() const {
    return IsWindowEnabled(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Handle());
  }
  bool JobClosed() const { return !m->FJobs->JobRunning() && !m->btAbort->Enabled(); }
  TRecordedRow LastEvent() const {
    TUniListItems* items = m->ETAListView->Items();
    if (items->Count() == 0) return {-1, L""};
    TUniListItem* last = items->Item(items->Count() - 1);
    return {last->ImageIndex(), last->SubItems()->Strings(1)};
  }
  std::string LogText() const { return m->FLog->Lines()->Text(); }
  std::vector<std::wstring> Files() const {
    std::vector<std::wstring> files;
    for (const TTrackRow& row : ReadTrackRows(m->ConcListView)) files.push_back(row[C::File] + L"#" + row[C::Index]);
    return files;
  }

};

TEST_F(ConcatPageTest, TwoFilesJoinedThroughTheStandIn) {
  EXPECT_EQ(m->Wizard->ActivePage(), m->ConcatPage);
  EXPECT_FALSE(m->btConcRemove->Visible());
  AddTwo();
  EXPECT_EQ(Files(), (std::vector<std::wstring>{L"part one.mp4#1", L"part one.mp4#2", L"part two.mp4#1",
                                                 L"part two.mp4#2"}));
  EXPECT_TRUE(m->btConcRemove->Visible() && m->btConcMoveUp->Visible() && m->btConcMoveDown->Visible() &&
              m->btConcProp->Visible());
  EXPECT_TRUE(NextEnabled());
  // The first file's name, which is an input: a number makes it a new file's.
  EXPECT_EQ(m->edConcOutput->Text(), folder + L"part one_1.mp4");
  EXPECT_NE(LogText().find("part two.mp4 " + WideToAnsi(NamedTexts().Floaded)), std::string::npos);

  // An input named as the output: the job is refused before anything starts.
  m->edConcOutput->SetText(folder + L"part one.mp4");
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Content, OutputIsInputText(folder + L"part one.mp4"));
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->ConcatPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));

  m->edConcOutput->SetText(folder + L"joined.mp4");
  m->edTemp->SetText(folder + L"temp files\\");
  Next();
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekInformation, NamedTexts().ConcatSucceed}));
  EXPECT_EQ(m->ETAListView->Items()->Item(0)->SubItems()->Strings(1), NamedTexts().Msg5 + L" joined.mp4...");
  const std::string f = WideToAnsi(folder);
  std::vector<TArgv> runs = RecordedRuns(ReadFileBytes(argvLog));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-add", f + "part one.mp4#1:name=Vid\xE9o:fps=25.000", "-add",
                            f + "part one.mp4#2:lang=fr", "-cat", f + "part two.mp4#1:name=Vid\xE9o:fps=25.000", "-cat",
                            f + "part two.mp4#2:lang=fr", "-tmp", f + "temp files\\", f + "joined.mp4"}));
  EXPECT_TRUE(TempFolder::Exists(folder + L"joined.mp4"));
  EXPECT_NE(LogText().find(WideToAnsi(NamedTexts().Msg3) + " " + f + "\r\n"), std::string::npos);

  // Back leads to the page of the join, its list kept.
  bool stop = false;
  m->ProcessPage->OnBackButtonClick(m->ProcessPage, stop);
  EXPECT_TRUE(stop);
  EXPECT_EQ(m->Wizard->ActivePage(), m->ConcatPage);
  EXPECT_EQ(m->ConcListView->Items()->Count(), 4);
}

TEST_F(ConcatPageTest, AFailingToolGivesTheFailedRowAndItsExitCode) {
  AddTwo();
  m->edConcOutput->SetText(folder + L"joined.3gp");
  m->cbOutputFormat->SetItemIndex(1);
  m->cbOutputFormat->OnChange(m->cbOutputFormat);
  EXPECT_FALSE(m->cbCompliance2->Enabled());
  SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", L"3");
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekWarning, NamedTexts().ConcatFailed}));
  EXPECT_NE(LogText().find("exit code 3"), std::string::npos);
  EXPECT_FALSE(TempFolder::Exists(folder + L"joined.3gp"));

  // The user picks the failed row out; the next job, which succeeds, does not keep it picked.
  TUniListItems* rows = m->ETAListView->Items();
  rows->Item(rows->Count() - 1)->SetSelected(true);
  SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", nullptr);
  bool stop = false;
  m->ProcessPage->OnBackButtonClick(m->ProcessPage, stop);
  ASSERT_EQ(m->Wizard->ActivePage(), m->ConcatPage);
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekInformation, NamedTexts().ConcatSucceed}));
  EXPECT_EQ(m->ETAListView->Selected(), nullptr);
}

TEST_F(ConcatPageTest, RowsMoveAndGoAndTheFormatSetsTheExtension) {
  AddTwo();
  m->ConcListView->SetSelected(m->ConcListView->Items()->Item(0));
  m->btConcMoveUp->Click();  // the first row stays first
  m->btConcMoveDown->Click();
  m->btConcMoveDown->Click();
  EXPECT_EQ(Files(), (std::vector<std::wstring>{L"part one.mp4#2", L"part two.mp4#1", L"part one.mp4#1",
                                                 L"part two.mp4#2"}));
  m->ConcListView->SetSelected(m->ConcListView->Items()->Item(3));
  m->btConcMoveDown->Click();  // the last row stays last
  m->btConcMoveUp->Click();
  EXPECT_EQ(Files(), (std::vector<std::wstring>{L"part one.mp4#2", L"part two.mp4#1", L"part two.mp4#2",
                                                 L"part one.mp4#1"}));
  {
    explorer_test::TDialogAnswers answers({"Cancel", "OK"});
    m->btConcRemove->Click();
    EXPECT_EQ(m->ConcListView->Items()->Count(), 4);
    m->btConcRemove->Click();
    EXPECT_EQ(Files(), (std::vector<std::wstring>{L"part one.mp4#2", L"part two.mp4#1", L"part one.mp4#1"}));
    ASSERT_EQ(answers.WideTexts().size(), 2u);
    EXPECT_EQ(answers.WideTexts()[0], NamedTexts().Msg1);
  }
  for (int i = 0; i < m->ConcListView->Items()->Count(); ++i) m->ConcListView->Items()->Item(i)->SetChecked(false);
  m->ConcListView->OnClick(m->ConcListView);
  EXPECT_FALSE(NextEnabled());

  // The format box changes the extension and the compliance box only with a name there.
  m->edConcOutput->SetText(L"");
  m->cbOutputFormat->SetItemIndex(1);
  m->cbOutputFormat->OnChange(m->cbOutputFormat);
  EXPECT_EQ(m->edConcOutput->Text(), L"");
  EXPECT_TRUE(m->cbCompliance2->Enabled());
  m->edConcOutput->SetText(L"C:\\v\\joined.mp4");
  m->cbOutputFormat->OnChange(m->cbOutputFormat);
  EXPECT_EQ(m->edConcOutput->Text(), L"C:\\v\\joined.3gp");
  EXPECT_FALSE(m->cbCompliance2->Enabled());
  m->cbOutputFormat->SetItemIndex(0);
  m->cbOutputFormat->OnChange(m->cbOutputFormat);
  EXPECT_EQ(m->edConcOutput->Text(), L"C:\\v\\joined.mp4");
  EXPECT_TRUE(m->cbCompliance2->Enabled());
}

TEST_F(ConcatPageTest, MoreAndLessFoldTheOutputOptionsOnBothPages) {
  struct Geometry {
    int inputHeight, outputTop, outputHeight;
    bool operator==(const Geometry&) const = default;
  };
  auto geometry = [](TControl* in, TControl* out) { return Geometry{in->Height(), out->Top(), out->Height()}; };
  const Geometry conc = geometry(m->gbConcInput, m->gbConcOutput);
  m->More2->Click();
  EXPECT_EQ(geometry(m->gbConcInput, m->gbConcOutput),
            (Geometry{conc.inputHeight - 30, conc.inputHeight - 30 + 90, conc.outputHeight + 25}));
  EXPECT_TRUE(m->cbOutputFormat->Visible() && m->cbCompliance2->Visible() && m->lbConcOutput->Visible() &&
              m->lbCompliance2->Visible() && m->Less2->Visible());
  EXPECT_FALSE(m->More2->Visible());
  // The list stays inside its group.
  EXPECT_LE(m->ConcListView->Top() + m->ConcListView->Height(), m->gbConcInput->Height());
  m->AddConcatFiles({folder + L"part one.mp4", folder + L"part two.mp4", folder + L"part three.avi"});
  m->edConcOutput->SetText(folder + L"joined.mp4");
  if (const char* shots = getenv("KAVO_APP_SHOTS")) {
    m->Repaint();
    PumpUntil([] { return false; }, 200);
    SaveWindowShot(m->Handle(), std::string(shots) + "\\concat_page_more.bmp");
  }
  m->Less2->Click();
  EXPECT_EQ(geometry(m->gbConcInput, m->gbConcOutput),
            (Geometry{conc.inputHeight + 5, conc.inputHeight - 30 + 90 + 28, conc.outputHeight - 3}));
  EXPECT_FALSE(m->cbOutputFormat->Visible() || m->Less2->Visible());
  EXPECT_TRUE(m->More2->Visible());

  const Geometry mux = geometry(m->gbInput, m->gbMP4Output);
  m->More->Click();
  EXPECT_EQ(geometry(m->gbInput, m->gbMP4Output),
            (Geometry{mux.inputHeight - 30, mux.inputHeight - 30 + 85, mux.outputHeight + 25}));
  EXPECT_TRUE(m->cbSplitOut->Visible() && m->chHint->Visible() && m->chVFR->Visible() && m->Less->Visible());
  m->Less->Click();
  EXPECT_EQ(geometry(m->gbInput, m->gbMP4Output), (Geometry{mux.inputHeight, mux.inputHeight - 30 + 85 + 25, mux.outputHeight}));
  EXPECT_FALSE(m->cbSplitOut->Visible() || m->Less->Visible());
  EXPECT_TRUE(m->More->Visible());
}

TEST_F(ConcatPageTest, AMuxJobOverItsOwnInputIsRefused) {
  m->CreationList->SetItemIndex(0);
  m->CreationListDblClick(nullptr);
  m->AddMuxFiles({folder + L"part one.mp4"});
  m->edMP4Output->SetText(folder + L"PART ONE.MP4");
  {
    TTaskAnswer answer(0);
    bool stop = false;
    m->MuxPage->OnNextButtonClick(m->MuxPage, stop);
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Content, OutputIsInputText(folder + L"part one.mp4"));
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->MuxPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));
}

}  // namespace
