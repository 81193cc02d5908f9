#include "desktop/desktop_component.h"

#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& ComponentProperties() {
  static const std::vector<TPropInfo> table =
      TPropertyTable<TdkComponent>().Property("About", &TdkComponent::About).Stored(false).Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkComponent, TComponent, nullptr, &ComponentProperties)
