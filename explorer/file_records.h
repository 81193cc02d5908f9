// The rows of the file list view as plain records, and everything about them that needs no
// window: which directory entries a search takes, their attribute letters, the file masks,
// and the order of the rows under each sort column.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "vcl/sysutils.h"

// One row: a folder, a file, the parent entry ".." or a drive.
struct TFileInfo {
  WideString Name;          // as found on disk; for a drive the text built for it
  WideString FullPath;      // folder with a backslash + name; for a drive "X:\"
  AnsiString AttrText;      // "A", "R", "H", "S" in this order
  WideString ModifiedText;  // last-write time in local time, formatted when the row is first shown
  AnsiString Kind;          // "dir", "file" or "drv"
  int64_t Size = 0;         // bytes for a file, KB for a drive
  int64_t FreeSpace = 0;    // drives only, KB
  AnsiString DateKey;       // the last-write time as a decimal text of its 100-ns ticks
  uint32_t Attributes = 0;
  bool InfoFetched = false;  // ImageIndex and TypeName are known
  int ImageIndex = -1;
  WideString TypeName;
  // The last-write time as a number: the Modified column sorts by it, so that two times
  // compare exactly whatever their magnitude (a text of the value would not).
  uint64_t WriteTime = 0;
};

using TFlieInfoArr = std::vector<TFileInfo>;

// Attribute bits of a search (the values the file-type filter adds up).
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrSystem = 0x04;
constexpr uint32_t kAttrVolumeId = 0x08;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;

// "A" if archive, then "R", "H", "S" for read-only, hidden and system.
AnsiString AttributeText(uint32_t Attributes);

// Whether a directory entry with Attributes belongs to a search with attribute SearchAttr:
// its folder bit must equal the search's, and each of its read-only, hidden and system bits
// must be in the search.
bool SearchTakesEntry(uint32_t Attributes, uint32_t SearchAttr);

// The parts of a mask text: trimmed of blanks, "*.*" when nothing is left, then cut at each
// ";" (the parts themselves are not trimmed; empty parts name nothing and are dropped).
std::vector<WideString> SplitMasks(const WideString& Mask);

// Whether Name matches the wildcard Pattern the way the system's file search matches a
// long name: "*" any run of characters, "?" one character, letters without regard to case;
// a pattern ending in ".*" also takes names without an extension, one ending in "." takes
// only names without one, and "*.*" or "*" take everything.
bool MatchesMask(const WideString& Name, const WideString& Pattern);
bool MatchesAnyMask(const WideString& Name, const std::vector<WideString>& Patterns);

// A record for one entry found by the file search in Folder (which ends with a backslash).
// ModifiedText is left for the caller, which knows the date and time formats.
TFileInfo RecordOfFindData(const WideString& Folder, const WIN32_FIND_DATAW& Data);

// The 64-bit value of a file time, and the decimal text kept as the row's date key.
uint64_t FileTimeValue(const FILETIME& Time);

// Sort columns of the file rows.
enum TFileSortColumn { colName = 0, colSize = 1, colType = 2, colModified = 3, colAttr = 4 };

// The order of two rows (negative: A first). ".." comes before everything and that is never
// reversed; folders come before files; then the sort column decides; Descending reverses
// all but the ".." cases, so that in descending order folders follow files.
int CompareFileInfo(const TFileInfo& A, const TFileInfo& B, int SortColumn, bool Descending);

// The collation key of a name (the user's locale, without regard to case): keys compared
// byte by byte order as the names compare. Empty when the system gives none.
std::string NameSortKey(const WideString& Name);

// Sorts Order[L..R], indexes into Rows, by CompareFileInfo of the rows they stand for: a
// quicksort whose pivot is the row at the middle place. The records themselves stay where
// they are. By name it compares the rows' collation keys, made once for the sort.
void SortRowOrder(const TFlieInfoArr& Rows, std::vector<int>& Order, int L, int R, int SortColumn, bool Descending);
