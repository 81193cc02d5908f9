#include "widetext/filenames.h"

#include <iterator>

#include "widetext/platform.h"

namespace {

const WideChar kPathDelimiters[] = L"\\:";
const WideChar kExtensionDelimiters[] = L".\\:";

// The index of the extension's dot, 0 when the name has no extension.
size_t ExtensionDot(const WideString& FileName) {
  const size_t i = WideLastDelimiter(kExtensionDelimiters, FileName);
  return i > 0 && FileName[i - 1] == L'.' ? i : 0;
}

// A path routine that fills a buffer and answers the size it needs when the buffer
// is too small. The fixed buffer serves every usual path; a longer one is fetched
// again with the size the system asked for.
template <typename Query>
WideString FetchPath(Query query) {
  WideString buf(MAX_PATH, L'\0');
  DWORD n = query(buf.data(), static_cast<DWORD>(buf.size()));
  while (n >= buf.size()) {
    buf.assign(n, L'\0');
    n = query(buf.data(), static_cast<DWORD>(buf.size()));
  }
  buf.resize(n);
  return buf;
}

}  // namespace

size_t WideLastDelimiter(const WideString& Delimiters, const WideString& S) {
  for (size_t i = S.size(); i > 0; --i) {
    const WideChar c = S[i - 1];
    if (c != L'\0' && Delimiters.find(c) != WideString::npos) return i;
  }
  return 0;
}

bool WideIsPathDelimiter(const WideString& S, size_t Index) {
  return Index >= 1 && Index <= S.size() && S[Index - 1] == L'\\';
}

bool WideIsDelimiter(const WideString& Delimiters, const WideString& S, size_t Index) {
  return Index >= 1 && Index <= S.size() && S[Index - 1] != L'\0' &&
         Delimiters.find(S[Index - 1]) != WideString::npos;
}

WideString WideExtractFilePath(const WideString& FileName) {
  return FileName.substr(0, WideLastDelimiter(kPathDelimiters, FileName));
}

WideString WideExtractFileName(const WideString& FileName) {
  return FileName.substr(WideLastDelimiter(kPathDelimiters, FileName));
}

WideString WideExtractFileExt(const WideString& FileName) {
  const size_t dot = ExtensionDot(FileName);
  return dot ? FileName.substr(dot - 1) : WideString();
}

WideString WideChangeFileExt(const WideString& FileName, const WideString& Extension) {
  const size_t dot = ExtensionDot(FileName);
  return (dot ? FileName.substr(0, dot - 1) : FileName) + Extension;
}

WideString WideExpandFileName(const WideString& FileName) {
  return FetchPath([&](WideChar* buf, DWORD size) {
    WideChar* filePart = nullptr;
    return Uni_GetFullPathNameW(FileName.c_str(), size, buf, &filePart);
  });
}

WideString WideExtractShortPathName(const WideString& FileName) {
  return FetchPath([&](WideChar* buf, DWORD size) { return Uni_GetShortPathNameW(FileName.c_str(), buf, size); });
}

HANDLE WideFileCreate(const WideString& FileName) {
  return Uni_CreateFileW(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE WideFileOpen(const WideString& FileName, unsigned Mode) {
  static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const unsigned access = Mode & 3, share = (Mode & 0xF0) >> 4;
  // A mode outside the tables opens nothing rather than some other mode.
  if (access >= std::size(kAccess) || share >= std::size(kShare)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return Uni_CreateFileW(FileName.c_str(), kAccess[access], kShare[share], nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WideFileExists(const WideString& FileName) {
  // "*" and "?" typed in a name are no wildcards here: no file can carry them in its
  // name, so such a name exists nowhere (the "\\?\" prefix of long paths aside).
  const bool longPrefix = FileName.compare(0, 4, L"\\\\?\\") == 0;
  if (FileName.find_first_of(L"*?", longPrefix ? 4 : 0) != WideString::npos) return false;
  WIN32_FIND_DATAW found{};
  const HANDLE h = Uni_FindFirstFileW(FileName.c_str(), found);
  if (h == INVALID_HANDLE_VALUE) return false;
  FindClose(h);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

DWORD WideFileGetAttr(const WideString& FileName) { return Uni_GetFileAttributesW(FileName.c_str()); }

bool WideDeleteFile(const WideString& FileName) { return Uni_DeleteFileW(FileName.c_str()) != 0; }

BOOL Uni_Win32Check(BOOL RetVal) {
  if (RetVal == 0) RaiseLastOSError();
  return RetVal;
}
