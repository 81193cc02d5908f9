// The flat edit, the image combo box, the captioned image and the check group box on real
// windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/captioned_image.h"
#include "desktop/check_group_box.h"
#include "desktop/flat_edit.h"
#include "desktop/image_combo_box.h"
#include "tests/vcl/test_windows.h"
#include "vcl/themes.h"
#include "vcl/typinfo.h"

using namespace testwin;

namespace {

// A memory bitmap to paint into and read back.
class TSurface {
 public:
  TSurface(int width, int height, COLORREF fill = RGB(255, 0, 255)) {
    HDC screen = GetDC(nullptr);
    FDC = CreateCompatibleDC(screen);
    FBitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    FOld = SelectObject(FDC, FBitmap);
    RECT r{0, 0, width, height};
    HBRUSH b = CreateSolidBrush(fill);
    FillRect(FDC, &r, b);
    DeleteObject(b);
  }
  ~TSurface() {
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
  }
  HDC DC() const { return FDC; }
  COLORREF At(int x, int y) const { return GetPixel(FDC, x, y); }
  bool AnyOtherThan(const RECT& r, COLORREF c) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) != c) return true;
    return false;
  }

 private:
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld;
};

TImageList* Pictures(TComponent* owner, int count, int size, COLORREF color) {
  auto* list = new TImageList(owner, size, size);
  for (int i = 0; i < count; ++i) {
    TBitmap picture;
    picture.SetSize(size, size);
    picture.Canvas()->Brush()->SetColor(static_cast<TColor>(color));
    picture.Canvas()->FillRect(RECT{0, 0, size, size});
    list->Add(&picture, nullptr);
  }
  return list;
}

const COLORREF kParent = RGB(40, 120, 200);

// --- flat edit

class TBorderEdit : public TdkEdit {
 public:
  using TdkEdit::TdkEdit;
  using TdkCustomEdit::DrawBorder;
};

struct FlatEdit : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(300, 200)};
  TBorderEdit* edit = MakeEdit();
  TBorderEdit* MakeEdit() {
    host->SetColor(static_cast<TColor>(kParent));
    auto* e = new TBorderEdit(host.get());
    e->SetParent(host.get());
    e->SetBounds(10, 10, 120, 24);
    return e;
  }
  COLORREF Corner() {
    TSurface s(edit->Width(), edit->Height());
    edit->DrawBorder(s.DC());
    return s.At(0, 0);
  }
};

TEST_F(FlatEdit, TheBorderTakesTheParentsColourWhenIdleAndSinksWhenFocusedIfAsked) {
  edit->SetFlat(true);
  HWND other = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 150, 10, 50, 20, host->Handle(), nullptr,
                               nullptr, nullptr);
  SetFocus(other);
  EXPECT_EQ(Corner(), kParent);
  SetFocus(edit->Handle());
  EXPECT_EQ(Corner(), GetSysColor(COLOR_BTNSHADOW));
  edit->SetFocusBorder(false);
  EXPECT_EQ(Corner(), kParent);
  // The mouse over it counts as much as the focus.
  edit->SetFocusBorder(true);
  SetFocus(other);
  edit->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(Corner(), GetSysColor(COLOR_BTNSHADOW));
  edit->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(Corner(), kParent);
  DestroyWindow(other);
}

TEST_F(FlatEdit, ADisabledFlatEditShowsItsParentsColourAndGetsItsOwnBack) {
  edit->SetColor(clYellow);
  edit->SetFlat(true);
  EXPECT_EQ(edit->Color(), clYellow);  // becoming flat keeps the colour it had
  edit->SetEnabled(false);
  EXPECT_TRUE(edit->ParentColor());
  EXPECT_EQ(ColorToRGB(edit->Color()), kParent);
  edit->SetEnabled(true);
  EXPECT_FALSE(edit->ParentColor());
  EXPECT_EQ(edit->Color(), clYellow);
  edit->SetFlat(false);
  EXPECT_EQ(edit->Color(), clYellow);
  EXPECT_FALSE(edit->ParentColor());
}

TEST_F(FlatEdit, AlignmentIsTheWindowsAndAnEnterReachesTheFormOnlyFromAMultiLineWindow) {
  edit->SetText("12");
  struct Case {
    TAlignment alignment;
    DWORD style;
  } cases[] = {{taRightJustify, ES_RIGHT}, {taCenter, ES_CENTER}, {taLeftJustify, ES_LEFT}};
  for (const Case& c : cases) {
    edit->SetAlignment(c.alignment);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(edit->Handle(), GWL_STYLE));
    EXPECT_EQ(style & (ES_RIGHT | ES_CENTER), c.style) << c.alignment;
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_TRUE(GetWindowLongPtrA(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  }
  edit->SetAlignment(taRightJustify);
  EXPECT_EQ(edit->MultiLineWindow(), EditAlignmentNeedsMultiLine());
  EXPECT_EQ(edit->Text(), "12");
  // Taking the focus selects the whole of an aligned text.
  SetFocus(edit->Handle());
  EXPECT_EQ(edit->SelLength(), 2);
}

// --- image combo box

struct ImageCombo : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(300, 200)};
  TImageList* pictures = Pictures(host.get(), 2, 20, RGB(0, 160, 0));
  TdkComboBox* combo = MakeCombo();
  TdkComboBox* MakeCombo() {
    auto* c = new TdkComboBox(host.get());
    c->SetParent(host.get());
    c->SetBounds(10, 10, 160, 24);
    return c;
  }
  int FontHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, combo->Font()->Handle());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
  }
};

TEST_F(ImageCombo, RowsAreTallEnoughForTextAndPicturesAndTheListIsOwnerDrawnWithPictures) {
  combo->Items()->Add("one");
  HWND plain = combo->Handle();
  EXPECT_FALSE(GetWindowLongPtrA(plain, GWL_STYLE) & CBS_OWNERDRAWFIXED);
  EXPECT_EQ(combo->GetItemHeight(), std::max(FontHeight() + 2, 7));
  combo->SetImageList(pictures);
  EXPECT_NE(combo->WindowHandle(), plain);
  EXPECT_TRUE(GetWindowLongPtrA(combo->Handle(), GWL_STYLE) & CBS_OWNERDRAWFIXED);
  int expected = std::max(FontHeight() + 2, 20);
  EXPECT_EQ(combo->ItemHeight(), expected);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0), expected);
  EXPECT_EQ(combo->Items()->Count(), 1);
  // Taller pictures reach the window through the change link, without a new window.
  HWND window = combo->Handle();
  pictures->SetSize(30, 30);
  EXPECT_EQ(combo->WindowHandle(), window);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0), std::max(FontHeight() + 2, 30));
  delete pictures;
  EXPECT_EQ(combo->ImageList(), nullptr);
}

TEST_F(ImageCombo, ItemsBeyondThePicturesKeepTheirTextIndented) {
  combo->SetImageList(pictures);
  for (const char* s : {"a", "b", "Wide text"}) combo->Items()->Add(s);
  auto draw = [&](int index) {
    auto s = std::make_unique<TSurface>(160, 20, RGB(255, 255, 255));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = static_cast<UINT>(index);
    dis.hwndItem = combo->Handle();
    dis.hDC = s->DC();
    dis.rcItem = RECT{0, 0, 160, 20};
    combo->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    return s;
  };
  COLORREF window = GetSysColor(COLOR_WINDOW);
  auto first = draw(0);
  EXPECT_EQ(first->At(2 + 10, 10), RGB(0, 160, 0));
  auto third = draw(2);
  EXPECT_FALSE(third->AnyOtherThan(RECT{0, 0, 2 + 20 + 2, 20}, window));
  EXPECT_TRUE(third->AnyOtherThan(RECT{2 + 20 + 2, 0, 160, 20}, window));
}

TEST_F(ImageCombo, TheListWidthIsKeptWithoutAWindowAndGivenToIt) {
  combo->SetListWidth(240);
  EXPECT_EQ(combo->ListWidth(), 240);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETDROPPEDWIDTH, 0, 0), 240);
  combo->SetListWidth(300);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETDROPPEDWIDTH, 0, 0), 300);
  RECT button = combo->GetButtonRect();
  RECT client = combo->ClientRect();
  EXPECT_EQ(button.right, client.right - 2);
  EXPECT_EQ(button.left, client.right - GetSystemMetrics(SM_CXVSCROLL) - 4 + 2);
}

// --- captioned image

TEST(CaptionedImage, ThePictureComesFromTheListAndTheCaptionShowsWhenThereIsNone) {
  std::unique_ptr<THostWindow> host{ShownHost(300, 200)};
  host->SetColor(clWhite);
  TImageList* pictures = Pictures(host.get(), 2, 16, RGB(200, 0, 0));
  auto* image = new TdkImage(host.get());
  image->SetParent(host.get());
  image->SetBounds(20, 20, 120, 60);
  image->SetCaption("Empty");
  const TPropInfo* picture = GetPropInfo(image, "Picture");
  ASSERT_TRUE(picture);
  auto caption = [&] {
    TSurface s(300, 200, RGB(255, 255, 255));
    SendMessageA(host->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.DC()), PRF_CLIENT);
    return s.AnyOtherThan(RECT{50, 40, 110, 60}, RGB(255, 255, 255));
  };
  EXPECT_TRUE(caption());  // no picture: the caption, centred
  image->SetCaptionWhenEmpty(false);
  EXPECT_FALSE(caption());

  image->SetImageList(pictures);
  image->SetImageIndex(1);
  ASSERT_NE(image->Picture()->Graphic(), nullptr);
  EXPECT_FALSE(image->Picture()->Graphic()->Empty());
  EXPECT_EQ(image->Picture()->Width(), 16);
  EXPECT_FALSE(picture->IsStored(image));  // the list supplies it
  image->SetImageIndex(5);
  EXPECT_TRUE(picture->IsStored(image));
  image->SetCaptionWhenEmpty(true);
  EXPECT_FALSE(caption());  // a picture is there
  image->SetCaptionVisible(true);
  EXPECT_TRUE(caption());
}

// --- check group box

TEST(CheckGroupBox, TheCheckBoxEnablesTheControlsInsideAndTellsOfItsClicks) {
  std::unique_ptr<THostWindow> host{ShownHost(300, 200)};
  auto* group = new TdkGroupBox(host.get());
  group->SetParent(host.get());
  group->SetBounds(10, 10, 200, 120);
  group->SetCaption("Options");
  auto* inner = new TEdit(host.get());
  inner->SetParent(group);
  inner->SetBounds(10, 30, 100, 22);
  int clicks = 0;
  group->OnCheckBoxClick = [&](TObject* sender) {
    EXPECT_EQ(sender, group);
    ++clicks;
  };
  group->HandleNeeded();
  ASSERT_TRUE(group->CheckBox()->HandleAllocated());
  EXPECT_EQ(group->CheckBox()->Caption(), "Options");
  EXPECT_EQ(group->CheckBox()->Left(), 8);
  EXPECT_GE(group->CheckBox()->Width(), 13 + 5 + 1 + 20);
  EXPECT_TRUE(group->CheckBoxChecked());

  SendMessageA(group->CheckBox()->Handle(), BM_CLICK, 0, 0);  // the user clears it
  EXPECT_FALSE(group->CheckBoxChecked());
  EXPECT_FALSE(inner->Enabled());
  EXPECT_EQ(clicks, 1);
  group->SetCheckBoxVisible(false);
  EXPECT_TRUE(inner->Enabled());
  group->SetCheckBoxVisible(true);
  EXPECT_FALSE(inner->Enabled());
  group->SetCheckBoxChecked(true);
  EXPECT_TRUE(inner->Enabled());
  group->SetCaption("Other");
  EXPECT_EQ(group->CheckBox()->Caption(), "Other");
}

TEST(CheckGroupBox, AdjustingTheCheckBoxPaintsWhatLiesUnderIt) {
  std::unique_ptr<THostWindow> host{ShownHost(300, 200)};
  auto* group = new TdkGroupBox(host.get());
  group->SetParent(host.get());
  group->SetBounds(10, 10, 200, 120);
  group->SetColor(clYellow);
  group->SetCaption("Options");
  group->CheckBox()->SetColor(clRed);
  group->HandleNeeded();
  UpdateWindow(host->Handle());
  Flush();
  // Read the box as the screen shows it right after the adjustment, before it paints
  // itself again: its face is the group's (the yellow face, and with themes whatever the
  // group draws there), none of its own red.
  group->SetCaption("Other choices");
  HWND box = group->CheckBox()->Handle();
  RECT r{};
  GetClientRect(box, &r);
  ASSERT_GT(r.right, 13);
  TSurface under(group->Width(), group->Height());
  SendMessageA(group->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(under.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  bool themed = ThemeServices()->ThemesEnabled();
  HDC dc = GetDC(box);
  int red = 0, others = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      if (c == RGB(255, 0, 0)) ++red;
      if (c != (themed ? under.At(x + group->CheckBox()->Left(), y) : RGB(255, 255, 0))) ++others;
    }
  ReleaseDC(box, dc);
  EXPECT_EQ(red, 0);
  EXPECT_EQ(others, 0) << (themed ? "themed" : "classic");
}

}  // namespace
