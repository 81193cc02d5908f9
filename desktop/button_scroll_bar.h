// A painted scroll bar with only its two arrow buttons: pressing one steps Position
// between Min and Max, again and again while it is held.
#pragma once

#include <memory>

#include "vcl/controls.h"
#include "vcl/extctrls.h"
#include "desktop/custom_timer.h"

namespace button_scroll_bar_layout {

// The extent of each button along a bar Length pixels long: half the room when the room
// holds less than two buttons, none when there is no room.
int ButtonExtent(int Length, int Margin, int ButtonSize);

// The rectangle of the first (up or left) or second (down or right) button.
RECT ButtonRect(TScrollBarKind Kind, bool First, int Width, int Height, int Margin, int ButtonSize);

}  // namespace button_scroll_bar_layout

// A graphic control with the never-stored About text of the desktop components.
class TdkGraphicControl : public TGraphicControl {
  VCL_CLASS(TdkGraphicControl)
 public:
  using TGraphicControl::TGraphicControl;
  AnsiString About;
};

class TdkCustomScrollBar : public TdkGraphicControl {
  VCL_CLASS(TdkCustomScrollBar)
 public:
  explicit TdkCustomScrollBar(TComponent* AOwner);
  ~TdkCustomScrollBar() override;
  void Dispatch(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  bool HideButtons() const { return FHideButtons; }
  void SetHideButtons(bool Value);
  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Min() const { return FMin; }
  void SetMin(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  unsigned TimerInterval() const { return FTimer->Interval(); }
  void SetTimerInterval(unsigned Value) { FTimer->SetInterval(Value); }
  bool Transparent() const { return !(ControlStyle & csOpaque); }
  void SetTransparent(bool Value);
  int ButtonSize() const { return FButtonSize; }

  virtual void GetButtonRect(bool Button, RECT& Rect);
  // One step by the first (towards Min) or second (towards Max) button; false at the limit.
  virtual bool Step(bool Button);

  TNotifyEvent OnChange;

 protected:
  virtual void AdjustSize();
  virtual void DrawButton(bool Button, bool Pressed);
  virtual void CheckButtonClick();
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  bool OnButton(bool Button, int X, int Y);
  bool ButtonHidden(bool Button) const;

  int FButtonSize = 0;
  bool FAutoSize = true;
  bool FHideButtons = true;
  TScrollBarKind FKind = sbVertical;
  int FMargin = 0;
  int FMax = 100;
  int FMin = 0;
  int FPosition = 0;
  std::unique_ptr<TdkCustomTimer> FTimer;
  bool FHeld = false;         // a button is held down
  bool FHeldButton = true;    // which: true the first, false the second
  bool FPressedLook = false;  // it looks pressed (the mouse is on it)
  bool FAdjusting = false;
};

class TdkScrollBar : public TdkCustomScrollBar {
  VCL_CLASS(TdkScrollBar)
 public:
  using TdkCustomScrollBar::TdkCustomScrollBar;
};
