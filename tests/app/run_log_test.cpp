#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/jobs/run_log.h"
#include "app/jobs/status_row.h"
#include "tests/widetext/temp_folder.h"

namespace {

std::string ReadBytes(const WideString& name) {
  std::ifstream f(WideToAnsi(name), std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

SYSTEMTIME At(WORD h, WORD m, WORD s) {
  SYSTEMTIME t{};
  t.wHour = h, t.wMinute = m, t.wSecond = s;
  return t;
}

TEST(RunLog, LineAndRowFormats) {
  EXPECT_EQ(RunLogLine(At(9, 5, 7), L"Creation succeeded."), "[09:05:07] : Creation succeeded.");
  EXPECT_EQ(RunLogLine(At(23, 59, 0), L""), "[23:59:00] : ");
  // Every character survives, as UTF-8: accents, Greek, Japanese, and a pair of surrogates.
  EXPECT_EQ(RunLogLine(At(0, 0, 0), L"Cr\u00e9ation \u0395\u03bb \u65e5\u672c \U0001F600"),
            "[00:00:00] : Cr\xC3\xA9" "ation \xCE\x95\xCE\xBB \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
  const struct {
    int kind, image;
  } kinds[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {5, 3}, {-1, 3}};
  for (const auto& k : kinds) EXPECT_EQ(MakeStatusRow(L"x", k.kind, At(1, 2, 3)), (TStatusRow{k.image, L"01:02:03", L"x"}));
}

TEST(RunLog, SavedWholeWithCrLfReplacingAnOlderFile) {
  TempFolder temp;
  const WideString folder = temp.Path() + L"\\";
  WideString file = folder + L"Kavo.log";
  {
    std::ofstream older(WideToAnsi(file), std::ios::binary);
    older << "an older and much longer log that must not survive\r\n";
  }
  TRunLog log;
  log.AddAt(At(10, 0, 1), L"first");
  log.AddAt(At(10, 0, 2), L"second");
  ASSERT_TRUE(log.SaveToFile(file));
  const std::string expected = "\xEF\xBB\xBF[10:00:01] : first\r\n[10:00:02] : second\r\n";
  EXPECT_EQ(ReadBytes(file), expected);
  ASSERT_TRUE(log.SaveToFile(file));  // twice in a row: the same file
  EXPECT_EQ(ReadBytes(file), expected);
  EXPECT_FALSE(log.SaveToFile(folder + L"no-such-folder\\Kavo.log"));
  DeleteLogFile(folder + L"movie.mp4");
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteLogFile(folder + L"movie.mp4");  // no log: nothing happens
  RemoveDirectoryW(folder.c_str());
  EXPECT_EQ(ClosingLogText(L"closed."), L"Kavo 2.0.0.8 closed.");
}

TEST(RunLog, TheFileChosenByTheSettingsAndTheTask) {
  TLogFolderSources files{L"C:\\conv\\in.avi", L"C:\\ext\\in.mp4", L"D:\\out\\movie.mp4",
                          L"C:\\conc\\joined.mp4", L"C:\\split\\in.mp4", L""};
  auto state = [](TJobMode m, TJobMode also = TJobMode::None) {
    TJobState s;
    s.SetMode(m);
    if (also != TJobMode::None) s.Flag(also) = true;
    return s;
  };
  const struct {
    const char* name;
    bool kavo, output;
    TJobState state;
    const wchar_t* expected;
    TJobMode chosenBy;
  } cases[] = {
      {"program folder first", true, true, state(TJobMode::Mux), L"C:\\Kavo\\Kavo.log", TJobMode::None},
      {"mux output's folder", false, true, state(TJobMode::Mux), L"D:\\out\\Kavo.log", TJobMode::Mux},
      {"conversion before mux", false, true, state(TJobMode::Mux, TJobMode::Convert), L"C:\\conv\\Kavo.log",
       TJobMode::Convert},
      {"mux before tagging", false, true, state(TJobMode::Mux, TJobMode::Tag), L"D:\\out\\Kavo.log", TJobMode::Mux},
      {"split input's folder", false, true, state(TJobMode::Split), L"C:\\split\\Kavo.log", TJobMode::Split},
      {"no tag row selected", false, true, state(TJobMode::Tag), L"", TJobMode::None},
      {"no job yet", false, true, state(TJobMode::None), L"", TJobMode::None},
      {"neither box", false, false, state(TJobMode::Mux), L"", TJobMode::None},
  };
  for (const auto& c : cases) {
    TJobMode chosen = TJobMode::Tag;
    EXPECT_EQ(ChooseLogFile(c.kavo, c.output, c.state, files, L"C:\\Kavo\\", &chosen), c.expected) << c.name;
    EXPECT_EQ(chosen, c.chosenBy) << c.name;
  }
  files.TagFile = L"E:\\music\\song.m4a";
  EXPECT_EQ(ChooseLogFile(false, true, state(TJobMode::Tag), files, L"C:\\Kavo\\"), L"E:\\music\\Kavo.log");
}

}  // namespace
