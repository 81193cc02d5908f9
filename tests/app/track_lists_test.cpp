// The two track lists as a user reaches them: files dropped from the shell on the window,
// the column menu and the sort by a column title, and the "Save Infos as..." exports (the
// list as text, MP4Box's -info answer from the stand-in).
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ui/track_row_item.h"
#include "tests/app/media_test_support.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_page_test.h"
#include "tests/app/program_session.h"
#include "tests/app/recorded_runs.h"
#include "tests/explorer/dialog_answers.h"
#include "tests/support/file_dialog_answer.h"
#include "tests/support/shell_drop.h"
#include "tests/support/window_shot.h"
#include "tests/widetext/temp_folder.h"
#include "vcl/timers.h"

using namespace apptest;

namespace {

using C = TTrackColumn;

class TrackListsTest : public TProgramPageTest {
 protected:
  void SetUp() override {
    StartProgram({L"clip.mp4", L"clip.ts", L"clip.avi", L"subs.srt"});
    if (IsSkipped()) return;
    CopyFileW((media + L"clip.avi").c_str(), (folder + L"LOUD.AVI").c_str(), FALSE);
    CopyFileW((media + L"clip.mp4").c_str(), (folder + Greek).c_str(), FALSE);
  }
  void ShowPage(TdkImageListBox* List, int Index) {
    List->SetItemIndex(Index);
    if (List == m->CreationList) m->CreationListDblClick(List);
    if (List == m->EditionList) m->EditionListDblClick(List);
    if (List == m->SettingsList) m->SettingsListDblClick(List);
  }
  void ShowMuxPage(bool MP4 = true) { ShowPage(m->CreationList, MP4 ? 0 : 1); }
  void ShowConcatPage() { ShowPage(m->EditionList, 1); }
  // Drops the files on the window as the shell does, and waits until the drop was handled.
  void Drop(const std::vector<std::wstring>& Names) {
    TTaskAnswers notices(0);  // an AC3 track is not for MP4 files: the analysis says so
    HGLOBAL drop = MakeShellDrop(Names, POINT{40, 120});
    ASSERT_TRUE(PostMessageW(m->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
    EXPECT_TRUE(PumpUntil([&] { return GlobalSize(drop) == 0; }, 10000));  // released once handled
  }
  std::vector<std::wstring> Files(TUniListView* List) const {
    std::vector<std::wstring> files;
    for (const TTrackRow& row : ReadTrackRows(List)) files.push_back(row[C::File]);
    return files;
  }
  int LogLinesWith(const std::string& Text) const {
    int n = 0;
    for (int i = 0; i < m->FLog->Lines()->Count(); ++i) n += m->FLog->Lines()->Strings(i).find(Text) != std::string::npos;
    return n;
  }
  void Select(TUniListView* List, int Index) { List->SetSelected(List->Items()->Item(Index)); }

  const std::wstring Greek = L"\x03C4\x03B1\x03B9\x03BD\x03AF\x03B1.mp4";  // outside the code page
};

TEST_F(TrackListsTest, DropsReachOnlyTheMuxAndConcatenationPagesWithTheirKinds) {
  const std::string loaded = " " + WideToAnsi(NamedTexts().Floaded);
  // The settings page takes nothing; the window still takes later drops.
  ShowPage(m->SettingsList, 0);
  Drop({folder + L"clip.mp4"});
  EXPECT_EQ(m->MP4ListView->Items()->Count() + m->ConcListView->Items()->Count(), 0);
  EXPECT_EQ(LogLinesWith(loaded), 0);

  ShowMuxPage();
  Drop({folder + L"LOUD.AVI"});  // refused: nothing changes but the info menu's state
  EXPECT_EQ(m->MP4ListView->Items()->Count(), 0);
  EXPECT_FALSE(m->btDelete->Visible());
  EXPECT_FALSE(m->SaveInfosas1->Enabled());
  Drop({folder + L"clip.mp4", folder + L"clip.ts", folder + L"LOUD.AVI", folder + L"subs.srt"});
  EXPECT_EQ(Files(m->MP4ListView), (std::vector<std::wstring>{L"clip.mp4", L"clip.mp4", L"clip.ts", L"clip.ts",
                                                               L"subs.srt"}));
  EXPECT_EQ(LogLinesWith("clip.mp4" + loaded) + LogLinesWith("clip.ts" + loaded) + LogLinesWith("subs.srt" + loaded), 3);
  EXPECT_EQ(LogLinesWith("LOUD.AVI"), 0);
  EXPECT_EQ(m->edMP4Output->Text(), folder + L"clip_1.mp4");  // never an input's own name
  EXPECT_TRUE(m->btDelete->Visible() && m->btProperties->Visible());
  EXPECT_TRUE(m->SaveInfosas1->Enabled());
  EXPECT_TRUE(IsWindowEnabled(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Handle()));

  // Making a 3GP file: a transport stream is refused, the output name takes ".3gp".
  m->MP4ListView->Items()->Clear();
  m->edMP4Output->SetText(L"");
  ShowMuxPage(false);
  Drop({folder + L"clip.ts", folder + L"clip.avi"});
  EXPECT_EQ(Files(m->MP4ListView), (std::vector<std::wstring>{L"clip.avi", L"clip.avi"}));
  EXPECT_EQ(m->edMP4Output->Text(), folder + L"clip.3gp");

  // The concatenation page takes no subtitles; its output name keeps ".mp4".
  ShowConcatPage();
  Drop({folder + L"subs.srt", folder + L"clip.ts", folder + Greek, folder + L"clip.avi"});
  EXPECT_EQ(Files(m->ConcListView), (std::vector<std::wstring>{Greek, Greek, L"clip.avi", L"clip.avi"}));
  // The first file whose name this MP4Box can be given: the Greek one it cannot.
  EXPECT_EQ(m->edConcOutput->Text(), folder + L"clip.mp4");
  EXPECT_TRUE(m->btConcRemove->Visible() && m->btConcProp->Visible());
  EXPECT_EQ(Files(m->MP4ListView).size(), 2u);
}

TEST_F(TrackListsTest, TheColumnMenuShowsAndHidesColumnsOfThePagesList) {
  ShowMuxPage();
  m->FPS->Click();  // "Frame-Rate"
  EXPECT_TRUE(m->FPS->Checked());
  EXPECT_EQ(m->MP4ListView->Column(7)->Width(), 100);
  EXPECT_EQ(m->ConcListView->Column(7)->Width(), 0);
  m->FPS->Click();
  EXPECT_EQ(m->MP4ListView->Column(7)->Width(), 0);

  struct Item {
    TUniMenuItem* item;
    int column, width;
  } items[] = {{m->Indexation, 3, 60}, {m->Name1, 5, 150}, {m->Language1, 6, 100}, {m->ype1, 8, 60},
               {m->BrandName1, 9, 100}, {m->PAR1, 10, 60}, {m->Delay1, 13, 60}};
  for (const Item& i : items) {
    SCOPED_TRACE(i.column);
    i.item->Click();
    EXPECT_EQ(m->MP4ListView->Column(i.column)->Width(), i.width);
  }

  // One menu for both lists: "File" hidden on the concatenation page shows unchecked on the
  // mux page, whose File column stays; the next click there shows it again.
  ShowConcatPage();
  m->Index1->Click();
  EXPECT_FALSE(m->Index1->Checked());
  EXPECT_EQ(m->ConcListView->Column(2)->Width(), 0);
  m->Description1->Click();
  EXPECT_EQ(m->ConcListView->Column(4)->Width(), 0);
  ShowMuxPage();
  EXPECT_FALSE(m->Index1->Checked());
  EXPECT_EQ(m->MP4ListView->Column(2)->Width(), 224);
  m->Index1->Click();
  EXPECT_TRUE(m->Index1->Checked());
  EXPECT_EQ(m->MP4ListView->Column(2)->Width(), 224);
}

// Closes every pop-up menu that shows while it lives, counting them; the first one's picture
// goes to KAVO_APP_SHOTS when that is set.
class TMenuCloser {
 public:
  TMenuCloser() : FTimer(nullptr) {
    FTimer.SetInterval(20);
    FTimer.SetOnTimer([this](TObject*) {
      HWND menu = FindWindowW(L"#32768", nullptr);
      if (!menu || !IsWindowVisible(menu)) return;
      if (++FCount == 1)
        if (const char* shots = getenv("KAVO_APP_SHOTS"))
          SaveWindowShot(GetDesktopWindow(), std::string(shots) + "\\column_menu.bmp");
      EndMenu();
    });
  }
  int Count() const { return FCount; }

 private:
  TTimer FTimer;
  int FCount = 0;
};

// A right click on a column title opens the column menu and keeps the info menu from
// opening too; a right click in the list turns the info menu on again and opens it.
TEST_F(TrackListsTest, TheTitlesRightClickHandsOverBetweenTheTwoMenus) {
  ShowMuxPage();
  m->AddMuxFiles({folder + L"clip.mp4"});
  m->FPS->Click();  // a checked item beside the design's, for the picture
  for (TUniListView* list : {m->MP4ListView, m->ConcListView}) {
    if (list == m->ConcListView) ShowConcatPage();
    SCOPED_TRACE(list->Name());
    TMenuCloser menus;
    EXPECT_TRUE(m->InfoPopupMenu->AutoPopup());
    POINT at{260, 210};
    ClientToScreen(m->Handle(), &at);
    SetCursorPos(at.x, at.y);
    list->OnColumnRightClick(list, list->Column(2), at);
    EXPECT_EQ(menus.Count(), 1);
    EXPECT_EQ(m->PopupMenu1->PopupPoint().x, at.x);
    EXPECT_FALSE(m->InfoPopupMenu->AutoPopup());
    m->InfoPopupMenu->SetAutoPopup(true);
  }
  // The mux list: after the title's right click the list's context menu stays shut; a right
  // button press in the list opens it again.
  ShowMuxPage();
  TMenuCloser menus;
  m->MP4ListView->OnColumnRightClick(m->MP4ListView, m->MP4ListView->Column(2), POINT{0, 0});
  ASSERT_EQ(menus.Count(), 1);
  POINT row{60, 30};
  ClientToScreen(m->MP4ListView->Handle(), &row);
  const HWND list = m->MP4ListView->Handle();
  SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(row.x, row.y));
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(menus.Count(), 1);
  PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(60, 30));
  SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(60, 30));
  EXPECT_TRUE(m->InfoPopupMenu->AutoPopup());
  SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(row.x, row.y));
  EXPECT_TRUE(PumpUntil([&] { return menus.Count() >= 2; }, 5000));
}

TEST_F(TrackListsTest, ATitleClickSortsTheMuxListByThatColumnAsText) {
  ShowMuxPage();
  for (const wchar_t* index : {L"9", L"10", L"2", L"10"}) {
    TTrackRow row;
    row.Checked = true;
    row[C::Index] = index;
    row[C::File] = std::wstring(L"f") + index;
    AppendTrackRow(m->MP4ListView, row);
  }
  m->MP4ListView->Items()->Item(0)->SetChecked(false);
  auto indexes = [&] {
    std::vector<std::wstring> v;
    for (const TTrackRow& row : ReadTrackRows(m->MP4ListView)) v.push_back(row[C::Index] + (row.Checked ? L"+" : L"-"));
    return v;
  };
  m->MP4ListView->OnColumnClick(m->MP4ListView, m->MP4ListView->Column(3));
  EXPECT_EQ(m->SortColumn, 3);
  EXPECT_EQ(indexes(), (std::vector<std::wstring>{L"10+", L"10+", L"2+", L"9-"}));
  m->MP4ListView->OnColumnClick(m->MP4ListView, m->MP4ListView->Column(3));  // no reversal
  EXPECT_EQ(indexes(), (std::vector<std::wstring>{L"10+", L"10+", L"2+", L"9-"}));

  int compare = 99;
  m->SortColumn = 0;  // the captions, all empty
  m->MP4ListView->OnCompare(m->MP4ListView, m->MP4ListView->Items()->Item(0), m->MP4ListView->Items()->Item(3), 0, compare);
  EXPECT_EQ(compare, 0);
  TTrackRowItem(m->MP4ListView->Items()->Item(0)).Set(C::Name, L"abc");
  TTrackRowItem(m->MP4ListView->Items()->Item(1)).Set(C::Name, L"ABD");
  m->SortColumn = 5;
  m->MP4ListView->OnCompare(m->MP4ListView, m->MP4ListView->Items()->Item(0), m->MP4ListView->Items()->Item(1), 0, compare);
  EXPECT_LT(compare, 0);
}

TEST_F(TrackListsTest, TheListAsTextAndMP4BoxsAnswerAreSaved) {
  ShowMuxPage();
  EXPECT_FALSE(m->SaveInfosas1->Enabled());
  m->AddMuxFiles({folder + L"clip.mp4"});
  EXPECT_TRUE(m->SaveInfosas1->Enabled() && m->MP4BoxForm1->Enabled());

  WhileModal([&] { return TypeIntoShownDialog(folder + L"Kavo-infos.txt"); });
  m->KavoForm1->Click();
  const std::string text = ReadFileBytes(folder + L"Kavo-infos.txt");
  ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
  const std::string first = text.substr(0, text.find("\r\n"));
  EXPECT_EQ(first.rfind(" | " + WideToAnsi(folder) + " | clip.mp4 | 1 | ", 0), 0u) << first;
  size_t bars = 0;
  for (size_t at = first.find(" | "); at != std::string::npos; at = first.find(" | ", at + 3)) ++bars;
  EXPECT_EQ(bars, 17u);

  // MP4Box's answer, slow to come: the file is written once it is whole.
  const std::string whole = "* Movie Info *\r\n\tTimescale 600 - Duration 00:00:10.000\r\n\t2 track(s)\r\n";
  SetEnvironmentVariableW(L"KAVO_MP4BOX_INFO_DELAY", L"1500");
  Select(m->MP4ListView, 1);  // the audio: track 2
  WhileModal([&] { return TypeIntoShownDialog(folder + L"by track.txt"); });
  m->ByTrack1->Click();
  EXPECT_EQ(ReadFileBytes(folder + L"by track.txt"), whole + "Track # 2 Info - TrackID 2\r\n");
  WhileModal([&] { return TypeIntoShownDialog(folder + L"MP4Box-infos.txt"); });
  m->Full1->Click();
  EXPECT_EQ(ReadFileBytes(folder + L"MP4Box-infos.txt"), whole);
  const std::vector<TArgv> runs = RecordedRuns(ReadFileBytes(argvLog));
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0], (TArgv{"MP4Box.exe", "-info", "2", WideToAnsi(folder) + "clip.mp4"}));
  EXPECT_EQ(runs[1], (TArgv{"MP4Box.exe", "-info", WideToAnsi(folder) + "clip.mp4"}));
  // Nothing of a query reaches the job's rows or the log's tool lines.
  EXPECT_EQ(m->ETAListView->Items()->Count(), 0);
  EXPECT_EQ(m->Memo2->Lines()->Count(), 3);

  // An answer that does not end in time: the tool is stopped and no file written.
  m->InfoRunWaitMs = 500;
  SetEnvironmentVariableW(L"KAVO_MP4BOX_INFO_DELAY", L"60000");
  {
    explorer_test::TDialogAnswers answers;
    WhileModal([&] { return TypeIntoShownDialog(folder + L"late.txt"); });
    m->Full1->Click();
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_NE(answers.Texts()[0].find("late.txt"), std::string::npos) << answers.Texts()[0];
  }
  EXPECT_FALSE(TempFolder::Exists(folder + L"late.txt"));
  EXPECT_TRUE(PumpUntil([&] { return !m->FJobs->State().InfoRun && !m->FJobs->ToolRunning(); }, 10000));
}

TEST_F(TrackListsTest, AQueryIsRefusedWhileAJobsToolRuns) {
  ShowMuxPage();
  m->AddMuxFiles({folder + L"clip.mp4"});
  m->edMP4Output->SetText(folder + L"new.mp4");
  SetEnvironmentVariableW(L"KAVO_MP4BOX_STALL", L"30");
  bool stop = false;
  m->MuxPage->OnNextButtonClick(m->MuxPage, stop);
  ASSERT_TRUE(PumpUntil([&] { return m->FJobs->ToolRunning() && TempFolder::Exists(argvLog); }, 10000));
  {
    TTaskAnswer answer(0);
    m->Full1->Click();
    EXPECT_TRUE(answer.Driver.Done());
    EXPECT_EQ(answer.Instruction, NamedTexts().ProcessIsRunningMsg);
  }
  EXPECT_TRUE(m->FJobs->ToolRunning());
  EXPECT_FALSE(m->FJobs->State().InfoRun);
  m->btAbort->Click();
  EXPECT_TRUE(PumpUntil([&] { return !m->FJobs->JobRunning(); }, 10000));
  const std::vector<TArgv> runs = RecordedRuns(ReadFileBytes(argvLog));
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_NE(runs[0].at(1), "-info");
}

}  // namespace
