#include "app/settings/profile_snapshot.h"

#include <windows.h>

#include <cwctype>
#include <string>

namespace {

constexpr size_t kValueLength = 2047;  // what one value of the 8-bit routines may hold

bool IsBlank(wchar_t c) { return std::iswspace(c) || c == 0x1a; }

WideString TrimBlanks(const wchar_t* begin, const wchar_t* end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  return WideString(begin, end);
}

bool SameName(const WideString& a, const WideString& b) {
  return a.size() == b.size() &&
         CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
             CSTR_EQUAL;
}

WideString FullName(const WideString& Name) {
  if (Name.find_first_of(L"\\/") == WideString::npos && !(Name.size() > 1 && Name[1] == L':')) {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return WideString(folder) + L"\\" + Name;
  }
  return Name;
}

std::string ReadBytes(const WideString& Name) {
  std::string bytes;
  HANDLE file = CreateFileW(Name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 30)) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
    bytes.resize(got);
  }
  CloseHandle(file);
  return bytes;
}

WideString Widen(const char* p, size_t n, UINT codePage) {
  if (n == 0) return WideString();
  const int len = MultiByteToWideChar(codePage, 0, p, static_cast<int>(n), nullptr, 0);
  WideString w(static_cast<size_t>(len), L'\0');
  MultiByteToWideChar(codePage, 0, p, static_cast<int>(n), w.data(), len);
  return w;
}

// The text as the profile routines see it: UTF-8 or UTF-16 after their byte-order marks,
// the ANSI code page otherwise.
WideString Decode(const std::string& b) {
  auto starts = [&](std::initializer_list<unsigned char> mark) {
    if (b.size() < mark.size()) return false;
    size_t i = 0;
    for (unsigned char m : mark)
      if (static_cast<unsigned char>(b[i++]) != m) return false;
    return true;
  };
  if (starts({0xEF, 0xBB, 0xBF})) return Widen(b.data() + 3, b.size() - 3, CP_UTF8);
  if (starts({0xFF, 0xFE}) || starts({0xFE, 0xFF})) {
    const bool big = static_cast<unsigned char>(b[0]) == 0xFE;
    WideString w;
    w.reserve(b.size() / 2);
    for (size_t i = 2; i + 1 < b.size(); i += 2) {
      const unsigned lo = static_cast<unsigned char>(b[i + (big ? 1 : 0)]);
      const unsigned hi = static_cast<unsigned char>(b[i + (big ? 0 : 1)]);
      w.push_back(static_cast<wchar_t>(lo | (hi << 8)));
    }
    return w;
  }
  return Widen(b.data(), b.size(), CP_ACP);
}

}  // namespace

TProfileSnapshot::TProfileSnapshot(const AnsiString& FileName) {
  Parse(Decode(ReadBytes(FullName(AnsiToWide(FileName)))));
}

void TProfileSnapshot::Parse(const WideString& Text) {
  // Lines before the first section header belong to a section without a name.
  FSections.push_back({});
  const wchar_t* p = Text.data();
  const wchar_t* const end = p + Text.size();
  while (p < end) {
    const wchar_t* lineEnd = p;
    while (lineEnd < end && *lineEnd != L'\n' && *lineEnd != L'\r') ++lineEnd;
    const wchar_t* next = lineEnd;
    while (next < end && (*next == L'\n' || *next == L'\r')) ++next;
    const WideString line = TrimBlanks(p, lineEnd);
    p = next;
    if (line.empty()) continue;
    if (line[0] == L'[') {
      const size_t close = line.rfind(L']');
      if (close != WideString::npos) {
        FSections.push_back({TrimBlanks(line.data() + 1, line.data() + close), {}});
        continue;
      }
    }
    // Any other line is a key, "=" or not (a comment too: no key is looked up by its text).
    const size_t equals = line.find(L'=');
    TKey key;
    if (equals == WideString::npos) {
      key.Name = line;
    } else {
      key.Name = TrimBlanks(line.data(), line.data() + equals);
      key.Value = TrimBlanks(line.data() + equals + 1, line.data() + line.size());
    }
    FSections.back().Keys.push_back(std::move(key));
  }
}

std::optional<AnsiString> TProfileSnapshot::Read(const AnsiString& Section, const AnsiString& Key) const {
  const WideString sectionW = AnsiToWide(Section), keyW = AnsiToWide(Key);
  const WideString section = TrimBlanks(sectionW.data(), sectionW.data() + sectionW.size());
  const WideString name = TrimBlanks(keyW.data(), keyW.data() + keyW.size());
  for (const TSection& s : FSections) {
    if (!SameName(s.Name, section)) continue;
    // Only the first section of that name counts.
    for (const TKey& k : s.Keys) {
      if (!SameName(k.Name, name)) continue;
      if (!k.Value) return std::nullopt;
      WideString v = *k.Value;
      if (v.size() > 1 && (v[0] == L'"' || v[0] == L'\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
      if (v.size() > kValueLength) v.resize(kValueLength);
      return WideToAnsi(v);
    }
    return std::nullopt;
  }
  return std::nullopt;
}
