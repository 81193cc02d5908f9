#include "widetext/codecs.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

// ---------------------------------------------------------------------------
// UTF-7 character classes (RFC 2152).

const char kBase64Chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char kDirectChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?";
const char kOptionalDirectChars[] = "!\"#$%&*;<=>@[]^_`{|}";
const char kSpaces[] = "\t\r\n ";

struct Utf7Tables {
  std::array<bool, 128> mustShiftSafe{};      // optional set shifted too
  std::array<bool, 128> mustShiftOptional{};  // optional set written directly
  std::array<signed char, 128> invBase64{};

  Utf7Tables() {
    mustShiftSafe.fill(true);
    mustShiftOptional.fill(true);
    invBase64.fill(-1);
    for (const char* p = kDirectChars; *p; ++p) mustShiftSafe[*p] = mustShiftOptional[*p] = false;
    for (const char* p = kSpaces; *p; ++p) mustShiftSafe[*p] = mustShiftOptional[*p] = false;
    for (const char* p = kOptionalDirectChars; *p; ++p) mustShiftOptional[*p] = false;
    for (int i = 0; i < 64; ++i) invBase64[kBase64Chars[i]] = static_cast<signed char>(i);
  }
};

// Built on the first UTF-7 call.
const Utf7Tables& Tables() {
  static const Utf7Tables tables;
  return tables;
}

bool IsBase64Char(WideChar c) { return c < 128 && Tables().invBase64[c] >= 0; }

}  // namespace

int Utf7EncodeBuffer(const WideChar* Source, size_t Count, char* Target, size_t TargetSize, size_t& Written,
                     bool OptionalDirect, bool Verbose) {
  const auto& mustShift = OptionalDirect ? Tables().mustShiftOptional : Tables().mustShiftSafe;
  bool shifted = false;
  uint32_t bitBuffer = 0;
  int bitCount = 0;
  size_t out = 0;
  int result = utf7Complete;
  auto put = [&](char ch) {
    if (out >= TargetSize) return false;
    Target[out++] = ch;
    return true;
  };

  // One step per code unit, and one more at the end to close an open run.
  for (size_t i = 0; i <= Count; ++i) {
    const bool atEnd = i == Count;
    const WideChar c = atEnd ? 0 : Source[i];
    const bool needShift = !atEnd && (c > 127 || mustShift[c]);

    if (needShift && !shifted) {
      if (!put('+')) { result = utf7TargetExhausted; break; }
      if (c == L'+') {
        // A plus sign on its own is written "+-".
        if (!put('-')) { result = utf7TargetExhausted; break; }
      } else {
        shifted = true;
      }
    }

    if (shifted) {
      if (needShift) {
        bitBuffer = (bitBuffer << 16) | c;
        bitCount += 16;
      } else if (bitCount % 6 != 0) {
        const int pad = 6 - bitCount % 6;
        bitBuffer <<= pad;
        bitCount += pad;
      }
      bool full = false;
      while (bitCount >= 6) {
        bitCount -= 6;
        if (!put(kBase64Chars[(bitBuffer >> bitCount) & 0x3F])) { full = true; break; }
      }
      bitBuffer &= (1u << bitCount) - 1;
      if (full) { result = utf7TargetExhausted; break; }
      if (!needShift) {
        if (Verbose || (!atEnd && (IsBase64Char(c) || c == L'-'))) {
          if (!put('-')) { result = utf7TargetExhausted; break; }
        }
        shifted = false;
      }
    }

    if (!needShift && !atEnd) {
      if (!put(static_cast<char>(c))) { result = utf7TargetExhausted; break; }
    }
  }
  Written = out;
  return result;
}

int Utf7DecodeBuffer(const char* Source, size_t Count, WideChar* Target, size_t TargetSize, size_t& Written) {
  const auto& inv = Tables().invBase64;
  bool shifted = false;
  bool first = false;    // no base64 character yet in this run
  bool wroteOne = false;  // this run produced a code unit
  uint32_t bitBuffer = 0;
  int bitCount = 0;
  size_t in = 0, out = 0;
  int result = utf7Complete;

  for (;;) {
    bool atEnd = in >= Count;
    unsigned char c = atEnd ? 0 : static_cast<unsigned char>(Source[in++]);

    if (shifted) {
      const bool runEnds = atEnd || c > 127 || inv[c] < 0;
      if (runEnds) {
        shifted = false;
        if (!atEnd && (c == '+' || c == '-')) {
          const unsigned char ending = c;
          atEnd = in >= Count;
          c = atEnd ? 0 : static_cast<unsigned char>(Source[in++]);
          if (first && ending == '-') {
            // "+-" stands for a plus sign.
            if (out >= TargetSize) { result = utf7TargetExhausted; break; }
            Target[out++] = L'+';
            wroteOne = true;
          } else if (!wroteOne) {
            result = utf7SourceIllegal;
          }
        } else if (!wroteOne) {
          result = utf7SourceIllegal;
        }
        // The padding that closes a run must be zero bits.
        if (bitCount > 0 && (bitBuffer & ((1u << bitCount) - 1)) != 0) result = utf7SourceIllegal;
        bitBuffer = 0;
        bitCount = 0;
      } else {
        bitBuffer = (bitBuffer << 6) | static_cast<uint32_t>(inv[c]);
        bitCount += 6;
        first = false;
        if (bitCount >= 16) {
          if (out >= TargetSize) { result = utf7TargetExhausted; break; }
          bitCount -= 16;
          Target[out++] = static_cast<WideChar>((bitBuffer >> bitCount) & 0xFFFF);
          bitBuffer &= (1u << bitCount) - 1;
          wroteOne = true;
        }
      }
    }

    if (!shifted && !atEnd) {
      if (c == '+') {
        shifted = true;
        first = true;
        wroteOne = false;
      } else {
        if (out >= TargetSize) { result = utf7TargetExhausted; break; }
        // A byte above 127 has no place in UTF-7; it is kept and reported.
        if (c > 127) result = utf7SourceIllegal;
        Target[out++] = c;
      }
    }
    if (atEnd) break;
  }
  Written = out;
  return result;
}

AnsiString WideToUtf7(const WideString& WS) {
  if (WS.empty()) return AnsiString();
  AnsiString out(WS.size() * 7, '\0');
  size_t written = 0;
  if (Utf7EncodeBuffer(WS.data(), WS.size(), out.data(), out.size(), written, true, false) != utf7Complete)
    throw EUniInternalError("Buffer overflow");
  out.resize(written);
  return out;
}

WideString Utf7ToWide(const AnsiString& S) {
  if (S.empty()) return WideString();
  WideString out(S.size(), L'\0');
  size_t written = 0;
  switch (Utf7DecodeBuffer(S.data(), S.size(), out.data(), out.size(), written)) {
    case utf7SourceIllegal:
      throw EUniGeneralError("Invalid UTF7");
    case utf7TargetExhausted:
      throw EUniInternalError("Buffer overflow");
    default:
      break;
  }
  out.resize(written);
  return out;
}

// ---------------------------------------------------------------------------
// UTF-8. Surrogate pairs are one 4-byte form each and bad input is replaced
// sequence by sequence with U+FFFD; the text around a bad byte is kept.

namespace {

constexpr WideChar kReplacement = 0xFFFD;

bool IsHighSurrogate(WideChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WideChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Calls emit(code point) for each code point of the UTF-16 text; a lone surrogate
// is U+FFFD.
template <typename Emit>
void ForEachCodePoint(const WideChar* s, size_t n, Emit emit) {
  for (size_t i = 0; i < n; ++i) {
    const uint32_t c = s[i];
    if (c < 0xD800 || c > 0xDFFF) {
      emit(c);
    } else if (IsHighSurrogate(static_cast<WideChar>(c)) && i + 1 < n && IsLowSurrogate(s[i + 1])) {
      emit(0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(s[i + 1]) - 0xDC00));
      ++i;
    } else {
      emit(kReplacement);
    }
  }
}

size_t Utf8Length(uint32_t cp) { return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4; }

}  // namespace

AnsiString Utf8Encode(const WideChar* WS, size_t Count) {
  size_t size = 0;
  ForEachCodePoint(WS, Count, [&](uint32_t cp) { size += Utf8Length(cp); });
  AnsiString out(size, '\0');
  char* p = out.data();
  ForEachCodePoint(WS, Count, [&](uint32_t cp) {
    if (cp < 0x80) {
      *p++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
      *p++ = static_cast<char>(0xC0 | (cp >> 6));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (cp >> 12));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *p++ = static_cast<char>(0xF0 | (cp >> 18));
      *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  });
  return out;
}

AnsiString Utf8Encode(const WideString& WS) { return Utf8Encode(WS.data(), WS.size()); }

WideString Utf8Decode(const char* S, size_t Count) {
  WideString out;
  Utf8DecodeInto(S, Count, out);
  return out;
}

void Utf8DecodeInto(const char* S, size_t Count, WideString& out) {
  const auto* s = reinterpret_cast<const unsigned char*>(S);
  // UTF-16 never needs more code units than UTF-8 has bytes.
  out.resize(Count);
  WideChar* p = out.data();
  size_t i = 0;
  while (i < Count) {
    const unsigned char lead = s[i];
    if (lead < 0x80) {
      *p++ = lead;
      ++i;
      continue;
    }
    // The well-formed byte sequences of the Unicode standard (table 3-7): the range
    // of the second byte depends on the lead byte, which rules out overlong forms,
    // encoded surrogates and code points above U+10FFFF.
    int need;
    uint32_t cp;
    unsigned char lower = 0x80, upper = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      need = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      need = 2;
      cp = lead & 0x0F;
      if (lead == 0xE0) lower = 0xA0;
      if (lead == 0xED) upper = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      need = 3;
      cp = lead & 0x07;
      if (lead == 0xF0) lower = 0x90;
      if (lead == 0xF4) upper = 0x8F;
    } else {
      *p++ = kReplacement;
      ++i;
      continue;
    }
    size_t j = i + 1;
    int got = 0;
    while (got < need && j < Count && s[j] >= lower && s[j] <= upper) {
      cp = (cp << 6) | (s[j] & 0x3F);
      ++j;
      ++got;
      lower = 0x80;
      upper = 0xBF;
    }
    // A truncated or broken sequence counts once, up to the byte that broke it;
    // that byte starts the next sequence.
    i = j;
    if (got < need) {
      *p++ = kReplacement;
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      *p++ = static_cast<WideChar>(0xD800 + (cp >> 10));
      *p++ = static_cast<WideChar>(0xDC00 + (cp & 0x3FF));
    } else {
      *p++ = static_cast<WideChar>(cp);
    }
  }
  out.resize(static_cast<size_t>(p - out.data()));
}

WideString Utf8Decode(const AnsiString& S) { return Utf8Decode(S.data(), S.size()); }

// ---------------------------------------------------------------------------
// Code pages.

WideString CodePageToWide(const AnsiString& S, UINT CodePage) {
  if (CodePage == CP_UTF7) return Utf7ToWide(S);
  if (CodePage == CP_UTF8) return Utf8Decode(S);
  return SystemCodePageToWide(S.data(), S.size(), CodePage);
}

AnsiString WideToCodePage(const WideString& WS, UINT CodePage) {
  if (CodePage == CP_UTF7) return WideToUtf7(WS);
  if (CodePage == CP_UTF8) return Utf8Encode(WS);
  return SystemWideToCodePage(WS.data(), WS.size(), CodePage);
}

UINT LocaleAnsiCodePage(LCID Locale) {
  // The 8-bit query: this rule is for systems without wide entry points.
  char buf[6] = {};
  if (GetLocaleInfoA(Locale, LOCALE_IDEFAULTANSICODEPAGE, buf, 6) > 0) {
    char* end = nullptr;
    const unsigned long cp = std::strtoul(buf, &end, 10);
    if (end != buf && *end == '\0') return static_cast<UINT>(cp);
  }
  return GetACP();
}

UINT DefaultConversionCodePage(DWORD PlatformId, DWORD MajorVersion) {
  if (PlatformId == VER_PLATFORM_WIN32_NT && MajorVersion >= 5) return CP_THREAD_ACP;
  return LocaleAnsiCodePage(GetThreadLocale());
}

void InitConversionCodePage(const TPlatformVersion& Version) {
  ConversionCodePage = DefaultConversionCodePage(Version.PlatformId, Version.Major);
}

namespace {

// The code page comes first: every conversion made while the program initialises
// (flags and static objects included) goes through it.
struct TConversionCodePageStartup {
  TConversionCodePageStartup() { InitConversionCodePage(ReadPlatformVersion()); }
};
__attribute__((init_priority(200))) TConversionCodePageStartup startup;

}  // namespace
