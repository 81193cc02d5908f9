// The date panel: its order from the locale's format, months of different lengths, the
// digit-only edits, and the children laid out in a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "desktop/date_panel.h"
#include "tests/vcl/test_windows.h"
#include "vcl/application.h"
#include "vcl/forms.h"

using namespace testwin;
using namespace date_panel_rules;

namespace {

TEST(DatePanelRules, TheShortDateFormatGivesTheOrder) {
  struct Case {
    const char* format;
    TdkDatePanelLayout layout;
  } cases[] = {{"yyyy/MM/dd", dplYMD}, {"M/d/yyyy", dplMDY}, {"dd.MM.yy", dplDMY},
               {"yy-dd-MM", dplYDM}, {"d MMMM yyyy", dplDMY}, {"", dplDMY}};
  for (const Case& c : cases) EXPECT_EQ(LayoutOfShortDateFormat(c.format), c.layout) << c.format;
}

TEST(DatePanelRules, DatesCountDaysFromTheEndOf1899) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  int y, m, d;
  DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 4), 30);
}

struct DatePanel : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(400, 200)};
  TdkDatePanel* panel = MakePanel();
  TdkDatePanel* MakePanel() {
    auto* p = new TdkDatePanel(host.get());
    p->SetParent(host.get());
    p->SetBounds(10, 10, 260, 24);
    p->HandleNeeded();
    return p;
  }
  int Day() { return std::stoi(panel->DayEdit()->Text()); }
};

TEST_F(DatePanel, AMonthWithFewerDaysCutsTheDayAndFebruaryFollowsTheYear) {
  panel->SetDate(EncodeDate(2023, 3, 31));
  EXPECT_EQ(Day(), 31);
  EXPECT_EQ(panel->MonthCombo()->ItemIndex(), 2);
  int changes = 0, monthChanges = 0, monthClicks = 0;
  panel->OnChange = [&](TObject*) { ++changes; };
  panel->OnChangeMonth = [&](TObject*) { ++monthChanges; };
  panel->OnClickMonth = [&](TObject*) { ++monthClicks; };
  panel->MonthCombo()->SetItemIndex(3);  // April, as the user picks it
  SendMessageA(host->Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(panel->MonthCombo()->Handle()));
  EXPECT_EQ(panel->Month(), 4);
  EXPECT_EQ(Day(), 30);
  EXPECT_EQ(panel->Date(), EncodeDate(2023, 4, 30));
  // One choice: one click and one month change; the changes are the month's and the cut day's.
  EXPECT_EQ(monthClicks, 1);
  EXPECT_EQ(monthChanges, 1);
  EXPECT_EQ(changes, 2);
  panel->SetDate(EncodeDate(2024, 2, 10));
  panel->DayEdit()->SetText("31");
  EXPECT_EQ(Day(), 29);
  panel->YearEdit()->SetText("2023");
  EXPECT_EQ(Day(), 28);
}

TEST_F(DatePanel, TheEditsTakeDigitsAndControlKeysOnly) {
  panel->SetDate(EncodeDate(2020, 5, 5));
  HWND year = panel->YearEdit()->Handle();
  SendMessageA(year, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
  for (char c : std::string("2a0x2")) SendMessageA(year, WM_CHAR, static_cast<unsigned char>(c), 1);
  EXPECT_EQ(panel->YearEdit()->Text(), "202");
  SendMessageA(year, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(panel->YearEdit()->Text(), "20");
}

TEST_F(DatePanel, ThePartsStandInTheLayoutsOrderAndHiddenOnesTakeNoRoom) {
  panel->SetControlsLayout(dplYMD);
  EXPECT_LT(panel->YearEdit()->Left(), panel->MonthCombo()->Left());
  EXPECT_LT(panel->MonthCombo()->Left(), panel->DayEdit()->Left());
  EXPECT_EQ(panel->DayUpDown()->Left(), panel->DayEdit()->Left() + panel->DayEdit()->Width());
  EXPECT_EQ(panel->DayUpDown()->Left() + panel->DayUpDown()->Width(), panel->Width());
  EXPECT_EQ(panel->MonthCombo()->Left(), panel->YearUpDown()->Left() + panel->YearUpDown()->Width() + 8);
  EXPECT_EQ(panel->MonthCombo()->Left() + panel->MonthCombo()->Width(), panel->DayEdit()->Left() - 8);
  panel->SetControlsLayout(dplDMY);
  EXPECT_EQ(panel->DayEdit()->Left(), 0);
  int monthRight = panel->MonthCombo()->Left() + panel->MonthCombo()->Width();
  panel->SetEditYear(false);
  EXPECT_FALSE(panel->YearEdit()->Visible());
  EXPECT_GT(panel->MonthCombo()->Left() + panel->MonthCombo()->Width(), monthRight);
  EXPECT_EQ(panel->MonthNames()->Count(), 12);
}

}  // namespace

#include "desktop/button_scroll_bar.h"
#include "desktop/captioned_image.h"
#include "desktop/check_group_box.h"
#include "tests/support/forms.h"

namespace {

// The extra controls side by side. KAVO_HOLD_MS keeps them on screen for a screenshot.

TEST(ExtraControlsLook, EveryChildStaysInsideItsControl) {
  InitApplication();
  std::unique_ptr<TForm, FormFree> host(TCustomForm::CreateNew<TForm>(nullptr));
  host->SetBorderStyle(bsNone);
  host->SetBounds(40, 40, 520, 260);
  host->Show();
  auto add = [&](auto* c, int x, int y, int w, int h) {
    c->SetParent(host.get());
    c->SetBounds(x, y, w, h);
    return c;
  };
  auto* edit = add(new TdkEdit(host.get()), 10, 10, 150, 22);
  edit->SetFlat(true);
  edit->SetAlignment(taRightJustify);
  edit->SetText("1234,50");
  auto* combo = add(new TdkComboBox(host.get()), 10, 44, 150, 24);
  combo->SetFlat(true);
  for (const char* s : {"Vid\xE9o", "Audio"}) combo->Items()->Add(s);
  combo->SetItemIndex(0);
  auto* image = add(new TdkImage(host.get()), 10, 80, 150, 60);
  image->SetCaption("Pas d'image");
  auto* group = add(new TdkGroupBox(host.get()), 180, 10, 200, 110);
  group->SetCaption("Options");
  auto* inner = add(new TEdit(host.get()), 0, 0, 0, 0);
  inner->SetParent(group);
  inner->SetBounds(12, 30, 120, 22);
  group->SetCheckBoxChecked(false);
  auto* bar = add(new TdkScrollBar(host.get()), 400, 10, 17, 120);
  bar->SetPosition(50);
  auto* panel = add(new TdkDatePanel(host.get()), 180, 150, 260, 24);
  panel->SetDate(EncodeDate(2024, 2, 29));
  Flush();
  for (TWinControl* c : std::initializer_list<TWinControl*>{panel->DayEdit(), panel->MonthCombo(), panel->YearUpDown()}) {
    EXPECT_GE(c->Left(), 0);
    EXPECT_LE(c->Left() + c->Width(), panel->Width());
  }
  EXPECT_FALSE(inner->Enabled());
  // The painted controls paint: the scroll bar's arrows and the image's caption.
  HDC screen = GetDC(host->Handle());
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 520, 260);
  ReleaseDC(host->Handle(), screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 520, 260};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  SendMessageA(host->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  auto inked = [&](RECT r) {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (GetPixel(dc, x, y) != face) return true;
    return false;
  };
  EXPECT_TRUE(inked(RECT{400, 10, 417, 30})) << "scroll bar";
  EXPECT_TRUE(inked(RECT{40, 100, 130, 120})) << "caption";
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  // Graphic controls added to a shown form wait for their area to be painted again.
  host->Invalidate();
  if (const char* hold = std::getenv("KAVO_HOLD_MS")) DispatchUntil([] { return false; }, std::atoi(hold));
}

}  // namespace
