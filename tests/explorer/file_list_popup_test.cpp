// The file list view's pop-up menu: its items, their enabling by the view's state, the
// commands they run, and the shortcuts of the user's SendTo folder.
#include "tests/explorer/file_list_fixture.h"

#include <objbase.h>
#include <shlobj.h>

#include "explorer/explorer_state.h"
#include "explorer/file_list_popup.h"

using namespace explorer_test;

namespace {

bool Enabled(TShFileListViewPopUp* Menu, const char* Name) {
  TMenuItem* item = Menu->ItemNamed(Name);
  EXPECT_TRUE(item) << Name;
  return item && item->Enabled();
}

std::wstring SendToFolder() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_SENDTO, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// A shell link at LinkPath to Target.
bool MakeLink(const std::wstring& LinkPath, const std::wstring& Target) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  bool ok = SUCCEEDED(link->SetPath(Target.c_str())) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            SUCCEEDED(file->Save(LinkPath.c_str(), TRUE));
  if (file) file->Release();
  link->Release();
  return ok;
}

}  // namespace

TEST_F(FileListTest, MenuItemsInOrder) {
  TShFileListViewPopUp* menu = View->PopUp();
  ASSERT_TRUE(menu);
  EXPECT_EQ(View->PopupMenu(), menu);
  struct Item {
    const char* name;
    int tag;
    const char* caption;
  } items[] = {{"ItemOpen", 1, "&Open"},        {"ItemView", 2, "&View"},           {"", 0, "-"},
               {"SubMenuSend", 3, "Se&nd To"},  {"", 0, "-"},                       {"ItemOpCut", 4, "Cu&t"},
               {"ItemOpCopy", 5, "&Copy"},      {"ItemOpPaste", 6, "&Paste"},       {"", 0, "-"},
               {"ItemRename", 7, "&Rename"},    {"ItemDelete", 8, "&Delete"},       {"", 0, "-"},
               {"ItemProperty", 9, "&Properties"}, {"", 0, "-"},                    {"ItemFolder", 10, "&New Folder..."}};
  TMenuItem* root = menu->Items();
  ASSERT_EQ(root->Count(), 15);
  for (int i = 0; i < 15; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(root->Items(i)->Name(), items[i].name);
    EXPECT_EQ(root->Items(i)->Tag, items[i].tag);
    EXPECT_EQ(root->Items(i)->Caption(), items[i].caption);
    if (items[i].tag) {
      EXPECT_TRUE(root->Items(i)->HasBitmap());
    }
  }
  TMenuItem* send = root->Items(3);
  ASSERT_GE(send->Count(), 4);
  const char* sendCaptions[] = {"Any Folder ...", "Clipboard as Contents", "Clipboard as FileName",
                                "DeskTop as ShortCut"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(send->Items(i)->Caption(), sendCaptions[i]);
    EXPECT_EQ(send->Items(i)->Tag, 30 + i);
  }
}

TEST_F(FileListTest, MenuEnablesItemsByTheSelection) {
  Temp.MakeFile(L"page.htm", 3);
  Temp.MakeFile(L"cover.bmp", 3);
  View->SetDirectory(Temp.Path());
  TShFileListViewPopUp* menu = View->PopUp();
  EXPECT_TRUE(menu->AutoPopup());
  const char* all[] = {"ItemOpen", "ItemView", "SubMenuSend", "ItemOpCut", "ItemOpCopy", "ItemOpPaste",
                       "ItemRename", "ItemDelete", "ItemProperty", "ItemFolder", "Send_To0", "Send_To1",
                       "Send_To2", "Send_To3"};
  auto enabledSet = [&] {
    menu->UpdateItemStates();
    std::vector<std::string> on;
    for (const char* n : all)
      if (Enabled(menu, n)) on.push_back(n);
    return on;
  };
  OpenClipboard(nullptr);
  EmptyClipboard();
  CloseClipboard();
  struct Case {
    std::vector<std::wstring> select;
    std::vector<std::string> enabled;
  } cases[] = {
      {{}, {"ItemFolder"}},
      {{L"alpha.MP4", L"notes.txt"},
       {"ItemOpen", "SubMenuSend", "ItemOpCut", "ItemOpCopy", "ItemDelete", "ItemProperty", "ItemFolder", "Send_To0",
        "Send_To2", "Send_To3"}},
      {{L"page.htm"},
       {"ItemOpen", "ItemView", "SubMenuSend", "ItemOpCut", "ItemOpCopy", "ItemRename", "ItemDelete", "ItemProperty",
        "ItemFolder", "Send_To0", "Send_To2", "Send_To3"}},
      {{L"cover.bmp"},
       {"ItemOpen", "ItemView", "SubMenuSend", "ItemOpCut", "ItemOpCopy", "ItemRename", "ItemDelete", "ItemProperty",
        "ItemFolder", "Send_To0", "Send_To1", "Send_To2", "Send_To3"}},
  };
  for (const Case& c : cases) {
    SelectNamed(c.select);
    EXPECT_EQ(enabledSet(), c.enabled) << c.select.size() << " selected";
  }
  // Something to paste enables Paste even without a selection.
  SelectNamed({L"notes.txt"});
  View->CutCopyItems(kCopyMode);
  SelectNamed({});
  EXPECT_EQ(enabledSet(), (std::vector<std::string>{"ItemOpPaste", "ItemFolder"}));
  // Over the drives: no New Folder, and no menu on a right click.
  View->SetDirectory(L"My Computer");
  EXPECT_FALSE(menu->AutoPopup());
  EXPECT_EQ(enabledSet(), (std::vector<std::string>{"ItemOpPaste"}));
}

TEST_F(FileListTest, MenuClicksRunTheViewsCommands) {
  View->SetDirectory(Temp.Path());
  TShFileListViewPopUp* menu = View->PopUp();
  SelectNamed({L"Ελληνικά.m4a"});
  menu->ItemNamed("ItemOpCopy")->Click();
  EXPECT_EQ(View->PendingFiles(), (std::vector<std::wstring>{Temp.Sub(L"Ελληνικά.m4a") + L'\0'}));
  EXPECT_EQ(ExplorerShared().CutCopyMode, kCopyMode);
  menu->ItemNamed("ItemOpCut")->Click();
  EXPECT_EQ(ExplorerShared().CutCopyMode, kMoveMode);
  ExplorerShared().CutCopyMode = kCopyMode;
  menu->ItemNamed("ItemFolder")->Click();
  EXPECT_TRUE(Exists(Temp.Sub(L"New Folder")));
  SendMessageW(reinterpret_cast<HWND>(SendMessageW(Wnd(), LVM_GETEDITCONTROL, 0, 0)), WM_KEYDOWN, VK_ESCAPE, 1);
  SelectNamed({L"Zeta"});
  menu->ItemNamed("ItemOpen")->Click();
  EXPECT_EQ(View->Directory(), Temp.Sub(L"Zeta") + L"\\");
}

TEST_F(FileListTest, SendToFolderShortcutsCopyThereAfterTheMenuIsRebuilt) {
  TTempFolder target;
  std::wstring link = SendToFolder() + L"\\Kavo target.lnk";
  CreateDirectoryW(SendToFolder().c_str(), nullptr);
  ASSERT_TRUE(MakeLink(link, target.Path()));
  struct TRemove {
    std::wstring path;
    ~TRemove() { DeleteFileW(path.c_str()); }
  } remove{link};
  View->SetDirectory(Temp.Path());
  // The folder is read when the menu is built: the view's menu from before knows nothing.
  EXPECT_FALSE(View->PopUp()->ItemNamed("Send_To4"));
  View->SetLanguage(lnGerman);
  View->SetLanguage(lnEnglish);
  TShFileListViewPopUp* menu = View->PopUp();
  TMenuItem* item = menu->ItemNamed("Send_To4");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->Tag, 34);
  EXPECT_EQ(item->GroupIndex(), 1);
  EXPECT_EQ(menu->SendToList().front(), link);
  SelectNamed({L"日本語の歌.mp4"});
  item->Click();
  EXPECT_TRUE(Exists(target.Sub(L"日本語の歌.mp4")));
}
