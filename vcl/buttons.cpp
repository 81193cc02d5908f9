#include "vcl/buttons.h"

#include <algorithm>

#include "vcl/keyboard.h"
#include "vcl/scopeexit.h"
#include "vcl/streaming.h"
#include "vcl/themes.h"

namespace {

const std::vector<TPropInfo>& BitBtnProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TBitBtn>()
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TBitBtn::IsCustomCaption)
      .Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph).Stored(&TBitBtn::IsCustom)
      .Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom)
      .Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout).Default(blGlyphLeft)
      .Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin).Default(-1)
      .Property("ModalResult", &TButton::ModalResult).Stored(&TBitBtn::IsCustom)
      .Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs).Default(1)
      .Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing).Default(4)
      .Property("WordWrap", &TBitBtn::WordWrap, &TBitBtn::SetWordWrap).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& SpeedButtonProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TSpeedButton>()
      .Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false)
      .Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0)
      .Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false)
      .Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
      .Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft)
      .Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1)
      .Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1)
      .Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4)
      .Property("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent).Default(true)
      .Table();
  return table;
}

struct TKindInfo {
  const char* Caption;
  TModalResult Result;
};

const TKindInfo kKinds[] = {
    {"", mrNone},         {"OK", mrOk},        {"Cancel", mrCancel}, {"&Help", mrNone},
    {"&Yes", mrYes},      {"&No", mrNo},       {"&Close", mrNone},   {"Abort", mrAbort},
    {"&Retry", mrRetry},  {"&Ignore", mrIgnore}, {"&All", mrAll},
};

bool IsPressedLook(TButtonState State) { return State == bsDown || State == bsExclusive; }

// Light and face dots in turn: the look of a button that stays down.
HBRUSH CreateDitherBrush() {
  static const WORD bits[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  HBITMAP pattern = CreateBitmap(8, 8, 1, 1, bits);
  HBRUSH brush = CreatePatternBrush(pattern);
  DeleteObject(pattern);
  return brush;
}

void FillDithered(HDC DC, const RECT& R) {
  HBRUSH brush = CreateDitherBrush();
  COLORREF oldText = SetTextColor(DC, ColorToRGB(clBtnFace));
  COLORREF oldBk = SetBkColor(DC, ColorToRGB(clBtnHighlight));
  FillRect(DC, &R, brush);
  SetTextColor(DC, oldText);
  SetBkColor(DC, oldBk);
  DeleteObject(brush);
}

}  // namespace

VCL_CLASS_IMPL(TButtonGlyph, TObject, nullptr, nullptr)
VCL_CLASS_IMPL(TBitBtn, TButton, &CreateComponentOf<TBitBtn>, &BitBtnProperties)
VCL_CLASS_IMPL(TSpeedButtonActionLink, TControlActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TSpeedButton, TGraphicControl, &CreateComponentOf<TSpeedButton>, &SpeedButtonProperties)

void RegisterButtonControls() { RegisterClasses({TBitBtn::StaticClass(), TSpeedButton::StaticClass()}); }

AnsiString BitBtnCaption(TBitBtnKind Kind) { return kKinds[Kind].Caption; }
TModalResult BitBtnModalResult(TBitBtnKind Kind) { return kKinds[Kind].Result; }

// ---------------------------------------------------------------------------
// Layout

TButtonLayoutPlaces CalcButtonLayout(const RECT& Client, POINT Offset, SIZE TextSize, SIZE GlyphSize,
                                     TButtonLayout Layout, int Margin, int Spacing, bool RightToLeft) {
  if (RightToLeft) {
    if (Layout == blGlyphLeft)
      Layout = blGlyphRight;
    else if (Layout == blGlyphRight)
      Layout = blGlyphLeft;
  }
  const POINT clientSize{Client.right - Client.left, Client.bottom - Client.top};
  POINT glyphPos{}, textPos{};
  const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  if (horizontal) {
    glyphPos.y = (clientSize.y - GlyphSize.cy + 1) / 2;
    textPos.y = (clientSize.y - TextSize.cy + 1) / 2;
  } else {
    glyphPos.x = (clientSize.x - GlyphSize.cx + 1) / 2;
    textPos.x = (clientSize.x - TextSize.cx + 1) / 2;
  }
  // Along the layout's axis.
  const int room = horizontal ? clientSize.x : clientSize.y;
  const int glyphLength = horizontal ? GlyphSize.cx : GlyphSize.cy;
  const int textLength = horizontal ? TextSize.cx : TextSize.cy;
  if (TextSize.cx == 0 || GlyphSize.cx == 0) Spacing = 0;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (room - (glyphLength + textLength)) / 3;
      Spacing = Margin;
    } else {
      Margin = (room - (glyphLength + Spacing + textLength) + 1) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (room - (Margin + glyphLength) - textLength) / 2;
  }
  switch (Layout) {
    case blGlyphLeft:
      glyphPos.x = Margin;
      textPos.x = glyphPos.x + GlyphSize.cx + Spacing;
      break;
    case blGlyphRight:
      glyphPos.x = clientSize.x - Margin - GlyphSize.cx;
      textPos.x = glyphPos.x - Spacing - TextSize.cx;
      break;
    case blGlyphTop:
      glyphPos.y = Margin;
      textPos.y = glyphPos.y + GlyphSize.cy + Spacing;
      break;
    case blGlyphBottom:
      glyphPos.y = clientSize.y - Margin - GlyphSize.cy;
      textPos.y = glyphPos.y - Spacing - TextSize.cy;
      break;
  }
  TButtonLayoutPlaces places;
  places.GlyphPos = POINT{glyphPos.x + Client.left + Offset.x, glyphPos.y + Client.top + Offset.y};
  const int left = textPos.x + Client.left + Offset.x, top = textPos.y + Client.top + Offset.y;
  places.TextBounds = RECT{left, top, left + TextSize.cx, top + TextSize.cy};
  return places;
}

// ---------------------------------------------------------------------------
// TButtonGlyph

TButtonGlyph::TButtonGlyph() : FGlyph(new TBitmap) {
  FGlyph->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
}

TButtonGlyph::~TButtonGlyph() { Invalidate(); }

void TButtonGlyph::Invalidate() {
  if (FImageList) ImageList_Destroy(FImageList);
  FImageList = nullptr;
  std::fill(std::begin(FIndexes), std::end(FIndexes), -1);
}

void TButtonGlyph::GlyphChanged(TObject*) {
  Invalidate();
  // A strip whose width is a multiple of its height holds that many square images.
  int width = FGlyph->Width(), height = FGlyph->Height();
  if (height > 0 && width > 0 && width % height == 0) {
    int count = width / height;
    FNumGlyphs = count <= 4 ? count : 1;
  }
  if (OnChange) OnChange(this);
}

void TButtonGlyph::SetGlyph(TBitmap* Value) {
  Invalidate();
  FGlyph->Assign(Value);  // runs GlyphChanged
}

void TButtonGlyph::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (Value == FNumGlyphs) return;
  Invalidate();
  FNumGlyphs = Value;
  if (OnChange) OnChange(this);
}

SIZE TButtonGlyph::GlyphSize() const {
  if (FGlyph->Empty()) return SIZE{0, 0};
  return SIZE{FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
}

HBITMAP TButtonGlyph::MakeStateImage(int ImageIndex, bool Engraved, COLORREF& Transparent) const {
  // A bitmap of its own (never selected anywhere once made): the image list copies it.
  SIZE size = GlyphSize();
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP image = CreateCompatibleBitmap(screen, size.cx, size.cy);
  ReleaseDC(nullptr, screen);
  if (!mem || !image) {
    if (mem) DeleteDC(mem);
    if (image) DeleteObject(image);
    throw EOutOfResources("Error creating glyph image");
  }
  HGDIOBJ old = SelectObject(mem, image);
  HDC glyph = FGlyph->Canvas()->Handle();
  BitBlt(mem, 0, 0, size.cx, size.cy, glyph, ImageIndex * size.cx, 0, SRCCOPY);
  Transparent = GetPixel(glyph, 0, FGlyph->Height() - 1);
  if (Engraved) {
    // The dark parts of the image, engraved: light one pixel below right, shadow on top;
    // everything else a ground that is neither (the glyph's own transparent colour may be
    // the light one).
    COLORREF transparent = Transparent;
    Transparent = RGB(0xFF, 0x00, 0xFF);
    std::vector<bool> ink(static_cast<size_t>(size.cx * size.cy));
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x) {
        COLORREF c = GetPixel(mem, x, y);
        bool dark = GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 0xC0;
        ink[static_cast<size_t>(y * size.cx + x)] = c != transparent && dark;
      }
    RECT all{0, 0, size.cx, size.cy};
    HBRUSH background = CreateSolidBrush(Transparent);
    FillRect(mem, &all, background);
    DeleteObject(background);
    COLORREF light = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    for (int y = 0; y + 1 < size.cy; ++y)
      for (int x = 0; x + 1 < size.cx; ++x)
        if (ink[static_cast<size_t>(y * size.cx + x)]) SetPixel(mem, x + 1, y + 1, light);
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x)
        if (ink[static_cast<size_t>(y * size.cx + x)]) SetPixel(mem, x, y, shadow);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  return image;
}

int TButtonGlyph::GlyphIndex(TButtonState State) {
  if (FGlyph->Empty()) return -1;
  if (FIndexes[State] >= 0) return FIndexes[State];
  SIZE size = GlyphSize();
  if (!FImageList) {
    FImageList = ImageList_Create(size.cx, size.cy, ILC_COLOR24 | ILC_MASK, 4, 0);
    if (!FImageList) throw EOutOfResources("Error creating image list");
  }
  HBITMAP image = nullptr;
  COLORREF transparent = 0;
  switch (State) {
    case bsUp: image = MakeStateImage(0, false, transparent); break;
    case bsDisabled: image = MakeStateImage(FNumGlyphs >= 2 ? 1 : 0, FNumGlyphs < 2, transparent); break;
    case bsDown:
      if (FNumGlyphs < 3) return FIndexes[bsDown] = GlyphIndex(bsUp);
      image = MakeStateImage(2, false, transparent);
      break;
    case bsExclusive:
      if (FNumGlyphs < 4) return FIndexes[bsExclusive] = GlyphIndex(bsDown);
      image = MakeStateImage(3, false, transparent);
      break;
  }
  int index = ImageList_AddMasked(FImageList, image, transparent);
  DeleteObject(image);
  FIndexes[State] = index;
  return index;
}

void TButtonGlyph::DrawGlyph(HDC DC, POINT Pos, TButtonState State, bool Transparent) {
  int index = GlyphIndex(State);
  if (index < 0) return;
  if (ThemeServices()->ThemesEnabled()) {
    SIZE size = GlyphSize();
    RECT r{Pos.x, Pos.y, Pos.x + size.cx, Pos.y + size.cy};
    TThemedButtonState look = State == bsDisabled ? tbsDisabled : IsPressedLook(State) ? tbsPressed : tbsNormal;
    if (ThemeServices()->DrawIcon(DC, PushButtonDetails(look), r, FImageList, index)) return;
  }
  if (Transparent || State == bsExclusive)
    ImageList_DrawEx(FImageList, index, DC, Pos.x, Pos.y, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
  else
    ImageList_DrawEx(FImageList, index, DC, Pos.x, Pos.y, 0, 0, ColorToRGB(clBtnFace), CLR_NONE, ILD_NORMAL);
}

RECT TButtonGlyph::Draw(TCanvas* Canvas, const RECT& Client, POINT Offset, const TButtonTextDrawer& Text,
                        bool HasText, TButtonLayout Layout, int Margin, int Spacing, TButtonState State,
                        bool Transparent, bool WordWrap, UINT BiDiFlags) {
  Canvas->RequiredState(csHandleValid | csFontValid);
  HDC dc = Canvas->Handle();
  SIZE textSize{0, 0};
  if (HasText) {
    RECT measured{0, 0, WordWrap ? Client.right - Client.left : 0, 0};
    Text(dc, measured, DT_CALCRECT | (WordWrap ? DT_WORDBREAK : 0) | BiDiFlags);
    textSize = SIZE{measured.right - measured.left, measured.bottom - measured.top};
  }
  TButtonLayoutPlaces places = CalcButtonLayout(Client, Offset, textSize, GlyphSize(), Layout, Margin, Spacing,
                                                (BiDiFlags & DT_RTLREADING) != 0);
  DrawGlyph(dc, places.GlyphPos, State, Transparent);
  if (!HasText) return places.TextBounds;
  RECT r = places.TextBounds;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  ScopeExit restore{[&] { SetBkMode(dc, oldMode); }};
  UINT flags = (WordWrap ? DT_CENTER | DT_WORDBREAK : DT_CENTER | DT_VCENTER) | BiDiFlags;
  if (State == bsDisabled) {
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, ColorToRGB(clBtnHighlight));
    Text(dc, shifted, flags);
    SetTextColor(dc, ColorToRGB(clBtnShadow));
    Text(dc, r, flags);
  } else {
    SetTextColor(dc, ColorToRGB(Canvas->Font()->Color()));
    Text(dc, r, flags);
  }
  return places.TextBounds;
}

// ---------------------------------------------------------------------------
// TBitBtn

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FButtonGlyph(new TButtonGlyph), FCanvas(new TCanvas) {
  FButtonGlyph->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
}

TBitBtn::~TBitBtn() {
  Destroying();
  FCanvas->SetHandle(nullptr);
}

void TBitBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style = (Params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::GlyphChanged(TObject*) {
  // Reading a description restores the glyph the button had; only later changes count.
  if (!HasState(csReading) && !HasState(csLoading)) FModifiedGlyph = true;
  Invalidate();
}

TBitBtnKind TBitBtn::Kind() {
  if (FKind != bkCustom) {
    bool isDefault = FKind == bkOK || FKind == bkYes;
    bool isCancel = FKind == bkCancel || FKind == bkNo;
    if (isDefault != Default() || isCancel != Cancel || ModalResult != BitBtnModalResult(FKind) || FModifiedGlyph)
      FKind = bkCustom;
  }
  return FKind;
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  if (Value == FKind) return;
  if (Value != bkCustom) {
    SetDefault(Value == bkOK || Value == bkYes);
    Cancel = Value == bkCancel || Value == bkNo;
    bool loading = HasState(csReading) || HasState(csLoading);
    if (!loading || Caption().empty()) SetCaption(BitBtnCaption(Value));
    ModalResult = BitBtnModalResult(Value);
    FModifiedGlyph = false;
  }
  FKind = Value;
  Invalidate();
}

bool TBitBtn::IsCustomCaption() const {
  auto* self = const_cast<TBitBtn*>(this);  // reading the text asks the window
  return self->Caption() != BitBtnCaption(self->Kind());
}

void TBitBtn::SetGlyph(TBitmap* Value) { FButtonGlyph->SetGlyph(Value); }

void TBitBtn::SetNumGlyphs(int Value) { FButtonGlyph->SetNumGlyphs(Value); }

void TBitBtn::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TBitBtn::SetMargin(int Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TBitBtn::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TBitBtn::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  Invalidate();
}

bool TBitBtn::HasCaption() { return GetTextLen() > 0; }

void TBitBtn::DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) {
  AnsiString text = Caption();
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
}

bool TBitBtn::DrawThemedFace(HDC DC, RECT& Rect, bool Down, bool Active) {
  TThemeServices* themes = ThemeServices();
  if (!themes->ThemesEnabled()) return false;
  TThemedButtonState state = !Enabled()        ? tbsDisabled
                             : Down            ? tbsPressed
                             : FMouseInControl ? tbsHot
                             : Active          ? tbsDefaulted
                                               : tbsNormal;
  TThemedElementDetails details = PushButtonDetails(state);
  // The theme's rounded corners show the parent's colour behind the button.
  HBRUSH behind = CreateSolidBrush(ColorToRGB(Parent() ? Parent()->Color() : clBtnFace));
  FillRect(DC, &Rect, behind);
  DeleteObject(behind);
  if (!themes->DrawElement(DC, details, Rect)) return false;
  Rect = themes->ContentRect(DC, details, Rect);
  return true;
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& DrawItemStruct) {
  FCanvas->SetHandle(DrawItemStruct.hDC);
  ScopeExit release{[this] { FCanvas->SetHandle(nullptr); }};
  FCanvas->SetFont(Font());
  HDC dc = DrawItemStruct.hDC;
  RECT r;
  GetClientRect(DrawItemStruct.hwndItem, &r);
  const bool down = (DrawItemStruct.itemState & ODS_SELECTED) != 0;
  const bool focused = (DrawItemStruct.itemState & ODS_FOCUS) != 0;
  // The default button shows the heavy frame unless another push button has the focus.
  bool active = focused;
  if (!active && Default()) active = dynamic_cast<TButton*>(FindControl(GetFocus())) == nullptr;

  if (!DrawThemedFace(dc, r, down, active)) {
    if (active) {
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&r, -1, -1);
    }
    UINT frame = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (down) frame |= DFCS_PUSHED;
    DrawFrameControl(dc, &r, DFC_BUTTON, frame);
  }

  TButtonState state = !Enabled() ? bsDisabled : down ? bsDown : bsUp;
  POINT offset = down ? POINT{1, 1} : POINT{0, 0};
  FButtonGlyph->Draw(
      FCanvas.get(), r, offset, [this](HDC d, RECT& rc, UINT f) { DrawCaptionText(d, rc, f); }, HasCaption(), FLayout,
      FMargin, FSpacing, state, false, FWordWrap, DrawTextBiDiModeFlagsReadingOnly());
  if (focused) {
    RECT focus;
    GetClientRect(DrawItemStruct.hwndItem, &focus);
    InflateRect(&focus, -4, -4);
    SetTextColor(dc, ColorToRGB(clWindowText));
    SetBkColor(dc, ColorToRGB(clBtnFace));
    DrawFocusRect(dc, &focus);
  }
}

void TBitBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM:
      if (const DRAWITEMSTRUCT* dis = TWMDrawItem{Message}.DrawItemStruct()) DrawItem(*dis);
      Message.Result = TRUE;
      break;
    case BM_SETSTYLE:
      // The dialog manager and Default ask for BS_DEFPUSHBUTTON: an owner-drawn button
      // draws its default frame itself, and stays owner-drawn.
      Invalidate();
      break;
    case WM_LBUTTONDBLCLK:
      // A quick second click is a click, not a double click.
      Message.Msg = WM_LBUTTONDOWN;
      TButton::Dispatch(Message);
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FMouseInControl = Message.Msg == CM_MOUSEENTER;
      TButton::Dispatch(Message);
      // Only the themed look follows the mouse.
      if (ThemeServices()->ThemesEnabled()) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      TButton::Dispatch(Message);
      Invalidate();
      break;
    default: TButton::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------
// TSpeedButtonActionLink

TSpeedButtonActionLink::TSpeedButtonActionLink(TSpeedButton* AClient)
    : TControlActionLink(AClient), FButton(AClient) {}

bool TSpeedButtonActionLink::IsCheckedLinked() {
  return TControlActionLink::IsCheckedLinked() && CustomAction() && FButton->GroupIndex() != 0 &&
         FButton->AllowAllUp() && FButton->Down() == CustomAction()->Checked();
}

void TSpeedButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FButton->SetDown(Value);
}

// ---------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FButtonGlyph(new TButtonGlyph) {
  ControlStyle = csCaptureMouse | csDoubleClicks;
  SetBounds(0, 0, 23, 22);
  FButtonGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() { Destroying(); }

TControlActionLink* TSpeedButton::CreateActionLink() { return new TSpeedButtonActionLink(this); }

void TSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TGraphicControl::ActionChange(Sender, CheckDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(Sender))
    if (!CheckDefaults || !FDown) SetDown(action->Checked());
}

void TSpeedButton::Loaded() {
  TGraphicControl::Loaded();
  FState = !Enabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
}

bool TSpeedButton::HasCaption() { return GetTextLen() > 0; }

void TSpeedButton::DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) {
  AnsiString text = Caption();
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
}

bool TSpeedButton::IsAccelOfCaption(WORD CharCode) { return IsAccel(CharCode, Caption()); }

void TSpeedButton::Paint() {
  if (!Enabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  }
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->RequiredState(csHandleValid | csFontValid);
  HDC dc = canvas->Handle();
  RECT r = ClientRect();
  const bool themed = DrawThemedFace(dc, r);
  if (themed) {
    // The theme has drawn frame and background, the down look too.
  } else if (!FFlat) {
    UINT frame = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
    if (IsPressedLook(FState)) frame |= DFCS_PUSHED;
    DrawFrameControl(dc, &r, DFC_BUTTON, frame);
  } else {
    if (!FTransparent) {
      canvas->Brush()->SetColor(Color());
      canvas->Brush()->SetStyle(bsSolid);
      canvas->FillRect(r);
    }
    if (IsPressedLook(FState) || (FMouseInControl && FState != bsDisabled)) {
      RECT edge = r;
      DrawEdge(dc, &edge, IsPressedLook(FState) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    InflateRect(&r, -1, -1);
  }
  if (!themed && FState == bsExclusive && (!FFlat || !FMouseInControl)) FillDithered(dc, r);
  POINT offset = IsPressedLook(FState) ? POINT{1, 1} : POINT{0, 0};
  FButtonGlyph->Draw(
      canvas, r, offset, [this](HDC d, RECT& rc, UINT f) { DrawCaptionText(d, rc, f); }, HasCaption(), FLayout,
      FMargin, FSpacing, FState, FTransparent, false, DrawTextBiDiModeFlagsReadingOnly());
}

bool TSpeedButton::DrawThemedFace(HDC DC, RECT& Rect) {
  TThemeServices* themes = ThemeServices();
  if (!themes->ThemesEnabled()) return false;
  const bool hot = FMouseInControl && FState != bsDisabled;
  TThemedElementDetails details;
  if (FFlat) {
    TThemedToolButtonState state = FState == bsDisabled  ? ttbDisabled
                                   : FState == bsDown    ? ttbPressed
                                   : FState == bsExclusive ? (hot ? ttbHotChecked : ttbChecked)
                                   : hot                 ? ttbHot
                                                         : ttbNormal;
    details = ToolButtonDetails(state);
    if (!FTransparent) {
      Canvas()->Brush()->SetColor(Color());
      Canvas()->Brush()->SetStyle(bsSolid);
      Canvas()->FillRect(Rect);
    }
  } else {
    TThemedButtonState state = FState == bsDisabled    ? tbsDisabled
                               : IsPressedLook(FState) ? tbsPressed
                               : hot                   ? tbsHot
                                                       : tbsNormal;
    details = PushButtonDetails(state);
  }
  if (!themes->DrawElement(DC, details, Rect)) return false;
  Rect = themes->ContentRect(DC, details, Rect);
  return true;
}

void TSpeedButton::UpdateTracking(POINT Pos) {
  if (!Enabled()) return;
  RECT client = ClientRect();
  bool inside = PtInRect(&client, Pos) != FALSE;
  TButtonState state = FDown ? bsExclusive : inside ? bsDown : bsUp;
  if (state != FState) {
    FState = state;
    Invalidate();
  }
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (FDragging) UpdateTracking(POINT{X, Y});
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  RECT client = ClientRect();
  POINT p{X, Y};
  bool clicked = PtInRect(&client, p) != FALSE;
  if (FGroupIndex == 0) {
    FState = bsUp;
    FMouseInControl = false;
    Invalidate();
  } else if (clicked) {
    SetDown(!FDown);
    if (FDown) Invalidate();
  } else {
    if (FDown) FState = bsExclusive;
    Invalidate();
  }
  if (clicked) Click();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // The down button of a group that may not be all up stays down.
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  if (Value) {
    FState = bsExclusive;
  } else {
    FState = bsUp;
  }
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
  Parent()->Broadcast(m);
}

void TSpeedButton::ButtonPressed(TMessage& Message) {
  auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
  if (static_cast<int>(Message.WParam) != FGroupIndex || sender == this) return;
  if (sender->Down() && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->AllowAllUp();
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* Value) { FButtonGlyph->SetGlyph(Value); }

void TSpeedButton::SetNumGlyphs(int Value) { FButtonGlyph->SetNumGlyphs(Value); }

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value)
    ControlStyle &= ~csOpaque;
  else
    ControlStyle |= csOpaque;
  Invalidate();
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED: ButtonPressed(Message); break;
    case CM_DIALOGCHAR:
      if (IsAccelOfCaption(TWMKey{Message}.CharCode()) && Enabled() && Visible() && Parent() &&
          Parent()->Showing()) {
        Click();
        Message.Result = 1;
      }
      break;
    case CM_MOUSEENTER:
      TGraphicControl::Dispatch(Message);
      if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        if (FFlat || ThemeServices()->ThemesEnabled()) Invalidate();
      }
      break;
    case CM_MOUSELEAVE:
      TGraphicControl::Dispatch(Message);
      if (FMouseInControl) {
        FMouseInControl = false;
        if (FFlat || ThemeServices()->ThemesEnabled()) Invalidate();
      }
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      TGraphicControl::Dispatch(Message);
      Invalidate();
      break;
    default: TGraphicControl::Dispatch(Message); break;
  }
}
