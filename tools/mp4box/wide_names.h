// File names as today's MP4Box handles them: UTF-8 inside, UTF-16 at the system.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

inline std::wstring Wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

inline std::string Utf8(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

inline bool IsFile(const std::string& name) {
  DWORD a = GetFileAttributesW(Wide(name).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool IsFolder(const std::string& name) {
  DWORD a = GetFileAttributesW(Wide(name).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The name after the last folder separator.
inline std::string NameOnly(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes the folder of a file and the folders above it; false when one cannot be made.
inline bool MakeFolderOf(const std::string& file) {
  size_t slash = file.find_last_of("\\/");
  if (slash == std::string::npos || slash == 0) return true;
  std::string folder = file.substr(0, slash);
  if (folder.size() <= 2 && folder.back() == ':') return true;  // a drive's root
  if (IsFolder(folder)) return true;
  if (!MakeFolderOf(folder)) return false;
  return CreateDirectoryW(Wide(folder).c_str(), nullptr) || IsFolder(folder);
}

}  // namespace standin
