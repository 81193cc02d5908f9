// Message numbers of the framework (CM_ notices between controls, CN_ messages reflected
// from a parent to its child) and the message record with typed views ("crackers").
#pragma once

#include <windows.h>

#include <cstdint>

// ---------------------------------------------------------------------------
// Notices the framework sends between its controls. They live in the WM_APP range,
// below the registered messages, so that no system control ever answers one.

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;

// ---------------------------------------------------------------------------
// Messages a parent reflects to the child they concern, and the key messages the
// message loop hands to the focused control before translating them: CN_BASE plus the
// system message number.

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;

inline bool IsCtlColorMessage(UINT msg) { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }

// ---------------------------------------------------------------------------
// The message record every handler receives. Result is what the window procedure
// returns.

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  WORD WParamLo() const { return LOWORD(WParam); }
  WORD WParamHi() const { return HIWORD(WParam); }
  WORD LParamLo() const { return LOWORD(LParam); }
  WORD LParamHi() const { return HIWORD(LParam); }
};

// Typed views of a message: they read and write the record they are built on, so a
// handler can change a field and pass the same record on.

// WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP, WM_CHAR, WM_SYSCHAR and their CN_ forms. The
// character code is the low word of wParam; the high word is left alone by every
// writer (the wide text layer keeps a character above 255 there while the 8-bit key
// handling runs).
struct TWMKey {
  TMessage& M;
  WORD CharCode() const { return LOWORD(M.WParam); }
  void SetCharCode(WORD code) { M.WParam = (M.WParam & ~static_cast<WPARAM>(0xFFFF)) | code; }
  WORD Unused() const { return HIWORD(M.WParam); }
  LPARAM KeyData() const { return M.LParam; }
};

// Mouse button and move messages: keys in wParam, client position in lParam.
struct TWMMouse {
  TMessage& M;
  WPARAM Keys() const { return M.WParam; }
  int XPos() const { return static_cast<short>(LOWORD(M.LParam)); }
  int YPos() const { return static_cast<short>(HIWORD(M.LParam)); }
  POINT Pos() const { return POINT{XPos(), YPos()}; }
};

struct TWMCommand {
  TMessage& M;
  WORD ItemID() const { return LOWORD(M.WParam); }
  WORD NotifyCode() const { return HIWORD(M.WParam); }
  HWND Ctl() const { return reinterpret_cast<HWND>(M.LParam); }
};

struct TWMNotify {
  TMessage& M;
  int IDCtrl() const { return static_cast<int>(M.WParam); }
  NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(M.LParam); }
};

struct TWMDrawItem {
  TMessage& M;
  DRAWITEMSTRUCT* DrawItemStruct() const { return reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam); }
};

struct TWMMeasureItem {
  TMessage& M;
  UINT IDCtl() const { return static_cast<UINT>(M.WParam); }
  MEASUREITEMSTRUCT* MeasureItemStruct() const { return reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam); }
};

// WM_CTLCOLOR* and CN_CTLCOLOR*.
struct TWMCtlColor {
  TMessage& M;
  HDC ChildDC() const { return reinterpret_cast<HDC>(M.WParam); }
  HWND ChildWnd() const { return reinterpret_cast<HWND>(M.LParam); }
};

struct TWMPaint {
  TMessage& M;
  HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }  // 0 when the system asks
};

struct TWMEraseBkgnd {
  TMessage& M;
  HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }
};

struct TWMSize {
  TMessage& M;
  UINT SizeType() const { return static_cast<UINT>(M.WParam); }
  int Width() const { return LOWORD(M.LParam); }
  int Height() const { return HIWORD(M.LParam); }
};

struct TWMWindowPosChanged {
  TMessage& M;
  WINDOWPOS* WindowPos() const { return reinterpret_cast<WINDOWPOS*>(M.LParam); }
};

// WM_SETTEXT / WM_GETTEXT: the buffer is 8-bit when the framework sends the message,
// and whatever the window's side is when the system does; the framework never reads it.
struct TWMSetText {
  TMessage& M;
  const void* Text() const { return reinterpret_cast<const void*>(M.LParam); }
};

// CM_DIALOGCHAR / CM_DIALOGKEY carry the character (or virtual key) and the key data.
using TCMDialogChar = TWMKey;
using TCMDialogKey = TWMKey;
