// The plain standard controls forms are built from: a push button, a one-line edit and a
// label. Each is the system's control (or, for the label, text painted on the parent)
// with the framework in front of it.
#pragma once

#include <functional>

#include "vcl/actions.h"
#include "vcl/controls.h"
#include "vcl/forms.h"

// What push buttons, check boxes and radio buttons share: a check state (none for push
// buttons) that an action's Checked can follow (TButtonActionLink), and the accelerator of
// the caption.
class TButtonControl : public TWinControl {
  VCL_CLASS(TButtonControl)
 public:
  using TWinControl::TWinControl;
  virtual bool Checked() { return false; }
  virtual void SetChecked(bool Value) {}
  // Whether the character of CM_DIALOGCHAR is the caption's accelerator.
  virtual bool IsAccelOfCaption(WORD CharCode);

 protected:
  TControlActionLink* CreateActionLink() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  // Programmatic changes of the state run Click; while reading a description they don't.
  bool ClicksDisabled() const;
};

// The action link of buttons with a check state: the check state follows the action's
// Checked while both are equal.
class TButtonActionLink : public TControlActionLink {
  VCL_CLASS(TButtonActionLink)
 public:
  explicit TButtonActionLink(TButtonControl* AClient);
  bool IsCheckedLinked() override;
  void SetChecked(bool Value) override;

 private:
  TButtonControl* FButton;
};

// "BUTTON": a click (BN_CLICKED, reflected as CN_COMMAND) runs Click, which hands the
// button's ModalResult to its form. Enter clicks the Default button, Escape the Cancel one.
class TButton : public TButtonControl {
  VCL_CLASS(TButton)
 public:
  explicit TButton(TComponent* AOwner);
  void Click() override;
  void Dispatch(TMessage& Message) override;

  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel = false;
  TModalResult ModalResult = mrNone;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  bool FDefault = false;
};

// "EDIT", one line: OnChange runs on every change of the text (EN_CHANGE).
class TEdit : public TWinControl {
  VCL_CLASS(TEdit)
 public:
  explicit TEdit(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  void CreateParams(TCreateParams& Params) override;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };
VCL_ENUM_INFO(TTextLayout, "tlTop", "tlCenter", "tlBottom")

// Text painted on the parent; "&" marks the accelerator character, which moves the focus
// to FocusControl. With AutoSize the label takes the size of its text (one line high when
// empty).
class TCustomLabel : public TGraphicControl {
  VCL_CLASS(TCustomLabel)
 public:
  explicit TCustomLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  bool Transparent() const { return (ControlStyle & csOpaque) == 0; }
  void SetTransparent(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

 protected:
  // The text the label shows (its caption).
  virtual AnsiString GetLabelText();
  // Draws (or with DT_CALCRECT measures into Rect) the label's text with the given DT_ flags.
  virtual void DoDrawText(RECT& Rect, UINT Flags);
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Fits the bounds to the text (AutoSize), keeping the edge the alignment holds.
  virtual void AdjustBounds();
  // Whether the character of CM_DIALOGCHAR is the caption's accelerator.
  virtual bool IsAccelOfCaption(WORD CharCode);
  // Draws Text as DoDrawText does, in the label's font and enabled look.
  void DrawLabelText(RECT& Rect, UINT Flags, const std::function<void(HDC, RECT&, UINT)>& Draw);

 private:
  UINT TextFlags() const;

  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TWinControl* FFocusControl = nullptr;
  TTextLayout FLayout = tlTop;
  bool FShowAccelChar = true;
  bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
  VCL_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};

// Registers the classes above for stored descriptions (forms do it when the first form is
// made).
void RegisterStdControls();

// ---------------------------------------------------------------------------
// Static text, check boxes, radio buttons and group boxes.

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
VCL_ENUM_INFO(TStaticBorderStyle, "sbsNone", "sbsSingle", "sbsSunken")

// The system's "STATIC" control: a label with a window. The accelerator of its caption
// moves the focus to FocusControl; with AutoSize it takes the size of its text.
class TCustomStaticText : public TWinControl {
  VCL_CLASS(TCustomStaticText)
 public:
  explicit TCustomStaticText(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TStaticBorderStyle Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The size the text needs: its extent in the control's font, plus the border.
  virtual void AdjustBounds();
  virtual bool IsAccelOfCaption(WORD CharCode);

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TStaticBorderStyle FBorderStyle = sbsNone;
  TWinControl* FFocusControl = nullptr;
  bool FShowAccelChar = true;
};

class TStaticText : public TCustomStaticText {
  VCL_CLASS(TStaticText)
 public:
  explicit TStaticText(TComponent* AOwner) : TCustomStaticText(AOwner) {}
};


enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
VCL_ENUM_INFO(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")

// "BUTTON" with a check mark. Every change of the state runs Click (OnClick), also when
// the program sets Checked or State. A click toggles: unchecked, then grayed when
// AllowGrayed, then checked.
class TCustomCheckBox : public TButtonControl {
  VCL_CLASS(TCustomCheckBox)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool Checked() override { return FState == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
  // taRightJustify: the box left of the text; taLeftJustify: the box right of it.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  virtual void Toggle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
  VCL_CLASS(TCheckBox)
 public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

// "BUTTON" with a round mark. Checking one turns off the other radio buttons of its
// parent and runs Click; unchecking runs nothing.
class TRadioButton : public TButtonControl {
  VCL_CLASS(TRadioButton)
 public:
  explicit TRadioButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool Checked() override { return FChecked; }
  void SetChecked(bool Value) override;
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  bool FChecked = false;
  TAlignment FAlignment = taRightJustify;
};

// A frame with a caption around other controls. The accelerator of the caption focuses
// the first control inside.
class TCustomGroupBox : public TCustomControl {
  VCL_CLASS(TCustomGroupBox)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void AdjustClientRect(RECT& Rect) override;
  void Paint() override;
  virtual bool IsAccelOfCaption(WORD CharCode);
  // Draws or, with DT_CALCRECT, measures the caption; false when there is none.
  virtual bool DrawCaptionText(HDC DC, RECT& Rect, UINT Flags);
};

class TGroupBox : public TCustomGroupBox {
  VCL_CLASS(TGroupBox)
 public:
  explicit TGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {}
};
