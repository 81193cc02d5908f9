#include <gtest/gtest.h>

#include "desktop/class_registration.h"
#include "desktop/extra_colour_names.h"
#include "desktop/registry_routines.h"
#include "desktop/system_version.h"
#include "desktop/utility_routines.h"
#include "desktop/window_routines.h"
#include "tests/support/pump.h"
#include "vcl/streaming.h"
#include "vcl/utilwnd.h"

namespace {

TEST(DesktopStrings, ReplaceAllContinuesAfterTheInsertedText) {
  struct Case {
    const char *text, *from, *to, *expected;
  } cases[] = {
      {"dd/mm/yyyy", "dd", "d", "d/mm/yyyy"},
      {"aaa", "a", "aa", "aaaaaa"},
      {"a--b--c", "--", "-", "a-b-c"},
      {"abc", "", "x", "abc"},
      {"abc", "z", "x", "abc"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplaceAll(c.text, c.from, c.to), c.expected) << c.text;
}

TEST(DesktopStrings, PositionsCountFromOne) {
  EXPECT_EQ(PosFrom("b", "abcb", 1), 2);
  EXPECT_EQ(PosFrom("b", "abcb", 3), 4);
  EXPECT_EQ(PosFrom("cb", "abcb", 4), 0);  // too little room left
  EXPECT_EQ(PosFrom("b", "abcb", 0), 0);
  EXPECT_EQ(LastPos("b", "abcb"), 4);
  EXPECT_EQ(LastPos("b", "abcb", 3), 2);
  EXPECT_EQ(LastPos("x", "abcb"), 0);
  AnsiString s = "one two";
  ReplaceAt(s, 5, "two", "2");
  EXPECT_EQ(s, "one 2");
  EXPECT_EQ(KeepChars("a1-b2.c3", "0123456789"), "123");
  ReplaceChar(s, ' ', '_');
  EXPECT_EQ(s, "one_2");
}

TEST(DesktopStrings, SplitAndShellLists) {
  TStringList lines;
  SplitToStrings("a|b|c", "|", &lines);
  ASSERT_EQ(lines.Count(), 3);
  EXPECT_EQ(lines.Strings(2), "c");
  SplitToStrings("a<>b", "<>", &lines);
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Strings(1), "b");
  EXPECT_EQ(JoinForShell("C:\\a.txt\x07" "C:\\b.txt", '\x07'), AnsiString("C:\\a.txt\0C:\\b.txt\0\0", 19));
}

TEST(DesktopPaths, NamesFoldersAndAbsolutePaths) {
  EXPECT_EQ(PathFileName("C:\\in\\clip.avi"), "clip.avi");
  EXPECT_EQ(PathFileName("C:clip.avi"), "clip.avi");
  EXPECT_EQ(PathFolder("C:\\in/sub\\clip.avi"), "C:\\in/sub\\");
  EXPECT_EQ(FileNameWithoutExt("C:\\in.d\\clip.x.avi"), "clip.x");
  EXPECT_EQ(FileNameWithoutExt("C:\\in.d\\clip"), "clip");
  EXPECT_EQ(ReduceDoubleBackslashes("C:\\\\\\a\\\\b"), "C:\\a\\b");
  EXPECT_EQ(AbsolutePath("sub\\a.txt", "C:\\base"), "C:\\base\\sub\\a.txt");
  EXPECT_EQ(AbsolutePath("\\sub\\a.txt", "C:\\base\\"), "C:\\base\\sub\\a.txt");
  EXPECT_EQ(AbsolutePath("D:\\x\\a.txt", "C:\\base"), "D:\\x\\a.txt");
  EXPECT_EQ(AbsolutePath("\\\\server\\share\\a.txt", "C:\\base"), "\\\\server\\share\\a.txt");
  const AnsiString system = SystemFolder();
  ASSERT_FALSE(system.empty());
  EXPECT_EQ(system.back(), '\\');
}

TEST(DesktopPaths, WildcardDestinations) {
  struct Case {
    const char *pattern, *expected;
  } cases[] = {
      {"D:\\out\\*.mp4", "D:\\out\\clip.mp4"},
      {"new.*", "C:\\in\\new.avi"},
      {"new", "C:\\in\\new.avi"},
      {"D:\\out\\*.*", "D:\\out\\clip.avi"},
      {"D:\\out\\c?ip.mkv", "D:\\out\\clip.mkv"},
      {"D:\\out\\other.mkv", "D:\\out\\other.mkv"},
      {"   ", "C:\\in\\clip.avi"},
  };
  for (const Case& c : cases) EXPECT_EQ(WildcardDestination("C:\\in\\clip.avi", c.pattern), c.expected) << c.pattern;
}

TEST(DesktopPaths, CreatableFileNames) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const AnsiString fresh = AnsiString(temp) + "kavo_creatable_probe.tmp";
  DeleteFileA(fresh.c_str());
  EXPECT_FALSE(IsCreatableFileName(""));
  EXPECT_TRUE(IsCreatableFileName(fresh));
  EXPECT_EQ(GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES) << "the trial file stays behind";
  EXPECT_FALSE(IsCreatableFileName(AnsiString(temp) + "kavo_no_such_folder\\a.txt"));
  EXPECT_FALSE(IsCreatableFileName(temp));  // a folder is no file
  // The program itself exists; its log file name lies beside it.
  const AnsiString program = ProgramFolder() + FileNameWithoutExt(LogFileName()) + ".exe";
  EXPECT_EQ(PathExtension(LogFileName()), ".log");
  EXPECT_TRUE(IsCreatableFileName(program)) << program;
}

TEST(DesktopRectangles, AlignRectPlacesTheSourceSize) {
  const RECT source{0, 0, 10, 5}, bounds{100, 200, 121, 210};
  struct Case {
    TAlignment h;
    TTextLayout v;
    RECT expected;
  } cases[] = {
      {taLeftJustify, tlTop, {100, 200, 110, 205}},
      {taCenter, tlCenter, {105, 202, 115, 207}},
      {taRightJustify, tlBottom, {111, 205, 121, 210}},
  };
  for (const Case& c : cases) {
    RECT r = AlignRect(source, bounds, c.h, c.v);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
  // A source wider than the bounds centres with truncation toward zero.
  RECT wide = AlignRect(RECT{0, 0, 25, 5}, RECT{0, 0, 10, 5}, taCenter, tlTop);
  EXPECT_EQ(wide.left, -7);
}

TEST(DesktopVersion, EveryReportGivesItsKind) {
  const DWORD w9x = VER_PLATFORM_WIN32_WINDOWS, nt = VER_PLATFORM_WIN32_NT;
  struct Case {
    DWORD platform, major, minor;
    const char* service;
    TdkWindowsKind kind;
  } cases[] = {
      {w9x, 4, 0, "", wkWin95},      {w9x, 4, 0, " B ", wkWin95OSR2}, {w9x, 4, 0, "C", wkWin95},
      {w9x, 4, 10, "", wkWin98},     {w9x, 4, 10, " A ", wkWin98SE},  {w9x, 4, 90, "", wkWinME},
      {w9x, 4, 50, "", wkOther},     {nt, 3, 51, "", wkWinNT3},       {nt, 4, 0, "Service Pack 6", wkWinNT4},
      {nt, 5, 0, "", wkWin2000},     {nt, 5, 1, "Service Pack 3", wkWinXP}, {nt, 5, 2, "", wkWinNTLater},
      {nt, 5, 3, "", wkOther},       {nt, 6, 1, "Service Pack 1", wkOther}, {0, 3, 10, "", wkOther},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DetectWindowsKind(c.platform, c.major, c.minor, c.service), c.kind)
        << c.platform << " " << c.major << "." << c.minor << " '" << c.service << "'";
}

TEST(DesktopVersion, FlagsFollowTheKind) {
  const TdkVersionFlags xp = VersionFlagsOf(VER_PLATFORM_WIN32_NT, 5, 1, "");
  EXPECT_TRUE(xp.IsWinXP && xp.IsWinNT && !xp.IsWin9x);
  EXPECT_TRUE(xp.IsWin98OrLater && xp.IsWin2000OrLater && xp.IsWinXPOrLater);
  const TdkVersionFlags w2k = VersionFlagsOf(VER_PLATFORM_WIN32_NT, 5, 0, "");
  EXPECT_TRUE(w2k.IsWin2000 && w2k.IsWin2K && w2k.IsWin2000OrLater && !w2k.IsWinXPOrLater && !w2k.IsWinXP);
  const TdkVersionFlags nt4 = VersionFlagsOf(VER_PLATFORM_WIN32_NT, 4, 0, "");
  EXPECT_TRUE(nt4.IsWinNT4 && !nt4.IsWin98OrLater && !nt4.IsWin2000OrLater);
  const TdkVersionFlags me = VersionFlagsOf(VER_PLATFORM_WIN32_WINDOWS, 4, 90, "");
  EXPECT_TRUE(me.IsWinME && me.IsWin9x && me.IsWin98OrLater && !me.IsWin2000OrLater);
  const TdkVersionFlags osr2 = VersionFlagsOf(VER_PLATFORM_WIN32_WINDOWS, 4, 0, "B");
  EXPECT_TRUE(osr2.IsWin95OSR2 && !osr2.IsWin95 && !osr2.IsWin98OrLater);
  // A system newer than the table counts as later than all of it.
  const TdkVersionFlags seven = VersionFlagsOf(VER_PLATFORM_WIN32_NT, 6, 1, "Service Pack 1");
  EXPECT_EQ(seven.Kind, wkOther);
  EXPECT_TRUE(seven.IsWin98OrLater && seven.IsWin2000OrLater && seven.IsWinXPOrLater && seven.IsWinNT);
  EXPECT_TRUE(SystemVersion().IsWinNT);
  EXPECT_NE(SetLayeredWindowAttributesProc(), nullptr);
}

TEST(DesktopColourNames, ExtraNamesComeBeforeTheStandardOnes) {
  RegisterExtraColourNames();
  TColor c = 0;
  ASSERT_TRUE(IdentToColor("clBrown", c));
  EXPECT_EQ(c, 0x003090);
  ASSERT_TRUE(IdentToColor("CLLAVENDER", c));
  EXPECT_EQ(c, 0xFF98C0);
  AnsiString name;
  ASSERT_TRUE(ColorToIdent(0xFFC890, name));
  EXPECT_EQ(name, "clPaleBlue");
  ASSERT_TRUE(IdentToColor("clBtnFace", c));  // the standard names still answer
  EXPECT_EQ(c, clBtnFace);
  EXPECT_EQ(ExtraColourNames().size(), 21u);
  UnregisterExtraColourNames();
  EXPECT_FALSE(IdentToColor("clBrown", c));
  RegisterExtraColourNames();
  EXPECT_TRUE(IdentToColor("clBrown", c));
}

TEST(DesktopClassRegistration, AClassOfARegisteredNameIsSkipped) {
  RegisterDesktopClass(TComponent::StaticClass());
  static const TMetaClass impostor{"TComponent", TPersistent::StaticClass(), nullptr, nullptr, nullptr};
  EXPECT_NO_THROW(RegisterDesktopClasses({&impostor}));
  EXPECT_EQ(GetClass("TComponent"), TComponent::StaticClass());
}

// The auto-run keys and the writer of their values, tried under a key of the test's own.
class DesktopRegistry : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "Software\\KavoTests\\DesktopRegistry";
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KavoTests"); }
};

TEST_F(DesktopRegistry, AutoRunKeysByKind) {
  struct Case {
    TdkAutoExecKind kind;
    HKEY root;
    const char* last;
  } cases[] = {
      {aekMachineRun, HKEY_LOCAL_MACHINE, "Run"},       {aekMachineRunOnce, HKEY_LOCAL_MACHINE, "RunOnce"},
      {aekUserRun, HKEY_CURRENT_USER, "Run"},           {aekUserRunOnce, HKEY_CURRENT_USER, "RunOnce"},
      {aekServiceRun, HKEY_LOCAL_MACHINE, "RunServices"}, {aekServiceRunOnce, HKEY_LOCAL_MACHINE, "RunServicesOnce"},
  };
  for (const Case& c : cases) {
    TdkAutoRunKey key = AutoRunKey(c.kind);
    EXPECT_EQ(key.Root, c.root);
    EXPECT_EQ(key.Path, AnsiString("Software\\Microsoft\\Windows\\CurrentVersion\\") + c.last);
  }
}

TEST_F(DesktopRegistry, ValuesWithPercentSignsAreExpandable) {
  TRegistry reg;
  OpenRegistryKey(reg, HKEY_CURRENT_USER, kKey);
  WriteRegistryString(reg, "Plain", "C:\\kavo.exe");
  WriteRegistryString(reg, "Expand", "%SystemRoot%\\kavo.exe");
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExA(reg.CurrentKey(), "Plain", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  ASSERT_EQ(RegQueryValueExA(reg.CurrentKey(), "Expand", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(reg.ReadString("Expand"), "%SystemRoot%\\kavo.exe");

  TRegistry readOnly(KEY_READ);
  try {
    OpenRegistryKey(readOnly, HKEY_CURRENT_USER, "Software\\KavoTests\\<no such key>\\sub");
    // Wine may create it after all; then there is nothing to report.
  } catch (const ERegistryException& e) {
    EXPECT_STREQ(e.what(), "Unable to open the Software\\KavoTests\\<no such key>\\sub key");
  }
}

TEST_F(DesktopRegistry, AnArmedNotificationSeesAValueChange) {
  TRegistry reg;
  OpenRegistryKey(reg, HKEY_CURRENT_USER, kKey);
  TdkRegistryNotification n;
  HANDLE event = ArmRegistryNotification(n, reg.CurrentKey(), false, REG_NOTIFY_CHANGE_LAST_SET);
  ASSERT_NE(event, INVALID_HANDLE_VALUE);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  reg.WriteString("Changed", "1");
  EXPECT_EQ(WaitForSingleObject(event, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  RearmRegistryNotification(n);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  reg.WriteString("Changed", "2");
  EXPECT_EQ(WaitForSingleObject(event, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseValidHandle(n.Event);
  EXPECT_EQ(n.Event, INVALID_HANDLE_VALUE);
  CloseValidHandle(n.Event);  // an invalid handle is left alone
  RearmRegistryNotification(n);
}

TEST(DesktopWindows, PreviousInstanceIsAnotherApplicationWindowOfTheSameTitle) {
  InitApplication();
  Application->SetTitle("Kavo instance probe");
  EXPECT_EQ(FindPreviousInstance(), nullptr);
  HWND other = CreateHandlerWindow("TApplication", "Kavo instance probe", WS_POPUP, 0,
                                   [](HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); });
  HWND stranger = CreateHandlerWindow("TApplication", "Another program", WS_POPUP, 0,
                                      [](HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); });
  EXPECT_EQ(FindPreviousInstance(), other);
  EXPECT_TRUE(ActivatePreviousInstance());
  DestroyHandlerWindow(other);
  DestroyHandlerWindow(stranger);
  EXPECT_FALSE(ActivatePreviousInstance());
}

TEST(DesktopWindows, ColourFillsAndShellIcons) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 10, 10);
  HGDIOBJ old = SelectObject(dc, bitmap);
  FillRectColour(dc, RECT{0, 0, 10, 10}, clBtnFace);
  FrameRectColour(dc, RECT{0, 0, 10, 10}, 0x0000FF);
  EXPECT_EQ(GetPixel(dc, 5, 5), ColorToRGB(clBtnFace));
  EXPECT_EQ(GetPixel(dc, 0, 5), RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);

  TIcon large, small;
  ASSERT_TRUE(LoadShellIcon(3, &large, &small));
  EXPECT_FALSE(large.Empty());
  EXPECT_FALSE(small.Empty());
}

}  // namespace
