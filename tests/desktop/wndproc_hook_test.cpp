#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop/wndproc_hook.h"
#include "tests/support/forms.h"
#include "tests/support/pump.h"
#include "vcl/extctrls.h"

namespace {

// A plain top-level window made through the A or the W entry points; its own procedure counts
// the messages that reach it.
struct TPlainWindow {
  static inline int BaseMessages = 0;
  static LRESULT CALLBACK ProcA(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_USER + 1 || m == WM_LBUTTONDOWN) ++BaseMessages;
    return DefWindowProcA(w, m, wp, lp);
  }
  static LRESULT CALLBACK ProcW(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_USER + 1 || m == WM_LBUTTONDOWN) ++BaseMessages;
    return DefWindowProcW(w, m, wp, lp);
  }
  explicit TPlainWindow(bool unicode) : Unicode(unicode) {
    if (unicode) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"KavoHookTestW";
      RegisterClassW(&wc);
      Wnd = CreateWindowExW(0, L"KavoHookTestW", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
    } else {
      WNDCLASSA wc{};
      wc.lpfnWndProc = ProcA;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "KavoHookTestA";
      RegisterClassA(&wc);
      Wnd = CreateWindowExA(0, "KavoHookTestA", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
    }
  }
  ~TPlainWindow() {
    if (IsWindow(Wnd)) DestroyWindow(Wnd);
  }
  WNDPROC Proc() const {
    return reinterpret_cast<WNDPROC>(Unicode ? GetWindowLongPtrW(Wnd, GWLP_WNDPROC) : GetWindowLongPtrA(Wnd, GWLP_WNDPROC));
  }
  bool Unicode;
  HWND Wnd = nullptr;
};

// A hook that counts the probe messages it sees.
struct TCountingHook {
  explicit TCountingHook(HWND wnd) : Hook(new TdkWndProcHook(nullptr)) {
    Hook->OnMessageBefore = [this](TObject*, TMessage& Msg, bool&) {
      if (Msg.Msg == WM_USER + 1) ++Seen;
    };
    Hook->SetHandle(wnd);
    Hook->SetActive(true);
  }
  std::unique_ptr<TdkWndProcHook> Hook;
  int Seen = 0;
};

class WndProcHooks : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    InitApplication();
    TPlainWindow::BaseMessages = 0;
  }
};

TEST_P(WndProcHooks, TheSecondHookKeepsWorkingWhenTheFirstGoes) {
  TPlainWindow window(GetParam());
  ASSERT_TRUE(IsWindow(window.Wnd));
  ASSERT_EQ(IsWindowUnicode(window.Wnd) != FALSE, GetParam());
  const WNDPROC base = window.Proc();
  TCountingHook first(window.Wnd), second(window.Wnd);
  EXPECT_EQ(window.Proc(), second.Hook->EntryProc());
  EXPECT_EQ(second.Hook->PreviousProc(), first.Hook->EntryProc());
  EXPECT_EQ(first.Hook->PreviousProc(), base);
  SendMessageA(window.Wnd, WM_USER + 1, 0, 0);
  EXPECT_EQ(first.Seen, 1);
  EXPECT_EQ(second.Seen, 1);
  EXPECT_EQ(TPlainWindow::BaseMessages, 1);

  first.Hook->SetActive(false);
  EXPECT_EQ(window.Proc(), second.Hook->EntryProc());
  EXPECT_EQ(second.Hook->PreviousProc(), base);
  SendMessageA(window.Wnd, WM_USER + 1, 0, 0);
  EXPECT_EQ(first.Seen, 1);
  EXPECT_EQ(second.Seen, 2);
  EXPECT_EQ(TPlainWindow::BaseMessages, 2);

  second.Hook->SetActive(false);
  EXPECT_EQ(window.Proc(), base);
}

// Another subclasser put on top of a hook must not be cut off when the hook goes.
LRESULT CALLBACK OuterProc(HWND w, UINT m, WPARAM wp, LPARAM lp);
WNDPROC gOuterPrevious = nullptr;
bool gOuterUnicode = false;
int gOuterSeen = 0;
LRESULT CALLBACK OuterProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_USER + 1) ++gOuterSeen;
  return gOuterUnicode ? CallWindowProcW(gOuterPrevious, w, m, wp, lp) : CallWindowProcA(gOuterPrevious, w, m, wp, lp);
}

TEST_P(WndProcHooks, AHookUnderAnotherSubclasserKeepsForwarding) {
  TPlainWindow window(GetParam());
  TCountingHook lower(window.Wnd), hook(window.Wnd);
  gOuterSeen = 0;
  gOuterUnicode = GetParam();
  gOuterPrevious = reinterpret_cast<WNDPROC>(
      GetParam() ? SetWindowLongPtrW(window.Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc))
                 : SetWindowLongPtrA(window.Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
  hook.Hook->SetActive(false);
  EXPECT_EQ(window.Proc(), &OuterProc) << "the outer subclasser stays";
  SendMessageA(window.Wnd, WM_USER + 1, 0, 0);
  EXPECT_EQ(gOuterSeen, 1);
  EXPECT_EQ(hook.Seen, 0);
  EXPECT_EQ(lower.Seen, 1) << "the hook below is still reached";
  EXPECT_EQ(TPlainWindow::BaseMessages, 1);
  // The lower hook goes too; the outer one still reaches the window's own procedure.
  lower.Hook.reset();
  SendMessageA(window.Wnd, WM_USER + 1, 0, 0);
  EXPECT_EQ(gOuterSeen, 2);
  EXPECT_EQ(TPlainWindow::BaseMessages, 2);
}

TEST_P(WndProcHooks, TextPassesInTheWindowsOwnCharacterSet) {
  TPlainWindow window(GetParam());
  TCountingHook hook(window.Wnd);
  if (GetParam()) {
    // Greek is outside the 8-bit code page: an 8-bit hook in between would turn it into "?".
    const std::wstring text = L"\x039A\x03B1\x03BB\x03B7\x03BC\x03AD\x03C1\x03B1";
    SendMessageW(window.Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    wchar_t back[64] = {};
    GetWindowTextW(window.Wnd, back, 64);
    EXPECT_EQ(std::wstring(back), text);
  } else {
    SendMessageA(window.Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("caf\xE9"));
    char back[64] = {};
    GetWindowTextA(window.Wnd, back, 64);
    EXPECT_STREQ(back, "caf\xE9");
  }
}

TEST_P(WndProcHooks, HandlersSeeMessagesBeforeAndAfter) {
  TPlainWindow window(GetParam());
  TdkWndProcHook hook(nullptr);
  std::vector<std::string> order;
  hook.OnMessageBefore = [&](TObject* Sender, TMessage& Msg, bool& Handled) {
    EXPECT_EQ(Sender, &hook);
    if (Msg.Msg != WM_USER + 1) return;
    order.push_back("before");
    Handled = Msg.WParam == 1;
    if (Handled) Msg.Result = 42;
  };
  hook.OnMessageAfter = [&](TObject*, TMessage& Msg, bool& Handled) {
    if (Msg.Msg == WM_USER + 1) order.push_back(Handled ? "after handled" : "after");
  };
  hook.SetHandle(window.Wnd);
  hook.SetActive(true);
  EXPECT_EQ(SendMessageA(window.Wnd, WM_USER + 1, 1, 0), 42);
  EXPECT_EQ(TPlainWindow::BaseMessages, 0) << "a handled message goes no further";
  SendMessageA(window.Wnd, WM_USER + 1, 0, 0);
  EXPECT_EQ(TPlainWindow::BaseMessages, 1);
  EXPECT_EQ(order, (std::vector<std::string>{"before", "after handled", "before", "after"}));
}

TEST_P(WndProcHooks, AutoDragTurnsAPressIntoAMoveByTheCaption) {
  TPlainWindow window(GetParam());
  TdkWndProcHook hook(nullptr);
  WPARAM command = 0;
  hook.OnMessageBefore = [&](TObject*, TMessage& Msg, bool& Handled) {
    // The move itself would enter the system's modal move loop: it is recorded, not run.
    if (Msg.Msg == WM_SYSCOMMAND) {
      command = Msg.WParam;
      Handled = true;
    }
  };
  hook.SetHandle(window.Wnd);
  hook.AutoDrag = true;
  hook.SetActive(true);
  SendMessageA(window.Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(command, 0xF012u);
  EXPECT_EQ(TPlainWindow::BaseMessages, 0);
  hook.AutoDrag = false;
  SendMessageA(window.Wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(TPlainWindow::BaseMessages, 1);
}

INSTANTIATE_TEST_SUITE_P(AnsiAndUnicode, WndProcHooks, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Unicode" : "Ansi"; });

TEST(WndProcHookComponent, ARecreatedFormIsHookedAgain) {
  InitApplication();
  std::unique_ptr<TForm, FormFree> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* hook = new TdkWndProcHook(form.get());  // no WinControl: the owner's window
  int changes = 0, seen = 0;
  hook->OnChangeHandle = [&](TObject*) { ++changes; };
  hook->OnMessageBefore = [&](TObject*, TMessage& Msg, bool&) {
    if (Msg.Msg == WM_USER + 1) ++seen;
  };
  hook->SetActive(true);
  const HWND first = form->Handle();
  EXPECT_EQ(hook->HookedWindow(), first);
  form->RecreateWnd();
  const HWND second = form->Handle();
  ASSERT_NE(second, first);
  ASSERT_TRUE(PumpUntil([&] { return changes == 1; }));
  EXPECT_EQ(hook->HookedWindow(), second);
  EXPECT_TRUE(hook->Active());
  SendMessageA(second, WM_USER + 1, 0, 0);
  EXPECT_EQ(seen, 1);
}

TEST(WndProcHookComponent, AFreedControlIsForgotten) {
  InitApplication();
  std::unique_ptr<TForm, FormFree> form(TCustomForm::CreateNew<TForm>(nullptr));
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  TdkWndProcHook hook(nullptr);
  int controlChanges = 0;
  hook.OnChangeWinControl = [&](TObject*) { ++controlChanges; };
  hook.SetWinControl(panel);
  hook.SetActive(true);
  EXPECT_EQ(hook.HookedWindow(), panel->Handle());
  panel->Free();
  EXPECT_EQ(hook.WinControl(), nullptr);
  EXPECT_EQ(controlChanges, 2);
  EXPECT_EQ(hook.HookedWindow(), nullptr) << "nothing left to hook";
}

}  // namespace
