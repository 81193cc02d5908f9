// Basic types, exceptions and string conversions of the framework.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>

using AnsiString = std::string;   // 8-bit text in the ANSI code page
using WideString = std::wstring;  // UTF-16 (wchar_t is 16 bits under MinGW)
using WideChar = wchar_t;

// The one code page of every implicit 8-bit <-> wide conversion of the program.
// The wide text layer sets it at start-up (CP_THREAD_ACP on the NT family).
extern UINT ConversionCodePage;

// The system's conversions between a code page and UTF-16 (MultiByteToWideChar and
// WideCharToMultiByte with no flags); empty on failure.
WideString SystemCodePageToWide(const char* s, size_t len, UINT codePage);
AnsiString SystemWideToCodePage(const wchar_t* s, size_t len, UINT codePage);

// Conversions through ConversionCodePage.
WideString AnsiToWide(const AnsiString& s);
AnsiString WideToAnsi(const WideString& s);
WideString AnsiToWide(const char* s, size_t len);

// printf-style formatting into an 8-bit / wide string.
AnsiString Format(const char* fmt, ...);
WideString WideFormat(const wchar_t* fmt, ...);

AnsiString IntToStr(long long v);
AnsiString IntToHex(unsigned long long v, int digits);
AnsiString UpperCase(const AnsiString& s);  // ASCII only
AnsiString LowerCase(const AnsiString& s);  // ASCII only
AnsiString Trim(const AnsiString& s);
// Case-insensitive compare in the user locale (CompareStringA).
int AnsiCompareText(const AnsiString& a, const AnsiString& b);
int AnsiCompareStr(const AnsiString& a, const AnsiString& b);
// The same for wide text (CompareStringW in the user locale).
int WideCompareText(const WideString& a, const WideString& b);
int WideCompareStr(const WideString& a, const WideString& b);

// The system's message text for an error code (empty when the system has none).
AnsiString SysErrorMessage(DWORD code);
AnsiString ExpandFileName(const AnsiString& name);

// ---------------------------------------------------------------------------
// Exceptions. Message texts are 8-bit, as the framework's callers expect.

class Exception : public std::exception {
 public:
  explicit Exception(AnsiString msg) : Message(std::move(msg)) {}
  Exception(const char* fmt, long long arg);  // Format with one integer argument
  const char* what() const noexcept override { return Message.c_str(); }
  AnsiString Message;
  int HelpContext = 0;
};

#define VCL_DECLARE_EXCEPTION(Name, Base)            \
  class Name : public Base {                         \
   public:                                           \
    using Base::Base;                                \
  };

VCL_DECLARE_EXCEPTION(EAbort, Exception)
VCL_DECLARE_EXCEPTION(EConvertError, Exception)
VCL_DECLARE_EXCEPTION(EListError, Exception)
VCL_DECLARE_EXCEPTION(EStringListError, Exception)
VCL_DECLARE_EXCEPTION(EStreamError, Exception)
VCL_DECLARE_EXCEPTION(EFCreateError, EStreamError)
VCL_DECLARE_EXCEPTION(EFOpenError, EStreamError)
VCL_DECLARE_EXCEPTION(EReadError, EStreamError)
VCL_DECLARE_EXCEPTION(EWriteError, EStreamError)
VCL_DECLARE_EXCEPTION(EFilerError, EStreamError)
VCL_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
VCL_DECLARE_EXCEPTION(EMethodNotFound, EFilerError)
VCL_DECLARE_EXCEPTION(EResNotFound, Exception)
VCL_DECLARE_EXCEPTION(EPropertyError, Exception)
VCL_DECLARE_EXCEPTION(EInvalidOperation, Exception)
VCL_DECLARE_EXCEPTION(EOutOfResources, Exception)
VCL_DECLARE_EXCEPTION(EInvalidCast, Exception)
VCL_DECLARE_EXCEPTION(EThread, Exception)
VCL_DECLARE_EXCEPTION(EComponentError, Exception)

class EOSError : public Exception {
 public:
  EOSError(AnsiString msg, DWORD code) : Exception(std::move(msg)), ErrorCode(code) {}
  DWORD ErrorCode;
};

// Raises EOSError for GetLastError() (or the given code).
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD code);
// Raises EOSError when ok is false; returns ok.
BOOL Win32Check(BOOL ok);
