#include "desktop/image_combo_box.h"

#include <algorithm>

#include "vcl/messages.h"
#include "vcl/scopeexit.h"
#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& ImageComboBoxProperties() {
  using T = TdkCustomComboBox;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("About", &T::About).Stored(false)
      .Property("Etched", &T::Etched, &T::SetEtched).Default(false)
      .Property("Flat", &T::Flat, &T::SetFlat).Default(false)
      .Property("FocusBorder", &T::FocusBorder, &T::SetFocusBorder).Default(true)
      .Property("ImageList", &T::ImageList, &T::SetImageList)
      .Property("ImageListAsIcon", &T::ImageListAsIcon, &T::SetImageListAsIcon).Default(true)
      .Property("ListWidth", &T::ListWidth, &T::SetListWidth).Default(0)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomComboBox, TCustomComboBox, nullptr, &ImageComboBoxProperties)
VCL_CLASS_IMPL(TdkComboBox, TdkCustomComboBox, &CreateComponentOf<TdkComboBox>, nullptr)

TdkCustomComboBox::TdkCustomComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), FIcon(new TIcon), FChangeLink(new TChangeLink) {
  FChangeLink->OnChange = [this](TObject*) {
    UpdateItemHeight();
    Invalidate();
  };
}

TdkCustomComboBox::~TdkCustomComboBox() {
  if (FImageList) FImageList->UnRegisterChanges(FChangeLink.get());
}

int TdkCustomComboBox::GetItemHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  int height = std::max<int>(metrics.tmHeight + 2, 7);
  if (FImageList) height = std::max(height, FImageList->Height());
  return height;
}

void TdkCustomComboBox::UpdateItemHeight() {
  int height = GetItemHeight();
  {
    // Applied below to the window as it is: no new window for it.
    FUpdating = true;
    ScopeExit done{[this] { FUpdating = false; }};
    SetItemHeight(height);
  }
  if (HandleAllocated()) SendMessageA(WindowHandle(), CB_SETITEMHEIGHT, 0, height);
}

void TdkCustomComboBox::CreateParams(TCreateParams& Params) {
  TCustomComboBox::CreateParams(Params);
  if (FImageList) {
    if (!(Params.Style & CBS_OWNERDRAWVARIABLE)) Params.Style |= CBS_OWNERDRAWFIXED;
    UpdateItemHeight();
  }
}

void TdkCustomComboBox::CreateWnd() {
  TCustomComboBox::CreateWnd();
  if (FListWidth) SendMessageA(WindowHandle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FListWidth), 0);
}

void TdkCustomComboBox::Loaded() {
  TCustomComboBox::Loaded();
  UpdateItemHeight();
}

int TdkCustomComboBox::ListWidth() {
  if (HandleAllocated()) return static_cast<int>(SendMessageA(WindowHandle(), CB_GETDROPPEDWIDTH, 0, 0));
  return FListWidth;
}

void TdkCustomComboBox::SetListWidth(int Value) {
  FListWidth = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(Value), 0);
}

void TdkCustomComboBox::SetImageList(TCustomImageList* Value) {
  if (RelinkImageList(this, FImageList, FChangeLink.get(), Value)) RecreateWnd();
}

void TdkCustomComboBox::SetImageListAsIcon(bool Value) {
  if (FImageListAsIcon == Value) return;
  FImageListAsIcon = Value;
  Invalidate();
}

void TdkCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomComboBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) SetImageList(nullptr);
}

void TdkCustomComboBox::SetFlat(bool Value) {
  if (FFlat == Value) return;
  bool enabled = Enabled();
  SetEnabled(false);
  FFlat = Value;
  SetEnabled(enabled);
  Invalidate();
}

void TdkCustomComboBox::SetEtched(bool Value) {
  if (FEtched == Value) return;
  FEtched = Value;
  RedrawFlat();
}

void TdkCustomComboBox::SetFocusBorder(bool Value) {
  if (FFocusBorder == Value) return;
  FFocusBorder = Value;
  RedrawFlat();
}

int TdkCustomComboBox::GetButtonWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

RECT TdkCustomComboBox::GetButtonRect() {
  RECT r = ClientRect();
  r.left = r.right - GetButtonWidth() - 4;
  InflateRect(&r, -2, -2);
  return r;
}

bool TdkCustomComboBox::Hot() {
  if (IsFlatControlHot(this, FMouseInside)) return true;
  // The inner edit has the focus while the combo box is active.
  HWND focus = GetFocus();
  return focus && HandleAllocated() && IsChild(WindowHandle(), focus);
}

void TdkCustomComboBox::DrawFlat(HDC DC) {
  if (!FlatBorderPaintable(this)) return;
  bool hot = Hot();
  int saved = SaveDC(DC);
  if (Style() != csSimple) {
    RECT button = GetButtonRect();
    DrawFrameControl(DC, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
    RECT edge = button;
    InflateRect(&edge, 1, 1);
    if (hot) {
      UINT flags = BF_RECT | (DroppedDown() ? BF_FLAT : 0);
      DrawEdge(DC, &edge, FEtched ? EDGE_ETCHED : EDGE_RAISED, flags);
    } else {
      FrameRect(DC, &edge, GetSysColorBrush(COLOR_BTNFACE));
      FrameRect(DC, &button, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    }
    ExcludeClipRect(DC, edge.left, edge.top, edge.right, edge.bottom);
  }
  bool hotBorder = hot && FFocusBorder;
  DrawFlatBorder(DC, Width(), Height(), hotBorder, FlatBorderColor(this, hotBorder));
  RestoreDC(DC, saved);
}

void TdkCustomComboBox::RedrawFlat() {
  if (!FFlat || !HandleAllocated()) return;
  HWND wnd = WindowHandle();
  HDC dc = GetWindowDC(wnd);
  DrawFlat(dc);
  ReleaseDC(wnd, dc);
}

void TdkCustomComboBox::DrawItem(int Index, const RECT& Rect, TOwnerDrawState State) {
  if (OnDrawItem || !FImageList) {
    TCustomComboBox::DrawItem(Index, Rect, State);
    return;
  }
  TCanvas* canvas = Canvas();
  canvas->FillRect(Rect);
  if (Index < 0) return;
  AnsiString text = Items()->Get(Index);
  int textHeight = canvas->TextHeight(text.empty() ? AnsiString("Xg") : text);
  int pictureHeight = FImageList->Height();
  int row = std::max(pictureHeight, textHeight);
  if (Index < FImageList->Count()) {
    int y = Rect.top + (row - pictureHeight) / 2;
    if (FImageListAsIcon) {
      FImageList->GetIcon(Index, FIcon.get());
      canvas->Draw(Rect.left + 2, y, FIcon.get());
    } else {
      FImageList->Draw(canvas, Rect.left + 2, y, Index, true);
    }
  }
  canvas->TextOut(Rect.left + 2 + FImageList->Width() + 2, Rect.top + (row - textHeight) / 2, text);
}

void TdkCustomComboBox::MouseInside(bool Inside) {
  if (!Enabled() || FMouseInside == Inside) return;
  FMouseInside = Inside;
  RedrawFlat();
}

void TdkCustomComboBox::WMPaint(TMessage& Message) {
  if (!FFlat) {
    TCustomComboBox::Dispatch(Message);
    return;
  }
  HWND wnd = WindowHandle();
  PAINTSTRUCT ps{};
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  bool own = dc == nullptr;
  if (own) dc = BeginPaint(wnd, &ps);
  TMessage paint = Message;
  paint.WParam = reinterpret_cast<WPARAM>(dc);
  TCustomComboBox::Dispatch(paint);
  DrawFlat(dc);
  if (own) EndPaint(wnd, &ps);
  Message.Result = 0;
}

void TdkCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: WMPaint(Message); break;
    case CM_RECREATEWND:
      if (!FUpdating) TCustomComboBox::Dispatch(Message);
      break;
    case CM_FONTCHANGED:
      TCustomComboBox::Dispatch(Message);
      UpdateItemHeight();
      break;
    case CM_WININICHANGE:
      TCustomComboBox::Dispatch(Message);
      if (Message.WParam == SPI_SETNONCLIENTMETRICS) RecreateWnd();
      break;
    case CM_ENTER:
    case CM_EXIT:
      TCustomComboBox::Dispatch(Message);
      if (!HasState(csDesigning)) RedrawFlat();
      break;
    case CM_MOUSEENTER:
      TCustomComboBox::Dispatch(Message);
      MouseInside(true);
      break;
    case CM_MOUSELEAVE:
      TCustomComboBox::Dispatch(Message);
      MouseInside(false);
      break;
    case CM_ENABLEDCHANGED:
      TCustomComboBox::Dispatch(Message);
      FColors.EnabledChanged(this, FFlat);
      break;
    case CN_COMMAND: {
      TCustomComboBox::Dispatch(Message);
      WORD code = HIWORD(Message.WParam);
      if ((code == CBN_DROPDOWN || code == CBN_CLOSEUP) && HandleAllocated()) {
        RECT r = ClientRect();
        r.left = r.right - GetButtonWidth() - 2;
        InvalidateRect(WindowHandle(), &r, FALSE);
      }
      break;
    }
    case CN_DRAWITEM:
      TCustomComboBox::Dispatch(Message);
      RedrawFlat();
      break;
    default: TCustomComboBox::Dispatch(Message); break;
  }
}
