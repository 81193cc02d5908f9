// Wide buttons: push buttons, check boxes and radio buttons on Unicode "BUTTON" windows, and
// the bit and speed buttons, which draw their wide captions themselves. Each answers the
// accelerator of its wide caption.
#pragma once

#include "vcl/buttons.h"
#include "vcl/stdctrls.h"
#include "widetext/uni_caption.h"
#include "widetext/uniexceptions.h"

class TUniButton : public TUniCaptionControl<TButton> {
  VCL_CLASS(TUniButton)
 public:
  explicit TUniButton(TComponent* AOwner) : TUniCaptionControl<TButton>(AOwner) {}

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  bool IsAccelOfCaption(WORD CharCode) override;
};

class TUniCustomCheckBox : public TUniCaptionControl<TCustomCheckBox> {
  VCL_CLASS(TUniCustomCheckBox)
 public:
  explicit TUniCustomCheckBox(TComponent* AOwner) : TUniCaptionControl<TCustomCheckBox>(AOwner) {}

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  bool IsAccelOfCaption(WORD CharCode) override;
};

class TUniCheckBox : public TUniCustomCheckBox {
  VCL_CLASS(TUniCheckBox)
 public:
  explicit TUniCheckBox(TComponent* AOwner) : TUniCustomCheckBox(AOwner) {}
};

class TUniRadioButton : public TUniCaptionControl<TRadioButton> {
  VCL_CLASS(TUniRadioButton)
 public:
  explicit TUniRadioButton(TComponent* AOwner) : TUniCaptionControl<TRadioButton>(AOwner) {}

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  bool IsAccelOfCaption(WORD CharCode) override;
};

// ---------------------------------------------------------------------------

// What the wide glyph routines need of a glyph button: the framework's glyph object (its
// bitmap, number of images and the image-list index of each state), and a way to have
// the image list made for every state.
class IUniGlyphButton {
 public:
  virtual ~IUniGlyphButton() = default;
  virtual TButtonGlyph* ButtonGlyphObject() = 0;
  virtual void PrepareGlyphList() = 0;
};

// The image-list index of State's glyph image of Control, made on demand (a button first
// painted disabled still has its image); -1 without a glyph. EUniInternalError
// "Internal Error: Control does not support IUniGlyphButton." for other controls.
int UniButtonGlyphIndex(TControl* Control, TButtonState State);

// A bit button whose caption is drawn from its wide text, enabled and disabled.
class TUniBitBtn : public TUniCaptionControl<TBitBtn>, public IUniGlyphButton {
  VCL_CLASS(TUniBitBtn)
 public:
  explicit TUniBitBtn(TComponent* AOwner) : TUniCaptionControl<TBitBtn>(AOwner) {}

  TButtonGlyph* ButtonGlyphObject() override { return ButtonGlyph(); }
  void PrepareGlyphList() override;
  // Stored as the framework stores a bit button's caption (not when it is the kind's) or,
  // for bkCustom, a push button's.
  bool IsCaptionStored() const;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) override;
  bool HasCaption() override;
  bool IsAccelOfCaption(WORD CharCode) override;
};

// A speed button whose caption is drawn from its wide text; window-less, so it answers
// CM_HINTSHOW with its wide hint.
class TUniSpeedButton : public TUniCaptionControl<TSpeedButton>, public IUniGlyphButton {
  VCL_CLASS(TUniSpeedButton)
 public:
  explicit TUniSpeedButton(TComponent* AOwner) : TUniCaptionControl<TSpeedButton>(AOwner) {}
  void Dispatch(TMessage& Message) override;

  TButtonGlyph* ButtonGlyphObject() override { return ButtonGlyph(); }
  void PrepareGlyphList() override;

 protected:
  void DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) override;
  bool HasCaption() override;
  bool IsAccelOfCaption(WORD CharCode) override;
};

// Registers the classes above for stored descriptions.
void RegisterUniButtonControls();
