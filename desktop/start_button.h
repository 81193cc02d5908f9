// The taskbar's start button: its place, size, enabled state and visibility, read from and
// written to the button's window.
#pragma once

#include <windows.h>

#include "desktop/desktop_component.h"

class TdkStartButtonProperties : public TdkComponent {
  VCL_CLASS(TdkStartButtonProperties)
 public:
  // Looks for the button once: the "Button" child of the taskbar window ("Shell_TrayWnd").
  explicit TdkStartButtonProperties(TComponent* AOwner);

  // The button's window; 0 where the desktop has no start button.
  HWND ButtonWindow() const { return FButton; }

  // Reads the button's normal place into the cached values.
  virtual void UpdatePosition();
  // Moves and sizes the button, unless it is there already.
  virtual void SetPosition(int Left, int Top, int Height, int Width);

  // Each getter reads the button first. Without a start button the values read 0 and false
  // and the setters do nothing.
  int ButtonLeft();
  void SetButtonLeft(int Value);
  int ButtonTop();
  void SetButtonTop(int Value);
  int ButtonWidth();
  void SetButtonWidth(int Value);
  int ButtonHeight();
  void SetButtonHeight(int Value);
  bool Enabled() const;
  void SetEnabled(bool Value);
  bool Visible() const;
  void SetVisible(bool Value);

 private:
  bool HasButton() const;

  HWND FButton = nullptr;
  int FButtonHeight = 0;
  int FButtonTop = 0;
  int FButtonWidth = 0;
  int FButtonLeft = 0;
};
