#include "vcl/comctrls_toolbar.h"

#include <algorithm>

#include <commctrl.h>

#include "vcl/comctrls_common.h"
#include "vcl/streaming.h"

namespace {

const std::vector<TPropInfo>& ToolButtonProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TToolButton>()
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false)
      .Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1)
      .Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ToolBarProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TToolBar>()
      .Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22)
      .Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23)
      .Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false)
      .Property("Images", &TToolBar::Images, &TToolBar::SetImages)
      .Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false)
      .Table();
  return table;
}

bool IsSeparator(TToolButtonStyle Style) { return Style == tbsSeparator || Style == tbsDivider; }

}  // namespace

VCL_CLASS_IMPL(TToolButton, TGraphicControl, &CreateComponentOf<TToolButton>, &ToolButtonProperties)
VCL_CLASS_IMPL(TToolButtonActionLink, TControlActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TToolBar, TWinControl, &CreateComponentOf<TToolBar>, &ToolBarProperties)

void RegisterToolBarControls() { RegisterClasses({TToolBar::StaticClass(), TToolButton::StaticClass()}); }

// --- the button ----------------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 23, 22); }

TToolButton::~TToolButton() {
  if (FToolBar) FToolBar->RemoveButton(this);
}

void TToolButton::Dispatch(TMessage& Message) {
  // The native bar takes the mouse over its buttons: never the target of the parent's
  // mouse messages.
  if (Message.Msg == CM_HITTEST) {
    Message.Result = 0;
    return;
  }
  TGraphicControl::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED && FToolBar && FToolBar->ShowCaptions() && !HasState(csLoading))
    FToolBar->RebuildButtons();
}

TControlActionLink* TToolButton::CreateActionLink() { return new TToolButtonActionLink(this); }

void TToolButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TGraphicControl::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || !FDown) SetDown(action->Checked());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(action->ImageIndex());
}

void TToolButton::SetParent(TWinControl* AParent) {
  if (FToolBar) FToolBar->RemoveButton(this);
  TGraphicControl::SetParent(AParent);
  if (auto* bar = dynamic_cast<TToolBar*>(AParent)) bar->AddButton(this);
}

void TToolButton::Changed() {
  if (FToolBar) FToolBar->UpdateButton(this);
}

void TToolButton::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed();
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (FToolBar && !HasState(csLoading)) FToolBar->RebuildButtons();
}

void TToolButton::SetDown(bool Value) {
  if (FDown == Value) return;
  FDown = Value;
  Changed();
}

void TToolButton::SetEnabled(bool Value) {
  if (Enabled() == Value) return;
  TGraphicControl::SetEnabled(Value);
  Changed();
}

// --- the button's action link ------------------------------------------------------

TToolButtonActionLink::TToolButtonActionLink(TToolButton* AClient) : TControlActionLink(AClient), FButton(AClient) {}

bool TToolButtonActionLink::IsCheckedLinked() {
  return TControlActionLink::IsCheckedLinked() && FButton->Down() == CustomAction()->Checked();
}

bool TToolButtonActionLink::IsImageIndexLinked() {
  return TControlActionLink::IsImageIndexLinked() && FButton->ImageIndex() == CustomAction()->ImageIndex();
}

void TToolButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FButton->SetDown(Value);
}

void TToolButtonActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FButton->SetImageIndex(Value);
}

// --- the bar -------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner), FImageChangeLink(new TChangeLink) {
  ControlStyle = csAcceptsControls | csDoubleClicks;
  SetBounds(0, 0, 150, 29);
  FImageChangeLink->OnChange = [this](TObject* Sender) { ImageListChange(Sender); };
  InitCommonControlsOnce();
}

TToolBar::~TToolBar() {
  for (TToolButton* button : FButtons) button->FToolBar = nullptr;
  FButtons.clear();
}

void TToolBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, TOOLBARCLASSNAMEA);
  Params.Style |= TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
  if (FFlat) Params.Style |= TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = WindowHandle();
  SendMessageA(wnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  RebuildButtons();
}

void TToolBar::Loaded() {
  TWinControl::Loaded();
  RebuildButtons();
}

void TToolBar::AddButton(TToolButton* Button) {
  Button->FToolBar = this;
  Button->FCommandId = FNextCommandId++;
  FButtons.push_back(Button);
  if (!HasState(csLoading)) RebuildButtons();
}

void TToolBar::RemoveButton(TToolButton* Button) {
  Button->FToolBar = nullptr;
  FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), Button), FButtons.end());
  if (!HasState(csLoading) && !HasState(csDestroying)) RebuildButtons();
}

TToolButton* TToolBar::ButtonOfCommand(int Id) const {
  for (TToolButton* button : FButtons)
    if (button->FCommandId == Id) return button;
  return nullptr;
}

void TToolBar::RebuildButtons() {
  std::stable_sort(FButtons.begin(), FButtons.end(),
                   [](const TToolButton* a, const TToolButton* b) { return a->Left() < b->Left(); });
  if (!HandleAllocated() || HasState(csLoading)) return;
  HWND wnd = WindowHandle();
  while (SendMessageA(wnd, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(wnd, TB_DELETEBUTTON, 0, 0);
  HIMAGELIST images = FImages ? FImages->Handle() : nullptr;
  if (FImages) SendMessageA(wnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(FImages->Width(), FImages->Height()));
  SendMessageA(wnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  // The captions live until the bar has copied them.
  std::vector<WideString> captions;
  captions.reserve(FButtons.size());
  std::vector<TBBUTTON> native;
  for (TToolButton* button : FButtons) {
    TBBUTTON b{};
    b.idCommand = button->FCommandId;
    b.iString = -1;
    if (IsSeparator(button->FStyle)) {
      b.fsStyle = BTNS_SEP;
      b.iBitmap = 8;  // the separator's width
    } else {
      b.fsStyle = button->FStyle == tbsCheck ? BTNS_CHECK : BTNS_BUTTON;
      b.iBitmap = button->FImageIndex < 0 ? I_IMAGENONE : button->FImageIndex;
      b.fsState = (button->Enabled() ? TBSTATE_ENABLED : 0) | (button->FDown ? TBSTATE_CHECKED : 0);
      if (FShowCaptions) b.iString = reinterpret_cast<INT_PTR>(captions.emplace_back(button->BarCaption()).c_str());
    }
    native.push_back(b);
  }
  if (!native.empty()) SendMessageW(wnd, TB_ADDBUTTONSW, native.size(), reinterpret_cast<LPARAM>(native.data()));
  // With captions the bar sizes the buttons to hold them.
  if (!FShowCaptions) SendMessageA(wnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
  SendMessageA(wnd, TB_AUTOSIZE, 0, 0);
  // The buttons' bounds follow their native places.
  for (int i = 0; i < ButtonCount(); ++i) {
    const RECT r = ButtonRect(i);
    FButtons[i]->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
}

void TToolBar::UpdateButton(TToolButton* Button) {
  if (!HandleAllocated() || HasState(csLoading)) return;
  HWND wnd = WindowHandle();
  const int id = Button->FCommandId;
  SendMessageA(wnd, TB_ENABLEBUTTON, id, MAKELPARAM(Button->Enabled() ? TRUE : FALSE, 0));
  SendMessageA(wnd, TB_CHECKBUTTON, id, MAKELPARAM(Button->FDown ? TRUE : FALSE, 0));
  TBBUTTONINFOA info{};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_IMAGE;
  info.iImage = Button->FImageIndex < 0 ? I_IMAGENONE : Button->FImageIndex;
  SendMessageA(wnd, TB_SETBUTTONINFOA, id, reinterpret_cast<LPARAM>(&info));
}

RECT TToolBar::ButtonRect(int Index) {
  RECT r{};
  if (HandleAllocated()) SendMessageA(WindowHandle(), TB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TToolBar::SetImages(TCustomImageList* Value) {
  if (!RelinkImageList(this, FImages, FImageChangeLink.get(), Value)) return;
  RebuildButtons();
}

void TToolBar::ImageListChange(TObject*) { RebuildButtons(); }

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    if (HandleAllocated() && !HasState(csDestroying)) SendMessageA(WindowHandle(), TB_SETIMAGELIST, 0, 0);
  }
}

void TToolBar::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  RecreateWnd();
}

void TToolBar::SetButtonWidth(int Value) {
  if (FButtonWidth == Value) return;
  FButtonWidth = Value;
  RebuildButtons();
}

void TToolBar::SetShowCaptions(bool Value) {
  if (FShowCaptions == Value) return;
  FShowCaptions = Value;
  RebuildButtons();
}

void TToolBar::SetButtonHeight(int Value) {
  if (FButtonHeight == Value) return;
  FButtonHeight = Value;
  RebuildButtons();
}

void TToolBar::CNCommand(TMessage& Message) {
  TToolButton* button = ButtonOfCommand(LOWORD(Message.WParam));
  if (!button) return;
  if (button->FStyle == tbsCheck)
    button->FDown = SendMessageA(WindowHandle(), TB_ISBUTTONCHECKED, button->FCommandId, 0) != 0;
  button->Click();
}

// The bar's tooltip asks the bar (WM_NOTIFY) for a button's text; notices the bar sends its
// parent come back reflected (CN_NOTIFY).
void TToolBar::CNNotify(TMessage& Message) {
  auto* hdr = TWMNotify{Message}.NMHdr();
  if (hdr && IsNotifyCode(hdr, TTN_GETDISPINFOA, TTN_GETDISPINFOW)) {
    TToolButton* button = ButtonOfCommand(static_cast<int>(hdr->idFrom));
    if (!button || !button->ShowHint()) return;
    if (hdr->code == TTN_GETDISPINFOW) {
      FTipTextW = button->BarHint();
      reinterpret_cast<NMTTDISPINFOW*>(hdr)->lpszText = const_cast<wchar_t*>(FTipTextW.c_str());
    } else {
      FTipText = WideToAnsi(button->BarHint());
      reinterpret_cast<NMTTDISPINFOA*>(hdr)->lpszText = const_cast<char*>(FTipText.c_str());
    }
    return;
  }
  TWinControl::Dispatch(Message);
}

void TToolBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND: CNCommand(Message); break;
    case WM_NOTIFY:
    case CN_NOTIFY: CNNotify(Message); break;
    default: TWinControl::Dispatch(Message); break;
  }
}
