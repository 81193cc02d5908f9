#include "desktop/date_panel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "vcl/messages.h"
#include "vcl/scopeexit.h"
#include "vcl/typinfo.h"

namespace date_panel_rules {

namespace {

void ReplaceAll(AnsiString& s, const AnsiString& from, const AnsiString& to) {
  for (size_t at = s.find(from); at != AnsiString::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
}

}  // namespace

TdkDatePanelLayout LayoutOfShortDateFormat(const AnsiString& Format) {
  AnsiString letters;
  for (char c : Format)
    if (std::isalpha(static_cast<unsigned char>(c))) letters += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  ReplaceAll(letters, "dd", "d");
  ReplaceAll(letters, "mm", "m");
  ReplaceAll(letters, "yy", "y");
  ReplaceAll(letters, "yy", "y");
  if (letters == "mdy") return dplMDY;
  if (letters == "ymd") return dplYMD;
  if (letters == "ydm") return dplYDM;
  return dplDMY;
}

std::vector<char> PartOrder(TdkDatePanelLayout Layout) {
  switch (Layout) {
    case dplMDY: return {'m', 'd', 'y'};
    case dplYMD: return {'y', 'm', 'd'};
    case dplYDM: return {'y', 'd', 'm'};
    default: return {'d', 'm', 'y'};
  }
}

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 31;
  return Month == 2 && IsLeapYear(Year) ? 29 : days[Month - 1];
}

// Civil dates to and from day numbers (proleptic Gregorian calendar).
namespace {
long DaysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  long era = (y >= 0 ? y : y - 399) / 400;
  long yoe = y - era * 400;
  long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}
constexpr long kEpoch = -25569;  // 30 December 1899 from 1 January 1970
}  // namespace

TDate EncodeDate(int Year, int Month, int Day) { return static_cast<TDate>(DaysFromCivil(Year, Month, Day) - kEpoch); }

void DecodeDate(TDate Date, int& Year, int& Month, int& Day) {
  long z = static_cast<long>(std::floor(Date)) + kEpoch + 719468;
  long era = (z >= 0 ? z : z - 146096) / 146097;
  long doe = z - era * 146097;
  long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long mp = (5 * doy + 2) / 153;
  Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  Year = static_cast<int>(yoe + era * 400 + (Month <= 2));
}

}  // namespace date_panel_rules

using namespace date_panel_rules;

namespace {

const std::vector<TPropInfo>& DatePanelProperties() {
  using T = TdkCustomDatePanel;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("About", &T::About).Stored(false)
      .Property("ControlsLayout", &T::ControlsLayout, &T::SetControlsLayout).Default(dplSystemDefault)
      .Property("ControlsSpace", &T::ControlsSpace, &T::SetControlsSpace).Default(8)
      .Property("EditDay", &T::EditDay, &T::SetEditDay).Default(true)
      .Property("EditMonth", &T::EditMonth, &T::SetEditMonth).Default(true)
      .Property("EditYear", &T::EditYear, &T::SetEditYear).Default(true)
      .Property("Etched", &T::Etched, &T::SetEtched).Default(false)
      .Property("Flat", &T::Flat, &T::SetFlat).Default(false)
      .Property("FocusBorder", &T::FocusBorder, &T::SetFocusBorder).Default(true)
      .Property("OnChange", &T::OnChange)
      .Property("OnChangeDate", &T::OnChangeDate)
      .Property("OnChangeDay", &T::OnChangeDay)
      .Property("OnChangeMonth", &T::OnChangeMonth)
      .Property("OnChangeYear", &T::OnChangeYear)
      .Property("OnClickMonth", &T::OnClickMonth)
      .Property("OnKeyPressDay", &T::OnKeyPressDay)
      .Property("OnKeyPressYear", &T::OnKeyPressYear)
      .Table();
  return table;
}

int TextWidthIn(TFont* Font, const char* Text) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->Handle());
  SIZE size{};
  GetTextExtentPoint32A(dc, Text, static_cast<int>(std::char_traits<char>::length(Text)), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

AnsiString LocaleText(LCTYPE Type) {
  char buffer[128] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, Type, buffer, sizeof buffer);
  return buffer;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomDatePanel, TCustomPanel, nullptr, &DatePanelProperties)
VCL_CLASS_IMPL(TdkDatePanel, TdkCustomDatePanel, &CreateComponentOf<TdkDatePanel>, nullptr)

TdkCustomDatePanel::TdkCustomDatePanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  ControlStyle &= ~(csAcceptsControls | csSetCaption);
  SetCaption("");
  SetBevelInner(bvNone);
  SetBevelOuter(bvNone);
  SetBounds(Left(), Top(), 200, Font()->Size() + 5);
  FDayEdit = new TdkEdit(this);
  FDayUpDown = new TUpDown(this);
  FMonthCombo = new TdkComboBox(this);
  FYearEdit = new TdkEdit(this);
  FYearUpDown = new TUpDown(this);
  for (TWinControl* c : std::initializer_list<TWinControl*>{FDayEdit, FDayUpDown, FMonthCombo, FYearEdit, FYearUpDown})
    c->SetParent(this);
  FDayEdit->SetMaxLength(2);
  FDayUpDown->SetMin(1);
  FDayUpDown->SetMax(31);
  FDayUpDown->SetThousands(false);
  FMonthCombo->SetStyle(csDropDownList);
  FMonthCombo->SetDropDownCount(12);
  FYearEdit->SetMaxLength(4);
  FYearUpDown->SetMin(0);
  FYearUpDown->SetMax(9999);
  FYearUpDown->SetThousands(false);
  FLayout = LayoutOfShortDateFormat(LocaleText(LOCALE_SSHORTDATE));
  UpdateControlsWidth();
  SYSTEMTIME today;
  GetLocalTime(&today);
  SetDateValue(EncodeDate(today.wYear, today.wMonth, today.wDay));
}

void TdkCustomDatePanel::CreateWnd() {
  TCustomPanel::CreateWnd();
  if (!FCreated) CreateControls();
}

void TdkCustomDatePanel::CreateControls() {
  FCreated = true;
  FDayUpDown->SetAssociate(FDayEdit);
  FYearUpDown->SetAssociate(FYearEdit);
  UpdateMonthNames();
  if (!HasState(csDesigning)) {
    {
      FLoading = true;
      ScopeExit done{[this] { FLoading = false; }};
      FMonthCombo->SetItemIndex(FMonth - 1);
    }
    FDayEdit->OnChange = [this](TObject* s) { DayChange(s); };
    FDayEdit->OnKeyPress = [this](TObject* s, char& k) { DayKeyPress(s, k); };
    FMonthCombo->OnChange = [this](TObject* s) { MonthChange(s); };
    FMonthCombo->OnClick = [this](TObject* s) { MonthClick(s); };
    FYearEdit->OnChange = [this](TObject* s) { YearChange(s); };
    FYearEdit->OnKeyPress = [this](TObject* s, char& k) { YearKeyPress(s, k); };
  }
  ArrangeControls();
}

void TdkCustomDatePanel::UpdateMonthNames() {
  TStrings* names = FMonthCombo->Items();
  for (int m = names->Count(); m < 12; ++m) names->Add(LocaleText(LOCALE_SMONTHNAME1 + m));
}

void TdkCustomDatePanel::UpdateControlsWidth() {
  FDayWidth = TextWidthIn(Font(), "88") + 10;
  FYearWidth = TextWidthIn(Font(), "8888") + 10;
  FDayEdit->SetWidth(FDayWidth);
  FYearEdit->SetWidth(FYearWidth);
  FDayUpDown->SetWidth(GetSystemMetrics(SM_CXVSCROLL));
  FYearUpDown->SetWidth(GetSystemMetrics(SM_CXVSCROLL));
}

void TdkCustomDatePanel::SetControlsLayout(TdkDatePanelLayout Value) {
  FControlsLayout = Value;
  FLayout = Value == dplSystemDefault ? LayoutOfShortDateFormat(LocaleText(LOCALE_SSHORTDATE)) : Value;
  ArrangeControls();
}

void TdkCustomDatePanel::SetControlsSpace(int Value) {
  if (FControlsSpace == Value) return;
  FControlsSpace = Value;
  ArrangeControls();
}

void TdkCustomDatePanel::ArrangeControls() {
  if (FArranging || !FCreated) return;
  FArranging = true;
  ScopeExit done{[this] { FArranging = false; }};
  int bw = BorderWidth();
  auto partWidth = [&](char part) {
    TWinControl* updown = part == 'd' ? FDayUpDown : FYearUpDown;
    return (part == 'd' ? FDayWidth : FYearWidth) + updown->Width() + FControlsSpace;
  };
  auto visible = [&](char part) { return part == 'd' ? FEditDay : part == 'y' ? FEditYear : FEditMonth; };
  int parts = (FEditDay ? partWidth('d') : 0) + (FEditYear ? partWidth('y') : 0);
  int least = GetSystemMetrics(SM_CXVSCROLL) + 20 + 2 * bw;
  if (least > Width() - parts) SetWidth(least + parts + 2 * bw);  // room for the month
  int inner = Height() - 2 * bw;
  if (FEditMonth && inner < FMonthCombo->Height()) {
    inner = FMonthCombo->Height();
    SetHeight(inner + 2 * bw);
  }
  std::vector<char> order = PartOrder(FLayout);
  size_t month = static_cast<size_t>(std::find(order.begin(), order.end(), 'm') - order.begin());
  auto place = [&](char part, int x) {
    TWinControl* edit = part == 'd' ? FDayEdit : FYearEdit;
    TWinControl* updown = part == 'd' ? FDayUpDown : FYearUpDown;
    // The measured width: an up-down that attaches itself to its edit narrows the edit.
    int width = part == 'd' ? FDayWidth : FYearWidth;
    edit->SetBounds(x, bw, width, inner);
    updown->SetBounds(x + width, bw, updown->Width(), inner);
  };
  int left = bw;
  for (size_t i = 0; i < month; ++i) {
    if (!visible(order[i])) continue;
    place(order[i], left);
    left += partWidth(order[i]);
  }
  int right = Width() - bw;
  for (size_t i = order.size(); i-- > month + 1;) {
    if (!visible(order[i])) continue;
    right -= partWidth(order[i]) - FControlsSpace;
    place(order[i], right);
    right -= FControlsSpace;
  }
  if (FEditMonth) {
    int monthLeft = left;
    int monthRight = right;
    FMonthCombo->SetBounds(monthLeft, (Height() - FMonthCombo->Height()) / 2, std::max(monthRight - monthLeft, 1),
                           FMonthCombo->Height());
  }
  int tab = 0;
  for (char part : order) {
    if (!visible(part)) continue;
    TWinControl* c = part == 'd' ? static_cast<TWinControl*>(FDayEdit)
                     : part == 'y' ? static_cast<TWinControl*>(FYearEdit)
                                   : static_cast<TWinControl*>(FMonthCombo);
    c->SetTabOrder(tab++);
  }
}

void TdkCustomDatePanel::ShowPart(bool Visible, std::initializer_list<TWinControl*> Controls) {
  {
    FArranging = true;
    ScopeExit done{[this] { FArranging = false; }};
    for (TWinControl* c : Controls) c->SetVisible(Visible);
  }
  ArrangeControls();
}

void TdkCustomDatePanel::SetEditDay(bool Value) {
  if (FEditDay == Value) return;
  FEditDay = Value;
  ShowPart(Value, {FDayEdit, FDayUpDown});
}

void TdkCustomDatePanel::SetEditMonth(bool Value) {
  if (FEditMonth == Value) return;
  FEditMonth = Value;
  ShowPart(Value, {FMonthCombo});
}

void TdkCustomDatePanel::SetEditYear(bool Value) {
  if (FEditYear == Value) return;
  FEditYear = Value;
  ShowPart(Value, {FYearEdit, FYearUpDown});
}

void TdkCustomDatePanel::SetFlat(bool Value) {
  FDayEdit->SetFlat(Value);
  FYearEdit->SetFlat(Value);
  FMonthCombo->SetFlat(Value);
}

void TdkCustomDatePanel::SetEtched(bool Value) {
  FMonthCombo->SetEtched(Value);
}

void TdkCustomDatePanel::SetFocusBorder(bool Value) {
  FDayEdit->SetFocusBorder(Value);
  FYearEdit->SetFocusBorder(Value);
  FMonthCombo->SetFocusBorder(Value);
}

void TdkCustomDatePanel::ValidateDay() {
  int most = DaysInMonth(FYearUpDown->Position(), FMonth);
  FDayUpDown->SetMax(most);
  char* end = nullptr;
  AnsiString text = FDayEdit->Text();
  long day = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end) day = FDayUpDown->Position();
  int valid = static_cast<int>(std::clamp<long>(day, 1, most));
  if (valid != FDayUpDown->Position() || text != std::to_string(valid)) FDayUpDown->SetPosition(valid);
  if (FDayEdit->Text() != std::to_string(valid)) FDayEdit->SetText(std::to_string(valid));
}

TDate TdkCustomDatePanel::GetDate() {
  // While a year is being typed the up-down may hold 0: the date then counts from year 1.
  int year = std::max(FYearUpDown->Position(), 1);
  int day = std::clamp(FDayUpDown->Position(), 1, DaysInMonth(year, FMonth));
  return EncodeDate(year, FMonth, day);
}

void TdkCustomDatePanel::SetDateValue(TDate Value) {
  int year, month, day;
  DecodeDate(Value, year, month, day);
  {
    FLoading = true;
    ScopeExit done{[this] { FLoading = false; }};
    FDayUpDown->SetMax(31);
    FDayUpDown->SetPosition(day);
    FYearUpDown->SetPosition(year);
    FMonth = month;
    if (FCreated) FMonthCombo->SetItemIndex(month - 1);
    FDayEdit->SetText(std::to_string(day));
    FYearEdit->SetText(std::to_string(year));
    ValidateDay();
  }
}

void TdkCustomDatePanel::Change() {
  if (FLoading) return;
  if (OnChange) OnChange(this);
  if (OnChangeDate) OnChangeDate(this);
}

void TdkCustomDatePanel::DayChange(TObject*) {
  if (FLoading) return;
  ValidateDay();
  if (OnChangeDay) OnChangeDay(this);
  Change();
}

void TdkCustomDatePanel::YearChange(TObject*) {
  if (FLoading) return;
  ValidateDay();
  if (OnChangeYear) OnChangeYear(this);
  Change();
}

void TdkCustomDatePanel::MonthChange(TObject*) {
  if (FLoading) return;
  FMonth = FMonthCombo->ItemIndex() + 1;
  if (FMonth < 1) FMonth = 1;
  ValidateDay();
  if (OnChangeMonth) OnChangeMonth(this);
  Change();
}

void TdkCustomDatePanel::MonthClick(TObject*) {
  if (FLoading) return;
  // A click tells only of itself: the choice it makes comes as the combo's change, which
  // raises OnChangeMonth and OnChange once.
  ValidateDay();
  if (OnClickMonth) OnClickMonth(this);
}

void TdkCustomDatePanel::FilterDigits(char& Key) {
  unsigned char k = static_cast<unsigned char>(Key);
  if ((k >= 1 && k <= 31) || (k >= '0' && k <= '9')) return;
  Key = 0;
}

void TdkCustomDatePanel::DayKeyPress(TObject*, char& Key) {
  if (FLoading) return;
  if (OnKeyPressDay) OnKeyPressDay(this, Key);
  FilterDigits(Key);
}

void TdkCustomDatePanel::YearKeyPress(TObject*, char& Key) {
  if (FLoading) return;
  if (OnKeyPressYear) OnKeyPressYear(this, Key);
  FilterDigits(Key);
}

void TdkCustomDatePanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_ENABLEDCHANGED: {
      TCustomPanel::Dispatch(Message);
      bool enabled = Enabled();
      for (TWinControl* c : std::initializer_list<TWinControl*>{FDayEdit, FDayUpDown, FMonthCombo, FYearEdit, FYearUpDown})
        c->SetEnabled(enabled);
      for (TControl* c : std::initializer_list<TControl*>{FDayEdit, FMonthCombo, FYearEdit})
        c->SetColor(enabled ? clWindow : Color());
      break;
    }
    case CM_FONTCHANGED:
      TCustomPanel::Dispatch(Message);
      UpdateControlsWidth();
      ArrangeControls();
      break;
    case CM_WININICHANGE:
      TCustomPanel::Dispatch(Message);
      UpdateControlsWidth();
      SetControlsLayout(FControlsLayout);
      break;
    case WM_SIZE:
      TCustomPanel::Dispatch(Message);
      ArrangeControls();
      break;
    case WM_PAINT:
      // The children's windows came after the panel's (an up-down takes its place beside
      // its edit as its window is made): put them where they belong before painting.
      ArrangeControls();
      TCustomPanel::Dispatch(Message);
      break;
    default: TCustomPanel::Dispatch(Message); break;
  }
}
