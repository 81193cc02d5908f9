#include "wizard/gradient.h"

#include <algorithm>

namespace {

const std::vector<TPropInfo>& TwainColorsProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvgTwainColors>()
      .Property("FromColor", &TKvgTwainColors::FromColor, &TKvgTwainColors::SetFromColor).Idents(ColorIdents()).Default(0x808080)
      .Property("ToColor", &TKvgTwainColors::ToColor, &TKvgTwainColors::SetToColor).Idents(ColorIdents()).Default(clBlack)
      .Table();
  return table;
}

const std::vector<TPropInfo>& GradientProperties() {
  using G = TKvgGradient;
  static const std::vector<TPropInfo> table = TPropertyTable<G>()
      .Property("Active", &G::Active, &G::SetActive).NoDefault()
      .Property("BufferedDraw", &G::BufferedDraw, &G::SetBufferedDraw).Default(false)
      .Property("Orientation", &G::Orientation, &G::SetOrientation).NoDefault()
      .Property("Steps", &G::Steps, &G::SetSteps).Default(255)
      .Property("PercentFilling", &G::PercentFilling, &G::SetPercentFilling).Default(100)
      .Property("BrushStyle", &G::BrushStyle, &G::SetBrushStyle).Default(bsSolid)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TKvgTwainColors, TPersistent, nullptr, &TwainColorsProperties)
VCL_CLASS_IMPL(TKvgCustomGradient, TKvgTwainColors, nullptr, nullptr)
VCL_CLASS_IMPL(TKvgGradient, TKvgCustomGradient, nullptr, &GradientProperties)

TKvgTwainColors::TKvgTwainColors() {
  FRGBFromColor = ColorToRGB(FFromColor);
  FRGBToColor = ColorToRGB(FToColor);
}

void TKvgTwainColors::Assign(TPersistent* Source) {
  auto* c = dynamic_cast<TKvgTwainColors*>(Source);
  if (!c) {
    TPersistent::Assign(Source);
    return;
  }
  FFromColor = c->FFromColor;
  FToColor = c->FToColor;
  FRGBFromColor = ColorToRGB(FFromColor);
  FRGBToColor = ColorToRGB(FToColor);
  Changed();
}

void TKvgTwainColors::SetFromColor(TColor Value) {
  if (Value == FFromColor) return;
  FFromColor = Value;
  FRGBFromColor = ColorToRGB(Value);
  Changed();
}

void TKvgTwainColors::SetToColor(TColor Value) {
  if (Value == FToColor) return;
  FToColor = Value;
  FRGBToColor = ColorToRGB(Value);
  Changed();
}

void TKvgTwainColors::Changed() {
  if (OnChange) OnChange(this);
}

TKvgCustomGradient::TKvgCustomGradient() = default;

void TKvgCustomGradient::Assign(TPersistent* Source) {
  auto* g = dynamic_cast<TKvgCustomGradient*>(Source);
  if (!g) {
    TKvgTwainColors::Assign(Source);
    return;
  }
  FBufferedDraw = g->FBufferedDraw;
  FSteps = g->FSteps;
  FPercentFilling = g->FPercentFilling;
  FBrushStyle = g->FBrushStyle;
  FOrientation = g->FOrientation;
  FActive = g->FActive;
  TKvgTwainColors::Assign(Source);  // copies the colours, then tells of the change
}

#define KV_GRADIENT_SETTER(Name, Type, Field) \
  void TKvgCustomGradient::Set##Name(Type Value) { \
    if (Value == Field) return;                    \
    Field = Value;                                 \
    Changed();                                     \
  }
KV_GRADIENT_SETTER(BufferedDraw, bool, FBufferedDraw)
KV_GRADIENT_SETTER(BrushStyle, TBrushStyle, FBrushStyle)
KV_GRADIENT_SETTER(Orientation, TglGradientDir, FOrientation)
KV_GRADIENT_SETTER(Active, bool, FActive)
#undef KV_GRADIENT_SETTER

void TKvgCustomGradient::SetSteps(int Value) {
  Value = std::clamp(Value, 1, 255);
  if (Value == FSteps) return;
  FSteps = Value;
  Changed();
}

void TKvgCustomGradient::SetPercentFilling(int Value) {
  if (Value < 0 || Value > 100 || Value == FPercentFilling) return;
  FPercentFilling = Value;
  Changed();
}

// --- geometry

int GradientBandCount(TglGradientDir Orientation, int Steps, const RECT& Rect) {
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  switch (Orientation) {
    case fgdHorizontal: return std::min(Steps, h);
    case fgdVertical: return std::min(Steps, w);
    case fgdLeftBias:
    case fgdRightBias: return std::min(Steps, w + h);
    case fgdRectangle: return std::min(Steps, std::min(w / 2, h / 2));
    default: return 0;
  }
}

COLORREF GradientBandColor(COLORREF From, COLORREF To, int Index, int Count) {
  auto channel = [&](int shift) {
    int a = (From >> shift) & 0xFF, b = (To >> shift) & 0xFF;
    int v = Count > 1 ? a + MulDiv(Index, b - a, Count - 1) : a;
    return static_cast<COLORREF>(std::clamp(v, 0, 255)) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

RECT GradientBandRect(TglGradientDir Orientation, const RECT& Rect, int Index, int Count) {
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  switch (Orientation) {
    case fgdHorizontal:
      return RECT{Rect.left, Rect.top + MulDiv(Index, h, Count), Rect.right, Rect.top + MulDiv(Index + 1, h, Count)};
    case fgdVertical:
      return RECT{Rect.left + MulDiv(Index, w, Count), Rect.top, Rect.left + MulDiv(Index + 1, w, Count), Rect.bottom};
    case fgdRectangle: {
      int dx = MulDiv(Index, w / 2, Count), dy = MulDiv(Index, h / 2, Count);
      return RECT{Rect.left + dx, Rect.top + dy, Rect.right - dx, Rect.bottom - dy};
    }
    default: return Rect;
  }
}

bool GradientStopsAfter(int Index, int Count, int PercentFilling) {
  return Count > 0 && Index * 100 / Count > PercentFilling;
}

TGradientLine GradientBiasLine(TglGradientDir Orientation, const RECT& Rect, int K, int PenWidth) {
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  const int d = K * std::max(PenWidth, 1);
  TGradientLine line{};
  if (Orientation == fgdLeftBias) {
    line.A = d <= h ? POINT{Rect.left, Rect.top + d} : POINT{Rect.left + (d - h), Rect.bottom};
    line.B = d <= w ? POINT{Rect.left + d, Rect.top} : POINT{Rect.right, Rect.top + (d - w)};
  } else {
    line.A = d <= w ? POINT{Rect.right - d, Rect.top} : POINT{Rect.left, Rect.top + (d - w)};
    line.B = d <= h ? POINT{Rect.right, Rect.top + d} : POINT{Rect.right - (d - h), Rect.bottom};
  }
  return line;
}

// --- painting

void TKvgCustomGradient::Paint(HDC DC, const RECT& Rect, int PenWidth, int PenStyle) {
  if (!FActive || FSteps == 1) return;
  if (GetDeviceCaps(DC, BITSPIXEL) * GetDeviceCaps(DC, PLANES) < 16) return;
  if (FOrientation == fgdHorzConvergent || FOrientation == fgdVertConvergent) {
    const TglGradientDir saved = FOrientation;
    const bool horz = saved == fgdHorzConvergent;
    RECT first = Rect, second = Rect;
    if (horz) {
      first.bottom = Rect.bottom - (Rect.bottom - Rect.top) / 2;
      second.top = Rect.top + (Rect.bottom - Rect.top) / 2;
    } else {
      first.right = Rect.right - (Rect.right - Rect.left) / 2;
      second.left = Rect.left + (Rect.right - Rect.left) / 2;
    }
    FOrientation = horz ? fgdHorizontal : fgdVertical;
    PaintDirect(DC, first, PenWidth, PenStyle);
    std::swap(FRGBFromColor, FRGBToColor);
    PaintDirect(DC, second, PenWidth, PenStyle);
    std::swap(FRGBFromColor, FRGBToColor);
    FOrientation = saved;
    return;
  }
  PaintDirect(DC, Rect, PenWidth, PenStyle);
}

void TKvgCustomGradient::PaintDirect(HDC DC, const RECT& Rect, int PenWidth, int PenStyle) {
  if (!FBufferedDraw) {
    PaintBands(DC, Rect, PenWidth, PenStyle);
    return;
  }
  const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
  if (w <= 0 || h <= 0) return;
  HDC mem = CreateCompatibleDC(DC);
  HBITMAP bmp = CreateCompatibleBitmap(DC, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, DC, Rect.left, Rect.top, SRCCOPY);
  PaintBands(mem, RECT{0, 0, w, h}, PenWidth, PenStyle);
  BitBlt(DC, Rect.left, Rect.top, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

void TKvgCustomGradient::PaintBands(HDC DC, const RECT& Rect, int PenWidth, int PenStyle) {
  const int n = GradientBandCount(FOrientation, FSteps, Rect);
  if (n <= 0) return;
  const bool bias = FOrientation == fgdLeftBias || FOrientation == fgdRightBias;
  const int total = (Rect.right - Rect.left) + (Rect.bottom - Rect.top);
  const int pen = PenWidth == 0 ? 1 : PenWidth;
  int k = 0;
  for (int i = 0; i < n; ++i) {
    const COLORREF color = GradientBandColor(FRGBFromColor, FRGBToColor, i, n);
    if (bias) {
      HPEN hp = CreatePen(PenStyle, pen, color);
      HGDIOBJ oldPen = SelectObject(DC, hp);
      const int lines = MulDiv(i + 1, total, n) - MulDiv(i, total, n);
      for (int j = 0; j < lines; ++j, ++k) {
        TGradientLine l = GradientBiasLine(FOrientation, Rect, k, pen);
        MoveToEx(DC, l.A.x, l.A.y, nullptr);
        LineTo(DC, l.B.x, l.B.y);
      }
      SelectObject(DC, oldPen);
      DeleteObject(hp);
    } else {
      HBRUSH brush = FBrushStyle == bsSolid ? CreateSolidBrush(color)
                                            : CreateHatchBrush(static_cast<int>(FBrushStyle) - 2, color);
      RECT band = GradientBandRect(FOrientation, Rect, i, n);
      FillRect(DC, &band, brush);
      DeleteObject(brush);
    }
    if (GradientStopsAfter(i, n, FPercentFilling)) break;
  }
}
