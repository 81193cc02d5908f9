// Starts Kavo.exe and measures the time until its main window is shown and its message loop
// idle; in the same run does the same with bare_window.exe, a window program of a few
// lines. Each window is closed again before the next start (not timed). Prints the median
// milliseconds of each and their ratio.
// Usage: startup_bench [rounds]   (default 5)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/common/bench_support.h"

namespace {

std::wstring Folder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s = path;
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

struct TFound {
  DWORD Pid;
  HWND Window;
};

BOOL CALLBACK FindShown(HWND wnd, LPARAM lp) {
  auto* found = reinterpret_cast<TFound*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != found->Pid || !IsWindowVisible(wnd)) return TRUE;
  RECT r;
  GetWindowRect(wnd, &r);
  if (r.right - r.left <= 0 || r.bottom - r.top <= 0) return TRUE;
  found->Window = wnd;
  return FALSE;
}

// Milliseconds from CreateProcess to the program's first shown top-level window (a main
// window may be owned by a hidden application window) answering
// a message with its input idle; -1 when it does not come within 30 s.
double StartToIdle(const std::wstring& exe, std::wstring* title) {
  std::wstring cmd = L"\"" + exe + L"\"";
  std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double start = MillisecondsNow();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    std::printf("cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
    return -1;
  }
  TFound found{pi.dwProcessId, nullptr};
  double ms = -1;
  while (MillisecondsNow() - start < 30000) {
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&found));
    if (found.Window) {
      DWORD_PTR answer = 0;
      SendMessageTimeoutW(found.Window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
      WaitForInputIdle(pi.hProcess, 30000);
      ms = MillisecondsNow() - start;
      break;
    }
    // Every 5 ms: each look asks the display server about every top-level window, and a look
    // every millisecond slowed the program being timed (Kavo by 20 to 30 ms a start).
    if (WaitForSingleObject(pi.hProcess, 5) == WAIT_OBJECT_0) break;
  }
  if (found.Window && title) {
    wchar_t text[256] = {};
    GetWindowTextW(found.Window, text, 256);
    *title = text;
  }
  // Closed the way a user closes it; ended by force only if it will not go.
  if (found.Window) PostMessageW(found.Window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 15000) != WAIT_OBJECT_0) {
    std::printf("  (%ls did not end on WM_CLOSE: ended by force)\n", exe.c_str());
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  if (rounds < 1) rounds = 1;
  const std::wstring kavo = Folder() + KAVO_DIST_FROM_BENCH + L"Kavo.exe";
  const std::wstring bare = Folder() + L"bare_window.exe";
  std::wstring kavoTitle, bareTitle;
  // One start of each first for the one-time costs (files read the first time).
  StartToIdle(bare, nullptr);
  StartToIdle(kavo, nullptr);
  std::vector<double> kavoTimes, bareTimes;
  for (int r = 0; r < rounds; ++r) {
    bareTimes.push_back(StartToIdle(bare, &bareTitle));
    kavoTimes.push_back(StartToIdle(kavo, &kavoTitle));
    std::printf("round %d: bare window %7.1f ms, Kavo.exe %7.1f ms\n", r + 1, bareTimes.back(), kavoTimes.back());
  }
  const double b = Median(bareTimes), k = Median(kavoTimes);
  std::printf("start to window shown and idle, median of %d:\n", rounds);
  std::printf("bare Win32 window (\"%ls\"): %7.1f ms\n", bareTitle.c_str(), b);
  std::printf("Kavo.exe (\"%ls\"):            %7.1f ms\n", kavoTitle.c_str(), k);
  std::printf("ratio Kavo/bare: %.2f\n", k / b);
  return (b < 0 || k < 0) ? 1 : 0;
}
