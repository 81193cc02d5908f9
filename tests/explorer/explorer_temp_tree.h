// A temporary folder tree for the explorer tests, with Greek and Japanese names, files of
// known sizes, and a way to reach the Unix side (symbolic links) under Wine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "vcl/sysutils.h"
#include "widetext/codecs.h"

inline WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

// Greek and Japanese folder and file names used by the tree below.
inline WideString GreekFolder() { return U8("Ελληνικά"); }
inline WideString JapaneseFolder() { return U8("日本語のフォルダ"); }
inline WideString GreekFile() { return U8("αρχείο.bin"); }
inline WideString JapaneseFile() { return U8("ファイル.txt"); }

class TTempTree {
 public:
  // <temp>\kavo_explorer_<pid>_<n>\ with:
  //   root.txt (7 bytes)
  //   Ελληνικά\αρχείο.bin (1000)   Ελληνικά\日本語のフォルダ\ファイル.txt (2345)
  //   plain\a.dat (500)             plain\empty\ (no files)
  TTempTree() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    FRoot = WideString(temp) + L"kavo_explorer_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++counter) + L"\\";
    CreateDirectoryW(FRoot.c_str(), nullptr);
    MakeFile(L"root.txt", 7);
    MakeFolder(GreekFolder());
    MakeFile(GreekFolder() + L"\\" + GreekFile(), 1000);
    MakeFolder(GreekFolder() + L"\\" + JapaneseFolder());
    MakeFile(GreekFolder() + L"\\" + JapaneseFolder() + L"\\" + JapaneseFile(), 2345);
    MakeFolder(L"plain");
    MakeFile(L"plain\\a.dat", 500);
    MakeFolder(L"plain\\empty");
  }
  ~TTempTree() { RemoveTree(FRoot); }
  TTempTree(const TTempTree&) = delete;
  TTempTree& operator=(const TTempTree&) = delete;

  static constexpr double kTotalBytes = 7 + 1000 + 2345 + 500;
  // The root, ending in "\".
  const WideString& Root() const { return FRoot; }
  WideString Path(const WideString& Relative) const { return FRoot + Relative; }

  void MakeFolder(const WideString& Relative) { CreateDirectoryW(Path(Relative).c_str(), nullptr); }
  void MakeFile(const WideString& Relative, size_t Bytes) {
    HANDLE h = CreateFileW(Path(Relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string data(Bytes, 'k');
    DWORD written = 0;
    if (Bytes) WriteFile(h, data.data(), static_cast<DWORD>(Bytes), &written, nullptr);
    CloseHandle(h);
  }

  // Removes a tree made by the tests (Windows side; symbolic links made through the Unix
  // side are removed there first).
  static void RemoveTree(const WideString& Folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((Folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        WideString name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        WideString path = Folder + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path + L"\\");
        } else {
          SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW(path.c_str());
        }
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(Folder.c_str());
  }

 private:
  WideString FRoot;
};

// The Unix path of a Windows path under Wine ("" when not running under Wine).
inline std::string UnixPathOf(const WideString& Path) {
  using Fn = char*(CDECL*)(LPCWSTR);
  auto fn = reinterpret_cast<Fn>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  if (!fn) return {};
  char* unix = fn(Path.c_str());
  if (!unix) return {};
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

// Starts a Unix program under Wine. False when it could not be started. Wine forks and
// executes a Unix program without a Windows process behind it: the handles and ids it hands
// back are whatever its own stack held, and closing them closes handles of this process at
// random (its own output among them: the rest of the tests then run unseen). So they are
// left alone, and callers wait for what the program does, not for its end.
inline bool StartUnixProgram(const WideString& Program, const std::vector<std::string>& Args) {
  WideString line = L"\"" + Program + L"\"";
  for (const auto& a : Args) line += L" \"" + Utf8Decode(a) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  return CreateProcessW(Program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
}
