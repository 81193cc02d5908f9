// The flat look shared by the flat edit and the flat combo box: a one-pixel frame in the
// parent's colour while the control is idle, a thin sunken edge while the mouse is over it
// or it has the focus.
#pragma once

#include <windows.h>

#include "vcl/controls.h"

// Whether the control is "hot": the mouse is inside it or it is the focused control.
bool IsFlatControlHot(TWinControl* Control, bool MouseInside);

// The frame colour of a flat control: the parent's brush colour when idle, else clBtnFace.
TColor FlatBorderColor(TWinControl* Control, bool Hot);

// Draws the outer border into DC over (0, 0, Width, Height); returns the rectangle left
// inside it.
RECT DrawFlatBorder(HDC DC, int Width, int Height, bool Hot, TColor Color);

// A control is left alone while it is read, loaded or freed.
bool FlatBorderPaintable(TComponent* Control);

// Keeps a flat control's colour while it is disabled (it then shows its parent's colour).
class TFlatColorKeeper {
 public:
  // Called after Control's Enabled changed; a disabled flat control takes its parent's colour.
  void EnabledChanged(TControl* Control, bool Flat);

 private:
  bool FSaved = false;
  TColor FColor = clWindow;
  bool FParentColor = false;
};
