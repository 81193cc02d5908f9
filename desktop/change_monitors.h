// Components that call an event when a folder or a registry key changes. A worker thread
// waits for the system's notice; the event runs on the main thread.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>

#include "desktop/desktop_component.h"
#include "vcl/typinfo.h"
#include "desktop/desktop_threads.h"
#include "desktop/registry_routines.h"

using TThreadMethod = std::function<void()>;

enum TFolderMonitorFilter {
  fmfFileNameChange,
  fmfDirNameChange,
  fmfAttributeChange,
  fmfSizeChange,
  fmfWriteChange,
  fmfSecurityChange,
};
VCL_ENUM_INFO(TFolderMonitorFilter, "fmfFileNameChange", "fmfDirNameChange", "fmfAttributeChange", "fmfSizeChange",
              "fmfWriteChange", "fmfSecurityChange")
using TFolderMonitorFilters = unsigned;  // bit n: filter n

enum TdkRegistryMonitorFilter { rmfSubTreeChange, rmfAttributeChange, rmfValueChange, rmfSecurityChange };
VCL_ENUM_INFO(TdkRegistryMonitorFilter, "rmfSubTreeChange", "rmfAttributeChange", "rmfValueChange",
              "rmfSecurityChange")
using TdkRegistryMonitorFilters = unsigned;

enum TdkRegRootKey { rrkClassesRoot, rrkCurrentUser, rrkLocalMachine, rrkUsers, rrkCurrentConfig, rrkDynData };
VCL_ENUM_INFO(TdkRegRootKey, "rrkClassesRoot", "rrkCurrentUser", "rrkLocalMachine", "rrkUsers", "rrkCurrentConfig",
              "rrkDynData")

constexpr unsigned FilterBit(unsigned Ordinal) { return 1u << Ordinal; }
// The system's notification flags of a filter set.
DWORD FolderNotifyFlags(TFolderMonitorFilters Filters);
DWORD RegistryNotifyFlags(TdkRegistryMonitorFilters Filters);
HKEY RegistryRoot(TdkRegRootKey Root);

// A worker that runs its change event on the main thread until it is told to stop.
class TdkMonitorThread : public TdkThread {
 public:
  TdkMonitorThread();
  ~TdkMonitorThread() override;
  void SetOnChange(const TThreadMethod& Value);
  // Clears the event and wakes the worker so that it sees Terminated at once.
  void Stop();
  // Waits until the worker watches (its notices are armed); false after TimeoutMs, or when it
  // could not start watching.
  bool WaitUntilWatching(DWORD TimeoutMs) const;

 protected:
  // Runs the event on the main thread, unless it was cleared meanwhile.
  void Notify();
  // Called by Execute once its notices are armed.
  void Watching() { SetEvent(FWatching); }
  HANDLE FWake = nullptr;
  HANDLE FWatching = nullptr;

 private:
  std::mutex FLock;
  TThreadMethod FOnChange;
};

class TdkFolderMonitorThread : public TdkMonitorThread {
 public:
  TdkFolderMonitorThread(const AnsiString& Folder, bool SubTree, DWORD Filter);

 protected:
  void Execute() override;

 private:
  AnsiString FFolder;
  bool FSubTree;
  DWORD FFilter;
};

class TdkRegistryMonitorThread : public TdkMonitorThread {
 public:
  TdkRegistryMonitorThread(HKEY Root, const AnsiString& Key, bool SubTree, DWORD Filter);

 protected:
  void Execute() override;

 private:
  static bool IsDeletedKey(HKEY Key);
  HKEY FRoot;
  AnsiString FKey;
  bool FSubTree;
  DWORD FFilter;
};

class TdkCustomFolderMonitor : public TdkComponent {
  VCL_CLASS(TdkCustomFolderMonitor)
 public:
  explicit TdkCustomFolderMonitor(TComponent* AOwner) : TdkComponent(AOwner) {}
  ~TdkCustomFolderMonitor() override;

  // Every setter starts the worker again with the new values (or stops it).
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  const AnsiString& Folder() const { return FFolder; }
  void SetFolder(const AnsiString& Value);
  TFolderMonitorFilters NotifyFilters() const { return FNotifyFilters; }
  void SetNotifyFilters(TFolderMonitorFilters Value);
  bool WatchSubTree() const { return FWatchSubTree; }
  void SetWatchSubTree(bool Value);
  const TThreadMethod& OnChange() const { return FOnChange; }
  void SetOnChange(const TThreadMethod& Value);

  TdkMonitorThread* Worker() const { return FWorker; }
  void Loaded() override;

 protected:
  virtual void Update();
  virtual void Start();
  // Clears the worker's event, wakes it and waits for it to end.
  virtual void Stop();

 private:
  bool FActive = false;
  AnsiString FFolder = "C:\\";
  TFolderMonitorFilters FNotifyFilters = FilterBit(fmfFileNameChange) | FilterBit(fmfDirNameChange);
  bool FWatchSubTree = true;
  TThreadMethod FOnChange;
  TdkMonitorThread* FWorker = nullptr;
};

class TdkFolderMonitor : public TdkCustomFolderMonitor {
  VCL_CLASS(TdkFolderMonitor)
 public:
  explicit TdkFolderMonitor(TComponent* AOwner) : TdkCustomFolderMonitor(AOwner) {}
};

class TdkCustomRegistryMonitor : public TdkComponent {
  VCL_CLASS(TdkCustomRegistryMonitor)
 public:
  explicit TdkCustomRegistryMonitor(TComponent* AOwner) : TdkComponent(AOwner) {}
  ~TdkCustomRegistryMonitor() override;

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  TdkRegistryMonitorFilters NotifyFilters() const { return FNotifyFilters; }
  void SetNotifyFilters(TdkRegistryMonitorFilters Value);
  bool WatchSubTree() const { return FWatchSubTree; }
  void SetWatchSubTree(bool Value);
  const AnsiString& RegistryKey() const { return FRegistryKey; }
  void SetRegistryKey(const AnsiString& Value);
  TdkRegRootKey RootKey() const { return FRootKey; }
  void SetRootKey(TdkRegRootKey Value);
  const TThreadMethod& OnChange() const { return FOnChange; }
  void SetOnChange(const TThreadMethod& Value);

  TdkMonitorThread* Worker() const { return FWorker; }
  void Loaded() override;

 protected:
  virtual void Update();
  virtual void Start();
  virtual void Stop();

 private:
  bool FActive = false;
  TdkRegistryMonitorFilters FNotifyFilters = FilterBit(rmfSubTreeChange) | FilterBit(rmfValueChange);
  bool FWatchSubTree = true;
  AnsiString FRegistryKey;
  TdkRegRootKey FRootKey = rrkCurrentUser;
  TThreadMethod FOnChange;
  TdkMonitorThread* FWorker = nullptr;
};

class TdkRegistryMonitor : public TdkCustomRegistryMonitor {
  VCL_CLASS(TdkRegistryMonitor)
 public:
  explicit TdkRegistryMonitor(TComponent* AOwner) : TdkCustomRegistryMonitor(AOwner) {}
};
