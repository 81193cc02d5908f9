// Small services the wizard's painted controls share.
#pragma once

#include "vcl/controls.h"
#include "vcl/graphics.h"

// The height of a line in the canvas's current font (tmHeight).
int CanvasTextHeight(TCanvas* Canvas);

// Of a style set, only the parent-background and needs-border-paint flags join the control's
// style; the others are its own business.
void IncludeThemeStyle(TControl* Control, TControlStyle Style);
