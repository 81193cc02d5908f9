#include "vcl/stdctrls.h"

#include "vcl/keyboard.h"
#include "vcl/scopeexit.h"
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
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomLabel>()
      .Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment).Default(taLeftJustify)
      .Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
      .Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop)
      .Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true)
      .Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false)
      .Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& StaticTextProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomStaticText>()
      .Property("Alignment", &TCustomStaticText::Alignment, &TCustomStaticText::SetAlignment).Default(taLeftJustify)
      .Property("AutoSize", &TCustomStaticText::AutoSize, &TCustomStaticText::SetAutoSize).Default(true)
      .Property("BorderStyle", &TCustomStaticText::BorderStyle, &TCustomStaticText::SetBorderStyle).Default(sbsNone)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("FocusControl", &TCustomStaticText::FocusControl, &TCustomStaticText::SetFocusControl)
      .Property("ShowAccelChar", &TCustomStaticText::ShowAccelChar, &TCustomStaticText::SetShowAccelChar)
          .Default(true)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& CheckBoxProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomCheckBox>()
      .Property("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment).Default(taRightJustify)
      .Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed).Default(false)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked).Stored(false)
      .Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState).Default(cbUnchecked)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Table();
  return table;
}

const std::vector<TPropInfo>& RadioButtonProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TRadioButton>()
      .Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false)
      .Table();
  return table;
}

const std::vector<TPropInfo>& GroupBoxProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomGroupBox>()
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TButton, TButtonControl, &CreateComponentOf<TButton>, &ButtonProperties)
VCL_CLASS_IMPL(TEdit, TWinControl, &CreateComponentOf<TEdit>, &EditProperties)
VCL_CLASS_IMPL(TCustomLabel, TGraphicControl, nullptr, &LabelProperties)
VCL_CLASS_IMPL(TLabel, TCustomLabel, &CreateComponentOf<TLabel>, nullptr)
VCL_CLASS_IMPL(TCustomStaticText, TWinControl, nullptr, &StaticTextProperties)
VCL_CLASS_IMPL(TStaticText, TCustomStaticText, &CreateComponentOf<TStaticText>, nullptr)
VCL_CLASS_IMPL(TButtonControl, TWinControl, nullptr, nullptr)
VCL_CLASS_IMPL(TButtonActionLink, TControlActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomCheckBox, TButtonControl, nullptr, &CheckBoxProperties)
VCL_CLASS_IMPL(TCheckBox, TCustomCheckBox, &CreateComponentOf<TCheckBox>, nullptr)
VCL_CLASS_IMPL(TRadioButton, TButtonControl, &CreateComponentOf<TRadioButton>, &RadioButtonProperties)
VCL_CLASS_IMPL(TCustomGroupBox, TCustomControl, nullptr, &GroupBoxProperties)
VCL_CLASS_IMPL(TGroupBox, TCustomGroupBox, &CreateComponentOf<TGroupBox>, nullptr)

void RegisterStdControls() {
  RegisterClasses({TButton::StaticClass(), TEdit::StaticClass(), TLabel::StaticClass()});
  RegisterClasses({TStaticText::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                   TGroupBox::StaticClass()});
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  // The system's button tracks the mouse and reports the click itself.
  ControlStyle = csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
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
  TButtonControl::Click();
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
      TButtonControl::Dispatch(Message);
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccelOfCaption(TWMKey{Message}.CharCode()) && CanFocus()) {
        Click();
        Message.Result = 1;
        break;
      }
      TButtonControl::Dispatch(Message);
      break;
    default: TButtonControl::Dispatch(Message); break;
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
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle |= csOpaque;
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(Message);
      AdjustBounds();
      Invalidate();
      break;
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsAccelOfCaption(TWMKey{Message}.CharCode()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
      }
      break;
    default: TGraphicControl::Dispatch(Message); break;
  }
}

bool TCustomLabel::IsAccelOfCaption(WORD CharCode) { return IsAccel(CharCode, Caption()); }

AnsiString TCustomLabel::GetLabelText() { return Caption(); }

void TCustomLabel::DrawLabelText(RECT& Rect, UINT Flags, const std::function<void(HDC, RECT&, UINT)>& Draw) {
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  Flags = DrawTextBiDiModeFlags(Flags);
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  HDC dc = canvas->Handle();
  if (Enabled() || (Flags & DT_CALCRECT)) {
    Draw(dc, Rect, Flags);
    return;
  }
  // Disabled: an engraved look, a light copy below right of the shadowed text.
  RECT shifted = Rect;
  OffsetRect(&shifted, 1, 1);
  SetTextColor(dc, ColorToRGB(clBtnHighlight));
  Draw(dc, shifted, Flags);
  SetTextColor(dc, ColorToRGB(clBtnShadow));
  Draw(dc, Rect, Flags);
}

void TCustomLabel::DoDrawText(RECT& Rect, UINT Flags) {
  AnsiString text = GetLabelText();
  // An empty label still measures one line high.
  if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += ' ';
  DrawLabelText(Rect, Flags, [&text](HDC dc, RECT& r, UINT f) {
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, f);
  });
}

UINT TCustomLabel::TextFlags() const {
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | alignments[FAlignment];
  if (FWordWrap) flags |= DT_WORDBREAK;
  return flags;
}

void TCustomLabel::Paint() {
  TCanvas* canvas = Canvas();
  RECT client = ClientRect();
  if (!Transparent()) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  }
  canvas->Brush()->SetStyle(bsClear);
  RECT r = client;
  UINT flags = TextFlags();
  if (FLayout != tlTop) {
    // Measure first, then move the text down inside the label.
    RECT measured = r;
    DoDrawText(measured, flags | DT_CALCRECT);
    int textHeight = measured.bottom - measured.top;
    int offset = FLayout == tlBottom ? (r.bottom - r.top) - textHeight : ((r.bottom - r.top) - textHeight) / 2;
    r.top += offset;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (HasState(csLoading) || !FAutoSize) return;
  RECT r = ClientRect();
  if (!FWordWrap) r.right = r.left + 0x7FFF;  // one line, as long as it needs
  HDC screen = GetDC(nullptr);
  {
    // Measured on the screen: a window-less label has no device context of its own yet.
    TCanvas* canvas = Canvas();
    HDC previous = canvas->CurrentHandle();
    canvas->SetHandle(screen);
    ScopeExit restore{[&] { canvas->SetHandle(previous); }};
    DoDrawText(r, TextFlags() | DT_CALCRECT);
  }
  ReleaseDC(nullptr, screen);
  int width = r.right - r.left, height = r.bottom - r.top;
  int left = Left();
  TAlignment alignment = FAlignment;
  if (UseRightToLeftAlignment()) alignment = alignment == taLeftJustify ? taRightJustify : alignment == taRightJustify ? taLeftJustify : taCenter;
  if (alignment == taRightJustify) left += Width() - width;
  else if (alignment == taCenter) left += (Width() - width) / 2;
  SetBounds(left, Top(), width, height);
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value)
    ControlStyle &= ~csOpaque;
  else
    ControlStyle |= csOpaque;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

// ---------------------------------------------------------------------------
// TCustomStaticText

TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 65, 17);
}

void TCustomStaticText::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "STATIC");
  static const DWORD alignments[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
  TAlignment alignment = FAlignment;
  if (UseRightToLeftAlignment() && alignment != taCenter)
    alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
  Params.Style |= SS_NOTIFY | alignments[alignment];
  if (!FShowAccelChar) Params.Style |= SS_NOPREFIX;
  if (FBorderStyle == sbsSingle) Params.Style |= WS_BORDER;
  if (FBorderStyle == sbsSunken) Params.Style |= SS_SUNKEN;
  // The parent's colour shows through between the letters.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_VREDRAW | CS_HREDRAW);
}

void TCustomStaticText::CreateWnd() {
  TWinControl::CreateWnd();
  AdjustBounds();
}

void TCustomStaticText::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TWinControl::Dispatch(Message);
      AdjustBounds();
      Invalidate();
      break;
    case CN_COMMAND: break;  // clicks come from the mouse messages (csClickEvents)
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsAccelOfCaption(TWMKey{Message}.CharCode()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
      }
      break;
    default: TWinControl::Dispatch(Message); break;
  }
}

bool TCustomStaticText::IsAccelOfCaption(WORD CharCode) { return IsAccel(CharCode, Caption()); }

void TCustomStaticText::AdjustBounds() {
  if (HasState(csLoading) || !FAutoSize) return;
  AnsiString text = Caption();
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  SetBounds(Left(), Top(), extent.cx + 4 * GetSystemMetrics(SM_CXBORDER),
            extent.cy + 4 * GetSystemMetrics(SM_CYBORDER));
}

void TCustomStaticText::Loaded() {
  TWinControl::Loaded();
  AdjustBounds();
}

void TCustomStaticText::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomStaticText::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomStaticText::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustBounds();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomStaticText::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomStaticText::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  RecreateWnd();
}

// ---------------------------------------------------------------------------
// TButtonControl, TButtonActionLink

TControlActionLink* TButtonControl::CreateActionLink() { return new TButtonActionLink(this); }

void TButtonControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  TWinControl::ActionChange(Sender, CheckDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(Sender))
    if (!CheckDefaults || !Checked()) SetChecked(action->Checked());
}

bool TButtonControl::IsAccelOfCaption(WORD CharCode) { return IsAccel(CharCode, Caption()); }

bool TButtonControl::ClicksDisabled() const { return HasState(csReading) || HasState(csLoading); }

TButtonActionLink::TButtonActionLink(TButtonControl* AClient) : TControlActionLink(AClient), FButton(AClient) {}

bool TButtonActionLink::IsCheckedLinked() {
  return TControlActionLink::IsCheckedLinked() && CustomAction() && FButton->Checked() == CustomAction()->Checked();
}

void TButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FButton->SetChecked(Value);
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  ControlStyle = csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  // The framework keeps the state; the system only shows it.
  Params.Style |= BS_3STATE;
  bool boxRight = FAlignment == taLeftJustify;
  if (UseRightToLeftAlignment()) boxRight = !boxRight;
  if (boxRight) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    if (TWMCommand{Message}.NotifyCode() == BN_CLICKED) Toggle();
    return;
  }
  if (Message.Msg == CM_DIALOGCHAR && IsAccelOfCaption(TWMKey{Message}.CharCode()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(FState), 0);
  if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

// ---------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  ControlStyle = csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_RADIOBUTTON;
  bool boxRight = FAlignment == taLeftJustify;
  if (UseRightToLeftAlignment()) boxRight = !boxRight;
  if (boxRight) Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_COMMAND) {
    WORD code = TWMCommand{Message}.NotifyCode();
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) SetChecked(true);
    return;
  }
  if (Message.Msg == CM_DIALOGCHAR && IsAccelOfCaption(TWMKey{Message}.CharCode()) && CanFocus()) {
    SetFocus();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  // A tab stop only on the checked one, as the system's radio groups do.
  SetTabStop(Value);
  if (HandleAllocated()) SendMessageA(WindowHandle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!Value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
    }
  }
  if (!ClicksDisabled()) Click();
}

void TRadioButton::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccelOfCaption(TWMKey{Message}.CharCode()) && CanFocus()) {
        SelectFirst();
        Message.Result = 1;
        return;
      }
      TCustomControl::Dispatch(Message);
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      Realign();
      Invalidate();
      break;
    default: TCustomControl::Dispatch(Message); break;
  }
}

bool TCustomGroupBox::IsAccelOfCaption(WORD CharCode) { return IsAccel(CharCode, Caption()); }

void TCustomGroupBox::AdjustClientRect(RECT& Rect) {
  // The caption's line and the frame are no room for the controls inside.
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  int height = canvas->TextHeight("0");
  Rect.top += height;
  InflateRect(&Rect, -1, -1);
  if (Rect.bottom < Rect.top) Rect.bottom = Rect.top;
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  RECT client = ClientRect();
  canvas->FillRect(client);
  int h = canvas->TextHeight("0");
  RECT frame{0, h / 2 - 1, client.right, client.bottom};
  canvas->Brush()->SetStyle(bsClear);
  // An etched frame: light below right of the shadow.
  RECT light = frame;
  OffsetRect(&light, 1, 1);
  canvas->Pen()->SetColor(clBtnHighlight);
  canvas->Rectangle(light.left, light.top, light.right, light.bottom);
  canvas->Pen()->SetColor(clBtnShadow);
  canvas->Rectangle(frame.left, frame.top, frame.right - 1, frame.bottom - 1);
  RECT r{0, 0, 0, h};
  UINT flags = DrawTextBiDiModeFlags(DT_SINGLELINE);
  canvas->RequiredState(csHandleValid | csFontValid);
  if (!DrawCaptionText(canvas->Handle(), r, flags | DT_CALCRECT)) return;
  int width = r.right - r.left;
  if (UseRightToLeftAlignment())
    OffsetRect(&r, frame.right - width - 8, 0);
  else
    OffsetRect(&r, 8, 0);
  // The caption interrupts the frame: drawn on the box's colour.
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  SetTextColor(canvas->Handle(), ColorToRGB(Font()->Color()));
  DrawCaptionText(canvas->Handle(), r, flags);
}

bool TCustomGroupBox::DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) {
  AnsiString text = Caption();
  if (text.empty()) return false;
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
  return true;
}
