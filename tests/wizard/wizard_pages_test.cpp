// Wizard pages: the room the header and water mark take, what the page paints, the title
// fonts following the page, and the drawing routines' errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "tests/vcl/test_windows.h"
#include "wizard/wizard_control.h"

using namespace testwin;

namespace {

struct PagesFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(600, 400)};
  TKvWizard* wizard = nullptr;
  void SetUp() override {
    wizard = new TKvWizard(host.get());
    wizard->SetParent(host.get());
  }
  COLORREF ScreenPixel(TWinControl* c, int x, int y) {
    POINT p{x, y};
    ClientToScreen(c->Handle(), &p);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return colour;
  }
};

}  // namespace

TEST_F(PagesFixture, ChildrenGoBelowTheHeaderAndBesideTheWaterMark) {
  auto* welcome = new TKvWizardWelcomePage(host.get());
  welcome->SetWizard(wizard);
  EXPECT_EQ(welcome->Title()->Text(), "Welcome");
  EXPECT_EQ(welcome->Color(), clWindow);
  auto* child = new TBox(host.get());
  child->SetParent(welcome);
  child->SetAlign(alClient);
  wizard->SelectFirstPage();
  UpdateWindow(host->Handle());
  Flush();
  EXPECT_EQ(child->Left(), 164);
  EXPECT_EQ(child->Top(), 70);
  EXPECT_EQ(child->Width(), welcome->Width() - 164);

  // The water mark at the right: children and header start at the left edge.
  welcome->WaterMark()->SetAlign(alRightSide);
  EXPECT_EQ(child->Left(), 0);
  EXPECT_EQ(child->Width(), welcome->Width() - 164);
  // A hidden header takes no room.
  welcome->Header()->SetVisible(false);
  EXPECT_EQ(child->Top(), 0);
  welcome->Header()->SetVisible(true);
  child->SetVisible(false);
  UpdateWindow(welcome->Handle());
  Flush();
  // The water mark is painted inside its one-pixel border at the right.
  EXPECT_EQ(ScreenPixel(welcome, welcome->Width() - 80, 200), ColorToRGB(clActiveCaption));
  EXPECT_EQ(ScreenPixel(welcome, welcome->Width() - 1, 200), ColorToRGB(clWindow));
  // Header background, then the page below it.
  EXPECT_EQ(ScreenPixel(welcome, 300, 60), ColorToRGB(clWindow));
  if (const char* shot = std::getenv("KAVO_WIZARD_PAGE_SHOT")) {
    POINT origin{0, 0};
    ClientToScreen(host->Handle(), &origin);
    TBitmap bmp;
    bmp.SetSize(600, 400);
    HDC screen = GetDC(nullptr);
    BitBlt(bmp.Canvas()->Handle(), 0, 0, 600, 400, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    bmp.SaveToFile(shot);
  }
}

TEST_F(PagesFixture, TitlesFollowThePageFontUntilGivenTheirOwn) {
  auto* page = new TKvWizardInteriorPage(host.get());
  page->SetWizard(wizard);
  page->Font()->SetName("Courier New");
  EXPECT_EQ(page->Title()->Font()->Name(), "Courier New");
  EXPECT_EQ(page->Subtitle()->Font()->Name(), "Courier New");
  EXPECT_TRUE(page->Header()->ParentFont());
  EXPECT_TRUE(page->Title()->Font()->Style() & fsBold);

  page->Title()->Font()->SetName("Tahoma");
  EXPECT_FALSE(page->Header()->ParentFont());
  page->Font()->SetName("Arial");
  EXPECT_EQ(page->Title()->Font()->Name(), "Tahoma");
  page->Header()->SetParentFont(true);
  EXPECT_TRUE(page->Header()->ParentFont());
  EXPECT_EQ(page->Title()->Font()->Name(), "Arial");

  // The title's box: anchored left, top and right, 4 pixels in, as wide as the header.
  TBitmap bmp;
  bmp.SetSize(10, 10);
  RECT area{0, 0, 500, 70};
  RECT r = page->Title()->GetTextRect(bmp.Canvas(), area);
  EXPECT_EQ(r.left, 4);
  EXPECT_EQ(r.top, 4);
  EXPECT_EQ(r.right, 496);
}

TEST(WizardDrawing, TilingNeedsAPictureWithASize) {
  TBitmap target;
  target.SetSize(20, 20);
  TBitmap empty;
  EXPECT_THROW(DrawTiledGraphic(target.Canvas(), &empty, RECT{0, 0, 20, 20}), EKvWizardError);
  EXPECT_NO_THROW(DrawAlignedGraphic(target.Canvas(), nullptr, RECT{0, 0, 20, 20}, iaLeft, ilTile));

  TBitmap tile;
  tile.SetSize(3, 3);
  tile.Canvas()->Brush()->SetColor(clRed);
  tile.Canvas()->FillRect(RECT{0, 0, 3, 3});
  DrawAlignedGraphic(target.Canvas(), &tile, RECT{0, 0, 20, 20}, iaLeft, ilTile);
  EXPECT_EQ(target.Canvas()->Pixels(19, 19), clRed);

  // An etched line: shadow on the top row, highlight just below.
  TBitmap line;
  line.SetSize(10, 10);
  RECT rest;
  DrawFrameStyle(line.Canvas(), RECT{0, 0, 10, 10}, 3, SideTop, rest);
  EXPECT_EQ(static_cast<COLORREF>(line.Canvas()->Pixels(5, 0)), ColorToRGB(clBtnShadow));
  EXPECT_EQ(static_cast<COLORREF>(line.Canvas()->Pixels(5, 1)), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(rest.top, 2);
}
