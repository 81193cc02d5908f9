// MP4Box's "-itags" argument, read back as the tool receives it.
#include <gtest/gtest.h>

#include "app/commands/itags_argument.h"
#include "app/common/utf8.h"
#include "tests/app/argv_support.h"

namespace {

// The one argument after "-itags", or "(none)": as the older tool reads the 8-bit line, or
// as a tool that reads UTF-16 gets the line the builders wrote in UTF-8.
std::wstring TagArgument(const AnsiString& Text, bool Unicode = false) {
  if (Text.empty()) return L"(none)";
  const AnsiString line = "MP4Box.exe" + Text + " out.mp4";
  std::vector<std::wstring> args = Unicode ? SplitCommandLine(Utf8ToWide(line)) : ArgumentsOf(line);
  if (Unicode && !args.empty()) args.erase(args.begin());
  EXPECT_EQ(args.size(), 3u);
  EXPECT_EQ(args.at(0), L"-itags");
  EXPECT_EQ(args.at(2), L"out.mp4");
  return args.at(1);
}

// How the tool sees UTF-8 bytes on an 8-bit command line: one character per byte.
std::wstring AsUtf8Bytes(const wchar_t* Text) { return AnsiToWide(WideToUtf8(Text)); }

TEST(ITagsArgument, MuxOrderAndForms) {
  TTagFields all;
  all.Name = L"Song";
  all.Artist = L"Ann";
  all.Year = L"1999";
  all.Writer = L"W";
  all.TrackNum = L"3";
  all.TrackTotal = L"12";
  all.Album = L"Al";
  all.DiskNum = L"1";
  all.DiskTotal = L"2";
  all.Group = L"G";
  all.Tempo = L"120";
  all.Composer = L"Co";
  all.Genre = L"Jazz";
  all.Encoder = L"En";
  all.Tool = L"To";
  all.Comment = L"line 1\r\nline 2";
  all.Cover = L"C:\\Pics\\front.jpg";
  all.Compilation = all.Gapless = true;
  EXPECT_EQ(TagArgument(MuxITagsArgument(all)),
            L"name=Song:artist=Ann:created=1999:writer=W:tracknum=3/12:album=Al:disk=1/2:group=G:"
            L"tempo=120:composer=Co:genre=Jazz:encoder=En:tool=To:comment=line 1\r\nline 2:"
            L"cover=C:\\Pics\\front.jpg:compilation=yes:gapeless=yes");

  struct Case {
    const char* what;
    std::function<void(TTagFields&)> set;
    std::wstring expected;
  } cases[] = {
      {"nothing", [](TTagFields&) {}, L"(none)"},
      {"artist and year", [](TTagFields& t) { t.Artist = L"Ann"; t.Year = L"1999"; }, L"artist=Ann:created=1999"},
      {"only gapless", [](TTagFields& t) { t.Gapless = true; }, L"gapeless=yes"},
      // A total without its number is refused by MP4Box ("disk=/12") or lost: it adds nothing.
      {"only the disk total", [](TTagFields& t) { t.DiskTotal = L"12"; }, L"(none)"},
      {"only the track total", [](TTagFields& t) { t.TrackTotal = L"12"; }, L"(none)"},
      {"only the disk number", [](TTagFields& t) { t.DiskNum = L"3"; }, L"disk=3"},
      {"track number and total", [](TTagFields& t) { t.TrackNum = L"3"; t.TrackTotal = L"12"; }, L"tracknum=3/12"},
      {"quotes and backslashes", [](TTagFields& t) { t.Name = L"12\" Mix\\"; t.Comment = L"100% \"live\""; },
       L"name=12\" Mix\\:comment=100% \"live\""},
      {"UTF-8 for names, code page for the year and genre",
       [](TTagFields& t) { t.Name = L"Caf\x00E9 \x65E5"; t.Genre = L"R\x00E9tro"; },
       AsUtf8Bytes(L"name=Caf\x00E9 \x65E5") + L":genre=R\x00E9tro"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTagFields t;
    c.set(t);
    EXPECT_EQ(TagArgument(MuxITagsArgument(t)), c.expected);
  }
}

TEST(ITagsArgument, TodaysMP4BoxGetsTagTextInItsOwnCharactersAndTheGaplessKey) {
  TMP4BoxVersion today = ParseMP4BoxVersion("MP4Box - GPAC version 26.08-DEV-rev12");
  TTagFields t;
  t.Name = L"Caf\x00E9 \x65E5";
  t.Genre = L"R\x00E9tro";
  t.TrackNum = L"3";
  t.TrackTotal = L"12";
  t.Compilation = t.Gapless = true;
  EXPECT_EQ(TagArgument(MuxITagsArgument(t, today), true),
            L"name=Caf\x00E9 \x65E5:tracknum=3/12:genre=R\x00E9tro:compilation=yes:gapless=yes");
  // 0.6.0 already reads UTF-16 arguments, but still knows the flag by its older key.
  TMP4BoxVersion v060 = ParseMP4BoxVersion("MP4Box - GPAC version 0.6.0");
  EXPECT_EQ(TagArgument(MuxITagsArgument(t, v060), true),
            L"name=Caf\x00E9 \x65E5:tracknum=3/12:genre=R\x00E9tro:compilation=yes:gapeless=yes");
}

TEST(ITagsArgument, TagPageSourceHasOnlyItsSixTags) {
  TTagFields t;
  t.Name = L"N";
  t.Artist = L"A";
  t.Album = L"Al";
  t.Year = L"2001";
  t.Genre = L"Pop";
  t.Cover = L"c.jpg";
  t.Writer = L"W";
  t.TrackNum = L"1";
  t.DiskNum = L"1";
  t.Tempo = L"9";
  t.Composer = L"Co";
  t.Encoder = L"E";
  t.Group = L"G";
  t.Tool = L"T";
  t.Comment = L"C";
  t.Compilation = t.Gapless = true;
  // A file of the tag page gets every tag its row holds, the cover last.
  EXPECT_EQ(TagArgument(TagPageITagsArgument(t)),
            L"name=N:artist=A:album=Al:created=2001:genre=Pop:writer=W:tracknum=1:disk=1:tempo=9:group=G:encoder=E:"
            L"comment=C:tool=T:composer=Co:compilation=yes:gapeless=yes:cover=c.jpg");
  for (auto builder : {BuildITagWriter, BuildITagDisk, BuildITagTrackNum, BuildITagTempo, BuildITagComposer, BuildITagEncoder, BuildITagGroup, BuildITagTool,
                       BuildITagComment, BuildITagCompilation, BuildITagGapless})
    EXPECT_EQ(builder(t, TagPageSource, TMP4BoxVersion()), "");
}

}  // namespace
