#include "vcl/application.h"

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

}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner), FTitle(ModuleBaseName()) {
  FHandle = CreateHandlerWindow("TApplication", FTitle.c_str(),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                0, [this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
                                  FHandle = wnd;  // known from WM_NCCREATE on
                                  return WndProc(msg, wParam, lParam);
                                });
  // The first application object is the program's: it becomes Application and serves
  // the threads and the window procedures. A second one (a test's) leaves them alone.
  if (!Application) {
    Application = this;
    HWND wnd = FHandle;
    WakeMainThread = [wnd] { PostMessageA(wnd, WM_SYNCHRONIZE, 0, 0); };
    ApplicationHandleException = [this](TObject* sender) { HandleException(sender); };
    ApplicationShowException = [this](const std::exception& e) { ShowException(e); };
  }
}

TApplication::~TApplication() {
  if (Application == this) {
    WakeMainThread = nullptr;
    ApplicationHandleException = nullptr;
    ApplicationShowException = nullptr;
  }
  DestroyHandlerWindow(FHandle);  // unbinds first: no message reaches a half-destroyed object
  FHandle = nullptr;
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const AnsiString& title) {
  if (title == FTitle) return;
  FTitle = title;
  if (FHandle) SetWindowTextA(FHandle, FTitle.c_str());
}

LRESULT TApplication::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_SYNCHRONIZE:
      CheckSynchronize();
      return 0;
    case WM_CLOSE:  // never destroy the application window; closing is the main form's business
      return 0;
    default:
      return DefWindowProcA(FHandle, Msg, wParam, lParam);
  }
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
  if (!handled) {
    TranslateMessage(&Msg);
    DispatchMessageA(&Msg);
  }
  return true;
}

void TApplication::Idle(const MSG&) {
  CheckSynchronize();
  WaitMessage();
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
  while (!FTerminated) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() { PostQuitMessage(0); }

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
  MessageBoxA(FHandle, E.what(), FTitle.c_str(), MB_OK | MB_ICONERROR);
}
