// An edit with text alignment and a flat border that follows the mouse and the focus.
#pragma once

#include "desktop/flat_border.h"
#include "vcl/stdctrls.h"

class TdkCustomEdit : public TCustomEdit {
  VCL_CLASS(TdkCustomEdit)
 public:
  explicit TdkCustomEdit(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  AnsiString About;
  TAlignment Alignment() const { return FAlignment; }
  bool Flat() const { return FFlat; }
  bool FocusBorder() const { return FFocusBorder; }
  virtual void SetAlignment(TAlignment Value);
  virtual void SetFlat(bool Value);
  virtual void SetFocusBorder(bool Value);
  // Whether the window is multi-line: needed for alignment on systems older than both
  // Windows 98 and Windows 2000.
  bool MultiLineWindow() const;

 protected:
  virtual void DrawBorder(HDC DC);
  virtual void RedrawBorder();
  void CreateParams(TCreateParams& Params) override;
  void KeyPress(char& Key) override;

 private:
  bool Hot();
  void MouseInside(bool Inside);

  TAlignment FAlignment = taLeftJustify;
  bool FFlat = false;
  bool FFocusBorder = true;
  bool FMouseInside = false;
  TFlatColorKeeper FColors;
};

class TdkEdit : public TdkCustomEdit {
  VCL_CLASS(TdkEdit)
 public:
  using TdkCustomEdit::TdkCustomEdit;
};

// Whether edits need the multi-line style to align their text (systems older than both
// Windows 98 and Windows 2000).
bool EditAlignmentNeedsMultiLine();
