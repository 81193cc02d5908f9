// Small wide controls for the window tests: each is a framework control whose window (if
// it has one) is created as a Unicode window and whose text and hint are wide.
#pragma once

#include "tests/vcl/test_windows.h"
#include "widetext/platform.h"
#include "widetext/uni_controls.h"
#include "widetext/wide_control_text.h"

namespace widetest {

// The system's edit control behind a Unicode window.
class TWideEdit : public testwin::TLineEdit {
  VCL_CLASS(TWideEdit)
 public:
  explicit TWideEdit(TComponent* owner) : TLineEdit(owner) {}
  WideString Text() { return UniControl_GetText(this); }
  void SetText(const WideString& value) { UniControl_SetText(this, value); }
  WideString Hint() { return UniControl_GetHint(this); }
  void SetHint(const WideString& value) { UniControl_SetHint(this, value); }
  // A style of its window: changing it makes a new window.
  bool Centered() const { return FCentered; }
  void SetCentered(bool value) {
    if (FCentered == value) return;
    FCentered = value;
    RecreateWnd();
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TLineEdit::CreateParams(params);
    if (FCentered) params.Style |= ES_CENTER;
  }
  void CreateWindowHandle(const TCreateParams& params) override { CreateUnicodeHandle(this, params, L"EDIT"); }

 private:
  bool FCentered = false;
};

// A container with a window class of the framework's own (its messages end in
// DefWindowProcW).
class TWidePanel : public testwin::TBox {
  VCL_CLASS(TWidePanel)
 public:
  explicit TWidePanel(TComponent* owner) : TBox(owner) { SetBounds(0, 0, 160, 80); }
  WideString Caption() { return UniControl_GetText(this); }
  void SetCaption(const WideString& value) { UniControl_SetText(this, value); }
  void SetBorder(bool value) {
    FBorder = value;
    RecreateWnd();
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TBox::CreateParams(params);
    if (FBorder) params.Style |= WS_BORDER;
  }
  void CreateWindowHandle(const TCreateParams& params) override { CreateUnicodeHandle(this, params, L""); }

 private:
  bool FBorder = false;
};

// A window-less control with a wide caption.
class TWideLabel : public TGraphicControl {
  VCL_CLASS(TWideLabel)
 public:
  explicit TWideLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 100, 20); }
  WideString Caption() { return UniControl_GetText(this); }
  void SetCaption(const WideString& value) { UniControl_SetText(this, value); }
  WideString Hint() { return UniControl_GetHint(this); }
  void SetHint(const WideString& value) { UniControl_SetHint(this, value); }
};

inline VCL_CLASS_IMPL(TWideEdit, testwin::TLineEdit, nullptr, nullptr)
inline VCL_CLASS_IMPL(TWidePanel, testwin::TBox, nullptr, nullptr)
inline VCL_CLASS_IMPL(TWideLabel, TGraphicControl, nullptr, nullptr)

// Counts the notices of a control while it lives (put in front of its WindowProc).
struct NoticeCounter {
  NoticeCounter(TControl* c, UINT msg) : control(c), message(msg), previous(c->WindowProc) {
    control->WindowProc = [this](TMessage& m) {
      if (m.Msg == message) ++count;
      previous(m);
    };
  }
  ~NoticeCounter() { control->WindowProc = previous; }
  TControl* control;
  UINT message;
  TWndMethod previous;
  int count = 0;
};

// Tells when a component it watches is freed.
class TFreeWatcher : public TComponent {
 public:
  explicit TFreeWatcher(TComponent* watched) : TComponent(nullptr) { watched->FreeNotification(this); }
  ~TFreeWatcher() override { Destroying(); }
  bool freed = false;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) freed = true;
  }
};

}  // namespace widetest
