#include "vcl/sysutils.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <type_traits>
#include <vector>

UINT ConversionCodePage = CP_ACP;

namespace {

// Code pages whose characters 0 to 127 are ASCII, byte for code unit both ways: the Windows
// code pages (the ANSI one of the system or the thread is always such) and UTF-8. Not UTF-7
// ('+' starts an escape there), nor EBCDIC or the escape-switching ISO-2022 pages.
bool AsciiCompatible(UINT codePage) {
  return codePage == CP_ACP || codePage == CP_THREAD_ACP || codePage == CP_UTF8 || codePage == GetACP();
}

template <class Char>
bool AllAscii(const Char* s, size_t len) {
  for (size_t i = 0; i < len; ++i)
    if (static_cast<unsigned>(static_cast<std::make_unsigned_t<Char>>(s[i])) >= 0x80) return false;
  return true;
}

}  // namespace

WideString SystemCodePageToWide(const char* s, size_t len, UINT codePage) {
  if (len == 0) return WideString();
  // Plain ASCII, the most of what passes here, needs no trip through the system.
  if (AsciiCompatible(codePage) && AllAscii(s, len)) return WideString(s, s + len);
  const int inLen = static_cast<int>(len);
  const int n = MultiByteToWideChar(codePage, 0, s, inLen, nullptr, 0);
  if (n <= 0) return WideString();
  WideString out(static_cast<size_t>(n), L'\0');
  out.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, s, inLen, out.data(), n)));
  return out;
}

AnsiString SystemWideToCodePage(const wchar_t* s, size_t len, UINT codePage) {
  if (len == 0) return AnsiString();
  if (AsciiCompatible(codePage) && AllAscii(s, len)) {
    AnsiString out(len, '\0');
    for (size_t i = 0; i < len; ++i) out[i] = static_cast<char>(s[i]);
    return out;
  }
  const int inLen = static_cast<int>(len);
  const int n = WideCharToMultiByte(codePage, 0, s, inLen, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return AnsiString();
  AnsiString out(static_cast<size_t>(n), '\0');
  out.resize(static_cast<size_t>(WideCharToMultiByte(codePage, 0, s, inLen, out.data(), n, nullptr, nullptr)));
  return out;
}

WideString AnsiToWide(const char* s, size_t len) { return SystemCodePageToWide(s, len, ConversionCodePage); }

WideString AnsiToWide(const AnsiString& s) { return AnsiToWide(s.data(), s.size()); }

AnsiString WideToAnsi(const WideString& s) { return SystemWideToCodePage(s.data(), s.size(), ConversionCodePage); }

AnsiString Format(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  va_list ap2;
  va_copy(ap2, ap);
  int n = std::vsnprintf(nullptr, 0, fmt, ap);
  va_end(ap);
  AnsiString out;
  if (n > 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, ap2);
    out.resize(static_cast<size_t>(n));
  }
  va_end(ap2);
  return out;
}

WideString WideFormat(const wchar_t* fmt, ...) {
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list ap;
    va_start(ap, fmt);
    int n = std::vswprintf(buf.data(), buf.size(), fmt, ap);
    va_end(ap);
    if (n >= 0 && static_cast<size_t>(n) < buf.size()) return WideString(buf.data(), static_cast<size_t>(n));
    buf.resize(buf.size() * 2);
  }
}

AnsiString IntToStr(long long v) { return Format("%lld", v); }

AnsiString IntToHex(unsigned long long v, int digits) { return Format("%0*llX", digits, v); }

AnsiString UpperCase(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

AnsiString LowerCase(const AnsiString& s) {
  AnsiString r = s;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

AnsiString Trim(const AnsiString& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

int AnsiCompareText(const AnsiString& a, const AnsiString& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) - CSTR_EQUAL;
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) - CSTR_EQUAL;
}

int WideCompareText(const WideString& a, const WideString& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) - CSTR_EQUAL;
}

int WideCompareStr(const WideString& a, const WideString& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size())) - CSTR_EQUAL;
}

AnsiString SysErrorMessage(DWORD code) {
  char* buf = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                               FORMAT_MESSAGE_ARGUMENT_ARRAY,
                           nullptr, code, 0, reinterpret_cast<char*>(&buf), 0, nullptr);
  AnsiString out;
  if (n && buf) {
    out.assign(buf, n);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
      out.pop_back();
  }
  if (buf) LocalFree(buf);
  return out;
}

AnsiString ExpandFileName(const AnsiString& name) {
  DWORD need = GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
  if (need == 0) return name;
  AnsiString out(need, '\0');
  DWORD n = GetFullPathNameA(name.c_str(), need, out.data(), nullptr);
  out.resize(n < need ? n : 0);
  return out.empty() ? name : out;
}

Exception::Exception(const char* fmt, long long arg) : Message(Format(fmt, arg)) {}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(DWORD code) {
  if (code != 0)
    throw EOSError(Format("System Error.  Code: %lu.\n%s", static_cast<unsigned long>(code),
                          SysErrorMessage(code).c_str()),
                   code);
  throw EOSError("A call to an OS function failed", code);
}

BOOL Win32Check(BOOL ok) {
  if (!ok) RaiseLastOSError();
  return ok;
}
