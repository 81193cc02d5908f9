#include "explorer/shell_dir_tree.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "explorer/dir_tree_popup.h"
#include "explorer/explorer_state.h"
#include "explorer/file_list_view.h"
#include "explorer/hourglass.h"
#include "explorer/shell_routines.h"
#include "vcl/application.h"
#include "vcl/dialogs.h"
#include "vcl/scopeexit.h"
#include "vcl/typinfo.h"
#include "vcl/utilwnd.h"
#include "widetext/platform.h"
#include "widetext/uni_message_dialogs.h"

namespace {

// The attribute bits a folder's attributes are compared in: read-only, hidden, system,
// directory, archive, and 32 (1+2+4+16+32+128).
constexpr DWORD kFolderTestBits = 183;

// The shell's notices the tree follows: new, removed and renamed folders, drives and media.
constexpr LONG kWatchedEvents = SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_MEDIAINSERTED | SHCNE_MEDIAREMOVED |
                                SHCNE_DRIVEREMOVED | SHCNE_DRIVEADD | SHCNE_RENAMEFOLDER;
static_assert(kWatchedEvents == 131576);
constexpr int kNotifySources = 3;  // interrupt and shell level

using TChangeNotifyRegister = ULONG(WINAPI*)(HWND, int, LONG, UINT, int, const SHChangeNotifyEntry*);
using TChangeNotifyDeregister = BOOL(WINAPI*)(ULONG);

WideString NodeText(TTreeNode* Node) { return static_cast<TUniTreeNode*>(Node)->Text(); }

WideString LongPathOf(const WideString& Path) {
  wchar_t buffer[MAX_PATH * 2];
  DWORD n = GetLongPathNameW(Path.c_str(), buffer, MAX_PATH * 2);
  if (n == 0 || n >= MAX_PATH * 2) return Path;
  return buffer;
}

int DriveType(wchar_t Letter) {
  wchar_t root[] = {Letter, L':', L'\\', 0};
  return static_cast<int>(GetDriveTypeW(root));
}

const std::vector<TPropInfo>& DirTreeProperties() {
  using T = TShDirTree;
  static const std::vector<TPropInfo> table =
      TPropertyTable<T>()
          .Property("About", &T::About, &T::SetAbout).Stored(false)
          .Property("DragDropEnabled", &T::DragDropEnabled).Default(true)
          .Property("DragMode", &T::DragMode, &T::SetDragMode).Default(dmManual)
          .SetProperty<TFileTypeItem>("FolderType", &T::FolderType, &T::SetFolderType)
          .Default(static_cast<int64_t>(FileTypeOf({ftArchive})))
          .Property("FileList", &T::FileList, &T::SetFileList)
          .Property("Language", &T::Language, &T::SetLanguage)
          .Property("PopUpMenuEnabled", &T::PopUpMenuEnabled, &T::SetPopUpMenuEnabled).Default(true)
          .Property("SelectedPath", &T::SelectedPath, &T::SetSelectedPath)
          .Property("SelectedFile", &T::SelectedFile, &T::SetSelectedFile)
          .Property("OnDirChange", &T::OnDirChange)
          .Property("OnFileChange", &T::OnFileChange)
          // The inherited ones a stored tree sets.
          .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
          .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TShDirTree, TUniCustomTreeView, &CreateComponentOf<TShDirTree>, &DirTreeProperties)

AnsiString AnsiPathOf(const WideString& Path) {
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Path.c_str(), static_cast<int>(Path.size()), nullptr, 0,
                              nullptr, &lossy);
  if (!lossy) {
    AnsiString out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Path.c_str(), static_cast<int>(Path.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
  }
  wchar_t shortPath[MAX_PATH * 2];
  DWORD length = GetShortPathNameW(Path.c_str(), shortPath, MAX_PATH * 2);
  if (length > 0 && length < MAX_PATH * 2) {
    WideString s(shortPath, length);
    lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr,
                        &lossy);
    if (!lossy) return WideToAnsi(s);
  }
  return WideToAnsi(Path);
}

// --- construction

TShDirTree::TShDirTree(TComponent* AOwner) : TUniCustomTreeView(AOwner) {
  SetBounds(Left(), Top(), 180, 120);
  SetReadOnly(false);
  SetSortType(stNone);
  SetHideSelection(false);

  // The shell's small system image list, shared: never destroyed by us. Its handle is
  // asked for with the first window or the first nodes.
  FSystemImages = std::make_unique<TImageList>(nullptr);
  FSystemImages->SetShareImages(true);
  FSystemImages->SetBkColor(clNone);
  SetImages(FSystemImages.get());

  // English until a language is set (its texts loaded once here, its menu with the window).
  FLanguage = lnEnglish;
  ExplorerLanguage() = FLanguage;
  LoadTreeTexts();
  FFolderType = FileTypeOf({ftReadOnly, ftHidden, ftSystem, ftArchive});

  // The shell's change notices are asked for with the first window or the first nodes (a
  // tree with neither has nothing they could change), the menu with the first window.
  OnExpanding = [this](TObject* Sender, TTreeNode* Node, bool& Allow) { FillFolder(Sender, Node, Allow); };
  FNamingNewFolder = false;
  FPastePending = false;
  DragDropEnabled = true;
  FDragMode = dmManual;
}

TShDirTree::~TShDirTree() {
  if (FNotifyWindow) DeallocateHWnd(FNotifyWindow);
  FNotifyWindow = nullptr;
  DeregisterChangeNotify();
  OnExpanding = nullptr;
  Items()->BeginUpdate();
  for (int i = Items()->Count() - 1; i >= 0; --i)
    if (i < Items()->Count()) Items()->Item(i)->Delete();
  Items()->EndUpdate();
  SetImages(nullptr);
}

void TShDirTree::ChangeNoticesNeeded() {
  if (FNotifyWindow) return;
  FNotifyWindow = AllocateMessageHWnd([this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
    if (Msg != WM_SHELL_CHANGE_NOTIFY) return DefWindowProcA(Wnd, Msg, WParam, LParam);
    ChangeNotice(LParam);
    return 0;
  });
  try {
    RegisterChangeNotify();
  } catch (...) {
    DeallocateHWnd(FNotifyWindow);
    FNotifyWindow = nullptr;
    throw;
  }
}

void TShDirTree::RegisterChangeNotify() {
  HMODULE shell = LoadLibraryA("shell32.dll");
  if (!shell) throw Exception("Unable to load Shell32.dll");
  ScopeExit release{[&] { FreeLibrary(shell); }};
  auto reg = reinterpret_cast<TChangeNotifyRegister>(GetProcAddress(shell, MAKEINTRESOURCEA(2)));
  if (!reg) throw Exception("Unable to link to function SHChangeNotifyRegister");
  // The whole name space, with everything below it.
  SHChangeNotifyEntry entry{nullptr, TRUE};
  FNotifyHandle = reg(FNotifyWindow, kNotifySources, kWatchedEvents, WM_SHELL_CHANGE_NOTIFY, 1, &entry);
  if (!FNotifyHandle) throw Exception("Unable to register SHChangeNotify");
}

void TShDirTree::DeregisterChangeNotify() {
  if (!FNotifyHandle) return;
  if (HMODULE shell = LoadLibraryA("shell32.dll")) {
    if (auto dereg = reinterpret_cast<TChangeNotifyDeregister>(GetProcAddress(shell, MAKEINTRESOURCEA(4))))
      dereg(FNotifyHandle);
    FreeLibrary(shell);
  }
  FNotifyHandle = 0;
}

void TShDirTree::SystemImagesNeeded() {
  if (FSystemImagesTaken) return;
  FSystemImagesTaken = true;
  SHFILEINFOA info{};
  auto list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA(GetShellFolder(0).c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (list) FSystemImages->SetHandle(list);
  FSystemImages->SetBkColor(clNone);
}

void TShDirTree::NodesNeeded() {
  if (!FFillPending) return;
  RebuildTree();
  if (TTreeNode* root = Items()->GetFirstNode()) root->Expand(false);
}

void TShDirTree::CreateWnd() {
  PopupMenuNeeded();
  ChangeNoticesNeeded();
  SystemImagesNeeded();
  TUniCustomTreeView::CreateWnd();
  // A stored tree that has had no window yet gets the root and the drives it was read for,
  // before the focus below: the control then selects its first node, as it does for nodes
  // it is created with.
  const bool loading = (ComponentState() & csLoading) != 0;
  if (!loading) NodesNeeded();
  // The control draws its selection as focused only after it has seen a focus once.
  TMessage focus{WM_SETFOCUS, 0, 0, 0};
  TUniCustomTreeView::DefaultHandler(focus);
  // The nodes outlive a re-created window: only an empty tree gets its root here.
  if (!loading && Items()->Count() == 0) AddRootNode();
}

void TShDirTree::Loaded() {
  TUniCustomTreeView::Loaded();
  // A stored tree shows the drives under its expanded root. The shell is asked for them
  // (names, icons) when the tree gets its window or its nodes are first needed, so that a
  // tree on a page not shown yet costs nothing at start-up.
  FFillPending = true;
  if (HandleAllocated()) NodesNeeded();
}

void TShDirTree::Notification(TComponent* AComponent, TOperation Operation) {
  TUniCustomTreeView::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFileList) FFileList = nullptr;
}

// --- properties

void TShDirTree::SetFileList(TCustomListView* Value) {
  if (FFileList == Value) return;
  if (FFileList) FFileList->RemoveFreeNotification(this);
  FFileList = Value;
  if (FFileList) FFileList->FreeNotification(this);
  if (FFileList && !FSelectedPath.empty()) FollowInFileList(FSelectedPath, false);
}

void TShDirTree::SetLanguage(TLanguage Value) {
  TLanguage resolved = ResolveLanguage(Value);
  if (resolved == FLanguage) return;
  FLanguage = resolved;
  ExplorerLanguage() = resolved;
  LoadTreeTexts();
  if (FPopupMenu)
    MakePopupMenu();
  else
    FPopUpMenuEnabled = true;  // as a new menu would be
  if (HandleAllocated()) RecreateWnd();
}

void TShDirTree::SetPopUpMenuEnabled(bool Value) {
  FPopUpMenuEnabled = Value;
  SetPopupMenu(Value ? FPopupMenu : nullptr);
}

void TShDirTree::PopupMenuNeeded() {
  if (FPopupMenu) return;
  const bool enabled = FPopUpMenuEnabled;
  MakePopupMenu();
  SetPopUpMenuEnabled(enabled);
}

void TShDirTree::MakePopupMenu() {
  // The menu is built in the language of the moment: a new language makes a new menu.
  if (FPopupMenu) {
    SetPopupMenu(nullptr);
    delete FPopupMenu;
    FPopupMenu = nullptr;
    if (Application) Application->ProcessMessages();
  }
  FPopupMenu = new TShDirTreePopUp(this);
  FPopupMenu->SetTree(this);
  FPopupMenu->Build();
  FPopupMenu->SetAutoPopup(true);
  SetPopupMenu(FPopupMenu);
  FPopUpMenuEnabled = true;
}

AnsiString TShDirTree::SelectedPath() const {
  if (FSelectedPath == L"My Computer") return kMyComputerPath;
  return AnsiPathOf(FSelectedPath);
}

void TShDirTree::SetSelectedPath(const AnsiString& Value) {
  if (AnsiCompareText(SelectedPath(), Value) == 0) return;
  WideString wide = AnsiToWide(Value);
  // A short path names the folder the user sees by its long name.
  if (!wide.empty() && wide != L"My Computer") wide = LongPathOf(wide);
  FSelectedPath = wide;
}

void TShDirTree::SetSelectedPathW(const WideString& Value) {
  if (WideCompareText(FSelectedPath, Value) != 0) FSelectedPath = Value;
}

void TShDirTree::SetSelectedFile(const AnsiString& Value) {
  if (AnsiCompareText(FSelectedFile, Value) != 0) FSelectedFile = Value;
}

bool TShDirTree::IsNetworkDrive(wchar_t Letter) const {
  if (Letter >= L'a' && Letter <= L'z') Letter = static_cast<wchar_t>(Letter - L'a' + L'A');
  return Letter >= L'A' && Letter <= L'Z' && FNetworkDrives[Letter - L'A'];
}

// --- building

DWORD TShDirTree::FolderAttributeMask(TFileType FolderType) {
  // Each member takes the value at its own place in this table (so ftDirectory gives 32 and
  // ftArchive 128); ftNormal adds nothing. Folders always pass the directory bit.
  static constexpr DWORD kValues[] = {1, 2, 4, 16, 32, 128};
  DWORD mask = 0;
  for (int i = 0; i < 6; ++i)
    if (HasFileAttribute(FolderType, static_cast<TFileTypeItem>(i))) mask |= kValues[i];
  return mask | FILE_ATTRIBUTE_DIRECTORY;
}

bool TShDirTree::IsWantedFolder(DWORD Attributes, const wchar_t* Name, DWORD Mask) {
  DWORD tested = Attributes & kFolderTestBits;
  if (!(tested & FILE_ATTRIBUTE_DIRECTORY) || (tested & ~Mask) != 0) return false;
  return wcscmp(Name, L".") != 0 && wcscmp(Name, L"..") != 0;
}

WideString TShDirTree::DriveNodeText(wchar_t Letter, const WideString& DisplayName) {
  // The label before the "(C:)" the shell adds; a name without "(" leaves no label.
  size_t paren = DisplayName.find(L'(');
  WideString label = paren == WideString::npos ? WideString() : DisplayName.substr(0, paren);
  return WideString(L" (") + Letter + L":)  " + label;
}

void TShDirTree::RebuildTree() {
  FFillPending = false;
  Items()->BeginUpdate();
  ScopeExit end{[&] { Items()->EndUpdate(); }};
  Items()->Clear();
  AddRootNode();
  AddDriveNodes();
}

void TShDirTree::AddRootNode() {
  ChangeNoticesNeeded();
  SystemImagesNeeded();
  Items()->BeginUpdate();
  ScopeExit end{[&] { Items()->EndUpdate(); }};
  Items()->Clear();
  PIDLIST_ABSOLUTE drives = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(HandleAllocated() ? WindowHandle() : nullptr, CSIDL_DRIVES, &drives)) ||
      !drives)
    return;
  ScopeExit freeList{[&] { CoTaskMemFree(drives); }};
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(drives), 0, &info, sizeof info,
                      SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
    return;
  TTreeNode* root = Items()->Add(nullptr, WideString(info.szDisplayName));
  root->SetImageIndex(info.iIcon);
  root->SetSelectedIndex(info.iIcon);
}

void TShDirTree::AddDriveNodes() {
  TTreeNode* root = Items()->GetFirstNode();
  if (!root) return;
  Items()->BeginUpdate();
  ScopeExit end{[&] { Items()->EndUpdate(); }};
  DWORD mask = GetLogicalDrives();
  ExplorerShared().DriveMask = mask;
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    wchar_t letter = static_cast<wchar_t>(L'A' + i);
    WideString drive = WideString(1, letter) + L":\\";
    SHFILEINFOW info{};
    SHGetFileInfoW(drive.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    TTreeNode* node = Items()->AddChild(root, DriveNodeText(letter, info.szDisplayName));
    SetShowButtons(true);
    node->SetHasChildren(true);  // drives are not probed: a floppy would spin
    node->SetImageIndex(SmallIconIndex(drive));
    node->SetSelectedIndex(SmallOpenIconIndex(drive));
    FNetworkDrives[i] = GetDriveTypeW(drive.c_str()) == DRIVE_REMOTE;
  }
}

WideString TShDirTree::BuildNodePath(TTreeNode* Node) {
  WideString path;
  for (TTreeNode* node = Node; node; node = node->Parent()) {
    int level = node->Level();
    WideString text = NodeText(node);
    if (level == 1)
      path = text.substr(2, 2) + L"\\" + path;
    else if (level >= 2)
      path = path.empty() ? text : text + L"\\" + path;
  }
  FWorkPath = path;
  return path;
}

void TShDirTree::FillFolder(TObject*, TTreeNode* Node, bool& AllowExpansion) {
  AllowExpansion = true;
  if (!Node || Node->Count() > 0) return;
  THourglass hourglass;
  WideString path = BuildNodePath(Node);
  Node->SetHasChildren(false);
  // The root lists drives, never a folder: an empty path would search the current folder.
  if (!path.empty()) AddChildFolders(path, Node);
  Node->AlphaSort(false);
}

void TShDirTree::AddChildFolders(const WideString& Path, TTreeNode* Parent) {
  DWORD mask = FolderAttributeMask(FFolderType);
  WideString folder = AddSlash(Path);
  bool network = !Path.empty() && IsNetworkDrive(Path[0]);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  ScopeExit close{[&] { FindClose(find); }};
  do {
    if (!IsWantedFolder(data.dwFileAttributes, data.cFileName, mask)) continue;
    WideString full = folder + data.cFileName;
    TTreeNode* node = Items()->AddChild(Parent, WideString(data.cFileName));
    // Folders on network drives are not searched: they always show a button.
    node->SetHasChildren(network || HasSubFolders(full, mask));
    node->SetImageIndex(SmallIconIndex(full));
    node->SetSelectedIndex(SmallOpenIconIndex(full));
  } while (FindNextFileW(find, &data));
}

bool TShDirTree::HasSubFolders(const WideString& Path, DWORD Mask) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((AddSlash(Path) + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  ScopeExit close{[&] { FindClose(find); }};
  do {
    if (IsWantedFolder(data.dwFileAttributes, data.cFileName, Mask)) return true;
  } while (FindNextFileW(find, &data));
  return false;
}

void TShDirTree::OpenPath(const AnsiString& Path) { OpenPathW(AnsiToWide(Path)); }

void TShDirTree::OpenPathW(const WideString& Path) {
  if (Path.size() <= 1 || !FolderExists(Path)) return;
  // The walk opens each folder through the window's expansion, which fills it: a tree that
  // has not had a window yet gets it now (and its nodes with it).
  if (FFillPending && Parent()) HandleNeeded();
  NodesNeeded();
  WideString rest = AddSlash(LongPathOf(Path));
  TTreeNode* matched = nullptr;
  {
    Items()->BeginUpdate();
    ScopeExit end{[&] { Items()->EndUpdate(); }};
    TTreeNode* root = Items()->GetFirstNode();
    if (!root) return;
    if (root->Count() == 0) AddDriveNodes();
    if (root->Expanded()) root->Collapse(true);

    TTreeNode* node = root;
    size_t slash;
    while ((slash = rest.find(L'\\')) != WideString::npos) {
      WideString part = rest.substr(0, slash + 1);
      rest.erase(0, slash + 1);
      TTreeNode* child = node->getFirstChild();
      TTreeNode* found = nullptr;
      for (; child; child = child->GetNextSibling()) {
        WideString name = child->Level() == 1 ? NodeText(child).substr(2, 2) + L"\\" : NodeText(child) + L"\\";
        if (WideCompareText(name, part) == 0) {
          found = child;
          break;
        }
      }
      if (!found) return;  // the walk ends here: nothing selected, nothing told
      found->SetSelected(true);
      found->Expand(false);
      node = matched = found;
    }
    if (matched) matched->MakeVisible();
  }
  if (!matched) return;
  WideString opened = AddSlash(Path);
  if (WideCompareText(FSelectedPath, opened) != 0) FSelectedPath = LongPathOf(opened);
  DirChanged();
}

// --- selection

void TShDirTree::DirChanged() {
  if (OnDirChange) OnDirChange(this, SelectedPath());
}

bool TShDirTree::SelectionChanged(bool ReturnOnFailedDrive) {
  TTreeNode* selected = Selected();
  if (!selected) return false;
  TTreeNode* root = Items()->GetFirstNode();
  if (selected != root || root->Count() > 0)
    BuildNodePath(selected);
  else
    AddDriveNodes();
  FSelectedPath = selected == root ? WideString(L"My Computer") : FWorkPath;

  if (selected->Level() == 1) {
    wchar_t letter = FSelectedPath.empty() ? L'?' : FSelectedPath[0];
    int type = DriveType(letter);
    if ((type == DRIVE_REMOVABLE || type == DRIVE_CDROM) && !DiskInDrive(static_cast<char>(letter), true)) {
      if (ReturnOnFailedDrive) {
        OpenPathW(FPreviousPath);
        FSelectedPath = FPreviousPath;
      }
      return false;
    }
  }
  DirChanged();
  if (FFileList && !FSelectedPath.empty()) FollowInFileList(FSelectedPath, false);
  return true;
}

void TShDirTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TUniCustomTreeView::MouseDown(Button, Shift, X, Y);
  if (FDragTracked) {
    // The press became a drag, and the drop is done: the button is up already and the
    // tree shows the drop folder.
    FDragTracked = false;
    if (GetCapture() == WindowHandle()) ReleaseCapture();
    return;
  }
  FWorkPath.clear();
  FPreviousPath = FSelectedPath;
  THitTests hits = GetHitTestInfoAt(X, Y);
  if (!(hits & (HitTestBit(htOnItem) | HitTestBit(htOnIcon)))) return;
  TTreeNode* node = GetNodeAt(X, Y);
  if (!node) return;
  node->SetSelected(true);
  if (!SelectionChanged(true)) return;
  FPreviousPath = FSelectedPath;
  if (DragDropEnabled && Button == mbLeft) {
    FDragNode = node;
    FSourcePath = BuildNodePath(node);
  }
}

void TShDirTree::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_BACK) {
    TUniCustomTreeView::KeyUp(Key, Shift);
    if (!Selected()) return;
    SelectionChanged(false);
  }
  TTreeNode* selected = Selected();
  if (!selected) return;
  bool ctrl = Shift & ssCtrl, alt = Shift & ssAlt, shift = Shift & ssShift;
  if (ctrl && Key == 'N') {
    NewFolder(selected, WideString());
  } else if (ctrl && Key == 'C') {
    CutOrCopyFolder(kCopyMode);
  } else if (ctrl && Key == 'X') {
    CutOrCopyFolder(kMoveMode);
  } else if (ctrl && Key == 'V') {
    PasteFolder();
  } else if (alt && !ctrl && !shift && Key == VK_RETURN) {
    ShowProperties();
  } else if (!ctrl && !alt && !shift && Key == VK_F2) {
    selected->EditText();
  } else if (!ctrl && !alt && !shift && Key == VK_F5) {
    WideString path = FSelectedPath;
    RebuildTree();
    OpenPathW(path);
    if (FFileList) FollowInFileList(path, true);
  }
}

bool TShDirTree::CanEdit(TTreeNode* Node) {
  if (!Node || Node->Level() < 2 || ReadOnly()) return false;
  return TUniCustomTreeView::CanEdit(Node);
}

void TShDirTree::FollowInFileList(const WideString& Path, bool Refresh) {
  auto* list = dynamic_cast<TShFileListView*>(FFileList);
  if (!list) return;
  list->SetDirectory(Path);
  if (Refresh)
    list->UpdateFileList();
  else
    static_cast<TControl*>(list)->Click();  // the list tells its own selection
}

// --- change notices

void TShDirTree::ChangeNotice(LPARAM Event) {
  switch (Event) {
    case SHCNE_MKDIR:
    case SHCNE_RMDIR:
    case SHCNE_RENAMEFOLDER:
    case SHCNE_DRIVEADD:
    case SHCNE_DRIVEREMOVED:
    case SHCNE_MEDIAINSERTED:
    case SHCNE_MEDIAREMOVED: break;
    default: return;
  }
  if (!HandleAllocated()) return;
  WideString remembered = FSelectedPath;
  LockWindowUpdate(WindowHandle());
  ScopeExit unlock{[] { LockWindowUpdate(nullptr); }};
  RebuildTree();
  if (TTreeNode* root = Items()->GetFirstNode(); root && !root->Expanded()) root->Expand(false);
  if (!remembered.empty()) OpenPathW(remembered);
  if (FFileList) FollowInFileList(remembered, true);
}

void TShDirTree::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY && UnicodePlatform) {
    auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
    if (hdr->code == TVN_ENDLABELEDITW) {
      TVITEMW& item = reinterpret_cast<NMTVDISPINFOW*>(hdr)->item;
      TTreeNode* node = item.lParam ? reinterpret_cast<TTreeNode*>(item.lParam) : Items()->GetNode(item.hItem);
      Message.Result = 0;
      // Only once per edit: the editor going away may end the edit again.
      if (!node || !EditHandle()) return;
      ForgetEditHandle();
      RenameFolder(node, item.pszText);
      return;
    }
  }
  TUniCustomTreeView::Dispatch(Message);
}

void TShDirTree::Edit(const TVITEMA& Item) {
  TTreeNode* node = Item.lParam ? reinterpret_cast<TTreeNode*>(Item.lParam) : Items()->GetNode(Item.hItem);
  if (!Item.pszText) {
    RenameFolder(node, nullptr);
    return;
  }
  WideString text = AnsiToWide(AnsiString(Item.pszText));
  RenameFolder(node, text.c_str());
}

