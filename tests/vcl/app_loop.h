// Running the application's own message loop in tests: HandleMessage takes one message
// or, when there is none, runs the idle step (hints, action updates) and waits.
#pragma once

#include <windows.h>

#include <functional>

#include "vcl/application.h"

namespace apploop {

// Handles messages with the idle step until cond() holds or the time is up; false on
// time-out. A thread timer wakes the idle step's wait now and then.
inline bool RunUntil(const std::function<bool()>& cond, DWORD timeoutMs = 5000) {
  UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
  DWORD start = GetTickCount();
  bool ok = cond();
  while (!ok && GetTickCount() - start < timeoutMs) {
    Application->HandleMessage();
    ok = cond();
  }
  KillTimer(nullptr, timer);
  return ok;
}

// Makes another application object the program's for a scope (a test that ends Run
// must not leave the program's application terminated).
class TStandInApplication {
 public:
  TStandInApplication() : FSaved(Application), FApp(nullptr) { Application = &FApp; }
  ~TStandInApplication() { Application = FSaved; }
  TApplication* operator->() { return &FApp; }
  TApplication& App() { return FApp; }

 private:
  TApplication* FSaved;
  TApplication FApp;
};

}  // namespace apploop
