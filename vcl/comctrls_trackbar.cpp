#include "vcl/comctrls_trackbar.h"

#include <commctrl.h>

#include "vcl/comctrls_common.h"
#include "vcl/streaming.h"

namespace {

const std::vector<TPropInfo>& TrackBarProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TTrackBar>()
      .Property("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency).Default(1)
      .Property("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize).Default(1)
      .Property("Max", &TTrackBar::Max, &TTrackBar::SetMax).Default(10)
      .Property("Min", &TTrackBar::Min, &TTrackBar::SetMin).Default(0)
      .Property("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation).Default(trHorizontal)
      .Property("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize).Default(2)
      .Property("Position", &TTrackBar::Position, &TTrackBar::SetPosition).Default(0)
      .Property("TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks).Default(tmBottomRight)
      .Property("TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle).Default(tsAuto)
      .Property("OnChange", &TTrackBar::OnChange)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TTrackBar, TWinControl, &CreateComponentOf<TTrackBar>, &TrackBarProperties)

void RegisterTrackBarControl() { RegisterClasses({TTrackBar::StaticClass()}); }

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = 0;
  SetBounds(0, 0, 150, 45);
  SetTabStop(true);
  InitCommonControlsOnce();
}

void TTrackBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, TRACKBAR_CLASSA);
  Params.Style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
  switch (FTickStyle) {
    case tsNone: Params.Style |= TBS_NOTICKS; break;
    case tsAuto: Params.Style |= TBS_AUTOTICKS; break;
    case tsManual: break;
  }
  switch (FTickMarks) {
    case tmBottomRight: Params.Style |= TBS_BOTTOM; break;  // TBS_RIGHT for a standing bar
    case tmTopLeft: Params.Style |= TBS_TOP; break;         // TBS_LEFT
    case tmBoth: Params.Style |= TBS_BOTH; break;
  }
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = WindowHandle();
  SendRange();
  SendMessageA(wnd, TBM_SETLINESIZE, 0, FLineSize);
  SendMessageA(wnd, TBM_SETPAGESIZE, 0, FPageSize);
  SendMessageA(wnd, TBM_SETTICFREQ, FFrequency, 0);
  SendMessageA(wnd, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SendRange() {
  if (!HandleAllocated()) return;
  SendMessageA(WindowHandle(), TBM_SETRANGEMIN, FALSE, FMin);
  SendMessageA(WindowHandle(), TBM_SETRANGEMAX, TRUE, FMax);
}

void TTrackBar::SetMin(int Value) {
  if (FMin == Value) return;
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
  SendRange();
}

void TTrackBar::SetMax(int Value) {
  if (FMax == Value) return;
  FMax = Value;
  if (FPosition > FMax && !HasState(csLoading)) FPosition = FMax;
  SendRange();
}

int TTrackBar::Position() {
  if (HandleAllocated()) FPosition = static_cast<int>(SendMessageA(WindowHandle(), TBM_GETPOS, 0, 0));
  return FPosition;
}

void TTrackBar::SetPosition(int Value) {
  // A stored position is read before the range may be (the range then follows).
  if (!HasState(csLoading)) Value = Value < FMin ? FMin : Value > FMax ? FMax : Value;
  if (Value == Position()) return;
  FPosition = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), TBM_SETPOS, TRUE, Value);
  Changed();
}

void TTrackBar::SetFrequency(int Value) {
  if (Value < 1) Value = 1;
  if (FFrequency == Value) return;
  FFrequency = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), TBM_SETTICFREQ, FFrequency, 0);
}

void TTrackBar::SetLineSize(int Value) {
  FLineSize = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), TBM_SETLINESIZE, 0, Value);
}

void TTrackBar::SetPageSize(int Value) {
  FPageSize = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), TBM_SETPAGESIZE, 0, Value);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  if (!HasState(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
  if (FTickMarks == Value) return;
  FTickMarks = Value;
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
  if (FTickStyle == Value) return;
  FTickStyle = Value;
  RecreateWnd();
}

void TTrackBar::Changed() {
  if (OnChange && !HasState(csLoading)) OnChange(this);
}

void TTrackBar::CNScroll(TMessage&) {
  const int old = FPosition;
  if (Position() != old) Changed();
}

void TTrackBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: CNScroll(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}
