#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

#include "ansi_platform.h"
#include "temp_folder.h"
#include "vcl/vclres.h"
#include "widetext/platform.h"

namespace {

// Pumps messages until done() holds or the time-out passes.
template <typename Condition>
bool WaitFor(Condition done, DWORD timeoutMs = 15000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

TEST(PlatformFlags, FollowTheReportedVersion) {
  const struct {
    DWORD platform, major, minor;
    bool unicode, xp, server2003, vista;
  } cases[] = {
      {VER_PLATFORM_WIN32_WINDOWS, 4, 90, false, false, false, false},  // Windows Me
      {VER_PLATFORM_WIN32_NT, 5, 0, true, false, false, false},
      {VER_PLATFORM_WIN32_NT, 5, 1, true, true, false, false},
      {VER_PLATFORM_WIN32_NT, 5, 2, true, true, true, false},
      {VER_PLATFORM_WIN32_NT, 6, 0, true, true, true, true},
      {VER_PLATFORM_WIN32_NT, 10, 0, true, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.platform << " " << c.major << "." << c.minor);
    InitPlatformFlags({c.platform, c.major, c.minor});
    EXPECT_EQ(UnicodePlatform, c.unicode);
    EXPECT_EQ(PlatformIsXPOrLater, c.xp);
    EXPECT_EQ(PlatformIs2003OrLater, c.server2003);
    EXPECT_EQ(PlatformIsVistaOrLater, c.vista);
  }
  InitPlatformFlags(ReadPlatformVersion());
  // What the program started with: Wine reports the NT family.
  EXPECT_TRUE(UnicodePlatform);
  EXPECT_TRUE(PlatformIsXPOrLater);
  EXPECT_EQ(ReadPlatformVersion().PlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
}

class BothPaths : public testing::TestWithParam<bool> {
 protected:
  bool Ansi() const { return GetParam(); }
  AnsiPlatformScope path_{GetParam()};
};

// --- window text ---------------------------------------------------------------

class WindowText : public BothPaths {};

TEST_P(WindowText, ReachesTheWindow) {
  HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  wchar_t got[64];
  ASSERT_TRUE(Uni_SetWindowTextW(wnd, L"caf\u00E9 \u00BD"));
  GetWindowTextW(wnd, got, 64);
  EXPECT_STREQ(got, L"caf\u00E9 \u00BD");

  ASSERT_TRUE(Uni_SetWindowTextW(wnd, L"\u03B1\u03B2 \u65E5\u672C"));
  GetWindowTextW(wnd, got, 64);
  // Outside the code page the A path can only hand on the default character.
  EXPECT_STREQ(got, Ansi() ? L"?? ??" : L"\u03B1\u03B2 \u65E5\u672C");
  DestroyWindow(wnd);
}

INSTANTIATE_TEST_SUITE_P(, WindowText, testing::Bool(), PathName);

// --- case mapping --------------------------------------------------------------

class CaseMapping : public BothPaths {};

WideChar UpperChar(WideChar c) {
  return static_cast<WideChar>(reinterpret_cast<uintptr_t>(Uni_CharUpperW(reinterpret_cast<WideChar*>(c))));
}
WideChar LowerChar(WideChar c) {
  return static_cast<WideChar>(reinterpret_cast<uintptr_t>(Uni_CharLowerW(reinterpret_cast<WideChar*>(c))));
}

TEST_P(CaseMapping, SingleCharacters) {
  const struct {
    WideChar lower, upper;
    bool inCodePage;
  } cases[] = {
      {L'a', L'A', true},         {L'z', L'Z', true},           {L'\u00E9', L'\u00C9', true},
      {L'\u03B1', L'\u0391', false}, {L'\u0436', L'\u0416', false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.lower));
    const bool mapped = !Ansi() || c.inCodePage;
    EXPECT_EQ(UpperChar(c.lower), mapped ? c.upper : c.lower);
    EXPECT_EQ(LowerChar(c.upper), mapped ? c.lower : c.upper);
  }
  EXPECT_EQ(UpperChar(L'1'), L'1');
  EXPECT_EQ(UpperChar(L'\u65E5'), L'\u65E5');
}

TEST_P(CaseMapping, TextsInPlace) {
  wchar_t text[] = L"abc \u00E9 \u03B1!";
  EXPECT_EQ(Uni_CharUpperW(text), text);
  EXPECT_STREQ(text, Ansi() ? L"ABC \u00C9 \u03B1!" : L"ABC \u00C9 \u0391!");

  // A counted buffer: the zero inside is a character like any other, and nothing
  // past Length changes.
  wchar_t buffer[] = {L'A', 0, L'\u00C9', L'B', 0};
  EXPECT_EQ(Uni_CharLowerBuffW(buffer, 3), 3u);
  EXPECT_EQ(WideString(buffer, 4), WideString(L"a\0\u00E9B", 4));
  EXPECT_EQ(Uni_CharUpperBuffW(buffer, 4), 4u);
  EXPECT_EQ(WideString(buffer, 4), WideString(L"A\0\u00C9B", 4));
}

INSTANTIATE_TEST_SUITE_P(, CaseMapping, testing::Bool(), PathName);

// --- character types -------------------------------------------------------------

class StringTypes : public BothPaths {};

TEST_P(StringTypes, OneEntryPerCharacter) {
  const wchar_t text[] = L"a B1 .\u00E9";
  WORD types[8];
  const WORD sentinel = 0xBEEF;
  std::fill(std::begin(types), std::end(types), sentinel);
  ASSERT_TRUE(Uni_GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, text, 7, types));
  EXPECT_TRUE(types[0] & C1_LOWER);
  EXPECT_TRUE(types[1] & C1_SPACE);
  EXPECT_TRUE(types[2] & C1_UPPER);
  EXPECT_TRUE(types[3] & C1_DIGIT);
  EXPECT_TRUE(types[5] & C1_PUNCT);
  EXPECT_TRUE(types[6] & C1_ALPHA);
  EXPECT_EQ(types[7], sentinel);

  // -1: up to and with the terminator, and no further.
  std::fill(std::begin(types), std::end(types), sentinel);
  ASSERT_TRUE(Uni_GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, L"ab", -1, types));
  EXPECT_TRUE(types[1] & C1_LOWER);
  EXPECT_EQ(types[3], sentinel);
}

INSTANTIATE_TEST_SUITE_P(, StringTypes, testing::Bool(), PathName);

// --- drawing text ----------------------------------------------------------------

class DrawingText : public BothPaths {};

TEST_P(DrawingText, MeasuresTheCountedCharacters) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  auto measure = [&](const wchar_t* text, int count) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text, count, &r, DT_CALCRECT | DT_SINGLELINE);
    return r.right;
  };
  RECT r{0, 0, 0, 0};
  const int height = Uni_DrawTextW(dc, L"abcdef", 3, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_GT(height, 0);
  EXPECT_EQ(r.right, measure(L"abc", -1));

  r = {0, 0, 0, 0};
  Uni_DrawTextW(dc, L"Wide text", -1, &r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.right, measure(L"Wide text", -1));

  wchar_t text[] = L"Wide text";
  DRAWTEXTPARAMS params{sizeof(params), 4, 0, 0, 0};
  r = {0, 0, 0, 0};
  EXPECT_GT(Uni_DrawTextExW(dc, text, -1, &r, DT_CALCRECT | DT_SINGLELINE, &params), 0);
  EXPECT_EQ(r.right, measure(L"Wide text", -1));
  EXPECT_EQ(params.uiLengthDrawn, 9u);
  DeleteDC(dc);
}

INSTANTIATE_TEST_SUITE_P(, DrawingText, testing::Bool(), PathName);

// --- string resources (widetext_tests.rc) ----------------------------------------

class StringResources : public BothPaths {};

TEST_P(StringResources, ReadTheStringTable) {
  const HINSTANCE self = GetModuleHandleW(nullptr);
  wchar_t buffer[64];
  // Identifier 17: block 2, past one string.
  EXPECT_EQ(Uni_LoadStringW(self, 17, buffer, 64), 13);
  EXPECT_STREQ(buffer, L"second string");
  EXPECT_EQ(Uni_LoadStringW(self, 16, buffer, 64), 5);
  EXPECT_STREQ(buffer, L"first");
  EXPECT_EQ(Uni_LoadStringW(self, 18, buffer, 64), 11);
  EXPECT_STREQ(buffer, L"\u03B1\u03B2\u03B3 \u65E5\u672C caf\u00E9");
  // Cut to the buffer, terminator included.
  EXPECT_EQ(Uni_LoadStringW(self, 17, buffer, 7), 6);
  EXPECT_STREQ(buffer, L"second");
  // Missing strings: an empty one inside the block, one outside any block.
  EXPECT_EQ(Uni_LoadStringW(self, 19, buffer, 64), 0);
  EXPECT_EQ(Uni_LoadStringW(self, 4000, buffer, 64), 0);
  // The framework's table, linked into the same program.
  EXPECT_GT(Uni_LoadStringW(self, IDS_DUPLICATE_STRING, buffer, 64), 0);
  EXPECT_STREQ(buffer, L"String list does not allow duplicates");
}

INSTANTIATE_TEST_SUITE_P(, StringResources, testing::Bool(), PathName);

TEST(StringResourcesAnsiPath, LengthQueryAndNegativeIdentifier) {
  AnsiPlatformScope ansi;
  const HINSTANCE self = GetModuleHandleW(nullptr);
  EXPECT_EQ(Uni_LoadStringW(self, 17, nullptr, 0), 13);
  wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
  EXPECT_EQ(Uni_LoadStringW(self, 17, buffer, 0), 13);
  EXPECT_EQ(buffer[0], L'x');  // nothing written
  EXPECT_EQ(Uni_LoadStringW(self, 17, buffer, 1), 0);
  EXPECT_EQ(buffer[0], L'\0');
  // An identifier given as a negative number is read as its magnitude.
  wchar_t text[32];
  EXPECT_EQ(Uni_LoadStringW(self, static_cast<UINT>(-17), text, 32), 13);
  EXPECT_STREQ(text, L"second string");
}

// --- path names --------------------------------------------------------------------

class PathNames : public BothPaths {};

TEST_P(PathNames, FullPathNameAndFilePart) {
  const WideString name = L"C:\\some folder\\..\\file name.txt";
  const WideString full = L"C:\\file name.txt";
  const DWORD n = static_cast<DWORD>(full.size());
  const struct {
    DWORD size;
    DWORD result;
    bool copied;
  } cases[] = {
      {MAX_PATH, n, true},
      {n + 1, n, true},
      {n, n + 1, false},  // exactly the length: no room for the terminator
      {3, n + 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    std::vector<wchar_t> buffer(c.size + 1, L'#');
    WideChar* filePart = reinterpret_cast<WideChar*>(1);
    EXPECT_EQ(Uni_GetFullPathNameW(name.c_str(), c.size, buffer.data(), &filePart), c.result);
    if (c.copied) {
      EXPECT_EQ(WideString(buffer.data()), full);
      EXPECT_EQ(filePart, buffer.data() + 3);
    } else if (Ansi()) {
      // The W function leaves a short buffer as it was; the A path empties it.
      EXPECT_EQ(buffer[0], L'\0');
      EXPECT_EQ(filePart, nullptr);
    }
  }
}

TEST_P(PathNames, FilePartCountsWideCharacters) {
  // "é" is one byte and one character; what counts is the character position.
  const WideString name = L"C:\\caf\u00E9 folder\\name.txt";
  wchar_t buffer[MAX_PATH];
  WideChar* filePart = nullptr;
  EXPECT_EQ(Uni_GetFullPathNameW(name.c_str(), MAX_PATH, buffer, &filePart), name.size());
  EXPECT_EQ(WideString(buffer), name);
  ASSERT_NE(filePart, nullptr);
  EXPECT_STREQ(filePart, L"name.txt");
}

TEST_P(PathNames, ShortPathName) {
  TempFolder folder;
  const WideString sub = folder / L"a rather long folder name";
  ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
  const WideString file = sub + L"\\another long file name.text";
  ASSERT_TRUE(TempFolder::MakeFile(file));
  wchar_t expected[MAX_PATH];
  const DWORD n = GetShortPathNameW(file.c_str(), expected, MAX_PATH);
  ASSERT_GT(n, 0u);

  wchar_t buffer[MAX_PATH];
  EXPECT_EQ(Uni_GetShortPathNameW(file.c_str(), buffer, MAX_PATH), n);
  EXPECT_STREQ(buffer, expected);
  EXPECT_EQ(Uni_GetShortPathNameW((folder / L"missing.txt").c_str(), buffer, MAX_PATH), 0u);
}

INSTANTIATE_TEST_SUITE_P(, PathNames, testing::Bool(), PathName);

TEST(PathNamesAnsiPath, NullBufferAsksForTheSizeOnly) {
  // A null buffer with a length that would fit: only the size needed comes back.
  AnsiPlatformScope ansi;
  const WideString name = L"C:\\some folder\\..\\file name.txt";
  const DWORD needed = static_cast<DWORD>(std::wcslen(L"C:\\file name.txt")) + 1;
  WideChar* filePart = reinterpret_cast<WideChar*>(1);
  EXPECT_EQ(Uni_GetFullPathNameW(name.c_str(), MAX_PATH, nullptr, &filePart), needed);
  TempFolder folder;
  const WideString file = folder / L"a long file name.text";
  ASSERT_TRUE(TempFolder::MakeFile(file));
  wchar_t expected[MAX_PATH];
  const DWORD n = GetShortPathNameW(file.c_str(), expected, MAX_PATH);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(Uni_GetShortPathNameW(file.c_str(), nullptr, MAX_PATH), n + 1);
}

TEST(PathNamesAnsiPath, FilePartInADoubleByteCodePage) {
  // With a double-byte code page the file part's byte offset and character
  // position differ: the two Japanese characters are four bytes in code page 932.
  AnsiPlatformScope ansi;
  const UINT saved = ConversionCodePage;
  ConversionCodePage = 932;
  const WideString name = L"C:\\\u65E5\u672C\\name.txt";
  wchar_t buffer[MAX_PATH];
  WideChar* filePart = nullptr;
  const DWORD n = Uni_GetFullPathNameW(name.c_str(), MAX_PATH, buffer, &filePart);
  ConversionCodePage = saved;
  EXPECT_EQ(n, name.size());
  EXPECT_EQ(WideString(buffer), name);
  EXPECT_EQ(filePart, buffer + 6);
}

TEST(PathNamesAnsiPath, ShortPathNameInATooSmallBuffer) {
  AnsiPlatformScope ansi;
  TempFolder folder;
  const WideString file = folder / L"long file name.txt";
  ASSERT_TRUE(TempFolder::MakeFile(file));
  wchar_t expected[MAX_PATH];
  const DWORD n = GetShortPathNameW(file.c_str(), expected, MAX_PATH);
  const WideString shortName = expected;
  const size_t lastSlash = shortName.rfind(L'\\');

  // Too small: the size needed comes back and the folders that fit are copied,
  // without a terminator.
  for (const DWORD size : {n, static_cast<DWORD>(lastSlash + 2), static_cast<DWORD>(lastSlash + 1)}) {
    SCOPED_TRACE(size);
    std::vector<wchar_t> buffer(MAX_PATH, L'#');
    EXPECT_EQ(Uni_GetShortPathNameW(file.c_str(), buffer.data(), size), n + 1);
    const size_t copied = shortName.find_last_of(L'\\', size - 2) + 1;
    EXPECT_EQ(WideString(buffer.data(), copied), shortName.substr(0, copied));
    EXPECT_EQ(buffer[copied], L'#');
  }
  // Below 4 characters nothing is written.
  wchar_t tiny[3] = {L'#', L'#', L'#'};
  EXPECT_EQ(Uni_GetShortPathNameW(file.c_str(), tiny, 3), n + 1);
  EXPECT_EQ(tiny[0], L'#');
}

// --- shell ---------------------------------------------------------------------------

class ShellExecution : public BothPaths {};

TEST_P(ShellExecution, StartsAProgramInTheGivenFolder) {
  TempFolder folder;
  // A folder name the code page holds on the A path, one it does not on the W path.
  const WideString dir = folder / (Ansi() ? L"caf\u00E9" : L"\u03B1\u03B2\u03B3");
  ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
  // Empty operation: the default verb. The marker appears in the working folder.
  const HINSTANCE result =
      Uni_ShellExecuteW(nullptr, L"", L"cmd.exe", L"/c echo done>marker.txt", dir, SW_HIDE);
  EXPECT_GT(reinterpret_cast<INT_PTR>(result), 32);
  EXPECT_TRUE(WaitFor([&] { return TempFolder::Exists(dir + L"\\marker.txt"); }));
  // The child works in the folder until it ends: the folder goes once it lets go.
  EXPECT_TRUE(WaitFor([&] {
    DeleteFileW((dir + L"\\marker.txt").c_str());
    return RemoveDirectoryW(dir.c_str()) != 0;
  }));
}

TEST_P(ShellExecution, ReportsAMissingFile) {
  TempFolder folder;
  const HINSTANCE result = Uni_ShellExecuteW(nullptr, L"open", folder / L"missing.exe", L"", L"", SW_HIDE);
  EXPECT_LE(reinterpret_cast<INT_PTR>(result), 32);
}

INSTANTIATE_TEST_SUITE_P(, ShellExecution, testing::Bool(), PathName);

// --- other operations ----------------------------------------------------------------

TEST(IntegerIdentifiers, UpperBitsDecide) {
  EXPECT_TRUE(IsIntegerIdentifier(nullptr));
  EXPECT_TRUE(IsIntegerIdentifier(MAKEINTRESOURCEW(1)));
  EXPECT_TRUE(IsIntegerIdentifier(reinterpret_cast<void*>(0xFFFF)));
  EXPECT_FALSE(IsIntegerIdentifier(reinterpret_cast<void*>(0x10000)));
  EXPECT_FALSE(IsIntegerIdentifier(reinterpret_cast<void*>(0x100000000ull)));  // pointer width
  EXPECT_FALSE(IsIntegerIdentifier(L"text"));
}

TEST(KeyCharacters, TurnIntoWideCharacters) {
  EXPECT_EQ(KeyCharToWide('a'), L'a');
  EXPECT_EQ(KeyCharToWide(0x3B1), L'\u03B1');  // already wide
  // A byte above 127 is read in the keyboard layout's code page.
  const char byte = static_cast<char>(0xE9);
  wchar_t expected = 0;
  MultiByteToWideChar(KeyboardLayoutCodePage(), MB_USEGLYPHCHARS, &byte, 1, &expected, 1);
  EXPECT_EQ(KeyCharToWide(0xE9), expected);
  EXPECT_EQ(KeyboardLayoutCodePage(), 1252u);  // Wine's US layout
  EXPECT_EQ(expected, L'\u00E9');
}

}  // namespace
