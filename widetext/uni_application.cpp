#include "widetext/uni_application.h"

#include "vcl/actions.h"
#include "vcl/forms.h"
#include "vcl/hints.h"
#include "widetext/platform.h"
#include "widetext/synced_strings.h"
#include "widetext/uni_actions.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_labels.h"
#include "widetext/uniexceptions.h"
#include "widetext/wide_control_text.h"

VCL_CLASS_IMPL(TUniApplication, TComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TUniAppIdleEventControl, TControl, nullptr, nullptr)

TUniApplication* WideApplication = nullptr;
DWORD LastSettingChangeTime = 0;

namespace {

HHOOK MessageHook = nullptr;

// The control the application takes its hint from at the idle step: the one under the
// mouse.
TControl* CurrentHintControl() {
  POINT pos;
  if (!GetCursorPos(&pos)) return nullptr;
  return FindDragTarget(pos, true);
}

WideString CurrentLongHint() { return WideLongHint(WideHintOfControl(CurrentHintControl())); }

LRESULT CALLBACK GetMessageHook(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HC_ACTION && WParam == PM_REMOVE && WideApplication) {
    auto* msg = reinterpret_cast<MSG*>(LParam);
    bool processed = false;
    // Nothing may leave a hook: the system frames below cannot unwind.
    try {
      processed = WideApplication->ProcessMessage(*msg);
    } catch (...) {
      if (Application) Application->HandleException(WideApplication);
      processed = true;
    }
    if (processed) msg->message = WM_NULL;
  }
  return CallNextHookEx(MessageHook, Code, WParam, LParam);
}

WideString DefaultWindowText(HWND Wnd) {
  LRESULT len = DefWindowProcW(Wnd, WM_GETTEXTLENGTH, 0, 0);
  if (len <= 0) return WideString();
  WideString text(static_cast<size_t>(len) + 1, L'\0');
  LRESULT copied = DefWindowProcW(Wnd, WM_GETTEXT, static_cast<WPARAM>(len + 1), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------

TUniApplication::TUniApplication(TComponent* AOwner) : TComponent(AOwner), FApplication(InitApplication()) {
  FApplication->FreeNotification(this);
  FWindowHook = FApplication->HookMainWindow([this](TMessage& m) { return ApplicationWindowHook(m); });
  FSettingChangeTime = GetTickCount();
  LastSettingChangeTime = FSettingChangeTime;
}

TUniApplication::~TUniApplication() {
  Destroying();
  if (FApplication) FApplication->UnhookMainWindow(FWindowHook);
  delete FIdleEventControl;  // its destructor forgets it here
}

void TUniApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FApplication) FApplication = nullptr;
}

bool TUniApplication::ApplicationWindowHook(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTINGCHANGE:
      FSettingChangeTime = GetTickCount();
      LastSettingChangeTime = FSettingChangeTime;
      break;
    case WM_CREATE:
      if (UnicodePlatform && FApplication && !FTitle.empty()) {
        DefWindowProcW(FApplication->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FTitle.c_str()));
        FTitle.clear();
      }
      break;
    case CM_ACTIONEXECUTE: {
      // The framework's hint action carries only the 8-bit hint: whoever shows hints gets a
      // wide one with the whole text in its place.
      auto* action = reinterpret_cast<TBasicAction*>(Message.LParam);
      auto* hintAction = dynamic_cast<THintAction*>(action);
      if (!hintAction || hintAction->ClassType() != THintAction::StaticClass()) break;
      WideString hint = Hint();
      if (hintAction->Hint() != WideToAnsi(hint)) break;
      Message.Result = 1;
      TUniHintAction wideAction(nullptr);
      wideAction.SetHint(hint);
      wideAction.Execute();
      return true;
    }
    default: break;
  }
  return false;
}

WideString TUniApplication::Hint() {
  if (!FApplication) return FHint;
  WideString longHint = CurrentLongHint();
  if (WideToAnsi(longHint) == FApplication->Hint()) FHint = longHint;
  return GetSyncedWideString(FHint, FApplication->Hint());
}

void TUniApplication::SetHint(const WideString& Value) {
  if (!FApplication) return;
  TApplication* app = FApplication;
  SetSyncedWideString(Value, FHint, app->Hint(), [app](const AnsiString& s) { app->SetHint(s); });
}

void TUniApplication::UpdateHint() {
  if (!FApplication) return;
  WideString longHint = CurrentLongHint();
  if (FApplication->Hint() == WideToAnsi(longHint)) FHint = longHint;
}

WideString TUniApplication::Title() {
  if (!FApplication) return FTitle;
  HWND wnd = FApplication->Handle();
  if (wnd && UnicodePlatform) return DefaultWindowText(wnd);
  return GetSyncedWideString(FTitle, FApplication->Title());
}

void TUniApplication::SetTitle(const WideString& Value) {
  if (!FApplication) return;
  TApplication* app = FApplication;
  HWND wnd = app->Handle();
  if (!wnd || !UnicodePlatform) {
    SetSyncedWideString(Value, FTitle, app->Title(), [app](const AnsiString& s) { app->SetTitle(s); });
    return;
  }
  if (FTitle.empty() && Value == DefaultWindowText(wnd)) return;
  FTitle.clear();
  // The framework's copy (the title a new window takes) follows in its 8-bit form; it
  // writes the window's text too, so the wide text goes last.
  app->SetTitle(WideToAnsi(Value));
  DefWindowProcW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TUniApplication::CheckMainForm() {
  if (FMainFormChecked || !FApplication || !FApplication->MainForm()) return;
  FMainFormChecked = true;
  TCustomForm* mainForm = FApplication->MainForm();
  if (dynamic_cast<TUniForm*>(mainForm)) return;  // a wide form updates the hint itself
  // Not owned: it goes with the form as one of its controls, and is never stored with it.
  FIdleEventControl = new TUniAppIdleEventControl(nullptr);
  FIdleEventControl->SetParent(mainForm);
}

bool TUniApplication::ProcessMessage(MSG& Msg) {
  CheckMainForm();
  if (Msg.message != WM_CHAR || Msg.wParam < 256 || !FApplication || !IsWindowUnicode(Msg.hwnd)) return false;
  HWND dialog = FApplication->DialogHandle();
  if (dialog && !IsWindowUnicode(dialog)) return false;
  bool handled = false;
  if (FApplication->OnMessage) FApplication->OnMessage(Msg, handled);
  FApplication->CancelHint();
  if (handled) return true;
  if (dialog && (IsWindowUnicode(dialog) ? IsDialogMessageW(dialog, &Msg) : IsDialogMessageA(dialog, &Msg)))
    return true;
  DispatchMessageW(&Msg);
  return true;
}

// ---------------------------------------------------------------------------

TUniAppIdleEventControl::TUniAppIdleEventControl(TComponent* AOwner)
    : TControl(AOwner), FAction(new TUniAction(this)) {
  ControlStyle |= csNoDesignVisible;
  FAction->OnExecute = [](TObject*) {
    if (WideApplication) WideApplication->UpdateHint();
  };
  FAction->OnUpdate = FAction->OnExecute;
  SetBounds(0, 0, 0, 0);
  SetAction(FAction);
}

TUniAppIdleEventControl::~TUniAppIdleEventControl() {
  Destroying();
  SetAction(nullptr);
  if (WideApplication && WideApplication->FIdleEventControl == this) WideApplication->FIdleEventControl = nullptr;
}

// ---------------------------------------------------------------------------

void InitWideApplication() {
  if (WideApplication) return;
  RegisterUniLabelControls();
  RegisterUniButtonControls();
  WideApplication = new TUniApplication(nullptr);
  if (!UnicodePlatform) return;
  MessageHook = SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
  if (!MessageHook) {
    DWORD error = GetLastError();
    DoneWideApplication();
    RaiseLastOSError(error);
  }
}

void DoneWideApplication() {
  if (MessageHook) UnhookWindowsHookEx(MessageHook);
  MessageHook = nullptr;
  delete WideApplication;
  WideApplication = nullptr;
}
