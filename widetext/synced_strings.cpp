#include "widetext/synced_strings.h"

WideString GetSyncedWideString(WideString& WideStr, const AnsiString& AnsiStr) {
  if (WideToAnsi(WideStr) != AnsiStr) WideStr = AnsiToWide(AnsiStr);
  return WideStr;
}

void SetSyncedWideString(const WideString& Value, WideString& WideStr, const AnsiString& AnsiStr,
                         const std::function<void(const AnsiString&)>& SetAnsiStr) {
  if (Value == GetSyncedWideString(WideStr, AnsiStr)) return;
  const AnsiString ansiValue = WideToAnsi(Value);
  if (AnsiToWide(ansiValue) != Value && ansiValue == AnsiStr) SetAnsiStr(AnsiString());
  WideStr = Value;
  SetAnsiStr(ansiValue);
}
