// The folder tree's context menu: its items, pictures and captions, which items a node
// allows, where it opens, and its commands reaching the tree.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "explorer/dir_tree_popup.h"
#include "explorer/explorer_state.h"
#include "explorer/shell_dir_tree.h"
#include "tests/explorer/dialog_answers.h"
#include "tests/explorer/temp_folders.h"
#include "tests/vcl/test_windows.h"
#include "vcl/application.h"
#include "vcl/graphics.h"
#include "vcl/pictures.h"

using namespace explorer_test;
using namespace testwin;

namespace {

struct DirTreePopUp : ::testing::Test {
  DirTreePopUp() {
    InitApplication();
    temp.MakeFolder(L"Alpha");
    temp.MakeFolder(L"Ωμέγα");
    host.reset(ShownHost(320, 400));
    tree = new TShDirTree(host.get());
    tree->SetParent(host.get());
    tree->SetBounds(0, 0, 320, 400);
    tree->HandleNeeded();
    tree->RebuildTree();
    Flush();
  }
  ~DirTreePopUp() override {
    delete tree;
    host.reset();
  }
  TShDirTreePopUp* Menu() { return tree->OwnPopupMenu(); }
  TMenuItem* Item(const char* Name) { return dynamic_cast<TMenuItem*>(Menu()->FindComponent(Name)); }
  // The names of the enabled command items, in menu order.
  std::vector<std::string> Enabled() {
    Menu()->UpdateItems();
    std::vector<std::string> names;
    for (int i = 0; i < Menu()->Items()->Count(); ++i) {
      TMenuItem* item = Menu()->Items()->Items(i);
      if (!item->IsLine() && item->Enabled()) names.push_back(item->Name());
    }
    return names;
  }
  TTreeNode* Child(TTreeNode* Parent, const WideString& Name) {
    for (TTreeNode* n = Parent->getFirstChild(); n; n = n->GetNextSibling())
      if (static_cast<TUniTreeNode*>(n)->Text() == Name) return n;
    return nullptr;
  }

  TTempFolder temp;
  std::unique_ptr<THostWindow> host;
  TShDirTree* tree = nullptr;
};

TEST_F(DirTreePopUp, ItemsCaptionsAndPicturesInMenuOrder) {
  ASSERT_TRUE(Menu());
  EXPECT_EQ(tree->PopupMenu(), Menu());
  EXPECT_TRUE(Menu()->AutoPopup());
  struct Row {
    const char* name;
    const char* caption;
    int tag;
  } rows[] = {{"AddNode", "&New Folder", 1},
              {"EditNode", "&Rename Folder", 2},
              {"DelNode", "&Delete Folder", 3},
              {"", "-", 0},
              {"CutNode", "Cu&t", 4},
              {"CopyNode", "&Copy", 5},
              {"PasteNode", "&Paste", 6},
              {"", "-", 0},
              {"GetTreeSize", "Tree &Size", 7},
              {"ShowFolderContents", "&Folder Contents", 8},
              {"", "-", 0},
              {"ConnectNetResource", "&Map Network Drive ...", 9},
              {"DisConnectNetResource", "Dis&Connect Network Drive", 10},
              {"", "-", 0},
              {"ItemProperty", "&Property", 11}};
  ASSERT_EQ(Menu()->Items()->Count(), static_cast<int>(std::size(rows)));
  for (int i = 0; i < Menu()->Items()->Count(); ++i) {
    TMenuItem* item = Menu()->Items()->Items(i);
    EXPECT_EQ(item->Name(), rows[i].name) << i;
    EXPECT_EQ(item->Caption(), rows[i].caption) << i;
    EXPECT_EQ(item->Tag, rows[i].tag) << i;
    if (rows[i].tag) {
      EXPECT_TRUE(item->HasBitmap()) << i;
      EXPECT_EQ(item->Bitmap()->Width(), 16) << i;
      EXPECT_TRUE(Menu()->Picture(rows[i].tag - 1)) << i;
    }
  }
  // The pictures' light grey became the menu face colour.
  auto* corner = static_cast<const uint8_t*>(Item("EditNode")->Bitmap()->ScanLine(0));
  EXPECT_EQ(RGB(corner[2], corner[1], corner[0]), GetSysColor(COLOR_3DFACE));

  // Switching the menu off keeps it for switching it on again; a new language makes a new one.
  TShDirTreePopUp* menu = Menu();
  tree->SetPopUpMenuEnabled(false);
  EXPECT_EQ(tree->PopupMenu(), nullptr);
  tree->SetPopUpMenuEnabled(true);
  EXPECT_EQ(tree->PopupMenu(), menu);
  tree->SetLanguage(lnEnglish);
  EXPECT_EQ(Menu(), menu);
  tree->SetLanguage(lnItalian);
  EXPECT_NE(Menu(), nullptr);
  EXPECT_EQ(tree->PopupMenu(), Menu());
  EXPECT_EQ(Item("AddNode")->Caption(), "&New Folder");
  tree->SetLanguage(lnEnglish);
}

// A tree that has had no window (one on a page not shown yet) gets its menu with its first
// window, switched on or off as it was set in the meantime.
TEST_F(DirTreePopUp, AWindowlessTreeGetsItsMenuWithItsFirstWindow) {
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled ? "menu on" : "menu off");
    auto* later = new TShDirTree(host.get());
    EXPECT_EQ(later->OwnPopupMenu(), nullptr);
    later->SetPopUpMenuEnabled(enabled);
    later->SetParent(host.get());
    later->SetBounds(0, 0, 120, 400);
    later->HandleNeeded();
    ASSERT_NE(later->OwnPopupMenu(), nullptr);
    EXPECT_EQ(later->PopupMenu(), enabled ? later->OwnPopupMenu() : nullptr);
    EXPECT_EQ(later->PopUpMenuEnabled(), enabled);
    EXPECT_EQ(later->OwnPopupMenu()->Items()->Count(), Menu()->Items()->Count());
    delete later;
  }
}

TEST_F(DirTreePopUp, NodesAllowTheirCommands) {
  const std::vector<std::string> network{"ConnectNetResource", "DisConnectNetResource"};
  EXPECT_EQ(Enabled(), network);  // nothing selected
  TTreeNode* root = tree->Items()->GetFirstNode();
  root->SetSelected(true);
  EXPECT_EQ(Enabled(), network);
  tree->OpenPath("C:\\");
  EXPECT_EQ(Enabled(), (std::vector<std::string>{"AddNode", "GetTreeSize", "ShowFolderContents",
                                                "ConnectNetResource", "DisConnectNetResource", "ItemProperty"}));
  tree->OpenPathW(temp.Sub(L"Alpha"));
  std::vector<std::string> folder{"AddNode",     "EditNode",           "DelNode",
                                  "CutNode",     "CopyNode",           "GetTreeSize",
                                  "ShowFolderContents", "ConnectNetResource", "DisConnectNetResource",
                                  "ItemProperty"};
  EXPECT_EQ(Enabled(), folder);
  Item("CopyNode")->Click();
  EXPECT_TRUE(tree->PastePending());
  folder.insert(folder.begin() + 5, "PasteNode");
  EXPECT_EQ(Enabled(), folder);
}

TEST_F(DirTreePopUp, OpensBesideThePointAndItsCommandsReachTheTree) {
  POINT seen{-1, -1};
  static DirTreePopUp* self;
  static POINT* where;
  self = this;
  where = &seen;
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    *where = self->Menu()->PopupPoint();
    EndMenu();
  });
  Menu()->Popup(100, 50);
  EXPECT_EQ(seen.x, 110);
  EXPECT_EQ(seen.y, 60);

  // Copy Alpha, paste it into Ωμέγα; then cut it from there and paste it back beside.
  TDialogAnswers answers;
  tree->OpenPathW(temp.Sub(L"Alpha"));
  Menu()->UpdateItems();  // as opening the menu does: a disabled item does nothing
  Item("CopyNode")->Click();
  EXPECT_EQ(ExplorerShared().CutCopyMode, kCopyMode);
  tree->OpenPathW(temp.Sub(L"Ωμέγα"));
  Menu()->UpdateItems();
  Item("PasteNode")->Click();
  EXPECT_TRUE(Exists(temp.Sub(L"Ωμέγα\\Alpha")));
  EXPECT_TRUE(Exists(temp.Sub(L"Alpha")));
  EXPECT_FALSE(tree->PastePending());
  EXPECT_EQ(tree->SelectedPathW(), WideString(temp.Sub(L"Ωμέγα\\")));

  tree->OpenPathW(temp.Sub(L"Ωμέγα\\Alpha"));
  SendMessageA(tree->Handle(), WM_KEYDOWN, 'X', 1);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(tree->Handle(), WM_KEYUP, 'X', 0xC0000001);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(ExplorerShared().CutCopyMode, kMoveMode);
  TTempFolder::RemoveAll(temp.Sub(L"Alpha"));
  tree->OpenPathW(temp.Path());
  tree->PasteFolder();
  EXPECT_TRUE(Exists(temp.Sub(L"Alpha")));
  EXPECT_FALSE(Exists(temp.Sub(L"Ωμέγα\\Alpha")));

  // Without a cut or copy, paste does nothing.
  ExplorerShared().CutCopyMode = kNoCutCopy;
  tree->OpenPathW(temp.Sub(L"Ωμέγα"));
  tree->PasteFolder();
  EXPECT_FALSE(Exists(temp.Sub(L"Ωμέγα\\Alpha")));
  EXPECT_TRUE(answers.Texts().empty());
}

}  // namespace
