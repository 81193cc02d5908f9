// Painting through canvases, checked on the screen's pixels, and the drawing objects.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "tests/vcl/test_windows.h"
#include "vcl/controls.h"
#include "vcl/graphics.h"

using namespace testwin;

namespace {

// Paints a red square, a blue line and leaves the rest to the background.
class TSwatch : public TCustomControl {
 public:
  explicit TSwatch(TComponent* owner) : TCustomControl(owner) {}
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(RECT{0, 0, 20, 20});
    Canvas()->Pen()->SetColor(clBlue);
    Canvas()->MoveTo(0, 30);
    Canvas()->LineTo(60, 30);
  }
};

// A window-less control that paints more than its bounds (the parent clips it).
class TGreenSpot : public TGraphicControl {
 public:
  explicit TGreenSpot(TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->FillRect(RECT{-10, -10, Width() + 10, Height() + 10});
  }
};

// A white swatch on a shown host with a green spot inside it, at the spot's given place,
// painted once.
struct TSwatchScene {
  std::unique_ptr<THostWindow> host{ShownHost()};
  TSwatch* swatch = new TSwatch(host.get());
  TGreenSpot* spot = new TGreenSpot(host.get());

  TSwatchScene(int spotLeft, int spotTop) {
    swatch->SetBounds(10, 10, 150, 100);
    swatch->SetColor(clWhite);
    swatch->SetParent(host.get());
    spot->SetBounds(spotLeft, spotTop, 20, 20);
    spot->SetParent(swatch);
    swatch->Repaint();
  }
};

COLORREF PixelOf(HWND wnd, int x, int y) {
  HDC dc = GetDC(wnd);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return c;
}

TEST(Canvas, CustomControlsAndWindowlessChildrenPaintOnTheScreen) {
  TSwatchScene scene(100, 50);
  TSwatch* swatch = scene.swatch;
  TGreenSpot* spot = scene.spot;
  HWND wnd = swatch->WindowHandle();
  ASSERT_GT(swatch->paints, 0);

  EXPECT_EQ(PixelOf(wnd, 5, 5), ColorToRGB(clRed));
  EXPECT_EQ(PixelOf(wnd, 25, 5), ColorToRGB(clWhite));  // erased with the control's colour
  EXPECT_EQ(PixelOf(wnd, 30, 30), ColorToRGB(clBlue));
  EXPECT_EQ(PixelOf(wnd, 110, 60), ColorToRGB(clLime));
  EXPECT_EQ(PixelOf(wnd, 98, 60), ColorToRGB(clWhite));  // clipped to its bounds
  EXPECT_EQ(PixelOf(wnd, 121, 60), ColorToRGB(clWhite));

  // Moving the child repaints where it was and where it is.
  spot->SetLeft(60);
  swatch->Update();
  EXPECT_EQ(PixelOf(wnd, 110, 60), ColorToRGB(clWhite));
  EXPECT_EQ(PixelOf(wnd, 70, 60), ColorToRGB(clLime));
}

TEST(Canvas, WindowlessControlDrawsOnItsParentOutsidePaint) {
  TSwatchScene scene(80, 70);
  TSwatch* swatch = scene.swatch;
  TGreenSpot* spot = scene.spot;
  // The canvas's device context is the parent's, moved to the control and clipped to it.
  spot->Canvas()->Brush()->SetColor(clNavy);
  spot->Canvas()->FillRect(RECT{0, 0, 100, 100});
  GdiFlush();
  HWND wnd = swatch->WindowHandle();
  EXPECT_EQ(PixelOf(wnd, 80, 70), ColorToRGB(clNavy));
  EXPECT_EQ(PixelOf(wnd, 99, 89), ColorToRGB(clNavy));
  EXPECT_EQ(PixelOf(wnd, 100, 89), ColorToRGB(clWhite));
}

TEST(Canvas, EditColourIsAnsweredByTheEditThroughReflection) {
  std::unique_ptr<THostWindow> host(ShownHost());
  auto* edit = new TLineEdit(host.get());
  edit->SetBounds(10, 10, 150, 24);
  edit->SetParent(host.get());
  edit->SetColor(clYellow);
  edit->Repaint();
  RECT client{};
  GetClientRect(edit->WindowHandle(), &client);
  EXPECT_EQ(PixelOf(edit->WindowHandle(), client.right - 5, client.bottom / 2), ColorToRGB(clYellow));
}

TEST(Canvas, DrawingObjectsShareHandlesByDescription) {
  TFont a, b;
  EXPECT_EQ(a.Handle(), b.Handle());
  b.SetStyle(fsBold | fsItalic);
  EXPECT_NE(a.Handle(), b.Handle());
  EXPECT_EQ(b.Style(), static_cast<TFontStyles>(fsBold | fsItalic));
  a.Assign(&b);
  EXPECT_EQ(a.Handle(), b.Handle());
  TBrush red1, red2;
  red1.SetColor(clRed);
  red2.SetColor(clRed);
  EXPECT_EQ(red1.Handle(), red2.Handle());
  TPen p1, p2;
  p2.SetWidth(3);
  EXPECT_NE(p1.Handle(), p2.Handle());

  // A font takes a handle's description; the handle stays the caller's.
  HFONT mine = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  {
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetHandle(mine);
    EXPECT_EQ(f.Name(), "Arial");
    EXPECT_EQ(f.Height(), -20);
    EXPECT_EQ(f.Size(), 15);
    EXPECT_TRUE(f.Style() & fsBold);
    EXPECT_EQ(changes, 1);
    f.SetHandle(mine);  // the same description is no change
    EXPECT_EQ(changes, 1);
  }
  EXPECT_EQ(GetObjectType(mine), static_cast<DWORD>(OBJ_FONT));
  DeleteObject(mine);
}

TEST(Canvas, TextAndFramesOnAMemoryCanvas) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 100, 60);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clWhite);
    canvas.FillRect(RECT{0, 0, 100, 60});
    EXPECT_GT(canvas.TextWidth("WWWW"), canvas.TextWidth("iiii"));
    EXPECT_GT(canvas.TextHeight("Ag"), 0);

    RECT r{10, 10, 50, 40};
    Frame3D(&canvas, r, clRed, clBlue, 2);
    EXPECT_EQ(r, (RECT{12, 12, 48, 38}));
    EXPECT_EQ(GetPixel(dc, 10, 20), ColorToRGB(clRed));   // left edge
    EXPECT_EQ(GetPixel(dc, 11, 11), ColorToRGB(clRed));   // second ring
    EXPECT_EQ(GetPixel(dc, 49, 20), ColorToRGB(clBlue));  // right edge
    EXPECT_EQ(GetPixel(dc, 30, 39), ColorToRGB(clBlue));  // bottom edge
    EXPECT_EQ(GetPixel(dc, 30, 25), ColorToRGB(clWhite));

    // A clear brush draws the letters only; a solid one fills behind them.
    canvas.Font()->SetColor(clBlack);
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(60, 5, "M");
    EXPECT_EQ(GetPixel(dc, 60, 5), ColorToRGB(clWhite));
    canvas.Brush()->SetColor(clGreen);  // solid again
    canvas.TextOut(60, 30, "M");
    EXPECT_EQ(GetPixel(dc, 60, 30), ColorToRGB(clGreen));
    EXPECT_EQ(canvas.PenPos().x, 60 + canvas.TextWidth("M"));
    // The colour the brush already has, asked for again, makes a clear brush paint too.
    canvas.Brush()->SetStyle(bsClear);
    canvas.Brush()->SetColor(clGreen);
    EXPECT_EQ(canvas.Brush()->Style(), bsSolid);
    canvas.SetHandle(nullptr);
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

}  // namespace
