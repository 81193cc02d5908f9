#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>

#include "widetext/widebuf.h"

namespace {

TEST(WideBuffers, BlockHeaderHoldsTheBlockSize) {
  for (const size_t size : {0u, 1u, 10u, 4096u}) {
    WideChar* buf = WideBufAlloc(size);
    ASSERT_NE(buf, nullptr);
    uint32_t header = 0;
    std::memcpy(&header, reinterpret_cast<const unsigned char*>(buf) - 4, 4);
    EXPECT_EQ(header, size * 2 + 4);
    if (size) buf[size - 1] = L'x';  // all of it is usable
    WideBufDispose(buf);
  }
  WideBufDispose(nullptr);
}

TEST(WideBuffers, CopiesAndLengths) {
  WideChar* copy = WideBufNew(L"\u03B1\u03B2c");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, L"\u03B1\u03B2c");
  EXPECT_EQ(WideBufLen(copy), 3u);
  EXPECT_EQ(WideBufEnd(copy), copy + 3);
  uint32_t header = 0;
  std::memcpy(&header, reinterpret_cast<const unsigned char*>(copy) - 4, 4);
  EXPECT_EQ(header, 4u * 2 + 4);  // length + 1 characters
  WideBufDispose(copy);
  EXPECT_EQ(WideBufNew(nullptr), nullptr);
  EXPECT_EQ(WideBufToString(nullptr), L"");
  EXPECT_EQ(WideBufToString(L"abc"), L"abc");
}

TEST(WideBuffers, LimitedCopiesAlwaysEndTheText) {
  const struct {
    const wchar_t* source;
    size_t maxLen;
    const wchar_t* result;
  } cases[] = {
      {L"abcdef", 0, L""}, {L"abcdef", 3, L"abc"}, {L"abc", 10, L"abc"}, {L"", 5, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.maxLen);
    wchar_t dest[16];
    std::fill(std::begin(dest), std::end(dest), L'#');
    EXPECT_EQ(WideBufLCopy(dest, c.source, c.maxLen), dest);
    EXPECT_STREQ(dest, c.result);
    EXPECT_EQ(dest[std::wcslen(c.result) + 1], L'#');  // nothing past the terminator
  }
  wchar_t dest[8];
  WideBufCopyString(dest, L"\u65E5\u672C");
  EXPECT_STREQ(dest, L"\u65E5\u672C");
  WideBufCopyStringMax(dest, L"abcdef", 2);
  EXPECT_STREQ(dest, L"ab");
  WideBufCopyStringMax(dest, L"ab", 6);
  EXPECT_STREQ(dest, L"ab");
  WideBufCopyString(dest, WideString(L"a\0b", 3));  // up to the first zero, as a text
  EXPECT_STREQ(dest, L"a");
}

TEST(WideBuffers, MoveScanAndLastCharacter) {
  wchar_t text[] = L"abcdef";
  EXPECT_EQ(WideBufMove(text + 1, text, 4), text + 1);  // overlapping
  EXPECT_STREQ(text, L"aabcdf");
  EXPECT_EQ(WideBufScan(text, L'c'), text + 3);
  EXPECT_EQ(WideBufScan(text, L'x'), nullptr);
  EXPECT_EQ(WideBufScan(text, L'\0'), text + 6);  // the terminator itself
  const WideString s = L"xyz";
  ASSERT_NE(WideBufLastChar(s), nullptr);
  EXPECT_EQ(*WideBufLastChar(s), L'z');
  EXPECT_EQ(WideBufLastChar(L""), nullptr);
}

}  // namespace
