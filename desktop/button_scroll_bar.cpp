#include "desktop/button_scroll_bar.h"

#include <algorithm>
#include <utility>

#include "vcl/messages.h"
#include "vcl/typinfo.h"

namespace button_scroll_bar_layout {

int ButtonExtent(int Length, int Margin, int ButtonSize) {
  int room = Length - 2 * Margin;
  if (room <= 0) return 0;
  if (room <= 2 * ButtonSize) return room / 2;
  return ButtonSize;
}

RECT ButtonRect(TScrollBarKind Kind, bool First, int Width, int Height, int Margin, int ButtonSize) {
  int extent = ButtonExtent(Kind == sbVertical ? Height : Width, Margin, ButtonSize);
  if (extent <= 0) return RECT{0, 0, 0, 0};
  if (Kind == sbVertical)
    return First ? RECT{0, Margin, Width, extent + Margin} : RECT{0, Height - (extent + Margin), Width, Height - Margin};
  return First ? RECT{Margin, 0, extent + Margin, Height} : RECT{Width - (extent + Margin), 0, Width - Margin, Height};
}

}  // namespace button_scroll_bar_layout

namespace {

const std::vector<TPropInfo>& ScrollBarProperties() {
  using T = TdkCustomScrollBar;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("About", &TdkGraphicControl::About).Stored(false)
      .Property("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(true)
      .Property("HideButtons", &T::HideButtons, &T::SetHideButtons).Default(true)
      .Property("Kind", &T::Kind, &T::SetKind).Default(sbVertical)
      .Property("Margin", &T::Margin, &T::SetMargin).Default(0)
      .Property("Min", &T::Min, &T::SetMin).Default(0)
      .Property("Max", &T::Max, &T::SetMax).Default(100)
      .Property("Position", &T::Position, &T::SetPosition).Default(0)
      .Property("TimerInterval", &T::TimerInterval, &T::SetTimerInterval).Default(100u)
      .Property("Transparent", &T::Transparent, &T::SetTransparent).Default(false)
      .Property("OnChange", &T::OnChange)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkGraphicControl, TGraphicControl, nullptr, nullptr)
VCL_CLASS_IMPL(TdkCustomScrollBar, TdkGraphicControl, nullptr, &ScrollBarProperties)
VCL_CLASS_IMPL(TdkScrollBar, TdkCustomScrollBar, &CreateComponentOf<TdkScrollBar>, nullptr)

TdkCustomScrollBar::TdkCustomScrollBar(TComponent* AOwner) : TdkGraphicControl(AOwner), FTimer(new TdkCustomTimer(nullptr)) {
  FTimer->SetEnabled(false);
  FTimer->SetInterval(100);
  FTimer->SetOnTimer([this](TObject*) { CheckButtonClick(); });
  ControlStyle |= csOpaque;
  SetBounds(Left(), Top(), 100, 100);
  SetColor(clBtnFace);
  AdjustSize();
}

TdkCustomScrollBar::~TdkCustomScrollBar() {
  // The timer goes first: no tick may reach a control that is going.
  FTimer->SetEnabled(false);
  FTimer.reset();
}

void TdkCustomScrollBar::AdjustSize() {
  if (!FAutoSize || FAdjusting) return;
  FAdjusting = true;
  if (FKind == sbVertical) {
    FButtonSize = GetSystemMetrics(SM_CYVSCROLL);
    SetBounds(Left(), Top(), GetSystemMetrics(SM_CXVSCROLL), Height());
  } else {
    FButtonSize = GetSystemMetrics(SM_CXHSCROLL);
    SetBounds(Left(), Top(), Width(), GetSystemMetrics(SM_CYHSCROLL));
  }
  FAdjusting = false;
}

void TdkCustomScrollBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TdkGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  AdjustSize();
}

void TdkCustomScrollBar::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustSize();
}

void TdkCustomScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (!HasState(csLoading)) {
    FAdjusting = true;
    SetBounds(Left(), Top(), Height(), Width());
    FAdjusting = false;
    AdjustSize();
  }
  Invalidate();
}

void TdkCustomScrollBar::Loaded() {
  TdkGraphicControl::Loaded();
  AdjustSize();
}

void TdkCustomScrollBar::SetHideButtons(bool Value) {
  if (FHideButtons == Value) return;
  FHideButtons = Value;
  Invalidate();
}

void TdkCustomScrollBar::SetMargin(int Value) {
  if (FMargin == Value) return;
  FMargin = Value;
  Invalidate();
}

void TdkCustomScrollBar::SetPosition(int Value) {
  Value = std::clamp(Value, FMin, std::max(FMin, FMax));
  if (FPosition == Value) return;
  FPosition = Value;
  if (OnChange) OnChange(this);
  Invalidate();
}

void TdkCustomScrollBar::SetMax(int Value) {
  if (FMax == Value) return;
  FMax = Value;
  if (FMax < FMin) FMin = FMax;
  SetPosition(FPosition);
  Invalidate();
}

void TdkCustomScrollBar::SetMin(int Value) {
  if (FMin == Value) return;
  FMin = std::min(Value, FMax);
  if (FPosition < FMin) SetPosition(FMin);
  Invalidate();
}

void TdkCustomScrollBar::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value)
    ControlStyle &= ~csOpaque;
  else
    ControlStyle |= csOpaque;
  Invalidate();
}

void TdkCustomScrollBar::GetButtonRect(bool Button, RECT& Rect) {
  Rect = button_scroll_bar_layout::ButtonRect(FKind, Button, Width(), Height(), FMargin, FButtonSize);
}

bool TdkCustomScrollBar::Step(bool Button) {
  if (Button) {
    if (FPosition <= FMin) return false;
    SetPosition(FPosition - 1);
  } else {
    if (FPosition >= FMax) return false;
    SetPosition(FPosition + 1);
  }
  return true;
}

bool TdkCustomScrollBar::ButtonHidden(bool Button) const {
  return FHideButtons && (Button ? FPosition <= FMin : FPosition >= FMax);
}

void TdkCustomScrollBar::DrawButton(bool Button, bool Pressed) {
  RECT r;
  GetButtonRect(Button, r);
  if (IsRectEmpty(&r)) return;
  UINT state = FKind == sbVertical ? (Button ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                                   : (Button ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
  if (Pressed) state |= DFCS_PUSHED;
  DrawFrameControl(Canvas()->Handle(), &r, DFC_SCROLL, state);
}

void TdkCustomScrollBar::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  if (!Transparent()) canvas->FillRect(ClientRect());
  if (HasState(csDesigning)) {
    DrawButton(true, false);
    DrawButton(false, false);
    return;
  }
  for (bool button : {true, false}) {
    if (ButtonHidden(button)) continue;
    DrawButton(button, FHeld && FHeldButton == button && FPressedLook);
  }
}

bool TdkCustomScrollBar::OnButton(bool Button, int X, int Y) {
  RECT r;
  GetButtonRect(Button, r);
  return PtInRect(&r, POINT{X, Y}) != 0;
}

void TdkCustomScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TdkGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  bool button;
  if (OnButton(true, X, Y) && FPosition > FMin)
    button = true;
  else if (OnButton(false, X, Y) && FPosition < FMax)
    button = false;
  else
    return;
  FHeld = true;
  FHeldButton = button;
  FPressedLook = true;
  Invalidate();
  FTimer->SetEnabled(true);
}

void TdkCustomScrollBar::CheckButtonClick() {
  if (!FHeld) return;
  POINT p;
  GetCursorPos(&p);
  p = ScreenToClient(p);
  if (OnButton(FHeldButton, p.x, p.y)) Step(FHeldButton);
}

void TdkCustomScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
  TdkGraphicControl::MouseMove(Shift, X, Y);
  if (!FHeld) return;
  bool on = OnButton(FHeldButton, X, Y);
  if (on != FPressedLook) {
    FPressedLook = on;
    if (FMin < FPosition && FPosition < FMax) Invalidate();
  }
}

void TdkCustomScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TdkGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FHeld) return;
  FTimer->SetEnabled(false);
  if (OnButton(FHeldButton, X, Y)) Step(FHeldButton);
  FHeld = false;
  FPressedLook = false;
  Invalidate();
}

void TdkCustomScrollBar::Dispatch(TMessage& Message) {
  TdkGraphicControl::Dispatch(Message);
  if (Message.Msg == CM_WININICHANGE && Message.WParam == SPI_SETNONCLIENTMETRICS) AdjustSize();
}
