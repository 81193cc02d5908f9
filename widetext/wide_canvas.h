// Wide (UTF-16) text on the framework's 8-bit canvas.
#pragma once

#include "vcl/graphics.h"

// Draws Text at (X, Y) with the canvas's font, brush and text flags (ExtTextOutW: the wide
// entry point exists on every system) and leaves the pen position at the end of the text.
// On a right-to-left canvas the text starts its width + 1 right of X.
void WideCanvasTextOut(TCanvas* Canvas, int X, int Y, const WideString& Text);
// The size of Text in the canvas's font; 0 x 0 when the system cannot measure it.
SIZE WideCanvasTextExtent(TCanvas* Canvas, const WideString& Text);
int WideCanvasTextWidth(TCanvas* Canvas, const WideString& Text);
int WideCanvasTextHeight(TCanvas* Canvas, const WideString& Text);
