// The command lines that differ between the older MP4Box and today's, builder by builder,
// read back as each tool receives its arguments.
#include <gtest/gtest.h>

#include "app/commands/convert_command.h"
#include "app/commands/extract_command.h"
#include "app/commands/tool_command_line.h"
#include "app/common/utf8.h"
#include "tests/app/argv_support.h"
#include "tests/app/recording_view.h"

namespace {

const TMP4BoxVersion kOlder = ParseMP4BoxVersion("MP4Box - GPAC version 0.4.5");
const TMP4BoxVersion kToday = ParseMP4BoxVersion("MP4Box - GPAC version 26.08-DEV");

// The arguments after the program, as the tool of version V gets the line built for it.
std::vector<std::wstring> Received(const AnsiString& Line, const TMP4BoxVersion& V) {
  TRunRequest run;
  SetToolCommandLine(run, Line, V);
  std::vector<std::wstring> args = ArgvOf(CommandLineText(run));
  if (!args.empty()) args.erase(args.begin());
  return args;
}

TEST(GenerationCommands, TheRawH264OfAnAviFile) {
  TConvertRequest convert;
  convert.MP4BoxPath = L"C:\\Tools\\MP4Box.exe";
  convert.Input = L"D:\\v\\film \x03A4.avi";  // a letter outside the code page
  convert.FrameRate = L"25.000";
  convert.Version = kOlder;
  EXPECT_EQ(ArgumentsOf(BuildConvertCommandLine(convert).CommandLine)[0], L"-aviraw");
  convert.Version = kToday;
  EXPECT_EQ(Received(BuildConvertCommandLine(convert).CommandLine, kToday),
            (std::vector<std::wstring>{L"-raw", L"1", L"-out", L"D:\\v\\film \x03A4_video.h264", L"D:\\v\\film \x03A4.avi"}));
  EXPECT_EQ(Received(BuildAviConvertMuxCommandLine(convert).CommandLine, kToday),
            (std::vector<std::wstring>{L"-add", L"D:\\v\\film \x03A4_video.h264:fps=25.000", L"D:\\v\\film \x03A4.mp4"}));
  // The job checks that each step wrote its file.
  TJobStart job = ConvertJobStart(convert);
  ASSERT_EQ(job.StepCount, 2);
  EXPECT_EQ(job.Steps(0)->Writes.at(0).Names, std::vector<WideString>{L"D:\\v\\film \x03A4_video.h264"});
  EXPECT_EQ(job.Steps(1)->Writes.at(0).Names, std::vector<WideString>{L"D:\\v\\film \x03A4.mp4"});
  EXPECT_FALSE(job.Steps(1)->WideCommandLine.empty());  // the Greek letter goes as UTF-16
}

TEST(GenerationCommands, ExtractionByVersion) {
  const struct {
    const char* what;
    const wchar_t* input;
    TExtractRow row;
    TExtractChoice choice;
    std::vector<std::wstring> older, today;
    const wchar_t* writes;
  } cases[] = {
      {"AVI video", L"D:\\v\\a.avi", {L"D:\\v\\", L"a.avi", L"video", L"", L"video"}, TExtractChoice::Raw,
       {L"-aviraw", L"video", L"D:\\v\\a.avi"}, {L"-raw", L"1", L"D:\\v\\a.avi"}, L"D:\\v\\a_track1.*"},
      {"AVI audio", L"D:\\v\\a.avi", {L"D:\\v\\", L"a.avi", L"audio", L"", L"audio"}, TExtractChoice::RawAll,
       {L"-aviraw", L"audio", L"D:\\v\\a.avi"}, {L"-raw", L"2", L"D:\\v\\a.avi"}, L"D:\\v\\a_track2.*"},
      {"MP4 video raw", L"D:\\v\\m.mp4", {L"D:\\v\\", L"m.mp4", L"1", L"", L"video"}, TExtractChoice::Raw,
       {L"-raw", L"1", L"D:\\v\\m.mp4"}, {L"-raw", L"1", L"D:\\v\\m.mp4"}, L"D:\\v\\m_track1.*"},
      {"MP4 video to AVI (hidden for today's tool)", L"D:\\v\\m.mp4", {L"D:\\v\\", L"m.mp4", L"1", L"", L"video"},
       TExtractChoice::AVI, {L"-avi", L"1", L"D:\\v\\m.mp4"}, {L"-raw", L"1", L"D:\\v\\m.mp4"}, L"D:\\v\\m_track1.*"},
      {"subtitle to SRT", L"D:\\v\\m.mp4", {L"D:\\v\\", L"m.mp4", L"3", L"", L"sub"}, TExtractChoice::Raw,
       {L"-srt", L"3", L"D:\\v\\m.mp4"}, {L"-srt", L"3", L"D:\\v\\m.mp4"}, L"D:\\v\\m_track3.srt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TExtractRequest r;
    r.MP4BoxPath = L"MP4Box.exe";
    r.Input = c.input;
    r.Row = c.row;
    r.Choice = c.choice;
    r.Version = kOlder;
    EXPECT_EQ(ArgumentsOf(BuildExtractCommandLine(r).CommandLine), c.older);
    r.Version = kToday;
    const TExtractRun today = BuildExtractCommandLine(r);
    EXPECT_EQ(Received(today.CommandLine, kToday), c.today);
    EXPECT_EQ(today.Writes, c.writes);
  }
  // Today's tool writes no AVI file: the option is hidden, and the log says why.
  const TNamedTexts texts = KeyTexts();
  TExtractOptionView older = ExtractOptionsFor(TExtractGroup::MP4, L"video", L"MPEG-4 Visual", L"", texts, kOlder);
  TExtractOptionView today = ExtractOptionsFor(TExtractGroup::MP4, L"video", L"MPEG-4 Visual", L"", texts, kToday);
  EXPECT_EQ(older.AVIVisible, std::optional<bool>(true));
  EXPECT_EQ(today.AVIVisible, std::optional<bool>(false));
  EXPECT_FALSE(older.Note.has_value());
  EXPECT_TRUE(today.Note.has_value());
}

}  // namespace
