// The program started whole: the settings file restored into the controls, the start-up
// lines of the run log, and what the shut-down keeps.
#include "tests/app/program_session.h"


#include "app/common/failure_texts.h"
#include "app/common/named_texts.h"
#include "app/settings/settings_file.h"
#include "tests/explorer/dialog_answers.h"
#include "tests/support/file_dialog_answer.h"
#include "widetext/widetextutils.h"

using namespace apptest;

namespace {

std::string LogText(TMainForm* Form) { return Form->FLog->Lines()->Text(); }

class ProgramStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallLanguageFiles();
    RemoveSettingsFile();
  }
  void TearDown() override { RemoveSettingsFile(); }
};

TEST_F(ProgramStartup, WithoutASettingsFileTheFormDefaultsStayAndTheFileIsWrittenAtExit) {
  {
    TProgramSession session;
    session.Show();
    TMainForm* m = session.Main();
    EXPECT_TRUE(m->chOutputLog->Checked());
    EXPECT_FALSE(m->chKavoLog->Checked());
    EXPECT_TRUE(m->chWarningAVC->Checked());
    EXPECT_EQ(m->cbLang->ItemIndex(), 1);
    EXPECT_EQ(m->cbPriority->ItemIndex(), 3);
    EXPECT_EQ(m->CreationList->ItemIndex(), 0);
    EXPECT_EQ(m->SettingsView->Selected(), m->SettingsView->Items()->GetFirstNode());
    const std::string log = LogText(m);
    EXPECT_NE(log.find("] : Kavo 2.0.0.8 started !!!"), std::string::npos) << log;
    EXPECT_NE(log.find("Operating System : "), std::string::npos) << log;
    // The stand-in mp4box.exe lies beside the test program: it is taken as MP4Box.
    const WideString besideProgram = ProgramFile(L"mp4box.exe");
    ASSERT_NE(GetFileAttributesW(besideProgram.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(WideLowerCase(m->edMP4Box->Text()), WideLowerCase(besideProgram));
    EXPECT_NE(log.find("MP4Box found : " + WideToAnsi(WideLowerCase(besideProgram))), std::string::npos) << log;
    EXPECT_NE(log.find("No tagger is set."), std::string::npos) << log;
    EXPECT_TRUE(m->MP4BoxForm1->Enabled());
    m->chVerbose->SetChecked(true);
    m->cbPriority->SetItemIndex(5);
  }
  const TSettingsReadResult saved = ReadSettingsFile(ProgramFile(L"Kavo.cfg"), TProgramSettings{});
  EXPECT_TRUE(saved.Problems.empty());
  EXPECT_TRUE(saved.Settings.Verbose);
  EXPECT_EQ(saved.Settings.Priority, 5);
  EXPECT_TRUE(saved.Settings.SaveLogOut);
  EXPECT_TRUE(saved.Settings.RaiseWarning4AVC);
}

TEST_F(ProgramStartup, TheLogPlaceBoxesFollowTheFileAndStayOpposite) {
  struct Case {
    const char* Keys;
    bool KavoLog, OutputLog;
  };
  const Case cases[] = {
      {"SaveLogApp=1\r\nSaveLogOut=0\r\n", true, false},
      {"SaveLogApp=0\r\nSaveLogOut=1\r\n", false, true},
      {"SaveLogApp=1\r\nSaveLogOut=1\r\n", false, true},  // the key read last decides
      {"SaveLogApp=0\r\nSaveLogOut=0\r\n", true, false},
      {"Verbose=1\r\n", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Keys);
    WriteSettingsBytes(std::string("[Main]\r\n") + c.Keys);
    TProgramSession session;
    session.Show();
    EXPECT_EQ(session.Main()->chKavoLog->Checked(), c.KavoLog);
    EXPECT_EQ(session.Main()->chOutputLog->Checked(), c.OutputLog);
    // A file that lacks the key unchecks the AVC warning, checked without a file.
    EXPECT_FALSE(session.Main()->chWarningAVC->Checked());
  }
}

TEST_F(ProgramStartup, ToolPathsAreRestoredAndTheirChecksLogged) {
  WriteSettingsBytes(
      "[Main]\r\nMP4Box_path=C:\\Tools\\MP4BOX.EXE\r\nTagger_path=C:\\Tools\\AtomicParsley.exe\r\n"
      "Tmp_path=C:\\Temp\\\r\nLang=1\r\nPriority=2\r\n");
  TProgramSession session;
  session.Show();
  TMainForm* m = session.Main();
  EXPECT_EQ(m->edMP4Box->Text(), L"C:\\Tools\\MP4BOX.EXE");
  EXPECT_EQ(m->edTemp->Text(), L"C:\\Temp\\");
  EXPECT_EQ(m->cbPriority->ItemIndex(), 2);
  const std::string log = LogText(m);
  EXPECT_NE(log.find("MP4Box found : C:\\Tools\\MP4BOX.EXE"), std::string::npos) << log;
  EXPECT_NE(log.find("Tagger found : AtomicParsley.exe (it runs after MP4Box"), std::string::npos) << log;
  EXPECT_TRUE(m->MP4BoxForm1->Enabled());
}

TEST_F(ProgramStartup, UsingMP4BoxAsTaggerCopiesItsPath) {
  WriteSettingsBytes("[Main]\r\nMP4Box_path=C:\\Tools\\mp4box.exe\r\nTagger_path=C:\\Other\\x.exe\r\nUseItasTagger=1\r\n");
  TProgramSession session;
  session.Show();
  EXPECT_EQ(session.Main()->edTagger->Text(), L"C:\\Tools\\mp4box.exe");
  EXPECT_NE(LogText(session.Main()).find("Tagger found : mp4box.exe"), std::string::npos);
}

TEST_F(ProgramStartup, ADamagedSettingsFileStartsWithDefaultsAndTheLogSaysSo) {
  std::string garbage = "\x00\xff\xfe[Ma\x01in\r\n";
  for (int i = 0; i < 300; ++i) garbage += static_cast<char>(i * 7);
  WriteSettingsBytes(garbage);
  {
    TProgramSession session;
    session.Show();
    TMainForm* m = session.Main();
    EXPECT_TRUE(m->chOutputLog->Checked());
    EXPECT_TRUE(m->chWarningAVC->Checked());
    EXPECT_EQ(m->cbLang->ItemIndex(), 1);
    EXPECT_NE(LogText(m).find("Kavo.cfg could not be read"), std::string::npos) << LogText(m);
    // The English texts are there: the language was applied.
    EXPECT_EQ(m->btAbort->Caption(), L"&Abort");
  }
  // Written again, whole, at exit.
  const TSettingsReadResult saved = ReadSettingsFile(ProgramFile(L"Kavo.cfg"), TProgramSettings{});
  EXPECT_TRUE(saved.Problems.empty());

  WriteSettingsBytes("[Main]\r\nLang=9\r\nPriority=banana\r\n");
  TProgramSession session;
  session.Show();
  EXPECT_EQ(session.Main()->cbLang->ItemIndex(), 1);
  EXPECT_EQ(session.Main()->cbPriority->ItemIndex(), 3);
  const std::string log = LogText(session.Main());
  EXPECT_NE(log.find("the value of Lang could not be read"), std::string::npos) << log;
  EXPECT_NE(log.find("the value of Priority could not be read"), std::string::npos) << log;
}

TEST_F(ProgramStartup, SettingsAreSavedAtExitWhateverTheLogRuleMeets) {
  {
    TProgramSession session;
    session.Show();
    TMainForm* m = session.Main();
    // A tagging job's mode with no row of the tag list selected: no file to put the log
    // beside, and nothing may stop the settings from being written.
    m->FJobs->State().SetMode(TJobMode::Tag);
    m->chKeepSys->SetChecked(true);
  }
  const TSettingsReadResult saved = ReadSettingsFile(ProgramFile(L"Kavo.cfg"), TProgramSettings{});
  EXPECT_TRUE(saved.Settings.KeepAll);
}

TEST_F(ProgramStartup, ThePercentSignOfATranslationIsText) {
  // A language file whose texts hold format directives.
  const WideString english = ProgramFile(L"lang\\English.ini");
  {
    HANDLE f = CreateFileW(english.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    const std::string text =
        "[MainForm]\r\nMsgStarted=100% %s %n %d started\r\nMsgMP4BoxFound=%s%s%s found\r\n"
        "Kavoclosed=%n closed\r\nMSgOSType=OS %x:\r\nMsgTaggerMissing=%%\r\n"
        "[ProcessPage]\r\nbtAbort=&Abort 50%\r\n";
    DWORD n = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
    CloseHandle(f);
  }
  {
    TProgramSession session;
    session.Show();
    TMainForm* m = session.Main();
    const std::string log = LogText(m);
    EXPECT_NE(log.find("Kavo 2.0.0.8 100% %s %n %d started !!!"), std::string::npos) << log;
    EXPECT_NE(log.find("%s%s%s found "), std::string::npos) << log;
    EXPECT_NE(log.find("] : %%"), std::string::npos) << log;
    EXPECT_EQ(m->btAbort->Caption(), L"&Abort 50%");
    EXPECT_EQ(NamedTexts().Kavoclosed, L"%n closed");
    m->chFlat->SetChecked(true);
  }
  const TSettingsReadResult saved = ReadSettingsFile(ProgramFile(L"Kavo.cfg"), TProgramSettings{});
  EXPECT_TRUE(saved.Settings.Flat);
  InstallLanguageFiles();
}

}  // namespace

namespace {

TEST_F(ProgramStartup, TheLogIsSavedWhereTheSettingsSayWithTheClosingLineOnlyAtExit) {
  const WideString log = ProgramFile(L"Kavo.log");
  DeleteFileW(log.c_str());
  {
    TProgramSession session;
    session.Show();
    TMainForm* m = session.Main();
    m->chOutputLog->SetChecked(false);  // neither box: nothing is written
    m->chKavoLog->SetChecked(false);
    EXPECT_FALSE(m->chKavoLog->Checked() && m->chOutputLog->Checked());
    m->chKavoLog->SetChecked(true);  // the program's folder
    // What "View Log File..." saves: the log so far, no closing line, the same each time.
    m->SaveRunLog(false);
    const std::string first = ReadFileBytes(log);
    m->SaveRunLog(false);
    EXPECT_EQ(ReadFileBytes(log), first);
    EXPECT_NE(first.find("started !!!\r\n"), std::string::npos) << first;
    EXPECT_EQ(first.find("closed."), std::string::npos) << first;
  }
  const std::string last = ReadFileBytes(log);
  const std::string closing = "] : Kavo 2.0.0.8 closed.\r\n";
  ASSERT_GE(last.size(), closing.size());
  EXPECT_EQ(last.substr(last.size() - closing.size()), closing) << last;
  DeleteFileW(log.c_str());
}

}  // namespace

namespace {

TEST_F(ProgramStartup, SettingsOrALogThatCannotBeWrittenAreToldAndLogged) {
  const WideString settings = ProgramFile(L"Kavo.cfg"), log = ProgramFile(L"Kavo.log");
  // A folder in a file's place: the file cannot be written, by any user.
  struct Case {
    const char* What;
    WideString Blocked;
    WideString Told;
  };
  for (const Case& c : {Case{"the settings", settings, SettingsNotWrittenText(settings)},
                        Case{"the log", log, LogNotWrittenText(log)}}) {
    SCOPED_TRACE(c.What);
    DeleteFileW(log.c_str());
    DeleteFileW(c.Blocked.c_str());
    ASSERT_TRUE(CreateDirectoryW(c.Blocked.c_str(), nullptr));
    explorer_test::TDialogAnswers answers;
    {
      TProgramSession session;
      session.Show();
      session.Main()->chKavoLog->SetChecked(true);  // the log goes beside the program
    }
    RemoveDirectoryW(c.Blocked.c_str());
    ASSERT_EQ(answers.WideTexts().size(), 1u);
    EXPECT_EQ(answers.WideTexts()[0], c.Told);
    // Settings that were not written are in the log that was.
    if (c.Blocked == settings) EXPECT_NE(ReadFileBytes(log).find(WideToAnsi(c.Told)), std::string::npos);
  }
  DeleteFileW(log.c_str());
  RemoveSettingsFile();
}

}  // namespace

namespace {

// What the next file dialog shows: the folder the program opened it in and the name in its
// file-name box; the dialog is then cancelled.
struct TShownLogDialog {
  std::wstring Folder, FileName;
  bool Shown = false;
};

void CancelNextLogDialog(TShownLogDialog& Shown) {
  WhileModal([&Shown] {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindVisibleDialog, reinterpret_cast<LPARAM>(&dialog));
    HWND edit = nullptr;
    if (dialog) EnumChildWindows(dialog, &FindVisibleEdit, reinterpret_cast<LPARAM>(&edit));
    if (!edit) return false;
    wchar_t name[MAX_PATH] = {};
    GetWindowTextW(edit, name, MAX_PATH);
    Shown = {MainForm->OpenDialog->InitialDir(), name, true};
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
  });
}

TEST_F(ProgramStartup, ALogTheOutputFolderCannotTakeGoesToKavosFolderAndViewOpensThere) {
  const WideString own = ProgramFile(L"Kavo.log");
  DeleteFileW(own.c_str());
  wchar_t tempPath[MAX_PATH];
  GetTempPathW(MAX_PATH, tempPath);
  const WideString out = WideString(tempPath) + L"kavo-blocked-log\\";
  CreateDirectoryW(out.c_str(), nullptr);
  // A folder in the log's place: no user can write the log there.
  CreateDirectoryW((out + L"Kavo.log").c_str(), nullptr);
  {
    TProgramSession session;
    session.Show();
    TMainForm* m = session.Main();
    ASSERT_TRUE(m->chOutputLog->Checked());
    m->edMP4Output->SetText(out + L"new.mp4");
    m->FJobs->State().MuxMode = true;  // a mux job ran
    EXPECT_EQ(m->SaveRunLog(false), own);
    EXPECT_NE(ReadFileBytes(own).find(WideToAnsi(LogMovedText(out + L"Kavo.log", own))), std::string::npos);

    // "View Log File..." opens its dialog where the log now is, on the log.
    TShownLogDialog shown;
    CancelNextLogDialog(shown);
    m->ViewLogFile1Click(nullptr);
    ASSERT_TRUE(shown.Shown);
    EXPECT_EQ(WideLowerCase(shown.Folder + L"\\"), WideLowerCase(TMainForm::ProgramFolder()));
    EXPECT_EQ(shown.FileName, L"Kavo.log");
    // Where the log can go, the dialog opens there.
    RemoveDirectoryW((out + L"Kavo.log").c_str());
    TShownLogDialog second;
    CancelNextLogDialog(second);
    m->ViewLogFile1Click(nullptr);
    EXPECT_EQ(WideLowerCase(second.Folder + L"\\"), WideLowerCase(out));
    EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesW((out + L"Kavo.log").c_str()) != INVALID_FILE_ATTRIBUTES; }, 100));
    m->chOutputLog->SetChecked(false);
    m->chKavoLog->SetChecked(false);
  }
  DeleteFileW((out + L"Kavo.log").c_str());
  RemoveDirectoryW(out.c_str());
  DeleteFileW(own.c_str());
}

}  // namespace
