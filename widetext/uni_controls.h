// Unicode windows for framework controls.
//
// A wide control's window is created as a Unicode window (CreateWindowExW on a copy of
// its window class registered as "<framework class>.UnicodeClass") while the framework
// keeps talking 8-bit to it. A per-control interceptor, TWinControlTrap, sits on both
// ends of the framework's message path:
//
//   system -> trap window procedure -> ControlWndProc -> MainWndProc -> WindowProc chain
//   (the trap's method in front of the saved one) -> WndProc -> ... -> DefaultHandler ->
//   DefWndProc = the trap's default procedure -> the window class's own (W) procedure.
//
// Text messages the framework sends itself (8-bit buffers through Perform) are re-sent
// with SendMessageA, so that the system converts them for the Unicode window; those that
// come from the system pass as they are. WM_CHAR is made safe for the 8-bit key handlers
// on the way in and restored on the way to the window class (char_messages.h).
//
// No executable thunks: the trap's procedures are plain window procedures that find their
// trap by the window, and the window's first procedure is the framework's ControlWndProc,
// which finds the control the same way (windowbinding.h).
#pragma once

#include "vcl/controls.h"
#include "widetext/uniexceptions.h"

// Creates Control's window from Params as a Unicode window and attaches its trap; called
// by every wide windowed control's CreateWindowHandle. SubClass names the system class
// whose procedure the window's messages end in ("EDIT", "BUTTON"...); empty for window
// classes of the framework's own (panels, forms, hint windows). Off the Unicode platform
// the window is created 8-bit, like the framework's own.
void CreateUnicodeHandle(TWinControl* Control, const TCreateParams& Params, const WideString& SubClass);

// The window procedure of the system class SubClass, the one a Unicode window made by
// CreateUnicodeHandle ends in: the class as registered for Instance, else the system's
// own (null: no such class). A Unicode class's procedure is the procedure itself, to be
// called with the W forms of messages.
WNDPROC SystemClassWndProc(HINSTANCE Instance, const WideString& SubClass);

// Registers (once) the Unicode copy of Params' window class; returns its name.
WideString RegisterUnicodeWindowClass(const TCreateParams& Params);

// The first window procedure of the Unicode classes: binds the window to the control the
// framework is creating a window for.
LRESULT CALLBACK UnicodeInitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// Attaches the trap to Control's freshly created Unicode window and applies the wide text
// (the stored wide caption, else Caption converted). EUniInternalError when the window is
// not Unicode.
void SubClassUnicodeControl(TWinControl* Control, const AnsiString& Caption);

// The message ("WideControls.DestroyWindow") a window sends itself when its WM_DESTROY
// does not reach the trap's default procedure (an MDI frame's); the trap detaches on it.
UINT WideControlsDestroyWindowMessage();

// ---------------------------------------------------------------------------

class TWinControlTrap;

// The trap's method in a control's WindowProc chain (only the type is compared, never
// the trap it is bound to).
struct TWinControlTrapMethod {
  TWinControlTrap* Trap;
  void operator()(TMessage& Message) const;
};
inline bool IsWinControlTrapMethod(const TWndMethod& m) { return m.target<TWinControlTrapMethod>() != nullptr; }

// One per Unicode window of a control, while the window exists or is being re-created.
// States: pending (window created, not yet attached; or window destroyed while the
// control lives on, waiting for the next one), attached, freed (with its control; after
// the outermost message of the trap returns when one is being processed).
class TWinControlTrap : public TComponent {
  VCL_CLASS(TWinControlTrap)
  friend struct TWinControlTrapMethod;
  friend LRESULT CALLBACK WinControlTrapWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK WinControlTrapDefWndProc(HWND, UINT, WPARAM, LPARAM);

 public:
  explicit TWinControlTrap(TWinControl* Control);
  ~TWinControlTrap() override;

  TWinControl* Control() const { return FControl; }
  // The window it is attached to; null while pending.
  HWND Handle() const { return FHandle; }

  // Subclasses Control's window Wnd.
  void Attach(HWND Wnd);
  // Lets go of the window (on WM_DESTROY or the destroy-window message). The window's
  // text is kept for the next window unless the control is being destroyed.
  void Detach();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // Counts the trap's messages in progress; the last one out frees a trap whose control
  // went meanwhile.
  class TMessageScope;

  LRESULT SystemWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  void WinControlWindowProc(TMessage& Message);
  LRESULT DefaultWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool IsInWindowProcChain();
  void KeepWindowText(HWND Wnd);

  TWinControl* FControl;
  HWND FHandle = nullptr;
  WNDPROC FPrevWindowProc = nullptr;     // the window's procedure before the trap's
  WNDPROC FPrevDefWndProc = nullptr;     // the control's DefWndProc before the trap's
  TWndMethod FPrevWinControlWindowProc;  // the control's WindowProc before the trap's
  UINT FSystemMessage = 0;               // the system message in progress, until it reaches WindowProc
  int FMessageDepth = 0;
  bool FFreePending = false;
  bool FProbing = false;
  bool FProbeSeen = false;
};

// The trap of Control's window (attached or pending); null when there is none.
TWinControlTrap* FindWinControlTrap(TWinControl* Control);
