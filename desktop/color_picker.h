// A timer that samples the colour of the screen pixel under the mouse cursor.
#pragma once

#include "desktop/custom_timer.h"
#include "vcl/cursors.h"
#include "vcl/graphics.h"

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
