#include "widetext/wide_control_text.h"

#include <memory>

#include "vcl/actions.h"
#include "widetext/platform.h"
#include "widetext/synced_strings.h"

VCL_CLASS_IMPL(TWideControlHelper, TWideComponentHelper, nullptr, nullptr)

namespace {

// Every control's companion, in address order; the list owns them.
TComponentList& Helpers() {
  static std::unique_ptr<TComponentList> list(new TComponentList(true));
  return *list;
}

TWinControl* AsWinControl(TControl* Control) { return dynamic_cast<TWinControl*>(Control); }

}  // namespace

WideString UnicodeWindowText(HWND Wnd) {
  int len = GetWindowTextLengthW(Wnd);
  if (len <= 0) return WideString();
  WideString text(static_cast<size_t>(len) + 1, L'\0');
  int copied = GetWindowTextW(Wnd, text.data(), len + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

TWideControlHelper::TWideControlHelper(TControl* Control, TComponentList* CompanionList)
    : TWideComponentHelper(Control, CompanionList) {}

TWideControlHelper::~TWideControlHelper() { Destroying(); }

TWideControlHelper* FindWideControlHelper(TControl* Control, bool Create) {
  auto* helper = static_cast<TWideControlHelper*>(FindWideComponentHelper(&Helpers(), Control));
  if (!helper && Create) helper = new TWideControlHelper(Control, &Helpers());
  return helper;
}

bool HasUnicodeWindow(TControl* Control) {
  TWinControl* win = AsWinControl(Control);
  return win && win->HandleAllocated() && IsWindowUnicode(win->WindowHandle());
}

WideString UniControl_GetText(TControl* Control) {
  if (!UnicodePlatform) return AnsiToWide(Control->Text());
  TWinControl* win = AsWinControl(Control);
  if (win && win->HandleAllocated()) {
    if (!IsWindowUnicode(win->WindowHandle())) return AnsiToWide(Control->Text());
    return UnicodeWindowText(win->WindowHandle());
  }
  // No window (a window-less control, or one whose window is yet to come): the stored wide
  // caption, unless the framework's copy has changed since. That rule also covers a
  // companion made only for the hint, whose empty caption would otherwise hide the
  // control's 8-bit caption.
  TWideControlHelper* helper = FindWideControlHelper(Control, false);
  if (!helper) return AnsiToWide(Control->Text());
  return GetSyncedWideString(helper->Caption, Control->Text());
}

void UniControl_SetText(TControl* Control, const WideString& Value) {
  if (!UnicodePlatform) {
    Control->SetText(WideToAnsi(Value));
    return;
  }
  TWinControl* win = AsWinControl(Control);
  if (!win) {
    TWideControlHelper* helper = FindWideControlHelper(Control, true);
    SetSyncedWideString(Value, helper->Caption, Control->Text(),
                        [Control](const AnsiString& s) { Control->SetText(s); });
  } else if (!win->HandleAllocated()) {
    FindWideControlHelper(Control, true)->Caption = Value;
    Control->SetText(WideToAnsi(Value));
  } else if (!IsWindowUnicode(win->WindowHandle())) {
    Control->SetText(WideToAnsi(Value));
  } else if (Value != UnicodeWindowText(win->WindowHandle())) {
    // The framework's own WM_SETTEXT handler tells the control (CM_TEXTCHANGED); a second
    // notice here would report one change twice.
    Uni_SetWindowTextW(win->WindowHandle(), Value.c_str());
  }
}

WideString UniControl_GetHint(TControl* Control) {
  if (!UnicodePlatform) return AnsiToWide(Control->Hint());
  TWideControlHelper* helper = FindWideControlHelper(Control, false);
  if (!helper) return AnsiToWide(Control->Hint());
  return GetSyncedWideString(helper->Hint, Control->Hint());
}

void UniControl_SetHint(TControl* Control, const WideString& Value) {
  if (!UnicodePlatform) {
    Control->SetHint(WideToAnsi(Value));
    return;
  }
  TWideControlHelper* helper = FindWideControlHelper(Control, true);
  SetSyncedWideString(Value, helper->Hint, Control->Hint(),
                      [Control](const AnsiString& s) { Control->SetHint(s); });
}

bool UniControl_IsCaptionStored(const TControl* Control) {
  TControlActionLink* link = Control->ActionLink();
  return !link || !link->IsCaptionLinked();
}

bool UniControl_IsHintStored(const TControl* Control) {
  TControlActionLink* link = Control->ActionLink();
  return !link || !link->IsHintLinked();
}

WideString WideHintOfControl(TControl* Control) {
  for (TControl* c = Control; c; c = c->Parent()) {
    WideString hint = UniControl_GetHint(c);
    if (!hint.empty()) return hint;
  }
  return WideString();
}

WideString WideShortHint(const WideString& Hint) {
  size_t bar = Hint.find(L'|');
  return bar == WideString::npos ? Hint : Hint.substr(0, bar);
}

WideString WideLongHint(const WideString& Hint) {
  size_t bar = Hint.find(L'|');
  return bar == WideString::npos ? Hint : Hint.substr(bar + 1);
}

void WideListAddItem(TCustomListControl* List, const WideString& Item, TObject* AObject) {
  if (auto* wide = dynamic_cast<IWideCustomListControl*>(List))
    wide->AddItem(Item, AObject);
  else
    List->AddItem(WideToAnsi(Item), AObject);
}
