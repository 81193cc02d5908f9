#include "vcl/controls.h"

#include <algorithm>

#include <windowsx.h>

#include "vcl/actions.h"
#include "vcl/docking.h"
#include "vcl/forms.h"
#include "vcl/menus.h"
#include "vcl/scopeexit.h"

// Raised by SetFocus of a control or form that cannot take the focus.
const char* const SCannotFocus = "Cannot focus a disabled or invisible window";

namespace {

// What every stored control may carry; the text (Caption or Text) is each class's own.
const std::vector<TPropInfo>& ControlProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TControl>()
      .Property("Left", &TControl::Left, &TControl::SetLeft)
      .Property("Top", &TControl::Top, &TControl::SetTop)
      .Property("Width", &TControl::Width, &TControl::SetWidth)
      .Property("Height", &TControl::Height, &TControl::SetHeight)
      .Property("Action", &TControl::Action, &TControl::SetAction)
      .Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents())
          .Stored(&TControl::IsColorStored)
      .Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Idents(CursorIdents()).Default(crDefault)
      .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true)
          .Stored(&TControl::IsEnabledStored)
      .Property("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored)
      .Property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0)
      .Property("Hint", &TControl::Hint, &TControl::SetHint).Stored(&TControl::IsHintStored)
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true)
      .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true)
      .Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true)
      .Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
      .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored)
      .Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true)
          .Stored(&TControl::IsVisibleStored)
      .Property("OnClick", &TControl::OnClick)
      .Property("OnDblClick", &TControl::OnDblClick)
      .Property("OnDragDrop", &TControl::OnDragDrop)
      .Property("OnDragOver", &TControl::OnDragOver)
      .Property("OnMouseDown", &TControl::OnMouseDown)
      .Property("OnMouseMove", &TControl::OnMouseMove)
      .Property("OnMouseUp", &TControl::OnMouseUp)
      .Property("OnResize", &TControl::OnResize)
      .Table();
  return table;
}

const std::vector<TPropInfo>& WinControlProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TWinControl>()
      .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false)
      .Property("OnKeyDown", &TWinControl::OnKeyDown)
      .Property("OnKeyPress", &TWinControl::OnKeyPress)
      .Property("OnKeyUp", &TWinControl::OnKeyUp)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TControl, TComponent, nullptr, &ControlProperties)
VCL_CLASS_IMPL(TWinControl, TControl, &CreateComponentOf<TWinControl>, &WinControlProperties)
VCL_CLASS_IMPL(TGraphicControl, TControl, &CreateComponentOf<TGraphicControl>, nullptr)
VCL_CLASS_IMPL(TCustomControl, TWinControl, &CreateComponentOf<TCustomControl>, nullptr)
VCL_CLASS_IMPL(TCustomListControl, TWinControl, nullptr, nullptr)
VCL_CLASS_IMPL(TControlCanvas, TCanvas, nullptr, nullptr)

namespace {

constexpr const char* kParentRequired = "Control '%s' has no parent window";
constexpr const char* kControlParentSelf = "A control cannot have itself as its parent";
constexpr const char* kControlParentLoop = "A control cannot be placed inside one of its own children";
constexpr const char* kWindowDCError = "Error creating window device context";

TControl* CaptureControl = nullptr;

// Hands the exception being handled to the application; called inside a catch block.
void HandleWindowException(TObject* Sender) {
  try {
    if (ApplicationHandleException) {
      ApplicationHandleException(Sender);
      return;
    }
    try {
      throw;
    } catch (const std::exception& e) {
      OutputDebugStringA(e.what());
    }
  } catch (...) {
    // Nothing may leave a window procedure: the system frames below cannot unwind.
  }
}

}  // namespace

bool IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) {
    // The key goes to the framework control the focused window belongs to (a system
    // child of a control, like a combo box's edit, counts as the control).
    wnd = Msg.hwnd;
    while (wnd && !FindControl(wnd)) wnd = GetParent(wnd);
    if (!wnd) wnd = Msg.hwnd;
  } else if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(wnd, GWLP_HINSTANCE)) != FrameworkInstance()) {
    return false;
  }
  return SendMessageA(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

TControl* GetCaptureControl() {
  TControl* result = FindControl(GetCapture());
  if (result && CaptureControl && CaptureControl->Parent() == result) result = CaptureControl;
  return result;
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  CaptureControl = nullptr;
  if (!Control) return;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win) {
    if (!Control->Parent()) return;
    CaptureControl = Control;
    win = Control->Parent();
  }
  SetCapture(win->Handle());
}

// ---------------------------------------------------------------------------
// TControl

void TWndProcMethod::operator()(TMessage& Message) const { Control->WndProc(Message); }

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(new TFont) {
  WindowProc = DefaultWindowProc();
  ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  FFont->OnChange = [this](TObject* s) { FontChanged(s); };
}

TControl::~TControl() {
  Destroying();
  if (CaptureControl == this) SetCaptureControl(nullptr);
  // Windowed controls have left their site and parent already (their own destructor).
  LeaveHostDockSite();
  LeaveParent();
}

void TControl::LeaveHostDockSite() {
  TWinControl* host = FHostDockSite;
  if (!host) return;
  // A site that goes itself needs no notice: it takes its clients with it.
  if (!host->HasState(csDestroying)) {
    try {
      host->DoUnDock(nullptr, this);
      LeaveParent();
      Dock(nullptr, BoundsRect());
    } catch (...) {
      HandleWindowException(this);
    }
  }
  if (FHostDockSite) {
    auto& clients = FHostDockSite->FDockClients;
    clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
    FHostDockSite = nullptr;
  }
}

void TControl::LeaveParent() {
  if (!FParent) return;
  // The parent's notices run handlers; nothing they throw may leave a destructor.
  try {
    FParent->RemoveControl(this);
  } catch (...) {
    HandleWindowException(this);
    if (FParent) FParent->ForgetControl(this);
  }
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      // A control that does not take double clicks sees a second press instead.
      if (!(ControlStyle & csDoubleClicks)) Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
      break;
    default: break;
  }
  const TMessage handled = Message;
  Dispatch(Message);
  // The dock site follows what its clients show.
  if ((handled.Msg == WM_SETTEXT || handled.Msg == CM_VISIBLECHANGED) && FHostDockSite)
    SendDockNotification(handled.Msg, handled.WParam, handled.LParam);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(Message); break;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(Message); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_RBUTTONDOWN:
      DefaultHandler(Message);
      DoMouseDown(Message, mbRight, 0);
      break;
    case WM_RBUTTONDBLCLK:
      DefaultHandler(Message);
      DoMouseDown(Message, mbRight, ssDouble);
      break;
    case WM_RBUTTONUP:
      DefaultHandler(Message);
      DoMouseUp(Message, mbRight);
      break;
    case WM_MBUTTONDOWN:
      DefaultHandler(Message);
      DoMouseDown(Message, mbMiddle, 0);
      break;
    case WM_MBUTTONDBLCLK:
      DefaultHandler(Message);
      DoMouseDown(Message, mbMiddle, ssDouble);
      break;
    case WM_MBUTTONUP:
      DefaultHandler(Message);
      DoMouseUp(Message, mbMiddle);
      break;
    case WM_MOUSEMOVE: {
      DefaultHandler(Message);
      TWMMouse m{Message};
      if (!(ControlStyle & csNoStdEvents)) MouseMove(KeysToShiftState(m.Keys()), m.XPos(), m.YPos());
      break;
    }
    case WM_SETTEXT: WMSetText(Message); break;
    case CM_HITTEST: Message.Result = HTCLIENT; break;
    case CM_VISIBLECHANGED: InvalidateControl(true, FVisible && (ControlStyle & csOpaque)); break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_BIDIMODECHANGED: Invalidate(); break;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); break;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); break;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); break;
    case CM_PARENTBIDIMODECHANGED: CMParentBiDiModeChanged(Message); break;
    case CM_HINTSHOW: CMHintShow(Message); break;
    case WM_CONTEXTMENU: WMContextMenu(Message); break;
    default: DefaultHandler(Message); break;
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  // A control without a window keeps its text itself.
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char*>(Message.LParam);
      size_t size = static_cast<size_t>(Message.WParam);
      if (!buffer || size == 0) {
        Message.Result = 0;
        break;
      }
      size_t n = std::min(FText.size(), size - 1);
      FText.copy(buffer, n);
      buffer[n] = 0;
      Message.Result = static_cast<LRESULT>(n);
      break;
    }
    case WM_GETTEXTLENGTH: Message.Result = static_cast<LRESULT>(FText.size()); break;
    case WM_SETTEXT: {
      const char* text = reinterpret_cast<const char*>(Message.LParam);
      FText = text ? text : "";
      Message.Result = TRUE;
      break;
    }
    default: break;
  }
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::CheckNewParent(TWinControl* AParent) const {
  if (AParent == this) throw EInvalidOperation(kControlParentSelf);
  // A control inside its own child would make the parent chain a loop.
  for (TWinControl* p = AParent; p; p = p->Parent())
    if (p == this) throw EInvalidOperation(kControlParentLoop);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  CheckNewParent(AParent);
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* parent = dynamic_cast<TWinControl*>(Value)) SetParent(parent);
}

int TControl::GetTextLen() { return static_cast<int>(Perform(WM_GETTEXTLENGTH, 0, 0)); }

int TControl::GetTextBuf(char* Buffer, int BufSize) {
  return static_cast<int>(Perform(WM_GETTEXT, static_cast<WPARAM>(BufSize), reinterpret_cast<LPARAM>(Buffer)));
}

void TControl::SetTextBuf(const char* Buffer) { Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Buffer)); }

AnsiString TControl::Text() {
  int len = GetTextLen();
  if (len <= 0) return AnsiString();
  AnsiString s(static_cast<size_t>(len) + 1, '\0');
  int copied = GetTextBuf(s.data(), len + 1);
  // The length asked of a wide window may be larger than the 8-bit text it gives.
  s.resize(static_cast<size_t>(std::clamp(copied, 0, len)));
  return s;
}

void TControl::SetText(const AnsiString& Value) {
  if (Text() != Value) SetTextBuf(Value.c_str());
}

void TControl::WMSetText(TMessage& Message) {
  // The text itself goes where DefaultHandler keeps it (the window, or FText); only the
  // notice is ours.
  DefaultHandler(Message);
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetName(const std::string& NewName) {
  // A caption still equal to the name (a fresh control's empty one included) follows it,
  // except while a stored description is being read.
  bool changeText = (ControlStyle & csSetCaption) && !HasState(csLoading);
  if (changeText) {
    auto* ownerControl = dynamic_cast<TControl*>(Owner());
    if (ownerControl && ownerControl->HasState(csLoading)) changeText = false;
  }
  if (changeText) changeText = Text() == Name();
  TComponent::SetName(NewName);
  if (changeText) SetText(NewName);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  InvalidateControl(FVisible, false);  // where it was
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  Invalidate();  // where it is now
  RequestAlign();
  if (!HasState(csLoading)) Resize();
}

RECT TControl::ClientRect() { return RECT{0, 0, FWidth, FHeight}; }

POINT TControl::ClientOrigin() {
  if (!FParent) throw EInvalidOperation(Format(kParentRequired, Name().c_str()));
  POINT p = FParent->ClientOrigin();
  p.x += FLeft;
  p.y += FTop;
  return p;
}

POINT TControl::ClientToScreen(POINT p) {
  POINT o = ClientOrigin();
  return POINT{p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) {
  POINT o = ClientOrigin();
  return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  TAlign old = FAlign;
  FAlign = Value;
  // Turning a top strip into a left one (or back) keeps its thickness.
  auto horizontal = [](TAlign a) { return a == alTop || a == alBottom; };
  auto vertical = [](TAlign a) { return a == alLeft || a == alRight; };
  if (!HasState(csLoading) && ((horizontal(old) && vertical(Value)) || (vertical(old) && horizontal(Value))))
    SetBounds(FLeft, FTop, FHeight, FWidth);
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (FParent && !HasState(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || !FParent) return;
  FFont->Assign(FParent->Font());
  FParentFont = true;  // taking the parent's font is no choice of our own
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParent && !HasState(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || !FParent) return;
  SetColor(FParent->Color());
  FParentColor = true;
}

void TControl::SetShowHint(bool Value) {
  if (FShowHint == Value && !FParentShowHint) return;
  FShowHint = Value;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (FParent && !HasState(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  SetShowHint(FParent->ShowHint());
  FParentShowHint = true;
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  if (FBiDiMode == Value && !FParentBiDiMode) return;
  FBiDiMode = Value;
  FParentBiDiMode = false;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (FParentBiDiMode == Value) return;
  FParentBiDiMode = Value;
  if (FParent && !HasState(csReading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
  if (!FParentBiDiMode || !FParent) return;
  SetBiDiMode(FParent->BiDiMode());
  FParentBiDiMode = true;
}

namespace {
bool SysLocaleMiddleEast() { return GetSystemMetrics(SM_MIDEASTENABLED) != 0; }
}  // namespace

bool TControl::UseRightToLeftReading() const { return SysLocaleMiddleEast() && FBiDiMode != bdLeftToRight; }

bool TControl::UseRightToLeftAlignment() const { return SysLocaleMiddleEast() && FBiDiMode == bdRightToLeft; }

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0; }

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
  UINT result = Flags;
  if (UseRightToLeftAlignment()) {
    if ((result & DT_RIGHT) == DT_RIGHT)
      result &= ~static_cast<UINT>(DT_RIGHT);
    else if ((result & DT_CENTER) != DT_CENTER)
      result |= DT_RIGHT;
  }
  return result | DrawTextBiDiModeFlagsReadingOnly();
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  RECT r = BoundsRect();
  // An empty rectangle invalidates nothing; the call would still cost the server a request.
  if (r.right <= r.left || r.bottom <= r.top) return;
  InvalidateRect(FParent->WindowHandle(), &r, !(IsOpaque || (FParent->ControlStyle & csOpaque)));
}

void TControl::Invalidate() { InvalidateControl(FVisible, (ControlStyle & csOpaque) != 0); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  InvalidateControl(true, (ControlStyle & csOpaque) != 0);
  FParent->Update();
}

void TControl::Click() {
  // A click handler of the control's own goes first; without one the click runs the action.
  if (OnClick)
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute(this);
}

// --- actions ---

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* Value) {
  LinkToAction<TControlActionLink>(FActionLink, Value, [this] { return CreateActionLink(); },
                                   [this](TObject* Sender, bool CheckDefaults) { ActionChange(Sender, CheckDefaults); });
}

TControlActionLink* TControl::CreateActionLink() { return new TControlActionLink(this); }

void TWinControl::ShowControl(TControl*) {
  if (FParent) FParent->ShowControl(this);
}
TControlActionLink* TWinControl::CreateActionLink() { return new TWinControlActionLink(this); }

// --- context menu ---

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::WMContextMenu(TMessage& Message) {
  POINT pos{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  // From the keyboard (Shift+F10, the menu key) the point is (-1, -1): the control's middle.
  if (pos.x == -1 && pos.y == -1) {
    RECT r = ClientRect();
    pos = ClientToScreen(POINT{r.right / 2, r.bottom / 2});
  } else if (auto* win = dynamic_cast<TWinControl*>(this)) {
    // A window-less control under the point has its own menu first.
    if (TControl* child = win->ControlAtPos(ScreenToClient(pos), false))
      if (child->Perform(WM_CONTEXTMENU, Message.WParam, Message.LParam) != 0) {
        Message.Result = 1;
        return;
      }
  }
  if (FPopupMenu && FPopupMenu->AutoPopup()) {
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(pos.x, pos.y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || Caption().empty() || Caption() == Name()) SetCaption(action->Caption());
  if (!CheckDefaults || Enabled()) SetEnabled(action->Enabled());
  if (!CheckDefaults || FHint.empty()) SetHint(action->Hint());
  if (!CheckDefaults || FVisible) SetVisible(action->Visible());
}

void TControl::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

bool TControl::ExecuteAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

bool TControl::UpdateAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->UpdateTarget(this);
  return true;
}

bool TControl::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TControl::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TControl::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TControl::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }

void TControl::CMHintShow(TMessage& Message) {
  THintInfo* info = TCMHintShow{Message}.HintInfo();
  if (FActionLink && info && !FActionLink->DoShowHint(info->HintStr)) Message.Result = 1;
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = false;
  if (!OnDragOver) return;
  Accept = true;
  OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (ControlStyle & csNoStdEvents) return;
  TWMMouse m{Message};
  MouseDown(Button, KeysToShiftState(m.Keys()) | Shift, m.XPos(), m.YPos());
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (ControlStyle & csNoStdEvents) return;
  TWMMouse m{Message};
  MouseUp(Button, KeysToShiftState(m.Keys()), m.XPos(), m.YPos());
}

void TControl::WMLButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
  if (ControlStyle & csClickEvents) ControlState |= csClicked;
  DoMouseDown(Message, mbLeft, 0);
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
  if (ControlStyle & csClickEvents) DblClick();
  DoMouseDown(Message, mbLeft, ssDouble);
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
  if (ControlState & csClicked) {
    ControlState &= ~csClicked;
    // Released outside: the press is taken back, no click.
    RECT r = ClientRect();
    if (PtInRect(&r, TWMMouse{Message}.Pos())) Click();
  }
  DoMouseUp(Message, mbLeft);
}

HDC TControl::GetDeviceContext(HWND& WindowHandle) {
  if (!FParent) throw EInvalidOperation(Format(kParentRequired, Name().c_str()));
  HDC dc = FParent->GetDeviceContext(WindowHandle);
  SetViewportOrgEx(dc, FLeft, FTop, nullptr);
  IntersectClipRect(dc, 0, 0, FWidth, FHeight);
  return dc;
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = Action()) ActionChange(action, true);
  // Inherited looks were not taken while the description was read.
  if (FParent) {
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
    Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
  }
  RequestAlign();
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(new TBrush) { FBrush->SetColor(Color()); }

TWinControl::~TWinControl() {
  Destroying();
  FDockManager.reset();
  // The windows go first, already let go of: the messages of their destruction reach the
  // window classes, never an object that is partly gone.
  ReleaseWindows();
  LeaveHostDockSite();
  FreeChildControls();
  // Clients docked here that live elsewhere forget the site.
  for (TControl* client : FDockClients) client->FHostDockSite = nullptr;
  FDockClients.clear();
  LeaveParent();
}

void TWinControl::ReleaseWindows() {
  if (!FHandle) return;
  HWND own = FHandle;
  std::vector<TWinControl*> pending{this};
  while (!pending.empty()) {
    TWinControl* c = pending.back();
    pending.pop_back();
    pending.insert(pending.end(), c->FWinControls.begin(), c->FWinControls.end());
    if (!c->FHandle) continue;
    FreeDeviceContexts(c->FHandle);
    DetachControlFromWindow(c->FHandle);
    // Messages still on their way go to the class's procedure, as DefaultHandler would
    // have sent them.
    ReleaseWindowTo(c->FHandle, c->DefWndProc);
    c->FHandle = nullptr;
    c->FShowing = false;
    c->FMouseControl = nullptr;
  }
  DestroyWindow(own);
}

void TWinControl::FreeChildControls() {
  // Children belong to their parent's lifetime; each one leaves our lists as it goes.
  while (!FWinControls.empty() || !FControls.empty()) {
    TControl* c = !FWinControls.empty() ? static_cast<TControl*>(FWinControls.back()) : FControls.back();
    delete c;
  }
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    WindowProc(Message);
  } catch (...) {
    HandleWindowException(this);
  }
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle & csAcceptsControls) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  if (FParent) Params.WndParent = FParent->Handle();
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &DefWindowProcA;
  Params.WindowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  Params.WindowClass.hbrBackground = nullptr;
  Params.WindowClass.hInstance = FrameworkInstance();
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  if (!ControlClassName) return;
  HINSTANCE instance = Params.WindowClass.hInstance;
  WNDCLASSA wc{};
  if (!GetClassInfoA(FrameworkInstance(), ControlClassName, &wc) && !GetClassInfoA(nullptr, ControlClassName, &wc) &&
      !GetClassInfoA(instance, ControlClassName, &wc))
    RaiseLastOSError();
  Params.WindowClass = wc;
  Params.WindowClass.hInstance = instance;
  // Our copy is a local class, and paints on its own device context.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS);
}

void TWinControl::RegisterWindowClass(TCreateParams& Params) {
  WNDCLASSA existing{};
  bool registered = GetClassInfoA(Params.WindowClass.hInstance, Params.WinClassName.c_str(), &existing) != FALSE;
  if (registered && existing.lpfnWndProc == &InitWndProc) return;
  if (registered) UnregisterClassA(Params.WinClassName.c_str(), Params.WindowClass.hInstance);
  WNDCLASSA wc = Params.WindowClass;
  wc.lpfnWndProc = &InitWndProc;
  wc.lpszClassName = Params.WinClassName.c_str();
  if (!RegisterClassA(&wc)) RaiseLastOSError();
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  if (!Params.WndParent && (Params.Style & WS_CHILD)) {
    // While a stored description is read, the owner stands in for a parent not yet set.
    auto* ownerControl = dynamic_cast<TWinControl*>(Owner());
    if (ownerControl && ownerControl->HasState(csReading))
      Params.WndParent = ownerControl->Handle();
    else
      throw EInvalidOperation(Format(kParentRequired, Name().c_str()));
  }
  DefWndProc = Params.WindowClass.lpfnWndProc;
  RegisterWindowClass(Params);
  CreationControl = this;
  {
    // Cleared by the first message, and here as well when creation fails before one.
    ScopeExit clear{[] { CreationControl = nullptr; }};
    CreateWindowHandle(Params);
  }
  if (!FHandle) RaiseLastOSError();
  // The window holds the text from now on.
  FText.clear();
  FText.shrink_to_fit();
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  FHandle = CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(), Params.Style, Params.X,
                            Params.Y, Params.Width, Params.Height, Params.WndParent, nullptr,
                            Params.WindowClass.hInstance, Params.Param);
}

void TWinControl::DestroyWnd() {
  // The text outlives the window, for the next one.
  AnsiString text = Text();
  FreeDeviceContexts(FHandle);
  DestroyWindowHandle();
  FText = std::move(text);
}

void TWinControl::DestroyWindowHandle() {
  ControlState |= csDestroyingHandle;
  ScopeExit done{[this] { ControlState &= ~csDestroyingHandle; }};
  if (!DestroyWindow(FHandle)) RaiseLastOSError();
  FHandle = nullptr;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (FParent)
    SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Overlapped windows hear of their size only when first shown with ShowWindow: the
  // children are aligned to the new window now.
  Realign();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  std::vector<TWinControl*> children = FWinControls;
  for (TWinControl* c : children) c->DestroyHandle();
  DestroyWnd();
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const {
  // Windows stack in list order: a window goes below the next sibling that has one.
  auto it = std::find(FWinControls.begin(), FWinControls.end(), Control);
  if (it != FWinControls.end())
    for (++it; it != FWinControls.end(); ++it)
      if ((*it)->FHandle) return (*it)->FHandle;
  return HWND_TOP;
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
  bool wasFocused = Focused();
  ControlState |= csRecreating;
  {
    ScopeExit done{[this] { ControlState &= ~csRecreating; }};
    DestroyHandle();
    UpdateControlState();
  }
  if (wasFocused && FHandle) ::SetFocus(FHandle);
}

void TWinControl::UpdateShowing() {
  bool show = Visible();
  if (show) {
    if (!FHandle) CreateHandle();
    std::vector<TWinControl*> children = FWinControls;
    for (TWinControl* c : children) c->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  // Only a control whose every parent shows can show; the chain must end in a window
  // that shows on its own.
  TWinControl* c = this;
  while (c->FParent) {
    c = c->FParent;
    if (!c->Showing()) return;
  }
  if (c->IsTopLevelWindow()) UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage&) { UpdateControlState(); }

void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (FHandle) EnableWindow(FHandle, Enabled());
  TControl::Dispatch(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::Dispatch(Message);
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  FBrush->SetColor(Color());
  TControl::Dispatch(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::UpdateBounds() {
  RECT r{};
  GetWindowRect(FHandle, &r);
  if (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_CHILD)
    if (HWND parent = GetParent(FHandle)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  FLeft = r.left;
  FTop = r.top;
  FWidth = r.right - r.left;
  FHeight = r.bottom - r.top;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle) {
    // The window reports back (WM_WINDOWPOSCHANGED) where it really went.
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
  }
  RequestAlign();
}

RECT TWinControl::ClientRect() {
  if (!FHandle) return TControl::ClientRect();
  RECT r{};
  GetClientRect(FHandle, &r);
  return r;
}

POINT TWinControl::ClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return p;
}

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !(ControlStyle & csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

HDC TWinControl::GetDeviceContext(HWND& WindowHandle) {
  HDC dc = GetDC(Handle());
  if (!dc) throw EOutOfResources(kWindowDCError);
  WindowHandle = FHandle;
  return dc;
}

// --- the message path ---

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      TrackMouse(TWMMouse{Message}.Pos());
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (IsControlMouseMsg(Message)) return;
      break;
    case WM_MOUSELEAVE:
      FTrackingMouse = false;
      SetMouseControl(nullptr);
      break;
    case WM_CAPTURECHANGED:
      if (CaptureControl && CaptureControl->Parent() == this && reinterpret_cast<HWND>(Message.LParam) != FHandle)
        CaptureControl = nullptr;
      break;
    default: break;
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case WM_COMMAND: WMCommand(Message); break;
    case WM_NOTIFY: WMNotify(Message); break;
    case WM_NOTIFYFORMAT:
      // A common control asks which notification form we want: the control itself knows
      // (CN_NOTIFYFORMAT); controls that do not answer get the window class's answer.
      if (Message.LParam == NF_QUERY && ReflectToChild(reinterpret_cast<HWND>(Message.WParam), Message) &&
          Message.Result)
        break;
      TControl::Dispatch(Message);
      break;
    case WM_DRAWITEM: WMDrawItem(Message); break;
    case WM_MEASUREITEM: WMMeasureItem(Message); break;
    case WM_PRINTCLIENT: WMPrintClient(Message); break;
    case WM_SETCURSOR: WMSetCursor(Message); break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      // A scroll bar control's (an up-down's) scrolling is the control's own business.
      if (!Message.LParam || !ReflectToChild(reinterpret_cast<HWND>(Message.LParam), Message))
        TControl::Dispatch(Message);
      break;
    case WM_SIZE: WMSize(Message); break;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); break;
    case WM_NCDESTROY: WMNCDestroy(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(Message)) TControl::Dispatch(Message);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(Message)) TControl::Dispatch(Message);
      break;
    case WM_CHAR:
      if (!DoKeyPress(Message)) TControl::Dispatch(Message);
      break;
    case CN_KEYDOWN: CNKeyDown(Message); break;
    case CN_CHAR: CNChar(Message); break;
    case CN_SYSCHAR: CNSysChar(Message); break;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: CNCtlColor(Message); break;
    case CM_DIALOGCHAR:
    case CM_DIALOGKEY: Broadcast(Message); break;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); break;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); break;
    case CM_FONTCHANGED: CMFontChanged(Message); break;
    case CM_COLORCHANGED: CMColorChanged(Message); break;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); break;
    case CM_BIDIMODECHANGED:
      TControl::Dispatch(Message);
      NotifyControls(CM_PARENTBIDIMODECHANGED);
      break;
    case CM_RECREATEWND: CMRecreateWnd(Message); break;
    case CM_DOCKCLIENT: CMDockClient(Message); break;
    default: TControl::Dispatch(Message); break;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  UINT msg = Message.Msg;
  if (IsCtlColorMessage(msg)) {
    // The child a colour question is about answers it (CN_CTLCOLOR*).
    if (ReflectToChild(reinterpret_cast<HWND>(Message.LParam), Message)) return;
  } else if (msg >= CM_BASE && msg < 0xC000) {
    // The framework's own notices mean nothing to a window class.
    return;
  }
  Message.Result = CallWindowProcA(DefWndProc ? DefWndProc : &DefWindowProcA, FHandle, msg, Message.WParam,
                                   Message.LParam);
}

bool TWinControl::ReflectToChild(HWND Child, TMessage& Message) {
  TWinControl* control = FindControl(Child);
  if (!control) return false;
  Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::WMCommand(TMessage& Message) {
  if (!ReflectToChild(TWMCommand{Message}.Ctl(), Message)) TControl::Dispatch(Message);
}

void TWinControl::WMNotify(TMessage& Message) {
  NMHDR* hdr = TWMNotify{Message}.NMHdr();
  if (!hdr || !ReflectToChild(hdr->hwndFrom, Message)) TControl::Dispatch(Message);
}

void TWinControl::WMDrawItem(TMessage& Message) {
  DRAWITEMSTRUCT* dis = TWMDrawItem{Message}.DrawItemStruct();
  if (dis && dis->CtlType != ODT_MENU && ReflectToChild(dis->hwndItem, Message)) return;
  TControl::Dispatch(Message);
}

void TWinControl::WMMeasureItem(TMessage& Message) {
  // The only link to the child is its identifier (every child of ours has one).
  MEASUREITEMSTRUCT* mis = TWMMeasureItem{Message}.MeasureItemStruct();
  if (mis && mis->CtlType != ODT_MENU && FHandle &&
      ReflectToChild(GetDlgItem(FHandle, static_cast<int>(mis->CtlID)), Message))
    return;
  TControl::Dispatch(Message);
}

void TWinControl::WMSize(TMessage& Message) {
  UpdateBounds();
  TControl::Dispatch(Message);
  Realign();
  if (!HasState(csLoading)) Resize();
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
  if (!(ControlState & csDestroyingHandle)) UpdateBounds();
  TControl::Dispatch(Message);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
  TControl::Dispatch(Message);
  if (FHandle) DetachControlFromWindow(FHandle);
  FHandle = nullptr;
  FShowing = false;
  FMouseControl = nullptr;
  FTrackingMouse = false;
}

void TWinControl::WMSetFocus(TMessage& Message) {
  // The outermost control (the form) keeps track of which of its controls has the focus.
  TWinControl* top = TopParent();
  if (top != this) top->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
  TControl::Dispatch(Message);
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  if (!(ControlStyle & csOpaque)) {
    RECT r = ClientRect();
    ::FillRect(reinterpret_cast<HDC>(Message.WParam), &r, FBrush->Handle());
  }
  Message.Result = 1;
}

void TWinControl::CNCtlColor(TMessage& Message) {
  HDC dc = TWMCtlColor{Message}.ChildDC();
  SetTextColor(dc, ColorToRGB(FFont->Color()));
  SetBkColor(dc, ColorToRGB(FBrush->Color()));
  Message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
}

// --- painting ---

void TWinControl::WMPaint(TMessage& Message) {
  if (!(ControlState & csCustomPaint) && FControls.empty())
    TControl::Dispatch(Message);  // the window class paints itself
  else
    PaintHandler(Message);
}

// Over its client area a control shows the screen's cursor while that is set (an
// hourglass during a long task), else the cursor of the window-less child under the mouse,
// else its own; crDefault everywhere leaves the choice to the window class.
void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(Message.LParam) == HTCLIENT) {
    TCursor cursor = Screen ? Screen->Cursor() : crDefault;
    if (cursor == crDefault) {
      POINT p{};
      GetCursorPos(&p);
      TControl* child = ControlAtPos(ScreenToClient(p), false);
      cursor = child ? child->Cursor() : crDefault;
      if (cursor == crDefault) cursor = Cursor();
    }
    if (cursor != crDefault) {
      ::SetCursor(Screen ? Screen->Cursors(cursor) : StandardCursor(cursor));
      Message.Result = 1;
      return;
    }
  }
  TControl::Dispatch(Message);
}

void TWinControl::WMPrintClient(TMessage& Message) {
  // Whoever asks us to print into their DC gets it back as they gave it: painting selects
  // fonts, brushes and clip regions into it.
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  int saved = SaveDC(dc);
  bool printing = FPrintingClient;
  FPrintingClient = true;
  ScopeExit restore{[&] {
    FPrintingClient = printing;
    RestoreDC(dc, saved);
  }};
  WMPaint(Message);
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = TWMPaint{Message}.DC();
  PAINTSTRUCT ps{};
  bool ownPaint = dc == nullptr;
  if (ownPaint) dc = BeginPaint(FHandle, &ps);
  ScopeExit endPaint{[&] {
    if (ownPaint) EndPaint(FHandle, &ps);
  }};
  if (FControls.empty()) {
    PaintWindow(dc);
  } else {
    // What opaque window-less children cover is theirs to paint.
    int saved = SaveDC(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : FControls)
      if (c->Visible() && (c->ControlStyle & csOpaque)) {
        clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
        if (clip == NULLREGION) break;
      }
    if (clip != NULLREGION) PaintWindow(dc);
    RestoreDC(dc, saved);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
  // A window class that does not paint itself answers WM_PAINT with BeginPaint, which would
  // take away the update region its own pending paint still needs (its window-less
  // controls were never drawn): a print request stays a print request.
  TMessage m = FPrintingClient ? TMessage{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT, 0}
                               : TMessage{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto it = First ? std::find(FControls.begin(), FControls.end(), First) : FControls.begin();
  std::vector<TControl*> controls(it, FControls.end());
  for (TControl* c : controls) {
    RECT r = c->BoundsRect();
    if (!c->Visible() || !RectVisible(DC, &r)) continue;
    int saved = SaveDC(DC);
    ScopeExit restore{[&] { RestoreDC(DC, saved); }};
    POINT org{};
    GetWindowOrgEx(DC, &org);
    SetWindowOrgEx(DC, org.x - c->Left(), org.y - c->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

// --- mouse ---

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TWMMouse m{Message};
  TControl* control = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    if (CaptureControl && CaptureControl->Parent() == this) control = CaptureControl;
  } else {
    control = ControlAtPos(m.Pos(), false);
  }
  if (!control) return false;
  int x = m.XPos() - control->Left(), y = m.YPos() - control->Top();
  Message.Result = control->Perform(Message.Msg, Message.WParam, MAKELPARAM(x, y));
  return true;
}

TControl* TWinControl::ControlAtPos(POINT Pos, bool AllowDisabled) {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
    RECT r = c->BoundsRect();
    if (!PtInRect(&r, Pos)) continue;
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(Pos.x - c->Left(), Pos.y - c->Top())) == 0) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::TrackMouse(POINT Pos) {
  RECT client = ClientRect();
  TControl* target = nullptr;
  if (PtInRect(&client, Pos)) {
    target = ControlAtPos(Pos, false);
    if (!target) target = this;
  }
  SetMouseControl(target);
  if (target && !FTrackingMouse && FHandle) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, FHandle, 0};
    FTrackingMouse = TrackMouseEvent(&tme) != FALSE;
  }
}

void TWinControl::SetMouseControl(TControl* Control) {
  if (FMouseControl == Control) return;
  TControl* old = FMouseControl;
  FMouseControl = Control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (Control) Control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(Control));
}

// --- children ---

TControl* TWinControl::Controls(int Index) const {
  size_t i = static_cast<size_t>(Index);
  if (Index < 0 || i >= FControls.size() + FWinControls.size())
    throw EListError("List index out of bounds (%d)", Index);
  return i < FControls.size() ? FControls[i] : FWinControls[i - FControls.size()];
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* AControl) {
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
  auto* win = dynamic_cast<TWinControl*>(AControl);
  if (win) {
    FWinControls.push_back(win);
    FTabList.push_back(win);
  } else {
    FControls.push_back(AControl);
  }
  AControl->FParent = this;
  if (!AControl->HasState(csReading)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    if (win)
      win->UpdateControlState();
    else if (FHandle)
      AControl->Invalidate();
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
}

void TWinControl::RemoveControl(TControl* AControl) {
  bool destroying = HasState(csDestroying);
  bool windowed = std::find(FWinControls.begin(), FWinControls.end(), AControl) != FWinControls.end();
  if (!destroying) Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  if (windowed)
    static_cast<TWinControl*>(AControl)->DestroyHandle();  // its window cannot outlive the link
  else if (!destroying && FHandle)
    AControl->InvalidateControl(AControl->Visible(), false);
  ForgetControl(AControl);
  if (!destroying) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
    Realign();
  }
}

void TWinControl::ForgetControl(TControl* AControl) {
  auto drop = [AControl](auto& list) {
    auto it = std::find(list.begin(), list.end(), AControl);
    if (it != list.end()) list.erase(it);
  };
  drop(FWinControls);
  drop(FTabList);
  drop(FControls);
  if (FMouseControl == AControl) FMouseControl = nullptr;
  if (CaptureControl == AControl) SetCaptureControl(nullptr);
  AControl->FParent = nullptr;
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Owner() == Root) Proc(c);
  }
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int i = 0; i < ControlCount(); ++i) {
    Controls(i)->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

// --- alignment ---

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0 && (ControlState & csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (!FHandle || HasState(csDestroying)) return;
  if (FAlignLevel != 0) {
    ControlState |= csAlignmentNeeded;
    return;
  }
  DisableAlign();
  ScopeExit done{[this] {
    ControlState &= ~csAlignmentNeeded;
    EnableAlign();
  }};
  RECT r = ClientRect();
  AlignControls(AControl, r);
}

void TWinControl::AlignControls(TControl* AControl, RECT& Rect) {
  AdjustClientRect(Rect);
  std::vector<TControl*> aligned;
  std::vector<TAlignItem> items;
  int requester = -1;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() == alNone || !c->Visible()) continue;
    if (c == AControl) requester = static_cast<int>(items.size());
    aligned.push_back(c);
    items.push_back(TAlignItem{c->Align(), c->BoundsRect()});
  }
  if (items.empty()) return;
  Rect = ArrangeAlignedItems(Rect, items, requester);
  for (size_t i = 0; i < aligned.size(); ++i) aligned[i]->SetBoundsRect(items[i].Bounds);
}

// --- focus and tab order ---

bool TWinControl::CanFocus() {
  for (TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation(SCannotFocus);
  ::SetFocus(Handle());
}

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (HasState(csReading)) {
    FTabOrder = Value;  // applied in Loaded, when all siblings are there
    return;
  }
  int current = TabOrder();
  if (current < 0) return;
  auto& list = FParent->FTabList;
  int last = static_cast<int>(list.size()) - 1;
  Value = std::clamp(Value, 0, last);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    SetWindowLongPtrA(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::FixupTabList() {
  std::vector<TWinControl*> ordered(FWinControls.size(), nullptr);
  for (TWinControl* c : FWinControls)
    if (c->FTabOrder >= 0 && static_cast<size_t>(c->FTabOrder) < ordered.size() && !ordered[c->FTabOrder])
      ordered[c->FTabOrder] = c;
  for (size_t i = 0; i < ordered.size(); ++i)
    if (ordered[i]) ordered[i]->SetTabOrder(static_cast<int>(i));
  for (TWinControl* c : FWinControls) c->FTabOrder = -1;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto found = std::find(list.begin(), list.end(), CurControl);
  int start = found != list.end() ? static_cast<int>(found - list.begin()) : (GoForward ? n - 1 : 0);
  int i = start;
  do {
    i = GoForward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c != CurControl && c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this))
      return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectFirst() {
  TWinControl* c = FindNextControl(nullptr, true, true, false);
  if (!c) c = FindNextControl(nullptr, true, false, false);
  if (c) c->SetFocus();
}

TWinControl* TWinControl::TopParent() {
  TWinControl* c = this;
  while (c->FParent) c = c->FParent;
  return c;
}

// --- keys ---

bool TWinControl::DoKeyDown(TMessage& Message) {
  TWinControl* top = TopParent();
  if (top != this && top->PreviewsKeys() && top->DoKeyDown(Message)) return true;
  if (ControlStyle & csNoStdEvents) return false;
  TWMKey k{Message};
  WORD key = k.CharCode();
  KeyDown(key, KeyDataToShiftState(k.KeyData()));
  k.SetCharCode(key);
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TWinControl* top = TopParent();
  if (top != this && top->PreviewsKeys() && top->DoKeyUp(Message)) return true;
  if (ControlStyle & csNoStdEvents) return false;
  TWMKey k{Message};
  WORD key = k.CharCode();
  KeyUp(key, KeyDataToShiftState(k.KeyData()));
  k.SetCharCode(key);
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWinControl* top = TopParent();
  if (top != this && top->PreviewsKeys() && top->DoKeyPress(Message)) return true;
  if (ControlStyle & csNoStdEvents) return false;
  TWMKey k{Message};
  char key = static_cast<char>(k.CharCode());
  char original = key;
  KeyPress(key);
  // Only a changed key is written back, so a code the 8-bit key cannot hold stays whole.
  if (key != original) k.SetCharCode(static_cast<BYTE>(key));
  return key == 0;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  // Tab, arrows, Enter and Escape are dialog keys unless the control asks for them.
  TWMKey k{Message};
  Message.Result = 1;
  UINT mask = 0;
  switch (k.CharCode()) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
  }
  if (mask && Perform(CM_WANTSPECIALKEY, k.CharCode(), k.KeyData()) == 0 &&
      (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0 &&
      TopParent()->Perform(CM_DIALOGKEY, k.CharCode(), k.KeyData()) != 0)
    return;
  Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
  // A character the control does not take may be a dialog accelerator.
  TWMKey k{Message};
  Message.Result = 1;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 &&
      TopParent()->Perform(CM_DIALOGCHAR, k.CharCode(), k.KeyData()) != 0)
    return;
  Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message) {
  // Alt+letter: an accelerator of a control, unless it opens the system menu (Alt+Space).
  TWMKey k{Message};
  Message.Result = 1;
  if (k.CharCode() != VK_SPACE && TopParent()->Perform(CM_DIALOGCHAR, k.CharCode(), k.KeyData()) != 0) return;
  Message.Result = 0;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  FixupTabList();
  if (FParent) UpdateControlState();
  Realign();
}

// ---------------------------------------------------------------------------
// Canvases on controls

namespace {

// Device contexts are a limited resource: only a few canvases keep theirs between uses.
constexpr size_t kCanvasCacheSize = 4;

std::vector<TControlCanvas*>& CanvasesHoldingDC() {
  static std::vector<TControlCanvas*> list;
  return list;
}

}  // namespace

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  if (!FDeviceContext) {
    auto& list = CanvasesHoldingDC();
    if (list.size() >= kCanvasCacheSize) list.front()->FreeHandle();
    FDeviceContext = FControl->GetDeviceContext(FWindowHandle);
    list.push_back(this);
  }
  SetHandle(FDeviceContext);
  UpdateTextFlags();
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  if (CurrentHandle() == FDeviceContext) SetHandle(nullptr);  // a painting DC stays
  auto& list = CanvasesHoldingDC();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
}

void TControlCanvas::UpdateTextFlags() {
  if (!FControl) return;
  if (FControl->UseRightToLeftReading())
    TextFlags |= ETO_RTLREADING;
  else
    TextFlags &= ~ETO_RTLREADING;
}

void FreeDeviceContexts(HWND Wnd) {
  std::vector<TControlCanvas*> list = CanvasesHoldingDC();
  for (TControlCanvas* c : list)
    if (c->DeviceContextWindow() == Wnd) c->FreeHandle();
}

// ---------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(new TControlCanvas) {
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() { FCanvas->FreeHandle(); }

TCanvas* TGraphicControl::Canvas() const { return FCanvas.get(); }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT)
    WMPaint(Message);
  else
    TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TMessage& Message) {
  // Painted by the parent only, on its device context moved to our place.
  HDC dc = TWMPaint{Message}.DC();
  if (!dc) return;
  FCanvas->Lock();
  ScopeExit done{[this] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }};
  FCanvas->SetHandle(dc);
  FCanvas->UpdateTextFlags();
  Paint();
}

// ---------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(new TControlCanvas) {
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() { FCanvas->FreeHandle(); }

TCanvas* TCustomControl::Canvas() const { return FCanvas.get(); }

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT || Message.Msg == WM_PRINTCLIENT) {
    ControlState |= csCustomPaint;
    ScopeExit done{[this] { ControlState &= ~csCustomPaint; }};
    TWinControl::Dispatch(Message);
  } else {
    TWinControl::Dispatch(Message);
  }
}

void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->Lock();
  ScopeExit done{[this] {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }};
  FCanvas->SetHandle(DC);
  FCanvas->UpdateTextFlags();
  Paint();
}
