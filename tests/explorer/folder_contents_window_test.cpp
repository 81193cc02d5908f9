// The folder-contents window over a real folder with Greek and Japanese names.
#include <gtest/gtest.h>

#include <algorithm>

#include "explorer/folder_contents_window.h"
#include "tests/explorer/explorer_temp_tree.h"
#include "tests/explorer/explorer_ui.h"
#include "tests/support/pump.h"

namespace {

class FolderContents : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
  void TearDown() override {
    if (window && !released) window->Free();
  }
  // Opens the window on a folder of the tree; OK's answer lands in chosen.
  void Open(const WideString& Folder) {
    window = TFolderContentsWindow::ShowFolder(Folder, FolderContentsCaption(L"Files in ", Folder),
                                               [this](TFolderContentsWindow*, const WideString& File) {
                                                 chosen = File;
                                                 ++answers;
                                               });
    window->OnDestroy = [this](TObject*) { released = true; };
  }
  std::vector<WideString> Captions() {
    std::vector<WideString> v;
    for (int i = 0; i < window->List()->Items()->Count(); ++i) v.push_back(window->List()->Items()->Item(i)->Caption());
    std::sort(v.begin(), v.end());
    return v;
  }
  TTempTree tree;
  TFolderContentsWindow* window = nullptr;
  WideString chosen = L"(none)";
  int answers = 0;
  bool released = false;
};

TEST(FolderContentsCaption, DrivesAndFolders) {
  EXPECT_EQ(FolderContentsCaption(L"Files in ", L"C:\\"), L"Files in \" C:\\ \"");
  EXPECT_EQ(FolderContentsCaption(L"Files in ", L"C:\\Music\\" + GreekFolder() + L"\\"),
            L"Files in \" ..\\" + GreekFolder() + L" \"");
  EXPECT_EQ(FolderContentsCaption(L"Files in ", L"C:\\Music\\Rock"), L"Files in \" ..\\Rock \"");
}

TEST_F(FolderContents, ListsTheFilesOfTheFolderNotItsFolders) {
  tree.MakeFile(GreekFolder() + L"\\" + JapaneseFile(), 3);
  Open(tree.Path(GreekFolder()));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window->Handle()) != FALSE; }));
  EXPECT_EQ(window->Caption(), L"Files in \" ..\\" + GreekFolder() + L" \"");
  std::vector<WideString> expected{GreekFile(), JapaneseFile()};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Captions(), expected);  // the Japanese sub-folder is not listed
  TUniListItem* first = window->List()->Items()->Item(0);
  EXPECT_EQ(TFolderContentsWindow::ItemPath(first), tree.Path(GreekFolder() + L"\\") + first->Caption());
  EXPECT_EQ(window->List()->ItemFocused(), first);
  EXPECT_EQ(window->List()->ViewStyle(), vsList);
  EXPECT_EQ(window->BorderStyle(), bsSizeToolWin);
  EXPECT_EQ(window->List()->SmallImages()->Handle(), SystemSmallImageList());
  EXPECT_EQ(window->List()->Hint(), L"LeftClick - Select\rDblClick  - Open");
  // The list fills the client area above the 22-pixel bar, also after a resize.
  window->SetBounds(window->Left(), window->Top(), 420, 300);
  Application->ProcessMessages();
  EXPECT_EQ(window->List()->Width(), window->ClientWidth());
  EXPECT_EQ(window->List()->Height(), window->ClientHeight() - 22);
  EXPECT_EQ(window->OkButton()->Width(), 60);
  window->List()->SetItemIndex(0);
  Application->ProcessMessages();
  SaveScreenShot("folder_contents");
}

TEST_F(FolderContents, OkHandsOverTheSelectedFileAndReleasesTheWindowButNotTheSystemIcons) {
  HIMAGELIST system = SystemSmallImageList();
  int icons = ImageList_GetImageCount(system);
  Open(tree.Path(GreekFolder() + L"\\" + JapaneseFolder()));
  ASSERT_EQ(window->List()->Items()->Count(), 1);
  window->List()->SetItemIndex(0);
  SendMessageW(window->OkButton()->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return released; }));
  EXPECT_EQ(answers, 1);
  EXPECT_EQ(chosen, tree.Path(GreekFolder() + L"\\" + JapaneseFolder() + L"\\" + JapaneseFile()));
  // The system's list outlives the window that borrowed it.
  EXPECT_EQ(SystemSmallImageList(), system);
  EXPECT_GE(ImageList_GetImageCount(system), icons);
  EXPECT_GT(ImageList_GetImageCount(system), 0);
}

TEST_F(FolderContents, OkWithNothingSelectedAnswersAnEmptyPath) {
  Open(tree.Path(L"plain\\empty"));
  EXPECT_EQ(window->List()->Items()->Count(), 0);
  SendMessageW(window->OkButton()->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return released; }));
  EXPECT_EQ(chosen, L"");
}

}  // namespace
