#include "dialogs/task_dialog_button.h"

#include <vector>

#include "vcl/forms.h"
#include "vcl/messages.h"
#include "vcl/streams.h"
#include "widetext/platform.h"
#include "widetext/wide_control_text.h"

namespace {
const std::vector<TPropInfo>& ButtonProps() {
  using T = TTaskDialogButton;
  static const std::vector<TPropInfo> props =
      TPropertyTable<T>()
          .Property("BorderColor", &T::BorderColor)
          .Default(clNone)
          .Property("BorderColorHot", &T::BorderColorHot)
          .Default(clNone)
          .Property("BorderColorDown", &T::BorderColorDown)
          .Default(clNone)
          .Property("Caption", &T::Caption, &T::SetCaption)
          .Stored(&T::IsCaptionStored)
          .Property("HeadingFont", &T::HeadingFont, &T::SetHeadingFont)
          .Property("ModalResult", &T::ModalResult)
          .Default(0)
          .Property("Picture", &T::Picture, &T::SetPicture)
          .Property("PictureHot", &T::PictureHot, &T::SetPictureHot)
          .Property("PictureDown", &T::PictureDown, &T::SetPictureDown)
          .Property("PictureDisabled", &T::PictureDisabled, &T::SetPictureDisabled)
          .Property("OnMouseEnter", &T::OnMouseEnter)
          .Property("OnMouseLeave", &T::OnMouseLeave)
          .Table();
  return props;
}
}  // namespace

VCL_CLASS_IMPL(TTaskDialogButton, TCustomControl, &CreateComponentOf<TTaskDialogButton>, &ButtonProps)

void DrawTransparentBitmap(HDC DC, TBitmap* Bitmap, int X, int Y) {
  if (!Bitmap || Bitmap->Empty()) return;
  HDC mem = CreateCompatibleDC(DC);
  HGDIOBJ old = SelectObject(mem, Bitmap->Handle());
  TransparentBlt(DC, X, Y, Bitmap->Width(), Bitmap->Height(), mem, 0, 0, Bitmap->Width(), Bitmap->Height(),
                 RGB(255, 0, 255));
  SelectObject(mem, old);
  DeleteDC(mem);
}

TTaskDialogButton::TTaskDialogButton(TComponent* AOwner)
    : TCustomControl(AOwner),
      FHeadingFont(std::make_unique<TFont>()),
      FPicture(std::make_unique<TBitmap>()),
      FPictureHot(std::make_unique<TBitmap>()),
      FPictureDown(std::make_unique<TBitmap>()),
      FPictureDisabled(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
  SetShowHint(false);
  auto repaint = [this](TObject*) { Invalidate(); };
  FPicture->OnChange = repaint;
  FPictureDisabled->OnChange = repaint;
}

TTaskDialogButton::~TTaskDialogButton() = default;

WideString TTaskDialogButton::Caption() { return FCaption; }
void TTaskDialogButton::SetCaption(const WideString& Value) {
  // The button's own window is an 8-bit one: the wide caption is kept here whole.
  FCaption = Value;
  UniControl_SetText(this, Value);
  Invalidate();
}
bool TTaskDialogButton::IsCaptionStored() const { return UniControl_IsCaptionStored(this); }

void TTaskDialogButton::SetPicture(TBitmap* Value) {
  FPicture->Assign(Value);
  Invalidate();
}

void TTaskDialogButton::SetPictureDisabled(TBitmap* Value) {
  FPictureDisabled->Assign(Value);
  Invalidate();
}

TColor TTaskDialogButton::CurrentBorderColor() {
  TColor colour = FDown ? BorderColorDown : FHot ? BorderColorHot : clNone;
  if (!Enabled()) colour = clNone;
  if (HandleAllocated() && GetFocus() == WindowHandle()) colour = BorderColorDown;
  return colour;
}

TBitmap* TTaskDialogButton::CurrentPicture() {
  TBitmap* picture = FPicture.get();
  if (FDown && !FPictureDown->Empty())
    picture = FPictureDown.get();
  else if (FHot && !FPictureHot->Empty())
    picture = FPictureHot.get();
  if (!Enabled() && !FPictureDisabled->Empty()) picture = FPictureDisabled.get();
  return picture;
}

void TTaskDialogButton::Paint() {
  HDC dc = Canvas()->Handle();
  RECT r = ClientRect();
  TColor border = CurrentBorderColor();
  TBitmap* picture = CurrentPicture();
  WideString caption = Caption();
  if (picture && !picture->Empty()) {
    int x = caption.empty() ? (r.right - picture->Width()) / 2 : 4;
    DrawTransparentBitmap(dc, picture, x, (r.bottom - picture->Height()) / 2);
    r.left = x + picture->Width() + 3;
  } else {
    r.left += 2;
  }
  if (!caption.empty()) {
    Canvas()->Brush()->SetStyle(bsClear);
    // A command link's caption: the first line in the heading font, the others under it in
    // the button's font.
    size_t br = caption.find(L'\n');
    WideString title = caption.substr(0, br), body = br == WideString::npos ? WideString() : caption.substr(br + 1);
    Canvas()->SetFont(FHeadingFont.get());
    Canvas()->RequiredState(csHandleValid | csFontValid | csBrushValid);
    SetBkMode(dc, TRANSPARENT);
    if (body.empty()) {
      Uni_DrawTextW(dc, title.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER);
    } else {
      RECT t = r;
      int h = Uni_DrawTextW(dc, title.c_str(), -1, &t, DT_CALCRECT | DT_SINGLELINE);
      RECT b = r;
      Canvas()->SetFont(Font());
      Canvas()->RequiredState(csHandleValid | csFontValid);
      int bh = Uni_DrawTextW(dc, body.c_str(), -1, &b, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      int top = r.top + (r.bottom - r.top - h - bh) / 2;
      t = RECT{r.left, top, r.right, top + h};
      b = RECT{r.left, top + h, r.right, top + h + bh};
      Canvas()->SetFont(FHeadingFont.get());
      Canvas()->RequiredState(csHandleValid | csFontValid);
      Uni_DrawTextW(dc, title.c_str(), -1, &t, DT_SINGLELINE);
      Canvas()->SetFont(Font());
      Canvas()->RequiredState(csHandleValid | csFontValid);
      SetTextColor(dc, ColorToRGB(Font()->Color()));
      Uni_DrawTextW(dc, body.c_str(), -1, &b, DT_WORDBREAK | DT_NOPREFIX);
    }
  }
  if (border != clNone) {
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(border));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RECT c = ClientRect();
    RoundRect(dc, c.left, c.top, c.right, c.bottom, 2, 2);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
}

void TTaskDialogButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) {
    FDown = true;
    Invalidate();
  }
}

void TTaskDialogButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  FDown = false;
  Invalidate();
}

void TTaskDialogButton::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (Key == ' ' || Key == '\r') Click();
}

void TTaskDialogButton::Click() {
  if (TCustomForm* form = GetParentForm(this); form && form != static_cast<TControl*>(this))
    form->SetModalResult(ModalResult);
  TCustomControl::Click();
}

void TTaskDialogButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      FHot = true;
      if (FocusOnHover && CanFocus()) SetFocus();
      Invalidate();
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      FHot = false;
      Invalidate();
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::Dispatch(Message);
      Invalidate();
      return;
    case WM_GETDLGCODE:
      // Space and Enter reach KeyPress.
      Message.Result = DLGC_WANTCHARS;
      return;
  }
  TCustomControl::Dispatch(Message);
}
