// The tag page's rows: one per M4A or MP4 file of a folder, with the tags MediaInfo reads
// and those the user sets, and the rules between a row, the page's edits and the
// properties dialog. Nothing here knows a window.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "app/commands/itags_argument.h"
#include "app/media/media_info.h"

// The text columns of a row, after the check column.
enum class TTagColumn {
  Path,  // the folder, ending in "\"
  File,
  Name,
  Length,
  Artist,
  Album,
  Year,
  Genre,
  // Filled only from the properties dialog.
  Writer,
  TrackP,
  TrackT,
  DiskP,
  DiskT,
  Group,
  Tempo,
  Composer,
  Compile,
  Gapless,
  Encoder,
  Tool,
  Comments,
};
constexpr int TagColumnCount = 21;

struct TTagRow {
  bool Checked = true;
  std::array<WideString, TagColumnCount> Columns;
  WideString& operator[](TTagColumn C) { return Columns[static_cast<int>(C)]; }
  const WideString& operator[](TTagColumn C) const { return Columns[static_cast<int>(C)]; }
  WideString FullName() const { return (*this)[TTagColumn::Path] + (*this)[TTagColumn::File]; }
};

// A play time as the list shows it: the text after the first "00:" when it holds one
// ("00:03:25.500" gives "03:25.500").
WideString ShortPlayTime(const WideString& PlayTime);

// The folder of a folder tree's path, ending in "\" (a drive root keeps its own).
WideString TagFolderOf(const WideString& SelectedPath);

// The names of the folder's M4A files, then of its MP4 files, each in the order the file
// system gives them (folders are passed over).
std::vector<WideString> TagFolderFileNames(const WideString& Folder);

// A new row for a file: checked, its path and name, and the tags MediaInfo gives.
TTagRow ReadTagRow(const WideString& Folder, const WideString& File, TMediaAnswers& Media);
// The file's year: its year tag, which today's library gives as "Recorded_Date", else
// "Encoded_Date" (today the file's creation time, "2009-06-01 10:00:00 UTC").
WideString TagYear(TMediaAnswers& Media);

// The page's edits under the list.
struct TTagEdits {
  WideString Name, Artist, Album, Year;
  int GenreIndex = -1;
  WideString Genre;  // the genre box's text
};

// The genre box's two heading items ("Audio :", "Video :").
bool IsGenreHeading(int Index);
// The edits into a row: a non-empty edit replaces its column, an empty one leaves it; the
// genre unless a heading is selected (the empty item clears it).
void SyncTagEdits(const TTagEdits& Edits, TTagRow& Row);

// The properties dialog's tags into a row: every non-empty field replaces its column (the
// picture is not kept in the row).
void WriteDialogTags(const TTagFields& Dialog, TTagRow& Row);
// The dialog's tags from a row's hidden columns: only the non-empty ones are set.
void ReadDialogTags(const TTagRow& Row, TTagFields& Dialog);

// The tags a row gives to the tagging run, its hidden columns included (the picture is the
// page's).
TTagFields TagFieldsOfRow(const TTagRow& Row);

// ">>": from the position one past the row last reached, the row to select and the new
// position; an unchecked row there is passed over. None when that leaves the list.
struct TTagWalk {
  int Select;
  int Position;
};
std::optional<TTagWalk> NextTagRow(const std::vector<bool>& Checks, int Position);
// "<<": one row back from the position (an unchecked one passed over); none when the first
// row is selected or the step leaves the list.
std::optional<TTagWalk> PreviousTagRow(const std::vector<bool>& Checks, int Position, int Selected);
