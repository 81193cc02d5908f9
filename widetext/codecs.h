// Conversions between UTF-16 text and 8-bit byte strings: a code-page-addressed
// pair, UTF-7 (RFC 2152) and UTF-8.
#pragma once

#include <cstddef>

#include "vcl/sysutils.h"
#include "widetext/platform.h"
#include "widetext/uniexceptions.h"

// Result codes of the UTF-7 buffer routines.
enum TUtf7Result : int {
  utf7Complete = 0,         // the whole source was converted
  utf7SourceIllegal = 1,    // the source was ill-formed (conversion went on to the end)
  utf7TargetExhausted = 2,  // the target buffer ran out
};

// Encodes Count code units of Source into at most TargetSize bytes; Written gets
// the bytes produced. OptionalDirect writes the optional direct set (!"#$%&*;<=>@[]^_`{|})
// as itself; Verbose closes every base64 run with "-".
int Utf7EncodeBuffer(const WideChar* Source, size_t Count, char* Target, size_t TargetSize, size_t& Written,
                     bool OptionalDirect, bool Verbose);
// Decodes Count bytes of Source into at most TargetSize code units; Written gets
// the code units produced.
int Utf7DecodeBuffer(const char* Source, size_t Count, WideChar* Target, size_t TargetSize, size_t& Written);

// Raise EUniGeneralError "Invalid UTF7" on ill-formed input.
AnsiString WideToUtf7(const WideString& WS);
WideString Utf7ToWide(const AnsiString& S);

// Standard UTF-8: a surrogate pair becomes one 4-byte form; a lone surrogate
// (no text, only half of one) becomes U+FFFD.
AnsiString Utf8Encode(const WideChar* WS, size_t Count);
AnsiString Utf8Encode(const WideString& WS);
// Every ill-formed or truncated sequence becomes one U+FFFD; the rest of the text
// survives.
WideString Utf8Decode(const char* S, size_t Count);
WideString Utf8Decode(const AnsiString& S);
// The same into Out, whose room is used again (a caller decoding line after line).
void Utf8DecodeInto(const char* S, size_t Count, WideString& Out);

// CP_UTF7 (65000) and CP_UTF8 (65001) go through the codecs above, every other code
// page through the system's conversion.
WideString CodePageToWide(const AnsiString& S, UINT CodePage);
AnsiString WideToCodePage(const WideString& WS, UINT CodePage);

// The start-up rule for ConversionCodePage: CP_THREAD_ACP on the NT family from
// version 5 on, otherwise the default ANSI code page of the thread locale.
UINT DefaultConversionCodePage(DWORD PlatformId, DWORD MajorVersion);
// Sets ConversionCodePage by that rule. Runs during program initialisation with
// ReadPlatformVersion(), before the platform flags are set.
void InitConversionCodePage(const TPlatformVersion& Version);
// The default ANSI code page of a locale (LOCALE_IDEFAULTANSICODEPAGE as a decimal
// number; GetACP() when it does not parse).
UINT LocaleAnsiCodePage(LCID Locale);
