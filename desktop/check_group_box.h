// A group box with a check box in its caption: clearing the box disables every control
// inside the group.
#pragma once

#include "vcl/stdctrls.h"

class TdkCustomGroupBox : public TCustomGroupBox {
  VCL_CLASS(TdkCustomGroupBox)
 public:
  explicit TdkCustomGroupBox(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  AnsiString About;
  bool AutoDisableControls() const { return FAutoDisableControls; }
  void SetAutoDisableControls(bool Value);
  bool CheckBoxChecked() const { return FCheckBox->Checked(); }
  void SetCheckBoxChecked(bool Value);
  bool CheckBoxVisible() const { return FCheckBox->Visible(); }
  void SetCheckBoxVisible(bool Value);
  TCheckBox* CheckBox() const { return FCheckBox; }

  TNotifyEvent OnCheckBoxClick;

  // Enables the controls inside as the group box and its check box say.
  virtual void UpdateControls();

 protected:
  virtual SIZE GetCheckBoxSize() { return SIZE{13, 13}; }
  virtual void AdjustCheckBox();
  virtual void CheckBoxClick(TObject* Sender);
  void CreateWnd() override;
  void Loaded() override;

 private:
  // Fills the check box with what lies under it: the parent's themed background, or the
  // group box's colour.
  void PaintCheckBoxBackground();

  TCheckBox* FCheckBox;
  bool FAutoDisableControls = true;
};

class TdkGroupBox : public TdkCustomGroupBox {
  VCL_CLASS(TdkGroupBox)
 public:
  using TdkCustomGroupBox::TdkCustomGroupBox;
};
