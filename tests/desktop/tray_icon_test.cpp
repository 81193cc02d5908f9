// The tray icon: the records it hands the shell (watched in front of the real call), the
// messages the shell sends its own window, icon cycling on real timer ticks, and the
// application window it watches for minimising.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop/system_version.h"
#include "desktop/tray_icon.h"
#include "tests/support/pump.h"
#include "tests/vcl/test_windows.h"
#include "vcl/application.h"
#include "vcl/imglist.h"
#include "vcl/menus.h"
#include "vcl/streaming.h"

namespace {

using namespace tray_icon_rules;

TEST(TrayIconRules, RecordSizesAndTipLengthsFollowTheSystemsRecord) {
  EXPECT_EQ(NotifyDataSize(true), sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(NotifyDataSize(false), DWORD(NOTIFYICONDATAW_V1_SIZE));
  EXPECT_EQ(TipLength(true), 127u);
  EXPECT_EQ(TipLength(false), 63u);

  wchar_t field[128];
  struct Case {
    size_t Length, Max, Expected;
  } cases[] = {{200, 127, 127}, {200, 63, 63}, {5, 127, 5}, {0, 63, 0}, {200, 255, 127}};
  for (const Case& c : cases) {
    std::fill(std::begin(field), std::end(field), L'#');
    CopyField(field, 128, WideString(c.Length, L'\x4e2d'), c.Max);
    EXPECT_EQ(wcslen(field), c.Expected) << c.Length << " " << c.Max;
    EXPECT_EQ(field[127], L'\0');
  }
}

struct TCall {
  DWORD Message;
  NOTIFYICONDATAW Data;
};

class TRecordingPopup : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  int Shown = 0;
  void Popup(int, int) override { ++Shown; }
};

struct TrayIcon : ::testing::Test {
  std::vector<TCall> calls;
  bool answer = true;
  decltype(TrayNotifyIcon) real = TrayNotifyIcon;
  std::vector<std::string> log;

  void SetUp() override {
    InitApplication();
    TrayNotifyIcon = [this](DWORD Message, NOTIFYICONDATAW* Data) {
      calls.push_back({Message, *Data});
      // The real notification area answers too (Wine keeps its icons without showing them).
      BOOL ok = real(Message, Data);
      return answer && (ok || Message == NIM_MODIFY);
    };
  }
  void TearDown() override { TrayNotifyIcon = real; }

  void Attach(TdkTrayIcon& tray) {
    tray.OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) { log.push_back("down " + Button(b)); };
    tray.OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) { log.push_back("up " + Button(b)); };
    tray.OnMouseMove = [this](TObject*, TShiftState, int, int) { log.push_back("move"); };
    tray.OnClick = [this](TObject*) { log.push_back("click"); };
    tray.OnDblClick = [this](TObject*) { log.push_back("dblclick"); };
    tray.OnPopupMenu = [this](TObject*) { log.push_back("popup"); };
    tray.OnShow = [this](TObject*) { log.push_back("show"); };
    tray.OnHide = [this](TObject*) { log.push_back("hide"); };
    tray.OnMinimize = [this](TObject*) { log.push_back("minimize"); };
    tray.OnBalloonShow = [this](TObject*) { log.push_back("balloon shown"); };
    tray.OnBalloonTimeout = [this](TObject*) { log.push_back("balloon timed out"); };
    tray.OnBalloonClick = [this](TObject*) { log.push_back("balloon clicked"); };
  }
  static std::string Button(TMouseButton b) { return b == mbLeft ? "left" : b == mbRight ? "right" : "middle"; }
  // What the shell sends the icon's window.
  static LRESULT Send(TdkTrayIcon& tray, LPARAM What) {
    return SendMessageA(tray.WindowHandle(), WM_TRAYICONNOTIFY, 0, What);
  }
};

TEST_F(TrayIcon, ShowingChangingAndHidingHandTheShellTheRecord) {
  TdkTrayIcon tray(nullptr);
  tray.SetName("Tray1");
  Attach(tray);
  tray.Icon()->LoadSystemIcon(IDI_APPLICATION);
  std::string hint(200, 'h');
  tray.SetHint(hint);
  EXPECT_TRUE(calls.empty()) << "nothing reaches the shell before the icon is shown";

  tray.SetVisible(true);
  ASSERT_EQ(calls.size(), 1u);
  const NOTIFYICONDATAW& added = calls[0].Data;
  EXPECT_EQ(calls[0].Message, DWORD(NIM_ADD));
  ASSERT_TRUE(SystemVersion().IsWin2000OrLater);
  EXPECT_EQ(added.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(added.hWnd, tray.WindowHandle());
  EXPECT_EQ(added.uID, 0u);
  EXPECT_EQ(added.uFlags, UINT(NIF_MESSAGE | NIF_TIP | NIF_ICON));
  EXPECT_EQ(added.uCallbackMessage, 1235u);
  EXPECT_EQ(added.hIcon, tray.Icon()->Handle());
  EXPECT_EQ(WideString(added.szTip), WideString(127, L'h'));
  EXPECT_TRUE(tray.Visible());

  tray.SetShowHint(false);
  EXPECT_EQ(calls.back().Message, DWORD(NIM_MODIFY));
  EXPECT_EQ(calls.back().Data.szTip[0], L'\0');

  tray.SetIconID(7);  // a new identity: out under the old one, in under the new one
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[2].Message, DWORD(NIM_DELETE));
  EXPECT_EQ(calls[2].Data.uID, 0u);
  EXPECT_EQ(calls[3].Message, DWORD(NIM_ADD));
  EXPECT_EQ(calls[3].Data.uID, 7u);

  tray.SetVisible(false);
  EXPECT_EQ(calls.back().Message, DWORD(NIM_DELETE));
  EXPECT_EQ(calls.back().Data.uFlags, UINT(NIF_MESSAGE | NIF_TIP));
  EXPECT_FALSE(tray.Visible());
  EXPECT_EQ(log, (std::vector<std::string>{"show", "hide", "show", "hide"}));

  // The shell refusing the icon is an error of the component, named after it.
  answer = false;
  try {
    tray.SetVisible(true);
    ADD_FAILURE() << "no exception";
  } catch (const EdkTrayIcon& e) {
    EXPECT_STREQ(e.what(), "Tray1.InsertToTray failed");
  }
  EXPECT_FALSE(tray.Visible());
}

TEST_F(TrayIcon, TheShellsMouseMessagesBecomeEventsInOrder) {
  TdkTrayIcon tray(nullptr);
  Attach(tray);
  TRecordingPopup menu(nullptr);
  auto* item = new TMenuItem(&menu);
  item->SetDefault(true);
  item->OnClick = [this](TObject*) { log.push_back("default item"); };
  menu.Items()->Add(item);
  tray.SetPopupMenu(&menu);

  struct Case {
    const char* Name;
    std::vector<LPARAM> Messages;
    bool PopupByLeft;
    std::vector<std::string> Expected;
    int Popups;
  } cases[] = {
      {"left click", {WM_LBUTTONDOWN, WM_LBUTTONUP}, false, {"down left", "up left", "click"}, 0},
      {"left click, menu by left", {WM_LBUTTONDOWN, WM_LBUTTONUP}, true, {"down left", "up left", "click", "popup"}, 1},
      {"release without press", {WM_LBUTTONUP}, false, {"up left"}, 0},
      {"right click", {WM_RBUTTONDOWN, WM_RBUTTONUP}, false, {"down right", "up right", "popup"}, 1},
      {"middle click", {WM_MBUTTONDOWN, WM_MBUTTONUP}, false, {"down middle", "up middle"}, 0},
      {"move", {WM_MOUSEMOVE}, false, {"move"}, 0},
      {"double click", {WM_LBUTTONDBLCLK}, false, {"default item", "dblclick"}, 0},
      {"double click, menu by left", {WM_LBUTTONDBLCLK}, true, {"dblclick"}, 0},
      {"balloons", {NIN_BALLOONSHOW, NIN_BALLOONTIMEOUT, NIN_BALLOONUSERCLICK}, false,
       {"balloon shown", "balloon timed out", "balloon clicked"}, 0},
  };
  for (const Case& c : cases) {
    log.clear();
    menu.Shown = 0;
    tray.PopupByLeft = c.PopupByLeft;
    for (LPARAM m : c.Messages) EXPECT_EQ(Send(tray, m), 0);
    EXPECT_EQ(log, c.Expected) << c.Name;
    EXPECT_EQ(menu.Shown, c.Popups) << c.Name;
  }
  EXPECT_EQ(menu.PopupComponent(), &tray);

  // A disabled icon ignores the mouse; ending the session is always agreed to.
  tray.SetEnabled(false);
  log.clear();
  Send(tray, WM_LBUTTONDOWN);
  Send(tray, WM_RBUTTONUP);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(SendMessageA(tray.WindowHandle(), WM_QUERYENDSESSION, 0, 0), 1);

  // A freed menu is forgotten.
  tray.SetEnabled(true);
  {
    TRecordingPopup shortLived(nullptr);
    tray.SetPopupMenu(&shortLived);
  }
  EXPECT_EQ(tray.PopupMenu(), nullptr);
  Send(tray, WM_RBUTTONUP);
}

TEST_F(TrayIcon, AfterTheShellRestartsAShownIconComesBackAndNothingElseHappens) {
  TdkTrayIcon tray(nullptr);
  Attach(tray);
  tray.MinimizeToTray = true;
  tray.Icon()->LoadSystemIcon(IDI_APPLICATION);
  UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  SendMessageA(tray.WindowHandle(), taskbarCreated, 0, 0);
  EXPECT_TRUE(calls.empty()) << "a hidden icon stays hidden";

  tray.SetVisible(true);
  calls.clear();
  log.clear();
  SendMessageA(tray.WindowHandle(), taskbarCreated, 0, 0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Message, DWORD(NIM_ADD));
  EXPECT_EQ(calls[0].Data.uFlags & NIF_ICON, UINT(NIF_ICON));
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(tray.Visible());
}

TEST_F(TrayIcon, ABalloonCarriesItsTextsTypeAndTimeout) {
  TdkTrayIcon tray(nullptr);
  tray.InfoTitle = std::string(80, 't');
  tray.InfoText = std::string(300, 'x');
  tray.InfoType = tiiWarning;
  tray.InfoTimeout = 5000;
  tray.ShowBalloonHint();
  ASSERT_EQ(calls.size(), 1u);
  const NOTIFYICONDATAW& d = calls[0].Data;
  EXPECT_EQ(calls[0].Message, DWORD(NIM_MODIFY));
  EXPECT_EQ(d.uFlags, UINT(NIF_INFO));
  EXPECT_EQ(d.dwInfoFlags, DWORD(NIIF_WARNING));
  EXPECT_EQ(d.uTimeout, 5000u);
  EXPECT_EQ(WideString(d.szInfo), WideString(255, L'x'));
  EXPECT_EQ(WideString(d.szInfoTitle), WideString(63, L't'));
}

TEST_F(TrayIcon, CyclingRunsThroughTheImageListAndStartsAgain) {
  TImageList images(nullptr, 16, 16);
  for (LPCSTR id : {IDI_APPLICATION, IDI_WARNING, IDI_ERROR}) {
    TIcon icon;
    icon.LoadSystemIcon(id);
    images.AddIcon(&icon);
  }
  TdkTrayIcon tray(nullptr);
  tray.SetImageList(&images);
  tray.SetImageIndex(2);
  tray.SetVisible(true);
  EXPECT_FALSE(tray.IsIconStored());
  std::vector<int> seen;
  tray.OnCycleIcons = [&](TObject*) { seen.push_back(tray.ImageIndex()); };
  tray.SetCycleInterval(10);
  tray.SetCycleIcons(true);
  EXPECT_TRUE(PumpUntil([&] { return seen.size() >= 3; }, 5000));
  tray.SetCycleIcons(false);
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ((std::vector<int>(seen.begin(), seen.begin() + 3)), (std::vector<int>{0, 1, 2}));
  // Each new picture went to the shell.
  int modifies = 0;
  for (const TCall& c : calls) modifies += c.Message == NIM_MODIFY;
  EXPECT_GE(modifies, 3);
}

TEST_F(TrayIcon, MinimisingTheApplicationTakesItToTheTray) {
  HWND app = Application->Handle();
  LONG_PTR before = GetWindowLongPtrA(app, GWLP_WNDPROC);
  {
    auto first = std::make_unique<TdkTrayIcon>(nullptr);
    auto second = std::make_unique<TdkTrayIcon>(nullptr);
    Attach(*second);
    EXPECT_NE(GetWindowLongPtrA(app, GWLP_WNDPROC), before);
    second->MinimizeToTray = true;
    SendMessageA(app, WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_TRUE(log.empty());
    SendMessageA(app, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"show", "minimize"}));
    EXPECT_TRUE(second->Visible());
    EXPECT_FALSE(first->Visible());
    // The icons go in the order they came; the window keeps working in between.
    first.reset();
    EXPECT_NE(GetWindowLongPtrA(app, GWLP_WNDPROC), before);
    log.clear();
    second->MinimizeToTray = false;  // or hiding it would bring the application back
    second->SetVisible(false);
    second->MinimizeToTray = true;
    SendMessageA(app, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"hide", "show", "minimize"}));
  }
  EXPECT_EQ(GetWindowLongPtrA(app, GWLP_WNDPROC), before);
  // The application window still answers as before.
  EXPECT_TRUE(IsWindow(app));
  EXPECT_EQ(SendMessageA(app, WM_NULL, 0, 0), 0);
}

// Records where the icon would show or hide the program.
class TRecordingTray : public TdkTrayIcon {
 public:
  TRecordingTray(TComponent* AOwner, std::vector<std::string>& Log) : TdkTrayIcon(AOwner), FLog(Log) {}
  void ShowApplication() override { FLog.push_back("show application"); }
  void HideApplication() override { FLog.push_back("hide application"); }

 private:
  std::vector<std::string>& FLog;
};

TEST_F(TrayIcon, WithMinimizeToTrayADoubleClickTogglesTheProgramAndHidingBringsItBack) {
  std::unique_ptr<testwin::THostWindow> form(new testwin::THostWindow(nullptr));
  auto* tray = new TRecordingTray(form.get(), log);
  Attach(*tray);
  tray->MinimizeToTray = true;
  Send(*tray, WM_LBUTTONDBLCLK);
  form->SetVisible(true);
  Send(*tray, WM_LBUTTONDBLCLK);
  EXPECT_EQ(log, (std::vector<std::string>{"show application", "dblclick", "hide application", "dblclick"}));

  // Taking the icon away brings the program back, and its form.
  tray->SetVisible(true);
  form->SetVisible(false);
  log.clear();
  tray->SetVisible(false);
  EXPECT_EQ(log, (std::vector<std::string>{"hide", "show application"}));
  EXPECT_TRUE(form->Visible());
}

TEST_F(TrayIcon, AStoredVisibleIconIsShownWhenLoaded) {
  TdkTrayIcon source(nullptr);
  source.SetHint("Kavo");
  source.SetVisible(true);
  TMemoryStream stream;
  WriteComponent(&stream, &source);
  calls.clear();

  TdkTrayIcon loaded(nullptr);
  ReadComponentData(stream.Memory(), static_cast<size_t>(stream.Size()), &loaded, "test");
  EXPECT_TRUE(loaded.Visible());
  EXPECT_EQ(loaded.Hint(), "Kavo");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Message, DWORD(NIM_ADD));
  EXPECT_EQ(WideString(calls[0].Data.szTip), L"Kavo");
}

}  // namespace

#include "desktop/desktop_controls.h"

namespace {

TEST(DesktopShellClasses, AreKnownToStoredFormsByName) {
  RegisterDesktopControls();
  for (const char* name : {"TdkFileOperation", "TdkFileAssociation", "TdkFileStorage", "TdkWav", "TdkTrayIcon",
                           "TdkStartButtonProperties", "TdkColorPicker"}) {
    const TMetaClass* cls = GetClass(name);
    ASSERT_NE(cls, nullptr) << name;
    ASSERT_NE(cls->Create, nullptr) << name;
    std::unique_ptr<TComponent> made(cls->Create(nullptr));
    EXPECT_EQ(made->ClassName(), name);
    // The designer's note is never stored.
    EXPECT_FALSE(IsStoredProp(made.get(), "About")) << name;
  }
}

}  // namespace
