// Zero-terminated wide-character buffers, as the controls hand them to Windows.
// A buffer from WideBufAlloc sits in a block whose first 4 bytes hold the block's
// size in bytes (characters x 2 + 4); the pointer handed out points at the characters.
#pragma once

#include "vcl/sysutils.h"

WideChar* WideBufAlloc(size_t Size);
void WideBufDispose(WideChar* Str);  // nothing for null
// A copy of Str in a new buffer of its length + 1; null for null.
WideChar* WideBufNew(const WideChar* Str);
// Moves Count characters; the areas may overlap.
WideChar* WideBufMove(WideChar* Dest, const WideChar* Source, size_t Count);
size_t WideBufLen(const WideChar* Str);
WideChar* WideBufEnd(WideChar* Str);
const WideChar* WideBufEnd(const WideChar* Str);
// Copies until MaxLen characters or Source's terminator and always writes a terminator.
WideChar* WideBufLCopy(WideChar* Dest, const WideChar* Source, size_t MaxLen);
WideChar* WideBufCopyString(WideChar* Dest, const WideString& Source);
WideChar* WideBufCopyStringMax(WideChar* Dest, const WideString& Source, size_t MaxLen);
// The first Chr in Str, or null when the terminator comes first; searching for the
// zero character finds the terminator.
WideChar* WideBufScan(WideChar* Str, WideChar Chr);
const WideChar* WideBufScan(const WideChar* Str, WideChar Chr);
// The last character of S, null for an empty text.
const WideChar* WideBufLastChar(const WideString& S);
WideString WideBufToString(const WideChar* Str);  // empty for null
