#include "wizard/page_header.h"

#include <algorithm>

#include "vcl/streaming.h"
#include "wizard/control_support.h"

namespace {

// The canvas's device context with its font, colours and brush selected, for DrawText.
HDC TextDC(TCanvas* Canvas) {
  Canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  return Canvas->Handle();
}

const std::vector<TPropInfo>& HeaderProperties() {
  using H = TKvgWizardHeader;
  static const std::vector<TPropInfo> table = TPropertyTable<H>()
      .Property("Align", &TControl::Align, &TControl::SetAlign).Default(alTop)
      .Property("CaptionFont", &H::CaptionFont, &H::SetCaptionFont)
      .Property("CommentFont", &H::CommentFont, &H::SetCommentFont)
      .Property("SymbolFont", &H::SymbolFont, &H::SetSymbolFont)
      .Property("PageNo", &H::PageNo, &H::SetPageNo).Default(1)
      .Property("Captions", &H::Captions, &H::SetCaptions)
      .Property("Comments", &H::Comments, &H::SetComments)
      .Property("Symbol", &H::Symbol, &H::SetSymbol)
      .Property("Gradient", &H::Gradient, &H::SetGradient)
      .Property("Glyph", &H::Glyph, &H::SetGlyph)
      .Property("BufferedDraw", &H::BufferedDraw, &H::SetBufferedDraw).Default(false)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TKvgWizardHeader, TKvExGraphicControl, &CreateComponentOf<TKvgWizardHeader>, &HeaderProperties)

void RegisterWizardHeader() { RegisterClasses({TKvgWizardHeader::StaticClass()}); }

// --- layout

int HeaderLineIndex(int Count, int PageNo) {
  if (Count <= 0) return -1;
  return std::clamp(PageNo, 0, Count - 1);
}

RECT HeaderCaptionRect(const RECT& Client) {
  return RECT{Client.left + 20, Client.top + 8, Client.right - 60, Client.bottom - 5};
}

RECT HeaderCommentArea(const RECT& Client, int CaptionTextHeight) {
  RECT r = HeaderCaptionRect(Client);
  r.top += CaptionTextHeight;
  r.left += 20;
  return r;
}

RECT CenterComment(const RECT& Area, const RECT& Measured) {
  RECT r = Measured;
  OffsetRect(&r, 0, (Area.bottom - Measured.bottom) / 2);
  return r;
}

POINT HeaderGlyphPosition(const RECT& Client, int ControlHeight, SIZE Glyph) {
  const int d = (ControlHeight - Glyph.cy) / 2;
  return POINT{Client.right - Glyph.cx - d, Client.top + d};
}

RECT HeaderSymbolBox(const RECT& Client, bool GradientActive) {
  RECT r{Client.right - 50, Client.top + 5, Client.right - 5, Client.bottom - 5};
  if (GradientActive) r.bottom -= 3;
  return r;
}

RECT HeaderGradientStrip(const RECT& Client) {
  return RECT{Client.left, Client.bottom - 5, Client.right, Client.bottom - 1};
}

TColor PictureCornerColor(TBitmap* Bitmap, int Corner) {
  if (!Bitmap || Bitmap->Empty() || Corner < 1 || Corner > 4) return 0;
  const int r = Bitmap->Width() - 1, b = Bitmap->Height() - 1;
  const POINT at[4] = {{0, 0}, {0, b}, {r, 0}, {r, b}};
  return Bitmap->Canvas()->Pixels(at[Corner - 1].x, at[Corner - 1].y);
}

void DrawTransparentBitmap(HDC DC, int X, int Y, TBitmap* Bitmap, TColor TransparentColor) {
  const int w = Bitmap->Width(), h = Bitmap->Height();
  HDC src = Bitmap->Canvas()->Handle();
  // A mask white where the picture has the transparent colour; the picture is blended in
  // with XOR, cut by the mask, and XOR-ed back, so the background shows through the mask.
  HDC maskDC = CreateCompatibleDC(DC);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ oldMask = SelectObject(maskDC, mask);
  COLORREF oldBk = SetBkColor(src, ColorToRGB(TransparentColor));
  BitBlt(maskDC, 0, 0, w, h, src, 0, 0, SRCCOPY);
  SetBkColor(src, oldBk);
  COLORREF destBk = SetBkColor(DC, RGB(255, 255, 255));
  COLORREF destText = SetTextColor(DC, RGB(0, 0, 0));
  BitBlt(DC, X, Y, w, h, src, 0, 0, SRCINVERT);
  BitBlt(DC, X, Y, w, h, maskDC, 0, 0, SRCAND);
  BitBlt(DC, X, Y, w, h, src, 0, 0, SRCINVERT);
  SetBkColor(DC, destBk);
  SetTextColor(DC, destText);
  SelectObject(maskDC, oldMask);
  DeleteObject(mask);
  DeleteDC(maskDC);
}

// --- the control

TKvgWizardHeader::TKvgWizardHeader(TComponent* AOwner)
    : TKvExGraphicControl(AOwner),
      FComments(std::make_unique<TStringList>()),
      FCaptions(std::make_unique<TStringList>()),
      FCommentFont(std::make_unique<TFont>()),
      FSymbolFont(std::make_unique<TFont>()),
      FGradient(std::make_unique<TKvgGradient>()) {
  ControlStyle |= csOpaque;
  SetAlign(alTop);
  SetHeight(60);
  // Lines changed through the lists, and gradient changes, show at once.
  FCaptions->OnChange = [this](TObject* s) { SomethingChanged(s); };
  FComments->OnChange = [this](TObject* s) { SomethingChanged(s); };
  FGradient->SetActive(true);
  FGradient->SetFromColor(clHighlight);
  FGradient->SetToColor(clWindow);
  FGradient->SetOrientation(fgdVertical);
  FGradient->OnChange = [this](TObject* s) { SomethingChanged(s); };
  Font()->SetStyle(Font()->Style() | fsBold);
  // The caption keeps its own (bold) font whatever its parent's is.
  SetParentFont(false);
  FCommentFont->OnChange = [this](TObject* s) { SomethingChanged(s); };
  FSymbolFont->SetName("Wingdings");
  FSymbolFont->SetSize(26);
  FSymbolFont->SetColor(clHighlightText);
  FSymbolFont->SetStyle(fsBold);
  FSymbolFont->OnChange = [this](TObject* s) { SomethingChanged(s); };
}

TKvgWizardHeader::~TKvgWizardHeader() {
  FCaptions->OnChange = nullptr;
  FComments->OnChange = nullptr;
  FGradient->OnChange = nullptr;
  FCommentFont->OnChange = nullptr;
  FSymbolFont->OnChange = nullptr;
  if (FGlyph) FGlyph->OnChange = nullptr;
}

void TKvgWizardHeader::SetCaptions(TStringList* Value) {
  FCaptions->Assign(Value);
  Invalidate();
}

void TKvgWizardHeader::SetComments(TStringList* Value) {
  FComments->Assign(Value);
  Invalidate();
}

void TKvgWizardHeader::SetPageNo(int Value) {
  if (Value == FPageNo) return;
  FPageNo = Value;
  Invalidate();
}

void TKvgWizardHeader::SetCaptionFont(TFont* Value) {
  if (Value != Font()) Font()->Assign(Value);
  Invalidate();
}

void TKvgWizardHeader::SetCommentFont(TFont* Value) {
  if (Value != FCommentFont.get()) FCommentFont->Assign(Value);
  Invalidate();
}

void TKvgWizardHeader::SetSymbolFont(TFont* Value) {
  FSymbolFont->Assign(Value);
  Invalidate();
}

void TKvgWizardHeader::SetSymbol(const AnsiString& Value) {
  if (Value == FSymbol) return;
  FSymbol = Value;
  Invalidate();
}

void TKvgWizardHeader::SetBufferedDraw(bool Value) {
  if (Value == FBufferedDraw) return;
  FBufferedDraw = Value;
  Invalidate();
}

TBitmap* TKvgWizardHeader::Glyph() const {
  if (!FGlyph) {
    FGlyph = std::make_unique<TBitmap>();
    auto* self = const_cast<TKvgWizardHeader*>(this);
    FGlyph->OnChange = [self](TObject* s) { self->SomethingChanged(s); };
  }
  return FGlyph.get();
}

AnsiString TKvgWizardHeader::CaptionText() const {
  int i = HeaderLineIndex(FCaptions->Count(), FPageNo);
  return i < 0 ? AnsiString("Caption") : FCaptions->Strings(i);
}

AnsiString TKvgWizardHeader::CommentText() const {
  int i = HeaderLineIndex(FComments->Count(), FPageNo);
  return i < 0 ? AnsiString("Some comment text") : FComments->Strings(i);
}

void TKvgWizardHeader::Notification(TComponent* AComponent, TOperation Operation) {
  TKvExGraphicControl::Notification(AComponent, Operation);
}

void TKvgWizardHeader::Paint() {
  if (FSymbol.size() > 1) FSymbol.resize(1);
  if (!FBufferedDraw) {
    PaintTo(Canvas());
    return;
  }
  TBitmap buffer;
  buffer.SetSize(std::max(Width(), 1), std::max(Height(), 1));
  PaintTo(buffer.Canvas());
  BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), buffer.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TKvgWizardHeader::PaintTo(TCanvas* c) {
  const RECT client{0, 0, Width(), Height()};
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWindow);
  c->FillRect(client);

  c->Brush()->SetStyle(bsClear);
  c->SetFont(Font());
  RECT caption = HeaderCaptionRect(client);
  const AnsiString captionText = CaptionText();
  DrawTextA(TextDC(c), captionText.c_str(), -1, &caption, DT_SINGLELINE);
  const int captionHeight = CanvasTextHeight(c);

  c->SetFont(FCommentFont.get());
  const RECT area = HeaderCommentArea(client, captionHeight);
  RECT measured = area;
  const AnsiString commentText = CommentText();
  DrawTextA(TextDC(c), commentText.c_str(), -1, &measured, DT_WORDBREAK | DT_CALCRECT);
  RECT comment = CenterComment(area, measured);
  DrawTextA(TextDC(c), commentText.c_str(), -1, &comment, DT_WORDBREAK);

  if (FGlyph && FGlyph->Width() > 0) {
    POINT at = HeaderGlyphPosition(client, Height(), SIZE{FGlyph->Width(), FGlyph->Height()});
    DrawTransparentBitmap(c->Handle(), at.x, at.y, FGlyph.get(), PictureCornerColor(FGlyph.get(), 2));
  } else if (!FSymbol.empty()) {
    RECT box = HeaderSymbolBox(client, FGradient->Active());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clHighlight);
    c->FillRect(box);
    c->SetFont(FSymbolFont.get());
    c->Brush()->SetStyle(bsClear);
    DrawTextA(TextDC(c), FSymbol.c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }

  RECT edge = client;
  DrawEdge(c->Handle(), &edge, EDGE_ETCHED, BF_BOTTOM);
  if (FGradient->Active()) FGradient->Paint(c->Handle(), HeaderGradientStrip(client), 1, 1);
}
