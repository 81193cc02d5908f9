#include <gtest/gtest.h>

#include "app/jobs/job_sequencer.h"
#include "app/jobs/output_parser.h"
#include "tests/app/recording_view.h"

namespace {

const TNamedTexts kTexts = KeyTexts();

TParsedLine Parse(const AnsiString& line, bool complete = true, bool tagsByMP4Box = false,
                  TToolKind tool = TToolKind::MP4Box, bool verbose = false) {
  return ParseToolLine(line, complete, {&kTexts, tool, verbose, tagsByMP4Box});
}

std::vector<TParsedEvent> Info(const wchar_t* text) { return {{text, 0, text}}; }

TEST(OutputParser, EveryStageMarkerAddsItsRowAtItsFirstLine) {
  const std::pair<const char*, const wchar_t*> stages[] = {
      {"Importing AVI Video: ", L"ImportAVIVideo"},   {"Importing AVI Audio: ", L"ImportAVIAudio"},
      {"ISO File Writing: ", L"FileW"},               {"ISO File Export: ", L"FileI"},
      {"Splitting: ", L"FileS"},                      {"Appending: ", L"FileA"},
      {"Importing VobSub: ", L"ImportVobsubFile"},    {"Importing ISO File: ", L"ImportISOFile"},
      {"Importing SRT: ", L"ImportSRTFile"},          {"Importing TTXT: ", L"ImportTTXTFile"},
      {"Importing AAC: ", L"ImportAACFile"},          {"Importing Image: ", L"ImportImageFile"},
      {"Importing M4V: ", L"ImportM4VFile"},          {"Importing MPEG-PS Video: ", L"ImportPSVideoFile"},
      {"Importing MPEG-PS Audio: ", L"ImportPSAudioFile"}, {"Importing MPEG-2 TS: ", L"ImportTSFile"},
      {"Importing MP3: ", L"ImportMP3File"},          {"Importing AVC-H264: ", L"ImportAVCFile"},
      {"Importing NHNT: ", L"ImportNHNTFile"},        {"Importing NHML: ", L"ImportNHMLFile"},
      {"Importing AMR: ", L"ImportAMRFile"},          {"Importing EVRC: ", L"ImportEVRCFile"},
      {"Importing SMV: ", L"ImportSMVFile"},          {"Importing AMR-WB: ", L"ImportAMRWBFile"},
      {"Importing QCP: ", L"ImportQCPFile"},          {"Importing H263: ", L"ImportH263File"},
      {"Importing OGG Video: ", L"ImportOGGVideo"},   {"Importing OGG Audio: ", L"ImportOGGAudio"},
      {"Importing SAF: ", L"ImportSAFFile"},          {"Importing TeXML: ", L"ImportTeXMLFile"},
  };
  for (const auto& [name, text] : stages) {
    SCOPED_TRACE(name);
    AnsiString first = AnsiString(name) + "|                    | (01/100)";
    TParsedLine r = Parse(first);
    EXPECT_EQ(r.Events, Info(text));
    EXPECT_TRUE(r.HasProgress);
    EXPECT_EQ(r.Position, 1);
    EXPECT_EQ(r.PercentText, L"01 %");
    EXPECT_FALSE(r.Problem);
    // Later lines of the stage only move the bar.
    TParsedLine later = Parse(AnsiString(name) + "|==========          | (50/100)");
    EXPECT_TRUE(later.Events.empty());
    EXPECT_EQ(later.Position, 50);
    // The stage's name elsewhere than at the start is no stage.
    EXPECT_TRUE(Parse("x" + first).Events.empty());
  }
  EXPECT_EQ(StageMarkers().size(), std::size(stages));
}

TEST(OutputParser, WritingStageWithMP4BoxTagsAddsTheTagRowFirst) {
  const AnsiString line = "ISO File Writing: |                    | (01/100)";
  EXPECT_EQ(Parse(line, true, true).Events, (std::vector<TParsedEvent>{{L"FileTag", 0, L"FileTag"}, {L"FileW", 0, L"FileW"}}));
  EXPECT_EQ(Parse(line, true, false).Events, Info(L"FileW"));
}

TEST(OutputParser, ProgressComesFromPartialLinesRowsOnlyFromCompleteOnes) {
  const struct {
    AnsiString line;
    bool complete;
    bool hasProgress;
    int position;
    const wchar_t* percent;
    size_t events;
  } cases[] = {
      {"Importing AVI Video: |=====               | (25/100)", false, true, 25, L"25 %", 0},
      {"Importing AVI Video: |                    | (01/100)", false, true, 1, L"01 %", 0},
      {"Importing AVI Video: |                    | (01/100)", true, true, 1, L"01 %", 1},
      {"Importing AVI Video: |=====", false, false, 0, L"", 0},
      {"ISO File Writing: |====================| (100/100)", true, true, 100, L"100 %", 0},
      {"Splitting: |=   | (ab/100)", true, false, 0, L"", 0},  // not a number: no move
      {"Splitting: |=   | (/100)", true, false, 0, L"", 0},
      {"Error opening file | (30/100)", false, true, 30, L"30 %", 0},
      {"Error opening file | (30/100)", true, true, 30, L"30 %", 1},
      // today's split progress: the whole percent of "splitting:  N.NN %"
      {"splitting:  0.03 %", false, true, 0, L"0 %", 0},
      {"splitting:  83.32 %", false, true, 83, L"83 %", 0},
      {"splitting:  100.00 %", true, true, 100, L"100 %", 0},
      {"splitting:  x.5 %", false, false, 0, L"", 0},
      {"splitting: file 2 done", true, false, 0, L"", 1},
      {"splitting: file two done", true, false, 0, L"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line + (c.complete ? " complete" : " partial"));
    TParsedLine r = Parse(c.line, c.complete);
    EXPECT_EQ(r.HasProgress, c.hasProgress);
    if (c.hasProgress) {
      EXPECT_EQ(r.Position, c.position);
      EXPECT_EQ(r.PercentText, c.percent);
    }
    EXPECT_EQ(r.Events.size(), c.events);
  }
}

TEST(OutputParser, ProblemLinesWarnAndFailTheJob) {
  const struct {
    AnsiString line;
    std::vector<TParsedEvent> events;
  } cases[] = {
      {"Error opening file", {{L"MsgError", 1, L"Error opening file"}}},
      {"[MP4Box] Error importing a.avi: not found", {{L"MsgError", 1, L"Error importing a.avi: not found"}}},
      {"Unknown PID 0x1FF", {{L"UnknownPID", 1, L"UnknownPID"}}},
      {"Invalid UTF data line 12 | skipped", {{L"InvalidUTF", 1, L"InvalidUTF line 12 "}}},
      {"Invalid UTF data found", {{L"InvalidUTF", 1, L"InvalidUTF"}}},
      {"Something Error ", {}},     // the marker must be followed by text
      {"Unknown PID ", {}},
      {"Error: I/O Error", {{L"MsgError", 1, L"Error: I/O Error"}}},  // today's form, no blank after it
      {"Invalid UTF data", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TParsedLine r = Parse(c.line);
    EXPECT_EQ(r.Events, c.events);
    EXPECT_EQ(r.Problem, !c.events.empty());
    EXPECT_FALSE(Parse(c.line, false).Problem);  // a partial line counts once, when complete
  }
}

TEST(OutputParser, StoredSplitFilesAndVerboseLines) {
  TParsedLine r = Parse("Storing split-file C:\\out\\movie_001.mp4");
  EXPECT_EQ(r.Events, (std::vector<TParsedEvent>{{L"StoringFile C:\\out\\movie_001.mp4", 0,
                                                  L"StoringFile C:\\out\\movie_001.mp4"}}));
  EXPECT_TRUE(Parse("Storing split-file").Events.empty());
  EXPECT_EQ(Parse("splitting: file 12 done").Events,
            (std::vector<TParsedEvent>{{L"StoringFile 12", 0, L"StoringFile 12"}}));
  EXPECT_FALSE(r.LogLine);
  EXPECT_TRUE(Parse("anything", true, false, TToolKind::MP4Box, true).LogLine);
  EXPECT_FALSE(Parse("anything", false, false, TToolKind::MP4Box, true).LogLine);
}

TEST(OutputParser, AtomicParsleyProgressAndProblems) {
  TParsedLine r = Parse(" Progress: =========>  45%-", false, false, TToolKind::AtomicParsley);
  EXPECT_TRUE(r.HasProgress);
  EXPECT_EQ(r.Position, 45);
  EXPECT_EQ(r.PercentText, L"45 %");
  EXPECT_FALSE(Parse(" Progress: >  45%", true, false, TToolKind::AtomicParsley).HasProgress);
  // MP4Box's stage lines mean nothing in its output; its problem lines do.
  EXPECT_TRUE(Parse("Appending: |                    | (01/100)", true, false, TToolKind::AtomicParsley).Events.empty());
  EXPECT_TRUE(Parse("Error writing file a.mp4", true, false, TToolKind::AtomicParsley).Problem);
}

}  // namespace
