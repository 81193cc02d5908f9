#include "desktop/start_button.h"

VCL_CLASS_IMPL(TdkStartButtonProperties, TdkComponent, &CreateComponentOf<TdkStartButtonProperties>, nullptr)

TdkStartButtonProperties::TdkStartButtonProperties(TComponent* AOwner) : TdkComponent(AOwner) {
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  if (taskbar) FButton = FindWindowExA(taskbar, nullptr, "Button", nullptr);
}

bool TdkStartButtonProperties::HasButton() const { return FButton && IsWindow(FButton); }

void TdkStartButtonProperties::UpdatePosition() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!HasButton() || !GetWindowPlacement(FButton, &placement)) {
    FButtonLeft = FButtonTop = FButtonWidth = FButtonHeight = 0;
    return;
  }
  const RECT& r = placement.rcNormalPosition;
  FButtonLeft = r.left;
  FButtonTop = r.top;
  // The size, not the far edge: SetPosition takes a width and a height, so what is read
  // can be written back unchanged.
  FButtonWidth = r.right - r.left;
  FButtonHeight = r.bottom - r.top;
}

void TdkStartButtonProperties::SetPosition(int Left, int Top, int Height, int Width) {
  if (!HasButton()) return;
  if (Left == FButtonLeft && Top == FButtonTop && Height == FButtonHeight && Width == FButtonWidth) return;
  SetWindowPos(FButton, nullptr, Left, Top, Width, Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TdkStartButtonProperties::ButtonLeft() {
  UpdatePosition();
  return FButtonLeft;
}

int TdkStartButtonProperties::ButtonTop() {
  UpdatePosition();
  return FButtonTop;
}

int TdkStartButtonProperties::ButtonWidth() {
  UpdatePosition();
  return FButtonWidth;
}

int TdkStartButtonProperties::ButtonHeight() {
  UpdatePosition();
  return FButtonHeight;
}

void TdkStartButtonProperties::SetButtonLeft(int Value) {
  UpdatePosition();
  SetPosition(Value, FButtonTop, FButtonHeight, FButtonWidth);
}

void TdkStartButtonProperties::SetButtonTop(int Value) {
  UpdatePosition();
  SetPosition(FButtonLeft, Value, FButtonHeight, FButtonWidth);
}

void TdkStartButtonProperties::SetButtonWidth(int Value) {
  UpdatePosition();
  SetPosition(FButtonLeft, FButtonTop, FButtonHeight, Value);
}

void TdkStartButtonProperties::SetButtonHeight(int Value) {
  UpdatePosition();
  SetPosition(FButtonLeft, FButtonTop, Value, FButtonWidth);
}

bool TdkStartButtonProperties::Enabled() const { return HasButton() && IsWindowEnabled(FButton); }

void TdkStartButtonProperties::SetEnabled(bool Value) {
  if (HasButton()) EnableWindow(FButton, Value);
}

bool TdkStartButtonProperties::Visible() const { return HasButton() && IsWindowVisible(FButton); }

void TdkStartButtonProperties::SetVisible(bool Value) {
  if (HasButton()) ShowWindow(FButton, Value ? SW_SHOW : SW_HIDE);
}
