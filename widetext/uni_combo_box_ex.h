// The wide extended combo box: a Unicode ComboBoxEx32 window, so that its text and hint are
// kept whole (UTF-16); linked to a wide action, it takes the action's wide texts.
#pragma once

#include "vcl/comctrls_comboboxex.h"
#include "widetext/uni_caption.h"

class TUniComboBoxEx : public TUniCaptionControl<TComboBoxEx> {
  VCL_CLASS(TUniComboBoxEx)
 public:
  explicit TUniComboBoxEx(TComponent* AOwner) : TUniCaptionControl<TComboBoxEx>(AOwner) {}
  // The edit part's text (the chosen item's in a drop-down list).
  WideString Text() { return Caption(); }
  void SetText(const WideString& Value) { SetCaption(Value); }

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
};

// Registers TUniComboBoxEx for stored descriptions.
void RegisterUniComboBoxEx();
