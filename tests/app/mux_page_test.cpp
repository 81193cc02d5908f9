// The mux page and the properties dialog driven as a user would, in the program's own forms:
// files of several kinds added, options set in the dialog, and mux jobs run through the
// stand-in MP4Box.exe by the job sequencer.
#include <gtest/gtest.h>

#include <functional>

#include "app/commands/mux_job.h"
#include "app/common/output_file.h"
#include "app/common/utf8.h"
#include "app/media/input_problems.h"
#include "app/ui/list_routines.h"
#include "app/forms/custom_val.h"
#include "app/ui/track_row_item.h"
#include "dialogs/task_message_form.h"
#include "tests/app/media_test_support.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_page_test.h"
#include "tests/app/program_session.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/recording_view.h"
#include "tests/app/user_input.h"
#include "tests/support/window_shot.h"
#include "tests/widetext/temp_folder.h"
#include "vcl/threads.h"
#include "vcl/timers.h"
#include "widetext/filenames.h"

#include <atomic>
#include <thread>

#include <commctrl.h>
#include <dlgs.h>

using namespace apptest;

namespace {

using C = TTrackColumn;

std::vector<TArgv> Recorded(const std::wstring& logFile) { return RecordedRuns(ReadFileBytes(logFile)); }

// Watches, on its own thread, for a file dialog of the main thread: notes the file name
// it opened with, then cancels it.
class TFileDialogPeek {
 public:
  TFileDialogPeek() : FThread([this] { Watch(); }) {}
  ~TFileDialogPeek() {
    FStop = true;
    FThread.join();
  }
  bool Seen() const { return FSeen; }
  std::wstring FileName() const { return FName; }

 private:
  static BOOL CALLBACK Find(HWND Window, LPARAM Found) {
    wchar_t cls[32] = {};
    GetClassNameW(Window, cls, 32);
    if (!IsWindowVisible(Window) || std::wstring(cls) != L"#32770") return TRUE;
    *reinterpret_cast<HWND*>(Found) = Window;
    return FALSE;
  }
  void Watch() {
    while (!FStop) {
      HWND dialog = nullptr;
      EnumThreadWindows(MainThreadID, &Find, reinterpret_cast<LPARAM>(&dialog));
      if (dialog) {
        Sleep(200);  // the dialog fills its fields once it shows
        wchar_t name[MAX_PATH] = {};
        if (!GetDlgItemTextW(dialog, cmb13, name, MAX_PATH)) GetDlgItemTextW(dialog, edt1, name, MAX_PATH);
        FName = name;
        FSeen = true;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
      }
      Sleep(10);
    }
  }
  std::wstring FName;
  std::atomic<bool> FSeen{false}, FStop{false};
  std::thread FThread;
};

class MuxPageTest : public TProgramPageTest {
 protected:
  void SetUp() override {
    StartProgram({L"clip.avi", L"clip.mp4", L"tone.mp3", L"subs.srt", L"clip.h264"});
    if (IsSkipped()) return;
    TempFolder::MakeFile(folder + L"chapters.txt", "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Start\r\n");
    m->edTagger->SetText(L"");
    m->CreationList->SetItemIndex(0);
    m->CreationListDblClick(nullptr);
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
    EXPECT_EQ(answer.Content, NamedTexts().MsgNoCheckedTrack);
  }
  m->MP4ListView->Items()->Item(2)->SetChecked(true);
  m->edMP4Output->SetText(L"");
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Content, NamedTexts().MsgNoOutputName);
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->MuxPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));
  EXPECT_EQ(m->ETAListView->Items()->Count(), 0);
}

TEST_F(MuxPageTest, AStartRefusedWhileARunGoesOnReturnsToThePageWithItsNotice) {
  AddAll();
  // The runner is still busy (a stand-in stalled in its first stage): no job can start.
  SetEnvironmentVariableW(L"KAVO_MP4BOX_STALL", L"10");
  m->DosCommand->SetCommandLine(WideToAnsi(L"\"" + TMainForm::ProgramFolder() + L"MP4Box.exe\" -add \"" + folder +
                                           L"clip.mp4\" \"" + folder + L"other.mp4\""));
  m->DosCommand->Execute();
  ASSERT_TRUE(m->DosCommand->IsRunning());
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Instruction, NamedTexts().ProcessIsRunningMsg);
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->MuxPage);
  EXPECT_FALSE(m->FJobs->JobRunning());
  m->DosCommand->Stop();
  SetEnvironmentVariableW(L"KAVO_MP4BOX_STALL", nullptr);
}

TEST_F(MuxPageTest, AVobSubIndexOfThousandsOfStreamsIsAddedInSeconds) {
  // Thousands of streams, each with a time stamp, then the same stream over and over.
  std::string many = "# VobSub index file, v7 (do not modify this line!)\r\n", repeated = many;
  for (int i = 0; i < 4000; ++i) many += "id: en, index: " + std::to_string(i) + "\r\ntimestamp: 00:00:01:000, filepos: 000000000\r\n";
  for (int i = 0; i < 4000; ++i) repeated += "id: fr, index: 0\r\n";
  for (const auto& [name, text] : {std::pair{L"many.idx", many}, std::pair{L"repeated.idx", repeated}}) {
    SCOPED_TRACE(WideToAnsi(name));
    m->MP4ListView->Items()->Clear();
    ASSERT_TRUE(TempFolder::MakeFile(folder + name, text));
    const DWORD started = GetTickCount();
    m->AddMuxFiles({folder + name});
    EXPECT_LT(GetTickCount() - started, 5000u);
    EXPECT_EQ(m->MP4ListView->Items()->Count(), 4000);
  }
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

TEST_F(MuxPageTest, AnOutputOutsideTheCodePageIsReachedByItsFolderOrRefused) {
  AddAll();
  const std::wstring greek = folder + L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac_\u65e5\u672c\u8a9e";
  ASSERT_TRUE(CreateDirectoryW(greek.c_str(), nullptr));
  // A file name that no 8-bit text can spell: refused before anything runs.
  m->edMP4Output->SetText(greek + L"\\\u65e5\u672c.mp4");
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Content, OutputNameOutsideCodePageText(m->edMP4Output->Text()));
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->MuxPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));

  // An 8-bit file name in that folder: MP4Box gets the folder by its short name.
  const std::wstring output = greek + L"\\uni_out.mp4";
  m->edMP4Output->SetText(output);
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekInformation, NamedTexts().CreateSucceed}));
  EXPECT_TRUE(TempFolder::Exists(output));
  std::vector<TArgv> runs = Recorded(argvLog);
  ASSERT_EQ(runs.size(), 2u);  // the AVI file's H.264 stream, then the file itself
  EXPECT_EQ(runs.back().back(), WideToAnsi(WideExtractShortPathName(greek) + L"\\uni_out.mp4"));

  // The run log beside the output keeps the folder's name whole: UTF-8 with its mark.
  m->SaveRunLog(false);
  const std::string log = ReadFileBytes(greek + L"\\Kavo.log");
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(log.find(WideToUtf8(greek)), std::string::npos) << log;
  EXPECT_EQ(log.find('?'), std::string::npos) << log;
}

TEST_F(MuxPageTest, FilesThatGiveNoTrackAreToldAndLeaveTheLogAndTheOutputName) {
  TempFolder::MakeFile(folder + L"fake.mp4", "plain text, renamed\r\n");
  const int logged = m->FLog->Lines()->Count();
  {
    TTaskAnswer answer(0);
    m->AddMuxFiles({folder + L"fake.mp4", folder + L"absent.mp4", folder + L"clip.mp4"});
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_NE(answer.Content.find(UnreadableInputText(L"fake.mp4")), WideString::npos) << WideToAnsi(answer.Content);
    EXPECT_NE(answer.Content.find(MissingInputText(folder + L"absent.mp4")), WideString::npos)
        << WideToAnsi(answer.Content);
  }
  const std::vector<TTrackRow> rows = ReadTrackRows(m->MP4ListView);
  ASSERT_EQ(rows.size(), 2u);
  for (const TTrackRow& row : rows) EXPECT_EQ(row[C::File], L"clip.mp4");
  EXPECT_EQ(m->edMP4Output->Text(), folder + L"clip_1.mp4");  // never the input itself
  std::string added;
  for (int i = logged; i < m->FLog->Lines()->Count(); ++i) added += m->FLog->Lines()->Strings(i) + "\n";
  EXPECT_EQ(added.find("fake.mp4 " + WideToUtf8(NamedTexts().Floaded)), std::string::npos) << added;
  EXPECT_EQ(added.find("absent.mp4 " + WideToUtf8(NamedTexts().Floaded)), std::string::npos) << added;
  EXPECT_NE(added.find("clip.mp4 " + WideToUtf8(NamedTexts().Floaded)), std::string::npos) << added;
}

TEST_F(MuxPageTest, TheOutputFolderIsMadeOrRefusedAndAFailureSaysWhy) {
  AddAll();
  // A folder that does not exist yet is made before the job starts.
  const std::wstring deeper = folder + L"new\\deeper\\film.mp4";
  m->edMP4Output->SetText(deeper);
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekInformation, NamedTexts().CreateSucceed}));
  EXPECT_TRUE(TempFolder::Exists(deeper));

  // A plain file where the folder should be: refused with the reason; nothing runs.
  m->Wizard->SetActivePage(m->MuxPage);
  TempFolder::MakeFile(folder + L"afile");
  m->edMP4Output->SetText(folder + L"afile\\y.mp4");
  {
    TTaskAnswer answer(0);
    Next();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_NE(answer.Content.find(L"a file of that name is in its way"), WideString::npos) << WideToAnsi(answer.Content);
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->MuxPage);
  EXPECT_EQ(Recorded(argvLog).size(), 2u);  // the first job's two runs only

  // In each language: a success leaves the bar full and says so in the heading; a failure
  // shows the tool's own words and its exit code above the Failed row.
  for (const auto& [language, suffix] : {std::pair{1, "en"}, std::pair{0, "es"}}) {
    m->cbLang->SetItemIndex(language);
    m->cbLangChange(m->cbLang);
    m->Wizard->SetActivePage(m->MuxPage);
    m->edMP4Output->SetText(folder + L"film_" + AnsiToWide(suffix) + L".mp4");
    Next();
    ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
    EXPECT_EQ(m->ProgressBar->Position(), 100);
    EXPECT_EQ(m->lbPercent->Caption(), L"100 %");
    EXPECT_EQ(Trim(m->WHeaderProcessPage->Captions()->Text()), WideToAnsi(NamedTexts().CreateSucceed));
    SaveShot(m, (std::string("process_succeeded_") + suffix + ".bmp").c_str());

    SetEnvironmentVariableW(L"KAVO_MP4BOX_PRINT", L"Error: I/O Error\\n");
    SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", L"1");
    m->Wizard->SetActivePage(m->MuxPage);
    m->edMP4Output->SetText(folder + L"failing_" + AnsiToWide(suffix) + L".mp4");
    Next();
    ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
    SetEnvironmentVariableW(L"KAVO_MP4BOX_PRINT", nullptr);
    SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", nullptr);
    TUniListItems* items = m->ETAListView->Items();
    ASSERT_GE(items->Count(), 2);
    TUniListItem* reason = items->Item(items->Count() - 2);
    EXPECT_EQ((TRecordedRow{reason->ImageIndex(), reason->SubItems()->Strings(1)}),
              (TRecordedRow{pekError, L"MP4Box: Error: I/O Error (" + NamedTexts().ToolExitCode + L" 1)"}));
    EXPECT_EQ(LastEvent(), (TRecordedRow{pekWarning, NamedTexts().CreateFailed}));
    EXPECT_EQ(Trim(m->WHeaderProcessPage->Captions()->Text()), WideToAnsi(NamedTexts().CreateFailed));
    SaveShot(m, (std::string("process_failed_") + suffix + ".bmp").c_str());
  }
  EXPECT_EQ(NamedTexts().ToolExitCode, L"c\u00f3digo de salida");
}

TEST_F(MuxPageTest, TheAddDialogTheMovedRowAndTheTasksExtension) {
  // The settings page's tool picker leaves its file in the shared dialog: Add opens without it.
  m->OpenDialog->SetFileName(TMainForm::ProgramFolder() + L"MP4Box.exe");
  {
    TFileDialogPeek peek;
    m->btAddClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return peek.Seen(); }, 5000));
    EXPECT_EQ(peek.FileName(), L"");
  }

  // The moved row stays selected, in the list's own state (what the user sees): the row
  // and the buttons clicked with the mouse.
  AddAll();
  SetForegroundWindow(m->Handle());
  TUniListView* list = m->MP4ListView;
  auto selected = [&](int index) {
    return (SendMessageW(list->Handle(), LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  };
  auto click = [&](TWinControl* button) {
    RECT r{};
    GetClientRect(button->Handle(), &r);
    ClickAt(button->Handle(), MiddleOf(r), 1);
  };
  ClickAreaItem(list, 2);
  ASSERT_TRUE(PumpUntil([&] { return selected(2); }, 3000));
  click(m->btMoveUp);
  EXPECT_TRUE(PumpUntil([&] { return selected(1) && !selected(2); }, 3000));
  click(m->btMoveDown);
  PumpUntil([&] { return selected(2); }, 3000);
  click(m->btMoveDown);
  EXPECT_TRUE(PumpUntil([&] { return selected(3) && !selected(2) && !selected(1); }, 3000));
  EXPECT_EQ(list->Selected(), list->Items()->Item(3));
  EXPECT_EQ(GetFocus(), list->Handle()) << "the selection shows only faintly in a list without the focus";
  EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED), 3);
  SaveShot(m, "mux_moved_row.bmp");

  // The task decides the new file's extension, both ways.
  m->edMP4Output->SetText(folder + L"film.mp4");
  for (const auto& [task, name] : {std::pair{1, L"film.3gp"}, std::pair{0, L"film.mp4"}}) {
    m->Wizard->SetActivePage(m->Page1);
    m->CreationList->SetItemIndex(task);
    m->CreationListDblClick(nullptr);
    EXPECT_EQ(m->edMP4Output->Text(), folder + name) << task;
  }
}

}  // namespace
