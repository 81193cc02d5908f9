// The extract and converter pages driven as a user would, in the program's own forms, with
// real files of the test media and the stand-in MP4Box.exe.
#include <gtest/gtest.h>

#include "app/common/named_texts.h"
#include "app/media/chapter_lines.h"
#include "tests/app/media_test_support.h"
#include "tests/app/page_driving.h"
#include "tests/app/program_session.h"
#include "tests/app/recorded_runs.h"
#include "tests/app/recording_view.h"
#include "tests/app/user_input.h"
#include "tests/widetext/temp_folder.h"

using namespace apptest;

namespace {

class EditionPages : public ::testing::Test {
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
    for (const wchar_t* name : {L"full.mp4", L"clip.avi", L"subs.srt"})
      CopyFileW((media + name).c_str(), (folder + name).c_str(), FALSE);
    argvLog = folder + L"argv.log";
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", argvLog.c_str());
    m->edMP4Box->SetText(TMainForm::ProgramFolder() + L"MP4Box.exe");
    SetForegroundWindow(m->Handle());
  }
  void TearDown() override {
    session.reset();
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", nullptr);
    RemoveSettingsFile();
  }

  void OpenEditionPage(int Index) {
    m->EditionList->SetItemIndex(Index);
    m->EditionListDblClick(nullptr);
  }
  void ClickNext() {
    SendMessageA(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Handle(), BM_CLICK, 0, 0);
  }
  bool NextEnabled() { return m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Enabled(); }
  bool JobClosed() const { return !m->FJobs->JobRunning() && !m->btAbort->Enabled(); }
  std::vector<TRecordedRow> Rows() const {
    std::vector<TRecordedRow> rows;
    for (int i = 0; i < m->ETAListView->Items()->Count(); ++i) {
      TUniListItem* item = m->ETAListView->Items()->Item(i);
      rows.push_back({item->ImageIndex(), item->SubItems()->Strings(1)});
    }
    return rows;
  }
  std::string LogText() const {
    std::string text;
    for (int i = 0; i < m->FLog->Lines()->Count(); ++i) text += m->FLog->Lines()->Strings(i) + "\n";
    return text;
  }

  TempFolder temp;
  WideString media;
  std::wstring folder, argvLog;
  std::unique_ptr<TProgramSession> session;
  TMainForm* m = nullptr;
};

std::wstring Cell(TUniListItem* Item, int SubItem) { return Item->SubItems()->Strings(SubItem); }

TEST_F(EditionPages, TheFourStreamFileListedAndEveryStreamExtracted) {
  OpenEditionPage(2);
  ASSERT_EQ(m->Wizard->ActivePage(), m->ExtractPage);
  EXPECT_FALSE(NextEnabled());
  EXPECT_FALSE(m->gbExtractOptions->Visible());
  m->ExtractInputChosen(folder + L"full.mp4");
  m->ExtractInputChosen(folder + L"full.mp4");  // the same file twice: one listing
  TUniListItems* items = m->ExtractListView->Items();
  ASSERT_EQ(items->Count(), 4);
  const wchar_t* types[] = {L"video", L"audio", L"sub", L"chap"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(items->Item(i)->Caption(), std::to_wstring(i + 1));
    EXPECT_EQ(Cell(items->Item(i), 0), folder);
    EXPECT_EQ(Cell(items->Item(i), 1), L"full.mp4");
    EXPECT_EQ(Cell(items->Item(i), 2), std::to_wstring(i + 1));
    EXPECT_EQ(Cell(items->Item(i), 4), types[i]);
  }
  const std::string memo = m->Memo1->Lines()->GetTextStr();
  EXPECT_EQ(ReadChapterReport(AnsiToWide(memo)).size(), 2u) << memo;
  EXPECT_NE(LogText().find("] : full.mp4 loaded.\n"), std::string::npos);

  // A video row: H.264 cannot go into an AVI file.
  ClickAreaItem(m->ExtractListView, 0);
  ASSERT_TRUE(PumpUntil([&] { return m->gbExtractOptions->Visible(); }, 3000));
  EXPECT_TRUE(NextEnabled());
  EXPECT_TRUE(m->rbRaw->Checked());
  EXPECT_EQ(m->rbRaw->Caption(), NamedTexts().ExtractToRAW);
  EXPECT_EQ(m->rbMP4->Caption(), NamedTexts().ExtractToMP4);
  EXPECT_FALSE(m->rbAVI->Visible());
  // The text row, as its options read.
  m->ExtractListView->SetSelected(items->Item(2));
  m->ExtractListViewClick(nullptr);
  EXPECT_EQ(m->rbRaw->Caption(), NamedTexts().ExtractToSRT);
  EXPECT_EQ(m->rbMP4->Caption(), NamedTexts().ExtractToTTXT);
  SaveShot(m, "extract_page.bmp");

  // All streams begin with the first row.
  SendMessageA(m->rbRawAll->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(m->rbRawAll->Checked());
  EXPECT_EQ(m->ExtractListView->Selected(), items->Item(0));
  ClickNext();
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::string f = WideToAnsi(folder);
  EXPECT_EQ(RecordedRuns(ReadFileBytes(argvLog)),
            (std::vector<TArgv>{{"MP4Box.exe", "-raw", "1", f + "full.mp4"},
                                {"MP4Box.exe", "-raw", "2", f + "full.mp4"},
                                {"MP4Box.exe", "-ttxt", "3", f + "full.mp4"}}));
  EXPECT_EQ(ReadFileBytes(folder + L"full_chap.txt"),
            "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Opening\r\nCHAPTER02=00:00:00.500\r\nCHAPTER02NAME=Closing\r\n");
  for (const wchar_t* out : {L"full_track1.raw", L"full_track2.raw", L"full_track3.ttxt"})
    EXPECT_TRUE(TempFolder::Exists(folder + out)) << WideToAnsi(out);
  const TNamedTexts& t = NamedTexts();
  EXPECT_EQ(Rows(), (std::vector<TRecordedRow>{
                        {0, t.MsgExtractRawVideo + L" full.mp4..."},
                        {0, t.FileI},
                        {0, t.MsgExtractRawAudio + L" full.mp4..."},
                        {0, t.FileI},
                        {0, t.MsgExtractSubtitle + L" full.mp4 " + t.MsgToTTXTFormat},
                        {0, t.FileI},
                        {0, t.MsgExtractChapters + L" full.mp4 " + t.MsgToOGMTextFormat},
                        {0, t.ExtractSucceed}}))
      << LogText();
  const std::string log = LogText();
  EXPECT_NE(log.find("] : File Saved in " + f + "\n"), std::string::npos) << log;
  EXPECT_NE(log.find("] : " + WideToAnsi(t.MsgFilesSavedIn) + f + "\n"), std::string::npos) << log;
  EXPECT_EQ(m->ExtractListView->Selected(), items->Item(3));
  SaveShot(m, "extract_done.bmp");
}

TEST_F(EditionPages, OneStreamAndTheCueSheet) {
  OpenEditionPage(2);
  m->ExtractInputChosen(folder + L"full.mp4");
  m->ExtractListView->SetSelected(m->ExtractListView->Items()->Item(3));
  m->ExtractListViewClick(nullptr);
  EXPECT_EQ(m->rbMP4->Caption(), NamedTexts().ExtractToCUE);
  SendMessageA(m->rbMP4->Handle(), BM_CLICK, 0, 0);
  ClickNext();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_FALSE(TempFolder::Exists(argvLog));  // no tool ran
  const std::string cue = ReadFileBytes(folder + L"full.cue");
  EXPECT_EQ(cue.substr(0, cue.find("     TRACK")), "PERFORMER \" \"\r\nTITLE \"full\"\r\n  FILE \"full.mp4\" .MP4\r\n");
  EXPECT_NE(cue.find("     TRACK 02 AUDIO\r\n       TITLE \"Closing\"\r\n"), std::string::npos) << cue;
  EXPECT_EQ(Rows().back(), (TRecordedRow{0, NamedTexts().ExtractSucceed}));
}

TEST_F(EditionPages, ASubRipConversionAskedBeforeReplacing) {
  OpenEditionPage(3);
  ASSERT_EQ(m->Wizard->ActivePage(), m->ConverterPage);
  EXPECT_FALSE(NextEnabled());
  m->ConverterInputChosen(folder + L"subs.srt");
  EXPECT_TRUE(m->rbTTXT->Checked());
  EXPECT_FALSE(m->rbSRT->Checked());
  EXPECT_FALSE(m->gbSub->Enabled());
  EXPECT_TRUE(NextEnabled());
  SaveShot(m, "converter_page.bmp");

  // The output is there: No starts nothing.
  ASSERT_TRUE(TempFolder::MakeFile(folder + L"subs.ttxt", "mine"));
  {
    TTaskAnswer no(1);
    ClickNext();
    EXPECT_TRUE(no.Driver.Done());
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->ConverterPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));
  EXPECT_EQ(ReadFileBytes(folder + L"subs.ttxt"), "mine");
  {
    TTaskAnswer yes(0);
    ClickNext();
    EXPECT_TRUE(yes.Driver.Done());
  }
  EXPECT_EQ(m->Wizard->ActivePage(), m->ProcessPage);
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  EXPECT_EQ(RecordedRuns(ReadFileBytes(argvLog)),
            (std::vector<TArgv>{{"MP4Box.exe", "-ttxt", WideToAnsi(folder) + "subs.srt"}}));
  EXPECT_NE(ReadFileBytes(folder + L"subs.ttxt"), "mine");
  EXPECT_EQ(Rows(), (std::vector<TRecordedRow>{{0, L"Conversion of subs.srt to ttxt format..."},
                                               {0, NamedTexts().FileI},
                                               {0, NamedTexts().ConvSucceed}}));
  EXPECT_NE(LogText().find("subs.ttxt " + WideToAnsi(NamedTexts().MsgOverwritten)), std::string::npos);

  // Then a ".TTXT" file: the SubRip target; then an AVI file clears both.
  m->ConverterInputChosen(folder + L"SUBS.TTXT");
  EXPECT_TRUE(m->rbSRT->Checked());
  EXPECT_FALSE(m->rbTTXT->Checked());
  m->ConverterInputChosen(folder + L"clip.avi");
  EXPECT_FALSE(m->rbSRT->Checked() || m->rbTTXT->Checked());
}

TEST_F(EditionPages, AnH264AviInTwoRunsItsRawStreamGoneAfterwards) {
  OpenEditionPage(3);
  ASSERT_TRUE(TempFolder::MakeFile(folder + L"other_video.h264", "someone else's stream"));
  m->ConverterInputChosen(folder + L"clip.avi");
  EXPECT_EQ(m->edFrameRate->Text(), L"25.000");
  EXPECT_NE(LogText().find("] : Video Frame-Rate detected: 25.000 fps\n"), std::string::npos);
  ASSERT_TRUE(NextEnabled());
  // The frame-rate field takes digits and one decimal separator.
  m->edFrameRate->SetText(L"");
  for (char key : {'2', 'x', '4', '.', '.', '5'}) SendMessageA(m->edFrameRate->Handle(), WM_CHAR, key, 1);
  EXPECT_EQ(m->edFrameRate->Text(), L"24.5");
  ClickNext();
  ASSERT_TRUE(PumpUntil([&] { return JobClosed(); }, 30000));
  const std::string f = WideToAnsi(folder);
  EXPECT_EQ(RecordedRuns(ReadFileBytes(argvLog)),
            (std::vector<TArgv>{{"MP4Box.exe", "-aviraw", "video", f + "clip.avi"},
                                {"MP4Box.exe", "-add", f + "clip_video.h264:fps=24.5", f + "clip.mp4"}}));
  EXPECT_FALSE(TempFolder::Exists(folder + L"clip_video.h264"));
  EXPECT_EQ(ReadFileBytes(folder + L"other_video.h264"), "someone else's stream");
  const TNamedTexts& t = NamedTexts();
  EXPECT_EQ(Rows(), (std::vector<TRecordedRow>{{0, L"Extraction of clip.avi to raw h264..."},
                                               {0, t.FileI},
                                               {0, L"Mux clip_video.h264 to mp4..."},
                                               {0, t.ImportAVCFile},
                                               {0, t.FileW},
                                               {0, t.ConvSucceed}}));
}

TEST_F(EditionPages, AnAviWithoutH264IsRefused) {
  OpenEditionPage(3);
  // An MP4 file named .avi reads as no AVI at all.
  CopyFileW((media + L"clip.mp4").c_str(), (folder + L"fake.avi").c_str(), FALSE);
  {
    TTaskAnswer ok(0);
    m->ConverterInputChosen(folder + L"fake.avi");
    EXPECT_TRUE(ok.Driver.Done());
    EXPECT_EQ(ok.Content, NamedTexts().Msgx264VFWCompatiblity);
  }
  EXPECT_EQ(m->edConvInput->Text(), L"");
  EXPECT_FALSE(NextEnabled());
  ClickNext();
  EXPECT_EQ(m->Wizard->ActivePage(), m->ConverterPage);
  EXPECT_FALSE(TempFolder::Exists(argvLog));
}

}  // namespace
