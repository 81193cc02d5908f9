#include "wizard/control_support.h"

int CanvasTextHeight(TCanvas* Canvas) {
  TEXTMETRICA metrics{};
  Canvas->RequiredState(csHandleValid | csFontValid);
  GetTextMetricsA(Canvas->Handle(), &metrics);
  return metrics.tmHeight;
}

void IncludeThemeStyle(TControl* Control, TControlStyle Style) {
  Control->ControlStyle |= Style & (csParentBackground | csNeedsBorderPaint);
}
