// Containers and pictures: the panel, the image, the bevel, the shape, the splitter and
// the scroll box.
#pragma once

#include <memory>

#include "vcl/controls.h"
#include "vcl/forms.h"
#include "vcl/pictures.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
VCL_ENUM_INFO(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")

// The colours of a bevel's top-left and bottom-right edges: highlight over shadow, the
// other way round for a lowered one.
void BevelColors(TBevelCut Bevel, TColor& TopColor, TColor& BottomColor);

// A panel: bevels and a border around a caption drawn on one line, centred vertically on
// the height of "W"; holds other controls, which it keeps inside its bevels and border.
class TCustomPanel : public TCustomControl {
  VCL_CLASS(TCustomPanel)
 public:
  explicit TCustomPanel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut Value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  // bsSingle gives the window a sunken client edge; any other value none.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  // With themes, a panel shows its parent's background instead of filling with its colour
  // (the default while themes are on).
  bool ParentBackground() const { return (ControlStyle & csParentBackground) != 0; }
  void SetParentBackground(bool Value);
  bool IsParentBackgroundStored() const { return FParentBackgroundSet; }
  // The whole panel is painted again after a change of size (otherwise only what appears).
  bool FullRepaint = true;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(RECT& Rect) override;
  void Resize() override;
  void Paint() override;
  // Steps of Paint a wide panel shares: the bevels and border framed (and the inside
  // filled unless it shows the parent's background); Rect becomes what is left inside.
  void PaintFrame(TCanvas* Canvas, RECT& Rect);
  // The band of Rect, one line of TextHeight high, in which the caption goes.
  static RECT CaptionBand(const RECT& Rect, int TextHeight);
  // DT_ flags of the caption: the alignment and the reading order.
  UINT CaptionFlags() const;
  // Whether the themes draw the background under this panel (themes on, parent background).
  bool ThemedBackground() const;

 private:
  void WMEraseBkgnd(TMessage& Message);

  TAlignment FAlignment = taCenter;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TFormBorderStyle FBorderStyle = bsNone;
  bool FParentBackgroundSet = false;
};

class TPanel : public TCustomPanel {
  VCL_CLASS(TPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

// ---------------------------------------------------------------------------

// Where a picture of PictureWidth x PictureHeight goes in a client area of ClientWidth x
// ClientHeight: at its own size in the top left corner; stretched to the whole area; with
// Proportional, stretched (or, when larger than the area, shrunk) keeping its aspect; with
// Center, centred in the area.
RECT ImageDestRect(int PictureWidth, int PictureHeight, int ClientWidth, int ClientHeight, bool Stretch,
                   bool Proportional, bool Center);

// A picture painted on the parent.
class TImage : public TGraphicControl {
  VCL_CLASS(TImage)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  // Bitmaps leave out the colour of their bottom left pixel; what is behind shows through.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // The control takes the picture's size whenever the picture changes.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  // Where the picture goes in the control now.
  RECT DestRect();

 protected:
  void Paint() override;
  // Puts Value in place of the picture (the image owns it), keeping the change handler.
  void ReplacePicture(TPicture* Value);
  virtual void PictureChanged(TObject* Sender);

 private:
  void UpdateOpaque();

  std::unique_ptr<TPicture> FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FTransparent = false;
  bool FAutoSize = false;
};

// ---------------------------------------------------------------------------

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
VCL_ENUM_INFO(TBevelShape, "bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer")
enum TBevelStyle { bsLowered, bsRaised };
VCL_ENUM_INFO(TBevelStyle, "bsLowered", "bsRaised")

// A sunken or raised box, frame or line.
class TBevel : public TGraphicControl {
  VCL_CLASS(TBevel)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

// ---------------------------------------------------------------------------

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
VCL_ENUM_INFO(TShapeType, "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle")

// A figure outlined with Pen and filled with Brush.
class TShape : public TGraphicControl {
  VCL_CLASS(TShape)
 public:
  explicit TShape(TComponent* AOwner);
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType Value);
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }

 protected:
  void Paint() override;

 private:
  TShapeType FShape = stRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

// ---------------------------------------------------------------------------

// The new size of the control a splitter resizes, dragged Delta pixels (towards the right
// or the bottom) from OldSize: grows for a left or top control, shrinks for a right or
// bottom one; kept between MinSize and MaxSize.
int SplitterNewSize(TAlign Align, int OldSize, int Delta, int MinSize, int MaxSize);

// A bar, aligned like the control beside it, that resizes that control when dragged.
class TSplitter : public TGraphicControl {
  VCL_CLASS(TSplitter)
 public:
  explicit TSplitter(TComponent* AOwner);
  // The smallest size the resized control (and what remains beside it) may have.
  int MinSize = 30;
  // After each change of the resized control's size.
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  TControl* FindResizedControl() const;
  int ParentPos(int X, int Y) const;

  TControl* FControl = nullptr;  // while dragging
  int FDownPos = 0;
  int FOldSize = 0;
  int FMaxSize = 0;
};

// ---------------------------------------------------------------------------

enum TScrollBarKind { sbHorizontal, sbVertical };
VCL_ENUM_INFO(TScrollBarKind, "sbHorizontal", "sbVertical")

// One scroll bar of a scrolling control. Positions and ranges are in pixels: the range is
// the extent of what can be scrolled through, the position how far it is scrolled.
class TScrollingWinControl;
class TControlScrollBar : public TPersistent {
  VCL_CLASS(TControlScrollBar)
 public:
  TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind);
  void Assign(TPersistent* Source) override;

  TScrollBarKind Kind() const { return FKind; }
  int Position() const { return FPosition; }
  // Clamped to what the range allows; the children move with it.
  void SetPosition(int Value);
  int Range() const { return FRange; }
  // Setting a range turns the control's AutoScroll off.
  void SetRange(int Value);
  // A range the children give is not stored.
  bool IsRangeStored() const;
  // The step of the arrows.
  int Increment = 8;
  // Whether the view follows the thumb while it is dragged.
  bool Tracking = false;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Whether the bar shows now (visible, and the range larger than the view).
  bool IsScrollBarVisible() const;
  // The largest position the range allows.
  int MaxPosition() const;

 private:
  friend class TScrollingWinControl;
  int ClientExtent() const;
  void ScrollMessage(TMessage& Message);
  void Update();
  void SetRangeInternal(int Value);

  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int FPosition = 0;
  int FRange = 0;
  bool FVisible = true;
};

// A windowed control whose children may reach beyond its client area; scroll bars bring
// them into view. With AutoScroll the ranges follow the children.
class TScrollingWinControl : public TWinControl {
  VCL_CLASS(TScrollingWinControl)
 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;
  void Dispatch(TMessage& Message) override;

  TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
  void SetHorzScrollBar(TControlScrollBar* Value) { FHorzScrollBar->Assign(Value); }
  TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
  void SetVertScrollBar(TControlScrollBar* Value) { FVertScrollBar->Assign(Value); }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value);
  // Moves every child by (DeltaX, DeltaY).
  void ScrollBy(int DeltaX, int DeltaY);
  // Scrolls so that the child is in view (as much of it as fits, its top left corner first).
  void ScrollInView(TControl* AControl);

 protected:
  void CreateWnd() override;
  void AlignControls(TControl* AControl, RECT& Rect) override;
  // The ranges from the children, when AutoScroll.
  void CalcAutoRange();
  void UpdateScrollBars();

 private:
  friend class TControlScrollBar;
  std::unique_ptr<TControlScrollBar> FHorzScrollBar;
  std::unique_ptr<TControlScrollBar> FVertScrollBar;
  bool FAutoScroll = true;
  int FUpdatingScrollBars = 0;
};

class TScrollBox : public TScrollingWinControl {
  VCL_CLASS(TScrollBox)
 public:
  explicit TScrollBox(TComponent* AOwner);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TFormBorderStyle FBorderStyle = bsSingle;
};

// Registers the classes above for stored descriptions.
void RegisterExtControls();
