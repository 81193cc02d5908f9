// Small controls and helpers shared by the window tests of the framework.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "vcl/controls.h"

namespace testwin {

// Takes and dispatches the thread's messages itself, without the application object (which
// the framework's own tests may not have), until done() holds or the time is up; false on
// time-out. Tests of the program, which has an application object, pump through it with
// PumpUntil (tests/support/pump.h): the two are named apart so that a test file may use both.
inline bool DispatchUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Takes the messages already waiting (posted notices, paints).
inline void Flush() {
  DispatchUntil([] { return false; }, 50);
}

// A top-level window that shows on its own (what a form will be), grey like a dialog.
// No caption: under Xvfb without a window manager Wine waits two seconds for one whenever
// a managed (captioned or activated) top-level window is hidden or destroyed.
class THostWindow : public TWinControl {
  VCL_CLASS(THostWindow)
 public:
  explicit THostWindow(TComponent* owner) : TWinControl(owner) {
    ControlStyle |= csAcceptsControls;
    SetVisible(false);
    SetColor(clBtnFace);
    SetBounds(40, 40, 320, 240);
  }
  // Dialog keys (Enter, Escape...) the children do not want end up here.
  std::vector<WORD> DialogKeys;
  LRESULT DialogKeyAnswer = 0;

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.WndParent = nullptr;
  }
  bool IsTopLevelWindow() const override { return true; }
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_DIALOGKEY) {
      DialogKeys.push_back(TWMKey{m}.CharCode());
      m.Result = DialogKeyAnswer;
      if (m.Result) return;
    }
    TWinControl::Dispatch(m);
  }
};

// A container child (what a panel will be).
class TBox : public TCustomControl {
  VCL_CLASS(TBox)
 public:
  explicit TBox(TComponent* owner) : TCustomControl(owner) { ControlStyle |= csAcceptsControls; }
};

// The system's push button with the framework in front of it; BN_CLICKED comes back to
// it as CN_COMMAND.
class TPushButton : public TWinControl {
  VCL_CLASS(TPushButton)
 public:
  explicit TPushButton(TComponent* owner) : TWinControl(owner) {
    ControlStyle = csSetCaption | csDoubleClicks;
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == CN_COMMAND) {
      if (TWMCommand{m}.NotifyCode() == BN_CLICKED) Click();
      return;
    }
    TWinControl::Dispatch(m);
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= BS_PUSHBUTTON;
  }
};

// The system's edit control.
class TLineEdit : public TWinControl {
  VCL_CLASS(TLineEdit)
 public:
  explicit TLineEdit(TComponent* owner) : TWinControl(owner) {
    ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetTabStop(true);
    SetBounds(0, 0, 120, 22);
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "EDIT");
    params.Style |= ES_AUTOHSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
  }
};

// Puts a recorder in front of a control's WindowProc: every message number it sees, then
// the previous method.
struct MessageRecorder {
  explicit MessageRecorder(TControl* c) : control(c), previous(c->WindowProc) {
    control->WindowProc = [this](TMessage& m) {
      seen.push_back(m.Msg);
      previous(m);
    };
  }
  ~MessageRecorder() { control->WindowProc = previous; }
  // The recorded messages among the given ones, in order.
  std::vector<UINT> Only(std::initializer_list<UINT> wanted) const {
    std::vector<UINT> out;
    for (UINT m : seen)
      if (std::find(wanted.begin(), wanted.end(), m) != wanted.end()) out.push_back(m);
    return out;
  }
  bool Saw(UINT msg) const { return std::find(seen.begin(), seen.end(), msg) != seen.end(); }
  TControl* control;
  TWndMethod previous;
  std::vector<UINT> seen;
};

// A shown host window with the display ready to draw on.
inline THostWindow* ShownHost(int width = 320, int height = 240) {
  auto* host = new THostWindow(nullptr);
  host->SetBounds(40, 40, width, height);
  host->SetVisible(true);
  UpdateWindow(host->Handle());
  Flush();
  return host;
}

inline std::string WindowText(HWND wnd) {
  char buffer[512] = {};
  GetWindowTextA(wnd, buffer, sizeof(buffer));
  return buffer;
}

// A window's rectangle in its parent's client coordinates.
inline RECT RectInParent(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Class references of the helpers (inline: the header is shared by several test files).
inline VCL_CLASS_IMPL(THostWindow, TWinControl, nullptr, nullptr)
inline VCL_CLASS_IMPL(TBox, TCustomControl, nullptr, nullptr)
inline VCL_CLASS_IMPL(TPushButton, TWinControl, nullptr, nullptr)
inline VCL_CLASS_IMPL(TLineEdit, TWinControl, nullptr, nullptr)

}  // namespace testwin

inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
  return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
