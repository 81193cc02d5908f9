// Every task page starts its job through one launcher, and refuses alike: each refusal that
// applies to a page is met on that page through its Next button, leaves the user on the page
// with the notice that says why and starts nothing; an output that exists is replaced only
// after one question, or at once when the overwrite setting is on.
#include <gtest/gtest.h>

#include "app/commands/output_check.h"
#include "app/common/output_file.h"
#include "app/pages/tag_folder_tree.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_page_test.h"
#include "tests/app/recorded_runs.h"
#include "widetext/filenames.h"
#include "tests/widetext/temp_folder.h"

using namespace apptest;

namespace {

enum class TPageKind { Mux, Concat, Split, Extract, Converter, Tag };

enum class TRefusal {
  MP4BoxPath,     // the MP4Box path names another program
  ToolRunning,    // a stream-information query still answers
  OutputIsInput,  // the new file would be one of the inputs
  NameNotTaken,   // this MP4Box cannot be given the output's name
  ExistingKept,   // the output exists and the user answers No
};

struct TPageCase {
  const char* Name;
  TPageKind Page;
  std::vector<TRefusal> Refusals;
  bool WritesOutput;  // a file of its own, which may exist already
};

const TPageCase PageCases[] = {
    {"Mux", TPageKind::Mux,
     {TRefusal::MP4BoxPath, TRefusal::ToolRunning, TRefusal::OutputIsInput, TRefusal::NameNotTaken, TRefusal::ExistingKept},
     true},
    {"Concat", TPageKind::Concat,
     {TRefusal::MP4BoxPath, TRefusal::ToolRunning, TRefusal::OutputIsInput, TRefusal::NameNotTaken, TRefusal::ExistingKept},
     true},
    {"Split", TPageKind::Split, {TRefusal::MP4BoxPath, TRefusal::ToolRunning, TRefusal::ExistingKept}, true},
    {"Extract", TPageKind::Extract, {TRefusal::MP4BoxPath, TRefusal::ToolRunning, TRefusal::ExistingKept}, true},
    {"Converter", TPageKind::Converter, {TRefusal::MP4BoxPath, TRefusal::ToolRunning, TRefusal::ExistingKept}, true},
    {"Tag", TPageKind::Tag, {TRefusal::MP4BoxPath, TRefusal::ToolRunning}, false},
};

class PageLaunch : public TProgramPageTest, public ::testing::WithParamInterface<TPageCase> {
 protected:
  void SetUp() override {
    StartProgram({L"clip.mp4", L"subs.srt"});
    if (IsSkipped()) return;
    CopyFileW((media + L"clip.mp4").c_str(), (folder + L"other.mp4").c_str(), FALSE);
    CreateDirectoryW((folder + L"tags").c_str(), nullptr);
    CopyFileW((media + L"tags\\song.m4a").c_str(), (folder + L"tags\\song.m4a").c_str(), FALSE);
    mp4box = m->edMP4Box->Text();
    m->edTagger->SetText(mp4box);
    Open(GetParam().Page);
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"KAVO_MP4BOX_INFO_DELAY", nullptr);
    TProgramPageTest::TearDown();
  }

  // The page shown with its input, ready for Next.
  void Open(TPageKind Kind) {
    switch (Kind) {
      case TPageKind::Mux:
        m->CreationList->SetItemIndex(0);
        m->CreationListDblClick(nullptr);
        m->AddMuxFiles({folder + L"clip.mp4"});
        m->edMP4Output->SetText(folder + L"new.mp4");
        page = m->MuxPage;
        output = folder + L"new.mp4";
        break;
      case TPageKind::Concat:
        OpenEdition(1);
        m->AddConcatFiles({folder + L"clip.mp4", folder + L"other.mp4"});
        m->edConcOutput->SetText(folder + L"new.mp4");
        page = m->ConcatPage;
        output = folder + L"new.mp4";
        break;
      case TPageKind::Split:
        OpenEdition(0);
        m->SplitInputChosen(folder + L"clip.mp4");
        m->rbSize->SetChecked(true);
        page = m->SplitPage;
        output = folder + L"clip_001.mp4";
        break;
      case TPageKind::Extract:
        OpenEdition(2);
        m->ExtractInputChosen(folder + L"clip.mp4");
        m->ExtractListView->SetSelected(m->ExtractListView->Items()->Item(0));  // the video
        m->ExtractListViewClick(nullptr);
        page = m->ExtractPage;
        output = folder + L"clip_track1.raw";  // the stand-in names raw streams so
        break;
      case TPageKind::Converter:
        OpenEdition(3);
        m->ConverterInputChosen(folder + L"subs.srt");
        page = m->ConverterPage;
        output = folder + L"subs.ttxt";
        break;
      case TPageKind::Tag:
        OpenEdition(4);
        OpenTreeFolder(m->ShDirTree1, folder + L"tags");
        PumpUntil([&] { return !m->TagFolderListing(); }, 30000);
        page = m->TagPage;
        break;
    }
    ASSERT_EQ(m->Wizard->ActivePage(), page);
  }
  void OpenEdition(int Index) {
    m->EditionList->SetItemIndex(Index);
    m->EditionListDblClick(nullptr);
  }

  void ClickNext() {
    TWinControl* next = m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext);
    ASSERT_TRUE(IsWindowEnabled(next->Handle()));
    SendMessageA(next->Handle(), BM_CLICK, 0, 0);
    PumpUntil([] { return false; }, 20);
  }

  // Sets the refusal up; Next; the notice answered (No for the overwrite question); the
  // refusal's set-up undone. The notice's texts are kept in instruction and content.
  void NextRefused(TRefusal Refusal) {
    WideString named;
    switch (Refusal) {
      case TRefusal::MP4BoxPath:
        m->edMP4Box->SetText(L"C:\\Tools\\ffmpeg.exe");
        break;
      case TRefusal::ToolRunning:
        SetEnvironmentVariableW(L"KAVO_MP4BOX_INFO_DELAY", L"60000");
        ASSERT_TRUE(m->FJobs->StartInfoRun("\"" + WideToAnsi(mp4box) + "\" -info \"" + WideToAnsi(folder) + "clip.mp4\"",
                                           nullptr));
        ASSERT_TRUE(PumpUntil([&] { return m->FJobs->ToolRunning(); }, 5000));
        break;
      case TRefusal::OutputIsInput:
        Output()->SetText(folder + L"clip.mp4");
        break;
      case TRefusal::NameNotTaken:
        named = folder + L"\u03a4\u03b1\u03b9\u03bd\u03af\u03b1.mp4";  // Greek: outside the code page
        Output()->SetText(named);
        break;
      case TRefusal::ExistingKept:
        ASSERT_TRUE(TempFolder::MakeFile(output, "mine"));
        break;
    }
    {
      TTaskAnswer answer(Refusal == TRefusal::ExistingKept ? 1 : 0);
      ClickNext();
      PumpUntil([&] { return answer.Driver.Done(); }, 3000);
      EXPECT_TRUE(answer.Driver.Done()) << "no notice";
      instruction = answer.Instruction;
      content = answer.Content;
    }
    switch (Refusal) {
      case TRefusal::MP4BoxPath:
        EXPECT_EQ(instruction, NamedTexts().Msg41);
        m->edMP4Box->SetText(mp4box);
        break;
      case TRefusal::ToolRunning:
        EXPECT_EQ(instruction, NamedTexts().ProcessIsRunningMsg);
        m->DosCommand->Stop();
        EXPECT_TRUE(PumpUntil([&] { return !m->FJobs->ToolRunning() && !m->FJobs->State().InfoRun; }, 10000));
        SetEnvironmentVariableW(L"KAVO_MP4BOX_INFO_DELAY", nullptr);
        break;
      case TRefusal::OutputIsInput:
        EXPECT_EQ(content, OutputIsInputText(folder + L"clip.mp4"));
        Output()->SetText(output);
        break;
      case TRefusal::NameNotTaken:
        EXPECT_EQ(content, OutputNameOutsideCodePageText(named));
        Output()->SetText(output);
        break;
      case TRefusal::ExistingKept:
        EXPECT_NE(instruction.find(WideExtractFileName(output)), WideString::npos) << WideToAnsi(instruction);
        EXPECT_EQ(ReadFileBytes(output), "mine");
        break;
    }
  }

  TUniEdit* Output() const { return page == m->MuxPage ? m->edMP4Output : m->edConcOutput; }

  bool JobClosed() const { return !m->FJobs->JobRunning() && !m->btAbort->Enabled(); }
  // The job's runs, without the version and information queries.
  std::vector<TArgv> JobRuns() const {
    std::vector<TArgv> runs;
    for (const TArgv& run : RecordedRuns(ReadFileBytes(argvLog)))
      if (run.size() > 1 && run[1] != "-version" && run[1] != "-info") runs.push_back(run);
    return runs;
  }

  WideString mp4box, output, instruction, content;
  TKvWizardInteriorPage* page = nullptr;
};

TEST_P(PageLaunch, EachRefusalLeavesThePageWithItsNotice) {
  for (TRefusal refusal : GetParam().Refusals) {
    SCOPED_TRACE(static_cast<int>(refusal));
    NextRefused(refusal);
    EXPECT_EQ(m->Wizard->ActivePage(), page);
    EXPECT_FALSE(m->FJobs->JobRunning());
    EXPECT_EQ(m->ETAListView->Items()->Count(), 0);
    EXPECT_TRUE(JobRuns().empty());
  }
  // Nothing left in the way but the kept file, which Yes now gives up: the job starts on
  // the process page and replaces it.
  {
    TTaskAnswer answer(0);
    ClickNext();
    EXPECT_EQ(answer.Driver.Done(), GetParam().WritesOutput);
    EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
    EXPECT_TRUE(PumpUntil([&] { return JobClosed(); }, 20000));
  }
  EXPECT_EQ(JobRuns().size(), 1u);
  if (GetParam().WritesOutput) EXPECT_NE(ReadFileBytes(output), "mine");
}

TEST_P(PageLaunch, AnExistingOutputIsReplacedAtOnceWithTheOverwriteSetting) {
  if (!GetParam().WritesOutput) GTEST_SKIP() << "this page rewrites its files in place";
  ASSERT_TRUE(TempFolder::MakeFile(output, "mine"));
  m->chOverWrite->SetChecked(true);
  {
    TTaskAnswer answer(1);
    ClickNext();
    EXPECT_TRUE(PumpUntil([&] { return JobClosed(); }, 20000));
    EXPECT_FALSE(answer.Driver.Done()) << "asked: " << WideToAnsi(answer.Instruction);
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  EXPECT_NE(ReadFileBytes(output), "mine");
  EXPECT_NE(m->FLog->Lines()->Text().find(WideToAnsi(WideExtractFileName(output) + L" " + NamedTexts().MsgOverwritten)),
            std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryTaskPage, PageLaunch, ::testing::ValuesIn(PageCases),
                         [](const ::testing::TestParamInfo<TPageCase>& Info) { return std::string(Info.param.Name); });

}  // namespace
