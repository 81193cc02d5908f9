// The application object: its hidden window, the 8-bit message loop and the exception
// message box.
#pragma once

#include <functional>

#include "vcl/classes.h"

// Posted to the application window when synchronised calls are waiting.
constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x3F00;

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
  VCL_CLASS(TApplication)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // The hidden application window (class "TApplication", text = Title).
  HWND Handle() const { return FHandle; }
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& title);

  // Takes one message and handles it; when the queue is empty, the idle step runs
  // and then waits for the next message.
  void HandleMessage();
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // The main loop: handles messages until Terminate.
  void Run();
  // Ends Run (posts WM_QUIT).
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // Reports the exception being handled (call it from a catch block): EAbort silently,
  // others through OnException when assigned, else through ShowException.
  void HandleException(TObject* Sender);
  // The exception message box: the message, captioned with Title.
  virtual void ShowException(const std::exception& E);

  // Sees every message of the loop first; Handled keeps it from being dispatched.
  TMessageEvent OnMessage;
  TExceptionEvent OnException;

 protected:
  // The window procedure of the application window. Unhandled messages go to
  // DefWindowProcA.
  virtual LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Takes one message from the queue and handles it; false when there was none.
  virtual bool ProcessMessage(MSG& Msg);
  // The queue is empty: do background work, then wait for the next message.
  virtual void Idle(const MSG& Msg);

 private:
  HWND FHandle = nullptr;
  AnsiString FTitle;
  bool FTerminated = false;
};

// The program's application object: the first TApplication created, explicitly, by the
// program's start-up or a test's main (InitApplication); null before that.
extern TApplication* Application;

// Creates Application when there is none yet; returns it.
TApplication* InitApplication();
