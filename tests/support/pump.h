// Helpers of tests that need the main thread's message loop: pumping until a condition
// holds, and answering the message boxes the code under test shows.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "vcl/application.h"
#include "vcl/threads.h"

// Handles messages (synchronised calls and timers included) until cond() holds or
// timeoutMs pass; returns cond().
inline bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs = 10000) {
  DWORD start = GetTickCount();
  for (;;) {
    Application->ProcessMessages();
    if (cond()) return true;
    DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return cond();
    // Wake on the next message, or soon, for conditions that other threads change.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// As PumpUntil, but checks cond() after every message. For a queue that a worker keeps
// full: handling messages until none is left would not end while the worker runs.
inline bool PumpEachUntil(const std::function<bool()>& cond, DWORD timeoutMs = 10000) {
  DWORD start = GetTickCount();
  MSG msg;
  while (!cond()) {
    if (GetTickCount() - start >= timeoutMs) return cond();
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      Application->HandleMessage();
    } else {
      CheckSynchronize();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  return true;
}

// Watches, on its own thread, for a message box of the main thread; records its caption
// and text, then presses its OK button.
class TMessageBoxWatcher {
 public:
  TMessageBoxWatcher() : FThread([this] { Watch(); }) {}
  ~TMessageBoxWatcher() {
    FStop = true;
    FThread.join();
  }
  bool Seen() const { return FSeen; }
  std::string Caption() const { return FSeen ? FCaption : std::string(); }
  std::string Text() const { return FSeen ? FText : std::string(); }

 private:
  static BOOL CALLBACK FindBox(HWND wnd, LPARAM param) {
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(wnd)) return TRUE;
    *reinterpret_cast<HWND*>(param) = wnd;
    return FALSE;
  }
  static BOOL CALLBACK FindText(HWND wnd, LPARAM param) {
    char cls[64] = {}, text[1024] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    GetWindowTextA(wnd, text, sizeof text);
    if (_stricmp(cls, "Static") == 0 && text[0]) {
      *reinterpret_cast<std::string*>(param) = text;
      return FALSE;
    }
    return TRUE;
  }
  void Watch() {
    while (!FStop) {
      HWND box = nullptr;
      EnumThreadWindows(MainThreadID, &FindBox, reinterpret_cast<LPARAM>(&box));
      if (box) {
        char caption[256] = {};
        GetWindowTextA(box, caption, sizeof caption);
        std::string text;
        EnumChildWindows(box, &FindText, reinterpret_cast<LPARAM>(&text));
        if (!text.empty()) {
          FCaption = caption;
          FText = text;
          FSeen = true;
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          return;
        }
      }
      Sleep(10);
    }
  }

  std::string FCaption, FText;
  std::atomic<bool> FSeen{false}, FStop{false};
  std::thread FThread;
};
