// The wide page control: tab sheets with wide captions and hints, whose tabs show the
// wide captions (the 8-bit tab messages of the framework are answered with the W forms).
// A sheet's caption set through the framework's 8-bit text is seen converted (the
// synced-pair rule), with or without a window.
#pragma once

#include "vcl/pagecontrol.h"
#include "widetext/uni_actions.h"

class TUniTabSheet : public TTabSheet {
  VCL_CLASS(TUniTabSheet)
 public:
  explicit TUniTabSheet(TComponent* AOwner) : TTabSheet(AOwner) {}

  WideString Caption();
  void SetCaption(const WideString& Value);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsCaptionStored() const;
  bool IsHintStored() const;

  void DefineProperties(TFiler* Filer) override;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TTabSheet)
};

class TUniPageControl : public TPageControl {
  VCL_CLASS(TUniPageControl)
 public:
  explicit TUniPageControl(TComponent* AOwner) : TPageControl(AOwner) {}

  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsHintStored() const;

  void DefineProperties(TFiler* Filer) override;
  void WndProc(TMessage& Message) override;
  // A docked control gets a wide sheet; its text changes reach the sheet's wide caption.
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  bool IsPageAccel(TTabSheet* Page, WORD CharCode) override;

 private:
  void SetItemWide(TMessage& Message);
  void CMDockClient(TMessage& Message);
  // True when the notice was a text change of a wide sheet's client, now on the sheet.
  bool DockClientTextChanged(TMessage& Message);

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TPageControl)
};

// Text up to its first line break (CR or LF).
WideString FirstWideTextLine(const WideString& Text);

// The wide caption of any page: a wide sheet's own, another's 8-bit caption converted.
WideString WidePageCaption(TTabSheet* Page);

// Registers TUniPageControl and TUniTabSheet for stored descriptions.
void RegisterUniPageControls();
