// What the common-control wrappers (tree view, page control, progress bar) share: loading
// the control classes once, and copying answer texts into the buffers notifications give.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

// Registers the common-control window classes named by Classes (ICC_ flags) once per
// process and flag.
void InitCommonControlClasses(DWORD Classes);

// Copies Text into a notification's buffer of BufSize characters: at most BufSize - 1
// characters and a terminator. A missing buffer or one without room for the terminator
// is left alone.
void CopyNotifyText(char* Buffer, int BufSize, const AnsiString& Text);
void CopyNotifyText(wchar_t* Buffer, int BufSize, const WideString& Text);
