#include "desktop/wndproc_hook.h"

#include <algorithm>
#include <vector>

#include "vcl/typinfo.h"
#include "vcl/utilwnd.h"

// One subclassing entry of a window. A hook owns its entry while hooked. When the hook cannot
// take its entry out of the window (another subclasser has been put on top of it since), the
// entry stays in the window as a plain forwarder until the window is gone, so that nobody
// above it is cut off.
struct TdkHookEntry {
  HWND Wnd = nullptr;
  bool Unicode = false;  // the window's procedures take UTF-16 messages
  WNDPROC Self = nullptr;
  WNDPROC Previous = nullptr;
  TdkCustomWndProcHook* Hook = nullptr;  // null once orphaned
};

namespace {

// Every entry in some window's chain: the hooks' own and the orphaned forwarders.
std::vector<std::shared_ptr<TdkHookEntry>>& Entries() {
  static std::vector<std::shared_ptr<TdkHookEntry>> entries;
  return entries;
}

TList*& HookList() {
  static TList* list = nullptr;
  return list;
}

WNDPROC WindowProcOf(HWND Wnd, bool Unicode) {
  return reinterpret_cast<WNDPROC>(Unicode ? GetWindowLongPtrW(Wnd, GWLP_WNDPROC) : GetWindowLongPtrA(Wnd, GWLP_WNDPROC));
}

WNDPROC SetWindowProc(HWND Wnd, bool Unicode, WNDPROC Proc) {
  const LONG_PTR value = reinterpret_cast<LONG_PTR>(Proc);
  return reinterpret_cast<WNDPROC>(Unicode ? SetWindowLongPtrW(Wnd, GWLP_WNDPROC, value)
                                           : SetWindowLongPtrA(Wnd, GWLP_WNDPROC, value));
}

LRESULT CallProc(WNDPROC Proc, bool Unicode, HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!Proc) return Unicode ? DefWindowProcW(Wnd, Msg, wParam, lParam) : DefWindowProcA(Wnd, Msg, wParam, lParam);
  return Unicode ? CallWindowProcW(Proc, Wnd, Msg, wParam, lParam) : CallWindowProcA(Proc, Wnd, Msg, wParam, lParam);
}

void Release(const std::shared_ptr<TdkHookEntry>& Entry) {
  auto& entries = Entries();
  entries.erase(std::remove(entries.begin(), entries.end(), Entry), entries.end());
  FreeObjectInstance(Entry->Self);
}

// Takes Entry out of its window's chain: out of the window itself when it is on top, else out
// of the entry above it; when neither is ours, it stays as a forwarder.
void Unlink(const std::shared_ptr<TdkHookEntry>& Entry) {
  if (IsWindow(Entry->Wnd)) {
    if (WindowProcOf(Entry->Wnd, Entry->Unicode) == Entry->Self) {
      SetWindowProc(Entry->Wnd, Entry->Unicode, Entry->Previous);
      Release(Entry);
      return;
    }
    for (auto& above : Entries())
      if (above != Entry && above->Wnd == Entry->Wnd && above->Previous == Entry->Self) {
        above->Previous = Entry->Previous;
        Release(Entry);
        return;
      }
  }
  if (!IsWindow(Entry->Wnd)) {
    Release(Entry);
    return;
  }
  Entry->Hook = nullptr;
}

bool IsValidTarget(HWND Wnd) { return Wnd && Wnd != TdkCustomWndProcHook::kNoTarget; }

const std::vector<TPropInfo>& HookProperties() {
  using T = TdkWndProcHook;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Active", &T::Active, &T::SetActive).Default(false)
      .Property("AutoDrag", &T::AutoDrag).Default(false)
      .Property("WinControl", &T::WinControl, &T::SetWinControl)
      .Property("OnChangeHandle", &T::OnChangeHandle)
      .Property("OnChangeWinControl", &T::OnChangeWinControl)
      .Property("OnMessageAfter", &T::OnMessageAfter)
      .Property("OnMessageBefore", &T::OnMessageBefore)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomWndProcHook, TdkComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TdkWndProcHook, TdkCustomWndProcHook, &CreateComponentOf<TdkWndProcHook>, &HookProperties)
VCL_CLASS_IMPL(TdkWndProcHookTimer, TdkCustomTimer, nullptr, nullptr)

TList* WndProcHookList() { return HookList(); }

TdkCustomWndProcHook::TdkCustomWndProcHook(TComponent* AOwner) : TdkComponent(AOwner) {
  if (!HookList()) HookList() = new TList;
  HookList()->Add(this);
}

TdkCustomWndProcHook::~TdkCustomWndProcHook() {
  Destroying();
  if (FEntry) UnhookWindow();
  FActive = false;
  if (FWinControl && FWinControl != Owner()) FWinControl->RemoveFreeNotification(this);
  if (TList* list = HookList()) {
    list->Remove(this);
    if (list->Count() == 0) {
      delete list;
      HookList() = nullptr;
    }
  }
}

HWND TdkCustomWndProcHook::GetHandle() {
  if (IsValidTarget(FHandle)) return FHandle;
  TWinControl* control = GetWinControl();
  if (!control) return kNoTarget;
  if (!control->HandleAllocated() && control->HasState(csReading | csDestroying)) return kNoTarget;
  return control->Handle();
}

TWinControl* TdkCustomWndProcHook::GetWinControl() {
  if (FWinControl) return FWinControl;
  return dynamic_cast<TWinControl*>(Owner());
}

HWND TdkCustomWndProcHook::HookedWindow() const { return FEntry ? FEntry->Wnd : nullptr; }
WNDPROC TdkCustomWndProcHook::PreviousProc() const { return FEntry ? FEntry->Previous : nullptr; }
WNDPROC TdkCustomWndProcHook::EntryProc() const { return FEntry ? FEntry->Self : nullptr; }

void TdkCustomWndProcHook::HookWindow() {
  if (HasState(csDesigning)) {
    FActive = true;
    return;
  }
  if (FEntry) return;
  const HWND wnd = GetHandle();
  if (!IsValidTarget(wnd) || !IsWindow(wnd)) return;
  auto entry = std::make_shared<TdkHookEntry>();
  entry->Wnd = wnd;
  // The window's own kind of procedure: a UTF-16 window keeps its messages in UTF-16.
  entry->Unicode = IsWindowUnicode(wnd) != FALSE;
  entry->Hook = this;
  std::weak_ptr<TdkHookEntry> weak = entry;
  entry->Self = MakeObjectInstance([weak](HWND w, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    std::shared_ptr<TdkHookEntry> e = weak.lock();
    if (!e) return DefWindowProcA(w, msg, wParam, lParam);
    if (e->Hook) {
      TMessage m{msg, wParam, lParam, 0};
      e->Hook->WndProc(m);
      return m.Result;
    }
    // An orphaned forwarder, gone with its window.
    const LRESULT r = CallProc(e->Previous, e->Unicode, w, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) Release(e);
    return r;
  });
  Entries().push_back(entry);
  FEntry = entry;
  FActive = true;
  entry->Previous = SetWindowProc(wnd, entry->Unicode, entry->Self);
}

void TdkCustomWndProcHook::UnhookWindow() {
  if (HasState(csDesigning)) {
    FActive = false;
    return;
  }
  FActive = false;
  if (!FEntry) return;
  std::shared_ptr<TdkHookEntry> entry = std::move(FEntry);
  FEntry.reset();
  Unlink(entry);
}

LRESULT TdkCustomWndProcHook::CallPrevious(const TMessage& Msg) {
  return CallProc(FEntry->Previous, FEntry->Unicode, FEntry->Wnd, Msg.Msg, Msg.WParam, Msg.LParam);
}

void TdkCustomWndProcHook::WndProc(TMessage& Msg) {
  // The entry may go during the message (unhooked by a handler): keep what it forwards to.
  std::shared_ptr<TdkHookEntry> entry = FEntry;
  if (!entry) return;
  bool handled = false;
  if (OnMessageBefore) OnMessageBefore(this, Msg, handled);
  if (!handled) {
    if (Msg.Msg == WM_DESTROY && FEntry) {
      UnhookWindow();
      TWinControl* control = GetWinControl();
      if (control && !control->HasState(csDestroying)) {
        if (!FTimer) FTimer = new TdkWndProcHookTimer(this);
        FTimer->SetEnabled(true);
      }
      Msg.Result = CallProc(entry->Previous, entry->Unicode, entry->Wnd, Msg.Msg, Msg.WParam, Msg.LParam);
    } else if (Msg.Msg == WM_LBUTTONDOWN && AutoDrag && IsWindow(entry->Wnd)) {
      ReleaseCapture();
      SendMessageA(entry->Wnd, WM_SYSCOMMAND, 0xF012, 0);  // move by the caption
    } else {
      Msg.Result = CallProc(entry->Previous, entry->Unicode, entry->Wnd, Msg.Msg, Msg.WParam, Msg.LParam);
    }
  }
  if (OnMessageAfter) OnMessageAfter(this, Msg, handled);
}

void TdkCustomWndProcHook::ReHook() {
  HookWindow();
  if (OnChangeHandle) OnChangeHandle(this);
}

void TdkCustomWndProcHook::DoSetActive(bool Value) {
  if (HasState(csLoading | csReading)) {
    FActive = Value;
    return;
  }
  if (Value == FActive && (Value == (FEntry != nullptr) || HasState(csDesigning))) return;
  if (Value)
    HookWindow();
  else
    UnhookWindow();
}

void TdkCustomWndProcHook::DoSetHandle(HWND Value) {
  if (Value == FHandle) return;
  const bool wasActive = FActive;
  SetActive(false);
  FHandle = Value;
  SetActive(wasActive);
  if (OnChangeHandle) OnChangeHandle(this);
}

void TdkCustomWndProcHook::DoSetWinControl(TWinControl* Value) {
  if (Value == FWinControl) return;
  const bool wasActive = FActive;
  SetActive(false);
  if (FWinControl && FWinControl != Owner()) FWinControl->RemoveFreeNotification(this);
  FWinControl = Value;
  if (Value && Value != Owner()) Value->FreeNotification(this);
  SetActive(wasActive);
  if (OnChangeWinControl) OnChangeWinControl(this);
}

void TdkCustomWndProcHook::Loaded() {
  TdkComponent::Loaded();
  if (FActive && !FEntry) HookWindow();
}

void TdkCustomWndProcHook::Notification(TComponent* AComponent, TOperation Operation) {
  TdkComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FWinControl) SetWinControl(nullptr);
}

TdkWndProcHookTimer::TdkWndProcHookTimer(TdkCustomWndProcHook* AOwner) : TdkCustomTimer(AOwner) {
  SetEnabled(false);
  SetInterval(25);
  SetOnTimer([this, AOwner](TObject*) {
    SetEnabled(false);
    AOwner->ReHook();
  });
}
