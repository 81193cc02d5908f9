// Placement of aligned controls, on plain rectangles.
#include <gtest/gtest.h>

#include <vector>

#include "tests/vcl/test_windows.h"
#include "vcl/align.h"

namespace {

RECT R(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

TEST(Align, StripsAreTakenInOrderTopBottomLeftRightClient) {
  // Listed out of order on purpose: the kind decides, not the position in the list.
  std::vector<TAlignItem> items = {
      {alClient, R(0, 0, 5, 5)},  {alRight, R(0, 0, 30, 5)}, {alLeft, R(0, 0, 20, 5)},
      {alBottom, R(0, 0, 5, 10)}, {alTop, R(0, 0, 5, 15)},   {alNone, R(7, 7, 9, 9)},
  };
  RECT rest = ArrangeAlignedItems(R(0, 0, 200, 100), items, -1);
  EXPECT_EQ(items[4].Bounds, R(0, 0, 200, 15));
  EXPECT_EQ(items[3].Bounds, R(0, 90, 200, 100));
  EXPECT_EQ(items[2].Bounds, R(0, 15, 20, 90));
  EXPECT_EQ(items[1].Bounds, R(170, 15, 200, 90));
  EXPECT_EQ(items[0].Bounds, R(20, 15, 170, 90));
  EXPECT_EQ(items[5].Bounds, R(7, 7, 9, 9));
  EXPECT_EQ(rest, R(20, 15, 170, 90));
}

TEST(Align, SameKindKeepsTheOrderOfCurrentPositions) {
  struct Case {
    TAlign align;
    RECT first, second;    // current bounds of two items of the same kind
    RECT firstAfter, secondAfter;
  } cases[] = {
      // The lower one stays below.
      {alTop, R(0, 50, 10, 60), R(0, 5, 10, 25), R(0, 20, 100, 30), R(0, 0, 100, 20)},
      // The one further down stays at the bottom.
      {alBottom, R(0, 10, 10, 20), R(0, 80, 10, 90), R(0, 80, 100, 90), R(0, 90, 100, 100)},
      // Left to right.
      {alLeft, R(40, 0, 50, 10), R(0, 0, 30, 10), R(30, 0, 40, 100), R(0, 0, 30, 100)},
      // The one further right stays at the right edge.
      {alRight, R(90, 0, 100, 10), R(10, 0, 30, 10), R(90, 0, 100, 100), R(70, 0, 90, 100)},
  };
  for (const auto& c : cases) {
    std::vector<TAlignItem> items = {{c.align, c.first}, {c.align, c.second}};
    ArrangeAlignedItems(R(0, 0, 100, 100), items, -1);
    EXPECT_EQ(items[0].Bounds, c.firstAfter) << "align " << c.align;
    EXPECT_EQ(items[1].Bounds, c.secondAfter) << "align " << c.align;
  }
}

TEST(Align, TheMovedItemGoesFirstAmongEquals) {
  // Both at the top: the one that asked for alignment takes the first place...
  std::vector<TAlignItem> items = {{alTop, R(0, 0, 10, 10)}, {alTop, R(0, 0, 10, 20)}};
  ArrangeAlignedItems(R(0, 0, 100, 100), items, 1);
  EXPECT_EQ(items[1].Bounds, R(0, 0, 100, 20));
  EXPECT_EQ(items[0].Bounds, R(0, 20, 100, 30));
  // ...unless another one lies strictly above it.
  items = {{alTop, R(0, 0, 10, 10)}, {alTop, R(0, 40, 10, 60)}};
  ArrangeAlignedItems(R(0, 0, 100, 100), items, 1);
  EXPECT_EQ(items[0].Bounds, R(0, 0, 100, 10));
  EXPECT_EQ(items[1].Bounds, R(0, 10, 100, 30));
}

TEST(Align, CrowdedParentGivesTheClientNoNegativeSize) {
  std::vector<TAlignItem> items = {{alLeft, R(0, 0, 80, 5)}, {alRight, R(0, 0, 80, 5)}, {alClient, R(0, 0, 5, 5)}};
  ArrangeAlignedItems(R(0, 0, 100, 50), items, -1);
  EXPECT_EQ(items[2].Bounds.right - items[2].Bounds.left, 0);
  EXPECT_EQ(items[2].Bounds.bottom - items[2].Bounds.top, 50);
}

}  // namespace
