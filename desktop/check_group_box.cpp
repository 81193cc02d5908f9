#include "desktop/check_group_box.h"

#include <algorithm>

#include "vcl/messages.h"
#include "vcl/themes.h"
#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& CheckGroupBoxProperties() {
  using T = TdkCustomGroupBox;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("About", &T::About).Stored(false)
      .Property("AutoDisableControls", &T::AutoDisableControls, &T::SetAutoDisableControls).Default(true)
      .Property("CheckBoxChecked", &T::CheckBoxChecked, &T::SetCheckBoxChecked).Default(true)
      .Property("CheckBoxVisible", &T::CheckBoxVisible, &T::SetCheckBoxVisible).Default(true)
      .Property("OnCheckBoxClick", &T::OnCheckBoxClick)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomGroupBox, TCustomGroupBox, nullptr, &CheckGroupBoxProperties)
VCL_CLASS_IMPL(TdkGroupBox, TdkCustomGroupBox, &CreateComponentOf<TdkGroupBox>, nullptr)

TdkCustomGroupBox::TdkCustomGroupBox(TComponent* AOwner) : TCustomGroupBox(AOwner) {
  // Owned by the group box but no component of the form: never stored on its own.
  FCheckBox = new TCheckBox(this);
  FCheckBox->SetParent(this);
  FCheckBox->SetParentFont(true);
  FCheckBox->SetChecked(true);
  FCheckBox->OnClick = [this](TObject* Sender) { CheckBoxClick(Sender); };
}

void TdkCustomGroupBox::SetAutoDisableControls(bool Value) {
  if (FAutoDisableControls == Value) return;
  FAutoDisableControls = Value;
  UpdateControls();
}

void TdkCustomGroupBox::SetCheckBoxChecked(bool Value) {
  FCheckBox->SetChecked(Value);
  UpdateControls();
}

void TdkCustomGroupBox::SetCheckBoxVisible(bool Value) {
  FCheckBox->SetVisible(Value);
  AdjustCheckBox();
  UpdateControls();
  Invalidate();
}

void TdkCustomGroupBox::UpdateControls() {
  if (!FAutoDisableControls) return;
  bool enabled = Enabled();
  if (FCheckBox->Visible()) enabled = enabled && FCheckBox->Checked();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c != FCheckBox) c->SetEnabled(enabled);
  }
  Invalidate();
}

void TdkCustomGroupBox::CheckBoxClick(TObject*) {
  UpdateControls();
  if (OnCheckBoxClick) OnCheckBoxClick(this);
}

void TdkCustomGroupBox::AdjustCheckBox() {
  if (!FCheckBox->HandleAllocated()) return;
  AnsiString caption = Caption();
  FCheckBox->SetCaption(caption);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SIZE text{};
  GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  SIZE box = GetCheckBoxSize();
  FCheckBox->SetBounds(8, 0, text.cx + 5 + box.cx + 1, std::max<int>(text.cy, box.cy));
  PaintCheckBoxBackground();
}

void TdkCustomGroupBox::PaintCheckBoxBackground() {
  // The box sits on the frame's top line: what shows under it is the group's own face.
  HWND wnd = FCheckBox->Handle();
  HDC dc = GetDC(wnd);
  RECT r{};
  GetClientRect(wnd, &r);
  if (!(Parent() && ThemeServices()->DrawParentBackground(wnd, dc, &r))) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  ReleaseDC(wnd, dc);
}

void TdkCustomGroupBox::CreateWnd() {
  TCustomGroupBox::CreateWnd();
  FCheckBox->HandleNeeded();
  AdjustCheckBox();
}

void TdkCustomGroupBox::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateControls();
}

void TdkCustomGroupBox::Dispatch(TMessage& Message) {
  TCustomGroupBox::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED) AdjustCheckBox();
}
