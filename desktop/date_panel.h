// A panel that edits a date: a day edit with an up-down, a month combo box and a year edit
// with an up-down, in the locale's order or a chosen one.
#pragma once

#include <vector>

#include "desktop/flat_edit.h"
#include "desktop/image_combo_box.h"
#include "vcl/comctrls_updown.h"
#include "vcl/extctrls.h"

enum TdkDatePanelLayout { dplSystemDefault, dplDMY, dplMDY, dplYMD, dplYDM };
VCL_ENUM_INFO(TdkDatePanelLayout, "dplSystemDefault", "dplDMY", "dplMDY", "dplYMD", "dplYDM")

// Days since 30 December 1899, as the framework's dates count them.
using TDate = double;

namespace date_panel_rules {

// The order of a short date format such as "dd/MM/yyyy": month-day-year, year-month-day,
// year-day-month, or else day-month-year.
TdkDatePanelLayout LayoutOfShortDateFormat(const AnsiString& Format);
// The parts left to right: 'd', 'm' and 'y'.
std::vector<char> PartOrder(TdkDatePanelLayout Layout);
bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);
TDate EncodeDate(int Year, int Month, int Day);
void DecodeDate(TDate Date, int& Year, int& Month, int& Day);

}  // namespace date_panel_rules

class TdkCustomDatePanel : public TCustomPanel {
  VCL_CLASS(TdkCustomDatePanel)
 public:
  explicit TdkCustomDatePanel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  AnsiString About;
  TDate Date() { return GetDate(); }
  void SetDate(TDate Value) { SetDateValue(Value); }
  int Month() const { return FMonth; }
  TdkDatePanelLayout ControlsLayout() const { return FControlsLayout; }
  virtual void SetControlsLayout(TdkDatePanelLayout Value);
  // The order in use: the locale's when ControlsLayout is dplSystemDefault.
  TdkDatePanelLayout EffectiveLayout() const { return FLayout; }
  int ControlsSpace() const { return FControlsSpace; }
  virtual void SetControlsSpace(int Value);
  bool EditDay() const { return FEditDay; }
  void SetEditDay(bool Value);
  bool EditMonth() const { return FEditMonth; }
  void SetEditMonth(bool Value);
  bool EditYear() const { return FEditYear; }
  void SetEditYear(bool Value);
  bool Flat() const { return FDayEdit->Flat(); }
  void SetFlat(bool Value);
  bool Etched() const { return FMonthCombo->Etched(); }
  void SetEtched(bool Value);
  bool FocusBorder() const { return FDayEdit->FocusBorder(); }
  void SetFocusBorder(bool Value);
  TStrings* MonthNames() const { return FMonthCombo->Items(); }

  TdkEdit* DayEdit() const { return FDayEdit; }
  TUpDown* DayUpDown() const { return FDayUpDown; }
  TdkComboBox* MonthCombo() const { return FMonthCombo; }
  TdkEdit* YearEdit() const { return FYearEdit; }
  TUpDown* YearUpDown() const { return FYearUpDown; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChangeDate;
  TNotifyEvent OnChangeDay;
  TNotifyEvent OnChangeMonth;
  TNotifyEvent OnChangeYear;
  TNotifyEvent OnClickMonth;
  TKeyPressEvent OnKeyPressDay;
  TKeyPressEvent OnKeyPressYear;

 protected:
  virtual void UpdateMonthNames();
  virtual void CreateControls();
  virtual void ArrangeControls();
  virtual void UpdateControlsWidth();
  virtual void ValidateDay();
  virtual void Change();
  virtual void DayChange(TObject* Sender);
  virtual void MonthChange(TObject* Sender);
  virtual void YearChange(TObject* Sender);
  virtual void MonthClick(TObject* Sender);
  virtual void DayKeyPress(TObject* Sender, char& Key);
  virtual void YearKeyPress(TObject* Sender, char& Key);
  virtual TDate GetDate();
  virtual void SetDateValue(TDate Value);
  void CreateWnd() override;

 private:
  void ShowPart(bool Visible, std::initializer_list<TWinControl*> Controls);
  void FilterDigits(char& Key);

  int FDayWidth = 0;   // the edits' widths, measured in the panel's font
  int FYearWidth = 0;
  int FControlsSpace = 8;
  int FMonth = 1;
  bool FEditDay = true;
  bool FEditMonth = true;
  bool FEditYear = true;
  bool FCreated = false;
  bool FLoading = false;
  bool FArranging = false;
  TdkDatePanelLayout FControlsLayout = dplSystemDefault;
  TdkDatePanelLayout FLayout = dplDMY;
  TdkComboBox* FMonthCombo;
  TdkEdit* FYearEdit;
  TdkEdit* FDayEdit;
  TUpDown* FDayUpDown;
  TUpDown* FYearUpDown;
};

class TdkDatePanel : public TdkCustomDatePanel {
  VCL_CLASS(TdkDatePanel)
 public:
  using TdkCustomDatePanel::TdkCustomDatePanel;
};
