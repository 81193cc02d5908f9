#include "app/jobs/job_launch.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "app/commands/mux_job.h"
#include "app/common/output_file.h"
#include "widetext/filenames.h"
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

// The files that match a name holding "*" (in its file name part), in the system's order.
std::vector<WideString> Matching(const WideString& Pattern) {
  std::vector<WideString> files;
  const WideString folder = WideExtractFilePath(Pattern);
  WIN32_FIND_DATAW found{};
  HANDLE h = FindFirstFileW(Pattern.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + found.cFileName);
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return files;
}

}  // namespace

WideString InputNamedBy(const std::vector<WideString>& Inputs, const WideString& Output) {
  if (Output.empty()) return {};
  const WideString output = FullPath(Output);
  const std::optional<TFileIdentity> outputFile = IdentityOf(Output);
  for (const WideString& input : Inputs) {
    if (input.empty()) continue;
    if (FullPath(input) == output) return input;
    if (outputFile && IdentityOf(input) == outputFile) return input;
  }
  return {};
}

bool MP4BoxTakesName(const WideString& Path, const TMP4BoxVersion& Version) {
  return TakesUnicodeArguments(Version) || EightBitOutputPath(Path).has_value();
}

std::vector<WideString> ExistingOutputs(const std::vector<WideString>& Outputs) {
  std::vector<WideString> existing, seen;
  auto add = [&](const WideString& File) {
    const WideString key = FullPath(File);
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) return;
    seen.push_back(key);
    existing.push_back(File);
  };
  for (const WideString& output : Outputs) {
    if (output.empty()) continue;
    if (WideExtractFileName(output).find(L'*') != WideString::npos) {
      for (const WideString& file : Matching(output)) add(file);
    } else if (WideFileExists(output)) {
      add(output);
    }
  }
  return existing;
}

TLaunchVerdict CheckLaunchTool(const TLaunchCheck& c) {
  if (!IsMP4BoxPath(c.MP4BoxPath)) return {TLaunchRefusal::MP4BoxPath, c.MP4BoxPath};
  if (c.ToolRunning) return {TLaunchRefusal::ToolRunning, {}};
  return {};
}

TLaunchVerdict CheckLaunchFiles(const TLaunchCheck& c) {
  for (const WideString& output : c.Files.Outputs)
    if (WideExtractFileName(output).find(L'*') == WideString::npos)
      if (const WideString input = InputNamedBy(c.Files.Inputs, output); !input.empty())
        return {TLaunchRefusal::OutputIsInput, input};
  for (const WideString& output : c.Files.NamedOutputs)
    if (!MP4BoxTakesName(output, c.Version)) return {TLaunchRefusal::NameNotTaken, output};
  return {};
}

TLaunchVerdict CheckLaunch(const TLaunchCheck& c) {
  const TLaunchVerdict tool = CheckLaunchTool(c);
  return tool.Refusal != TLaunchRefusal::None ? tool : CheckLaunchFiles(c);
}
