// The tool bar, the track bar and mouse cursors: read from a stored description, shown by
// the common controls, driven by the mouse and keys, and written back the same.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>

#include "tests/vcl/test_windows.h"
#include "vcl/actions.h"
#include "vcl/comctrls_toolbar.h"
#include "vcl/comctrls_trackbar.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/imglist.h"
#include "vcl/pictures.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"

using namespace testwin;

namespace {

const char* kDescription = R"(object Root: TPanel
  Left = 0
  Top = 0
  Width = 300
  Height = 160
  object Glyphs: TImageList
    Height = 16
    Width = 16
  end
  object Bar: TToolBar
    Left = 0
    Top = 0
    Width = 300
    Height = 28
    ButtonWidth = 30
    Flat = True
    Images = Glyphs
    ShowHint = True
    object Later: TToolButton
      Left = 30
      Hint = 'Second button'
      Enabled = False
      ImageIndex = 1
    end
    object First: TToolButton
      Left = 0
      Hint = 'First button'
      ImageIndex = 0
    end
    object Gap: TToolButton
      Left = 60
      Style = tbsSeparator
    end
    object Toggle: TToolButton
      Left = 70
      ImageIndex = 2
      Style = tbsCheck
    end
  end
  object Slider: TTrackBar
    Left = 0
    Top = 40
    Width = 200
    Height = 30
    Max = 100
    Position = 30
    Frequency = 10
  end
  object Picture: TImage
    Left = 210
    Top = 40
    Width = 40
    Height = 40
    Cursor = crHandPoint
  end
  object Field: TEdit
    Left = 0
    Top = 90
    Width = 120
    Height = 21
    Cursor = crCross
  end
end
)";

class BarsAndCursors : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterExtControls();
    RegisterStdControls();
    RegisterImageLists();
    RegisterToolBarControls();
    RegisterTrackBarControl();
    InitScreen();
    root.reset(new TPanel(nullptr));
    ReadComponentData(kDescription, std::strlen(kDescription), root.get(), "bars.dfm");
    auto* glyphs = static_cast<TImageList*>(root->FindComponent("Glyphs"));
    for (int i = 0; i < 3; ++i) {
      TBitmap picture;
      picture.SetSize(16, 16);
      glyphs->AddMasked(&picture, clFuchsia);
    }
    bar = static_cast<TToolBar*>(root->FindComponent("Bar"));
    slider = static_cast<TTrackBar*>(root->FindComponent("Slider"));
  }
  void TearDown() override {
    if (Screen) Screen->SetCursor(crDefault);
    root.reset();
    host.reset();
  }
  void Show() {
    host.reset(ShownHost(320, 200));
    root->SetParent(host.get());
    Flush();
  }
  TToolButton* Button(const char* Name) { return static_cast<TToolButton*>(root->FindComponent(Name)); }
  // A click of the left button in the middle of a tool bar button, as the mouse gives it.
  void ClickButton(int Index) {
    const RECT r = bar->ButtonRect(Index);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar->Handle(), WM_LBUTTONUP, 0, at);
    Flush();
  }

  std::unique_ptr<THostWindow> host;
  std::unique_ptr<TPanel> root;
  TToolBar* bar = nullptr;
  TTrackBar* slider = nullptr;
};

TEST_F(BarsAndCursors, TheToolBarMakesItsButtonsInTheirPlaces) {
  Show();
  ASSERT_EQ(bar->ButtonCount(), 4);
  EXPECT_EQ(bar->Buttons(0), Button("First"));  // by their Left, not their reading order
  EXPECT_EQ(bar->Buttons(1), Button("Later"));
  HWND wnd = bar->Handle();
  EXPECT_TRUE(GetWindowLongA(wnd, GWL_STYLE) & TBSTYLE_FLAT);
  ASSERT_EQ(SendMessageA(wnd, TB_BUTTONCOUNT, 0, 0), 4);
  const struct {
    const char* name;
    bool separator;
    int image;
    bool enabled;
  } expected[] = {{"First", false, 0, true}, {"Later", false, 1, false}, {"Gap", true, -1, true}, {"Toggle", false, 2, true}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(expected[i].name);
    TBBUTTON b{};
    ASSERT_TRUE(SendMessageA(wnd, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)));
    EXPECT_EQ(b.idCommand, Button(expected[i].name)->CommandId());
    EXPECT_EQ((b.fsStyle & BTNS_SEP) != 0, expected[i].separator);
    if (expected[i].separator) continue;
    EXPECT_EQ(b.iBitmap, expected[i].image);
    EXPECT_EQ((b.fsState & TBSTATE_ENABLED) != 0, expected[i].enabled);
    // The control follows the native button's place.
    const RECT r = bar->ButtonRect(i);
    EXPECT_EQ(Button(expected[i].name)->BoundsRect(), r);
  }
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(wnd, TB_GETIMAGELIST, 0, 0)),
            static_cast<TImageList*>(root->FindComponent("Glyphs"))->Handle());
}

TEST_F(BarsAndCursors, ButtonsClickOnlyWhileEnabledAndShowTheirHints) {
  Show();
  std::vector<std::string> clicks;
  for (const char* name : {"First", "Later", "Toggle"})
    Button(name)->OnClick = [&clicks, name](TObject*) { clicks.push_back(name); };
  ClickButton(0);
  ClickButton(1);  // disabled: nothing
  EXPECT_EQ(clicks, (std::vector<std::string>{"First"}));
  Button("Later")->SetEnabled(true);
  ClickButton(1);
  ClickButton(3);
  EXPECT_EQ(clicks, (std::vector<std::string>{"First", "Later", "Toggle"}));
  EXPECT_TRUE(Button("Toggle")->Down());
  Button("First")->SetEnabled(false);
  ClickButton(0);
  EXPECT_EQ(clicks.size(), 3u);

  // The bar's tooltip asks for a button's text by its command number.
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide ? "wide" : "8-bit");
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(bar->Handle(), TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = Button("Later")->CommandId();
    info.hdr.code = wide ? TTN_GETDISPINFOW : TTN_GETDISPINFOA;
    SendMessageA(bar->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    if (wide)
      EXPECT_EQ(std::wstring(info.lpszText), L"Second button");
    else
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.lpszText)), "Second button");
  }
}

// A button linked to an action shows its caption (on a bar with captions), hint, enabling,
// Checked as Down, and picture, follows the action's changes, and runs it when clicked.
TEST_F(BarsAndCursors, AButtonLinkedToAnActionFollowsItInTheNativeBar) {
  Show();
  bar->SetShowCaptions(true);
  TAction action(nullptr);
  action.SetCaption("Open");
  action.SetHint("Open a file");
  action.SetChecked(true);
  action.SetEnabled(false);
  action.SetImageIndex(1);
  int runs = 0;
  action.OnExecute = [&runs](TObject*) { ++runs; };
  TToolButton* toggle = Button("Toggle");
  toggle->SetAction(&action);
  ASSERT_TRUE(toggle->ActionLink());
  EXPECT_EQ(toggle->ActionLink()->ClassType(), TToolButtonActionLink::StaticClass());

  HWND wnd = bar->Handle();
  const int id = toggle->CommandId();
  auto nativeText = [&] {
    wchar_t text[64] = {};
    SendMessageW(wnd, TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(text));
    return std::wstring(text);
  };
  auto nativeImage = [&] {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    SendMessageW(wnd, TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info));
    return info.iImage;
  };
  EXPECT_EQ(toggle->Caption(), "Open");
  EXPECT_EQ(toggle->Hint(), "Open a file");
  EXPECT_FALSE(toggle->Enabled());
  EXPECT_TRUE(toggle->Down());
  EXPECT_EQ(toggle->ImageIndex(), 1);
  EXPECT_EQ(nativeText(), L"Open");
  EXPECT_FALSE(SendMessageA(wnd, TB_ISBUTTONENABLED, id, 0));
  EXPECT_TRUE(SendMessageA(wnd, TB_ISBUTTONCHECKED, id, 0));
  EXPECT_EQ(nativeImage(), 1);

  action.SetCaption("Save");
  action.SetEnabled(true);
  action.SetChecked(false);
  action.SetImageIndex(0);
  EXPECT_EQ(nativeText(), L"Save");
  EXPECT_TRUE(SendMessageA(wnd, TB_ISBUTTONENABLED, id, 0));
  EXPECT_FALSE(SendMessageA(wnd, TB_ISBUTTONCHECKED, id, 0));
  EXPECT_EQ(toggle->ImageIndex(), 0);
  EXPECT_EQ(nativeImage(), 0);
  // What follows the action is the action's to store.
  EXPECT_FALSE(toggle->IsCaptionStored());

  ClickButton(bar->ButtonCount() - 1);
  EXPECT_EQ(runs, 1);
  toggle->SetAction(nullptr);
}

TEST_F(BarsAndCursors, TheTrackBarMovesInItsRangeAndTellsItsChanges) {
  Show();
  HWND wnd = slider->Handle();
  EXPECT_EQ(SendMessageA(wnd, TBM_GETRANGEMAX, 0, 0), 100);
  EXPECT_EQ(SendMessageA(wnd, TBM_GETPOS, 0, 0), 30);
  EXPECT_EQ(SendMessageA(wnd, TBM_GETNUMTICS, 0, 0), 11);  // every 10 from 0 to 100
  int changes = 0;
  slider->OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, slider);
    ++changes;
  };
  // The keyboard, as a user moves it.
  SetFocus(wnd);
  SendMessageA(wnd, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(wnd, WM_KEYUP, VK_RIGHT, 0);
  Flush();
  EXPECT_EQ(slider->Position(), 31);
  EXPECT_GE(changes, 1);
  changes = 0;
  slider->SetPosition(500);  // held inside the range
  EXPECT_EQ(slider->Position(), 100);
  EXPECT_EQ(changes, 1);
  slider->SetPosition(100);
  EXPECT_EQ(changes, 1);  // no move, no change
  slider->SetMax(50);
  EXPECT_EQ(slider->Position(), 50);

  slider->SetOrientation(trVertical);
  EXPECT_TRUE(GetWindowLongA(slider->Handle(), GWL_STYLE) & TBS_VERT);
  EXPECT_EQ(slider->Width(), 30);
  EXPECT_EQ(slider->Height(), 200);
  EXPECT_EQ(slider->Position(), 50);
}

// The cursor the window under a point chooses, as the system asks it.
HCURSOR CursorChosenAt(TWinControl* Control, POINT Client) {
  POINT screen = Client;
  ClientToScreen(Control->Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  ::SetCursor(nullptr);
  SendMessageA(Control->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control->Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

TEST_F(BarsAndCursors, ControlsShowTheirCursorAndTheScreensHourglassWins) {
  Show();
  auto* picture = static_cast<TControl*>(root->FindComponent("Picture"));
  auto* field = static_cast<TEdit*>(root->FindComponent("Field"));
  EXPECT_EQ(picture->Cursor(), crHandPoint);
  const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
  const HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
  const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  // The picture has no window: its parent shows the picture's cursor over it.
  EXPECT_EQ(CursorChosenAt(root.get(), POINT{230, 60}), hand);
  EXPECT_EQ(CursorChosenAt(field, POINT{5, 5}), cross);
  EXPECT_NE(CursorChosenAt(root.get(), POINT{150, 140}), hand);  // the panel's own: the class's

  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(CursorChosenAt(root.get(), POINT{230, 60}), wait);
  EXPECT_EQ(CursorChosenAt(field, POINT{5, 5}), wait);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(CursorChosenAt(root.get(), POINT{230, 60}), hand);

  // A slot of the program's own.
  Screen->SetCursors(100, CopyCursor(cross));
  field->SetCursor(100);
  EXPECT_EQ(CursorChosenAt(field, POINT{5, 5}), Screen->Cursors(100));
  EXPECT_EQ(Screen->Cursors(crHandPoint), hand);
}

TEST_F(BarsAndCursors, WrittenDescriptionsReadBackTheSame) {
  // A panel writes its controls only (a form writes its other components too): the image
  // list stays behind.
  bar->SetImages(nullptr);
  TMemoryStream stream;
  WriteComponent(&stream, root.get());
  stream.SetPosition(0);
  std::unique_ptr<TPanel> copy(new TPanel(nullptr));
  ReadComponent(&stream, copy.get(), "written");
  auto* later = static_cast<TToolButton*>(copy->FindComponent("Later"));
  auto* toggle = static_cast<TToolButton*>(copy->FindComponent("Toggle"));
  auto* copiedBar = static_cast<TToolBar*>(copy->FindComponent("Bar"));
  auto* copiedSlider = static_cast<TTrackBar*>(copy->FindComponent("Slider"));
  ASSERT_TRUE(later && toggle && copiedBar && copiedSlider);
  EXPECT_FALSE(later->Enabled());
  EXPECT_EQ(later->ImageIndex(), 1);
  EXPECT_EQ(later->Hint(), "Second button");
  EXPECT_EQ(toggle->Style(), tbsCheck);
  EXPECT_EQ(copiedBar->ButtonCount(), 4);
  EXPECT_TRUE(copiedBar->Flat());
  EXPECT_EQ(copiedBar->ButtonWidth(), 30);
  EXPECT_EQ(copiedSlider->Max(), 100);
  EXPECT_EQ(copiedSlider->Position(), 30);
  EXPECT_EQ(copiedSlider->Frequency(), 10);
  EXPECT_EQ(static_cast<TControl*>(copy->FindComponent("Picture"))->Cursor(), crHandPoint);
  EXPECT_EQ(static_cast<TControl*>(copy->FindComponent("Field"))->Cursor(), crCross);
}

}  // namespace
