#include "app/common/text_routines.h"

#include <algorithm>
#include <cmath>

namespace {

template <class S>
S After(const S& marker, const S& text) {
  size_t at = text.find(marker);
  if (marker.empty() || at == S::npos) return S();
  return text.substr(at + marker.size());
}

template <class S>
S Before(const S& marker, const S& text) {
  size_t at = text.find(marker);
  if (marker.empty() || at == S::npos) return S();
  return text.substr(0, at);
}

}  // namespace

AnsiString StrAfter(const AnsiString& Marker, const AnsiString& Text) { return After(Marker, Text); }
AnsiString StrBefore(const AnsiString& Marker, const AnsiString& Text) { return Before(Marker, Text); }
WideString StrAfter(const WideString& Marker, const WideString& Text) { return After(Marker, Text); }
WideString StrBefore(const WideString& Marker, const WideString& Text) { return Before(Marker, Text); }

void AppendWithBlank(AnsiString& S, const AnsiString& T, bool WithBlank) {
  if (S.empty())
    S = T;
  else
    S += (WithBlank ? " " : "") + T;
}

AnsiString ReplaceChar(AnsiString S, char FromChar, char ToChar) {
  for (char& c : S)
    if (c == FromChar) c = ToChar;
  return S;
}

long long HexToInt(const AnsiString& S) {
  if (S.empty() || S.size() > 16) throw EConvertError("'$" + S + "' is not a valid integer value");
  unsigned long long v = 0;
  for (char c : S) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      throw EConvertError("'$" + S + "' is not a valid integer value");
    v = v * 16 + d;
  }
  return static_cast<long long>(v);
}

AnsiString FormatMegabytes(int64_t Size) {
  if (Size <= 0) return "0";
  return IntToStr(std::llround(static_cast<double>(Size) / 1048576.0));
}

bool IsDecimalDigits(const AnsiString& S) {
  if (S.empty()) return false;
  for (char c : S)
    if (c < '0' || c > '9') return false;
  return true;
}

int CompareText(const AnsiString& A, const AnsiString& B) {
  auto fold = [](char c) { return static_cast<int>(static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c)); };
  const size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i)
    if (const int d = fold(A[i]) - fold(B[i])) return d;
  return A.size() < B.size() ? -1 : A.size() > B.size() ? 1 : 0;
}

WideString FillText(const WideString& Pattern, const WideString& Value) {
  WideString text = Pattern;
  const size_t at = text.find(L"%s");
  if (at != WideString::npos) text.replace(at, 2, Value);
  return text;
}
