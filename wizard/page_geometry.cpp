#include "wizard/page_geometry.h"

#include <memory>

#include "vcl/pictures.h"
#include "wizard/wizard_pages.h"

RECT HeaderImageRect(SIZE ImageSize, RECT& Area, TKvWizardImageLeftRight Alignment, int ImageOffset) {
  RECT r{Area.left, Area.top, Area.left + ImageSize.cx, Area.top + ImageSize.cy};
  OffsetRect(&r, 0, ((Area.bottom - Area.top) - ImageSize.cy) / 2);
  if (Alignment == iaRightSide) OffsetRect(&r, (Area.right - Area.left) - ImageSize.cx - 4, 0);
  if (Alignment == iaLeftSide) {
    OffsetRect(&r, ImageOffset, 0);
    if (r.right > Area.left) Area.left = r.right;
  } else {
    OffsetRect(&r, -ImageOffset, 0);
    if (r.left < Area.right) Area.right = r.left;
  }
  return r;
}

RECT TitleTextRect(SIZE TextSize, const RECT& Area, TKvAnchors Anchors, int AnchorPlacement, int Indent) {
  RECT r{Area.left, Area.top, Area.left + TextSize.cx, Area.top + TextSize.cy};
  if (Anchors & AnchorBit(TKvAnchorKind::Left)) OffsetRect(&r, AnchorPlacement, 0);
  if (Anchors & AnchorBit(TKvAnchorKind::Top)) OffsetRect(&r, 0, AnchorPlacement);
  if (Anchors & AnchorBit(TKvAnchorKind::Right)) r.right = Area.right - AnchorPlacement;
  if (Anchors & AnchorBit(TKvAnchorKind::Bottom)) r.bottom = Area.bottom - AnchorPlacement;
  r.left += Indent;
  r.right -= Indent;
  if (r.right > Area.right) r.right = Area.right;
  if (r.bottom > Area.bottom) r.bottom = Area.bottom;
  return r;
}

RECT AlignedGraphicRect(SIZE GraphicSize, const RECT& Rect, TKvWizardImageAlignment Alignment,
                        TKvWizardImageLayout Layout, bool& Stretch) {
  RECT r = Rect;
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  int dx = 0, dy = 0;
  if ((Alignment == iaRight || Alignment == iaCenter) && w > GraphicSize.cx) {
    dx = w - GraphicSize.cx;
    if (Alignment == iaCenter) {
      dx /= 2;
      r.right -= dx;
    }
  }
  if ((Layout == ilBottom || Layout == ilCenter) && GraphicSize.cy < h) {
    dy = h - GraphicSize.cy;
    if (Layout == ilCenter) {
      dy /= 2;
      r.bottom -= dy;
    }
  }
  if (Layout == ilTop && GraphicSize.cy < h) r.bottom = r.top + GraphicSize.cy;
  if (Alignment == iaLeft && w > GraphicSize.cx) r.right = r.left + GraphicSize.cx;
  r.left += dx;
  r.top += dy;
  Stretch = Alignment == iaStretch || Layout == ilStretch;
  return r;
}

void FrameStyleColors(int Style, TColor& A, TColor& B) {
  static const TColor colors[7][2] = {{clNone, clNone},           {clWindow, clBtnFace},
                                      {clWindowFrame, clWindowFrame}, {clBtnShadow, clBtnHighlight},
                                      {clBtnHighlight, clBtnShadow}, {clBtnShadow, clBtnHighlight},
                                      {clBlack, clBtnFace}};
  if (Style < 0 || Style > 6) Style = 0;
  A = colors[Style][0];
  B = colors[Style][1];
}

RECT ShrinkSides(const RECT& Rect, unsigned Sides, int By) {
  RECT r = Rect;
  if (Sides & SideLeft) r.left += By;
  if (Sides & SideTop) r.top += By;
  if (Sides & SideRight) r.right -= By;
  if (Sides & SideBottom) r.bottom -= By;
  return r;
}

void DrawBorderLines(TCanvas* Canvas, const RECT& Rect, TColor TopLeftColor, TColor BottomRightColor,
                     unsigned Sides, RECT& Result) {
  TPen* pen = Canvas->Pen();
  pen->SetStyle(psSolid);
  pen->SetMode(pmCopy);
  auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
    if (c == clNone) return;
    pen->SetColor(c);
    Canvas->MoveTo(x1, y1);
    Canvas->LineTo(x2, y2);
  };
  if (Sides & SideLeft) line(TopLeftColor, Rect.left, Rect.top, Rect.left, Rect.bottom);
  if (Sides & SideTop) line(TopLeftColor, Rect.left, Rect.top, Rect.right, Rect.top);
  if (Sides & SideRight) line(BottomRightColor, Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom);
  if (Sides & SideBottom) line(BottomRightColor, Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1);
  Result = ShrinkSides(Rect, Sides, 1);
}

void DrawFrameStyle(TCanvas* Canvas, const RECT& Rect, int Style, unsigned Sides, RECT& Result) {
  TColor a, b;
  FrameStyleColors(Style, a, b);
  RECT ignored;
  if (Style <= 1) {
    Result = Rect;
  } else if (Style == 2) {
    DrawBorderLines(Canvas, Rect, a, b, Sides, Result);
  } else {
    RECT r1 = Rect;
    r1.left += 1;
    r1.top += 1;
    DrawBorderLines(Canvas, r1, b, b, Sides, ignored);
    RECT r2 = Rect;
    r2.right -= 1;
    r2.bottom -= 1;
    DrawBorderLines(Canvas, r2, a, a, Sides, ignored);
    Result = ShrinkSides(Rect, Sides, 2);
  }
}

void DrawTiledGraphic(TCanvas* Canvas, TGraphic* Graphic, const RECT& Rect) {
  if (!Graphic || Graphic->Empty() || Graphic->Width() <= 0 || Graphic->Height() <= 0)
    throw EKvWizardError("Tiling only works on images with dimensions > 0");
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w <= 0 || h <= 0) return;
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(w, h);
  bmp->Canvas()->Brush()->SetColor(Canvas->Brush()->Color());
  bmp->Canvas()->FillRect(RECT{0, 0, w, h});
  for (int y = 0; y <= h; y += Graphic->Height())
    for (int x = 0; x <= w; x += Graphic->Width()) bmp->Canvas()->Draw(x, y, Graphic);
  BitBlt(Canvas->Handle(), Rect.left, Rect.top, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawAlignedGraphic(TCanvas* Canvas, TGraphic* Graphic, const RECT& Rect, TKvWizardImageAlignment Alignment,
                        TKvWizardImageLayout Layout) {
  if (!Graphic) return;
  if (Layout == ilTile) {
    DrawTiledGraphic(Canvas, Graphic, Rect);
    return;
  }
  bool stretch = false;
  RECT r = AlignedGraphicRect(SIZE{Graphic->Width(), Graphic->Height()}, Rect, Alignment, Layout, stretch);
  if (stretch) Canvas->StretchDraw(r, Graphic);
  else Canvas->Draw(r.left, r.top, Graphic);
}
