#include "desktop/color_picker.h"

#include "desktop/window_routines.h"
#include "vcl/typinfo.h"

HCURSOR ScreenCursorHandle(TCursor Cursor) {
  static const struct {
    TCursor Cursor;
    LPCSTR Id;
  } cursors[] = {{crArrow, IDC_ARROW},       {crCross, IDC_CROSS},       {crIBeam, IDC_IBEAM},
                 {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},     {crSizeNWSE, IDC_SIZENWSE},
                 {crSizeWE, IDC_SIZEWE},     {crUpArrow, IDC_UPARROW},   {crHourGlass, IDC_WAIT},
                 {crNo, IDC_NO},             {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
                 {crHandPoint, IDC_HAND},    {crSizeAll, IDC_SIZEALL}};
  for (const auto& c : cursors)
    if (c.Cursor == Cursor) return LoadCursorA(nullptr, c.Id);
  return nullptr;
}

namespace {

const std::vector<TPropInfo>& ColorPickerProperties() {
  using T = TdkColorPicker;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Interval", &T::Interval, &T::SetInterval).Default(100u)
      .Property("Cursor", &T::Cursor, &T::SetCursor).Default(crDefault)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkColorPicker, TdkCustomTimer, &CreateComponentOf<TdkColorPicker>, &ColorPickerProperties)

TdkColorPicker::TdkColorPicker(TComponent* AOwner) : TdkCustomTimer(AOwner) { SetInterval(100); }

TColor TdkColorPicker::GetColor() { return PixelColourUnderCursor(); }

void TdkColorPicker::Timer() {
  TdkCustomTimer::Timer();
  UpdateCursor();
}

void TdkColorPicker::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  UpdateCursor();
}

void TdkColorPicker::UpdateCursor() {
  // The sampling cursor is put up by its handle; the cursor number stays what the program
  // chose (a handle taken for a number would pick another cursor at the next tick).
  if (FCursor == crDefault) return;
  if (HCURSOR cursor = ScreenCursorHandle(FCursor)) {
    ::SetCursor(cursor);
    FShownCursor = cursor;
  }
}
