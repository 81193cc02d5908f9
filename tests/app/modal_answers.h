// Answers to the modal windows a page opens, given from inside their modal loop.
#pragma once

#include <functional>

#include "app/forms/main_form.h"
#include "dialogs/task_message_form.h"
#include "vcl/timers.h"

namespace apptest {

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

// Answers the main window's task dialog with its custom button Index, noting its texts.
struct TTaskAnswer {
  explicit TTaskAnswer(int Index)
      : Driver([] { TTaskMessageForm* f = MainForm->MainTaskDialog->Form(); return f && f->HandleAllocated() && IsWindowVisible(f->WindowHandle()); },
               [this, Index] {
                 Instruction = MainForm->MainTaskDialog->Instruction();
                 Content = MainForm->MainTaskDialog->Content();
                 TTaskMessageForm* f = MainForm->MainTaskDialog->Form();
                 PostMessageW(static_cast<TWinControl*>(f->CustomButtonList.at(Index))->Handle(), BM_CLICK, 0, 0);
               }) {}
  WideString Instruction, Content;
  TModalDriver Driver;
};

}  // namespace apptest
