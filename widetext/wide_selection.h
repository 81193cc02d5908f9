// Selections of edit windows counted in wide characters. A Unicode window counts in wide
// characters already; an 8-bit window counts in bytes of its 8-bit text, and positions
// are converted through the text.
#pragma once

#include <algorithm>

#include "vcl/controls.h"
#include "widetext/platform.h"
#include "widetext/wide_control_text.h"

// The wide length of the first AnsiSelStart bytes of Text.
int WideSelStartOf(const AnsiString& Text, int AnsiSelStart);
// The 8-bit length of the first WideSelStart characters of Text.
int AnsiSelStartOf(const WideString& Text, int WideSelStart);
// The 8-bit length of WideSelLength characters of Text from WideSelStart.
int AnsiSelLengthOf(const WideString& Text, int WideSelStart, int WideSelLength);
// Length characters of Text from Start, clipped to the text.
WideString WideSubText(const WideString& Text, int Start, int Length);

// The wide selection operations of a control whose framework class B has the 8-bit
// SelStart, SetSelStart, SelLength, SetSelLength and SelText.
template <class B>
struct TWideSelection {
  static int SelStart(B* C) {
    if (UnicodePlatform) return C->B::SelStart();
    return WideSelStartOf(C->TControl::Text(), C->B::SelStart());
  }
  static void SetSelStart(B* C, int Value) {
    if (UnicodePlatform)
      C->B::SetSelStart(Value);
    else
      C->B::SetSelStart(AnsiSelStartOf(UniControl_GetText(C), Value));
  }
  static WideString SelText(B* C) {
    if (UnicodePlatform) return WideSubText(UniControl_GetText(C), C->B::SelStart(), C->B::SelLength());
    return AnsiToWide(C->B::SelText());
  }
  static int SelLength(B* C) {
    if (UnicodePlatform) return C->B::SelLength();
    return static_cast<int>(SelText(C).size());
  }
  static void SetSelLength(B* C, int Value) {
    if (UnicodePlatform)
      C->B::SetSelLength(Value);
    else
      C->B::SetSelLength(AnsiSelLengthOf(UniControl_GetText(C), SelStart(C), Value));
  }
};
