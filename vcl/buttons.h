// Buttons with pictures: the bit button (an owner-drawn push button with a glyph and a
// kind that brings its caption and modal result) and the speed button (a window-less
// button that may stay down, alone or as one of a group).
//
// Both draw through TButtonGlyph, which cuts the glyph bitmap into its images (up,
// disabled, down, down-and-stays-down), keeps them in an image list made on first need,
// and places glyph and caption with CalcButtonLayout. The caption itself is drawn by a
// routine the button gives, so that a button with a wide caption draws it whole.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include "vcl/pictures.h"
#include "vcl/stdctrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
VCL_ENUM_INFO(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")

// The look of a button: the image of the glyph and the frame it is drawn with.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
VCL_ENUM_INFO(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort",
              "bkRetry", "bkIgnore", "bkAll")

// The caption and modal result a kind brings ("" and mrNone for bkCustom).
AnsiString BitBtnCaption(TBitBtnKind Kind);
TModalResult BitBtnModalResult(TBitBtnKind Kind);

// Where glyph and caption go inside a button.
struct TButtonLayoutPlaces {
  POINT GlyphPos{};
  RECT TextBounds{};
};

// Places a glyph and a caption of the given sizes in Client, moved by Offset (the pressed
// look). Margin is the distance from the edge the glyph sits at (-1: glyph and caption
// centred together); Spacing the distance between them (-1: the free room shared evenly).
// Right-to-left reading swaps left and right.
TButtonLayoutPlaces CalcButtonLayout(const RECT& Client, POINT Offset, SIZE TextSize, SIZE GlyphSize,
                                     TButtonLayout Layout, int Margin, int Spacing, bool RightToLeft);

// Draws or, with DT_CALCRECT, measures a caption into Rect with the given DT_ flags.
using TButtonTextDrawer = std::function<void(HDC DC, RECT& Rect, UINT Flags)>;

// The glyph of a button: its bitmap, cut into NumGlyphs images side by side (up,
// disabled, down, stays down). The colour of the bottom-left pixel is transparent.
class TButtonGlyph : public TObject {
  VCL_CLASS(TButtonGlyph)
 public:
  TButtonGlyph();
  ~TButtonGlyph() override;

  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  // The size of one image; 0 x 0 without a glyph.
  SIZE GlyphSize() const;

  // The image-list index of a state's image, made on first need; -1 without a glyph.
  // A glyph without an image of its own for a state uses: for disabled, a grey copy of
  // the up image; for down, the up image; for stays-down, the down image.
  int GlyphIndex(TButtonState State);
  // The index made so far, without making one (-1 when none).
  int CachedIndex(TButtonState State) const { return FIndexes[State]; }
  HIMAGELIST ImageList() const { return FImageList; }

  // Draws the state's image at Pos: transparent, or on the button face.
  void DrawGlyph(HDC DC, POINT Pos, TButtonState State, bool Transparent);
  // Draws glyph and caption inside Client; returns where the caption went.
  RECT Draw(TCanvas* Canvas, const RECT& Client, POINT Offset, const TButtonTextDrawer& Text, bool HasText,
            TButtonLayout Layout, int Margin, int Spacing, TButtonState State, bool Transparent, bool WordWrap,
            UINT BiDiFlags);

  // The glyph or the number of images changed.
  TNotifyEvent OnChange;

 private:
  void Invalidate();
  void GlyphChanged(TObject* Sender);
  // A copy of image ImageIndex of the strip (Engraved: its grey, engraved look) and the
  // colour that stands for transparent in it.
  HBITMAP MakeStateImage(int ImageIndex, bool Engraved, COLORREF& Transparent) const;

  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  HIMAGELIST FImageList = nullptr;
  int FIndexes[4] = {-1, -1, -1, -1};
};

// ---------------------------------------------------------------------------

// A push button the framework draws itself (owner-drawn): frame, glyph and caption.
// Kind other than bkCustom brings the kind's caption and modal result, and makes OK and
// Yes buttons the default, Cancel and No buttons the cancel button; changing any of those
// (or the glyph) afterwards makes the button bkCustom again.
class TBitBtn : public TButton {
  VCL_CLASS(TBitBtn)
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  void Dispatch(TMessage& Message) override;

  TBitBtnKind Kind();
  void SetKind(TBitBtnKind Value);
  TBitmap* Glyph() const { return FButtonGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value);
  int NumGlyphs() const { return FButtonGlyph->NumGlyphs(); }
  void SetNumGlyphs(int Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool MouseInControl() const { return FMouseInControl; }

  // The glyph object the button draws with.
  TButtonGlyph* ButtonGlyph() const { return FButtonGlyph.get(); }

  // Stored tests: a caption equal to the kind's is not stored, nor the glyph of a kind.
  bool IsCustomCaption() const;
  bool IsCustom() const { return const_cast<TBitBtn*>(this)->Kind() == bkCustom; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  // Draws the button as the system asks (WM_DRAWITEM reflected as CN_DRAWITEM).
  virtual void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct);
  // Draws or measures the caption.
  virtual void DrawCaptionText(HDC DC, RECT& Rect, UINT Flags);
  virtual bool HasCaption();

 private:
  // The themed face by state; Rect becomes the room inside it. False when themes are off.
  bool DrawThemedFace(HDC DC, RECT& Rect, bool Down, bool Active);
  void GlyphChanged(TObject* Sender);

  std::unique_ptr<TButtonGlyph> FButtonGlyph;
  std::unique_ptr<TCanvas> FCanvas;
  TBitBtnKind FKind = bkCustom;
  bool FModifiedGlyph = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FWordWrap = false;
  bool FMouseInControl = false;
};

// ---------------------------------------------------------------------------

class TSpeedButton;

// The action link of a speed button: Down follows the action's Checked for a button of a
// group that may be all up.
class TSpeedButtonActionLink : public TControlActionLink {
  VCL_CLASS(TSpeedButtonActionLink)
 public:
  explicit TSpeedButtonActionLink(TSpeedButton* AClient);
  bool IsCheckedLinked() override;
  void SetChecked(bool Value) override;

 private:
  TSpeedButton* FButton;
};

// A window-less button. With a GroupIndex other than 0 a click makes it stay down and the
// other buttons of the group with the same parent come up; with AllowAllUp a click on
// the down button of a group brings it up.
class TSpeedButton : public TGraphicControl {
  VCL_CLASS(TSpeedButton)
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  void Dispatch(TMessage& Message) override;

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  TBitmap* Glyph() const { return FButtonGlyph->Glyph(); }
  void SetGlyph(TBitmap* Value);
  int NumGlyphs() const { return FButtonGlyph->NumGlyphs(); }
  void SetNumGlyphs(int Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  bool MouseInControl() const { return FMouseInControl; }
  TButtonState State() const { return FState; }

  TButtonGlyph* ButtonGlyph() const { return FButtonGlyph.get(); }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  TControlActionLink* CreateActionLink() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void Loaded() override;
  virtual void DrawCaptionText(HDC DC, RECT& Rect, UINT Flags);
  virtual bool HasCaption();
  virtual bool IsAccelOfCaption(WORD CharCode);

 private:
  // The themed face by state; Rect becomes the room inside it. False when themes are off.
  bool DrawThemedFace(HDC DC, RECT& Rect);
  // Tells the buttons of the group that this one is down (and whether all may be up).
  void UpdateExclusive();
  void ButtonPressed(TMessage& Message);
  void UpdateTracking(POINT Pos);

  std::unique_ptr<TButtonGlyph> FButtonGlyph;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FDragging = false;
  bool FAllowAllUp = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FSpacing = 4;
  int FMargin = -1;
  bool FFlat = false;
  bool FMouseInControl = false;
  bool FTransparent = true;
  TButtonState FState = bsUp;
};

// Registers the classes above for stored descriptions.
void RegisterButtonControls();
