#include "widetext/uni_combo_box_ex.h"

#include "vcl/streaming.h"
#include "widetext/uni_list_view.h"

namespace {

const std::vector<TPropInfo>& UniComboBoxExProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniComboBoxEx>()
      .Property("Text", &TUniComboBoxEx::Text, &TUniComboBoxEx::SetText).Stored(&TUniComboBoxEx::IsCaptionStored)
      .Property("Hint", &TUniComboBoxEx::Hint, &TUniComboBoxEx::SetHint).Stored(&TUniComboBoxEx::IsHintStored)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TUniComboBoxEx, TComboBoxEx, &CreateComponentOf<TUniComboBoxEx>, &UniComboBoxExProperties)

void RegisterUniComboBoxEx() { RegisterClasses({TUniComboBoxEx::StaticClass()}); }

void TUniComboBoxEx::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle_ComCtl(this, Params, L"ComboBoxEx32");
}
