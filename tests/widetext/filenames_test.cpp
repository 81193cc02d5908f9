#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ansi_platform.h"
#include "temp_folder.h"
#include "widetext/filenames.h"

namespace {

TEST(FileNameParts, SplitAtTheLastDelimiter) {
  const struct {
    const wchar_t* name;
    const wchar_t* path;
    const wchar_t* file;
    const wchar_t* ext;
  } cases[] = {
      {L"C:\\dir\\file.txt", L"C:\\dir\\", L"file.txt", L".txt"},
      {L"C:\\dir.v2\\file", L"C:\\dir.v2\\", L"file", L""},
      {L"C:file.txt", L"C:", L"file.txt", L".txt"},
      {L"file", L"", L"file", L""},
      {L"a.b.c", L"", L"a.b.c", L".c"},
      {L".hidden", L"", L".hidden", L".hidden"},
      {L"C:\\dir\\", L"C:\\dir\\", L"", L""},
      {L"\\\\server\\share\\v\u00EDdeo.mp4", L"\\\\server\\share\\", L"v\u00EDdeo.mp4", L".mp4"},
      {L"D:\\\u03B1\u03B2\\\u65E5\u672C.\u8A9E", L"D:\\\u03B1\u03B2\\", L"\u65E5\u672C.\u8A9E", L".\u8A9E"},
      {L"", L"", L"", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(WideString(c.name)));
    EXPECT_EQ(WideExtractFilePath(c.name), c.path);
    EXPECT_EQ(WideExtractFileName(c.name), c.file);
    EXPECT_EQ(WideExtractFileExt(c.name), c.ext);
  }
}

TEST(FileNameParts, ChangeTheExtension) {
  const struct {
    const wchar_t* name;
    const wchar_t* ext;
    const wchar_t* result;
  } cases[] = {
      {L"C:\\dir.v2\\file", L".mp4", L"C:\\dir.v2\\file.mp4"},
      {L"a.b.c", L".d", L"a.b.d"},
      {L"movie.avi", L"", L"movie"},
      {L"C:\\x\\movie.avi", L".h264", L"C:\\x\\movie.h264"},
      {L".hidden", L".txt", L".txt"},
      {L"C:name", L".srt", L"C:name.srt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(WideString(c.name)));
    EXPECT_EQ(WideChangeFileExt(c.name, c.ext), c.result);
  }
}

TEST(FileNameParts, DelimiterTests) {
  EXPECT_EQ(WideLastDelimiter(L"\\:", L"C:\\a\\b"), 5u);
  EXPECT_EQ(WideLastDelimiter(L"\\:", L"abc"), 0u);
  EXPECT_EQ(WideLastDelimiter(L".", WideString(L"a.b\0c", 5)), 2u);  // the zero is no delimiter
  EXPECT_TRUE(WideIsPathDelimiter(L"a\\b", 2));
  EXPECT_FALSE(WideIsPathDelimiter(L"a\\b", 1));
  EXPECT_FALSE(WideIsPathDelimiter(L"a\\", 0));
  EXPECT_FALSE(WideIsPathDelimiter(L"a\\", 3));
  EXPECT_TRUE(WideIsDelimiter(L":.", L"a.b", 2));
  EXPECT_FALSE(WideIsDelimiter(L":.", L"a.b", 4));
  EXPECT_FALSE(WideIsDelimiter(L":.", L"a.b", 0));
}

// --- real files, through both paths ----------------------------------------------

class WideFiles : public testing::TestWithParam<bool> {
 protected:
  bool Ansi() const { return GetParam(); }
  // Names of both paths: characters of the ANSI code page (1252 under Wine)...
  std::vector<WideString> NamesBothPathsHold() const {
    return {L"plain name.txt", L"caf\u00E9 \u00BD.mp4", L"no extension"};
  }
  // ...and Greek and Japanese, which only the W path carries.
  std::vector<WideString> NamesOutsideTheCodePage() const {
    return {L"\u03B1\u03B2\u03B3.txt", L"\u65E5\u672C\u8A9E \u5B57\u5E55.srt", L"mixed caf\u00E9 \u03A9.m4a"};
  }

  AnsiPlatformScope path_{GetParam()};
  TempFolder folder_;
};

TEST_P(WideFiles, CreateFindOpenAndDelete) {
  std::vector<WideString> names = NamesBothPathsHold();
  if (!Ansi())
    for (const auto& n : NamesOutsideTheCodePage()) names.push_back(n);
  for (const auto& name : names) {
    SCOPED_TRACE(testing::PrintToString(name));
    const WideString path = folder_ / name;
    const HANDLE created = WideFileCreate(path);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(created, "data", 4, &written, nullptr);
    // Created without sharing: nobody else opens it meanwhile.
    EXPECT_EQ(WideFileOpen(path, 0x40 /* deny none */), INVALID_HANDLE_VALUE);
    CloseHandle(created);
    // The file really carries the wide name.
    EXPECT_TRUE(TempFolder::Exists(path));

    EXPECT_TRUE(WideFileExists(path));
    EXPECT_EQ(WideFileGetAttr(path) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    WIN32_FIND_DATAW found{};
    const HANDLE search = Uni_FindFirstFileW(path.c_str(), found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_EQ(WideString(found.cFileName), name);
    EXPECT_EQ(found.nFileSizeLow, 4u);
    EXPECT_NE(found.ftLastWriteTime.dwLowDateTime | found.ftLastWriteTime.dwHighDateTime, 0u);

    const HANDLE reader = WideFileOpen(path, 0x20 /* read, deny write */);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    char data[8] = {};
    DWORD read = 0;
    ReadFile(reader, data, sizeof data, &read, nullptr);
    EXPECT_EQ(std::string(data, read), "data");
    // Another reader may share it; a writer may not.
    const HANDLE second = WideFileOpen(path, 0x20);
    EXPECT_NE(second, INVALID_HANDLE_VALUE);
    CloseHandle(second);
    EXPECT_EQ(WideFileOpen(path, 0x41 /* write, deny none */), INVALID_HANDLE_VALUE);
    CloseHandle(reader);

    EXPECT_TRUE(WideDeleteFile(path));
    EXPECT_FALSE(TempFolder::Exists(path));
    EXPECT_FALSE(WideFileExists(path));
    EXPECT_FALSE(WideDeleteFile(path));
    EXPECT_EQ(WideFileGetAttr(path), INVALID_FILE_ATTRIBUTES);
  }
}

TEST_P(WideFiles, ExistsOnlyForAFileOfExactlyThatName) {
  ASSERT_TRUE(TempFolder::MakeFile(folder_ / L"a.txt"));
  ASSERT_TRUE(TempFolder::MakeFile(folder_ / L"ab.txt"));
  ASSERT_TRUE(CreateDirectoryW((folder_ / L"sub").c_str(), nullptr));
  EXPECT_TRUE(WideFileExists(folder_ / L"a.txt"));
  EXPECT_FALSE(WideFileExists(folder_ / L"sub"));  // a folder
  // Typed "*" and "?" are no wildcards, though files would match them.
  for (const wchar_t* typed : {L"*.txt", L"?.txt", L"a?.txt", L"a*", L"*"}) {
    SCOPED_TRACE(testing::PrintToString(WideString(typed)));
    EXPECT_FALSE(WideFileExists(folder_ / typed));
  }
  EXPECT_FALSE(WideFileExists(L""));
}

TEST_P(WideFiles, OpenModes) {
  const WideString path = folder_ / L"modes.bin";
  ASSERT_TRUE(TempFolder::MakeFile(path, "0123"));
  const HANDLE writer = WideFileOpen(path, 1 /* write only */);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  char byte;
  DWORD n = 0;
  EXPECT_FALSE(ReadFile(writer, &byte, 1, &n, nullptr));
  CloseHandle(writer);
  // Modes outside the tables open nothing.
  EXPECT_EQ(WideFileOpen(path, 3), INVALID_HANDLE_VALUE);
  EXPECT_EQ(WideFileOpen(path, 0x50), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(WideFileOpen(folder_ / L"missing.bin", 0), INVALID_HANDLE_VALUE);
}

TEST_P(WideFiles, ExpandAndShortenPaths) {
  const WideString name = Ansi() ? L"caf\u00E9 long name.txt" : L"\u03B1\u03B2\u03B3 long name.txt";
  const WideString path = folder_ / name;
  ASSERT_TRUE(TempFolder::MakeFile(path));
  EXPECT_EQ(WideExpandFileName(folder_ / (L"x\\..\\" + name)), path);

  wchar_t expected[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(path.c_str(), expected, MAX_PATH), 0u);
  EXPECT_EQ(WideExtractShortPathName(path), expected);
  EXPECT_EQ(WideExtractShortPathName(folder_ / L"missing.txt"), L"");
}

INSTANTIATE_TEST_SUITE_P(, WideFiles, testing::Bool(), PathName);

class AnsiPathFiles : public testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(AnsiPathFiles, NamesOutsideTheCodePageReachNoOtherFile) {
  // Files whose names a best-fit or wildcard reading of "alpha.txt" would hit.
  ASSERT_TRUE(TempFolder::MakeFile(folder_ / L"a.txt"));
  ASSERT_TRUE(TempFolder::MakeFile(folder_ / L"b.txt"));
  const WideString greek = folder_ / L"\u03B1.txt";
  AnsiPlatformScope ansi;
  EXPECT_FALSE(WideFileExists(greek));
  WIN32_FIND_DATAW found{};
  EXPECT_EQ(Uni_FindFirstFileW(greek.c_str(), found), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(WideFileOpen(greek, 0), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WideDeleteFile(greek));
  EXPECT_EQ(WideFileCreate(greek), INVALID_HANDLE_VALUE);
  EXPECT_TRUE(TempFolder::Exists(folder_ / L"a.txt"));
  EXPECT_TRUE(TempFolder::Exists(folder_ / L"b.txt"));
  // Wildcards the caller means are still wildcards to the wrapper itself.
  const HANDLE search = Uni_FindFirstFileW((folder_ / L"?.txt").c_str(), found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
}

TEST_F(AnsiPathFiles, FindDataKeepsTheRecordAndShortName) {
  const WideString path = folder_ / L"a long file name.text";
  ASSERT_TRUE(TempFolder::MakeFile(path, "12345"));
  WIN32_FIND_DATAW wide{};
  const HANDLE w = FindFirstFileW(path.c_str(), &wide);
  ASSERT_NE(w, INVALID_HANDLE_VALUE);
  FindClose(w);
  AnsiPlatformScope ansi;
  WIN32_FIND_DATAW viaA;
  std::memset(&viaA, 0xCC, sizeof viaA);
  const HANDLE a = Uni_FindFirstFileW(path.c_str(), viaA);
  ASSERT_NE(a, INVALID_HANDLE_VALUE);
  FindClose(a);
  EXPECT_EQ(viaA.dwFileAttributes, wide.dwFileAttributes);
  EXPECT_EQ(viaA.nFileSizeLow, 5u);
  EXPECT_EQ(viaA.ftLastWriteTime.dwLowDateTime, wide.ftLastWriteTime.dwLowDateTime);
  EXPECT_EQ(viaA.ftCreationTime.dwHighDateTime, wide.ftCreationTime.dwHighDateTime);
  EXPECT_STREQ(viaA.cFileName, L"a long file name.text");
  EXPECT_STREQ(viaA.cAlternateFileName, wide.cAlternateFileName);
}

// Results beyond the 260 characters the routines reserve are fetched again.
TEST(LongPaths, ExpandAndShortenBeyondTheFixedBuffer) {
  TempFolder folder;
  WideString path = folder.Path();
  while (path.size() < 300) {
    path += L"\\dir12345";  // 8.3 already: the short path is as long as the path
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << path.size();
  }
  const WideString file = path + L"\\f.txt";
  ASSERT_TRUE(TempFolder::MakeFile(file));
  ASSERT_GT(file.size(), static_cast<size_t>(MAX_PATH));

  EXPECT_EQ(WideExpandFileName(path + L"\\.\\f.txt"), file);
  const WideString shortName = WideExtractShortPathName(file);
  EXPECT_GT(shortName.size(), static_cast<size_t>(MAX_PATH));
  EXPECT_EQ(WideExtractFileName(shortName), L"f.txt");
  EXPECT_TRUE(WideFileExists(shortName));
}

TEST(Win32Check, RaisesTheLastSystemError) {
  EXPECT_EQ(Uni_Win32Check(TRUE), TRUE);
  SetLastError(ERROR_ACCESS_DENIED);
  try {
    Uni_Win32Check(FALSE);
    ADD_FAILURE() << "no exception";
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  }
}

}  // namespace
