// Wide panels, images, bevels and splitters: the framework's controls with a wide caption
// (panels) and a wide hint.
#pragma once

#include "vcl/extctrls.h"
#include "widetext/uni_picture.h"
#include "widetext/uni_actions.h"

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

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TImage)
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

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TBevel)
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

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TCustomPanel)
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

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TSplitter)
};

// Registers the classes above for stored descriptions.
void RegisterUniPanelControls();
