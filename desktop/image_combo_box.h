// A combo box that shows an image-list picture beside each item and can be drawn flat.
#pragma once

#include <memory>

#include "desktop/flat_border.h"
#include "vcl/imglist.h"
#include "vcl/pictures.h"
#include "vcl/stdctrls.h"

class TdkCustomComboBox : public TCustomComboBox {
  VCL_CLASS(TdkCustomComboBox)
 public:
  explicit TdkCustomComboBox(TComponent* AOwner);
  ~TdkCustomComboBox() override;
  void Dispatch(TMessage& Message) override;

  AnsiString About;
  bool Flat() const { return FFlat; }
  virtual void SetFlat(bool Value);
  bool Etched() const { return FEtched; }
  virtual void SetEtched(bool Value);
  bool FocusBorder() const { return FFocusBorder; }
  virtual void SetFocusBorder(bool Value);
  TCustomImageList* ImageList() const { return FImageList; }
  virtual void SetImageList(TCustomImageList* Value);
  bool ImageListAsIcon() const { return FImageListAsIcon; }
  void SetImageListAsIcon(bool Value);
  // The width of the dropped-down list (0: the control's width).
  int ListWidth();
  void SetListWidth(int Value);

  // The row height: the font's height + 2 (at least 7), and at least the pictures' height.
  virtual int GetItemHeight();
  virtual int GetButtonWidth();
  virtual RECT GetButtonRect();

 protected:
  virtual void UpdateItemHeight();
  virtual void DrawFlat(HDC DC);
  virtual void RedrawFlat();
  void DrawItem(int Index, const RECT& Rect, TOwnerDrawState State) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Hot();
  void MouseInside(bool Inside);
  void WMPaint(TMessage& Message);

  bool FFlat = false;
  bool FEtched = false;
  bool FFocusBorder = true;
  bool FUpdating = false;
  int FListWidth = 0;
  bool FImageListAsIcon = true;
  std::unique_ptr<TIcon> FIcon;
  std::unique_ptr<TChangeLink> FChangeLink;
  TCustomImageList* FImageList = nullptr;
  bool FMouseInside = false;
  TFlatColorKeeper FColors;
};

class TdkComboBox : public TdkCustomComboBox {
  VCL_CLASS(TdkComboBox)
 public:
  using TdkCustomComboBox::TdkCustomComboBox;
};
