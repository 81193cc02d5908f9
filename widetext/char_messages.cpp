#include "widetext/char_messages.h"

#include "widetext/uniexceptions.h"

namespace {

constexpr WORD kAnsiSafeCode = 255;

// A broken precondition is a fault of the layer, never of the user's input.
void Require(bool Condition, const char* What) {
  if (!Condition) throw EUniInternalError(Format("Assertion failed in UniControls: %s", What));
}

WORD CodeOf(const TMessage& M) { return LOWORD(M.WParam); }
WORD HighWordOf(const TMessage& M) { return HIWORD(M.WParam); }

// wParam's upper 32 bits (x64) are left as they were.
void SetCodeAndHighWord(TMessage& M, WORD Code, WORD High) {
  M.WParam = (M.WParam & ~static_cast<WPARAM>(0xFFFFFFFF)) | (static_cast<WPARAM>(High) << 16) | Code;
}

}  // namespace

void MakeCharMessageAnsiSafe(TMessage& Message) {
  Require(Message.Msg == WM_CHAR, "not a character message");
  Require(HighWordOf(Message) == 0, "character message already ANSI-safe");
  WORD code = CodeOf(Message);
  if (code > kAnsiSafeCode) SetCodeAndHighWord(Message, kAnsiSafeCode, code);
}

void RestoreCharMessage(TMessage& Message) {
  Require(Message.Msg == WM_CHAR, "not a character message");
  WORD code = CodeOf(Message);
  WORD high = HighWordOf(Message);
  // A handler that replaced the character (a code other than 255) has the last word.
  if (high != 0 && code == kAnsiSafeCode) code = high;
  SetCodeAndHighWord(Message, code, 0);
}

WideChar WideCharOfCharMessage(const TMessage& Message) {
  WORD code = CodeOf(Message);
  WORD high = HighWordOf(Message);
  return static_cast<WideChar>(code == kAnsiSafeCode && high != 0 ? high : code);
}

void SetWideCharOfCharMessage(TMessage& Message, WideChar Char) {
  SetCodeAndHighWord(Message, static_cast<WORD>(Char), 0);
  MakeCharMessageAnsiSafe(Message);
}
