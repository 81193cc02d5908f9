// The registry object: one open key under a root, 8-bit names and values.
#pragma once

#include <windows.h>

#include "vcl/classes.h"

VCL_DECLARE_EXCEPTION(ERegistryException, Exception)

class TRegistry : public TObject {
 public:
  TRegistry() = default;
  explicit TRegistry(REGSAM AAccess) : Access(AAccess) {}
  ~TRegistry() override { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return FRootKey; }
  // Closes the open key first.
  void SetRootKey(HKEY Value);
  REGSAM Access = KEY_ALL_ACCESS;
  HKEY CurrentKey() const { return FCurrentKey; }
  const AnsiString& CurrentPath() const { return FCurrentPath; }

  // Opens Key under the root (created when CanCreate); false when it cannot be opened.
  bool OpenKey(const AnsiString& Key, bool CanCreate);
  bool OpenKeyReadOnly(const AnsiString& Key);
  void CloseKey();
  bool KeyExists(const AnsiString& Key);
  // Deletes the key with everything under it.
  bool DeleteKey(const AnsiString& Key);

  // The values of the open key. Readers raise ERegistryException for a value of another
  // type; writers raise it when the value cannot be written.
  bool ValueExists(const AnsiString& Name);
  bool DeleteValue(const AnsiString& Name);
  AnsiString ReadString(const AnsiString& Name);  // "" when absent
  void WriteString(const AnsiString& Name, const AnsiString& Value);
  void WriteExpandString(const AnsiString& Name, const AnsiString& Value);
  int ReadInteger(const AnsiString& Name);  // raises when absent
  void WriteInteger(const AnsiString& Name, int Value);

 private:
  void WriteValue(const AnsiString& Name, DWORD Type, const void* Data, DWORD Size);

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
  AnsiString FCurrentPath;
};
