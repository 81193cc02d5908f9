#include "widetext/uni_file_dialogs.h"

#include <cderr.h>
#include <dlgs.h>

#include <algorithm>

#include "vcl/application.h"
#include "vcl/scopeexit.h"
#include "widetext/filenames.h"
#include "widetext/platform.h"
#include "widetext/resstrings.h"
#include "widetext/synced_strings.h"
#include "widetext/wide_props.h"
#include "widetext/widetextutils.h"

// ---------------------------------------------------------------------------
// The unit's registrations.

namespace {

struct TDialogRegistrations {
  ATOM WndProcAtom = 0;
  TDialogRegistrations() {
    HelpMsg();
    FindMsg();
    AnsiString name = Format("WndProcPtr%.8X%.8X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(HInstance)),
                             static_cast<unsigned>(GetCurrentThreadId()));
    WndProcAtom = GlobalAddAtomA(name.c_str());
  }
  ~TDialogRegistrations() {
    if (WndProcAtom) GlobalDeleteAtom(WndProcAtom);
  }
};
const TDialogRegistrations Registrations;

}  // namespace

ATOM CommonDialogWndProcAtom() { return Registrations.WndProcAtom; }

// ---------------------------------------------------------------------------
// The pure parts.

DWORD FileDialogOptionsToFlags(TFileDialogOptions Options) {
  static const DWORD flags[] = {
      FOS_OVERWRITEPROMPT,   FOS_STRICTFILETYPES,  FOS_NOCHANGEDIR,      FOS_PICKFOLDERS,
      FOS_FORCEFILESYSTEM,   FOS_ALLNONSTORAGEITEMS, FOS_NOVALIDATE,     FOS_ALLOWMULTISELECT,
      FOS_PATHMUSTEXIST,     FOS_FILEMUSTEXIST,    FOS_CREATEPROMPT,     FOS_SHAREAWARE,
      FOS_NOREADONLYRETURN,  FOS_NOTESTFILECREATE, FOS_HIDEMRUPLACES,    FOS_HIDEPINNEDPLACES,
      FOS_NODEREFERENCELINKS, FOS_DONTADDTORECENT, FOS_FORCESHOWHIDDEN,  FOS_DEFAULTNOMINIMODE,
      FOS_FORCEPREVIEWPANEON};
  DWORD result = 0;
  for (unsigned i = 0; i < std::size(flags); ++i)
    if (Options & (1u << i)) result |= flags[i];
  return result;
}

TFileDialogOptions OpenOptionsToFileDialogOptions(TOpenOptions Options, TOpenOptionsEx OptionsEx) {
  static const std::pair<TOpenOption, TFileDialogOption> map[] = {
      {ofOverwritePrompt, fdoOverWritePrompt},     {ofNoChangeDir, fdoNoChangeDir},
      {ofNoValidate, fdoNoValidate},               {ofAllowMultiSelect, fdoAllowMultiSelect},
      {ofExtensionDifferent, fdoStrictFileTypes},  {ofPathMustExist, fdoPathMustExist},
      {ofFileMustExist, fdoFileMustExist},         {ofCreatePrompt, fdoCreatePrompt},
      {ofShareAware, fdoShareAware},               {ofNoReadOnlyReturn, fdoNoReadOnlyReturn},
      {ofNoTestFileCreate, fdoNoTestFileCreate},   {ofNoDereferenceLinks, fdoNoDereferenceLinks},
      {ofDontAddToRecent, fdoDontAddToRecent},     {ofForceShowHidden, fdoForceShowHidden},
  };
  TFileDialogOptions result = 0;
  for (const auto& [from, to] : map)
    if (Options & OpenOption(from)) result |= FileDialogOption(to);
  if (OptionsEx & (1u << ofExNoPlacesBar)) result |= FileDialogOption(fdoHidePinnedPlaces);
  return result;
}

std::vector<std::pair<WideString, WideString>> FilterToFileTypes(const WideString& Filter) {
  std::vector<std::pair<WideString, WideString>> types;
  size_t pos = 0;
  while (pos < Filter.size()) {
    size_t bar = Filter.find(L'|', pos);
    if (bar == WideString::npos) break;  // a name without a mask
    size_t end = Filter.find(L'|', bar + 1);
    if (end == WideString::npos) end = Filter.size();
    types.emplace_back(Filter.substr(pos, bar - pos), Filter.substr(bar + 1, end - bar - 1));
    pos = end + 1;
  }
  return types;
}

// ---------------------------------------------------------------------------
// The event sink of the item-based dialog.

class TFileDialogEvents final : public IFileDialogEvents {
 public:
  explicit TFileDialogEvents(TCustomFileDialog* Owner) : FOwner(Owner) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown || riid == IID_IFileDialogEvents) {
      *ppv = static_cast<IFileDialogEvents*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FRefs; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG refs = --FRefs;
    if (refs == 0) delete this;
    return refs;
  }

  HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog*) override {
    if (!FOwner->OnFileOkClick) return E_NOTIMPL;
    bool canClose = true;
    return Guarded(
        [&] {
          FOwner->GetResults();  // the choice to be judged
          FOwner->OnFileOkClick(FOwner, canClose);
        }, [&] { return canClose ? S_OK : S_FALSE; });
  }
  HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override {
    if (!FOwner->OnFolderChanging) return E_NOTIMPL;
    bool canChange = true;
    return Guarded([&] { FOwner->OnFolderChanging(FOwner, canChange); }, [&] { return canChange ? S_OK : S_FALSE; });
  }
  HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog* Dialog) override {
    if (!FOwner->OnFolderChange) return E_NOTIMPL;
    return Guarded(
        [&] {
          // The handler reads the folder now shown as the dialog's FileName.
          IShellItem* folder = nullptr;
          if (SUCCEEDED(Dialog->GetFolder(&folder)) && folder) {
            FOwner->FileName = TCustomFileDialog::ItemName(folder);
            folder->Release();
          }
          FOwner->OnFolderChange(FOwner);
        },
        [] { return S_OK; });
  }
  HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog* Dialog) override {
    if (!FOwner->OnSelectionChange) return E_NOTIMPL;
    return Guarded(
        [&] {
          IShellItem* item = nullptr;
          if (SUCCEEDED(Dialog->GetCurrentSelection(&item)) && item) {
            FOwner->FileName = TCustomFileDialog::ItemName(item);
            item->Release();
          }
          FOwner->OnSelectionChange(FOwner);
        },
        [] { return S_OK; });
  }
  HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE* Response) override {
    if (!FOwner->OnShareViolation) return E_NOTIMPL;
    return Guarded([&] { FOwner->OnShareViolation(FOwner, *Response); }, [] { return S_OK; });
  }
  HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog* Dialog) override {
    if (!FOwner->OnTypeChange) return E_NOTIMPL;
    return Guarded(
        [&] {
          UINT index = 0;
          if (SUCCEEDED(Dialog->GetFileTypeIndex(&index))) FOwner->FileTypeIndex = index;
          FOwner->OnTypeChange(FOwner);
        },
        [] { return S_OK; });
  }
  HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem* Item, FDE_OVERWRITE_RESPONSE* Response) override {
    HRESULT result = E_NOTIMPL;
    Guarded([&] { result = FOwner->DoOverwrite(Item, *Response); }, [] { return S_OK; });
    return result;
  }

 private:
  // An exception must not cross the system's code: it is reported the application's way.
  template <class F, class R>
  HRESULT Guarded(F Action, R Result) {
    try {
      Action();
      return Result();
    } catch (...) {
      if (ApplicationHandleException) ApplicationHandleException(FOwner);
      return E_FAIL;
    }
  }

  TCustomFileDialog* FOwner;
  ULONG FRefs = 1;
};

// ---------------------------------------------------------------------------
// TCustomFileDialog

namespace {

// The system's IShellItem of a path; null when it has none.
IShellItem* ShellItemFromPath(const WideString& Path) {
  using TCreateItem = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**);
  static const auto create = reinterpret_cast<TCreateItem>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("shell32.dll"), "SHCreateItemFromParsingName")));
  if (!create) return nullptr;
  IShellItem* item = nullptr;
  if (FAILED(create(Path.c_str(), nullptr, IID_IShellItem, reinterpret_cast<void**>(&item)))) return nullptr;
  return item;
}

template <class T>
void ReleaseLater(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

}  // namespace

TCustomFileDialog::TCustomFileDialog(TComponent* AOwner)
    : TComponent(AOwner),
      FFileTypes(std::make_unique<TCollection>(CollectionItemClassOf<TFileTypeItem>())),
      FFavoriteLinks(std::make_unique<TCollection>(CollectionItemClassOf<TFavoriteLinkItem>())),
      FFiles(std::make_unique<TUniStringList>()) {}

TCustomFileDialog::~TCustomFileDialog() = default;

void TCustomFileDialog::SetClientGuid(const AnsiString& Value) {
  if (!Value.empty()) {
    GUID guid;
    WideString text = AnsiToWide(Value);
    if (FAILED(CLSIDFromString(text.c_str(), &guid)))
      throw EConvertError(Format("'%s' is not a valid GUID value", Value.c_str()));
  }
  FClientGuid = Value;
}

void TFileTypeItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TFileTypeItem*>(Source)) {
    DisplayName = item->DisplayName;
    FileMask = item->FileMask;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TFavoriteLinkItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TFavoriteLinkItem*>(Source)) {
    Location = item->Location;
    return;
  }
  TCollectionItem::Assign(Source);
}

TFileTypeItem* TCustomFileDialog::AddFileType(const WideString& DisplayName, const WideString& FileMask) {
  auto* item = static_cast<TFileTypeItem*>(FFileTypes->Add());
  item->DisplayName = DisplayName;
  item->FileMask = FileMask;
  return item;
}

WideString TCustomFileDialog::ItemName(IShellItem* Item) {
  WideString name;
  PWSTR text = nullptr;
  if (SUCCEEDED(Item->GetDisplayName(SIGDN_FILESYSPATH, &text)) ||
      SUCCEEDED(Item->GetDisplayName(SIGDN_NORMALDISPLAY, &text))) {
    name = text;
    CoTaskMemFree(text);
  }
  return name;
}

bool TCustomFileDialog::GetResults() {
  IShellItem* item = nullptr;
  if (FAILED(FDialog->GetResult(&item)) || !item) return false;
  FileName = ItemName(item);
  item->Release();
  FFiles->Clear();
  FFiles->Add(FileName);
  return true;
}

bool TCustomFileDialog::Execute(HWND ParentWnd) {
  if (!PlatformIsVistaOrLater)
    throw EInvalidOperation(Format(LoadResString(&SWindowsVistaRequired).c_str(), ClassName().c_str()));
  if (!ParentWnd && Application) ParentWnd = Application->Handle();

  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ScopeExit uninit{[&] {
    if (SUCCEEDED(init)) CoUninitialize();
  }};
  FDialog = CreateFileDialog();
  if (!FDialog) return false;
  ScopeExit release{[&] { ReleaseLater(FDialog); }};

  if (!FClientGuid.empty()) {
    GUID guid;
    WideString text = AnsiToWide(FClientGuid);
    if (SUCCEEDED(CLSIDFromString(text.c_str(), &guid))) FDialog->SetClientGuid(guid);
  }
  if (!DefaultExtension.empty()) FDialog->SetDefaultExtension(DefaultExtension.c_str());
  if (!FileName.empty()) FDialog->SetFileName(FileName.c_str());
  if (!FileNameLabel.empty()) FDialog->SetFileNameLabel(FileNameLabel.c_str());
  if (!OkButtonLabel.empty()) FDialog->SetOkButtonLabel(OkButtonLabel.c_str());
  if (!Title.empty()) FDialog->SetTitle(Title.c_str());
  if (!DefaultFolder.empty()) {
    if (IShellItem* folder = ShellItemFromPath(DefaultFolder)) {
      FDialog->SetFolder(folder);
      folder->Release();
    }
  }
  if (FFileTypes->Count() > 0) {
    // The system copies the texts; the copies here live until SetFileTypes returns.
    std::vector<WideString> texts;
    std::vector<COMDLG_FILTERSPEC> fileTypes;
    for (int i = 0; i < FFileTypes->Count(); ++i) {
      auto* type = static_cast<TFileTypeItem*>(FFileTypes->Items(i));
      texts.push_back(type->DisplayName);
      texts.push_back(type->FileMask);
    }
    for (size_t i = 0; i < texts.size(); i += 2) fileTypes.push_back({texts[i].c_str(), texts[i + 1].c_str()});
    FDialog->SetFileTypes(static_cast<UINT>(fileTypes.size()), fileTypes.data());
    FDialog->SetFileTypeIndex(FileTypeIndex);
  }
  FDialog->SetOptions(FileDialogOptionsToFlags(Options));
  for (int i = 0; i < FFavoriteLinks->Count(); ++i) {
    if (IShellItem* place = ShellItemFromPath(static_cast<TFavoriteLinkItem*>(FFavoriteLinks->Items(i))->Location)) {
      FDialog->AddPlace(place, FDAP_BOTTOM);
      place->Release();
    }
  }
  if (OnExecute) OnExecute(this);

  auto* events = new TFileDialogEvents(this);
  DWORD cookie = 0;
  bool advised = SUCCEEDED(FDialog->Advise(events, &cookie));
  bool ok = false;
  {
    ScopeExit unadvise{[&] {
      if (advised) FDialog->Unadvise(cookie);
      events->Release();
    }};
    ok = RunTaskModal([&] { return SUCCEEDED(FDialog->Show(ParentWnd)) && GetResults() ? TRUE : FALSE; }) != FALSE;
  }
  return ok;
}

IFileDialog* TCustomFileOpenDialog::CreateFileDialog() {
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(&dialog))))
    return nullptr;
  return dialog;
}

bool TCustomFileOpenDialog::GetResults() {
  if (!(Options & FileDialogOption(fdoAllowMultiSelect))) return TCustomFileDialog::GetResults();
  IShellItemArray* items = nullptr;
  if (FAILED(static_cast<IFileOpenDialog*>(Dialog())->GetResults(&items)) || !items) return false;
  ScopeExit release{[&] { items->Release(); }};
  DWORD count = 0;
  items->GetCount(&count);
  Files()->Clear();
  for (DWORD i = 0; i < count; ++i) {
    IShellItem* item = nullptr;
    if (FAILED(items->GetItemAt(i, &item)) || !item) continue;
    Files()->Add(ItemName(item));
    item->Release();
  }
  FileName = Files()->Count() > 0 ? Files()->Get(0) : WideString();
  return true;
}

IFileDialog* TCustomFileSaveDialog::CreateFileDialog() {
  IFileSaveDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileSaveDialog,
                              reinterpret_cast<void**>(&dialog))))
    return nullptr;
  return dialog;
}

HRESULT TCustomFileSaveDialog::DoOverwrite(IShellItem*, FDE_OVERWRITE_RESPONSE& Response) {
  if (!OnOverwrite) return E_NOTIMPL;
  OnOverwrite(this, Response);
  return S_OK;
}

// ---------------------------------------------------------------------------
// TUniOpenDialog

TUniOpenDialog::TUniOpenDialog(TComponent* AOwner)
    : TOpenDialog(AOwner), FFiles(std::make_unique<TUniStringList>()) {}

TUniOpenDialog::~TUniOpenDialog() = default;

TUniStringList* TUniOpenDialog::Files() const {
  // Without wide entry points the 8-bit dialog ran: its list is the one that holds the choice.
  if (!UnicodePlatform) {
    FFiles->Clear();
    TStrings* files = TOpenDialog::Files();
    for (int i = 0; i < files->Count(); ++i) FFiles->Add(AnsiToWide(files->Strings(i)));
  }
  return FFiles.get();
}

WideString TUniOpenDialog::DefaultExt() { return GetSyncedWideString(FDefaultExt, TOpenDialog::DefaultExt); }
void TUniOpenDialog::SetDefaultExt(const WideString& Value) {
  SetSyncedWideString(Value, FDefaultExt, TOpenDialog::DefaultExt,
                      [this](const AnsiString& s) { TOpenDialog::DefaultExt = s; });
}

WideString TUniOpenDialog::FileName() {
  HWND dialog = DialogWindow();
  if (UnicodePlatform && FWideRun && UsesExplorerStyle() && dialog && IsWindow(dialog)) {
    // The size is counted in characters, and the buffer made for what the dialog holds.
    LRESULT needed = SendMessageW(dialog, CDM_GETFILEPATH, 0, 0);
    if (needed > 0) {
      std::vector<WideChar> path(static_cast<size_t>(needed) + 1, 0);
      SendMessageW(dialog, CDM_GETFILEPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
      return WideString(path.data());
    }
  }
  return GetSyncedWideString(FFileName, TOpenDialog::FileName);
}

void TUniOpenDialog::SetFileName(const WideString& Value) {
  FFileName = Value;
  TOpenDialog::FileName = WideToAnsi(Value);
}

WideString TUniOpenDialog::Filter() { return GetSyncedWideString(FFilter, TOpenDialog::Filter); }
void TUniOpenDialog::SetFilter(const WideString& Value) {
  SetSyncedWideString(Value, FFilter, TOpenDialog::Filter, [this](const AnsiString& s) { TOpenDialog::Filter = s; });
}

WideString TUniOpenDialog::InitialDir() { return GetSyncedWideString(FInitialDir, TOpenDialog::InitialDir); }
void TUniOpenDialog::SetInitialDir(const WideString& Value) {
  SetSyncedWideString(TrimInitialDir(Value), FInitialDir, TOpenDialog::InitialDir,
                      [this](const AnsiString& s) { TOpenDialog::InitialDir = s; });
}

WideString TUniOpenDialog::Title() { return GetSyncedWideString(FTitle, TOpenDialog::Title); }
void TUniOpenDialog::SetTitle(const WideString& Value) {
  SetSyncedWideString(Value, FTitle, TOpenDialog::Title, [this](const AnsiString& s) { TOpenDialog::Title = s; });
}

void TUniOpenDialog::DefineProperties(TFiler* Filer) {
  TOpenDialog::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

bool TUniOpenDialog::Execute() {
  if (!UnicodePlatform) return TOpenDialog::Execute();
  return ExecuteWide(&GetOpenFileNameW, false);
}

bool TUniSaveDialog::Execute() {
  if (!UnicodePlatform) return DoExecute([this](OPENFILENAMEA& r) { return RunFileDialog(&GetSaveFileNameA, r); });
  return ExecuteWide(&GetSaveFileNameW, true);
}

bool TUniOpenDialog::ExecuteWide(BOOL(WINAPI* ClassicFunc)(LPOPENFILENAMEW), bool SaveDialog) {
  if (!PlatformIsVistaOrLater || Template) return ExecuteClassic(ClassicFunc);
  return ExecuteItemDialog(SaveDialog);
}

bool TUniOpenDialog::ExecuteClassic(BOOL(WINAPI* DialogFunc)(LPOPENFILENAMEW)) {
  FFiles->Clear();
  // The framework prepares the record as for an 8-bit run; it is taken, not shown.
  OPENFILENAMEA prepared{};
  DoExecute([&](OPENFILENAMEA& r) {
    prepared = r;
    return FALSE;
  });

  const WideString filter = MakeFilterBuffer(Filter());
  const WideString initialDir = InitialDir();
  const WideString title = Title();
  const WideString fileName = FileName();
  WideString defaultExt = DefaultExt();
  if (defaultExt.empty() && !(prepared.Flags & OFN_EXPLORER)) {
    defaultExt = WideExtractFileExt(fileName);
    if (!defaultExt.empty()) defaultExt.erase(0, 1);
  }
  WideString templateName;
  LPCWSTR templateParam = nullptr;
  if (prepared.lpTemplateName) {
    if (IsIntegerIdentifier(prepared.lpTemplateName)) {
      templateParam = reinterpret_cast<LPCWSTR>(prepared.lpTemplateName);
    } else {
      templateName = AnsiToWide(prepared.lpTemplateName);
      templateParam = templateName.c_str();
    }
  }

  DWORD maxFile = prepared.nMaxFile;
  FWideRun = true;
  ScopeExit endRun{[&] { FWideRun = false; }};
  for (;;) {
    FWideNameBuffer.assign(maxFile + 2, 0);
    std::copy_n(fileName.begin(), std::min<size_t>(fileName.size(), maxFile), FWideNameBuffer.begin());
    OPENFILENAMEW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = IsWindow(prepared.hwndOwner) ? prepared.hwndOwner : (Application ? Application->Handle() : nullptr);
    record.hInstance = prepared.hInstance;
    record.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    record.nFilterIndex = prepared.nFilterIndex;
    record.lpstrFile = FWideNameBuffer.data();
    record.nMaxFile = maxFile;
    record.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    record.lpstrTitle = title.empty() ? nullptr : title.c_str();
    record.Flags = prepared.Flags;
    record.FlagsEx = prepared.FlagsEx;
    record.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    record.lpfnHook = prepared.lpfnHook;
    record.lpTemplateName = templateParam;

    size_t needed = 0;
    BOOL ok = TaskModalDialog([&] {
      BOOL result = DialogFunc(&record);
      if (!result) needed = NeededNameBufferSize(CommDlgExtendedError(), record.lpstrFile);
      return result;
    });
    if (ok) {
      ReadWideFileNames(record.lpstrFile);
      Options = OptionsFromReturnedFlags(Options, record.Flags);
      FilterIndex = static_cast<int>(record.nFilterIndex);
      return true;
    }
    // A selection larger than the buffer is no cancel: ask again with room for it.
    if (needed == 0 || maxFile >= (1u << 24)) return false;
    maxFile = std::max<DWORD>(static_cast<DWORD>(needed) + 2, maxFile * 2);
  }
}

void TUniOpenDialog::ReadWideFileNames(const WideChar* Buffer) {
  bool multi = (Options & OpenOption(ofAllowMultiSelect)) != 0;
  auto names = ParseFileNameBuffer(Buffer, multi, OldStyle());
  FFiles->Clear();
  for (const auto& name : names) FFiles->Add(name);
  SetFileName(names.empty() ? WideString() : names[0]);
  TOpenDialog::Files()->Clear();
  for (const auto& name : names) TOpenDialog::Files()->Add(WideToAnsi(name));
}

bool TUniOpenDialog::GrowWideNameBuffer(OPENFILENAMEW& Record) {
  HWND dialog = DialogWindow();
  if (OldStyle() || !(Options & OpenOption(ofAllowMultiSelect))) return false;
  size_t needed = NameBufferBound(SendMessageW(dialog, CDM_GETFOLDERPATH, 0, 0), SendMessageW(dialog, CDM_GETSPEC, 0, 0));
  if (needed <= Record.nMaxFile || Record.lpstrFile != FWideNameBuffer.data()) return false;
  // The selection was cut to fit: keep the dialog open, give it room and confirm again.
  FWideNameBuffer.assign(needed + 2, 0);
  Record.lpstrFile = FWideNameBuffer.data();
  Record.nMaxFile = static_cast<DWORD>(needed);
  SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, 1);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return true;
}

bool TUniOpenDialog::MessageHook(TMessage& Message) {
  if (!FWideRun) return TOpenDialog::MessageHook(Message);
  if (Message.Msg == WM_INITDIALOG && !OldStyle()) {
    Message.Result = TRUE;
    return true;
  }
  if (Message.Msg == WM_NOTIFY) {
    auto* notify = reinterpret_cast<OFNOTIFYW*>(Message.LParam);
    switch (notify->hdr.code) {
      case CDN_FILEOK: {
        if (GrowWideNameBuffer(*notify->lpOFN)) {
          Message.Result = TRUE;
          return true;
        }
        ReadWideFileNames(notify->lpOFN->lpstrFile);
        FInCanClose = true;
        bool canClose;
        {
          ScopeExit leave{[&] {
            FInCanClose = false;
            FFiles->Clear();
            TOpenDialog::Files()->Clear();
          }};
          canClose = DoCanClose();
        }
        if (!canClose) {
          SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, 1);
          Message.Result = TRUE;
          return true;
        }
        return false;
      }
      case CDN_INCLUDEITEM: {
        bool include = true;
        if (OnIncludeItem) OnIncludeItem(this, *reinterpret_cast<OFNOTIFYEXW*>(Message.LParam), include);
        Message.Result = include ? TRUE : FALSE;
        return true;
      }
      default:
        break;
    }
  }
  return TOpenDialog::MessageHook(Message);
}

bool TUniOpenDialog::DoCanClose() {
  if (FWideRun && !FInCanClose) return true;
  return TOpenDialog::DoCanClose();
}

bool TUniOpenDialog::ExecuteItemDialog(bool SaveDialog) {
  std::unique_ptr<TCustomFileDialog> dialog;
  if (SaveDialog)
    dialog = std::make_unique<TFileSaveDialog>(nullptr);
  else
    dialog = std::make_unique<TFileOpenDialog>(nullptr);
  dialog->DefaultExtension = DefaultExt();
  dialog->DefaultFolder = InitialDir();
  dialog->FileName = FileName();
  dialog->FileTypeIndex = static_cast<unsigned>(std::max(FilterIndex, 1));
  dialog->Title = Title();

  // Each hooked event shows this dialog what the item dialog holds now, then runs the
  // event of this dialog.
  TCustomFileDialog* d = dialog.get();
  auto takeOver = [this, d] {
    SetFileName(d->FileName);
    FFiles->Assign(d->Files());
  };
  if (OnSelectionChange) d->OnSelectionChange = [this, takeOver](TObject*) { takeOver(); DoSelectionChange(); };
  if (OnFolderChange) d->OnFolderChange = [this, takeOver](TObject*) { takeOver(); DoFolderChange(); };
  if (OnTypeChange)
    d->OnTypeChange = [this, d, takeOver](TObject*) {
      takeOver();
      FilterIndex = static_cast<int>(d->FileTypeIndex);
      DoTypeChange();
    };
  if (OnCanClose)
    d->OnFileOkClick = [this, takeOver](TObject*, bool& canClose) {
      takeOver();
      canClose = TOpenDialog::DoCanClose();
    };
  for (const auto& [name, mask] : FilterToFileTypes(Filter())) d->AddFileType(name, mask);
  d->Options = OpenOptionsToFileDialogOptions(Options, OptionsEx);

  FFiles->Clear();
  if (!d->Execute()) return false;
  SetFileName(d->FileName);
  FilterIndex = static_cast<int>(d->FileTypeIndex);
  FFiles->Assign(d->Files());
  TOpenDialog::Files()->Clear();
  for (int i = 0; i < FFiles->Count(); ++i) TOpenDialog::Files()->Add(WideToAnsi(FFiles->Get(i)));
  return true;
}

// ---------------------------------------------------------------------------

namespace {

const std::vector<TPropInfo>& FileTypeItemProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TFileTypeItem>()
      .Property("DisplayName", &TFileTypeItem::DisplayName)
      .Property("FileMask", &TFileTypeItem::FileMask)
      .Table();
  return t;
}

const std::vector<TPropInfo>& FavoriteLinkItemProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TFavoriteLinkItem>()
      .Property("Location", &TFavoriteLinkItem::Location)
      .Table();
  return t;
}

const std::vector<TPropInfo>& CustomFileDialogProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TCustomFileDialog>()
      .Property("ClientGuid", &TCustomFileDialog::ClientGuid, &TCustomFileDialog::SetClientGuid)
      .Property("DefaultExtension", &TCustomFileDialog::DefaultExtension)
      .Property("DefaultFolder", &TCustomFileDialog::DefaultFolder)
      .Property("FileName", &TCustomFileDialog::FileName)
      .Property("FileNameLabel", &TCustomFileDialog::FileNameLabel)
      .Property("FileTypes", &TCustomFileDialog::FileTypes, &TCustomFileDialog::SetFileTypes)
      .Property("FavoriteLinks", &TCustomFileDialog::FavoriteLinks, &TCustomFileDialog::SetFavoriteLinks)
      .Property("FileTypeIndex", &TCustomFileDialog::FileTypeIndex).Default(1)
      .Property("OkButtonLabel", &TCustomFileDialog::OkButtonLabel)
      .SetProperty<TFileDialogOption>("Options", &TCustomFileDialog::Options).Default(0)
      .Property("Title", &TCustomFileDialog::Title)
      .Property("OnExecute", &TCustomFileDialog::OnExecute)
      .Property("OnFileOkClick", &TCustomFileDialog::OnFileOkClick)
      .Property("OnFolderChange", &TCustomFileDialog::OnFolderChange)
      .Property("OnFolderChanging", &TCustomFileDialog::OnFolderChanging)
      .Property("OnSelectionChange", &TCustomFileDialog::OnSelectionChange)
      .Property("OnShareViolation", &TCustomFileDialog::OnShareViolation)
      .Property("OnTypeChange", &TCustomFileDialog::OnTypeChange)
      .Table();
  return t;
}

const std::vector<TPropInfo>& CustomFileSaveDialogProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TCustomFileSaveDialog>()
      .Property("OnOverwrite", &TCustomFileSaveDialog::OnOverwrite)
      .Table();
  return t;
}

const std::vector<TPropInfo>& UniCommonDialogProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TUniCommonDialog>()
      .Property("Ctl3D", &TUniCommonDialog::Ctl3D).Default(true)
      .Property("HelpContext", &TUniCommonDialog::HelpContext).Default(0)
      .Property("OnClose", &TUniCommonDialog::OnClose)
      .Property("OnShow", &TUniCommonDialog::OnShow)
      .Table();
  return t;
}

const std::vector<TPropInfo>& UniOpenDialogProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TUniOpenDialog>()
      .Property("DefaultExt", &TUniOpenDialog::DefaultExt, &TUniOpenDialog::SetDefaultExt)
      .Property("FileName", &TUniOpenDialog::FileName, &TUniOpenDialog::SetFileName)
      .Property("Filter", &TUniOpenDialog::Filter, &TUniOpenDialog::SetFilter)
      .Property("InitialDir", &TUniOpenDialog::InitialDir, &TUniOpenDialog::SetInitialDir)
      .Property("Title", &TUniOpenDialog::Title, &TUniOpenDialog::SetTitle)
      .Property("OnIncludeItem", &TUniOpenDialog::OnIncludeItem)
      .Table();
  return t;
}

}  // namespace

VCL_CLASS_IMPL(TUniCommonDialog, TComponent, nullptr, &UniCommonDialogProps)
VCL_CLASS_IMPL(TFileTypeItem, TCollectionItem, nullptr, &FileTypeItemProps)
VCL_CLASS_IMPL(TFavoriteLinkItem, TCollectionItem, nullptr, &FavoriteLinkItemProps)
VCL_CLASS_IMPL(TCustomFileDialog, TComponent, nullptr, &CustomFileDialogProps)
VCL_CLASS_IMPL(TCustomFileOpenDialog, TCustomFileDialog, nullptr, nullptr)
VCL_CLASS_IMPL(TFileOpenDialog, TCustomFileOpenDialog, &CreateComponentOf<TFileOpenDialog>, nullptr)
VCL_CLASS_IMPL(TCustomFileSaveDialog, TCustomFileDialog, nullptr, &CustomFileSaveDialogProps)
VCL_CLASS_IMPL(TFileSaveDialog, TCustomFileSaveDialog, &CreateComponentOf<TFileSaveDialog>, nullptr)
VCL_CLASS_IMPL(TUniOpenDialog, TOpenDialog, &CreateComponentOf<TUniOpenDialog>, &UniOpenDialogProps)
VCL_CLASS_IMPL(TUniSaveDialog, TUniOpenDialog, &CreateComponentOf<TUniSaveDialog>, nullptr)
