// Wide hints in a Unicode hint window.
//
// The framework shows a control's hint as 8-bit text. Before it does, it asks the control
// (CM_HINTSHOW); a wide control answers with PrepareWideHintShow: the hint window class
// becomes TUniCustomHintWindow, the hint string the 8-bit form of the control's short wide
// hint, and the hint data a mark (the hint information pointing at itself) by which the
// window knows it may show the wide text instead.
#pragma once

#include "vcl/hints.h"
#include "widetext/wide_control_text.h"

// For every wide control's CM_HINTSHOW, before the framework's handling.
void PrepareWideHintShow(TMessage& Message);

// The wide text of the hint about to show: the control's short wide hint when the hint
// string is its 8-bit form; with shortcuts in hints, "short hint (shortcut)" likewise;
// any other string (an application handler changed it) as it stands.
WideString WideHintOfShownHint(const AnsiString& HintStr, const THintInfo& Info);

// A hint window that is a Unicode window and shows wide hints.
class TUniCustomHintWindow : public THintWindow {
  VCL_CLASS(TUniCustomHintWindow)
 public:
  explicit TUniCustomHintWindow(TComponent* AOwner);

  WideString Caption() { return UniControl_GetText(this); }
  void SetCaption(const WideString& Value) { UniControl_SetText(this, Value); }

  void ActivateHint(RECT Rect, const AnsiString& AHint) override;
  void ActivateHintData(RECT Rect, const AnsiString& AHint, void* AData) override;
  RECT CalcHintRect(int MaxWidth, const AnsiString& AHint, void* AData) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  void Paint() override;

 private:
  bool FActivating = false;
  bool FBlockPaint = false;
};
