// Every standard control on one form read from forms/ShowcaseForm.dfm, with French, Greek
// and Japanese texts, drawn themed and classic: the pixels on the screen must show their
// texts, glyphs and pictures.
//
// With KAVO_SCREENSHOT_DIR naming a folder (as Wine sees it, e.g. Z:\tmp\shots) the test
// keeps the form on the screen until showcase_themed.png or showcase_classic.png appears
// there (taken from outside with `import`), or KAVO_SHOW_MS (default 20000) runs out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "widetext/platform.h"
#include "tests/support/pump.h"
#include "tests/support/classic_look.h"
#include "tests/widetext/wide_form_controls.h"
#include "vcl/buttons.h"
#include "vcl/comctrls_updown.h"
#include "vcl/extctrls.h"
#include "vcl/themes.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_combo_box.h"
#include "widetext/uni_edits.h"
#include "widetext/uni_labels.h"
#include "widetext/uni_panels.h"
#include "tests/support/forms.h"

using namespace widetest;

namespace {

// The form of forms/ShowcaseForm.dfm.
class TShowcaseForm : public TUniForm {
  VCL_CLASS(TShowcaseForm)
 public:
  explicit TShowcaseForm(TComponent* owner) : TUniForm(owner) {
    RegisterUniEditControls();
    RegisterUniPanelControls();
  }
  TUniLabel* lbFrench = nullptr;
  TUniComboBox* cbColours = nullptr;
  TUniStaticText* stGreek = nullptr;
  TUniButton* btJapanese = nullptr;
  TUniCheckBox* chChecked = nullptr;
  TUniCheckBox* chGrayed = nullptr;
  TUniGroupBox* gbJapanese = nullptr;
  TUniBitBtn* bbGreek = nullptr;
  TUniSpeedButton* sbBold = nullptr;
  TUniSpeedButton* sbItalic = nullptr;
  TUniPanel* pnFrench = nullptr;
  TUniImage* imPicture = nullptr;
  TShape* shCircle = nullptr;
  TUpDown* udCount = nullptr;
  TUniEdit* edCount = nullptr;

  // A colour swatch before each item's text.
  void cbColoursDrawItem(TWinControl*, int Index, RECT Rect, TOwnerDrawState State) {
    TCanvas* canvas = cbColours->Canvas();
    canvas->FillRect(Rect);
    canvas->Brush()->SetColor(Index == 0 ? clRed : clBlue);
    canvas->FillRect(RECT{Rect.left + 2, Rect.top + 2, Rect.left + 16, Rect.bottom - 2});
    canvas->Brush()->SetStyle(bsClear);
    canvas->RequiredState(csHandleValid | csFontValid);
    RECT text{Rect.left + 20, Rect.top, Rect.right, Rect.bottom};
    WideString item = cbColours->Items()->Get(Index);
    SetBkMode(canvas->Handle(), TRANSPARENT);
    SetTextColor(canvas->Handle(),
                 ColorToRGB((State & odSelected) ? clHighlightText : cbColours->Font()->Color()));
    Uni_DrawTextW(canvas->Handle(), item.c_str(), static_cast<int>(item.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
};

const TClassMembers& ShowcaseFormMembers() {
  static const TClassMembers m = TMemberTable<TShowcaseForm>()
      .Field("lbFrench", &TShowcaseForm::lbFrench)
      .Field("cbColours", &TShowcaseForm::cbColours)
      .Field("stGreek", &TShowcaseForm::stGreek)
      .Field("btJapanese", &TShowcaseForm::btJapanese)
      .Field("chChecked", &TShowcaseForm::chChecked)
      .Field("chGrayed", &TShowcaseForm::chGrayed)
      .Field("gbJapanese", &TShowcaseForm::gbJapanese)
      .Field("bbGreek", &TShowcaseForm::bbGreek)
      .Field("sbBold", &TShowcaseForm::sbBold)
      .Field("sbItalic", &TShowcaseForm::sbItalic)
      .Field("pnFrench", &TShowcaseForm::pnFrench)
      .Field("imPicture", &TShowcaseForm::imPicture)
      .Field("shCircle", &TShowcaseForm::shCircle)
      .Field("udCount", &TShowcaseForm::udCount)
      .Field("edCount", &TShowcaseForm::edCount)
      .Handler("cbColoursDrawItem", &TShowcaseForm::cbColoursDrawItem)
      .Table();
  return m;
}

}  // namespace

VCL_CLASS_IMPL_MEMBERS(TShowcaseForm, TUniForm, nullptr, nullptr, &ShowcaseFormMembers)

namespace {


// A control's rectangle on the screen.
RECT ScreenRect(TControl* c) {
  POINT origin = c->ClientToScreen(POINT{0, 0});
  return RECT{origin.x, origin.y, origin.x + c->Width(), origin.y + c->Height()};
}

// Pixels of the screen inside R (on the screen) of exactly Colour.
int PixelsOf(const RECT& r, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetPixel(screen, x, y) == colour) ++n;
  ReleaseDC(nullptr, screen);
  return n;
}

// Pixels inside R far from Ground: the ink of text drawn there.
int InkIn(const RECT& r, COLORREF ground) {
  HDC screen = GetDC(nullptr);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      COLORREF p = GetPixel(screen, x, y);
      int distance = std::abs(GetRValue(p) - GetRValue(ground)) + std::abs(GetGValue(p) - GetGValue(ground)) +
                     std::abs(GetBValue(p) - GetBValue(ground));
      if (distance > 200) ++n;
    }
  ReleaseDC(nullptr, screen);
  return n;
}

RECT Inset(RECT r, int dx, int dy) {
  InflateRect(&r, -dx, -dy);
  return r;
}

// Keeps the form up for an outside screenshot when asked to.
void WaitForScreenshot(const char* name) {
  const char* dir = std::getenv("KAVO_SCREENSHOT_DIR");
  if (!dir) return;
  const char* show = std::getenv("KAVO_SHOW_MS");
  const AnsiString shot = AnsiString(dir) + "\\" + name;
  PumpUntil([&] { return GetFileAttributesA(shot.c_str()) != INVALID_FILE_ATTRIBUTES; },
            show ? std::atoi(show) : 20000);
}

class ShowcaseForm : public ::testing::TestWithParam<bool> {};

TEST_P(ShowcaseForm, EveryStandardControlDrawsItsTextsAndPictures) {
  const bool classic = GetParam();
  TestApplication app;
  std::unique_ptr<TClassicLookScope> look(classic ? new TClassicLookScope : nullptr);
  ASSERT_EQ(ThemeServices()->ThemesEnabled(), !classic && ThemeServices()->ThemesAvailable());
  std::unique_ptr<TShowcaseForm, FormFree> form(TCustomForm::Create<TShowcaseForm>(nullptr));
  form->cbColours->SetItemIndex(0);
  form->Show();
  form->Update();
  PumpUntil([] { return false; }, 200);

  // The glyphs' and pictures' own colours are on the screen where their controls are.
  EXPECT_GT(PixelsOf(ScreenRect(form->bbGreek), RGB(0xFF, 0, 0)), 50) << "bit button glyph";
  EXPECT_GT(PixelsOf(ScreenRect(form->sbBold), RGB(0, 0xFF, 0)), 50) << "speed button glyph (down)";
  EXPECT_GT(PixelsOf(ScreenRect(form->sbItalic), RGB(0, 0xFF, 0)), 50) << "speed button glyph";
  EXPECT_GT(PixelsOf(ScreenRect(form->imPicture), RGB(0xFF, 0x80, 0)), 400) << "image";
  EXPECT_GT(PixelsOf(ScreenRect(form->shCircle), RGB(0xFF, 0xFF, 0)), 1000) << "shape";
  EXPECT_GT(PixelsOf(ScreenRect(form->cbColours), RGB(0xFF, 0, 0)), 50) << "owner-drawn item";

  // Texts were drawn: dark ink on the face colour in every caption's area.
  const COLORREF face = ColorToRGB(clBtnFace);
  struct Caption {
    TControl* Control;
    RECT Area;
  };
  RECT group = ScreenRect(form->gbJapanese);
  group.bottom = group.top + 16;
  group.left += 8;
  const Caption captions[] = {
      {form->lbFrench, ScreenRect(form->lbFrench)},
      {form->stGreek, Inset(ScreenRect(form->stGreek), 2, 2)},
      {form->btJapanese, Inset(ScreenRect(form->btJapanese), 4, 4)},
      {form->chChecked, ScreenRect(form->chChecked)},
      {form->chGrayed, ScreenRect(form->chGrayed)},
      {form->gbJapanese, group},
      {form->bbGreek, Inset(ScreenRect(form->bbGreek), 4, 4)},
      {form->sbItalic, Inset(ScreenRect(form->sbItalic), 3, 3)},
      {form->pnFrench, Inset(ScreenRect(form->pnFrench), 3, 3)},
  };
  for (const Caption& c : captions) EXPECT_GT(InkIn(c.Area, face), 40) << c.Control->Name();

  // The up-down drives its edit.
  EXPECT_EQ(form->udCount->Position(), 5);
  EXPECT_EQ(UnicodeWindowText(form->edCount->Handle()), L"5");

  WaitForScreenshot(classic ? "showcase_classic.png" : "showcase_themed.png");
}

INSTANTIATE_TEST_SUITE_P(Looks, ShowcaseForm, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Classic" : "Themed";
                         });

}  // namespace
