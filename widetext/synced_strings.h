// Keeping a wide value in step with its 8-bit copy, for components whose underlying
// window or framework property holds only the 8-bit text.
#pragma once

#include <functional>

#include "vcl/sysutils.h"

// The wide value, unless the 8-bit copy was changed behind it: then WideStr becomes
// the 8-bit text converted, and that is returned.
WideString GetSyncedWideString(WideString& WideStr, const AnsiString& AnsiStr);

// Stores Value as the wide value and hands its 8-bit form to SetAnsiStr. When Value
// has characters the code page lacks and its 8-bit form equals the current 8-bit
// text, SetAnsiStr first gets an empty text so that the 8-bit side sees a change.
void SetSyncedWideString(const WideString& Value, WideString& WideStr, const AnsiString& AnsiStr,
                         const std::function<void(const AnsiString&)>& SetAnsiStr);
