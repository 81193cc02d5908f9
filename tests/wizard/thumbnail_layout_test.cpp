// The arithmetic of the thumbnail family: rounding, proportional sizes, the grid, hit tests,
// key moves, the picture box, the JPEG decoding scale, the scale-down chain and filter masks.
#include <gtest/gtest.h>

#include "wizard/thumbnail_layout.h"

namespace {

TEST(ThumbnailArithmetic, RoundUpGoesAwayFromZeroUnlessWhole) {
  struct { double x; int want; } cases[] = {{2.0, 2}, {2.1, 3}, {0.0, 0}, {-2.1, -3}, {-3.0, -3}, {0.0001, 1}};
  for (auto c : cases) EXPECT_EQ(RoundUp(c.x), c.want) << c.x;
}

TEST(ThumbnailArithmetic, ProportionalSizeKeepsTheAspect) {
  struct { POINT src, target, want; } cases[] = {
      {{400, 300}, {112, 97}, {112, 84}},
      {{4000, 3000}, {100, 100}, {100, 75}},
      {{300, 400}, {100, 100}, {75, 100}},
      {{0, 300}, {100, 100}, {0, 0}},  // a side of 0 gives a ratio of 0
  };
  for (auto c : cases) {
    POINT got = ProportionalSize(c.src, c.target);
    EXPECT_EQ(got.x, c.want.x) << c.src.x << "x" << c.src.y;
    EXPECT_EQ(got.y, c.want.y) << c.src.x << "x" << c.src.y;
  }
}

TEST(ThumbnailArithmetic, ReplaceAllTextNeverRescansWhatItInserted) {
  EXPECT_EQ(ReplaceAllText("aXbx", "x", "--", false), "a--b--");
  EXPECT_EQ(ReplaceAllText("aXbx", "x", "--", true), "aXb--");
  EXPECT_EQ(ReplaceAllText("aa", "a", "aa", true), "aaaa");
  EXPECT_EQ(ReplaceAllText("abc", "", "x", true), "abc");
}

TEST(ThumbnailArithmetic, FilterMasksTakeEverySecondItem) {
  using Masks = std::vector<AnsiString>;
  EXPECT_EQ(FilterMasks("All (*.jpg;*.bmp)|*.jpg;*.JPG;*.bmp|Bitmaps|*.bmp"),
            (Masks{"*.jpg", "*.JPG", "*.bmp", "*.bmp"}));
  EXPECT_EQ(FilterMasks("Only|*.gif;;"), (Masks{"*.gif"}));
  EXPECT_TRUE(FilterMasks("").empty());
  EXPECT_TRUE(FilterMasks("no bar at all").empty());
}

TThumbGrid Grid(TScrollMode Mode, int ViewWidth, int ViewHeight, int Gap, int Side, int Count = 0,
                TViewType Align = vtNormal) {
  TThumbGrid g;
  g.Mode = Mode;
  g.ViewWidth = ViewWidth;
  g.ViewHeight = ViewHeight;
  g.Gap = Gap;
  g.ThumbWidth = g.ThumbHeight = Side;
  g.Count = Count;
  g.Align = Align;
  g.PerLine = g.CalcPerLine();
  return g;
}

TEST(ThumbnailGrid, CellsPerLineAndPositions) {
  TThumbGrid columns = Grid(smHorizontal, 600, 346, 5, 100);
  EXPECT_EQ(columns.PerLine, 3);  // (346 - 20) div 105
  struct { int n, x, y; } horizontal[] = {{0, 0, 0}, {1, 5, 5}, {3, 5, 215}, {4, 110, 5}, {7, 215, 5}};
  for (auto c : horizontal) {
    EXPECT_EQ(columns.XPos(c.n), c.x) << c.n;
    EXPECT_EQ(columns.YPos(c.n), c.y) << c.n;
  }

  TThumbGrid rows = Grid(smVertical, 600, 346, 5, 100);
  EXPECT_EQ(rows.PerLine, 5);  // (600 - 20) div 105
  EXPECT_EQ(rows.XPos(6), 5);
  EXPECT_EQ(rows.YPos(6), 110);
  EXPECT_EQ(rows.XPos(5), 4 * 100 + 5 * 5);

  EXPECT_EQ(Grid(smBoth, 600, 346, 5, 100, 10).PerLine, 4);
  EXPECT_EQ(Grid(smBoth, 600, 346, 5, 100, 0).PerLine, 1);
  EXPECT_EQ(Grid(smHorizontal, 600, 50, 5, 100).PerLine, 1);  // never below one
}

TEST(ThumbnailGrid, CentredAndFittedLines) {
  // Fitted columns spread the free height over P + 1 gaps: (346 - 20 - 105 * 3) div 4 = 2.
  TThumbGrid fit = Grid(smHorizontal, 600, 346, 5, 100, 0, vtFitToScreen);
  EXPECT_EQ(fit.YPos(1), 2);
  EXPECT_EQ(fit.YPos(2), 100 + 2 * 2);
  // Centred rows move right by (580 div 2) - (105 * 5) div 2 = 290 - 262 = 28.
  TThumbGrid centred = Grid(smVertical, 600, 346, 5, 100, 0, vtCenter);
  EXPECT_EQ(centred.XPos(1), 5 + 28);
  // Neither has an effect on square grids.
  TThumbGrid square = Grid(smBoth, 600, 346, 5, 100, 4, vtCenter);
  EXPECT_EQ(square.XPos(2), 110);
}

TEST(ThumbnailGrid, CellIndexUnderAPoint) {
  TThumbGrid columns = Grid(smHorizontal, 600, 346, 5, 100);
  struct { int x, y, want; } cases[] = {
      {50, 50, 0}, {50, 150, 1}, {160, 50, 3}, {160, 150, 4}, {50, 900, 2} /* rows capped at P */, {0, 50, 0}};
  for (auto c : cases) EXPECT_EQ(columns.CellIndexAt(c.x, c.y), c.want) << c.x << "," << c.y;
  TThumbGrid rows = Grid(smVertical, 600, 346, 5, 100);
  EXPECT_EQ(rows.CellIndexAt(160, 150), 6);
  EXPECT_EQ(rows.CellIndexAt(5000, 50), 4);  // columns capped at P
}

TEST(ThumbnailGrid, KeyMovesStayInsideTheList) {
  struct { int s; TThumbMove move; TScrollMode mode; int want; } cases[] = {
      {0, tmRight, smHorizontal, 3}, {3, tmRight, smHorizontal, 3}, {3, tmLeft, smHorizontal, 0},
      {0, tmDown, smHorizontal, 1},  {-1, tmDown, smHorizontal, 0}, {0, tmUp, smHorizontal, 0},
      {0, tmLeft, smVertical, 0},    {0, tmRight, smVertical, 1},   {1, tmDown, smVertical, 4},
      {4, tmUp, smBoth, 1},
  };
  for (auto c : cases) EXPECT_EQ(MoveSelection(c.s, c.move, c.mode, 3, 5), c.want) << c.s << " " << c.move;
}

TEST(ThumbnailPictureBox, FitsAndCentresThePicture) {
  // 120 x 120 with a 15-pixel strip: a client box of 112 x 97.
  TPictureBox up = CalculatePictureBox(120, 120, 0, 15, tpUp, 400, 300);
  EXPECT_EQ(up.ClientWidth, 112);
  EXPECT_EQ(up.ClientHeight, 97);
  EXPECT_EQ(up.Percent, 28);
  EXPECT_EQ(up.Image.right - up.Image.left, 112);
  EXPECT_EQ(up.Image.bottom - up.Image.top, 84);
  EXPECT_EQ(up.Image.left, 4);
  EXPECT_EQ(up.Image.top, 25);
  EXPECT_EQ(CalculatePictureBox(120, 120, 0, 15, tpNone, 400, 300).Image.top, 18);
  EXPECT_EQ(CalculatePictureBox(120, 120, 0, 15, tpDown, 400, 300).Image.top, 11);
  // Smaller than the box: its own size, centred.
  TPictureBox small = CalculatePictureBox(120, 120, 0, 15, tpUp, 50, 40);
  EXPECT_EQ(small.Percent, 100);
  EXPECT_EQ(small.Image.left, 35);
  EXPECT_EQ(small.Image.top, 40 + 7);
  EXPECT_EQ(small.Image.right, 85);
  // A border narrows the box.
  EXPECT_EQ(CalculatePictureBox(120, 120, 3, 15, tpUp, 50, 40).ClientWidth, 106);
}

TEST(ThumbnailPicture, JpegScaleFollowsTheFileSize) {
  struct { unsigned size; TJPEGScale want; } cases[] = {
      {0, jsFullSize},         {1000000, jsFullSize}, {1000001, jsHalf},    {3500000, jsHalf},
      {4000000, jsHalf},       {4000001, jsQuarter},  {7000000, jsQuarter}, {7000001, jsEighth},
  };
  for (auto c : cases) EXPECT_EQ(JpegScaleForSize(c.size), c.want) << c.size;
}

TEST(ThumbnailPicture, ScaleDownNeverShrinksMoreThanSixteenTimesAStep) {
  auto chain = ScaleDownChain(4000, 3000, 100, 100);
  ASSERT_EQ(chain.size(), 3u);
  EXPECT_EQ(chain[0].x, 400);
  EXPECT_EQ(chain[0].y, 300);
  EXPECT_EQ(chain[1].x, 200);
  EXPECT_EQ(chain[1].y, 150);
  EXPECT_EQ(chain[2].x, 100);
  EXPECT_EQ(chain[2].y, 75);

  auto one = ScaleDownChain(1600, 1200, 100, 100);  // 1600 div 100 = 16: one step
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].x, 100);
  EXPECT_TRUE(ScaleDownChain(50, 40, 100, 100).empty());  // never enlarged
  EXPECT_TRUE(ScaleDownChain(400, 300, 0, 100).empty());  // nothing to fit into
}

}  // namespace
