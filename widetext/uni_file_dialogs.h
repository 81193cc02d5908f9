// Wide open and save dialogs.
//
// TUniOpenDialog and TUniSaveDialog keep the framework's 8-bit dialog as their base and
// carry their texts as UTF-16 beside its 8-bit ones. On the NT family they run the
// system's wide dialogs: the item-based dialog (through TFileOpenDialog/TFileSaveDialog)
// from Windows Vista on, unless a custom template asks for the classic dialog, which runs
// through GetOpenFileNameW/GetSaveFileNameW on the record the framework prepares.
#pragma once

#include <windows.h>
#include <shobjidl.h>

#include <memory>
#include <utility>
#include <vector>

#include "vcl/collections.h"
#include "vcl/dialogs.h"
#include "widetext/uni_string_list.h"

// ---------------------------------------------------------------------------
// The item-based file dialog.

enum TFileDialogOption {
  fdoOverWritePrompt, fdoStrictFileTypes, fdoNoChangeDir, fdoPickFolders, fdoForceFileSystem,
  fdoAllNonStorageItems, fdoNoValidate, fdoAllowMultiSelect, fdoPathMustExist, fdoFileMustExist,
  fdoCreatePrompt, fdoShareAware, fdoNoReadOnlyReturn, fdoNoTestFileCreate, fdoHideMRUPlaces,
  fdoHidePinnedPlaces, fdoNoDereferenceLinks, fdoDontAddToRecent, fdoForceShowHidden,
  fdoDefaultNoMiniMode, fdoForcePreviewPaneOn
};
VCL_ENUM_INFO(TFileDialogOption, "fdoOverWritePrompt", "fdoStrictFileTypes", "fdoNoChangeDir", "fdoPickFolders",
              "fdoForceFileSystem", "fdoAllNonStorageItems", "fdoNoValidate", "fdoAllowMultiSelect",
              "fdoPathMustExist", "fdoFileMustExist", "fdoCreatePrompt", "fdoShareAware", "fdoNoReadOnlyReturn",
              "fdoNoTestFileCreate", "fdoHideMRUPlaces", "fdoHidePinnedPlaces", "fdoNoDereferenceLinks",
              "fdoDontAddToRecent", "fdoForceShowHidden", "fdoDefaultNoMiniMode", "fdoForcePreviewPaneOn")
using TFileDialogOptions = unsigned;  // bit n is the option of ordinal n
constexpr TFileDialogOptions FileDialogOption(TFileDialogOption o) { return 1u << o; }

// The system's FOS_ flags of the options (each the flag of the same name).
DWORD FileDialogOptionsToFlags(TFileDialogOptions Options);
// The item-based dialog's options that stand for the classic dialog's.
TFileDialogOptions OpenOptionsToFileDialogOptions(TOpenOptions Options, TOpenOptionsEx OptionsEx);
// The (display name, mask) pairs of a "|"-separated filter; a name without a mask after
// it, and a filter without "|", give none.
std::vector<std::pair<WideString, WideString>> FilterToFileTypes(const WideString& Filter);

class TFileTypeItem : public TCollectionItem {
  VCL_CLASS(TFileTypeItem)
 public:
  using TCollectionItem::TCollectionItem;
  void Assign(TPersistent* Source) override;
  WideString DisplayName;
  WideString FileMask;
};

class TFavoriteLinkItem : public TCollectionItem {
  VCL_CLASS(TFavoriteLinkItem)
 public:
  using TCollectionItem::TCollectionItem;
  void Assign(TPersistent* Source) override;
  WideString Location;
};

using TFileDialogCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TFileDialogFolderChangingEvent = std::function<void(TObject* Sender, bool& CanChange)>;
using TFileDialogShareViolationEvent =
    std::function<void(TObject* Sender, FDE_SHAREVIOLATION_RESPONSE& Response)>;
using TFileDialogOverwriteEvent = std::function<void(TObject* Sender, FDE_OVERWRITE_RESPONSE& Response)>;

class TCustomFileDialog : public TComponent {
  VCL_CLASS(TCustomFileDialog)
 public:
  explicit TCustomFileDialog(TComponent* AOwner);
  ~TCustomFileDialog() override;

  // Shows the dialog modally over ParentWnd (null: the application's window); true when
  // the user confirmed and the results were read. Raises "%s requires Windows Vista or
  // later" on older systems.
  virtual bool Execute(HWND ParentWnd = nullptr);

  // The text of a GUID, or empty; anything else raises EConvertError.
  const AnsiString& ClientGuid() const { return FClientGuid; }
  void SetClientGuid(const AnsiString& Value);
  WideString DefaultExtension;
  WideString DefaultFolder;
  WideString FileName;
  WideString FileNameLabel;
  WideString OkButtonLabel;
  WideString Title;
  TCollection* FileTypes() const { return FFileTypes.get(); }
  void SetFileTypes(TCollection* Value) { FFileTypes->Assign(Value); }
  TFileTypeItem* AddFileType(const WideString& DisplayName, const WideString& FileMask);
  TCollection* FavoriteLinks() const { return FFavoriteLinks.get(); }
  void SetFavoriteLinks(TCollection* Value) { FFavoriteLinks->Assign(Value); }
  unsigned FileTypeIndex = 1;  // 1-based
  TFileDialogOptions Options = 0;
  TUniStringList* Files() const { return FFiles.get(); }
  // The system's dialog while it runs (null otherwise).
  IFileDialog* Dialog() const { return FDialog; }

  TNotifyEvent OnExecute;
  TFileDialogCloseEvent OnFileOkClick;
  TNotifyEvent OnFolderChange;
  TFileDialogFolderChangingEvent OnFolderChanging;
  TNotifyEvent OnSelectionChange;
  TFileDialogShareViolationEvent OnShareViolation;
  TNotifyEvent OnTypeChange;

 protected:
  friend class TFileDialogEvents;
  // The system's dialog object; null when it cannot be made.
  virtual IFileDialog* CreateFileDialog() = 0;
  // Reads the confirmed choice into FileName and Files.
  virtual bool GetResults();
  // The name of a shell item: its file-system path, else its display name.
  static WideString ItemName(IShellItem* Item);
  virtual HRESULT DoOverwrite(IShellItem* Item, FDE_OVERWRITE_RESPONSE& Response) { return E_NOTIMPL; }

 private:
  AnsiString FClientGuid;
  std::unique_ptr<TCollection> FFileTypes;
  std::unique_ptr<TCollection> FFavoriteLinks;
  std::unique_ptr<TUniStringList> FFiles;
  IFileDialog* FDialog = nullptr;
};

class TCustomFileOpenDialog : public TCustomFileDialog {
  VCL_CLASS(TCustomFileOpenDialog)
 public:
  using TCustomFileDialog::TCustomFileDialog;

 protected:
  IFileDialog* CreateFileDialog() override;
  bool GetResults() override;
};

class TFileOpenDialog : public TCustomFileOpenDialog {
  VCL_CLASS(TFileOpenDialog)
 public:
  using TCustomFileOpenDialog::TCustomFileOpenDialog;
};

class TCustomFileSaveDialog : public TCustomFileDialog {
  VCL_CLASS(TCustomFileSaveDialog)
 public:
  using TCustomFileDialog::TCustomFileDialog;
  TFileDialogOverwriteEvent OnOverwrite;

 protected:
  IFileDialog* CreateFileDialog() override;
  HRESULT DoOverwrite(IShellItem* Item, FDE_OVERWRITE_RESPONSE& Response) override;
};

class TFileSaveDialog : public TCustomFileSaveDialog {
  VCL_CLASS(TFileSaveDialog)
 public:
  using TCustomFileSaveDialog::TCustomFileSaveDialog;
};

// ---------------------------------------------------------------------------
// The wide open and save dialogs.

using TUniIncludeItemEvent = std::function<void(TObject* Sender, const OFNOTIFYEXW& OFN, bool& Include)>;

class TUniOpenDialog : public TOpenDialog {
  VCL_CLASS(TUniOpenDialog)
 public:
  explicit TUniOpenDialog(TComponent* AOwner);
  ~TUniOpenDialog() override;

  bool Execute() override;

  // Each wide text is kept in step with the 8-bit one of the same name.
  WideString DefaultExt();
  void SetDefaultExt(const WideString& Value);
  // While the dialog runs: the path it shows now.
  WideString FileName();
  void SetFileName(const WideString& Value);
  WideString Filter();
  void SetFilter(const WideString& Value);
  WideString InitialDir();
  // A folder path loses a trailing "\"; a drive root keeps it.
  void SetInitialDir(const WideString& Value);
  WideString Title();
  void SetTitle(const WideString& Value);
  // The chosen files (on a system without wide entry points, the 8-bit list's).
  TUniStringList* Files() const;
  TUniIncludeItemEvent OnIncludeItem;

  void DefineProperties(TFiler* Filer) override;

 protected:
  // The wide run: the classic dialog (before Vista, or with a template) or the item-based
  // one. Save dialogs pass their own functions and component.
  bool ExecuteWide(BOOL(WINAPI* ClassicFunc)(LPOPENFILENAMEW), bool SaveDialog);
  bool MessageHook(TMessage& Message) override;
  bool DoCanClose() override;

 private:
  bool ExecuteClassic(BOOL(WINAPI* DialogFunc)(LPOPENFILENAMEW));
  bool ExecuteItemDialog(bool SaveDialog);
  void ReadWideFileNames(const WideChar* Buffer);
  bool GrowWideNameBuffer(OPENFILENAMEW& Record);
  bool OldStyle() const { return !UsesExplorerStyle(); }

  WideString FDefaultExt, FFileName, FFilter, FInitialDir, FTitle;
  std::unique_ptr<TUniStringList> FFiles;
  std::vector<WideChar> FWideNameBuffer;
  bool FWideRun = false;     // the classic wide dialog runs (its notifications are wide)
  bool FInCanClose = false;
};

class TUniSaveDialog : public TUniOpenDialog {
  VCL_CLASS(TUniSaveDialog)
 public:
  using TUniOpenDialog::TUniOpenDialog;
  bool Execute() override;
};

// ---------------------------------------------------------------------------
// The wide base of other common dialogs.

class TUniCommonDialog : public TComponent {
  VCL_CLASS(TUniCommonDialog)
 public:
  using TComponent::TComponent;
  // True when the user confirmed the dialog.
  virtual bool Execute() = 0;
  bool Ctl3D = true;
  int HelpContext = 0;
  TNotifyEvent OnClose;
  TNotifyEvent OnShow;

 protected:
  // Runs DialogFunc modally: the other windows of the thread are disabled and the active
  // window is given back afterwards; the dialog's Help button opens HelpContext.
  BOOL TaskModalDialog(const std::function<BOOL()>& DialogFunc) { return RunTaskModalHelp(DialogFunc, HelpContext); }
  virtual void DoShow() {
    if (OnShow) OnShow(this);
  }
  virtual void DoClose() {
    if (OnClose) OnClose(this);
  }
};

// The messages the common dialogs send and the atom of the dialogs' window procedures,
// registered at start and released at the end of the program.
ATOM CommonDialogWndProcAtom();
