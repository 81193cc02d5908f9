// The two tagging commands read back as the tools receive them: AtomicParsley after a mux,
// and MP4Box rewriting a file of the tag page.
#include <gtest/gtest.h>

#include <functional>

#include "app/commands/mp4box_version.h"
#include "app/commands/tag_commands.h"
#include "app/common/utf8.h"
#include "tests/app/argv_support.h"

namespace {

using Args = std::vector<std::wstring>;

// AtomicParsley gets its line as UTF-16: the arguments it then reads.
Args AtomicParsleyArguments(const AnsiString& Utf8Line) {
  Args args = SplitCommandLine(Utf8ToWide(Utf8Line));
  if (!args.empty()) args.erase(args.begin());
  return args;
}

TEST(AtomicParsleyCommand, EveryPresentTagInItsPlace) {
  TTagFields all;
  all.Name = L"Song";
  all.Artist = L"Ann";
  all.Year = L"1999";
  all.Writer = L"Wri";
  all.TrackNum = L"3";
  all.TrackTotal = L"12";
  all.Album = L"Al";
  all.DiskNum = L"1";
  all.DiskTotal = L"2";
  all.Group = L"G";
  all.Tempo = L"120";
  all.Composer = L"Com";
  all.Compilation = true;
  all.Genre = L"Jazz";
  all.Comment = L"line 1\r\nline 2";
  all.Cover = L"C:\\Pics\\front cover.jpg";
  all.Gapless = true;  // AtomicParsley is not told
  all.Encoder = L"En";  // nor these three
  all.Tool = L"To";
  EXPECT_EQ(AtomicParsleyArguments(AtomicParsleyCommandLine(L"C:\\Tools\\AtomicParsley.exe", L"D:\\Out\\new film.mp4", all)),
            (Args{L"D:\\Out\\new film.mp4", L"--overWrite", L"--title", L"Song", L"--artist", L"Ann", L"--year",
                  L"1999", L"--composer", L"Wri", L"--tracknum", L"3/12", L"--album", L"Al", L"--disk", L"1/2",
                  L"--grouping", L"G", L"--bpm", L"120", L"--composer", L"Com", L"--compilation", L"true",
                  L"--genre", L"Jazz", L"--comment", L"line 1\r\nline 2", L"--artwork",
                  L"C:\\Pics\\front cover.jpg"}));

  struct Case {
    const char* what;
    std::function<void(TTagFields&)> set;
    Args expected;  // after the file and --overWrite
  } cases[] = {
      {"nothing", [](TTagFields&) {}, {}},
      {"a track number without total", [](TTagFields& t) { t.TrackNum = L"3"; }, {L"--tracknum", L"3"}},
      {"totals without their numbers", [](TTagFields& t) { t.TrackTotal = L"12"; t.DiskTotal = L"2"; }, {}},
      {"the genre's empty item", [](TTagFields& t) { t.Genre = L""; t.Name = L"N"; }, {L"--title", L"N"}},
      {"quotes, backslashes and percent signs",
       [](TTagFields& t) { t.Name = L"12\" Mix\\"; t.Comment = L"100% \"live\" %PATH%"; },
       {L"--title", L"12\" Mix\\", L"--comment", L"100% \"live\" %PATH%"}},
      {"letters of the code page", [](TTagFields& t) { t.Artist = L"Zo\x00EB"; }, {L"--artist", L"Zo\x00EB"}},
      {"letters outside it", [](TTagFields& t) { t.Name = L"\x03A9mega"; t.Album = L"\x6771"; },
       {L"--title", L"\x03A9mega", L"--album", L"\x6771"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTagFields t;
    c.set(t);
    Args expected{L"out.m4a", L"--overWrite"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(AtomicParsleyArguments(AtomicParsleyCommandLine(L"AtomicParsley.exe", L"out.m4a", t)), expected);
  }
}

// The run goes to the tool as a UTF-16 line, whole, whatever the code page holds.
TEST(AtomicParsleyCommand, TheRunIsWideAndLoggedWithFixedTexts) {
  TTagFields t;
  t.Name = L"\x039D\x03AD\x03BF\x03C2";
  TRunRequest run = AtomicParsleyRun(L"C:\\AP\\AtomicParsley.exe", L"D:\\\x03A6\\film.mp4", t);
  EXPECT_EQ(run.Tool, TToolKind::AtomicParsley);
  EXPECT_EQ(SplitCommandLine(run.WideCommandLine),
            (Args{L"C:\\AP\\AtomicParsley.exe", L"D:\\\x03A6\\film.mp4", L"--overWrite", L"--title",
                  L"\x039D\x03AD\x03BF\x03C2"}));
  ASSERT_EQ(run.Notes.size(), 2u);
  EXPECT_EQ(run.Notes[0].Text, L"Tagging of film.mp4...");
  EXPECT_TRUE(run.Notes[0].Row);
  EXPECT_EQ(run.Notes[1].Text, L"Command Line used for Tagging : " + run.WideCommandLine);
  EXPECT_FALSE(run.Notes[1].Row);
  t.Name = L"Song";
  EXPECT_EQ(AtomicParsleyRun(L"AtomicParsley.exe", L"film.mp4", t).WideCommandLine,
            L"\"AtomicParsley.exe\" \"film.mp4\" --overWrite --title \"Song\"");
}

// Today's MP4Box rewrites the file itself into "-out" (with "-add ... -new" it keeps only the
// tags given); the older one knows only the import.
TEST(FilesTagCommand, TagsFileTemporaryFolderAndVerbose) {
  TTagFields tags;
  tags.Name = L"Song \"A\"";
  tags.Genre = L"Rock";
  tags.Cover = L"C:\\Pics\\f.jpg";
  tags.Writer = L"W";
  tags.TrackNum = L"3";
  tags.Composer = L"Co";
  tags.Compilation = tags.Gapless = true;
  tags.Comment = L"a\r\nb";
  const TMP4BoxVersion today = ParseMP4BoxVersion("MP4Box - GPAC version 26.08-DEV-rev27-gd34570e3d-master");
  const TMP4BoxVersion older = ParseMP4BoxVersion("MP4Box - GPAC version 0.4.5");
  struct Case {
    const char* what;
    TFileTagOptions options;
    AnsiString itags;
    Args expected;
  } cases[] = {
      {"every tag of the row, today's tool", {L"C:\\MP4Box\\MP4Box.exe", L"", false, today},
       TagPageITagsArgument(tags, today),
       {L"-itags",
        L"name=Song \"A\":genre=Rock:writer=W:tracknum=3:comment=a\r\nb:composer=Co:compilation=yes:gapless=yes:"
        L"cover=C:\\Pics\\f.jpg",
        L"D:\\Music\\a b.m4a", L"-out", L"D:\\Music\\a b-tagging.m4a"}},
      {"the older tool", {L"MP4Box.exe", L"", false, older}, TagPageITagsArgument(tags, older),
       {L"-itags",
        L"name=Song \"A\":genre=Rock:writer=W:tracknum=3:comment=a\r\nb:composer=Co:compilation=yes:gapeless=yes:"
        L"cover=C:\\Pics\\f.jpg",
        L"-add", L"D:\\Music\\a b.m4a", L"-new", L"D:\\Music\\a b-tagging.m4a"}},
      {"no tag, a temporary folder with a blank, verbose", {L"MP4Box.exe", L"C:\\My Temp\\", true, today},
       TagPageITagsArgument(TTagFields(), today),
       {L"D:\\Music\\a b.m4a", L"-tmp", L"C:\\My Temp\\", L"-v", L"-out", L"D:\\Music\\a b-tagging.m4a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const AnsiString line =
        FilesTagCommandLine(c.options, c.itags, L"D:\\Music\\a b.m4a", L"D:\\Music\\a b-tagging.m4a");
    EXPECT_EQ(SplitCommandLine(AnsiToWide(line)).at(0), c.options.Tagger);
    EXPECT_EQ(ArgumentsOf(line), c.expected);
  }
}

}  // namespace
