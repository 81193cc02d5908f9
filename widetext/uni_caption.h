// The wide caption and hint every wide standard control adds to its framework class: read
// and written through the wide control text (UTF-16 beside the framework's 8-bit copy),
// stored in descriptions under their own names and the older wide names.
#pragma once

#include "vcl/controls.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"
#include "widetext/uni_actions.h"

template <class Base>
class TUniCaptionControl : public Base {
 public:
  using Base::Base;

  WideString Caption() { return UniControl_GetText(this); }
  void SetCaption(const WideString& Value) { UniControl_SetText(this, Value); }
  WideString Hint() { return UniControl_GetHint(this); }
  void SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
  bool IsCaptionStored() const { return UniControl_IsCaptionStored(this); }
  bool IsHintStored() const { return UniControl_IsHintStored(this); }

  void DefineProperties(TFiler* Filer) override {
    Base::DefineProperties(Filer);
    DefineWideProperties(Filer, this);
  }

 protected:
  UNI_WIDE_ACTION_OVERRIDES(Base)
};
