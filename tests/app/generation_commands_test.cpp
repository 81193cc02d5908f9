// The command lines that differ between the older MP4Box and today's, builder by builder,
// read back as each tool receives its arguments.
#include <gtest/gtest.h>

#include "app/commands/convert_command.h"
#include "app/commands/extract_command.h"
#include "app/commands/join_command.h"
#include "app/commands/split_command.h"
#include "app/commands/tool_command_line.h"
#include "app/common/utf8.h"
#include "tests/app/argv_support.h"
#include "tests/app/recording_view.h"
#include "tests/widetext/temp_folder.h"

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
  // Today's lines, with the capture cases (mp4box-today-2) that show them at work.
  const struct {
    const char* what;
    const wchar_t* input;
    TExtractRow row;
    TExtractChoice choice;
    int aviTrack;
    std::vector<std::wstring> older, today;
    const wchar_t* writes;
  } cases[] = {
      // 5.10: "-raw 1 -out x.h264" writes the name given.
      {"AVI video", L"D:\\v\\a.avi", {L"D:\\v\\", L"a.avi", L"video", L"AVC - 00:00:01", L"video"}, TExtractChoice::Raw, 0,
       {L"-aviraw", L"video", L"D:\\v\\a.avi"}, {L"-raw", L"1", L"-out", L"D:\\v\\a_track1.h264", L"D:\\v\\a.avi"},
       L"D:\\v\\a_track1.h264"},
      // 5.11: "-raw 2 -out x.mp3".
      {"AVI audio", L"D:\\v\\a.avi", {L"D:\\v\\", L"a.avi", L"audio", L"MPEG Audio - 00:00:01", L"audio"},
       TExtractChoice::RawAll, 2, {L"-aviraw", L"audio", L"D:\\v\\a.avi"},
       {L"-raw", L"2", L"-out", L"D:\\v\\a_track2.mp3", L"D:\\v\\a.avi"}, L"D:\\v\\a_track2.mp3"},
      // 5.14/5.15: without "-out" both audio streams of an AVI write "a.mp3".
      {"AVI second audio", L"D:\\v\\a.avi", {L"D:\\v\\", L"a.avi", L"audio", L"MPEG Audio - 00:00:01", L"audio"},
       TExtractChoice::RawAll, 3, {L"-aviraw", L"audio", L"D:\\v\\a.avi"},
       {L"-raw", L"3", L"-out", L"D:\\v\\a_track3.mp3", L"D:\\v\\a.avi"}, L"D:\\v\\a_track3.mp3"},
      // 5.1: "film_track1.264".
      {"MP4 video raw", L"D:\\v\\m.mp4", {L"D:\\v\\", L"m.mp4", L"1", L"", L"video"}, TExtractChoice::Raw, 0,
       {L"-raw", L"1", L"D:\\v\\m.mp4"}, {L"-raw", L"1", L"D:\\v\\m.mp4"}, L"D:\\v\\m_track1.*"},
      {"MP4 video to AVI (hidden for today's tool)", L"D:\\v\\m.mp4", {L"D:\\v\\", L"m.mp4", L"1", L"", L"video"},
       TExtractChoice::AVI, 0, {L"-avi", L"1", L"D:\\v\\m.mp4"}, {L"-raw", L"1", L"D:\\v\\m.mp4"}, L"D:\\v\\m_track1.*"},
      // 5.5 and 5.6: "film_3_text.srt", "film_3_text.ttxt".
      {"subtitle to SRT", L"D:\\v\\m.mp4", {L"D:\\v\\", L"m.mp4", L"3", L"", L"sub"}, TExtractChoice::Raw, 0,
       {L"-srt", L"3", L"D:\\v\\m.mp4"}, {L"-srt", L"3", L"D:\\v\\m.mp4"}, L"D:\\v\\m_3_text.srt"},
      {"subtitle to TTXT", L"D:\\v\\m.mp4", {L"D:\\v\\", L"m.mp4", L"3", L"", L"sub"}, TExtractChoice::MP4, 0,
       {L"-ttxt", L"3", L"D:\\v\\m.mp4"}, {L"-ttxt", L"3", L"D:\\v\\m.mp4"}, L"D:\\v\\m_3_text.ttxt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TExtractRequest r;
    r.MP4BoxPath = L"MP4Box.exe";
    r.Input = c.input;
    r.Row = c.row;
    r.Choice = c.choice;
    r.AviTrack = c.aviTrack;
    r.Version = kOlder;
    EXPECT_EQ(ArgumentsOf(BuildExtractCommandLine(r).CommandLine), c.older);
    r.Version = kToday;
    const TExtractRun today = BuildExtractCommandLine(r);
    EXPECT_EQ(Received(today.CommandLine, kToday), c.today);
    EXPECT_EQ(today.Writes, c.writes);
  }
  // The job gives each stream of an AVI file its own track: the second audio stream is 3.
  TExtractJob job;
  job.Request.MP4BoxPath = L"MP4Box.exe";
  job.Request.Input = L"D:\\v\\b.avi";
  job.Request.Choice = TExtractChoice::RawAll;
  job.Request.Version = kToday;
  for (const wchar_t* type : {L"video", L"audio", L"audio"})
    job.Rows.push_back({L"D:\\v\\", L"b.avi", type, type == std::wstring(L"video") ? L"AVC" : L"MPEG Audio", type});
  TJobStart start = ExtractJobStart(job, KeyTexts());
  EXPECT_EQ(Received(start.Steps(2)->CommandLine, kToday),
            (std::vector<std::wstring>{L"-raw", L"3", L"-out", L"D:\\v\\b_track3.mp3", L"D:\\v\\b.avi"}));
  EXPECT_EQ(start.Steps(1)->Writes.at(0).Names, std::vector<WideString>{L"D:\\v\\b_track2.mp3"});
  // Today's tool writes no AVI file: the option is hidden, and the log says why.
  const TNamedTexts texts = KeyTexts();
  TExtractOptionView older = ExtractOptionsFor(TExtractGroup::MP4, L"video", L"MPEG-4 Visual", L"", texts, kOlder);
  TExtractOptionView today = ExtractOptionsFor(TExtractGroup::MP4, L"video", L"MPEG-4 Visual", L"", texts, kToday);
  EXPECT_EQ(older.AVIVisible, std::optional<bool>(true));
  EXPECT_EQ(today.AVIVisible, std::optional<bool>(false));
  EXPECT_FALSE(older.Note.has_value());
  EXPECT_TRUE(today.Note.has_value());
}

using C = TTrackColumn;

TTrackRow Track(const wchar_t* File, const wchar_t* Index, const wchar_t* Type, bool Checked = true) {
  TTrackRow r;
  r.Checked = Checked;
  r[C::Path] = L"D:\\v\\";
  r[C::File] = File;
  r[C::Index] = Index;
  r[C::Type] = Type;
  return r;
}

TTrackRow With(TTrackRow Row, C Column, const wchar_t* Value) {
  Row[Column] = Value;
  return Row;
}

// The join of both generations. Today's lines follow the captures (mp4box-today-2): whole
// later files after the first file's tracks keep every stream at 0 and in sync, with the
// first file's options (join-forms J1, J2; join case 4c); a frame rate on an added track
// before a whole file fails (J7, 4a); tracks appended one by one lose the sync (4b, J3, J4);
// an ADTS AAC file never joins an audio track (J10).
TEST(GenerationCommands, JoinByVersion) {
  const TTrackRow a1 = With(With(Track(L"a.mp4", L"1", L"video"), C::Language, L"English"), C::Name, L"Video");
  const TTrackRow a2 = With(Track(L"a.mp4", L"2", L"audio"), C::Language, L"French");
  const TTrackRow b1 = Track(L"b.mp4", L"1", L"video"), b2 = Track(L"b.mp4", L"2", L"audio");
  const TTrackRow c1 = Track(L"c.mp4", L"1", L"video"), c2 = Track(L"c.mp4", L"2", L"audio");
  using Args = std::vector<std::wstring>;
  const struct {
    const char* what;
    std::vector<TTrackRow> rows;
    Args older, today;
    const wchar_t* outOfSync;    // the key of the refusal for today's tool, or none
    std::vector<WideString> dropped;
  } cases[] = {
      {"J1: options of the first file kept", {a1, a2, b1, b2},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat", L"D:\\v\\b.mp4#1",
        L"-cat", L"D:\\v\\b.mp4#2", L"D:\\o\\j.mp4"},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat", L"D:\\v\\b.mp4",
        L"D:\\o\\j.mp4"},
       nullptr, {}},
      {"J2 and 4c: three files", {a1, a2, b1, b2, c1, c2},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat", L"D:\\v\\b.mp4#1",
        L"-cat", L"D:\\v\\b.mp4#2", L"-cat", L"D:\\v\\c.mp4#1", L"-cat", L"D:\\v\\c.mp4#2", L"D:\\o\\j.mp4"},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat", L"D:\\v\\b.mp4",
        L"-cat", L"D:\\v\\c.mp4", L"D:\\o\\j.mp4"},
       nullptr, {}},
      {"J7: the frame rate cannot be kept", {With(a1, C::FrameRate, L"25.000"), a2, With(b1, C::FrameRate, L"25.000"), b2},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en:fps=25.000", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat",
        L"D:\\v\\b.mp4#1:fps=25.000", L"-cat", L"D:\\v\\b.mp4#2", L"D:\\o\\j.mp4"},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat", L"D:\\v\\b.mp4",
        L"D:\\o\\j.mp4"},
       nullptr, {L"JoinMsgFrameRateLeft"}},
      {"a later file's own language is not kept", {a1, a2, b1, With(b2, C::Language, L"German")},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat", L"D:\\v\\b.mp4#1",
        L"-cat", L"D:\\v\\b.mp4#2:lang=de", L"D:\\o\\j.mp4"},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat", L"D:\\v\\b.mp4",
        L"D:\\o\\j.mp4"},
       nullptr, {L"JoinMsgOptionsLeft"}},
      {"4b, J3: part of a later file", {a1, a2, b1, Track(L"b.mp4", L"2", L"audio", false)},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"-cat", L"D:\\v\\b.mp4#1",
        L"D:\\o\\j.mp4"},
       {}, L"JoinMsgSomeTracks", {}},
      {"V2: a later file with tracks the first one lacks", {a1, Track(L"a.mp4", L"2", L"audio", false), b1, b2},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-cat", L"D:\\v\\b.mp4#1", L"-cat", L"D:\\v\\b.mp4#2",
        L"D:\\o\\j.mp4"},
       {}, L"JoinMsgOtherTracks", {}},
      {"J10: an AAC stream", {Track(L"a.mp4", L"2", L"audio"), Track(L"tone.aac", L"", L"audio")},
       {L"-add", L"D:\\v\\a.mp4#2", L"-cat", L"D:\\v\\tone.aac", L"D:\\o\\j.mp4"}, {}, L"JoinMsgAACStream", {}},
      {"one file: nothing appended", {a1, a2},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"D:\\o\\j.mp4"},
       {L"-add", L"D:\\v\\a.mp4#1:name=Video:lang=en", L"-add", L"D:\\v\\a.mp4#2:lang=fr", L"D:\\o\\j.mp4"}, nullptr, {}},
  };
  const TNamedTexts texts = KeyTexts();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TJoinOptions o;
    o.MP4BoxPath = L"MP4Box.exe";
    o.Output = L"D:\\o\\j.mp4";
    o.Version = kOlder;
    EXPECT_EQ(ArgumentsOf(BuildJoinCommandLine(c.rows, o)), c.older);
    EXPECT_TRUE(PlanJoin(c.rows, o, texts).OutOfSync.empty());  // the older tool is never refused
    o.Version = kToday;
    const TJoinPlan plan = PlanJoin(c.rows, o, texts);
    EXPECT_EQ(plan.OutOfSync, c.outOfSync ? WideString(c.outOfSync) : WideString());
    EXPECT_EQ(plan.Dropped, c.dropped);
    if (!c.outOfSync) EXPECT_EQ(Received(BuildJoinCommandLine(c.rows, o), kToday), c.today);
  }
}

// "VFR Creation." appends the rows after the first for the older tool; today's tool would
// start them at the end of the first (mux V2, 3.5), so every row is added (V1, 3.1) and the
// log says so. A split mux writes "name_N.mp4" even for a 3GP file (3.2, 3.4).
TEST(GenerationCommands, MuxByVersion) {
  std::vector<TTrackRow> rows = {With(Track(L"film.mp4", L"1", L"video"), C::FrameRate, L"25.000"),
                                 Track(L"film.mp4", L"2", L"audio"), Track(L"tone.aac", L"", L"audio")};
  TMuxOptions o;
  o.MP4BoxPath = L"MP4Box.exe";
  o.Output = L"D:\\o\\m.3gp";
  o.OverWrite = true;
  o.VFR = true;
  o.Version = kOlder;
  EXPECT_EQ(ArgumentsOf(BuildMuxCommandLine(rows, o)),
            (std::vector<std::wstring>{L"-add", L"D:\\v\\film.mp4#1:fps=25.000", L"-cat", L"D:\\v\\film.mp4#2", L"-cat",
                                       L"D:\\v\\tone.aac", L"-new", L"D:\\o\\m.3gp"}));
  o.Version = kToday;
  EXPECT_EQ(Received(BuildMuxCommandLine(rows, o), kToday),
            (std::vector<std::wstring>{L"-add", L"D:\\v\\film.mp4#1:fps=25.000", L"-add", L"D:\\v\\film.mp4#2", L"-add",
                                       L"D:\\v\\tone.aac", L"-new", L"D:\\o\\m.3gp"}));
  const TNamedTexts texts = KeyTexts();
  auto notes = [&](const TMuxOptions& options) {
    std::vector<WideString> texts_;
    const std::optional<TRunRequest> run = MuxJobStart(rows, options, texts).Steps(0);
    for (const TRunNote& n : run->Notes) texts_.push_back(n.Text);
    return texts_;
  };
  std::vector<WideString> today = notes(o);
  EXPECT_NE(std::find(today.begin(), today.end(), L"MsgVFRNotUsed"), today.end());
  o.Version = kOlder;
  std::vector<WideString> older = notes(o);
  EXPECT_EQ(std::find(older.begin(), older.end(), L"MsgVFRNotUsed"), older.end());

  // A 3GP file with a split size.
  o.VFR = false;
  o.CreateMP4 = false;
  o.SplitKilobytes = 1024;
  EXPECT_EQ(MuxOutputs(o).at(0).Names,
            (std::vector<WideString>{L"D:\\o\\m.3gp", L"D:\\o\\m_001.3gp", L"D:\\o\\m_1.3gp"}));
  EXPECT_EQ(notes(o).size(), 2u);
  o.Version = kToday;
  EXPECT_EQ(MuxOutputs(o).at(0).Names, std::vector<WideString>{L"D:\\o\\m_1.mp4"});
  today = notes(o);
  EXPECT_NE(std::find(today.begin(), today.end(), L"MsgSplit3GPParts"), today.end());

  // The tagging after the mux takes the parts that exist, as each tool names them.
  TempFolder temp;
  o.Output = temp / L"m.3gp";
  for (const wchar_t* name : {L"m_1.mp4", L"m_2.mp4", L"m_001.3gp"}) {
    HANDLE f = CreateFileW((temp / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
  }
  EXPECT_EQ(WrittenMuxFiles(o), (std::vector<WideString>{temp / L"m_1.mp4", temp / L"m_2.mp4"}));
  o.Version = kOlder;
  EXPECT_EQ(WrittenMuxFiles(o), std::vector<WideString>{temp / L"m_001.3gp"});
}

// Split parts: the input's extension for the older tool, always ".mp4" for today's (split
// 2.5 .m4v, 2.6 .mov, 2.7 .3gp; 2.3 a range).
TEST(GenerationCommands, SplitPartsByVersion) {
  const struct {
    const wchar_t* input;
    TSplitMode mode;
    const wchar_t *older, *today;
  } cases[] = {
      {L"D:\\v\\film.m4v", TSplitMode::Size, L"D:\\v\\film_001.m4v", L"D:\\v\\film_001.mp4"},
      {L"D:\\v\\film.mov", TSplitMode::Duration, L"D:\\v\\film_001.mov", L"D:\\v\\film_001.mp4"},
      {L"D:\\v\\film.3gp", TSplitMode::Size, L"D:\\v\\film_001.3gp", L"D:\\v\\film_001.mp4"},
      {L"D:\\v\\film.3gp", TSplitMode::Range, L"D:\\v\\film_10_35.3gp", L"D:\\v\\film_10_35.mp4"},
      {L"D:\\v\\film.mp4", TSplitMode::Range, L"D:\\v\\film_10_35.mp4", L"D:\\v\\film_10_35.mp4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToAnsi(c.input));
    TSplitOptions o;
    o.MP4BoxPath = L"MP4Box.exe";
    o.Input = c.input;
    o.Mode = c.mode;
    o.Size = L"1";
    o.Duration = L"20";
    o.From = L"010";
    o.To = L"035";
    o.Version = kOlder;
    EXPECT_EQ(SplitJobStart(o).Steps(0)->Writes.at(0).Names, std::vector<WideString>{c.older});
    o.Version = kToday;
    EXPECT_EQ(SplitJobStart(o).Steps(0)->Writes.at(0).Names, std::vector<WideString>{c.today});
  }
}

}  // namespace
