#include <gtest/gtest.h>

#include "ansi_platform.h"
#include "widetext/resstrings.h"

namespace {

HMODULE NoModule = nullptr;

TResStringRec Literal(const char* text) { return {&NoModule, reinterpret_cast<UINT_PTR>(text)}; }

class WideResourceStrings : public testing::TestWithParam<bool> {
 protected:
  AnsiPlatformScope path_{GetParam()};
};

TEST_P(WideResourceStrings, FromTheStringTables) {
  // The framework's table and the test program's own (widetext_tests.rc), merged.
  EXPECT_EQ(LoadWideResString(&SListIndexError), L"List index out of bounds (%d)");
  EXPECT_EQ(LoadWideResString(&SFCreateErrorEx), L"Cannot create file \"%s\". %s");
  EXPECT_EQ(LoadWideResString(&SMsgDlgNoToAll), L"N&o to All");
  const TResStringRec wide{&HInstance, 18};
  EXPECT_EQ(LoadWideResString(&wide), L"\u03B1\u03B2\u03B3 \u65E5\u672C caf\u00E9");
  const TResStringRec missing{&HInstance, 4000};
  EXPECT_EQ(LoadWideResString(&missing), L"");
  EXPECT_EQ(LoadWideResString(nullptr), L"");
}

TEST_P(WideResourceStrings, FromLiterals) {
  const TResStringRec utf8 = Literal("\xEF\xBB\xBF\xCE\xB1 caf\xC3\xA9");
  EXPECT_EQ(LoadWideResString(&utf8), L"\u03B1 caf\u00E9");
  const TResStringRec ansi = Literal("caf\xE9");
  EXPECT_EQ(LoadWideResString(&ansi), L"caf\u00E9");
  // Only the byte-order mark: no UTF-8 text follows, so it is 8-bit text.
  const TResStringRec markOnly = Literal("\xEF\xBB\xBF");
  EXPECT_EQ(LoadWideResString(&markOnly), L"\u00EF\u00BB\u00BF");
  const TResStringRec empty = Literal("");
  EXPECT_EQ(LoadWideResString(&empty), L"");
}

INSTANTIATE_TEST_SUITE_P(, WideResourceStrings, testing::Bool(), PathName);

TEST(WideResourceLiterals, AddressesKeepPointerWidth) {
  // The program's image lies above 4 GB on x64: a literal's address truncated to
  // 32 bits would name some other place.
  static const char text[] = "literal";
  ASSERT_GT(reinterpret_cast<UINT_PTR>(text), 0xFFFFFFFFull);
  const TResStringRec rec{&HInstance, reinterpret_cast<UINT_PTR>(text)};
  EXPECT_EQ(LoadWideResString(&rec), L"literal");
  EXPECT_EQ(LoadResString(&rec), "literal");
}

}  // namespace
