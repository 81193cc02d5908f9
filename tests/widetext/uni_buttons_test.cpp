// Wide labels, static texts, group boxes and buttons: their wide captions on Unicode windows
// and in their own drawing, the accelerators of wide captions, the bit button's stored
// caption and the glyph images of wide glyph buttons.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "tests/support/pump.h"
#include "widetext/platform.h"
#include "tests/widetext/ansi_platform.h"
#include "tests/widetext/wide_form_controls.h"
#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "widetext/codecs.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_labels.h"
#include "tests/support/forms.h"

using namespace widetest;

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

const char* const kFrench = "Fermer la fenêtre";
const char* const kGreek = "Κλείσιμο παραθύρου";
const char* const kJapanese = "ウィンドウを閉じる";

using FormPtr = std::unique_ptr<TForm, FormFree>;

// A shown, borderless form (plain framework form, like the program's) for wide controls.
class WideButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(20, 20, 560, 330);
    form->SetColor(clBtnFace);
  }
  template <class T>
  T* Add(const char* name, TWinControl* parent = nullptr) {
    auto* c = new T(form.get());
    c->SetName(name);
    c->SetParent(parent ? parent : form.get());
    return c;
  }
  void ShowForm() {
    form->Show();
    form->Update();
    PumpUntil([] { return false; }, 50);
  }
  TestApplication app;
  FormPtr form;
};

// A glyph strip of Count 16 x 16 images on a white (transparent) ground, each with a
// square of its colour in the middle.
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
    c->FillRect(RECT{16 * i + 3, 3, 16 * i + 13, 13});
    ++i;
  }
  return strip;
}

TEST_F(WideButtons, WideCaptionsAreShownWholeAndSurviveANewWindow) {
  auto* button = Add<TUniButton>("btClose");
  auto* check = Add<TUniCheckBox>("chClose");
  auto* radio = Add<TUniRadioButton>("rbClose");
  auto* text = Add<TUniStaticText>("stClose");
  auto* bit = Add<TUniBitBtn>("bbClose");
  auto* group = Add<TUniGroupBox>("gbClose");
  struct Case {
    TWinControl* control;
    std::function<void(const WideString&)> set;
    std::function<WideString()> get;
    std::function<void()> recreate;
  };
  const Case cases[] = {
      {button, [&](const WideString& s) { button->SetCaption(s); }, [&] { return button->Caption(); },
       [&] { button->SetDefault(true); button->RecreateWnd(); }},
      {check, [&](const WideString& s) { check->SetCaption(s); }, [&] { return check->Caption(); },
       [&] { check->SetAlignment(taLeftJustify); }},
      {radio, [&](const WideString& s) { radio->SetCaption(s); }, [&] { return radio->Caption(); },
       [&] { radio->SetAlignment(taLeftJustify); }},
      {text, [&](const WideString& s) { text->SetCaption(s); }, [&] { return text->Caption(); },
       [&] { text->SetBorderStyle(sbsSunken); }},
      {bit, [&](const WideString& s) { bit->SetCaption(s); }, [&] { return bit->Caption(); },
       [&] { bit->RecreateWnd(); }},
      {group, [&](const WideString& s) { group->SetCaption(s); }, [&] { return group->Caption(); },
       [&] { group->RecreateWnd(); }},
  };
  const WideString texts[] = {U8(kFrench), U8(kGreek), U8(kJapanese)};
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    WideString caption = texts[i % 3];
    c.set(caption);  // before the window exists
    ShowForm();
    HWND wnd = c.control->Handle();
    EXPECT_TRUE(IsWindowUnicode(wnd)) << c.control->Name();
    EXPECT_EQ(UnicodeWindowText(wnd), caption) << c.control->Name();
    c.recreate();
    HWND next = c.control->Handle();
    EXPECT_EQ(UnicodeWindowText(next), caption) << c.control->Name() << " after a new window";
    EXPECT_EQ(c.get(), caption) << c.control->Name();
  }
  EXPECT_TRUE(GetWindowLongPtrW(check->Handle(), GWL_STYLE) & BS_LEFTTEXT);
}

TEST_F(WideButtons, AcceleratorsOfWideCaptionsReachTheirTargets) {
  auto* label = Add<TUniLabel>("lbName");
  auto* edit = Add<TUniEdit>("edName");
  auto* text = Add<TUniStaticText>("stPath");
  auto* pathEdit = Add<TUniEdit>("edPath");
  auto* group = Add<TUniGroupBox>("gbMode");
  auto* inGroup = Add<TUniEdit>("edInGroup", group);
  auto* check = Add<TUniCheckBox>("chKeep");
  auto* radio = Add<TUniRadioButton>("rbFast");
  auto* button = Add<TUniButton>("btGo");
  auto* bit = Add<TUniBitBtn>("bbRun");
  auto* speed = Add<TUniSpeedButton>("sbBold");
  edit->SetTop(30);
  pathEdit->SetTop(60);
  group->SetTop(90);
  check->SetTop(200);
  radio->SetTop(220);
  button->SetTop(250);
  bit->SetLeft(100);
  speed->SetLeft(200);
  label->SetCaption(U8("&Όνομα"));  // capital omicron with tonos; the key gives the small letter
  label->SetFocusControl(edit);
  text->SetCaption(U8("Ча&сть"));  // Cyrillic
  text->SetFocusControl(pathEdit);
  group->SetCaption(U8("&Ωμέγα"));
  check->SetCaption(U8("保&存"));
  radio->SetCaption(U8("&ξ"));
  button->SetCaption(U8("&ß scharf"));  // inside the 8-bit code page: an 8-bit key code
  bit->SetCaption(U8("&Ψ run"));
  speed->SetCaption(U8("&Ж"));
  int buttonClicks = 0, bitClicks = 0, speedClicks = 0;
  button->OnClick = [&](TObject*) { ++buttonClicks; };
  bit->OnClick = [&](TObject*) { ++bitClicks; };
  speed->OnClick = [&](TObject*) { ++speedClicks; };
  ShowForm();
  auto dialogChar = [&](WORD c) { return form->Perform(CM_DIALOGCHAR, c, 0); };

  button->SetFocus();
  EXPECT_EQ(dialogChar(0x03CC), 1);  // ό
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(dialogChar(0x0441), 1);  // с
  EXPECT_TRUE(pathEdit->Focused());
  EXPECT_EQ(dialogChar(0x03C9), 1);  // ω
  EXPECT_TRUE(inGroup->Focused());
  EXPECT_EQ(dialogChar(0x5B58), 1);  // 存
  EXPECT_TRUE(check->Focused());
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(dialogChar(0x039E), 1);  // Ξ
  EXPECT_TRUE(radio->Focused());
  EXPECT_EQ(dialogChar(0xDF), 1);  // ß, a byte of code page 1252
  EXPECT_EQ(dialogChar(0x03C8), 1);  // ψ
  EXPECT_EQ(dialogChar(0x0436), 1);  // ж
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_EQ(bitClicks, 1);
  EXPECT_EQ(speedClicks, 1);
  // The 8-bit copies ("?") answer nothing.
  EXPECT_EQ(dialogChar('?'), 0);
}

TEST_F(WideButtons, ABitButtonStoresItsCaptionOnlyWhenItIsNotTheKinds) {
  auto* ok = Add<TUniBitBtn>("bbOK");
  ok->SetKind(bkOK);
  EXPECT_EQ(ok->Caption(), L"OK");
  EXPECT_FALSE(IsStoredProp(ok, "Caption"));
  ok->SetCaption(U8("D'accord — 了解"));
  EXPECT_TRUE(IsStoredProp(ok, "Caption"));
  // A custom button follows a push button's rule: stored unless an action gives it.
  auto* custom = Add<TUniBitBtn>("bbCustom");
  custom->SetCaption(U8("Ελληνικά"));
  EXPECT_TRUE(IsStoredProp(custom, "Caption"));
  TAction action(nullptr);
  action.SetCaption("Action");
  custom->SetAction(&action);
  EXPECT_FALSE(IsStoredProp(custom, "Caption"));
}

TEST_F(WideButtons, GlyphImagesAreMadeOnDemandAlsoForAButtonFirstPaintedDisabled) {
  auto* bit = Add<TUniBitBtn>("bbGlyph");
  auto* speed = Add<TUniSpeedButton>("sbGlyph");
  auto strip = GlyphStrip({clRed});
  bit->SetGlyph(strip.get());
  speed->SetGlyph(strip.get());
  bit->SetEnabled(false);
  for (TControl* c : std::initializer_list<TControl*>{bit, speed}) {
    EXPECT_GE(UniButtonGlyphIndex(c, bsDisabled), 0) << c->Name();
    EXPECT_GE(UniButtonGlyphIndex(c, bsUp), 0) << c->Name();
  }
  auto* plain = Add<TUniButton>("btPlain");
  try {
    UniButtonGlyphIndex(plain, bsUp);
    ADD_FAILURE() << "a push button has no glyph";
  } catch (const EUniInternalError& e) {
    EXPECT_STREQ(e.what(), "Internal Error: Control does not support IUniGlyphButton.");
  }
  auto* empty = Add<TUniSpeedButton>("sbEmpty");
  EXPECT_EQ(UniButtonGlyphIndex(empty, bsUp), -1);
}

// Draws a bit button as the system asks it to, on a bitmap of our own; returns the pixels.
std::vector<COLORREF> DrawnPixels(TBitBtn* button) {
  TBitmap target;
  target.SetSize(button->Width(), button->Height());
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.itemAction = ODA_DRAWENTIRE;
  dis.hwndItem = button->Handle();
  dis.hDC = target.Canvas()->Handle();
  dis.rcItem = RECT{0, 0, button->Width(), button->Height()};
  button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  std::vector<COLORREF> pixels;
  for (int y = 0; y < button->Height(); ++y)
    for (int x = 0; x < button->Width(); ++x) pixels.push_back(GetPixel(dis.hDC, x, y));
  return pixels;
}

TEST_F(WideButtons, ABitButtonDrawsItsWideCaptionNeverTheEightBitCopy) {
  auto* wide = Add<TUniBitBtn>("bbWide");
  auto* ansi = Add<TBitBtn>("bbAnsi");
  auto* same = Add<TUniBitBtn>("bbSame");
  for (TBitBtn* b : {static_cast<TBitBtn*>(wide), ansi, static_cast<TBitBtn*>(same)}) b->SetBounds(0, 0, 140, 30);
  wide->SetCaption(U8(kJapanese));
  ansi->SetCaption(static_cast<TControl*>(wide)->Caption());  // the 8-bit copy: question marks
  same->SetCaption(U8(kJapanese));
  ASSERT_NE(static_cast<TControl*>(wide)->Caption().find('?'), AnsiString::npos);
  ShowForm();
  for (bool enabled : {true, false}) {
    wide->SetEnabled(enabled);
    ansi->SetEnabled(enabled);
    same->SetEnabled(enabled);
    std::vector<COLORREF> w = DrawnPixels(wide), a = DrawnPixels(ansi), s = DrawnPixels(same);
    EXPECT_EQ(w, s) << "enabled " << enabled;  // drawing is repeatable
    EXPECT_NE(w, a) << "enabled " << enabled;  // and not the 8-bit copy's
  }
}

TEST_F(WideButtons, AnEmptyWideLabelStillMeasuresOneLine) {
  auto* label = Add<TUniLabel>("lbEmpty");
  label->SetCaption(U8(kGreek));
  int oneLine = label->Height();
  EXPECT_GT(label->Width(), 20);
  label->SetCaption(L"");
  EXPECT_EQ(label->Height(), oneLine);
  label->SetCaption(L"&");
  EXPECT_EQ(label->Height(), oneLine);
}

// Saves the screen's pixels of the form as a BMP file when KAVO_SCREENSHOT_DIR names a
// folder (to look at); the test itself checks pixels.
void SaveFormShot(TForm* form, const char* name) {
  const char* dir = std::getenv("KAVO_SCREENSHOT_DIR");
  if (!dir) return;
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  TBitmap shot;
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  shot.SaveToFile(AnsiString(dir) + "\\" + name);
}

TEST_F(WideButtons, AFormOfWideControlsDrawsTextsAndGlyphs) {
  auto* label = Add<TUniLabel>("lbFrench");
  auto* group = Add<TUniGroupBox>("gbGreek");
  auto* check = Add<TUniCheckBox>("chGreek", group);
  auto* radio = Add<TUniRadioButton>("rbJapanese", group);
  auto* text = Add<TUniStaticText>("stJapanese");
  auto* button = Add<TUniButton>("btFrench");
  auto* bit = Add<TUniBitBtn>("bbGreek");
  auto* disabled = Add<TUniBitBtn>("bbJapanese");
  auto* speedA = Add<TUniSpeedButton>("sbA");
  auto* speedB = Add<TUniSpeedButton>("sbB");
  label->SetBounds(16, 12, 10, 10);
  label->SetCaption(U8("Étiquette en français : « voilà »"));
  group->SetBounds(16, 40, 260, 90);
  group->SetCaption(U8("Ομάδα επιλογών"));
  check->SetBounds(12, 24, 230, 20);
  check->SetCaption(U8("Ελληνικό πλαίσιο ελέγχου"));
  check->SetChecked(true);
  radio->SetBounds(12, 52, 230, 20);
  radio->SetCaption(U8("日本語のラジオボタン"));
  radio->SetChecked(true);
  text->SetBounds(300, 12, 10, 10);
  text->SetBorderStyle(sbsSunken);
  text->SetCaption(U8("静的テキスト"));
  button->SetBounds(300, 50, 220, 28);
  button->SetCaption(U8("&Fermer la fenêtre"));
  auto red = GlyphStrip({clRed, clBlue});
  bit->SetBounds(300, 90, 220, 34);
  bit->SetCaption(U8("&Κλείσιμο"));
  bit->SetGlyph(red.get());
  disabled->SetBounds(300, 134, 220, 34);
  disabled->SetCaption(U8(kJapanese));
  auto single = GlyphStrip({clRed});
  disabled->SetGlyph(single.get());
  disabled->SetEnabled(false);
  auto lime = GlyphStrip({clLime});
  speedA->SetBounds(16, 150, 120, 30);
  speedA->SetCaption(U8("Gras"));
  speedA->SetGlyph(lime.get());
  speedA->SetGroupIndex(1);
  speedA->SetDown(true);
  speedB->SetBounds(140, 150, 120, 30);
  speedB->SetCaption(U8("太字"));
  speedB->SetGlyph(lime.get());
  speedB->SetGroupIndex(1);
  ShowForm();
  form->Repaint();
  PumpUntil([] { return false; }, 100);
  SaveFormShot(form.get(), "wide_buttons.bmp");

  HDC dc = GetDC(form->Handle());
  auto pixel = [&](TControl* c, int x, int y) {
    POINT p{x, y};
    if (c->Parent() != form.get()) {
      p.x += c->Parent()->Left();
      p.y += c->Parent()->Top();
    }
    return GetPixel(dc, c->Left() + p.x, c->Top() + p.y);
  };
  // Where a glyph sits: centred with its caption, 4 pixels apart, inside the frame.
  auto glyphCentre = [](TControl* c, const WideString& caption, HFONT font, RECT client, POINT offset) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE text{};
    GetTextExtentPoint32W(screen, caption.c_str(), static_cast<int>(caption.size()), &text);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    TButtonLayoutPlaces p = CalcButtonLayout(client, offset, text, SIZE{16, 16}, blGlyphLeft, -1, 4, false);
    return POINT{p.GlyphPos.x + 8, p.GlyphPos.y + 8};
  };
  POINT bitGlyph = glyphCentre(bit, bit->Caption(), bit->Font()->Handle(), RECT{2, 2, 218, 32}, POINT{0, 0});
  EXPECT_EQ(pixel(bit, bitGlyph.x, bitGlyph.y), RGB(0xFF, 0, 0));
  POINT speedGlyph = glyphCentre(speedB, speedB->Caption(), speedB->Font()->Handle(), RECT{2, 2, 118, 28},
                                 POINT{0, 0});
  EXPECT_EQ(pixel(speedB, speedGlyph.x, speedGlyph.y), RGB(0, 0xFF, 0));
  POINT disabledGlyph = glyphCentre(disabled, disabled->Caption(), disabled->Font()->Handle(), RECT{2, 2, 218, 32},
                                    POINT{0, 0});
  COLORREF engraved = pixel(disabled, disabledGlyph.x, disabledGlyph.y);
  EXPECT_TRUE(engraved == ColorToRGB(clBtnShadow) || engraved == ColorToRGB(clBtnHighlight)) << std::hex << engraved;

  // Text was drawn: pixels well away from the face colour inside the label, the group
  // box's caption and the speed button's caption area.
  const COLORREF face = ColorToRGB(clBtnFace);
  auto inkIn = [&](TControl* c, RECT r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        COLORREF p = pixel(c, x, y);
        int distance = std::abs(GetRValue(p) - GetRValue(face)) + std::abs(GetGValue(p) - GetGValue(face)) +
                       std::abs(GetBValue(p) - GetBValue(face));
        if (distance > 150) ++n;
      }
    return n;
  };
  EXPECT_GT(inkIn(label, RECT{0, 0, label->Width(), label->Height()}), 30);
  EXPECT_GT(inkIn(group, RECT{8, 0, 120, 14}), 30);
  EXPECT_GT(inkIn(speedB, RECT{speedGlyph.x + 12, 6, 110, 24}), 20);
  ReleaseDC(form->Handle(), dc);
}

}  // namespace

namespace {

TEST_F(WideButtons, WindowLessWideControlsShowTheirWideHints) {
  auto* label = Add<TUniLabel>("lbHint");
  auto* speed = Add<TUniSpeedButton>("sbHint");
  label->SetHint(U8("Ετικέτα|Μια ετικέτα"));
  speed->SetHint(U8("太字|文字を太くする"));
  for (TControl* c : std::initializer_list<TControl*>{label, speed}) {
    THintInfo info;
    info.HintControl = c;
    info.HintWindowClass = THintWindow::StaticClass();
    info.HintStr = c->TControl::Hint();
    c->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintWindowClass, TUniCustomHintWindow::StaticClass()) << c->Name();
    WideString shortHint = WideShortHint(UniControl_GetHint(c));
    EXPECT_EQ(WideHintOfShownHint(info.HintStr, info), shortHint) << c->Name();
  }
}

}  // namespace

namespace {

TEST_F(WideButtons, OffTheUnicodePlatformWideButtonsDrawAsTheFrameworksOwn) {
  AnsiPlatformScope ansi;
  auto* wide = Add<TUniBitBtn>("bbWide");
  auto* plain = Add<TBitBtn>("bbPlain");
  for (TBitBtn* b : {static_cast<TBitBtn*>(wide), plain}) b->SetBounds(0, 0, 140, 30);
  wide->SetCaption(U8(kFrench));
  plain->SetCaption(WideToAnsi(U8(kFrench)));
  ShowForm();
  EXPECT_FALSE(IsWindowUnicode(wide->Handle()));
  EXPECT_EQ(DrawnPixels(wide), DrawnPixels(plain));
  EXPECT_EQ(wide->Caption(), U8(kFrench));
}

}  // namespace
