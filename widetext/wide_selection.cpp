#include "widetext/wide_selection.h"

int WideSelStartOf(const AnsiString& Text, int AnsiSelStart) {
  size_t n = static_cast<size_t>(std::clamp<int>(AnsiSelStart, 0, static_cast<int>(Text.size())));
  return static_cast<int>(AnsiToWide(Text.substr(0, n)).size());
}

int AnsiSelStartOf(const WideString& Text, int WideSelStart) {
  return static_cast<int>(WideToAnsi(WideSubText(Text, 0, WideSelStart)).size());
}

int AnsiSelLengthOf(const WideString& Text, int WideSelStart, int WideSelLength) {
  return static_cast<int>(WideToAnsi(WideSubText(Text, WideSelStart, WideSelLength)).size());
}

WideString WideSubText(const WideString& Text, int Start, int Length) {
  if (Start < 0 || Length <= 0 || static_cast<size_t>(Start) >= Text.size()) return WideString();
  return Text.substr(static_cast<size_t>(Start), static_cast<size_t>(Length));
}
