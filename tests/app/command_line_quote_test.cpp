#include <gtest/gtest.h>

#include "app/commands/command_line_quote.h"
#include "tests/app/argv_support.h"

namespace {

// Each value must come back as exactly one argument, unchanged, with arguments after it
// still standing on their own.
TEST(QuoteArgument, EveryValueComesBackAsOneArgument) {
  const wchar_t* values[] = {
      L"",
      L"plain",
      L"two words",
      L"12\" Mix",
      L"\"",
      L"\\\"",
      L"C:\\Temp\\",
      L"C:\\Temp\\\\",
      L"\\\\server\\share\\a b\\",
      L"a\\\\\"b",
      L"100% %PATH% ^&|<>",
      L"tab\there",
      L"trailing blank ",
  };
  for (const wchar_t* v : values) {
    SCOPED_TRACE(testing::Message() << "value [" << WideToAnsi(v) << "]");
    WideString line = L"prog.exe " + QuoteArgument(WideString(v)) + L" -next";
    std::vector<std::wstring> args = ArgvOf(line);
    ASSERT_EQ(args.size(), 3u);
    EXPECT_EQ(args[1], v);
    EXPECT_EQ(args[2], L"-next");
  }
}

// The 8-bit form serves the tools' command lines; outside the code page the text is the
// code page's business, the splitting must still hold.
TEST(QuoteArgument, EightBitFormMatchesTheWideOne) {
  AnsiString value = "C:\\Musique\\Caf\xE9 \"live\"\\";
  AnsiString line = "prog.exe " + QuoteArgument(value) + " x";
  std::vector<std::wstring> args = ArgumentsOf(line);
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[0], AnsiToWide(value));
  EXPECT_EQ(args[1], L"x");
  EXPECT_EQ(QuoteArgument(AnsiString("a\\b")), "\"a\\b\"");  // inner backslashes stay single
}

}  // namespace
