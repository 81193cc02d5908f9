// The wizard's rules that need no window: page search, button state and placement, the
// painted parts' boxes, gradient bands and the header's text layout.
#include <gtest/gtest.h>

#include <vector>

#include "wizard/gradient.h"
#include "wizard/page_geometry.h"
#include "wizard/page_header.h"
#include "wizard/wizard_control.h"
#include "wizard/wizard_navigation.h"

using BK = TKvWizardButtonKind;

namespace {

std::vector<TWizardPageFlags> Pages(const char* Marks) {
  // 'e' enabled, 'd' disabled, 'j' enabled but no jumps to it.
  std::vector<TWizardPageFlags> out;
  for (const char* p = Marks; *p; ++p) out.push_back({*p != 'd', *p != 'j'});
  return out;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(WizardPageSearch, FindsTheNextQualifyingPage) {
  struct Case {
    const char* pages;
    int from, step;
    bool check, designing;
    int expected;
  } cases[] = {
      {"ede", 0, 1, true, false, 2},     // a disabled page is passed over
      {"ede", 2, -1, true, false, 0},
      {"ede", 0, 1, false, false, 1},    // without the check any page will do
      {"eee", 2, 1, true, false, -1},    // no wrap at run time
      {"eee", 0, -1, true, false, -1},
      {"eee", 2, 1, false, true, 0},     // at design time the search wraps
      {"eee", 0, -1, false, true, 2},
      {"edd", 0, 1, true, false, -1},    // only disabled pages follow
      {"", -1, 1, true, false, -1},
      {"eje", 0, 1, true, false, 2},     // a page that forbids jumps is skipped once
      {"ejje", 0, 1, true, false, 2},    // ... but only once in a row
      {"eje", 2, -1, true, false, 0},
      {"je", -1, 1, true, false, 1},     // first page
      {"ej", 2, -1, true, false, 0},     // last page forbids jumps: the one before it
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindNextPageIndex(Pages(c.pages), c.from, c.step, c.check, c.designing), c.expected)
        << c.pages << " from " << c.from << " step " << c.step;
  }
}

TEST(WizardButtonStatus, FollowsThePageWithBackOffOnTheFirstPage) {
  // No page: Back, Next and Cancel show, only Cancel works.
  TKvWizardButtonSet none = 0;
  TWizardButtonStatus s = ComputeButtonStatus(false, false, none, 0, false);
  EXPECT_EQ(s.Visible, DefaultVisibleButtons);
  EXPECT_EQ(s.Enabled, ButtonBit(BK::bkCancel));
  EXPECT_FALSE(s.DefaultKind);

  // The first page loses Back from its own set, and keeps it lost.
  TKvWizardButtonSet enabled = AllWizardButtons;
  s = ComputeButtonStatus(true, true, enabled, DefaultVisibleButtons, false);
  EXPECT_FALSE(HasButton(enabled, BK::bkBack));
  EXPECT_FALSE(HasButton(s.Enabled, BK::bkBack));
  EXPECT_EQ(s.DefaultKind, BK::bkNext);

  // Another page keeps its set; Finish takes the default when Next is off.
  TKvWizardButtonSet task = AllWizardButtons & ~ButtonBit(BK::bkNext);
  TKvWizardButtonSet visible = DefaultVisibleButtons | ButtonBit(BK::bkFinish);
  s = ComputeButtonStatus(true, false, task, visible, false);
  EXPECT_EQ(s.Enabled, task);
  EXPECT_EQ(s.DefaultKind, BK::bkFinish);

  // At design time Back and Next always show and work; Finish never shows.
  TKvWizardButtonSet design = 0;
  s = ComputeButtonStatus(true, true, design, ButtonBit(BK::bkFinish), true);
  EXPECT_EQ(s.Visible, ButtonBit(BK::bkBack) | ButtonBit(BK::bkNext));
  EXPECT_TRUE(HasButton(s.Enabled, BK::bkBack));
}

TEST(WizardButtonPlacement, PutsTheBarsButtonsWhereTheApplicationExpectsThem) {
  std::array<TWizardButtonSlot, WizardButtonCount> slots;
  const bool right[] = {false, false, true, true, true, true, false};
  for (int i = 0; i < WizardButtonCount; ++i) slots[static_cast<size_t>(i)] = {93, right[i]};
  const RECT client{0, 0, 742, 495};

  // A task page: Back, Next, Cancel and Help.
  auto p = PlaceWizardButtons(client, 42, DefaultVisibleButtons | ButtonBit(BK::bkHelp), slots);
  EXPECT_TRUE(SameRect(*p[static_cast<size_t>(BK::bkHelp)], RECT{8, 463, 101, 488}));
  EXPECT_EQ(p[static_cast<size_t>(BK::bkCancel)]->left, 641);
  EXPECT_EQ(p[static_cast<size_t>(BK::bkNext)]->left, 538);
  EXPECT_EQ(p[static_cast<size_t>(BK::bkBack)]->left, 443);
  EXPECT_FALSE(p[static_cast<size_t>(BK::bkFinish)]);  // not shown: left where it is

  // The process page: Back, Finish, Help.
  p = PlaceWizardButtons(client, 42,
                         ButtonBit(BK::bkBack) | ButtonBit(BK::bkFinish) | ButtonBit(BK::bkHelp), slots);
  EXPECT_EQ(p[static_cast<size_t>(BK::bkFinish)]->left, 641);
  EXPECT_EQ(p[static_cast<size_t>(BK::bkBack)]->left, 547);
  EXPECT_EQ(p[static_cast<size_t>(BK::bkHelp)]->left, 8);

  // Next and Finish both: Cancel and Finish 1 pixel apart, Finish and Next 10.
  p = PlaceWizardButtons(client, 42, DefaultVisibleButtons | ButtonBit(BK::bkFinish), slots);
  EXPECT_EQ(p[static_cast<size_t>(BK::bkCancel)]->left - p[static_cast<size_t>(BK::bkFinish)]->right, 1);
  EXPECT_EQ(p[static_cast<size_t>(BK::bkFinish)]->left - p[static_cast<size_t>(BK::bkNext)]->right, 10);

  // A bar of 25 pixels or less folds every button.
  p = PlaceWizardButtons(client, 0, DefaultVisibleButtons, slots);
  for (const auto& r : p) EXPECT_TRUE(SameRect(*r, RECT{0, 0, 93, 0}));
  EXPECT_EQ(WizardPageArea(client, 0).bottom, 495);
  EXPECT_EQ(WizardPageArea(client, 25).bottom, 495);
  EXPECT_EQ(WizardPageArea(client, 42).bottom, 453);
}

TEST(WizardPageBoxes, HeaderImagesTitlesAndPictures) {
  // Header image at the right with an offset: the texts' room ends where it starts.
  RECT area{0, 0, 400, 70};
  RECT ir = HeaderImageRect(SIZE{32, 32}, area, iaRightSide, 6);
  EXPECT_TRUE(SameRect(ir, RECT{358, 19, 390, 51}));
  EXPECT_EQ(area.right, 358);
  area = RECT{0, 0, 400, 70};
  ir = HeaderImageRect(SIZE{32, 32}, area, iaLeftSide, 6);
  EXPECT_TRUE(SameRect(ir, RECT{6, 19, 38, 51}));
  EXPECT_EQ(area.left, 38);

  // A title anchored left and top sits AnchorPlacement right and down; right and bottom
  // anchors stretch it to the room less the placement; indent and clipping apply after.
  const TKvAnchors lt = AnchorBit(TKvAnchorKind::Left) | AnchorBit(TKvAnchorKind::Top);
  EXPECT_TRUE(SameRect(TitleTextRect(SIZE{50, 16}, RECT{10, 20, 300, 90}, lt, 4, 0), RECT{14, 24, 64, 40}));
  const TKvAnchors all = lt | AnchorBit(TKvAnchorKind::Right) | AnchorBit(TKvAnchorKind::Bottom);
  EXPECT_TRUE(SameRect(TitleTextRect(SIZE{50, 16}, RECT{10, 20, 300, 90}, all, 4, 3), RECT{17, 24, 293, 86}));
  EXPECT_TRUE(SameRect(TitleTextRect(SIZE{500, 160}, RECT{0, 0, 100, 50}, lt, 4, 0), RECT{4, 4, 100, 50}));

  struct PictureCase {
    TKvWizardImageAlignment a;
    TKvWizardImageLayout l;
    RECT expected;
    bool stretch;
  } cases[] = {
      {iaLeft, ilTop, {0, 0, 40, 20}, false},
      {iaRight, ilBottom, {60, 80, 100, 100}, false},
      {iaCenter, ilCenter, {30, 40, 70, 60}, false},
      {iaStretch, ilStretch, {0, 0, 100, 100}, true},
      {iaCenter, ilStretch, {30, 0, 70, 100}, true},
  };
  for (const PictureCase& c : cases) {
    bool stretch = false;
    RECT r = AlignedGraphicRect(SIZE{40, 20}, RECT{0, 0, 100, 100}, c.a, c.l, stretch);
    EXPECT_TRUE(SameRect(r, c.expected)) << c.a << "/" << c.l << ": " << r.left << "," << r.top << "," << r.right
                                         << "," << r.bottom;
    EXPECT_EQ(stretch, c.stretch);
  }

  TColor a, b;
  FrameStyleColors(3, a, b);
  EXPECT_EQ(a, clBtnShadow);
  EXPECT_EQ(b, clBtnHighlight);
  EXPECT_TRUE(SameRect(ShrinkSides(RECT{0, 0, 10, 10}, SideBottom | SideLeft, 2), RECT{2, 0, 10, 8}));
}

TEST(Gradient, BandsColoursAndLimits) {
  const RECT strip{0, 0, 742, 4};
  struct CountCase {
    TglGradientDir d;
    int steps;
    RECT r;
    int expected;
  } counts[] = {
      {fgdHorizontal, 255, strip, 4},   {fgdVertical, 255, strip, 255},   {fgdVertical, 255, {0, 0, 100, 4}, 100},
      {fgdLeftBias, 255, {0, 0, 50, 20}, 70}, {fgdRectangle, 255, {0, 0, 100, 40}, 20},
  };
  for (const CountCase& c : counts) EXPECT_EQ(GradientBandCount(c.d, c.steps, c.r), c.expected) << c.d;

  // The bands go from one colour to the other and cover the rectangle without gaps.
  const COLORREF from = RGB(0, 0, 255), to = RGB(255, 255, 255);
  EXPECT_EQ(GradientBandColor(from, to, 0, 255), from);
  EXPECT_EQ(GradientBandColor(from, to, 254, 255), to);
  EXPECT_EQ(GradientBandColor(from, to, 127, 255), RGB(128, 128, 255));
  int right = 0;
  for (int i = 0; i < 255; ++i) {
    RECT band = GradientBandRect(fgdVertical, strip, i, 255);
    EXPECT_EQ(band.left, right);
    EXPECT_EQ(band.top, 0);
    EXPECT_EQ(band.bottom, 4);
    right = band.right;
  }
  EXPECT_EQ(right, 742);
  RECT inner = GradientBandRect(fgdRectangle, RECT{0, 0, 100, 40}, 10, 20);
  EXPECT_TRUE(SameRect(inner, RECT{25, 10, 75, 30}));

  // With 50 per cent, painting stops after the first band past half.
  int painted = 0;
  for (int i = 0; i < 10; ++i) {
    ++painted;
    if (GradientStopsAfter(i, 10, 50)) break;
  }
  EXPECT_EQ(painted, 7);

  // Diagonal lines walk the edges from their corner.
  TGradientLine l = GradientBiasLine(fgdLeftBias, RECT{0, 0, 10, 4}, 6, 1);
  EXPECT_EQ(l.A.x, 2);
  EXPECT_EQ(l.A.y, 4);
  EXPECT_EQ(l.B.x, 6);
  EXPECT_EQ(l.B.y, 0);
  l = GradientBiasLine(fgdRightBias, RECT{0, 0, 10, 4}, 2, 1);
  EXPECT_EQ(l.A.x, 8);
  EXPECT_EQ(l.B.y, 2);

  TKvgGradient g;
  int changes = 0;
  g.OnChange = [&](TObject*) { ++changes; };
  g.SetSteps(0);
  EXPECT_EQ(g.Steps(), 1);
  g.SetSteps(300);
  EXPECT_EQ(g.Steps(), 255);
  g.SetPercentFilling(101);
  g.SetPercentFilling(-1);
  EXPECT_EQ(g.PercentFilling(), 100);
  g.SetFromColor(clHighlight);
  EXPECT_EQ(g.RGBFromColor(), ColorToRGB(clHighlight));
  EXPECT_EQ(changes, 3);
  TKvgGradient copy;
  copy.Assign(&g);
  EXPECT_EQ(copy.Steps(), 255);
  EXPECT_EQ(copy.FromColor(), clHighlight);
}

TEST(WizardHeaderLayout, LinesAndBoxes) {
  struct LineCase {
    int count, pageNo, expected;
  } lines[] = {{0, 1, -1}, {1, 1, 0}, {3, 1, 1}, {3, 7, 2}, {3, 0, 0}, {3, -2, 0}};
  for (const LineCase& c : lines) EXPECT_EQ(HeaderLineIndex(c.count, c.pageNo), c.expected) << c.count << "/" << c.pageNo;

  const RECT client{0, 0, 742, 85};
  EXPECT_TRUE(SameRect(HeaderCaptionRect(client), RECT{20, 8, 682, 80}));
  RECT area = HeaderCommentArea(client, 23);
  EXPECT_TRUE(SameRect(area, RECT{40, 31, 682, 80}));
  RECT measured{40, 31, 600, 45};
  EXPECT_TRUE(SameRect(CenterComment(area, measured), RECT{40, 48, 600, 62}));
  POINT g = HeaderGlyphPosition(client, 85, SIZE{48, 48});
  EXPECT_EQ(g.x, 742 - 48 - 18);
  EXPECT_EQ(g.y, 18);
  EXPECT_TRUE(SameRect(HeaderSymbolBox(client, true), RECT{692, 5, 737, 77}));
  EXPECT_TRUE(SameRect(HeaderSymbolBox(client, false), RECT{692, 5, 737, 80}));
  EXPECT_TRUE(SameRect(HeaderGradientStrip(client), RECT{0, 80, 742, 84}));
}

TEST(WizardNavigateButton, WithoutAControlReadsNothingAndIgnoresWrites) {
  TKvWizardNavigateButton empty;
  empty.SetCaption("Next");
  empty.SetWidth(93);
  empty.SetModalResult(2);
  EXPECT_EQ(empty.Caption(), "");
  EXPECT_EQ(empty.Width(), 0);
  EXPECT_EQ(empty.ModalResult(), 0);
  EXPECT_EQ(empty.Glyph(), nullptr);
  EXPECT_EQ(empty.Layout(), blGlyphLeft);
}

TEST(WizardPageOrder, IsForwardComparesPagesOfOneWizard) {
  TKvWizard one(nullptr), two(nullptr);
  auto* a = new TKvWizardInteriorPage(&one);
  auto* b = new TKvWizardInteriorPage(&one);
  auto* other = new TKvWizardInteriorPage(&two);
  a->SetWizard(&one);
  b->SetWizard(&one);
  other->SetWizard(&two);
  EXPECT_TRUE(one.IsForward(a, b));
  EXPECT_FALSE(one.IsForward(b, a));
  EXPECT_TRUE(one.IsForward(nullptr, a));
  EXPECT_FALSE(one.IsForward(a, nullptr));
  try {
    one.IsForward(a, other);
    FAIL() << "pages of two wizards were compared";
  } catch (const EKvWizardError& e) {
    EXPECT_STREQ(e.what(), "The pages belong to another wizard");
  }
  // A page moved to another wizard leaves the first one's list.
  b->SetWizard(&two);
  EXPECT_EQ(one.Pages()->Count(), 1);
  EXPECT_EQ(two.Pages()->Count(), 2);
  EXPECT_EQ(b->PageIndex(), 1);
}
