// Hints: the short part in the hint window, the long part in Application.Hint, the hint
// window class a control asks for, shortcuts in hints, and the hint action.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/vcl/app_loop.h"
#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/hints.h"
#include "vcl/stdctrls.h"

namespace {

TEST(HintText, ShortAndLongParts) {
  struct Case {
    const char* hint;
    const char* shortPart;
    const char* longPart;
  } cases[] = {
      {"Save|Saves the file", "Save", "Saves the file"},
      {"Save", "Save", "Save"},
      {"|Only long", "", "Only long"},
      {"Only short|", "Only short", ""},
      {"a|b|c", "a", "b|c"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetShortHint(c.hint), c.shortPart) << c.hint;
    EXPECT_EQ(GetLongHint(c.hint), c.longPart) << c.hint;
  }
}

TEST(HintText, TheHintAndItsShowHintComeFromTheParentChain) {
  InitApplication();
  std::unique_ptr<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  auto* label = new TLabel(form.get());
  label->SetParent(panel);
  EXPECT_EQ(GetControlHint(label), "");
  form->SetHint("Form|The form");
  EXPECT_EQ(GetControlHint(label), "Form|The form");
  panel->SetHint("Panel|The panel");
  EXPECT_EQ(GetControlHint(label), "Panel|The panel");
  label->SetHint("Label");
  EXPECT_EQ(GetControlHint(label), "Label");

  EXPECT_EQ(GetHintControl(label), nullptr);
  panel->SetShowHint(true);  // the label inherits it
  EXPECT_EQ(GetHintControl(label), label);
  label->SetShowHint(false);
  EXPECT_EQ(GetHintControl(label), panel);
}

// A button that asks for a hint window of its own and marks its hint.
class TFancyHintWindow : public THintWindow {
  VCL_CLASS(TFancyHintWindow)
 public:
  using THintWindow::THintWindow;
  static inline int activations = 0;
  void ActivateHintData(RECT Rect, const AnsiString& AHint, void* AData) override {
    ++activations;
    THintWindow::ActivateHintData(Rect, AHint, AData);
  }
};
VCL_CLASS_IMPL(TFancyHintWindow, THintWindow, &CreateComponentOf<TFancyHintWindow>, nullptr)

class TFancyButton : public TButton {
  VCL_CLASS(TFancyButton)
 public:
  using TButton::TButton;
  bool refuse = false;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_HINTSHOW) {
      THintInfo* info = TCMHintShow{m}.HintInfo();
      info->HintWindowClass = TFancyHintWindow::StaticClass();
      info->HintStr += "!";
      TButton::Dispatch(m);
      if (refuse) m.Result = 1;
      return;
    }
    TButton::Dispatch(m);
  }
};
VCL_CLASS_IMPL(TFancyButton, TButton, &CreateComponentOf<TFancyButton>, nullptr)

// Shows the hints that reach it through hint actions (what a status bar does).
class TStatusLine : public TLabel {
  VCL_CLASS(TStatusLine)
 public:
  using TLabel::TLabel;
  bool ExecuteAction(TBasicAction* Action) override {
    if (auto* hint = dynamic_cast<THintAction*>(Action)) {
      SetCaption(hint->Hint());
      return true;
    }
    return TLabel::ExecuteAction(Action);
  }
};
VCL_CLASS_IMPL(TStatusLine, TLabel, &CreateComponentOf<TStatusLine>, nullptr)

class Hints : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    Application->HintPause = 30;
    Application->HintShortPause = 10;
    Application->SetHint("");  // what an earlier test left under the mouse
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 320, 200);
    save = new TButton(form.get());
    save->SetParent(form.get());
    save->SetBounds(10, 10, 100, 30);
    save->SetCaption("Save");
    save->SetHint("Save|Saves the file");
    save->SetShowHint(true);
    panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 60, 200, 60);
    panel->SetHint("Panel|The panel");
    panel->SetShowHint(true);
    label = new TLabel(form.get());
    label->SetParent(panel);
    label->SetBounds(10, 10, 80, 20);
    label->SetCaption("No hint");
    status = new TStatusLine(form.get());
    status->SetParent(form.get());
    status->SetBounds(10, 150, 300, 20);
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(apploop::RunUntil([this] { return form->Active(); }, 2000));
  }
  void TearDown() override {
    MoveMouseTo(POINT{2, 2});  // away from our windows for the next test
    Application->CancelHint();
    Application->OnHint = nullptr;
    Application->HintShortCuts = true;
    Application->HintPause = 500;
    Application->HintShortPause = 50;
    Application->HintHidePause = 2500;
    form.reset();
  }

  // Puts the mouse there, as a user would: the system moves the cursor, and the window
  // under it hears of it.
  static void MoveMouseTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    HWND wnd = WindowFromPoint(screen);
    if (!wnd || GetWindowThreadProcessId(wnd, nullptr) != GetCurrentThreadId()) return;
    POINT client = screen;
    ScreenToClient(wnd, &client);
    PostMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  }
  static void MoveMouseOnto(TControl* control) {
    MoveMouseTo(control->ClientToScreen(POINT{control->Width() / 2, control->Height() / 2}));
  }
  static HWND ShownHintWindow() {
    THintWindow* w = Application->HintWindow();
    return w && w->HandleAllocated() && IsWindowVisible(w->WindowHandle()) ? w->WindowHandle() : nullptr;
  }
  static std::string ShownHint() {
    HWND wnd = ShownHintWindow();
    if (!wnd) return std::string();
    char text[256] = {};
    GetWindowTextA(wnd, text, sizeof text);
    return text;
  }

  struct FormFree {
    void operator()(TCustomForm* f) const { f->Free(); }
  };
  std::unique_ptr<TForm, FormFree> form;
  TButton* save = nullptr;
  TPanel* panel = nullptr;
  TLabel* label = nullptr;
  TStatusLine* status = nullptr;
};

TEST_F(Hints, TheShortPartShowsAndTheLongPartGoesToApplicationHint) {
  std::vector<std::string> announced;
  Application->OnHint = [&](TObject*) { announced.push_back(Application->Hint()); };
  MoveMouseOnto(save);
  ASSERT_TRUE(apploop::RunUntil([] { return ShownHint() == "Save"; }));
  EXPECT_EQ(Application->HintControl(), save);
  EXPECT_EQ(Application->HintWindow()->ClassType(), THintWindow::StaticClass());
  ASSERT_TRUE(apploop::RunUntil([] { return Application->Hint() == "Saves the file"; }));
  ASSERT_FALSE(announced.empty());
  EXPECT_EQ(announced.back(), "Saves the file");
  // Below the cursor, in the hint colours, above the other windows.
  RECT r{};
  GetWindowRect(ShownHintWindow(), &r);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_GT(r.top, cursor.y);
  EXPECT_TRUE(GetWindowLongPtrA(ShownHintWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  // A window-less control without a hint of its own shows its parent's.
  MoveMouseOnto(label);
  ASSERT_TRUE(apploop::RunUntil([] { return ShownHint() == "Panel"; }));
  ASSERT_TRUE(apploop::RunUntil([] { return Application->Hint() == "The panel"; }));
  EXPECT_EQ(Application->HintControl(), label);

  // Away from every control: the hint goes, and so does the long part.
  MoveMouseTo(POINT{2, 2});
  ASSERT_TRUE(apploop::RunUntil([] { return !ShownHintWindow() && Application->Hint().empty(); }));
  ASSERT_FALSE(announced.empty());
  EXPECT_EQ(announced.back(), "");
}

TEST_F(Hints, AHintGoesAfterItsHidePauseWhileTheMouseStays) {
  Application->HintHidePause = 80;
  MoveMouseOnto(save);
  ASSERT_TRUE(apploop::RunUntil([] { return ShownHint() == "Save"; }));
  ASSERT_TRUE(apploop::RunUntil([] { return !ShownHintWindow(); }));
  EXPECT_EQ(Application->HintControl(), save);  // no new hint until the mouse leaves it
  EXPECT_FALSE(apploop::RunUntil([] { return ShownHintWindow() != nullptr; }, 200));
}

TEST_F(Hints, TheActionsShortcutFollowsTheHint) {
  TAction action(nullptr);
  action.SetCaption("Save");
  action.SetHint("Save|Saves the file");
  action.SetShortCut(ShortCut('S', ssCtrl));
  action.OnExecute = [](TObject*) {};
  auto* linked = new TButton(form.get());
  linked->SetParent(form.get());
  linked->SetBounds(150, 10, 100, 30);
  linked->SetAction(&action);
  linked->SetShowHint(true);
  EXPECT_EQ(linked->Hint(), "Save|Saves the file");

  MoveMouseOnto(linked);
  ASSERT_TRUE(apploop::RunUntil([] { return ShownHint() == "Save (Ctrl+S)"; }));

  Application->HintShortCuts = false;
  MoveMouseOnto(save);
  ASSERT_TRUE(apploop::RunUntil([this] { return Application->HintControl() == save && !ShownHint().empty(); }));
  MoveMouseOnto(linked);
  ASSERT_TRUE(apploop::RunUntil([] { return ShownHint() == "Save"; }));
  linked->SetAction(nullptr);
}

TEST_F(Hints, AControlMayAskForAnotherHintWindowClass) {
  auto* fancy = new TFancyButton(form.get());
  fancy->SetParent(form.get());
  fancy->SetBounds(150, 10, 100, 30);
  fancy->SetHint("Fancy|A fancy button");
  fancy->SetShowHint(true);
  int before = TFancyHintWindow::activations;
  MoveMouseOnto(fancy);
  ASSERT_TRUE(apploop::RunUntil([] { return ShownHint() == "Fancy!"; }));
  EXPECT_EQ(Application->HintWindow()->ClassType(), TFancyHintWindow::StaticClass());
  EXPECT_EQ(TFancyHintWindow::activations, before + 1);

  // Back on a plain control, the plain class again.
  MoveMouseOnto(save);
  ASSERT_TRUE(apploop::RunUntil([] { return ShownHint() == "Save"; }));
  EXPECT_EQ(Application->HintWindow()->ClassType(), THintWindow::StaticClass());

  // A control that answers CM_HINTSHOW with a non-zero result shows no hint.
  fancy->refuse = true;
  MoveMouseOnto(fancy);
  ASSERT_TRUE(apploop::RunUntil([fancy] { return Application->HintControl() == fancy; }));
  ASSERT_FALSE(apploop::RunUntil([] { return ShownHintWindow() != nullptr; }, 300));
}

TEST_F(Hints, WithoutOnHintAHintActionCarriesTheHintAndWindowHooksSeeItFirst) {
  Application->SetHint("Saving");
  EXPECT_EQ(status->Caption(), "Saving");

  std::vector<std::string> hooked;
  THookHandle hook = Application->HookMainWindow([&](TMessage& m) {
    if (m.Msg != CM_ACTIONEXECUTE) return false;
    auto* action = reinterpret_cast<TBasicAction*>(m.LParam);
    if (action->ClassType() != THintAction::StaticClass()) return false;
    hooked.push_back(static_cast<THintAction*>(action)->Hint());
    m.Result = 1;
    return true;
  });
  Application->SetHint("Loading");
  Application->UnhookMainWindow(hook);
  EXPECT_EQ(hooked, (std::vector<std::string>{"Loading"}));
  EXPECT_EQ(status->Caption(), "Saving");  // the hook took it

  // With OnHint, the handler takes the change instead.
  std::string handled;
  Application->OnHint = [&](TObject*) { handled = Application->Hint(); };
  Application->SetHint("Done");
  EXPECT_EQ(handled, "Done");
  EXPECT_EQ(status->Caption(), "Saving");
}

}  // namespace
