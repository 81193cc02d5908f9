// The folder tree's commands on its selection, in a real tree over a temporary folder tree
// with Greek and Japanese names.
#include <gtest/gtest.h>

#include <memory>

#include "explorer/explorer_state.h"
#include "explorer/folder_commands.h"
#include "explorer/folder_contents_window.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/shell_routines.h"
#include "explorer/tree_size.h"
#include "tests/explorer/dialog_answers.h"
#include "vcl/scopeexit.h"
#include "tests/explorer/explorer_temp_tree.h"
#include "tests/explorer/explorer_ui.h"
#include "tests/support/forms.h"
#include "tests/support/pump.h"

using explorer_test::TDialogAnswers;

namespace {

bool Exists(const WideString& Path) { return GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TFolderContentsWindow* ShownContentsWindow() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* w = dynamic_cast<TFolderContentsWindow*>(Screen->Forms(i))) return w;
  return nullptr;
}

class DirTreeCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBounds(30, 30, 360, 420);
    dirTree = new TShDirTree(form.get());
    dirTree->SetParent(form.get());
    dirTree->SetBounds(0, 0, 340, 380);
    dirTree->SetFolderType(FileTypeOf({ftReadOnly, ftSystem, ftDirectory, ftArchive, ftNormal}));
    form->Show();
    dirTree->RebuildTree();
    Application->ProcessMessages();
    ExplorerShared().CutCopyMode = kCopyMode;
  }
  // Opens the tree on a folder of the temporary tree; false when it did not get there.
  bool Open(const WideString& Relative) {
    dirTree->OpenPathW(tree.Path(Relative));
    return dirTree->Selected() && static_cast<TUniTreeNode*>(dirTree->Selected())->Text() ==
                                      Relative.substr(Relative.find_last_of(L'\\') + 1);
  }
  WideString SelectedText() {
    auto* node = static_cast<TUniTreeNode*>(dirTree->Selected());
    return node ? node->Text() : L"(none)";
  }
  TTempTree tree;
  std::unique_ptr<TForm, FormFree> form;
  TShDirTree* dirTree = nullptr;
};

TEST_F(DirTreeCommands, CopyThenPasteCopiesTheSelectedFolderAndCanPasteItAgain) {
  ASSERT_TRUE(Open(GreekFolder()));
  dirTree->CutOrCopyFolder(kCopyMode);
  EXPECT_TRUE(dirTree->PastePending());
  EXPECT_EQ(ExplorerShared().CutCopyMode, kCopyMode);
  ASSERT_TRUE(Open(L"plain"));
  dirTree->PasteFolder();
  EXPECT_FALSE(dirTree->PastePending());
  EXPECT_TRUE(Exists(tree.Path(L"plain\\" + GreekFolder() + L"\\" + JapaneseFolder() + L"\\" + JapaneseFile())));
  EXPECT_TRUE(Exists(tree.Path(GreekFolder())));
  // The tree was rebuilt and opened on the target, which now shows the copy.
  EXPECT_EQ(SelectedText(), L"plain");
  dirTree->Selected()->Expand(false);
  bool listed = false;
  for (TTreeNode* n = dirTree->Selected()->getFirstChild(); n; n = n->GetNextSibling())
    listed = listed || static_cast<TUniTreeNode*>(n)->Text() == GreekFolder();
  EXPECT_TRUE(listed);
  // Ctrl+V pastes the same source again.
  ASSERT_TRUE(Open(L"plain\\empty"));
  dirTree->PasteFolder();
  EXPECT_TRUE(Exists(tree.Path(L"plain\\empty\\" + GreekFolder() + L"\\" + GreekFile())));
}

TEST_F(DirTreeCommands, CutThenPasteMovesTheFolder) {
  ASSERT_TRUE(Open(L"plain\\empty"));
  dirTree->CutOrCopyFolder(kMoveMode);
  EXPECT_EQ(ExplorerShared().CutCopyMode, kMoveMode);
  ASSERT_TRUE(Open(GreekFolder() + L"\\" + JapaneseFolder()));
  dirTree->PasteFolder();
  EXPECT_FALSE(Exists(tree.Path(L"plain\\empty")));
  EXPECT_TRUE(Exists(tree.Path(GreekFolder() + L"\\" + JapaneseFolder() + L"\\empty")));
}

TEST_F(DirTreeCommands, NothingIsPastedWithoutACutOrCopy) {
  ASSERT_TRUE(Open(L"plain"));
  // A cut or copy without a selected folder leaves nothing to paste.
  dirTree->SetSelected(nullptr);
  dirTree->CutOrCopyFolder(kCopyMode);
  EXPECT_EQ(ExplorerShared().CutCopyMode, kNoCutCopy);
  EXPECT_FALSE(dirTree->PastePending());
  dirTree->SetSourcePath(tree.Path(GreekFolder()));
  ASSERT_TRUE(Open(L"plain"));
  dirTree->PasteFolder();
  EXPECT_FALSE(Exists(tree.Path(L"plain\\" + GreekFolder())));
}

// Ctrl+Key as the tree receives it from the keyboard.
static void PressCtrlKey(TShDirTree* Tree, WORD Key) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(Tree->Handle(), WM_KEYUP, Key, 0xC0000001);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
}

TEST_F(DirTreeCommands, DriveRootsAndTheRootAreNeitherCutCopiedNorPastedInto) {
  // The shell reads a bare "C:" as the drive's current directory: make that a folder that must
  // stay where it is.
  wchar_t saved[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, saved);
  ScopeExit restore{[&saved] { SetCurrentDirectoryW(saved); }};
  ASSERT_TRUE(SetCurrentDirectoryW(tree.Path(GreekFolder()).c_str()));
  ASSERT_TRUE(Open(L"plain"));
  TTreeNode* drive = dirTree->Selected();
  while (drive->Level() > 1) drive = drive->Parent();
  dirTree->SetSelected(drive);
  dirTree->SetSelectedPathW(dirTree->BuildNodePath(drive));
  for (WORD key : {'C', 'X'}) {
    SCOPED_TRACE(static_cast<char>(key));
    PressCtrlKey(dirTree, key);
    EXPECT_EQ(ExplorerShared().CutCopyMode, kNoCutCopy);
    EXPECT_FALSE(dirTree->PastePending());
  }
  {
    TDialogAnswers answers;
    EXPECT_FALSE(PasteFolderInto(L"C:\\", tree.Path(L"plain\\empty"), kMoveMode));
    EXPECT_EQ(answers.Texts().size(), 1u);
  }
  EXPECT_FALSE(Exists(tree.Path(L"plain\\empty\\" + GreekFolder())));
  EXPECT_TRUE(Exists(tree.Path(GreekFolder() + L"\\" + GreekFile())));

  // A folder cut, then Ctrl+V on "My Computer": no "My Computer" folder made anywhere.
  ASSERT_TRUE(SetCurrentDirectoryW(tree.Path(L"plain").c_str()));
  ASSERT_TRUE(Open(L"plain\\empty"));
  PressCtrlKey(dirTree, 'X');
  ASSERT_EQ(ExplorerShared().CutCopyMode, kMoveMode);
  dirTree->SetSelected(dirTree->Items()->GetFirstNode());
  dirTree->SetSelectedPathW(L"My Computer");
  PressCtrlKey(dirTree, 'V');
  EXPECT_FALSE(Exists(tree.Path(L"plain\\My Computer")));
  EXPECT_TRUE(Exists(tree.Path(L"plain\\empty")));
}

TEST_F(DirTreeCommands, TreeSizeReportsTheSelectedFolderExactly) {
  ASSERT_TRUE(Open(GreekFolder()));
  TDialogAnswers answers;
  EXPECT_EQ(dirTree->ShowTreeSize(), 1000 + 2345);
  ASSERT_EQ(answers.WideTexts().size(), 1u);
  const std::wstring& text = answers.WideTexts()[0];
  EXPECT_EQ(text.rfind(L"===== TREE SIZE =====", 0), 0u) << WideToAnsi(text);
  EXPECT_NE(text.find(L"Folder \"" + GreekFolder() + L"\""), std::wstring::npos);
  EXPECT_NE(text.find(L"(i.e. " + TreeSizeText(3345) + L" )"), std::wstring::npos);
  // The root measures nothing and says nothing.
  dirTree->SetSelected(dirTree->Items()->GetFirstNode());
  EXPECT_EQ(dirTree->ShowTreeSize(), 0);
  EXPECT_EQ(answers.WideTexts().size(), 1u);
}

TEST_F(DirTreeCommands, FolderContentsHandsTheChosenFileToTheTree) {
  ASSERT_TRUE(Open(GreekFolder()));
  std::vector<AnsiString> files;
  dirTree->OnFileChange = [&](TObject*, const AnsiString& File) { files.push_back(File); };
  dirTree->ShowFolderContents();
  TFolderContentsWindow* window = ShownContentsWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Caption(), L"Files in \" ..\\" + GreekFolder() + L" \"");
  EXPECT_EQ(RemoveSlash(ExplorerShared().ContentsFolder), RemoveSlash(AnsiPathOf(dirTree->SelectedPathW())));
  ASSERT_EQ(window->List()->Items()->Count(), 1);
  bool released = false;
  window->OnDestroy = [&](TObject*) { released = true; };
  window->List()->SetItemIndex(0);
  SendMessageW(window->OkButton()->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return released; }));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0], AnsiPathOf(tree.Path(GreekFolder() + L"\\" + GreekFile())));
  EXPECT_EQ(dirTree->SelectedFile(), files[0]);
  // The tree is back on the folder.
  EXPECT_EQ(SelectedText(), GreekFolder());
}

TEST_F(DirTreeCommands, TheRootHasNoFolderContents) {
  dirTree->SetSelected(dirTree->Items()->GetFirstNode());
  dirTree->ShowFolderContents();
  EXPECT_EQ(ShownContentsWindow(), nullptr);
}

TEST_F(DirTreeCommands, NetworkCommandsLeaveTheTreeAsItWasWithoutANetwork) {
  ASSERT_TRUE(Open(L"plain"));
  WideString before = dirTree->SelectedPathW();
  TWhenReady cancel(
      [] {
        HWND w = FindWindowA(nullptr, "Map Network Drive");
        return w && IsWindowVisible(w);
      },
      [] { PostMessageW(FindWindowA(nullptr, "Map Network Drive"), WM_CLOSE, 0, 0); });
  dirTree->ConnectNetDrive();
  EXPECT_TRUE(cancel.Done());
  dirTree->DisconnectNetDrive();
  EXPECT_EQ(dirTree->SelectedPathW(), before);
  EXPECT_EQ(SelectedText(), L"plain");
}

}  // namespace
