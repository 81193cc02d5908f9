// A fresh folder under the system's temporary folder for a test's files, removed with
// everything in it at the end.
#pragma once

#include <windows.h>

#include <string>

class TTempFolder {
 public:
  TTempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    FPath = std::string(base) + "kavo_desktop_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter) + "\\";
    CreateDirectoryA(FPath.c_str(), nullptr);
  }
  ~TTempFolder() { RemoveTree(FPath); }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder with its trailing backslash.
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& Name) const { return FPath + Name; }

  void WriteFile(const std::string& Name, const std::string& Bytes) const {
    HANDLE h = CreateFileA((FPath + Name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(h, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr);
    CloseHandle(h);
  }
  // The file's bytes; "<missing>" when it cannot be read.
  std::string ReadFile(const std::string& Name) const {
    HANDLE h = CreateFileA((FPath + Name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD read = 0;
    ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(h);
    return bytes;
  }
  bool Exists(const std::string& Name) const {
    return GetFileAttributesA((FPath + Name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  static void RemoveTree(const std::string& Folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(Folder + name + "\\");
        else
          DeleteFileA((Folder + name).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(Folder.c_str());
  }

  std::string FPath;
};
