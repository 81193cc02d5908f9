// Box reduction of 24-bit pixels: block averages, spans that do not divide evenly, a source
// stored bottom up, and a side that grows instead of shrinking.
#include <gtest/gtest.h>

#include <vector>

#include "wizard/thumbnail_reduce.h"

namespace {

// A picture in memory whose pixel (x, y) is Colour(x, y) in all three channels, unless
// Colour gives a channel of its own through Channel.
struct TTestPicture {
  TTestPicture(int W, int H, bool BottomUp = false) : Pixels(static_cast<size_t>(W) * H * 3) {
    Rows.Width = W;
    Rows.Height = H;
    Rows.Stride = BottomUp ? -3 * W : 3 * W;
    Rows.Bits = BottomUp ? Pixels.data() + static_cast<size_t>(3 * W) * (H - 1) : Pixels.data();
  }
  uint8_t* At(int X, int Y) { return Rows.Row(Y) + 3 * X; }
  std::vector<uint8_t> Pixels;
  TPixelRows Rows;
};

TEST(BoxReduce, EveryTargetPixelIsTheRoundedAverageOfItsBlock) {
  // 4 x 2 source into 2 x 1: each target pixel averages a 2 x 2 block, channel by channel.
  TTestPicture source(4, 2), target(2, 1);
  const uint8_t values[2][4] = {{10, 20, 200, 201}, {30, 41, 202, 204}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      uint8_t* p = source.At(x, y);
      p[0] = values[y][x];          // blue
      p[1] = 255 - values[y][x];    // green
      p[2] = y == 0 ? 0 : 255;      // red: half the block
    }
  BoxReduce(source.Rows, target.Rows);
  // (10 + 20 + 30 + 41) / 4 = 25.25; (200 + 201 + 202 + 204) / 4 = 201.75 rounds to 202.
  EXPECT_EQ(target.At(0, 0)[0], 25);
  EXPECT_EQ(target.At(0, 0)[1], 230);
  EXPECT_EQ(target.At(0, 0)[2], 128);
  EXPECT_EQ(target.At(1, 0)[0], 202);
  EXPECT_EQ(target.At(1, 0)[1], 53);
}

TEST(BoxReduce, UnevenSpansCoverEverySourcePixelOnceWhicheverWayTheRowsAreStored) {
  for (bool bottomUp : {false, true}) {
    SCOPED_TRACE(bottomUp ? "bottom up" : "top down");
    // 7 x 5 into 3 x 2: columns 0-1, 2-3, 4-6 and rows 0-1, 2-4; a pixel's value is its
    // column, so each target pixel shows the mean column of its span.
    TTestPicture source(7, 5, bottomUp), target(3, 2, bottomUp);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) source.At(x, y)[0] = source.At(x, y)[1] = static_cast<uint8_t>(10 * x);
    for (int y = 0; y < 5; ++y) source.At(0, y)[2] = static_cast<uint8_t>(y == 4 ? 250 : 0);
    BoxReduce(source.Rows, target.Rows);
    const int want[3] = {5, 25, 50};
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(target.At(x, y)[0], want[x]) << x << "," << y;
    // The bottom row of the source lands in the bottom row of the target only: 250 over a
    // block of 2 x 3 pixels.
    EXPECT_EQ(target.At(0, 0)[2], 0);
    EXPECT_EQ(target.At(0, 1)[2], 42);
  }
}

TEST(BoxReduce, ASideThatGrowsRepeatsItsPixels) {
  // A width one longer than the source's, as the proportional size can give.
  TTestPicture source(2, 2), target(3, 1);
  for (int y = 0; y < 2; ++y) {
    source.At(0, y)[0] = 100;
    source.At(1, y)[0] = 200;
  }
  BoxReduce(source.Rows, target.Rows);
  EXPECT_EQ(target.At(0, 0)[0], 100);
  EXPECT_EQ(target.At(1, 0)[0], 100);
  EXPECT_EQ(target.At(2, 0)[0], 200);
}

}  // namespace
