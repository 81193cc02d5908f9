// A timer that samples the colour of the screen pixel under the mouse cursor.
#pragma once

#include "desktop/custom_timer.h"
#include "vcl/graphics.h"

// The framework's cursor numbers: 0 the default, negative numbers the system's cursors.
using TCursor = int;
constexpr TCursor crDefault = 0;
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

// The system cursor a cursor number stands for; null for crDefault and unknown numbers.
HCURSOR ScreenCursorHandle(TCursor Cursor);

class TdkColorPicker : public TdkCustomTimer {
  VCL_CLASS(TdkColorPicker)
 public:
  explicit TdkColorPicker(TComponent* AOwner);

  // The colour of the desktop pixel under the cursor.
  virtual TColor GetColor();
  // The cursor shown while sampling (crDefault: the cursor is left alone).
  TCursor Cursor() const { return FCursor; }
  virtual void SetCursor(TCursor Value);
  // The cursor the last update put up (null when none was).
  HCURSOR ShownCursor() const { return FShownCursor; }

 protected:
  // Each tick: OnTimer, then the sampling cursor.
  void Timer() override;
  virtual void UpdateCursor();

 private:
  TCursor FCursor = crDefault;
  HCURSOR FShownCursor = nullptr;
};
