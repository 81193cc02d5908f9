#include "vcl/stdctrls.h"

#include <algorithm>
#include <unordered_map>

#include "vcl/keyboard.h"
#include "vcl/resstrings.h"
#include "vcl/scopeexit.h"
#include "vcl/streaming.h"
#include "vcl/themes.h"
#include "vcl/waiting_items.h"

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

// What every edit publishes; a memo adds its Lines, a one-line edit its Text and password
// character.
const std::vector<TPropInfo>& CustomEditProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomEdit>()
      .Property("AutoSelect", &TCustomEdit::AutoSelect).Default(true)
      .Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clWindow)
      .Property("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection).Default(true)
      .Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0)
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
      .Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Property("OnChange", &TCustomEdit::OnChange)
      .Table();
  return table;
}

const std::vector<TPropInfo>& EditProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TEdit>()
      .Property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar).Default(0)
      .Property("Text", &TControl::Text, &TControl::SetText)
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
VCL_CLASS_IMPL(TCustomEdit, TWinControl, nullptr, &CustomEditProperties)
VCL_CLASS_IMPL(TEdit, TCustomEdit, &CreateComponentOf<TEdit>, &EditProperties)
VCL_CLASS_IMPL(TCustomLabel, TGraphicControl, nullptr, &LabelProperties)
VCL_CLASS_IMPL(TLabel, TCustomLabel, &CreateComponentOf<TLabel>, nullptr)
VCL_CLASS_IMPL(TCustomStaticText, TWinControl, nullptr, &StaticTextProperties)
VCL_CLASS_IMPL(TStaticText, TCustomStaticText, &CreateComponentOf<TStaticText>, nullptr)
VCL_CLASS_IMPL(TButtonControl, TWinControl, nullptr, nullptr)
VCL_CLASS_IMPL(TButtonActionLink, TWinControlActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomCheckBox, TButtonControl, nullptr, &CheckBoxProperties)
VCL_CLASS_IMPL(TCheckBox, TCustomCheckBox, &CreateComponentOf<TCheckBox>, nullptr)
VCL_CLASS_IMPL(TRadioButton, TButtonControl, &CreateComponentOf<TRadioButton>, &RadioButtonProperties)
VCL_CLASS_IMPL(TCustomGroupBox, TCustomControl, nullptr, &GroupBoxProperties)
VCL_CLASS_IMPL(TGroupBox, TCustomGroupBox, &CreateComponentOf<TGroupBox>, nullptr)

// The edit-type controls, registered with the others (defined with them below).
void RegisterEditControls();

void RegisterStdControls() {
  RegisterClasses({TButton::StaticClass(), TEdit::StaticClass(), TLabel::StaticClass()});
  RegisterClasses({TStaticText::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                   TGroupBox::StaticClass()});
  RegisterEditControls();
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
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetParentColor(false);  // white, not the form's grey
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  static const DWORD kCharCases[] = {0, ES_UPPERCASE, ES_LOWERCASE};
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_LEFT | kCharCases[FCharCase];
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FReadOnly) Params.Style |= ES_READONLY;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = WindowHandle();
  SendMessageA(wnd, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FPasswordChar) SendMessageA(wnd, EM_SETPASSWORDCHAR, static_cast<BYTE>(FPasswordChar), 0);
  SendMessageA(wnd, EM_SETMODIFY, FModified, 0);
}

void TCustomEdit::DestroyWnd() {
  FModified = Modified();
  TWinControl::DestroyWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  FMaxLength = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

bool TCustomEdit::Modified() {
  if (HandleAllocated()) FModified = SendMessageA(WindowHandle(), EM_GETMODIFY, 0, 0) != 0;
  return FModified;
}

void TCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETMODIFY, Value, 0);
}

void TCustomEdit::SetPasswordChar(char Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  if (HandleAllocated()) {
    SendMessageA(WindowHandle(), EM_SETPASSWORDCHAR, static_cast<BYTE>(Value), 0);
    Invalidate();
  }
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETREADONLY, Value, 0);
}

int TCustomEdit::SelStart() {
  DWORD start = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int Value) { SendMessageA(Handle(), EM_SETSEL, Value, Value); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int Value) {
  int start = SelStart();
  SendMessageA(Handle(), EM_SETSEL, start, start + Value);
}

AnsiString TCustomEdit::SelText() {
  int start = SelStart(), length = SelLength();
  AnsiString text = Text();
  if (start < 0 || static_cast<size_t>(start) >= text.size()) return AnsiString();
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomEdit::SetSelText(const AnsiString& Value) {
  SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (TWMCommand{Message}.NotifyCode() == EN_CHANGE) Change();
      return;
    case WM_SETFOCUS:
      TWinControl::Dispatch(Message);
      // A click places the caret where it lands; only a keyboard entry selects all, and
      // never in a memo, where the caret marks the place the user was typing.
      if (AutoSelect && GetKeyState(VK_LBUTTON) >= 0 && !(GetWindowLongPtrA(WindowHandle(), GWL_STYLE) & ES_MULTILINE))
        SelectAll();
      return;
    default: TWinControl::Dispatch(Message); return;
  }
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

TButtonActionLink::TButtonActionLink(TButtonControl* AClient) : TWinControlActionLink(AClient), FButton(AClient) {}

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
  if (ThemeServices()->ThemesEnabled() && PaintThemed()) return;
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

bool TCustomGroupBox::PaintThemed() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->RequiredState(csHandleValid | csFontValid | csBrushValid);
  HDC dc = canvas->Handle();
  RECT client = ClientRect();
  WideString text = ThemedCaptionText();
  SIZE extent{0, 0};
  if (text.empty() || !GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent)) {
    GetTextExtentPoint32W(dc, L"0", 1, &extent);
    extent.cx = 0;
  }
  RECT frame{0, extent.cy / 2 - 1, client.right, client.bottom};
  RECT caption{8, 0, 8 + extent.cx, extent.cy};
  if (UseRightToLeftAlignment()) OffsetRect(&caption, frame.right - extent.cx - 16, 0);
  const TThemedElementDetails details = GroupBoxDetails(Enabled());

  canvas->FillRect(client);
  // The frame stops either side of the caption.
  int saved = SaveDC(dc);
  if (extent.cx > 0) ExcludeClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
  bool drawn = ThemeServices()->DrawElement(dc, details, frame);
  RestoreDC(dc, saved);
  if (!drawn) return false;
  if (extent.cx > 0) {
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SetBkMode(dc, TRANSPARENT);
    UINT flags = DrawTextBiDiModeFlags(DT_SINGLELINE);
    if (!ThemeServices()->DrawText(dc, details, text, caption, flags))
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption, flags);
  }
  return true;
}

WideString TCustomGroupBox::ThemedCaptionText() {
  AnsiString text = Caption();
  if (text.empty()) return WideString();
  int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  WideString wide(static_cast<size_t>(std::max(length, 0)), L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

bool TCustomGroupBox::DrawCaptionText(HDC DC, RECT& Rect, UINT Flags) {
  AnsiString text = Caption();
  if (text.empty()) return false;
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
  return true;
}

// ===========================================================================
// Memos and combo boxes

namespace {

// The owner drawing of a list-like control's row: the canvas on the row's DC in the control's
// font and brush (selection colours when selected), the row drawn by Draw or, for an empty
// list, filled, and the focus rectangle.
void DrawOwnerDrawnItem(TControlCanvas& Canvas, TFont* Font, TBrush* Brush, TMessage& Message,
                        const std::function<void(int, const RECT&, TOwnerDrawState)>& Draw) {
  DRAWITEMSTRUCT* dis = TWMDrawItem{Message}.DrawItemStruct();
  TOwnerDrawState state = OwnerDrawStateOf(dis->itemState);
  int index = static_cast<int>(dis->itemID);
  Canvas.SetHandle(dis->hDC);
  ScopeExit release{[&] { Canvas.SetHandle(nullptr); }};
  Canvas.SetFont(Font);
  Canvas.SetBrush(Brush);
  if (index >= 0 && (state & odSelected)) {
    Canvas.Brush()->SetColor(clHighlight);
    Canvas.Font()->SetColor(clHighlightText);
  }
  if (index >= 0)
    Draw(index, dis->rcItem, state);
  else
    Canvas.FillRect(dis->rcItem);
  if (state & odFocused) DrawFocusRect(dis->hDC, &dis->rcItem);
  Message.Result = 1;
}

// A row's height: the fixed one, or the one Measure gives when rows vary; at least 1.
void MeasureOwnerDrawnItem(TMessage& Message, int FixedHeight, bool Variable,
                           const std::function<void(int, int&)>& Measure) {
  MEASUREITEMSTRUCT* mis = TWMMeasureItem{Message}.MeasureItemStruct();
  int height = FixedHeight;
  if (Variable) Measure(static_cast<int>(mis->itemID), height);
  mis->itemHeight = static_cast<UINT>(std::max(height, 1));
  Message.Result = 1;
}


const std::vector<TPropInfo>& MemoProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomMemo>()
      .Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines)
      .Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone)
      .Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ComboBoxProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomComboBox>()
      .Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle).Default(csDropDown)
      .Property("AutoComplete", &TCustomComboBox::AutoComplete).Default(true)
      .Property("AutoDropDown", &TCustomComboBox::AutoDropDown).Default(false)
      .Property("AutoCloseUp", &TCustomComboBox::AutoCloseUp).Default(false)
      .Property("CharCase", &TCustomComboBox::CharCase, &TCustomComboBox::SetCharCase).Default(ecNormal)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clWindow)
      .Property("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount).Default(8)
      .Property("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight).Default(16)
      .Property("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength).Default(0)
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
      .Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
      .Property("ItemIndex", &TCustomComboBox::StoredItemIndex, &TCustomComboBox::SetItemIndex).Default(-1)
      .Property("Text", &TControl::Text, &TControl::SetText)
      .Property("OnChange", &TCustomComboBox::OnChange)
      .Property("OnCloseUp", &TCustomComboBox::OnCloseUp)
      .Property("OnDrawItem", &TCustomComboBox::OnDrawItem)
      .Property("OnDropDown", &TCustomComboBox::OnDropDown)
      .Property("OnMeasureItem", &TCustomComboBox::OnMeasureItem)
      .Property("OnSelect", &TCustomComboBox::OnSelect)
      .Table();
  return table;
}

// Lone CRs and LFs become CR LF, the only line break an edit window knows.
AnsiString WithCRLF(const AnsiString& S) {
  AnsiString out;
  out.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    char c = S[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < S.size() && S[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

// The inner windows of every combo box, while they are subclassed.
std::unordered_map<HWND, TCustomComboBox*>& InnerWindows() {
  static auto* map = new std::unordered_map<HWND, TCustomComboBox*>;
  return *map;
}

}  // namespace

VCL_CLASS_IMPL(TMemoStrings, TStrings, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomMemo, TCustomEdit, nullptr, &MemoProperties)
VCL_CLASS_IMPL(TMemo, TCustomMemo, &CreateComponentOf<TMemo>, nullptr)
VCL_CLASS_IMPL(TCustomComboBoxStrings, TStrings, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomComboBox, TCustomListControl, nullptr, &ComboBoxProperties)
VCL_CLASS_IMPL(TComboBox, TCustomComboBox, &CreateComponentOf<TComboBox>, nullptr)

void RegisterEditControls() {
  RegisterClasses({TMemo::StaticClass(), TComboBox::StaticClass(), TListBox::StaticClass()});
}

// ---------------------------------------------------------------------------
// TMemoStrings

AnsiString TMemoStrings::Get(int Index) const {
  HWND wnd = FMemo->Handle();
  LRESULT start = SendMessageA(wnd, EM_LINEINDEX, Index, 0);
  if (start < 0) return AnsiString();
  int length = static_cast<int>(SendMessageA(wnd, EM_LINELENGTH, start, 0));
  // An empty line has nothing to read, and its buffer no room for the length word
  // EM_GETLINE expects in front.
  if (length <= 0) return AnsiString();
  // The buffer's size goes in a 16-bit word: a longer line cannot be asked for whole.
  if (length > 0xFFFF) throw EOutOfResources(LoadResString(&SLineTooLong));
  std::vector<char> buffer(std::max<size_t>(length, sizeof(WORD)) + 1, '\0');
  *reinterpret_cast<WORD*>(buffer.data()) = static_cast<WORD>(length);
  LRESULT copied = SendMessageA(wnd, EM_GETLINE, Index, reinterpret_cast<LPARAM>(buffer.data()));
  return AnsiString(buffer.data(), static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
}

int TMemoStrings::GetCount() const {
  HWND wnd = FMemo->Handle();
  int count = static_cast<int>(SendMessageA(wnd, EM_GETLINECOUNT, 0, 0));
  // The empty line after a final line break is no line of the list.
  if (count > 0 && SendMessageA(wnd, EM_LINELENGTH, SendMessageA(wnd, EM_LINEINDEX, count - 1, 0), 0) == 0) --count;
  return count;
}

AnsiString TMemoStrings::GetTextStr() const { return FMemo->Text(); }

void TMemoStrings::SetTextStr(const AnsiString& Text) {
  AnsiString text = WithCRLF(Text);
  if (text != FMemo->Text()) {
    FMemo->HandleNeeded();
    FMemo->SetText(text);
  }
}

void TMemoStrings::Put(int Index, const AnsiString& S) {
  HWND wnd = FMemo->Handle();
  LRESULT start = SendMessageA(wnd, EM_LINEINDEX, Index, 0);
  if (start < 0) return;
  LRESULT length = SendMessageA(wnd, EM_LINELENGTH, start, 0);
  SendMessageA(wnd, EM_SETSEL, start, start + length);
  SendMessageA(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(WithCRLF(S).c_str()));
}

void TMemoStrings::Insert(int Index, const AnsiString& S) {
  if (Index < 0) return;
  HWND wnd = FMemo->Handle();
  LRESULT at = SendMessageA(wnd, EM_LINEINDEX, Index, 0);
  AnsiString line;
  if (at >= 0) {
    line = WithCRLF(S) + "\r\n";
  } else {
    // Past the last line: a new line after the last one, unless that one is empty.
    at = SendMessageA(wnd, EM_LINEINDEX, Index - 1, 0);
    if (at < 0) return;
    LRESULT length = SendMessageA(wnd, EM_LINELENGTH, at, 0);
    if (length == 0) return;
    at += length;
    line = "\r\n" + WithCRLF(S);
  }
  SendMessageA(wnd, EM_SETSEL, at, at);
  SendMessageA(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void TMemoStrings::Delete(int Index) {
  HWND wnd = FMemo->Handle();
  LRESULT start = SendMessageA(wnd, EM_LINEINDEX, Index, 0);
  if (start < 0) return;
  LRESULT end = SendMessageA(wnd, EM_LINEINDEX, Index + 1, 0);
  if (end < 0) end = start + SendMessageA(wnd, EM_LINELENGTH, start, 0);
  SendMessageA(wnd, EM_SETSEL, start, end);
  SendMessageA(wnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
}

void TMemoStrings::Clear() { FMemo->Clear(); }

void TMemoStrings::SetUpdateState(bool Updating) {
  if (!FMemo->HandleAllocated()) return;
  SendMessageA(FMemo->WindowHandle(), WM_SETREDRAW, !Updating, 0);
  if (!Updating) FMemo->Refresh();
}

// ---------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(new TMemoStrings(this)) {
  SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
  static const DWORD kScrollBars[] = {0, WS_HSCROLL, WS_VSCROLL, WS_HSCROLL | WS_VSCROLL};
  TCustomEdit::CreateParams(Params);
  Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | kScrollBars[FScrollBars];
  // A line that scrolls sideways is never wrapped.
  if (FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth) Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  RecreateWnd();
}

// ---------------------------------------------------------------------------
// TCustomComboBoxStrings

LRESULT TCustomComboBoxStrings::Send(UINT Msg, WPARAM WParam, LPARAM LParam) const {
  return SendMessageA(FComboBox->Handle(), Msg, WParam, LParam);
}

TStrings* TCustomComboBoxStrings::Waiting() const {
  return FComboBox->KeepsItemsWithoutWindow() ? FComboBox->WaitingItems() : nullptr;
}

int TCustomComboBoxStrings::CheckInserted(LRESULT Answer) const {
  if (Answer < 0) throw EOutOfResources(LoadResString(&SInsertLineError));
  return static_cast<int>(Answer);
}

AnsiString TCustomComboBoxStrings::Get(int Index) const {
  if (TStrings* waiting = Waiting()) {
    if (Index < 0 || Index >= waiting->Count()) Error(LoadResString(&SListIndexError).c_str(), Index);
    return waiting->Get(Index);
  }
  LRESULT length = Send(CB_GETLBTEXTLEN, Index, 0);
  if (length == CB_ERR) Error(LoadResString(&SListIndexError).c_str(), Index);
  if (length < 1) return AnsiString();
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  Send(CB_GETLBTEXT, Index, reinterpret_cast<LPARAM>(buffer.data()));
  return AnsiString(buffer.data());
}

int TCustomComboBoxStrings::GetCount() const {
  if (TStrings* waiting = Waiting()) return waiting->Count();
  return static_cast<int>(Send(CB_GETCOUNT, 0, 0));
}

TObject* TCustomComboBoxStrings::GetObject(int Index) const {
  if (Index < 0 || Index >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), Index);
  if (TStrings* waiting = Waiting()) return waiting->GetObject(Index);
  return reinterpret_cast<TObject*>(Send(CB_GETITEMDATA, Index, 0));
}

void TCustomComboBoxStrings::PutObject(int Index, TObject* Obj) {
  if (TStrings* waiting = Waiting()) {
    // The window ignores an index it does not hold.
    if (Index >= 0 && Index < waiting->Count()) waiting->PutObject(Index, Obj);
    return;
  }
  Send(CB_SETITEMDATA, Index, reinterpret_cast<LPARAM>(Obj));
}

int TCustomComboBoxStrings::Add(const AnsiString& S) {
  if (TStrings* waiting = Waiting()) return waiting->Add(S);
  return CheckInserted(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str())));
}

void TCustomComboBoxStrings::Insert(int Index, const AnsiString& S) {
  if (TStrings* waiting = Waiting()) {
    Index = CheckInserted(waiting_items::InsertPlace(Index, waiting->Count()));
    waiting->Insert(Index, S);
    FComboBox->WaitingItemInserted(Index);
    return;
  }
  CheckInserted(Send(CB_INSERTSTRING, Index, reinterpret_cast<LPARAM>(S.c_str())));
}

void TCustomComboBoxStrings::Clear() {
  if (TStrings* waiting = Waiting()) {
    waiting->Clear();
    FComboBox->WaitingItemsCleared();
    return;
  }
  // The edit part keeps what it shows.
  AnsiString text = FComboBox->Text();
  Send(CB_RESETCONTENT, 0, 0);
  FComboBox->SetText(text);
  FComboBox->Update();
}

void TCustomComboBoxStrings::Delete(int Index) {
  if (TStrings* waiting = Waiting()) {
    if (Index < 0 || Index >= waiting->Count()) return;
    waiting->Delete(Index);
    FComboBox->WaitingItemDeleted(Index);
    return;
  }
  Send(CB_DELETESTRING, Index, 0);
}

int TCustomComboBoxStrings::IndexOf(const AnsiString& S) const {
  if (TStrings* waiting = Waiting()) return waiting_items::FindIgnoringCase(*waiting, S, AnsiCompareText);
  LRESULT found = Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str()));
  return found == CB_ERR ? -1 : static_cast<int>(found);
}

void TCustomComboBoxStrings::SetUpdateState(bool Updating) {
  if (!FComboBox->HandleAllocated()) return;
  SendMessageA(FComboBox->WindowHandle(), WM_SETREDRAW, !Updating, 0);
  if (!Updating) FComboBox->Refresh();
}

// ---------------------------------------------------------------------------
// TCustomComboBox

TOwnerDrawState OwnerDrawStateOf(UINT ItemState) {
  TOwnerDrawState state = 0;
  if (ItemState & ODS_SELECTED) state |= odSelected;
  if (ItemState & ODS_GRAYED) state |= odGrayed;
  if (ItemState & ODS_DISABLED) state |= odDisabled;
  if (ItemState & ODS_CHECKED) state |= odChecked;
  if (ItemState & ODS_FOCUS) state |= odFocused;
  if (ItemState & ODS_DEFAULT) state |= odDefault;
  if (ItemState & ODS_HOTLIGHT) state |= odHotLight;
  if (ItemState & ODS_INACTIVE) state |= odInactive;
  if (ItemState & ODS_NOACCEL) state |= odNoAccel;
  if (ItemState & ODS_NOFOCUSRECT) state |= odNoFocusRect;
  if (ItemState & ODS_COMBOBOXEDIT) state |= odComboBoxEdit;
  return state;
}

LRESULT CALLBACK ComboChildWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto& inner = InnerWindows();
  auto it = inner.find(Wnd);
  if (it == inner.end())
    return IsWindowUnicode(Wnd) ? DefWindowProcW(Wnd, Msg, WParam, LParam) : DefWindowProcA(Wnd, Msg, WParam, LParam);
  TCustomComboBox* combo = it->second;
  WNDPROC proc = Wnd == combo->FEditHandle ? combo->FDefEditProc : combo->FDefListProc;
  TMessage m{Msg, WParam, LParam, 0};
  try {
    combo->ComboWndProc(m, Wnd, proc);
  } catch (...) {
    try {
      if (ApplicationHandleException) ApplicationHandleException(combo);
    } catch (...) {
      // Nothing may leave a window procedure.
    }
  }
  if (Msg == WM_NCDESTROY) {
    inner.erase(Wnd);
    if (combo->FEditHandle == Wnd) combo->FEditHandle = nullptr;
    if (combo->FListHandle == Wnd) combo->FListHandle = nullptr;
  }
  return m.Result;
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TCustomListControl(AOwner), FCanvas(new TControlCanvas) {
  // No capture of our own (the dropped-down list holds it) and no clicks from the mouse:
  // a click is the choice of an item (CBN_SELCHANGE).
  ControlStyle = csDoubleClicks;
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  FCanvas->SetControl(this);
}

TCustomComboBox::~TCustomComboBox() {
  // The inner windows go with the window, after this part of the control is gone.
  ReleaseInnerWindows();
}

TStrings* TCustomComboBox::Items() const {
  if (!FItems) FItems.reset(const_cast<TCustomComboBox*>(this)->CreateItems());
  return FItems.get();
}

TStrings* TCustomComboBox::CreateItems() { return new TCustomComboBoxStrings(this); }

void TCustomComboBox::SetItems(TStrings* Value) { Items()->Assign(Value); }

void TCustomComboBox::AddItem(const AnsiString& Item, TObject* AObject) { Items()->AddObject(Item, AObject); }

void TCustomComboBox::CopySelection(TCustomListControl* Destination) {
  int index = ItemIndex();
  if (index >= 0) Destination->AddItem(Items()->Get(index), Items()->GetObject(index));
}

void TCustomComboBox::Clear() {
  SetText(AnsiString());
  Items()->Clear();
}

TCanvas* TCustomComboBox::Canvas() const { return FCanvas.get(); }

int TCustomComboBox::ItemIndex() {
  if (HasState(csLoading) && !HandleAllocated()) return FLoadedIndex;
  if (KeepsItemsWithoutWindow()) return FSaveIndex;
  return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

int TCustomComboBox::StoredItemIndex() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageA(WindowHandle(), CB_GETCURSEL, 0, 0));
  // Between windows the saved index, while reading the one read so far.
  return FLoadedIndex != -1 ? FLoadedIndex : FSaveIndex;
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (HasState(csLoading)) {
    // The items may follow in the description: applied in Loaded.
    FLoadedIndex = Value;
    return;
  }
  if (KeepsItemsWithoutWindow()) {
    // As the window's selection: an index it does not hold selects nothing.
    if (Value == FSaveIndex) return;
    FSaveIndex = Value >= 0 && Value < Items()->Count() ? Value : -1;
    KeepSelectedText(FSaveIndex);
    return;
  }
  if (ItemIndex() != Value) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

TStrings* TCustomComboBox::WaitingItems() {
  if (!FSaveItems) FSaveItems = std::make_unique<TStringList>();
  return FSaveItems.get();
}

void TCustomComboBox::WaitingItemInserted(int Index) {
  FSaveIndex = waiting_items::SelectionAfterInsert(FSaveIndex, Index);
}

void TCustomComboBox::WaitingItemDeleted(int Index) {
  const bool lost = Index == FSaveIndex;
  FSaveIndex = waiting_items::SelectionAfterDelete(FSaveIndex, Index);
  // The edit part keeps what it shows; a list shows no selection.
  if (lost && !HasEditPart()) KeepSelectedText(-1);
}

void TCustomComboBox::WaitingItemsCleared() {
  FSaveIndex = -1;
  // The edit part keeps what it shows; a list shows no selection.
  if (!HasEditPart()) KeepSelectedText(-1);
}

void TCustomComboBox::KeepSelectedText(int Index) {
  AnsiString text = Index >= 0 ? Items()->Get(Index) : AnsiString();
  TMessage set{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 0};
  TControl::DefaultHandler(set);
}

void TCustomComboBox::Loaded() {
  TCustomListControl::Loaded();
  if (FLoadedIndex != -1) {
    int index = FLoadedIndex;
    FLoadedIndex = -1;
    SetItemIndex(index);
  }
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

bool TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessageA(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) { SendMessageA(Handle(), CB_SHOWDROPDOWN, Value, 0); }

void TCustomComboBox::SetItemHeight(int Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  if (HandleAllocated() && (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)) RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  FMaxLength = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), CB_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomComboBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  RecreateWnd();
}

void TCustomComboBox::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  RecreateWnd();
}

int TCustomComboBox::SelStart() {
  DWORD start = 0;
  SendMessageA(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TCustomComboBox::SetSelStart(int Value) {
  SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(Value, Value));
}

int TCustomComboBox::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomComboBox::SetSelLength(int Value) {
  int start = SelStart();
  SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, start + Value));
}

AnsiString TCustomComboBox::SelText() {
  int start = SelStart(), length = SelLength();
  AnsiString text = Text();
  if (start < 0 || static_cast<size_t>(start) >= text.size()) return AnsiString();
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomComboBox::SetSelText(const AnsiString& Value) {
  HandleNeeded();
  if (FEditHandle) SendMessageA(FEditHandle, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomComboBox::SelectAll() { SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF)); }

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  static const DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                  CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  static const DWORD kCharCases[] = {0, CBS_UPPERCASE, CBS_LOWERCASE};
  TCustomListControl::CreateParams(Params);
  CreateSubClass(Params, "COMBOBOX");
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | kStyles[FStyle] | kCharCases[FCharCase];
  if (FSorted) Params.Style |= CBS_SORT;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWnd() {
  AnsiString text = Text();  // the control's own copy: there is no window yet
  TCustomListControl::CreateWnd();
  HWND wnd = WindowHandle();
  SendMessageA(wnd, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  SubclassInnerWindows();
  if (FSaveItems) {
    std::unique_ptr<TStringList> saved = std::move(FSaveItems);
    Items()->Assign(saved.get());
    if (FSaveIndex != -1) SendMessageA(wnd, CB_SETCURSEL, std::min(FSaveIndex, Items()->Count() - 1), 0);
  }
  FSaveIndex = -1;
  SetText(text);
}

void TCustomComboBox::DestroyWnd() {
  if (Items()->Count() > 0) {
    FSaveItems = std::make_unique<TStringList>();
    FSaveItems->Assign(Items());
    FSaveIndex = ItemIndex();
  }
  ReleaseInnerWindows();
  TCustomListControl::DestroyWnd();
}

void TCustomComboBox::SubclassInnerWindows() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(WindowHandle(), &info)) return;
  // The edit of the list styles is the combo box itself.
  FEditHandle = HasEditPart() && info.hwndItem != WindowHandle() ? info.hwndItem : nullptr;
  FListHandle = info.hwndList;
  auto& inner = InnerWindows();
  if (FEditHandle) {
    inner[FEditHandle] = this;
    FDefEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboChildWndProc)));
  }
  if (FListHandle) {
    inner[FListHandle] = this;
    FDefListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(FListHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboChildWndProc)));
  }
}

void TCustomComboBox::ReleaseInnerWindows() {
  auto& inner = InnerWindows();
  auto release = [&inner](HWND& wnd, WNDPROC& proc) {
    if (!wnd) return;
    // Read and put back through the entry point of the window's side: the other one
    // answers with a stand-in, never our procedure itself.
    const bool unicode = IsWindowUnicode(wnd) != FALSE;
    auto current = unicode ? GetWindowLongPtrW(wnd, GWLP_WNDPROC) : GetWindowLongPtrA(wnd, GWLP_WNDPROC);
    if (IsWindow(wnd) && current == reinterpret_cast<LONG_PTR>(&ComboChildWndProc)) {
      if (unicode)
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
      else
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    }
    inner.erase(wnd);
    wnd = nullptr;
    proc = nullptr;
  };
  release(FEditHandle, FDefEditProc);
  release(FListHandle, FDefListProc);
}

LRESULT TCustomComboBox::CallComboProc(const TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
  if (!ComboProc)
    return IsWindowUnicode(ComboWnd) ? DefWindowProcW(ComboWnd, Message.Msg, Message.WParam, Message.LParam)
                                     : DefWindowProcA(ComboWnd, Message.Msg, Message.WParam, Message.LParam);
  // A message comes in the form of the window's side, and goes on in it.
  return IsWindowUnicode(ComboWnd) ? CallWindowProcW(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam)
                                   : CallWindowProcA(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam);
}

void TCustomComboBox::ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TWinControl* top = TopParent();
      if (top != this) top->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
      break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(Message)) return;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(Message)) return;
      break;
    case WM_CHAR: {
      if (DoKeyPress(Message)) return;
      WORD key = TWMKey{Message}.CharCode();
      if ((key == VK_RETURN || key == VK_ESCAPE) && DroppedDown()) {
        SetDroppedDown(false);
        return;
      }
      break;
    }
    default: break;
  }
  Message.Result = CallComboProc(Message, ComboWnd, ComboProc);
}

void TCustomComboBox::KeyPress(char& Key) {
  TCustomListControl::KeyPress(Key);
  if (!AutoComplete || !HasEditPart() || static_cast<unsigned char>(Key) < ' ') return;
  int start = SelStart(), length = SelLength();
  AnsiString text = Text();
  // Only typing at the end completes.
  if (static_cast<size_t>(start + length) != text.size()) return;
  AnsiString typed = text.substr(0, static_cast<size_t>(start)) + Key;
  LRESULT found = SendMessageA(Handle(), CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed.c_str()));
  if (found == CB_ERR) return;
  AnsiString item = Items()->Get(static_cast<int>(found));
  bool changed = item != text;
  SendMessageA(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  SetText(typed + item.substr(std::min(typed.size(), item.size())));
  SetSelStart(static_cast<int>(typed.size()));
  SetSelLength(static_cast<int>(Text().size() - typed.size()));
  Key = 0;
  if (changed) {
    Click();
    Select();
  }
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::DrawItem(int Index, const RECT& Rect, TOwnerDrawState State) {
  FCanvas->UpdateTextFlags();
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0) FCanvas->TextOut(Rect.left + 2, Rect.top, Items()->Get(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::AdjustDropDown() {
  // The window's height while dropped down is the list's room: DropDownCount rows.
  int rows = std::clamp(Items()->Count(), 1, std::max(FDropDownCount, 1));
  SetWindowPos(WindowHandle(), nullptr, 0, 0, Width(), Height() + FItemHeight * rows + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  switch (TWMCommand{Message}.NotifyCode()) {
    case CBN_DBLCLK: DblClick(); break;
    case CBN_EDITCHANGE: Change(); break;
    case CBN_DROPDOWN:
      DropDown();
      AdjustDropDown();
      break;
    case CBN_SELCHANGE: {
      int index = ItemIndex();
      if (index >= 0) SetText(Items()->Get(index));
      Click();
      Select();
      break;
    }
    case CBN_CLOSEUP: CloseUp(); break;
    default: break;
  }
}

void TCustomComboBox::CNDrawItem(TMessage& Message) {
  DrawOwnerDrawnItem(*FCanvas, Font(), Brush(), Message,
                     [this](int Index, const RECT& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
}

void TCustomComboBox::CNMeasureItem(TMessage& Message) {
  MeasureOwnerDrawnItem(Message, FItemHeight, FStyle == csOwnerDrawVariable,
                        [this](int Index, int& Height) { MeasureItem(Index, Height); });
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    case CM_WANTSPECIALKEY: {
      // An open list takes Enter and Escape itself (they close it).
      WORD key = TWMKey{Message}.CharCode();
      if ((key == VK_RETURN || key == VK_ESCAPE) && DroppedDown())
        Message.Result = 1;
      else
        TCustomListControl::Dispatch(Message);
      break;
    }
    default: TCustomListControl::Dispatch(Message); break;
  }
}

// ===========================================================================
// List boxes

namespace {

// Typed characters this far apart start a new search.
constexpr DWORD kListSearchPause = 500;

const std::vector<TPropInfo>& ListBoxProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomListBox>()
      .Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard)
      .Property("AutoComplete", &TCustomListBox::AutoComplete).Default(true)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clWindow)
      .Property("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect).Default(true)
      .Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight).Default(16)
      .Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)
      .Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect).Default(false)
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
      .Property("ScrollWidth", &TCustomListBox::ScrollWidth, &TCustomListBox::SetScrollWidth).Default(0)
      .Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Property("TabWidth", &TCustomListBox::TabWidth, &TCustomListBox::SetTabWidth).Default(0)
      .Property("OnData", &TCustomListBox::OnData)
      .Property("OnDrawItem", &TCustomListBox::OnDrawItem)
      .Property("OnMeasureItem", &TCustomListBox::OnMeasureItem)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TListBoxStrings, TStrings, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomListBox, TCustomListControl, nullptr, &ListBoxProperties)
VCL_CLASS_IMPL(TListBox, TCustomListBox, &CreateComponentOf<TListBox>, nullptr)

// ---------------------------------------------------------------------------
// TListBoxStrings

LRESULT TListBoxStrings::Send(UINT Msg, WPARAM WParam, LPARAM LParam) const {
  return SendMessageA(FListBox->Handle(), Msg, WParam, LParam);
}

TStringList* TListBoxStrings::Waiting() const {
  if (!FListBox->KeepsItemsWithoutWindow()) return nullptr;
  if (!FListBox->FSaveItems) FListBox->FSaveItems = std::make_unique<TStringList>();
  return FListBox->FSaveItems.get();
}

AnsiString TListBoxStrings::Get(int Index) const {
  if (TStringList* waiting = Waiting()) {
    if (Index < 0 || Index >= waiting->Count()) Error(LoadResString(&SListIndexError).c_str(), Index);
    return waiting->Get(Index);
  }
  FListBox->HandleNeeded();
  if (FListBox->WindowIsVirtual()) return FListBox->DoGetData(Index);
  LRESULT length = Send(LB_GETTEXTLEN, Index, 0);
  if (length == LB_ERR) Error(LoadResString(&SListIndexError).c_str(), Index);
  if (length < 1) return AnsiString();
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  Send(LB_GETTEXT, Index, reinterpret_cast<LPARAM>(buffer.data()));
  return AnsiString(buffer.data());
}

int TListBoxStrings::GetCount() const {
  if (TStringList* waiting = Waiting()) return waiting->Count();
  return static_cast<int>(Send(LB_GETCOUNT, 0, 0));
}

TObject* TListBoxStrings::GetObject(int Index) const {
  if (TStringList* waiting = Waiting()) {
    if (Index < 0 || Index >= waiting->Count()) Error(LoadResString(&SListIndexError).c_str(), Index);
    return waiting->GetObject(Index);
  }
  FListBox->HandleNeeded();
  if (FListBox->WindowIsVirtual()) return nullptr;
  if (Index < 0 || Index >= GetCount()) Error(LoadResString(&SListIndexError).c_str(), Index);
  return reinterpret_cast<TObject*>(Send(LB_GETITEMDATA, Index, 0));
}

void TListBoxStrings::PutObject(int Index, TObject* Obj) {
  if (TStringList* waiting = Waiting()) {
    // The window ignores an index it does not hold.
    if (Index >= 0 && Index < waiting->Count()) waiting->PutObject(Index, Obj);
    return;
  }
  FListBox->HandleNeeded();
  if (!FListBox->WindowIsVirtual()) Send(LB_SETITEMDATA, Index, reinterpret_cast<LPARAM>(Obj));
}

void TListBoxStrings::Put(int Index, const AnsiString& S) {
  const int selected = FListBox->ItemIndex();
  BeginUpdate();
  TStrings::Put(Index, S);
  if (selected >= 0) FListBox->SetItemIndex(selected);
  EndUpdate();
}

int TListBoxStrings::Add(const AnsiString& S) {
  if (TStringList* waiting = Waiting()) return waiting->Add(S);
  LRESULT index = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()));
  if (index < 0) throw EOutOfResources(LoadResString(&SInsertLineError));
  return static_cast<int>(index);
}

void TListBoxStrings::Insert(int Index, const AnsiString& S) {
  if (TStringList* waiting = Waiting()) {
    Index = waiting_items::InsertPlace(Index, waiting->Count());
    if (Index < 0) throw EOutOfResources(LoadResString(&SInsertLineError));
    waiting->Insert(Index, S);
    FListBox->FSaveIndex = waiting_items::SelectionAfterInsert(FListBox->FSaveIndex, Index);
    return;
  }
  if (Send(LB_INSERTSTRING, Index, reinterpret_cast<LPARAM>(S.c_str())) < 0)
    throw EOutOfResources(LoadResString(&SInsertLineError));
}

void TListBoxStrings::Clear() {
  if (TStringList* waiting = Waiting()) {
    waiting->Clear();
    FListBox->FSaveIndex = -1;
    return;
  }
  Send(LB_RESETCONTENT, 0, 0);
}

void TListBoxStrings::Delete(int Index) {
  if (TStringList* waiting = Waiting()) {
    if (Index < 0 || Index >= waiting->Count()) return;
    waiting->Delete(Index);
    FListBox->FSaveIndex = waiting_items::SelectionAfterDelete(FListBox->FSaveIndex, Index);
    return;
  }
  Send(LB_DELETESTRING, Index, 0);
}

int TListBoxStrings::IndexOf(const AnsiString& S) const {
  if (TStringList* waiting = Waiting()) return waiting_items::FindIgnoringCase(*waiting, S, AnsiCompareText);
  FListBox->HandleNeeded();
  if (FListBox->WindowIsVirtual()) return -1;
  LRESULT found = Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str()));
  return found == LB_ERR ? -1 : static_cast<int>(found);
}

void TListBoxStrings::SetUpdateState(bool Updating) {
  if (!FListBox->HandleAllocated()) return;
  SendMessageA(FListBox->WindowHandle(), WM_SETREDRAW, !Updating, 0);
  if (!Updating) FListBox->Refresh();
}

// ---------------------------------------------------------------------------
// TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomListControl(AOwner), FItems(new TListBoxStrings(this)), FCanvas(new TControlCanvas) {
  // A click is the choice of an item (LBN_SELCHANGE), a double click LBN_DBLCLK.
  ControlStyle = csDoubleClicks | csOpaque;
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  FCanvas->SetControl(this);
}

TCustomListBox::~TCustomListBox() = default;

TCanvas* TCustomListBox::Canvas() const { return FCanvas.get(); }

bool TCustomListBox::WindowIsVirtual() const {
  return HandleAllocated() && (GetWindowLongPtrA(WindowHandle(), GWL_STYLE) & LBS_NODATA);
}

void TCustomListBox::SetCount(int Value) {
  if (!IsVirtual()) return;
  SendMessageA(Handle(), LB_SETCOUNT, static_cast<WPARAM>(std::max(Value, 0)), 0);
}

int TCustomListBox::ItemIndex() {
  if (KeepsItemsWithoutWindow()) return FSaveIndex;
  return static_cast<int>(SendMessageA(Handle(), FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int Value) {
  if (KeepsItemsWithoutWindow()) {
    // As the window's selection: an index it does not hold selects nothing.
    FSaveIndex = Value >= 0 && Value < Count() ? Value : -1;
    return;
  }
  if (ItemIndex() == Value) return;
  SendMessageA(Handle(), FMultiSelect ? LB_SETCARETINDEX : LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

bool TCustomListBox::Selected(int Index) {
  LRESULT answer = SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(Index), 0);
  if (answer == LB_ERR) Error(Index);
  return answer != 0;
}

void TCustomListBox::Error(int Index) {
  throw EListError(Format(LoadResString(&SListIndexError).c_str(), Index));
}

void TCustomListBox::SetSelected(int Index, bool Value) {
  LRESULT answer = FMultiSelect ? SendMessageA(Handle(), LB_SETSEL, Value, Index)
                                : SendMessageA(Handle(), LB_SETCURSEL, Value ? Index : -1, 0);
  if (answer == LB_ERR && (FMultiSelect || Value)) Error(Index);
}

int TCustomListBox::SelCount() {
  if (!FMultiSelect) return ItemIndex() >= 0 ? 1 : 0;
  return static_cast<int>(SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::TopIndex() { return static_cast<int>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0)); }

void TCustomListBox::SetTopIndex(int Value) {
  if (TopIndex() != Value) SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

int TCustomListBox::ItemAtPos(POINT Pos, bool Existing) {
  LRESULT answer = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.x, Pos.y));
  // The high word says the point lies below the last item (or outside the client area).
  if (HIWORD(answer) != 0) return Existing ? -1 : Count();
  return LOWORD(answer);
}

RECT TCustomListBox::ItemRect(int Index) {
  RECT r{};
  if (SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
    r = RECT{};
  return r;
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  RecreateWnd();
}

void TCustomListBox::SetTabWidth(int Value) {
  if (Value < 0) Value = 0;
  if (FTabWidth == Value) return;
  FTabWidth = Value;
  RecreateWnd();
}

int TCustomListBox::ScrollWidth() {
  if (HandleAllocated()) FScrollWidth = static_cast<int>(SendMessageA(WindowHandle(), LB_GETHORIZONTALEXTENT, 0, 0));
  return FScrollWidth;
}

void TCustomListBox::SetScrollWidth(int Value) {
  FScrollWidth = std::max(Value, 0);
  if (HandleAllocated()) SendMessageA(WindowHandle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(FScrollWidth), 0);
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  static const DWORD kStyles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE, LBS_OWNERDRAWFIXED | LBS_NODATA,
                                  LBS_OWNERDRAWFIXED | LBS_NODATA};
  TCustomListControl::CreateParams(Params);
  CreateSubClass(Params, "LISTBOX");
  Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | kStyles[FStyle];
  if (!IsVirtual()) {
    Params.Style |= LBS_HASSTRINGS;
    if (FSorted) Params.Style |= LBS_SORT;
  }
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FTabWidth) Params.Style |= LBS_USETABSTOPS;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
  TCustomListControl::CreateWnd();
  HWND wnd = WindowHandle();
  if (FTabWidth) SendMessageA(wnd, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&FTabWidth));
  SendMessageA(wnd, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(FScrollWidth), 0);
  if (IsVirtual()) {
    SendMessageA(wnd, LB_SETCOUNT, static_cast<WPARAM>(FSaveCount), 0);
    FSaveItems.reset();
  } else if (FSaveItems) {
    std::unique_ptr<TStringList> saved = std::move(FSaveItems);
    FItems->Assign(saved.get());
  }
  FSaveCount = 0;
  // The selection first: selecting scrolls the item into view, the top item then says
  // where the view was.
  if (FSaveIndex >= 0) SetItemIndex(std::min(FSaveIndex, Count() - 1));
  SendMessageA(wnd, LB_SETTOPINDEX, static_cast<WPARAM>(FSaveTopIndex), 0);
  FSaveIndex = -1;
  FSaveTopIndex = 0;
}

void TCustomListBox::DestroyWnd() {
  // What the window holds, as it holds it: items, or only a count of virtual ones.
  if (WindowIsVirtual()) {
    FSaveCount = Count();
  } else if (Count() > 0) {
    FSaveItems = std::make_unique<TStringList>();
    FSaveItems->Assign(FItems.get());
    if (IsVirtual()) FSaveCount = Count();  // becoming virtual: the count goes on
  }
  FSaveIndex = ItemIndex();
  FSaveTopIndex = TopIndex();
  TCustomListControl::DestroyWnd();
}

AnsiString TCustomListBox::DoGetData(int Index) {
  AnsiString data;
  if (OnData) OnData(this, Index, data);
  return data;
}

void TCustomListBox::DrawItem(int Index, const RECT& Rect, TOwnerDrawState State) {
  FCanvas->UpdateTextFlags();
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index < Count()) FCanvas->TextOut(Rect.left + 2, Rect.top, WindowIsVirtual() ? DoGetData(Index) : FItems->Get(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::KeyPress(char& Key) {
  TCustomListControl::KeyPress(Key);
  if (!AutoComplete || static_cast<unsigned char>(Key) < ' ' || WindowIsVirtual()) return;
  DWORD now = GetTickCount();
  if (now - FLastTime >= kListSearchPause) FFilter.clear();
  FLastTime = now;
  AnsiString typed = FFilter + Key;
  LRESULT found = SendMessageA(Handle(), LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed.c_str()));
  if (found == LB_ERR) return;
  FFilter = typed;
  if (FMultiSelect) SendMessageA(WindowHandle(), LB_SELITEMRANGE, FALSE, MAKELPARAM(0, 0xFFFF));
  SetItemIndex(static_cast<int>(found));
  if (FMultiSelect) SetSelected(static_cast<int>(found), true);
  Key = 0;
  Click();
}

void TCustomListBox::CNCommand(TMessage& Message) {
  switch (TWMCommand{Message}.NotifyCode()) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    default: break;
  }
}

void TCustomListBox::CNDrawItem(TMessage& Message) {
  DrawOwnerDrawnItem(*FCanvas, Font(), Brush(), Message,
                     [this](int Index, const RECT& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
}

void TCustomListBox::CNMeasureItem(TMessage& Message) {
  MeasureOwnerDrawnItem(Message, FItemHeight, FStyle == lbOwnerDrawVariable,
                        [this](int Index, int& Height) { MeasureItem(Index, Height); });
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case CN_DRAWITEM: CNDrawItem(Message); break;
    case CN_MEASUREITEM: CNMeasureItem(Message); break;
    default: TCustomListControl::Dispatch(Message); break;
  }
}
