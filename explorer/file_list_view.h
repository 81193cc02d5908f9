// The file list view: one folder's sub-folders and matching files (or, for "My Computer",
// the drives) in a report-style list view that holds no items of its own. The rows live in
// an array of plain records; the window asks for a row only when it paints it, and the shell
// is asked for a row's icon and type name only then.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <vector>

#include "explorer/explorer_texts.h"
#include "explorer/file_records.h"
#include "explorer/file_type.h"
#include "explorer/shell_type_cache.h"
#include "vcl/menus.h"
#include "vcl/strings.h"
#include "widetext/uni_list_view.h"

class TShDirTree;
class TShDirTreeCombo;
class TShFileListViewPopUp;

enum TDtFormat {
  df_MMddyyyy, df_MMddyy, df_ddMMyyyy, df_ddMMyy_GB, df_ddMMyy_DE, df_ddMMyy_IT, df_yyyyMMdd, df_yyMMdd, df_Customize
};
VCL_ENUM_INFO(TDtFormat, "df_MMddyyyy", "df_MMddyy", "df_ddMMyyyy", "df_ddMMyy_GB", "df_ddMMyy_DE", "df_ddMMyy_IT",
              "df_yyyyMMdd", "df_yyMMdd", "df_Customize")
enum TTmFormat { tfLongFormat, tfShortFormat, tfCustomize };
VCL_ENUM_INFO(TTmFormat, "tfLongFormat", "tfShortFormat", "tfCustomize")
enum TFileSize { fsKB, fsByte };
VCL_ENUM_INFO(TFileSize, "fsKB", "fsByte")
enum TShListViewAction {
  vaCopy, vaPaste, vaCut, vaOpen, vaView, vaNewFolder, vaSelectAll, vaDelete, vaBack, vaRename, vaFindFile, vaRefresh
};
VCL_ENUM_INFO(TShListViewAction, "vaCopy", "vaPaste", "vaCut", "vaOpen", "vaView", "vaNewFolder", "vaSelectAll",
              "vaDelete", "vaBack", "vaRename", "vaFindFile", "vaRefresh")
using TShListViewActions = unsigned;  // bit n: action n

// The search attribute a file-type set stands for.
uint32_t SearchAttributeOf(TFileType Types);
// The date and time pictures of the two format choices (the thread locale's for the
// customised ones).
AnsiString DateFormatPicture(TDtFormat Format);
AnsiString TimeFormatPicture(TTmFormat Format);


// The keys of the view's commands, each acting only while its action is in Actions.
class TShFileListShortCuts : public TPersistent {
  VCL_CLASS(TShFileListShortCuts)
 public:
  TShFileListShortCuts();
  void Assign(TPersistent* Source) override;

  TShortCut scCopy, scPaste, scCut, scOpen, scView, scNewFolder, scSelectAll, scDelete, scBack, scRename, scFindFile,
      scRefresh;
  TShListViewActions Actions;
  bool Has(TShListViewAction Action) const { return (Actions >> Action) & 1u; }
};

// The font colours of rows by attribute.
class TListItemColors : public TPersistent {
  VCL_CLASS(TListItemColors)
 public:
  TListItemColors() = default;
  void Assign(TPersistent* Source) override;
  TColor Attr_Archive = clBlack;
  TColor Attr_Hidden = clGrayText;
  TColor Attr_Readonly = static_cast<TColor>(0x808000);
  TColor Attr_System = clRed;
};

using TSelItemChangeEvent = std::function<void(TObject* Sender, const WideString& SelectedItem)>;

class TShFileListView : public TUniCustomListView {
  VCL_CLASS(TShFileListView)
  friend class TShFileListViewPopUp;

 public:
  explicit TShFileListView(TComponent* AOwner);
  ~TShFileListView() override;

  // --- what is shown ---
  const WideString& Directory() const { return FDirectory; }
  void SetDirectory(const WideString& Value);
  const WideString& Mask() const { return FMask; }
  void SetMask(const WideString& Value);
  TFileType FileType() const { return FFileType; }
  void SetFileType(TFileType Value);
  bool ShowFolders() const { return FShowFolders; }
  void SetShowFolders(bool Value);
  bool ParentDirEnabled() const { return FParentDirEnabled; }
  void SetParentDirEnabled(bool Value) { FParentDirEnabled = Value; }
  const AnsiString& ParentDirCaption() const { return FParentDirCaption; }
  void SetParentDirCaption(const AnsiString& Value);
  bool HideFileExt() const { return FHideFileExt; }
  void SetHideFileExt(bool Value) { FHideFileExt = Value; }
  TFileSize FileSize() const { return FFileSize; }
  void SetFileSize(TFileSize Value) { FFileSize = Value; }
  TDtFormat DateFormat() const { return FDateFormat; }
  virtual void SetDateFormat(TDtFormat Value);
  TTmFormat TimeFormat() const { return FTimeFormat; }
  virtual void SetTimeFormat(TTmFormat Value);
  TLanguage Language() const { return FLanguage; }
  void SetLanguage(TLanguage Value);

  int ColWidth_Name() const { return FColWidths[0]; }
  void SetColWidth_Name(int Value) { SetColWidth(0, Value); }
  int ColWidth_Size() const { return FColWidths[1]; }
  void SetColWidth_Size(int Value) { SetColWidth(1, Value); }
  int ColWidth_Type() const { return FColWidths[2]; }
  void SetColWidth_Type(int Value) { SetColWidth(2, Value); }
  int ColWidth_Mod() const { return FColWidths[3]; }
  void SetColWidth_Mod(int Value) { SetColWidth(3, Value); }
  int ColWidth_Attr() const { return FColWidths[4]; }
  void SetColWidth_Attr(int Value) { SetColWidth(4, Value); }

  AnsiString About() const { return "Version 2.8.8.6"; }
  void SetAbout(const AnsiString&) {}

  // --- behaviour ---
  bool OpenByDblClick() const { return FOpenByDblClick; }
  void SetOpenByDblClick(bool Value) { FOpenByDblClick = Value; }
  bool OpenByEnter() const { return FOpenByEnter; }
  void SetOpenByEnter(bool Value) { FOpenByEnter = Value; }
  bool PopUpMenuEnabled() const { return FPopUpMenuEnabled; }
  void SetPopUpMenuEnabled(bool Value);
  TShFileListShortCuts* ShortCuts() const { return FShortCuts.get(); }
  void SetShortCuts(TShFileListShortCuts* Value) { FShortCuts->Assign(Value); }
  bool LItemColorByATTR() const { return FItemColorByAttr; }
  void SetLItemColorByATTR(bool Value);
  TListItemColors* LItemColors() const { return FItemColors.get(); }
  void SetLItemColors(TListItemColors* Value);
  TShFileListViewPopUp* PopUp() const { return FPopUp; }

  // --- links ---
  TShDirTree* DirTree() const { return FDirTree; }
  void SetDirTree(TShDirTree* Value);
  TShDirTreeCombo* DirTreeCombo() const { return FDirTreeCombo; }
  void SetDirTreeCombo(TShDirTreeCombo* Value);

  // --- selection ---
  const WideString& SelectedItem() const { return FSelectedItem; }
  void SetSelectedItem(const WideString& Value) { FSelectedItem = Value; }
  int SelectedNumber() const;
  int64_t SelectedSize() const;
  int64_t DriveFreeSpace() const;
  TSelItemChangeEvent OnItemChange;

  // --- rows ---
  int RowCount() const { return FRowCount; }
  const TFileInfo& Row(int Index) const { return RowAt(Index); }
  // Indexes of the selected rows, in row order.
  std::vector<int> SelectedRows() const;
  int SortColumn() const { return FSortColumn; }
  bool SortDescending() const { return FDescending; }
  bool FileColumnsShown() const { return FColumnsKind == kFileColumns; }
  int ParentImageIndex() const { return FParentImgIdx; }

  void UpdateFileList();
  bool AddFiles(const WideString& Pattern, uint32_t Attr);
  void AddDrives();
  void CreateFileColumns();
  void CreateDriveColumns();
  int CompareItems(const TFileInfo& A, const TFileInfo& B) const;
  void SortItems(int L, int R);
  void ColumnClick(TObject* Sender, TListColumn* Column);
  void UpdateSortIndicators();
  void OpenItem();
  void OneLevelUp();

  // --- file operations (file_list_operations.cpp) ---
  void CutCopyItems(int Mode);
  void PasteItems();
  void DeleteItems();
  void RenameSelected();
  void NewFolder();
  void ViewFile();
  void FindFile();
  void ShowProperties();
  void SendTo(int Index);
  void SendToShortcut(const WideString& LinkPath);
  void CopyFilesTo(const WideString& Folder);
  void CopyFilesToRemovable(const WideString& Folder);
  void CreateDesktopShortcut();
  // The paths of the last cut or copy (each ended by a NUL), waiting for a paste.
  const std::vector<WideString>& PendingFiles() const { return FPendingFiles; }
  // Whether a paste has something to take (pending files or file names on the clipboard).
  bool CanPaste() const;
  // Asks for a folder to send the files to; empty when cancelled.
  WideString InputSendToPath(const WideString& Initial);
  // Files dropped on the owner window: copied into the folder shown.
  void DropFiles(HDROP Drop);

  void Dispatch(TMessage& Message) override;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;
  bool OwnerDataFetch(TListItem* Item, UINT Request) override;
  void WMNotify(TMessage& Message) override;
  void Click() override;
  void DblClick() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  bool CanEdit(TListItem* Item) override;
  void Edit(const LVITEMA& Item) override;
  void CNNotify(TMessage& Message) override;

 private:
  enum TColumnsKind { kNoColumns, kFileColumns, kDriveColumns };

  void SetColWidth(int Index, int Value);
  bool IsMyComputer(const WideString& Path) const;
  // The record shown at place Index of the list.
  TFileInfo& RowAt(int Index) { return FRows[static_cast<size_t>(FOrder[static_cast<size_t>(Index)])]; }
  const TFileInfo& RowAt(int Index) const { return FRows[static_cast<size_t>(FOrder[static_cast<size_t>(Index)])]; }
  void AppendRow(TFileInfo&& Row);
  void ResetRows();
  // One walk of the folder for the folder pass and every plain mask part.
  void AddFolderEntries(const std::vector<WideString>& Masks, uint32_t Attr);
  void FetchShellInfo(TFileInfo& Row);
  WideString SizeColumnText(const TFileInfo& Row) const;
  // The text of a row in window column Column (0 the caption; 5 to 7 the full path, kind
  // and date key behind the visible columns).
  WideString CellText(const TFileInfo& Row, int Column) const;
  int RowImage(const TFileInfo& Row) const;
  // Row Index with its icon and type name fetched; null beyond the rows.
  TFileInfo* ShownRow(int Index);
  void AnswerDisplayRequest(NMLVDISPINFOW* Info);
  void ShowRowsAgain();
  // No row stays selected or focused.
  void ClearRowStates();
  WideString RowCaption(const TFileInfo& Row) const;
  void ColorRow(NMLVCUSTOMDRAW* Draw, LRESULT& Result);
  void LoadSystemImages();
  void LoadHeaderBitmaps();
  void MakePopUp();
  AnsiString DriveTypeText(UINT DriveType) const;
  bool IsParentRow(int Index) const;
  void Refill();
  void ReloadLinkedAt(const WideString& Path);
  void DeletePermanently();
  void RunKeyCommand(WORD& Key, TShiftState Shift, bool& Consumed);
  void BeginRename(int Index);
  // Gives the file of the row being edited the name Text (a confirmed caption edit).
  void RenameTo(const WideString& Text);
  void SendContentsToClipboard();
  // The target of a shell link; empty when it cannot be read.
  static WideString ResolveShortcut(const WideString& LinkPath);
  // Rows pressed at Origin (client coordinates) are dragged once the mouse has gone
  // kExtraDragDistance pixels beyond the system's drag distance: then the mouse is followed
  // until the button comes up over the linked folder tree (which copies or moves them) or
  // elsewhere (nothing happens).
  static constexpr int kExtraDragDistance = 10;
  void DragRowsToTree(POINT Origin);
  void HookOwnerWindow();
  void UnhookOwnerWindow();
  static LRESULT CALLBACK OwnerWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

  TFlieInfoArr FRows;  // in the order they were read
  std::vector<int> FOrder;  // the index in FRows of the record at each place of the list
  TShellTypeCache FShellTypes;  // icons and types of files by extension
  int FRowCount = 0;
  int FSortColumn = 0;
  bool FDescending = true;
  bool FSortOnClick = true;
  int FArrowColumn = 0;
  TColumnsKind FColumnsKind = kNoColumns;
  bool FClearingStates = false;  // ClearRowStates runs: its changes are not reported

  WideString FDirectory = L"My Computer";
  WideString FMask = L"*.*";
  TFileType FFileType = FileTypeOf({ftReadOnly, ftHidden, ftSystem, ftArchive});
  bool FShowFolders = true;
  bool FParentDirEnabled = true;
  AnsiString FParentDirCaption;
  bool FHideFileExt = false;
  TFileSize FFileSize = fsKB;
  TDtFormat FDateFormat = df_Customize;
  TTmFormat FTimeFormat = tfShortFormat;
  AnsiString FDatePicture, FTimePicture;
  AnsiString FRowDatePicture, FRowTimePicture;  // those the rows shown were read with
  TLanguage FLanguage = lnSysDefault;
  int FColWidths[5] = {165, 75, 95, 125, 40};
  bool FOpenByDblClick = true;
  bool FOpenByEnter = true;
  bool FPopUpMenuEnabled = false;
  bool FItemColorByAttr = false;
  std::unique_ptr<TShFileListShortCuts> FShortCuts;
  std::unique_ptr<TListItemColors> FItemColors;
  TShFileListViewPopUp* FPopUp = nullptr;
  TShDirTree* FDirTree = nullptr;
  TShDirTreeCombo* FDirTreeCombo = nullptr;
  WideString FSelectedItem;

  std::vector<WideString> FPendingFiles;
  WideString FPendingText;
  std::vector<WideString> FDroppedFiles;
  WideString FEditPath;

  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FSmallImages = nullptr;
  int FParentImgIdx = -1;
  HBITMAP FBmpUp = nullptr;
  HBITMAP FBmpDown = nullptr;

  HWND FOwnerWnd = nullptr;
  WNDPROC FOwnerPrevProc = nullptr;
};

void RegisterFileListView();
