// Windows and the controls they belong to. A window is bound to its control through two
// window properties (no executable thunks, so nothing to write into executable memory on
// x64): the control atom names the control of a window of this module and thread, the
// window atom marks the process's framework windows. A small cache in front of the
// properties keeps the per-message lookup cheap.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

class TWinControl;

// The control a window is bound to (nullptr for other windows and let-go windows).
TWinControl* FindControl(HWND Wnd);

// The window procedure of bound windows: finds the control and runs its MainWndProc. A
// window let go of by its control passes its last messages to the procedure it was
// released to; any other window to DefWindowProc.
LRESULT CALLBACK ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// The procedure of the framework's window classes: binds the window to CreationControl
// on its first message, makes ControlWndProc its procedure and passes the message on.
LRESULT CALLBACK InitWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// The control whose window is being created (read by the first window procedure; one
// window is created at a time, on the thread that owns the windows).
extern TWinControl* CreationControl;

// Binds a window to a control: the control atom and the window atom as window properties
// (SetPropA), and the cache. Code that binds windows itself through the properties is
// found too, one property read later.
void AttachControlToWindow(HWND Wnd, TWinControl* Control);
// Removes both properties and the cache entry.
void DetachControlFromWindow(HWND Wnd);
// For a control that goes before its window: the window's remaining messages go to Proc
// (called with CallWindowProcA) until WM_NCDESTROY.
void ReleaseWindowTo(HWND Wnd, WNDPROC Proc);

// "ControlOfs%.8X%.8X" (module instance, thread id) and "WndProcPtr%.8X" (process id).
const AnsiString& ControlAtomString();
const AnsiString& WindowAtomString();
ATOM ControlAtom();
ATOM WindowAtom();

// The module whose window classes the framework registers.
HINSTANCE FrameworkInstance();
