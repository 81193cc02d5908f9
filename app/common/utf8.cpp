#include "app/common/utf8.h"

AnsiString WideToUtf8(const WideString& W) {
  AnsiString out;
  out.reserve(W.size() * 3);
  for (size_t i = 0; i < W.size(); ++i) {
    unsigned c = static_cast<unsigned short>(W[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < W.size()) {
      unsigned low = static_cast<unsigned short>(W[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

WideString Utf8ToWide(const AnsiString& S) {
  WideString out;
  out.reserve(S.size());
  size_t i = 0;
  while (i < S.size()) {
    unsigned char lead = static_cast<unsigned char>(S[i]);
    int extra;
    unsigned c, min;
    if (lead < 0x80) {
      out += static_cast<wchar_t>(lead);
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, c = lead & 0x07, min = 0x10000;
    } else {
      break;  // a continuation byte without its lead, or no UTF-8 lead at all
    }
    if (i + extra >= S.size()) break;  // truncated
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char b = static_cast<unsigned char>(S[i + k]);
      if ((b & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (b & 0x3F);
    }
    if (!ok || c < min || c > 0x10FFFF) break;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (c >> 10));
      out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<wchar_t>(c);
    }
    i += extra + 1;
  }
  return out;
}
