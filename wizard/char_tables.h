// Character classes and case mappings of the 8-bit code page, filled once: the type word of
// every byte (CT_CTYPE1) and its lower-case, upper-case and reversed-case forms.
#pragma once

#include <windows.h>

struct TCharTables {
  WORD Types[256];
  unsigned char Lower[256];
  unsigned char Upper[256];
  // Lower-case letters become upper-case and upper-case ones lower-case; the rest stay.
  unsigned char Reversed[256];
};

const TCharTables& CharTables();
