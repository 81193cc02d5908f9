// Wide labels, static texts and group boxes: the framework's classes with a UTF-16 caption
// and hint, drawn (or, for the static text, shown by a Unicode "STATIC" window) whole, and
// answering the accelerators of their wide captions.
#pragma once

#include "vcl/stdctrls.h"
#include "widetext/uni_caption.h"

// Painted with the wide caption (Uni_DrawTextW); a window-less control answers
// CM_HINTSHOW itself with the wide hint.
class TUniCustomLabel : public TUniCaptionControl<TCustomLabel> {
  VCL_CLASS(TUniCustomLabel)
 public:
  explicit TUniCustomLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  // The wide text the label shows (its wide caption).
  virtual WideString GetWideLabelText();
  void DoDrawText(RECT& Rect, UINT Flags) override;
  bool IsAccelOfCaption(WORD CharCode) override;
};

class TUniLabel : public TUniCustomLabel {
  VCL_CLASS(TUniLabel)
 public:
  explicit TUniLabel(TComponent* AOwner) : TUniCustomLabel(AOwner) {}
};

// A Unicode "STATIC" window; with AutoSize it measures the wide caption.
class TUniCustomStaticText : public TUniCaptionControl<TCustomStaticText> {
  VCL_CLASS(TUniCustomStaticText)
 public:
  explicit TUniCustomStaticText(TComponent* AOwner);

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  void AdjustBounds() override;
  bool IsAccelOfCaption(WORD CharCode) override;
};

class TUniStaticText : public TUniCustomStaticText {
  VCL_CLASS(TUniStaticText)
 public:
  explicit TUniStaticText(TComponent* AOwner) : TUniCustomStaticText(AOwner) {}
};

// A Unicode window of the framework's own class, with the wide caption in its frame.
class TUniCustomGroupBox : public TUniCaptionControl<TCustomGroupBox> {
  VCL_CLASS(TUniCustomGroupBox)
 public:
  explicit TUniCustomGroupBox(TComponent* AOwner);

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  bool DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) override;
  WideString ThemedCaptionText() override;
  bool IsAccelOfCaption(WORD CharCode) override;
};

class TUniGroupBox : public TUniCustomGroupBox {
  VCL_CLASS(TUniGroupBox)
 public:
  explicit TUniGroupBox(TComponent* AOwner) : TUniCustomGroupBox(AOwner) {}
};

// Registers the classes above for stored descriptions.
void RegisterUniLabelControls();
