#include "widetext/uni_controls.h"

#include <unordered_map>

#include "vcl/contnrs.h"
#include "vcl/scopeexit.h"
#include "widetext/char_messages.h"
#include "widetext/platform.h"
#include "widetext/synced_strings.h"
#include "widetext/uni_hints.h"
#include "widetext/wide_control_text.h"

VCL_CLASS_IMPL(TWinControlTrap, TComponent, nullptr, nullptr)

namespace {

const wchar_t kUnicodeClassSuffix[] = L".UnicodeClass";
const char kNotUnicode[] = "Internal Error: SubClassUnicodeControl.Control is not Unicode.";

// Traps of windows created but not yet attached, and of windows destroyed while their
// control lives on (waiting for its next window); and every window a trap has subclassed,
// until the window's last message. Kept for the whole run: windows may still send their
// last messages while the program shuts down.
struct TUnitState {
  TComponentList PendingTraps{false};
  std::unordered_map<HWND, TWinControlTrap*> TrapsByWindow;
};

TUnitState& Unit() {
  static auto* state = new TUnitState;
  return *state;
}

// Set when the program's static objects are torn down: from then on a trap's window
// procedure only lets its control know that the window is gone.
bool Finalized = false;
struct TFinalization {
  ~TFinalization() { Finalized = true; }
} Finalization;

[[maybe_unused]] const UINT kDestroyWindowMessageRegistered = WideControlsDestroyWindowMessage();

// The control whose Unicode window is being created (set only around CreateWindowExW).
TWinControl* UnicodeCreationControl = nullptr;

bool IsTextMessage(UINT Msg) { return Msg == WM_SETTEXT || Msg == WM_GETTEXT || Msg == WM_GETTEXTLENGTH; }

TWinControlTrap* TrapOfWindow(HWND Wnd) {
  auto& map = Unit().TrapsByWindow;
  auto it = map.find(Wnd);
  return it == map.end() ? nullptr : it->second;
}

void ForgetWindow(HWND Wnd, TWinControlTrap* Trap) {
  auto& map = Unit().TrapsByWindow;
  auto it = map.find(Wnd);
  if (it != map.end() && it->second == Trap) map.erase(it);
}

LRESULT DefaultWindowProcedure(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return IsWindowUnicode(Wnd) ? DefWindowProcW(Wnd, Msg, WParam, LParam) : DefWindowProcA(Wnd, Msg, WParam, LParam);
}

// The pending trap of Control (the most recent first), taken out of the list; else a new
// one.
TWinControlTrap* AcquireWinControlTrap(TWinControl* Control) {
  TComponentList& pending = Unit().PendingTraps;
  for (int i = pending.Count() - 1; i >= 0; --i) {
    auto* trap = static_cast<TWinControlTrap*>(pending.Items(i));
    if (trap->Control() == Control) {
      pending.Extract(trap);
      return trap;
    }
  }
  return new TWinControlTrap(Control);
}

}  // namespace

// ---------------------------------------------------------------------------

UINT WideControlsDestroyWindowMessage() {
  static const UINT message = RegisterWindowMessageA("WideControls.DestroyWindow");
  return message;
}

WNDPROC SystemClassWndProc(HINSTANCE Instance, const WideString& SubClass) {
  WNDCLASSW systemClass{};
  if (GetClassInfoW(Instance, SubClass.c_str(), &systemClass) || GetClassInfoW(nullptr, SubClass.c_str(), &systemClass))
    return systemClass.lpfnWndProc;
  return nullptr;
}

WideString RegisterUnicodeWindowClass(const TCreateParams& Params) {
  WideString name = AnsiToWide(Params.WinClassName) + kUnicodeClassSuffix;
  HINSTANCE instance = FrameworkInstance();
  WNDCLASSW existing{};
  if (GetClassInfoW(instance, name.c_str(), &existing)) {
    if (existing.lpfnWndProc == &UnicodeInitWndProc) return name;
    if (!UnregisterClassW(name.c_str(), instance)) RaiseLastOSError();
  }
  const WNDCLASSA& source = Params.WindowClass;
  WNDCLASSW wc{};
  wc.style = source.style;
  wc.lpfnWndProc = &UnicodeInitWndProc;
  wc.cbClsExtra = source.cbClsExtra;
  wc.cbWndExtra = source.cbWndExtra;
  wc.hInstance = instance;
  wc.hIcon = source.hIcon;
  wc.hCursor = source.hCursor;
  wc.hbrBackground = source.hbrBackground;
  WideString menuName;
  if (source.lpszMenuName) {
    if (IS_INTRESOURCE(source.lpszMenuName)) {
      wc.lpszMenuName = reinterpret_cast<LPCWSTR>(source.lpszMenuName);
    } else {
      menuName = AnsiToWide(source.lpszMenuName);
      wc.lpszMenuName = menuName.c_str();
    }
  }
  wc.lpszClassName = name.c_str();
  if (!RegisterClassW(&wc)) RaiseLastOSError();
  return name;
}

void CreateUnicodeHandle(TWinControl* Control, const TCreateParams& Params, const WideString& SubClass) {
  if (!UnicodePlatform) {
    Control->SetWindowHandle(CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                                             Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                                             Params.WndParent, nullptr, Params.WindowClass.hInstance, Params.Param));
    return;
  }
  WNDPROC systemProc = SubClass.empty() ? nullptr : SystemClassWndProc(Params.WindowClass.hInstance, SubClass);
  Control->DefWndProc = systemProc ? systemProc : &DefWindowProcW;
  WideString className = RegisterUnicodeWindowClass(Params);
  HWND wnd;
  DWORD error;
  {
    UnicodeCreationControl = Control;
    ScopeExit clear{[] { UnicodeCreationControl = nullptr; }};
    wnd = CreateWindowExW(Params.ExStyle, className.c_str(), nullptr, Params.Style, Params.X, Params.Y, Params.Width,
                          Params.Height, Params.WndParent, nullptr, FrameworkInstance(), Params.Param);
    error = GetLastError();
  }
  // The first window procedure set the handle already; a window that failed to come
  // into being must not stay in the control.
  Control->SetWindowHandle(wnd);
  if (!wnd) RaiseLastOSError(error);
  SubClassUnicodeControl(Control, Params.Caption);
}

LRESULT CALLBACK UnicodeInitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* control = CreationControl;
  CreationControl = nullptr;
  if (!control) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  control->SetWindowHandle(Wnd);
  Unit().PendingTraps.Add(AcquireWinControlTrap(control));
  // Set through the W entry point, so that the window stays a Unicode window.
  SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWndProc));
  // WM_MEASUREITEM names its control only by identifier: give every child one.
  if ((GetWindowLongPtrW(Wnd, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrW(Wnd, GWLP_ID) == 0)
    SetWindowLongPtrW(Wnd, GWLP_ID, reinterpret_cast<LONG_PTR>(Wnd));
  // Bound the framework's way, so that FindControl finds the window like any other.
  AttachControlToWindow(Wnd, control);
  return CallWindowProcW(&ControlWndProc, Wnd, Msg, WParam, LParam);
}

void SubClassUnicodeControl(TWinControl* Control, const AnsiString& Caption) {
  HWND wnd = Control->WindowHandle();
  if (!wnd || !IsWindowUnicode(wnd)) throw EUniInternalError(kNotUnicode);
  AcquireWinControlTrap(Control)->Attach(wnd);
  // The stored wide caption, unless the creation caption says the framework's copy has
  // changed since (or the companion was made for the hint only and holds no caption).
  TWideControlHelper* helper = FindWideControlHelper(Control, false);
  WideString text = helper ? GetSyncedWideString(helper->Caption, Caption) : AnsiToWide(Caption);
  UniControl_SetText(Control, text);
}

TWinControlTrap* FindWinControlTrap(TWinControl* Control) {
  if (Control->HandleAllocated()) {
    TWinControlTrap* trap = TrapOfWindow(Control->WindowHandle());
    if (trap && trap->Control() == Control && trap->Handle() == Control->WindowHandle()) return trap;
  }
  TComponentList& pending = Unit().PendingTraps;
  for (int i = pending.Count() - 1; i >= 0; --i) {
    auto* trap = static_cast<TWinControlTrap*>(pending.Items(i));
    if (trap->Control() == Control) return trap;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// The trap

class TWinControlTrap::TMessageScope {
 public:
  explicit TMessageScope(TWinControlTrap* Trap) : FTrap(Trap) { ++FTrap->FMessageDepth; }
  ~TMessageScope() {
    if (--FTrap->FMessageDepth == 0 && FTrap->FFreePending) delete FTrap;
  }
  TMessageScope(const TMessageScope&) = delete;
  TMessageScope& operator=(const TMessageScope&) = delete;

 private:
  TWinControlTrap* FTrap;
};

void TWinControlTrapMethod::operator()(TMessage& Message) const { Trap->WinControlWindowProc(Message); }

LRESULT CALLBACK WinControlTrapWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControlTrap* trap = TrapOfWindow(Wnd);
  if (!trap) return DefaultWindowProcedure(Wnd, Msg, WParam, LParam);
  return trap->SystemWndProc(Wnd, Msg, WParam, LParam);
}

LRESULT CALLBACK WinControlTrapDefWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControlTrap* trap = TrapOfWindow(Wnd);
  if (!trap) return DefaultWindowProcedure(Wnd, Msg, WParam, LParam);
  return trap->DefaultWndProc(Wnd, Msg, WParam, LParam);
}

TWinControlTrap::TWinControlTrap(TWinControl* Control) : TComponent(nullptr), FControl(Control) {
  FControl->FreeNotification(this);
}

TWinControlTrap::~TWinControlTrap() {
  Destroying();
  auto& map = Unit().TrapsByWindow;
  for (auto it = map.begin(); it != map.end();) {
    if (it->second == this)
      it = map.erase(it);
    else
      ++it;
  }
}

void TWinControlTrap::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent || AComponent != FControl) return;
  // Only the component part of the control is left: nothing of it can be restored. A
  // window still attached gets its own procedure back.
  FControl = nullptr;
  if (FHandle) {
    if (IsWindow(FHandle) &&
        GetWindowLongPtrW(FHandle, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WinControlTrapWndProc))
      SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevWindowProc));
    FHandle = nullptr;
  }
  Unit().PendingTraps.Extract(this);
  if (FMessageDepth == 0)
    delete this;
  else
    FFreePending = true;  // the outermost message still running frees it
}

void TWinControlTrap::Attach(HWND Wnd) {
  FHandle = Wnd;
  Unit().TrapsByWindow[Wnd] = this;
  FPrevWindowProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Wnd, GWLP_WNDPROC));
  FPrevDefWndProc = FControl->DefWndProc;
  SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinControlTrapWndProc));
  FControl->DefWndProc = &WinControlTrapDefWndProc;
  if (!IsInWindowProcChain()) {
    FPrevWinControlWindowProc = FControl->WindowProc;
    FControl->WindowProc = TWinControlTrapMethod{this};
  }
}

bool TWinControlTrap::IsInWindowProcChain() {
  const TWndMethod& current = FControl->WindowProc;
  if (IsWndProcMethod(current)) return false;
  if (IsWinControlTrapMethod(current)) return true;
  // Someone put a method in front: ask the chain whether the trap's method is behind it.
  FProbing = true;
  FProbeSeen = false;
  ScopeExit done{[this] { FProbing = false; }};
  TMessage probe{};
  FControl->WindowProc(probe);
  return FProbeSeen;
}

void TWinControlTrap::Detach() {
  if (!FHandle) return;
  HWND wnd = FHandle;
  TWinControl* control = FControl;
  bool controlLivesOn = control && !control->HasState(csDestroying);
  if (controlLivesOn) KeepWindowText(wnd);
  if (control) {
    if (IsWinControlTrapMethod(control->WindowProc))
      control->WindowProc = FPrevWinControlWindowProc ? FPrevWinControlWindowProc : control->DefaultWindowProc();
    control->DefWndProc = FPrevDefWndProc;
  }
  if (GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WinControlTrapWndProc))
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevWindowProc));
  // The window stays listed until its last message: what still comes through the trap's
  // procedures goes where it went before.
  FHandle = nullptr;
  if (controlLivesOn) Unit().PendingTraps.Add(this);
}

void TWinControlTrap::KeepWindowText(HWND Wnd) {
  WideString text = UnicodeWindowText(Wnd);
  FindWideControlHelper(FControl, true)->Caption = text;
  // The framework's 8-bit copy goes into the control's own text field, the place a
  // control without a window keeps it; the text itself has not changed, so no notice.
  AnsiString ansi = WideToAnsi(text);
  TMessage set{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ansi.c_str()), 0};
  FControl->TControl::DefaultHandler(set);
}

LRESULT TWinControlTrap::SystemWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Finalized) {
    if ((Msg == WM_DESTROY || Msg == WideControlsDestroyWindowMessage()) && FControl &&
        FControl->WindowHandle() == Wnd)
      FControl->SetWindowHandle(nullptr);
    return DefWindowProcW(Wnd, Msg, WParam, LParam);
  }
  TMessageScope scope(this);
  // The mark belongs to this message only: one the system sends while another is being
  // handled must not change what the outer one will be taken for.
  const UINT outerMark = FSystemMessage;
  FSystemMessage = Msg;
  LRESULT result = CallWindowProcW(FPrevWindowProc, Wnd, Msg, WParam, LParam);
  FSystemMessage = outerMark;
  if (Msg == WM_NCDESTROY) ForgetWindow(Wnd, this);
  return result;
}

void TWinControlTrap::WinControlWindowProc(TMessage& Message) {
  TMessageScope scope(this);
  if (FProbing && Message.Msg == WM_NULL) FProbeSeen = true;
  TWinControl* control = FControl;
  if (!control) return;
  if (!control->HandleAllocated()) {
    control->WndProc(Message);
    return;
  }
  // Only the system's message itself is taken for one; a message a method in front of
  // this one sends first (the framework's own, with 8-bit buffers) leaves the mark to it.
  bool fromSystem = FSystemMessage != 0 && FSystemMessage == Message.Msg;
  if (fromSystem) FSystemMessage = 0;
  const UINT msg = Message.Msg;
  if (msg == CM_HINTSHOW) PrepareWideHintShow(Message);
  if (IsTextMessage(msg) && !fromSystem) {
    // The framework's 8-bit buffer: the system converts it for the Unicode window.
    Message.Result = SendMessageA(control->WindowHandle(), msg, Message.WParam, Message.LParam);
  } else {
    if (msg == WM_CHAR) MakeCharMessageAnsiSafe(Message);
    FPrevWinControlWindowProc(Message);
  }
  if (msg == WideControlsDestroyWindowMessage()) Detach();
}

LRESULT TWinControlTrap::DefaultWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessageScope scope(this);
  const WNDPROC defaultProc = FPrevDefWndProc;
  switch (Msg) {
    case WM_NOTIFYFORMAT: {
      HWND from = reinterpret_cast<HWND>(WParam);
      bool unicode = UnicodePlatform && from &&
                     (IsWindowUnicode(from) || (UnicodeCreationControl && UnicodeCreationControl->WindowHandle() == from));
      return unicode ? NFR_UNICODE : NFR_ANSI;
    }
    case WM_CHAR: {
      TMessage m{Msg, WParam, LParam, 0};
      RestoreCharMessage(m);
      WParam = m.WParam;
      break;
    }
    case WM_IME_CHAR:
      // Before Windows XP the edit controls took no WM_IME_CHAR of a Unicode window.
      if (!PlatformIsXPOrLater) return SendMessageW(Wnd, WM_CHAR, WParam, LParam);
      break;
    case WM_DESTROY:
      if (Wnd == FHandle) Detach();
      break;
    default: break;
  }
  LRESULT result = CallWindowProcW(defaultProc, Wnd, Msg, WParam, LParam);
  if (Msg == WM_NCDESTROY) ForgetWindow(Wnd, this);
  return result;
}
