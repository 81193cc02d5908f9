// The wide tool button: its caption and hint are kept whole (UTF-16) and the bar shows them
// so, under the picture and in the tooltip. Linked to a wide action, it takes the action's
// wide texts.
#pragma once

#include "vcl/comctrls_toolbar.h"
#include "widetext/uni_caption.h"

class TUniToolButton : public TUniCaptionControl<TToolButton> {
  VCL_CLASS(TUniToolButton)
 public:
  explicit TUniToolButton(TComponent* AOwner) : TUniCaptionControl<TToolButton>(AOwner) {}
  void Dispatch(TMessage& Message) override;

  WideString BarCaption() override { return Caption(); }
  WideString BarHint() override { return Hint(); }
};

// Registers TUniToolButton for stored descriptions.
void RegisterUniToolButton();
