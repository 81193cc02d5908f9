// Answers the message dialogs (the framework's own forms) and the system's dialog boxes that
// code under test shows from inside its modal loops, and records what they said.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "vcl/dialogs.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"

namespace explorer_test {

// A visible message dialog of the framework, or null.
inline TMessageForm* ShownMessageForm() {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TMessageForm*>(Screen->Forms(i)); f && f->Visible()) return f;
  return nullptr;
}

// Each message dialog that shows while the object lives is answered with the next button
// name of Answers ("OK", "Yes", "No", ...; the last one repeats) and its text recorded.
class TDialogAnswers {
 public:
  explicit TDialogAnswers(std::vector<std::string> Answers = {"OK"}) : FAnswers(std::move(Answers)) {
    Current() = this;
    FTimer = SetTimer(nullptr, 0, 20, &Tick);
  }
  ~TDialogAnswers() {
    KillTimer(nullptr, FTimer);
    Current() = nullptr;
  }
  const std::vector<std::string>& Texts() const { return FTexts; }
  std::vector<std::string> Captions;

 private:
  static TDialogAnswers*& Current() {
    static TDialogAnswers* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TDialogAnswers* self = Current();
    if (!self) return;
    TMessageForm* form = ShownMessageForm();
    if (!form || form->ModalResult() != 0) return;
    std::string text;
    if (auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"))) text = label->Caption();
    self->FTexts.push_back(text);
    self->Captions.push_back(form->Caption());
    size_t n = self->FTexts.size() - 1;
    const std::string& answer = self->FAnswers[n < self->FAnswers.size() ? n : self->FAnswers.size() - 1];
    if (auto* button = dynamic_cast<TButton*>(form->FindComponent(answer))) button->Click();
  }

  std::vector<std::string> FAnswers;
  std::vector<std::string> FTexts;
  UINT_PTR FTimer = 0;
};

// Presses a button (by its control identifier) of the next system dialog box (#32770) of
// this thread that shows, from a thread of its own; records the box's texts.
class TSystemBoxAnswer {
 public:
  explicit TSystemBoxAnswer(int ButtonId) : FButtonId(ButtonId), FThreadId(GetCurrentThreadId()) {
    FThread = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
  }
  ~TSystemBoxAnswer() {
    FStop = true;
    WaitForSingleObject(FThread, 10000);
    CloseHandle(FThread);
  }
  bool Answered() const { return FAnswered; }

 private:
  static BOOL CALLBACK FindBox(HWND Wnd, LPARAM Param) {
    char cls[64] = {};
    GetClassNameA(Wnd, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(Wnd)) return TRUE;
    *reinterpret_cast<HWND*>(Param) = Wnd;
    return FALSE;
  }
  static DWORD WINAPI Run(LPVOID Param) {
    auto* self = static_cast<TSystemBoxAnswer*>(Param);
    DWORD start = GetTickCount();
    while (!self->FStop && GetTickCount() - start < 20000) {
      HWND box = nullptr;
      EnumThreadWindows(self->FThreadId, &FindBox, reinterpret_cast<LPARAM>(&box));
      if (box && GetDlgItem(box, self->FButtonId)) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(self->FButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, self->FButtonId)));
        self->FAnswered = true;
        return 0;
      }
      Sleep(10);
    }
    return 0;
  }

  int FButtonId;
  DWORD FThreadId;
  HANDLE FThread = nullptr;
  volatile bool FStop = false;
  volatile bool FAnswered = false;
};

}  // namespace explorer_test
