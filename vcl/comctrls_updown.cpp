#include "vcl/comctrls_updown.h"

#include <commctrl.h>

#include "vcl/streaming.h"

namespace {

const std::vector<TPropInfo>& UpDownProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUpDown>()
      .Property("AlignButton", &TUpDown::AlignButton, &TUpDown::SetAlignButton).Default(udRight)
      .Property("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys).Default(true)
      .Property("Associate", &TUpDown::Associate, &TUpDown::SetAssociate)
      .Property("Increment", &TUpDown::Increment, &TUpDown::SetIncrement).Default(1)
      .Property("Max", &TUpDown::Max, &TUpDown::SetMax).Default(100)
      .Property("Min", &TUpDown::Min, &TUpDown::SetMin).Default(0)
      .Property("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation).Default(udVertical)
      .Property("Position", &TUpDown::Position, &TUpDown::SetPosition).Default(0)
      .Property("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands).Default(true)
      .Property("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap).Default(false)
      .Property("OnChanging", &TUpDown::OnChanging)
      .Property("OnClick", &TUpDown::OnClick)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TUpDown, TWinControl, &CreateComponentOf<TUpDown>, &UpDownProperties)

void RegisterUpDownControl() { RegisterClasses({TUpDown::StaticClass()}); }

TUpDown::TUpDown(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = 0;
  SetBounds(0, 0, 16, 24);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
}

void TUpDown::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, UPDOWN_CLASSA);
  Params.Style |= UDS_SETBUDDYINT;
  Params.Style |= FAlignButton == udRight ? UDS_ALIGNRIGHT : UDS_ALIGNLEFT;
  if (FOrientation == udHorizontal) Params.Style |= UDS_HORZ;
  if (FArrowKeys) Params.Style |= UDS_ARROWKEYS;
  if (!FThousands) Params.Style |= UDS_NOTHOUSANDS;
  if (FWrap) Params.Style |= UDS_WRAP;
}

void TUpDown::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = WindowHandle();
  SendMessageA(wnd, UDM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
  UDACCEL accel{0, static_cast<UINT>(FIncrement)};
  SendMessageA(wnd, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  SendMessageA(wnd, UDM_SETPOS32, 0, FPosition);
  UpdateAssociate();
}

void TUpDown::UpdateAssociate() {
  if (!HandleAllocated()) return;
  // Read before the buddy comes: from then on the control reads the buddy's text.
  const int position = Position();
  HWND buddy = FAssociate ? FAssociate->Handle() : nullptr;
  SendMessageA(WindowHandle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  // The control writes its number into the buddy only when the position is set.
  if (buddy) SetPosition(position);
}

void TUpDown::SetAssociate(TWinControl* Value) {
  if (Value == this) Value = nullptr;
  if (FAssociate == Value) return;
  if (FAssociate) FAssociate->RemoveFreeNotification(this);
  FAssociate = Value;
  if (FAssociate) FAssociate->FreeNotification(this);
  // A stored reference may name an edit whose window cannot exist yet.
  if (!HasState(csLoading)) UpdateAssociate();
}

void TUpDown::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FAssociate) {
    FAssociate = nullptr;
    if (HandleAllocated() && !HasState(csDestroying)) SendMessageA(WindowHandle(), UDM_SETBUDDY, 0, 0);
  }
}

void TUpDown::SetMin(int Value) {
  if (FMin == Value) return;
  FMin = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TUpDown::SetMax(int Value) {
  if (FMax == Value) return;
  FMax = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

int TUpDown::Position() {
  if (HandleAllocated()) {
    BOOL failed = FALSE;
    const int pos = static_cast<int>(SendMessageA(WindowHandle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    // A buddy whose text is no number leaves the last known position.
    if (!failed) FPosition = pos;
  }
  return FPosition;
}

void TUpDown::SetPosition(int Value) {
  FPosition = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), UDM_SETPOS32, 0, Value);
}

void TUpDown::SetIncrement(int Value) {
  if (Value < 1) Value = 1;
  if (FIncrement == Value) return;
  FIncrement = Value;
  if (HandleAllocated()) {
    UDACCEL accel{0, static_cast<UINT>(FIncrement)};
    SendMessageA(WindowHandle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}

void TUpDown::SetOrientation(TUDOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  if (!HasState(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton Value) {
  if (FAlignButton == Value) return;
  FAlignButton = Value;
  RecreateWnd();
}

void TUpDown::SetWrap(bool Value) {
  if (FWrap == Value) return;
  FWrap = Value;
  RecreateWnd();
}

void TUpDown::SetArrowKeys(bool Value) {
  if (FArrowKeys == Value) return;
  FArrowKeys = Value;
  RecreateWnd();
}

void TUpDown::SetThousands(bool Value) {
  if (FThousands == Value) return;
  FThousands = Value;
  RecreateWnd();
}

bool TUpDown::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TUpDown::Click(TUDBtnType Button) {
  if (OnClick) OnClick(this, Button);
}

void TUpDown::CNNotify(TMessage& Message) {
  auto* hdr = TWMNotify{Message}.NMHdr();
  if (hdr && hdr->code == static_cast<UINT>(UDN_DELTAPOS)) {
    // Non-zero keeps the position where it is.
    Message.Result = CanChange() ? 0 : 1;
    return;
  }
  TWinControl::Dispatch(Message);
}

void TUpDown::CNScroll(TMessage& Message) {
  if (LOWORD(Message.WParam) != SB_THUMBPOSITION) return;
  const int old = FPosition;
  const int now = Position();
  if (now > old)
    Click(btNext);
  else if (now < old)
    Click(btPrev);
}

void TUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case CN_HSCROLL:
    case CN_VSCROLL: CNScroll(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}
