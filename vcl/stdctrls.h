// The plain standard controls forms are built from: a push button, a one-line edit and a
// label. Each is the system's control (or, for the label, text painted on the parent)
// with the framework in front of it.
#pragma once

#include "vcl/controls.h"
#include "vcl/forms.h"

// "BUTTON": a click (BN_CLICKED, reflected as CN_COMMAND) runs Click, which hands the
// button's ModalResult to its form. Enter clicks the Default button, Escape the Cancel one.
class TButton : public TWinControl {
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

// Text painted on the parent; "&" marks the accelerator character.
class TLabel : public TGraphicControl {
  VCL_CLASS(TLabel)
 public:
  explicit TLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
};

// Registers the classes above for stored descriptions (forms do it when the first form is
// made).
void RegisterStdControls();
