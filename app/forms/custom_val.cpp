#include "app/forms/custom_val.h"

#include "app/forms/main_form.h"

TCustomVal* CustomVal = nullptr;

namespace {

const TClassMembers& Members() {
  static const TClassMembers members = AddCustomValHandlers(TMemberTable<TCustomVal>()
      .Field("gbProp", &TCustomVal::gbProp)
      .Field("edCustomVal", &TCustomVal::edCustomVal)
      .Field("edPAR1", &TCustomVal::edPAR1)
      .Field("Label1", &TCustomVal::Label1)
      .Field("edPAR2", &TCustomVal::edPAR2)
      .Field("btCustomVal", &TCustomVal::btCustomVal))
      .Table();
  return members;
}

}  // namespace

VCL_CLASS_IMPL_MEMBERS(TCustomVal, TUniForm, nullptr, nullptr, &Members)

TCustomVal::TCustomVal(TComponent* AOwner) : TUniForm(AOwner) { RegisterProgramClasses(); }

TCustomVal::~TCustomVal() {
  if (CustomVal == this) CustomVal = nullptr;
}

void TCustomVal::Loaded() {
  TUniForm::Loaded();
  CustomVal = this;
}
