#include "desktop/flat_border.h"

#include "vcl/forms.h"

bool IsFlatControlHot(TWinControl* Control, bool MouseInside) {
  // The focused window counts as the active control also outside forms.
  return MouseInside || (Screen && Screen->ActiveControl() == Control) || Control->Focused();
}

TColor FlatBorderColor(TWinControl* Control, bool Hot) {
  if (!Hot && Control->Parent()) return Control->Parent()->Brush()->Color();
  return clBtnFace;
}

RECT DrawFlatBorder(HDC DC, int Width, int Height, bool Hot, TColor Color) {
  RECT r{0, 0, Width, Height};
  HBRUSH frame = CreateSolidBrush(ColorToRGB(Color));
  if (Hot) {
    DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  } else {
    FrameRect(DC, &r, frame);
    InflateRect(&r, -1, -1);
  }
  FrameRect(DC, &r, frame);
  InflateRect(&r, -1, -1);
  FrameRect(DC, &r, GetSysColorBrush(COLOR_WINDOW));
  DeleteObject(frame);
  return r;
}

bool FlatBorderPaintable(TComponent* Control) {
  return !Control->HasState(csLoading | csReading | csDestroying);
}

void TFlatColorKeeper::EnabledChanged(TControl* Control, bool Flat) {
  if (!Control->Enabled()) {
    if (FSaved || !Flat) return;
    FColor = Control->Color();
    FParentColor = Control->ParentColor();
    FSaved = true;
    Control->SetParentColor(true);
  } else if (FSaved) {
    // Only what was saved comes back: a control that was never disabled while flat keeps
    // the colour it has.
    FSaved = false;
    Control->SetParentColor(FParentColor);
    if (!FParentColor) Control->SetColor(FColor);
  }
}
