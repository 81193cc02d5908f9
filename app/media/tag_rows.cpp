#include "app/media/tag_rows.h"

#include <windows.h>

namespace {

using C = TTagColumn;

void Keep(WideString& Column, const WideString& Value) {
  if (!Value.empty()) Column = Value;
}

constexpr std::pair<C, WideString TTagFields::*> HiddenTextColumns[] = {
    {C::Writer, &TTagFields::Writer},   {C::TrackP, &TTagFields::TrackNum}, {C::TrackT, &TTagFields::TrackTotal},
    {C::DiskP, &TTagFields::DiskNum},   {C::DiskT, &TTagFields::DiskTotal}, {C::Group, &TTagFields::Group},
    {C::Tempo, &TTagFields::Tempo},     {C::Composer, &TTagFields::Composer}, {C::Encoder, &TTagFields::Encoder},
    {C::Tool, &TTagFields::Tool},       {C::Comments, &TTagFields::Comment},
};

}  // namespace

WideString ShortPlayTime(const WideString& PlayTime) {
  size_t at = PlayTime.find(L"00:");
  return at == WideString::npos ? PlayTime : PlayTime.substr(at + 3);
}

WideString TagFolderOf(const WideString& SelectedPath) {
  if (!SelectedPath.empty() && SelectedPath.back() == L'\\') return SelectedPath;
  return SelectedPath + L"\\";
}

std::vector<WideString> TagFolderFileNames(const WideString& Folder) {
  std::vector<WideString> names;
  for (const wchar_t* ext : {L"m4a", L"mp4"}) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((Folder + L"*." + ext).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  return names;
}

WideString TagYear(TMediaAnswers& Media) {
  const WideString year = Media.Get(TStreamKind::General, 0, L"Recorded_Date");
  return year.empty() ? Media.Get(TStreamKind::General, 0, L"Encoded_Date") : year;
}

TTagRow ReadTagRow(const WideString& Folder, const WideString& File, TMediaAnswers& Media) {
  TTagRow row;
  row[C::Path] = Folder;
  row[C::File] = File;
  auto general = [&](const wchar_t* parameter) { return Media.Get(TStreamKind::General, 0, parameter); };
  row[C::Name] = general(L"Title");
  row[C::Length] = ShortPlayTime(general(L"PlayTime/String3"));
  row[C::Artist] = general(L"Artist");
  row[C::Album] = general(L"Album");
  row[C::Year] = TagYear(Media);
  row[C::Genre] = general(L"Genre");
  return row;
}

bool IsGenreHeading(int Index) { return Index == 0 || Index == 20; }

void SyncTagEdits(const TTagEdits& Edits, TTagRow& Row) {
  Keep(Row[C::Name], Edits.Name);
  Keep(Row[C::Artist], Edits.Artist);
  Keep(Row[C::Album], Edits.Album);
  Keep(Row[C::Year], Edits.Year);
  if (!IsGenreHeading(Edits.GenreIndex)) Row[C::Genre] = Edits.Genre;
}

void WriteDialogTags(const TTagFields& Dialog, TTagRow& Row) {
  Keep(Row[C::Name], Dialog.Name);
  Keep(Row[C::Artist], Dialog.Artist);
  Keep(Row[C::Album], Dialog.Album);
  Keep(Row[C::Year], Dialog.Year);
  Keep(Row[C::Genre], Dialog.Genre);
  for (const auto& [column, field] : HiddenTextColumns) Keep(Row[column], Dialog.*field);
  if (Dialog.Compilation) Row[C::Compile] = L"compile";
  if (Dialog.Gapless) Row[C::Gapless] = L"gapless";
}

void ReadDialogTags(const TTagRow& Row, TTagFields& Dialog) {
  for (const auto& [column, field] : HiddenTextColumns) Keep(Dialog.*field, Row[column]);
  if (!Row[C::Compile].empty()) Dialog.Compilation = true;
  if (!Row[C::Gapless].empty()) Dialog.Gapless = true;
}

TTagFields TagFieldsOfRow(const TTagRow& Row) {
  TTagFields f;
  f.Name = Row[C::Name];
  f.Artist = Row[C::Artist];
  f.Album = Row[C::Album];
  f.Year = Row[C::Year];
  f.Genre = Row[C::Genre];
  ReadDialogTags(Row, f);
  return f;
}

std::optional<TTagWalk> NextTagRow(const std::vector<bool>& Checks, int Position) {
  const int count = static_cast<int>(Checks.size());
  if (Position < 0 || Position >= count) return std::nullopt;
  int row = Position;
  if (!Checks[row]) ++row;
  if (row >= count) return std::nullopt;
  return TTagWalk{row, row + 1};
}

std::optional<TTagWalk> PreviousTagRow(const std::vector<bool>& Checks, int Position, int Selected) {
  const int count = static_cast<int>(Checks.size());
  if (Selected == 0) return std::nullopt;
  int position = Position - 1;
  if (position - 1 >= 0 && position - 1 < count && !Checks[position - 1]) --position;
  int row = position - 1;
  if (row < 0 || row >= count) return std::nullopt;
  return TTagWalk{row, position};
}
