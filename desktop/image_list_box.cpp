#include "desktop/image_list_box.h"

#include <algorithm>
#include <cstdint>

#include "vcl/messages.h"
#include "vcl/scopeexit.h"
#include "vcl/typinfo.h"

namespace image_list_box_layout {

int ImageTop(TTextLayout Layout, int Top, int Bottom, int ImageHeight) {
  switch (Layout) {
    case tlTop: return Top;
    case tlBottom: return Bottom - ImageHeight;
    default: return Top + (Bottom - Top - ImageHeight) / 2;  // truncates toward zero
  }
}

int TextWidth(int RowWidth, int Margin, int Spacing, int ImageWidth, bool HasImages) {
  int width = RowWidth - 2 - 2 * Margin;
  if (HasImages) width -= ImageWidth + Spacing;
  return width;
}

int RowHeight(int TextHeight, int Margin, int ImageHeight, bool HasImages) {
  return (HasImages ? std::max(TextHeight, ImageHeight) : TextHeight) + 2 * Margin;
}

}  // namespace image_list_box_layout

namespace {

// Word-wrapped, no prefix characters (DT_WORDBREAK | DT_VCENTER | DT_NOPREFIX).
constexpr UINT kItemTextFlags = 0x814;

const std::vector<TPropInfo>& ImageListBoxProperties() {
  using T = TdkCustomImageListBox;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("About", &T::About).Stored(false)
      .Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(false)
      .Property("ImageList", &T::ImageList, &T::SetImageList)
      .Property("ImageIndexByObject", &T::ImageIndexByObject, &T::SetImageIndexByObject).Default(false)
      .Property("ImageLayout", &T::ImageLayout, &T::SetImageLayout).Default(tlCenter)
      .Property("ImageListAsIcon", &T::ImageListAsIcon, &T::SetImageListAsIcon).Default(true)
      .Property("Margin", &T::Margin, &T::SetMargin).Default(2)
      .Property("Spacing", &T::Spacing, &T::SetSpacing).Default(4)
      // Always variable: the control's own choice, never the description's.
      .Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Stored(false)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomImageListBox, TCustomListBox, nullptr, &ImageListBoxProperties)
VCL_CLASS_IMPL(TdkImageListBox, TdkCustomImageListBox, &CreateComponentOf<TdkImageListBox>, nullptr)

TdkCustomImageListBox::TdkCustomImageListBox(TComponent* AOwner)
    : TCustomListBox(AOwner), FChangeLink(new TChangeLink), FIcon(new TIcon) {
  FChangeLink->OnChange = [this](TObject*) { Invalidate(); };
  SetStyle(lbOwnerDrawVariable);
}

TdkCustomImageListBox::~TdkCustomImageListBox() {
  // The list may outlive us: it must not call a link that is gone.
  if (FImageList) FImageList->UnRegisterChanges(FChangeLink.get());
}

void TdkCustomImageListBox::SetImageLayout(TTextLayout Value) {
  if (FImageLayout == Value) return;
  FImageLayout = Value;
  Invalidate();
}

void TdkCustomImageListBox::SetImageIndexByObject(bool Value) {
  if (FImageIndexByObject == Value) return;
  FImageIndexByObject = Value;
  Invalidate();
}

void TdkCustomImageListBox::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  Invalidate();
}

void TdkCustomImageListBox::SetImageListAsIcon(bool Value) {
  if (FImageListAsIcon == Value) return;
  FImageListAsIcon = Value;
  Invalidate();
}

// Row heights depend on the margin and spacing: a new window measures every row again.
void TdkCustomImageListBox::SetMargin(int Value) {
  Value = std::max(Value, 0);
  if (FMargin == Value) return;
  FMargin = Value;
  RecreateWnd();
}

void TdkCustomImageListBox::SetSpacing(int Value) {
  Value = std::max(Value, 0);
  if (FSpacing == Value) return;
  FSpacing = Value;
  RecreateWnd();
}

void TdkCustomImageListBox::SetImageList(TCustomImageList* Value) {
  if (RelinkImageList(this, FImageList, FChangeLink.get(), Value)) RecreateWnd();
}

void TdkCustomImageListBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListBox::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) SetImageList(nullptr);
}

int TdkCustomImageListBox::GetImageIndex(int Index) {
  if (!FImageIndexByObject) return Index;
  if (Index < 0 || Index >= Items()->Count()) return -1;
  try {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(Items()->Objects(Index)));
  } catch (...) {
    return -1;
  }
}

AnsiString TdkCustomImageListBox::ItemText(int Index) {
  return IsVirtual() ? DoGetData(Index) : Items()->Get(Index);
}

UINT TdkCustomImageListBox::TextFlags() const { return DrawTextBiDiModeFlags(kItemTextFlags); }

int TdkCustomImageListBox::RowWidth() {
  RECT client{};
  if (HandleAllocated() && GetClientRect(WindowHandle(), &client)) return client.right;
  return Width();
}

void TdkCustomImageListBox::DrawItem(int Index, const RECT& Rect, TOwnerDrawState State) {
  using namespace image_list_box_layout;
  auto* canvas = static_cast<TControlCanvas*>(Canvas());
  const RECT itemRect = Rect;
  canvas->UpdateTextFlags();
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  if (Index >= Count()) return;
  if ((State & odSelected) && !FHideSelection) {
    canvas->Brush()->SetColor(clHighlight);
    canvas->Font()->SetColor(clHighlightText);
  }
  canvas->FillRect(Rect);
  UINT flags = TextFlags();
  AnsiString text = ItemText(Index);
  RECT r = Rect;
  if (UseRightToLeftAlignment())
    r.right -= 2;
  else
    r.left += 2;
  InflateRect(&r, -FMargin, -FMargin);
  auto drawText = [&](RECT textRect) {
    canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
    DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &textRect, flags);
  };
  if (!FImageList) {
    drawText(r);
    return;
  }
  int image = GetImageIndex(Index);
  if (image >= 0 && image < FImageList->Count()) {
    int y = ImageTop(FImageLayout, r.top, r.bottom, FImageList->Height());
    if (FImageListAsIcon) {
      FImageList->GetIcon(image, FIcon.get());
      canvas->Draw(r.left, y, FIcon.get());
    } else {
      FImageList->Draw(canvas, r.left, y, image, true);
    }
  }
  // The text column stays where it is whether or not a picture was drawn.
  drawText(RECT{r.left + FImageList->Width() + FSpacing, r.top, r.right, r.bottom});
  if ((State & odFocused) && !FHideSelection) DrawFocusRect(canvas->Handle(), &itemRect);
}

void TdkCustomImageListBox::MeasureItem(int Index, int& Height) {
  using namespace image_list_box_layout;
  if (OnMeasureItem) {
    OnMeasureItem(this, Index, Height);
    return;
  }
  if (Index >= Count()) return;
  AnsiString text = ItemText(Index);
  // Wrapped in the width the row is drawn in (client width, reading-edge shift included):
  // measured any wider, a wrapped text needs more lines when drawn than it was given.
  bool images = FImageList != nullptr;
  int textWidth = TextWidth(RowWidth(), FMargin, FSpacing, images ? FImageList->Width() : 0, images);
  RECT r{0, 0, std::max(textWidth, 1), Height};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFlags() | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  Height = RowHeight(r.bottom, FMargin, images ? FImageList->Height() : 0, images);
}

void TdkCustomImageListBox::CreateWnd() {
  // The rows of a new window are measured at its width.
  FMeasuredWidth = -1;
  TCustomListBox::CreateWnd();
  FMeasuredWidth = RowWidth();
}

void TdkCustomImageListBox::RemeasureRows() {
  if (FRemeasuring || Style() != lbOwnerDrawVariable || !HandleAllocated()) return;
  FRemeasuring = true;
  ScopeExit done{[this] { FRemeasuring = false; }};
  FMeasuredWidth = RowWidth();
  HWND wnd = WindowHandle();
  int count = Count();
  for (int i = 0; i < count; ++i) {
    int height = ItemHeight();
    MeasureItem(i, height);
    height = std::clamp(height, 1, 255);  // what a list box row can hold
    if (SendMessageA(wnd, LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0) != height)
      SendMessageA(wnd, LB_SETITEMHEIGHT, static_cast<WPARAM>(i), height);
  }
  InvalidateRect(wnd, nullptr, TRUE);
}

void TdkCustomImageListBox::WMSize(TMessage& Message) {
  TCustomListBox::Dispatch(Message);
  // A scroll bar that came or went, or a new width: the rows wrap otherwise now.
  if (FMeasuredWidth >= 0 && RowWidth() != FMeasuredWidth) RemeasureRows();
}

// The rows paint themselves; the room below the last one is ours to fill, or the parent
// shows through it.
void TdkCustomImageListBox::WMEraseBkgnd(TMessage& Message) {
  HWND wnd = WindowHandle();
  RECT client{};
  GetClientRect(wnd, &client);
  int count = Count();
  if (count > 0) {
    RECT last{};
    if (SendMessageA(wnd, LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last)) != LB_ERR)
      client.top = std::max(client.top, last.bottom);
  }
  if (client.top < client.bottom) ::FillRect(reinterpret_cast<HDC>(Message.WParam), &client, Brush()->Handle());
  Message.Result = 1;
}

void TdkCustomImageListBox::CNDrawItem(TMessage& Message) {
  DRAWITEMSTRUCT* dis = TWMDrawItem{Message}.DrawItemStruct();
  auto* canvas = Canvas();
  canvas->SetHandle(dis->hDC);
  ScopeExit release{[canvas] { canvas->SetHandle(nullptr); }};
  canvas->SetFont(Font());
  canvas->SetBrush(Brush());
  // Selection colours and the focus rectangle are DrawItem's to draw.
  int index = static_cast<int>(dis->itemID);
  if (index < 0)
    canvas->FillRect(dis->rcItem);
  else
    DrawItem(index, dis->rcItem, OwnerDrawStateOf(dis->itemState));
  Message.Result = 1;
}

void TdkCustomImageListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_FONTCHANGED:
    case CM_WININICHANGE:
      TCustomListBox::Dispatch(Message);
      RecreateWnd();  // row heights follow the font
      break;
    default: TCustomListBox::Dispatch(Message); break;
  }
}
