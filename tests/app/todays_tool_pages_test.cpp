// The pages with today's MP4Box (the stand-in in its today's mode), driven as a user would:
// a join the tool cannot keep in sync refused before it starts, one it can run started with
// what it leaves out told; and input nothing can be made from told on every page that reads
// one, with the mux page's words.
#include <gtest/gtest.h>

#include <functional>

#include "app/common/text_routines.h"
#include "app/common/utf8.h"
#include "app/media/input_problems.h"
#include "app/ui/track_row_item.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_page_test.h"
#include "tests/app/recorded_runs.h"
#include "tests/widetext/temp_folder.h"

using namespace apptest;

namespace {

using C = TTrackColumn;

class TodaysToolPages : public TProgramPageTest {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"KAVO_MP4BOX_VERSION", L"26.08-DEV-rev27-gd34570e3d-master");
    StartProgram({L"clip.mp4", L"trunc_nomoov.mp4"});
    if (IsSkipped()) return;
    CopyFileW((folder + L"clip.mp4").c_str(), (folder + L"second.mp4").c_str(), FALSE);
    // A text file under a film's name.
    HANDLE f = CreateFileW((folder + L"notes.mp4").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, "Just some notes, no film.\r\n", 27, &written, nullptr);
    CloseHandle(f);
    CopyFileW((folder + L"notes.mp4").c_str(), (folder + L"notes.avi").c_str(), FALSE);
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"KAVO_MP4BOX_VERSION", nullptr);
    TProgramPageTest::TearDown();
  }

  void OpenEdition(int Item) {
    m->EditionList->SetItemIndex(Item);
    m->EditionListDblClick(nullptr);
  }
  void Next(TKvWizardInteriorPage* Page) {
    bool stop = false;
    Page->OnNextButtonClick(Page, stop);
    EXPECT_TRUE(stop);
  }
  bool NextEnabled() const { return IsWindowEnabled(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Handle()); }
  bool JobClosed() const { return !m->FJobs->JobRunning() && !m->btAbort->Enabled(); }
  std::string LogText() const { return m->FLog->Lines()->Text(); }
  // The notice shown while Action runs (answered with its button), or empty for none.
  template <class F>
  WideString NoticeOf(F Action) {
    TTaskAnswer answer(0);
    Action();
    return answer.Driver.Done() ? answer.Content : WideString();
  }
};

TEST_F(TodaysToolPages, AJoinOutOfSyncIsRefusedAndOneInSyncRuns) {
  OpenEdition(1);
  m->AddConcatFiles({folder + L"clip.mp4", folder + L"second.mp4"});
  ASSERT_EQ(m->ConcListView->Items()->Count(), 4);
  m->edConcOutput->SetText(folder + L"joined.mp4");

  // The second file's audio left out: its video alone would be appended after the first
  // file's tracks, out of sync with nothing to join it.
  m->ConcListView->Items()->Item(3)->SetChecked(false);
  EXPECT_EQ(NoticeOf([&] { Next(m->ConcatPage); }), FillText(NamedTexts().JoinMsgSomeTracks, L"second.mp4"));
  EXPECT_EQ(m->Wizard->ActivePage(), m->ConcatPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));

  // Whole files: the first file's frame rate cannot be kept, the page says so, the job runs.
  m->ConcListView->Items()->Item(3)->SetChecked(true);
  const WideString notice = NoticeOf([&] { Next(m->ConcatPage); });
  EXPECT_EQ(notice, FillText(NamedTexts().JoinMsgFrameRateLeft, L"\"clip.mp4\" #1 (25.000)"));
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_NE(LogText().find(WideToUtf8(NamedTexts().ConcatSucceed)), std::string::npos) << LogText();
  const std::vector<TArgv> runs = RecordedRuns(ReadFileBytes(argvLog));
  ASSERT_EQ(runs.size(), 1u);
  const std::string f = WideToUtf8(folder);
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-add", f + "clip.mp4#1:name=Vid\xC3\xA9o", "-add", f + "clip.mp4#2:lang=fr",
                            "-cat", f + "second.mp4", f + "joined.mp4"}));
  EXPECT_TRUE(TempFolder::Exists(folder + L"joined.mp4"));
}

TEST_F(TodaysToolPages, AJoinWithAFileThatGaveNoTrackDoesNotStart) {
  OpenEdition(1);
  const WideString told = NoticeOf([&] { m->AddConcatFiles({folder + L"clip.mp4", folder + L"trunc_nomoov.mp4"}); });
  EXPECT_EQ(told, UnreadableInputText(L"trunc_nomoov.mp4"));
  EXPECT_EQ(m->ConcListView->Items()->Count(), 2);
  EXPECT_EQ(LogText().find("trunc_nomoov.mp4 " + WideToAnsi(NamedTexts().Floaded)), std::string::npos);
  m->edConcOutput->SetText(folder + L"joined.mp4");
  EXPECT_EQ(NoticeOf([&] { Next(m->ConcatPage); }), FillText(NamedTexts().JoinMsgNoTrack, L"trunc_nomoov.mp4"));
  EXPECT_EQ(m->Wizard->ActivePage(), m->ConcatPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));
}

// A name no code page spells goes whole to today's tool (only the older one is refused, as
// the mux page's own tests show), and the tool's UTF-8 words about it read right in the log.
TEST_F(TodaysToolPages, ANameOutsideTheCodePageGoesThroughAndItsMessagesReadRight) {
  m->CreationList->SetItemIndex(0);
  m->CreationListDblClick(nullptr);
  m->AddMuxFiles({folder + L"clip.mp4"});
  const std::wstring greek = folder + L"\u03a6\u03ac\u03ba\u03b5\u03bb\u03bf\u03c2";
  ASSERT_TRUE(CreateDirectoryW(greek.c_str(), nullptr));
  const std::wstring output = greek + L"\\\u65e5\u672c.mp4";
  m->edMP4Output->SetText(output);
  m->chVerbose->SetChecked(true);
  Next(m->MuxPage);
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_NE(LogText().find(WideToUtf8(NamedTexts().CreateSucceed)), std::string::npos) << LogText();
  EXPECT_TRUE(TempFolder::Exists(output));
  EXPECT_EQ(RecordedRuns(ReadFileBytes(argvLog)).at(0).back(), WideToUtf8(output));
  EXPECT_NE(LogText().find("Saving " + WideToUtf8(output)), std::string::npos) << LogText();
}

// The split, extract and converter pages tell what the mux page tells of a file nothing can
// be made from, and offer no job for it.
TEST_F(TodaysToolPages, InputNothingCanBeMadeFromIsToldOnEveryPage) {
  const struct {
    const char* page;
    int edition;
    const wchar_t* file;
    std::function<void(TMainForm*, const WideString&)> choose;
  } cases[] = {
      {"split: a text file named .mp4", 0, L"notes.mp4", [](TMainForm* m, const WideString& f) { m->SplitInputChosen(f); }},
      {"split: a film without its index", 0, L"trunc_nomoov.mp4",
       [](TMainForm* m, const WideString& f) { m->SplitInputChosen(f); }},
      {"extract: a film without its index", 2, L"trunc_nomoov.mp4",
       [](TMainForm* m, const WideString& f) { m->ExtractInputChosen(f); }},
      {"converter: a text file named .avi", 3, L"notes.avi",
       [](TMainForm* m, const WideString& f) { m->ConverterInputChosen(f); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    OpenEdition(c.edition);
    EXPECT_EQ(NoticeOf([&] { c.choose(m, folder + c.file); }), UnreadableInputText(c.file));
    EXPECT_FALSE(NextEnabled());
    EXPECT_NE(LogText().find(WideToUtf8(UnreadableInputText(c.file))), std::string::npos);
    m->Wizard->SetActivePage(m->Page1);
  }
}

}  // namespace
