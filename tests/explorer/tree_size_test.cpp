// Folder tree sizes over real folders: exact sums, links back into the tree, Wine's Z:
// drive, and the report's number texts.
#include <gtest/gtest.h>

#include "explorer/tree_size.h"
#include "tests/explorer/explorer_temp_tree.h"

namespace {

bool Exists(const WideString& Path) { return GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Waits for a condition another process brings about (the Unix side under Wine).
template <class F>
bool WaitFor(F Cond, DWORD TimeoutMs = 10000) {
  DWORD start = GetTickCount();
  while (!Cond()) {
    if (GetTickCount() - start > TimeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

TEST(FolderTreeSize, SumsEveryFileOfTheTreeExactly) {
  TTempTree tree;
  EXPECT_EQ(FolderTreeSize(tree.Root()), TTempTree::kTotalBytes);
  // Without the trailing backslash the same.
  WideString bare = tree.Root().substr(0, tree.Root().size() - 1);
  EXPECT_EQ(FolderTreeSize(bare), TTempTree::kTotalBytes);
  EXPECT_EQ(FolderTreeSize(tree.Path(GreekFolder())), 1000 + 2345);
  EXPECT_EQ(FolderTreeSize(tree.Path(GreekFolder() + L"\\" + JapaneseFolder() + L"\\")), 2345);
  EXPECT_EQ(FolderTreeSize(tree.Path(L"plain\\empty")), 0);
  EXPECT_EQ(FolderTreeSize(tree.Path(L"missing")), 0);
  EXPECT_EQ(FolderTreeSize(L""), 0);
}

TEST(FolderTreeSize, FilesAbove4GBCountWithTheirWholeSize) {
  TTempTree tree;
  // A sparse file: the size is real, the disk blocks are not.
  HANDLE h = CreateFileW(tree.Path(L"plain\\big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 5LL * 1024 * 1024 * 1024 + 3;
  ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(h));
  CloseHandle(h);
  EXPECT_EQ(FolderTreeSize(tree.Root()), TTempTree::kTotalBytes + static_cast<double>(size.QuadPart));
  DeleteFileW(tree.Path(L"plain\\big.bin").c_str());
}

TEST(FolderTreeSize, SymbolicLinksBackIntoTheTreeAreNotFollowed) {
  TTempTree tree;
  std::string unixRoot = UnixPathOf(tree.Root());
  if (unixRoot.empty()) GTEST_SKIP() << "needs Wine's Unix side";
  if (unixRoot.back() != '/') unixRoot += '/';
  // A link to the tree's own root deep inside it, and one to the folder above it.
  WideString link1 = tree.Path(GreekFolder() + L"\\" + JapaneseFolder() + L"\\loop");
  WideString link2 = tree.Path(L"plain\\up");
  ASSERT_TRUE(StartUnixProgram(L"Z:\\bin\\ln", {"-s", unixRoot, unixRoot + "plain/up"}));
  std::string deep = UnixPathOf(link1);
  ASSERT_TRUE(StartUnixProgram(L"Z:\\bin\\ln", {"-s", unixRoot, deep}));
  ASSERT_TRUE(WaitFor([&] { return Exists(link1) && Exists(link2); })) << "links were not made";
  // The loop is real: Windows paths run through it.
  EXPECT_TRUE(Exists(link1 + L"\\plain\\up\\root.txt"));

  EXPECT_EQ(FolderTreeSize(tree.Root()), TTempTree::kTotalBytes);

  StartUnixProgram(L"Z:\\bin\\rm", {"-f", deep, unixRoot + "plain/up"});
  ASSERT_TRUE(WaitFor([&] { return !Exists(link1) && !Exists(link2); }));
}

TEST(FolderTreeSize, WinesProcFolderEndsInBoundedTime) {
  // /proc/self/root is the whole Unix tree again, with /proc inside it.
  if (!Exists(L"Z:\\proc\\self\\root")) GTEST_SKIP() << "needs Wine's Z: drive";
  DWORD start = GetTickCount();
  double size = FolderTreeSize(L"Z:\\proc\\self\\");
  EXPECT_GT(size, 0);
  EXPECT_LT(GetTickCount() - start, 120000u);
}

WideString Sep(LCTYPE Type) {
  wchar_t buf[8] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, Type, buf, 8);
  return buf;
}

TEST(TreeSizeReport, SizeTextsFollowTheLocaleAndTheKBToMBStep) {
  const WideString dec = Sep(LOCALE_SDECIMAL), th = Sep(LOCALE_STHOUSAND);
  struct Case {
    double total;
    WideString size;
  } cases[] = {
      {0, L"0" + dec + L"00 KB"},
      {1, L"1" + dec + L"00 KB"},
      {500, L"1" + dec + L"00 KB"},  // under 1 KB but not empty
      {1024, L"1" + dec + L"00 KB"},
      {1536, L"1" + dec + L"50 KB"},
      {99999.0 * 1024, L"99" + th + L"999" + dec + L"00 KB"},
      {100000.0 * 1024, L"97" + dec + L"66 MB"},
      {5.0 * 1024 * 1024 * 1024, L"5" + th + L"120" + dec + L"00 MB"},
  };
  for (const auto& c : cases) EXPECT_EQ(TreeSizeText(c.total), c.size) << c.total;
  EXPECT_EQ(FormatThousands(1234567, 0), L"1" + th + L"234" + th + L"567");
  EXPECT_EQ(FormatThousands(999, 0), L"999");
}

TEST(TreeSizeReport, TheBoxTextHasTitleLabelBytesAndSize) {
  const WideString dec = Sep(LOCALE_SDECIMAL), th = Sep(LOCALE_STHOUSAND);
  TTreeSizeTexts texts{L"TREE SIZE", L"and all its Sub-Folders "};
  WideString label = L"Folder \"" + GreekFolder() + L"\"";
  EXPECT_EQ(TreeSizeReport(texts, label, 3852),
            L"===== TREE SIZE =====\r\r" + label + L"\rand all its Sub-Folders \r =  3" + th +
                L"852 Bytes\r     (i.e. 3" + dec + L"76 KB )");
}

}  // namespace
