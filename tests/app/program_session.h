// The program started whole inside a test: an application object, the three forms read from
// their descriptions, the main window shown (its start-up runs), and at the end the forms
// freed (its shut-down runs). The files the program reads beside itself (the settings file,
// the language files) are those beside the test program, set up by the test.
#pragma once

#include <gtest/gtest.h>
#include <objbase.h>

#include <fstream>
#include <string>

#include "app/forms/custom_val.h"
#include "app/forms/main_form.h"
#include "app/forms/prop_form.h"
#include "app/pages/program.h"
#include "tests/support/pump.h"
#include "vcl/application.h"
#include "widetext/uni_application.h"

namespace apptest {

// The folder of this source file's tree as the program sees it (Z: maps the Linux root).
// A compiler cache may hand the compiler this file's name relative to the build folder,
// where the build ran; the test program lives two folders below it (tests/app).
inline WideString SourceRoot() {
  std::string file = __FILE__;  // .../tests/app/program_session.h
  file = file.substr(0, file.rfind("/tests/app/"));
  WideString root;
  if (file.empty() || file[0] != '/') {
    wchar_t exe[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    root = WideString(exe, n);
    root = root.substr(0, root.find_last_of(L'\\') + 1) + L"..\\..\\";
  } else {
    root = L"Z:";
  }
  for (char c : file) root += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return root + L"\\";
}

inline WideString ProgramFile(const WideString& Name) { return TMainForm::ProgramFolder() + Name; }

inline void RemoveSettingsFile() { DeleteFileW(ProgramFile(L"Kavo.cfg").c_str()); }

// Writes Kavo.cfg beside the program with exactly these bytes.
inline void WriteSettingsBytes(const std::string& Bytes) {
  HANDLE f = CreateFileW(ProgramFile(L"Kavo.cfg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(f, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr);
  CloseHandle(f);
}

inline std::string ReadFileBytes(const WideString& Name) {
  std::string bytes;
  HANDLE f = CreateFileW(Name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(f);
  return bytes;
}

// Puts the shipped language files (or none) beside the program.
inline void InstallLanguageFiles(bool Install = true) {
  const WideString target = ProgramFile(L"lang\\");
  CreateDirectoryW(target.c_str(), nullptr);
  for (const wchar_t* name : {L"English.ini", L"Fran\u00e7ais.ini", L"Castellano.ini"}) {
    DeleteFileW((target + name).c_str());
    if (Install) CopyFileW((SourceRoot() + L"lang\\" + name).c_str(), (target + name).c_str(), FALSE);
  }
}

class TProgramSession {
 public:
  // Creates the application and the three forms; Show() runs the start-up.
  TProgramSession() {
    CoInitialize(nullptr);
    new TApplication(nullptr, TApplication::TNoHandle{});
    InitWideApplication();
    Application->CreateHandle();
    CreateProgramForms();
  }
  ~TProgramSession() { End(); }

  TMainForm* Main() const { return MainForm; }

  void Show() {
    MainForm->Show();
    PumpUntil([] { return false; }, 50);
  }

  // Frees the forms (the shut-down runs) and the application.
  void End() {
    if (!Application) return;
    DoneWideApplication();
    delete Application;
    CoUninitialize();
  }
};

}  // namespace apptest
