// The folder combo on a real form over a temporary folder tree with Greek and Japanese
// names: walking to folders, the drop-down chosen from by mouse and keys, the wheel,
// change notices, and no context menus.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <memory>

#include "explorer/dir_tree_combo.h"
#include "tests/explorer/explorer_temp_tree.h"
#include "tests/explorer/explorer_ui.h"
#include "tests/support/forms.h"
#include "tests/support/pump.h"
#include "vcl/typinfo.h"

namespace {

WideString NoSlash(WideString Path) {
  while (!Path.empty() && Path.back() == L'\\') Path.pop_back();
  return Path;
}

class FolderCombo : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBounds(40, 40, 400, 360);
    combo = new TShDirTreeCombo(form.get());
    combo->SetParent(form.get());
    combo->SetBounds(10, 10, 300, 21);
    combo->OnPathChange = [this](TObject*, const WideString& Path) { reported.push_back(Path); };
    form->Show();
    Application->ProcessMessages();
  }
  TShDirTreeView* Tree() { return combo->Tree(); }
  WideString SelectedNodeText() {
    auto* node = static_cast<TUniTreeNode*>(Tree()->Selected());
    return node ? node->Text() : L"(none)";
  }
  // A real click on a node of the open drop-down (the tree tracks the button until it is up).
  void ClickNode(TTreeNode* Node) {
    Node->MakeVisible();
    RECT r = Node->DisplayRect(true);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(Tree()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(Tree()->Handle(), WM_LBUTTONUP, 0, at);
  }
  void Key(WORD Vk) {
    SendMessageW(combo->Handle(), WM_KEYDOWN, Vk, 0);
    SendMessageW(combo->Handle(), WM_KEYUP, Vk, 0xC0000000);
  }
  TTempTree tree;
  std::unique_ptr<TForm, FormFree> form;
  TShDirTreeCombo* combo = nullptr;
  std::vector<WideString> reported;
};

TEST_F(FolderCombo, StartsOnMyComputerWithTheDrives) {
  EXPECT_EQ(combo->SelectedPath(), L"My Computer");
  TUniTreeNode* root = Tree()->Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(combo->Text(), root->Text());
  EXPECT_EQ(combo->ImageIndex(), root->ImageIndex());
  EXPECT_TRUE(root->Expanded());
  // One node per drive, in letter order, " (C:)  " and the name before its "(".
  DWORD mask = GetLogicalDrives();
  int n = 0;
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i)) {
      ASSERT_LT(n, root->Count());
      EXPECT_EQ(root->Item(n)->Text().substr(0, 6), L" (" + WideString(1, L'A' + i) + L":) ");
      EXPECT_TRUE(root->Item(n)->HasChildren());
      ++n;
    }
  EXPECT_EQ(root->Count(), n);
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->TreeHeight(), 240);
  EXPECT_TRUE(combo->ReadOnly());
  EXPECT_EQ(combo->About(), "Version 2.8.8.6");
  // The button shows the system's combo arrow.
  ASSERT_FALSE(combo->Glyph()->Empty());
  BITMAP arrow{};
  HBITMAP system = LoadBitmapW(nullptr, MAKEINTRESOURCEW(32738));
  GetObjectW(system, sizeof arrow, &arrow);
  DeleteObject(system);
  EXPECT_EQ(combo->Glyph()->Width(), arrow.bmWidth);
  EXPECT_EQ(combo->Glyph()->Height(), arrow.bmHeight + 1);  // a transparent row below
}

TEST_F(FolderCombo, SetPathWalksToGreekAndJapaneseFoldersAndReportsThem) {
  WideString japanese = tree.Path(GreekFolder() + L"\\" + JapaneseFolder());
  combo->SetPath(japanese);
  EXPECT_EQ(SelectedNodeText(), JapaneseFolder());
  EXPECT_EQ(combo->Text(), JapaneseFolder());
  EXPECT_EQ(combo->SelectedPath(), japanese);
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], japanese);
  EXPECT_EQ(Tree()->BuildNodePath(Tree()->Selected()), japanese);
  // The folder's parent lists every sub-folder, sorted.
  TTreeNode* greek = Tree()->Selected()->Parent();
  EXPECT_EQ(static_cast<TUniTreeNode*>(greek)->Text(), GreekFolder());
  // Paths that are no folder, or too short, change nothing.
  for (const WideString& bad : {tree.Path(L"missing"), WideString(L"C"), WideString(), tree.Path(L"root.txt")}) {
    combo->SetPath(bad);
    EXPECT_EQ(combo->SelectedPath(), japanese);
  }
  EXPECT_EQ(reported.size(), 1u);
}

TEST_F(FolderCombo, TheDropDownOpensBelowTheComboAndAClickChoosesAFolder) {
  combo->SetPath(tree.Path(GreekFolder()));
  reported.clear();
  combo->DropDownToggle();
  ASSERT_TRUE(combo->DroppedDown());
  EXPECT_TRUE(IsWindowVisible(Tree()->Handle()));
  RECT comboRect, treeRect;
  GetWindowRect(combo->Handle(), &comboRect);
  GetWindowRect(Tree()->Handle(), &treeRect);
  EXPECT_EQ(treeRect.left, comboRect.left);
  EXPECT_EQ(treeRect.top, comboRect.bottom);
  EXPECT_EQ(treeRect.right - treeRect.left, combo->Width());
  TTreeNode* greek = Tree()->Selected();
  greek->Expand(false);
  TTreeNode* japanese = greek->getFirstChild();
  ASSERT_NE(japanese, nullptr);
  Application->ProcessMessages();
  SaveScreenShot("folder_combo_dropped");
  ClickNode(japanese);
  ASSERT_TRUE(PumpUntil([&] { return !reported.empty(); }));
  EXPECT_EQ(reported.back(), tree.Path(GreekFolder() + L"\\" + JapaneseFolder()));
  EXPECT_EQ(combo->Text(), JapaneseFolder());
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_FALSE(IsWindowVisible(Tree()->Handle()));
  SaveScreenShot("folder_combo_closed");
}

TEST_F(FolderCombo, ChoosingTheRootReportsMyComputer) {
  // Another path, without moving the tree (a walk down would scroll the root out of sight).
  combo->SetSelectedPath(tree.Path(L"plain"));
  EXPECT_EQ(combo->SelectedPath(), tree.Path(L"plain"));
  combo->DropDownToggle();
  ClickNode(Tree()->Root());
  ASSERT_TRUE(PumpUntil([&] { return !reported.empty(); }));
  EXPECT_EQ(reported.back(), L"My Computer");
  EXPECT_EQ(combo->SelectedPath(), L"My Computer");
  EXPECT_EQ(combo->Text(), Tree()->Root()->Text());
}

TEST_F(FolderCombo, KeysMoveOpenChooseAndClose) {
  combo->SetPath(tree.Path(L"plain"));
  reported.clear();
  combo->SetFocus();
  // Down on the closed combo opens it.
  Key(VK_DOWN);
  EXPECT_TRUE(combo->DroppedDown());
  Key(VK_ESCAPE);
  EXPECT_FALSE(combo->DroppedDown());
  // Right expands "plain", Down goes to its first child, Enter chooses it.
  combo->SetFocus();
  Key(VK_RIGHT);
  EXPECT_TRUE(Tree()->Selected()->Expanded());
  Key(VK_F4);
  EXPECT_TRUE(combo->DroppedDown());
  SendMessageW(Tree()->Handle(), WM_KEYDOWN, VK_RETURN, 0);  // the drop-down has the focus
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported[0], tree.Path(L"plain"));
  EXPECT_FALSE(combo->DroppedDown());
  combo->SetFocus();
  Key(VK_F4);
  Key(VK_DOWN);
  EXPECT_EQ(SelectedNodeText(), L"empty");
  Key(VK_RETURN);
  ASSERT_EQ(reported.size(), 2u);
  EXPECT_EQ(reported[1], tree.Path(L"plain\\empty"));
  EXPECT_EQ(combo->Text(), L"empty");
  // Up goes back; Left collapses the expanded node and moves up.
  Key(VK_UP);
  EXPECT_EQ(SelectedNodeText(), L"plain");
}

TEST_F(FolderCombo, TheWheelMovesTheSelectionLikeTheArrowKeys) {
  combo->SetPath(tree.Path(L"plain"));
  TTreeNode* start = Tree()->Selected();
  TTreeNode* above = start->GetPrevVisible();
  ASSERT_NE(above, nullptr);
  SendMessageW(combo->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  ASSERT_TRUE(PumpUntil([&] { return Tree()->Selected() == above; }));
  SendMessageW(combo->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  // Down on the closed combo opens the drop-down.
  ASSERT_TRUE(PumpUntil([&] { return combo->DroppedDown(); }));
}

TEST_F(FolderCombo, ANoticeOfANewFolderRebuildsTheTreeOnTheSameFolder) {
  combo->SetPath(tree.Path(L"plain"));
  TTreeNode* plain = Tree()->Selected();
  plain->Expand(false);
  ASSERT_EQ(plain->Count(), 1);
  WideString fresh = tree.Path(L"plain\\") + U8("νέος");
  ASSERT_TRUE(CreateDirectoryW(fresh.c_str(), nullptr));
  reported.clear();
  SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW | SHCNF_FLUSH, fresh.c_str(), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return !reported.empty(); }));
  EXPECT_EQ(NoSlash(combo->SelectedPath()), NoSlash(tree.Path(L"plain")));
  TTreeNode* again = Tree()->Selected();
  ASSERT_NE(again, nullptr);
  again->Expand(false);
  ASSERT_EQ(again->Count(), 2);
  EXPECT_EQ(static_cast<TUniTreeNode*>(again->Item(1))->Text(), U8("νέος"));
}

TEST_F(FolderCombo, RightClicksOpenNoMenu) {
  EXPECT_EQ(SendMessageW(combo->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(20, 5)), 1);
  TMessage up{WM_RBUTTONUP, 0, 0, 0};
  combo->Button()->Dispatch(up);
  EXPECT_EQ(up.Result, 1);
}

}  // namespace

namespace {

// A list view with the "Directory" property the combo drives, as the file list view has.
class TDirectoryList : public TCustomListView {
  VCL_CLASS(TDirectoryList)
 public:
  using TCustomListView::TCustomListView;
  WideString Directory() const { return FDirectory; }
  void SetDirectory(const WideString& Value) {
    FDirectory = Value;
    ++Reads;
  }
  int Reads = 0;

 private:
  WideString FDirectory;
};

const std::vector<TPropInfo>& DirectoryListProperties() {
  static const std::vector<TPropInfo> table =
      TPropertyTable<TDirectoryList>().Property("Directory", &TDirectoryList::Directory, &TDirectoryList::SetDirectory).Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TDirectoryList, TCustomListView, nullptr, &DirectoryListProperties)

namespace {

TEST_F(FolderCombo, TheLinkedFileListFollowsTheChosenFolderUntilItGoes) {
  auto* list = new TDirectoryList(form.get());
  combo->SetFileList(list);
  EXPECT_EQ(list->Directory(), L"My Computer");
  combo->SetPath(tree.Path(GreekFolder()));
  combo->DropDownToggle();
  TTreeNode* japanese = Tree()->Selected();
  japanese->Expand(false);
  ClickNode(japanese->getFirstChild());
  ASSERT_TRUE(PumpUntil([&] { return list->Directory() == tree.Path(GreekFolder() + L"\\" + JapaneseFolder()); }));
  combo->SetSelectedPath(tree.Path(L"plain"));
  EXPECT_EQ(list->Directory(), tree.Path(L"plain"));
  list->Free();
  EXPECT_EQ(combo->FileList(), nullptr);
  combo->SetSelectedPath(tree.Path(GreekFolder()));  // no list to follow: nothing breaks
}

}  // namespace
