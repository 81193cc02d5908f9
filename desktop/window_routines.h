// Window, colour and drawing routines of the desktop components, and the routines that show,
// hide and find the program's application window.
#pragma once

#include <windows.h>

#include "vcl/graphics.h"
#include "vcl/pictures.h"

// The colour of the screen pixel under the cursor.
TColor PixelColourUnderCursor();

// Fills or frames Rect with Colour (system colours resolved) through a brush made for it.
void FillRectColour(HDC DC, const RECT& Rect, TColor Colour);
void FrameRectColour(HDC DC, const RECT& Rect, TColor Colour);

// Shows the application window normally and makes the main form visible; hiding hides the
// window when it is visible and makes the main form invisible.
void ShowApplication();
void HideApplication();

// The application window of another copy of this program: a top-level window of the
// application's class whose text is the application's title; null when there is none.
HWND FindPreviousInstance();
// Brings that window forward (restored when it is an icon); false when there is none.
bool ActivatePreviousInstance();

// Icon number Index of shell32.dll in the system folder, in its large and small size.
bool LoadShellIcon(int Index, TIcon* Large, TIcon* Small);
