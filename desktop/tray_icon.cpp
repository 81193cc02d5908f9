#include "desktop/tray_icon.h"

#include <algorithm>
#include <map>
#include <vector>

#include "desktop/system_version.h"
#include "desktop/utility_routines.h"
#include "desktop/window_routines.h"
#include "vcl/application.h"
#include "vcl/typinfo.h"

std::function<BOOL(DWORD Message, NOTIFYICONDATAW* Data)> TrayNotifyIcon = [](DWORD Message,
                                                                               NOTIFYICONDATAW* Data) {
  return Shell_NotifyIconW(Message, Data);
};

namespace tray_icon_rules {

DWORD NotifyDataSize(bool Win2000OrLater) {
  return Win2000OrLater ? sizeof(NOTIFYICONDATAW) : NOTIFYICONDATAW_V1_SIZE;
}

size_t TipLength(bool Win2000OrLater) { return Win2000OrLater ? 127 : 63; }

void CopyField(wchar_t* Field, size_t Capacity, const WideString& Text, size_t MaxLength) {
  size_t n = std::min({Text.size(), MaxLength, Capacity - 1});
  std::fill(Field, Field + Capacity, L'\0');
  std::copy(Text.begin(), Text.begin() + static_cast<ptrdiff_t>(n), Field);
}

}  // namespace tray_icon_rules

namespace {

using namespace tray_icon_rules;

// Sent to every top-level window when the shell's taskbar (re)starts.
UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

const std::vector<TPropInfo>& TrayIconProperties() {
  using T = TdkTrayIcon;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      // The tray icon's Enabled is about the mouse; the timer's is CycleIcons.
      .Property("Enabled", &T::Enabled, &T::SetEnabled).Default(true)
      .Property("Interval", &T::CycleInterval, &T::SetCycleInterval).Stored(false)
      .Property("OnTimer", &T::OnTimer, &T::SetOnTimer).Stored(false)
      .Property("CycleIcons", &T::CycleIcons, &T::SetCycleIcons).Default(false)
      .Property("CycleInterval", &T::CycleInterval, &T::SetCycleInterval).Default(200u)
      .Property("Hint", &T::Hint, &T::SetHint)
      .Property("Icon", &T::Icon, &T::SetIcon).Stored(&T::IsIconStored)
      .Property("IconID", &T::IconID, &T::SetIconID).Default(0)
      .Property("ImageList", &T::ImageList, &T::SetImageList)
      .Property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(0)
      .Property("InfoText", &T::InfoText)
      .Property("InfoTimeout", &T::InfoTimeout).Default(10000)
      .Property("InfoTitle", &T::InfoTitle)
      .Property("InfoType", &T::InfoType).Default(tiiNone)
      .Property("MinimizeOnStart", &T::MinimizeOnStart).Default(false)
      .Property("MinimizeToTray", &T::MinimizeToTray).Default(false)
      .Property("PopupByLeft", &T::PopupByLeft).Default(false)
      .Property("PopupMenu", &T::PopupMenu, &T::SetPopupMenu)
      .Property("ShowHint", &T::ShowHint, &T::SetShowHint).Default(true)
      .Property("Visible", &T::Visible, &T::SetVisible).Default(false)
      .Property("VisibleOnDesigning", &T::VisibleOnDesigning, &T::SetVisibleOnDesigning).Default(false)
      .Property("OnBalloonClick", &T::OnBalloonClick)
      .Property("OnBalloonShow", &T::OnBalloonShow)
      .Property("OnBalloonTimeout", &T::OnBalloonTimeout)
      .Property("OnClick", &T::OnClick)
      .Property("OnCycleIcons", &T::OnCycleIcons)
      .Property("OnDblClick", &T::OnDblClick)
      .Property("OnHide", &T::OnHide)
      .Property("OnMinimize", &T::OnMinimize)
      .Property("OnMouseDown", &T::OnMouseDown)
      .Property("OnMouseMove", &T::OnMouseMove)
      .Property("OnMouseUp", &T::OnMouseUp)
      .Property("OnPopupMenu", &T::OnPopupMenu)
      .Property("OnShow", &T::OnShow)
      .Table();
  return table;
}

}  // namespace

// The application window's procedure while tray icons watch it: each watching icon sees the
// message, then the procedure the window had before passes it on. One record per window keeps
// the order of the icons and that procedure, so icons may come and go in any order.
struct TrayAppWindowHook {
  struct TRecord {
    WNDPROC Original = nullptr;
    bool Unicode = false;
    std::vector<TdkTrayIcon*> Hooks;
  };
  static std::map<HWND, TRecord>& Records() {
    static std::map<HWND, TRecord> records;
    return records;
  }

  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto it = Records().find(Wnd);
    if (it == Records().end()) return DefWindowProcA(Wnd, Msg, WParam, LParam);
    std::vector<TdkTrayIcon*> hooks = it->second.Hooks;
    for (TdkTrayIcon* hook : hooks) {
      auto now = Records().find(Wnd);
      if (now == Records().end()) break;
      const auto& current = now->second.Hooks;
      if (std::find(current.begin(), current.end(), hook) == current.end()) continue;
      TMessage m{Msg, WParam, LParam, 0};
      try {
        hook->AppWndProc(m);
      } catch (...) {
        if (ApplicationHandleException) ApplicationHandleException(hook);
      }
    }
    it = Records().find(Wnd);
    if (it == Records().end()) return DefWindowProcA(Wnd, Msg, WParam, LParam);
    const TRecord& record = it->second;
    LRESULT result = record.Unicode ? CallWindowProcW(record.Original, Wnd, Msg, WParam, LParam)
                                    : CallWindowProcA(record.Original, Wnd, Msg, WParam, LParam);
    // The window's last message: nothing more to pass on, and the record goes with it.
    if (Msg == WM_NCDESTROY) Forget(Wnd);
    return result;
  }

  static void Attach(HWND Wnd, TdkTrayIcon* Icon) {
    auto [it, fresh] = Records().try_emplace(Wnd);
    TRecord& record = it->second;
    if (fresh) {
      record.Unicode = IsWindowUnicode(Wnd) != FALSE;
      LONG_PTR proc = reinterpret_cast<LONG_PTR>(&Proc);
      record.Original = reinterpret_cast<WNDPROC>(record.Unicode ? SetWindowLongPtrW(Wnd, GWLP_WNDPROC, proc)
                                                                 : SetWindowLongPtrA(Wnd, GWLP_WNDPROC, proc));
    }
    record.Hooks.push_back(Icon);
  }

  static void Detach(HWND Wnd, TdkTrayIcon* Icon) {
    auto it = Records().find(Wnd);
    if (it == Records().end()) return;
    auto& hooks = it->second.Hooks;
    hooks.erase(std::remove(hooks.begin(), hooks.end(), Icon), hooks.end());
    if (!hooks.empty() || !IsWindow(Wnd)) return;
    // Put the old procedure back unless someone has subclassed the window after us; then our
    // procedure stays in the chain and passes everything on.
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd, GWLP_WNDPROC));
    if (current != &Proc) return;
    const TRecord& record = it->second;
    LONG_PTR original = reinterpret_cast<LONG_PTR>(record.Original);
    record.Unicode ? SetWindowLongPtrW(Wnd, GWLP_WNDPROC, original) : SetWindowLongPtrA(Wnd, GWLP_WNDPROC, original);
    Records().erase(it);
  }

  static void Forget(HWND Wnd) { Records().erase(Wnd); }
};

VCL_CLASS_IMPL(TdkTrayIcon, TdkCustomTimer, &CreateComponentOf<TdkTrayIcon>, &TrayIconProperties)

TdkTrayIcon::TdkTrayIcon(TComponent* AOwner)
    : TdkCustomTimer(AOwner), FIcon(new TIcon), FChangeLink(new TChangeLink) {
  TaskbarCreatedMessage();
  FChangeLink->OnChange = [this](TObject*) { IconFromList(); };
  FIcon->OnChange = [this](TObject*) { ModifyIcon(); };
  TdkCustomTimer::SetEnabled(false);
  SetInterval(200);
  // The timer runs only with a handler; the pictures cycle in Timer, so any will do.
  SetOnTimer([](TObject*) {});
  if (!HasState(csDesigning)) HookApplicationWindow();
}

TdkTrayIcon::~TdkTrayIcon() {
  if (FVisible || FVisibleOnDesigning) {
    // Destruction must not throw: the icon is taken away as far as the shell lets us.
    FNotifyFlags &= ~NIF_ICON;
    UpdateNotifyData();
    Notify(NIM_DELETE);
  }
  UnhookApplicationWindow();
  if (FImageList) FImageList->UnRegisterChanges(FChangeLink.get());
}

void TdkTrayIcon::HookApplicationWindow() {
  if (!Application || !Application->Handle()) return;
  FHookedWindow = Application->Handle();
  TrayAppWindowHook::Attach(FHookedWindow, this);
}

void TdkTrayIcon::UnhookApplicationWindow() {
  if (!FHookedWindow) return;
  TrayAppWindowHook::Detach(FHookedWindow, this);
  FHookedWindow = nullptr;
}

void TdkTrayIcon::Loaded() {
  TdkCustomTimer::Loaded();
  if (HasState(csDesigning)) {
    if (FVisibleOnDesigning) ShowIcon();
    return;
  }
  if (MinimizeOnStart) {
    if (Application) Application->ShowMainForm = false;
    Minimize();
  }
  if (FStreamedVisible && !FVisible) ShowIcon();
  FStreamedVisible = false;
}

void TdkTrayIcon::UpdateNotifyData() {
  bool modern = SystemVersion().IsWin2000OrLater;
  FData = NOTIFYICONDATAW{};
  FData.cbSize = NotifyDataSize(modern);
  FData.hWnd = WindowHandle();
  FData.uID = static_cast<UINT>(FIconID);
  FData.uFlags = FNotifyFlags;
  FData.uCallbackMessage = WM_TRAYICONNOTIFY;
  FData.hIcon = FIcon->Handle();
  if (FShowHint) CopyField(FData.szTip, std::size(FData.szTip), AnsiToWide(FHint), TipLength(modern));
}

bool TdkTrayIcon::Notify(DWORD Message) { return TrayNotifyIcon && TrayNotifyIcon(Message, &FData); }

void TdkTrayIcon::ShowIcon() {
  FNotifyFlags |= NIF_ICON;
  UpdateNotifyData();
  if (!Notify(NIM_ADD)) throw EdkTrayIcon(Format("%s.InsertToTray failed", Name().c_str()));
  if (HasState(csDesigning))
    FVisibleOnDesigning = true;
  else
    FVisible = true;
  if (OnShow) OnShow(this);
}

void TdkTrayIcon::HideIcon() {
  FNotifyFlags &= ~NIF_ICON;
  UpdateNotifyData();
  if (!Notify(NIM_DELETE)) throw EdkTrayIcon(Format("%s.DeleteFromTray failed", Name().c_str()));
  if (HasState(csDesigning))
    FVisibleOnDesigning = false;
  else
    FVisible = false;
  if (OnHide) OnHide(this);
  if (MinimizeToTray) ShowApplication();
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()); owner && !owner->Visible()) owner->SetVisible(true);
}

void TdkTrayIcon::ModifyIcon() {
  // An icon that is not in the notification area has nothing to change there; the record is
  // refreshed when it is added.
  if (!FVisible && !FVisibleOnDesigning) return;
  UpdateNotifyData();
  Notify(NIM_MODIFY);
}

void TdkTrayIcon::ShowBalloon() {
  if (!SystemVersion().IsWin2000OrLater) return;
  UpdateNotifyData();
  FData.dwInfoFlags = static_cast<DWORD>(InfoType);
  FData.uFlags = NIF_INFO;
  FData.uTimeout = static_cast<UINT>(InfoTimeout);
  CopyField(FData.szInfo, std::size(FData.szInfo), AnsiToWide(InfoText), 255);
  CopyField(FData.szInfoTitle, std::size(FData.szInfoTitle), AnsiToWide(InfoTitle), 63);
  Notify(NIM_MODIFY);
}

void TdkTrayIcon::SetVisible(bool Value) {
  if (HasState(csLoading | csReading)) {
    FStreamedVisible = Value;
    return;
  }
  if (HasState(csDesigning) || Value == FVisible) return;
  Value ? ShowIcon() : HideIcon();
}

void TdkTrayIcon::SetVisibleOnDesigning(bool Value) {
  if (!HasState(csDesigning) || HasState(csLoading | csReading) || Value == FVisibleOnDesigning) {
    FVisibleOnDesigning = Value;
    return;
  }
  Value ? ShowIcon() : HideIcon();
}

void TdkTrayIcon::SetHint(const AnsiString& Value) {
  if (FHint == Value) return;
  FHint = Value;
  ModifyIcon();
}

void TdkTrayIcon::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  ModifyIcon();
}

void TdkTrayIcon::SetIcon(TIcon* Value) { FIcon->Assign(Value); }

void TdkTrayIcon::SetIconID(int Value) {
  if (FIconID == Value) return;
  if (!FVisible) {
    FIconID = Value;
    return;
  }
  HideIcon();
  FIconID = Value;
  ShowIcon();
}

void TdkTrayIcon::SetImageList(TCustomImageList* Value) {
  if (RelinkImageList(this, FImageList, FChangeLink.get(), Value)) IconFromList();
}

void TdkTrayIcon::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  IconFromList();
}

void TdkTrayIcon::IconFromList() {
  if (!FImageList || FImageIndex < 0 || FImageIndex >= FImageList->Count()) return;
  // The icon's change event carries the new picture to the notification area.
  FImageList->GetIcon(FImageIndex, FIcon.get());
}

void TdkTrayIcon::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TdkTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  TdkCustomTimer::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (AComponent == FImageList) SetImageList(nullptr);
}

void TdkTrayIcon::Timer() {
  if (FImageList && FImageList->Count() > 0) SetImageIndex(FImageIndex + 1 < FImageList->Count() ? FImageIndex + 1 : 0);
  TdkCustomTimer::Timer();
  if (OnCycleIcons) OnCycleIcons(this);
}

HWND TdkTrayIcon::OwnerWindow() {
  auto* owner = dynamic_cast<TWinControl*>(Owner());
  return owner ? owner->Handle() : nullptr;
}

void TdkTrayIcon::WndProc(TMessage& Msg) {
  if (Msg.Msg == WM_TRAYICONNOTIFY) {
    if (!HasState(csDesigning) && FEnabled) HandleTrayMessage(static_cast<UINT>(Msg.LParam));
    Msg.Result = 0;
    return;
  }
  if (Msg.Msg == WM_QUERYENDSESSION) {
    Msg.Result = 1;
    return;
  }
  if (Msg.Msg == TaskbarCreatedMessage()) {
    // The shell restarted and forgot its icons: ours goes back in. No hide step, so nothing
    // else happens (a program minimised to the tray stays there).
    if (FVisible) {
      UpdateNotifyData();
      Notify(NIM_ADD);
    }
    Msg.Result = 0;
    return;
  }
  TdkCustomTimer::WndProc(Msg);
}

void TdkTrayIcon::HandleTrayMessage(UINT Message) {
  POINT p{};
  GetCursorPos(&p);
  TShiftState shift = ShiftStateNow();
  switch (Message) {
    case WM_MOUSEMOVE:
      MouseMove(shift, p.x, p.y);
      break;
    case WM_LBUTTONDOWN:
      MouseDown(mbLeft, shift, p.x, p.y);
      FLeftDown = true;
      break;
    case WM_LBUTTONUP:
      MouseUp(mbLeft, shift, p.x, p.y);
      if (FLeftDown) Click();
      if (PopupByLeft) ShowPopupMenu();
      FLeftDown = false;
      break;
    case WM_LBUTTONDBLCLK:
      DblClick();
      break;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, shift, p.x, p.y);
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, p.x, p.y);
      ShowPopupMenu();
      break;
    case WM_MBUTTONDOWN:
      MouseDown(mbMiddle, shift, p.x, p.y);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, shift, p.x, p.y);
      break;
    case NIN_BALLOONSHOW:
      if (OnBalloonShow) OnBalloonShow(this);
      break;
    case NIN_BALLOONTIMEOUT:
      if (OnBalloonTimeout) OnBalloonTimeout(this);
      break;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonClick) OnBalloonClick(this);
      break;
  }
}

void TdkTrayIcon::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TdkTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TdkTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (HWND owner = OwnerWindow()) SetForegroundWindow(owner);
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TdkTrayIcon::Click() {
  if (OnClick) OnClick(this);
}

void TdkTrayIcon::DblClick() {
  if (FPopupMenu && FPopupMenu->AutoPopup() && !PopupByLeft) {
    TMenuItem* items = FPopupMenu->Items();
    for (int i = 0; i < items->Count(); ++i)
      if (items->Items(i)->Default()) {
        items->Items(i)->Click();
        break;
      }
    if (OnDblClick) OnDblClick(this);
    if (HWND owner = OwnerWindow()) SetForegroundWindow(owner);
    return;
  }
  if (!HasState(csDesigning) && MinimizeToTray) {
    if (auto* owner = dynamic_cast<TWinControl*>(Owner())) owner->Visible() ? HideApplication() : ShowApplication();
  }
  if (OnDblClick) OnDblClick(this);
}

void TdkTrayIcon::ShowPopupMenu() {
  if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
  POINT p{};
  GetCursorPos(&p);
  HWND owner = OwnerWindow();
  // The menu closes when the user clicks elsewhere only if our window is in front.
  SetForegroundWindow(owner ? owner : WindowHandle());
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(p.x, p.y);
  PostMessageA(owner ? owner : WindowHandle(), WM_NULL, 0, 0);
  if (OnPopupMenu) OnPopupMenu(this);
}

void TdkTrayIcon::Minimize() {
  if (HasState(csDesigning)) return;
  HideApplication();
  SetVisible(true);
  if (OnMinimize) OnMinimize(this);
}

void TdkTrayIcon::ShowApplication() { ::ShowApplication(); }

void TdkTrayIcon::HideApplication() { ::HideApplication(); }

void TdkTrayIcon::AppWndProc(TMessage& Msg) {
  if (Msg.Msg == WM_SIZE && Msg.WParam == SIZE_MINIMIZED && MinimizeToTray) Minimize();
}
