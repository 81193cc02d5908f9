#include "desktop/captioned_image.h"

#include "vcl/messages.h"
#include "vcl/pictures.h"
#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& CaptionedImageProperties() {
  using T = TdkCustomImage;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("About", &T::About).Stored(false)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption)
      .Property("CaptionVisible", &T::CaptionVisible, &T::SetCaptionVisible).Default(false)
      .Property("CaptionWhenEmpty", &T::CaptionWhenEmpty, &T::SetCaptionWhenEmpty).Default(true)
      .Property("ImageList", &T::ImageList, &T::SetImageList)
      .Property("ImageListAsIcon", &T::ImageListAsIcon, &T::SetImageListAsIcon).Default(true)
      .Property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(0)
      .Property("Picture", &TImage::Picture, &TImage::SetPicture).Stored(&T::IsPictureStored)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomImage, TImage, nullptr, &CaptionedImageProperties)
VCL_CLASS_IMPL(TdkImage, TdkCustomImage, &CreateComponentOf<TdkImage>, nullptr)

TdkCustomImage::TdkCustomImage(TComponent* AOwner) : TImage(AOwner), FChangeLink(new TChangeLink) {
  FChangeLink->OnChange = [this](TObject*) { UpdatePicture(); };
  TNotifyEvent previous = Picture()->OnChange;
  Picture()->OnChange = [this, previous](TObject* Sender) {
    if (previous) previous(Sender);
    Invalidate();
  };
}

TdkCustomImage::~TdkCustomImage() {
  if (FImageList) FImageList->UnRegisterChanges(FChangeLink.get());
}

void TdkCustomImage::SetCaptionWhenEmpty(bool Value) {
  if (FCaptionWhenEmpty == Value) return;
  FCaptionWhenEmpty = Value;
  Invalidate();
}

void TdkCustomImage::SetCaptionVisible(bool Value) {
  if (FCaptionVisible == Value) return;
  FCaptionVisible = Value;
  Invalidate();
}

void TdkCustomImage::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  UpdatePicture();
}

void TdkCustomImage::SetImageListAsIcon(bool Value) {
  if (FImageListAsIcon == Value) return;
  FImageListAsIcon = Value;
  UpdatePicture();
}

void TdkCustomImage::SetImageList(TCustomImageList* Value) {
  if (RelinkImageList(this, FImageList, FChangeLink.get(), Value)) UpdatePicture();
}

void TdkCustomImage::Notification(TComponent* AComponent, TOperation Operation) {
  TImage::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) SetImageList(nullptr);
}

bool TdkCustomImage::PictureFromList() const {
  return FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count();
}

void TdkCustomImage::UpdatePicture() {
  if (!PictureFromList()) return;
  if (FImageListAsIcon) {
    TIcon icon;
    FImageList->GetIcon(FImageIndex, &icon);
    Picture()->Assign(&icon);
  } else {
    TBitmap bitmap;
    FImageList->GetBitmap(FImageIndex, &bitmap);
    Picture()->Assign(&bitmap);
  }
  Invalidate();
}

void TdkCustomImage::Paint() {
  TImage::Paint();
  AnsiString caption = Caption();
  if (caption.empty()) return;
  if (!FCaptionVisible) {
    TGraphic* graphic = Picture()->Graphic();
    bool empty = !graphic || graphic->Empty();
    if (!(FCaptionWhenEmpty && empty)) return;
  }
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  SIZE extent = canvas->TextExtent(caption);
  RECT client = ClientRect();
  SetBkMode(canvas->Handle(), TRANSPARENT);
  canvas->Brush()->SetStyle(bsClear);
  canvas->TextOut((client.right - extent.cx) / 2, (client.bottom - extent.cy) / 2, caption);
}

void TdkCustomImage::Dispatch(TMessage& Message) {
  TImage::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED) Invalidate();
}
