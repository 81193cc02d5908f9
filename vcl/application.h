// The application object: its hidden window, the 8-bit message loop with its idle step
// (hints, action updates, synchronised calls), the main form, hints and the exception
// message box.
#pragma once

#include <functional>
#include <vector>

#include "vcl/classes.h"
#include "vcl/graphics.h"
#include "vcl/messages.h"

class TControl;
class TCustomForm;
class THintWindow;
class TBasicAction;

// Posted to the application window when synchronised calls are waiting.
constexpr UINT WM_SYNCHRONIZE = WM_APP + 0x3F00;

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
// Sees a message of the application window before the application does; true when it
// has handled it (Message.Result is then the answer).
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TWindowHook = std::function<bool(TMessage& Message)>;
// Names a hook for UnhookMainWindow.
using THookHandle = int;

class TApplication : public TComponent {
  VCL_CLASS(TApplication)
 public:
  // Creates the hidden window at once.
  explicit TApplication(TComponent* AOwner);
  // Leaves the window to CreateHandle, so that window hooks installed in between see its
  // creation messages (WM_CREATE).
  struct TNoHandle {};
  TApplication(TComponent* AOwner, TNoHandle);
  ~TApplication() override;

  // --- the hidden application window (class "TApplication", text = Title) ---
  HWND Handle() const { return FHandle; }
  void CreateHandle();
  // The window's text while the window exists (a wide layer may set it there directly),
  // else the title the window will be created with.
  AnsiString Title() const;
  void SetTitle(const AnsiString& title);
  // Hooks see every message of the application window before the application, in the
  // order they were installed; one that answers true ends the message there.
  THookHandle HookMainWindow(TWindowHook Hook);
  void UnhookMainWindow(THookHandle Hook);

  // --- the message loop ---
  // Takes one message and handles it; when the queue is empty, the idle step runs
  // and then waits for the next message.
  void HandleMessage();
  // Handles every message waiting, then returns.
  void ProcessMessages();
  // The main loop: shows the main form (when there is one) and handles messages until
  // Terminate, or until the main form closes.
  void Run();
  // Ends Run (posts WM_QUIT).
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // A modeless dialog whose keys (Tab, Enter...) IsDialogMessageA handles.
  HWND DialogHandle() const { return FDialogHandle; }
  void SetDialogHandle(HWND Value) { FDialogHandle = Value; }

  // --- forms ---
  // The first form created with CreateForm; closing it ends Run.
  TCustomForm* MainForm() const { return FMainForm; }
  // Run shows the main form only while this holds (a single-instance guard clears it).
  bool ShowMainForm = true;
  // Creates a form of class T from its stored description, owned by the application;
  // Reference holds it while its OnCreate runs (null again when creation fails).
  template <class T>
  void CreateForm(T*& Reference);

  // --- help ---
  // Opens the help for Context: OnHelp first, which may answer it and clear CallHelp;
  // then, with a help file (CurrentHelpFile), the system's help for that context. True
  // when it was shown.
  bool HelpContext(int Context);
  // The help file of the active form when it names one, else the application's.
  AnsiString CurrentHelpFile() const;
  AnsiString HelpFile;
  std::function<bool(WORD Command, int Data, bool& CallHelp)> OnHelp;

  // --- hints ---
  // The long part of the hint of the control under the mouse (or what was assigned).
  // A change runs OnHint; without OnHint a THintAction carries it to whoever shows it.
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  TNotifyEvent OnHint;
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  // With a shortcut on the control's action, hints read "hint (Ctrl+S)".
  bool HintShortCuts = true;
  int HintPause = 500;       // ms the mouse rests on a control before its hint shows
  int HintShortPause = 50;   // the same while another hint was showing
  int HintHidePause = 2500;  // ms a hint stays
  TColor HintColor = clInfoBk;
  // Shows the hint of the hint control (the control the mouse rested on) near CursorPos.
  void ActivateHint(POINT CursorPos);
  // Hides the hint window and forgets the hint control.
  void CancelHint();
  // Hides the hint window.
  void HideHint();
  // The hint window last used (null before the first hint).
  THintWindow* HintWindow() const { return FHintWindow; }
  // The control whose hint shows now, or whose hint is about to show.
  TControl* HintControl() const { return FHintControl; }

  // --- exceptions ---
  // Reports the exception being handled (call it from a catch block): EAbort silently,
  // others through OnException when assigned, else through ShowException.
  void HandleException(TObject* Sender);
  // The exception message box: the message, captioned with Title.
  virtual void ShowException(const std::exception& E);

  // Sees every message of the loop first; Handled keeps it from being dispatched.
  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  // Runs at each idle step; a handler that sets Done to false keeps the loop from waiting
  // for the next message.
  TIdleEvent OnIdle;

 protected:
  // The window procedure of the application window, after the hooks. Unhandled
  // messages go to DefWindowProcA.
  virtual LRESULT WndProc(UINT Msg, WPARAM wParam, LPARAM lParam);
  // Takes one message from the queue and handles it; false when there was none. The
  // order: OnMessage, the hint's look at it, the controls' key handling (IsKeyMsg), the
  // dialog of DialogHandle, then TranslateMessage and DispatchMessageA.
  virtual bool ProcessMessage(MSG& Msg);
  // The queue is empty: the hint of the control under the mouse, each visible form's
  // action updates and the synchronised calls; then waits for the next message unless
  // a synchronised call ran.
  virtual void Idle(const MSG& Msg);

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TCustomForm;
  struct THook {
    THookHandle Id;
    TWindowHook Hook;
  };
  static constexpr UINT_PTR kHintTimer = 1;  // the timer of the application window

  void BecomeTheApplication();
  LRESULT MainWndProc(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam);
  void AdoptForm(TCustomForm* Form);
  bool DispatchAction(UINT Msg, TBasicAction* Action);
  void DoActionIdle();
  // Hints (hints.cpp).
  void HintMouseMessage(const MSG& Msg);
  bool IsHintMsg(const MSG& Msg);
  void DoMouseIdle();
  void StartHintTimer(int Delay, int Kind);
  void StopHintTimer();
  void HintTimerExpired();
  // The hint control and the control under the mouse are watched for their end.
  void SetHintControl(TControl* Control);
  void SetMouseControl(TControl* Control);
  void Watch(TControl* Old, TControl* New);

  HWND FHandle = nullptr;
  AnsiString FTitle;
  bool FTerminated = false;
  HWND FDialogHandle = nullptr;
  std::vector<THook> FHooks;
  THookHandle FNextHook = 1;
  TCustomForm* FMainForm = nullptr;

  AnsiString FHint;
  bool FShowHint = true;
  bool FHintActive = false;
  TControl* FHintControl = nullptr;   // the hint that shows or waits for its timer
  TControl* FMouseControl = nullptr;  // under the mouse at the last idle step
  RECT FHintCursorRect{};
  int FHintTimerKind = 0;
  THintWindow* FHintWindow = nullptr;
};

// The program's application object: the first TApplication created, explicitly, by the
// program's start-up or a test's main (InitApplication); null before that.
extern TApplication* Application;

// Creates Application when there is none yet; returns it.
TApplication* InitApplication();

#include "vcl/forms.h"

template <class T>
void TApplication::CreateForm(T*& Reference) {
  T* form = new T(this);
  Reference = form;
  try {
    TCustomForm::InitNewForm(form, true);
  } catch (...) {
    Reference = nullptr;
    throw;
  }
  AdoptForm(form);
}
