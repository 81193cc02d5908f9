// Whether the registry under some keys has changed since it was last asked: one change
// notification (RegNotifyChangeKeyValue on an event) armed on each key, its subkeys included.
#pragma once

#include <windows.h>

#include <vector>

class TRegistryChangeWatch {
 public:
  TRegistryChangeWatch() = default;
  ~TRegistryChangeWatch();
  TRegistryChangeWatch(const TRegistryChangeWatch&) = delete;
  TRegistryChangeWatch& operator=(const TRegistryChangeWatch&) = delete;

  // Watches Root\SubKey and everything below it: keys made, renamed or deleted, values set
  // or deleted. A key that does not exist is not watched.
  void Watch(HKEY Root, const wchar_t* SubKey);
  // Whether a watched key has changed since the last call (since Watch for the first), or
  // may have: a notification that cannot be armed answers true every time. Arms each
  // signalled notification again.
  bool Changed();

 private:
  struct TWatchedKey {
    HKEY Key = nullptr;
    HANDLE Event = nullptr;
    bool Armed = false;
  };
  static bool Arm(TWatchedKey& Watched);
  std::vector<TWatchedKey> FKeys;
};
