// The image lists of an item list: the images its items' image indexes refer to, with the
// disabled and hot variants. The lists are held through change links, so a freed image
// list is simply forgotten.
#pragma once

#include "vcl/imglist.h"
#include "wizard/data_items.h"

KV_INTERFACE(IKvDataItemsImages, 0x735755A6, 0xAD11, 0x460C, 0xB9, 0x85, 0x46, 0x46, 0x4D, 0x73, 0xED, 0xBC) {
  virtual TCustomImageList* STDMETHODCALLTYPE GetDisabledImages() = 0;
  virtual void STDMETHODCALLTYPE SetDisabledImages(TCustomImageList* Value) = 0;
  virtual TCustomImageList* STDMETHODCALLTYPE GetHotImages() = 0;
  virtual void STDMETHODCALLTYPE SetHotImages(TCustomImageList* Value) = 0;
  virtual TCustomImageList* STDMETHODCALLTYPE GetImages() = 0;
  virtual void STDMETHODCALLTYPE SetImages(TCustomImageList* Value) = 0;
};

class TKvBaseDataItemsImagesImpl : public TKvDataItemsAggregatedObject, public IKvDataItemsImages {
  VCL_CLASS(TKvBaseDataItemsImagesImpl)
 public:
  using TKvDataItemsAggregatedObject::TKvDataItemsAggregatedObject;
  KV_FORWARD_AGGREGATED_IUNKNOWN(TKvDataItemsAggregatedObject)
  bool GetOwnInterface(REFIID iid, void** obj) override;

  TCustomImageList* STDMETHODCALLTYPE GetDisabledImages() override { return FDisabled.Sender(); }
  void STDMETHODCALLTYPE SetDisabledImages(TCustomImageList* Value) override { Link(FDisabled, Value); }
  TCustomImageList* STDMETHODCALLTYPE GetHotImages() override { return FHot.Sender(); }
  void STDMETHODCALLTYPE SetHotImages(TCustomImageList* Value) override { Link(FHot, Value); }
  TCustomImageList* STDMETHODCALLTYPE GetImages() override { return FImages.Sender(); }
  void STDMETHODCALLTYPE SetImages(TCustomImageList* Value) override { Link(FImages, Value); }

 private:
  static void Link(TChangeLink& Link, TCustomImageList* Value);
  TChangeLink FDisabled, FHot, FImages;
};

class TKvCustomDataItemsImages : public TKvBaseDataItemsImagesImpl {
  VCL_CLASS(TKvCustomDataItemsImages)
 public:
  using TKvBaseDataItemsImagesImpl::TKvBaseDataItemsImagesImpl;
};
