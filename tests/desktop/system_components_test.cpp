#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/auto_run.h"
#include "desktop/change_monitors.h"
#include "desktop/one_instance.h"
#include "desktop/shutdown.h"
#include "desktop/utility_routines.h"
#include "tests/support/pump.h"

namespace {

AnsiString TempFolder(const char* name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  AnsiString folder = AnsiString(temp) + name + IntToStr(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// --- single instance ----------------------------------------------------------------

struct TChildResult {
  DWORD ExitCode = 0;
  std::string Text;
};

// Runs the second copy beside the tests and waits for it.
TChildResult RunSecondCopy(const std::string& title, const std::string& identifier, bool message) {
  const AnsiString result = TempFolder("kavo_instance") + "result.txt";
  DeleteFileA(result.c_str());
  std::string cmd = "\"" + ProgramFolder() + "one_instance_child.exe\" \"" + title + "\" \"" + identifier + "\" \"" +
                    result + "\"" + (message ? " message" : "");
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  TChildResult r;
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    r.ExitCode = 1000;
    return r;
  }
  // The child may bring this program's window forward: keep its messages flowing meanwhile.
  PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 30000);
  GetExitCodeProcess(pi.hProcess, &r.ExitCode);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  std::ifstream in(result.c_str());
  std::stringstream text;
  text << in.rdbuf();
  r.Text = text.str();
  return r;
}

TEST(OneInstance, InstanceNamesFollowTitleOrPath) {
  InitApplication();
  Application->SetTitle("Kavo");
  TdkOneInstance guard(nullptr);
  guard.Identifier = "Jobs\\1";
  EXPECT_EQ(guard.InstanceName(), "KavoJobs/1.OneInstance.");
  guard.ExeNameAsIdentifier = true;
  const AnsiString name = guard.InstanceName();
  EXPECT_EQ(name.find('\\'), AnsiString::npos);
  EXPECT_NE(name.find("DESKTOP_TESTS.EXEJobs/1.OneInstance."), AnsiString::npos) << name;
  EXPECT_EQ(AlreadyRunningText("Kavo"), "Application \"Kavo\" is already running.");
}

TEST(OneInstance, ASecondCopyBringsTheFirstForwardAndEnds) {
  InitApplication();
  const std::string title = "Kavo instance " + std::to_string(GetCurrentProcessId());
  Application->SetTitle(title);
  TdkOneInstance guard(nullptr);
  guard.Identifier = "A";
  EXPECT_FALSE(guard.Check()) << "this process is the first copy";
  EXPECT_FALSE(guard.AlreadyExists()) << "the first copy may ask again";

  // The first copy's application window lies minimised: the second copy restores it.
  ShowWindow(Application->Handle(), SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(Application->Handle()));
  TChildResult second = RunSecondCopy(title, "A", false);
  EXPECT_EQ(second.ExitCode, 3u);
  EXPECT_NE(second.Text.find("found=1\nshowmainform=0\n"), std::string::npos) << second.Text;
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(Application->Handle()); }, 5000));
  ShowWindow(Application->Handle(), SW_HIDE);

  // Another identifier is another instance.
  TChildResult other = RunSecondCopy(title, "B", false);
  EXPECT_EQ(other.ExitCode, 0u);
  EXPECT_NE(other.Text.find("found=0"), std::string::npos) << other.Text;

  // With ShowMessage the second copy first says so, with the title in place of "%s".
  TChildResult told = RunSecondCopy(title, "A", true);
  EXPECT_EQ(told.ExitCode, 3u);
  EXPECT_NE(told.Text.find("caption=" + title + "\n"), std::string::npos) << told.Text;
  EXPECT_NE(told.Text.find("text=Application \"" + title + "\" is already running.\n"), std::string::npos)
      << told.Text;
  ReleaseOneInstance();
}

// --- auto-run -------------------------------------------------------------------------

class AutoRun : public ::testing::Test {
 protected:
  static constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  static DWORD ValueType(HKEY root, const char* key, const char* name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return REG_NONE;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(k, name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) type = REG_NONE;
    RegCloseKey(k);
    return type;
  }
};

TEST_F(AutoRun, EntriesFollowTheProperties) {
  TdkAutoRun run(nullptr);
  EXPECT_EQ(PathFileName(run.FileName()), "desktop_tests.exe");
  run.SetKind(aekUserRun);
  run.SetFileName("C:\\Program Files\\Kavo\\KavoAutoRunProbe.exe");
  EXPECT_EQ(ValueType(HKEY_CURRENT_USER, kRun, "KavoAutoRunProbe.exe"), static_cast<DWORD>(REG_NONE));
  run.SetAutoRun(true);
  EXPECT_EQ(ValueType(HKEY_CURRENT_USER, kRun, "KavoAutoRunProbe.exe"), static_cast<DWORD>(REG_SZ));

  // A new kind moves the entry; a file name with a variable is written expandable.
  run.SetKind(aekUserRunOnce);
  EXPECT_EQ(ValueType(HKEY_CURRENT_USER, kRun, "KavoAutoRunProbe.exe"), static_cast<DWORD>(REG_NONE));
  EXPECT_EQ(ValueType(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                      "KavoAutoRunProbe.exe"),
            static_cast<DWORD>(REG_SZ));
  run.SetFileName("%SystemRoot%\\KavoAutoRunProbe.exe");
  EXPECT_EQ(ValueType(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                      "KavoAutoRunProbe.exe"),
            static_cast<DWORD>(REG_EXPAND_SZ));

  run.SetAutoRun(false);
  EXPECT_EQ(ValueType(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                      "KavoAutoRunProbe.exe"),
            static_cast<DWORD>(REG_NONE));
  EXPECT_TRUE(run.Remove()) << "nothing left to remove is no failure";
}

TEST_F(AutoRun, ServiceKindsAreRefusedOnNT) {
  TdkAutoRun run(nullptr);
  run.SetFileName("C:\\KavoServiceProbe.exe");
  run.SetKind(aekServiceRun);
  run.SetAutoRun(true);
  EXPECT_FALSE(run.Apply());
  EXPECT_EQ(ValueType(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
                      "KavoServiceProbe.exe"),
            static_cast<DWORD>(REG_NONE));
}

// --- shutdown -------------------------------------------------------------------------

TEST(Shutdown, ActionsMakeTheirSystemCallsUnlessVetoed) {
  TdkShutdown shutdown(nullptr);
  std::vector<std::string> calls;
  shutdown.Calls.EnableShutdownPrivilege = [&] {
    calls.push_back("privilege");
    return EnableShutdownPrivilege();  // real: the token of this process
  };
  shutdown.Calls.ExitSession = [&](UINT flags, DWORD) {
    calls.push_back("exit " + std::to_string(flags));
    return TRUE;
  };
  shutdown.Calls.SetPowerState = [&](BOOL suspend, BOOL force) {
    calls.push_back(std::string("power ") + (suspend ? "suspend" : "hibernate") + (force ? " forced" : ""));
    return TRUE;
  };
  struct Case {
    TdkShutdownActionType action;
    bool force;
    std::string call;
  } cases[] = {
      {aatPowerOff, false, "exit " + std::to_string(EWX_POWEROFF)},
      {aatShutdown, true, "exit " + std::to_string(EWX_SHUTDOWN | EWX_FORCE)},
      {aatReboot, false, "exit " + std::to_string(EWX_REBOOT)},
      {aatLogOff, true, "exit " + std::to_string(EWX_LOGOFF | EWX_FORCE)},
      {aatSuspend, true, "power suspend forced"},
      {aatHibernate, false, "power hibernate"},
  };
  for (const Case& c : cases) {
    calls.clear();
    shutdown.ActionType = c.action;
    shutdown.Force = c.force;
    EXPECT_TRUE(shutdown.Execute());
    EXPECT_EQ(calls, (std::vector<std::string>{"privilege", c.call}));
  }

  // The program's veto stops it before any system call.
  int asked = 0;
  shutdown.OnQueryShutdown = [&](TObject* Sender, bool& CanShutdown) {
    EXPECT_EQ(Sender, &shutdown);
    EXPECT_TRUE(CanShutdown);
    ++asked;
    CanShutdown = false;
  };
  calls.clear();
  shutdown.ActionType = aatReboot;
  EXPECT_FALSE(shutdown.Execute());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(calls, (std::vector<std::string>{"privilege"}));

  // Without the privilege nothing happens either.
  shutdown.OnQueryShutdown = nullptr;
  shutdown.Calls.EnableShutdownPrivilege = [] { return false; };
  calls.clear();
  EXPECT_FALSE(shutdown.Execute());
  EXPECT_TRUE(calls.empty());
  // A failing system call is reported as such.
  shutdown.Calls.EnableShutdownPrivilege = [] { return true; };
  shutdown.Calls.ExitSession = [](UINT, DWORD) { return FALSE; };
  EXPECT_FALSE(shutdown.Execute());
}

// --- change monitors --------------------------------------------------------------------

// Each call writes another value: Wine tells nobody of a write that changes nothing.
void SetTestValue(const char* key) {
  static int counter = 0;
  const AnsiString value = IntToStr(++counter);
  HKEY k = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &k), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(k, "Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
  RegCloseKey(k);
}

class ChangeMonitors : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
};

TEST_F(ChangeMonitors, FilterAndRootTables) {
  EXPECT_EQ(FolderNotifyFlags(FilterBit(fmfFileNameChange) | FilterBit(fmfDirNameChange)),
            static_cast<DWORD>(FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME));
  EXPECT_EQ(FolderNotifyFlags(FilterBit(fmfAttributeChange) | FilterBit(fmfSizeChange) | FilterBit(fmfWriteChange) |
                              FilterBit(fmfSecurityChange)),
            static_cast<DWORD>(FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                               FILE_NOTIFY_CHANGE_SECURITY));
  EXPECT_EQ(RegistryNotifyFlags(FilterBit(rmfSubTreeChange) | FilterBit(rmfValueChange)),
            static_cast<DWORD>(REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET));
  EXPECT_EQ(RegistryNotifyFlags(FilterBit(rmfAttributeChange) | FilterBit(rmfSecurityChange)),
            static_cast<DWORD>(REG_NOTIFY_CHANGE_ATTRIBUTES | REG_NOTIFY_CHANGE_SECURITY));
  const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                        HKEY_USERS,        HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
  for (int i = 0; i <= rrkDynData; ++i) EXPECT_EQ(RegistryRoot(static_cast<TdkRegRootKey>(i)), roots[i]);
}

TEST_F(ChangeMonitors, FolderMonitorSeesANewFile) {
  const AnsiString folder = TempFolder("kavo_monitor");
  TdkFolderMonitor monitor(nullptr);
  EXPECT_EQ(monitor.Folder(), "C:\\");
  monitor.SetFolder(folder);
  monitor.SetActive(true);
  EXPECT_EQ(monitor.Worker(), nullptr) << "no OnChange, no worker";
  int changes = 0;
  bool onMain = true;
  monitor.SetOnChange([&] {
    onMain = onMain && GetCurrentThreadId() == MainThreadID;
    ++changes;
  });
  ASSERT_NE(monitor.Worker(), nullptr);
  // The worker arms its notice as it starts: make changes until one is seen.
  int made = 0;
  EXPECT_TRUE(PumpUntil([&] {
    std::ofstream((folder + "new" + IntToStr(made++) + ".txt").c_str()) << "x";
    return changes > 0;
  }));
  EXPECT_TRUE(onMain);

  HANDLE worker = nullptr;
  DuplicateHandle(GetCurrentProcess(), monitor.Worker()->Handle(), GetCurrentProcess(), &worker, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  monitor.SetActive(false);
  EXPECT_EQ(monitor.Worker(), nullptr);
  EXPECT_EQ(WaitForSingleObject(worker, 0), static_cast<DWORD>(WAIT_OBJECT_0)) << "the worker was waited for";
  CloseHandle(worker);
  const int before = changes;
  for (int i = 0; i < made; ++i) DeleteFileA((folder + "new" + IntToStr(i) + ".txt").c_str());
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(changes, before) << "a stopped monitor hears nothing";
  RemoveDirectoryA(folder.c_str());
}

TEST_F(ChangeMonitors, NoNoticeReachesADestroyedMonitor) {
  const AnsiString folder = TempFolder("kavo_monitor_gone");
  auto called = std::make_shared<std::atomic<int>>(0);
  HANDLE worker = nullptr;
  {
    TdkFolderMonitor monitor(nullptr);
    monitor.SetFolder(folder);
    monitor.SetOnChange([called] { ++*called; });
    monitor.SetActive(true);
    DuplicateHandle(GetCurrentProcess(), monitor.Worker()->Handle(), GetCurrentProcess(), &worker, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    // A change whose notice is on its way as the monitor goes.
    std::ofstream((folder + "late.txt").c_str()) << "x";
  }
  EXPECT_EQ(WaitForSingleObject(worker, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(worker);
  const int atEnd = called->load();
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(called->load(), atEnd);
  DeleteFileA((folder + "late.txt").c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(ChangeMonitors, RegistryMonitorSeesValuesAndTheKeysDeletionAndReturn) {
  const char* key = "Software\\KavoTests\\Monitored";
  HKEY k = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(k);
  TdkRegistryMonitor monitor(nullptr);
  EXPECT_EQ(monitor.RootKey(), rrkCurrentUser);
  std::vector<bool> notices;  // whether the key existed at each notice
  monitor.SetRegistryKey(key);
  monitor.SetOnChange([&] {
    HKEY probe = nullptr;
    const bool exists = RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &probe) == ERROR_SUCCESS;
    if (probe) RegCloseKey(probe);
    notices.push_back(exists);
  });
  monitor.SetActive(true);
  ASSERT_NE(monitor.Worker(), nullptr);
  ASSERT_TRUE(monitor.Worker()->WaitUntilWatching(10000));
  SetTestValue(key);
  ASSERT_TRUE(PumpUntil([&] { return !notices.empty(); }));
  EXPECT_TRUE(notices.back());

  RegDeleteTreeA(HKEY_CURRENT_USER, key);
  RegDeleteKeyA(HKEY_CURRENT_USER, key);
  ASSERT_TRUE(PumpUntil([&] { return !notices.back(); }));
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(k);
  ASSERT_TRUE(PumpUntil([&] { return notices.back(); }));
  EXPECT_EQ(std::count(notices.begin(), notices.end(), false), 1) << "the deletion is told once";
  // The recreated key is watched again.
  const size_t seen = notices.size();
  SetTestValue(key);
  EXPECT_TRUE(PumpUntil([&] { return notices.size() > seen; }));

  monitor.SetActive(false);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KavoTests");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\KavoTests");
}

}  // namespace

#include "desktop/desktop_controls.h"
#include "vcl/streaming.h"

namespace {

TEST(DesktopComponentClasses, AreKnownByName) {
  RegisterDesktopControls();
  for (const char* name : {"TdkThreadComponent", "TdkThreadTimer", "TdkWndProcHook", "TdkOneInstance", "TdkAutoRun",
                           "TdkShutdown", "TdkFolderMonitor", "TdkRegistryMonitor"})
    EXPECT_NE(GetClass(name), nullptr) << name;
}

}  // namespace
