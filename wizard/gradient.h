// Colour gradients: two colours, and a painter that fills a rectangle with bands (or, for
// the diagonal orientations, lines) stepping from one colour to the other.
#pragma once

#include <windows.h>

#include <vector>

#include "vcl/graphics.h"
#include "vcl/typinfo.h"

enum TglGradientDir { fgdHorizontal, fgdVertical, fgdLeftBias, fgdRightBias, fgdRectangle, fgdHorzConvergent,
                      fgdVertConvergent };
VCL_ENUM_INFO(TglGradientDir, "fgdHorizontal", "fgdVertical", "fgdLeftBias", "fgdRightBias", "fgdRectangle",
              "fgdHorzConvergent", "fgdVertConvergent")

class TKvgTwainColors : public TPersistent {
  VCL_CLASS(TKvgTwainColors)
 public:
  TKvgTwainColors();
  void Assign(TPersistent* Source) override;
  TColor FromColor() const { return FFromColor; }
  void SetFromColor(TColor Value);
  TColor ToColor() const { return FToColor; }
  void SetToColor(TColor Value);
  COLORREF RGBFromColor() const { return FRGBFromColor; }
  COLORREF RGBToColor() const { return FRGBToColor; }
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  COLORREF FRGBFromColor;
  COLORREF FRGBToColor;

 private:
  TColor FFromColor = static_cast<TColor>(0x808080);
  TColor FToColor = clBlack;
};

class TKvgCustomGradient : public TKvgTwainColors {
  VCL_CLASS(TKvgCustomGradient)
 public:
  TKvgCustomGradient();
  void Assign(TPersistent* Source) override;
  bool BufferedDraw() const { return FBufferedDraw; }
  void SetBufferedDraw(bool Value);
  int Steps() const { return FSteps; }
  void SetSteps(int Value);  // clamped to 1 .. 255
  int PercentFilling() const { return FPercentFilling; }
  void SetPercentFilling(int Value);  // outside 0 .. 100 ignored
  TBrushStyle BrushStyle() const { return FBrushStyle; }
  void SetBrushStyle(TBrushStyle Value);
  TglGradientDir Orientation() const { return FOrientation; }
  void SetOrientation(TglGradientDir Value);
  bool Active() const { return FActive; }
  void SetActive(bool Value);

  // Fills Rect on DC (nothing when inactive, with one step, or on a display of fewer than
  // 16 bits per pixel). Pen width and style serve the diagonal orientations.
  void Paint(HDC DC, const RECT& Rect, int PenWidth, int PenStyle);

 private:
  void PaintDirect(HDC DC, const RECT& Rect, int PenWidth, int PenStyle);
  void PaintBands(HDC DC, const RECT& Rect, int PenWidth, int PenStyle);
  bool FBufferedDraw = false;
  int FSteps = 255;
  int FPercentFilling = 100;
  TBrushStyle FBrushStyle = bsSolid;
  TglGradientDir FOrientation = fgdHorizontal;
  bool FActive = false;
};

class TKvgGradient : public TKvgCustomGradient {
  VCL_CLASS(TKvgGradient)
 public:
  using TKvgCustomGradient::TKvgCustomGradient;
};

// --- What the painter draws, without a device --------------------------------

// The number of bands of an orientation (not the convergent ones) over Rect.
int GradientBandCount(TglGradientDir Orientation, int Steps, const RECT& Rect);
// The colour of band i of N.
COLORREF GradientBandColor(COLORREF From, COLORREF To, int Index, int Count);
// Band i of N as a rectangle (horizontal, vertical and rectangle orientations).
RECT GradientBandRect(TglGradientDir Orientation, const RECT& Rect, int Index, int Count);
// Whether painting stops after band i of N.
bool GradientStopsAfter(int Index, int Count, int PercentFilling);

struct TGradientLine {
  POINT A, B;
};
// The diagonal lines of the bias orientations: the K-th line (from 0) with pen width W.
TGradientLine GradientBiasLine(TglGradientDir Orientation, const RECT& Rect, int K, int PenWidth);
