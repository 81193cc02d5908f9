#include "app/media/media_info.h"

#include <windows.h>

#include <utility>

namespace {

WideString ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  WideString s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

template <typename Fn>
Fn Entry(HMODULE Dll, const char* Name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(Dll, Name)));
}

// The library's info kinds: the text form of a value, looked up by parameter name.
constexpr int InfoText = 1;
constexpr int InfoName = 0;

const std::pair<const wchar_t*, const wchar_t*> RenamedParameters[] = {
    {L"Codec/String", L"Format"},
    {L"Codec/Info", L"Format/Info"},
    {L"Codec_Profile", L"Format_Profile"},
};

}  // namespace

TMediaInfoLibrary& TMediaInfoLibrary::Instance() {
  static TMediaInfoLibrary library;
  static const bool told = [] {
    if (!library.Loaded() && Present() && LoadFailed) LoadFailed();
    return true;
  }();
  (void)told;
  return library;
}

bool TMediaInfoLibrary::Present() {
  const DWORD attributes = GetFileAttributesW((ProgramFolder() + L"MediaInfo.dll").c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TMediaInfoLibrary::TMediaInfoLibrary() {
  // Kept loaded for the life of the program.
  HMODULE dll = LoadLibraryW((ProgramFolder() + L"MediaInfo.dll").c_str());
  if (!dll) return;
  auto newFn = Entry<NewFn>(dll, "MediaInfo_New");
  FOpen = Entry<OpenFn>(dll, "MediaInfo_Open");
  FGet = Entry<GetFn>(dll, "MediaInfo_Get");
  FClose = Entry<HandleFn>(dll, "MediaInfo_Close");
  FDelete = Entry<HandleFn>(dll, "MediaInfo_Delete");
  if (newFn && FOpen && FGet && FClose && FDelete) FNew = newFn;
}

TMediaInfoFile::TMediaInfoFile(const WideString& FileName) : FLibrary(TMediaInfoLibrary::Instance()) {
  if (!FLibrary.Loaded()) return;
  FHandle = FLibrary.FNew();
  if (FHandle) FOpened = FLibrary.FOpen(FHandle, FileName.c_str()) != 0;
}

TMediaInfoFile::~TMediaInfoFile() {
  if (!FHandle) return;
  FLibrary.FClose(FHandle);
  FLibrary.FDelete(FHandle);
}

WideString TMediaInfoFile::Ask(TStreamKind Kind, int Number, const wchar_t* Parameter) {
  const wchar_t* value =
      FLibrary.FGet(FHandle, static_cast<int>(Kind), static_cast<size_t>(Number), Parameter, InfoText, InfoName);
  return value ? WideString(value) : WideString();
}

WideString TMediaInfoFile::Get(TStreamKind Kind, int Number, const WideString& Parameter) {
  if (!FHandle) return WideString();
  WideString value = Ask(Kind, Number, Parameter.c_str());
  if (!value.empty()) return value;
  // Newer libraries answer the codec's older parameter names no more; their facts live
  // under the format's names.
  for (const auto& [older, current] : RenamedParameters) {
    if (Parameter == older) return Ask(Kind, Number, current);
  }
  return value;
}
