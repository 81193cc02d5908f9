#include "dialogs/open_dir_dialog.h"

#include <objbase.h>
#include <shlobj.h>

#include "vcl/controls.h"

namespace {
const std::vector<TPropInfo>& OpenDirDialogProps() {
  static const std::vector<TPropInfo> props =
      TPropertyTable<TOpenDirDialog>()
          .Property("Title", &TOpenDirDialog::Title)
          .Property("Path", &TOpenDirDialog::Path)
          .SetProperty<TOpenDirOption>("Options", &TOpenDirDialog::Options, &TOpenDirDialog::SetOptions)
          .Default(0)
          .SetProperty<TOpenDirOptionEx>("OptionsEx", &TOpenDirDialog::OptionsEx, &TOpenDirDialog::SetOptionsEx)
          .Default(0)
          .Property("OnCreate", &TOpenDirDialog::OnCreate)
          .Property("OnChange", &TOpenDirDialog::OnChange)
          .Table();
  return props;
}
}  // namespace

VCL_CLASS_IMPL(TOpenDirDialog, TComponent, &CreateComponentOf<TOpenDirDialog>, &OpenDirDialogProps)

// The owner's window is asked for when the browser opens: taken here, it would be made while
// the owner's form is still being read.
TOpenDirDialog::TOpenDirDialog(TComponent* AOwner)
    : TComponent(AOwner), FOwnerControl(dynamic_cast<TWinControl*>(AOwner)) {}

UINT TOpenDirDialog::BrowseFlags() const {
  // Built from the sets as they are now, so a member taken out takes its flag with it.
  UINT flags = 0;
  if (FOptions & (1u << odShowDir)) flags |= BIF_RETURNONLYFSDIRS;
  if (FOptions & (1u << odShowComputer)) flags |= BIF_BROWSEFORCOMPUTER;
  if (FOptions & (1u << odShowPrinter)) flags |= BIF_BROWSEFORPRINTER;
  if (FOptions & (1u << odShowFiles)) flags |= BIF_BROWSEINCLUDEFILES;
  if (FOptionsEx & (1u << odxShowExtendDlg)) flags |= BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  return flags;
}

bool TOpenDirDialog::Execute() {
  CoInitialize(nullptr);
  char displayName[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = FOwnerControl ? FOwnerControl->Handle() : nullptr;
  info.pszDisplayName = displayName;
  info.lpszTitle = Title.empty() ? nullptr : Title.c_str();
  info.ulFlags = BrowseFlags();
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(this);
  PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
  if (!item) return false;
  char path[MAX_PATH] = {};
  bool ok = SHGetPathFromIDListA(item, path) != FALSE;
  CoTaskMemFree(item);
  if (!ok) return false;
  Path = path;
  return true;
}

int CALLBACK TOpenDirDialog::BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data) {
  auto* self = reinterpret_cast<TOpenDirDialog*>(Data);
  if (!self) return 0;
  try {
    if (Msg == BFFM_INITIALIZED) {
      self->FHandle = Wnd;
      SendMessageA(Wnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(self->Path.c_str()));
      if (self->OnCreate) self->OnCreate(self);
    } else if (Msg == BFFM_SELCHANGED && self->OnChange) {
      char path[MAX_PATH] = {};
      if (!SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(LParam), path)) path[0] = 0;
      self->OnChange(self, path);
    }
  } catch (...) {
    if (ApplicationHandleException) ApplicationHandleException(self);
  }
  return 0;
}
