#include "explorer/registry_change_watch.h"

namespace {

const DWORD kWatchedChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;

}  // namespace

TRegistryChangeWatch::~TRegistryChangeWatch() {
  for (TWatchedKey& w : FKeys) {
    // Closing the key ends its notification before the event goes.
    RegCloseKey(w.Key);
    if (w.Event) CloseHandle(w.Event);
  }
}

bool TRegistryChangeWatch::Arm(TWatchedKey& Watched) {
  Watched.Armed = Watched.Event &&
                  RegNotifyChangeKeyValue(Watched.Key, TRUE, kWatchedChanges, Watched.Event, TRUE) == ERROR_SUCCESS;
  return Watched.Armed;
}

void TRegistryChangeWatch::Watch(HKEY Root, const wchar_t* SubKey) {
  TWatchedKey watched;
  if (RegOpenKeyExW(Root, SubKey, 0, KEY_NOTIFY, &watched.Key) != ERROR_SUCCESS) return;
  watched.Event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Arm(watched);
  FKeys.push_back(watched);
}

bool TRegistryChangeWatch::Changed() {
  bool changed = false;
  for (TWatchedKey& w : FKeys) {
    if (w.Armed && WaitForSingleObject(w.Event, 0) != WAIT_OBJECT_0) continue;
    changed = true;
    if (w.Event) ResetEvent(w.Event);
    Arm(w);
  }
  return changed;
}
