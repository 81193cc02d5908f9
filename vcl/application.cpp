#include "vcl/application.h"

#include <algorithm>

#include "vcl/actions.h"
#include "vcl/controls.h"
#include "vcl/forms.h"
#include "vcl/hints.h"
#include "vcl/threads.h"
#include "vcl/utilwnd.h"

VCL_CLASS_IMPL(TApplication, TComponent, nullptr, nullptr)

TApplication* Application = nullptr;

TApplication* InitApplication() {
  if (!Application) new TApplication(nullptr);  // becomes Application
  return Application;
}

namespace {

// The program's file name without folder and extension: the title until one is set.
AnsiString ModuleBaseName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  AnsiString name = path;
  size_t slash = name.find_last_of("\\/:");
  if (slash != AnsiString::npos) name.erase(0, slash + 1);
  size_t dot = name.rfind('.');
  if (dot != AnsiString::npos) name.erase(dot);
  return name;
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK; }

}  // namespace

TApplication::TApplication(TComponent* AOwner) : TApplication(AOwner, TNoHandle{}) { CreateHandle(); }

TApplication::TApplication(TComponent* AOwner, TNoHandle) : TComponent(AOwner), FTitle(ModuleBaseName()) {
  // The first application object is the program's: it becomes Application and serves
  // the threads and the window procedures. A second one (a test's) leaves them alone.
  if (!Application) BecomeTheApplication();
}

void TApplication::BecomeTheApplication() {
  Application = this;
  InitScreen();
  ApplicationHandleException = [this](TObject* sender) { HandleException(sender); };
  ApplicationShowException = [this](const std::exception& e) { ShowException(e); };
}

void TApplication::CreateHandle() {
  if (FHandle) return;
  // The handler sees the window's first messages (WM_NCCREATE, WM_CREATE), so the hooks do.
  CreateHandlerWindow("TApplication", FTitle.c_str(),
                      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                      [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
                        FHandle = wnd;  // known from WM_NCCREATE on
                        return MainWndProc(wnd, msg, wParam, lParam);
                      });
  if (Application == this) {
    HWND wnd = FHandle;
    WakeMainThread = [wnd] { PostMessageA(wnd, WM_SYNCHRONIZE, 0, 0); };
  }
}

TApplication::~TApplication() {
  CancelHint();
  // The forms go first, while the application they may still use is whole.
  DestroyComponents();
  FMainForm = nullptr;
  FHintWindow = nullptr;
  if (Application == this) {
    WakeMainThread = nullptr;
    ApplicationHandleException = nullptr;
    ApplicationShowException = nullptr;
  }
  DestroyHandlerWindow(FHandle);  // unbinds first: no message reaches a half-destroyed object
  FHandle = nullptr;
  if (Application == this) Application = nullptr;
}

AnsiString TApplication::Title() const {
  if (!FHandle) return FTitle;
  AnsiString text(static_cast<size_t>(GetWindowTextLengthA(FHandle)) + 1, '\0');
  text.resize(static_cast<size_t>(std::max(GetWindowTextA(FHandle, text.data(), static_cast<int>(text.size())), 0)));
  return text;
}

void TApplication::SetTitle(const AnsiString& title) {
  FTitle = title;
  if (FHandle && Title() != title) SetWindowTextA(FHandle, title.c_str());
}

THookHandle TApplication::HookMainWindow(TWindowHook Hook) {
  THookHandle id = FNextHook++;
  FHooks.push_back(THook{id, std::move(Hook)});
  return id;
}

void TApplication::UnhookMainWindow(THookHandle Hook) {
  FHooks.erase(std::remove_if(FHooks.begin(), FHooks.end(), [Hook](const THook& h) { return h.Id == Hook; }),
               FHooks.end());
}

LRESULT TApplication::MainWndProc(HWND, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!FHooks.empty()) {
    TMessage m{Msg, wParam, lParam, 0};
    // A hook may unhook itself or others: each is looked up again before it runs.
    std::vector<THookHandle> ids;
    for (const THook& h : FHooks) ids.push_back(h.Id);
    for (THookHandle id : ids) {
      auto it = std::find_if(FHooks.begin(), FHooks.end(), [id](const THook& h) { return h.Id == id; });
      if (it == FHooks.end()) continue;
      TWindowHook hook = it->Hook;
      if (hook(m)) return m.Result;
    }
  }
  return WndProc(Msg, wParam, lParam);
}

LRESULT TApplication::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_SYNCHRONIZE:
      CheckSynchronize();
      return 0;
    case WM_CLOSE:  // never destroy the application window: the main form decides
      if (FMainForm) FMainForm->Close();
      return 0;
    case WM_TIMER:
      if (wParam == kHintTimer && FHintTimerKind) {
        HintTimerExpired();
        return 0;
      }
      break;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE:
      return DispatchAction(Msg, reinterpret_cast<TBasicAction*>(lParam)) ? 1 : 0;
    case CM_RELEASE: {
      // A form that asked to be freed; it may be gone already.
      auto* form = reinterpret_cast<TCustomForm*>(lParam);
      if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i)
          if (Screen->Forms(i) == form) {
            form->Free();
            break;
          }
      return 0;
    }
    default: break;
  }
  return DefWindowProcA(FHandle, Msg, wParam, lParam);
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  // A message turned into WM_NULL has been handled already (by a message hook).
  if (Msg.message == WM_NULL) return true;
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  IsHintMsg(Msg);  // a key or a click ends the hint, whoever handles it
  if (handled) return true;
  if (FShowHint && IsMouseMessage(Msg.message)) HintMouseMessage(Msg);
  if (IsKeyMsg(Msg)) return true;
  if (FDialogHandle && IsDialogMessageA(FDialogHandle, &Msg)) return true;
  TranslateMessage(&Msg);
  DispatchMessageA(&Msg);
  return true;
}

void TApplication::Idle(const MSG&) {
  bool done = true;
  try {
    DoMouseIdle();
    if (FShowHint && !FMouseControl) CancelHint();
    SetHint(GetLongHint(GetControlHint(FMouseControl)));
    if (OnIdle) OnIdle(this, done);
    DoActionIdle();
  } catch (...) {
    HandleException(this);
  }
  // A synchronised call may have queued work for the loop: no waiting then.
  if (GetCurrentThreadId() == MainThreadID && CheckSynchronize()) done = false;
  if (done) WaitMessage();
}

void TApplication::DoActionIdle() {
  if (!Screen) return;
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < Screen->FormCount(); ++i) forms.push_back(Screen->Forms(i));
  for (TCustomForm* form : forms) {
    // A form freed by an earlier form's update is no longer listed.
    bool listed = false;
    for (int i = 0; i < Screen->FormCount() && !listed; ++i) listed = Screen->Forms(i) == form;
    if (!listed || !form->HandleAllocated()) continue;
    HWND wnd = form->WindowHandle();
    if (IsWindowVisible(wnd) && IsWindowEnabled(wnd)) form->UpdateActions();
  }
}

bool TApplication::DispatchAction(UINT Msg, TBasicAction* Action) {
  TCustomForm* form = Screen ? Screen->ActiveForm() : nullptr;
  LPARAM param = reinterpret_cast<LPARAM>(Action);
  bool handled = (form && form->Perform(Msg, 0, param) == 1) ||
                 (FMainForm && FMainForm != form && FMainForm->Perform(Msg, 0, param) == 1);
  // Nobody handles it: an action without an OnExecute of its own is of no use now.
  auto* custom = dynamic_cast<TCustomAction*>(Action);
  if (!handled && custom && custom->Enabled() && custom->DisableIfNoHandler)
    custom->SetEnabled(static_cast<bool>(custom->OnExecute));
  return handled;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle(msg);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Run() {
  if (FMainForm && ShowMainForm) FMainForm->Show();
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::AdoptForm(TCustomForm* Form) {
  if (FMainForm) return;
  Form->HandleNeeded();
  FMainForm = Form;
}

bool TApplication::HelpContext(int Context) {
  bool callHelp = true;
  bool shown = OnHelp ? OnHelp(HELP_CONTEXT, Context, callHelp) : false;
  const AnsiString file = CurrentHelpFile();
  if (callHelp && !file.empty()) shown = WinHelpA(Handle(), file.c_str(), HELP_CONTEXT, Context) != FALSE;
  return shown;
}

AnsiString TApplication::CurrentHelpFile() const {
  TCustomForm* active = Screen ? Screen->ActiveForm() : nullptr;
  return active && !active->HelpFile.empty() ? active->HelpFile : HelpFile;
}

void TApplication::SetHint(const AnsiString& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) {
    OnHint(this);
    return;
  }
  // Whoever shows hints (a status bar, a window hook) takes it from a hint action.
  THintAction action(nullptr);
  action.SetHint(Value);
  action.Execute();
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMainForm) FMainForm = nullptr;
  if (AComponent == FHintWindow) FHintWindow = nullptr;
  if (AComponent == FHintControl) {
    HideHint();
    FHintControl = nullptr;
    FHintActive = false;
    StopHintTimer();
  }
  if (AComponent == FMouseControl) FMouseControl = nullptr;
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    if (OnException)
      OnException(Sender, e);
    else
      ShowException(e);
  } catch (...) {
    Exception unknown("Unknown exception");
    if (OnException)
      OnException(Sender, unknown);
    else
      ShowException(unknown);
  }
}

void TApplication::ShowException(const std::exception& E) {
  MessageBoxA(FHandle, E.what(), Title().c_str(), MB_OK | MB_ICONERROR);
}
