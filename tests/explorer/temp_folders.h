// A temporary folder tree made for a test and removed with it.
#pragma once

#include <windows.h>

#include <string>

namespace explorer_test {

class TTempFolder {
 public:
  TTempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (unsigned n = GetTickCount();; ++n) {
      FPath = std::wstring(base) + L"kvx" + std::to_wstring(n % 1000000);
      if (CreateDirectoryW(FPath.c_str(), nullptr)) break;
    }
    // Short names in the 8-bit world are easier to read in failures; keep the long form.
    wchar_t longPath[MAX_PATH];
    if (GetLongPathNameW(FPath.c_str(), longPath, MAX_PATH)) FPath = longPath;
  }
  ~TTempFolder() {
    // A folder that is the process's current folder cannot be removed: step out of it.
    wchar_t current[MAX_PATH * 2];
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 2, current);
    if (n && _wcsnicmp(current, FPath.c_str(), FPath.size()) == 0) {
      wchar_t base[MAX_PATH];
      GetTempPathW(MAX_PATH, base);
      SetCurrentDirectoryW(base);
    }
    RemoveAll(FPath);
  }

  const std::wstring& Path() const { return FPath; }  // without trailing "\"
  std::wstring Sub(const std::wstring& Relative) const { return FPath + L"\\" + Relative; }
  std::wstring MakeFolder(const std::wstring& Relative) const {
    std::wstring path = Sub(Relative);
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
  }
  std::wstring MakeFile(const std::wstring& Relative, size_t Bytes = 10) const {
    std::wstring path = Sub(Relative);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string data(Bytes, 'x');
    DWORD written = 0;
    WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(file);
    return path;
  }

  static void RemoveAll(const std::wstring& Path) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((Path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring full = Path + L"\\" + name;
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL | (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY));
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveAll(full);
        else
          DeleteFileW(full.c_str());
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(Path.c_str());
  }

 private:
  std::wstring FPath;
};

inline bool Exists(const std::wstring& Path) { return GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The 8-bit form of a path whose characters the ANSI code page holds.
inline std::string Narrow(const std::wstring& S) {
  int n = WideCharToMultiByte(CP_ACP, 0, S.c_str(), static_cast<int>(S.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, S.c_str(), static_cast<int>(S.size()), out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace explorer_test
