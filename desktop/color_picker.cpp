#include "desktop/color_picker.h"

#include "desktop/window_routines.h"
#include "vcl/typinfo.h"

HCURSOR ScreenCursorHandle(TCursor Cursor) { return Cursor == crDefault ? nullptr : StandardCursor(Cursor); }

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
