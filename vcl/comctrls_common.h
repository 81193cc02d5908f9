// What every common control of the framework (list view, tree view, page control,
// progress bar...) shares: loading the control classes once, telling a control's parent
// which notification form (8-bit or wide) the control wants, reading notification codes
// that come in both forms, and copying a text into the buffer a notification hands over.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "vcl/messages.h"
#include "vcl/sysutils.h"
#include "vcl/typinfo.h"

// The order a list or tree keeps its items in (by data, by text, by both).
enum TSortType { stNone, stData, stText, stBoth };
VCL_ENUM_INFO(TSortType, "stNone", "stData", "stText", "stBoth")

// WM_NOTIFYFORMAT reflected from the parent to the control it asks about.
constexpr UINT CN_NOTIFYFORMAT = CN_BASE + WM_NOTIFYFORMAT;

// Loads the common control classes (InitCommonControlsEx with ICC_WIN95_CLASSES and
// ICC_DATE_CLASSES) once per process; every common control calls it before it makes a
// window. Returns false when the system refused.
bool InitCommonControlsOnce();

// The answer to WM_NOTIFYFORMAT (reflected as CN_NOTIFYFORMAT) of a control that wants
// its notifications wide (NFR_UNICODE) or 8-bit (NFR_ANSI). NF_REQUERY asks the control
// to ask its parent again: it is passed on to the window, so Result stays 0 then and the
// caller hands the message to the window class.
bool AnswerNotifyFormat(TMessage& Message, bool Unicode);

// Sets the notification form of a control window (CCM_SETUNICODEFORMAT), so that it no
// longer depends on what the parent window answers.
void SetControlUnicodeFormat(HWND Wnd, bool Unicode);

// Whether Code is either form of a notification whose 8-bit and wide codes are CodeA and
// CodeW (LVN_GETDISPINFOA / LVN_GETDISPINFOW...).
inline bool IsNotifyCode(UINT Code, UINT CodeA, UINT CodeW) { return Code == CodeA || Code == CodeW; }
inline bool IsNotifyCode(const NMHDR* Hdr, UINT CodeA, UINT CodeW) {
  return Hdr && IsNotifyCode(Hdr->code, CodeA, CodeW);
}
// Whether Code is the wide form of one of the notifications the common controls send in
// two forms (LVN_*W, TVN_*W, HDN_*W, TTN_*W, TCN_...).
bool IsWideNotifyCode(UINT Code);

// Copies Text into a notification's buffer of BufferSize characters: at most BufferSize - 1
// characters and a terminator. A missing buffer or one with room for less than one
// character receives nothing. Returns the characters copied (terminator not counted).
int CopyNotifyText(char* Buffer, int BufferSize, const AnsiString& Text);
int CopyNotifyText(wchar_t* Buffer, int BufferSize, const WideString& Text);
