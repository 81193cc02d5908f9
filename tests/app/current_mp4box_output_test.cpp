// What today's MP4Box and AtomicParsley really print (tests/app/data/mp4box-today, captured
// from the real tools), cut into lines by the runner's splitter in small chunks and read by
// the output parser as a run's lines are: progress, rows and problems.
#include <gtest/gtest.h>

#include "app/common/text_routines.h"
#include "app/jobs/output_parser.h"
#include "runner/line_splitter.h"
#include "tests/app/program_session.h"
#include "tests/app/recording_view.h"

namespace {

const TNamedTexts kTexts = KeyTexts();

std::string Fixture(const wchar_t* name) {
  const std::string bytes = apptest::ReadFileBytes(apptest::SourceRoot() + L"tests\\app\\data\\mp4box-today\\" + name);
  EXPECT_FALSE(bytes.empty()) << WideToAnsi(name);
  return bytes;
}

struct TReadRun {
  std::vector<int> Positions;
  std::vector<TParsedEvent> Events;
  bool Problem = false;
};

// The bytes through the splitter in chunks of ChunkSize, every delivered string through the
// parser with one memory for the run, as the sequencer does.
TReadRun Read(const std::string& bytes, TToolKind tool, size_t chunkSize = 7) {
  TReadRun run;
  TCurrentOutputMemory memory;
  TParseContext context{&kTexts, tool, false, false, &memory};
  TLineSplitter splitter;
  auto deliver = [&](const AnsiString& line, TOutputType type) {
    TParsedLine r = ParseToolLine(line, type == otEntireLine, context);
    if (r.HasProgress) run.Positions.push_back(r.Position);
    run.Events.insert(run.Events.end(), r.Events.begin(), r.Events.end());
    run.Problem = run.Problem || r.Problem;
  };
  for (size_t at = 0; at < bytes.size(); at += chunkSize)
    splitter.Split(bytes.data() + at, std::min(chunkSize, bytes.size() - at), [] { return false; }, deliver);
  if (!splitter.Pending.empty()) deliver(splitter.Pending, otEntireLine);
  return run;
}

std::vector<WideString> RowTexts(const TReadRun& run) {
  std::vector<WideString> rows;
  for (const TParsedEvent& e : run.Events) rows.push_back(e.RowText);
  return rows;
}

TEST(CurrentMP4BoxOutput, AnImportGivesItsRowsAndProgressWithOrWithoutColour) {
  for (const wchar_t* name : {L"import.txt", L"import-colour.txt"}) {
    SCOPED_TRACE(WideToAnsi(name));
    TReadRun run = Read(Fixture(name), TToolKind::MP4Box);
    // One row per stage: the raw H.264 (its title starts at 11), the raw AAC, the MP4's
    // track, the SRT file (its import says "Timed Text"), then the writing.
    EXPECT_EQ(RowTexts(run), (std::vector<WideString>{L"ImportAVCFile", L"ImportAACFile", L"ImportISOFile",
                                                       L"ImportSRTFile", L"FileW"}));
    EXPECT_FALSE(run.Problem);
    ASSERT_FALSE(run.Positions.empty());
    EXPECT_EQ(run.Positions.front(), 11);
    EXPECT_EQ(run.Positions.back(), 100);
  }
}

TEST(CurrentMP4BoxOutput, ASplitGivesProgressAndARowPerStoredPart) {
  TReadRun run = Read(Fixture(L"split.txt"), TToolKind::MP4Box, 13);
  ASSERT_FALSE(run.Positions.empty());
  EXPECT_TRUE(std::is_sorted(run.Positions.begin(), run.Positions.end()));
  EXPECT_EQ(run.Positions.back(), 99);
  std::vector<WideString> rows;
  for (const char* n : {"1", "2", "3", "4", "5"}) rows.push_back(L"StoringFile " + AnsiToWide(n));
  EXPECT_EQ(RowTexts(run), rows);
  EXPECT_FALSE(run.Problem);
}

TEST(CurrentMP4BoxOutput, FailureAndInformationOutput) {
  TReadRun error = Read(Fixture(L"error.txt"), TToolKind::MP4Box);
  EXPECT_TRUE(error.Problem);
  ASSERT_FALSE(error.Events.empty());
  EXPECT_EQ(error.Events.back().LogText,
            L"Error importing D:\\v\\missing.h264: Requested URL is not valid or cannot be found");
  TReadRun info = Read(Fixture(L"info.txt"), TToolKind::MP4Box);
  EXPECT_TRUE(info.Events.empty());
  EXPECT_FALSE(info.Problem);
}

TEST(CurrentMP4BoxOutput, AtomicParsleyProgress) {
  TReadRun run = Read(Fixture(L"atomicparsley.txt"), TToolKind::AtomicParsley, 5);
  EXPECT_FALSE(run.Problem);
  ASSERT_FALSE(run.Positions.empty());
  EXPECT_EQ(run.Positions.back(), 6);
  EXPECT_TRUE(std::is_sorted(run.Positions.begin(), run.Positions.end()));
}

TEST(CurrentMP4BoxOutput, TodaysFailureLinesAreProblems) {
  const struct {
    const char* line;
    bool problem;
  } cases[] = {
      {"-aviraw option deprecated, use -raw", true},
      {"[MP4Mux] Session aborted before writing to file", true},
      {"Error: I/O Error", true},
      {"Error assigning tag disk=/12: Bad Parameter", true},
      {"Unrecognize tag \"gapeless\", assuming part of previous tag", true},
      {"\x1b[31mError: I/O Error\n\x1b[0m", true},
      // A file whose media data is cut: exit code 0, and part of the samples.
      {"[IsoMedia] File truncated, aborting read for track 1 after 736 / 1500 samples", true},
      {"[ISOM import] Incomplete file detected, aborting track #1 import after 736 / 1500 samples", true},
      {"[iso file] Incomplete box mdat - start 47698 size 1571750", true},
      {"[iso file] Incomplete MDAT while file is not read-only", true},
      {"[iso file] Broken text box detected, skipping parsing.", false},
      {"Cannot force FPS for media types soun/sbtl/text - ignoring", false},
      {"Split by size but output not a template, using out_$num$.mp4 as output", false},
      {"AVC|H264 Max NALU size is 3258 - stream could be optimized by setting nal_length=2", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TParsedLine r = ParseToolLine(c.line, true, {&kTexts, TToolKind::MP4Box});
    EXPECT_EQ(r.Problem, c.problem);
    if (c.problem) {
      ASSERT_EQ(r.Events.size(), 1u);  // one row, also where the older "Error " marker matches too
      EXPECT_EQ(r.Events[0].RowText, L"MsgError");
      EXPECT_EQ(r.Events[0].LogText.find(L'\x1b'), WideString::npos);
    }
  }
}

// Every stage today's tool prints maps to a translated row: the exports and subtitle
// extractions, and an import of a format without a row of its own.
TEST(CurrentMP4BoxOutput, EveryStageGivesATranslatedRow) {
  for (const wchar_t* name : {L"extract-srt.txt", L"extract-avi.txt"}) {
    SCOPED_TRACE(WideToAnsi(name));
    TReadRun run = Read(Fixture(name), TToolKind::MP4Box, 7);
    EXPECT_EQ(RowTexts(run), std::vector<WideString>{L"FileI"});
    EXPECT_FALSE(run.Problem);
    EXPECT_EQ(run.Positions.back(), name == std::wstring(L"extract-srt.txt") ? 100 : 99);
  }
  TCurrentOutputMemory memory;
  TParseContext context{&kTexts, TToolKind::MP4Box, false, false, &memory};
  ParseToolLine("Track Importing Dolby AC-4 - SampleRate 48000", true, context);
  TParsedLine first = ParseToolLine("Import: |                    | (00/100)", true, context);
  ASSERT_EQ(first.Events.size(), 1u);
  EXPECT_EQ(first.Events[0].RowText, L"ImportOtherFile");
  TNamedTexts english;
  EXPECT_EQ(FillText(english.ImportOtherFile, L"Dolby AC-4"), L"Importing Dolby AC-4...");
}

// The cut file of the captures: the extraction and the tagging end with exit code 0, and
// the run is a problem whose words say why.
TEST(CurrentMP4BoxOutput, ACutFileIsAProblem) {
  for (const wchar_t* name : {L"extract-truncated.txt", L"tag-truncated.txt"}) {
    SCOPED_TRACE(WideToAnsi(name));
    TReadRun run = Read(Fixture(name), TToolKind::MP4Box, 11);
    EXPECT_TRUE(run.Problem);
    bool said = false;
    for (const TParsedEvent& e : run.Events)
      said = said || e.LogText.find(L"aborting") != WideString::npos;
    EXPECT_TRUE(said);
  }
}

// Today's tool prints its paths in UTF-8; the older one in the code page.
TEST(CurrentMP4BoxOutput, Utf8MessagesShowTheirCharacters) {
  const AnsiString greek = "Error: D:\\v\\\xce\xa6\xce\xac\xce\xba\xce\xb5\xce\xbb\xce\xbf\xcf\x82 cannot be opened";
  const WideString shown = L"Error: D:\\v\\\x03A6\x03AC\x03BA\x03B5\x03BB\x03BF\x03C2 cannot be opened";
  EXPECT_EQ(ToolOutputText(greek, true), shown);
  EXPECT_EQ(ToolOutputText(greek, false), AnsiToWide(greek));
  EXPECT_EQ(ToolOutputText("caf\xe9", true), AnsiToWide("caf\xe9"));  // not UTF-8: the code page
  TParseContext context{&kTexts, TToolKind::MP4Box};
  context.Utf8Output = true;
  TParsedLine r = ParseToolLine(greek, true, context);
  ASSERT_EQ(r.Events.size(), 1u);
  EXPECT_EQ(r.Events[0].LogText, shown);
}

TEST(CurrentMP4BoxOutput, ColourEscapesAreTakenOut) {
  EXPECT_EQ(WithoutColourEscapes("\x1b[37mSaving a.mp4: \x1b[0m\x1b[37m0.500 secs Interleaving"),
            "Saving a.mp4: 0.500 secs Interleaving");
  EXPECT_EQ(WithoutColourEscapes("plain"), "plain");
  EXPECT_EQ(WithoutColourEscapes("cut \x1b[3"), "cut ");
}

}  // namespace
