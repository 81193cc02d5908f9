#include "wizard/data_item_images.h"

#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& DataItemsImagesProperties() {
  using T = TKvCustomDataItemsImages;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("DisabledImages", &T::GetDisabledImages, &T::SetDisabledImages)
      .Property("HotImages", &T::GetHotImages, &T::SetHotImages)
      .Property("Images", &T::GetImages, &T::SetImages)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TKvBaseDataItemsImagesImpl, TKvDataItemsAggregatedObject, nullptr, nullptr)
VCL_CLASS_IMPL(TKvCustomDataItemsImages, TKvBaseDataItemsImagesImpl, nullptr, &DataItemsImagesProperties)

bool TKvBaseDataItemsImagesImpl::GetOwnInterface(REFIID iid, void** obj) {
  if (iid != __uuidof(IKvDataItemsImages)) return false;
  *obj = static_cast<IKvDataItemsImages*>(this);
  return true;
}

void TKvBaseDataItemsImagesImpl::Link(TChangeLink& Link, TCustomImageList* Value) {
  if (Link.Sender() == Value) return;
  if (Link.Sender()) Link.Sender()->UnRegisterChanges(&Link);
  if (Value) Value->RegisterChanges(&Link);
}
