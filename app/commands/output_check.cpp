#include "app/commands/output_check.h"

#include <windows.h>

#include <optional>

#include "widetext/widetextutils.h"

namespace {

WideString FullPath(const WideString& Path) {
  wchar_t buffer[4 * MAX_PATH];
  const DWORD n = GetFullPathNameW(Path.c_str(), static_cast<DWORD>(std::size(buffer)), buffer, nullptr);
  return n > 0 && n < std::size(buffer) ? WideLowerCase(WideString(buffer, n)) : WideLowerCase(Path);
}

struct TFileIdentity {
  DWORD Volume = 0, High = 0, Low = 0;
  bool operator==(const TFileIdentity&) const = default;
};

// No value for a file that cannot be opened (a new output file does not exist yet).
std::optional<TFileIdentity> IdentityOf(const WideString& Path) {
  HANDLE h = CreateFileW(Path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool ok = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  if (!ok) return std::nullopt;
  return TFileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

}  // namespace

WideString InputNamedByOutput(const std::vector<TTrackRow>& Rows, const WideString& Output) {
  if (Output.empty()) return {};
  const WideString output = FullPath(Output);
  const std::optional<TFileIdentity> outputFile = IdentityOf(Output);
  for (const TTrackRow& row : Rows) {
    if (!row.Checked) continue;
    const WideString input = row.InputPath();
    if (FullPath(input) == output) return input;
    if (outputFile && IdentityOf(input) == outputFile) return input;
  }
  return {};
}

WideString OutputIsInputText(const WideString& Input) {
  return L"The new file would replace \"" + Input +
         L"\", one of the files it is made from. Please choose another name for the new file.";
}
