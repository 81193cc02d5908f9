#include "app/forms/custom_val.h"

#include "app/forms/main_form.h"
#include "app/media/track_options.h"
#include "app/ui/key_filter.h"

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

std::optional<WideString> TCustomVal::AskSplitSize() {
  edCustomVal->SetVisible(true);
  for (TControl* c : {static_cast<TControl*>(edPAR1), static_cast<TControl*>(edPAR2), static_cast<TControl*>(Label1)})
    c->SetVisible(false);
  if (ShowModal() != mrOk) return std::nullopt;
  return edCustomVal->Text();
}

std::optional<WideString> TCustomVal::AskAspectRatio() {
  edCustomVal->SetVisible(false);
  for (TControl* c : {static_cast<TControl*>(edPAR1), static_cast<TControl*>(edPAR2), static_cast<TControl*>(Label1)})
    c->SetVisible(true);
  if (ShowModal() != mrOk) return std::nullopt;
  return edPAR1->Text() + L":" + edPAR2->Text();
}

void TCustomVal::btCustomValClick(TObject*) { SetModalResult(mrOk); }

void TCustomVal::edCustomValKeyPress(TObject*, char& Key) { FilterKey(Key, CustomValueKey); }
void TCustomVal::edPAR1KeyPress(TObject*, char& Key) { FilterKey(Key, CustomValueKey); }

TMemberTable<TCustomVal>& AddCustomValHandlers(TMemberTable<TCustomVal>& Table) {
  return Table.Handler("btCustomValClick", &TCustomVal::btCustomValClick)
      .Handler("edCustomValKeyPress", &TCustomVal::edCustomValKeyPress)
      .Handler("edPAR1KeyPress", &TCustomVal::edPAR1KeyPress);
}
