#include "explorer/file_records.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <utility>

AnsiString AttributeText(uint32_t Attributes) {
  AnsiString s;
  if (Attributes & kAttrArchive) s += 'A';
  if (Attributes & kAttrReadOnly) s += 'R';
  if (Attributes & kAttrHidden) s += 'H';
  if (Attributes & kAttrSystem) s += 'S';
  return s;
}

bool SearchTakesEntry(uint32_t Attributes, uint32_t SearchAttr) {
  if ((Attributes & kAttrDirectory) != (SearchAttr & kAttrDirectory)) return false;
  const uint32_t guarded = kAttrReadOnly | kAttrHidden | kAttrSystem;
  return (Attributes & guarded & ~SearchAttr) == 0;
}

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

WideString Upper(const WideString& s) {
  WideString u = s;
  if (!u.empty()) CharUpperBuffW(u.data(), static_cast<DWORD>(u.size()));
  return u;
}

// "*" and "?" over upper-cased texts; the last "*" is taken back on a mismatch.
bool WildMatch(const wchar_t* name, const wchar_t* pattern) {
  const wchar_t* star = nullptr;
  const wchar_t* resume = nullptr;
  while (*name) {
    if (*pattern == L'*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == L'?' || *pattern == *name) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == L'*') ++pattern;
  return *pattern == 0;
}

}  // namespace

std::vector<WideString> SplitMasks(const WideString& Mask) {
  size_t first = 0, last = Mask.size();
  while (first < last && IsBlank(Mask[first])) ++first;
  while (last > first && IsBlank(Mask[last - 1])) --last;
  WideString text = first < last ? Mask.substr(first, last - first) : WideString(L"*.*");
  std::vector<WideString> parts;
  size_t start = 0;
  for (;;) {
    size_t semi = text.find(L';', start);
    WideString part = text.substr(start, semi == WideString::npos ? WideString::npos : semi - start);
    if (!part.empty()) parts.push_back(part);
    if (semi == WideString::npos) break;
    start = semi + 1;
  }
  return parts;
}

bool MatchesMask(const WideString& Name, const WideString& Pattern) {
  if (Pattern == L"*" || Pattern == L"*.*") return true;
  WideString name = Upper(Name);
  WideString pattern = Upper(Pattern);
  if (WildMatch(name.c_str(), pattern.c_str())) return true;
  bool hasDot = name.find(L'.') != WideString::npos;
  // "name.*" also names "name" itself, and "name." names it alone.
  if (!hasDot && pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, L".*") == 0)
    return WildMatch(name.c_str(), pattern.substr(0, pattern.size() - 2).c_str());
  if (!hasDot && pattern.size() >= 1 && pattern.back() == L'.')
    return WildMatch(name.c_str(), pattern.substr(0, pattern.size() - 1).c_str());
  return false;
}

bool MatchesAnyMask(const WideString& Name, const std::vector<WideString>& Patterns) {
  for (const WideString& p : Patterns)
    if (MatchesMask(Name, p)) return true;
  return false;
}

uint64_t FileTimeValue(const FILETIME& Time) {
  return (static_cast<uint64_t>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime;
}

TFileInfo RecordOfFindData(const WideString& Folder, const WIN32_FIND_DATAW& Data) {
  TFileInfo r;
  r.Name = Data.cFileName;
  r.FullPath = Folder + r.Name;
  r.Attributes = Data.dwFileAttributes;
  r.Kind = (Data.dwFileAttributes & kAttrDirectory) ? "dir" : "file";
  r.AttrText = AttributeText(Data.dwFileAttributes);
  r.Size = static_cast<int64_t>((static_cast<uint64_t>(Data.nFileSizeHigh) << 32) | Data.nFileSizeLow);
  r.WriteTime = FileTimeValue(Data.ftLastWriteTime);
  r.DateKey = std::to_string(r.WriteTime);
  return r;
}

namespace {

int Sign(int64_t v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

int CompareNames(const TFileInfo& A, const TFileInfo& B) {
  const WideString& a = A.Name;
  const WideString& b = B.Name;
  int r = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                         static_cast<int>(b.size()));
  return r == 0 ? 0 : r - CSTR_EQUAL;
}

int CompareTypeNames(const WideString& a, const WideString& b) {
  WideString la = a, lb = b;
  if (!la.empty()) CharLowerBuffW(la.data(), static_cast<DWORD>(la.size()));
  if (!lb.empty()) CharLowerBuffW(lb.data(), static_cast<DWORD>(lb.size()));
  if (la == lb) return 0;
  if (la.empty()) return -1;
  if (lb.empty()) return 1;
  return Sign(lstrcmpW(la.c_str(), lb.c_str()));
}

}  // namespace

int CompareFileInfo(const TFileInfo& A, const TFileInfo& B, int SortColumn, bool Descending) {
  bool aParent = A.Name == L"..", bParent = B.Name == L"..";
  // The parent entry leads in every order.
  if (aParent || bParent) return aParent == bParent ? 0 : aParent ? -1 : 1;
  int result = 0;
  if (A.Kind != B.Kind) {
    result = A.Kind == "dir" ? -1 : 1;
  } else {
    switch (SortColumn) {
      case colName: result = CompareNames(A, B); break;
      case colSize: result = Sign(A.Size < B.Size ? -1 : A.Size > B.Size ? 1 : 0); break;
      case colType: result = CompareTypeNames(A.TypeName, B.TypeName); break;
      case colModified: result = A.WriteTime < B.WriteTime ? -1 : A.WriteTime > B.WriteTime ? 1 : 0; break;
      case colAttr: result = Sign(_stricmp(A.AttrText.c_str(), B.AttrText.c_str())); break;
      default: break;
    }
  }
  return Descending ? -result : result;
}

namespace {

// Appends the collation key of Name (without its terminator) to Keys; returns its length.
size_t AppendNameSortKey(std::string& Keys, const WideString& Name) {
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int length = static_cast<int>(Name.size());
  // Most keys fit a buffer on the stack: the system is asked once instead of twice.
  char buffer[512];
  const size_t start = Keys.size();
  int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, Name.c_str(), length, reinterpret_cast<LPWSTR>(buffer),
                       static_cast<int>(sizeof buffer));
  if (n > 0) {
    Keys.append(buffer, static_cast<size_t>(n));
  } else {
    n = LCMapStringW(LOCALE_USER_DEFAULT, flags, Name.c_str(), length, nullptr, 0);
    if (n <= 0) return 0;
    Keys.resize(start + static_cast<size_t>(n));
    LCMapStringW(LOCALE_USER_DEFAULT, flags, Name.c_str(), length, reinterpret_cast<LPWSTR>(&Keys[start]), n);
  }
  while (Keys.size() > start && Keys.back() == '\0') Keys.pop_back();  // the key's own terminator
  return Keys.size() - start;
}

// What the name order compares of the rows at places L..R of Order, made once for a sort:
// whether a row is the parent entry, its kind, and its collation key, the keys side by side
// in one buffer.
class TNameOrder {
 public:
  TNameOrder(const TFlieInfoArr& Rows, const std::vector<int>& Order, int L, int R, bool Descending)
      : FRows(Rows), FDescending(Descending), FEntries(Rows.size()) {
    FKeys.reserve(static_cast<size_t>(R - L + 1) * 64);
    for (int place = L; place <= R; ++place) {
      const int i = Order[static_cast<size_t>(place)];
      const TFileInfo& row = Rows[static_cast<size_t>(i)];
      TEntry& e = FEntries[static_cast<size_t>(i)];
      e.Parent = row.Name == L"..";
      e.Kind = row.Kind == "dir" ? kDir : row.Kind == "file" ? kFile : row.Kind == "drv" ? kDrive : kOther;
      e.KeyStart = FKeys.size();
      e.KeyLength = AppendNameSortKey(FKeys, row.Name);
    }
  }

  // As CompareFileInfo by name, rows A and B given by their indexes.
  int Compare(int A, int B) const {
    const TEntry& a = FEntries[static_cast<size_t>(A)];
    const TEntry& b = FEntries[static_cast<size_t>(B)];
    if (a.Parent || b.Parent) return a.Parent == b.Parent ? 0 : a.Parent ? -1 : 1;
    if (a.Kind == kOther || b.Kind == kOther || (a.Kind == b.Kind && (!a.KeyLength || !b.KeyLength)))
      return CompareFileInfo(FRows[static_cast<size_t>(A)], FRows[static_cast<size_t>(B)], colName, FDescending);
    int result;
    if (a.Kind != b.Kind) {
      result = a.Kind == kDir ? -1 : 1;
    } else {
      int r = std::memcmp(FKeys.data() + a.KeyStart, FKeys.data() + b.KeyStart, std::min(a.KeyLength, b.KeyLength));
      result = r < 0 ? -1 : r > 0 ? 1 : a.KeyLength < b.KeyLength ? -1 : a.KeyLength > b.KeyLength ? 1 : 0;
    }
    return FDescending ? -result : result;
  }

 private:
  enum TKind : uint8_t { kDir, kFile, kDrive, kOther };
  struct TEntry {
    size_t KeyStart = 0;
    size_t KeyLength = 0;
    TKind Kind = kOther;
    bool Parent = false;
  };
  const TFlieInfoArr& FRows;
  bool FDescending;
  std::vector<TEntry> FEntries;  // by row index
  std::string FKeys;
};

// The quicksort of Order[L..R] (indexes of rows) by Compare(row index, row index).
template <class TCompare>
void QuickSortOrder(std::vector<int>& Order, int L, int R, const TCompare& Compare) {
  auto at = [&Order](int i) -> int& { return Order[static_cast<size_t>(i)]; };
  while (L < R) {
    int i = L, j = R;
    const int pivot = at((L + R) / 2);  // the middle row, wherever the swaps move it
    do {
      while (Compare(at(i), pivot) < 0) ++i;
      while (Compare(at(j), pivot) > 0) --j;
      if (i <= j) {
        if (i < j) std::swap(at(i), at(j));
        ++i;
        --j;
      }
    } while (i <= j);
    if (L < j) QuickSortOrder(Order, L, j, Compare);
    L = i;
  }
}

}  // namespace

std::string NameSortKey(const WideString& Name) {
  std::string key;
  AppendNameSortKey(key, Name);
  return key;
}

void SortRowOrder(const TFlieInfoArr& Rows, std::vector<int>& Order, int L, int R, int SortColumn, bool Descending) {
  if (L < 0 || R >= static_cast<int>(Order.size()) || L >= R) return;
  if (SortColumn == colName) {
    const TNameOrder names(Rows, Order, L, R, Descending);
    QuickSortOrder(Order, L, R, [&names](int A, int B) { return names.Compare(A, B); });
  } else {
    QuickSortOrder(Order, L, R, [&](int A, int B) {
      return CompareFileInfo(Rows[static_cast<size_t>(A)], Rows[static_cast<size_t>(B)], SortColumn, Descending);
    });
  }
}
