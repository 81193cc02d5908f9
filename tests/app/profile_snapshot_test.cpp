// An INI file read once answers every key as the system's profile routines answer it for
// the same file: the language files are read that way.
#include "app/settings/profile_snapshot.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/widetext/temp_folder.h"
#include "vcl/inifiles.h"

namespace {

void WriteBytes(const std::wstring& Name, const std::string& Bytes) {
  HANDLE file = CreateFileW(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::string Utf16(const std::wstring& Text, bool BigEndian) {
  std::string b = BigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t c : Text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    b += BigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return b;
}

// The files and the questions: each key asked in each section, besides the ones listed.
struct TCase {
  const char* What;
  std::string Bytes;
};

const std::vector<std::pair<const char*, const char*>> kQuestions = {
    {"Main", "Plain"},     {"main", "PLAIN"},       {" Main ", " Plain "}, {"Main", "Spaced"},
    {"Main", "Quoted"},    {"Main", "Single"},      {"Main", "Half"},      {"Main", "OneQuote"},
    {"Main", "Empty"},     {"Main", "NoEquals"},    {"Main", "Twice"},     {"Main", "Missing"},
    {"Main", "Equals"},    {"Main", "; comment"},   {"Main", "Accent"},    {"Second", "Plain"},
    {"Second", "Only"},    {"Missing", "Plain"},    {"", "Before"},        {"Main", "Tail"},
    {"Spaced Name", "A"},  {" Inner ", "A"},        {"Inner", "A"},        {"Main", "Long"},
    {"Main", "Blank"},     {"Main", "Crlf"},        {"Main", "Cr"},        {"Main", "Eof"},
};

const std::string kBody =
    "Before=outside any section\r\n"
    "[Main]\r\n"
    "Plain=value\r\n"
    "  Spaced   =   padded value   \r\n"
    "Quoted=\"in quotes\"\r\n"
    "Single='in single quotes'\r\n"
    "Half=\"open only\r\n"
    "OneQuote=\"\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "Twice=first\r\n"
    "Twice=second\r\n"
    "Equals=a=b=c\r\n"
    "; comment=not a key\r\n"
    "Accent=caf\xE9 na\xEFve\r\n"
    "Blank=\t tab and blanks \t\r\n"
    "Crlf=one\r\n\r\n\r\n"
    "Cr=two\rEof=three\x1a\r\n"
    "Long=" + std::string(3000, 'x') + "\r\n"
    "[Second]\r\n"
    "Plain=second section\r\n"
    "Only=in second\r\n"
    "[Main]\r\n"
    "Tail=in a repeated section\r\n"
    "[Spaced Name]\r\n"
    "A=spaced name\r\n"
    "[ Inner ]\r\n"
    "A=inner blanks\r\n"
    "[Broken\r\n"
    "B=after a broken header\n";

TEST(ProfileSnapshot, AnswersEveryKeyAsTheSystemDoes) {
  const std::wstring accented = L"caf\u00e9 na\u00efve";
  const std::vector<TCase> cases = {
      {"ANSI, CRLF", kBody},
      {"line feeds only", [] {
         std::string s = kBody;
         for (size_t at; (at = s.find("\r\n")) != std::string::npos;) s.replace(at, 2, "\n");
         return s;
       }()},
      {"UTF-8 with its mark", "\xEF\xBB\xBF[Main]\r\nPlain=\xC3\xA9t\xC3\xA9\r\nAccent=caf\xC3\xA9\r\n"},
      {"UTF-8 without a mark", "[Main]\r\nPlain=\xC3\xA9t\xC3\xA9\r\n"},
      {"UTF-16 little-endian", Utf16(L"[Main]\r\nPlain=" + accented + L"\r\nQuoted=\"q\"\r\n", false)},
      {"UTF-16 big-endian", Utf16(L"[Main]\r\nPlain=big\r\n", true)},
      {"empty file", ""},
  };
  TempFolder folder;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    const std::wstring file = folder.Path() + L"\\profile.ini";
    WriteBytes(file, c.Bytes);
    const AnsiString name = WideToAnsi(file);
    const TProfileSnapshot snapshot(name);
    const TIniFile system(name);
    for (const auto& [section, key] : kQuestions) {
      SCOPED_TRACE(std::string("[") + section + "] " + key);
      const AnsiString expected = system.ReadString(section, key, "\x01" "absent");
      EXPECT_EQ(snapshot.ReadString(section, key, "\x01" "absent"), expected);
      EXPECT_EQ(snapshot.Read(section, key).has_value(), expected != "\x01" "absent");
    }
    DeleteFileW(file.c_str());
  }
}

TEST(ProfileSnapshot, AMissingFileHoldsNoValues) {
  TempFolder folder;
  const TProfileSnapshot snapshot(WideToAnsi(folder.Path() + L"\\absent.ini"));
  EXPECT_FALSE(snapshot.Read("Main", "Plain"));
  EXPECT_EQ(snapshot.ReadString("Main", "Plain", "default"), "default");
}

}  // namespace
