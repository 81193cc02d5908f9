#include "explorer/tree_size.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// What tells one folder from another whatever path leads to it: the volume and the file
// number. Wine gives the Unix device and inode, so a symbolic link back to a folder
// already walked is recognised even where it is not reported as a reparse point.
struct TFolderIdentity {
  ULONGLONG Volume = 0;
  BYTE Id[16] = {};
  bool operator<(const TFolderIdentity& Other) const {
    if (Volume != Other.Volume) return Volume < Other.Volume;
    return std::memcmp(Id, Other.Id, sizeof Id) < 0;
  }
};

// FILE_ID_INFO and its class number, declared by the system headers only for newer targets.
constexpr auto kFileIdInfo = static_cast<FILE_INFO_BY_HANDLE_CLASS>(18);
struct TFileIdInfo {
  ULONGLONG VolumeSerialNumber;
  BYTE FileId[16];
};

bool IdentifyFolder(const WideString& Folder, TFolderIdentity& Identity) {
  HANDLE h = CreateFileW(Folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  TFileIdInfo id{};
  if (GetFileInformationByHandleEx(h, kFileIdInfo, &id, sizeof id)) {
    Identity.Volume = id.VolumeSerialNumber;
    std::memcpy(Identity.Id, id.FileId, sizeof Identity.Id);
    ok = true;
  } else {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(h, &info)) {
      Identity.Volume = info.dwVolumeSerialNumber;
      std::memcpy(Identity.Id, &info.nFileIndexLow, sizeof info.nFileIndexLow);
      std::memcpy(Identity.Id + 4, &info.nFileIndexHigh, sizeof info.nFileIndexHigh);
      ok = true;
    }
  }
  CloseHandle(h);
  return ok;
}

WideString WithSlash(const WideString& Path) {
  if (Path.empty() || Path.back() == L'\\') return Path;
  return Path + L'\\';
}

WideString LocaleText(LCTYPE Type, const wchar_t* Fallback) {
  wchar_t buf[16] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, Type, buf, 16) > 0) return buf;
  return Fallback;
}

}  // namespace

double FolderTreeSize(const WideString& Folder) {
  if (Folder.empty()) return 0;
  double total = 0;
  std::set<TFolderIdentity> walked;
  // Depth first with an explicit stack: the depth of a real tree must not decide whether
  // the walk runs out of machine stack.
  std::vector<std::pair<WideString, int>> pending{{WithSlash(Folder), 0}};
  while (!pending.empty()) {
    auto [folder, depth] = std::move(pending.back());
    pending.pop_back();
    TFolderIdentity identity;
    if (IdentifyFolder(folder, identity) && !walked.insert(identity).second) continue;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (std::wcscmp(data.cFileName, L".") == 0 || std::wcscmp(data.cFileName, L"..") == 0) continue;
        if (depth < kMaxTreeSizeDepth) pending.emplace_back(folder + data.cFileName + L'\\', depth + 1);
      } else {
        total += static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  return total;
}

WideString FormatThousands(double Value, int Decimals) {
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.*f", Decimals, Value);
  WideString input(digits, digits + std::strlen(digits));
  WideString decimal = LocaleText(LOCALE_SDECIMAL, L".");
  WideString thousand = LocaleText(LOCALE_STHOUSAND, L",");
  WideString grouping = LocaleText(LOCALE_SGROUPING, L"3;0");
  NUMBERFMTW fmt{};
  fmt.NumDigits = static_cast<UINT>(Decimals);
  fmt.LeadingZero = 1;
  fmt.Grouping = static_cast<UINT>(_wtoi(grouping.c_str()));  // "3;0" -> 3: groups of three
  fmt.lpDecimalSep = decimal.data();
  fmt.lpThousandSep = thousand.data();
  fmt.NegativeOrder = 1;
  wchar_t out[512];
  if (GetNumberFormatW(LOCALE_USER_DEFAULT, 0, input.c_str(), &fmt, out, 512) > 0) return out;
  return input;
}

WideString TreeSizeText(double Total) {
  double kilobytes = (Total > 0 && Total < 1024) ? 1 : Total / 1024;
  if (kilobytes > 99999) return FormatThousands(kilobytes / 1024, 2) + L" MB";
  return FormatThousands(kilobytes, 2) + L" KB";
}

WideString TreeSizeReport(const TTreeSizeTexts& Texts, const WideString& Label, double Total) {
  return L"===== " + Texts.Title + L" =====\r\r" + Label + L"\r" + Texts.SubFolders + L"\r =  " +
         FormatThousands(Total, 0) + L" Bytes\r     (i.e. " + TreeSizeText(Total) + L" )";
}
