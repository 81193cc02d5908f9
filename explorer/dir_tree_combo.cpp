#include "explorer/dir_tree_combo.h"

#include <shellapi.h>
#include <shlobj.h>

#include "explorer/hourglass.h"
#include "explorer/shell_routines.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/scopeexit.h"
#include "vcl/typinfo.h"
#include "vcl/utilwnd.h"

const wchar_t* const kMyComputer = L"My Computer";

namespace {

// The shell's change notice, posted to the notify window.
constexpr UINT kShellChangeMessage = 1026;
// Folder made, removed or renamed; drive added or removed (no media events).
constexpr LONG kComboNotifyEvents =
    SHCNE_MKDIR | SHCNE_RMDIR | SHCNE_DRIVEREMOVED | SHCNE_DRIVEADD | SHCNE_RENAMEFOLDER;

using TSHChangeNotifyRegister = ULONG(WINAPI*)(HWND, int, LONG, UINT, int, const SHChangeNotifyEntry*);
using TSHChangeNotifyDeregister = BOOL(WINAPI*)(ULONG);

WideString WithSlash(const WideString& Path) {
  return Path.empty() || Path.back() == L'\\' ? Path : Path + L'\\';
}

bool IsFolder(const WideString& Path) {
  DWORD attr = GetFileAttributesW(Path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSubFolderEntry(const WIN32_FIND_DATAW& Data) {
  return (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcscmp(Data.cFileName, L".") != 0 &&
         wcscmp(Data.cFileName, L"..") != 0;
}


// The text of a drive node: " (C:)  " and the drive's display name up to its "(".
WideString DriveNodeText(wchar_t Letter) {
  WideString root = WideString(1, Letter) + L":\\";
  SHFILEINFOW info{};
  SHGetFileInfoW(root.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
  WideString display = info.szDisplayName;
  size_t paren = display.find(L'(');
  WideString name = paren == WideString::npos ? WideString() : display.substr(0, paren);
  return L" (" + WideString(1, Letter) + L":)  " + name;
}

}  // namespace

// ---------------------------------------------------------------------------

VCL_CLASS_IMPL(TShSpeedButton, TSpeedButton, nullptr, nullptr)

void TShSpeedButton::Dispatch(TMessage& Message) {
  // No context menu from the button.
  if (Message.Msg == WM_RBUTTONUP) {
    Message.Result = 1;
    return;
  }
  TSpeedButton::Dispatch(Message);
}

// ---------------------------------------------------------------------------

VCL_CLASS_IMPL(TShDirTreeView, TUniCustomTreeView, nullptr, nullptr)

TShDirTreeView::TShDirTreeView(TComponent* AOwner) : TUniCustomTreeView(AOwner), FSelectedPath(kMyComputer) {}

TShDirTreeCombo* TShDirTreeView::Combo() const { return dynamic_cast<TShDirTreeCombo*>(Owner()); }

void TShDirTreeView::CreateParams(TCreateParams& Params) {
  TUniCustomTreeView::CreateParams(Params);
  Params.Style |= WS_BORDER;
  Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
}

void TShDirTreeView::CreateWnd() {
  TUniCustomTreeView::CreateWnd();
  // A drop-down floats above everything: its window leaves the combo for the desktop, so
  // its bounds are screen coordinates from here on.
  ::SetParent(WindowHandle(), nullptr);
  TMessage focus{WM_SETFOCUS, 0, 0, 0};
  DefaultHandler(focus);
}

void TShDirTreeView::AddRootAndDrives() {
  Items()->BeginUpdate();
  ScopeExit endUpdate{[this] { Items()->EndUpdate(); }};
  Items()->Clear();
  LPITEMIDLIST drives = nullptr;
  HWND owner = HandleAllocated() ? WindowHandle() : nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, &drives)) || !drives) return;
  SHFILEINFOW info{};
  DWORD_PTR ok = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(drives), 0, &info, sizeof info,
                                SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  CoTaskMemFree(drives);
  if (!ok) return;
  TUniTreeNode* root = Items()->Add(nullptr, WideString(info.szDisplayName));
  root->SetImageIndex(info.iIcon);
  root->SetSelectedIndex(info.iIcon);
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    wchar_t letter = static_cast<wchar_t>(L'A' + i);
    WideString path = WideString(1, letter) + L":\\";
    TUniTreeNode* drive = Items()->AddChild(root, DriveNodeText(letter));
    drive->SetHasChildren(true);  // drives are not probed: a floppy would spin up
    drive->SetImageIndex(SmallIconIndex(path));
    drive->SetSelectedIndex(SmallOpenIconIndex(path));
  }
  SetShowButtons(true);
}

WideString TShDirTreeView::BuildNodePath(TTreeNode* Node) const {
  WideString path;
  for (auto* n = static_cast<TUniTreeNode*>(Node); n; n = n->Parent()) {
    int level = n->Level();
    WideString text = n->Text();
    if (level == 1)
      path = text.substr(2, 2) + L"\\" + path;
    else if (level >= 2)
      path = path.empty() ? text : text + L"\\" + path;
  }
  return path;
}

void TShDirTreeView::AddChildFolders(const WideString& Path, TTreeNode* Parent) {
  WideString folder = WithSlash(Path);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!IsSubFolderEntry(data)) continue;
    WideString path = folder + data.cFileName;
    TUniTreeNode* node = Items()->AddChild(Parent, WideString(data.cFileName));
    node->SetHasChildren(HasSubFolders(path));
    node->SetImageIndex(SmallIconIndex(path));
    node->SetSelectedIndex(SmallOpenIconIndex(path));
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

bool TShDirTreeView::HasSubFolders(const WideString& Path) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((WithSlash(Path) + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool found = false;
  do {
    found = IsSubFolderEntry(data);
  } while (!found && FindNextFileW(find, &data));
  FindClose(find);
  return found;
}

void TShDirTreeView::FillOnExpanding(TObject*, TTreeNode* Node, bool& AllowExpansion) {
  AllowExpansion = true;
  if (!Node || Node->Count() > 0) return;
  THourglass hourglass;
  FWorkPath = BuildNodePath(Node);
  Node->SetHasChildren(false);
  AddChildFolders(FWorkPath, Node);
  Node->AlphaSort(false);
}

void TShDirTreeView::Expand(TTreeNode* Node) {
  Items()->BeginUpdate();
  Node->AlphaSort(false);
  Items()->EndUpdate();
  TUniCustomTreeView::Expand(Node);
}

void TShDirTreeView::KeyDown(WORD& Key, TShiftState Shift) {
  // While the drop-down has the focus, the keys that choose or close go to the combo.
  if (TShDirTreeCombo* combo = Combo(); combo && (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_F4)) {
    combo->KeyDown(Key, Shift);
    Key = 0;
    return;
  }
  TUniCustomTreeView::KeyDown(Key, Shift);
}

void TShDirTreeView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    default: TUniCustomTreeView::Dispatch(Message);
  }
}

void TShDirTreeView::CMMouseEnter(TMessage& Message) {
  TUniCustomTreeView::Dispatch(Message);
  FMouseInside = true;
  // Inside, the tree works as any tree (scroll bars, buttons).
  if (Enabled() && GetCapture() == WindowHandle()) ReleaseCapture();
}

void TShDirTreeView::CMMouseLeave(TMessage& Message) {
  TUniCustomTreeView::Dispatch(Message);
  FMouseInside = false;
  // Outside, the open drop-down holds the mouse again, so that a click anywhere reaches it
  // and closes it.
  if (Enabled() && Visible() && HandleAllocated()) SetCapture(WindowHandle());
}

void TShDirTreeView::WMMouseMove(TMessage& Message) {
  TUniCustomTreeView::Dispatch(Message);
  if (!FMouseInside || !Enabled()) return;
  POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  if (GetHitTestInfoAt(p.x, p.y) & HitTestBit(htOnLabel)) {
    if (TTreeNode* node = GetNodeAt(p.x, p.y); node && node != Selected()) SetSelected(node);
  }
}

void TShDirTreeView::WMLButtonDown(TMessage& Message) {
  TUniCustomTreeView::Dispatch(Message);
  TShDirTreeCombo* combo = Combo();
  if (!combo) return;
  POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
  RECT client = ClientRect();
  if (!PtInRect(&client, p)) {
    combo->CloseDropDown();
    return;
  }
  if (combo->HandleAllocated()) SendMessageW(combo->Handle(), WM_LBUTTONDOWN, 0, 0);
  THitTests hits = GetHitTestInfoAt(p.x, p.y);
  if (!(hits & (HitTestBit(htOnItem) | HitTestBit(htOnIcon)))) return;
  TTreeNode* node = GetNodeAt(p.x, p.y);
  if (!node) return;
  SetSelected(node);
  combo->ChooseNode(node);
}

// ---------------------------------------------------------------------------

namespace {

const std::vector<TPropInfo>& FolderComboProperties() {
  using T = TShDirTreeCombo;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("SelectedPath", &T::SelectedPath, &T::SetSelectedPath)
      .Property("FileList", &T::FileList, &T::SetFileList)
      .Property("ExpandRoot", &T::ExpandRoot, &T::SetExpandRoot).Default(true)
      .Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true)
      .Property("Glyph", &T::Glyph, &T::SetGlyph)
      .Property("TreeHeight", &T::TreeHeight, &T::SetTreeHeight)
      .Property("About", &T::About, &T::SetAbout).Stored(false)
      .Property("OnPathChange", &T::OnPathChange)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TShDirTreeCombo, TUniCustomEdit, &CreateComponentOf<TShDirTreeCombo>, &FolderComboProperties)

TShDirTreeCombo::TShDirTreeCombo(TComponent* AOwner) : TUniCustomEdit(AOwner), FCanvas(new TControlCanvas) {
  SetBounds(Left(), Top(), 216, 21);
  SetTabOrder(0);
  SetReadOnly(true);
  FCanvas->SetControl(this);

  FButton = new TShSpeedButton(this);
  FButton->SetParent(this);
  FTree = new TShDirTreeView(this);
  FTree->SetParent(this);
  FTree->SetBounds(0, Top() + Height(), 0, 240);
  FTree->SetVisible(false);
  FTreeWindowProc = FTree->WindowProc;

  // The mouse wheel moves the selection the way the arrow keys do.
  FPreviousWindowProc = WindowProc;
  WindowProc = [this](TMessage& Message) {
    if (Message.Msg == WM_MOUSEWHEEL) {
      short delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
      if (HandleAllocated()) PostMessageW(WindowHandle(), WM_KEYDOWN, delta > 0 ? VK_UP : VK_DOWN, 0);
      return;
    }
    FPreviousWindowProc(Message);
  };

  FImages = new TImageList(this);
  FImages->SetShareImages(true);  // the system's list: borrowed, never destroyed
  wchar_t windows[MAX_PATH] = {};
  AnsiString windowsFolder = GetShellFolder(8);
  FWindowsPath = AnsiToWide(windowsFolder);
  SHFILEINFOW info{};
  FImages->SetHandle(reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(FWindowsPath.empty() ? (GetWindowsDirectoryW(windows, MAX_PATH), windows) : FWindowsPath.c_str(),
                     0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)));
  FTree->SetImages(FImages);

  FNotifyWindow = AllocateMessageHWnd(
      [this](HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) { return NotifyWndProc(Wnd, Msg, WParam, LParam); });
  // A constructor that fails runs no destructor: the notice window goes with the failure.
  auto fail = [this](const char* Text) {
    DeallocateHWnd(FNotifyWindow);
    FNotifyWindow = nullptr;
    throw Exception(Text);
  };
  HMODULE shell = LoadLibraryW(L"shell32.dll");
  if (!shell) fail("Unable to load Shell32.dll");
  ScopeExit freeShell{[shell] { FreeLibrary(shell); }};
  auto registerNotify =
      reinterpret_cast<TSHChangeNotifyRegister>(reinterpret_cast<void*>(GetProcAddress(shell, MAKEINTRESOURCEA(2))));
  if (!registerNotify) fail("Unable to link to function SHChangeNotifyRegister");
  SHChangeNotifyEntry entry{nullptr, TRUE};  // the whole name space, recursively
  FNotifyHandle = registerNotify(FNotifyWindow, SHCNRF_InterruptLevel | SHCNRF_ShellLevel, kComboNotifyEvents,
                                 kShellChangeMessage, 1, &entry);
  if (!FNotifyHandle) fail("Unable to register SHChangeNotify");
  SetShowHint(true);
}

TShDirTreeCombo::~TShDirTreeCombo() {
  if (FNotifyWindow) DeallocateHWnd(FNotifyWindow);
  if (FNotifyHandle) {
    if (HMODULE shell = LoadLibraryW(L"shell32.dll")) {
      auto deregister = reinterpret_cast<TSHChangeNotifyDeregister>(
          reinterpret_cast<void*>(GetProcAddress(shell, MAKEINTRESOURCEA(4))));
      if (deregister) deregister(FNotifyHandle);
      FreeLibrary(shell);
    }
  }
  if (GetCapture() && FTree->HandleAllocated() && GetCapture() == FTree->WindowHandle()) ReleaseCapture();
  FTree->Items()->Clear();
  FTree->WindowProc = FTreeWindowProc;
  WindowProc = FPreviousWindowProc;
}

void TShDirTreeCombo::CreateParams(TCreateParams& Params) {
  TUniCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
}

void TShDirTreeCombo::CreateWindowHandle(const TCreateParams& Params) {
  TUniCustomEdit::CreateWindowHandle(Params);
  FButton->SetTop(0);
  FButton->SetWidth(17);
  FButton->SetHeight(17);
  FButton->SetDown(false);
  FButton->OnClick = [this](TObject*) { DropDownToggle(); };
  if (HBITMAP arrow = LoadBitmapW(nullptr, MAKEINTRESOURCEW(32738))) {  // OBM_COMBO
    BITMAP bm{};
    GetObjectW(arrow, sizeof bm, &bm);
    // The system's arrow is monochrome and its bottom row is ink, while a glyph's bottom-left
    // pixel names its transparent colour: the arrow goes onto a face-coloured ground one row
    // taller, so that the ground is what turns transparent.
    auto glyph = std::make_unique<TBitmap>();
    glyph->SetSize(bm.bmWidth, bm.bmHeight + 1);
    HDC dst = glyph->Canvas()->Handle();
    RECT all{0, 0, bm.bmWidth, bm.bmHeight + 1};
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dst, &all, face);
    DeleteObject(face);
    SetTextColor(dst, RGB(0, 0, 0));
    SetBkColor(dst, GetSysColor(COLOR_BTNFACE));
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, arrow);
    BitBlt(dst, 0, 0, bm.bmWidth, bm.bmHeight, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
    DeleteObject(arrow);
    FButton->SetGlyph(glyph.get());
  }
  FButton->SetNumGlyphs(1);

  // As wide as the combo from the start: a walk to a deep folder while the tree had no
  // width would leave it scrolled sideways when it opens.
  FTree->SetBounds(0, 0, Width(), FTree->Height());
  FTree->SetReadOnly(true);
  FTree->OnExpanding = [this](TObject* Sender, TTreeNode* Node, bool& Allow) {
    FTree->FillOnExpanding(Sender, Node, Allow);
  };
  FTree->FExpandRoot = true;
  FTree->SetEnabled(false);
  FTree->SetVisible(false);
  FTree->HandleNeeded();
  FTree->AddRootAndDrives();
  if (FTree->Root()) FTree->Root()->Expand(false);
  if (!FTree->Selected() && FTree->Root()) {
    ShowNode(FTree->Root());
    FTree->FSelectedPath = kMyComputer;
  }
  if (!(ComponentState() & csDesigning)) {
    Application->HintColor = clInfoBk;
    Application->HintHidePause = 10000;
    Application->HintPause = 500;
    Application->HintShortPause = 25;
  }
}

void TShDirTreeCombo::CreateWnd() {
  TUniCustomEdit::CreateWnd();
  SetEditRect();
}

void TShDirTreeCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TUniCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!Parent() || !FButton) return;
  FButton->SetBounds(Width() - FButton->Width() - 4, FButton->Top(), FButton->Width(), Height() - 4);
  if (FTree && !FTree->Enabled()) FTree->SetWidth(Width());
  SetEditRect();
}

void TShDirTreeCombo::SetEditRect() {
  if (!HandleAllocated() || !FButton) return;
  bool hasIcon = FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
  RECT r{hasIcon ? 23 : 0, 0, ClientWidth() - FButton->Width() - 2, ClientHeight() + 1};
  SendMessageW(WindowHandle(), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

WideString TShDirTreeCombo::SelectedPath() const { return FTree->FSelectedPath; }

void TShDirTreeCombo::SetSelectedPath(const WideString& Value) {
  if (WideCompareText(Value, FTree->FSelectedPath) == 0) return;
  FTree->FSelectedPath = Value;
  ShowInFileList(Value);
}

void TShDirTreeCombo::SetFileList(TCustomListView* Value) {
  if (FFileList == Value) return;
  if (FFileList) FFileList->RemoveFreeNotification(this);
  FFileList = Value;
  if (!FFileList) return;
  FFileList->FreeNotification(this);
  if (!FTree->FSelectedPath.empty()) ShowInFileList(FTree->FSelectedPath);
}

void TShDirTreeCombo::Notification(TComponent* AComponent, TOperation Operation) {
  TUniCustomEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFileList) FFileList = nullptr;
}

void TShDirTreeCombo::ShowInFileList(const WideString& Path) {
  // Setting its Directory makes the list read that folder.
  if (!FFileList || Path.empty()) return;
  const TPropInfo* directory = FindPropInfo(FFileList->ClassType(), "Directory");
  if (!directory) return;
  if (directory->Kind == tkWString)
    SetWideStrProp(FFileList, directory, Path);
  else
    SetStrProp(FFileList, directory, WideToAnsi(Path));
}

bool TShDirTreeCombo::ExpandRoot() const { return FTree->FExpandRoot; }

void TShDirTreeCombo::SetExpandRoot(bool Value) {
  FTree->FExpandRoot = Value;
  if (Value && FTree->Root()) FTree->Root()->Expand(false);
}

bool TShDirTreeCombo::HideSelection() const { return FTree->HideSelection(); }
void TShDirTreeCombo::SetHideSelection(bool Value) { FTree->SetHideSelection(Value); }
TBitmap* TShDirTreeCombo::Glyph() const { return FButton->Glyph(); }

void TShDirTreeCombo::SetGlyph(TBitmap* Value) {
  if (Value) FButton->SetGlyph(Value);
}

int TShDirTreeCombo::TreeHeight() const { return FTree->Height(); }
void TShDirTreeCombo::SetTreeHeight(int Value) { FTree->SetHeight(Value); }

bool TShDirTreeCombo::DroppedDown() const { return FTree->Enabled(); }

void TShDirTreeCombo::ShowNode(TTreeNode* Node) {
  auto* node = static_cast<TUniTreeNode*>(Node);
  FImageIndex = node ? node->ImageIndex() : -1;
  SetText(node ? node->Text() : WideString());
  SetEditRect();
  Invalidate();
}

void TShDirTreeCombo::FireOnPathChange() {
  if (OnPathChange) OnPathChange(this, FTree->FSelectedPath);
}

void TShDirTreeCombo::ChooseNode(TTreeNode* Node) {
  WideString path = FTree->BuildNodePath(Node);
  // The drives folder is "My Computer" wherever it is reported.
  if (path.empty()) path = kMyComputer;
  if (Node->Level() == 1) {
    UINT type = GetDriveTypeW(path.c_str());
    if ((type == DRIVE_REMOVABLE || type == DRIVE_CDROM) && !DiskInDrive(static_cast<char>(path[0]), true)) {
      SetPath(FTree->FPreviousPath);
      return;
    }
  }
  FTree->FPreviousPath = FTree->FSelectedPath;
  SetSelectedPath(path);
  ShowNode(Node);
  FireOnPathChange();
  CloseDropDown();
}

void TShDirTreeCombo::DropDownToggle() {
  if (CanFocus()) SetFocus();
  POINT corner = ClientToScreen(POINT{0, 0});
  RECT window{};
  if (HandleAllocated()) GetWindowRect(WindowHandle(), &window);
  int top = window.bottom, left = window.left;
  if (top + FTree->Height() > Screen->Height()) top = window.top - FTree->Height();
  (void)corner;
  FTree->SetBounds(left, top, Width(), FTree->Height());
  if (FTree->Enabled()) {
    CloseDropDown();
    return;
  }
  FTree->SetEnabled(true);
  FTree->SetVisible(true);
  SetWindowPos(FTree->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetCapture(FTree->Handle());
  FTree->SetFocus();
}

void TShDirTreeCombo::CloseDropDown() {
  if (!FTree->Enabled()) return;
  if (TWinControl* parent = Parent(); parent && parent->CanFocus() && FTree->Focused()) parent->SetFocus();
  if (FTree->HandleAllocated() && GetCapture() == FTree->WindowHandle()) ReleaseCapture();
  FTree->SetEnabled(false);
  FTree->SetVisible(false);
}

void TShDirTreeCombo::WalkTo(const WideString& Path) {
  TUniTreeNodes* items = FTree->Items();
  items->BeginUpdate();
  ScopeExit endUpdate{[items] { items->EndUpdate(); }};
  TUniTreeNode* root = items->GetFirstNode();
  if (!root) return;
  if (root->Expanded()) root->Collapse(true);
  WideString rest = WithSlash(Path);
  TTreeNode* node = root;
  TTreeNode* matched = nullptr;
  while (rest.find(L'\\') != WideString::npos) {
    size_t cut = rest.find(L'\\') + 1;
    WideString part = rest.substr(0, cut);
    rest = rest.substr(cut);
    if (!node->Expanded()) node->Expand(false);  // fills it
    auto* child = static_cast<TUniTreeNode*>(node->getFirstChild());
    TTreeNode* found = nullptr;
    for (; child; child = child->GetNextSibling()) {
      WideString text = child->Text();
      WideString name = child->Level() == 1 ? text.substr(2, 2) + L"\\" : text + L"\\";
      if (WideCompareText(name, part) == 0) {
        found = child;
        break;
      }
    }
    if (!found) break;
    found->SetSelected(true);
    found->Expand(false);
    matched = node = found;
  }
  if (matched) matched->MakeVisible();
}

void TShDirTreeCombo::SetPath(const WideString& Path) {
  if (Path.size() <= 1 || !IsFolder(Path)) return;
  WalkTo(Path);
  if (TTreeNode* selected = FTree->Selected()) ShowNode(selected);
  if (WideCompareText(FTree->FSelectedPath, Path) != 0) FTree->FSelectedPath = Path;
  FireOnPathChange();
}

void TShDirTreeCombo::RebuildTree() {
  FTree->SetSelected(nullptr);
  FTree->AddRootAndDrives();
  if (FTree->FExpandRoot && FTree->Root()) FTree->Root()->Expand(false);
}

void TShDirTreeCombo::KeyDown(WORD& Key, TShiftState Shift) {
  bool open = FTree->Enabled();
  TTreeNode* selected = FTree->Selected();
  TTreeNode* root = FTree->Root();
  if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN) {
    if (!selected && root) {
      FTree->SetSelected(root);
      root->Expand(false);
      selected = root;
    }
    if (selected) switch (Key) {
        case VK_RIGHT: selected->Expand(false); break;
        case VK_LEFT: {
          if (selected->Expanded()) selected->Collapse(true);
          TTreeNode* prev = selected->GetPrevVisible();
          TTreeNode* prevSibling = selected->GetPrevSibling();
          if (selected != root && prevSibling != root && prev != root && prev) FTree->SetSelected(prev);
          break;
        }
        case VK_DOWN:
          if (open) {
            TTreeNode* next = selected->Expanded() ? selected->getFirstChild() : selected->GetNextVisible();
            if (next) FTree->SetSelected(next);
          } else {
            Key = VK_F4;
          }
          break;
        case VK_UP:
          if (selected != root)
            if (TTreeNode* prev = selected->GetPrevVisible()) FTree->SetSelected(prev);
          break;
      }
  }
  switch (Key) {
    case VK_F4:
      DropDownToggle();
      if (FTree->Visible() && FTree->CanFocus()) FTree->SetFocus();
      break;
    case VK_F5:
      RebuildTree();
      SetPath(FTree->FSelectedPath);
      ShowInFileList(FTree->FSelectedPath);
      break;
    case VK_RETURN:
      if (TTreeNode* node = FTree->Selected()) {
        WideString path = FTree->BuildNodePath(node);
        if (path.empty()) path = kMyComputer;
        SetSelectedPath(path);
        FireOnPathChange();
        if (FTree->Visible()) CloseDropDown();
        ShowNode(node);
      }
      break;
    case VK_ESCAPE:
      if (open) CloseDropDown();
      break;
    default: break;
  }
  TUniCustomEdit::KeyDown(Key, Shift);
}

LRESULT TShDirTreeCombo::NotifyWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg != kShellChangeMessage) return DefWindowProcA(Wnd, Msg, WParam, LParam);
  if (!(LParam & kComboNotifyEvents)) return 0;
  WideString previous = FTree->FSelectedPath;
  LockWindowUpdate(FTree->HandleAllocated() ? FTree->WindowHandle() : nullptr);
  ScopeExit unlock{[] { LockWindowUpdate(nullptr); }};
  RebuildTree();
  if (FTree->Root() && !FTree->Root()->Expanded()) FTree->Root()->Expand(false);
  if (!previous.empty()) SetPath(previous);
  ShowInFileList(previous);
  return 0;
}

void TShDirTreeCombo::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case WM_RBUTTONUP: Message.Result = 1; break;  // no context menu
    case CM_MOUSEENTER: CMMouseEnter(Message); break;
    case CM_MOUSELEAVE: CMMouseLeave(Message); break;
    default: TUniCustomEdit::Dispatch(Message);
  }
}

void TShDirTreeCombo::WMPaint(TMessage& Message) {
  TUniCustomEdit::Dispatch(Message);
  ::SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  HideCaret(WindowHandle());
  if (FImages && FImageIndex >= 0 && FImageIndex < FImages->Count()) {
    HDC dc = GetDC(WindowHandle());
    ImageList_Draw(FImages->Handle(), FImageIndex, dc, 5, ClientHeight() / 2 - 8, ILD_TRANSPARENT);
    ReleaseDC(WindowHandle(), dc);
  }
}

void TShDirTreeCombo::WMKillFocus(TMessage& Message) {
  // The focus moving into the open drop-down keeps it open; anywhere else closes it.
  HWND to = reinterpret_cast<HWND>(Message.WParam);
  if (FTree->Enabled() && !(FTree->HandleAllocated() && to == FTree->WindowHandle())) {
    if (FTree->HandleAllocated() && GetCapture() == FTree->WindowHandle()) ReleaseCapture();
    FTree->SetEnabled(false);
    FTree->SetVisible(false);
  }
  TUniCustomEdit::Dispatch(Message);
}

void TShDirTreeCombo::CMMouseEnter(TMessage& Message) {
  TUniCustomEdit::Dispatch(Message);
  if (FTree->Visible()) {
    SetShowHint(false);
    return;
  }
  SetShowHint(true);
  SetHint(FTree->Selected() ? L"SelectedPath =\r" + FTree->FSelectedPath : WideString(L"Selected = nil"));
  Application->SetShowHint(true);
}

void TShDirTreeCombo::CMMouseLeave(TMessage& Message) {
  TUniCustomEdit::Dispatch(Message);
  SetShowHint(false);
}
