// TOpenDirDialog: the shell's folder browser, opened on Path, returning the chosen folder.
#pragma once

#include <windows.h>

#include <functional>

#include "vcl/classes.h"
#include "vcl/typinfo.h"

class TWinControl;

enum TOpenDirOption { odShowDir, odShowComputer, odShowPrinter, odShowFiles };
VCL_ENUM_INFO(TOpenDirOption, "odShowDir", "odShowComputer", "odShowPrinter", "odShowFiles")
using TOpenDirOptions = unsigned;  // bit n = TOpenDirOption n

enum TOpenDirOptionEx { odxShowExtendDlg };
VCL_ENUM_INFO(TOpenDirOptionEx, "odxShowExtendDlg")
using TOpenDirOptionsEx = unsigned;

using TOnFolderChanged = std::function<void(TObject* Sender, const AnsiString& Path)>;

class TOpenDirDialog : public TComponent {
  VCL_CLASS(TOpenDirDialog)
 public:
  explicit TOpenDirDialog(TComponent* AOwner);

  // Shows the browser modally. True with Path set to the chosen folder; false when the
  // user cancelled or chose something that is not a file-system folder (Path unchanged).
  virtual bool Execute();

  AnsiString Title;
  AnsiString Path;
  TOpenDirOptions Options() const { return FOptions; }
  void SetOptions(TOpenDirOptions Value) { FOptions = Value; }
  TOpenDirOptionsEx OptionsEx() const { return FOptionsEx; }
  void SetOptionsEx(TOpenDirOptionsEx Value) { FOptionsEx = Value; }
  // The browser window while it is open (and after, its last value).
  HWND Handle() const { return FHandle; }
  // The browser flags the current option sets give.
  UINT BrowseFlags() const;

  TNotifyEvent OnCreate;
  TOnFolderChanged OnChange;

 private:
  static int CALLBACK BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data);

  TWinControl* FOwnerControl = nullptr;  // the window that owns the browser
  HWND FHandle = nullptr;
  TOpenDirOptions FOptions = 0;
  TOpenDirOptionsEx FOptionsEx = 0;
};
