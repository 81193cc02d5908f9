#include "widetext/resstrings.h"

#include <cstring>

#include "widetext/codecs.h"
#include "widetext/platform.h"

WideString LoadWideResString(const TResStringRec* ResStringRec) {
  if (!ResStringRec) return WideString();
  if (ResStringRec->Identifier < 0x10000) {
    const HMODULE module = ResStringRec->Module ? *ResStringRec->Module : nullptr;
    WideChar buffer[4097];
    const int n = Uni_LoadStringW(module, static_cast<UINT>(ResStringRec->Identifier), buffer, 4097);
    return n > 0 ? WideString(buffer, static_cast<size_t>(n)) : WideString();
  }
  const char* literal = reinterpret_cast<const char*>(ResStringRec->Identifier);
  const size_t length = std::strlen(literal);
  if (length > 3 && std::memcmp(literal, "\xEF\xBB\xBF", 3) == 0) return Utf8Decode(literal + 3, length - 3);
  return CodePageToWide(AnsiString(literal, length), ConversionCodePage);
}
