#include "explorer/file_list_popup.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>

#include "explorer/explorer_state.h"
#include "explorer/dir_tree_combo.h"
#include "explorer/explorer_texts.h"
#include "explorer/file_list_view.h"
#include "explorer/file_viewers.h"
#include "vcl/pictures.h"
#include "vcl/scopeexit.h"
#include "widetext/filenames.h"

namespace {

const wchar_t* const kBitmapNames[13] = {L"OPEN28",   L"VIEW28",       L"SENDTO28",    L"CUT28",      L"COPY28",
                                         L"PASTE28",  L"RENAME28",     L"DELETE28",    L"ATTRIBUTES28", L"NEWFOLDER28",
                                         L"ANYFOLDER28", L"CLIPBOARD28", L"DESKTOP28"};
enum { bmOpen, bmView, bmSendTo, bmCut, bmCopy, bmPaste, bmRename, bmDelete, bmProps, bmNewFolder, bmAnyFolder,
       bmClipboard, bmDeskTop };

// A copy of a bitmap handle as a framework bitmap, for a menu item to keep.
void CopyInto(HBITMAP Source, TBitmap* Dest) {
  BITMAP info{};
  if (!Source || !GetObjectW(Source, sizeof info, &info)) return;
  Dest->SetSize(info.bmWidth, info.bmHeight);
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, Source);
  BitBlt(Dest->Canvas()->Handle(), 0, 0, info.bmWidth, info.bmHeight, src, 0, 0, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}

}  // namespace

TShFileListViewPopUp::TShFileListViewPopUp(TComponent* AOwner) : TPopupMenu(AOwner) {
  FImages = new TImageList(this);
  SHFILEINFOW info{};
  auto small =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  FImages->SetBkColor(clNone);
  if (small) {
    FImages->SetShareImages(true);
    FImages->SetHandle(small);
  }
  HINSTANCE module = GetModuleHandleW(nullptr);
  for (int i = 0; i < 13; ++i)
    FBitmaps[i] = static_cast<HBITMAP>(LoadImageW(module, kBitmapNames[i], IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

TShFileListViewPopUp::~TShFileListViewPopUp() {
  for (HBITMAP& b : FBitmaps)
    if (b) DeleteObject(b);
}

TMenuItem* TShFileListViewPopUp::NewMenuItem(const AnsiString& Caption, TShortCut ShortCut, HBITMAP Bitmap, int Tag,
                                             const AnsiString& Name, TNotifyEvent OnClick, int GroupIndex,
                                             bool Enabled, bool Checked) {
  auto* item = new TMenuItem(this);
  item->SetCaption(Caption);
  item->SetShortCut(ShortCut);
  if (Bitmap) CopyInto(Bitmap, item->Bitmap());
  item->Tag = Tag;
  if (!Name.empty()) item->SetName(Name);
  item->OnClick = OnClick;
  item->SetGroupIndex(GroupIndex);
  item->SetEnabled(Enabled);
  item->SetChecked(Checked);
  return item;
}

void TShFileListViewPopUp::BuildMenu() {
  TLanguage language = ExplorerLanguage();
  for (int i = 0; i < 14; ++i) LoadExplorerText(language, etListOpen + i, FCaptions[i]);
  TNotifyEvent click = [this](TObject* Sender) { ItemClick(Sender); };
  auto line = [&] { return NewMenuItem("-", scNone, nullptr, 0, "", nullptr, 0, true, false); };
  TMenuItem* root = Items();
  root->Add(NewMenuItem(FCaptions[0], scNone, FBitmaps[bmOpen], 1, "ItemOpen", click, 0, true, false));
  root->Add(NewMenuItem(FCaptions[1], scNone, FBitmaps[bmView], 2, "ItemView", click, 0, true, false));
  root->Add(line());
  TMenuItem* send = NewMenuItem(FCaptions[2], scNone, FBitmaps[bmSendTo], 3, "SubMenuSend", click, 0, true, false);
  root->Add(send);
  root->Add(line());
  root->Add(NewMenuItem(FCaptions[3], scNone, FBitmaps[bmCut], 4, "ItemOpCut", click, 0, true, false));
  root->Add(NewMenuItem(FCaptions[4], scNone, FBitmaps[bmCopy], 5, "ItemOpCopy", click, 0, true, false));
  root->Add(NewMenuItem(FCaptions[5], scNone, FBitmaps[bmPaste], 6, "ItemOpPaste", click, 0, true, false));
  root->Add(line());
  root->Add(NewMenuItem(FCaptions[6], scNone, FBitmaps[bmRename], 7, "ItemRename", click, 0, true, false));
  root->Add(NewMenuItem(FCaptions[7], scNone, FBitmaps[bmDelete], 8, "ItemDelete", click, 0, true, false));
  root->Add(line());
  root->Add(NewMenuItem(FCaptions[8], scNone, FBitmaps[bmProps], 9, "ItemProperty", click, 0, true, false));
  root->Add(line());
  root->Add(NewMenuItem(FCaptions[9], scNone, FBitmaps[bmNewFolder], 10, "ItemFolder", click, 0, true, false));
  send->Add(NewMenuItem(FCaptions[10], scNone, FBitmaps[bmAnyFolder], 30, "Send_To0", click, 0, true, false));
  send->Add(NewMenuItem(FCaptions[11], scNone, FBitmaps[bmClipboard], 31, "Send_To1", click, 0, true, false));
  send->Add(NewMenuItem(FCaptions[12], scNone, FBitmaps[bmClipboard], 32, "Send_To2", click, 0, true, false));
  send->Add(NewMenuItem(FCaptions[13], scNone, FBitmaps[bmDeskTop], 33, "Send_To3", click, 0, true, false));
  AddSendToItems();
}

void TShFileListViewPopUp::AddSendToItems() {
  FSendToList.clear();
  TMenuItem* send = ItemNamed("SubMenuSend");
  if (!send) return;
  LPITEMIDLIST pidl = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_SENDTO, &pidl)) || !pidl) return;
  wchar_t folder[MAX_PATH] = {};
  BOOL found = SHGetPathFromIDListW(pidl, folder);
  CoTaskMemFree(pidl);  // the shell's item list is ours to free
  if (!found) return;
  WideString base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((base + L"*.LNK").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  TNotifyEvent click = [this](TObject* Sender) { ItemClick(Sender); };
  int i = 0;
  do {
    if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
    WideString path = base + data.cFileName;
    SHFILEINFOW info{};
    SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
    TMenuItem* item = NewMenuItem(WideToAnsi(info.szDisplayName), scNone, nullptr, 34 + i,
                                  "Send_To" + std::to_string(i + 4), click, 1, true, false);
    item->SetImageIndex(info.iIcon);
    // The framework's menus draw bitmaps, not image lists: the icon goes in as one.
    if (FImages->HandleAllocated() && info.iIcon >= 0) {
      TBitmap* bmp = item->Bitmap();
      bmp->SetSize(FImages->Width(), FImages->Height());
      RECT r{0, 0, FImages->Width(), FImages->Height()};
      FillRect(bmp->Canvas()->Handle(), &r, GetSysColorBrush(COLOR_MENU));
      ImageList_Draw(FImages->Handle(), info.iIcon, bmp->Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
    }
    send->Add(item);
    FSendToList.push_back(path);
    ++i;
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

TMenuItem* TShFileListViewPopUp::ItemNamed(const AnsiString& Name) const {
  std::function<TMenuItem*(TMenuItem*)> search = [&](TMenuItem* parent) -> TMenuItem* {
    for (int i = 0; i < parent->Count(); ++i) {
      TMenuItem* item = parent->Items(i);
      if (AnsiCompareText(item->Name(), Name) == 0) return item;
      if (TMenuItem* found = search(item)) return found;
    }
    return nullptr;
  };
  return search(Items());
}

void TShFileListViewPopUp::ItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TMenuItem*>(Sender);
  TShFileListView* view = FFileList;
  if (!item || !view || item->Name().empty() || item->Tag == 0) return;
  switch (item->Tag) {
    case 1: view->OpenItem(); return;
    case 2: view->ViewFile(); return;
    case 4: view->CutCopyItems(kMoveMode); return;
    case 5: view->CutCopyItems(kCopyMode); return;
    case 6: view->PasteItems(); return;
    case 7: view->RenameSelected(); return;
    case 8: view->DeleteItems(); return;
    case 9: view->ShowProperties(); return;
    case 10: view->NewFolder(); return;
    default: break;
  }
  const AnsiString& name = item->Name();
  if (name.compare(0, 7, "Send_To") != 0) return;
  // Two digits after the prefix: at most 96 shortcut entries can be told apart.
  int number = -1;
  AnsiString digits = name.substr(7, 2);
  if (!digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    number = std::stoi(digits);
  if (number >= 0 && number <= 3)
    view->SendTo(number);
  else if (number >= 4 && number - 4 < static_cast<int>(FSendToList.size()))
    view->SendToShortcut(FSendToList[static_cast<size_t>(number - 4)]);
}

void TShFileListViewPopUp::UpdateItemStates() {
  TShFileListView* view = FFileList;
  if (!view) return;
  std::vector<int> selected = view->SelectedRows();
  bool any = !selected.empty();
  bool one = selected.size() == 1;
  WideString ext = any ? WideExtractFileExt(view->Row(selected.front()).FullPath) : WideString();
  int viewer = ViewerIndexOf(ext);
  auto enable = [&](const char* name, bool on) {
    if (TMenuItem* item = ItemNamed(name)) item->SetEnabled(on);
  };
  for (const char* name : {"ItemOpen", "SubMenuSend", "ItemOpCut", "ItemOpCopy", "ItemDelete", "ItemProperty"})
    enable(name, any);
  enable("ItemView", any && viewer >= 0);
  enable("ItemOpPaste", view->CanPaste());
  enable("ItemRename", any && one);
  enable("ItemFolder", WideCompareText(view->Directory(), WideString(kMyComputer)) != 0);
  enable("Send_To0", any);
  enable("Send_To1", one && viewer >= 0 && viewer < kClipboardContentsCount);
  enable("Send_To2", any);
  enable("Send_To3", any);
}

void TShFileListViewPopUp::Popup(int X, int Y) {
  UpdateItemStates();
  TPopupMenu::Popup(X + 10, Y + 10);
}

VCL_CLASS_IMPL(TShFileListViewPopUp, TPopupMenu, nullptr, nullptr)
