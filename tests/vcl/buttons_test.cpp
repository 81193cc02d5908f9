// Glyph buttons: where glyph and caption go, the glyph's images, the bit button's kinds
// and drawing, the speed buttons' groups, and both read from a description.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "tests/support/classic_look.h"
#include "tests/support/pump.h"
#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/buttons.h"
#include "vcl/formtext.h"
#include "vcl/forms.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "tests/support/forms.h"

namespace {

using FormPtr = std::unique_ptr<TForm, FormFree>;

// A glyph strip of Count 16 x 16 images on a white (transparent) ground: image i holds
// a 8 x 8 square of Colors[i] in its middle.
std::unique_ptr<TBitmap> GlyphStrip(std::initializer_list<TColor> Colors) {
  auto strip = std::make_unique<TBitmap>();
  int count = static_cast<int>(Colors.size());
  strip->SetSize(16 * count, 16);
  TCanvas* c = strip->Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(RECT{0, 0, 16 * count, 16});
  int i = 0;
  for (TColor color : Colors) {
    c->Brush()->SetColor(color);
    c->FillRect(RECT{16 * i + 4, 4, 16 * i + 12, 12});
    ++i;
  }
  return strip;
}

// Draws an image-list image on a grey 16 x 16 memory bitmap; returns the colour at (x, y).
COLORREF ImagePixel(TButtonGlyph& glyph, TButtonState state, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, 16, 16};
  HBRUSH grey = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
  FillRect(mem, &all, grey);
  DeleteObject(grey);
  glyph.DrawGlyph(mem, POINT{0, 0}, state, true);
  COLORREF result = GetPixel(mem, x, y);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  return result;
}

TEST(ButtonLayout, GlyphAndCaptionArePlacedByLayoutMarginAndSpacing) {
  const RECT client{0, 0, 100, 40};
  const SIZE text{30, 10}, glyph{16, 16};
  struct Case {
    const char* what;
    TButtonLayout layout;
    int margin, spacing;
    bool rtl;
    POINT glyphPos;
    RECT textBounds;
  };
  const Case cases[] = {
      // Centred together: (100 - (16 + 4 + 30) + 1) / 2 = 25 from the left.
      {"left, centred", blGlyphLeft, -1, 4, false, {25, 12}, {45, 15, 75, 25}},
      {"right, centred", blGlyphRight, -1, 4, false, {59, 12}, {25, 15, 55, 25}},
      {"left, margin 5, spacing shared", blGlyphLeft, 5, -1, false, {5, 12}, {45, 15, 75, 25}},
      {"both shared evenly", blGlyphLeft, -1, -1, false, {18, 12}, {52, 15, 82, 25}},
      {"top", blGlyphTop, 2, 3, false, {42, 2}, {35, 21, 65, 31}},
      {"bottom", blGlyphBottom, 2, 3, false, {42, 22}, {35, 9, 65, 19}},
      {"right to left swaps sides", blGlyphLeft, 5, 4, true, {79, 12}, {45, 15, 75, 25}},
  };
  for (const Case& c : cases) {
    TButtonLayoutPlaces p = CalcButtonLayout(client, POINT{0, 0}, text, glyph, c.layout, c.margin, c.spacing, c.rtl);
    EXPECT_EQ(p.GlyphPos.x, c.glyphPos.x) << c.what;
    EXPECT_EQ(p.GlyphPos.y, c.glyphPos.y) << c.what;
    EXPECT_EQ(p.TextBounds.left, c.textBounds.left) << c.what;
    EXPECT_EQ(p.TextBounds.top, c.textBounds.top) << c.what;
    EXPECT_EQ(p.TextBounds.right, c.textBounds.right) << c.what;
    EXPECT_EQ(p.TextBounds.bottom, c.textBounds.bottom) << c.what;
  }
  // No caption: the glyph alone is centred; the pressed offset moves both.
  TButtonLayoutPlaces alone =
      CalcButtonLayout(RECT{10, 10, 110, 50}, POINT{1, 1}, SIZE{0, 0}, glyph, blGlyphLeft, -1, 4, false);
  EXPECT_EQ(alone.GlyphPos.x, 10 + 42 + 1);
  EXPECT_EQ(alone.GlyphPos.y, 10 + 12 + 1);
}

TEST(ButtonGlyphImages, EachStateHasItsImageMadeOnFirstNeed) {
  TButtonGlyph glyph;
  EXPECT_EQ(glyph.GlyphIndex(bsUp), -1);  // no glyph
  auto strip = GlyphStrip({clRed, clBlue, clLime});
  glyph.SetGlyph(strip.get());
  EXPECT_EQ(glyph.NumGlyphs(), 3);  // a strip of three square images
  EXPECT_EQ(glyph.GlyphSize().cx, 16);
  EXPECT_EQ(glyph.CachedIndex(bsDisabled), -1);

  EXPECT_EQ(ImagePixel(glyph, bsUp, 8, 8), RGB(0xFF, 0, 0));
  EXPECT_EQ(ImagePixel(glyph, bsDisabled, 8, 8), RGB(0, 0, 0xFF));
  EXPECT_EQ(ImagePixel(glyph, bsDown, 8, 8), RGB(0, 0xFF, 0));
  EXPECT_EQ(ImagePixel(glyph, bsExclusive, 8, 8), RGB(0, 0xFF, 0));  // the down image
  EXPECT_EQ(ImagePixel(glyph, bsUp, 1, 1), RGB(0x80, 0x80, 0x80));  // white is transparent
  EXPECT_GE(glyph.CachedIndex(bsDisabled), 0);

  // One image: the disabled look is an engraved grey copy, the down look the up image.
  auto single = GlyphStrip({clBlack});
  glyph.SetGlyph(single.get());
  EXPECT_EQ(glyph.NumGlyphs(), 1);
  EXPECT_EQ(glyph.CachedIndex(bsUp), -1);  // a new glyph starts a new image list
  EXPECT_EQ(ImagePixel(glyph, bsDisabled, 6, 6), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ImagePixel(glyph, bsDisabled, 12, 12), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(ImagePixel(glyph, bsDown, 6, 6), RGB(0, 0, 0));
}

class GlyphButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(60, 60, 360, 200);
    form->SetColor(clBtnFace);
  }
  template <class T>
  T* Add(const char* name) {
    auto* c = new T(form.get());
    c->SetName(name);
    c->SetParent(form.get());
    return c;
  }
  void Flush() { PumpUntil([] { return false; }, 50); }
  FormPtr form;
};

TEST_F(GlyphButtons, AKindBringsCaptionModalResultAndDefaultUntilOneIsChanged) {
  auto* ok = Add<TBitBtn>("btOK");
  ok->SetKind(bkOK);
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(ok->ModalResult, mrOk);
  EXPECT_TRUE(ok->Default());
  EXPECT_FALSE(IsStoredProp(ok, "Caption"));  // the kind's caption is the kind's to store
  EXPECT_FALSE(IsStoredProp(ok, "ModalResult"));
  ok->SetCaption("Fine");
  EXPECT_TRUE(IsStoredProp(ok, "Caption"));
  EXPECT_EQ(ok->Kind(), bkOK);

  auto* no = Add<TBitBtn>("btNo");
  no->SetKind(bkNo);
  EXPECT_EQ(no->Caption(), "&No");
  EXPECT_TRUE(no->Cancel);
  no->ModalResult = mrAbort;
  EXPECT_EQ(no->Kind(), bkCustom);  // no longer what the kind makes

  auto* help = Add<TBitBtn>("btHelp");
  help->SetKind(bkHelp);
  auto strip = GlyphStrip({clRed});
  help->SetGlyph(strip.get());
  EXPECT_EQ(help->Kind(), bkCustom);
  EXPECT_TRUE(IsStoredProp(help, "Glyph"));
}

TEST_F(GlyphButtons, ABitButtonDrawsItsGlyphAndCaptionEnabledAndDisabled) {
  auto* button = Add<TBitBtn>("btGo");
  button->SetBounds(10, 10, 120, 40);
  button->SetCaption("Go");
  auto strip = GlyphStrip({clRed, clBlue});
  button->SetGlyph(strip.get());
  form->Show();
  Flush();
  EXPECT_EQ(GetWindowLongPtrA(button->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  button->SetDefault(true);  // the system's default style would end owner drawing
  EXPECT_EQ(GetWindowLongPtrA(button->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

  // Drawn as the system asks, on a bitmap of our own.
  auto draw = [&](bool enabled, COLORREF& glyphPixel, int& textPixels) {
    button->SetEnabled(enabled);
    TBitmap target;
    target.SetSize(120, 40);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = button->Handle();
    dis.hDC = target.Canvas()->Handle();
    dis.rcItem = RECT{0, 0, 120, 40};
    button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    TButtonLayoutPlaces places{};
    HDC dc = target.Canvas()->Handle();
    SIZE text{};
    SelectObject(dc, button->Font()->Handle());
    GetTextExtentPoint32A(dc, "Go", 2, &text);
    RECT inner{2, 2, 118, 38};  // inside the frame
    places = CalcButtonLayout(inner, POINT{0, 0}, text, SIZE{16, 16}, blGlyphLeft, -1, 4, false);
    glyphPixel = GetPixel(dc, places.GlyphPos.x + 8, places.GlyphPos.y + 8);
    textPixels = 0;
    COLORREF face = ColorToRGB(clBtnFace);
    for (int y = places.TextBounds.top; y < places.TextBounds.bottom + 1; ++y)
      for (int x = places.TextBounds.left; x < places.TextBounds.right + 1; ++x)
        if (GetPixel(dc, x, y) != face) ++textPixels;
  };
  COLORREF glyphPixel = 0;
  int textPixels = 0;
  draw(true, glyphPixel, textPixels);
  EXPECT_EQ(glyphPixel, RGB(0xFF, 0, 0));
  EXPECT_GT(textPixels, 10);
  draw(false, glyphPixel, textPixels);
  EXPECT_EQ(glyphPixel, RGB(0, 0, 0xFF));  // the disabled image
  EXPECT_GT(textPixels, 10);
}

TEST_F(GlyphButtons, SpeedButtonsOfAGroupStayDownOneAtATime) {
  auto* bold = Add<TSpeedButton>("sbBold");
  auto* italic = Add<TSpeedButton>("sbItalic");
  auto* plain = Add<TSpeedButton>("sbPlain");
  bold->SetBounds(10, 10, 23, 22);
  italic->SetBounds(40, 10, 23, 22);
  plain->SetBounds(70, 10, 23, 22);
  bold->SetGroupIndex(1);
  italic->SetGroupIndex(1);
  std::vector<std::string> clicks;
  for (TSpeedButton* b : {bold, italic, plain}) b->OnClick = [&clicks, b](TObject*) { clicks.push_back(b->Name()); };
  form->Show();
  Flush();
  auto click = [](TSpeedButton* b, int x = 5, int y = 5) {
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  };

  click(bold);
  EXPECT_TRUE(bold->Down());
  EXPECT_EQ(bold->State(), bsExclusive);
  click(italic);
  EXPECT_TRUE(italic->Down());
  EXPECT_FALSE(bold->Down());
  click(italic);  // the down button of a group that may not be all up stays down
  EXPECT_TRUE(italic->Down());
  italic->SetAllowAllUp(true);  // for the whole group
  EXPECT_TRUE(bold->AllowAllUp());
  click(italic);
  EXPECT_FALSE(italic->Down());
  click(plain);
  EXPECT_FALSE(plain->Down());  // no group: back up after the click
  EXPECT_EQ(plain->State(), bsUp);
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
  click(bold, 5, 40);  // released outside: no click
  EXPECT_FALSE(bold->Down());
  EXPECT_EQ(clicks, (std::vector<std::string>{"sbBold", "sbItalic", "sbItalic", "sbItalic", "sbPlain"}));

  // Down set by the program, and by a linked action's Checked.
  bold->SetDown(true);
  EXPECT_FALSE(italic->Down());
  TAction action(nullptr);
  italic->SetAction(&action);
  action.SetChecked(true);
  EXPECT_TRUE(italic->Down());
  EXPECT_FALSE(bold->Down());
}

TEST_F(GlyphButtons, AFlatSpeedButtonShowsItsEdgeWhileTheMouseIsIn) {
  // The raised edge is the classic look's; the themed hot look is checked with the themes.
  TClassicLookScope classic;
  auto* flat = Add<TSpeedButton>("sbFlat");
  flat->SetBounds(10, 10, 40, 30);
  flat->SetFlat(true);
  auto strip = GlyphStrip({clRed});
  flat->SetGlyph(strip.get());
  form->Show();
  Flush();
  EXPECT_FALSE(flat->MouseInControl());
  flat->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(flat));
  EXPECT_TRUE(flat->MouseInControl());
  flat->Repaint();
  HDC dc = GetDC(form->Handle());
  COLORREF topLeft = GetPixel(dc, 10, 10);
  COLORREF glyph = GetPixel(dc, 10 + 20, 10 + 15);
  ReleaseDC(form->Handle(), dc);
  EXPECT_EQ(topLeft, ColorToRGB(clBtnHighlight));  // the raised edge
  EXPECT_EQ(glyph, RGB(0xFF, 0, 0));
  flat->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(flat));
  EXPECT_FALSE(flat->MouseInControl());
}

TEST_F(GlyphButtons, ThemedButtonsTakeTheThemesFaceForEachState) {
  if (!ThemeServices()->ThemesEnabled()) GTEST_SKIP() << "no themes here";
  auto* flat = Add<TSpeedButton>("sbThemedFlat");
  flat->SetBounds(10, 10, 40, 30);
  flat->SetFlat(true);
  auto* down = Add<TSpeedButton>("sbThemedDown");
  down->SetBounds(60, 10, 40, 30);
  down->SetGroupIndex(1);
  auto strip = GlyphStrip({clRed});
  for (TSpeedButton* b : {flat, down}) b->SetGlyph(strip.get());
  form->Show();
  Flush();
  HDC dc = GetDC(form->Handle());
  auto corner = [&](TControl* c) { return GetPixel(dc, c->Left() + 3, c->Top() + 3); };
  COLORREF flatNormal = corner(flat), up = corner(down);
  flat->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(flat));
  flat->Repaint();
  down->SetDown(true);
  down->Repaint();
  // Hot and pushed faces are the theme's, not the form's colour nor the classic dither;
  // the glyph is drawn on them.
  EXPECT_NE(corner(flat), flatNormal);
  EXPECT_NE(corner(down), up);
  EXPECT_EQ(GetPixel(dc, 10 + 20, 10 + 15), RGB(0xFF, 0, 0));
  EXPECT_EQ(GetPixel(dc, 60 + 20, 10 + 15), RGB(0xFF, 0, 0));
  ReleaseDC(form->Handle(), dc);
  flat->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(flat));
}

std::string Hex(const void* data, size_t size) {
  std::string out;
  char buf[3];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", static_cast<const uint8_t*>(data)[i]);
    out += buf;
  }
  return out;
}

TEST(GlyphButtonsStreaming, GlyphsKindsAndGroupsAreReadFromADescription) {
  InitApplication();
  auto strip = GlyphStrip({clRed, clBlue});
  TMemoryStream file;
  strip->SaveToStream(&file);
  uint32_t size = static_cast<uint32_t>(file.Size());
  std::string data = Hex(&size, 4) + Hex(file.Memory(), size);

  std::string text = "object Form1: TForm\n"
                     "  object btOK: TBitBtn\n    Kind = bkOK\n  end\n"
                     "  object btGo: TBitBtn\n    Caption = '&Go'\n    Layout = blGlyphTop\n"
                     "    NumGlyphs = 2\n    Glyph.Data = {" + data + "}\n  end\n"
                     "  object sbA: TSpeedButton\n    GroupIndex = 3\n    Down = True\n    Flat = True\n  end\n"
                     "end\n";
  FormPtr root(TCustomForm::CreateNew<TForm>(nullptr));
  TMemoryStream binary;
  ObjectTextToBinary(text, &binary, "test");
  binary.SetPosition(0);
  ReadComponent(&binary, root.get(), "test");

  auto* ok = dynamic_cast<TBitBtn*>(root->FindComponent("btOK"));
  auto* go = dynamic_cast<TBitBtn*>(root->FindComponent("btGo"));
  auto* sb = dynamic_cast<TSpeedButton*>(root->FindComponent("sbA"));
  ASSERT_TRUE(ok && go && sb);
  EXPECT_EQ(ok->Caption(), "OK");  // the kind's caption, not stored
  EXPECT_EQ(ok->ModalResult, mrOk);
  EXPECT_EQ(ok->Kind(), bkOK);
  EXPECT_EQ(go->Kind(), bkCustom);
  EXPECT_EQ(go->Layout(), blGlyphTop);
  EXPECT_EQ(go->NumGlyphs(), 2);
  EXPECT_EQ(go->Glyph()->Width(), 32);
  EXPECT_EQ(ColorToRGB(go->Glyph()->Canvas()->Pixels(8, 8)), RGB(0xFF, 0, 0));
  EXPECT_EQ(ColorToRGB(go->Glyph()->Canvas()->Pixels(24, 8)), RGB(0, 0, 0xFF));
  EXPECT_TRUE(sb->Down());
  EXPECT_EQ(sb->GroupIndex(), 3);
  EXPECT_TRUE(sb->Flat());

  EXPECT_TRUE(IsStoredProp(go, "Glyph"));
  EXPECT_FALSE(IsStoredProp(ok, "Caption"));
}

}  // namespace
