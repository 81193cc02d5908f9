#include <gtest/gtest.h>

#include "tests/support/pump.h"
#include "vcl/application.h"
#include "vcl/utilwnd.h"

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

}  // namespace
