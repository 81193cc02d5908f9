// The file list view's file operations: clipboard cut, copy and paste, delete, rename, new
// folder, viewing, the shell's search and properties, the Send To targets and files dropped
// on the owner window. Every change to the disk goes through the shell's file operation.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <richedit.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <vector>

#include "explorer/explorer_state.h"
#include "explorer/explorer_texts.h"
#include "explorer/file_list_view.h"
#include "explorer/file_viewers.h"
#include "explorer/hourglass.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/shell_routines.h"
#include "vcl/application.h"
#include "vcl/buttons.h"
#include "vcl/clipbrd.h"
#include "vcl/forms.h"
#include "vcl/pictures.h"
#include "vcl/scopeexit.h"
#include "vcl/stdctrls.h"
#include "widetext/filenames.h"
#include "widetext/uni_message_dialogs.h"

namespace {

// The shell operation a cut/copy or drag mode stands for.
const UINT kModeOperation[] = {FO_COPY, FO_DELETE, FO_MOVE, FO_RENAME};


WideString WithoutNul(const WideString& S) {
  return !S.empty() && S.back() == L'\0' ? S.substr(0, S.size() - 1) : S;
}

WideString JoinWide(const WideString& Folder, const WideString& Name) {
  if (Folder.empty() || Name.empty()) return WideString();
  return AddSlash(Folder) + Name;
}

bool MakeCurrentDirectory(const WideString& Folder) {
  return !Folder.empty() && SetCurrentDirectoryW(Folder.c_str());
}

void ShowWarning(const AnsiString& Text) {
  WideMessageDlg(AnsiToWide(Text), mtWarning, MsgDlgButton(mbOK), 0);
}

void ShowError(const AnsiString& Text) { WideMessageDlg(AnsiToWide(Text), mtError, MsgDlgButton(mbOK), 0); }

// The file names of a dropped-file block (DROPFILES with 8-bit or UTF-16 names).
std::vector<WideString> NamesOfDrop(HDROP Drop) {
  std::vector<WideString> names;
  UINT count = DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<wchar_t> buffer(128);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileW(Drop, i, nullptr, 0);
    if (length + 1 > buffer.size()) buffer.resize(length + 1);
    UINT got = DragQueryFileW(Drop, i, buffer.data(), static_cast<UINT>(buffer.size()));
    names.emplace_back(buffer.data(), got);
  }
  return names;
}

// Reads a file into a rich-edit control, as rich text when it is one.
DWORD CALLBACK StreamFromFile(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Done) {
  DWORD read = 0;
  BOOL ok = ReadFile(reinterpret_cast<HANDLE>(Cookie), Buffer, static_cast<DWORD>(Count), &read, nullptr);
  *Done = static_cast<LONG>(read);
  return ok ? 0 : 1;
}

}  // namespace

bool TShFileListView::CanPaste() const {
  return !FPendingFiles.empty() || IsClipboardFormatAvailable(CF_HDROP);
}

void TShFileListView::CutCopyItems(int Mode) {
  FPendingFiles.clear();
  FPendingText.clear();
  for (int i = 0; i < FRowCount; ++i) {
    bool selected = HandleAllocated() &&
                    (SendMessageW(WindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED);
    if (IsParentRow(i)) {
      LVITEMW it{};
      it.stateMask = LVIS_SELECTED;
      SendMessageW(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
      continue;
    }
    if (!selected) continue;
    WideString entry = RowAt(i).FullPath + L'\0';
    FPendingFiles.push_back(entry);
    FPendingText += entry;
  }
  ExplorerShared().CutCopyMode = Mode;
  if (FPendingText.empty()) return;
  // The names go on the clipboard wide, so that any name the folder holds survives.
  size_t bytes = sizeof(DROPFILES) + (FPendingText.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes);
  if (!block) return;
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), FPendingText.data(), FPendingText.size() * sizeof(wchar_t));
  GlobalUnlock(block);
  if (!OpenClipboard(WindowHandle())) {
    GlobalFree(block);
    return;
  }
  EmptyClipboard();
  if (!SetClipboardData(CF_HDROP, block)) GlobalFree(block);
  CloseClipboard();
}

void TShFileListView::PasteItems() {
  THourglass wait;
  if (!MakeCurrentDirectory(FDirectory)) return;
  if (FPendingFiles.empty()) {
    if (!IsClipboardFormatAvailable(CF_HDROP)) return;
    if (OpenClipboard(WindowHandle())) {
      ScopeExit close{[] { CloseClipboard(); }};
      // The clipboard keeps its block: it is read, not taken.
      if (auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP)))
        for (const WideString& name : NamesOfDrop(drop)) FPendingFiles.push_back(name + L'\0');
    }
  }
  if (FPendingFiles.empty()) {
    ShowWarning(ExplorerMessages().NoFileSelected);
    return;
  }
  int mode = ExplorerShared().CutCopyMode;
  UINT operation = kModeOperation[mode >= 0 && mode <= 3 ? mode : 0];
  for (const WideString& entry : FPendingFiles) {
    WideString source = WithoutNul(entry);
    DoFileOperation(nullptr, operation, source, false, JoinWide(FDirectory, WideExtractFileName(source)));
  }
  Refill();
  FPendingFiles.clear();
  ReloadLinkedAt(FDirectory);
}

void TShFileListView::DeleteItems() {
  THourglass wait;
  if (!MakeCurrentDirectory(FDirectory)) return;
  FPendingFiles.clear();
  WideString list;
  for (int i = 0; i < FRowCount; ++i) {
    if (IsParentRow(i)) {
      LVITEMW it{};
      it.stateMask = LVIS_SELECTED;
      SendMessageW(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
      continue;
    }
    if (SendMessageW(WindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) & LVIS_SELECTED)
      list += RowAt(i).FullPath + L'\0';
  }
  if (!list.empty()) DoFileOperation(nullptr, FO_DELETE, list, false, WideString());
  Refill();
  FPendingFiles.clear();
  ReloadLinkedAt(FDirectory);
}


// --- renaming --------------------------------------------------------------------

void TShFileListView::RenameSelected() {
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount) return;
  AnsiString attr = RowAt(index).AttrText;
  for (char& c : attr) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  if (ReadOnly() || attr == "R") {
    ShowWarning(ExplorerMessages().ReadOnlyFile);
    return;
  }
  BeginRename(index);
}

void TShFileListView::BeginRename(int Index) {
  FEditPath = RowAt(Index).FullPath;
  if (!HandleAllocated()) return;
  if (GetFocus() != WindowHandle()) ::SetFocus(WindowHandle());
  SendMessageW(WindowHandle(), LVM_EDITLABELW, static_cast<WPARAM>(Index), 0);
}

bool TShFileListView::CanEdit(TListItem* Item) {
  if (ReadOnly() || !FShortCuts->Has(vaRename)) return false;
  int index = ItemIndex();
  if (index >= 0 && index < FRowCount) FEditPath = RowAt(index).FullPath;
  return TUniCustomListView::CanEdit(Item);
}

void TShFileListView::Edit(const LVITEMA& Item) {
  // The window is a wide one: confirmed edits arrive through RenameTo.
  if (Item.pszText) RenameTo(AnsiToWide(Item.pszText));
}

void TShFileListView::RenameTo(const WideString& Text) {
  if (!FShortCuts->Has(vaRename)) return;
  THourglass wait;
  Items()->BeginUpdate();
  ScopeExit end{[this] { Items()->EndUpdate(); }};
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount || FEditPath.empty()) return;
  WideString oldPath = FEditPath;
  WideString newPath = ExtractFolderOf(oldPath) + Text;
  if (WideCompareText(newPath, oldPath) == 0) return;
  bool isFolder = AnsiCompareText(RowAt(index).Kind, "DIR") == 0;
  bool exists = GetFileAttributesW(newPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (exists)
    FileExistsMsg(AnsiPathOf(newPath));  // tells the user the name is taken
  else
    DoFileOperation(nullptr, FO_RENAME, oldPath, false, newPath);
  Refill();
  if (isFolder) ReloadLinkedAt(ExtractFolderOf(oldPath));
}


// --- new folder --------------------------------------------------------------------

void TShFileListView::NewFolder() {
  WideString base = JoinWide(FDirectory, AnsiToWide(ExplorerMessages().NewFolder));
  if (base.empty()) return;
  WideString path = base;
  for (int n = 2; GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; ++n)
    path = base + L"(" + std::to_wstring(n) + L")";
  CreateDirectoryW(path.c_str(), nullptr);
  Refill();
  ClearSelection();
  for (int i = 0; i < FRowCount; ++i) {
    if (WideCompareText(RowAt(i).FullPath, path) != 0) continue;
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    SendMessageW(WindowHandle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
    if (CanEdit(Items()->Item(i))) BeginRename(i);
    break;
  }
  ReloadLinkedAt(path);
}

// --- viewing, search, properties -----------------------------------------------------

void TShFileListView::ViewFile() {
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount) return;
  const WideString path = RowAt(index).FullPath;
  int viewer = ViewerIndexOf(WideExtractFileExt(path));
  if (viewer < 0) return;
  AnsiString program = GetShellFolder(8) + ViewerProgramOf(viewer, IsNT51OrLater());
  ExecuteFile("Open", program, AnsiPathOf(path), AnsiPathOf(ExtractFolderOf(path)), SW_SHOW);
}

void TShFileListView::FindFile() {
  if (HandleAllocated() && GetFocus() == WindowHandle())
    ExecuteFile("Find", AnsiPathOf(FDirectory), "", "", SW_SHOWNORMAL);
}

void TShFileListView::ShowProperties() {
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount || RowAt(index).FullPath.empty()) return;
  ShowPropertiesSheet(AnsiPathOf(RowAt(index).FullPath));
}

// --- send to -----------------------------------------------------------------------

void TShFileListView::SendTo(int Index) {
  switch (Index) {
    case 0: {
      WideString folder = InputSendToPath(WideString());
      if (!folder.empty()) CopyFilesTo(folder);
      break;
    }
    case 1: SendContentsToClipboard(); break;
    case 2: {
      WideString lines;
      for (int i : SelectedRows()) lines += RowAt(i).FullPath + L"\r\n";
      if (lines.empty()) break;
      if (!OpenClipboard(WindowHandle())) break;
      ScopeExit close{[] { CloseClipboard(); }};
      EmptyClipboard();
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, (lines.size() + 1) * sizeof(wchar_t));
      if (!block) break;
      memcpy(GlobalLock(block), lines.c_str(), (lines.size() + 1) * sizeof(wchar_t));
      GlobalUnlock(block);
      if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
      break;
    }
    case 3:
      if (ItemIndex() >= 0) CreateDesktopShortcut();
      break;
    default: break;
  }
}

void TShFileListView::SendContentsToClipboard() {
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount) return;
  const WideString path = RowAt(index).FullPath;
  WideString ext = WideExtractFileExt(path);
  CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  if (ext == L".BMP" || ext == L".WMF") {
    TPicture picture;
    picture.LoadFromFile(AnsiPathOf(path));
    Clipboard()->Assign(&picture);
    return;
  }
  THourglass wait;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  ScopeExit closeFile{[file] { CloseHandle(file); }};
  char head[6] = {};
  DWORD got = 0;
  ReadFile(file, head, 5, &got, nullptr);
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  // An invisible rich-edit child reads the file (keeping rich text's formatting) and copies it.
  static HMODULE richEdit = LoadLibraryW(L"riched20.dll");
  if (!richEdit) return;
  // The rich edit copies through the OLE clipboard; its data is rendered before the control
  // goes, so that the clipboard keeps it.
  HRESULT ole = OleInitialize(nullptr);
  ScopeExit oleDone{[ole] {
    OleFlushClipboard();
    if (SUCCEEDED(ole)) OleUninitialize();
  }};
  HWND editor = CreateWindowExW(0, RICHEDIT_CLASSW, L"", WS_CHILD | ES_MULTILINE, 0, 0, 10, 10, WindowHandle(),
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!editor) return;
  ScopeExit destroy{[editor] { DestroyWindow(editor); }};
  SendMessageW(editor, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(file);
  stream.pfnCallback = &StreamFromFile;
  UINT format = strncmp(head, "{\\rtf", 5) == 0 ? SF_RTF : SF_TEXT;
  SendMessageW(editor, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
  SendMessageW(editor, EM_SETSEL, 0, -1);
  SendMessageW(editor, WM_COPY, 0, 0);
}

void TShFileListView::SendToShortcut(const WideString& LinkPath) {
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount) return;
  WideString ext = WideExtractFileExt(LinkPath);
  CharUpperBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  if (ext != L".LNK") {
    if (FolderExists(LinkPath)) CopyFilesTo(LinkPath);
    return;
  }
  WideString target = ResolveShortcut(LinkPath);
  if (target.empty()) return;
  const WideString file = RowAt(index).FullPath;
  if (GetDriveTypeW(target.substr(0, 3).c_str()) == DRIVE_REMOVABLE)
    CopyFilesToRemovable(target);
  else if (!FolderExists(target))
    ExecuteFile("Open", AnsiPathOf(target), AnsiPathOf(file), AnsiPathOf(ExtractFolderOf(file)), SW_SHOW);
  else
    CopyFilesTo(target);
}

WideString TShFileListView::ResolveShortcut(const WideString& LinkPath) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return WideString();
  ScopeExit releaseLink{[link] { link->Release(); }};
  IPersistFile* file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return WideString();
  ScopeExit releaseFile{[file] { file->Release(); }};
  if (FAILED(file->Load(LinkPath.c_str(), STGM_READ))) return WideString();
  HWND owner = Application ? Application->Handle() : nullptr;
  if (FAILED(link->Resolve(owner, SLR_ANY_MATCH | SLR_NO_UI))) return WideString();
  wchar_t target[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0))) return WideString();
  return target;
}

void TShFileListView::CopyFilesTo(const WideString& Folder) {
  if (!MakeCurrentDirectory(FDirectory)) return;
  THourglass wait;
  FPendingFiles.clear();
  for (int i : SelectedRows()) FPendingFiles.push_back(RowAt(i).FullPath);
  for (const WideString& source : FPendingFiles)
    DoFileOperation(nullptr, FO_COPY, source, false, JoinWide(Folder, WideExtractFileName(source)));
  FPendingFiles.clear();
}

void TShFileListView::CopyFilesToRemovable(const WideString& Folder) {
  {
    THourglass wait;
    if (Folder.empty() || !DiskInDrive(static_cast<char>(Folder[0]), true)) return;
  }
  CopyFilesTo(Folder);
}

void TShFileListView::CreateDesktopShortcut() {
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount) {
    ShowError(ExplorerMessages().NoFileSelected);
    return;
  }
  WideString desktop = AnsiToWide(GetShellFolder(0));
  const WideString path = RowAt(index).FullPath;
  WideString name = WideExtractFileName(path);
  size_t dot = name.rfind(L'.');
  WideString bare = dot == WideString::npos ? name : name.substr(0, dot);
  bool saved = false;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    ScopeExit releaseLink{[link] { link->Release(); }};
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      ScopeExit releaseFile{[file] { file->Release(); }};
      if (SUCCEEDED(link->SetPath(path.c_str())) && SUCCEEDED(link->SetWorkingDirectory(ExtractFolderOf(path).c_str())) &&
          SUCCEEDED(link->SetDescription(bare.c_str()))) {
        WideString target = AddSlash(desktop) + bare + L".lnk";
        saved = SUCCEEDED(file->Save(target.c_str(), FALSE));
      }
    }
  }
  if (!saved) ShowError(ExplorerMessages().SaveShortcutFailed);
}

WideString TShFileListView::InputSendToPath(const WideString& Initial) {
  const TExplorerMessages& texts = ExplorerMessages();
  struct TFree {
    void operator()(TCustomForm* f) const { f->Free(); }
  };
  std::unique_ptr<TForm, TFree> form(TCustomForm::CreateNew<TForm>(nullptr));
  form->Font()->SetName("MS Sans Serif");
  form->Font()->SetSize(8);
  form->SetBorderStyle(bsDialog);
  form->SetCaption(texts.SendToAnyFolder);
  form->SetClientWidth(333);
  form->SetClientHeight(135);
  form->SetPosition(poScreenCenter);
  auto* label = new TLabel(form.get());
  label->SetParent(form.get());
  label->SetBounds(20, 12, 293, 13);
  label->SetCaption(texts.EnterSendToPath);
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(20, 32, 293, 21);
  edit->SetMaxLength(285);
  edit->SetText(WideToAnsi(Initial));
  edit->SelectAll();
  auto button = [&](TBitBtnKind kind, const AnsiString& caption, TModalResult result, int left) {
    auto* b = new TBitBtn(form.get());
    b->SetParent(form.get());
    b->SetKind(kind);
    b->SetCaption(caption);
    b->ModalResult = result;
    b->SetBounds(left, 80, 75, 25);
    return b;
  };
  button(bkOK, "OK", mrOk, 37)->SetDefault(true);
  button(bkCancel, texts.Cancel, mrCancel, 129);
  button(bkHelp, texts.Browse, 10, 221);
  TModalResult answer = form->ShowModal();
  WideString text = AnsiToWide(edit->Text());
  form.reset();
  if (answer == 10) {
    AnsiString picked;
    if (BrowseForFolder(Application ? Application->Handle() : nullptr, picked, 1, 0))
      return InputSendToPath(AnsiToWide(picked));
    return WideString();
  }
  return answer == mrOk ? text : WideString();
}

// --- dropped files --------------------------------------------------------------------

namespace {

// The owner windows hooked for dropped files: their own procedure and the views that hooked
// them, the latest last. Several views on one form share one hook; the latest gets the drops.
struct TOwnerHook {
  WNDPROC Original = nullptr;
  std::vector<TShFileListView*> Views;
};

std::map<HWND, TOwnerHook>& OwnerHooks() {
  static std::map<HWND, TOwnerHook> hooks;
  return hooks;
}

LONG_PTR SetWindowProc(HWND Wnd, LONG_PTR Proc) {
  return IsWindowUnicode(Wnd) ? SetWindowLongPtrW(Wnd, GWLP_WNDPROC, Proc) : SetWindowLongPtrA(Wnd, GWLP_WNDPROC, Proc);
}

}  // namespace

void TShFileListView::HookOwnerWindow() {
  auto* owner = dynamic_cast<TWinControl*>(Owner());
  if (!owner) return;
  FOwnerWnd = owner->Handle();
  if (!FOwnerWnd) return;
  TOwnerHook& hook = OwnerHooks()[FOwnerWnd];
  if (!hook.Original)
    hook.Original = reinterpret_cast<WNDPROC>(
        SetWindowProc(FOwnerWnd, reinterpret_cast<LONG_PTR>(&TShFileListView::OwnerWindowProc)));
  hook.Views.push_back(this);
  FOwnerPrevProc = hook.Original;
  DragAcceptFiles(FOwnerWnd, TRUE);
}

void TShFileListView::UnhookOwnerWindow() {
  if (!FOwnerWnd) return;
  auto it = OwnerHooks().find(FOwnerWnd);
  if (it != OwnerHooks().end()) {
    auto& views = it->second.Views;
    views.erase(std::remove(views.begin(), views.end(), this), views.end());
    if (views.empty()) {
      if (IsWindow(FOwnerWnd)) SetWindowProc(FOwnerWnd, reinterpret_cast<LONG_PTR>(it->second.Original));
      OwnerHooks().erase(it);
    }
  }
  FOwnerWnd = nullptr;
  FOwnerPrevProc = nullptr;
}

LRESULT CALLBACK TShFileListView::OwnerWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto it = OwnerHooks().find(Wnd);
  if (it == OwnerHooks().end())
    return IsWindowUnicode(Wnd) ? DefWindowProcW(Wnd, Msg, WParam, LParam) : DefWindowProcA(Wnd, Msg, WParam, LParam);
  if (Msg == WM_DROPFILES && !it->second.Views.empty()) {
    it->second.Views.back()->DropFiles(reinterpret_cast<HDROP>(WParam));
    return 0;
  }
  WNDPROC original = it->second.Original;
  if (Msg == WM_NCDESTROY) {
    // The owner's window goes first: nothing is left to restore afterwards.
    for (TShFileListView* view : it->second.Views) view->FOwnerWnd = nullptr;
    SetWindowProc(Wnd, reinterpret_cast<LONG_PTR>(original));
    OwnerHooks().erase(it);
  }
  return IsWindowUnicode(Wnd) ? CallWindowProcW(original, Wnd, Msg, WParam, LParam)
                              : CallWindowProcA(original, Wnd, Msg, WParam, LParam);
}

void TShFileListView::DropFiles(HDROP Drop) {
  FDroppedFiles = NamesOfDrop(Drop);
  // The drop's block is the receiver's to release once its names are read.
  DragFinish(Drop);
  if (FDroppedFiles.empty()) return;
  FPendingFiles.clear();
  for (const WideString& name : FDroppedFiles) FPendingFiles.push_back(name);
  ExplorerShared().CutCopyMode = kCopyMode;
  PasteItems();
}
