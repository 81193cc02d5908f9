#include "desktop/flat_edit.h"

#include "desktop/system_version.h"

#include "vcl/forms.h"
#include "vcl/messages.h"
#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& FlatEditProperties() {
  using T = TdkCustomEdit;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("About", &T::About).Stored(false)
      .Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify)
      .Property("Flat", &T::Flat, &T::SetFlat).Default(false)
      .Property("FocusBorder", &T::FocusBorder, &T::SetFocusBorder).Default(true)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomEdit, TCustomEdit, nullptr, &FlatEditProperties)
VCL_CLASS_IMPL(TdkEdit, TdkCustomEdit, &CreateComponentOf<TdkEdit>, nullptr)

bool EditAlignmentNeedsMultiLine() {
  // Windows 95 and NT 4 and older align a single-line edit's text only in multi-line mode.
  return !SystemVersion().IsWin98OrLater && !SystemVersion().IsWin2000OrLater;
}

TdkCustomEdit::TdkCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

bool TdkCustomEdit::MultiLineWindow() const {
  return HandleAllocated() && (GetWindowLongPtrA(WindowHandle(), GWL_STYLE) & ES_MULTILINE);
}

void TdkCustomEdit::CreateParams(TCreateParams& Params) {
  // Rows: left to right, right to left; columns: the alignment.
  static const DWORD kAlignments[2][3] = {{ES_LEFT, ES_RIGHT, ES_CENTER}, {ES_RIGHT, ES_LEFT, ES_CENTER}};
  TCustomEdit::CreateParams(Params);
  Params.ExStyle |= WS_EX_CLIENTEDGE;  // always the 3D look: the flat border paints over it
  bool rtl = UseRightToLeftAlignment();
  Params.Style |= kAlignments[rtl ? 1 : 0][FAlignment];
  if ((FAlignment != taLeftJustify || rtl) && EditAlignmentNeedsMultiLine()) Params.Style |= ES_MULTILINE;
  Params.Style |= WS_CLIPCHILDREN;
}

void TdkCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TdkCustomEdit::SetFlat(bool Value) {
  if (FFlat == Value) return;
  bool enabled = Enabled();
  SetEnabled(false);
  FFlat = Value;
  SetEnabled(enabled);
  RecreateWnd();
}

void TdkCustomEdit::SetFocusBorder(bool Value) {
  if (FFocusBorder == Value) return;
  FFocusBorder = Value;
  Invalidate();
}

bool TdkCustomEdit::Hot() { return FFocusBorder && IsFlatControlHot(this, FMouseInside); }

void TdkCustomEdit::DrawBorder(HDC DC) {
  if (!FlatBorderPaintable(this)) return;
  bool hot = Hot();
  DrawFlatBorder(DC, Width(), Height(), hot, FlatBorderColor(this, hot));
}

void TdkCustomEdit::RedrawBorder() {
  if (!FFlat || !HandleAllocated()) return;
  HWND wnd = WindowHandle();
  HDC dc = GetWindowDC(wnd);
  DrawBorder(dc);
  ReleaseDC(wnd, dc);
}

void TdkCustomEdit::MouseInside(bool Inside) {
  if (!Enabled() || FMouseInside == Inside) return;
  FMouseInside = Inside;
  RedrawBorder();
}

void TdkCustomEdit::KeyPress(char& Key) {
  bool dialogKey = MultiLineWindow() && (Key == '\r' || Key == '\x1b');
  if (dialogKey) {
    if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, static_cast<unsigned char>(Key), 0);
  }
  TCustomEdit::KeyPress(Key);
  if (dialogKey && Key == '\r') Key = 0;  // a one-line edit: no line break
}

void TdkCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      TCustomEdit::Dispatch(Message);
      if (FFlat) SendMessageA(WindowHandle(), WM_NCPAINT, 0, 0);
      break;
    case WM_NCPAINT:
      TCustomEdit::Dispatch(Message);
      RedrawBorder();
      break;
    case CM_ENTER:
      TCustomEdit::Dispatch(Message);
      if (AutoSelect && FAlignment != taLeftJustify && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
      if (!HasState(csDesigning)) RedrawBorder();
      break;
    case CM_EXIT:
      TCustomEdit::Dispatch(Message);
      if (!HasState(csDesigning)) RedrawBorder();
      break;
    case CM_MOUSEENTER:
      TCustomEdit::Dispatch(Message);
      MouseInside(true);
      break;
    case CM_MOUSELEAVE:
      TCustomEdit::Dispatch(Message);
      MouseInside(false);
      break;
    case CM_ENABLEDCHANGED:
      TCustomEdit::Dispatch(Message);
      FColors.EnabledChanged(this, FFlat);
      break;
    default: TCustomEdit::Dispatch(Message); break;
  }
}
