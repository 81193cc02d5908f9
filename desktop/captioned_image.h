// An image that takes its picture from an image list and can print its caption over it,
// or only when it has no picture.
#pragma once

#include <memory>

#include "vcl/extctrls.h"
#include "vcl/imglist.h"

class TdkCustomImage : public TImage {
  VCL_CLASS(TdkCustomImage)
 public:
  explicit TdkCustomImage(TComponent* AOwner);
  ~TdkCustomImage() override;
  void Dispatch(TMessage& Message) override;

  AnsiString About;
  bool CaptionWhenEmpty() const { return FCaptionWhenEmpty; }
  void SetCaptionWhenEmpty(bool Value);
  bool CaptionVisible() const { return FCaptionVisible; }
  void SetCaptionVisible(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  bool ImageListAsIcon() const { return FImageListAsIcon; }
  void SetImageListAsIcon(bool Value);
  // Whether the image list supplies the picture (then the picture is not stored).
  bool PictureFromList() const;
  bool IsPictureStored() const { return !PictureFromList(); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;

 private:
  // Fills the picture from the image list, when the list holds the chosen picture.
  void UpdatePicture();

  bool FCaptionWhenEmpty = true;
  bool FCaptionVisible = false;
  int FImageIndex = 0;
  TCustomImageList* FImageList = nullptr;
  bool FImageListAsIcon = true;
  std::unique_ptr<TChangeLink> FChangeLink;
};

class TdkImage : public TdkCustomImage {
  VCL_CLASS(TdkImage)
 public:
  using TdkCustomImage::TdkCustomImage;
};
