#include "explorer/shell_type_cache.h"

#include <shellapi.h>

TShellTypeInfo AskShellTypeInfo(const WideString& Path) {
  SHFILEINFOW info{};
  SHGetFileInfoW(Path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
  return {info.iIcon, WideString(info.szTypeName).substr(0, 80)};
}

WideString ShellTypeKey(const WideString& Name) {
  size_t dot = Name.rfind(L'.');
  WideString key = dot == WideString::npos ? WideString(L".") : Name.substr(dot);
  CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  static const wchar_t* const ownIcons[] = {L".EXE", L".ICO", L".LNK", L".CUR", L".ANI", L".URL", L".PIF", L".SCR"};
  for (const wchar_t* own : ownIcons)
    if (key == own) return WideString();
  return key;
}

TShellTypeCache::TShellTypeCache() {
  FClasses.Watch(HKEY_LOCAL_MACHINE, L"Software\\Classes");
  FClasses.Watch(HKEY_CURRENT_USER, L"Software\\Classes");
}

void TShellTypeCache::DropIfClassesChanged() {
  if (FClasses.Changed()) FByExtension.clear();
}

TShellTypeInfo TShellTypeCache::FileInfo(const WideString& Path, const WideString& Name) {
  WideString key = ShellTypeKey(Name);
  if (key.empty()) return AskShellTypeInfo(Path);
  auto known = FByExtension.find(key);
  if (known != FByExtension.end()) return known->second;
  TShellTypeInfo info = AskShellTypeInfo(Path);
  FByExtension.emplace(std::move(key), info);
  return info;
}
