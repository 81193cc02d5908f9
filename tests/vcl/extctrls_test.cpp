#include <gtest/gtest.h>

#include <memory>

#include "tests/vcl/test_windows.h"
#include "vcl/application.h"
#include "vcl/comctrls_updown.h"
#include "vcl/extctrls.h"
#include "vcl/stdctrls.h"
#include "vcl/themes.h"

namespace {

using testwin::THostWindow;

// A 24-bit memory bitmap that controls paint into through WM_PAINT with a DC.
class TMemoryPaint {
 public:
  TMemoryPaint(int width, int height, TColor background = clWhite) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    FDC = CreateCompatibleDC(nullptr);
    FBitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    FOld = SelectObject(FDC, FBitmap);
    RECT r{0, 0, width, height};
    // What the parent's erasing would have left.
    HBRUSH brush = CreateSolidBrush(ColorToRGB(background));
    FillRect(FDC, &r, brush);
    DeleteObject(brush);
  }
  ~TMemoryPaint() {
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
  }
  HDC DC() const { return FDC; }
  COLORREF At(int x, int y) const { return GetPixel(FDC, x, y); }

 private:
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld;
};

void PaintInto(TControl* control, const TMemoryPaint& paint) {
  control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(paint.DC()), 0);
}

// Switches themed controls off for the application (the classic look) while it lives.
class TClassicLookScope {
 public:
  TClassicLookScope() {
    FLibrary = LoadLibraryA("uxtheme.dll");
    if (FLibrary) FSet = reinterpret_cast<void(WINAPI*)(DWORD)>(GetProcAddress(FLibrary, "SetThemeAppProperties"));
    if (FSet) FSet(0);
    ThemeServices()->UpdateThemes();
  }
  ~TClassicLookScope() {
    if (FSet) FSet(1 | 2 | 4);  // non-client area, controls and web content themed
    ThemeServices()->UpdateThemes();
    if (FLibrary) FreeLibrary(FLibrary);
  }

 private:
  HMODULE FLibrary = nullptr;
  void(WINAPI* FSet)(DWORD) = nullptr;
};

class ExtControls : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    host.reset(new THostWindow(nullptr));
    host->HandleNeeded();
  }
  void TearDown() override { host.reset(); }
  std::unique_ptr<THostWindow> host;
};

// --- image ----------------------------------------------------------------------------

TEST(ImageGeometry, WhereThePictureGoes) {
  const struct {
    const char* name;
    int pw, ph, cw, ch;
    bool stretch, proportional, center;
    RECT expected;
  } cases[] = {
      {"own size, top left", 100, 50, 200, 200, false, false, false, {0, 0, 100, 50}},
      {"centred", 100, 50, 200, 200, false, false, true, {50, 75, 150, 125}},
      {"stretched", 100, 50, 200, 200, true, false, false, {0, 0, 200, 200}},
      {"stretched keeping the aspect", 100, 50, 200, 200, true, true, false, {0, 0, 200, 100}},
      {"... and centred", 100, 50, 200, 200, true, true, true, {0, 50, 200, 150}},
      {"a tall picture fills the height", 50, 100, 200, 100, true, true, false, {0, 0, 50, 100}},
      {"the other side would overflow", 300, 200, 100, 50, true, true, false, {0, 0, 75, 50}},
      {"proportional alone never enlarges", 100, 50, 200, 200, false, true, false, {0, 0, 100, 50}},
      {"proportional alone shrinks a large picture", 400, 100, 200, 200, false, true, true, {0, 75, 200, 125}},
      {"a picture larger than the area, centred", 300, 300, 100, 100, false, false, true, {-100, -100, 200, 200}},
      {"no picture, stretched", 0, 0, 30, 20, true, true, false, {0, 0, 30, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RECT r = ImageDestRect(c.pw, c.ph, c.cw, c.ch, c.stretch, c.proportional, c.center);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
}

TEST_F(ExtControls, ImagePaintsItsPictureStretchedCentredOrTransparent) {
  host->SetColor(clBlue);
  auto* image = new TImage(host.get());
  image->SetParent(host.get());
  image->SetBounds(10, 10, 40, 40);
  // Left half red, right half green, bottom left pixel white (the transparent colour).
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  bitmap.Canvas()->SetPixels(0, 0, clRed);
  bitmap.Canvas()->SetPixels(1, 0, clLime);
  bitmap.Canvas()->SetPixels(0, 1, clWhite);
  bitmap.Canvas()->SetPixels(1, 1, clLime);
  image->Picture()->SetGraphic(&bitmap);

  image->SetStretch(true);
  {
    TMemoryPaint paint(100, 100, clBlue);
    PaintInto(host.get(), paint);
    EXPECT_EQ(paint.At(15, 15), ColorToRGB(clRed));
    EXPECT_EQ(paint.At(45, 15), ColorToRGB(clLime));
    EXPECT_EQ(paint.At(15, 45), ColorToRGB(clWhite));
    EXPECT_EQ(paint.At(5, 5), ColorToRGB(clBlue));  // the host around it
  }
  image->SetTransparent(true);
  {
    TMemoryPaint paint(100, 100, clBlue);
    PaintInto(host.get(), paint);
    EXPECT_EQ(paint.At(15, 45), ColorToRGB(clBlue));  // the white quarter lets the host through
    EXPECT_EQ(paint.At(15, 15), ColorToRGB(clRed));
  }
  image->SetTransparent(false);
  image->SetStretch(false);
  image->SetCenter(true);
  {
    TMemoryPaint paint(100, 100, clBlue);
    PaintInto(host.get(), paint);
    EXPECT_EQ(paint.At(29, 29), ColorToRGB(clRed));  // the 2 x 2 picture at 29..30
    EXPECT_EQ(paint.At(30, 29), ColorToRGB(clLime));
    EXPECT_EQ(paint.At(20, 20), ColorToRGB(clBlue));  // not opaque: the host shows
  }
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 2);
  EXPECT_EQ(image->Height(), 2);
}

TEST_F(ExtControls, ImageClicksReachOnClick) {
  auto* image = new TImage(host.get());
  image->SetParent(host.get());
  image->SetBounds(10, 10, 40, 40);
  int clicks = 0;
  image->OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(host->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
  SendMessageA(host->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(clicks, 1);
}

// --- panel, bevel, shape --------------------------------------------------------------

TEST_F(ExtControls, PanelFramesBevelsAndBorderAndKeepsChildrenInside) {
  auto* panel = new TPanel(host.get());
  panel->SetParent(host.get());
  panel->SetBounds(0, 0, 100, 50);
  panel->SetCaption("");
  panel->SetParentBackground(false);
  panel->SetColor(clRed);
  panel->SetBevelOuter(bvRaised);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  panel->HandleNeeded();
  auto* child = new testwin::TBox(host.get());
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->Left(), 7);
  EXPECT_EQ(child->Top(), 7);
  EXPECT_EQ(child->Width(), 86);
  EXPECT_EQ(child->Height(), 36);
  child->SetVisible(false);

  TMemoryPaint paint(100, 50);
  PaintInto(panel, paint);
  const struct {
    int x, y;
    TColor color;
  } points[] = {
      {1, 10, clBtnHighlight}, {98, 10, clBtnShadow},  // outer bevel, raised
      {10, 1, clBtnHighlight}, {10, 48, clBtnShadow},
      {3, 10, clRed},          {4, 20, clRed},         // the border in the panel's colour
      {5, 10, clBtnShadow},    {94, 10, clBtnHighlight},  // inner bevel, lowered
      {6, 20, clBtnShadow},    {93, 20, clBtnHighlight},
      {50, 25, clRed},                                 // the inside
  };
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    EXPECT_EQ(paint.At(p.x, p.y), ColorToRGB(p.color));
  }
}

TEST_F(ExtControls, PanelCaptionIsCentredOnTheHeightOfWAndAligned) {
  auto* panel = new TPanel(host.get());
  panel->SetParent(host.get());
  panel->SetBounds(0, 0, 200, 60);
  panel->SetParentBackground(false);
  panel->SetColor(clWhite);
  panel->Font()->SetColor(clBlack);
  panel->SetBevelOuter(bvNone);
  panel->SetCaption("WWW");
  // The columns and rows that hold black text.
  auto inked = [&](TAlignment alignment) {
    panel->SetAlignment(alignment);
    TMemoryPaint paint(200, 60);
    PaintInto(panel, paint);
    RECT box{200, 60, -1, -1};
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 200; ++x)
        if (paint.At(x, y) == 0) {
          box.left = std::min<LONG>(box.left, x);
          box.right = std::max<LONG>(box.right, x);
          box.top = std::min<LONG>(box.top, y);
          box.bottom = std::max<LONG>(box.bottom, y);
        }
    return box;
  };
  const RECT left = inked(taLeftJustify), right = inked(taRightJustify), centre = inked(taCenter);
  EXPECT_LT(left.left, 3);
  EXPECT_GT(right.right, 196);
  EXPECT_NEAR((centre.left + centre.right) / 2, 100, 3);
  // The band of "W" is centred: as much room above the text as below it.
  EXPECT_NEAR(centre.top, 59 - centre.bottom, 3);
}

TEST_F(ExtControls, PanelShowsItsParentsBackgroundOnlyWithThemes) {
  host->SetColor(clBlue);
  host->SetVisible(true);
  auto* panel = new TPanel(host.get());
  panel->SetParent(host.get());
  panel->SetBounds(10, 10, 100, 50);
  panel->SetBevelOuter(bvNone);
  panel->SetCaption("");
  panel->SetColor(clRed);
  panel->SetParentBackground(true);
  auto centre = [&] {
    RedrawWindow(host->Handle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testwin::Flush();
    HDC dc = GetDC(panel->Handle());
    COLORREF c = GetPixel(dc, 50, 25);
    ReleaseDC(panel->Handle(), dc);
    return c;
  };
  if (ThemeServices()->ThemesEnabled()) EXPECT_EQ(centre(), ColorToRGB(clBlue));
  {
    TClassicLookScope classic;
    ASSERT_FALSE(ThemeServices()->ThemesEnabled());
    EXPECT_EQ(centre(), ColorToRGB(clRed));
  }
}

TEST_F(ExtControls, ButtonFaceAndGroupFrameThemedOrClassic) {
  TMemoryPaint paint(60, 30);
  RECT r{0, 0, 60, 30};
  if (ThemeServices()->ThemesEnabled()) {
    EXPECT_TRUE(ThemeServices()->DrawElement(paint.DC(), PushButtonDetails(tbsNormal), r));
  }
  TClassicLookScope classic;
  EXPECT_FALSE(ThemeServices()->DrawElement(paint.DC(), PushButtonDetails(tbsNormal), r));
  DrawButtonFace(paint.DC(), r, tbsNormal);
  EXPECT_EQ(paint.At(30, 15), ColorToRGB(clBtnFace));
  EXPECT_EQ(paint.At(59, 29), ColorToRGB(cl3DDkShadow));
  TMemoryPaint frame(60, 30);
  DrawGroupBoxFrame(frame.DC(), r, true);
  EXPECT_EQ(frame.At(0, 10), ColorToRGB(clBtnShadow));
  EXPECT_EQ(frame.At(1, 10), ColorToRGB(clBtnHighlight));
}

TEST_F(ExtControls, BevelShapesAndStyles) {
  auto* bevel = new TBevel(host.get());
  bevel->SetParent(host.get());
  bevel->SetBounds(0, 0, 40, 20);
  const struct {
    TBevelShape shape;
    TBevelStyle style;
    int x, y;
    TColor color;
  } cases[] = {
      {bsBox, bsLowered, 0, 10, clBtnShadow},    {bsBox, bsLowered, 39, 10, clBtnHighlight},
      {bsBox, bsRaised, 0, 10, clBtnHighlight},  {bsTopLine, bsLowered, 20, 0, clBtnShadow},
      {bsTopLine, bsLowered, 20, 1, clBtnHighlight}, {bsBottomLine, bsRaised, 20, 19, clBtnShadow},
      {bsRightLine, bsLowered, 38, 10, clBtnShadow}, {bsLeftLine, bsLowered, 1, 10, clBtnHighlight},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.shape << "/" << c.style << " at " << c.x << "," << c.y);
    bevel->SetShape(c.shape);
    bevel->SetStyle(c.style);
    TMemoryPaint paint(40, 20);
    PaintInto(bevel, paint);
    EXPECT_EQ(paint.At(c.x, c.y), ColorToRGB(c.color));
  }
}

TEST_F(ExtControls, ShapeIsOutlinedWithItsPenAndFilledWithItsBrush) {
  auto* shape = new TShape(host.get());
  shape->SetParent(host.get());
  shape->SetBounds(0, 0, 40, 20);
  shape->Pen()->SetColor(clRed);
  shape->Brush()->SetColor(clLime);
  TMemoryPaint paint(40, 20);
  PaintInto(shape, paint);
  EXPECT_EQ(paint.At(0, 10), ColorToRGB(clRed));
  EXPECT_EQ(paint.At(20, 10), ColorToRGB(clLime));
  // A circle is as wide as the shorter side, in the middle.
  shape->SetShape(stCircle);
  shape->Pen()->SetStyle(psClear);
  TMemoryPaint circle(40, 20);
  PaintInto(shape, circle);
  EXPECT_EQ(circle.At(20, 10), ColorToRGB(clLime));
  EXPECT_EQ(circle.At(3, 10), RGB(255, 255, 255));
}

// --- splitter -------------------------------------------------------------------------

TEST_F(ExtControls, DraggingTheSplitterResizesItsNeighbourWithinBounds) {
  host->SetBounds(40, 40, 300, 100);
  auto* left = new testwin::TBox(host.get());
  left->SetParent(host.get());
  left->SetBounds(0, 0, 100, 100);
  left->SetAlign(alLeft);
  auto* splitter = new TSplitter(host.get());
  splitter->SetParent(host.get());
  splitter->SetLeft(200);  // placed after the left box by alignment
  auto* rest = new testwin::TBox(host.get());
  rest->SetParent(host.get());
  rest->SetAlign(alClient);
  ASSERT_EQ(splitter->Left(), 100);
  int moved = 0;
  splitter->OnMoved = [&](TObject*) { ++moved; };
  HWND wnd = host->Handle();
  const int y = 50;
  SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, y));
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(151, y));
  EXPECT_EQ(left->Width(), 150);
  EXPECT_EQ(splitter->Left(), 150);
  EXPECT_EQ(rest->Left(), 153);
  EXPECT_EQ(moved, 1);
  // Not past the smallest size of what remains, nor below its own.
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, y));
  EXPECT_EQ(left->Width(), host->ClientWidth() - splitter->MinSize - splitter->Width());
  SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, y));
  EXPECT_EQ(left->Width(), splitter->MinSize);
  SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, y));
  // Released: moving no longer resizes.
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(200, y));
  EXPECT_EQ(left->Width(), splitter->MinSize);
  EXPECT_EQ(moved, 3);
}

// --- scroll box -----------------------------------------------------------------------

TEST_F(ExtControls, ScrollBoxRangeFollowsTheChildrenAndScrollingMovesThem) {
  auto* box = new TScrollBox(host.get());
  box->SetParent(host.get());
  box->SetBorderStyle(bsNone);
  box->SetBounds(0, 0, 200, 150);
  box->HandleNeeded();
  auto* child = new testwin::TBox(host.get());
  child->SetParent(box);
  child->SetBounds(10, 300, 50, 50);
  EXPECT_EQ(box->VertScrollBar()->Range(), 350);
  EXPECT_EQ(box->HorzScrollBar()->Range(), 60);
  EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
  EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
  SCROLLINFO si{sizeof si, SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(box->Handle(), SB_VERT, &si));
  EXPECT_EQ(si.nMax, 349);
  EXPECT_EQ(static_cast<int>(si.nPage), box->ClientHeight());

  HWND wnd = box->Handle();
  SendMessageA(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(box->VertScrollBar()->Position(), 8);
  EXPECT_EQ(child->Top(), 292);
  SendMessageA(wnd, WM_VSCROLL, SB_BOTTOM, 0);
  const int last = 350 - box->ClientHeight();
  EXPECT_EQ(box->VertScrollBar()->Position(), last);
  EXPECT_EQ(child->Top(), 300 - last);
  RECT childWindow{};
  GetWindowRect(child->Handle(), &childWindow);
  MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&childWindow), 2);
  EXPECT_EQ(childWindow.top, 300 - last);  // the window moved too
  si.fMask = SIF_POS;
  GetScrollInfo(wnd, SB_VERT, &si);
  EXPECT_EQ(si.nPos, last);
  // Adding a child further down widens the range; the position stays.
  auto* lower = new testwin::TBox(host.get());
  lower->SetParent(box);
  lower->SetBounds(10, 400 - last, 20, 20);
  EXPECT_EQ(box->VertScrollBar()->Range(), 420);
  SendMessageA(wnd, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(child->Top(), 300);
  box->ScrollInView(child);
  EXPECT_EQ(child->Top() + child->Height(), box->ClientHeight());
  // Past the end is clamped.
  box->VertScrollBar()->SetPosition(100000);
  EXPECT_EQ(box->VertScrollBar()->Position(), 420 - box->ClientHeight());
}

// --- up-down --------------------------------------------------------------------------

TEST_F(ExtControls, UpDownStepsItsPositionAndShowsItInItsEdit) {
  auto* edit = new TEdit(host.get());
  edit->SetParent(host.get());
  edit->SetBounds(10, 10, 60, 22);
  auto* updown = new TUpDown(host.get());
  updown->SetParent(host.get());
  updown->SetMin(1);
  updown->SetMax(1400);
  updown->SetPosition(700);
  updown->SetThousands(false);
  updown->SetAssociate(edit);
  updown->HandleNeeded();
  EXPECT_EQ(edit->Text(), "700");
  // It sits at the edit's right.
  EXPECT_EQ(updown->Left(), edit->Left() + edit->Width());

  std::vector<TUDBtnType> clicks;
  updown->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
  bool allow = true;
  updown->OnChanging = [&](TObject*, bool& a) { a = allow; };
  auto press = [&](bool upper) {
    HWND wnd = updown->Handle();
    RECT r;
    GetClientRect(wnd, &r);
    LPARAM at = MAKELPARAM(r.right / 2, upper ? 2 : r.bottom - 3);
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(wnd, WM_LBUTTONUP, 0, at);
  };
  press(true);
  EXPECT_EQ(updown->Position(), 701);
  EXPECT_EQ(edit->Text(), "701");
  press(false);
  press(false);
  EXPECT_EQ(updown->Position(), 699);
  EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev, btPrev}));
  allow = false;
  press(true);
  EXPECT_EQ(updown->Position(), 699);
  allow = true;
  // The range changed at run time holds the position inside it.
  updown->SetMax(10);
  updown->SetPosition(10);
  press(true);
  EXPECT_EQ(updown->Position(), 10);
  // The edit going away leaves no dangling association.
  delete edit;
  EXPECT_EQ(updown->Associate(), nullptr);
}
}  // namespace
