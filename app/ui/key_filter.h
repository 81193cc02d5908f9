// The numeric edits' key filters, as the window hands a typed key to OnKeyPress.
#pragma once

#include <functional>

// The user's decimal separator ("." when the locale gives none).
wchar_t LocaleDecimalSeparator();
// The typed 8-bit key widened and put to Accepts; a refused key becomes none (0).
void FilterKey(char& Key, const std::function<bool(wchar_t)>& Accepts);
