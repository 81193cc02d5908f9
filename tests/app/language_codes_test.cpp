#include <gtest/gtest.h>

#include "app/settings/language_codes.h"

namespace {

TEST(LanguageCodes, CodesGiveTheirNamesOlderCodesIncluded) {
  struct Case {
    const wchar_t* code;
    const wchar_t* name;
  } cases[] = {
      {L"en", L"English"}, {L"he", L"Hebrew"},     {L"iw", L"Hebrew"},
      {L"ji", L"Yiddish"}, {L"yi", L"Yiddish"},    {L"in", L"Indonesian"},
      {L"id", L"Indonesian"}, {L"rm", L"Rhaeto-Romance"}, {L"be", L"Byelorussian"},
      {L"zu", L"Zulu"},    {L"aa", L"Afar"},
      // Not found: given back unchanged (no case folding, no trimming).
      {L"EN", L"EN"},      {L"en ", L"en "},       {L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << WideToAnsi(c.code));
    EXPECT_EQ(LangCodeToName(c.code), c.name);
  }
  EXPECT_EQ(LangCodeToName(WideString(2, L'\0')), L"");
}

TEST(LanguageCodes, NamesGiveTheFirstCodeOfTheirRow) {
  struct Case {
    const wchar_t* name;
    const wchar_t* code;
  } cases[] = {
      {L"English", L"en"}, {L"Hebrew", L"he"}, {L"Indonesian", L"id"}, {L"Yiddish", L"ji"},
      {L"Faroese", L"fo"}, {L"Zulu", L"zu"},
      {L"Rhaeto-Romance", L""}, {L"Unspecified", L""}, {L"Deutsch", L""}, {L"english", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "name " << WideToAnsi(c.name));
    EXPECT_EQ(LangNameToCode(c.name), c.code);
  }
  EXPECT_EQ(LangNameToCode(WideString(2, L'\0')), L"");
}

TEST(LanguageCodes, NamesGiveTheirPlaceInTheDialogList) {
  struct Case {
    const wchar_t* name;
    int index;
  } cases[] = {
      {L"Abkhazian", 1}, {L"English", 25}, {L"Deutsch", 32}, {L"German", 0},
      {L"Faorese", 27},  {L"Faroese", 0},  {L"Welsh", 76},   {L"Unspecified", 0}, {L"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "name " << WideToAnsi(c.name));
    EXPECT_EQ(LangNameToIndex(c.name), c.index);
  }
}

}  // namespace
