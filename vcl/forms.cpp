#include "vcl/forms.h"

#include <algorithm>

#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/comctrls_toolbar.h"
#include "vcl/comctrls_trackbar.h"
#include "vcl/comctrls_updown.h"
#include "vcl/buttons.h"
#include "vcl/dialogs.h"
#include "vcl/extctrls.h"
#include "vcl/hints.h"
#include "vcl/menus.h"
#include "vcl/pagecontrol.h"
#include "vcl/progressbar.h"
#include "vcl/comctrls_comboboxex.h"
#include "vcl/resstrings.h"
#include "vcl/scopeexit.h"
#include "vcl/listview.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "vcl/themes.h"
#include "vcl/treeview.h"

namespace {

constexpr const char* kCannotShowModal = "Cannot make a visible window modal";

const std::vector<TPropInfo>& FormProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TForm>()
      // The client size is what a description keeps; the outer size follows from it and
      // the border.
      .Property("Width", &TControl::Width, &TControl::SetWidth).Stored(false)
      .Property("Height", &TControl::Height, &TControl::SetHeight).Stored(false)
      .Property("Visible", &TControl::Visible, &TCustomForm::SetVisible).Default(false)
      .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Stored(false)
      .Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
      .SetProperty<TBorderIcon>("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
          .Default((1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize))
      .Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable)
      .Property("Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored)
      .Property("ClientHeight", &TControl::ClientHeight, &TCustomForm::SetClientHeight)
      .Property("ClientWidth", &TControl::ClientWidth, &TCustomForm::SetClientWidth)
      .Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false)
      .Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
      .Property("OldCreateOrder", &TCustomForm::OldCreateOrder).Default(false)
      .Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned)
      .Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal)
      .Property("AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend).Default(false)
      .Property("AlphaBlendValue", &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue).Default(255)
      .Property("TransparentColor", &TCustomForm::TransparentColor, &TCustomForm::SetTransparentColor)
          .Default(false)
      .Property("TransparentColorValue", &TCustomForm::TransparentColorValue,
                &TCustomForm::SetTransparentColorValue).Idents(ColorIdents()).Default(0)
      .Property("OnClose", &TCustomForm::OnClose)
      .Property("OnCloseQuery", &TCustomForm::OnCloseQuery)
      .Property("OnCreate", &TCustomForm::OnCreate)
      .Property("OnDestroy", &TCustomForm::OnDestroy)
      .Property("OnHide", &TCustomForm::OnHide)
      .Property("OnShow", &TCustomForm::OnShow)
      .Table();
  return table;
}

// Every form class reads its descriptions through the class registry: the standard
// controls and actions are registered once the first form exists.
void RegisterFormClasses() {
  static const bool done = [] {
    RegisterClasses({TForm::StaticClass(), TAction::StaticClass(), TActionList::StaticClass()});
    RegisterMenuClasses();
    RegisterStdControls();
    RegisterListViews();
    RegisterExtControls();
    RegisterUpDownControl();
    RegisterToolBarControls();
    RegisterTrackBarControl();
    RegisterButtonControls();
    RegisterTreeViewControls();
    RegisterPageControls();
    RegisterProgressBar();
    RegisterComboBoxExControl();
    RegisterDialogs();
    return true;
  }();
  (void)done;
}

// Runs an event handler; what it throws goes to the application (or on, without one).
template <class Fn>
void RunHandler(TObject* Sender, Fn&& fn) {
  try {
    fn();
  } catch (...) {
    if (!Application) throw;
    Application->HandleException(Sender);
  }
}

// The visible, enabled top-level windows of the thread, disabled while a modal form runs.
std::vector<HWND> DisableTaskWindows() {
  std::vector<HWND> list;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM param) -> BOOL {
        if (IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
          reinterpret_cast<std::vector<HWND>*>(param)->push_back(wnd);
          EnableWindow(wnd, FALSE);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&list));
  return list;
}

void EnableTaskWindows(const std::vector<HWND>& list) {
  for (HWND wnd : list)
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
}

}  // namespace

VCL_CLASS_IMPL(TCustomForm, TWinControl, nullptr, nullptr)
VCL_CLASS_IMPL(TForm, TCustomForm, &CreateComponentOf<TForm>, &FormProperties)
VCL_CLASS_IMPL(TScreen, TComponent, nullptr, nullptr)

TScreen* Screen = nullptr;

TScreen* InitScreen() {
  // Lives as long as the program: forms and hint windows refer to it up to the end.
  if (!Screen) Screen = new TScreen(nullptr);
  return Screen;
}

TCustomForm* GetParentForm(TControl* Control) {
  if (!Control) return nullptr;
  while (Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}

// ---------------------------------------------------------------------------
// TCustomForm: creation and destruction

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  RegisterFormClasses();
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControl::SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  SetBounds(0, 0, 320, 240);
  InitScreen()->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (Screen) Screen->RemoveForm(this);
}

void TCustomForm::InitNewForm(TCustomForm* Form, bool FromDescription) {
  const TMetaClass* root = Form->DescriptionRoot();
  if (FromDescription && Form->ClassType() != root) {
    Form->FFormState |= fsCreating;
    try {
      bool found = InitInheritedComponent(Form, root);
      Form->FFormState &= ~fsCreating;
      if (!found) throw EResNotFound(Format(LoadResString(&SResNotFound).c_str(), Form->ClassName().c_str()));
    } catch (...) {
      delete Form;  // never created: no OnDestroy for it
      throw;
    }
  }
  Form->DoCreate();
}

const TMetaClass* TCustomForm::DescriptionRoot() const { return TForm::StaticClass(); }

void TCustomForm::BeforeDestruction() {
  if (FDestroyRan) return;
  FDestroyRan = true;
  RunHandler(this, [this] { Hide(); });
  DoDestroy();
}

void TCustomForm::DoCreate() {
  if (OnCreate) RunHandler(this, [this] { OnCreate(this); });
  if (FFormState & fsVisible) {
    FFormState &= ~fsVisible;
    SetVisible(true);
  }
}

void TCustomForm::DoDestroy() {
  if (OnDestroy) RunHandler(this, [this] { OnDestroy(this); });
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

// ---------------------------------------------------------------------------
// Reading and writing

void TCustomForm::ReadState(TReader* Reader) {
  FClientWidth = 0;
  FClientHeight = 0;
  DisableAlign();
  ScopeExit enable{[this] { EnableAlign(); }};
  TWinControl::ReadState(Reader);
}

void TCustomForm::Loaded() {
  // The client size waited for the border style, wherever the description put it.
  if (FClientWidth > 0) SetClientWidth(FClientWidth);
  if (FClientHeight > 0) SetClientHeight(FClientHeight);
  FClientWidth = 0;
  FClientHeight = 0;
  TWinControl::Loaded();
}

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  TWinControl::GetChildren(Proc, Root);
  // The components without a place among the controls (actions, timers...).
  if (Root == this)
    for (int i = 0; i < ComponentCount(); ++i)
      if (!Components(i)->HasParent()) Proc(Components(i));
}

// ---------------------------------------------------------------------------
// Window

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  if (Parent()) {
    // Docked: a child window whose caption its host shows (a page control's tab).
    Params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
    Params.WindowClass.style = CS_DBLCLKS;
    return;
  }
  Params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_GROUP | WS_TABSTOP);
  // Owned by the application window: no task-bar button of its own, above it.
  Params.WndParent = Application ? Application->Handle() : nullptr;
  Params.WindowClass.style = CS_DBLCLKS;
  if (FFormStyle == fsMDIChild) {
    // Made by the main form's MDI client, and ends in the MDI child's default procedure.
    Params.WndParent = ActiveMDIClient();
    Params.Style |= WS_CHILD;
    Params.ExStyle |= WS_EX_MDICHILD;
    Params.WindowClass.lpfnWndProc = &DefMDIChildProcA;
  }
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  TBorderIcons icons = FBorderIcons;
  auto has = [&icons](TBorderIcon icon) { return (icons & (1u << icon)) != 0; };
  switch (FBorderStyle) {
    case bsNone:
      Params.Style |= WS_POPUP;
      icons = 0;
      break;
    case bsSingle:
    case bsToolWindow: Params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION;
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons &= (1u << biSystemMenu) | (1u << biHelp);
      Params.WindowClass.style = CS_DBLCLKS | CS_SAVEBITS | CS_BYTEALIGNWINDOW;
      break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) {
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    icons &= 1u << biSystemMenu;
  }
  if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable || FBorderStyle == bsNone) {
    if (has(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (has(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
  }
  if (has(biSystemMenu)) Params.Style |= WS_SYSMENU;
  if (has(biHelp)) Params.ExStyle |= WS_EX_CONTEXTHELP;
}

void TCustomForm::SetParent(TWinControl* AParent) {
  if (Parent() == AParent) return;
  CheckNewParent(AParent);
  // A window of its own cannot become a child window: the next one is made for the parent.
  // (Leaving a parent, the child window goes with RemoveControl.)
  if (!Parent() && HandleAllocated()) DestroyHandle();
  TWinControl::SetParent(AParent);
  if (!AParent) UpdateControlState();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetFormStateFlag(TFormStateFlag Flag, bool On) {
  if (On)
    FFormState |= Flag;
  else
    FFormState &= ~static_cast<TFormState>(Flag);
}

HWND TCustomForm::ActiveMDIClient() {
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  if (!main || !main->FClientHandle) throw EInvalidOperation(LoadResString(&SNoMDIForm));
  return main->FClientHandle;
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  AttachMenuBar();  // before the MDI client: it fills what the bar leaves
  if (FFormStyle == fsMDIForm && !FClientHandle) {
    CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
    RECT r = TWinControl::ClientRect();
    FClientHandle = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, r.right,
                                    r.bottom, WindowHandle(), nullptr, FrameworkInstance(), &ccs);
    if (!FClientHandle) RaiseLastOSError();
  }
  SetLayeredAttribs();
}

void TCustomForm::CreateWindowHandle(const TCreateParams& Params) {
  if (FFormStyle != fsMDIChild) {
    TWinControl::CreateWindowHandle(Params);
    SetFormStateFlag(fsCreatedMDIChild, false);
    return;
  }
  MDICREATESTRUCTA mcs{};
  mcs.szClass = Params.WinClassName.c_str();
  mcs.szTitle = Params.Caption.c_str();
  mcs.hOwner = Params.WindowClass.hInstance;
  mcs.x = Params.X;
  mcs.y = Params.Y;
  mcs.cx = Params.Width;
  mcs.cy = Params.Height;
  mcs.style = Params.Style;
  mcs.lParam = reinterpret_cast<LPARAM>(Params.Param);
  HWND wnd = reinterpret_cast<HWND>(SendMessageA(ActiveMDIClient(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  SetWindowHandle(wnd);
  if (!wnd) RaiseLastOSError();
  SetFormStateFlag(fsCreatedMDIChild, true);
}

void TCustomForm::DestroyWindowHandle() {
  FClientHandle = nullptr;
  if (!(FFormState & fsCreatedMDIChild)) {
    TWinControl::DestroyWindowHandle();
    return;
  }
  // An MDI child goes through its client, which picks the next active child.
  SetFormStateFlag(fsCreatedMDIChild, false);
  HWND client = GetParent(WindowHandle());
  ControlState |= csDestroyingHandle;
  ScopeExit done{[this] { ControlState &= ~csDestroyingHandle; }};
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(WindowHandle()), 0);
  SetWindowHandle(nullptr);
}

void TCustomForm::DefaultHandler(TMessage& Message) {
  if (!FClientHandle || !HandleAllocated() || Message.Msg >= CM_BASE) {
    TWinControl::DefaultHandler(Message);
    return;
  }
  if (Message.Msg == WM_SIZE)
    Message.Result = DefWindowProcA(WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
  else
    Message.Result = DefFrameProcA(WindowHandle(), FClientHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TCustomForm::AlignControls(TControl* AControl, RECT& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  // The MDI client takes what the aligned controls leave.
  if (FClientHandle)
    SetWindowPos(FClientHandle, HWND_BOTTOM, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top,
                 SWP_NOACTIVATE);
}

void TCustomForm::SetAlphaBlend(bool Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  SetLayeredAttribs();
}

void TCustomForm::SetAlphaBlendValue(BYTE Value) {
  if (FAlphaBlendValue == Value) return;
  FAlphaBlendValue = Value;
  SetLayeredAttribs();
}

void TCustomForm::SetTransparentColor(bool Value) {
  if (FTransparentColor == Value) return;
  FTransparentColor = Value;
  SetLayeredAttribs();
}

void TCustomForm::SetTransparentColorValue(TColor Value) {
  if (FTransparentColorValue == Value) return;
  FTransparentColorValue = Value;
  SetLayeredAttribs();
}

void TCustomForm::SetLayeredAttribs() {
  if (!HandleAllocated()) return;
  HWND wnd = WindowHandle();
  const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_EXSTYLE);
  if (FAlphaBlend || FTransparentColor) {
    if (!(style & WS_EX_LAYERED)) SetWindowLongPtrA(wnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(wnd, ColorToRGB(FTransparentColorValue), FAlphaBlendValue,
                               (FAlphaBlend ? LWA_ALPHA : 0) | (FTransparentColor ? LWA_COLORKEY : 0));
  } else if (style & WS_EX_LAYERED) {
    SetWindowLongPtrA(wnd, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(wnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RecreateWnd();
}

RECT TCustomForm::FrameSize() {
  // Without a window the border comes from the style the window will have.
  TCreateParams params;
  CreateParams(params);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, params.Style, FALSE, params.ExStyle);
  return RECT{0, 0, r.right - r.left, r.bottom - r.top};
}

RECT TCustomForm::ClientRect() {
  if (HandleAllocated() || Parent()) return TWinControl::ClientRect();
  RECT frame = FrameSize();
  return RECT{0, 0, std::max<LONG>(0, Width() - frame.right), std::max<LONG>(0, Height() - frame.bottom)};
}

void TCustomForm::SetClientWidth(int Value) {
  if (HasState(csReading)) {
    FClientWidth = Value;
    return;
  }
  SetWidth(Width() - ClientWidth() + Value);
}

void TCustomForm::SetClientHeight(int Value) {
  if (HasState(csReading)) {
    FClientHeight = Value;
    return;
  }
  SetHeight(Height() - ClientHeight() + Value);
}

// ---------------------------------------------------------------------------
// Showing, hiding, closing

void TCustomForm::SetVisible(bool Value) {
  // A form read as visible shows once it is complete (DoCreate).
  if (FFormState & fsCreating) {
    if (Value)
      FFormState |= fsVisible;
    else
      FFormState &= ~fsVisible;
    return;
  }
  TControl::SetVisible(Value);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) SetWindowPos(WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::CMShowingChanged(TMessage&) {
  HWND wnd = WindowHandle();
  if (Showing() && Parent()) {
    // Docked: shown in its place, without taking the activation.
    RunHandler(this, [this] { DoShow(); });
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else if (Showing()) {
    RunHandler(this, [this] { DoShow(); });
    ApplyPosition();
    ShowWindow(wnd, SW_SHOWNORMAL);
  } else {
    RunHandler(this, [this] { DoHide(); });
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
}

void TCustomForm::ApplyPosition() {
  int x, y;
  TCustomForm* centre = Application ? Application->MainForm() : nullptr;
  if (FPosition == poMainFormCenter && centre && centre != this) {
    x = centre->Left() + (centre->Width() - Width()) / 2;
    y = centre->Top() + (centre->Height() - Height()) / 2;
  } else if (FPosition == poScreenCenter || FPosition == poMainFormCenter) {
    x = (Screen->Width() - Width()) / 2;
    y = (Screen->Height() - Height()) / 2;
  } else {
    return;
  }
  SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState & fsModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this)
    Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    ShowWindow(Handle(), SW_MINIMIZE);
  else
    Release();
}

void TCustomForm::Release() {
  // Freed by the application window, outside whatever message of ours runs now.
  if (Application && Application->Handle())
    PostMessageA(Application->Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || (FFormState & fsModal)) throw EInvalidOperation(kCannotShowModal);
  TApplication* app = InitApplication();
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FFormState |= fsModal;
  HWND activeWindow = GetActiveWindow();
  std::vector<HWND> disabled = DisableTaskWindows();
  ScopeExit restore{[&] {
    EnableTaskWindows(disabled);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    FFormState &= ~fsModal;
  }};
  Show();
  int result;
  try {
    FModalResult = mrNone;
    do {
      app->HandleMessage();
      if (app->Terminated())
        FModalResult = mrCancel;
      else if (FModalResult != mrNone)
        CloseModal();
    } while (FModalResult == mrNone);
    result = FModalResult;
    if (GetActiveWindow() != WindowHandle()) activeWindow = nullptr;
  } catch (...) {
    Hide();
    throw;
  }
  Hide();
  return result;
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone)
      FModalResult = mrNone;
    else if (action == caFree)
      Release();
  } catch (...) {
    FModalResult = mrNone;
    if (!Application) throw;
    Application->HandleException(this);
  }
}

// ---------------------------------------------------------------------------
// Focus and keys

void TCustomForm::SetActiveControl(TWinControl* Value) {
  if (FActiveControl == Value) return;
  if (Value && !HasState(csLoading) && (Value == this || GetParentForm(Value) != this || !Value->CanFocus()))
    throw EInvalidOperation(SCannotFocus);
  if (FActiveControl) FActiveControl->RemoveFreeNotification(this);
  FActiveControl = Value;
  if (FActiveControl) FActiveControl->FreeNotification(this);
  if (!HasState(csLoading) && FActive) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  if (!HandleAllocated()) return;
  HWND target = WindowHandle();
  if (FActiveControl && FActiveControl->CanFocus()) target = FActiveControl->Handle();
  ::SetFocus(target);
}

void TCustomForm::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, false)) next->SetFocus();
}

void TCustomForm::CMFocusChanged(TMessage& Message) {
  auto* control = reinterpret_cast<TWinControl*>(Message.LParam);
  if (control && control != FActiveControl && GetParentForm(control) == this) {
    if (FActiveControl) FActiveControl->RemoveFreeNotification(this);
    FActiveControl = control;
    FActiveControl->FreeNotification(this);
  }
  TWinControl::Dispatch(Message);
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  TWMKey k{Message};
  if (k.CharCode() == VK_TAB && GetKeyState(VK_MENU) >= 0 && GetKeyState(VK_CONTROL) >= 0) {
    SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
    Message.Result = 1;
    return;
  }
  TWinControl::Dispatch(Message);  // the controls: a default or cancel button
}

void TCustomForm::WMActivate(TMessage& Message) {
  FActive = LOWORD(Message.WParam) != WA_INACTIVE;
  TWinControl::Dispatch(Message);
  if (!FActive) return;
  if (Screen) Screen->FActiveForm = this;
  if (!FActiveControl) {
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) {
      FActiveControl = first;
      FActiveControl->FreeNotification(this);
    }
  }
  SetWindowFocus();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActiveControl) FActiveControl = nullptr;
  if (Operation == opRemove && AComponent == FMenu) {
    FMenu = nullptr;
    if (HandleAllocated()) ::SetMenu(WindowHandle(), nullptr);
  }
}

// ---------------------------------------------------------------------------
// Actions

namespace {

// The visible controls of a showing container, depth first, until fn answers true.
bool TraverseClients(TWinControl* Container, const std::function<bool(TControl*)>& fn) {
  if (!Container->Showing()) return false;
  for (int i = 0; i < Container->ControlCount(); ++i) {
    TControl* c = Container->Controls(i);
    if (!c->Visible()) continue;
    if (fn(c)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && TraverseClients(w, fn)) return true;
  }
  return false;
}

}  // namespace

void TCustomForm::UpdateActions() {
  if (!Showing()) return;
  InitiateAction();
  TraverseClients(this, [](TControl* c) {
    c->InitiateAction();
    return false;
  });
  if (FMenu)
    for (int i = 0; i < FMenu->Items()->Count(); ++i)
      if (TMenuItem* item = FMenu->Items()->Items(i); item->Visible()) item->InitiateAction();
}

// ---------------------------------------------------------------------------
// Menu bar

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu) {
    FMenu->RemoveFreeNotification(this);
    FMenu->SetWindowHandle(nullptr);
  }
  FMenu = Value;
  if (FMenu) FMenu->FreeNotification(this);
  if (!HandleAllocated()) return;
  // The client area shrinks or grows by the bar: keep the client size.
  int clientWidth = ClientWidth(), clientHeight = ClientHeight();
  ::SetMenu(WindowHandle(), FMenu ? FMenu->Handle() : nullptr);
  if (FMenu) FMenu->SetWindowHandle(WindowHandle());
  SetClientWidth(clientWidth);
  SetClientHeight(clientHeight);
}

void TCustomForm::AttachMenuBar() {
  if (!FMenu) return;
  int clientWidth = ClientWidth(), clientHeight = ClientHeight();
  ::SetMenu(WindowHandle(), FMenu->Handle());
  FMenu->SetWindowHandle(WindowHandle());
  SetClientWidth(clientWidth);
  SetClientHeight(clientHeight);
}

bool TCustomForm::MenuMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_COMMAND:
      // Entries and accelerators send no window.
      return Message.LParam == 0 && HIWORD(Message.WParam) <= 1 && FMenu &&
             FMenu->DispatchCommand(LOWORD(Message.WParam));
    case WM_INITMENUPOPUP:
      return FMenu && FMenu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam));
    case WM_MENUSELECT:
      if (!FMenu) return false;
      if (Application) {
        TMenuItem* item = MenuSelectItem(FMenu, Message.WParam, Message.LParam);
        Application->SetHint(item ? GetLongHint(item->Hint()) : AnsiString());
      }
      return true;
    case WM_MEASUREITEM:
      if (!MeasureMenuItem(reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam))) return false;
      Message.Result = TRUE;
      return true;
    case WM_DRAWITEM:
      if (!DrawMenuItem(reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam))) return false;
      Message.Result = TRUE;
      return true;
    default: return false;
  }
}

void TCustomForm::CMActionExecute(TMessage& Message) {
  auto* action = reinterpret_cast<TBasicAction*>(Message.LParam);
  bool execute = Message.Msg == CM_ACTIONEXECUTE;
  auto process = [action, execute](TControl* c) {
    return execute ? c->ExecuteAction(action) : c->UpdateAction(action);
  };
  if ((FActiveControl && process(FActiveControl)) || process(this) || TraverseClients(this, process))
    Message.Result = 1;
}

// ---------------------------------------------------------------------------

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); break;
    case CM_DIALOGKEY: CMDialogKey(Message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); break;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE: CMActionExecute(Message); break;
    case WM_ACTIVATE: WMActivate(Message); break;
    case WM_CLOSE: Close(); break;  // never the system's: that would destroy the window
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (!MenuMessage(Message)) TWinControl::Dispatch(Message);
      break;
    case WM_THEMECHANGED:
      ThemeServices()->UpdateThemes();
      TWinControl::Dispatch(Message);
      Invalidate();
      break;
    default: TWinControl::Dispatch(Message); break;
  }
}

// ---------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner), FHintFont(new TFont) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    FHintFont->SetLogFont(metrics.lfStatusFont);
  FHintFont->SetColor(clInfoText);
}

TScreen::~TScreen() {
  for (auto& [index, handle] : FCursors) DestroyCursor(handle);
}

HCURSOR TScreen::Cursors(TCursor Index) const {
  auto own = FCursors.find(Index);
  if (own != FCursors.end()) return own->second;
  if (HCURSOR standard = StandardCursor(Index)) return standard;
  return Index == crNone ? nullptr : LoadCursorA(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  if (Index <= 0) return;  // the standard numbers stay the system's
  auto own = FCursors.find(Index);
  if (own != FCursors.end()) {
    DestroyCursor(own->second);
    FCursors.erase(own);
  }
  if (Handle) FCursors[Index] = Handle;
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  // The window under the mouse chooses again now, not at the next mouse move.
  POINT p{};
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  DWORD process = 0;
  if (under) GetWindowThreadProcessId(under, &process);
  if (under && process == GetCurrentProcessId()) {
    const LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
  } else if (Value != crDefault) {
    ::SetCursor(Cursors(Value));
  }
}

TWinControl* TScreen::ActiveControl() const { return FActiveForm ? FActiveForm->ActiveControl() : nullptr; }

void TScreen::AddForm(TCustomForm* Form) { FForms.push_back(Form); }

void TScreen::RemoveForm(TCustomForm* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
  if (FActiveForm == Form) FActiveForm = nullptr;
}
