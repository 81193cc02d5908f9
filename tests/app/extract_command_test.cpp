// The extraction commands as argument vectors, for every row of the option table; the
// options a row offers; and the extraction job's steps.
#include <gtest/gtest.h>

#include "app/commands/extract_command.h"
#include "tests/app/argv_support.h"
#include "tests/app/program_session.h"
#include "tests/app/recording_view.h"
#include "tests/widetext/temp_folder.h"

namespace {

using X = TExtractChoice;
using Args = std::vector<std::wstring>;

TExtractRequest Request(const wchar_t* Input, const wchar_t* Index, const wchar_t* Type, X Choice, bool Verbose = false) {
  TExtractRequest r;
  r.MP4BoxPath = L"C:\\tools\\MP4Box.exe";
  r.Input = Input;
  r.Row.Index = Index;
  r.Row.Type = Type;
  r.Choice = Choice;
  r.Verbose = Verbose;
  return r;
}

TEST(ExtractCommand, EveryRowOfTheOptionTable) {
  const TNamedTexts t = KeyTexts();
  struct Case {
    TExtractRequest R;
    Args Expected;  // after the program; empty for a chapter row (no run)
    const wchar_t* Status;
    TChapterOutput Chapters;
  } cases[] = {
      {Request(L"D:\\v\\a.avi", L"video", L"video", X::MP4), {L"-aviraw", L"video", L"D:\\v\\a.avi"},
       L"MsgExtractRawVideo a.avi...", TChapterOutput::None},
      {Request(L"D:\\v\\a.vob", L"audio", L"audio", X::Raw), {L"-aviraw", L"audio", L"D:\\v\\a.vob"},
       L"MsgExtractRawAudio a.vob...", TChapterOutput::None},
      {Request(L"D:\\v\\a.mp4", L"1", L"video", X::Raw), {L"-raw", L"1", L"D:\\v\\a.mp4"},
       L"MsgExtractRawVideo a.mp4...", TChapterOutput::None},
      {Request(L"D:\\v\\a.ts", L"224", L"video", X::RawAll, true), {L"-raw", L"224", L"-v", L"D:\\v\\a.ts"},
       L"MsgExtractRawVideo a.ts...", TChapterOutput::None},
      {Request(L"D:\\v\\a.mp4", L"1", L"video", X::MP4), {L"-single", L"1", L"D:\\v\\a.mp4"},
       L"MsgEncapsulateVideoInMP4", TChapterOutput::None},
      {Request(L"D:\\v\\a.mov", L"1", L"video", X::AVI), {L"-avi", L"1", L"D:\\v\\a.mov"},
       L"MsgEncapsulateVideoInAVI", TChapterOutput::None},
      {Request(L"D:\\v\\a.m4a", L"2", L"audio", X::Raw), {L"-raw", L"2", L"D:\\v\\a.m4a"},
       L"MsgExtractRawAudio a.m4a...", TChapterOutput::None},
      {Request(L"D:\\v\\a.m4a", L"2", L"audio", X::MP4), {L"-single", L"2", L"D:\\v\\a.m4a"},
       L"MsgExtractRawAudio a.m4a...", TChapterOutput::None},
      {Request(L"D:\\v\\a.mp4", L"4", L"vobsub", X::RawAll), {L"-raw", L"4", L"D:\\v\\a.mp4"},
       L"MsgExtractVobSub a.mp4...", TChapterOutput::None},
      {Request(L"D:\\v\\a.mp4", L"4", L"vobsub", X::MP4), {L"-single", L"4", L"D:\\v\\a.mp4"},
       L"MsgExtractVobSub a.mp4...", TChapterOutput::None},
      {Request(L"D:\\v\\a.mp4", L"3", L"sub", X::Raw), {L"-srt", L"3", L"D:\\v\\a.mp4"},
       L"MsgExtractSubtitle a.mp4 MsgToSRTFormat", TChapterOutput::None},
      {Request(L"D:\\v\\a.mp4", L"3", L"sub", X::RawAll), {L"-ttxt", L"3", L"D:\\v\\a.mp4"},
       L"MsgExtractSubtitle a.mp4 MsgToTTXTFormat", TChapterOutput::None},
      {Request(L"D:\\v\\a.mp4", L"3", L"sub", X::MP4), {L"-ttxt", L"3", L"D:\\v\\a.mp4"},
       L"MsgExtractSubtitle a.mp4 MsgToTTXTFormat", TChapterOutput::None},
      {Request(L"D:\\v\\a.mp4", L"5", L"chap", X::Raw), {}, L"MsgExtractChapters a.mp4 MsgToOGMTextFormat",
       TChapterOutput::ChapterFile},
      {Request(L"D:\\v\\a.mp4", L"5", L"chap", X::MP4), {}, L"MsgExtractChapters a.mp4 MsgToCueSheetFormat",
       TChapterOutput::CueSheet},
      {Request(L"D:\\my films\\a.mp4", L"9", L"other", X::Raw, true), {L"-v", L"D:\\my films\\a.mp4"}, L"",
       TChapterOutput::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToAnsi(c.R.Input + L" " + c.R.Row.Type));
    TExtractRun run = BuildExtractCommandLine(c.R, t);
    EXPECT_EQ(run.StatusText, c.Status);
    EXPECT_EQ(run.Chapters, c.Chapters);
    if (c.Chapters != TChapterOutput::None) {
      EXPECT_TRUE(run.CommandLine.empty()) << run.CommandLine;
      continue;
    }
    EXPECT_EQ(run.CommandLine.rfind("\"C:\\tools\\MP4Box.exe\" ", 0), 0u) << run.CommandLine;
    EXPECT_EQ(ArgumentsOf(run.CommandLine), c.Expected) << run.CommandLine;
  }
}

TEST(ExtractCommand, OptionsOfARow) {
  const TNamedTexts t = KeyTexts();
  using G = TExtractGroup;
  struct Case {
    G Group;
    const wchar_t* Type;
    const wchar_t* VideoCodec;
    const wchar_t* AudioCodec;
    std::optional<WideString> Raw, MP4, AVI;
    std::optional<bool> MP4Visible, AVIVisible;
  } cases[] = {
      {G::MP4, L"video", L"MPEG-4 Visual", L"AAC", L"ExtractToRAW", L"ExtractToMP4", L"ExtractToAVI", true, true},
      {G::MP4, L"video", L"H.264", L"AAC", L"ExtractToRAW", L"ExtractToMP4", L"ExtractToAVI", true, false},
      {G::MP4, L"video", L"AVC", L"AAC", L"ExtractToRAW", L"ExtractToMP4", L"ExtractToAVI", true, false},
      {G::MP4, L"audio", L"AVC", L"AAC", L"ExtractToRAW", L"ExtractToMP4", {}, true, false},
      {G::MP4, L"vobsub", L"AVC", L"AAC", L"ExtractToRAW", L"ExtractToMP4", {}, true, false},
      {G::MP4, L"sub", L"AVC", L"AAC", L"ExtractToSRT", L"ExtractToTTXT", {}, true, false},
      {G::MP4, L"chap", L"AVC", L"AAC", L"ExtractToOGM", L"ExtractToCUE", {}, true, false},
      {G::AVI, L"video", L"AVC", L"AAC", L"ExtractVideoStream", {}, {}, false, false},
      {G::TS, L"audio", L"AVC", L"AAC", L"ExtractAudioStream", {}, {}, true, false},
      {G::TS, L"audio", L"AVC", L"AC3", L"ExtractAudioStream", {}, {}, false, false},
      {G::AVI, L"audio", L"AVC", L"AC-3", L"ExtractAudioStream", {}, {}, false, false},
      {G::AVI, L"sub", L"AVC", L"AAC", {}, {}, {}, {}, {}},
      {G::Other, L"video", L"AVC", L"AAC", L"ExtractToRAW", L"ExtractToMP4", {}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.Group) << " " << WideToAnsi(c.Type) << " "
                                    << WideToAnsi(c.VideoCodec) << " " << WideToAnsi(c.AudioCodec));
    TExtractOptionView v = ExtractOptionsFor(c.Group, c.Type, c.VideoCodec, c.AudioCodec, t);
    EXPECT_EQ(v.RawCaption, c.Raw);
    EXPECT_EQ(v.MP4Caption, c.MP4);
    EXPECT_EQ(v.AVICaption, c.AVI);
    EXPECT_EQ(v.MP4Visible, c.MP4Visible);
    EXPECT_EQ(v.AVIVisible, c.AVIVisible);
  }
}

class ExtractJob : public ::testing::Test {
 protected:
  void SetUp() override {
    input = temp / L"film.mp4";
    job.Request = Request(input.c_str(), L"", L"", X::RawAll);
    for (auto [index, type] : {std::pair{L"1", L"video"}, {L"2", L"audio"}, {L"3", L"sub"}, {L"4", L"chap"}})
      job.Rows.push_back({temp.Path() + L"\\", L"film.mp4", index, L"", type});
    job.ChapterText = L"1 : 00:00:00.000 - Intro\r\nend\r\n";
    job.RowStarting = [this](int Row) { started.push_back(Row); };
  }
  TempFolder temp;
  std::wstring input;
  TExtractJob job;
  std::vector<int> started;
  const TNamedTexts t = KeyTexts();
};

TEST_F(ExtractJob, AllStreamsInListOrderThenOneStream) {
  TJobStart start = ExtractJobStart(job, t);
  EXPECT_EQ(start.Mode, TJobMode::Extract);
  ASSERT_EQ(start.StepCount, 4);
  std::vector<Args> runs;
  for (int step = 0; step < 3; ++step) runs.push_back(ArgumentsOf(start.Steps(step)->CommandLine));
  EXPECT_EQ(runs, (std::vector<Args>{{L"-raw", L"1", input}, {L"-raw", L"2", input}, {L"-ttxt", L"3", input}}));
  EXPECT_FALSE(TempFolder::Exists(temp / L"film_chap.txt"));
  std::optional<TRunRequest> chapters = start.Steps(3);
  ASSERT_TRUE(chapters);
  EXPECT_TRUE(chapters->CommandLine.empty());
  EXPECT_EQ(apptest::ReadFileBytes(temp / L"film_chap.txt"), "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Intro\r\n");
  EXPECT_FALSE(start.Steps(4));
  EXPECT_EQ(started, (std::vector<int>{0, 1, 2, 3}));

  // The notes of a later step: status row, command line, the folder of the files.
  std::optional<TRunRequest> second = start.Steps(1);
  ASSERT_EQ(second->Notes.size(), 3u);
  EXPECT_TRUE(second->Notes[0].Row);
  EXPECT_EQ(second->Notes[0].Text, L"MsgExtractRawAudio film.mp4...");
  EXPECT_FALSE(second->Notes[1].Row);
  EXPECT_EQ(second->Notes[1].Text, L"MsgCmdUsedForExtraction : " + AnsiToWide(second->CommandLine));
  EXPECT_EQ(second->Notes[2].Text, L"MsgFilesSavedIn" + temp.Path() + L"\\");
  EXPECT_EQ(start.Steps(0)->Notes.size(), 2u);

  // One stream: the selected row's cue sheet, in one step.
  job.Request.Choice = X::MP4;
  job.Selected = 3;
  started.clear();
  start = ExtractJobStart(job, t);
  EXPECT_EQ(start.StepCount, 1);
  EXPECT_TRUE(start.Steps(0)->CommandLine.empty());
  EXPECT_TRUE(TempFolder::Exists(temp / L"film.cue"));
  EXPECT_FALSE(start.Steps(1));
  EXPECT_EQ(started, std::vector<int>{3});
}

TEST_F(ExtractJob, AChapterFileThatCannotBeWrittenFailsTheJobBeforeAnyRun) {
  job.Request.Input = temp / L"gone\\film.mp4";
  job.Request.Choice = X::Raw;
  job.Selected = 3;
  InitApplication();
  TRecordingView view;
  class TNoRunner : public IToolRunner {
   public:
    void Run(const AnsiString&, DWORD) override { ++Runs; }
    void Stop() override {}
    bool IsRunning() const override { return false; }
    bool RunFailed() const override { return false; }
    bool EndedByItself() const override { return true; }
    int Runs = 0;
  } runner;
  TJobSequencer seq(&runner, &view, &t);
  ASSERT_TRUE(seq.StartJob(ExtractJobStart(job, t)));
  EXPECT_FALSE(seq.JobRunning());
  EXPECT_EQ(runner.Runs, 0);
  EXPECT_EQ(view.Closed, std::vector<TJobOutcome>{TJobOutcome::Failed});
  ASSERT_EQ(view.Rows.size(), 2u);
  EXPECT_EQ(view.Rows[0].Kind, pekError);
  EXPECT_NE(view.Rows[0].Text.find(L"gone\\film_chap.txt"), WideString::npos) << WideToAnsi(view.Rows[0].Text);
  EXPECT_EQ(view.Rows[1], (TRecordedRow{pekWarning, L"ExtractFailded"}));
}

}  // namespace
