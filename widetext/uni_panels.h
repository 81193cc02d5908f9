// Wide panels, images, bevels and splitters: the framework's controls with a wide caption
// (panels) and a wide hint.
#pragma once

#include "vcl/extctrls.h"
#include "widetext/uni_picture.h"

// An image whose picture loads files by wide names.
class TUniImage : public TImage {
  VCL_CLASS(TUniImage)
 public:
  explicit TUniImage(TComponent* AOwner);
  TUniPicture* Picture() const { return static_cast<TUniPicture*>(TImage::Picture()); }
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsHintStored() const;
  void DefineProperties(TFiler* Filer) override;
  void Dispatch(TMessage& Message) override;
};

class TUniBevel : public TBevel {
  VCL_CLASS(TUniBevel)
 public:
  explicit TUniBevel(TComponent* AOwner);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsHintStored() const;
  void DefineProperties(TFiler* Filer) override;
  void Dispatch(TMessage& Message) override;
};

// A panel whose window is a Unicode window and whose caption is drawn wide.
class TUniCustomPanel : public TCustomPanel {
  VCL_CLASS(TUniCustomPanel)
 public:
  explicit TUniCustomPanel(TComponent* AOwner);
  WideString Caption();
  void SetCaption(const WideString& Value);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsCaptionStored() const;
  bool IsHintStored() const;
  void DefineProperties(TFiler* Filer) override;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  void Paint() override;
};

class TUniPanel : public TUniCustomPanel {
  VCL_CLASS(TUniPanel)
 public:
  using TUniCustomPanel::TUniCustomPanel;
};

class TUniSplitter : public TSplitter {
  VCL_CLASS(TUniSplitter)
 public:
  explicit TUniSplitter(TComponent* AOwner);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsHintStored() const;
  void DefineProperties(TFiler* Filer) override;
  void Dispatch(TMessage& Message) override;
};

// Registers the classes above for stored descriptions.
void RegisterUniPanelControls();
