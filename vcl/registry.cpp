#include "vcl/registry.h"

namespace {

AnsiString RelativeKey(const AnsiString& Key) { return !Key.empty() && Key[0] == '\\' ? Key.substr(1) : Key; }

}  // namespace

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == FRootKey) return;
  CloseKey();
  FRootKey = Value;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate) {
  const AnsiString path = RelativeKey(Key);
  HKEY key = nullptr;
  LONG r = CanCreate ? RegCreateKeyExA(FRootKey, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Access, nullptr,
                                       &key, nullptr)
                     : RegOpenKeyExA(FRootKey, path.c_str(), 0, Access, &key);
  if (r != ERROR_SUCCESS) return false;
  CloseKey();
  FCurrentKey = key;
  FCurrentPath = path;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key) {
  REGSAM saved = Access;
  Access = KEY_READ;
  bool ok = OpenKey(Key, false);
  Access = saved;
  return ok;
}

void TRegistry::CloseKey() {
  if (!FCurrentKey) return;
  RegCloseKey(FCurrentKey);
  FCurrentKey = nullptr;
  FCurrentPath.clear();
}

bool TRegistry::KeyExists(const AnsiString& Key) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(FRootKey, RelativeKey(Key).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key) {
  const AnsiString path = RelativeKey(Key);
  if (RegDeleteTreeA(FRootKey, path.c_str()) != ERROR_SUCCESS) return false;
  return RegDeleteKeyA(FRootKey, path.c_str()) == ERROR_SUCCESS || !KeyExists(path);
}

bool TRegistry::ValueExists(const AnsiString& Name) {
  return FCurrentKey && RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const AnsiString& Name) {
  return FCurrentKey && RegDeleteValueA(FCurrentKey, Name.c_str()) == ERROR_SUCCESS;
}

AnsiString TRegistry::ReadString(const AnsiString& Name) {
  DWORD type = 0, size = 0;
  if (!FCurrentKey || RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return AnsiString();
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException(Format("Invalid data type for '%s'", Name.c_str()));
  AnsiString value(size, '\0');
  if (RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
      ERROR_SUCCESS)
    return AnsiString();
  value.resize(size);
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

void TRegistry::WriteValue(const AnsiString& Name, DWORD Type, const void* Data, DWORD Size) {
  if (!FCurrentKey ||
      RegSetValueExA(FCurrentKey, Name.c_str(), 0, Type, static_cast<const BYTE*>(Data), Size) != ERROR_SUCCESS)
    throw ERegistryException(Format("Failed to set data for '%s'", Name.c_str()));
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value) {
  WriteValue(Name, REG_SZ, Value.c_str(), static_cast<DWORD>(Value.size() + 1));
}

void TRegistry::WriteExpandString(const AnsiString& Name, const AnsiString& Value) {
  WriteValue(Name, REG_EXPAND_SZ, Value.c_str(), static_cast<DWORD>(Value.size() + 1));
}

int TRegistry::ReadInteger(const AnsiString& Name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (!FCurrentKey ||
      RegQueryValueExA(FCurrentKey, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD)
    throw ERegistryException(Format("Invalid data type for '%s'", Name.c_str()));
  return static_cast<int>(value);
}

void TRegistry::WriteInteger(const AnsiString& Name, int Value) {
  const DWORD value = static_cast<DWORD>(Value);
  WriteValue(Name, REG_DWORD, &value, sizeof value);
}
