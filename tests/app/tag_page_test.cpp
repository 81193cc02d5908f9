// The tag page driven as a user would: a folder of tagged files chosen in the folder tree,
// the list checked against what MediaInfo reads, the edits, previous and next, the column
// menu, the properties dialog's tag tabs, and tagging jobs through the stand-in MP4Box;
// then a mux whose tags AtomicParsley writes.
#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>

#include <map>

#include "app/common/named_texts.h"
#include "app/common/text_routines.h"
#include "app/common/utf8.h"
#include "app/forms/prop_form.h"
#include "app/media/media_info.h"
#include "app/ui/tag_row_item.h"
#include "app/pages/tag_folder_tree.h"
#include "tests/app/media_test_support.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_session.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/recording_view.h"
#include "tests/app/thread_count.h"
#include "tests/widetext/temp_folder.h"
#include "vcl/pictures.h"
#include "vcl/scopeexit.h"
#include "widetext/uni_picture_dialog.h"
#include "wizard/thumbnail_view.h"

using namespace apptest;

namespace {

using C = TTagColumn;

const wchar_t* const TaggedFiles[] = {L"song.m4a", L"tone.m4a", L"clip.mp4"};

class TagPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    media = TestMediaFolder();
    if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
    RemoveSettingsFile();
    InstallLanguageFiles();
    folder = temp.Path() + L"\\my tags\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : TaggedFiles)
      ASSERT_TRUE(CopyFileW((media + L"tags\\" + name).c_str(), (folder + name).c_str(), FALSE)) << WideToAnsi(name);
    argvLog = temp.Path() + L"\\argv.log";
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", argvLog.c_str());
    session = std::make_unique<TProgramSession>();
    session->Show();
    m = MainForm;
    m->edMP4Box->SetText(TMainForm::ProgramFolder() + L"MP4Box.exe");
    m->edTagger->SetText(TMainForm::ProgramFolder() + L"MP4Box.exe");
    m->EditionList->SetItemIndex(4);
    m->EditionListDblClick(nullptr);
    ASSERT_EQ(m->Wizard->ActivePage(), m->TagPage);
  }
  void TearDown() override {
    session.reset();
    for (const wchar_t* name : {L"KAVO_TOOL_LOG", L"KAVO_MP4BOX_FAIL", L"KAVO_ATOMICPARSLEY_FAIL", L"KAVO_MP4BOX_VERSION"})
      SetEnvironmentVariableW(name, nullptr);
    RemoveSettingsFile();
  }

  // The folder chosen in the tree, as a user's click does, and listed whole.
  void ChooseFolder(const WideString& Folder) {
    OpenTreeFolder(m->ShDirTree1, Folder);
    EXPECT_TRUE(PumpUntil([&] { return !m->TagFolderListing(); }, 30000));
    PumpUntil([] { return false; }, 50);
  }
  // A folder of Count copies of the tagged song, long enough a listing for the user to act
  // inside it.
  std::wstring ManyFolder(int Count) {
    const std::wstring many = temp.Path() + L"\\many\\";
    CreateDirectoryW(many.c_str(), nullptr);
    for (int i = 0; i < Count; ++i)
      EXPECT_TRUE(CopyFileW((media + L"tags\\song.m4a").c_str(), (many + std::to_wstring(i) + L".m4a").c_str(), FALSE));
    return many;
  }
  TTagRow Row(int Index) const { return TTagRowItem(m->FilesTagList->Items()->Item(Index)).Read(); }
  int RowOf(const wchar_t* File) const {
    for (int i = 0; i < m->FilesTagList->Items()->Count(); ++i)
      if (Row(i)[C::File] == File) return i;
    return -1;
  }
  void Select(int Index) { m->FilesTagList->SetSelected(m->FilesTagList->Items()->Item(Index)); }
  void Next() {
    bool stop = false;
    m->TagPageNextButtonClick(nullptr, stop);
    EXPECT_TRUE(stop);
  }
  bool JobClosed() const { return !m->FJobs->JobRunning() && !m->btAbort->Enabled(); }
  TRecordedRow LastEvent() const {
    TUniListItems* items = m->ETAListView->Items();
    if (items->Count() == 0) return {-1, L""};
    TUniListItem* last = items->Item(items->Count() - 1);
    return {last->ImageIndex(), last->SubItems()->Strings(1)};
  }
  // The process page's error rows.
  std::vector<WideString> ErrorRows() const {
    std::vector<WideString> errors;
    TUniListItems* items = m->ETAListView->Items();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Item(i)->ImageIndex() == pekError) errors.push_back(items->Item(i)->SubItems()->Strings(1));
    return errors;
  }
  std::map<WideString, std::string> FileBytes() const {
    std::map<WideString, std::string> bytes;
    for (const wchar_t* name : TaggedFiles) bytes[name] = ReadFileBytes(folder + name);
    return bytes;
  }
  bool WorkFileLeft() const {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"*-tagging*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    return h != INVALID_HANDLE_VALUE;
  }
  std::vector<TArgv> Runs() const { return RecordedRuns(ReadFileBytes(argvLog)); }
  // The value after an option in a recorded run.
  static std::string After(const TArgv& Run, const std::string& Option) {
    for (size_t i = 0; i + 1 < Run.size(); ++i)
      if (Run[i] == Option) return Run[i + 1];
    return "(none)";
  }

  TempFolder temp;
  WideString media;
  std::wstring folder, argvLog;
  std::unique_ptr<TProgramSession> session;
  TMainForm* m = nullptr;
};

TEST_F(TagPageTest, TheFolderIsListedWithTheTagsMediaInfoReads) {
  if (!TMediaInfoLibrary::Instance().Loaded()) GTEST_SKIP() << "MediaInfo.dll is not beside the tests";
  CreateDirectoryW((temp.Path() + L"\\empty").c_str(), nullptr);  // before the tree reads the folder
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  EXPECT_EQ(TagFolderOf(m->TagFolder), folder);
  EXPECT_EQ(Row(2)[C::File], L"clip.mp4");  // the M4A files first
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TTagRow row = Row(i);
    EXPECT_TRUE(row.Checked);
    EXPECT_EQ(row[C::Path], folder);
    TMediaInfoFile file(row.FullName());
    EXPECT_EQ(row[C::Name], file.Get(TStreamKind::General, 0, L"Title"));
    EXPECT_EQ(row[C::Length], ShortPlayTime(file.Get(TStreamKind::General, 0, L"PlayTime/String3")));
    EXPECT_EQ(row[C::Artist], file.Get(TStreamKind::General, 0, L"Artist"));
    EXPECT_EQ(row[C::Album], file.Get(TStreamKind::General, 0, L"Album"));
    EXPECT_EQ(row[C::Year], file.Get(TStreamKind::General, 0, L"Recorded_Date"));  // the tagged year
    EXPECT_EQ(row[C::Genre], file.Get(TStreamKind::General, 0, L"Genre"));
    for (int c = static_cast<int>(C::Writer); c < TagColumnCount; ++c) EXPECT_EQ(row.Columns[c], L"") << c;
  }
  // What ffmpeg wrote, read back whole (the title lies outside the ANSI code page).
  const TTagRow song = Row(RowOf(L"song.m4a"));
  EXPECT_EQ(song[C::Name], L"\x03A9mega Song");
  EXPECT_EQ(song[C::Artist], L"Zo\x00EB Keys");
  EXPECT_EQ(song[C::Album], L"\x00C9t\x00E9");
  EXPECT_EQ(song[C::Genre], L"Jazz");
  EXPECT_NE(song[C::Year].find(L"2009"), WideString::npos) << WideToAnsi(song[C::Year]);
  EXPECT_EQ(song[C::Length].substr(0, 6), L"00:01.") << WideToAnsi(song[C::Length]);

  // The first row is selected, its tags read into the edits; Next may start.
  EXPECT_EQ(m->FilesTagList->Selected(), m->FilesTagList->Items()->Item(0));
  EXPECT_EQ(m->edName->Text(), Row(0)[C::Name]);
  EXPECT_EQ(m->edArtist->Text(), Row(0)[C::Artist]);
  EXPECT_EQ(m->edAlbum->Text(), Row(0)[C::Album]);
  EXPECT_EQ(m->edYear->Text(), Row(0)[C::Year]);
  EXPECT_EQ(m->edDuration->Text(), Row(0)[C::Length]);
  EXPECT_TRUE(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Enabled());
  Select(RowOf(L"song.m4a"));
  SaveShot(m, "tag_page.bmp");

  // A file that is not media is listed without tags; other files are left out.
  TempFolder::MakeFile(temp.Path() + L"\\readme.txt");
  TempFolder::MakeFile(temp.Path() + L"\\notes.mp4", "not a film");
  ChooseFolder(temp.Path());
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 1);
  TTagRow notes;
  notes[C::Path] = TagFolderOf(temp.Path());
  notes[C::File] = L"notes.mp4";
  EXPECT_EQ(Row(0).Columns, notes.Columns);
  EXPECT_EQ(m->edName->Text(), L"");

  // An empty folder lists nothing; the last folder's rows are gone.
  ChooseFolder(temp.Path() + L"\\empty");
  EXPECT_EQ(m->FilesTagList->Items()->Count(), 0);
  EXPECT_FALSE(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Enabled());
}

// The window answers while a folder is listed: the user's messages are handled with the first
// rows in, the hourglass shows and Next is off until the last row; a row the user selects
// meanwhile gives way to the first row again as the next rows come, and a folder chosen
// meanwhile ends the listing, whose remaining files never reach the list.
TEST_F(TagPageTest, TheWindowAnswersWhileAFolderIsListed) {
  constexpr int kMany = 300;
  const std::wstring many = ManyFolder(kMany);
  ChooseFolder(folder);
  ASSERT_TRUE(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Enabled());
  const TCursor cursor = Screen->Cursor();

  // The user's message, posted once the first row is in, handled while the listing goes on.
  constexpr UINT kUserMessage = WM_APP + 2;
  int rowsAtMessage = -1;
  bool listingAtMessage = false;
  Application->OnMessage = [&](MSG& Msg, bool& Handled) {
    if (Msg.hwnd || Msg.message != kUserMessage) return;
    Handled = true;
    rowsAtMessage = m->FilesTagList->Items()->Count();
    listingAtMessage = m->TagFolderListing();
  };
  ScopeExit unhook{[&] { Application->OnMessage = nullptr; }};
  OpenTreeFolder(m->ShDirTree1, many);
  ASSERT_TRUE(PumpUntil([&] { return m->FilesTagList->Items()->Count() > 0; }, 30000));
  PostThreadMessageW(GetCurrentThreadId(), kUserMessage, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return rowsAtMessage >= 0; }, 30000));
  EXPECT_TRUE(listingAtMessage);
  EXPECT_LT(rowsAtMessage, kMany);
  EXPECT_EQ(Screen->Cursor(), crHourGlass);
  EXPECT_FALSE(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Enabled());
  // Next is refused meanwhile: nothing is tagged.
  Next();
  EXPECT_TRUE(JobClosed());
  // The user's click on the last row listed so far.
  const int clicked = m->FilesTagList->Items()->Count() - 1;
  Select(clicked);
  EXPECT_EQ(m->FilesTagList->Selected()->Index(), clicked);
  ASSERT_TRUE(PumpUntil([&] { return !m->TagFolderListing(); }, 60000));
  ASSERT_EQ(m->FilesTagList->Items()->Count(), kMany);
  EXPECT_EQ(Screen->Cursor(), cursor);
  EXPECT_TRUE(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Enabled());
  EXPECT_EQ(m->FilesTagList->SelCount(), 1);
  EXPECT_TRUE(m->FilesTagList->Items()->Item(0)->Selected());
  EXPECT_EQ(m->edName->Text(), Row(0)[C::Name]);
  for (int i : {0, kMany / 2, kMany - 1}) EXPECT_EQ(Row(i)[C::Path], many) << i;
  EXPECT_TRUE(Runs().empty());

  // Another folder chosen mid-listing: only its rows, and none of the first folder's later.
  OpenTreeFolder(m->ShDirTree1, many);
  ASSERT_TRUE(PumpUntil([&] { return m->FilesTagList->Items()->Count() > 0; }, 30000));
  ASSERT_TRUE(m->TagFolderListing());
  ChooseFolder(folder);
  PumpUntil([] { return false; }, 300);  // time enough for rows of the first folder, were any still coming
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Row(i)[C::Path], folder) << i;
  EXPECT_EQ(TagFolderOf(m->TagFolder), folder);
  EXPECT_EQ(m->FilesTagList->SelCount(), 1);
  EXPECT_TRUE(m->FilesTagList->Items()->Item(0)->Selected());
  EXPECT_EQ(m->edName->Text(), Row(0)[C::Name]);
  EXPECT_EQ(Screen->Cursor(), cursor);
  EXPECT_TRUE(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Enabled());
}

// The properties dialog opened mid-listing: its tags go into the row selected when it opened,
// the rows read meanwhile come once it has closed.
TEST_F(TagPageTest, TheDialogOpenedMidListingWritesTheRowItWasOpenedFor) {
  constexpr int kMany = 300;
  const std::wstring many = ManyFolder(kMany);
  OpenTreeFolder(m->ShDirTree1, many);
  ASSERT_TRUE(PumpUntil([&] { return m->FilesTagList->Items()->Count() > 1; }, 30000));
  ASSERT_TRUE(m->TagFolderListing());
  const int chosen = m->FilesTagList->Items()->Count() - 1;
  Select(chosen);
  int rowsWhileOpen = -1, rowsAfterWait = -1;
  TModalDriver dialog([] { return PropForm->Visible(); }, [&] {
    rowsWhileOpen = m->FilesTagList->Items()->Count();
    PumpUntil([] { return false; }, 300);
    rowsAfterWait = m->FilesTagList->Items()->Count();
    PropForm->edComposer->SetText(L"Comp");
    PropForm->btOkClick(nullptr);
  });
  m->btTagMoreClick(nullptr);
  ASSERT_TRUE(dialog.Done());
  EXPECT_EQ(rowsAfterWait, rowsWhileOpen);
  ASSERT_TRUE(PumpUntil([&] { return !m->TagFolderListing(); }, 60000));
  ASSERT_EQ(m->FilesTagList->Items()->Count(), kMany);
  for (int i = 0; i < kMany; ++i) EXPECT_EQ(Row(i)[C::Composer], i == chosen ? L"Comp" : L"") << i;
  EXPECT_TRUE(m->FilesTagList->Items()->Item(0)->Selected());
}

// The program closed while a folder is listed: the reading ends with the window, and its
// thread with it.
TEST_F(TagPageTest, ClosingTheProgramMidListingEndsTheReading) {
  const std::wstring many = ManyFolder(300);
  const int threads = ThreadCount();
  OpenTreeFolder(m->ShDirTree1, many);
  ASSERT_TRUE(PumpUntil([&] { return m->FilesTagList->Items()->Count() > 0; }, 30000));
  ASSERT_TRUE(m->TagFolderListing());
  session.reset();
  EXPECT_EQ(MainForm, nullptr);
  EXPECT_FALSE(CheckSynchronize());  // no batch left for a window that is gone
  EXPECT_LE(ThreadCount(), threads);
}

TEST_F(TagPageTest, EditsGoIntoTheSelectedRowOnly) {
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  const TTagRow second = Row(1);
  m->edName->SetText(L"New Title");
  m->edArtist->SetText(L"");
  m->cbGenre->SetItemIndex(17);  // Rock
  m->cbGenre->OnChange(m->cbGenre);
  EXPECT_EQ(Row(0)[C::Name], L"New Title");
  EXPECT_NE(Row(0)[C::Artist], L"");  // an empty edit leaves its column
  EXPECT_EQ(Row(0)[C::Genre], L"Rock");
  m->cbGenre->SetItemIndex(20);  // the "Video :" heading
  m->cbGenre->OnChange(m->cbGenre);
  EXPECT_EQ(Row(0)[C::Genre], L"Rock");

  // Selecting the next file fills the edits from it and changes no row.
  const TTagRow first = Row(0);
  Select(1);
  EXPECT_EQ(Row(1).Columns, second.Columns);
  EXPECT_EQ(Row(0).Columns, first.Columns);
  EXPECT_EQ(m->edName->Text(), second[C::Name]);

  // The year takes digits and one decimal separator.
  m->edYear->SetText(L"");
  for (wchar_t key : {L'2', L'x', L'0', L'.', L'.', L'1'}) SendMessageW(m->edYear->Handle(), WM_CHAR, key, 1);
  EXPECT_EQ(m->edYear->Text(), L"20.1");
}

TEST_F(TagPageTest, NextPreviousAndTheColumnMenu) {
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  m->TagListIndex = 1;
  m->FilesTagList->Items()->Item(1)->SetChecked(false);
  auto selected = [&] { return m->FilesTagList->Selected() ? m->FilesTagList->Selected()->Index() : -1; };
  m->dpbt2Click(nullptr);  // row 1 is unchecked: row 2
  EXPECT_EQ(selected(), 2);
  EXPECT_EQ(m->TagListIndex, 3);
  m->dpbt2Click(nullptr);  // the end of the list
  EXPECT_EQ(selected(), 2);
  EXPECT_EQ(m->TagListIndex, 3);
  m->spbt1Click(nullptr);  // back over the unchecked row
  EXPECT_EQ(selected(), 0);
  EXPECT_EQ(m->TagListIndex, 1);
  m->spbt1Click(nullptr);  // the first row: nothing
  EXPECT_EQ(selected(), 0);

  TListColumn* length = m->FilesTagList->Columns()->Items(4);
  EXPECT_EQ(length->Width(), 70);
  m->timing->Click();
  EXPECT_FALSE(m->timing->Checked());
  EXPECT_EQ(length->Width(), 0);
  m->timing->Click();
  EXPECT_TRUE(m->timing->Checked());
  EXPECT_EQ(length->Width(), 80);
}

// The older MP4Box imports each file into a new one ("-add ... -new"), which keeps only the
// tags given, as the stand-in does: every copy read back lacks the file's other tags, so
// every file stays as it was, each with an error row that says so.
TEST_F(TagPageTest, CopiesThatLostTagsLeaveEveryFileAsItWas) {
  if (!TMediaInfoLibrary::Instance().Loaded()) GTEST_SKIP() << "MediaInfo.dll is not beside the tests";
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  const std::map<WideString, std::string> before = FileBytes();
  const int song = RowOf(L"song.m4a");
  Select(song);
  m->edName->SetText(L"12\" Mix 100%");
  Select(2);  // the job starts at the first row all the same
  m->edTemp->SetText(temp.Path() + L"\\my temp\\");

  Next();
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekWarning, NamedTexts().TagFailed}));
  SaveShot(m, "tag_job.bmp");
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 3u);
  const std::vector<WideString> errors = ErrorRows();
  ASSERT_EQ(errors.size(), 3u);
  const std::string f = WideToAnsi(folder);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TTagRow row = Row(i);
    const std::string file = f + WideToAnsi(row[C::File]);
    const std::string work = file.substr(0, file.rfind('.')) + "-tagging" + file.substr(file.rfind('.'));
    EXPECT_EQ(runs[i].at(0), "MP4Box.exe");
    EXPECT_EQ(After(runs[i], "-add"), file);
    EXPECT_EQ(After(runs[i], "-new"), work);  // written beside the file
    EXPECT_EQ(After(runs[i], "-tmp"), WideToAnsi(temp.Path()) + "\\my temp\\");
    EXPECT_EQ(errors[i].rfind(row[C::File] + L" was left as it was", 0), 0u) << WideToAnsi(errors[i]);
    EXPECT_NE(errors[i].find(L"Performer"), WideString::npos) << WideToAnsi(errors[i]);
    EXPECT_EQ(ReadFileBytes(row.FullName()), before.at(row[C::File]));
  }
  EXPECT_FALSE(WorkFileLeft());
  EXPECT_EQ(After(runs[song], "-itags").rfind("name=12\" Mix 100%:", 0), 0u) << After(runs[song], "-itags");
  bool stop = false;
  m->ProcessPageBackButtonClick(nullptr, stop);
  EXPECT_EQ(m->Wizard->ActivePage(), m->TagPage);
}

TEST_F(TagPageTest, AFailingRunLeavesItsFileWholeAndUncheckedRowsAreLeftOut) {
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  std::map<WideString, std::string> before;
  for (const wchar_t* name : TaggedFiles) before[name] = ReadFileBytes(folder + name);
  m->FilesTagList->Items()->Item(1)->SetChecked(false);
  SetEnvironmentVariableW(L"KAVO_MP4BOX_FAIL", L"3");
  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekWarning, NamedTexts().TagFailed}));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(After(runs[0], "-add"), WideToAnsi(Row(0).FullName()));
  EXPECT_EQ(After(runs[1], "-add"), WideToAnsi(Row(2).FullName()));
  for (const wchar_t* name : TaggedFiles) EXPECT_EQ(ReadFileBytes(folder + name), before[name]) << WideToAnsi(name);
  EXPECT_FALSE(WorkFileLeft()) << "a work file was left behind";
}

TEST_F(TagPageTest, TheCoverPictureChosenInTheDialogGoesToEveryFile) {
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  const WideString cover = temp.Path() + L"\\front cover.bmp";
  {
    TBitmap picture;
    picture.SetSize(40, 30);
    picture.SaveToFile(WideToAnsi(cover));
  }
  // The user types the picture's name in the open dialog and presses Open.
  TModalDriver open([&] { return m->OpenPictureDiag->Handle() && IsWindowVisible(GetParent(m->OpenPictureDiag->Handle())); },
                    [&] {
                      HWND shown = GetParent(m->OpenPictureDiag->Handle());
                      SetDlgItemTextW(shown, cmb13, cover.c_str());
                      PostMessageW(shown, WM_COMMAND, IDOK, 0);
                    });
  m->UniStaticText1Click(nullptr);
  ASSERT_TRUE(open.Done());
  EXPECT_EQ(m->edPic->Text(), cover);
  EXPECT_FALSE(m->UniStaticText1->Visible());
  EXPECT_EQ(m->UniImage25->Picture()->Width(), 40);

  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 3u);
  for (const TArgv& run : runs) {
    const std::string itags = After(run, "-itags");
    EXPECT_EQ(itags.substr(itags.rfind(":cover=") + 7), WideToAnsi(cover)) << itags;
  }
}

TEST_F(TagPageTest, WithoutRowsNothingHappens) {
  ChooseFolder(temp.Path());
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 0);
  TModalDriver dialog([] { return PropForm->Visible(); }, [] { PropForm->btCancelClick(nullptr); });
  m->dpbt2Click(nullptr);
  m->spbt1Click(nullptr);
  m->btTagMoreClick(nullptr);
  EXPECT_FALSE(dialog.Done()) << "More opened the dialog without a row";
  m->WriteTags2();
  Next();
  EXPECT_EQ(m->Wizard->ActivePage(), m->TagPage);
  EXPECT_FALSE(m->FJobs->JobRunning());
  EXPECT_FALSE(TempFolder::Exists(argvLog));
}

// Whatever the dialog offers reaches the selected row's file, and that file only.
TEST_F(TagPageTest, TheDialogsTagsGoIntoTheSelectedRowAndItsFileOnly) {
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  Select(0);
  TTagRowItem(m->FilesTagList->Items()->Item(0)).Set(C::Tempo, L"90");  // as a dialog left it
  const WideString pageName = m->edName->Text();
  WideString shownName, shownTempo;
  bool trackTabShown = true;
  TModalDriver dialog([] { return PropForm->Visible(); }, [&] {
    shownName = PropForm->edName->Text();
    shownTempo = PropForm->edTempo->Text();
    trackTabShown = PropForm->Tab1->TabVisible();
    PropForm->edWriter->SetText(L"Wri");
    PropForm->edTrackN1->SetText(L"3");
    PropForm->edArtist->SetText(L"Dialog Artist");
    PropForm->edComposer->SetText(L"Comp");
    PropForm->chCompile->SetChecked(true);
    PropForm->chGapless->SetChecked(true);
    PropForm->btOkClick(nullptr);
  });
  m->btTagMoreClick(nullptr);
  ASSERT_TRUE(dialog.Done());
  EXPECT_TRUE(m->FJobs->State().TagMode);
  EXPECT_FALSE(trackTabShown);
  EXPECT_EQ(shownName, pageName);
  EXPECT_EQ(shownTempo, L"90");
  const TTagRow row = Row(0);
  EXPECT_EQ(row[C::Writer], L"Wri");
  EXPECT_EQ(row[C::TrackP], L"3");
  EXPECT_EQ(row[C::Artist], L"Dialog Artist");
  EXPECT_EQ(row[C::Composer], L"Comp");
  EXPECT_EQ(row[C::Compile], L"compile");
  EXPECT_EQ(row[C::Gapless], L"gapless");
  EXPECT_EQ(m->edArtist->Text(), L"Dialog Artist");

  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 3u);
  const std::string first = After(runs[0], "-itags");
  EXPECT_NE(first.find(":artist=Dialog Artist:"), std::string::npos) << first;
  EXPECT_NE(first.find(":writer=Wri:tracknum=3:tempo=90"), std::string::npos) << first;
  EXPECT_NE(first.find(":composer=Comp:compilation=yes:gapeless=yes"), std::string::npos) << first;
  for (int i = 1; i < 3; ++i) {
    const std::string itags = After(runs[i], "-itags");
    EXPECT_EQ(itags.rfind("name=" + WideToUtf8(Row(i)[C::Name]) + ":artist=" + WideToUtf8(Row(i)[C::Artist]) + ":", 0),
              0u)
        << itags;
    for (const char* other : {"Dialog Artist", "writer=", "tracknum=", "tempo=", "composer=", "compilation="})
      EXPECT_EQ(itags.find(other), std::string::npos) << itags;
  }
}

// The artwork tab as the user reaches it: Add... opens the picture dialog, the chosen
// picture's folder shows as thumbnails with it selected, each kept no larger than its cell
// while the whole picture's size stays known, and OK sends the picture to every file.
TEST_F(TagPageTest, ArtworkAddedInTheDialogShowsItsFolderReducedAndGoesToEveryFile) {
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  const WideString art = temp.Path() + L"\\art";
  CreateDirectoryW(art.c_str(), nullptr);
  for (const auto& [name, colour] : {std::pair{L"\\back.bmp", clNavy}, std::pair{L"\\front.bmp", clTeal}}) {
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(800, 600);
    picture.Canvas()->Brush()->SetColor(colour);
    picture.Canvas()->FillRect(RECT{0, 0, 800, 600});
    picture.SaveToFile(WideToAnsi(art + name));
  }
  const WideString cover = art + L"\\front.bmp";

  TModalDriver add([] { return PropForm->Visible(); }, [] {
    PropForm->PageControl1->SetActivePage(PropForm->TabPic);
    PostMessageW(PropForm->btAdd->Handle(), BM_CLICK, 0, 0);
  });
  // The user types the picture's name in the open dialog and presses Open.
  TModalDriver open(
      [] { return PropForm->OpenPictureDialog->Handle() && IsWindowVisible(GetParent(PropForm->OpenPictureDialog->Handle())); },
      [&] {
        HWND shown = GetParent(PropForm->OpenPictureDialog->Handle());
        SetDlgItemTextW(shown, cmb13, cover.c_str());
        PostMessageW(shown, WM_COMMAND, IDOK, 0);
      });
  struct TCell {
    int KeptWidth, KeptHeight, ImageWidth, ImageHeight;
    bool operator==(const TCell&) const = default;
  };
  std::vector<TCell> cells;
  AnsiString selected;
  bool deleteEnabled = false;
  TModalDriver ok([] { return PropForm->Visible() && PropForm->ThumbView->Count() == 2 && !PropForm->ThumbView->SelectedFile().empty(); },
                  [&] {
                    TKvThumbView* view = PropForm->ThumbView;
                    selected = view->SelectedFile();
                    deleteEnabled = PropForm->btDelete->Enabled();
                    for (int i = 0; i < view->Count(); ++i) {
                      TKvThumbnail* cell = view->Thumbnail(i);
                      cells.push_back({cell->Photo()->Picture()->Width(), cell->Photo()->Picture()->Height(),
                                       cell->ImageWidth(), cell->ImageHeight()});
                    }
                    SaveShot(PropForm, "properties_artwork.bmp");
                    PropForm->btOkClick(nullptr);
                  });
  m->btTagMoreClick(nullptr);
  ASSERT_TRUE(add.Done());
  ASSERT_TRUE(open.Done());
  ASSERT_TRUE(ok.Done());
  EXPECT_EQ(selected, WideToAnsi(cover));
  EXPECT_TRUE(deleteEnabled);
  EXPECT_EQ(cells, (std::vector<TCell>(2, TCell{100, 75, 800, 600})));

  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 3u);
  for (const TArgv& run : runs) {
    const std::string itags = After(run, "-itags");
    EXPECT_EQ(itags.substr(itags.rfind(":cover=") + 7), WideToAnsi(cover)) << itags;
  }
}

// Today's MP4Box, which the stand-in follows when it prints a version from 1.0 on.
class TagPageTodayTest : public TagPageTest {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"KAVO_MP4BOX_VERSION", L"26.08-DEV");
    TagPageTest::SetUp();
  }
};

// After "More" changed only the genre of the selected file, every file is tagged with its
// own row: its own title and artist, no track number of another file; today's tool
// rewrites each file whole into a copy beside it ("-out"), never "-add ... -new".
TEST_F(TagPageTodayTest, EachFileIsTaggedWithItsOwnRowAfterMore) {
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  const std::map<WideString, std::string> before = FileBytes();
  Select(0);
  TModalDriver dialog([] { return PropForm->Visible(); }, [] {
    PropForm->cbGenre->SetItemIndex(17);  // Rock
    PropForm->btOkClick(nullptr);
  });
  m->btTagMoreClick(nullptr);
  ASSERT_TRUE(dialog.Done());
  EXPECT_EQ(Row(0)[C::Genre], L"Rock");

  Next();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TTagRow row = Row(i);
    const std::string file = WideToUtf8(row.FullName());
    const std::string work = file.substr(0, file.rfind('.')) + "-tagging" + file.substr(file.rfind('.'));
    const std::string itags = After(runs[i], "-itags");
    EXPECT_EQ(runs[i].at(3), file);
    EXPECT_EQ(After(runs[i], "-out"), work);
    EXPECT_EQ(After(runs[i], "-add"), "(none)");
    EXPECT_EQ(After(runs[i], "-new"), "(none)");
    EXPECT_EQ(itags.rfind("name=" + WideToUtf8(row[C::Name]) + ":artist=" + WideToUtf8(row[C::Artist]) + ":", 0), 0u)
        << itags;
    EXPECT_NE(itags.find(":genre=" + WideToUtf8(row[C::Genre])), std::string::npos) << itags;
    EXPECT_EQ(itags.find("tracknum="), std::string::npos) << itags;
    // Whatever the tool made of it, the file holds what it held or its whole copy.
    EXPECT_EQ(ReadFileBytes(row.FullName()), before.at(row[C::File]));
  }
  EXPECT_NE(After(runs[0], "-itags").find(":genre=Rock"), std::string::npos);
  EXPECT_FALSE(WorkFileLeft());
}

// ">>" and "<<" start again from the first row of every folder listed.
TEST_F(TagPageTest, PreviousAndNextWorkAfterALongerFolder) {
  const WideString shorter = temp.Path() + L"\\two\\";  // before the tree reads the folder
  CreateDirectoryW(shorter.c_str(), nullptr);
  for (const wchar_t* name : {L"song.m4a", L"tone.m4a"})
    ASSERT_TRUE(CopyFileW((folder + name).c_str(), (shorter + name).c_str(), FALSE));
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 3);
  m->dpbt2Click(nullptr);
  m->dpbt2Click(nullptr);
  EXPECT_EQ(m->FilesTagList->Selected()->Index(), 2);
  ChooseFolder(shorter);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 2);
  m->dpbt2Click(nullptr);
  ASSERT_NE(m->FilesTagList->Selected(), nullptr);
  EXPECT_EQ(m->FilesTagList->Selected()->Index(), 1);
  m->spbt1Click(nullptr);
  EXPECT_EQ(m->FilesTagList->Selected()->Index(), 0);
}

// What stops a job before anything is changed, each with a notice in the user's language:
// no checked row, a tagger that is not MP4Box, a read-only file, and (for the older tool) a
// name its 8-bit command line cannot carry.
TEST_F(TagPageTest, NothingIsTaggedWhenAFileCannotBeOrNoneIsChecked) {
  const WideString greek = folder + L"\x03A9\x03B4\x03AE.m4a";
  ASSERT_TRUE(CopyFileW((folder + L"tone.m4a").c_str(), greek.c_str(), FALSE));
  ChooseFolder(folder);
  ASSERT_EQ(m->FilesTagList->Items()->Count(), 4);
  const std::map<WideString, std::string> before = FileBytes();
  auto refused = [&](const WideString& Content) {
    TTaskAnswer notice(0);
    Next();
    EXPECT_TRUE(notice.Driver.Done());
    EXPECT_EQ(notice.Content, Content);
    EXPECT_EQ(m->Wizard->ActivePage(), m->TagPage);
    EXPECT_FALSE(m->FJobs->JobRunning());
  };
  {
    SCOPED_TRACE("a name the older tool cannot reach");
    refused(FillText(NamedTexts().TagMsgUnspellable, L"\x03A9\x03B4\x03AE.m4a"));
  }
  m->FilesTagList->Items()->Item(RowOf(L"\x03A9\x03B4\x03AE.m4a"))->SetChecked(false);
  SetFileAttributesW((folder + L"clip.mp4").c_str(), FILE_ATTRIBUTE_READONLY);
  {
    SCOPED_TRACE("a read-only file");
    refused(FillText(NamedTexts().TagMsgReadOnlyFiles, L"clip.mp4"));
  }
  SetFileAttributesW((folder + L"clip.mp4").c_str(), FILE_ATTRIBUTE_NORMAL);
  for (int i = 0; i < m->FilesTagList->Items()->Count(); ++i) m->FilesTagList->Items()->Item(i)->SetChecked(false);
  {
    SCOPED_TRACE("no checked row");
    refused(NamedTexts().TagMsgNoneChecked);
  }
  m->edTagger->SetText(TMainForm::ProgramFolder() + L"AtomicParsley.exe");
  {
    SCOPED_TRACE("AtomicParsley as the tagger");
    refused(NamedTexts().TagMsgNotMP4Box);
  }
  EXPECT_FALSE(TempFolder::Exists(argvLog));
  EXPECT_EQ(FileBytes(), before);
}

// A mux whose tags the real AtomicParsley writes two seconds after the mux succeeded, with
// its UTF-16 command line: every tag reads back, Greek title and artist included.
TEST_F(TagPageTodayTest, AMuxTaggedByAtomicParsleyTwoSecondsLater) {
  if (!TMediaInfoLibrary::Instance().Loaded()) GTEST_SKIP() << "MediaInfo.dll is not beside the tests";
  const WideString atomicParsley = TMainForm::ProgramFolder() + L"atomicparsley\\AtomicParsley.exe";
  if (!TempFolder::Exists(atomicParsley)) GTEST_SKIP() << "no AtomicParsley (scripts/deps --atomicparsley)";
  std::wstring clip = temp.Path() + L"\\clip.mp4";
  ASSERT_TRUE(CopyFileW((media + L"clip.mp4").c_str(), clip.c_str(), FALSE));
  const std::wstring output = temp.Path() + L"\\new film.mp4";
  m->edTagger->SetText(atomicParsley);
  m->CreationList->SetItemIndex(0);
  m->CreationListDblClick(nullptr);
  m->AddMuxFiles({clip});
  m->edMP4Output->SetText(output);
  // The tags are turned on and filled in the properties dialog.
  m->MP4ListView->SetSelected(m->MP4ListView->Items()->Item(0));
  const WideString title = L"\x03A4\x03C1\x03B1\x03B3\x03BF\x03CD\x03B4\x03B9 \"One\"";
  const WideString artist = L"\x039A\x03B1\x03BB\x03BB\x03B9\x03C4\x03AD\x03C7\x03BD\x03B7\x03C2";
  bool tagsEnabled = false;
  TModalDriver dialog([] { return PropForm->Visible(); }, [&] {
    tagsEnabled = PropForm->chTagSupport->Enabled();
    PropForm->chTagSupport->SetChecked(true);
    PropForm->edName->SetText(title);
    PropForm->edArtist->SetText(artist);
    PropForm->edAlbum->SetText(L"\x00C9t\x00E9");
    PropForm->edYear->SetText(L"2011");
    PropForm->edTrackN1->SetText(L"3");
    PropForm->edTrackNum2->SetText(L"12");
    PropForm->edDiskNum1->SetText(L"1");
    PropForm->edDiskNum2->SetText(L"2");
    PropForm->edComposer->SetText(L"Comp");
    PropForm->edGroup->SetText(L"Grp");
    PropForm->chCompile->SetChecked(true);
    PropForm->cbGenre->SetItemIndex(12);  // Jazz
    PropForm->MemoComments->SetText(L"line 1\r\nline 2");
    PropForm->btOkClick(nullptr);
  });
  m->btPropertiesClick(nullptr);
  ASSERT_TRUE(dialog.Done());
  EXPECT_TRUE(tagsEnabled);
  bool stop = false;
  m->MuxPageNextButtonClick(nullptr, stop);

  ASSERT_TRUE(PumpUntil([&] { return LastEvent().Text == NamedTexts().CreateSucceed; }, 30000));
  const ULONGLONG muxClosed = GetTickCount64();
  // The stand-in MP4Box writes no real MP4: a real one takes its place before the tagging.
  ASSERT_TRUE(CopyFileW((media + L"clip.mp4").c_str(), output.c_str(), FALSE));
  ASSERT_TRUE(PumpUntil([&] { return LastEvent().Text == L"Tagging of new film.mp4..."; }, 10000));
  EXPECT_GE(GetTickCount64() - muxClosed, 1800u);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(LastEvent(), (TRecordedRow{pekInformation, NamedTexts().TagSucceed}));
  const std::vector<TArgv> runs = Runs();
  ASSERT_EQ(runs.size(), 1u);  // the real AtomicParsley records nothing
  EXPECT_EQ(runs[0].at(0), "MP4Box.exe");
  EXPECT_EQ(After(runs[0], "-itags"), "(none)");  // MP4Box leaves the tags to AtomicParsley

  TMediaInfoFile file(output);
  auto tag = [&](const wchar_t* parameter) { return file.Get(TStreamKind::General, 0, parameter); };
  EXPECT_EQ(tag(L"Title"), title);
  EXPECT_EQ(tag(L"Performer"), artist);
  EXPECT_EQ(tag(L"Album"), L"\x00C9t\x00E9");
  EXPECT_EQ(tag(L"Recorded_Date"), L"2011");
  EXPECT_EQ(tag(L"Track/Position"), L"3");
  EXPECT_EQ(tag(L"Track/Position_Total"), L"12");
  EXPECT_EQ(tag(L"Part/Position"), L"1");
  EXPECT_EQ(tag(L"Part/Position_Total"), L"2");
  EXPECT_EQ(tag(L"Composer"), L"Comp");
  EXPECT_EQ(tag(L"Grouping"), L"Grp");
  EXPECT_EQ(tag(L"Compilation"), L"Yes");
  EXPECT_EQ(tag(L"Genre"), L"Jazz");
  EXPECT_NE(tag(L"Comment").find(L"line 1"), WideString::npos) << WideToAnsi(tag(L"Comment"));
}

}  // namespace
