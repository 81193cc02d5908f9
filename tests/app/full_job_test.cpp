// A whole job as a user runs it: the start page's creation list, a file on the mux page,
// Next, and the stand-in MP4Box at work; then the program closes and leaves its log beside
// the new file. Each way a job can end gives its status rows, closing row, log lines and
// tool exit code.
#include "tests/app/program_session.h"

#include <cstdlib>

#include "app/common/named_texts.h"
#include "tests/app/media_test_support.h"
#include "tests/app/user_input.h"
#include "dialogs/task_message_form.h"
#include "tests/widetext/temp_folder.h"

using namespace apptest;

namespace {

enum class TEnding { Succeeds, ToolFails, ToolMissing, Aborted };

struct TJobCase {
  const char* Name;
  TEnding Ending;
  int RowKind;                           // the closing row's image
  WideString TNamedTexts::*ClosingText;  // the closing row's text
  unsigned ExitCode;                     // the last run's exit code (when it ran by itself)
};

class FullJob : public ::testing::TestWithParam<TJobCase> {
 protected:
  void SetUp() override {
    media = TestMediaFolder();
    if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
    RemoveSettingsFile();
    InstallLanguageFiles();
    folder = temp.Path() + L"\\";
    CopyFileW((media + L"clip.mp4").c_str(), (folder + L"clip.mp4").c_str(), FALSE);
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", (folder + L"argv.log").c_str());
  }
  void TearDown() override {
    for (const wchar_t* name : {L"KAVO_TOOL_LOG", L"KAVO_MP4BOX_FAIL", L"KAVO_MP4BOX_STALL"})
      SetEnvironmentVariableW(name, nullptr);
    RemoveSettingsFile();
  }

  TempFolder temp;
  WideString media;
  std::wstring folder;
};

std::string RowsText(TUniListView* List) {
  std::string text;
  for (int i = 0; i < List->Items()->Count(); ++i) {
    TUniListItem* row = List->Items()->Item(i);
    text += std::to_string(row->ImageIndex()) + " " + WideToAnsi(row->SubItems()->Strings(1)) + "\n";
  }
  return text;
}

TEST_P(FullJob, TheJobEndsWithItsRowItsLogAndItsExitCode) {
  const TJobCase& c = GetParam();
  if (c.Ending == TEnding::ToolFails) SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", L"3");
  if (c.Ending == TEnding::Aborted) SetEnvironmentVariableW(L"KAVO_MP4BOX_STALL", L"40");
  const WideString output = folder + L"film " + AnsiToWide(c.Name) + L".mp4";
  std::string rows;
  {
    TProgramSession session;
    session.Show();
    TMainForm* m = session.Main();
    SetForegroundWindow(m->Handle());
    m->edMP4Box->SetText(c.Ending == TEnding::ToolMissing ? folder + L"tools\\mp4box.exe"
                                                          : TMainForm::ProgramFolder() + L"MP4Box.exe");

    // The start page: the creation list's first task opens the mux page in MP4 mode.
    ASSERT_TRUE(m->CreationList->Visible());
    DoubleClickItem(m->CreationList, 0);
    ASSERT_TRUE(PumpUntil([&] { return m->Wizard->ActivePage() == m->MuxPage; }, 3000));
    // The file as the open dialog gives it, and the output name typed in.
    m->AddMuxFiles({folder + L"clip.mp4"});
    m->edMP4Output->SetText(output);
    ASSERT_GT(m->MP4ListView->Items()->Count(), 0);

    std::unique_ptr<TMessageBoxWatcher> box;
    if (c.Ending == TEnding::ToolMissing) box = std::make_unique<TMessageBoxWatcher>();
    SendMessageA(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
    if (c.Ending == TEnding::Aborted) {
      ASSERT_TRUE(PumpUntil([&] { return m->ProgressBar->Position() == 40; }, 20000));
      EXPECT_EQ(m->lbPercent->Caption(), L"40 %");
      EXPECT_TRUE(m->btAbort->Enabled());
      SendMessageA(m->btAbort->Handle(), BM_CLICK, 0, 0);
    }
    ASSERT_TRUE(PumpUntil([&] { return !m->FJobs->JobRunning() && !m->btAbort->Enabled(); }, 30000));
    if (box) {
      ASSERT_TRUE(PumpUntil([&] { return box->Seen(); }, 5000));
      EXPECT_NE(box->Text().find("doesn't exist."), std::string::npos) << box->Text();
    }

    // The process page at rest, its last row the job's end.
    rows = RowsText(m->ETAListView);
    TUniListItem* last = m->ETAListView->Items()->Item(m->ETAListView->Items()->Count() - 1);
    EXPECT_EQ(last->ImageIndex(), c.RowKind) << rows;
    EXPECT_EQ(last->SubItems()->Strings(1), NamedTexts().*c.ClosingText) << rows;
    // A success leaves the bar full; the heading says how the job ended.
    const bool succeeded = c.Ending == TEnding::Succeeds;
    EXPECT_EQ(m->ProgressBar->Position(), succeeded ? 100 : 0);
    EXPECT_EQ(m->lbPercent->Caption(), succeeded ? L"100 %" : L"0 %");
    EXPECT_EQ(Trim(m->WHeaderProcessPage->Captions()->Text()), WideToAnsi(NamedTexts().*c.ClosingText));
    if (c.Ending == TEnding::ToolFails)  // the reason, just above the closing row
      EXPECT_EQ(m->ETAListView->Items()->Item(m->ETAListView->Items()->Count() - 2)->SubItems()->Strings(1),
                L"MP4Box: (" + NamedTexts().ToolExitCode + L" 3)")
          << rows;
    EXPECT_EQ(m->lbTimeRemaining->Caption(), L"00:00:00");
    EXPECT_EQ(Application->Title(), "Kavo");
    EXPECT_TRUE(m->ViewLogFile1->Enabled());
    if (c.Ending != TEnding::ToolMissing && c.Ending != TEnding::Aborted)
      EXPECT_EQ(m->FJobs->LastExitCode(), c.ExitCode);
    EXPECT_EQ(TempFolder::Exists(output), c.Ending == TEnding::Succeeds);
  }

  // Closed: the log lies beside the output (the default place), ending with the closing line.
  const std::string log = ReadFileBytes(folder + L"Kavo.log");
  ASSERT_FALSE(log.empty()) << rows;
  EXPECT_NE(log.find("] : " + WideToAnsi(NamedTexts().*c.ClosingText) + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("] : Kavo 2.0.0.8 " + WideToAnsi(NamedTexts().Kavoclosed) + "\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.rfind("Kavo 2.0.0.8 closed.\r\n"), log.size() - std::string("Kavo 2.0.0.8 closed.\r\n").size());
  if (c.Ending == TEnding::ToolFails)
    EXPECT_NE(log.find("The tool ended with the exit code 3."), std::string::npos) << log;
  if (c.Ending != TEnding::ToolMissing)
    EXPECT_NE(log.find("MP4Box.exe\" -add"), std::string::npos) << log;  // the command line
}

INSTANTIATE_TEST_SUITE_P(
    Endings, FullJob,
    ::testing::Values(TJobCase{"succeeds", TEnding::Succeeds, 0, &TNamedTexts::CreateSucceed, 0},
                      TJobCase{"fails", TEnding::ToolFails, 1, &TNamedTexts::CreateFailed, 3},
                      TJobCase{"missing", TEnding::ToolMissing, 1, &TNamedTexts::CreateFailed, 0},
                      TJobCase{"aborted", TEnding::Aborted, 2, &TNamedTexts::CreateAborted, 0}),
    [](const ::testing::TestParamInfo<TJobCase>& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

// Presses the first button of the main window's task dialog once it shows (a timer runs in
// the dialog's modal loop), noting its instruction.
class TTaskDialogAnswer {
 public:
  TTaskDialogAnswer() : FTimer(nullptr) {
    FTimer.SetInterval(20);
    FTimer.SetOnTimer([this](TObject*) {
      TTaskMessageForm* f = MainForm->MainTaskDialog->Form();
      if (FDone || !f || !f->HandleAllocated() || !IsWindowVisible(f->WindowHandle())) return;
      FDone = true;
      Instruction = MainForm->MainTaskDialog->Instruction();
      PostMessageW(static_cast<TWinControl*>(f->CustomButtonList.at(0))->Handle(), BM_CLICK, 0, 0);
    });
  }
  bool Done() const { return FDone; }
  WideString Instruction;

 private:
  TTimer FTimer;
  bool FDone = false;
};

TEST(FullJobClose, TheWindowStaysWhileAToolRuns) {
  const WideString media = TestMediaFolder();
  if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
  InstallLanguageFiles();
  RemoveSettingsFile();
  TempFolder temp;
  const std::wstring folder = temp.Path() + L"\\";
  CopyFileW((media + L"clip.mp4").c_str(), (folder + L"clip.mp4").c_str(), FALSE);
  SetEnvironmentVariableW(L"KAVO_MP4BOX_STALL", L"10");
  TProgramSession session;
  session.Show();
  TMainForm* m = session.Main();
  m->edMP4Box->SetText(TMainForm::ProgramFolder() + L"MP4Box.exe");
  m->CreationList->SetItemIndex(0);
  m->CreationListDblClick(m->CreationList);
  m->AddMuxFiles({folder + L"clip.mp4"});
  m->edMP4Output->SetText(folder + L"out.mp4");
  SendMessageA(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return m->ProgressBar->Position() == 10; }, 20000));

  {
    TTaskDialogAnswer answer;
    SendMessageA(m->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(answer.Done());
    EXPECT_EQ(answer.Instruction, NamedTexts().ProcessIsRunningMsg);
  }
  EXPECT_TRUE(IsWindowVisible(m->Handle()));
  EXPECT_TRUE(m->FJobs->ToolRunning());

  SendMessageA(m->btAbort->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !m->FJobs->JobRunning() && !m->FJobs->ToolRunning(); }, 20000));
  SetEnvironmentVariableW(L"KAVO_MP4BOX_STALL", nullptr);
  RemoveSettingsFile();
}

}  // namespace
