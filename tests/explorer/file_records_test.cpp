// The file rows without a window: attribute letters and filter, masks, the row order.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "explorer/file_records.h"

namespace {

TFileInfo Row(const wchar_t* name, const char* kind, int64_t size = 0, uint64_t time = 0, const char* attr = "",
              const wchar_t* type = L"") {
  TFileInfo r;
  r.Name = name;
  r.Kind = kind;
  r.Size = size;
  r.WriteTime = time;
  r.AttrText = attr;
  r.TypeName = type;
  return r;
}

std::vector<std::wstring> Names(const TFlieInfoArr& rows) {
  std::vector<std::wstring> names;
  for (const auto& r : rows) names.push_back(r.Name);
  return names;
}

// The rows put in the order SortRowOrder gives their indexes.
void Sort(TFlieInfoArr& rows, int column, bool descending) {
  std::vector<int> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  SortRowOrder(rows, order, 0, static_cast<int>(order.size()) - 1, column, descending);
  TFlieInfoArr sorted;
  for (int i : order) sorted.push_back(rows[static_cast<size_t>(i)]);
  rows = std::move(sorted);
}

}  // namespace

TEST(FileRecords, AttributeLettersAndSearchFilter) {
  EXPECT_EQ(AttributeText(0x20 | 0x01 | 0x02), "ARH");
  EXPECT_EQ(AttributeText(0x04 | 0x01), "RS");
  EXPECT_EQ(AttributeText(0x80), "");

  // The initial file-type filter: read-only, hidden, system, archive (+ folder bit).
  const uint32_t files = 0x87, folders = 0x97;
  EXPECT_TRUE(SearchTakesEntry(0x20, files));
  EXPECT_TRUE(SearchTakesEntry(0x80, files));  // a normal file needs no bit of the filter
  EXPECT_TRUE(SearchTakesEntry(0x22, files));
  EXPECT_FALSE(SearchTakesEntry(0x10, files));  // folders only in the folder pass
  EXPECT_TRUE(SearchTakesEntry(0x10, folders));
  EXPECT_FALSE(SearchTakesEntry(0x20, folders));
  // Without ftHidden a hidden file is left out.
  EXPECT_FALSE(SearchTakesEntry(0x22, 0x85));
  EXPECT_TRUE(SearchTakesEntry(0x21, 0x85));
}

TEST(FileRecords, MaskPartsAndMatching) {
  EXPECT_EQ(SplitMasks(L" *.txt;*.ini "), (std::vector<std::wstring>{L"*.txt", L"*.ini"}));
  EXPECT_EQ(SplitMasks(L""), (std::vector<std::wstring>{L"*.*"}));
  EXPECT_EQ(SplitMasks(L"   "), (std::vector<std::wstring>{L"*.*"}));
  EXPECT_EQ(SplitMasks(L"*.m4a;*.m4a"), (std::vector<std::wstring>{L"*.m4a", L"*.m4a"}));
  EXPECT_EQ(SplitMasks(L"*.a; *.b"), (std::vector<std::wstring>{L"*.a", L" *.b"}));  // parts keep their blanks

  struct Case {
    const wchar_t* name;
    const wchar_t* pattern;
    bool match;
  } cases[] = {
      {L"song.M4A", L"*.m4a", true},       {L"song.m4a.bak", L"*.m4a", false},
      {L"Ελληνικά.mp4", L"*.MP4", true},   {L"日本語.mp4", L"日本*", true},
      {L"clip.mp4", L"c?ip.*", true},      {L"clip", L"clip.*", true},
      {L"README", L"*.", true},            {L"a.txt", L"*.", false},
      {L"noext", L"*.*", true},            {L"ΑΒΓ.txt", L"αβγ.TXT", true},
      {L"track01.m4a", L"track??.m4a", true}, {L"track1.m4a", L"track??.m4a", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesMask(c.name, c.pattern), c.match) << std::wstring(c.name) << L" ~ " << c.pattern;
}

TEST(FileRecords, ParentLeadsFoldersBeforeFilesDescendingReverses) {
  TFlieInfoArr rows = {Row(L"b.txt", "file"), Row(L"Zeta", "dir"), Row(L"..", "dir"), Row(L"a.txt", "file"),
                       Row(L"alpha", "dir"),  Row(L"C.txt", "file")};
  Sort(rows, colName, false);
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"..", L"alpha", L"Zeta", L"a.txt", L"b.txt", L"C.txt"}));
  Sort(rows, colName, true);
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"..", L"C.txt", L"b.txt", L"a.txt", L"Zeta", L"alpha"}));
}

TEST(FileRecords, ParentStaysFirstWhateverTheColumn) {
  // A folder that sorts before ".." by size or by name ("!") must not pass it.
  for (int column = colName; column <= colAttr + 1; ++column)
    for (bool descending : {false, true}) {
      TFlieInfoArr rows = {Row(L"!first", "dir"), Row(L"x.m4a", "file", 5), Row(L"..", "dir"),
                           Row(L"b", "dir", 0, 9)};
      Sort(rows, column, descending);
      EXPECT_EQ(rows[0].Name, L"..") << "column " << column << " descending " << descending;
    }
}

TEST(FileRecords, ModifiedSortsByTheWholeFileTime) {
  // Times of different magnitude and ones that differ only in the last ticks: a text of
  // the value compared byte-wise, or a 15-digit float, would misorder them.
  const uint64_t t1918 = 99'000'000'000'000'000ULL;   // 17 digits
  const uint64_t t2020 = 132'000'000'000'000'001ULL;  // 18 digits
  const uint64_t t2020b = 132'000'000'000'000'007ULL;
  TFlieInfoArr rows = {Row(L"new", "file", 0, t2020b), Row(L"old", "file", 0, t1918),
                       Row(L"mid", "file", 0, t2020)};
  Sort(rows, colModified, false);
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"old", L"mid", L"new"}));
}

TEST(FileRecords, SizeTypeAndAttrColumns) {
  const int64_t fiveGB = 5LL * 1024 * 1024 * 1024;
  TFlieInfoArr rows = {Row(L"big.mp4", "file", fiveGB, 0, "AR", L"MP4 File"),
                       Row(L"small.m4a", "file", 10, 0, "A", L"m4a file"),
                       Row(L"plain", "file", 1000, 0, "", L""),
                       Row(L"sys.txt", "file", 500, 0, "ARHS", L"Text Document")};
  Sort(rows, colSize, false);
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"small.m4a", L"sys.txt", L"plain", L"big.mp4"}));
  Sort(rows, colType, false);  // empty type first, then without regard to case
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"plain", L"small.m4a", L"big.mp4", L"sys.txt"}));
  Sort(rows, colAttr, true);
  EXPECT_EQ(Names(rows), (std::vector<std::wstring>{L"sys.txt", L"big.mp4", L"small.m4a", L"plain"}));
}

TEST(FileRecords, ManyRowsWithTiesSortInOrder) {
  // Long runs of equal sizes and names in every order: the partitions move the pivot's record.
  for (int column : {colName, colSize})
    for (bool descending : {false, true}) {
      TFlieInfoArr rows;
      for (int i = 0; i < 300; ++i) {
        const std::wstring name = L"n" + std::to_wstring((i * 37) % 11);
        rows.push_back(Row(name.c_str(), i % 7 ? "file" : "dir", (i * 13) % 5));
      }
      Sort(rows, column, descending);
      int dirs = 0;
      for (size_t k = 0; k < rows.size(); ++k) {
        dirs += rows[k].Kind == "dir";
        if (k > 0) EXPECT_LE(CompareFileInfo(rows[k - 1], rows[k], column, descending), 0) << k;
      }
      EXPECT_EQ(dirs, 43);
    }
}

TEST(FileRecords, RecordOfFindData) {
  WIN32_FIND_DATAW fd{};
  wcscpy(fd.cFileName, L"Ελληνικά.m4a");
  fd.dwFileAttributes = 0x21;
  fd.nFileSizeHigh = 1;
  fd.nFileSizeLow = 5;
  fd.ftLastWriteTime.dwHighDateTime = 30000000;
  fd.ftLastWriteTime.dwLowDateTime = 7;
  TFileInfo r = RecordOfFindData(L"C:\\music\\", fd);
  EXPECT_EQ(r.FullPath, L"C:\\music\\Ελληνικά.m4a");
  EXPECT_EQ(r.Kind, "file");
  EXPECT_EQ(r.AttrText, "AR");
  EXPECT_EQ(r.Size, (1LL << 32) + 5);
  EXPECT_EQ(r.WriteTime, (30000000ULL << 32) + 7);
  EXPECT_EQ(r.DateKey, std::to_string((30000000ULL << 32) + 7));
  EXPECT_FALSE(r.InfoFetched);
}

TEST(FileRecords, NameKeysOrderAsTheLocaleComparesNames) {
  const std::vector<std::wstring> names = {L"beta",  L"Alpha", L"alpha2", L"ALPHA", L"Ελληνικά", L"ελληνικό",
                                           L"日本語", L"にほん", L"a.b",    L"a-b",   L"Zeta",     L"track 10",
                                           L"track 9", L"ÄÖÜ",  L"aou",
                                           // keys longer than the routine's buffer on the stack
                                           std::wstring(400, L'k') + L"a", std::wstring(400, L'K') + L"B"};
  for (const auto& a : names)
    for (const auto& b : names) {
      int byLocale = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
      int byKey = NameSortKey(a).compare(NameSortKey(b));
      EXPECT_EQ(byLocale < 0, byKey < 0) << a << L" / " << b;
      EXPECT_EQ(byLocale > 0, byKey > 0) << a << L" / " << b;
    }
}

TEST(FileRecords, NameSortMatchesTheLocaleOrderOfMixedScriptsAndCase) {
  // The sort compares collation keys made for it; the order must be the one that
  // comparing the names themselves gives, in both directions.
  const std::vector<std::wstring> files = {L"beta.m4a", L"Alpha.mp4", L"alpha2.MP4", L"ÄÖÜ.txt", L"aou.txt",
                                           L"Ελληνικά.m4a", L"ελληνικό.mp4", L"日本語の歌.mp4", L"にほん.m4a",
                                           L"track 10.m4a", L"track 9.m4a", L"a-b", L"a.b",
                                           std::wstring(400, L'k') + L".m4a"};  // a key longer than 512 bytes
  const std::vector<std::wstring> dirs = {L"Zeta", L"zeta 2", L"Ωμέγα", L"音楽", L"!first"};
  for (bool descending : {false, true}) {
    TFlieInfoArr rows;
    for (size_t i = 0; i < std::max(files.size(), dirs.size()); ++i) {
      if (i < files.size()) rows.push_back(Row(files[i].c_str(), "file"));
      if (i == 3) rows.push_back(Row(L"..", "dir"));
      if (i < dirs.size()) rows.push_back(Row(dirs[i].c_str(), "dir"));
    }
    TFlieInfoArr expected = rows;
    std::stable_sort(expected.begin(), expected.end(), [descending](const TFileInfo& a, const TFileInfo& b) {
      return CompareFileInfo(a, b, colName, descending) < 0;
    });
    Sort(rows, colName, descending);
    EXPECT_EQ(Names(rows), Names(expected)) << "descending " << descending;
  }
}
