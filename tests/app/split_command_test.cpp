// The split job without windows: the two time readers, the command line of every mode (read
// back as the started tool receives its arguments), the refusals, the chapter lists of a
// chapter report, and the steps of a job that splits out every chapter.
#include <gtest/gtest.h>

#include <map>

#include "app/commands/split_command.h"
#include "app/media/split_chapters.h"
#include "tests/app/argv_support.h"

namespace {

using Args = std::vector<std::wstring>;

TEST(SplitTimes, UserTimesByTheirLength) {
  const struct {
    const wchar_t* text;
    std::optional<int> seconds;
  } cases[] = {
      {L"2", 7200},           {L"12", 43200},          {L"01:30", 5400},      {L"600", 600},
      {L"1234", 1234},        {L"123456789", 123456789}, {L"01:02:03.000", 3723}, {L"01:02:03.5", 3723},
      {L"", std::nullopt},    {L"1a", std::nullopt},   {L"1:30", std::nullopt},  // 4 characters: seconds
      {L"12:30:00", std::nullopt},                                                // 8 characters: seconds
      {L"90.5", std::nullopt}, {L"ab:cd", std::nullopt}, {L"01:xx:03.000", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "\"" << WideToAnsi(c.text) << "\"");
    EXPECT_EQ(SplitTimeToSeconds(c.text), c.seconds);
  }
}

TEST(SplitTimes, ChapterTimes) {
  EXPECT_EQ(ChapterTimeToSeconds(L"00:01:30.500"), 90);
  EXPECT_EQ(ChapterTimeToSeconds(L"01:00:00.000"), 3600);
  EXPECT_EQ(ChapterTimeToSeconds(L"00:01:30"), 0);  // 9 characters or fewer
  EXPECT_EQ(ChapterTimeArgument(L"00:03:00.250"), "180.250");
  EXPECT_EQ(ChapterTimeArgument(L"00:00:10.000"), "10.000");
  EXPECT_EQ(ChapterTimeArgument(L"00:00:10"), "0");
}

TEST(SplitTimes, KeyFilter) {
  for (wchar_t k : {L'0', L'9', L':', L'.', L'\b'}) EXPECT_TRUE(SplitTimeKey(k)) << int(k);
  for (wchar_t k : {L'a', L' ', L'-', L';', L'/', L'\x00E9'}) EXPECT_FALSE(SplitTimeKey(k)) << int(k);
}

TSplitOptions Options(TSplitMode Mode) {
  TSplitOptions o;
  o.MP4BoxPath = L"C:\\Tools\\MP4Box.exe";
  o.Input = L"C:\\Films\\my film.mp4";
  o.Mode = Mode;
  o.Size = L"700";
  o.Duration = L"01:30";
  o.From = L"600";
  o.To = L"00:30:00.000";
  o.Chapters = {{L"00:00:00.000", L"00:01:30.500"}, {L"00:01:30.500", L"00:03:00.250"}};
  o.Chapter = 1;
  return o;
}

Args Built(const TSplitOptions& O, int Chapter) {
  std::vector<std::wstring> all = ArgvOf(AnsiToWide(BuildSplitCommandLine(O, Chapter)));
  EXPECT_FALSE(all.empty());
  if (all.empty()) return {};
  EXPECT_EQ(all[0], O.MP4BoxPath);
  return Args(all.begin() + 1, all.end());
}

TEST(SplitCommand, EveryModeWithItsStatusText) {
  const struct {
    TSplitMode mode;
    bool verbose;
    Args args;
    const wchar_t* status;
  } cases[] = {
      {TSplitMode::Size, false, {L"-splits", L"716800", L"C:\\Films\\my film.mp4"}, L"Split my film.mp4 into 700 MB part..."},
      {TSplitMode::Duration, true, {L"-split", L"5400", L"-v", L"C:\\Films\\my film.mp4"}, L"Split my film.mp4 each 01:30 ..."},
      {TSplitMode::Range, false, {L"-splitx", L"600:1800", L"C:\\Films\\my film.mp4"},
       L"Split my film.mp4 from 600 to 00:30:00.000..."},
      {TSplitMode::Chapter, false, {L"-splitx", L"90.500:180.250", L"C:\\Films\\my film.mp4"},
       L"Split my film.mp4 at Chapter # 2 ..."},
      {TSplitMode::AllChapters, true, {L"-splitx", L"90.500:180.250", L"-v", L"C:\\Films\\my film.mp4"},
       L"Split my film.mp4 at Chapter # 2 ..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    TSplitOptions o = Options(c.mode);
    o.Verbose = c.verbose;
    EXPECT_EQ(CheckSplitJob(o), TSplitRefusal::None);
    EXPECT_EQ(Built(o, 1), c.args);
    EXPECT_EQ(SplitStatusText(o, 1), c.status);
  }
}

TEST(SplitCommand, PartSizesInMegabytesWithAFraction) {
  const struct {
    const wchar_t* megabytes;
    const char* kilobytes;
  } cases[] = {{L"700", "716800"}, {L"1.5", "1536"}, {L"1,5", "1536"}, {L"0.3", "307.2"},
               {L".5", "512"},     {L"2.", "2048"},  {L"0.001", "1.024"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToAnsi(c.megabytes));
    EXPECT_EQ(SplitSizeKilobytes(c.megabytes), std::optional<AnsiString>(c.kilobytes));
    TSplitOptions o = Options(TSplitMode::Size);
    o.Size = c.megabytes;
    EXPECT_EQ(CheckSplitJob(o), TSplitRefusal::None);
    EXPECT_EQ(Built(o, 0), (Args{L"-splits", AnsiToWide(c.kilobytes), L"C:\\Films\\my film.mp4"}));
  }
  for (const wchar_t* bad : {L"", L".", L"0", L"1.2345", L"1e3", L"-1", L"1 5"}) EXPECT_FALSE(SplitSizeKilobytes(bad)) << WideToAnsi(bad);
}

TEST(SplitCommand, ARangeWithinTheFileIsTaken) {
  TSplitOptions o = Options(TSplitMode::Range);
  o.From = L"002";
  o.To = L"00:00:11.500";  // whole seconds: 11, within 11.6
  o.InputSeconds = 11.6;
  EXPECT_EQ(CheckSplitJob(o), TSplitRefusal::None);
  o.To = L"013";
  EXPECT_EQ(CheckSplitJob(o), TSplitRefusal::PastEnd);
  o.InputSeconds.reset();  // a file MediaInfo gives no play time for: MP4Box is left to judge
  EXPECT_EQ(CheckSplitJob(o), TSplitRefusal::None);
}

TEST(SplitCommand, UnreadableOrEmptyValuesAreRefusedWithTheirText) {
  TNamedTexts t;
  const struct {
    const char* what;
    TSplitMode mode;
    std::map<std::string, std::wstring> set;
    TSplitRefusal refusal;
    std::wstring text;
  } cases[] = {
      {"tool", TSplitMode::Size, {{"tool", L"C:\\Tools\\ffmpeg.exe"}}, TSplitRefusal::MP4BoxPath, L""},
      {"no file", TSplitMode::Size, {{"input", L""}}, TSplitRefusal::NoInput, t.SplitMsgNoInput},
      {"size letters", TSplitMode::Size, {{"size", L"7OO"}}, TSplitRefusal::BadSize,
       L"The part size \"7OO\" is not a number of megabytes above 0."},
      {"size 0", TSplitMode::Size, {{"size", L"0"}}, TSplitRefusal::BadSize,
       L"The part size \"0\" is not a number of megabytes above 0."},
      {"size 0.0", TSplitMode::Size, {{"size", L"0.0"}}, TSplitRefusal::BadSize,
       L"The part size \"0.0\" is not a number of megabytes above 0."},
      {"size two points", TSplitMode::Size, {{"size", L"1.5.2"}}, TSplitRefusal::BadSize,
       L"The part size \"1.5.2\" is not a number of megabytes above 0."},
      {"size empty", TSplitMode::Size, {{"size", L""}}, TSplitRefusal::BadSize,
       L"The part size \"\" is not a number of megabytes above 0."},
      {"duration 8 characters", TSplitMode::Duration, {{"duration", L"12:30:00"}}, TSplitRefusal::BadDuration,
       FormatText(t.SplitMsgBadTime, {L"12:30:00"})},
      {"duration 0", TSplitMode::Duration, {{"duration", L"0"}}, TSplitRefusal::BadDuration, t.SplitMsgZeroDuration},
      {"from empty", TSplitMode::Range, {{"from", L""}}, TSplitRefusal::BadFrom, FormatText(t.SplitMsgBadTime, {L""})},
      {"to letters", TSplitMode::Range, {{"to", L"1:2"}}, TSplitRefusal::BadTo, FormatText(t.SplitMsgBadTime, {L"1:2"})},
      // Two digits are hours: "2" to "8" on a clip of 12 seconds ends far past it.
      {"past the end", TSplitMode::Range, {{"from", L"2"}, {"to", L"8"}, {"seconds", L"12"}}, TSplitRefusal::PastEnd,
       L"The part from 02:00:00 to 08:00:00 goes past the end of the file (00:00:12)."},
      {"no mode, no chapters", TSplitMode::Chapter, {{"chapters", L""}, {"nomode", L""}}, TSplitRefusal::NoMode,
       t.SplitMsgNoMode},
      {"end before start", TSplitMode::Range, {{"from", L"600"}, {"to", L"300"}}, TSplitRefusal::EmptyRange,
       t.SplitMsgEmptyRange},
      {"end at start", TSplitMode::Range, {{"from", L"01:00"}, {"to", L"3600"}}, TSplitRefusal::EmptyRange,
       t.SplitMsgEmptyRange},
      {"no chapters", TSplitMode::Chapter, {{"chapters", L""}}, TSplitRefusal::NoChapters, t.SplitMsgNoChapters},
      {"none for all", TSplitMode::AllChapters, {{"chapters", L""}}, TSplitRefusal::NoChapters, t.SplitMsgNoChapters},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSplitOptions o = Options(c.mode);
    for (const auto& [key, value] : c.set) {
      if (key == "tool") o.MP4BoxPath = value;
      if (key == "input") o.Input = value;
      if (key == "size") o.Size = value;
      if (key == "duration") o.Duration = value;
      if (key == "from") o.From = value;
      if (key == "to") o.To = value;
      if (key == "chapters") o.Chapters.clear();
      if (key == "seconds") o.InputSeconds = std::stod(value);
      if (key == "nomode") o.NoModeChecked = true;
    }
    EXPECT_EQ(CheckSplitJob(o), c.refusal);
    EXPECT_EQ(SplitRefusalText(c.refusal, o, t), c.text);
  }
}

TEST(SplitChapters, ListsFromTheReportsOfBothLibraries) {
  // The library we ship: a menu stream's report, 12 chapters, a title with "- " and accents.
  std::wstring report = L"ID                                       : 2\r\nFormat                                   : Timed Text\r\n";
  for (int i = 0; i < 12; ++i) {
    wchar_t line[96];
    swprintf(line, 96, L"00:%02d:%02d.500                             : %ls\r\n", i / 2, (i % 2) * 30,
             i == 8 ? L"Caf\u00e9 - cr\u00e8me" : (L"Part " + std::to_wstring(i + 1)).c_str());
    report += line;
  }
  TSplitChapterLists lists = SplitChapterLists(report, L"00:06:10.000");
  ASSERT_EQ(lists.Names.size(), 12u);
  ASSERT_EQ(lists.Starts.size(), 12u);
  ASSERT_EQ(lists.Ends.size(), 12u);
  EXPECT_EQ(lists.Names[0], L"01 - Part 1");
  EXPECT_EQ(lists.Names[8], L"09 - Caf\u00e9 - cr\u00e8me");
  EXPECT_EQ(lists.Names[9], L"10 - Part 10");
  EXPECT_EQ(lists.Starts[1], L"00:00:30.500");
  EXPECT_EQ(lists.Ends[0], L"00:00:30.500");
  EXPECT_EQ(lists.Ends[11], L"00:06:10.000");

  // An older library: "n : start - title" lines and a closing line.
  TSplitChapterLists older =
      SplitChapterLists(L"1 : 00:00:00.000 - Intro\r\n2 : 00:01:30.500 - Part - two\r\nEnd of chapters", L"00:03:00.250");
  EXPECT_EQ(older.Names, (std::vector<WideString>{L"01 - Intro", L"02 - Part - two"}));
  EXPECT_EQ(older.Starts, (std::vector<WideString>{L"00:00:00.000", L"00:01:30.500"}));
  EXPECT_EQ(older.Ends, (std::vector<WideString>{L"00:01:30.500", L"00:03:00.250"}));

  EXPECT_TRUE(SplitChapterLists(L"", L"00:00:01.000").Names.empty());
}

// Chosen answers of the library, by "kind/number/parameter".
class TAnswers : public TMediaAnswers {
 public:
  std::map<std::wstring, std::wstring> Values;
  WideString Get(TStreamKind Kind, int Number, const WideString& Parameter) override {
    auto it = Values.find(std::to_wstring(static_cast<int>(Kind)) + L"/" + std::to_wstring(Number) + L"/" + Parameter);
    return it == Values.end() ? WideString() : it->second;
  }
};

TEST(SplitChapters, FromTheLibrarysAnswers) {
  TAnswers a;
  a.Values = {{L"0/0/MenuCount", L"2"},
              {L"6/0/Inform", L"ID : 2\r\n00:00:00.000   : Opening\r\n00:00:00.500   : Next\r\n"},
              {L"0/0/PlayTime/String3", L"00:00:01.000"},
              {L"0/0/VideoCount", L"1"}};
  std::optional<TSplitChapterLists> lists = ReadSplitChapters(a);
  ASSERT_TRUE(lists);
  EXPECT_EQ(lists->Ends, (std::vector<WideString>{L"00:00:00.500", L"00:00:01.000"}));
  EXPECT_TRUE(MediaHasVideo(a));

  a.Values[L"0/0/ChaptersCount"] = L"0";  // the library says there are none
  EXPECT_FALSE(ReadSplitChapters(a));
  TAnswers none;  // no menu stream lists chapters
  none.Values = {{L"0/0/VideoCount", L"0"}};
  EXPECT_FALSE(ReadSplitChapters(none));
  EXPECT_FALSE(MediaHasVideo(none));
}

TEST(SplitJob, EveryChapterIsARunAndChapterOneIsSelectedAtTheEnd) {
  TSplitOptions o = Options(TSplitMode::AllChapters);
  o.Chapters.push_back({L"00:03:00.250", L"00:04:00.000"});
  std::vector<int> selected;
  TJobStart job = SplitJobStart(o, [&](int i) { selected.push_back(i); });
  EXPECT_EQ(job.Mode, TJobMode::Split);
  ASSERT_EQ(job.StepCount, 3);
  std::vector<std::wstring> ranges;
  for (int step = 0; step < 3; ++step) {
    std::optional<TRunRequest> run = job.Steps(step);
    ASSERT_TRUE(run);
    ranges.push_back(ArgumentsOf(run->CommandLine).at(1));
    ASSERT_EQ(run->Notes.size(), 2u);
    EXPECT_EQ(run->Notes[0].Text, L"Split my film.mp4 at Chapter # " + std::to_wstring(step + 1) + L" ...");
    EXPECT_FALSE(run->Notes[1].Row);
    EXPECT_EQ(run->Notes[1].Text, L"Command Line used for the splitting : " + AnsiToWide(run->CommandLine));
  }
  EXPECT_FALSE(job.Steps(3));
  EXPECT_EQ(ranges, (Args{L"0.000:90.500", L"90.500:180.250", L"180.250:240.000"}));
  ASSERT_TRUE(job.Closed);
  job.Closed();
  EXPECT_EQ(selected, (std::vector<int>{0, 1, 2, 0}));

  TJobStart one = SplitJobStart(Options(TSplitMode::Chapter), [&](int i) { selected.push_back(i); });
  EXPECT_EQ(one.StepCount, 1);
  EXPECT_TRUE(one.Steps(0));
  EXPECT_FALSE(one.Steps(1));
}

}  // namespace
