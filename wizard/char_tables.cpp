#include "wizard/char_tables.h"

namespace {

TCharTables BuildCharTables() {
  TCharTables t{};
  char chars[256];
  for (int i = 0; i < 256; ++i) chars[i] = static_cast<char>(i);
  GetStringTypeExA(LOCALE_USER_DEFAULT, CT_CTYPE1, chars, 256, t.Types);
  char lower[256], upper[256];
  for (int i = 0; i < 256; ++i) lower[i] = upper[i] = static_cast<char>(i);
  CharLowerBuffA(lower, 256);
  CharUpperBuffA(upper, 256);
  for (int i = 0; i < 256; ++i) {
    t.Lower[i] = static_cast<unsigned char>(lower[i]);
    t.Upper[i] = static_cast<unsigned char>(upper[i]);
    if (t.Types[i] & C1_LOWER) t.Reversed[i] = t.Upper[i];
    else if (t.Types[i] & C1_UPPER) t.Reversed[i] = t.Lower[i];
    else t.Reversed[i] = static_cast<unsigned char>(i);
  }
  return t;
}

}  // namespace

const TCharTables& CharTables() {
  static const TCharTables tables = BuildCharTables();
  return tables;
}
