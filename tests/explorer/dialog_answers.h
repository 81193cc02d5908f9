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
#include "widetext/uni_message_dialogs.h"
#include "widetext/wide_control_text.h"

namespace explorer_test {

// A visible message dialog of the framework (8-bit or wide), or null.
inline TCustomForm* ShownMessageForm() {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if ((dynamic_cast<TMessageForm*>(f) || dynamic_cast<TUniMessageForm*>(f)) && f->Visible()) return f;
  }
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
  // The texts, 8-bit (wide dialogs' texts converted) and as the dialogs showed them.
  const std::vector<std::string>& Texts() const { return FTexts; }
  const std::vector<std::wstring>& WideTexts() const { return FWideTexts; }
  std::vector<std::string> Captions;

 private:
  static TDialogAnswers*& Current() {
    static TDialogAnswers* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TDialogAnswers* self = Current();
    if (!self) return;
    TCustomForm* form = ShownMessageForm();
    if (!form || form->ModalResult() != 0) return;
    std::wstring text;
    if (auto* label = dynamic_cast<TControl*>(form->FindComponent("Message"))) text = UniControl_GetText(label);
    self->FTexts.push_back(WideToAnsi(text));
    self->FWideTexts.push_back(text);
    self->Captions.push_back(form->Caption());
    size_t n = self->FTexts.size() - 1;
    const std::string& answer = self->FAnswers[n < self->FAnswers.size() ? n : self->FAnswers.size() - 1];
    if (auto* button = dynamic_cast<TControl*>(form->FindComponent(answer))) button->Click();
  }

  std::vector<std::string> FAnswers;
  std::vector<std::string> FTexts;
  std::vector<std::wstring> FWideTexts;
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
