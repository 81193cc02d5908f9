#include "widetext/uni_progress_bar.h"

#include "vcl/streaming.h"
#include "widetext/uni_list_view.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"

namespace {

const std::vector<TPropInfo>& UniProgressBarProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniProgressBar>()
      .Property("Hint", &TUniProgressBar::Hint, &TUniProgressBar::SetHint).Stored(&TUniProgressBar::IsHintStored)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TUniProgressBar, TProgressBar, &CreateComponentOf<TUniProgressBar>, &UniProgressBarProperties)

void RegisterUniProgressBar() { RegisterClasses({TUniProgressBar::StaticClass()}); }

WideString TUniProgressBar::Hint() { return UniControl_GetHint(this); }
void TUniProgressBar::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniProgressBar::IsHintStored() const { return UniControl_IsHintStored(this); }

void TUniProgressBar::DefineProperties(TFiler* Filer) {
  TProgressBar::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniProgressBar::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle_ComCtl(this, Params, L"msctls_progress32");
}
