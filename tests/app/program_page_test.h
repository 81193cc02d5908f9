// The fixture of the page tests: the program started as a user starts it (the shipped language
// files, no settings file), a temporary folder holding copies of test media, and the stand-in
// tools recording every command line they get into argv.log in that folder.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "app/forms/main_form.h"
#include "tests/app/media_test_support.h"
#include "tests/app/program_session.h"
#include "tests/widetext/temp_folder.h"

namespace apptest {

class TProgramPageTest : public ::testing::Test {
 protected:
  // Copies Media (names in the test media folder) into the temporary folder and starts the
  // program with the stand-in MP4Box as its MP4Box. Skips the test without test media (the
  // caller's SetUp then returns on IsSkipped()).
  void StartProgram(std::initializer_list<const wchar_t*> Media) {
    media = TestMediaFolder();
    if (media.empty()) GTEST_SKIP() << "KAVO_TEST_MEDIA is not set (scripts/test sets it)";
    RemoveSettingsFile();
    InstallLanguageFiles();
    folder = temp.Path() + L"\\";
    for (const wchar_t* name : Media) CopyFileW((media + name).c_str(), (folder + name).c_str(), FALSE);
    argvLog = folder + L"argv.log";
    SetEnvironmentVariableW(L"KAVO_TOOL_LOG", argvLog.c_str());
    session = std::make_unique<TProgramSession>();
    session->Show();
    m = MainForm;
    m->edMP4Box->SetText(TMainForm::ProgramFolder() + L"MP4Box.exe");
  }

  // The program closed, and the stand-in tools back to their plain behaviour.
  void TearDown() override {
    session.reset();
    for (const wchar_t* name : {L"KAVO_TOOL_LOG", L"KAVO_MP4BOX_FAIL", L"KAVO_MP4BOX_PRINT", L"KAVO_MP4BOX_STALL",
                                L"KAVO_MP4BOX_INFO_DELAY"})
      SetEnvironmentVariableW(name, nullptr);
    RemoveSettingsFile();
  }

  TempFolder temp;
  WideString media;
  std::wstring folder, argvLog;
  std::unique_ptr<TProgramSession> session;
  TMainForm* m = nullptr;
};

}  // namespace apptest
