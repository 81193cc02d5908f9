// Unicode windows of framework controls: the window class, wide text through the 8-bit
// framework, character messages, the interceptor's life and the 8-bit fallback.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/widetext/ansi_platform.h"
#include "tests/widetext/wide_controls.h"
#include "widetext/char_messages.h"

using namespace testwin;
using namespace widetest;

namespace {

// Greek and Japanese lie outside code page 1252; the French letters inside it.
const WideString kMixed = L"\x0395\x03bb\x03bb\x03ac\x03b4\x03b1 \x65e5\x672c\x8a9e fran\x00e7" L"ais";

WideString WindowTextW(HWND wnd) { return UnicodeWindowText(wnd); }

std::unique_ptr<THostWindow> Host() { return std::unique_ptr<THostWindow>(ShownHost()); }

template <class T>
T* Child(TWinControl* parent) {
  auto* c = new T(parent);
  c->SetParent(parent);
  return c;
}

TEST(UnicodeWindows, ClassIsRegisteredOnceAndAgainWhenLeftWithAnotherProcedure) {
  auto host = Host();
  const wchar_t* name = L"TWideEdit.UnicodeClass";
  auto* first = Child<TWideEdit>(host.get());
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfoW(FrameworkInstance(), name, &wc));
  EXPECT_EQ(wc.lpfnWndProc, &UnicodeInitWndProc);
  // While a window of the class lives the class cannot be unregistered: a second window
  // only comes into being when the class is taken as it is.
  auto* second = Child<TWideEdit>(host.get());
  EXPECT_TRUE(second->HandleAllocated());
  delete first;
  delete second;

  // A class of that name with another procedure is replaced.
  ASSERT_TRUE(UnregisterClassW(name, FrameworkInstance()));
  WNDCLASSW stranger{};
  stranger.lpfnWndProc = &DefWindowProcW;
  stranger.hInstance = FrameworkInstance();
  stranger.lpszClassName = name;
  ASSERT_NE(RegisterClassW(&stranger), 0);
  auto* third = Child<TWideEdit>(host.get());
  ASSERT_TRUE(GetClassInfoW(FrameworkInstance(), name, &wc));
  EXPECT_EQ(wc.lpfnWndProc, &UnicodeInitWndProc);
  HWND wnd = third->Handle();
  EXPECT_TRUE(IsWindowUnicode(wnd));
  EXPECT_EQ(FindControl(wnd), third);
  wchar_t className[64] = {};
  GetClassNameW(wnd, className, 64);
  EXPECT_STREQ(className, name);
}

// A caption set before the window exists shows in full once it does, and survives a new
// window (a style change), for a system control and for a class of the framework's own.
struct CaptionCase {
  const char* name;
  std::function<TWinControl*(TWinControl* parent)> make;
  std::function<void(TWinControl*, const WideString&)> setText;
  std::function<void(TWinControl*)> changeStyle;
};

class CaptionBeforeWindow : public testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionBeforeWindow, ShowsInFullAndSurvivesRecreation) {
  auto host = Host();
  const CaptionCase& c = GetParam();
  TWinControl* control = c.make(host.get());
  control->SetVisible(false);
  control->SetParent(host.get());
  c.setText(control, kMixed);
  ASSERT_FALSE(control->HandleAllocated());
  EXPECT_EQ(UniControl_GetText(control), kMixed);
  // The framework's copy is the 8-bit form.
  EXPECT_EQ(control->Text(), WideToAnsi(kMixed));

  control->SetVisible(true);
  HWND first = control->WindowHandle();
  ASSERT_TRUE(first);
  EXPECT_TRUE(IsWindowUnicode(first));
  EXPECT_EQ(WindowTextW(first), kMixed);
  EXPECT_EQ(UniControl_GetText(control), kMixed);

  c.changeStyle(control);
  HWND second = control->WindowHandle();
  ASSERT_TRUE(second);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(WindowTextW(second), kMixed);
  EXPECT_EQ(FindControl(second), control);

  // Destroyed without a new window: the text waits in the control.
  control->SetVisible(false);
  control->SetParent(nullptr);
  EXPECT_FALSE(control->HandleAllocated());
  EXPECT_EQ(UniControl_GetText(control), kMixed);
  EXPECT_EQ(control->Text(), WideToAnsi(kMixed));
}

INSTANTIATE_TEST_SUITE_P(
    UnicodeWindows, CaptionBeforeWindow,
    testing::Values(
        CaptionCase{"Edit", [](TWinControl* p) -> TWinControl* { return new TWideEdit(p); },
                    [](TWinControl* w, const WideString& s) { static_cast<TWideEdit*>(w)->SetText(s); },
                    [](TWinControl* w) { static_cast<TWideEdit*>(w)->SetCentered(true); }},
        CaptionCase{"OwnClass", [](TWinControl* p) -> TWinControl* { return new TWidePanel(p); },
                    [](TWinControl* w, const WideString& s) { static_cast<TWidePanel*>(w)->SetCaption(s); },
                    [](TWinControl* w) { static_cast<TWidePanel*>(w)->SetBorder(true); }}),
    [](const testing::TestParamInfo<CaptionCase>& info) { return std::string(info.param.name); });

TEST(UnicodeWindows, FrameworkTextGoesThroughTheSystemsConversion) {
  auto host = Host();
  auto* edit = Child<TWideEdit>(host.get());
  HWND wnd = edit->Handle();
  // The framework writes and reads 8-bit buffers: the system converts them for the window.
  edit->TControl::SetText("Gr\xfc\xdf" "e");
  EXPECT_EQ(WindowTextW(wnd), L"Gr\x00fc\x00df" L"e");
  SetWindowTextW(wnd, kMixed.c_str());
  EXPECT_EQ(edit->TControl::Text(), WideToAnsi(kMixed));
  EXPECT_EQ(edit->Text(), kMixed);
}

TEST(UnicodeWindows, OnlyARealChangeOfTheWindowTextIsNoticed) {
  auto host = Host();
  auto* edit = Child<TWideEdit>(host.get());
  edit->SetText(kMixed);
  NoticeCounter notices(edit, CM_TEXTCHANGED);
  edit->SetText(kMixed);
  EXPECT_EQ(notices.count, 0);
  const WideString other = L"\x65e5\x672c";
  edit->SetText(other);
  EXPECT_EQ(notices.count, 1);
  EXPECT_EQ(WindowTextW(edit->WindowHandle()), other);
}

// The synced pair of a window-less control.
TEST(UnicodeWindows, WindowLessCaptionStaysInStepWithTheFrameworksCopy) {
  auto host = Host();
  auto* label = new TWideLabel(host.get());
  label->SetParent(host.get());
  label->SetCaption(L"\x03b1\x03b2");
  EXPECT_EQ(label->Caption(), L"\x03b1\x03b2");
  EXPECT_EQ(label->Text(), WideToAnsi(L"\x03b1\x03b2"));

  {
    // The same 8-bit form ("??"): the framework still hears of a change.
    NoticeCounter notices(label, CM_TEXTCHANGED);
    label->SetCaption(L"\x03b3\x03b4");
    EXPECT_GE(notices.count, 1);
    EXPECT_EQ(label->Caption(), L"\x03b3\x03b4");
    EXPECT_EQ(label->Text(), WideToAnsi(L"\x03b3\x03b4"));
  }
  {
    NoticeCounter notices(label, CM_TEXTCHANGED);
    label->SetCaption(L"\x03b3\x03b4");
    EXPECT_EQ(notices.count, 0);
  }
  // Changed behind the wide layer's back: the 8-bit caption wins.
  label->TControl::SetText("plain");
  EXPECT_EQ(label->Caption(), L"plain");
}

TEST(UnicodeWindows, WideHintsStayInStepAndComeFromTheNearestParentThatHasOne) {
  auto host = Host();
  auto* panel = Child<TWidePanel>(host.get());
  auto* edit = Child<TWideEdit>(panel);
  auto* label = new TWideLabel(panel);
  label->SetParent(panel);
  UniControl_SetHint(panel, L"\x03a0\x03b1|\x03bc\x03b1\x03ba\x03c1\x03cd");
  edit->SetHint(L"\x65e5");
  EXPECT_EQ(edit->TControl::Hint(), WideToAnsi(L"\x65e5"));
  EXPECT_EQ(WideHintOfControl(edit), L"\x65e5");
  EXPECT_EQ(WideHintOfControl(label), L"\x03a0\x03b1|\x03bc\x03b1\x03ba\x03c1\x03cd");
  EXPECT_EQ(WideHintOfControl(host.get()), L"");
  edit->TControl::SetHint("changed");
  EXPECT_EQ(edit->Hint(), L"changed");
}

TEST(UnicodeWindows, ShortAndLongHints) {
  struct {
    const wchar_t* hint;
    const wchar_t* shortPart;
    const wchar_t* longPart;
  } cases[] = {
      {L"\x03b1|\x03b2", L"\x03b1", L"\x03b2"},
      {L"whole", L"whole", L"whole"},
      {L"a|b|c", L"a", L"b|c"},
      {L"|long", L"", L"long"},
      {L"short|", L"short", L""},
      {L"", L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WideShortHint(c.hint), c.shortPart) << testing::PrintToString(WideString(c.hint));
    EXPECT_EQ(WideLongHint(c.hint), c.longPart) << testing::PrintToString(WideString(c.hint));
  }
}

// List controls: wide items reach a wide list whole, any other list in 8 bits.
class TAnsiList : public TCustomListControl {
 public:
  using TCustomListControl::TCustomListControl;
  void AddItem(const AnsiString& item, TObject* object) override { items.emplace_back(item, object); }
  std::vector<std::pair<AnsiString, TObject*>> items;
};

class TWideList : public TAnsiList, public IWideCustomListControl {
 public:
  using TAnsiList::TAnsiList;
  using TAnsiList::AddItem;
  void AddItem(const WideString& item, TObject* object) override { wideItems.emplace_back(item, object); }
  std::vector<std::pair<WideString, TObject*>> wideItems;
};

TEST(UnicodeWindows, WideListItemsGoWholeToWideListsOnly) {
  TComponent owner(nullptr);
  TAnsiList plain(nullptr);
  TWideList wide(nullptr);
  WideListAddItem(&plain, kMixed, &owner);
  WideListAddItem(&wide, kMixed, &owner);
  ASSERT_EQ(plain.items.size(), 1u);
  EXPECT_EQ(plain.items[0].first, WideToAnsi(kMixed));
  EXPECT_EQ(plain.items[0].second, &owner);
  EXPECT_TRUE(wide.items.empty());
  ASSERT_EQ(wide.wideItems.size(), 1u);
  EXPECT_EQ(wide.wideItems[0].first, kMixed);
  EXPECT_EQ(wide.wideItems[0].second, &owner);
}

// ---------------------------------------------------------------------------
// Characters

TEST(CharMessages, AboveLatin1TheCodeWaitsInTheHighWord) {
  struct {
    WORD code;
    WPARAM safe;
  } cases[] = {{0x4E2D, 0x4E2D00FF}, {0x0100, 0x010000FF}, {0x00FF, 0x00FF}, {'a', 'a'}, {0, 0}};
  for (const auto& c : cases) {
    TMessage m{WM_CHAR, c.code, 0x1E0001, 0};
    MakeCharMessageAnsiSafe(m);
    EXPECT_EQ(m.WParam, c.safe) << c.code;
    EXPECT_EQ(WideCharOfCharMessage(m), static_cast<WideChar>(c.code));
    RestoreCharMessage(m);
    EXPECT_EQ(m.WParam, c.code);
    EXPECT_EQ(m.LParam, 0x1E0001);
    TMessage set{WM_CHAR, 'x', 0, 0};
    SetWideCharOfCharMessage(set, static_cast<WideChar>(c.code));
    EXPECT_EQ(set.WParam, c.safe);
  }
  // A handler that put another character in place of 255 has the last word.
  TMessage replaced{WM_CHAR, 0x4E2D00FF, 0, 0};
  replaced.WParam = (replaced.WParam & ~static_cast<WPARAM>(0xFFFF)) | 'x';
  EXPECT_EQ(WideCharOfCharMessage(replaced), L'x');
  RestoreCharMessage(replaced);
  EXPECT_EQ(replaced.WParam, static_cast<WPARAM>('x'));
}

TEST(CharMessages, BrokenPreconditionsAreInternalErrors) {
  TMessage notChar{WM_KEYDOWN, 'A', 0, 0};
  EXPECT_THROW(MakeCharMessageAnsiSafe(notChar), EUniInternalError);
  EXPECT_THROW(RestoreCharMessage(notChar), EUniInternalError);
  TMessage twice{WM_CHAR, 0x4E2D, 0, 0};
  MakeCharMessageAnsiSafe(twice);
  try {
    MakeCharMessageAnsiSafe(twice);
    FAIL() << "no assertion";
  } catch (const EUniInternalError& e) {
    EXPECT_NE(std::string(e.what()).find("UniControls"), std::string::npos) << e.what();
  }
}

// A typed character reaches the framework's 8-bit key handlers (255 above Latin-1) and
// the window class as itself, unless a handler changed or took it.
TEST(UnicodeWindows, TypedCharactersReachKeyHandlersAnsiSafeAndTheWindowWhole) {
  struct {
    WideChar typed;
    int replaceWith;  // -1: leave the key as it is
    unsigned char seen;
    const wchar_t* text;
  } cases[] = {
      {0x4E2D, -1, 0xFF, L"\x4e2d"},
      {0x03A9, -1, 0xFF, L"\x03a9"},
      {0x00E9, -1, 0xE9, L"\x00e9"},
      {0x4E2D, 'x', 0xFF, L"x"},
      {0x4E2D, 0, 0xFF, L""},
  };
  auto host = Host();
  for (const auto& c : cases) {
    auto* edit = Child<TWideEdit>(host.get());
    int seen = -1;
    edit->OnKeyPress = [&](TObject*, char& key) {
      seen = static_cast<unsigned char>(key);
      if (c.replaceWith >= 0) key = static_cast<char>(c.replaceWith);
    };
    SendMessageW(edit->Handle(), WM_CHAR, c.typed, 1);
    EXPECT_EQ(seen, c.seen) << static_cast<int>(c.typed);
    EXPECT_EQ(edit->Text(), c.text) << static_cast<int>(c.typed);
    delete edit;
  }
}

TEST(UnicodeWindows, ImeCharactersBecomeCharactersBeforeXP) {
  auto host = Host();
  auto* edit = Child<TWideEdit>(host.get());
  bool saved = PlatformIsXPOrLater;
  PlatformIsXPOrLater = false;
  SendMessageW(edit->Handle(), WM_IME_CHAR, 0x4E2D, 1);
  PlatformIsXPOrLater = saved;
  EXPECT_EQ(edit->Text(), L"\x4e2d");
}

TEST(UnicodeWindows, NotifyFormatFollowsTheAskingWindow) {
  auto host = Host();
  auto* panel = Child<TWidePanel>(host.get());
  auto* wide = Child<TWideEdit>(panel);
  auto* plain = Child<TLineEdit>(panel);
  ASSERT_FALSE(IsWindowUnicode(plain->Handle()));
  EXPECT_EQ(SendMessageW(panel->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(wide->Handle()), NF_QUERY),
            NFR_UNICODE);
  EXPECT_EQ(SendMessageW(panel->Handle(), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(plain->Handle()), NF_QUERY),
            NFR_ANSI);
}

// ---------------------------------------------------------------------------
// The interceptor's life

TEST(WinControlTraps, ANewWindowOfTheSameControlTakesItsTrapBack) {
  auto host = Host();
  auto* edit = Child<TWideEdit>(host.get());
  HWND first = edit->Handle();
  TWinControlTrap* trap = FindWinControlTrap(edit);
  ASSERT_NE(trap, nullptr);
  EXPECT_EQ(trap->Handle(), first);
  TFreeWatcher watcher(trap);
  edit->SetCentered(true);
  EXPECT_EQ(FindWinControlTrap(edit), trap);
  EXPECT_EQ(trap->Handle(), edit->WindowHandle());
  EXPECT_FALSE(watcher.freed);
  delete edit;
  EXPECT_TRUE(watcher.freed);
}

// A control that frees itself while one of its messages is being handled.
class TSelfFreeingEdit : public TWideEdit {
 public:
  using TWideEdit::TWideEdit;
  static constexpr UINT kFreeYourself = WM_APP + 77;
  TFreeWatcher* watcher = nullptr;
  bool trapAliveInside = false;
  void WndProc(TMessage& m) override {
    if (m.Msg == kFreeYourself) {
      TFreeWatcher* w = watcher;
      delete this;
      w->Tag = w->freed ? 0 : 1;  // the trap still lives while its message runs
      m.Result = 42;
      return;
    }
    TWideEdit::WndProc(m);
  }
};

TEST(WinControlTraps, AControlFreedDuringItsOwnMessageFreesItsTrapAfterwards) {
  auto host = Host();
  auto* edit = Child<TSelfFreeingEdit>(host.get());
  HWND wnd = edit->Handle();
  TFreeWatcher watcher(FindWinControlTrap(edit));
  edit->watcher = &watcher;
  EXPECT_EQ(SendMessageW(wnd, TSelfFreeingEdit::kFreeYourself, 0, 0), 42);
  EXPECT_EQ(watcher.Tag, 1);
  EXPECT_TRUE(watcher.freed);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(host->ControlCount(), 0);
}

TEST(WinControlTraps, WideChildrenGoWithTheirParent) {
  auto host = Host();
  auto* panel = Child<TWidePanel>(host.get());
  auto* edit = Child<TWideEdit>(panel);
  edit->SetText(kMixed);
  HWND editWnd = edit->Handle();
  TFreeWatcher panelTrap(FindWinControlTrap(panel));
  TFreeWatcher editTrap(FindWinControlTrap(edit));
  delete panel;
  EXPECT_TRUE(panelTrap.freed);
  EXPECT_TRUE(editTrap.freed);
  EXPECT_FALSE(IsWindow(editWnd));
  EXPECT_EQ(host->ControlCount(), 0);
}

// Someone hooked in front of the trap: the trap stays behind them, once (twice in the
// chain, the framework's text messages would be re-sent without end and a typed
// character made 8-bit-safe twice).
TEST(WinControlTraps, AMethodInFrontOfTheTrapKeepsItsPlaceAcrossNewWindows) {
  auto host = Host();
  auto* edit = Child<TWideEdit>(host.get());
  MessageRecorder recorder(edit);
  edit->SetCentered(true);
  ASSERT_FALSE(IsWinControlTrapMethod(edit->WindowProc));
  SendMessageW(edit->Handle(), WM_CHAR, 0x4E2D, 1);
  EXPECT_EQ(std::count(recorder.seen.begin(), recorder.seen.end(), static_cast<UINT>(WM_CHAR)), 1);
  EXPECT_EQ(edit->Text(), L"\x4e2d");
  edit->TControl::SetText("Gr\xfc\xdf" "e");
  EXPECT_EQ(WindowTextW(edit->WindowHandle()), L"Gr\x00fc\x00df" L"e");
}

// A method in front of the trap reads the text (8-bit, through the framework) while the
// system is setting it: the system's message is still passed on as the system's.
TEST(WinControlTraps, AMethodInFrontMayReadTheTextWhileTheSystemSetsIt) {
  auto host = Host();
  auto* edit = Child<TWideEdit>(host.get());
  edit->TControl::SetText("old");
  AnsiString seen;
  TWndMethod previous = edit->WindowProc;
  edit->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SETTEXT) seen = edit->TControl::Text();
    previous(m);
  };
  SetWindowTextW(edit->WindowHandle(), kMixed.c_str());
  edit->WindowProc = previous;
  EXPECT_EQ(seen, "old");
  EXPECT_EQ(WindowTextW(edit->WindowHandle()), kMixed);
}

TEST(WinControlTraps, AMethodHookedBeforeTheWindowExistsStaysBehindTheTrap) {
  auto host = Host();
  auto* edit = new TWideEdit(host.get());
  MessageRecorder recorder(edit);
  edit->SetParent(host.get());
  ASSERT_TRUE(edit->HandleAllocated());
  EXPECT_TRUE(IsWinControlTrapMethod(edit->WindowProc));
  edit->TControl::SetText("abc");
  EXPECT_EQ(WindowTextW(edit->WindowHandle()), L"abc");
  EXPECT_TRUE(recorder.Saw(WM_SETTEXT));
}

TEST(WinControlTraps, SubclassingAnAnsiWindowIsAnInternalError) {
  auto host = Host();
  auto* plain = Child<TLineEdit>(host.get());
  ASSERT_TRUE(plain->HandleAllocated());
  try {
    SubClassUnicodeControl(plain, "x");
    FAIL() << "no error";
  } catch (const EUniInternalError& e) {
    EXPECT_STREQ(e.what(), "Internal Error: SubClassUnicodeControl.Control is not Unicode.");
  }
}

// ---------------------------------------------------------------------------
// Without wide entry points

TEST(UnicodeWindowsAnsiPath, WindowsAre8BitAndTextIsConverted) {
  AnsiPlatformScope ansi;
  auto host = Host();
  auto* edit = new TWideEdit(host.get());
  edit->SetText(kMixed);
  edit->SetParent(host.get());
  HWND wnd = edit->Handle();
  EXPECT_FALSE(IsWindowUnicode(wnd));
  EXPECT_EQ(FindControl(wnd), edit);
  EXPECT_EQ(WindowText(wnd), WideToAnsi(kMixed));
  EXPECT_EQ(edit->Text(), AnsiToWide(WideToAnsi(kMixed)));
  edit->SetHint(L"\x03b1|b");
  EXPECT_EQ(edit->TControl::Hint(), WideToAnsi(L"\x03b1|b"));
  EXPECT_EQ(edit->Hint(), AnsiToWide(WideToAnsi(L"\x03b1|b")));
  auto* label = new TWideLabel(host.get());
  label->SetParent(host.get());
  label->SetCaption(L"caf\x00e9 \x65e5");
  EXPECT_EQ(label->TControl::Text(), WideToAnsi(L"caf\x00e9 \x65e5"));
  EXPECT_EQ(label->Caption(), AnsiToWide(WideToAnsi(L"caf\x00e9 \x65e5")));
}

}  // namespace
