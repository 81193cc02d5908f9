// A clipboard that writes wide text: the 8-bit form as CF_TEXT and the whole text as
// CF_UNICODETEXT, side by side.
#pragma once

#include "vcl/clipbrd.h"

class TUniClipboard : public TClipboard {
  VCL_CLASS(TUniClipboard)
 public:
  TUniClipboard() = default;
  void SetWideText(const WideString& Value);
};

// The process's wide clipboard (made on first use).
TUniClipboard* WideClipboard();
