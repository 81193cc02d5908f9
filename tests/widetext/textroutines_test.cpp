#include <gtest/gtest.h>

#include "ansi_platform.h"
#include "widetext/widetextutils.h"

namespace {

class CaseAndSearch : public testing::TestWithParam<bool> {
 protected:
  bool Ansi() const { return GetParam(); }
  AnsiPlatformScope path_{GetParam()};
};

TEST_P(CaseAndSearch, MapsTheWholeText) {
  EXPECT_EQ(WideUpperCase(L"Caf\u00E9 mp4"), L"CAF\u00C9 MP4");
  EXPECT_EQ(WideLowerCase(L"CAF\u00C9 MP4"), L"caf\u00E9 mp4");
  EXPECT_EQ(WideUpperCase(L"\u03B1\u03B2"), Ansi() ? L"\u03B1\u03B2" : L"\u0391\u0392");
  EXPECT_EQ(WideUpperCase(WideString(L"a\0b", 3)), WideString(L"A\0B", 3));
  EXPECT_EQ(WideUpperCase(L""), L"");
}

TEST_P(CaseAndSearch, FindsRegardlessOfCase) {
  EXPECT_EQ(WideTextPos(L"MP4", L"file.mp4"), 6u);
  EXPECT_EQ(WideTextPos(L"x", L"file.mp4"), 0u);
  EXPECT_EQ(WideTextPos(L"", L"file"), 0u);
  EXPECT_EQ(WideTextPosEx(L"A", L"aXa", 0), 1u);
  EXPECT_EQ(WideTextPosEx(L"A", L"aXa", 1), 3u);
  EXPECT_EQ(WideTextPosEx(L"A", L"aXa", 3), 0u);
}

INSTANTIATE_TEST_SUITE_P(, CaseAndSearch, testing::Bool(), PathName);

TEST(TextRoutines, PosExStartsAfterTheOffset) {
  const struct {
    const wchar_t* sub;
    const wchar_t* s;
    size_t offset, result;
  } cases[] = {
      {L"ab", L"abab", 0, 1}, {L"ab", L"abab", 1, 3}, {L"ab", L"abab", 2, 3},
      {L"ab", L"abab", 3, 0}, {L"ab", L"abab", 9, 0}, {L"", L"abab", 0, 0},
      {L"b", L"", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.offset);
    EXPECT_EQ(WidePosEx(c.sub, c.s, c.offset), c.result);
  }
}

TEST(TextRoutines, Delete) {
  const struct {
    const wchar_t* s;
    int index, count;
    const wchar_t* result;
  } cases[] = {
      {L"abcdef", 2, 3, L"aef"}, {L"abcdef", 4, 99, L"abc"}, {L"abcdef", 1, 6, L""},
      {L"abcdef", 0, 2, L"abcdef"}, {L"abcdef", 7, 1, L"abcdef"}, {L"abcdef", 2, 0, L"abcdef"},
      {L"abcdef", 2, -1, L"abcdef"}, {L"", 1, 1, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.index << "," << c.count);
    WideString s = c.s;
    WideDelete(s, c.index, c.count);
    EXPECT_EQ(s, c.result);
  }
  EXPECT_EQ(WideStrLastChar(L"ab"), L'b');
  EXPECT_EQ(WideStrLastChar(L""), L'\0');
}

TEST(TextRoutines, StringReplace) {
  const struct {
    const wchar_t* s;
    const wchar_t* oldPattern;
    const wchar_t* newPattern;
    unsigned flags;
    bool wholeWord;
    const wchar_t* result;
  } cases[] = {
      {L"a&b", L"&", L"&&", rfReplaceAll, false, L"a&&b"},
      {L"a&b&c", L"&", L"&&", 0, false, L"a&&b&c"},
      {L"a&b&c", L"&", L"&&", rfReplaceAll, false, L"a&&b&&c"},
      {L"aaa", L"a", L"aa", rfReplaceAll, false, L"aaaaaa"},  // no re-reading of the replacement
      {L"Track TRACK track", L"track", L"x", rfReplaceAll | rfIgnoreCase, false, L"x x x"},
      {L"Track TRACK track", L"track", L"x", rfReplaceAll, false, L"Track TRACK x"},
      {L"\u00C9t\u00E9", L"\u00E9", L"e", rfReplaceAll | rfIgnoreCase, false, L"ete"},
      {L"cat concat cat.", L"cat", L"dog", rfReplaceAll, true, L"dog concat dog."},
      {L"cats cat", L"cat", L"dog", 0, true, L"cats dog"},  // a rejected match is skipped, not the end
      {L"cat", L"cat", L"dog", 0, true, L"dog"},
      {L"xcat,cat", L"cat", L"dog", rfReplaceAll, true, L"xcat,dog"},
      {L"a,a", L"a", L"", rfReplaceAll, true, L","},
      {L"text", L"", L"x", rfReplaceAll, false, L"text"},  // empty pattern: unchanged
      {L"text", L"", L"x", rfReplaceAll | rfIgnoreCase, true, L"text"},
      {L"", L"a", L"b", rfReplaceAll, false, L""},
      {L"abc", L"abcd", L"x", rfReplaceAll, false, L"abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(WideString(c.s) + L" / " + c.oldPattern));
    EXPECT_EQ(WideStringReplace(c.s, c.oldPattern, c.newPattern, c.flags, c.wholeWord), c.result);
  }
}

TEST(TextRoutines, WholeWordLooksAtTheOutputBeforeTheRemainder) {
  // A match right after a replaced one has the replacement's last character as its
  // left neighbour, not the character it replaced.
  EXPECT_EQ(WideStringReplace(L",,", L",", L"x", rfReplaceAll, true), L"x,");
  EXPECT_EQ(WideStringReplace(L",,", L",", L" ", rfReplaceAll, true), L"  ");
}

TEST(TextRoutines, AdjustLineBreaks) {
  const WideString s = L"a\rb\nc\r\nd\u2028e\n\r";
  EXPECT_EQ(WideAdjustLineBreaks(L"a\rb\nc", lbCRLF), L"a\r\nb\r\nc");
  EXPECT_EQ(WideAdjustLineBreaks(s, lbCRLF), L"a\r\nb\r\nc\r\nd\r\ne\r\n\r\n");
  EXPECT_EQ(WideAdjustLineBreaks(s, lbLF), L"a\nb\nc\nd\ne\n\n");
  EXPECT_EQ(WideAdjustLineBreaks(s, lbCR), L"a\rb\rc\rd\re\r\r");
  EXPECT_EQ(WideAdjustLineBreaks(L"no breaks", lbCRLF), L"no breaks");
  EXPECT_EQ(WideAdjustLineBreaks(L"", lbLF), L"");
}

TEST(TextRoutines, CharacterClasses) {
  for (const WideChar c : {L'\0', L' ', L'\t', L',', L'.', L'-', L'(', L'\u3000'}) {
    SCOPED_TRACE(static_cast<int>(c));
    EXPECT_TRUE(WideIsWordSeparator(c));
  }
  for (const WideChar c : {L'a', L'Z', L'7', L'\u00E9', L'\u03B1', L'\u65E5'}) {
    SCOPED_TRACE(static_cast<int>(c));
    EXPECT_FALSE(WideIsWordSeparator(c));
  }
  EXPECT_TRUE(WideCharType1(L'A') & C1_UPPER);
  EXPECT_TRUE(WideCharType1(L'\u03B1') & C1_LOWER);

  EXPECT_TRUE(IsWideCharMappable(L'a'));
  EXPECT_TRUE(IsWideCharMappable(L'\u00E9'));
  EXPECT_TRUE(IsWideCharMappable(L'\u20AC'));  // the euro sign is 0x80 in 1252
  EXPECT_FALSE(IsWideCharMappable(L'\u03B1'));  // best fit would say "a"
  EXPECT_FALSE(IsWideCharMappable(L'\u65E5'));
}

TEST(TextRoutines, ItemsOfDelimitedText) {
  const wchar_t zeroSeparated[] = L"dir\0a\0b\0\0";
  std::vector<WideString> items = SplitWideText(zeroSeparated, L'\0');
  EXPECT_EQ(items, (std::vector<WideString>{L"dir", L"a", L"b"}));

  items = SplitWideText(L"x;yy;z", L';');
  EXPECT_EQ(items, (std::vector<WideString>{L"x", L"yy", L"z"}));
  items = SplitWideText(L"x;;z", L';');  // stops at the first empty item
  EXPECT_EQ(items, (std::vector<WideString>{L"x"}));
  EXPECT_TRUE(SplitWideText(L"", L';').empty());

  const wchar_t* p = L"one|two";
  EXPECT_EQ(ExtractNextWideItem(p, L'|'), L"one");
  EXPECT_STREQ(p, L"two");
  EXPECT_EQ(ExtractNextWideItem(p, L'|'), L"two");
  EXPECT_EQ(*p, L'\0');  // no delimiter: at the terminator
  EXPECT_EQ(ExtractNextWideItem(p, L'|'), L"");
}

class ErrorMessages : public testing::TestWithParam<bool> {
 protected:
  AnsiPlatformScope path_{GetParam()};
};

TEST_P(ErrorMessages, SystemTextOrTheFallback) {
  const WideString known = WideSysErrorMessage(ERROR_FILE_NOT_FOUND);
  EXPECT_GT(known.size(), 3u);
  EXPECT_EQ(known.back(), L'\n');  // as the system gives it
  // The same text the system hands out (no particular wording: Wine's differs).
  wchar_t system[512];
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 ERROR_FILE_NOT_FOUND, 0, system, 512, nullptr);
  EXPECT_EQ(known, WideString(system, n));

  EXPECT_EQ(WideSysErrorMessage(0x2FFFFFFF), L"Unspecified error (805306367) from system.");
  EXPECT_EQ(WideModuleErrorMessage(L"kavo", GetModuleHandleW(nullptr), 0x2FFFFFFE),
            L"Unspecified error (805306366) from kavo.");
}

INSTANTIATE_TEST_SUITE_P(, ErrorMessages, testing::Bool(), PathName);

}  // namespace
