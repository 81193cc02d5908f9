#include "vcl/hints.h"

#include "vcl/application.h"
#include "vcl/forms.h"

VCL_CLASS_IMPL(THintWindow, TCustomControl, &CreateComponentOf<THintWindow>, nullptr)

const TMetaClass* HintWindowClass = THintWindow::StaticClass();

namespace {

enum THintTimerKind { htShowHint = 1, htHideHint };

// How far below the cursor's hot spot a hint starts: below the arrow.
int CursorHeightMargin() { return GetSystemMetrics(SM_CYCURSOR) * 5 / 8; }

}  // namespace

AnsiString GetShortHint(const AnsiString& Hint) {
  size_t bar = Hint.find('|');
  return bar == AnsiString::npos ? Hint : Hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& Hint) {
  size_t bar = Hint.find('|');
  return bar == AnsiString::npos ? Hint : Hint.substr(bar + 1);
}

AnsiString GetControlHint(TControl* Control) {
  for (TControl* c = Control; c; c = c->Parent())
    if (!c->Hint().empty()) return c->Hint();
  return AnsiString();
}

TControl* GetHintControl(TControl* Control) {
  TControl* c = Control;
  while (c && !c->ShowHint()) c = c->Parent();
  return c;
}

TControl* FindDragTarget(POINT Pos, bool AllowDisabled) {
  HWND wnd = WindowFromPoint(Pos);
  TWinControl* control = nullptr;
  while (wnd && !(control = FindControl(wnd))) wnd = GetParent(wnd);
  if (!control) return nullptr;
  if (TControl* child = control->ControlAtPos(control->ScreenToClient(Pos), AllowDisabled)) return child;
  return control;
}

// ---------------------------------------------------------------------------
// THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  Canvas()->SetFont(InitScreen()->HintFont());
  Canvas()->Brush()->SetStyle(bsClear);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = nullptr;
}

void THintWindow::Paint() {
  RECT r = ClientRect();
  r.left += 2;
  r.top += 2;
  TCanvas* canvas = Canvas();
  canvas->Font()->SetColor(Screen->HintFont()->Color());
  canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  AnsiString text = Caption();
  DrawTextA(canvas->Handle(), text.c_str(), -1, &r,
            DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | DrawTextBiDiModeFlagsReadingOnly());
}

void THintWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST:
      // The mouse goes through to the window below: the hint never gets in the way.
      Message.Result = HTTRANSPARENT;
      break;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(Message);
      // ActivateHint sizes the window itself; a caption set otherwise sizes it here.
      if (!FActivating) {
        AnsiString text = Caption();
        SetBounds(Left(), Top(), Canvas()->TextWidth(text) + 6, Canvas()->TextHeight(text) + 6);
      }
      break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

void THintWindow::ActivateHint(RECT Rect, const AnsiString& AHint) {
  bool wasActivating = FActivating;
  FActivating = true;
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{FActivating, wasActivating};
  SetCaption(AHint);
  Rect.bottom += 4;
  int width = Rect.right - Rect.left, height = Rect.bottom - Rect.top;
  int screenWidth = Screen->Width(), screenHeight = Screen->Height();
  if (Rect.top + height > screenHeight) Rect.top = screenHeight - height;
  if (Rect.left + width > screenWidth) Rect.left = screenWidth - width;
  if (Rect.left < 0) Rect.left = 0;
  if (Rect.top < 0) Rect.top = 0;
  SetBounds(Rect.left, Rect.top, width, height);
  SetWindowPos(Handle(), HWND_TOPMOST, Rect.left, Rect.top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(RECT Rect, const AnsiString& AHint, void*) { ActivateHint(Rect, AHint); }

RECT THintWindow::CalcHintRect(int MaxWidth, const AnsiString& AHint, void*) {
  RECT r{0, 0, MaxWidth, 0};
  TCanvas* canvas = Canvas();
  canvas->RequiredState(csHandleValid | csFontValid);
  DrawTextA(canvas->Handle(), AHint.c_str(), -1, &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DrawTextBiDiModeFlagsReadingOnly());
  r.right += 6;
  r.bottom += 2;
  return r;
}

bool THintWindow::IsHintMsg(const MSG& Msg) {
  UINT m = Msg.message;
  return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == CM_ACTIVATE || m == CM_DEACTIVATE || m == WM_COMMAND ||
         (m > WM_MOUSEMOVE && m <= WM_MOUSELAST) || m == WM_NCMOUSEMOVE;
}

// ---------------------------------------------------------------------------
// The application's hints

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::HintMouseMessage(const MSG& Msg) {
  POINT pos{static_cast<short>(LOWORD(Msg.lParam)), static_cast<short>(HIWORD(Msg.lParam))};
  ClientToScreen(Msg.hwnd, &pos);
  TControl* hintControl = GetHintControl(FindDragTarget(pos, true));
  if (!hintControl || !hintControl->ShowHint()) {
    CancelHint();
    return;
  }
  if (hintControl == FHintControl && PtInRect(&FHintCursorRect, pos)) return;
  bool wasActive = FHintActive;
  int pause = wasActive ? HintShortPause : HintPause;
  CancelHint();
  FHintActive = wasActive;
  SetHintControl(hintControl);
  StartHintTimer(pause, htShowHint);
}

void TApplication::ActivateHint(POINT CursorPos) {
  FHintActive = false;
  if (!FShowHint || !FHintControl || FHintControl != GetHintControl(FindDragTarget(CursorPos, false))) return;
  THintInfo info;
  info.HintControl = FHintControl;
  info.HintPos = CursorPos;
  info.HintPos.y += CursorHeightMargin();
  info.HintMaxWidth = InitScreen()->Width();
  info.HintColor = HintColor;
  // The control's rectangle, in its own client coordinates: the hint stays while the
  // mouse moves inside it.
  info.CursorRect = FHintControl->BoundsRect();
  POINT clientOrigin = FHintControl->ClientOrigin();
  POINT parentOrigin{0, 0};
  if (FHintControl->Parent()) parentOrigin = FHintControl->Parent()->ClientOrigin();
  OffsetRect(&info.CursorRect, parentOrigin.x - clientOrigin.x, parentOrigin.y - clientOrigin.y);
  info.CursorPos = FHintControl->ScreenToClient(CursorPos);
  info.HintStr = GetShortHint(GetControlHint(FHintControl));
  info.HideTimeout = HintHidePause;
  info.HintWindowClass = HintWindowClass;
  bool canShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  // CM_HINTSHOW may end in code that cancels the hint.
  FHintActive = canShow && FHintControl;
  if (!FHintActive || info.HintStr.empty()) return;

  const TMetaClass* cls = info.HintWindowClass;
  if (!cls || !cls->Create || !cls->InheritsFrom(THintWindow::StaticClass())) cls = THintWindow::StaticClass();
  if (!FHintWindow || FHintWindow->ClassType() != cls) {
    delete FHintWindow;  // its owner (this) hears of it and forgets it
    FHintWindow = static_cast<THintWindow*>(cls->Create(this));
  }
  RECT r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  OffsetRect(&r, info.HintPos.x, info.HintPos.y);
  POINT topLeft = FHintControl->ClientToScreen(POINT{info.CursorRect.left, info.CursorRect.top});
  POINT bottomRight = FHintControl->ClientToScreen(POINT{info.CursorRect.right, info.CursorRect.bottom});
  FHintCursorRect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  FHintWindow->SetColor(info.HintColor);
  FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
  StartHintTimer(info.HideTimeout, htHideHint);
}

void TApplication::HideHint() {
  if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->WindowHandle()))
    ShowWindow(FHintWindow->WindowHandle(), SW_HIDE);
}

void TApplication::CancelHint() {
  if (!FHintControl) return;
  HideHint();
  SetHintControl(nullptr);
  FHintActive = false;
  StopHintTimer();
}

bool TApplication::IsHintMsg(const MSG& Msg) {
  if (FHintWindow && FHintWindow->IsHintMsg(Msg)) CancelHint();
  return false;
}

void TApplication::StartHintTimer(int Delay, int Kind) {
  StopHintTimer();
  FHintTimerKind = Kind;
  if (!FHandle || !SetTimer(FHandle, kHintTimer, static_cast<UINT>(std::max(Delay, 1)), nullptr))
    HintTimerExpired();
}

void TApplication::StopHintTimer() {
  if (FHintTimerKind == 0) return;
  if (FHandle) KillTimer(FHandle, kHintTimer);
  FHintTimerKind = 0;
}

void TApplication::HintTimerExpired() {
  int kind = FHintTimerKind;
  StopHintTimer();
  if (kind == htHideHint) {
    HideHint();
  } else if (kind == htShowHint) {
    POINT pos;
    GetCursorPos(&pos);
    ActivateHint(pos);
  }
}

void TApplication::DoMouseIdle() {
  POINT pos;
  GetCursorPos(&pos);
  SetMouseControl(FindDragTarget(pos, true));
}

void TApplication::SetHintControl(TControl* Control) {
  TControl* old = FHintControl;
  FHintControl = Control;
  Watch(old, Control);
}

void TApplication::SetMouseControl(TControl* Control) {
  TControl* old = FMouseControl;
  FMouseControl = Control;
  Watch(old, Control);
}

void TApplication::Watch(TControl* Old, TControl* New) {
  if (Old == New) return;
  if (Old && Old != FHintControl && Old != FMouseControl) Old->RemoveFreeNotification(this);
  if (New) New->FreeNotification(this);
}
