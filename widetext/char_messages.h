// Character messages made safe for the framework's 8-bit key handling. A Unicode window
// receives WM_CHAR with any UTF-16 code unit, but the framework's key handlers hold one
// 8-bit character. A code above 255 is parked in the high word of wParam (which the
// framework never touches) and the code itself set to 255 while the framework handles the
// message; before the window class sees the message the code is taken back.
#pragma once

#include "vcl/messages.h"
#include "vcl/sysutils.h"

// Before the framework's handlers. Requires WM_CHAR with a high word of 0.
void MakeCharMessageAnsiSafe(TMessage& Message);
// Before the window's default procedure. Requires WM_CHAR; the high word is 0 afterwards.
void RestoreCharMessage(TMessage& Message);
// The character a (possibly ANSI-safe) WM_CHAR stands for.
WideChar WideCharOfCharMessage(const TMessage& Message);
// Makes the message stand for Char, ANSI-safe.
void SetWideCharOfCharMessage(TMessage& Message, WideChar Char);
