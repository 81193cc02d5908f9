#include "widetext/uni_tool_button.h"

#include "vcl/streaming.h"
#include "widetext/uni_hints.h"

namespace {

const std::vector<TPropInfo>& UniToolButtonProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniToolButton>()
      .Property("Caption", &TUniToolButton::Caption, &TUniToolButton::SetCaption)
          .Stored(&TUniToolButton::IsCaptionStored)
      .Property("Hint", &TUniToolButton::Hint, &TUniToolButton::SetHint).Stored(&TUniToolButton::IsHintStored)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TUniToolButton, TToolButton, &CreateComponentOf<TUniToolButton>, &UniToolButtonProperties)

void RegisterUniToolButton() { RegisterClasses({TUniToolButton::StaticClass()}); }

void TUniToolButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_HINTSHOW) PrepareWideHintShow(Message);
  TToolButton::Dispatch(Message);
}
