#include "app/commands/command_line_quote.h"

namespace {

template <typename String>
String Quote(const String& Value) {
  using Char = typename String::value_type;
  String out;
  out.reserve(Value.size() + 2);
  out.push_back(Char('"'));
  size_t backslashes = 0;
  for (Char c : Value) {
    if (c == Char('\\')) {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are read in pairs, so they go out doubled, and the quote
    // itself gets one more backslash; anywhere else they are plain characters.
    if (c == Char('"')) {
      out.append(backslashes * 2 + 1, Char('\\'));
    } else {
      out.append(backslashes, Char('\\'));
    }
    backslashes = 0;
    out.push_back(c);
  }
  // The closing quote follows: trailing backslashes must not escape it.
  out.append(backslashes * 2, Char('\\'));
  out.push_back(Char('"'));
  return out;
}

}  // namespace

AnsiString QuoteArgument(const AnsiString& Value) { return Quote(Value); }

WideString QuoteArgument(const WideString& Value) { return Quote(Value); }
