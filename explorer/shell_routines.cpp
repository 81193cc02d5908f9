#include "explorer/shell_routines.h"

#include <shellapi.h>
#include <shlobj.h>
#include <winnetwk.h>

#include "explorer/explorer_texts.h"
#include "vcl/application.h"
#include "vcl/dialogs.h"
#include "vcl/scopeexit.h"

namespace {

void ErrorBox(const AnsiString& Text) { MessageDlg(Text, mtError, MsgDlgButton(mbOK), 0); }

HWND ApplicationWindow() { return Application ? Application->Handle() : nullptr; }

// DiskSize / DiskFree of a drive number (1 = A); -1 when the drive cannot be asked.
int64_t DriveBytes(int Drive, bool Free) {
  if (Drive < 1 || Drive > 26) return -1;
  char root[] = {static_cast<char>('A' + Drive - 1), ':', '\\', 0};
  ULARGE_INTEGER available, total, free;
  if (!GetDiskFreeSpaceExA(root, &available, &total, &free)) return -1;
  return static_cast<int64_t>(Free ? available.QuadPart : total.QuadPart);
}

int64_t DriveKB(const AnsiString& Path, bool Free) {
  if (Path.empty()) return -1;
  char letter = Path[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  int64_t bytes = DriveBytes(letter - 'A' + 1, Free);
  return bytes < 0 ? -1 : bytes / 1024;
}

template <class Str>
Str AddSlashOf(const Str& Path) {
  if (Path.empty() || Path.back() == '\\') return Path;
  return Path + typename Str::value_type('\\');
}

template <class Str>
Str RemoveSlashOf(const Str& Path) {
  if (!Path.empty() && Path.back() == '\\') return Path.substr(0, Path.size() - 1);
  return Path;
}

int ShellIconIndex(const void* Path, bool Wide, UINT Flags) {
  if (Wide) {
    SHFILEINFOW info{};
    SHGetFileInfoW(static_cast<const wchar_t*>(Path), 0, &info, sizeof info, Flags);
    return info.iIcon;
  }
  SHFILEINFOA info{};
  SHGetFileInfoA(static_cast<const char*>(Path), 0, &info, sizeof info, Flags);
  return info.iIcon;
}

constexpr UINT kSmallIcon = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

}  // namespace

INT_PTR ExecuteFile(const AnsiString& Operation, const AnsiString& FileName, const AnsiString& Params,
                    const AnsiString& DefaultDir, int ShowCmd) {
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(ApplicationWindow(), Operation.c_str(), FileName.c_str(),
                                                         Params.c_str(), DefaultDir.c_str(), ShowCmd));
  if (result <= 32) {
    const TExplorerMessages& m = ExplorerMessages();
    ErrorBox(m.CantDo + Operation + m.File + FileName);
  }
  return result;
}

bool DoFileOperation(HWND, UINT Func, const AnsiString& Source, bool Aborted, const AnsiString& Dest) {
  AnsiString from = AppendNul(Source), to = AppendNul(Dest);
  SHFILEOPSTRUCTA op{};
  op.hwnd = GetActiveWindow();
  op.wFunc = Func;
  op.pFrom = from.c_str();  // the string's own terminator is the list's second NUL
  op.pTo = to.empty() ? nullptr : to.c_str();
  op.fFlags = FOF_ALLOWUNDO;
  op.fAnyOperationsAborted = Aborted;
  op.lpszProgressTitle = "";
  int result = SHFileOperationA(&op);
  return result == 0 && !op.fAnyOperationsAborted;
}

bool DoFileOperation(HWND, UINT Func, const WideString& Source, bool Aborted, const WideString& Dest) {
  WideString from = AppendNul(Source), to = AppendNul(Dest);
  SHFILEOPSTRUCTW op{};
  op.hwnd = GetActiveWindow();
  op.wFunc = Func;
  op.pFrom = from.c_str();
  op.pTo = to.empty() ? nullptr : to.c_str();
  op.fFlags = FOF_ALLOWUNDO;
  op.fAnyOperationsAborted = Aborted;
  op.lpszProgressTitle = L"";
  int result = SHFileOperationW(&op);
  return result == 0 && !op.fAnyOperationsAborted;
}

AnsiString AppendNul(const AnsiString& S) {
  if (S.empty() || S.back() == '\0') return S;
  return S + '\0';
}

WideString AppendNul(const WideString& S) {
  if (S.empty() || S.back() == L'\0') return S;
  return S + L'\0';
}

bool ContainsAnyChar(const AnsiString& Chars, const AnsiString& Text) {
  return Text.find_first_of(Chars) != AnsiString::npos;
}

bool ContainsAnyChar(const WideString& Chars, const WideString& Text) {
  return Text.find_first_of(Chars) != WideString::npos;
}

bool BrowseForFolder(HWND Owner, AnsiString& Path, int Root, int IncludeFiles) {
  static constexpr int kRoots[] = {-1, CSIDL_DESKTOP, 23, CSIDL_PRINTERS, CSIDL_PERSONAL, 22, CSIDL_NETWORK};
  PIDLIST_ABSOLUTE root = nullptr;
  if (Root >= 1 && Root <= 6) SHGetSpecialFolderLocation(Owner, kRoots[Root], &root);
  ScopeExit freeRoot{[&] { CoTaskMemFree(root); }};

  char displayName[MAX_PATH] = {};
  AnsiString title = ExplorerMessages().SpecifyDirectory;
  BROWSEINFOA info{};
  info.hwndOwner = Owner;
  info.pidlRoot = root;
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  info.ulFlags = IncludeFiles == 1 ? BIF_BROWSEINCLUDEFILES : 0;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (!chosen) return false;
  char path[MAX_PATH] = {};
  bool resolved = SHGetPathFromIDListA(chosen, path);
  CoTaskMemFree(chosen);
  if (!resolved) return false;
  Path = AddSlash(AnsiString(path));
  return true;
}

int LastCharPos(char C, const AnsiString& Text) {
  size_t pos = Text.rfind(C);
  return pos == AnsiString::npos ? 0 : static_cast<int>(pos) + 1;
}

int64_t DiskSizeKB(const AnsiString& Path) { return DriveKB(Path, false); }
int64_t DiskFreeKB(const AnsiString& Path) { return DriveKB(Path, true); }

bool DiskInDrive(char Drive, bool Show) {
  if (Drive >= 'a' && Drive <= 'z') Drive = static_cast<char>(Drive - 'a' + 'A');
  if (Drive < 'A' || Drive > 'Z') {
    // Nothing to ask the system about: one message, and no further drive check.
    ErrorBox(ExplorerMessages().InvalidDriveId);
    return false;
  }
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  ScopeExit restore{[&] { SetErrorMode(oldMode); }};
  if (DriveBytes(Drive - 'A' + 1, false) == -1) {
    if (Show) {
      MessageBeep(MB_ICONHAND);
      MessageDlg(ExplorerMessages().DriveNotReady, mtWarning, MsgDlgButton(mbOK), 0);
    }
    return false;
  }
  return true;
}

AnsiString JoinPath(const AnsiString& Folder, const AnsiString& Name) {
  if (Folder.empty() || Name.empty()) return AnsiString();
  return AddSlash(Folder) + Name;
}

AnsiString AddSlash(const AnsiString& Path) { return AddSlashOf(Path); }
WideString AddSlash(const WideString& Path) { return AddSlashOf(Path); }
AnsiString RemoveSlash(const AnsiString& Path) { return RemoveSlashOf(Path); }
WideString RemoveSlash(const WideString& Path) { return RemoveSlashOf(Path); }

AnsiString FileTimeText(const FILETIME& Time, const AnsiString& DateFormat, const AnsiString& TimeFormat) {
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&Time, &local) || !FileTimeToSystemTime(&local, &st)) return AnsiString();
  char date[128] = {}, time[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, 0, &st, DateFormat.empty() ? nullptr : DateFormat.c_str(), date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, TimeFormat.empty() ? nullptr : TimeFormat.c_str(), time, sizeof time);
  return AnsiString(date) + " " + time;
}

bool FileExistsMsg(const AnsiString& Path) {
  WIN32_FIND_DATAA data;
  // A folder is named with or without its trailing "\"; the search wants it without.
  HANDLE find = FindFirstFileA(RemoveSlash(Path).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  ErrorBox("\"" + ExtractFileNameOf(RemoveSlash(Path)) + "\" " + ExplorerMessages().AlreadyExists);
  return true;
}

int SmallIconIndex(const AnsiString& Path) { return ShellIconIndex(Path.c_str(), false, kSmallIcon); }
int SmallOpenIconIndex(const AnsiString& Path) { return ShellIconIndex(Path.c_str(), false, kSmallIcon | SHGFI_OPENICON); }
int SmallIconIndex(const WideString& Path) { return ShellIconIndex(Path.c_str(), true, kSmallIcon); }
int SmallOpenIconIndex(const WideString& Path) { return ShellIconIndex(Path.c_str(), true, kSmallIcon | SHGFI_OPENICON); }

AnsiString SizeText(const AnsiString& TypeText, int64_t Size) {
  if (UpperCase(TypeText) == "DIR") return " ";
  if (Size >= 1 && Size <= 1023) Size = 1024;
  return IntToStr(Size / 1024) + " KB";
}

AnsiString GetShellFolder(int Index) {
  static const char* const kNames[] = {"DeskTop", "Favorites", "NetHood", "Personal",
                                       "Programs", "SendTo", "Start Menu", "StartUp"};
  char buffer[MAX_PATH] = {};
  AnsiString path;
  if (Index >= 0 && Index <= 7) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                        nullptr, 0, KEY_READ, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      DWORD size = sizeof buffer - 1, type = 0;
      if (RegQueryValueExA(key, kNames[Index], nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
              ERROR_SUCCESS &&
          (type == REG_SZ || type == REG_EXPAND_SZ))
        path = buffer;
      RegCloseKey(key);
    }
  } else if (Index == 8) {
    if (GetWindowsDirectoryA(buffer, MAX_PATH)) path = buffer;
  } else if (Index == 9) {
    if (GetSystemDirectoryA(buffer, MAX_PATH)) path = buffer;
  }
  return AddSlash(path);
}

AnsiString FileNameNoExt(const AnsiString& Path) {
  AnsiString name = ExtractFileNameOf(Path);
  size_t dot = name.rfind('.');
  if (dot == AnsiString::npos) return name;
  AnsiString ext = name.substr(dot);
  name.erase(name.find(ext), ext.size());
  return name;
}

void ShowPropertiesSheet(const AnsiString& Path) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_INVOKEIDLIST;
  info.hwnd = ApplicationWindow();
  info.lpVerb = "properties";
  info.lpFile = Path.c_str();
  info.nShow = SW_SHOW;
  ShellExecuteExA(&info);
}

DWORD NetConnect(const AnsiString& Drive, const AnsiString& RemotePath, bool ShowError, bool Reconnect) {
  AnsiString local = Drive, remote = RemotePath;
  NETRESOURCEA resource{};
  resource.dwType = RESOURCETYPE_DISK;
  resource.lpLocalName = local.data();
  resource.lpRemoteName = remote.data();
  DWORD result = WNetAddConnection3A(ApplicationWindow(), &resource, nullptr, nullptr,
                                     Reconnect ? 0 : CONNECT_INTERACTIVE);
  if (result != NO_ERROR && ShowError) {
    AnsiString text = "An error occured while connecting:\r\n" + SysErrorMessage(result);
    MessageBoxA(ApplicationWindow(), text.c_str(), "Error while connecting!", 0);
  }
  return result;
}

bool IsNT51OrLater() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return false;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && IsVersionAtLeast(info.dwMajorVersion, info.dwMinorVersion, 5, 1);
}

AnsiString ExtractFileNameOf(const AnsiString& Path) {
  size_t slash = Path.find_last_of("\\:");
  return slash == AnsiString::npos ? Path : Path.substr(slash + 1);
}

WideString ExtractFileNameOf(const WideString& Path) {
  size_t slash = Path.find_last_of(L"\\:");
  return slash == WideString::npos ? Path : Path.substr(slash + 1);
}

WideString ExtractFolderOf(const WideString& Path) {
  size_t slash = Path.find_last_of(L"\\:");
  return slash == WideString::npos ? WideString() : Path.substr(0, slash + 1);
}

bool FolderExists(const WideString& Path) {
  DWORD attributes = GetFileAttributesW(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
