// The base of the desktop's non-visual components.
#pragma once

#include "vcl/classes.h"
#include "vcl/sysutils.h"

class TdkComponent : public TComponent {
  VCL_CLASS(TdkComponent)
 public:
  explicit TdkComponent(TComponent* AOwner) : TComponent(AOwner) {}
  // Published for the designer's benefit; never stored.
  AnsiString About;
};
