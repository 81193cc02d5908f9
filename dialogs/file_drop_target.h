// TFileDropTarget: makes its owner's window accept files dragged from the shell and
// reports each drop with its names and the point where it landed.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>

#include "vcl/classes.h"
#include "vcl/strings.h"
#include "widetext/uni_string_list.h"

class TWinControl;

using TFileDropEvent = std::function<void(TObject* Sender, int X, int Y)>;

class TFileDropTarget : public TComponent {
  VCL_CLASS(TFileDropTarget)
 public:
  explicit TFileDropTarget(TComponent* AOwner);
  ~TFileDropTarget() override;

  // The accepted names of the last drop, in drop order: 8-bit text (a view of WideFiles)
  // and the full UTF-16 names, which keep characters outside the code page.
  TStrings* Files() const { return FWideFiles->AnsiStrings(); }
  TUniStringList* WideFiles() const { return FWideFiles.get(); }
  // The number of files of the last drop, before the extension filter.
  int FileCount() const { return FFileCount; }

  bool EnableDrop() const { return FEnableDrop; }
  void SetEnableDrop(bool Value);
  // Extensions without the dot, one a line; empty: every file is accepted.
  TStrings* AllowedFileExtensions() const { return FAllowedFileExtensions.get(); }
  void SetAllowedFileExtensions(TStrings* Value) { FAllowedFileExtensions->Assign(Value); }

  TFileDropEvent OnDrop;

  // The window that was hooked: the owner's, from the target's creation on, or when the
  // target is read with its form, once the form is loaded (null when the owner is not a
  // windowed control).
  HWND WindowHandle() const { return FWindow; }

  // Handles one drop (the handle of a WM_DROPFILES message) and releases it.
  void HandleDrop(HDROP Drop);

 protected:
  void Loaded() override;

 private:
  void HookOwner();
  static LRESULT CALLBACK HookProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool ExtensionAllowed(const WideString& Name) const;

  std::unique_ptr<TUniStringList> FWideFiles;
  std::unique_ptr<TStringList> FAllowedFileExtensions;
  int FFileCount = 0;
  bool FEnableDrop = true;
  TWinControl* FOwnerControl = nullptr;
  HWND FWindow = nullptr;
  WNDPROC FPrevProc = nullptr;
  bool FUnicodeWindow = false;
};
