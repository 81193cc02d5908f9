#include "widetext/wide_canvas.h"

void WideCanvasTextOut(TCanvas* Canvas, int X, int Y, const WideString& Text) {
  Canvas->Changing();
  Canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  const int width = WideCanvasTextWidth(Canvas, Text);
  if (Canvas->CanvasOrientation() == coRightToLeft) X += width + 1;
  ExtTextOutW(Canvas->Handle(), X, Y, static_cast<UINT>(Canvas->TextFlags), nullptr, Text.c_str(),
              static_cast<UINT>(Text.size()), nullptr);
  Canvas->MoveTo(X + width, Y);
  Canvas->Changed();
}

SIZE WideCanvasTextExtent(TCanvas* Canvas, const WideString& Text) {
  Canvas->RequiredState(csHandleValid | csFontValid);
  SIZE size{0, 0};
  if (!GetTextExtentPoint32W(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &size)) size = SIZE{0, 0};
  return size;
}

int WideCanvasTextWidth(TCanvas* Canvas, const WideString& Text) { return WideCanvasTextExtent(Canvas, Text).cx; }

int WideCanvasTextHeight(TCanvas* Canvas, const WideString& Text) { return WideCanvasTextExtent(Canvas, Text).cy; }
