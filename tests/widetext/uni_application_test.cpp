// The wide application: wide characters through the framework's 8-bit message loop, the
// wide title and the wide hint.
#include <gtest/gtest.h>

#include <functional>

#include "tests/widetext/ansi_platform.h"
#include "tests/widetext/wide_form_controls.h"
#include "widetext/codecs.h"

using namespace widetest;

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

// The text the system keeps for a window (and shows), asking no window procedure.
WideString InternalText(HWND wnd) {
  wchar_t buffer[256] = {};
  InternalGetWindowText(wnd, buffer, 256);
  return buffer;
}

// Runs the application's own loop (idle step included) until done() holds or the time is
// up; a thread timer keeps the idle step from waiting for good.
bool PumpApplicationUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
  UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
  DWORD start = GetTickCount();
  bool ok = false;
  while (!(ok = done()) && GetTickCount() - start < timeoutMs) Application->HandleMessage();
  KillTimer(nullptr, timer);
  return ok;
}

// A plain (8-bit) main form with a wide edit on it.
struct PlainMainForm {
  TForm* form = nullptr;
  TUniEdit* edit = nullptr;
  PlainMainForm() {
    Application->CreateForm(form);
    form->SetBounds(120, 120, 320, 160);
    edit = new TUniEdit(form);
    edit->SetParent(form);
    edit->SetBounds(20, 20, 240, 24);
    form->Show();
    edit->SetFocus();
    Application->ProcessMessages();
  }
};

TEST(WideApplication, ACharacterAboveTheCodePageReachesAWideEditOnAPlainMainForm) {
  TestApplication app;
  PlainMainForm main;
  int charsSeen = 0;
  Application->OnMessage = [&](MSG& msg, bool&) {
    if (msg.message == WM_CHAR) ++charsSeen;
  };
  PostMessageW(main.edit->WindowHandle(), WM_CHAR, 0x4E2D, 1);  // 中
  PostMessageW(main.edit->WindowHandle(), WM_CHAR, 0x00E9, 1);  // é takes the framework's path
  Application->ProcessMessages();
  Application->OnMessage = nullptr;
  EXPECT_EQ(main.edit->Text(), U8("中é"));
  EXPECT_EQ(charsSeen, 2);  // each seen once, by the hook or by the loop
  // The main form is not a wide one: the idle hint update rides on a control put on it.
  ASSERT_NE(WideApplication->IdleEventControl(), nullptr);
  EXPECT_EQ(WideApplication->IdleEventControl()->Parent(), main.form);
}

TEST(WideApplication, AMessageHandledByOnMessageIsNotDispatchedAgain) {
  TestApplication app;
  PlainMainForm main;
  int charsSeen = 0;
  Application->OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message != WM_CHAR) return;
    ++charsSeen;
    handled = true;
  };
  PostMessageW(main.edit->WindowHandle(), WM_CHAR, 0x03A9, 1);
  Application->ProcessMessages();
  Application->OnMessage = nullptr;
  EXPECT_EQ(charsSeen, 1);
  EXPECT_EQ(main.edit->Text(), L"");
}

TEST(WideApplication, AWideMainFormNeedsNoIdleControl) {
  TestApplication app;
  TWideTestForm* form = nullptr;
  Application->CreateForm(form);
  PostMessageW(Application->Handle(), WM_NULL, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(WideApplication->IdleEventControl(), nullptr);
}

TEST(WideApplication, TheTitleSetBeforeTheWindowExistsShowsOnceItDoes) {
  TestApplication app(false);
  const WideString title = U8("Kavo — Ελληνικά 日本語");
  ASSERT_EQ(Application->Handle(), nullptr);
  WideApplication->SetTitle(title);
  EXPECT_EQ(WideApplication->Title(), title);
  EXPECT_EQ(Application->Title(), WideToAnsi(title));

  Application->CreateHandle();
  EXPECT_EQ(InternalText(Application->Handle()), title);
  EXPECT_EQ(WideApplication->Title(), title);

  const WideString other = U8("Κλείσιμο");
  WideApplication->SetTitle(other);
  EXPECT_EQ(InternalText(Application->Handle()), other);
  EXPECT_EQ(Application->Title(), WideToAnsi(other));  // message boxes take the 8-bit title
}

TEST(WideApplication, OffTheUnicodePlatformTheTitleIs8Bit) {
  TestApplication app(false);
  AnsiPlatformScope ansi;
  const WideString title = U8("Kavo — Ελληνικά");
  WideApplication->SetTitle(title);
  Application->CreateHandle();
  EXPECT_EQ(InternalText(Application->Handle()), AnsiToWide(WideToAnsi(title)));
  EXPECT_EQ(WideApplication->Title(), title);  // the wide copy, in step with the 8-bit title
  Application->SetTitle("plain");
  EXPECT_EQ(WideApplication->Title(), L"plain");
}

TEST(WideApplication, SettingChangesAreNoted) {
  TestApplication app;
  DWORD before = GetTickCount();
  SendMessageW(Application->Handle(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_GE(WideApplication->SettingChangeTime(), before);
  EXPECT_EQ(LastSettingChangeTime, WideApplication->SettingChangeTime());
}

// The wide hint beside Application.Hint, with the rule that keeps them in step.
TEST(WideApplication, TheWideHintStaysInStepWithTheApplicationsHint) {
  TestApplication app;
  int hints = 0;
  Application->OnHint = [&](TObject*) { ++hints; };
  WideApplication->SetHint(U8("Ωμέγα"));
  EXPECT_EQ(Application->Hint(), WideToAnsi(U8("Ωμέγα")));
  EXPECT_EQ(hints, 1);
  // The same 8-bit form: the application still hears of a change.
  WideApplication->SetHint(U8("Ψψψψψ"));
  EXPECT_GE(hints, 2);
  EXPECT_EQ(Application->Hint(), WideToAnsi(U8("Ψψψψψ")));
  Application->SetHint("plain");
  EXPECT_EQ(WideApplication->Hint(), L"plain");
  Application->OnHint = nullptr;
}

// The mouse rests on a wide control: the hint window shows the short part, the
// application's hint is the long part.
TEST(WideApplication, TheHintWindowShowsTheShortPartAndTheApplicationHintTheLongOne) {
  TestApplication app;
  PlainMainForm main;
  const WideString hint = U8("Ωμέγα|Το μακρύ μέρος της υπόδειξης");
  main.edit->SetHint(hint);
  main.edit->SetShowHint(true);
  Application->HintPause = 1;
  POINT pos = main.edit->ClientToScreen(POINT{40, 10});
  SetCursorPos(pos.x, pos.y);
  PostMessageW(main.edit->WindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 10));
  ASSERT_TRUE(PumpApplicationUntil([] {
    THintWindow* w = Application->HintWindow();
    return w && w->HandleAllocated() && IsWindowVisible(w->WindowHandle());
  }));
  THintWindow* window = Application->HintWindow();
  EXPECT_TRUE(window->InheritsFrom(TUniCustomHintWindow::StaticClass()));
  EXPECT_TRUE(IsWindowUnicode(window->WindowHandle()));
  EXPECT_EQ(UnicodeWindowText(window->WindowHandle()), U8("Ωμέγα"));
  ASSERT_TRUE(PumpApplicationUntil([&] { return Application->Hint() == WideToAnsi(WideLongHint(hint)); }));
  EXPECT_EQ(WideApplication->Hint(), U8("Το μακρύ μέρος της υπόδειξης"));
  Application->CancelHint();
}

}  // namespace
