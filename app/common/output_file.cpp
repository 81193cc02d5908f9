#include "app/common/output_file.h"

#include <windows.h>

#include "app/common/named_texts.h"
#include "widetext/filenames.h"
#include "widetext/widetextutils.h"

namespace {

bool SurvivesCodePage(const WideString& Text) { return AnsiToWide(WideToAnsi(Text)) == Text; }

WideString WithoutTrailingDelimiter(WideString Folder) {
  // "C:\" stays as it is: the root is a folder of its own.
  while (Folder.size() > 3 && (Folder.back() == L'\\' || Folder.back() == L'/')) Folder.pop_back();
  return Folder;
}

WideString SystemMessage(DWORD Code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, Code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  WideString message = text ? text : L"";
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  if (message.empty()) message = L"system error " + AnsiToWide(std::to_string(Code));
  return message;
}

bool IsFolder(const WideString& Path) {
  const DWORD attributes = GetFileAttributesW(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes Folder and the folders above it; empty on success, else the reason.
WideString MakeFolder(const WideString& Folder) {
  if (IsFolder(Folder)) return L"";
  const DWORD attributes = GetFileAttributesW(Folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return FormatText(NamedTexts().MsgFolderInTheWay, {Folder});
  const size_t slash = Folder.find_last_of(L"\\/");
  if (slash != WideString::npos && slash > 0) {
    const WideString parent = WithoutTrailingDelimiter(Folder.substr(0, slash + 1));
    if (parent != Folder) {
      if (WideString reason = MakeFolder(parent); !reason.empty()) return reason;
    }
  }
  if (CreateDirectoryW(Folder.c_str(), nullptr) || IsFolder(Folder)) return L"";
  return FormatText(NamedTexts().MsgFolderNotCreated, {Folder, SystemMessage(GetLastError())});
}

}  // namespace

WideString PrepareOutputFolder(const WideString& Output) {
  const WideString folder = WithoutTrailingDelimiter(WideExtractFilePath(Output));
  if (folder.empty()) return L"";  // a bare name: the current folder
  return MakeFolder(folder);
}

std::optional<AnsiString> EightBitOutputPath(const WideString& Output) {
  if (SurvivesCodePage(Output)) return WideToAnsi(Output);
  // An existing file has a short name of its own.
  if (WideFileExists(Output)) {
    const WideString shortName = WideExtractShortPathName(Output);
    if (!shortName.empty() && SurvivesCodePage(shortName)) return WideToAnsi(shortName);
  }
  const WideString name = WideExtractFileName(Output);
  if (!SurvivesCodePage(name)) return std::nullopt;
  const WideString shortFolder = WideExtractShortPathName(WideExtractFilePath(Output));
  if (shortFolder.empty() || !SurvivesCodePage(shortFolder)) return std::nullopt;
  WideString path = shortFolder;
  if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return WideToAnsi(path + name);
}

WideString OutputNameOutsideCodePageText(const WideString& Output) {
  return FormatText(NamedTexts().MsgNameOutsideCodePage, {Output});
}

WideString ProposeOutputName(const std::vector<WideString>& Candidates, const WideString& Extension,
                             const std::vector<WideString>& Inputs, bool ToolTakesAnyName) {
  if (Candidates.empty()) return {};
  // A new file: its own name must survive the code page (an existing file's short name is
  // not the new one's).
  auto taken = [&](const WideString& Name) {
    return ToolTakesAnyName || (SurvivesCodePage(WideExtractFileName(Name)) && EightBitOutputPath(Name).has_value());
  };
  // The first file whose name the tool can be given; else the first, spelt in the code page.
  WideString first = Candidates.front();
  for (const WideString& candidate : Candidates)
    if (taken(WideChangeFileExt(candidate, Extension))) {
      first = candidate;
      break;
    }
  WideString folder = WideExtractFilePath(first);
  WideString base = WideExtractFileName(WideChangeFileExt(first, L""));
  if (!taken(WideChangeFileExt(first, Extension))) {
    // A character the code page lacks becomes "_"; the folder is reached by its short name.
    WideString kept;
    for (wchar_t c : base) kept += SurvivesCodePage(WideString(1, c)) ? c : L'_';
    base = kept;
    if (!SurvivesCodePage(folder)) {
      const WideString shortFolder = WideExtractShortPathName(folder);
      if (!shortFolder.empty() && SurvivesCodePage(shortFolder)) folder = shortFolder;
      if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    }
  }
  auto isInput = [&](const WideString& Name) {
    for (const WideString& input : Inputs)
      if (WideLowerCase(input) == WideLowerCase(Name)) return true;
    return false;
  };
  WideString name = folder + base + Extension;
  for (int n = 1; isInput(name) && n < 1000; ++n) name = folder + base + L"_" + AnsiToWide(std::to_string(n)) + Extension;
  return name;
}
