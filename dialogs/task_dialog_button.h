// TTaskDialogButton: the flat, owner-painted button of the drawn task dialog (command links
// and the expand/collapse control): a wide caption, up to four pictures, a border while hot
// or pressed, and a click that hands its modal result to the form.
#pragma once

#include <memory>

#include "vcl/controls.h"
#include "vcl/forms.h"
#include "vcl/pictures.h"

class TTaskDialogButton : public TCustomControl {
  VCL_CLASS(TTaskDialogButton)
 public:
  explicit TTaskDialogButton(TComponent* AOwner);
  ~TTaskDialogButton() override;

  WideString Caption();
  void SetCaption(const WideString& Value);
  bool IsCaptionStored() const;

  TColor BorderColor = clNone;
  TColor BorderColorHot = clNone;
  TColor BorderColorDown = clNone;
  TModalResult ModalResult = 0;
  TFont* HeadingFont() const { return FHeadingFont.get(); }
  void SetHeadingFont(TFont* Value) { FHeadingFont->Assign(Value); }
  TBitmap* Picture() const { return FPicture.get(); }
  void SetPicture(TBitmap* Value);
  TBitmap* PictureHot() const { return FPictureHot.get(); }
  void SetPictureHot(TBitmap* Value) { FPictureHot->Assign(Value); }
  TBitmap* PictureDown() const { return FPictureDown.get(); }
  void SetPictureDown(TBitmap* Value) { FPictureDown->Assign(Value); }
  TBitmap* PictureDisabled() const { return FPictureDisabled.get(); }
  void SetPictureDisabled(TBitmap* Value);

  bool Hot() const { return FHot; }
  bool Down() const { return FDown; }
  // Take the focus when the mouse enters (the drawn dialog's command links).
  bool FocusOnHover = false;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void Click() override;
  void Dispatch(TMessage& Message) override;

  // What Paint chooses now: the border colour (clNone for none) and the picture.
  TColor CurrentBorderColor();
  TBitmap* CurrentPicture();

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyPress(char& Key) override;

 private:
  std::unique_ptr<TFont> FHeadingFont;
  std::unique_ptr<TBitmap> FPicture, FPictureHot, FPictureDown, FPictureDisabled;
  bool FHot = false;
  bool FDown = false;
  WideString FCaption;
};

// Draws Bitmap at (X, Y) with magenta left out.
void DrawTransparentBitmap(HDC DC, TBitmap* Bitmap, int X, int Y);
