#include <gtest/gtest.h>

#include "widetext/codecs.h"
#include "widetext/platform.h"

namespace {

struct Utf7Case {
  const wchar_t* wide;
  const char* utf7;  // what the encoder writes (optional direct on, verbose off)
};

// RFC 2152's examples and the shapes the encoder must get right.
const Utf7Case kUtf7Cases[] = {
    {L"", ""},
    {L"A+B", "A+-B"},
    {L"+", "+-"},
    {L"Hi Mom -\u263A-!", "Hi Mom -+Jjo--!"},
    {L"A\u2262\u0391.", "A+ImIDkQ."},
    {L"\u65E5\u672C\u8A9E", "+ZeVnLIqe"},  // a run at the very end is closed without "-"
    {L"\u65E5\u672C\u8A9Ex", "+ZeVnLIqe-x"},  // "-" because x is a base64 character
    {L"\u03B1 b", "+A7E b"},
    {L"a\tb\r\nc", "a\tb\r\nc"},
    {L"~\\", "+AH4AXA"},  // neither direct nor optional direct
    {L"Item 3 is \u00A31.", "Item 3 is +AKM-1."},
    {L"\xD83D\xDE00", "+2D3eAA"},  // surrogates are code units like any other
};

TEST(Utf7, EncodesAndRoundTrips) {
  for (const auto& c : kUtf7Cases) {
    SCOPED_TRACE(c.utf7);
    EXPECT_EQ(WideToUtf7(c.wide), c.utf7);
    EXPECT_EQ(Utf7ToWide(c.utf7), c.wide);
  }
}

TEST(Utf7, DecodesOtherWellFormedSpellings) {
  const struct {
    const char* utf7;
    const wchar_t* wide;
  } cases[] = {
      {"+-", L"+"},
      {"+AGE", L"a"},
      {"+AGE-x", L"ax"},
      {"+ZeVnLIqe-", L"\u65E5\u672C\u8A9E"},  // RFC 2152's own closing "-"
      {"Hi Mom -+Jjo--!", L"Hi Mom -\u263A-!"},
      {"+-+-", L"++"},
      {"a+AGE-+AGI-", L"aab"},  // one run straight after another
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf7);
    EXPECT_EQ(Utf7ToWide(c.utf7), c.wide);
  }
}

TEST(Utf7, RejectsIllFormedInput) {
  const char* const bad[] = {
      "+A",       // a run that produced nothing
      "+AGF-",    // non-zero pad bits
      "+",        // empty run at the end
      "+.",       // empty run ended by another character
      "++",       // "+" ending an empty run is not the escape
      "caf\xE9",  // 8-bit byte
  };
  for (const char* s : bad) {
    SCOPED_TRACE(s);
    try {
      Utf7ToWide(s);
      ADD_FAILURE() << "no exception";
    } catch (const EUniGeneralError& e) {
      EXPECT_STREQ(e.what(), "Invalid UTF7");
    }
  }
}

TEST(Utf7, BufferRoutinesReportShortTargets) {
  const wchar_t src[] = L"\u263A\u263A";
  char target[3];
  size_t written = 0;
  EXPECT_EQ(Utf7EncodeBuffer(src, 2, target, sizeof target, written, true, false), utf7TargetExhausted);
  EXPECT_EQ(written, 3u);

  wchar_t wide[2];
  EXPECT_EQ(Utf7DecodeBuffer("abc", 3, wide, 2, written), utf7TargetExhausted);
  EXPECT_EQ(written, 2u);

  // An error does not stop decoding: the rest is still converted.
  wchar_t rest[8];
  EXPECT_EQ(Utf7DecodeBuffer("+.ab", 4, rest, 8, written), utf7SourceIllegal);
  EXPECT_EQ(WideString(rest, written), L".ab");

  // Without optional-direct the optional set is shifted; verbose closes every run.
  char safe[16];
  EXPECT_EQ(Utf7EncodeBuffer(L"!", 1, safe, sizeof safe, written, false, true), utf7Complete);
  EXPECT_EQ(AnsiString(safe, written), "+ACE-");
}

struct Utf8Case {
  const wchar_t* wide;
  const char* utf8;
};

const Utf8Case kUtf8Cases[] = {
    {L"", ""},
    {L"plain", "plain"},
    {L"\u00E9t\u00E9", "\xC3\xA9t\xC3\xA9"},
    {L"\u03B1\u03B2\u03B3", "\xCE\xB1\xCE\xB2\xCE\xB3"},
    {L"\u65E5\u672C", "\xE6\x97\xA5\xE6\x9C\xAC"},
    {L"\u07FF\u0800\uFFFF", "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
    {L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},                  // U+1F600 as one 4-byte form
    {L"a\xDBFF\xDFFFz", "a\xF4\x8F\xBF\xBFz"},              // U+10FFFF
    {L"\xD800\xDC00", "\xF0\x90\x80\x80"},                  // U+10000
};

TEST(Utf8, EncodesAndRoundTrips) {
  for (const auto& c : kUtf8Cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8Encode(c.wide), c.utf8);
    EXPECT_EQ(Utf8Decode(c.utf8), c.wide);
  }
  const WideString withZero(L"a\0b", 3);
  EXPECT_EQ(Utf8Decode(Utf8Encode(withZero)), withZero);
}

TEST(Utf8, LoneSurrogatesEncodeAsReplacementCharacter) {
  EXPECT_EQ(Utf8Encode(WideString(L"a\xD800z")), "a\xEF\xBF\xBDz");
  EXPECT_EQ(Utf8Encode(WideString(L"\xDC00")), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8Encode(WideString(L"\xD83D")), "\xEF\xBF\xBD");  // high half at the end
}

TEST(Utf8, EachBadSequenceBecomesOneReplacementCharacter) {
  const struct {
    const char* utf8;
    const wchar_t* wide;
  } cases[] = {
      {"ab\xE6\x97", L"ab\uFFFD"},                      // truncated at the end
      {"\xC3", L"\uFFFD"},                              // a lone lead byte at the end
      {"x\x80y", L"x\uFFFDy"},                          // stray continuation byte
      {"\x80\x80", L"\uFFFD\uFFFD"},                    // each one counts
      {"\xC3(", L"\uFFFD("},                            // broken pair: the next byte survives
      {"\xE6\x97(", L"\uFFFD("},                        // broken triple counts once
      {"\xC0\xAF", L"\uFFFD\uFFFD"},                    // overlong "/"
      {"\xE0\x80\xAF", L"\uFFFD\uFFFD\uFFFD"},          // overlong 3-byte form
      {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},          // encoded surrogate
      {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xF5\xFF", L"\uFFFD\uFFFD"},                    // bytes that never occur
      {"\xF0\x9F\x98", L"\uFFFD"},                      // truncated 4-byte form
      {"line 1\r\nl\xE9gende\r\nline 3", L"line 1\r\nl\uFFFDgende\r\nline 3"},  // 8-bit text in a UTF-8 file
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Utf8Decode(c.utf8), c.wide);
  }
}

TEST(CodePages, SelectTheCodec) {
  EXPECT_EQ(CodePageToWide("A+ImIDkQ.", CP_UTF7), L"A\u2262\u0391.");
  EXPECT_EQ(WideToCodePage(L"A\u2262\u0391.", CP_UTF7), "A+ImIDkQ.");
  EXPECT_EQ(CodePageToWide("\xF0\x9F\x98\x80", CP_UTF8), L"\xD83D\xDE00");
  EXPECT_EQ(WideToCodePage(L"\xD83D\xDE00", CP_UTF8), "\xF0\x9F\x98\x80");
  EXPECT_EQ(CodePageToWide("caf\xE9", 1252), L"caf\u00E9");
  EXPECT_EQ(WideToCodePage(L"caf\u00E9", 1252), "caf\xE9");
  EXPECT_EQ(CodePageToWide("\xE1\xE2", 1253), L"\u03B1\u03B2");
  EXPECT_EQ(WideToCodePage(L"\u03B1\u03B2", 1253), "\xE1\xE2");
  // Outside the code page: the code page's default character.
  EXPECT_EQ(WideToCodePage(L"\u65E5", 1252), "?");
  EXPECT_EQ(CodePageToWide("", 1252), L"");
  EXPECT_EQ(WideToCodePage(L"", 1253), "");
  // Zero bytes are text like any other.
  EXPECT_EQ(CodePageToWide(AnsiString("a\0b", 3), 1252), WideString(L"a\0b", 3));
}

TEST(CodePages, StartUpRule) {
  EXPECT_EQ(DefaultConversionCodePage(VER_PLATFORM_WIN32_NT, 5), static_cast<UINT>(CP_THREAD_ACP));
  EXPECT_EQ(DefaultConversionCodePage(VER_PLATFORM_WIN32_NT, 6), static_cast<UINT>(CP_THREAD_ACP));
  // Older systems: the default ANSI code page of the thread locale.
  EXPECT_EQ(DefaultConversionCodePage(VER_PLATFORM_WIN32_WINDOWS, 4), LocaleAnsiCodePage(GetThreadLocale()));
  EXPECT_EQ(DefaultConversionCodePage(VER_PLATFORM_WIN32_NT, 4), LocaleAnsiCodePage(GetThreadLocale()));
  EXPECT_EQ(LocaleAnsiCodePage(MAKELCID(MAKELANGID(LANG_GREEK, SUBLANG_DEFAULT), SORT_DEFAULT)), 1253u);
  EXPECT_EQ(LocaleAnsiCodePage(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT)), 932u);
  // The program itself was started with the rule applied.
  EXPECT_EQ(ConversionCodePage, static_cast<UINT>(CP_THREAD_ACP));
  EXPECT_EQ(AnsiToWide("caf\xE9"), L"caf\u00E9");
}

}  // namespace

// Whatever the text, the 8-bit conversions give what the system's own gives, both ways, for
// the code pages where plain ASCII skips the system and for those where it must not.
TEST(CodePages, ConversionsMatchTheSystemsOwn) {
  auto systemToWide = [](const AnsiString& s, UINT cp) {
    const int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    WideString out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
  };
  auto systemToAnsi = [](const WideString& s, UINT cp) {
    const int n = WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    AnsiString out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
  };
  const WideString texts[] = {L"plain words 123 ~\\+-", WideString(L"nul\0inside\x7f\x01", 12), L"Gr\x00fc\x00df" L"e",
                              L"\x039a\x03b1 + \x65e5\x672c", L"a+b~c"};
  for (UINT cp : {static_cast<UINT>(CP_ACP), static_cast<UINT>(CP_THREAD_ACP), static_cast<UINT>(CP_UTF8),
                  static_cast<UINT>(CP_UTF7), 1252u, 1253u, 37u}) {
    for (const WideString& text : texts) {
      SCOPED_TRACE(testing::Message() << "code page " << cp << ", text of " << text.size() << " units");
      const AnsiString bytes = systemToAnsi(text, cp);
      EXPECT_EQ(SystemWideToCodePage(text.data(), text.size(), cp), bytes);
      EXPECT_EQ(SystemCodePageToWide(bytes.data(), bytes.size(), cp), systemToWide(bytes, cp));
    }
  }
}
