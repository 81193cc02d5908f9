// Wide text drawn and measured on a bitmap's canvas, checked on its pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vcl/pictures.h"
#include "widetext/wide_canvas.h"

namespace {

// Greek and Japanese: outside the 1252 code page of these machines.
const WideString kGreek = L"\x3a9\x3bc\x3ad\x3b3\x3b1";
const WideString kJapanese = L"\x65e5\x672c\x8a9e";

class WideCanvasText : public ::testing::Test {
 protected:
  void SetUp() override { Clear(); }
  void Clear() {
    sheet_.SetSize(kWidth, kHeight);
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(RECT{0, 0, kWidth, kHeight});
  }
  TCanvas* Canvas() { return sheet_.Canvas(); }
  // The sheet's pixels, row by row.
  std::vector<TColor> Pixels() {
    std::vector<TColor> p;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) p.push_back(Canvas()->Pixels(x, y));
    return p;
  }
  // The columns (device pixels) holding anything but white; {-1, -1} when none.
  std::pair<int, int> InkColumns() {
    std::pair<int, int> ink{-1, -1};
    HDC dc = Canvas()->Handle();
    for (int x = 0; x < kWidth; ++x)
      for (int y = 0; y < kHeight; ++y)
        if (GetPixel(dc, x, y) != ColorToRGB(clWhite)) {
          if (ink.first < 0) ink.first = x;
          ink.second = x;
          break;
        }
    return ink;
  }

  static constexpr int kWidth = 300, kHeight = 40;
  TBitmap sheet_;
};

TEST_F(WideCanvasText, TextOutsideTheCodePageIsDrawnAsItselfAndMovesThePen) {
  const WideString texts[] = {kGreek, kJapanese, kGreek + L" " + kJapanese};
  for (const WideString& text : texts) {
    SCOPED_TRACE(WideToAnsi(text));
    Clear();
    // What the 8-bit text out draws for the same text: question marks.
    Canvas()->TextOut(10, 5, WideToAnsi(text));
    const std::vector<TColor> asAnsi = Pixels();

    Clear();
    int changing = 0, changed = 0;
    Canvas()->OnChanging = [&](TObject*) { ++changing; };
    Canvas()->OnChange = [&](TObject*) { ++changed; };
    WideCanvasTextOut(Canvas(), 10, 5, text);
    Canvas()->OnChanging = nullptr;
    Canvas()->OnChange = nullptr;
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);

    const int width = WideCanvasTextWidth(Canvas(), text);
    EXPECT_GT(width, 0);
    EXPECT_EQ(Canvas()->PenPos().x, 10 + width);
    EXPECT_EQ(Canvas()->PenPos().y, 5);
    const auto ink = InkColumns();
    EXPECT_GE(ink.first, 10);
    EXPECT_LT(ink.second, 10 + width + 1);
    EXPECT_NE(Pixels(), asAnsi);
  }

  // Text the code page holds looks the same either way.
  Clear();
  Canvas()->TextOut(10, 5, "Abc");
  const std::vector<TColor> ansi = Pixels();
  Clear();
  WideCanvasTextOut(Canvas(), 10, 5, L"Abc");
  EXPECT_EQ(Pixels(), ansi);
}

TEST_F(WideCanvasText, ARightToLeftCanvasStartsTheTextRightOfX) {
  struct Case {
    const char* name;
    int textFlags;
    int originX;
    bool moves;
  } cases[] = {
      {"left to right", 0, 0, false},
      {"right-to-left reading, origin in place", ETO_RTLREADING, 0, false},
      {"origin moved, left-to-right reading", 0, 10, false},
      {"right-to-left canvas", ETO_RTLREADING, 10, true},
  };
  const int width = WideCanvasTextWidth(Canvas(), kGreek);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Clear();
    Canvas()->TextFlags = c.textFlags;
    SetWindowOrgEx(Canvas()->Handle(), c.originX, 0, nullptr);
    EXPECT_EQ(Canvas()->CanvasOrientation(), c.moves ? coRightToLeft : coLeftToRight);
    WideCanvasTextOut(Canvas(), 20, 5, kGreek);
    const int x = c.moves ? 20 + width + 1 : 20;
    EXPECT_EQ(Canvas()->PenPos().x, x + width);
    SetWindowOrgEx(Canvas()->Handle(), 0, 0, nullptr);
    Canvas()->TextFlags = 0;
    const auto ink = InkColumns();  // in device columns: the origin moves them left
    EXPECT_GE(ink.first, x - c.originX);
    EXPECT_LT(ink.second, x - c.originX + width + 1);
  }
}

TEST_F(WideCanvasText, ExtentsMeasureWideTextInTheCanvasFont) {
  Canvas()->Font()->SetName("Tahoma");
  Canvas()->Font()->SetSize(14);
  const int lineHeight = Canvas()->TextHeight("Ag");
  EXPECT_EQ(WideCanvasTextWidth(Canvas(), L"Abc"), Canvas()->TextWidth("Abc"));
  EXPECT_EQ(WideCanvasTextHeight(Canvas(), kGreek), lineHeight);
  EXPECT_EQ(WideCanvasTextHeight(Canvas(), kJapanese), lineHeight);
  EXPECT_EQ(WideCanvasTextWidth(Canvas(), L""), 0);

  // Character by character, the widths add up.
  for (const WideString& text : {kGreek, kJapanese}) {
    int sum = 0;
    for (WideChar ch : text) sum += WideCanvasTextWidth(Canvas(), WideString(1, ch));
    EXPECT_EQ(WideCanvasTextWidth(Canvas(), text), sum) << WideToAnsi(text);
  }
  EXPECT_EQ(WideCanvasTextWidth(Canvas(), kGreek + kJapanese),
            WideCanvasTextWidth(Canvas(), kGreek) + WideCanvasTextWidth(Canvas(), kJapanese));

  // A larger font measures larger.
  const SIZE small = WideCanvasTextExtent(Canvas(), kGreek);
  Canvas()->Font()->SetSize(28);
  const SIZE large = WideCanvasTextExtent(Canvas(), kGreek);
  EXPECT_GT(large.cx, small.cx);
  EXPECT_GT(large.cy, small.cy);

  // A device context the system no longer knows measures nothing.
  HDC gone = CreateCompatibleDC(nullptr);
  DeleteDC(gone);
  TCanvas canvas;
  canvas.SetHandle(gone);
  const SIZE none = WideCanvasTextExtent(&canvas, kGreek);
  EXPECT_EQ(none.cx, 0);
  EXPECT_EQ(none.cy, 0);
  canvas.SetHandle(nullptr);
}

}  // namespace
