// Hints: the short and long parts of a control's hint, the hint window, and the class of
// hint window the application uses. The application's side (when a hint shows and goes)
// lives in TApplication; its code is in hints.cpp.
//
// A hint "Open|Opens a file" shows "Open" in the hint window and puts "Opens a file" in
// Application.Hint (and a status bar) while the mouse is over the control.
#pragma once

#include "vcl/controls.h"

// The part before the first "|" (the whole hint when there is none).
AnsiString GetShortHint(const AnsiString& Hint);
// The part after the first "|" (the whole hint when there is none).
AnsiString GetLongHint(const AnsiString& Hint);
// The hint of the control, or of the nearest parent that has one.
AnsiString GetControlHint(TControl* Control);
// The control whose hint shows for Control: itself or the nearest parent with ShowHint.
TControl* GetHintControl(TControl* Control);
// The framework control under a screen point: a window-less child of the window's
// control when one is there.
TControl* FindDragTarget(POINT Pos, bool AllowDisabled);

// A borderless popup, above every window, that shows a hint in the screen's hint font.
class THintWindow : public TCustomControl {
  VCL_CLASS(THintWindow)
 public:
  explicit THintWindow(TComponent* AOwner);

  // Shows AHint in Rect (screen coordinates, kept on the screen), without taking the focus.
  virtual void ActivateHint(RECT Rect, const AnsiString& AHint);
  // The same with data a hint window class of its own may need (null for plain hints).
  virtual void ActivateHintData(RECT Rect, const AnsiString& AHint, void* AData);
  // The rectangle, at (0, 0), that AHint needs when lines wrap at MaxWidth.
  virtual RECT CalcHintRect(int MaxWidth, const AnsiString& AHint, void* AData);
  // Whether a message of the loop ends the hint: keys, clicks, commands.
  virtual bool IsHintMsg(const MSG& Msg);

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  bool FActivating = false;
};

// The class of hint window the application creates (THintWindow unless replaced). A
// control may name another in its CM_HINTSHOW (THintInfo::HintWindowClass); the class
// must descend from THintWindow and be creatable (a factory in its class reference).
extern const TMetaClass* HintWindowClass;
