// The settings file "Kavo.cfg": the fourteen keys written and read back, the defaults of
// missing keys, and damaged files, which start the program with what can be read.
#include <gtest/gtest.h>

#include <string>

#include "app/settings/settings_file.h"

namespace {

WideString TempFile(const wchar_t* Name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return WideString(folder) + Name;
}

void WriteBytes(const WideString& File, const std::string& Bytes) {
  HANDLE f = CreateFileW(File.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  WriteFile(f, Bytes.data(), static_cast<DWORD>(Bytes.size()), &n, nullptr);
  CloseHandle(f);
}

std::string ReadBytes(const WideString& File) {
  std::string bytes;
  HANDLE f = CreateFileW(File.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(f);
  return bytes;
}

TProgramSettings Every(bool Flag, int Lang, int Priority, const WideString& Path) {
  TProgramSettings s;
  s.MP4BoxPath = Path + L"MP4Box.exe";
  s.TempPath = Path;
  s.TaggerPath = Path + L"AtomicParsley.exe";
  s.SaveLogApp = Flag;
  s.SaveLogOut = !Flag;
  s.ModernStyleList = Flag;
  s.Lang = Lang;
  s.Priority = Priority;
  s.OverwriteOutput = Flag;
  s.KeepAll = !Flag;
  s.Flat = Flag;
  s.UseItasTagger = !Flag;
  s.Verbose = Flag;
  s.RaiseWarning4AVC = !Flag;
  return s;
}

TEST(SettingsFile, EveryKeyComesBackAsItWasWritten) {
  const WideString file = TempFile(L"kavo_roundtrip.cfg");
  const TProgramSettings cases[] = {
      Every(true, 0, 0, L"C:\\Tools\\"),
      Every(false, 2, 5, L"D:\\Vid\u00e9os et musique\\"),
      Every(true, 1, 3, L""),
  };
  for (const TProgramSettings& written : cases) {
    DeleteFileW(file.c_str());
    WriteSettingsFile(file, written);
    const TSettingsReadResult read = ReadSettingsFile(file, TProgramSettings{});
    EXPECT_EQ(read.Settings, written) << WideToAnsi(written.TempPath);
    EXPECT_TRUE(read.Problems.empty());
  }
}

TEST(SettingsFile, KeysAreWrittenInFileOrderAndOtherKeysStay) {
  const WideString file = TempFile(L"kavo_order.cfg");
  WriteBytes(file, "[Main]\r\nMine=kept\r\n[Other]\r\nA=1\r\n");
  WriteSettingsFile(file, Every(true, 2, 4, L"C:\\T\\"));
  const std::string text = ReadBytes(file);
  size_t at = 0;
  for (const char* key : kSettingsKeys) {
    const size_t next = text.find(std::string(key) + "=", at);
    ASSERT_NE(next, std::string::npos) << key;
    at = next;
  }
  EXPECT_NE(text.find("SaveLogApp=1"), std::string::npos);
  EXPECT_NE(text.find("SaveLogOut=0"), std::string::npos);
  EXPECT_NE(text.find("Lang=2"), std::string::npos);
  EXPECT_NE(text.find("Mine=kept"), std::string::npos);
  EXPECT_NE(text.find("[Other]\r\nA=1"), std::string::npos);
}

TEST(SettingsFile, MissingKeysTakeTheirKindsDefault) {
  const WideString file = TempFile(L"kavo_missing.cfg");
  WriteBytes(file, "[Main]\r\nVerbose=7\r\nSaveLogOut=0\r\n");
  TProgramSettings current = Every(true, 2, 1, L"C:\\Current\\");
  const TSettingsReadResult read = ReadSettingsFile(file, current);
  // Paths and list indexes keep the current values, Booleans fall to false; any number
  // but 0 is true.
  EXPECT_EQ(read.Settings.MP4BoxPath, current.MP4BoxPath);
  EXPECT_EQ(read.Settings.TempPath, current.TempPath);
  EXPECT_EQ(read.Settings.Lang, 2);
  EXPECT_EQ(read.Settings.Priority, 1);
  EXPECT_TRUE(read.Settings.Verbose);
  EXPECT_FALSE(read.Settings.SaveLogApp);
  EXPECT_FALSE(read.Settings.RaiseWarning4AVC);
  EXPECT_FALSE(read.Settings.Flat);
  EXPECT_TRUE(read.Problems.empty());
}

TEST(SettingsFile, DamagedFilesKeepTheDefaultsOfWhatCannotBeRead) {
  const WideString file = TempFile(L"kavo_damaged.cfg");
  const TProgramSettings current = Every(true, 1, 3, L"C:\\Current\\");
  struct Case {
    const char* Name;
    std::string Bytes;
    size_t Problems;
    std::function<void(const TProgramSettings&)> Check;
  };
  std::string garbage;
  for (int i = 0; i < 600; ++i) garbage += static_cast<char>((i * 37 + 11) % 256);
  const Case cases[] = {
      {"binary garbage", garbage, 1, [&](const TProgramSettings& s) { EXPECT_EQ(s, current); }},
      {"no Main section", "[Other]\r\nSaveLogApp=1\r\n", 1, [&](const TProgramSettings& s) { EXPECT_EQ(s, current); }},
      {"absurd indexes", "[Main]\r\nLang=70000\r\nPriority=-4\r\nVerbose=1\r\n", 2,
       [&](const TProgramSettings& s) {
         EXPECT_EQ(s.Lang, 1);
         EXPECT_EQ(s.Priority, 3);
         EXPECT_TRUE(s.Verbose);
       }},
      {"numbers that are none", "[Main]\r\nLang=two\r\nFlat=yes\r\nKeepAll=99999999999999\r\nVerbose=0x1\r\n", 3,
       [&](const TProgramSettings& s) {
         EXPECT_EQ(s.Lang, 1);
         EXPECT_FALSE(s.Flat);
         EXPECT_FALSE(s.KeepAll);
         EXPECT_TRUE(s.Verbose);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteBytes(file, c.Bytes);
    const TSettingsReadResult read = ReadSettingsFile(file, current);
    c.Check(read.Settings);
    EXPECT_EQ(read.Problems.size(), c.Problems);
  }
}

TEST(SettingsFile, ALineWithoutANameCostsOnlyItself) {
  const WideString file = TempFile(L"kavo_badline.cfg");
  const TProgramSettings mine = Every(false, 2, 5, L"D:\\Mine\\");
  WriteSettingsFile(file, mine);
  const std::string good = ReadBytes(file);
  const size_t body = good.find("\r\n") + 2;  // after "[Main]"
  const size_t middle = good.find("Lang=");
  for (const char* bad : {"==", "=x"}) {
    for (size_t at : {body, middle, good.size()}) {
      SCOPED_TRACE(std::string(bad) + " at " + std::to_string(at));
      std::string damaged = good;
      damaged.insert(at, std::string(bad) + "\r\n");
      WriteBytes(file, damaged);
      const TSettingsReadResult read = ReadSettingsFile(file, TProgramSettings{});
      EXPECT_EQ(read.Settings, mine);
      EXPECT_TRUE(read.Problems.empty());
      // What is written back at exit is the user's again, and reads back the same.
      WriteSettingsFile(file, read.Settings);
      EXPECT_EQ(ReadSettingsFile(file, TProgramSettings{}).Settings, mine);
    }
  }
}

TEST(SettingsFile, TheTemporaryFolderGetsItsSeparatorUnlessItIsARoot) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"C:\\Temp", L"C:\\Temp\\"},
      {L"D:\\", L"D:\\"},
      {L"\\\\server\\share", L"\\\\server\\share"},
      {L"E:\\Vid\u00e9os\\Clips", L"E:\\Vid\u00e9os\\Clips\\"},
  };
  for (const auto& [chosen, expected] : cases) EXPECT_EQ(TempFolderSetting(chosen), expected);
}

}  // namespace
