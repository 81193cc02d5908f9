#include "vcl/extctrls.h"

#include <algorithm>

#include "vcl/streaming.h"
#include "vcl/scopeexit.h"
#include "vcl/themes.h"

namespace {

const std::vector<TPropInfo>& CustomPanelProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomPanel>()
      .Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment).Default(taCenter)
      .Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner).Default(bvNone)
      .Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised)
      .Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1)
      .Property("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0)
      .Property("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle).Default(bsNone)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("FullRepaint", &TCustomPanel::FullRepaint).Default(true)
      .Property("ParentBackground", &TCustomPanel::ParentBackground, &TCustomPanel::SetParentBackground)
          .Stored(&TCustomPanel::IsParentBackgroundStored)
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ImageProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TImage>()
      .Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(false)
      .Property("Center", &TImage::Center, &TImage::SetCenter).Default(false)
      .Property("Picture", &TImage::Picture, &TImage::SetPicture)
      .Property("Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false)
      .Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false)
      .Property("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& BevelProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TBevel>()
      .Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox)
      .Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ShapeProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TShape>()
      .Property("Brush", &TShape::Brush, &TShape::SetBrush)
      .Property("Pen", &TShape::Pen, &TShape::SetPen)
      .Property("Shape", &TShape::Shape, &TShape::SetShape).Default(stRectangle)
      .Table();
  return table;
}

const std::vector<TPropInfo>& SplitterProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TSplitter>()
      .Property("Align", &TControl::Align, &TControl::SetAlign).Default(alLeft)
      .Property("MinSize", &TSplitter::MinSize).Default(30)
      .Property("OnMoved", &TSplitter::OnMoved)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ControlScrollBarProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TControlScrollBar>()
      .Property("Increment", &TControlScrollBar::Increment).Default(8)
      .Property("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition).Default(0)
      .Property("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange).Default(0)
          .Stored(&TControlScrollBar::IsRangeStored)
      .Property("Tracking", &TControlScrollBar::Tracking).Default(false)
      .Property("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible).Default(true)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ScrollingWinControlProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TScrollingWinControl>()
      .Property("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll).Default(true)
      .Property("HorzScrollBar", &TScrollingWinControl::HorzScrollBar, &TScrollingWinControl::SetHorzScrollBar)
      .Property("VertScrollBar", &TScrollingWinControl::VertScrollBar, &TScrollingWinControl::SetVertScrollBar)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ScrollBoxProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TScrollBox>()
      .Property("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TCustomPanel, TCustomControl, &CreateComponentOf<TCustomPanel>, &CustomPanelProperties)
VCL_CLASS_IMPL(TPanel, TCustomPanel, &CreateComponentOf<TPanel>, nullptr)
VCL_CLASS_IMPL(TImage, TGraphicControl, &CreateComponentOf<TImage>, &ImageProperties)
VCL_CLASS_IMPL(TBevel, TGraphicControl, &CreateComponentOf<TBevel>, &BevelProperties)
VCL_CLASS_IMPL(TShape, TGraphicControl, &CreateComponentOf<TShape>, &ShapeProperties)
VCL_CLASS_IMPL(TSplitter, TGraphicControl, &CreateComponentOf<TSplitter>, &SplitterProperties)
VCL_CLASS_IMPL(TControlScrollBar, TPersistent, nullptr, &ControlScrollBarProperties)
VCL_CLASS_IMPL(TScrollingWinControl, TWinControl, &CreateComponentOf<TScrollingWinControl>,
               &ScrollingWinControlProperties)
VCL_CLASS_IMPL(TScrollBox, TScrollingWinControl, &CreateComponentOf<TScrollBox>, &ScrollBoxProperties)

void RegisterExtControls() {
  RegisterClasses({TPanel::StaticClass(), TImage::StaticClass(), TBevel::StaticClass(), TShape::StaticClass(),
                   TSplitter::StaticClass(), TScrollBox::StaticClass()});
}

void BevelColors(TBevelCut Bevel, TColor& TopColor, TColor& BottomColor) {
  TopColor = Bevel == bvLowered ? clBtnShadow : clBtnHighlight;
  BottomColor = Bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}

// ---------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
  // With themes a panel shows what is behind it, as the system's own dialogs do.
  if (ThemeServices()->ThemesEnabled()) ControlStyle = (ControlStyle | csParentBackground) & ~csOpaque;
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
  SetParentColor(false);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); break;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(Message);
      Invalidate();
      break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  // Resize repaints as FullRepaint says; the class does not repaint on its own.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::Resize() {
  if (FullRepaint) Invalidate();
  TCustomControl::Resize();
}

void TCustomPanel::AdjustClientRect(RECT& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  int inset = FBorderWidth;
  if (FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBevelInner != bvNone) inset += FBevelWidth;
  InflateRect(&Rect, -inset, -inset);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(int Value) {
  if (Value < 1) Value = 1;
  if (FBevelWidth == Value) return;
  FBevelWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderWidth(int Value) {
  if (Value < 0) Value = 0;
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TFormBorderStyle Value) {
  if (Value != bsSingle) Value = bsNone;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomPanel::SetParentBackground(bool Value) {
  FParentBackgroundSet = true;
  if (ParentBackground() == Value) return;
  if (Value)
    ControlStyle = (ControlStyle | csParentBackground) & ~csOpaque;
  else
    ControlStyle = (ControlStyle & ~csParentBackground) | csOpaque;
  Invalidate();
}

bool TCustomPanel::ThemedBackground() const { return ThemeServices()->ThemesEnabled() && ParentBackground(); }

void TCustomPanel::WMEraseBkgnd(TMessage& Message) {
  if (ThemedBackground() && HandleAllocated()) {
    RECT r = ClientRect();
    if (ThemeServices()->DrawParentBackground(WindowHandle(), reinterpret_cast<HDC>(Message.WParam), &r)) {
      Message.Result = 1;
      return;
    }
    // The parent cannot paint for us: its colour it is.
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Parent() ? Parent()->Color() : Color()));
    FillRect(reinterpret_cast<HDC>(Message.WParam), &r, brush);
    DeleteObject(brush);
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomPanel::PaintFrame(TCanvas* Canvas, RECT& Rect) {
  TColor top, bottom;
  if (FBevelOuter != bvNone) {
    BevelColors(FBevelOuter, top, bottom);
    Frame3D(Canvas, Rect, top, bottom, FBevelWidth);
  }
  if (ThemedBackground())
    InflateRect(&Rect, -FBorderWidth, -FBorderWidth);
  else
    Frame3D(Canvas, Rect, Color(), Color(), FBorderWidth);
  if (FBevelInner != bvNone) {
    BevelColors(FBevelInner, top, bottom);
    Frame3D(Canvas, Rect, top, bottom, FBevelWidth);
  }
  if (!ThemedBackground()) {
    Canvas->Brush()->SetColor(Color());
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->FillRect(Rect);
  }
}

RECT TCustomPanel::CaptionBand(const RECT& Rect, int TextHeight) {
  RECT r = Rect;
  r.top = (Rect.top + Rect.bottom - TextHeight) / 2;
  r.bottom = r.top + TextHeight;
  return r;
}

UINT TCustomPanel::CaptionFlags() const {
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  return DrawTextBiDiModeFlags(DT_EXPANDTABS | DT_VCENTER | alignments[FAlignment]);
}

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  PaintFrame(canvas, r);
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetFont(Font());
  r = CaptionBand(r, canvas->TextHeight("W"));
  AnsiString text = Caption();
  canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  DrawTextA(canvas->Handle(), text.c_str(), -1, &r, CaptionFlags());
}

// ---------------------------------------------------------------------------
// TImage

RECT ImageDestRect(int PictureWidth, int PictureHeight, int ClientWidth, int ClientHeight, bool Stretch,
                   bool Proportional, bool Center) {
  int w = PictureWidth, h = PictureHeight;
  if (Stretch || (Proportional && (w > ClientWidth || h > ClientHeight))) {
    if (Proportional && w > 0 && h > 0) {
      // The longer side fills the area; the other follows the aspect, and when it would
      // overflow, the roles swap.
      const double aspect = static_cast<double>(w) / h;
      if (w > h) {
        w = ClientWidth;
        h = static_cast<int>(ClientWidth / aspect);
        if (h > ClientHeight) {
          h = ClientHeight;
          w = static_cast<int>(ClientHeight * aspect);
        }
      } else {
        h = ClientHeight;
        w = static_cast<int>(ClientHeight * aspect);
        if (w > ClientWidth) {
          w = ClientWidth;
          h = static_cast<int>(ClientWidth / aspect);
        }
      }
    } else {
      w = ClientWidth;
      h = ClientHeight;
    }
  }
  RECT r{0, 0, w, h};
  if (Center) OffsetRect(&r, (ClientWidth - w) / 2, (ClientHeight - h) / 2);
  return r;
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(new TPicture) {
  ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
  FPicture->OnChange = [this](TObject* sender) { PictureChanged(sender); };
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

void TImage::ReplacePicture(TPicture* Value) {
  std::unique_ptr<TPicture> picture(Value);
  picture->OnChange = FPicture->OnChange;
  FPicture->OnChange = nullptr;
  FPicture = std::move(picture);
  PictureChanged(FPicture.get());
}

RECT TImage::DestRect() {
  return ImageDestRect(FPicture->Width(), FPicture->Height(), Width(), Height(), FStretch, FProportional, FCenter);
}

void TImage::UpdateOpaque() {
  // Only a picture that covers the whole control without holes hides what is behind it.
  TGraphic* g = FPicture->Graphic();
  RECT d = DestRect();
  bool covers = g && !g->Empty() && !FTransparent && !dynamic_cast<TIcon*>(g) && d.left <= 0 && d.top <= 0 &&
                d.right >= Width() && d.bottom >= Height();
  if (covers)
    ControlStyle |= csOpaque;
  else
    ControlStyle &= ~csOpaque;
}

void TImage::PictureChanged(TObject*) {
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
    SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
  UpdateOpaque();
  Invalidate();
}

void TImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  PictureChanged(this);
}

void TImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  PictureChanged(this);
}

void TImage::SetProportional(bool Value) {
  if (FProportional == Value) return;
  FProportional = Value;
  PictureChanged(this);
}

void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  PictureChanged(this);
}

void TImage::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  PictureChanged(this);
}

void TImage::Paint() {
  TGraphic* g = FPicture->Graphic();
  if (!g || g->Empty()) return;
  TCanvas* canvas = Canvas();
  RECT d = DestRect();
  auto* bitmap = dynamic_cast<TBitmap*>(g);
  if (FTransparent && bitmap) {
    TCanvas* source = bitmap->Canvas();
    COLORREF key = ColorToRGB(source->Pixels(0, bitmap->Height() - 1));
    canvas->RequiredState(csHandleValid);
    SetStretchBltMode(canvas->Handle(), COLORONCOLOR);
    canvas->Changing();
    GdiTransparentBlt(canvas->Handle(), d.left, d.top, d.right - d.left, d.bottom - d.top, source->Handle(), 0, 0,
                      bitmap->Width(), bitmap->Height(), key);
    canvas->Changed();
    return;
  }
  canvas->StretchDraw(d, g);
}

// ---------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* canvas = Canvas();
  TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetStyle(psSolid);
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    canvas->Pen()->SetColor(color);
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  };
  // Top and left edges in one colour, bottom and right in the other.
  auto box = [&](TColor topLeft, TColor bottomRight, RECT r) {
    canvas->Pen()->SetColor(topLeft);
    canvas->MoveTo(r.left, r.bottom);
    canvas->LineTo(r.left, r.top);
    canvas->LineTo(r.right, r.top);
    canvas->Pen()->SetColor(bottomRight);
    canvas->LineTo(r.right, r.bottom);
    canvas->LineTo(r.left, r.bottom);
  };
  const int w = Width(), h = Height();
  switch (FShape) {
    case bsBox: box(first, second, RECT{0, 0, w - 1, h - 1}); break;
    case bsFrame:
      // An etched frame: the second colour offset by one, the first over it.
      box(second, second, RECT{1, 1, w - 1, h - 1});
      box(first, first, RECT{0, 0, w - 2, h - 2});
      break;
    case bsTopLine:
      line(first, 0, 0, w, 0);
      line(second, 0, 1, w, 1);
      break;
    case bsBottomLine:
      line(first, 0, h - 2, w, h - 2);
      line(second, 0, h - 1, w, h - 1);
      break;
    case bsLeftLine:
      line(first, 0, 0, 0, h);
      line(second, 1, 0, 1, h);
      break;
    case bsRightLine:
      line(first, w - 2, 0, w - 2, h);
      line(second, w - 1, 0, w - 1, h);
      break;
    case bsSpacer: break;
  }
}

// ---------------------------------------------------------------------------
// TShape

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner), FPen(new TPen), FBrush(new TBrush) {
  SetBounds(0, 0, 65, 65);
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetPen(FPen.get());
  canvas->SetBrush(FBrush.get());
  // The pen is centred on the outline: keep all of it inside the control.
  const int penWidth = FPen->Width();
  int x = penWidth / 2, y = x;
  int w = Width() - penWidth + 1, h = Height() - penWidth + 1;
  if (penWidth == 0) {
    --w;
    --h;
  }
  const int s = std::min(w, h);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    x += (w - s) / 2;
    y += (h - s) / 2;
    w = h = s;
  }
  canvas->RequiredState(csHandleValid | csPenValid | csBrushValid);
  canvas->Changing();
  HDC dc = canvas->Handle();
  switch (FShape) {
    case stRectangle:
    case stSquare: ::Rectangle(dc, x, y, x + w, y + h); break;
    case stRoundRect:
    case stRoundSquare: ::RoundRect(dc, x, y, x + w, y + h, s / 4, s / 4); break;
    case stEllipse:
    case stCircle: ::Ellipse(dc, x, y, x + w, y + h); break;
  }
  canvas->Changed();
}

// ---------------------------------------------------------------------------
// TSplitter

int SplitterNewSize(TAlign Align, int OldSize, int Delta, int MinSize, int MaxSize) {
  int size = (Align == alRight || Align == alBottom) ? OldSize - Delta : OldSize + Delta;
  if (size > MaxSize) size = MaxSize;
  if (size < MinSize) size = MinSize;
  return size;
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle = csCaptureMouse;
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
}

void TSplitter::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
}

TControl* TSplitter::FindResizedControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  // The control just before the splitter on its side: the point one pixel outside it.
  POINT p{Left(), Top()};
  switch (Align()) {
    case alLeft: p.x -= 1; break;
    case alRight: p.x += Width(); break;
    case alTop: p.y -= 1; break;
    case alBottom: p.y += Height(); break;
    default: return nullptr;
  }
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    RECT r = c->BoundsRect();
    if (r.right - r.left == 0) {
      if (Align() == alLeft || Align() == alRight) --r.left; else --r.top;
    }
    if (PtInRect(&r, p)) return c;
  }
  return nullptr;
}

int TSplitter::ParentPos(int X, int Y) const {
  return (Align() == alLeft || Align() == alRight) ? Left() + X : Top() + Y;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FControl = FindResizedControl();
  if (!FControl) return;
  const bool horizontal = Align() == alLeft || Align() == alRight;
  FOldSize = horizontal ? FControl->Width() : FControl->Height();
  FDownPos = ParentPos(X, Y);
  // What the others aligned across the same axis leave free, less the smallest size for
  // whatever fills the rest.
  TWinControl* parent = Parent();
  FMaxSize = (horizontal ? parent->ClientWidth() : parent->ClientHeight()) - MinSize;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    if (horizontal && (c->Align() == alLeft || c->Align() == alRight)) FMaxSize -= c->Width();
    if (!horizontal && (c->Align() == alTop || c->Align() == alBottom)) FMaxSize -= c->Height();
  }
  FMaxSize += FOldSize;
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FControl || !(Shift & ssLeft)) return;
  const int newSize = SplitterNewSize(Align(), FOldSize, ParentPos(X, Y) - FDownPos, MinSize, FMaxSize);
  const bool horizontal = Align() == alLeft || Align() == alRight;
  const int current = horizontal ? FControl->Width() : FControl->Height();
  if (newSize == current) return;
  // The splitter moves with the control: keep the drag measured from where it began.
  if (horizontal)
    FControl->SetWidth(newSize);
  else
    FControl->SetHeight(newSize);
  if (Align() == alRight || Align() == alBottom) {
    // A right or bottom control grows towards the left or top: move it back in place.
    if (horizontal)
      FControl->SetLeft(FControl->Left() - (newSize - current));
    else
      FControl->SetTop(FControl->Top() - (newSize - current));
  }
  if (Parent()) Parent()->Update();
  if (OnMoved) OnMoved(this);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  FControl = nullptr;
}

// ---------------------------------------------------------------------------
// TControlScrollBar

TControlScrollBar::TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind)
    : FControl(Control), FKind(Kind) {}

void TControlScrollBar::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TControlScrollBar*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  Increment = other->Increment;
  Tracking = other->Tracking;
  FVisible = other->FVisible;
  SetRange(other->FRange);
  SetPosition(other->FPosition);
}

int TControlScrollBar::ClientExtent() const {
  RECT r = FControl->ClientRect();
  return FKind == sbHorizontal ? r.right - r.left : r.bottom - r.top;
}

int TControlScrollBar::MaxPosition() const { return std::max(0, FRange - ClientExtent()); }

bool TControlScrollBar::IsScrollBarVisible() const { return FVisible && FRange > ClientExtent(); }

void TControlScrollBar::SetPosition(int Value) {
  // While a description is read the client area is not final yet: keep the value as it is.
  if (!FControl->HasState(csLoading)) Value = std::clamp(Value, 0, MaxPosition());
  if (Value == FPosition) return;
  const int delta = FPosition - Value;
  FPosition = Value;
  if (FKind == sbHorizontal)
    FControl->ScrollBy(delta, 0);
  else
    FControl->ScrollBy(0, delta);
  Update();
}

bool TControlScrollBar::IsRangeStored() const { return !FControl->AutoScroll(); }

void TControlScrollBar::SetRangeInternal(int Value) { FRange = std::max(0, Value); }

void TControlScrollBar::SetRange(int Value) {
  FControl->FAutoScroll = false;
  SetRangeInternal(Value);
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  FControl->UpdateScrollBars();
}

void TControlScrollBar::Update() {
  if (!FControl->HandleAllocated()) return;
  const int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (IsScrollBarVisible()) {
    si.nMin = 0;
    si.nMax = FRange - 1;
    si.nPage = static_cast<UINT>(ClientExtent());
    si.nPos = FPosition;
  }
  // An empty range hides the bar.
  SetScrollInfo(FControl->WindowHandle(), bar, &si, TRUE);
}

void TControlScrollBar::ScrollMessage(TMessage& Message) {
  const int code = LOWORD(Message.WParam);
  const int page = std::max(1, ClientExtent() * 9 / 10);
  int pos = FPosition;
  switch (code) {
    case SB_LINEUP: pos -= Increment; break;
    case SB_LINEDOWN: pos += Increment; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = MaxPosition(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      if (code == SB_THUMBTRACK && !Tracking) return;
      // The 32-bit track position; the message carries only 16 bits.
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(FControl->WindowHandle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, &si))
        pos = si.nTrackPos;
      else
        pos = HIWORD(Message.WParam);
      break;
    }
    default: return;
  }
  SetPosition(pos);
}

// ---------------------------------------------------------------------------
// TScrollingWinControl

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      FHorzScrollBar(new TControlScrollBar(this, sbHorizontal)),
      FVertScrollBar(new TControlScrollBar(this, sbVertical)) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks;
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
      // Messages of scroll bar controls inside come with their window; ours without.
      if (Message.LParam == 0) FHorzScrollBar->ScrollMessage(Message); else TWinControl::Dispatch(Message);
      break;
    case WM_VSCROLL:
      if (Message.LParam == 0) FVertScrollBar->ScrollMessage(Message); else TWinControl::Dispatch(Message);
      break;
    case WM_SIZE:
      TWinControl::Dispatch(Message);
      UpdateScrollBars();
      break;
    default: TWinControl::Dispatch(Message); break;
  }
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  CalcAutoRange();
  UpdateScrollBars();
}

void TScrollingWinControl::SetAutoScroll(bool Value) {
  if (FAutoScroll == Value) return;
  FAutoScroll = Value;
  if (Value) {
    CalcAutoRange();
  } else {
    FHorzScrollBar->SetRangeInternal(0);
    FVertScrollBar->SetRangeInternal(0);
  }
  UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* AControl, RECT& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  CalcAutoRange();
  UpdateScrollBars();
}

void TScrollingWinControl::CalcAutoRange() {
  if (!FAutoScroll || HasState(csLoading)) return;
  // In unscrolled coordinates: where the children end, position added back.
  int right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    if (c->Align() == alNone || c->Align() == alLeft || c->Align() == alTop) {
      right = std::max(right, FHorzScrollBar->FPosition + c->Left() + c->Width());
      bottom = std::max(bottom, FVertScrollBar->FPosition + c->Top() + c->Height());
    }
  }
  FHorzScrollBar->SetRangeInternal(right);
  FVertScrollBar->SetRangeInternal(bottom);
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars || !HandleAllocated()) return;
  ++FUpdatingScrollBars;
  ScopeExit done{[this] { --FUpdatingScrollBars; }};
  // Showing one bar narrows the area of the other: settle in two rounds.
  for (int round = 0; round < 2; ++round) {
    FHorzScrollBar->Update();
    FVertScrollBar->Update();
  }
  // A larger view may leave the position past the end.
  for (TControlScrollBar* bar : {FHorzScrollBar.get(), FVertScrollBar.get()})
    if (!bar->IsScrollBarVisible() && bar->FPosition != 0)
      bar->SetPosition(0);
    else if (bar->FPosition > bar->MaxPosition())
      bar->SetPosition(bar->MaxPosition());
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY) {
  if (DeltaX == 0 && DeltaY == 0) return;
  DisableAlign();
  ScopeExit enable{[this] { EnableAlign(); }};
  // Moving children asks for alignment, which must not measure the range mid-way.
  const bool autoScroll = FAutoScroll;
  FAutoScroll = false;
  ScopeExit restore{[this, autoScroll] { FAutoScroll = autoScroll; }};
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
  }
  Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || AControl->Parent() != this) return;
  RECT r = AControl->BoundsRect();
  const int cw = ClientWidth(), ch = ClientHeight();
  if (r.left < 0)
    FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + r.left);
  else if (r.right > cw)
    FHorzScrollBar->SetPosition(FHorzScrollBar->Position() + std::min(r.right - cw, r.left));
  if (r.top < 0)
    FVertScrollBar->SetPosition(FVertScrollBar->Position() + r.top);
  else if (r.bottom > ch)
    FVertScrollBar->SetPosition(FVertScrollBar->Position() + std::min(r.bottom - ch, r.top));
}

// ---------------------------------------------------------------------------
// TScrollBox

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  ControlStyle |= csSetCaption;
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TFormBorderStyle Value) {
  if (Value != bsSingle) Value = bsNone;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}
