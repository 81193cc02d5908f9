#include "desktop/change_monitors.h"

#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& FolderMonitorProperties() {
  using T = TdkFolderMonitor;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Active", &T::Active, &T::SetActive).Default(false)
      .Property("Folder", &T::Folder, &T::SetFolder)
      .SetProperty<TFolderMonitorFilter>("NotifyFilters", &T::NotifyFilters, &T::SetNotifyFilters)
      .Default(FilterBit(fmfFileNameChange) | FilterBit(fmfDirNameChange))
      .Property("WatchSubTree", &T::WatchSubTree, &T::SetWatchSubTree).Default(true)
      .Property("OnChange", &T::OnChange, &T::SetOnChange)
      .Table();
  return table;
}

const std::vector<TPropInfo>& RegistryMonitorProperties() {
  using T = TdkRegistryMonitor;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Active", &T::Active, &T::SetActive).Default(false)
      .SetProperty<TdkRegistryMonitorFilter>("NotifyFilters", &T::NotifyFilters, &T::SetNotifyFilters)
      .Default(FilterBit(rmfSubTreeChange) | FilterBit(rmfValueChange))
      .Property("WatchSubTree", &T::WatchSubTree, &T::SetWatchSubTree).Default(true)
      .Property("RegistryKey", &T::RegistryKey, &T::SetRegistryKey)
      .Property("RootKey", &T::RootKey, &T::SetRootKey).Default(rrkCurrentUser)
      .Property("OnChange", &T::OnChange, &T::SetOnChange)
      .Table();
  return table;
}

// Lets the worker go: no notice reaches the component any more, the worker wakes and is
// waited for (its pending synchronised call, now empty, runs meanwhile).
void EndWorker(TdkMonitorThread*& Worker) {
  if (!Worker) return;
  TdkMonitorThread* worker = Worker;
  Worker = nullptr;
  worker->Stop();
  // Waited for before any of it is destroyed: a running worker still reads its parameters.
  if (!worker->Finished()) worker->WaitFor();
  delete worker;
}

// Passes the worker's notices on to the component's handler, as it stands when one comes,
// and lets the worker run.
void RunWorker(TdkMonitorThread*& Slot, TdkMonitorThread* Worker, const TThreadMethod& OnChange) {
  Worker->SetOnChange([&OnChange] {
    if (OnChange) OnChange();
  });
  Slot = Worker;
  Worker->SetSuspended(false);
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomFolderMonitor, TdkComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TdkFolderMonitor, TdkCustomFolderMonitor, &CreateComponentOf<TdkFolderMonitor>, &FolderMonitorProperties)
VCL_CLASS_IMPL(TdkCustomRegistryMonitor, TdkComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TdkRegistryMonitor, TdkCustomRegistryMonitor, &CreateComponentOf<TdkRegistryMonitor>,
               &RegistryMonitorProperties)

DWORD FolderNotifyFlags(TFolderMonitorFilters Filters) {
  static const DWORD kFlags[] = {FILE_NOTIFY_CHANGE_FILE_NAME,  FILE_NOTIFY_CHANGE_DIR_NAME,
                                 FILE_NOTIFY_CHANGE_ATTRIBUTES, FILE_NOTIFY_CHANGE_SIZE,
                                 FILE_NOTIFY_CHANGE_LAST_WRITE, FILE_NOTIFY_CHANGE_SECURITY};
  DWORD flags = 0;
  for (unsigned i = 0; i < std::size(kFlags); ++i)
    if (Filters & FilterBit(i)) flags |= kFlags[i];
  return flags;
}

DWORD RegistryNotifyFlags(TdkRegistryMonitorFilters Filters) {
  static const DWORD kFlags[] = {REG_NOTIFY_CHANGE_NAME, REG_NOTIFY_CHANGE_ATTRIBUTES, REG_NOTIFY_CHANGE_LAST_SET,
                                 REG_NOTIFY_CHANGE_SECURITY};
  DWORD flags = 0;
  for (unsigned i = 0; i < std::size(kFlags); ++i)
    if (Filters & FilterBit(i)) flags |= kFlags[i];
  return flags;
}

HKEY RegistryRoot(TdkRegRootKey Root) {
  switch (Root) {
    case rrkClassesRoot: return HKEY_CLASSES_ROOT;
    case rrkCurrentUser: return HKEY_CURRENT_USER;
    case rrkLocalMachine: return HKEY_LOCAL_MACHINE;
    case rrkUsers: return HKEY_USERS;
    case rrkCurrentConfig: return HKEY_CURRENT_CONFIG;
    case rrkDynData: return HKEY_DYN_DATA;
  }
  return HKEY_CURRENT_USER;
}

// --- worker threads ---------------------------------------------------------------

TdkMonitorThread::TdkMonitorThread() : TdkThread(true) {
  FWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  FWatching = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

bool TdkMonitorThread::WaitUntilWatching(DWORD TimeoutMs) const {
  HANDLE handles[2] = {FWatching, Handle()};
  return WaitForMultipleObjects(2, handles, FALSE, TimeoutMs) == WAIT_OBJECT_0;
}

TdkMonitorThread::~TdkMonitorThread() {
  if (!Finished()) {
    Stop();
    if (Suspended()) SetSuspended(false);
    WaitFor();
  }
  if (FWake) CloseHandle(FWake);
  if (FWatching) CloseHandle(FWatching);
}

void TdkMonitorThread::SetOnChange(const TThreadMethod& Value) {
  std::lock_guard<std::mutex> guard(FLock);
  FOnChange = Value;
}

void TdkMonitorThread::Stop() {
  SetOnChange(nullptr);
  TThread::Terminate();
  if (FWake) SetEvent(FWake);
}

void TdkMonitorThread::Notify() {
  if (Terminated()) return;
  Synchronize([this] {
    TThreadMethod handler;
    {
      std::lock_guard<std::mutex> guard(FLock);
      handler = FOnChange;
    }
    if (handler) handler();
  });
}

TdkFolderMonitorThread::TdkFolderMonitorThread(const AnsiString& Folder, bool SubTree, DWORD Filter)
    : FSubTree(SubTree), FFilter(Filter) {
  FFolder = Trim(Folder);
  if (FFolder.empty()) {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    FFolder = current;
  }
}

void TdkFolderMonitorThread::Execute() {
  HANDLE notice = FindFirstChangeNotificationA(FFolder.c_str(), FSubTree, FFilter);
  if (notice == INVALID_HANDLE_VALUE) return;
  HANDLE handles[2] = {notice, FWake};
  Watching();
  while (!Terminated()) {
    const DWORD r = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (r == WAIT_OBJECT_0) {
      Notify();
      if (!FindNextChangeNotification(notice)) break;
    } else if (r != WAIT_OBJECT_0 + 1) {
      break;
    }
  }
  FindCloseChangeNotification(notice);
}

TdkRegistryMonitorThread::TdkRegistryMonitorThread(HKEY Root, const AnsiString& Key, bool SubTree, DWORD Filter)
    : FRoot(Root), FKey(Key), FSubTree(SubTree), FFilter(Filter) {}

bool TdkRegistryMonitorThread::IsDeletedKey(HKEY Key) {
  return RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr) == ERROR_KEY_DELETED;
}

void TdkRegistryMonitorThread::Execute() {
  HKEY key = nullptr;
  bool keyOpen = RegOpenKeyExA(FRoot, FKey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  TdkRegistryNotification keyNotice, rootNotice;
  if (keyOpen) ArmRegistryNotification(keyNotice, key, FSubTree, FFilter);
  // The root's notice shows the key's creation and deletion.
  ArmRegistryNotification(rootNotice, FRoot, true, REG_NOTIFY_CHANGE_NAME);
  Watching();

  auto closeKey = [&] {
    CloseValidHandle(keyNotice.Event);
    if (key) RegCloseKey(key);
    key = nullptr;
    keyOpen = false;
  };
  while (!Terminated()) {
    HANDLE handles[3];
    DWORD count = 0;
    handles[count++] = FWake;
    const DWORD keySlot = keyNotice.Event != INVALID_HANDLE_VALUE ? count : MAXDWORD;
    if (keySlot != MAXDWORD) handles[count++] = keyNotice.Event;
    const DWORD rootSlot = rootNotice.Event != INVALID_HANDLE_VALUE ? count : MAXDWORD;
    if (rootSlot != MAXDWORD) handles[count++] = rootNotice.Event;
    const DWORD r = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
    if (r >= WAIT_OBJECT_0 + count) break;
    const DWORD slot = r - WAIT_OBJECT_0;
    if (slot == 0 || Terminated()) continue;
    // Armed again before anything is reported, so that a change made meanwhile (by the
    // handler itself, say) is not lost.
    if (slot == rootSlot) RearmRegistryNotification(rootNotice);
    if (slot == keySlot) RearmRegistryNotification(keyNotice);
    // A deleted key signals its own notice and the root's: whichever comes first reports the
    // deletion, once. The handle tells, not the path: the key may be back already.
    bool reported = false;
    if (keyOpen && IsDeletedKey(key)) {
      closeKey();
      Notify();
      reported = true;
    }
    if (!keyOpen) {
      if (RegOpenKeyExA(FRoot, FKey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        keyOpen = true;
        ArmRegistryNotification(keyNotice, key, FSubTree, FFilter);
        Notify();
      }
    } else if (slot == keySlot && !reported) {
      Notify();
    }
  }
  closeKey();
  CloseValidHandle(rootNotice.Event);
}

// --- folder monitor ---------------------------------------------------------------

TdkCustomFolderMonitor::~TdkCustomFolderMonitor() { EndWorker(FWorker); }

void TdkCustomFolderMonitor::SetActive(bool Value) {
  FActive = Value;
  Update();
}

void TdkCustomFolderMonitor::SetFolder(const AnsiString& Value) {
  FFolder = Value;
  Update();
}

void TdkCustomFolderMonitor::SetNotifyFilters(TFolderMonitorFilters Value) {
  FNotifyFilters = Value;
  Update();
}

void TdkCustomFolderMonitor::SetWatchSubTree(bool Value) {
  FWatchSubTree = Value;
  Update();
}

void TdkCustomFolderMonitor::SetOnChange(const TThreadMethod& Value) {
  FOnChange = Value;
  Update();
}

void TdkCustomFolderMonitor::Loaded() {
  TdkComponent::Loaded();
  Update();
}

void TdkCustomFolderMonitor::Update() {
  if (FActive)
    Start();
  else
    Stop();
}

void TdkCustomFolderMonitor::Start() {
  Stop();
  if (HasState(csDesigning | csReading | csLoading) || !FActive || !FOnChange) return;
  auto* worker = new TdkFolderMonitorThread(FFolder, FWatchSubTree, FolderNotifyFlags(FNotifyFilters));
  RunWorker(FWorker, worker, FOnChange);
}

void TdkCustomFolderMonitor::Stop() {
  if (HasState(csDesigning | csReading)) return;
  EndWorker(FWorker);
}

// --- registry monitor -------------------------------------------------------------

TdkCustomRegistryMonitor::~TdkCustomRegistryMonitor() { EndWorker(FWorker); }

void TdkCustomRegistryMonitor::SetActive(bool Value) {
  FActive = Value;
  Update();
}

void TdkCustomRegistryMonitor::SetNotifyFilters(TdkRegistryMonitorFilters Value) {
  FNotifyFilters = Value;
  Update();
}

void TdkCustomRegistryMonitor::SetWatchSubTree(bool Value) {
  FWatchSubTree = Value;
  Update();
}

void TdkCustomRegistryMonitor::SetRegistryKey(const AnsiString& Value) {
  FRegistryKey = Value;
  Update();
}

void TdkCustomRegistryMonitor::SetRootKey(TdkRegRootKey Value) {
  FRootKey = Value;
  Update();
}

void TdkCustomRegistryMonitor::SetOnChange(const TThreadMethod& Value) {
  FOnChange = Value;
  Update();
}

void TdkCustomRegistryMonitor::Loaded() {
  TdkComponent::Loaded();
  Update();
}

void TdkCustomRegistryMonitor::Update() {
  if (FActive)
    Start();
  else
    Stop();
}

void TdkCustomRegistryMonitor::Start() {
  Stop();
  if (HasState(csDesigning | csReading | csLoading) || !FActive || !FOnChange) return;
  auto* worker = new TdkRegistryMonitorThread(RegistryRoot(FRootKey), FRegistryKey, FWatchSubTree,
                                              RegistryNotifyFlags(FNotifyFilters));
  RunWorker(FWorker, worker, FOnChange);
}

void TdkCustomRegistryMonitor::Stop() {
  if (HasState(csDesigning | csReading)) return;
  EndWorker(FWorker);
}
