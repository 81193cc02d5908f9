// The mux job's checks and steps, before any window or tool is involved.
#include <gtest/gtest.h>

#include "app/commands/mux_job.h"
#include "tests/app/argv_support.h"

namespace {

using C = TTrackColumn;

TTrackRow Row(const wchar_t* File, const wchar_t* Index, const wchar_t* Type, bool Checked = true) {
  TTrackRow r;
  r.Checked = Checked;
  r[C::Path] = L"C:\\v\\";
  r[C::File] = File;
  r[C::Index] = Index;
  r[C::Type] = Type;
  return r;
}

TMuxOptions Options() {
  TMuxOptions o;
  o.MP4BoxPath = L"C:\\gpac\\MP4Box.EXE";
  o.Output = L"C:\\v\\out.mp4";
  return o;
}

TEST(MuxJob, RefusedBeforeAnythingStarts) {
  const std::vector<TTrackRow> good = {Row(L"a.mp4", L"1", L"video")};
  struct Case {
    const char* what;
    std::vector<TTrackRow> rows;
    std::function<void(TMuxOptions&)> set;
    std::optional<long long> split;
    bool avcWarning;
    TMuxRefusal expected;
  } cases[] = {
      {"ready", good, [](auto&) {}, 0, true, TMuxRefusal::None},
      {"no tool", good, [](auto& o) { o.MP4BoxPath.clear(); }, 0, false, TMuxRefusal::MP4BoxPath},
      {"another tool", good, [](auto& o) { o.MP4BoxPath = L"C:\\x\\MP4Box.exe.bak"; }, 0, false,
       TMuxRefusal::MP4BoxPath},
      {"bad split size", good, [](auto&) {}, std::nullopt, false, TMuxRefusal::BadSplitSize},
      {"no rows", {}, [](auto&) {}, 0, false, TMuxRefusal::NoCheckedTrack},
      {"no checked row", {Row(L"a.mp4", L"1", L"video", false)}, [](auto&) {}, 0, false, TMuxRefusal::NoCheckedTrack},
      {"no output", good, [](auto& o) { o.Output.clear(); }, 0, false, TMuxRefusal::NoOutputName},
      {"raw AVC without frame rate", {Row(L"a.264", L"", L"video")}, [](auto&) {}, 0, true,
       TMuxRefusal::RawAvcFrameRate},
      {"raw AVC, warning off", {Row(L"a.264", L"", L"video")}, [](auto&) {}, 0, false, TMuxRefusal::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TMuxOptions o = Options();
    c.set(o);
    EXPECT_EQ(CheckMuxJob(c.rows, o, c.split, c.avcWarning), c.expected);
  }
}

TEST(MuxJob, PreStepsThenTheCreation) {
  std::vector<TTrackRow> rows = {Row(L"one.avi", L"video", L"video"), Row(L"one.avi", L"audio", L"audio"),
                                 Row(L"two.avi", L"video", L"video")};
  TMuxOptions o = Options();
  o.AviH264Inputs = {L"C:\\v\\one.avi", L"C:\\v\\two.avi"};
  o.Verbose = true;
  TNamedTexts texts;
  TJobStart job = MuxJobStart(rows, o, texts);
  EXPECT_EQ(job.Mode, TJobMode::Mux);
  EXPECT_EQ(job.StepCount, 3);
  EXPECT_EQ(job.TempFiles, (std::vector<WideString>{L"C:\\v\\one_video.h264", L"C:\\v\\two_video.h264"}));

  rows.clear();  // the job keeps the rows it was started with
  std::optional<TRunRequest> first = job.Steps(0), second = job.Steps(1), mux = job.Steps(2);
  ASSERT_TRUE(first && second && mux);
  EXPECT_EQ(ArgumentsOf(first->CommandLine), (std::vector<std::wstring>{L"-aviraw", L"video", L"C:\\v\\one.avi"}));
  EXPECT_EQ(ArgumentsOf(second->CommandLine), (std::vector<std::wstring>{L"-aviraw", L"video", L"C:\\v\\two.avi"}));
  ASSERT_EQ(first->Notes.size(), 3u);
  EXPECT_EQ(first->Notes[0].Text, texts.AVCinAVIDetect);
  EXPECT_EQ(first->Notes[0].Kind, pekError);
  EXPECT_EQ(first->Notes[1].Text, L"Extraction of one.avi to raw h264...");
  EXPECT_FALSE(first->Notes[2].Row);

  EXPECT_EQ(ArgumentsOf(mux->CommandLine),
            (std::vector<std::wstring>{L"-add", L"C:\\v\\one_video.h264#video", L"-add", L"C:\\v\\one.avi#audio", L"-add",
                                       L"C:\\v\\two_video.h264#video", L"-v", L"C:\\v\\out.mp4"}));
  EXPECT_TRUE(mux->Verbose);
  EXPECT_FALSE(mux->TagsByMP4Box);
  EXPECT_EQ(mux->Notes.at(0).Text, texts.Msg5 + L" out.mp4...");
  EXPECT_EQ(mux->Notes.at(1).Text, texts.Msg6 + L" : " + AnsiToWide(mux->CommandLine));
  EXPECT_FALSE(job.Steps(3));
}

}  // namespace
