// The colour picker over a real window under the cursor: its ticks sample the pixel under
// the cursor, and a swatch painted from each sample shows what it read.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "desktop/color_picker.h"
#include "tests/vcl/test_windows.h"
#include "vcl/application.h"

using namespace testwin;

namespace {

constexpr TColor kLeftColour = 0x3050D0;   // a brick red
constexpr TColor kRightColour = 0xC08020;  // a steel blue

TEST(ColorPicker, SamplesThePixelUnderTheCursorOnEachTick) {
  InitApplication();
  std::unique_ptr<THostWindow> host{ShownHost(360, 160)};
  auto* left = new TBox(host.get());
  left->SetParent(host.get());
  left->SetBounds(10, 10, 160, 100);
  left->SetColor(kLeftColour);
  auto* right = new TBox(host.get());
  right->SetParent(host.get());
  right->SetBounds(190, 10, 160, 100);
  right->SetColor(kRightColour);
  auto* swatch = new TBox(host.get());
  swatch->SetParent(host.get());
  swatch->SetBounds(10, 120, 340, 30);
  swatch->SetColor(clWhite);
  RedrawWindow(host->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Flush();

  TdkColorPicker picker(nullptr);
  EXPECT_EQ(picker.Interval(), 100u);
  TColor sampled = clNone;
  int ticks = 0;
  picker.SetOnTimer([&](TObject* Sender) {
    EXPECT_EQ(Sender, &picker);
    sampled = picker.GetColor();
    swatch->SetColor(sampled);
    ++ticks;
  });
  picker.SetCursor(crCross);

  for (TBox* box : {left, right}) {
    RECT r;
    GetWindowRect(box->Handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    int start = ticks;
    EXPECT_TRUE(DispatchUntil([&] { return ticks > start + 1 && sampled == box->Color(); }, 5000))
        << std::hex << sampled << " under the cursor";
    UpdateWindow(swatch->Handle());
  }
  // Each tick puts the chosen cursor up.
  EXPECT_EQ(picker.ShownCursor(), LoadCursorA(nullptr, IDC_CROSS));
  EXPECT_EQ(picker.Cursor(), crCross);

  if (const char* hold = std::getenv("KAVO_HOLD_MS")) DispatchUntil([] { return false; }, std::atoi(hold));

  // Without a handler there is no system timer at all (killing it finds none).
  picker.SetOnTimer(nullptr);
  EXPECT_FALSE(KillTimer(picker.WindowHandle(), 1));
}

}  // namespace
