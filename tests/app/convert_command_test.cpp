// The converter's commands as argument vectors, and the conversion job's steps.
#include <gtest/gtest.h>

#include "app/commands/convert_command.h"
#include "tests/app/argv_support.h"

namespace {

using T = TConvertTarget;
using Args = std::vector<std::wstring>;

TConvertRequest Request(const wchar_t* Input, bool Verbose = false, const wchar_t* FrameRate = L"25.000") {
  TConvertRequest r;
  r.MP4BoxPath = L"C:\\tools\\MP4Box.exe";
  r.Input = Input;
  r.Target = ConvertTargetOf(Input);
  r.FrameRate = FrameRate;
  r.Verbose = Verbose;
  return r;
}

TEST(ConvertCommand, TargetsByKindOfInput) {
  struct Case {
    const wchar_t* Input;
    T Target;
    const wchar_t* Output;
  } cases[] = {{L"D:\\s\\subs.srt", T::ToTTXT, L"D:\\s\\subs.ttxt"},
               {L"D:\\s\\SUBS.SRT", T::ToTTXT, L"D:\\s\\SUBS.ttxt"},
               {L"D:\\s\\subs.en.ttxt", T::ToSRT, L"D:\\s\\subs.en.srt"},
               {L"D:\\v\\film.avi", T::AviToMP4, L"D:\\v\\film.mp4"}};
  for (const Case& c : cases) {
    TConvertRequest r = Request(c.Input);
    EXPECT_EQ(r.Target, c.Target) << WideToAnsi(c.Input);
    EXPECT_EQ(ConversionOutput(r), c.Output);
  }
}

TEST(ConvertCommand, BothStepsOfEveryTarget) {
  struct Case {
    TConvertRequest R;
    Args First;
    const wchar_t* Status;
  } cases[] = {
      {Request(L"D:\\s\\subs.srt"), {L"-ttxt", L"D:\\s\\subs.srt"}, L"Conversion of subs.srt to ttxt format..."},
      {Request(L"D:\\s\\subs.ttxt", true), {L"-srt", L"-v", L"D:\\s\\subs.ttxt"}, L"Conversion of subs.ttxt to srt format..."},
      {Request(L"C:\\v\\film.avi"), {L"-aviraw", L"video", L"C:\\v\\film.avi"}, L"Extraction of film.avi to raw h264..."},
  };
  for (const Case& c : cases) {
    TConvertRun run = BuildConvertCommandLine(c.R);
    EXPECT_EQ(ArgumentsOf(run.CommandLine), c.First) << run.CommandLine;
    EXPECT_EQ(run.StatusText, c.Status);
    EXPECT_EQ(run.CommandText, L"Command Line used for the conversion : " + AnsiToWide(run.CommandLine));
  }

  // The mux step: no -new, no -v, no temporary folder; the frame rate inside the quotes.
  TConvertRequest avi = Request(L"C:\\v\\my film.avi", true);
  TConvertRun mux = BuildAviConvertMuxCommandLine(avi);
  EXPECT_EQ(mux.CommandLine, "\"C:\\tools\\MP4Box.exe\" -add \"C:\\v\\my film_video.h264:fps=25.000\" \"C:\\v\\my film.mp4\"");
  EXPECT_EQ(mux.StatusText, L"Mux my film_video.h264 to mp4...");
  EXPECT_EQ(mux.CommandText, L"Command Line used for the mux : " + AnsiToWide(mux.CommandLine));
  // An existing MP4 the user agreed to replace is made anew, not added to.
  avi.ReplaceOutput = true;
  avi.FrameRate = L"";
  EXPECT_EQ(ArgumentsOf(BuildAviConvertMuxCommandLine(avi).CommandLine),
            (Args{L"-add", L"C:\\v\\my film_video.h264", L"-new", L"C:\\v\\my film.mp4"}));
}

TEST(ConvertCommand, TheJobsSteps) {
  TJobStart subs = ConvertJobStart(Request(L"D:\\s\\subs.srt", true));
  EXPECT_EQ(subs.Mode, TJobMode::Convert);
  EXPECT_EQ(subs.StepCount, 1);
  EXPECT_TRUE(subs.TempFiles.empty());
  std::optional<TRunRequest> only = subs.Steps(0);
  ASSERT_TRUE(only);
  EXPECT_TRUE(only->Verbose);
  ASSERT_EQ(only->Notes.size(), 2u);
  EXPECT_TRUE(only->Notes[0].Row);
  EXPECT_FALSE(only->Notes[1].Row);
  EXPECT_FALSE(subs.Steps(1));

  TJobStart avi = ConvertJobStart(Request(L"C:\\v\\film.avi"));
  EXPECT_EQ(avi.StepCount, 2);
  EXPECT_EQ(avi.TempFiles, std::vector<WideString>{L"C:\\v\\film_video.h264"});
  EXPECT_EQ(ArgumentsOf(avi.Steps(0)->CommandLine)[0], L"-aviraw");
  EXPECT_EQ(ArgumentsOf(avi.Steps(1)->CommandLine)[0], L"-add");
  EXPECT_FALSE(avi.Steps(2));
}

}  // namespace
