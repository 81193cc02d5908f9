#include "explorer/file_records.h"

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
  if (!A.NameKey.empty() && !B.NameKey.empty()) {
    int r = A.NameKey.compare(B.NameKey);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
  }
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

std::string NameSortKey(const WideString& Name) {
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int length = static_cast<int>(Name.size());
  // Most keys fit a buffer on the stack: the system is asked once instead of twice.
  char buffer[512];
  int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, Name.c_str(), length, reinterpret_cast<LPWSTR>(buffer),
                       static_cast<int>(sizeof buffer));
  std::string key;
  if (n > 0) {
    key.assign(buffer, static_cast<size_t>(n));
  } else {
    n = LCMapStringW(LOCALE_USER_DEFAULT, flags, Name.c_str(), length, nullptr, 0);
    if (n <= 0) return std::string();
    key.assign(static_cast<size_t>(n), '\0');
    LCMapStringW(LOCALE_USER_DEFAULT, flags, Name.c_str(), length, reinterpret_cast<LPWSTR>(key.data()), n);
  }
  while (!key.empty() && key.back() == '\0') key.pop_back();  // the key's own terminator
  return key;
}

void SortFileInfos(TFlieInfoArr& Rows, int L, int R, int SortColumn, bool Descending) {
  if (L < 0 || R >= static_cast<int>(Rows.size())) return;
  if (SortColumn == colName)
    for (int i = L; i <= R; ++i)
      if (Rows[static_cast<size_t>(i)].NameKey.empty())
        Rows[static_cast<size_t>(i)].NameKey = NameSortKey(Rows[static_cast<size_t>(i)].Name);
  auto row = [&Rows](int i) -> TFileInfo& { return Rows[static_cast<size_t>(i)]; };
  while (L < R) {
    int i = L, j = R;
    // The pivot is the middle record's value: it is followed where the swaps move it
    // rather than copied, which gives the same comparisons as a copy would.
    int pivot = (L + R) / 2;
    do {
      while (CompareFileInfo(row(i), row(pivot), SortColumn, Descending) < 0) ++i;
      while (CompareFileInfo(row(j), row(pivot), SortColumn, Descending) > 0) --j;
      if (i <= j) {
        if (i < j) {
          std::swap(row(i), row(j));
          if (pivot == i)
            pivot = j;
          else if (pivot == j)
            pivot = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (L < j) SortFileInfos(Rows, L, j, SortColumn, Descending);
    L = i;
  }
}
