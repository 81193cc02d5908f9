// The wide side of the application: a wide title and a wide hint beside the framework's
// 8-bit ones, and wide characters typed into Unicode windows carried past the framework's
// 8-bit message loop.
//
// The framework's loop takes messages with PeekMessageA, which turns a character above
// the code page into "?" on its way to a Unicode window. A WH_GETMESSAGE hook sees each
// message first, in its wide form: a WM_CHAR above 255 for a Unicode window is handled
// there (OnMessage, the dialog test, DispatchMessageW) and turned into WM_NULL, which the
// framework's loop ignores.
//
// Start-up: after the application object exists (created without its window when a wide
// title is to be set before the window comes), InitWideApplication(); at the end,
// DoneWideApplication().
#pragma once

#include "vcl/application.h"
#include "vcl/controls.h"

class TAction;
class TUniAppIdleEventControl;

class TUniApplication : public TComponent {
  VCL_CLASS(TUniApplication)
  friend class TUniAppIdleEventControl;

 public:
  // Hooks the window of the application object (Application).
  explicit TUniApplication(TComponent* AOwner);
  ~TUniApplication() override;

  // The long part of the wide hint of the control the application takes its hint from,
  // as long as Application.Hint is its 8-bit form; kept in step with Application.Hint.
  WideString Hint();
  void SetHint(const WideString& Value);
  // The application window's text, wide; before the window exists, kept and applied when
  // it is created.
  WideString Title();
  void SetTitle(const WideString& Value);

  // The idle step's hint update: the wide hint follows Application.Hint when that is the
  // 8-bit form of the current control's long wide hint.
  void UpdateHint();
  // A message just taken from the queue (the WH_GETMESSAGE hook): true when it was
  // handled here, and the framework's loop must ignore it.
  bool ProcessMessage(MSG& Msg);

  // GetTickCount() at the application window's last WM_SETTINGCHANGE (0: none yet).
  DWORD SettingChangeTime() const { return FSettingChangeTime; }
  // The window-less control that drives UpdateHint from the main form's idle action
  // update (null when the main form is a wide form, or before the first main form).
  TUniAppIdleEventControl* IdleEventControl() const { return FIdleEventControl; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool ApplicationWindowHook(TMessage& Message);
  void CheckMainForm();

  TApplication* FApplication;
  THookHandle FWindowHook = 0;
  bool FMainFormChecked = false;
  WideString FHint;
  TUniAppIdleEventControl* FIdleEventControl = nullptr;
  DWORD FSettingChangeTime = 0;
  WideString FTitle;  // only while there is no window to hold it
};

// A visible, window-less control on a main form that is not a wide form: its action's
// update (the framework's idle step) runs the application's hint update.
class TUniAppIdleEventControl : public TControl {
  VCL_CLASS(TUniAppIdleEventControl)
 public:
  explicit TUniAppIdleEventControl(TComponent* AOwner);
  ~TUniAppIdleEventControl() override;

 private:
  TAction* FAction;
};

// The one wide application object (null outside InitWideApplication/DoneWideApplication).
extern TUniApplication* WideApplication;
// GetTickCount() at the last WM_SETTINGCHANGE the application window received.
extern DWORD LastSettingChangeTime;

// Creates WideApplication for Application (made with InitApplication when there is none)
// and, on the NT family, installs the message hook for this thread. A failed hook raises
// the system error.
void InitWideApplication();
// Removes the hook and frees WideApplication.
void DoneWideApplication();
