// A component that subclasses a window: it sees every message before and after the window's
// own procedure, can drag the window by any point, and hooks the window again when it is
// recreated. Several hooks may subclass one window.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "desktop/custom_timer.h"
#include "desktop/desktop_component.h"
#include "vcl/controls.h"
#include "vcl/messages.h"

using TdkMessageEvent = std::function<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

class TdkWndProcHookTimer;
struct TdkHookEntry;

class TdkCustomWndProcHook : public TdkComponent {
  VCL_CLASS(TdkCustomWndProcHook)
 public:
  explicit TdkCustomWndProcHook(TComponent* AOwner);
  ~TdkCustomWndProcHook() override;

  bool Active() const { return FActive; }
  void SetActive(bool Value) { DoSetActive(Value); }
  bool AutoDrag = false;
  // An explicit window (0: none); it comes before WinControl.
  HWND Handle() const { return FHandle; }
  void SetHandle(HWND Value) { DoSetHandle(Value); }
  // The control whose window is hooked; without one, the owner when it is a control.
  TWinControl* WinControl() const { return FWinControl; }
  void SetWinControl(TWinControl* Value) { DoSetWinControl(Value); }

  TNotifyEvent OnChangeHandle;
  TNotifyEvent OnChangeWinControl;
  TdkMessageEvent OnMessageAfter;
  TdkMessageEvent OnMessageBefore;

  // The window a hook would subclass now: Handle, else the control's window (created when
  // needed); kNoTarget when there is none.
  virtual HWND GetHandle();
  static inline const HWND kNoTarget = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
  // The window subclassed now (null while inactive) and the procedure messages go on to.
  HWND HookedWindow() const;
  WNDPROC PreviousProc() const;
  WNDPROC EntryProc() const;

  void Loaded() override;

 protected:
  virtual void HookWindow();
  virtual void UnhookWindow();
  // Every message of the window: OnMessageBefore, the hook's own handling unless handled
  // (re-hook after WM_DESTROY, AutoDrag, else the previous procedure), OnMessageAfter.
  virtual void WndProc(TMessage& Msg);
  virtual void DoSetActive(bool Value);
  virtual void DoSetHandle(HWND Value);
  virtual TWinControl* GetWinControl();
  virtual void DoSetWinControl(TWinControl* Value);
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TdkWndProcHookTimer;
  LRESULT CallPrevious(const TMessage& Msg);
  void ReHook();

  bool FActive = false;
  HWND FHandle = nullptr;
  TWinControl* FWinControl = nullptr;
  std::shared_ptr<TdkHookEntry> FEntry;  // while hooked
  TdkWndProcHookTimer* FTimer = nullptr;
};

class TdkWndProcHook : public TdkCustomWndProcHook {
  VCL_CLASS(TdkWndProcHook)
 public:
  explicit TdkWndProcHook(TComponent* AOwner) : TdkCustomWndProcHook(AOwner) {}
};

// Hooks its hook again shortly after the window was destroyed (a recreated control has its
// new window by then).
class TdkWndProcHookTimer : public TdkCustomTimer {
  VCL_CLASS(TdkWndProcHookTimer)
 public:
  // One-shot: 25 ms after it is enabled it hooks its owner again and fires OnChangeHandle.
  explicit TdkWndProcHookTimer(TdkCustomWndProcHook* AOwner);
};

// Every hook alive, in creation order.
TList* WndProcHookList();
