#include "app/ui/key_filter.h"

#include <windows.h>

wchar_t LocaleDecimalSeparator() {
  wchar_t buffer[8] = {};
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 0 ? buffer[0] : L'.';
}

void FilterKey(char& Key, const std::function<bool(wchar_t)>& Accepts) {
  wchar_t wide = 0;
  MultiByteToWideChar(CP_ACP, 0, &Key, 1, &wide, 1);
  if (!Accepts(wide)) Key = 0;
}
