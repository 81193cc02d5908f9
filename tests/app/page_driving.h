// Driving the program's pages in a test: pictures of the windows to look at, and a hand on the
// modal windows a handler opens (a timer runs inside the modal loop) and on the task dialog.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>

#include "app/forms/main_form.h"
#include "dialogs/task_message_form.h"
#include "tests/support/pump.h"
#include "tests/support/window_shot.h"
#include "vcl/timers.h"

namespace apptest {

// With KAVO_APP_SHOTS set, the window's picture goes to that folder under Name (to look at).
inline void SaveShot(TWinControl* Window, const char* Name) {
  const char* folder = getenv("KAVO_APP_SHOTS");
  if (!folder) return;
  Window->Repaint();
  PumpUntil([] { return false; }, 100);
  SaveWindowShot(Window->Handle(), std::string(folder) + "\\" + Name);
}

// Acts once on a modal window while it shows (the modal loop runs the timer).
class TModalDriver {
 public:
  TModalDriver(std::function<bool()> Showing, std::function<void()> Act) : FTimer(nullptr) {
    FTimer.SetInterval(20);
    FTimer.SetOnTimer([this, Showing, Act](TObject*) {
      if (FDone || !Showing()) return;
      FDone = true;
      Act();
    });
  }
  bool Done() const { return FDone; }

 private:
  TTimer FTimer;
  bool FDone = false;
};

// Answers the main window's task dialog with its custom button Index, noting its texts (and
// its picture under Shot, with KAVO_APP_SHOTS set).
struct TTaskAnswer {
  explicit TTaskAnswer(int Index, const char* Shot = nullptr)
      : Driver([] { TTaskMessageForm* f = MainForm->MainTaskDialog->Form(); return f && f->HandleAllocated() && IsWindowVisible(f->WindowHandle()); },
               [this, Index, Shot] {
                 Instruction = MainForm->MainTaskDialog->Instruction();
                 Content = MainForm->MainTaskDialog->Content();
                 TTaskMessageForm* f = MainForm->MainTaskDialog->Form();
                 if (Shot) SaveShot(f, Shot);
                 PostMessageW(static_cast<TWinControl*>(f->CustomButtonList.at(Index))->Handle(), BM_CLICK, 0, 0);
               }) {}
  WideString Instruction, Content;
  TModalDriver Driver;
};

// Answers every task dialog of the main window that shows while it lives with its custom
// button Index, counting them.
class TTaskAnswers {
 public:
  explicit TTaskAnswers(int Index) : FTimer(nullptr) {
    FTimer.SetInterval(20);
    FTimer.SetOnTimer([this, Index](TObject*) {
      TTaskMessageForm* f = MainForm->MainTaskDialog->Form();
      const bool showing = f && f->HandleAllocated() && IsWindowVisible(f->WindowHandle());
      if (!showing) FArmed = true;  // the answered one has closed
      if (!showing || !FArmed) return;
      FArmed = false;
      ++FCount;
      PostMessageW(static_cast<TWinControl*>(f->CustomButtonList.at(Index))->Handle(), BM_CLICK, 0, 0);
    });
  }
  int Count() const { return FCount; }

 private:
  TTimer FTimer;
  int FCount = 0;
  bool FArmed = true;
};

}  // namespace apptest
