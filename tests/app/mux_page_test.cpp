// The mux page and the properties dialog driven as a user would, in the program's own forms:
// files of several kinds added, options set in the dialog, and mux jobs run through the
// stand-in MP4Box.exe by the job sequencer.
#include <gtest/gtest.h>

#include <functional>

#include "app/commands/mux_job.h"
#include "app/common/list_routines.h"
#include "app/forms/custom_val.h"
#include "app/media/track_row_item.h"
#include "dialogs/task_message_form.h"
#include "tests/app/media_test_support.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_session.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/recording_view.h"
#include "tests/support/window_shot.h"
#include "tests/widetext/temp_folder.h"
#include "vcl/timers.h"

using namespace apptest;

namespace {

using C = TTrackColumn;

std::vector<TArgv> Recorded(const std::wstring& logFile) { return RecordedRuns(ReadFileBytes(logFile)); }

// With KAVO_APP_SHOTS set, the window's picture goes to that folder under Name (to look at).
void SaveShot(TWinControl* Window, const char* Name) {
  const char* folder = getenv("KAVO_APP_SHOTS");
  if (!folder) return;
  Window->Repaint();
  PumpUntil([] { return false; }, 100);
  SaveWindowShot(Window->Handle(), std::string(folder) + "\\" + Name);
}

class MuxPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    media = TestMediaFolder();
    if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
    RemoveSettingsFile();
    InstallLanguageFiles();
    session = std::make_unique<TProgramSession>();
    session->Show();
    m = MainForm;
    folder = temp.Path() + L"\\";
    for (const wchar_t* name : {L"clip.avi", L"clip.mp4", L"tone.mp3", L"subs.srt", L"clip.h264"})
      CopyFileW((media + name).c_str(), (folder + name).c_str(), FALSE);
    TempFolder::MakeFile(folder + L"chapters.txt", "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Start\r\n");
    argvLog = folder + L"argv.log";
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", argvLog.c_str());
    m->edMP4Box->SetText(TMainForm::ProgramFolder() + L"MP4Box.exe");
    m->edTagger->SetText(L"");
    m->CreationList->SetItemIndex(0);
    m->CreationListDblClick(nullptr);
  }
  void TearDown() override {
    session.reset();
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", nullptr);
    SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", nullptr);
  }

  void AddAll() {
    std::vector<WideString> files;
    for (const wchar_t* name : {L"clip.avi", L"clip.mp4", L"tone.mp3", L"subs.srt", L"clip.h264", L"chapters.txt"})
      files.push_back(folder + name);
    m->AddMuxFiles(files);
    m->edMP4Output->SetText(folder + L"new film.mp4");
  }

  void Next() {
    bool stop = false;
    m->MuxPageNextButtonClick(nullptr, stop);
    EXPECT_TRUE(stop);
  }

  TempFolder temp;
  WideString media;
  std::wstring folder, argvLog;
  std::unique_ptr<TProgramSession> session;
  TMainForm* m = nullptr;

  // The process page's last status row: its text and image.
  TRecordedRow LastEvent() const {
    TUniListItems* items = m->ETAListView->Items();
    if (items->Count() == 0) return {-1, L""};
    TUniListItem* last = items->Item(items->Count() - 1);
    return {last->ImageIndex(), last->SubItems()->Strings(1)};
  }
  // The job has closed: Finish is enabled again and the abort button is not.
  bool JobClosed() const { return !m->FJobs->JobRunning() && !m->btAbort->Enabled(); }
};

TEST_F(MuxPageTest, FilesOfEveryKindThenAJobThroughTheStandIn) {
  EXPECT_EQ(m->Wizard->ActivePage(), m->MuxPage);
  AddAll();
  std::vector<TTrackRow> rows = ReadTrackRows(m->MP4ListView);
  ASSERT_EQ(rows.size(), 8u);
  const wchar_t* types[] = {L"video", L"audio", L"video", L"audio", L"audio", L"sub", L"video", L"chap"};
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i][C::Type], types[i]) << i;
  EXPECT_EQ(rows[5][C::Description], L"SRT - SubRip Subtitle Format.");
  EXPECT_TRUE(m->SaveInfosas1->Enabled());
  EXPECT_TRUE(m->btProperties->Visible());
  SaveShot(m, "mux_page.bmp");

  TTrackRowItem(m->MP4ListView->Items()->Item(3)).SetChecked(false);  // clip.mp4's audio
  Next();
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekInformation, NamedTexts().CreateSucceed}));
  SaveShot(m, "process_page.bmp");
  const std::string f = WideToAnsi(folder);
  std::vector<TArgv> runs = Recorded(argvLog);
  // The AVI file's H.264 video goes in as a raw stream, extracted first and deleted after.
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-aviraw", "video", f + "clip.avi"}));
  EXPECT_FALSE(TempFolder::Exists(folder + L"clip_video.h264"));
  EXPECT_EQ(runs[1], (TArgv{"MP4Box.exe", "-add", f + "clip_video.h264#video:fps=25.000", "-add", f + "clip.avi#audio",
                            "-add", f + "clip.mp4#1:name=Vid\xE9o:fps=25.000", "-add", f + "tone.mp3", "-add", f + "subs.srt",
                            "-add", f + "clip.h264:fps=50.000", "-chap", f + "chapters.txt", f + "new film.mp4"}));
  EXPECT_TRUE(TempFolder::Exists(folder + L"new film.mp4"));
}

TEST_F(MuxPageTest, AJobWithoutTracksOrNameIsRefusedWithANotice) {
  AddAll();
  for (int i = 0; i < m->MP4ListView->Items()->Count(); ++i) m->MP4ListView->Items()->Item(i)->SetChecked(false);
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Content, NoCheckedTrackText);
  }
  m->MP4ListView->Items()->Item(2)->SetChecked(true);
  m->edMP4Output->SetText(L"");
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Content, NoOutputNameText);
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->MuxPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));
  EXPECT_EQ(m->ETAListView->Items()->Count(), 0);
}

TEST_F(MuxPageTest, AFailingToolGivesTheFailedRow) {
  AddAll();
  SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", L"1");
  Next();
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekWarning, NamedTexts().CreateFailed}));
  EXPECT_FALSE(TempFolder::Exists(folder + L"new film.mp4"));
}

TEST_F(MuxPageTest, PropertiesAreStoredInTheirRowAndWalkingWritesNothingBack) {
  AddAll();
  TUniListView* list = m->MP4ListView;
  list->Items()->Item(1)->SetChecked(false);  // the AVI's audio: skipped by the walk
  list->SetSelected(list->Items()->Item(0));
  const TTrackRow secondBefore = TrackRowAt(list, 2).Read();
  WideString fileLabel, nextLabel, typed;
  bool walkedStored = true;
  TModalDriver driver([] { return PropForm->Visible(); }, [&] {
    fileLabel = PropForm->lbFile1->Caption();
    PropForm->cbLang->SetItemIndex(25);  // English
    PropForm->cbLang->OnChange(PropForm->cbLang);
    PropForm->edDelay->SetText(L"-40");
    for (wchar_t key : {L'x', L'5', L'-'}) SendMessageW(PropForm->edDelay->Handle(), WM_CHAR, key, 1);
    typed = PropForm->edDelay->Text();
    PropForm->edDelay->SetText(L"-40");
    PropForm->cbPAR->SetItemIndex(3);
    PropForm->cbPAR->OnChange(PropForm->cbPAR);
    SaveShot(PropForm, "properties_dialog.bmp");
    PropForm->dpbt2Click(nullptr);  // past the unchecked row, to clip.mp4's video
    nextLabel = PropForm->lbFile1->Caption();
    walkedStored = !(TrackRowAt(list, 2).Read() == secondBefore);
    PropForm->btCancelClick(nullptr);
  });
  m->btPropertiesClick(nullptr);
  ASSERT_TRUE(driver.Done());
  EXPECT_EQ(fileLabel, NamedTexts().lbFile + L" : clip.avi");
  EXPECT_EQ(nextLabel, NamedTexts().lbFile + L" : clip.mp4");
  EXPECT_FALSE(walkedStored) << "reading the next row wrote the previous one's values into it";
  const TTrackRow first = TrackRowAt(list, 0).Read();
  EXPECT_EQ(first[C::Language], L"English");
  EXPECT_EQ(first[C::Delay], L"-40");
  EXPECT_EQ(first[C::PAR], L"16:11");
  EXPECT_EQ(list->Selected(), list->Items()->Item(2));
  EXPECT_EQ(typed.size(), 5u) << WideToAnsi(typed);  // "x" refused, "5" and "-" taken
  EXPECT_EQ(typed.find(L'x'), WideString::npos);

  // After a finished task the tag fields empty; the track options stay.
  PropForm->edName->SetText(L"Song");
  PropForm->chCompile->SetChecked(true);
  PropForm->cbGenre->SetItemIndex(3);
  PropForm->edDelay->SetText(L"7");
  ClearPropForm();
  EXPECT_EQ(PropForm->edName->Text(), L"");
  EXPECT_FALSE(PropForm->chCompile->Checked());
  EXPECT_EQ(PropForm->cbGenre->ItemIndex(), 19);
  EXPECT_EQ(PropForm->edDelay->Text(), L"7");
}

TEST_F(MuxPageTest, MovingRowsKeepsThemWholeAndInsideTheList) {
  AddAll();
  TUniListView* list = m->MP4ListView;
  const std::vector<TTrackRow> before = ReadTrackRows(list);
  list->SetSelected(list->Items()->Item(0));
  m->btMoveUpClick(nullptr);  // the first row stays first
  list->SetSelected(list->Items()->Item(list->Items()->Count() - 1));
  m->btMoveDownClick(nullptr);  // the last row stays last
  EXPECT_EQ(ReadTrackRows(list), before);

  TTrackRowItem(list->Items()->Item(2)).Set(C::Delay, L"-40");
  list->Items()->Item(2)->SetChecked(false);
  list->SetSelected(list->Items()->Item(2));
  m->btMoveUpClick(nullptr);
  std::vector<TTrackRow> after = ReadTrackRows(list);
  TTrackRow moved = before[2];
  moved[C::Delay] = L"-40";
  moved.Checked = false;
  EXPECT_EQ(after[1], moved);
  EXPECT_EQ(after[2], before[1]);
  EXPECT_EQ(list->Selected(), list->Items()->Item(1));
}

}  // namespace
