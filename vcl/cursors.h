// Mouse cursors: the numbers controls and the screen name them by (crDefault, crArrow,
// crHourGlass, crHandPoint...), their identifiers in stored descriptions, and the system
// cursor behind each standard number.
#pragma once

#include <windows.h>

#include "vcl/typinfo.h"

using TCursor = int;

constexpr TCursor crDefault = 0;  // the control's parent's, or the window class's
constexpr TCursor crNone = -1;    // no cursor shows
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

// The identifiers of the standard cursors, for Cursor properties.
const TIntegerIdents* CursorIdents();

// The system cursor of a standard number; null for crNone, and for numbers that are not
// standard ones.
HCURSOR StandardCursor(TCursor Cursor);
