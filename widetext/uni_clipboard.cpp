#include "widetext/uni_clipboard.h"

VCL_CLASS_IMPL(TUniClipboard, TClipboard, nullptr, nullptr)

TUniClipboard* WideClipboard() {
  // Lives as long as the program.
  static TUniClipboard* clipboard = new TUniClipboard;
  return clipboard;
}

void TUniClipboard::SetWideText(const WideString& Value) {
  Open();
  struct Closer {
    TUniClipboard* c;
    ~Closer() { c->Close(); }
  } closer{this};
  SetAsText(WideToAnsi(Value));
  SetBuffer(CF_UNICODETEXT, Value.c_str(), (Value.size() + 1) * sizeof(WideChar));
}
