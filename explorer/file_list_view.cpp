#include "explorer/file_list_view.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "explorer/dir_tree_combo.h"
#include "explorer/explorer_state.h"
#include "explorer/hourglass.h"
#include "explorer/file_list_popup.h"
#include "explorer/shell_dir_tree.h"
#include "explorer/shell_routines.h"
#include "explorer/shell_theme.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/scopeexit.h"
#include "vcl/streaming.h"
#include "vcl/typinfo.h"
#include "widetext/filenames.h"
#include "widetext/uni_message_dialogs.h"


namespace {

// Where the view remembers which image of the shared system list is its parent-entry icon.
const wchar_t kRegistryKey[] = L"Software\\Kavo\\Explorer";
const wchar_t kParentIndexValue[] = L"ParentImgIdx";

const uint32_t kFileTypeAttr[] = {0x01, 0x02, 0x04, 0x10, 0x20, 0x80, 0x800};

// "#,##0" with the user's thousands separator.
WideString GroupedNumber(int64_t Value) {
  wchar_t sep[8] = L",";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, sep, 8);
  std::wstring digits = std::to_wstring(Value < 0 ? -Value : Value);
  std::wstring out;
  int n = 0;
  for (auto it = digits.rbegin(); it != digits.rend(); ++it, ++n) {
    if (n && n % 3 == 0) out.insert(0, sep);
    out.insert(out.begin(), *it);
  }
  return Value < 0 ? L"-" + out : out;
}

AnsiString LocaleText(LCTYPE Type) {
  char buf[128] = {};
  GetLocaleInfoA(GetThreadLocale(), Type, buf, sizeof buf);
  return buf;
}

// The pixels of image Index of a list, drawn on white.
std::vector<DWORD> ImagePixels(HIMAGELIST List, int Index) {
  int cx = 0, cy = 0;
  ImageList_GetIconSize(List, &cx, &cy);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = -cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<DWORD> pixels;
  if (bmp) {
    HGDIOBJ old = SelectObject(dc, bmp);
    PatBlt(dc, 0, 0, cx, cy, WHITENESS);
    ImageList_Draw(List, Index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    pixels.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + cx * cy);
    SelectObject(dc, old);
    DeleteObject(bmp);
  }
  DeleteDC(dc);
  return pixels;
}

// Whether image Stored of the shared list is still the parent bitmap: the bitmap is added
// once more, the two images compared, and the added one taken out again.
bool ParentImageStillThere(HIMAGELIST List, int Stored, HBITMAP Parent) {
  if (!Parent) return false;
  bool same = false;
  int count = ImageList_GetImageCount(List);
  if (Stored >= 0 && Stored < count) {
    int added = ImageList_Add(List, Parent, nullptr);
    if (added >= 0) {
      same = ImagePixels(List, Stored) == ImagePixels(List, added);
      ImageList_Remove(List, added);
    }
  }
  DeleteObject(Parent);
  return same;
}


}  // namespace

uint32_t SearchAttributeOf(TFileType Types) {
  uint32_t attr = 0;
  for (int i = ftReadOnly; i <= ftNormal; ++i)
    if (Types & (1u << i)) attr += kFileTypeAttr[i];
  return attr;
}

AnsiString DateFormatPicture(TDtFormat Format) {
  switch (Format) {
    case df_MMddyyyy: return "MM/dd/yyyy";
    case df_MMddyy: return "MM/dd/yy";
    case df_ddMMyyyy: return "dd/MM/yyyy";
    case df_ddMMyy_GB: return "dd/MM/yy";
    case df_ddMMyy_DE: return "dd.MM.yy";
    case df_ddMMyy_IT: return "dd-MM-yy";
    case df_yyyyMMdd: return "yyyy-MM-dd";
    case df_yyMMdd: return "yy-MM-dd";
    default: return LocaleText(LOCALE_SSHORTDATE);
  }
}

AnsiString TimeFormatPicture(TTmFormat Format) {
  AnsiString time = LocaleText(LOCALE_STIMEFORMAT);
  switch (Format) {
    case tfLongFormat: return time;
    case tfShortFormat: {
      // The long picture without its seconds.
      size_t s = time.find_first_of("s");
      if (s == AnsiString::npos) return time;
      size_t cut = s;
      while (cut > 0 && time[cut - 1] != 'm' && time[cut - 1] != 'M') --cut;
      size_t end = time.find_last_of("s") + 1;
      return time.substr(0, cut) + time.substr(end);
    }
    default: {
      size_t t = time.find('t');
      if (t != AnsiString::npos) time = time.substr(0, t);
      return time + " AM/PM";
    }
  }
}

// ---------------------------------------------------------------------------

TShFileListShortCuts::TShFileListShortCuts()
    : scCopy(ShortCut('C', ssCtrl)),
      scPaste(ShortCut('V', ssCtrl)),
      scCut(ShortCut('X', ssCtrl)),
      scOpen(ShortCut('O', ssCtrl)),
      scView(ShortCut('F', ssCtrl)),
      scNewFolder(ShortCut('N', ssCtrl)),
      scSelectAll(ShortCut('A', ssCtrl)),
      scDelete(ShortCut(VK_DELETE, 0)),
      scBack(ShortCut(VK_BACK, 0)),
      scRename(ShortCut(VK_F2, 0)),
      scFindFile(ShortCut(VK_F3, 0)),
      scRefresh(ShortCut(VK_F5, 0)),
      Actions((1u << (vaRefresh + 1)) - 1) {}

void TShFileListShortCuts::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TShFileListShortCuts*>(Source)) {
    scCopy = s->scCopy, scPaste = s->scPaste, scCut = s->scCut, scOpen = s->scOpen, scView = s->scView;
    scNewFolder = s->scNewFolder, scSelectAll = s->scSelectAll, scDelete = s->scDelete, scBack = s->scBack;
    scRename = s->scRename, scFindFile = s->scFindFile, scRefresh = s->scRefresh, Actions = s->Actions;
    return;
  }
  TPersistent::Assign(Source);
}

void TListItemColors::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TListItemColors*>(Source)) {
    Attr_Archive = s->Attr_Archive, Attr_Hidden = s->Attr_Hidden, Attr_Readonly = s->Attr_Readonly;
    Attr_System = s->Attr_System;
    return;
  }
  TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------

TShFileListView::TShFileListView(TComponent* AOwner) : TUniCustomListView(AOwner) {
  // The window must see double clicks as such to tell them (NM_DBLCLK); without this the
  // framework hands it a second press instead.
  ControlStyle |= csDoubleClicks;
  SetMultiSelect(true);
  SetReadOnly(false);
  SetHideSelection(false);
  SetViewStyle(vsReport);
  SetShowColumnHeaders(true);
  FShortCuts = std::make_unique<TShFileListShortCuts>();
  FItemColors = std::make_unique<TListItemColors>();
  FDatePicture = DateFormatPicture(FDateFormat);
  FTimePicture = TimeFormatPicture(FTimeFormat);
  LoadSystemImages();
  LoadHeaderBitmaps();
  SetLanguage(lnEnglish);
  if (FParentDirCaption.empty()) FParentDirCaption = " Up one level";
  HookOwnerWindow();
  SetOwnerData(true);
  OnColumnClick = [this](TObject* Sender, TListColumn* Column) { ColumnClick(Sender, Column); };
  ResetRows();
}

TShFileListView::~TShFileListView() {
  FRowCount = 0;
  FRows.clear();
  UnhookOwnerWindow();
  if (FBmpUp) DeleteObject(FBmpUp);
  if (FBmpDown) DeleteObject(FBmpDown);
}

void TShFileListView::Loaded() {
  TUniCustomListView::Loaded();
  UpdateFileList();
}

void TShFileListView::Notification(TComponent* AComponent, TOperation Operation) {
  TUniCustomListView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDirTree) FDirTree = nullptr;
  if (AComponent == FDirTreeCombo) FDirTreeCombo = nullptr;
  if (AComponent == FPopUp) {
    FPopUp = nullptr;
    if (PopupMenu() == AComponent) SetPopupMenu(nullptr);
  }
}

void TShFileListView::CreateWnd() {
  TUniCustomListView::CreateWnd();
  if (HasState(csLoading)) return;
  if (FColumnsKind == kDriveColumns)
    CreateDriveColumns();
  else
    CreateFileColumns();
  if (FRowCount) {
    Items()->SetCount(FRowCount);
    UpdateSortIndicators();
  }
}

// --- properties ------------------------------------------------------------------

bool TShFileListView::IsMyComputer(const WideString& Path) const {
  return WideCompareText(Path, WideString(kMyComputer)) == 0;
}

void TShFileListView::SetDirectory(const WideString& Value) {
  if (WideCompareText(Value, FDirectory) == 0) return;
  if (IsMyComputer(Value)) {
    FDirectory = Value;
    UpdateFileList();
    return;
  }
  if (!FolderExists(Value)) return;
  WideString folder = AddSlash(Value);
  if (WideCompareText(folder, FDirectory) == 0) return;
  SetCurrentDirectoryW(folder.c_str());
  FDirectory = folder;
  UpdateFileList();
}

void TShFileListView::SetMask(const WideString& Value) {
  if (Value == FMask) return;
  FMask = Value;
  UpdateFileList();
}

void TShFileListView::SetFileType(TFileType Value) {
  if (Value == FFileType) return;
  FFileType = Value;
  UpdateFileList();
}

void TShFileListView::SetShowFolders(bool Value) {
  if (Value == FShowFolders) return;
  FShowFolders = Value;
  UpdateFileList();
}

void TShFileListView::SetParentDirCaption(const AnsiString& Value) {
  auto trim = [](const AnsiString& s) {
    size_t a = 0, b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
    return s.substr(a, b - a);
  };
  AnsiString value = trim(Value);
  if (AnsiCompareText(value, trim(FParentDirCaption)) != 0 || FParentDirCaption.empty()) FParentDirCaption = " " + value;
}

void TShFileListView::SetDateFormat(TDtFormat Value) {
  FDateFormat = Value;
  FDatePicture = DateFormatPicture(Value);
}

void TShFileListView::SetTimeFormat(TTmFormat Value) {
  FTimeFormat = Value;
  FTimePicture = TimeFormatPicture(Value);
}

void TShFileListView::SetColWidth(int Index, int Value) {
  FColWidths[Index] = Value;
  if (FColumnsKind == kFileColumns && Index < Columns()->Count()) Column(Index)->SetWidth(Value);
}

void TShFileListView::SetPopUpMenuEnabled(bool Value) {
  if (Value == FPopUpMenuEnabled) return;
  FPopUpMenuEnabled = Value;
  if (!Value) {
    SetPopupMenu(nullptr);
    if (HandleAllocated()) SetMouseCapture(false);
  } else if (FPopUp) {
    SetPopupMenu(FPopUp);
  }
}

void TShFileListView::SetLItemColorByATTR(bool Value) {
  if (Value == FItemColorByAttr) return;
  FItemColorByAttr = Value;
  if (HandleAllocated()) Invalidate();
}

void TShFileListView::SetLItemColors(TListItemColors* Value) {
  if (Value) FItemColors->Assign(Value);
  if (HandleAllocated()) Invalidate();
}

void TShFileListView::SetLanguage(TLanguage Value) {
  TLanguage language = ResolveLanguage(Value, true);
  if (language == FLanguage) return;
  FLanguage = language;
  ExplorerLanguage() = language;
  LoadFileListTexts(language);
  if (FPopUp) {
    SetPopupMenu(nullptr);
    delete FPopUp;
    FPopUp = nullptr;
  }
  if (Application) Application->ProcessMessages();
  MakePopUp();
  FPopUpMenuEnabled = true;
  if (HandleAllocated()) RecreateWnd();
}

void TShFileListView::MakePopUp() {
  FPopUp = new TShFileListViewPopUp(this);
  FPopUp->SetFileList(this);
  FPopUp->BuildMenu();
  FPopUp->SetAutoPopup(!IsMyComputer(FDirectory));
  SetPopupMenu(FPopUp);
}

AnsiString TShFileListView::DriveTypeText(UINT DriveType) const {
  return DriveType <= 6 ? ExplorerText(ExplorerLanguage(), etUnknown + static_cast<int>(DriveType)) : AnsiString();
}

void TShFileListView::SetDirTree(TShDirTree* Value) {
  if (Value == FDirTree) return;
  if (FDirTree) {
    FDirTree->RemoveFreeNotification(this);
    FDirTree->SetFileList(nullptr);
  }
  FDirTree = Value;
  if (FDirTree) {
    FDirTree->FreeNotification(this);
    FDirTree->SetFileList(this);
  }
}

void TShFileListView::SetDirTreeCombo(TShDirTreeCombo* Value) {
  if (Value == FDirTreeCombo) return;
  if (FDirTreeCombo) {
    FDirTreeCombo->RemoveFreeNotification(this);
    FDirTreeCombo->SetFileList(nullptr);
  }
  FDirTreeCombo = Value;
  if (FDirTreeCombo) {
    FDirTreeCombo->FreeNotification(this);
    FDirTreeCombo->SetFileList(this);
  }
}

void TShFileListView::ReloadLinkedAt(const WideString& Path) {
  if (FDirTreeCombo) {
    FDirTreeCombo->RebuildTree();
    FDirTreeCombo->SetPath(Path);
  } else if (FDirTree) {
    FDirTree->RebuildTree();
    FDirTree->OpenPathW(Path);
  }
}

// --- selection -------------------------------------------------------------------

std::vector<int> TShFileListView::SelectedRows() const {
  std::vector<int> rows;
  if (!HandleAllocated()) return rows;
  int i = -1;
  while ((i = static_cast<int>(SendMessageW(WindowHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0 &&
         i < FRowCount)
    // The ".." row stands for the parent folder: never part of what a file operation gets.
    if (!IsParentRow(i)) rows.push_back(i);
  return rows;
}

int TShFileListView::SelectedNumber() const {
  int n = HandleAllocated() ? SelCount() : 0;
  return n > 0 ? n : FRowCount;
}

int64_t TShFileListView::SelectedSize() const {
  int64_t total = 0;
  for (int i : SelectedRows()) total += RowAt(i).Size;
  return total;
}

int64_t TShFileListView::DriveFreeSpace() const {
  if (FDirectory.empty()) return 0;
  return DiskFreeKB(WideToAnsi(FDirectory.substr(0, 1)) + ":\\");
}

bool TShFileListView::IsParentRow(int Index) const {
  return Index >= 0 && Index < FRowCount && RowAt(Index).Name == L"..";
}

// --- filling ---------------------------------------------------------------------

void TShFileListView::ResetRows() {
  FRowCount = 0;
  FRows.clear();
  FRows.reserve(500);
  FOrder.clear();
}

void TShFileListView::AppendRow(TFileInfo&& Row) {
  // The array grows by half its size (at least 500 records), so that a large folder's
  // records are not moved again for every 500 more.
  if (FRowCount >= static_cast<int>(FRows.capacity()))
    FRows.reserve(static_cast<size_t>(FRowCount) + std::max<size_t>(500, FRows.capacity() / 2));
  FRows.push_back(std::move(Row));
  FOrder.push_back(FRowCount++);
}

bool TShFileListView::AddFiles(const WideString& Pattern, uint32_t Attr) {
  FSortOnClick = true;
  WideString folder = AddSlash(FDirectory);
  int before = FRowCount;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(Pattern.c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!SearchTakesEntry(data.dwFileAttributes, Attr)) continue;
      if (wcscmp(data.cFileName, L".") == 0) continue;
      if (wcscmp(data.cFileName, L"..") == 0 && !FParentDirEnabled) continue;
      TFileInfo row = RecordOfFindData(folder, data);
      AppendRow(std::move(row));
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  if (HandleAllocated()) Items()->SetCount(FRowCount);
  return FRowCount > before;
}

void TShFileListView::AddFolderEntries(const std::vector<WideString>& Masks, uint32_t Attr) {
  // The folder pass and the mask passes read the same folder: one walk serves them all,
  // the masks matched here as the system's search would match them.
  FSortOnClick = true;
  WideString folder = AddSlash(FDirectory);
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  const uint32_t folderAttr = Attr + kAttrDirectory;
  do {
    const wchar_t* name = data.cFileName;
    if (name[0] == L'.' && name[1] == 0) continue;
    int copies = 0;
    if (data.dwFileAttributes & kAttrDirectory) {
      if (!FShowFolders || !SearchTakesEntry(data.dwFileAttributes, folderAttr)) continue;
      if (name[0] == L'.' && name[1] == L'.' && name[2] == 0 && !FParentDirEnabled) continue;
      copies = 1;
    } else {
      if (!SearchTakesEntry(data.dwFileAttributes, Attr)) continue;
      WideString n;  // made only for a mask that must look at the name
      for (const WideString& mask : Masks) {  // a mask named twice lists twice
        if (mask == L"*" || mask == L"*.*") {
          ++copies;
          continue;
        }
        if (n.empty()) n = name;
        copies += MatchesMask(n, mask) ? 1 : 0;
      }
    }
    if (!copies) continue;
    TFileInfo row = RecordOfFindData(folder, data);
    for (int c = 1; c < copies; ++c) AppendRow(TFileInfo(row));
    AppendRow(std::move(row));
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

void TShFileListView::AddDrives() {
  FSortOnClick = false;
  DWORD mask = GetLogicalDrives();
  ExplorerShared().DriveMask = mask;
  for (int d = 0; d < 26; ++d) {
    if (!(mask & (1u << d))) continue;
    wchar_t letter = static_cast<wchar_t>(L'A' + d);
    WideString root = WideString(1, letter) + L":\\";
    TFileInfo row;
    row.Kind = "drv";
    row.InfoFetched = true;
    SHFILEINFOW info{};
    SHGetFileInfoW(root.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    if (FSmallImages) row.ImageIndex = info.iIcon;
    UINT type = GetDriveTypeW(root.c_str());
    row.TypeName = AnsiToWide(DriveTypeText(type));
    WideString display = info.szDisplayName;
    size_t bracket = display.find(L'(');
    row.Name = L" (" + WideString(1, letter) + L":)  " + (bracket == WideString::npos ? WideString() : display.substr(0, bracket));
    row.FullPath = root;
    if (type != DRIVE_REMOVABLE && type != DRIVE_CDROM) {
      AnsiString aroot = WideToAnsi(root);
      row.Size = DiskSizeKB(aroot);
      row.FreeSpace = DiskFreeKB(aroot);
    }
    AppendRow(std::move(row));
  }
  if (HandleAllocated()) Items()->SetCount(FRowCount);
}

void TShFileListView::UpdateFileList() {
  if (HasState(csLoading)) return;
  ResetRows();
  FShellTypes.DropIfClassesChanged();  // associations may have changed since the last fill
  FRowDatePicture = FDatePicture;
  FRowTimePicture = FTimePicture;
  if (HandleAllocated()) ClearRowStates();
  THourglass wait;
  if (HasState(csDesigning)) {
    if (IsMyComputer(FDirectory))
      CreateDriveColumns();
    else if (FColumnsKind != kFileColumns)
      CreateFileColumns();
    return;
  }
  {
    ScopeExit sortAtEnd{[this] {
      FDescending = true;
      if (FRowCount && Columns()->Count()) ColumnClick(this, Column(0));
    }};
    if (IsMyComputer(FDirectory)) {
      CreateDriveColumns();
      AddDrives();
      if (FPopUp) FPopUp->SetAutoPopup(false);
    } else {
      if (FPopUp) FPopUp->SetAutoPopup(true);
      if (FColumnsKind != kFileColumns) CreateFileColumns();
      uint32_t attr = SearchAttributeOf(FFileType);
      std::vector<WideString> masks = SplitMasks(FMask);
      // Parts that name a path of their own are searched as the system reads them.
      std::vector<WideString> plain, withPath;
      for (const WideString& m : masks) (m.find_first_of(L"\\/:") == WideString::npos ? plain : withPath).push_back(m);
      AddFolderEntries(plain, attr);
      for (const WideString& m : withPath) AddFiles(AddSlash(FDirectory) + m, attr);
      // The sort at the end tells the window the rows.
      if (!(FRowCount && Columns()->Count())) ShowRowsAgain();
    }
  }
  if (FRowCount && HandleAllocated() && SelCount() == 0) {
    LVITEMW it{};
    it.stateMask = LVIS_FOCUSED;
    it.state = LVIS_FOCUSED;
    SendMessageW(WindowHandle(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&it));
  }
  if (Application) Application->ProcessMessages();
}

void TShFileListView::Refill() { UpdateFileList(); }

// --- rows on demand --------------------------------------------------------------

void TShFileListView::FetchShellInfo(TFileInfo& Row) {
  Row.InfoFetched = true;
  // Drives come with theirs; the parent entry shows its own icon and no type.
  if (Row.Kind == "drv" || Row.Name == L"..") return;
  // Files of one extension share their icon and type: the cache asks the shell once.
  TShellTypeInfo info = Row.Kind == "file" ? FShellTypes.FileInfo(Row.FullPath, Row.Name) : AskShellTypeInfo(Row.FullPath);
  Row.ImageIndex = info.ImageIndex;
  Row.TypeName = std::move(info.TypeName);
}

WideString TShFileListView::SizeColumnText(const TFileInfo& Row) const {
  if (FFileSize == fsKB) return AnsiToWide(SizeText(Row.Kind, Row.Size));
  return Row.Kind == "dir" ? WideString(L" ") : std::to_wstring(Row.Size);
}

WideString TShFileListView::RowCaption(const TFileInfo& Row) const {
  if (Row.Name == L"..") return AnsiToWide(FParentDirCaption);
  if (FHideFileExt) {
    size_t dot = Row.Name.rfind(L'.');
    if (dot != WideString::npos) return Row.Name.substr(0, dot);
  }
  return Row.Name;
}

WideString TShFileListView::CellText(const TFileInfo& Row, int Column) const {
  if (Row.Kind == "drv") {
    switch (Column) {
      case 0: return Row.Name;
      case 1: return Row.TypeName;
      case 2: return GroupedNumber(Row.Size / 1024) + L" Mb";
      case 3: return GroupedNumber(Row.FreeSpace / 1024) + L" Mb";
      case 4: return L" ";
      default: return WideString();
    }
  }
  bool parent = Row.Name == L"..";
  switch (Column) {
    case 0: return RowCaption(Row);
    case 1: return SizeColumnText(Row);
    case 2: return parent ? WideString(L" ") : Row.TypeName;
    case 3: return parent ? WideString(L" ") : Row.ModifiedText;
    case 4: return parent ? WideString(L" ") : AnsiToWide(Row.AttrText);
    case 5: return Row.FullPath;
    case 6: return AnsiToWide(Row.Kind);
    case 7: return AnsiToWide(Row.DateKey);
    default: return WideString();
  }
}

TFileInfo* TShFileListView::ShownRow(int Index) {
  if (Index < 0 || Index >= FRowCount) return nullptr;
  TFileInfo& row = RowAt(Index);
  if (!row.InfoFetched) FetchShellInfo(row);
  if (row.ModifiedText.empty() && row.Kind != "drv") {
    // Formatted when first shown, with the pictures in force when the row was read.
    FILETIME time{static_cast<DWORD>(row.WriteTime), static_cast<DWORD>(row.WriteTime >> 32)};
    row.ModifiedText = AnsiToWide(FileTimeText(time, FRowDatePicture, FRowTimePicture));
  }
  return &row;
}

int TShFileListView::RowImage(const TFileInfo& Row) const {
  return Row.Name == L".." ? FParentImgIdx : Row.ImageIndex;
}

bool TShFileListView::OwnerDataFetch(TListItem* Item, UINT Request) {
  TUniCustomListView::OwnerDataFetch(Item, Request);  // forgets the row it stood for last
  TFileInfo* row = ShownRow(Item->Index());
  if (!row) return false;
  auto* item = static_cast<TUniListItem*>(Item);
  item->SetCaption(CellText(*row, 0));
  item->SetImageIndex(RowImage(*row));
  TWideSubItems* subs = item->SubItems();
  subs->BeginUpdate();
  ScopeExit done{[subs] { subs->EndUpdate(); }};
  int columns = row->Kind == "drv" ? 4 : 7;
  for (int c = 1; c <= columns; ++c) subs->Add(CellText(*row, c));
  return true;
}

void TShFileListView::AnswerDisplayRequest(NMLVDISPINFOW* Info) {
  // The window asks for one cell at a time: it is answered from the row itself, without
  // filling the framework's item with every column.
  LVITEMW& it = Info->item;
  TFileInfo* row = ShownRow(it.iItem);
  if (!row) return;
  if (it.mask & LVIF_TEXT) CopyNotifyText(it.pszText, it.cchTextMax, CellText(*row, it.iSubItem));
  if ((it.mask & LVIF_IMAGE) && it.iSubItem == 0) it.iImage = RowImage(*row);
}

// --- columns and sorting -----------------------------------------------------------

void TShFileListView::CreateFileColumns() {
  static const TAlignment align[] = {taLeftJustify, taRightJustify, taLeftJustify, taLeftJustify, taLeftJustify};
  Columns()->BeginUpdate();
  Columns()->Clear();
  for (int i = 0; i < 5; ++i) {
    TListColumn* c = Columns()->Add();
    c->SetCaption(ExplorerText(FLanguage, etName + i));
    c->SetWidth(FColWidths[i]);
    c->SetAlignment(align[i]);
  }
  Columns()->EndUpdate();
  FColumnsKind = kFileColumns;
}

void TShFileListView::CreateDriveColumns() {
  static const TAlignment align[] = {taLeftJustify, taLeftJustify, taRightJustify, taRightJustify, taLeftJustify};
  static const int widths[] = {160, 110, 90, 90, 40};
  static const int texts[] = {etName, etType, etDiskSize, etFreeSpace, etAttr};
  Columns()->BeginUpdate();
  Columns()->Clear();
  for (int i = 0; i < 5; ++i) {
    TListColumn* c = Columns()->Add();
    c->SetCaption(ExplorerText(FLanguage, texts[i]));
    c->SetWidth(widths[i]);
    c->SetAlignment(align[i]);
  }
  Columns()->EndUpdate();
  FColumnsKind = kDriveColumns;
}

int TShFileListView::CompareItems(const TFileInfo& A, const TFileInfo& B) const {
  return CompareFileInfo(A, B, FSortColumn, FDescending);
}

void TShFileListView::SortItems(int L, int R) { SortRowOrder(FRows, FOrder, L, R, FSortColumn, FDescending); }

void TShFileListView::ColumnClick(TObject* Sender, TListColumn* Column) {
  if (!FSortOnClick || !Column) return;
  int index = Column->Index();
  FArrowColumn = index;
  if (index == FSortColumn) {
    FDescending = !FDescending;
  } else {
    FSortColumn = index;
    FDescending = true;
  }
  // Type names are fetched as rows are shown; rows not shown yet would sort as untyped.
  if (FSortColumn == colType)
    for (TFileInfo& row : FRows)
      if (!row.InfoFetched && row.Kind != "drv") FetchShellInfo(row);
  SortItems(0, FRowCount - 1);
  ShowRowsAgain();
  UpdateSortIndicators();
}

void TShFileListView::ShowRowsAgain() {
  if (!HandleAllocated()) return;
  // Every row is asked for again and none stays chosen, as after emptying the list and
  // filling it anew; the count itself changes only when it must (the window lays out its
  // scroll bars again for each count it is given).
  ClearRowStates();
  if (Items()->Count() != FRowCount)
    Items()->SetCount(FRowCount);
  else
    InvalidateRect(WindowHandle(), nullptr, FALSE);
}

void TShFileListView::ClearRowStates() {
  // A change of every row makes the window visit each of them: the selection is cleared
  // only when there is one, and the focus taken from the one row that has it. Either way
  // nothing is reported of rows that may be gone already, as when all rows change at once.
  HWND wnd = WindowHandle();
  FClearingStates = true;
  ScopeExit done{[this] { FClearingStates = false; }};
  LVITEMW none{};
  if (SendMessageW(wnd, LVM_GETSELECTEDCOUNT, 0, 0) > 0) {
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(wnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    return;
  }
  int focused = static_cast<int>(SendMessageW(wnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused < 0) return;
  none.stateMask = LVIS_FOCUSED;
  SendMessageW(wnd, LVM_SETITEMSTATE, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&none));
}

void TShFileListView::UpdateSortIndicators() {
  HWND header = HandleAllocated() ? GetHeaderHandle() : nullptr;
  if (!header) return;
  bool themed = ThemeServicesActive();
  int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    HDITEMW hd{};
    hd.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hd));
    if (i == FArrowColumn) {
      if (themed) {
        hd.fmt = (hd.fmt & 0xFF) | HDF_STRING | (FDescending ? HDF_SORTDOWN : HDF_SORTUP);
        SendMessageW(WindowHandle(), LVM_SETSELECTEDCOLUMN, static_cast<WPARAM>(i), 0);
      } else {
        hd.mask |= HDI_BITMAP;
        hd.hbm = FDescending ? FBmpDown : FBmpUp;
        hd.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
      }
    } else if (themed) {
      hd.fmt = (hd.fmt & 0xFF) | HDF_STRING;
    } else {
      hd.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    }
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hd));
  }
  if (themed) Invalidate();
}

void TShFileListView::WMNotify(TMessage& Message) {
  TUniCustomListView::WMNotify(Message);
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!hdr || hdr->hwndFrom != GetHeaderHandle()) return;
  // The header tells the end of a divider drag in the A or the W form, whichever its
  // notify format is; both bring the arrows back.
  if (hdr->code == HDN_ENDTRACKA || hdr->code == HDN_ENDTRACKW) UpdateSortIndicators();
}

void TShFileListView::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (hdr->code == LVN_ENDLABELEDITW) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(Message.LParam);
    if (info->item.pszText && info->item.iItem != -1 && FShortCuts->Has(vaRename)) {
      // The list view's own part of a confirmed edit comes first: OnEdited sees the name,
      // and may still change it, before the file is renamed.
      WideString text = info->item.pszText;
      if (OnEdited) {
        OnEdited(this, Items()->Item(info->item.iItem), text);
      } else if (TCustomListView::OnEdited) {
        AnsiString ansi = WideToAnsi(text);
        TCustomListView::OnEdited(this, Items()->Item(info->item.iItem), ansi);
        text = AnsiToWide(ansi);
      }
      RenameTo(text);
    }
    Message.Result = 0;  // the rows are refilled from the disk instead
    return;
  }
  if (FClearingStates && (hdr->code == LVN_ITEMCHANGING || hdr->code == LVN_ITEMCHANGED)) {
    Message.Result = 0;
    return;
  }
  if (hdr->code == NM_CUSTOMDRAW) {
    LRESULT result = CDRF_DODEFAULT;
    ColorRow(reinterpret_cast<NMLVCUSTOMDRAW*>(Message.LParam), result);
    Message.Result = result;
    return;
  }
  if (hdr->code == LVN_BEGINDRAG) {
    // The window saw the mouse move its drag distance with the button down.
    DragRowsToTree(reinterpret_cast<NMLISTVIEW*>(Message.LParam)->ptAction);
    return;
  }
  if (hdr->code == LVN_GETDISPINFOW) {
    AnswerDisplayRequest(reinterpret_cast<NMLVDISPINFOW*>(Message.LParam));
    return;
  }
  if (hdr->code == LVN_ENDLABELEDITA) {
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(Message.LParam);
    if (info->item.pszText && info->item.iItem != -1) Edit(info->item);
    Message.Result = 0;
    return;
  }
  TUniCustomListView::CNNotify(Message);
}

// --- looks -----------------------------------------------------------------------

void TShFileListView::ColorRow(NMLVCUSTOMDRAW* Draw, LRESULT& Result) {
  // Rows are coloured straight from their records: the framework's item is not filled for
  // each row painted.
  Result = CDRF_DODEFAULT;
  if (Draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
    if (ViewStyle() == vsReport || ViewStyle() == vsList) Result = CDRF_NOTIFYITEMDRAW;
    return;
  }
  if (Draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return;
  if (!FItemColorByAttr) {
    Draw->clrText = ColorToRGB(clWindowText);
    return;
  }
  int index = static_cast<int>(Draw->nmcd.dwItemSpec);
  if (index < 0 || index >= FRowCount) return;
  uint32_t a = RowAt(index).Attributes;
  TColor color = Font()->Color();  // a row without these bits keeps the view's own colour
  if (a & kAttrArchive) color = FItemColors->Attr_Archive;
  if (a & kAttrHidden) color = FItemColors->Attr_Hidden;
  if (a & kAttrReadOnly) color = FItemColors->Attr_Readonly;
  if (a & kAttrSystem) color = FItemColors->Attr_System;
  Draw->clrText = ColorToRGB(color);
}

void TShFileListView::LoadSystemImages() {
  FParentImgIdx = -1;
  SHFILEINFOW info{};
  auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
  auto small =
      reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  FLargeImages = new TImageList(this);
  FSmallImages = new TImageList(this);
  if (large) {
    FLargeImages->SetShareImages(true);
    FLargeImages->SetHandle(large);
  }
  if (small) {
    FSmallImages->SetShareImages(true);
    FSmallImages->SetHandle(small);
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    ScopeExit close{[key] { RegCloseKey(key); }};
    HINSTANCE module = GetModuleHandleW(nullptr);
    auto loadBitmap = [module](const wchar_t* name) {
      return static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    };
    auto addParents = [&] {
      HBITMAP l = loadBitmap(L"PARENT_L282"), s = loadBitmap(L"PARENT_S282");
      if (large && l) ImageList_Add(large, l, nullptr);
      if (small && s) ImageList_Add(small, s, nullptr);
      if (l) DeleteObject(l);
      if (s) DeleteObject(s);
      FParentImgIdx = large ? ImageList_GetImageCount(large) - 1 : -1;
      DWORD v = static_cast<DWORD>(FParentImgIdx);
      RegSetValueExW(key, kParentIndexValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    };
    DWORD stored = 0, size = sizeof stored, type = 0;
    if (RegQueryValueExW(key, kParentIndexValue, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD) {
      addParents();
    } else if (!large || !ParentImageStillThere(large, static_cast<int>(stored), loadBitmap(L"PARENT_L282"))) {
      addParents();
    } else {
      FParentImgIdx = static_cast<int>(stored);
    }
  }
  SetLargeImages(FLargeImages);
  SetSmallImages(FSmallImages);
}

void TShFileListView::LoadHeaderBitmaps() {
  HINSTANCE module = GetModuleHandleW(nullptr);
  FBmpUp = static_cast<HBITMAP>(
      LoadImageW(module, L"BMP_UP28", IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS));
  FBmpDown = static_cast<HBITMAP>(
      LoadImageW(module, L"BMP_DOWN28", IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS));
}

// --- navigation --------------------------------------------------------------------

void TShFileListView::OpenItem() {
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount) return;
  THourglass wait;
  const TFileInfo row = RowAt(index);
  if (row.Name == L"..") {
    OneLevelUp();
    return;
  }
  if (row.Kind == "file") {
    ExecuteFile("Open", AnsiPathOf(row.FullPath), "", AnsiPathOf(ExtractFolderOf(row.FullPath)), SW_SHOW);
    return;
  }
  if (row.Kind != "dir" && row.Kind != "drv") return;
  if (row.Kind == "drv" && GetDriveTypeW(row.FullPath.c_str()) == DRIVE_REMOVABLE &&
      !DiskInDrive(static_cast<char>(row.FullPath[0]), true))
    return;
  WideString folder = AddSlash(row.FullPath);
  SetDirectory(folder);
  if (FDirTree) FDirTree->OpenPathW(folder);
  if (FDirTreeCombo) FDirTreeCombo->SetPath(folder);
}

namespace {

TTreeNode* SelectedNodeOf(TCustomTreeView* Tree) { return Tree ? Tree->Selected() : nullptr; }

// A linked tree back at its root: the drives.
void ShowRoot(TCustomTreeView* Tree) {
  if (!Tree) return;
  if (TTreeNode* node = Tree->Selected(); node && node->Expanded()) node->Collapse(false);
  if (TTreeNode* first = Tree->Items()->GetFirstNode()) Tree->SetSelected(first);
}

void CollapseFirstLevel(TCustomTreeView* Tree) {
  if (TTreeNode* node = SelectedNodeOf(Tree); node && node->Level() == 1 && node->Expanded()) node->Collapse(false);
}

}  // namespace

void TShFileListView::OneLevelUp() {
  if (IsMyComputer(FDirectory)) return;
  TCustomTreeView* comboTree = FDirTreeCombo ? FDirTreeCombo->Tree() : nullptr;
  for (TCustomTreeView* tree : {comboTree, static_cast<TCustomTreeView*>(FDirTree)})
    if (TTreeNode* node = SelectedNodeOf(tree); node && node->Level() == 0) return;
  WideString dir = AddSlash(FDirectory);
  if (dir.size() >= 2 && dir[dir.size() - 2] == L':') {
    if (FDirTreeCombo) {
      ShowRoot(comboTree);
      FDirTreeCombo->SetSelectedPath(WideString(kMyComputer));
      FDirTreeCombo->SetText(WideString(kMyComputer));
    }
    if (FDirTree) {
      ShowRoot(FDirTree);
      FDirTree->SetSelectedPathW(WideString(kMyComputer));
    }
    SetDirectory(WideString(kMyComputer));
    return;
  }
  WideString left = dir.substr(0, dir.size() - 1);
  WideString parent = ExtractFolderOf(left);
  SetDirectory(parent);
  if (FDirTree) {
    FDirTree->OpenPathW(parent);
    CollapseFirstLevel(FDirTree);
  }
  if (FDirTreeCombo) {
    FDirTreeCombo->SetPath(parent);
    CollapseFirstLevel(comboTree);
  }
  for (int i = 0; i < FRowCount; ++i) {
    if (WideCompareText(AddSlash(RowAt(i).FullPath), dir) != 0) continue;
    ClearSelection();
    LVITEMW it{};
    it.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    it.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageW(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    SendMessageW(WindowHandle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), FALSE);
    Click();
    break;
  }
}

void TShFileListView::Click() {
  TUniCustomListView::Click();
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount) return;
  FSelectedItem = RowAt(index).FullPath;
  if (OnItemChange) OnItemChange(this, FSelectedItem);
}

void TShFileListView::KeyUp(WORD& Key, TShiftState Shift) {
  TUniCustomListView::KeyUp(Key, Shift);
  if (Key == VK_UP || Key == VK_DOWN) Click();
}

void TShFileListView::DblClick() {
  int index = ItemIndex();
  if (index < 0 || index >= FRowCount || RowCaption(RowAt(index)).empty()) return;
  if (FOpenByDblClick)
    OpenItem();
  else if (IsParentRow(index))
    OneLevelUp();
  else
    TUniCustomListView::DblClick();
}

void TShFileListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // Presses on the view only choose the drag mode (the window reports the start of a drag,
  // LVN_BEGINDRAG, and the rows follow a little further on); OnMouseDown is not raised
  // for them.
  if (Button == mbLeft) ExplorerShared().DragMode = (Shift & ssCtrl) ? kCopyMode : kMoveMode;
}

void TShFileListView::KeyDown(WORD& Key, TShiftState Shift) {
  if (IsEditing()) {
    TUniCustomListView::KeyDown(Key, Shift);
    return;
  }
  bool consumed = false;
  RunKeyCommand(Key, Shift, consumed);
  if (!consumed) TUniCustomListView::KeyDown(Key, Shift);
}

void TShFileListView::RunKeyCommand(WORD& Key, TShiftState Shift, bool& Consumed) {
  const TShortCut key = ShortCut(Key, Shift);
  const TShFileListShortCuts& sc = *FShortCuts;
  bool selected = ItemIndex() >= 0;
  if (selected) {
    if (key == sc.scCopy && sc.Has(vaCopy)) CutCopyItems(kCopyMode);
    if (key == sc.scCut && sc.Has(vaCut)) CutCopyItems(kMoveMode);
    if (key == sc.scOpen && sc.Has(vaOpen)) OpenItem();
    if (key == sc.scView && sc.Has(vaView)) ViewFile();
    if (key == sc.scDelete && sc.Has(vaDelete)) DeleteItems();
    if (key == sc.scRename && sc.Has(vaRename)) RenameSelected();
    if (key == sc.scPaste && sc.Has(vaPaste) && CanPaste()) PasteItems();
    if (key == sc.scNewFolder && sc.Has(vaNewFolder) && !IsMyComputer(FDirectory)) NewFolder();
  }
  if (key == sc.scBack && sc.Has(vaBack)) {
    if (IsMyComputer(FDirectory)) {
      Consumed = true;
      return;
    }
    OneLevelUp();
  }
  if (key == sc.scFindFile && sc.Has(vaFindFile)) FindFile();
  if (key == sc.scRefresh && sc.Has(vaRefresh)) {
    Refill();
    if (FDirTreeCombo) {
      WideString shown = FDirTreeCombo->SelectedPath();
      FDirTreeCombo->RebuildTree();
      FDirTreeCombo->SetPath(shown);
    }
    if (FDirTree) {
      WideString shown = FDirTree->SelectedPathW();
      FDirTree->RebuildTree();
      FDirTree->OpenPathW(shown);
    }
  }
  if (key == sc.scSelectAll && sc.Has(vaSelectAll) && FRowCount) SelectAll();
  if (Key == VK_RETURN && Shift == 0 && FOpenByEnter) OpenItem();
  if (Key == VK_DELETE && Shift == ssShift) {
    Consumed = true;
    DeletePermanently();
    return;
  }
  if (Key == VK_F4 && Shift == 0) {
    Consumed = true;
    if (FDirTreeCombo) {
      if (!FDirTreeCombo->DroppedDown()) FDirTreeCombo->DropDownToggle();
      if (FDirTreeCombo->Tree() && FDirTreeCombo->Tree()->Visible()) FDirTreeCombo->Tree()->SetFocus();
    }
  }
  if (Key == VK_ESCAPE && Shift == 0) {
    Consumed = true;
    if (FDirTreeCombo && FDirTreeCombo->Tree() && FDirTreeCombo->Tree()->Enabled()) FDirTreeCombo->CloseDropDown();
  }
}

void TShFileListView::DeletePermanently() {
  std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  THourglass wait;
  for (int i : rows) {
    const TFileInfo row = RowAt(i);
    if (row.Kind == "dir") break;
    WideString question = L"Are you sure you want to permanently delete file\r\n  \"" + RowCaption(row) + L"\"?";
    if (WideMessageDlg(question, mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo), 0) == mrYes)
      DeleteFileW(row.FullPath.c_str());
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED;
    SendMessageW(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
  }
  Refill();
}

void TShFileListView::Dispatch(TMessage& Message) { TUniCustomListView::Dispatch(Message); }

// ---------------------------------------------------------------------------

namespace {

const std::vector<TPropInfo>& FileListViewProperties() {
  static const std::vector<TPropInfo> table = [] {
    std::vector<TPropInfo> own = TPropertyTable<TShFileListView>()
        .Property("About", &TShFileListView::About, &TShFileListView::SetAbout).Stored(false)
        .Property("ColWidth_Name", &TShFileListView::ColWidth_Name, &TShFileListView::SetColWidth_Name).Default(165)
        .Property("ColWidth_Size", &TShFileListView::ColWidth_Size, &TShFileListView::SetColWidth_Size).Default(75)
        .Property("ColWidth_Type", &TShFileListView::ColWidth_Type, &TShFileListView::SetColWidth_Type).Default(95)
        .Property("ColWidth_Mod", &TShFileListView::ColWidth_Mod, &TShFileListView::SetColWidth_Mod).Default(115)
        .Property("ColWidth_Attr", &TShFileListView::ColWidth_Attr, &TShFileListView::SetColWidth_Attr).Default(40)
        .Property("DateFormat", &TShFileListView::DateFormat, &TShFileListView::SetDateFormat).Default(df_Customize)
        .Property("Directory", &TShFileListView::Directory, &TShFileListView::SetDirectory)
        .Property("OpenByDblClick", &TShFileListView::OpenByDblClick, &TShFileListView::SetOpenByDblClick).Default(true)
        .Property("OpenByEnter", &TShFileListView::OpenByEnter, &TShFileListView::SetOpenByEnter).Default(true)
        .Property("FileSize", &TShFileListView::FileSize, &TShFileListView::SetFileSize).Default(fsKB)
        .Property("HideFileExt", &TShFileListView::HideFileExt, &TShFileListView::SetHideFileExt).Default(false)
        .Property("Language", &TShFileListView::Language, &TShFileListView::SetLanguage)
        .Property("Mask", &TShFileListView::Mask, &TShFileListView::SetMask)
        .Property("ParentDirEnabled", &TShFileListView::ParentDirEnabled, &TShFileListView::SetParentDirEnabled).Default(true)
        .Property("ParentDirCaption", &TShFileListView::ParentDirCaption, &TShFileListView::SetParentDirCaption)
        .Property("PopUpMenuEnabled", &TShFileListView::PopUpMenuEnabled, &TShFileListView::SetPopUpMenuEnabled).Default(true)
        .Property("ShowFolders", &TShFileListView::ShowFolders, &TShFileListView::SetShowFolders).Default(true)
        .Property("TimeFormat", &TShFileListView::TimeFormat, &TShFileListView::SetTimeFormat)
        .Property("LItemColorByATTR", &TShFileListView::LItemColorByATTR, &TShFileListView::SetLItemColorByATTR).Default(true)
        .Property("OnItemChange", &TShFileListView::OnItemChange)
        .Table();
    std::vector<TPropInfo> table;
    for (const TPropInfo& p : ListViewPublishedProperties()) {
      if (SameIdent(p.Name, "Columns")) {
        TPropInfo columns = p;
        columns.StoredProc = nullptr;
        columns.StoredConst = false;  // the view builds its columns itself
        table.push_back(columns);
        continue;
      }
      table.push_back(p);
    }
    for (const TPropInfo& p : own) table.push_back(p);
    return table;
  }();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TShFileListShortCuts, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TListItemColors, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TShFileListView, TUniCustomListView, &CreateComponentOf<TShFileListView>, &FileListViewProperties)

void RegisterFileListView() { RegisterClass(TShFileListView::StaticClass()); }
