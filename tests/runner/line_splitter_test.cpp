#include <gtest/gtest.h>

#include <vector>

#include "runner/line_splitter.h"
#include "tests/runner/runner_test_support.h"

namespace {

struct SplitCase {
  const char* name;
  std::vector<std::string> chunks;
  std::vector<Piece> expected;
  TReturnCode lastEnd;
};

TEST(LineSplitter, CutsChunksIntoLinesAcrossBorders) {
  const SplitCase cases[] = {
      {"CR LF and LF in one chunk", {"a\r\nb\n"}, {{"a", E}, {"b", E}}, rcLF},
      {"CR LF split by the border", {"a\r", "\nb\r\n"}, {{"a", E}, {"b", E}}, rcCRLF},
      {"CR then CR", {"a\r", "\rb\n"}, {{"a", E}, {"", E}, {"b", E}}, rcLF},
      {"a line growing", {"abc", "def", "g\n"}, {{"abc", B}, {"abcdef", B}, {"abcdefg", E}}, rcLF},
      {"NUL bytes dropped", {std::string("h\0i\0\n\0", 6)}, {{"hi", E}}, rcLF},
      {"empty lines", {"\n\r\n\r"}, {{"", E}, {"", E}, {"", E}}, rcLF},
      {"an LF later in the chunk is a line end", {"a\r", "b\n\n"}, {{"a", E}, {"b", E}, {"", E}}, rcLF},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    TLineSplitter splitter;
    std::vector<Piece> got;
    for (const std::string& chunk : c.chunks)
      splitter.Split(chunk.data(), chunk.size(), [] { return false; },
                     [&](const AnsiString& line, TOutputType type) { got.push_back({line, type}); });
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(splitter.LineEnd, c.lastEnd);
  }
}

TEST(LineSplitter, StopCutsTheWalkShortAndKeepsThePartialLine) {
  TLineSplitter splitter;
  std::vector<Piece> got;
  int budget = 5;  // stop after five bytes
  std::string chunk = "ab\ncdefgh\n";
  splitter.Split(chunk.data(), chunk.size(), [&] { return budget-- <= 0; },
                 [&](const AnsiString& line, TOutputType type) { got.push_back({line, type}); });
  EXPECT_EQ(got, (std::vector<Piece>{{"ab", E}, {"cd", B}}));
  EXPECT_EQ(splitter.Pending, "cd");
}

TEST(LineSplitter, InputLineEnds) {
  const std::pair<const char*, bool> cases[] = {
      {"a\r\n", true}, {"a\n", true}, {"\n", true}, {"a", false}, {"", false},
      {"a\r", false},  {"a\nb\n", false}, {"a\r\nb\r\n", false}, {"a\n\r\n", true},
  };
  for (auto& [line, ended] : cases) EXPECT_EQ(IsEndedInputLine(line), ended) << '"' << line << '"';
}

}  // namespace
