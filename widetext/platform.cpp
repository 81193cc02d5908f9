#include "widetext/platform.h"

#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

#include "widetext/codecs.h"

bool UnicodePlatform = false;
bool PlatformIsXPOrLater = false;
bool PlatformIs2003OrLater = false;
bool PlatformIsVistaOrLater = false;

TPlatformVersion ReadPlatformVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  TPlatformVersion v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&info)) {
#pragma GCC diagnostic pop
    v.PlatformId = info.dwPlatformId;
    v.Major = info.dwMajorVersion;
    v.Minor = info.dwMinorVersion;
  }
  return v;
}

void InitPlatformFlags(const TPlatformVersion& Version) {
  UnicodePlatform = Version.PlatformId == VER_PLATFORM_WIN32_NT;
  PlatformIsXPOrLater = Version.Major > 5 || (Version.Major == 5 && Version.Minor >= 1);
  PlatformIs2003OrLater = Version.Major > 5 || (Version.Major == 5 && Version.Minor >= 2);
  PlatformIsVistaOrLater = Version.Major >= 6;
}

namespace {

// Runs before the ordinary static objects of the program (and after the codec
// unit's start-up, which has the higher priority), so that nothing made during
// initialisation sees the flags unset.
struct TPlatformFlagsStartup {
  TPlatformFlagsStartup() { InitPlatformFlags(ReadPlatformVersion()); }
};
__attribute__((init_priority(201))) TPlatformFlagsStartup startup;

}  // namespace

// ---------------------------------------------------------------------------
// Conversions of the A paths.

namespace {

// A text handed to an A entry point; a null text stays null. Characters outside
// the code page become its default character, never a best-fit look-alike: a Greek
// alpha would otherwise come out as a Latin "a", show the wrong text and, in a file
// name, reach a different file.
class AnsiArg {
 public:
  explicit AnsiArg(const WideChar* text) : null_(text == nullptr) {
    if (!null_) text_ = ToAnsi(text, std::wcslen(text), &lossy_);
  }
  const char* c_str() const { return null_ ? nullptr : text_.c_str(); }
  // The code page could not hold every character.
  bool lossy() const { return lossy_; }

  static AnsiString ToAnsi(const WideChar* text, size_t count, bool* lossy = nullptr) {
    if (lossy) *lossy = false;
    if (count == 0) return AnsiString();
    const int len = static_cast<int>(count);
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultArg = &usedDefault;
    DWORD flags = WC_NO_BEST_FIT_CHARS;
    int n = WideCharToMultiByte(ConversionCodePage, flags, text, len, nullptr, 0, nullptr, usedDefaultArg);
    if (n == 0 && (GetLastError() == ERROR_INVALID_FLAGS || GetLastError() == ERROR_INVALID_PARAMETER)) {
      // UTF-8 and the like take neither the flag nor the question, and lose nothing.
      flags = 0;
      usedDefaultArg = nullptr;
      n = WideCharToMultiByte(ConversionCodePage, flags, text, len, nullptr, 0, nullptr, nullptr);
    }
    AnsiString out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(ConversionCodePage, flags, text, len, out.data(), n, nullptr, usedDefaultArg);
    if (lossy) *lossy = usedDefault != FALSE;
    return out;
  }

 private:
  bool null_;
  bool lossy_ = false;
  AnsiString text_;
};

WideString FromAnsi(const char* text, size_t count) {
  return CodePageToWide(AnsiString(text, count), ConversionCodePage);
}

// Calls an A path query that fills a buffer and answers the size it needs when the
// buffer is too small; asks again with that size instead of losing a long result.
template <typename Query>
DWORD FetchAnsiPath(AnsiString& out, Query query) {
  out.assign(2 * MAX_PATH, '\0');
  DWORD n = query(out.data(), static_cast<DWORD>(out.size()));
  while (n >= out.size()) {
    out.assign(n, '\0');
    n = query(out.data(), static_cast<DWORD>(out.size()));
  }
  out.resize(n);
  return n;
}

// The one-character case mapping of the A path: only a character with an exact
// 8-bit form is mapped, and only a one-character result is taken.
WideChar MapCharThroughCodePage(WideChar c, bool upper) {
  char bytes[4] = {};
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(ConversionCodePage, WC_NO_BEST_FIT_CHARS, &c, 1, bytes, 2, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return c;
  if (upper)
    CharUpperA(bytes);
  else
    CharLowerA(bytes);
  WideChar back[2] = {};
  const int m = MultiByteToWideChar(ConversionCodePage, 0, bytes, n, back, 2);
  return m == 1 ? back[0] : c;
}

WideChar* MapCase(WideChar* charOrText, bool upper) {
  if (UnicodePlatform) return upper ? CharUpperW(charOrText) : CharLowerW(charOrText);
  if (IsIntegerIdentifier(charOrText)) {
    const auto c = static_cast<WideChar>(reinterpret_cast<uintptr_t>(charOrText));
    return reinterpret_cast<WideChar*>(static_cast<uintptr_t>(MapCharThroughCodePage(c, upper)));
  }
  for (WideChar* p = charOrText; *p; ++p) *p = MapCharThroughCodePage(*p, upper);
  return charOrText;
}

DWORD MapCaseBuff(WideChar* text, DWORD length, bool upper) {
  if (UnicodePlatform) return upper ? CharUpperBuffW(text, length) : CharLowerBuffW(text, length);
  for (DWORD i = 0; i < length; ++i) text[i] = MapCharThroughCodePage(text[i], upper);
  return length;
}

// The first count characters (all up to the terminator for -1) for an A call that
// takes its text zero-terminated; room to spare for DT_MODIFYSTRING's ellipsis.
std::vector<char> DrawTextArg(const WideChar* text, int count) {
  const size_t n = count < 0 ? std::wcslen(text) : static_cast<size_t>(count);
  const AnsiString a = AnsiArg::ToAnsi(text, n);
  std::vector<char> buf(a.begin(), a.end());
  buf.resize(buf.size() + 5, '\0');
  return buf;
}

}  // namespace

// ---------------------------------------------------------------------------
// Wrappers.

BOOL Uni_SetWindowTextW(HWND Wnd, const WideChar* Text) {
  if (UnicodePlatform) return SetWindowTextW(Wnd, Text);
  return SetWindowTextA(Wnd, AnsiArg(Text).c_str());
}

DWORD Uni_GetShortPathNameW(const WideChar* LongPath, WideChar* Buffer, DWORD BufferLength) {
  if (UnicodePlatform) return GetShortPathNameW(LongPath, Buffer, BufferLength);
  const AnsiArg path(LongPath);
  AnsiString result;
  if (FetchAnsiPath(result, [&](char* buf, DWORD size) { return GetShortPathNameA(path.c_str(), buf, size); }) == 0)
    return 0;
  const WideString wide = FromAnsi(result.data(), result.size());
  const DWORD n = static_cast<DWORD>(wide.size());
  // No buffer asks for the size only, whatever length comes with it.
  if (Buffer && BufferLength > n) {
    std::wmemcpy(Buffer, wide.c_str(), n + 1);
    return n;
  }
  // Too small: the leading folders that fit, without a terminator.
  if (Buffer && BufferLength >= 4) {
    const size_t cut = wide.find_last_of(L'\\', BufferLength - 2);
    if (cut != WideString::npos) std::wmemcpy(Buffer, wide.data(), cut + 1);
  }
  return n + 1;
}

DWORD Uni_GetFullPathNameW(const WideChar* FileName, DWORD BufferLength, WideChar* Buffer, WideChar** FilePart) {
  if (UnicodePlatform) return GetFullPathNameW(FileName, BufferLength, Buffer, FilePart);
  const AnsiArg name(FileName);
  AnsiString result;
  // Kept as an offset: the buffer may be fetched again.
  size_t filePartOffset = AnsiString::npos;
  const DWORD got = FetchAnsiPath(result, [&](char* buf, DWORD size) {
    char* filePartA = nullptr;
    const DWORD r = GetFullPathNameA(name.c_str(), size, buf, &filePartA);
    filePartOffset = filePartA ? static_cast<size_t>(filePartA - buf) : AnsiString::npos;
    return r;
  });
  if (FilePart) *FilePart = nullptr;
  if (got == 0) return 0;
  const WideString wide = FromAnsi(result.data(), result.size());
  const DWORD n = static_cast<DWORD>(wide.size());
  // No buffer asks for the size only, whatever length comes with it.
  if (Buffer && BufferLength > n) {
    std::wmemcpy(Buffer, wide.c_str(), n + 1);
    // The same position in characters: the wide length of the bytes before it.
    if (FilePart && filePartOffset != AnsiString::npos)
      *FilePart = Buffer + FromAnsi(result.data(), filePartOffset).size();
    return n;
  }
  if (Buffer && BufferLength > 0) Buffer[0] = L'\0';
  return n + 1;
}

HANDLE Uni_CreateFileW(const WideChar* FileName, DWORD Access, DWORD Share, LPSECURITY_ATTRIBUTES Security,
                       DWORD Disposition, DWORD Flags, HANDLE Template) {
  if (UnicodePlatform) return CreateFileW(FileName, Access, Share, Security, Disposition, Flags, Template);
  return CreateFileA(AnsiArg(FileName).c_str(), Access, Share, Security, Disposition, Flags, Template);
}

HANDLE Uni_FindFirstFileW(const WideChar* FileName, WIN32_FIND_DATAW& FindData) {
  if (UnicodePlatform) return FindFirstFileW(FileName, &FindData);
  const AnsiArg name(FileName);
  // The code page's default character "?" is a wildcard to FindFirstFileA: a name
  // the code page cannot hold would find whatever file matches the pattern.
  if (name.lossy()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  WIN32_FIND_DATAA found{};
  const HANDLE h = FindFirstFileA(name.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return h;
  // The fields before the names are the same in both records.
  static_assert(offsetof(WIN32_FIND_DATAA, cFileName) == offsetof(WIN32_FIND_DATAW, cFileName));
  std::memcpy(&FindData, &found, offsetof(WIN32_FIND_DATAA, cFileName));
  auto copyName = [](const char* name, WideChar* dest, size_t destSize) {
    const WideString wide = FromAnsi(name, std::strlen(name));
    const size_t n = std::min(wide.size(), destSize - 1);
    std::wmemcpy(dest, wide.data(), n);
    dest[n] = L'\0';
  };
  copyName(found.cFileName, FindData.cFileName, std::size(FindData.cFileName));
  copyName(found.cAlternateFileName, FindData.cAlternateFileName, std::size(FindData.cAlternateFileName));
  return h;
}

DWORD Uni_GetFileAttributesW(const WideChar* FileName) {
  if (UnicodePlatform) return GetFileAttributesW(FileName);
  return GetFileAttributesA(AnsiArg(FileName).c_str());
}

BOOL Uni_DeleteFileW(const WideChar* FileName) {
  if (UnicodePlatform) return DeleteFileW(FileName);
  return DeleteFileA(AnsiArg(FileName).c_str());
}

int Uni_DrawTextW(HDC DC, const WideChar* Text, int Count, RECT* Rect, UINT Format) {
  if (UnicodePlatform) return DrawTextW(DC, Text, Count, Rect, Format);
  std::vector<char> text = DrawTextArg(Text, Count);
  return DrawTextA(DC, text.data(), -1, Rect, Format);
}

int Uni_DrawTextExW(HDC DC, WideChar* Text, int Count, RECT* Rect, UINT Format, DRAWTEXTPARAMS* Params) {
  if (UnicodePlatform) return DrawTextExW(DC, Text, Count, Rect, Format, Params);
  std::vector<char> text = DrawTextArg(Text, Count);
  return DrawTextExA(DC, text.data(), -1, Rect, Format, Params);
}

HINSTANCE Uni_ShellExecuteW(HWND Wnd, const WideString& Operation, const WideString& FileName,
                            const WideString& Parameters, const WideString& Directory, int ShowCmd) {
  if (UnicodePlatform)
    return ShellExecuteW(Wnd, Operation.empty() ? nullptr : Operation.c_str(), FileName.c_str(),
                         Parameters.c_str(), Directory.c_str(), ShowCmd);
  auto arg = [](const WideString& s) { return AnsiArg(s.empty() ? nullptr : s.c_str()); };
  const AnsiArg op = arg(Operation), file = arg(FileName), params = arg(Parameters), dir = arg(Directory);
  return ShellExecuteA(Wnd, op.c_str(), file.c_str(), params.c_str(), dir.c_str(), ShowCmd);
}

WideChar* Uni_CharUpperW(WideChar* CharOrText) { return MapCase(CharOrText, true); }
WideChar* Uni_CharLowerW(WideChar* CharOrText) { return MapCase(CharOrText, false); }
DWORD Uni_CharUpperBuffW(WideChar* Text, DWORD Length) { return MapCaseBuff(Text, Length, true); }
DWORD Uni_CharLowerBuffW(WideChar* Text, DWORD Length) { return MapCaseBuff(Text, Length, false); }

BOOL Uni_GetStringTypeExW(LCID Locale, DWORD InfoType, const WideChar* Text, int Count, WORD* CharType) {
  if (UnicodePlatform) return GetStringTypeExW(Locale, InfoType, Text, Count, CharType);
  // As the W function: -1 counts the terminator too.
  const size_t count = Count < 0 ? std::wcslen(Text) + 1 : static_cast<size_t>(Count);
  // One character may take two bytes: the A call answers per byte, the caller's
  // array has one entry per character, so each character gets the type of its
  // first byte (and the caller's array is never written past its end).
  AnsiString bytes;
  std::vector<size_t> offsets(count);
  for (size_t i = 0; i < count; ++i) {
    offsets[i] = bytes.size();
    // A best-fit look-alike tells more of the character's type than "?" would.
    const AnsiString one = WideToCodePage(WideString(Text + i, 1), ConversionCodePage);
    bytes += one.empty() ? AnsiString(1, '?') : one;
  }
  if (count == 0) return TRUE;
  std::vector<WORD> types(bytes.size());
  if (!GetStringTypeExA(Locale, InfoType, bytes.data(), static_cast<int>(bytes.size()), types.data())) return FALSE;
  for (size_t i = 0; i < count; ++i) CharType[i] = types[offsets[i]];
  return TRUE;
}

int Uni_LoadStringW(HINSTANCE Instance, UINT Ident, WideChar* Buffer, int BufferMax) {
  if (UnicodePlatform) return LoadStringW(Instance, Ident, Buffer, BufferMax);
  if ((Ident >> 16) > 65534) Ident = 0u - Ident;
  const auto block = static_cast<WORD>((Ident >> 4) + 1);
  const UINT index = Ident & 15;
  const HRSRC res = FindResourceA(Instance, MAKEINTRESOURCEA(block), MAKEINTRESOURCEA(6) /* RT_STRING */);
  if (!res) return 0;
  const HGLOBAL loaded = LoadResource(Instance, res);
  if (!loaded) return 0;
  const auto* p = static_cast<const WORD*>(LockResource(loaded));
  if (!p) return 0;
  // A block holds 16 counted strings; stay inside it whatever it holds.
  const WORD* end = p + SizeofResource(Instance, res) / sizeof(WORD);
  for (UINT i = 0; i < index && p < end; ++i) p += 1 + *p;
  if (p >= end) return 0;
  const size_t length = std::min<size_t>(*p, static_cast<size_t>(end - p - 1));
  if (!Buffer || BufferMax < 1) return static_cast<int>(length);
  const size_t n = std::min(static_cast<size_t>(BufferMax - 1), length);
  std::memcpy(Buffer, p + 1, n * sizeof(WideChar));
  Buffer[n] = L'\0';
  return static_cast<int>(n);
}

// ---------------------------------------------------------------------------

bool IsIntegerIdentifier(const void* Value) { return (reinterpret_cast<uintptr_t>(Value) >> 16) == 0; }

UINT KeyboardLayoutCodePage() {
  const auto language = static_cast<LANGID>(reinterpret_cast<uintptr_t>(GetKeyboardLayout(0)) & 0xFFFF);
  return LocaleAnsiCodePage(MAKELCID(language, SORT_DEFAULT));
}

WideChar KeyCharToWide(WORD Key) {
  if (Key >= 256) return Key;
  const char byte = static_cast<char>(Key);
  WideChar wide = 0;
  MultiByteToWideChar(KeyboardLayoutCodePage(), MB_USEGLYPHCHARS, &byte, 1, &wide, 1);
  return wide;
}
