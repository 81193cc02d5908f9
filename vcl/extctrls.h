// Containers: the panel.
#pragma once

#include "vcl/controls.h"

// A raised panel with its caption centred; holds other controls.
class TPanel : public TCustomControl {
  VCL_CLASS(TPanel)
 public:
  explicit TPanel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
};

// Registers the classes above for stored descriptions.
void RegisterExtControls();
