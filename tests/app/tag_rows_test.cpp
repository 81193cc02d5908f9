// The tag page's rules without a window: the folder's files, the play time, the edits and
// the dialog into a row, previous and next, and the in-place rewrite of a tagged file.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/commands/folder_tag_job.h"
#include "app/media/tag_rows.h"
#include "tests/app/argv_support.h"
#include "tests/app/media_test_support.h"
#include "tests/app/program_session.h"
#include "tests/widetext/temp_folder.h"

using namespace apptest;

namespace {

using C = TTagColumn;

TEST(TagRows, TheFolderListsItsM4AFilesBeforeItsMP4Files) {
  TempFolder temp;
  const WideString folder = temp.Path() + L"\\";
  EXPECT_TRUE(TagFolderFileNames(folder).empty());
  for (const wchar_t* name : {L"a.mp4", L"b.m4a", L"notes.txt", L"c.MP4", L"\x03A9.m4a"})
    TempFolder::MakeFile(folder + name);
  CreateDirectoryW((folder + L"folder.m4a").c_str(), nullptr);
  std::vector<WideString> names = TagFolderFileNames(folder);
  ASSERT_EQ(names.size(), 4u);
  std::sort(names.begin(), names.begin() + 2);
  std::sort(names.begin() + 2, names.end());
  EXPECT_EQ(names, (std::vector<WideString>{L"b.m4a", L"\x03A9.m4a", L"a.mp4", L"c.MP4"}));

  EXPECT_EQ(TagFolderOf(L"D:\\Music"), L"D:\\Music\\");
  EXPECT_EQ(TagFolderOf(L"C:\\"), L"C:\\");
}

TEST(TagRows, PlayTimesAreShortenedAfterTheFirstZeroHours) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"00:03:25.500", L"03:25.500"}, {L"01:00:25.000", L"25.000"}, {L"01:02:03.004", L"01:02:03.004"}, {L"", L""}};
  for (const auto& [given, shown] : cases) EXPECT_EQ(ShortPlayTime(given), shown) << WideToAnsi(given);
}

TEST(TagRows, ARowHoldsWhatMediaInfoGives) {
  TChosenAnswers answers;
  answers.Set(TStreamKind::General, 0, L"Title", L"Song")
      .Set(TStreamKind::General, 0, L"PlayTime/String3", L"00:03:25.500")
      .Set(TStreamKind::General, 0, L"Artist", L"Ann")
      .Set(TStreamKind::General, 0, L"Encoded_Date", L"2009-06-01 10:00:00 UTC")
      .Set(TStreamKind::General, 0, L"Genre", L"Jazz");
  const TTagRow row = ReadTagRow(L"D:\\M\\", L"a.m4a", answers);
  EXPECT_TRUE(row.Checked);
  TTagRow expected;
  expected[C::Path] = L"D:\\M\\";
  expected[C::File] = L"a.m4a";
  expected[C::Name] = L"Song";
  expected[C::Length] = L"03:25.500";
  expected[C::Artist] = L"Ann";
  expected[C::Year] = L"2009-06-01 10:00:00 UTC";
  expected[C::Genre] = L"Jazz";
  EXPECT_EQ(row.Columns, expected.Columns);
  EXPECT_EQ(row.FullName(), L"D:\\M\\a.m4a");

  // The year tag, where the library gives one, comes before the creation time.
  answers.Set(TStreamKind::General, 0, L"Recorded_Date", L"2009");
  EXPECT_EQ(ReadTagRow(L"D:\\M\\", L"a.m4a", answers)[C::Year], L"2009");
}

TEST(TagRows, EditsReachTheRowButEmptyEditsAndHeadingsChangeNothing) {
  TTagRow start;
  start[C::Name] = L"Old";
  start[C::Artist] = L"Ann";
  start[C::Genre] = L"Jazz";
  struct Case {
    const char* what;
    TTagEdits edits;
    WideString name, artist, genre;
  } cases[] = {
      {"new name, empty artist, genre Rock", {L"New", L"", L"", L"", 17, L"Rock"}, L"New", L"Ann", L"Rock"},
      {"the audio heading", {L"", L"", L"", L"", 0, L"Audio :"}, L"Old", L"Ann", L"Jazz"},
      {"the video heading", {L"", L"Bob", L"", L"", 20, L"Video :"}, L"Old", L"Bob", L"Jazz"},
      {"the empty item", {L"", L"", L"", L"", 19, L""}, L"Old", L"Ann", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTagRow row = start;
    SyncTagEdits(c.edits, row);
    EXPECT_EQ(row[C::Name], c.name);
    EXPECT_EQ(row[C::Artist], c.artist);
    EXPECT_EQ(row[C::Genre], c.genre);
  }
}

TEST(TagRows, TheDialogsTagsGoIntoTheRowAndBack) {
  TTagRow row;
  row[C::Name] = L"Kept";
  row[C::Tempo] = L"90";
  TTagFields dialog;
  dialog.Artist = L"Ann";
  dialog.Writer = L"W";
  dialog.TrackNum = L"3";
  dialog.TrackTotal = L"12";
  dialog.DiskTotal = L"2";
  dialog.Comment = L"a\r\nb";
  dialog.Compilation = true;
  dialog.Cover = L"c.jpg";
  WriteDialogTags(dialog, row);
  EXPECT_EQ(row[C::Name], L"Kept");
  EXPECT_EQ(row[C::Artist], L"Ann");
  EXPECT_EQ(row[C::Writer], L"W");
  EXPECT_EQ(row[C::TrackP], L"3");
  EXPECT_EQ(row[C::TrackT], L"12");
  EXPECT_EQ(row[C::DiskP], L"");
  EXPECT_EQ(row[C::DiskT], L"2");
  EXPECT_EQ(row[C::Tempo], L"90");
  EXPECT_EQ(row[C::Comments], L"a\r\nb");
  EXPECT_EQ(row[C::Compile], L"compile");
  EXPECT_EQ(row[C::Gapless], L"");

  TTagFields back;
  back.Group = L"G";
  ReadDialogTags(row, back);
  EXPECT_EQ(back.Writer, L"W");
  EXPECT_EQ(back.TrackTotal, L"12");
  EXPECT_EQ(back.Tempo, L"90");
  EXPECT_EQ(back.Group, L"G");  // an empty column leaves the field
  EXPECT_TRUE(back.Compilation);
  EXPECT_FALSE(back.Gapless);
  EXPECT_EQ(back.Name, L"");  // the visible columns are the page's edits
}

TEST(TagRows, NextAndPreviousSkipOneUncheckedRowAndStayInTheList) {
  const std::vector<bool> checks{true, false, true, true};
  struct Next {
    int position;
    std::optional<int> select, newPosition;
  } nexts[] = {{0, 0, 1}, {1, 2, 3}, {3, 3, 4}, {4, {}, {}}, {9, {}, {}}};
  for (const Next& n : nexts) {
    SCOPED_TRACE(n.position);
    std::optional<TTagWalk> walk = NextTagRow(checks, n.position);
    ASSERT_EQ(walk.has_value(), n.select.has_value());
    if (walk) EXPECT_EQ((std::pair{walk->Select, walk->Position}), (std::pair{*n.select, *n.newPosition}));
  }
  EXPECT_FALSE(NextTagRow({true, false}, 1));  // the skip would leave the list
  EXPECT_FALSE(NextTagRow({}, 1));

  struct Previous {
    int position, selected;
    std::optional<int> select, newPosition;
  } previous[] = {{4, 3, 2, 3}, {3, 2, 0, 1}, {2, 0, {}, {}}, {1, -1, {}, {}}, {9, 3, {}, {}}};
  for (const Previous& p : previous) {
    SCOPED_TRACE(p.position);
    std::optional<TTagWalk> walk = PreviousTagRow(checks, p.position, p.selected);
    ASSERT_EQ(walk.has_value(), p.select.has_value());
    if (walk) EXPECT_EQ((std::pair{walk->Select, walk->Position}), (std::pair{*p.select, *p.newPosition}));
  }
}

TEST(TagRewrite, TheOriginalIsReplacedOnlyAfterARunThatEndedWell) {
  TempFolder temp;
  const WideString file = temp.Path() + L"\\song.m4a";
  TempFolder::MakeFile(file, "original");
  const WideString work = TagWorkFileOf(file);
  EXPECT_EQ(work, temp.Path() + L"\\song-tagging.m4a");
  TempFolder::MakeFile(work, "half written");
  EXPECT_EQ(TagWorkFileOf(file), temp.Path() + L"\\song-tagging2.m4a");  // a name nobody holds

  EXPECT_EQ(FinishTagRewrite(file, work, false, TTagFields()), L"");
  EXPECT_EQ(ReadFileBytes(file), "original");
  EXPECT_FALSE(TempFolder::Exists(work));

  EXPECT_EQ(FinishTagRewrite(file, work, true, TTagFields()), L"");  // ended well but wrote nothing
  EXPECT_EQ(ReadFileBytes(file), "original");

  TempFolder::MakeFile(work, "tagged");
  EXPECT_EQ(FinishTagRewrite(file, work, true, TTagFields()), L"");
  EXPECT_EQ(ReadFileBytes(file), "tagged");
  EXPECT_FALSE(TempFolder::Exists(work));
}

TEST(FolderTagJob, OneStepPerCheckedRowFromTheFirst) {
  TFolderTagJob job;
  job.Files = {L"D:\\M\\a.m4a", L"D:\\M\\b.m4a", L"D:\\M\\c.mp4"};
  job.Checked = {true, false, true};
  job.Options = {L"MP4Box.exe", L"", false};
  std::vector<int> selected;
  job.Select = [&](int Row) { selected.push_back(Row); };
  job.TagsOf = [](int Row) {
    TTagFields t;
    if (Row == 0) t.Name = L"A";
    return t;
  };
  TJobStart start = FolderTagJobStart(job);
  EXPECT_EQ(start.Mode, TJobMode::Tag);
  EXPECT_EQ(start.StepCount, 2);
  std::optional<TRunRequest> first = start.Steps(0), second = start.Steps(1);
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(start.Steps(2));
  EXPECT_EQ(selected, (std::vector<int>{0, 2}));
  EXPECT_TRUE(first->TagsByMP4Box);
  EXPECT_FALSE(second->TagsByMP4Box);
  EXPECT_EQ(ArgumentsOf(second->CommandLine),
            (std::vector<std::wstring>{L"-add", L"D:\\M\\c.mp4", L"-new", L"D:\\M\\c-tagging.mp4"}));
  EXPECT_EQ(second->Notes.at(0).Text, NamedTexts().Msg13 + L" c.mp4...");
  EXPECT_EQ(second->Notes.at(1).Text, NamedTexts().Msg12 + L" : " + AnsiToWide(second->CommandLine));

  job.Checked = {false, false, false};
  TJobStart none = FolderTagJobStart(job);
  EXPECT_FALSE(none.Steps(0));  // the job closes at once
}

// Every checked file is looked at before the first run: a read-only one, and (for the older
// tool, whose line is 8-bit) one whose name neither the code page nor a short name reaches.
TEST(FolderTagJob, FilesThatCannotBeTaggedAreNamedBeforeTheFirstRun) {
  TempFolder temp;
  const WideString plain = temp.Path() + L"\\plain.m4a", greek = temp.Path() + L"\\\x03A9\x03B4\x03AE.m4a",
                   locked = temp.Path() + L"\\locked.m4a", unchecked = temp.Path() + L"\\\x03A9 ro.m4a";
  for (const WideString& f : {plain, greek, locked, unchecked}) TempFolder::MakeFile(f);
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(unchecked.c_str(), FILE_ATTRIBUTE_READONLY);
  const std::vector<WideString> files{plain, greek, locked, unchecked};
  const std::vector<bool> checked{true, true, true, false};
  const TMP4BoxVersion older = ParseMP4BoxVersion("MP4Box - GPAC version 0.4.5");
  const TMP4BoxVersion today = ParseMP4BoxVersion("MP4Box - GPAC version 26.08-DEV");

  TFolderTagRefusal refusal = CheckFolderTagFiles(files, checked, older);
  EXPECT_EQ(refusal.ReadOnly, std::vector<WideString>{locked});
  // Its short name may reach the file, but no 8-bit name reaches its tagged copy.
  EXPECT_EQ(refusal.Unspellable, std::vector<WideString>{greek});
  EXPECT_EQ(FolderTagRefusalText(refusal),
              L"These files are read-only and cannot be tagged: locked.m4a\r\n\r\nThis MP4Box cannot reach these "
              L"files by their names (use MP4Box 0.6.0 or later, or rename them): \x03A9\x03B4\x03AE.m4a");
  refusal = CheckFolderTagFiles(files, checked, today);  // today's tool reads UTF-16
  EXPECT_TRUE(refusal.Unspellable.empty());
  EXPECT_TRUE(refusal.Any());
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(CheckFolderTagFiles(files, checked, today).Any());
  SetFileAttributesW(unchecked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
