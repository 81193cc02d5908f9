#include <gtest/gtest.h>

#include "tests/support/pump.h"
#include "vcl/application.h"
#include "vcl/utilwnd.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override { InitApplication(); }
};

TEST_F(ApplicationTest, HiddenWindowCarriesTheTitle) {
  HWND wnd = Application->Handle();
  ASSERT_TRUE(IsWindow(wnd));
  EXPECT_FALSE(IsWindowVisible(wnd));
  char cls[64] = {}, text[64] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  EXPECT_STREQ(cls, "TApplication");
  EXPECT_EQ(Application->Title(), "vcl_tests");  // the program's name until set
  AnsiString old = Application->Title();
  Application->SetTitle("Kavo");
  GetWindowTextA(wnd, text, sizeof text);
  EXPECT_STREQ(text, "Kavo");
  EXPECT_EQ(FindWindowA("TApplication", "Kavo"), wnd);
  // Text put on the window behind the application's back is its title.
  SetWindowTextW(wnd, L"Kavo \u00e9t\u00e9");
  EXPECT_EQ(Application->Title(), "Kavo \xe9t\xe9");
  Application->SetTitle(old);
}

TEST_F(ApplicationTest, OnMessageSeesMessagesFirstAndWmNullIsIgnored) {
  std::vector<WPARAM> dispatched, filtered;
  HWND wnd = AllocateHWnd([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_USER + 7 || msg == WM_NULL) dispatched.push_back(msg == WM_NULL ? 999 : wp);
    return DefWindowProcA(w, msg, wp, lp);
  });
  Application->OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.hwnd != wnd) return;
    filtered.push_back(msg.message == WM_NULL ? 999 : msg.wParam);
    handled = msg.wParam == 2;
  };
  PostMessageA(wnd, WM_USER + 7, 1, 0);
  PostMessageA(wnd, WM_USER + 7, 2, 0);
  PostMessageA(wnd, WM_NULL, 0, 0);
  PostMessageA(wnd, WM_USER + 7, 3, 0);
  Application->ProcessMessages();
  Application->OnMessage = nullptr;
  DeallocateHWnd(wnd);
  EXPECT_EQ(filtered, (std::vector<WPARAM>{1, 2, 3}));
  EXPECT_EQ(dispatched, (std::vector<WPARAM>{1, 3}));
}

TEST_F(ApplicationTest, RunHandlesMessagesUntilTerminate) {
  TApplication second(nullptr);  // not the program's: Application stays as it is
  EXPECT_NE(Application, &second);
  int handled = 0;
  HWND wnd = AllocateHWnd([&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (msg == WM_USER + 3) {
      if (++handled == 3) second.Terminate();
      else PostMessageA(w, WM_USER + 3, 0, 0);
      return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
  });
  PostMessageA(wnd, WM_USER + 3, 0, 0);
  second.Run();
  EXPECT_TRUE(second.Terminated());
  EXPECT_EQ(handled, 3);
  DeallocateHWnd(wnd);
}

TEST_F(ApplicationTest, HandleExceptionRoutesByKind) {
  std::vector<std::string> reported;
  Application->OnException = [&](TObject* sender, const std::exception& e) {
    EXPECT_EQ(sender, Application);
    reported.push_back(e.what());
  };
  auto raise = [](auto e) {
    try {
      throw e;
    } catch (...) {
      Application->HandleException(Application);
    }
  };
  raise(EAbort("silent"));
  raise(EConvertError("not a number"));
  raise(42);
  Application->OnException = nullptr;
  EXPECT_EQ(reported, (std::vector<std::string>{"not a number", "Unknown exception"}));
}

TEST_F(ApplicationTest, ShowExceptionIsAMessageBoxCaptionedWithTheTitle) {
  AnsiString old = Application->Title();
  Application->SetTitle("Kavo");
  TMessageBoxWatcher watcher;
  try {
    throw Exception("Something went wrong.");
  } catch (...) {
    ApplicationHandleException(nullptr);  // the hook the window procedures use
  }
  Application->SetTitle(old);
  ASSERT_TRUE(watcher.Seen());
  EXPECT_EQ(watcher.Caption(), "Kavo");
  EXPECT_EQ(watcher.Text(), "Something went wrong.");
}

TEST_F(ApplicationTest, WindowHooksSeeTheApplicationWindowsMessagesFirst) {
  // Hooked before the window exists, a hook sees its creation; the title set meanwhile is
  // the window's text from the start.
  TApplication app(nullptr, TApplication::TNoHandle{});
  EXPECT_EQ(app.Handle(), nullptr);
  app.SetTitle("Pending title");
  std::vector<UINT> first, second;
  std::string textAtCreate;
  THookHandle h1 = app.HookMainWindow([&](TMessage& m) {
    first.push_back(m.Msg);
    if (m.Msg == WM_CREATE) {
      char text[64] = {};
      GetWindowTextA(app.Handle(), text, sizeof text);
      textAtCreate = text;
    }
    if (m.Msg == WM_USER + 1) {
      m.Result = 42;
      return true;  // handled: nobody after it sees the message
    }
    return false;
  });
  THookHandle h2 = app.HookMainWindow([&](TMessage& m) {
    second.push_back(m.Msg);
    return false;
  });
  app.CreateHandle();
  ASSERT_TRUE(IsWindow(app.Handle()));
  EXPECT_EQ(first.at(0), static_cast<UINT>(WM_NCCREATE));
  EXPECT_NE(std::find(first.begin(), first.end(), static_cast<UINT>(WM_CREATE)), first.end());
  EXPECT_EQ(second.size(), first.size());
  EXPECT_EQ(textAtCreate, "Pending title");

  EXPECT_EQ(SendMessageA(app.Handle(), WM_USER + 1, 0, 0), 42);
  EXPECT_EQ(first.back(), static_cast<UINT>(WM_USER + 1));
  EXPECT_NE(second.back(), static_cast<UINT>(WM_USER + 1));

  // A hook may unhook itself, and others, while it runs.
  int calls = 0;
  THookHandle h3 = 0;
  h3 = app.HookMainWindow([&](TMessage& m) {
    if (m.Msg != WM_USER + 2) return false;
    ++calls;
    app.UnhookMainWindow(h3);
    app.UnhookMainWindow(h2);
    return false;
  });
  size_t secondBefore = second.size();
  SendMessageA(app.Handle(), WM_USER + 2, 0, 0);
  SendMessageA(app.Handle(), WM_USER + 2, 0, 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(second.size(), secondBefore + 1);  // ran before the third hook took it away
  app.UnhookMainWindow(h1);
  size_t firstBefore = first.size();
  SendMessageA(app.Handle(), WM_USER + 2, 0, 0);
  EXPECT_EQ(first.size(), firstBefore);
}

TEST_F(ApplicationTest, TheDialogOfDialogHandleGetsItsKeys) {
  // A modeless dialog: Enter in one of its controls becomes its default command.
  std::vector<WPARAM> commands;
  HWND dialog = CreateHandlerWindow("TKeysDialog", "", WS_POPUP, WS_EX_CONTROLPARENT,
                                    [&](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
                                      if (msg == WM_COMMAND) commands.push_back(LOWORD(wp));
                                      return DefWindowProcA(w, msg, wp, lp);
                                    });
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 80, 20, dialog, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  Application->ProcessMessages();
  EXPECT_TRUE(commands.empty());

  Application->SetDialogHandle(dialog);
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  Application->ProcessMessages();
  Application->SetDialogHandle(nullptr);
  EXPECT_EQ(commands, (std::vector<WPARAM>{IDOK}));
  DestroyHandlerWindow(dialog);
}

}  // namespace
