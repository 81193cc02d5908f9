// The wide progress bar: the framework's bar in a Unicode window, with a wide hint.
#pragma once

#include "vcl/progressbar.h"
#include "widetext/uni_actions.h"

class TUniProgressBar : public TProgressBar {
  VCL_CLASS(TUniProgressBar)
 public:
  explicit TUniProgressBar(TComponent* AOwner) : TProgressBar(AOwner) {}

  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsHintStored() const;
  void DefineProperties(TFiler* Filer) override;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TProgressBar)
};

// Registers TUniProgressBar for stored descriptions.
void RegisterUniProgressBar();
