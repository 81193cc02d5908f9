// The shell and file routines: path texts, sizes, versions, the drive check, the shell's
// file operations with their confirmation, and the messages they show.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "explorer/explorer_texts.h"
#include "explorer/shell_routines.h"
#include "explorer/shell_theme.h"
#include "tests/explorer/dialog_answers.h"
#include "tests/explorer/temp_folders.h"
#include "vcl/application.h"

using namespace explorer_test;

namespace {

TEST(ShellPathTexts, SlashesNulsAndNames) {
  struct Case {
    const char* in;
    const char* added;
    const char* removed;
  } cases[] = {{"C:", "C:\\", "C:"}, {"C:\\", "C:\\", "C:"}, {"", "", ""}, {"C:\\Music\\", "C:\\Music\\", "C:\\Music"}};
  for (const Case& c : cases) {
    EXPECT_EQ(AddSlash(AnsiString(c.in)), c.added) << c.in;
    EXPECT_EQ(RemoveSlash(AnsiString(c.in)), c.removed) << c.in;
  }
  EXPECT_EQ(AddSlash(WideString(L"C:\\Ωμέγα")), L"C:\\Ωμέγα\\");

  EXPECT_EQ(AppendNul(AnsiString("a")), AnsiString("a\0", 2));
  EXPECT_EQ(AppendNul(AnsiString("a\0", 2)), AnsiString("a\0", 2));
  EXPECT_EQ(AppendNul(AnsiString()), AnsiString());

  EXPECT_EQ(JoinPath("C:\\Music", "Rock"), "C:\\Music\\Rock");
  EXPECT_EQ(JoinPath("C:\\", "Rock"), "C:\\Rock");
  EXPECT_EQ(JoinPath("", "Rock"), "");
  EXPECT_EQ(LastCharPos('\\', "C:\\a\\b"), 5);
  EXPECT_EQ(LastCharPos('x', "C:\\a\\b"), 0);
  EXPECT_TRUE(ContainsAnyChar("\\/:*?", "a:b"));
  EXPECT_FALSE(ContainsAnyChar("\\/:*?", "ab"));
  EXPECT_EQ(FileNameNoExt("C:\\Music\\song.mp4"), "song");
  EXPECT_EQ(FileNameNoExt("C:\\Music\\readme"), "readme");
  EXPECT_EQ(ExtractFileNameOf(AnsiString("C:\\Music\\song.mp4")), "song.mp4");
}

TEST(ShellPathTexts, SizeTextCountsStartedKilobytes) {
  struct Case {
    const char* type;
    int64_t size;
    const char* text;
  } cases[] = {{"MP4", 1, "1 KB"},    {"MP4", 0, "0 KB"},    {"MP4", 1023, "1 KB"}, {"MP4", 2048, "2 KB"},
               {"MP4", 3000, "2 KB"}, {"dir", 4096, " "},    {"DIR", 0, " "},
               {"MP4", 5000000000LL, "4882812 KB"}};
  for (const Case& c : cases) EXPECT_EQ(SizeText(c.type, c.size), c.text) << c.type << " " << c.size;
}

TEST(ShellVersions, VersionsCompareAsMajorMinorPairs) {
  struct Case {
    DWORD major, minor;
    bool atLeast51;
  } cases[] = {{5, 0, false}, {5, 1, true}, {5, 2, true}, {6, 0, true}, {6, 1, true}, {10, 0, true}, {4, 90, false}};
  for (const Case& c : cases) EXPECT_EQ(IsVersionAtLeast(c.major, c.minor, 5, 1), c.atLeast51) << c.major << "." << c.minor;
  EXPECT_TRUE(IsNT51OrLater());

  int comctl = GetComCtlVersion();
  EXPECT_GT(comctl, 0x50000);
  EXPECT_EQ(GetComCtlVersion(), comctl);
  EXPECT_EQ(ThemeServicesActive(), comctl >= 0x60000 && UseThemes());
  ASSERT_TRUE(InitThemeLibrary());
  FreeThemeLibrary();
  EXPECT_TRUE(UseThemes());  // Wine themes every program
}

TEST(ShellFolders, KnownFoldersEndInASlash) {
  for (int index : {0, 8, 9}) {
    AnsiString path = GetShellFolder(index);
    ASSERT_FALSE(path.empty()) << index;
    EXPECT_EQ(path.back(), '\\') << index;
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
  }
  EXPECT_EQ(GetShellFolder(10), "");
  EXPECT_EQ(GetShellFolder(-1), "");
}

TEST(ShellDrives, DriveCheckAnswersAndTells) {
  InitApplication();
  ExplorerLanguage() = lnEnglish;
  LoadTreeTexts();
  UINT modeBefore = SetErrorMode(0);
  SetErrorMode(modeBefore);
  EXPECT_TRUE(DiskInDrive('c', true));
  EXPECT_GT(DiskSizeKB("c:\\"), 0);
  EXPECT_GE(DiskSizeKB("C:\\"), DiskFreeKB("C:\\"));

  // Not a drive letter: one message, and the answer is no.
  {
    TDialogAnswers answers;
    EXPECT_FALSE(DiskInDrive('1', false));
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_EQ(answers.Texts()[0], "Not a valid Drive ID");
  }
  // A letter with no drive behind it: the not-ready warning only when asked for.
  DWORD drives = GetLogicalDrives();
  char missing = 0;
  for (int i = 25; i >= 3 && !missing; --i)
    if (!(drives & (1u << i))) missing = static_cast<char>('A' + i);
  ASSERT_TRUE(missing);
  {
    TDialogAnswers answers;
    EXPECT_FALSE(DiskInDrive(missing, false));
    EXPECT_TRUE(answers.Texts().empty());
    EXPECT_FALSE(DiskInDrive(missing, true));
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_EQ(answers.Texts()[0], "There is no disk in Drive or Drive is not ready");
    EXPECT_EQ(answers.Captions[0], "Warning");
  }
  EXPECT_EQ(SetErrorMode(modeBefore), modeBefore);
}

TEST(ShellMessages, MissingFilesAndExistingNamesAreTold) {
  InitApplication();
  ExplorerLanguage() = lnEnglish;
  LoadTreeTexts();
  TTempFolder temp;
  AnsiString missing = Narrow(temp.Sub(L"missing.kvx"));
  {
    TDialogAnswers answers;
    EXPECT_LE(ExecuteFile("Open", missing, "", "", SW_SHOW), 32);
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_EQ(answers.Texts()[0], "ERROR - Can't Open file " + missing);
  }
  AnsiString folder = Narrow(temp.MakeFolder(L"Taken"));
  {
    TDialogAnswers answers;
    EXPECT_TRUE(FileExistsMsg(folder + "\\"));
    EXPECT_FALSE(FileExistsMsg(missing));
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_EQ(answers.Texts()[0], "\"Taken\" already exists !");
  }
}

TEST(ShellFileOperations, CopyRenameAndADeleteTheUserMayRefuse) {
  InitApplication();
  TTempFolder temp;
  std::wstring source = temp.MakeFolder(L"Ωμέγα");
  temp.MakeFile(L"Ωμέγα\\a.txt");
  std::wstring target = temp.MakeFolder(L"target");

  EXPECT_TRUE(DoFileOperation(nullptr, FO_COPY, WideString(source), false, WideString(target)));
  EXPECT_TRUE(Exists(target + L"\\Ωμέγα\\a.txt"));
  EXPECT_TRUE(DoFileOperation(nullptr, FO_RENAME, WideString(target + L"\\Ωμέγα"), false,
                              WideString(target + L"\\日本語")));
  EXPECT_TRUE(Exists(target + L"\\日本語\\a.txt"));

  AnsiString plain = Narrow(temp.MakeFolder(L"plain"));
  EXPECT_TRUE(DoFileOperation(nullptr, FO_RENAME, plain, false, plain + "2"));
  EXPECT_TRUE(Exists(temp.Sub(L"plain2")));

  // A delete goes through the shell's confirmation: No keeps the folder, Yes bins it.
  {
    TSystemBoxAnswer no(IDNO);
    EXPECT_FALSE(DoFileOperation(nullptr, FO_DELETE, WideString(source), false, WideString()));
    EXPECT_TRUE(no.Answered());
  }
  EXPECT_TRUE(Exists(source));
  {
    TSystemBoxAnswer yes(IDYES);
    EXPECT_TRUE(DoFileOperation(nullptr, FO_DELETE, WideString(source), false, WideString()));
    EXPECT_TRUE(yes.Answered());
  }
  EXPECT_FALSE(Exists(source));
}

}  // namespace
