// Hidden windows bound to a handler: the message windows of timers, of the application
// and of any other non-visual component that needs the main thread's message queue.
#pragma once

#include <functional>

#include "vcl/sysutils.h"

// Receives every message of its window. Messages it does not handle go to
// DefWindowProcA (the handler calls it itself, so it can also post-process them).
using TWindowHandler = std::function<LRESULT(HWND Wnd, UINT Msg, WPARAM wParam, LPARAM lParam)>;

// Creates a hidden top-level window of the given class (registered on first use with
// the shared procedure) whose messages go to handler; with Parent HWND_MESSAGE, a window
// that only receives the messages sent or posted to it. Exceptions thrown by the handler
// are handed to ApplicationHandleException. Raises EOutOfResources on failure.
HWND CreateHandlerWindow(const char* className, const char* text, DWORD style, DWORD exStyle,
                         TWindowHandler handler, HWND Parent = nullptr);

// Unbinds the handler first, so no message reaches an object that is being destroyed,
// then destroys the window. Must run on the thread that created the window.
void DestroyHandlerWindow(HWND wnd);

// A hidden utility window of the class "TPUtilWindow", for the owners of popup menus and
// the like.
HWND AllocateHWnd(TWindowHandler handler);
// A utility window of the class "TPUtilWindow" that only receives the messages sent or
// posted to it (no broadcasts, never an owner), for timers and notices. Unlike a hidden
// top-level window it costs the display nothing, which makes it much cheaper to create.
HWND AllocateMessageHWnd(TWindowHandler handler);
void DeallocateHWnd(HWND wnd);

// A window procedure of its own for a handler: each call makes a distinct, callable entry
// (several subclassers of one window need one each). The entry forwards every call, with
// the window, to the handler; a handler freed while one of its calls runs stays alive until
// that call has returned. EOutOfResources when every entry is in use.
WNDPROC MakeObjectInstance(TWindowHandler handler);
void FreeObjectInstance(WNDPROC entry);
