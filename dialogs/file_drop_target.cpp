#include "dialogs/file_drop_target.h"

#include <shellapi.h>

#include <mutex>
#include <utility>
#include <vector>

#include "vcl/controls.h"
#include "widetext/codecs.h"
#include "widetext/widetextutils.h"

namespace {

// What the shell's DragAcceptFiles does: the window's extended style says whether files
// may be dropped on it. Set here, the shell's library is not loaded for it at start.
void AcceptFiles(HWND Window, bool Accept) {
  const LONG_PTR style = GetWindowLongPtrW(Window, GWL_EXSTYLE);
  const LONG_PTR wanted = Accept ? (style | WS_EX_ACCEPTFILES) : (style & ~static_cast<LONG_PTR>(WS_EX_ACCEPTFILES));
  if (wanted != style) SetWindowLongPtrW(Window, GWL_EXSTYLE, wanted);
}

const std::vector<TPropInfo>& FileDropTargetProps() {
  static const std::vector<TPropInfo> props =
      TPropertyTable<TFileDropTarget>().Property("OnDrop", &TFileDropTarget::OnDrop).Table();
  return props;
}
}  // namespace

VCL_CLASS_IMPL(TFileDropTarget, TComponent, &CreateComponentOf<TFileDropTarget>, &FileDropTargetProps)

namespace {
// The drop target of each hooked window, through which the shared hook procedure finds its
// own. Kept here rather than as a window property, which the hook would read on every
// message the window gets: each reading is a call to the window system (under Wine, a round
// trip to its server).
class THookedWindows {
 public:
  void Set(HWND Window, TFileDropTarget* Target) {
    std::lock_guard<std::mutex> lock(FLock);
    for (auto& entry : FTargets)
      if (entry.first == Window) {
        entry.second = Target;
        return;
      }
    FTargets.emplace_back(Window, Target);
  }
  void Remove(HWND Window, const TFileDropTarget* Target) {
    std::lock_guard<std::mutex> lock(FLock);
    std::erase_if(FTargets, [&](const auto& entry) { return entry.first == Window && entry.second == Target; });
  }
  TFileDropTarget* Find(HWND Window) {
    std::lock_guard<std::mutex> lock(FLock);
    for (const auto& entry : FTargets)
      if (entry.first == Window) return entry.second;
    return nullptr;
  }

 private:
  std::mutex FLock;
  std::vector<std::pair<HWND, TFileDropTarget*>> FTargets;
};

THookedWindows& HookedWindows() {
  static THookedWindows windows;
  return windows;
}

// The extension as the filter compares it: upper case, without the dot, at most 15
// characters; empty for a name without one.
WideString FilterExtension(const WideString& Name) {
  size_t dot = Name.find_last_of(L".\\/:");
  if (dot == WideString::npos || Name[dot] != L'.') return WideString();
  return WideUpperCase(Name.substr(dot + 1, 15));
}
}  // namespace

TFileDropTarget::TFileDropTarget(TComponent* AOwner)
    : TComponent(AOwner),
      FWideFiles(std::make_unique<TUniStringList>()),
      FAllowedFileExtensions(std::make_unique<TStringList>()) {
  FOwnerControl = dynamic_cast<TWinControl*>(AOwner);
  if (!FOwnerControl) {
    FEnableDrop = false;
    return;
  }
  // A target read with its form hooks the form's window once the form is loaded: made now,
  // the window would take each of the form's values read after this one by one.
  if (!FOwnerControl->HasState(csLoading)) HookOwner();
}

void TFileDropTarget::Loaded() {
  TComponent::Loaded();
  if (FOwnerControl && !FWindow) HookOwner();
}

void TFileDropTarget::HookOwner() {
  FWindow = FOwnerControl->Handle();
  FUnicodeWindow = IsWindowUnicode(FWindow) != FALSE;
  HookedWindows().Set(FWindow, this);
  FPrevProc = reinterpret_cast<WNDPROC>(
      FUnicodeWindow ? SetWindowLongPtrW(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc))
                     : SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc)));
  SetEnableDrop(FEnableDrop);
}

TFileDropTarget::~TFileDropTarget() {
  if (FWindow) HookedWindows().Remove(FWindow, this);
  if (FWindow && IsWindow(FWindow)) {
    if (FUnicodeWindow)
      SetWindowLongPtrW(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevProc));
    else
      SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevProc));
    AcceptFiles(FWindow, false);
  }
  FEnableDrop = false;
}

void TFileDropTarget::SetEnableDrop(bool Value) {
  FEnableDrop = Value;
  if (FWindow) AcceptFiles(FWindow, Value);
}

LRESULT CALLBACK TFileDropTarget::HookProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TFileDropTarget* self = HookedWindows().Find(Wnd);
  if (!self) return DefWindowProcW(Wnd, Msg, WParam, LParam);
  if (Msg == WM_DROPFILES) {
    try {
      self->HandleDrop(reinterpret_cast<HDROP>(WParam));
    } catch (...) {
      if (ApplicationHandleException) ApplicationHandleException(self);
    }
    return 0;
  }
  return self->FUnicodeWindow ? CallWindowProcW(self->FPrevProc, Wnd, Msg, WParam, LParam)
                              : CallWindowProcA(self->FPrevProc, Wnd, Msg, WParam, LParam);
}

bool TFileDropTarget::ExtensionAllowed(const WideString& Name) const {
  if (FAllowedFileExtensions->Count() == 0) return true;
  WideString ext = FilterExtension(Name);
  for (int i = 0; i < FAllowedFileExtensions->Count(); ++i)
    if (WideUpperCase(CodePageToWide(FAllowedFileExtensions->Strings(i), CP_ACP)) == ext) return true;
  return false;
}

void TFileDropTarget::HandleDrop(HDROP Drop) {
  // The drop handle is released on every way out, the handler's exceptions included.
  struct Release {
    HDROP h;
    ~Release() { DragFinish(h); }
  } release{Drop};
  FWideFiles->Clear();
  // The names are read as UTF-16, so that names outside the code page stay whole.
  FFileCount = static_cast<int>(DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0));
  std::vector<wchar_t> buffer(128);
  for (int i = 0; i < FFileCount; ++i) {
    UINT needed = DragQueryFileW(Drop, static_cast<UINT>(i), nullptr, 0) + 1;
    if (needed > buffer.size()) buffer.assign(needed, L'\0');
    UINT len = DragQueryFileW(Drop, static_cast<UINT>(i), buffer.data(), static_cast<UINT>(buffer.size()));
    WideString name(buffer.data(), len);
    if (ExtensionAllowed(name)) FWideFiles->Add(name);
  }
  if (OnDrop && FWideFiles->Count() > 0) {
    POINT pt{};
    DragQueryPoint(Drop, &pt);
    OnDrop(this, pt.x, pt.y);
  }
}
