#include "vcl/stdctrls.h"

#include "vcl/streaming.h"

namespace {

const std::vector<TPropInfo>& ButtonProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TButton>()
      .Property("Cancel", &TButton::Cancel).Default(false)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("Default", &TButton::Default, &TButton::SetDefault).Default(false)
      .Property("ModalResult", &TButton::ModalResult).Default(mrNone)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Table();
  return table;
}

const std::vector<TPropInfo>& EditProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TEdit>()
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clWindow)
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Property("Text", &TControl::Text, &TControl::SetText)
      .Property("OnChange", &TEdit::OnChange)
      .Table();
  return table;
}

const std::vector<TPropInfo>& LabelProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TLabel>()
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TButton, TWinControl, &CreateComponentOf<TButton>, &ButtonProperties)
VCL_CLASS_IMPL(TEdit, TWinControl, &CreateComponentOf<TEdit>, &EditProperties)
VCL_CLASS_IMPL(TLabel, TGraphicControl, &CreateComponentOf<TLabel>, &LabelProperties)

void RegisterStdControls() {
  RegisterClasses({TButton::StaticClass(), TEdit::StaticClass(), TLabel::StaticClass()});
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  // The system's button tracks the mouse and reports the click itself.
  ControlStyle = csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), BM_SETSTYLE, Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
  TWinControl::Click();
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (TWMCommand{Message}.NotifyCode() == BN_CLICKED) Click();
      break;
    case CM_DIALOGKEY: {
      TWMKey k{Message};
      bool mine = (k.CharCode() == VK_RETURN && FDefault) || (k.CharCode() == VK_ESCAPE && Cancel);
      if (mine && KeyDataToShiftState(k.KeyData()) == 0 && CanFocus()) {
        Click();
        Message.Result = 1;
        break;
      }
      TWinControl::Dispatch(Message);
      break;
    }
    default: TWinControl::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------
// TEdit

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);  // white, not the form's grey
}

void TEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_LEFT;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::Change() {
  if (OnChange) OnChange(this);
}

void TEdit::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    if (TWMCommand{Message}.NotifyCode() == EN_CHANGE) Change();
    return;
  }
  TWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 65, 17); }

void TLabel::Dispatch(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED) Invalidate();
}

void TLabel::Paint() {
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  PrepareTextArea(canvas, r, Color(), Font());
  AnsiString text = Caption();
  DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
            DrawTextBiDiModeFlags(DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS));
}
