// The two tagging commands read back as the tools receive them: AtomicParsley after a mux,
// and MP4Box rewriting a file of the tag page.
#include <gtest/gtest.h>

#include <functional>

#include "app/commands/tag_commands.h"
#include "tests/app/argv_support.h"

namespace {

using Args = std::vector<std::wstring>;

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
  EXPECT_EQ(ArgumentsOf(BuildAtomicParsleyCommandLine(L"C:\\Tools\\AtomicParsley.exe", L"D:\\Out\\new film.mp4", all)),
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTagFields t;
    c.set(t);
    Args expected{L"out.m4a", L"--overWrite"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(ArgumentsOf(BuildAtomicParsleyCommandLine(L"AtomicParsley.exe", L"out.m4a", t)), expected);
  }
}

TEST(AtomicParsleyCommand, TheRunIsLoggedWithFixedTexts) {
  TTagFields t;
  t.Name = L"Song";
  TRunRequest run = AtomicParsleyRun(L"C:\\AP\\AtomicParsley.exe", L"D:\\Out\\film.mp4", t);
  EXPECT_EQ(run.Tool, TToolKind::AtomicParsley);
  ASSERT_EQ(run.Notes.size(), 2u);
  EXPECT_EQ(run.Notes[0].Text, L"Tagging of film.mp4...");
  EXPECT_TRUE(run.Notes[0].Row);
  EXPECT_EQ(run.Notes[1].Text, L"Command Line used for Tagging : " + AnsiToWide(run.CommandLine));
  EXPECT_FALSE(run.Notes[1].Row);
}

TEST(FilesTagCommand, TagsFileTemporaryFolderAndVerbose) {
  TTagFields page;
  page.Name = L"Song \"A\"";
  page.Genre = L"Rock";
  page.Cover = L"C:\\Pics\\f.jpg";
  TTagFields dialog = page;
  dialog.Writer = L"W";
  dialog.TrackNum = L"3";
  dialog.Comment = L"a\r\nb";
  struct Case {
    const char* what;
    TFileTagOptions options;
    AnsiString itags;
    Args expected;
  } cases[] = {
      {"page fields", {L"C:\\MP4Box\\MP4Box.exe", L"", false}, TagPageITagsArgument(page, false),
       {L"-itags", L"name=Song \"A\":genre=Rock:cover=C:\\Pics\\f.jpg", L"-add", L"D:\\Music\\a b.m4a", L"-new",
        L"D:\\Music\\a b-tagging.m4a"}},
      {"dialog fields", {L"MP4Box.exe", L"", false}, TagPageITagsArgument(dialog, true),
       {L"-itags", L"name=Song \"A\":genre=Rock:writer=W:tracknum=3:comment=a\r\nb:cover=C:\\Pics\\f.jpg", L"-add",
        L"D:\\Music\\a b.m4a", L"-new", L"D:\\Music\\a b-tagging.m4a"}},
      {"no tag, a temporary folder with a blank, verbose", {L"MP4Box.exe", L"C:\\My Temp\\", true},
       TagPageITagsArgument(TTagFields(), false),
       {L"-add", L"D:\\Music\\a b.m4a", L"-tmp", L"C:\\My Temp\\", L"-v", L"-new", L"D:\\Music\\a b-tagging.m4a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const AnsiString line =
        BuildFilesTagCommandLine(c.options, c.itags, L"D:\\Music\\a b.m4a", L"D:\\Music\\a b-tagging.m4a");
    EXPECT_EQ(ArgvOf(AnsiToWide(line)).at(0), c.options.Tagger);
    EXPECT_EQ(ArgumentsOf(line), c.expected);
  }
}

}  // namespace
