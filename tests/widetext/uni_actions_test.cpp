// Wide actions: wide captions and hints carried to linked wide controls and menu items,
// the wide hint action, and wide text on the clipboard.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "widetext/platform.h"
#include "tests/widetext/wide_form_controls.h"
#include "widetext/codecs.h"
#include "widetext/uni_actions.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_clipboard.h"
#include "widetext/uni_combo_box_ex.h"
#include "widetext/uni_tool_button.h"
#include "widetext/uni_edits.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_labels.h"
#include "widetext/uni_list_view.h"
#include "widetext/uni_page_control.h"
#include "widetext/uni_panels.h"
#include "widetext/uni_menus.h"
#include "tests/support/forms.h"
#include "tests/support/window_shot.h"
#include "widetext/uniexceptions.h"

using namespace widetest;

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }


class WideActions : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    button = new TUniButton(form.get());
    button->SetName("Button");
    button->SetParent(form.get());
    button->HandleNeeded();
  }
  TestApplication app;
  std::unique_ptr<TForm, FormFree> form;
  TUniButton* button = nullptr;
};

TEST_F(WideActions, ACaptionChangedOnlyOutsideTheCodePageReachesEveryLinkedClient) {
  TUniAction action(nullptr);
  action.SetCaption(U8("Ελληνικά"));
  action.SetHint(U8("日本|日本語のヒント"));
  button->SetAction(&action);
  EXPECT_TRUE(dynamic_cast<TUniButtonActionLink*>(button->ActionLink()));
  TUniPopupMenu menu(nullptr);
  auto* item = new TUniMenuItem(&menu);
  menu.Items()->Add(item);
  item->SetAction(&action);
  EXPECT_EQ(UnicodeWindowText(button->WindowHandle()), U8("Ελληνικά"));
  EXPECT_EQ(button->Caption(), U8("Ελληνικά"));
  EXPECT_EQ(UniControl_GetHint(button), U8("日本|日本語のヒント"));
  EXPECT_EQ(item->Caption(), U8("Ελληνικά"));
  EXPECT_EQ(item->Hint(), U8("日本|日本語のヒント"));

  // "日本語" and "中文字" are both "???" in 8 bits: only the wide texts tell them apart.
  action.SetCaption(U8("日本語"));
  EXPECT_EQ(action.Caption(), U8("日本語"));
  EXPECT_EQ(button->Caption(), U8("日本語"));
  EXPECT_EQ(item->Caption(), U8("日本語"));
  std::vector<WideString> seen;
  action.OnChange = [&](TObject*) { seen.push_back(button->Caption()); };
  action.SetCaption(U8("中文字"));
  EXPECT_EQ(button->Caption(), U8("中文字"));
  EXPECT_EQ(item->Caption(), U8("中文字"));
  // Through the blank step of the change, the linked control never showed an empty text.
  ASSERT_FALSE(seen.empty());
  for (const WideString& shown : seen) EXPECT_FALSE(shown.empty());
  action.OnChange = nullptr;
  WCHAR text[64] = {};
  GetMenuStringW(menu.Handle(), item->Command(), text, 64, MF_BYCOMMAND);
  EXPECT_EQ(WideString(text), U8("中文字"));
  // What follows the action is not the control's to store.
  EXPECT_FALSE(button->IsCaptionStored());

  action.SetHint(U8("中文|中文提示"));
  EXPECT_EQ(UniControl_GetHint(button), U8("中文|中文提示"));
  EXPECT_EQ(item->Hint(), U8("中文|中文提示"));
  button->SetAction(nullptr);
}

TEST_F(WideActions, DefaultsCheckedKeepOwnTextsButACaptionEqualToTheNameCountsAsNone) {
  TUniAction action(nullptr);
  action.SetCaption(U8("Ωmega"));
  action.SetHint(U8("Δ"));
  button->SetCaption(U8("Button"));  // its Name
  ApplyWideActionTexts(button, &action, true);
  EXPECT_EQ(button->Caption(), U8("Ωmega"));
  EXPECT_EQ(UniControl_GetHint(button), U8("Δ"));
  button->SetCaption(U8("自分の"));
  UniControl_SetHint(button, U8("自分"));
  ApplyWideActionTexts(button, &action, true);
  EXPECT_EQ(button->Caption(), U8("自分の"));
  EXPECT_EQ(UniControl_GetHint(button), U8("自分"));
  // A plain action's texts are its 8-bit ones; plain actions are left to the framework.
  TAction plain(nullptr);
  plain.SetCaption("Plain");
  EXPECT_EQ(WideActionCaption(&plain), U8("Plain"));
  ApplyWideActionTexts(button, &plain, false);
  EXPECT_EQ(button->Caption(), U8("自分の"));
}

// Every shipped wide control linked to a wide action shows the action's texts whole, with
// the link its kind of control needs, and follows a change of the caption.
struct LinkedControlCase {
  const char* Name;
  std::function<TControl*(TForm*)> Make;
  const TMetaClass* Link;
  bool HasCaption;
};

template <class T>
TControl* Placed(TForm* form, int top) {
  auto* control = new T(form);
  control->SetParent(form);
  control->SetBounds(8, top, 220, 24);
  return control;
}

TEST_F(WideActions, EveryWideControlTakesTheWholeTextsOfItsAction) {
  form->SetBounds(0, 0, 480, 360);
  const std::vector<LinkedControlCase> cases = {
      {"button", [](TForm* f) { return Placed<TUniButton>(f, 8); }, TUniButtonActionLink::StaticClass(), true},
      {"check box", [](TForm* f) { return Placed<TUniCheckBox>(f, 36); }, TUniButtonActionLink::StaticClass(), true},
      {"radio button", [](TForm* f) { return Placed<TUniRadioButton>(f, 64); }, TUniButtonActionLink::StaticClass(),
       true},
      {"bit button", [](TForm* f) { return Placed<TUniBitBtn>(f, 92); }, TUniButtonActionLink::StaticClass(), true},
      {"speed button", [](TForm* f) { return Placed<TUniSpeedButton>(f, 120); },
       TUniSpeedButtonActionLink::StaticClass(), true},
      {"label", [](TForm* f) { return Placed<TUniLabel>(f, 150); }, TUniControlActionLink::StaticClass(), true},
      {"static text", [](TForm* f) { return Placed<TUniStaticText>(f, 176); },
       TUniWinControlActionLink::StaticClass(), true},
      {"group box", [](TForm* f) { return Placed<TUniGroupBox>(f, 204); }, TUniWinControlActionLink::StaticClass(),
       true},
      {"panel", [](TForm* f) { return Placed<TUniPanel>(f, 236); }, TUniWinControlActionLink::StaticClass(), true},
      {"tab sheet",
       [](TForm* f) {
         auto* pages = static_cast<TUniPageControl*>(Placed<TUniPageControl>(f, 268));
         pages->SetBounds(240, 8, 230, 120);
         auto* sheet = new TUniTabSheet(f);
         sheet->SetPageControl(pages);
         return static_cast<TControl*>(sheet);
       },
       TUniWinControlActionLink::StaticClass(), true},
      {"form",
       [](TForm* f) {
         TUniForm* wide = TCustomForm::CreateNew<TUniForm>(f);
         wide->HandleNeeded();
         return static_cast<TControl*>(wide);
       },
       TUniWinControlActionLink::StaticClass(), true},
      {"list view", [](TForm* f) { return Placed<TUniListView>(f, 300); }, TUniListViewActionLink::StaticClass(),
       false},
      {"image", [](TForm* f) { return Placed<TUniImage>(f, 300); }, TUniControlActionLink::StaticClass(), false},
      {"tool button",
       [](TForm* f) {
         auto* bar = static_cast<TToolBar*>(Placed<TToolBar>(f, 330));
         bar->SetShowCaptions(true);
         auto* button = new TUniToolButton(f);
         button->SetParent(bar);
         return static_cast<TControl*>(button);
       },
       TUniToolButtonActionLink::StaticClass(), true},
      {"extended combo box", [](TForm* f) { return Placed<TUniComboBoxEx>(f, 300); },
       TUniComboBoxExActionLink::StaticClass(), true},
  };
  std::vector<std::unique_ptr<TUniAction>> actions;
  std::vector<TControl*> linked;
  for (const LinkedControlCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto& action = actions.emplace_back(std::make_unique<TUniAction>(nullptr));
    action->SetCaption(U8("Ελληνικά"));
    action->SetHint(U8("日本|日本語のヒント"));
    TControl* control = c.Make(form.get());
    linked.push_back(control);
    control->SetAction(action.get());
    ASSERT_TRUE(control->ActionLink());
    EXPECT_EQ(control->ActionLink()->ClassType(), c.Link);
    EXPECT_EQ(UniControl_GetHint(control), U8("日本|日本語のヒント"));
    if (!c.HasCaption) continue;
    EXPECT_EQ(UniControl_GetText(control), U8("Ελληνικά"));
    if (HasUnicodeWindow(control)) EXPECT_EQ(UnicodeWindowText(static_cast<TWinControl*>(control)->Handle()), U8("Ελληνικά"));
    action->SetCaption(U8("Αρχεία"));
    EXPECT_EQ(UniControl_GetText(control), U8("Αρχεία"));
    action->SetHint(U8("中文|中文提示"));
    EXPECT_EQ(UniControl_GetHint(control), U8("中文|中文提示"));
  }
  form->Show();
  UpdateWindow(form->Handle());
  if (const char* path = std::getenv("KAVO_ACTION_SHOT")) SaveWindowShot(form->Handle(), path);
  for (TControl* control : linked) control->SetAction(nullptr);
}

TEST(WideActionLinks, AWideLinkMustDescendFromTheLinkTheFrameworkMakes) {
  TestApplication app;
  TUniButton button(nullptr);
  TUniToolButton toolButton(nullptr);
  TUniComboBoxEx comboEx(nullptr);
  const struct {
    TControl* Control;
    const TMetaClass* Inherited;
    const TMetaClass* Wide;
  } cases[] = {
      {&button, TButtonActionLink::StaticClass(), TUniButtonActionLink::StaticClass()},
      {&toolButton, TToolButtonActionLink::StaticClass(), TUniToolButtonActionLink::StaticClass()},
      {&comboEx, TComboBoxExActionLink::StaticClass(), TUniComboBoxExActionLink::StaticClass()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Wide->Name);
    EXPECT_EQ(WideActionLinkClassFor(c.Control, c.Inherited), c.Wide);
    EXPECT_THROW(WideActionLinkClassFor(c.Control, TWinControlActionLink::StaticClass()), EUniInternalError);
  }
  // Tool buttons are window-less: their wide link is not a windowed control's.
  EXPECT_THROW(WideActionLinkClassFor(&toolButton, TControlActionLink::StaticClass()), EUniInternalError);
}

// A tool bar and an extended combo box with actions: the plain ones take an 8-bit action's
// texts and state, the wide ones a wide action's texts whole, on the bar, in its tooltip and
// in the combo box's edit part.
TEST_F(WideActions, ToolBarsAndExtendedComboBoxesShowTheirActionsTexts) {
  form->SetBounds(0, 0, 420, 220);
  auto* bar = new TToolBar(form.get());
  bar->SetParent(form.get());
  bar->SetBounds(0, 40, 420, 44);
  bar->SetShowCaptions(true);
  bar->SetShowHint(true);
  auto* plainButton = new TToolButton(form.get());
  plainButton->SetParent(bar);
  auto* wideButton = new TUniToolButton(form.get());
  wideButton->SetLeft(100);
  wideButton->SetParent(bar);
  auto* combo = new TUniComboBoxEx(form.get());
  combo->SetParent(form.get());
  combo->SetBounds(8, 100, 240, 22);
  TImageList pictures(nullptr, 16, 16);
  for (TColor colour : {clRed, clGreen}) {
    TBitmap square;
    square.SetSize(16, 16);
    square.Canvas()->Brush()->SetColor(colour);
    RECT all{0, 0, 16, 16};
    square.Canvas()->FillRect(all);
    pictures.AddMasked(&square, clFuchsia);
  }
  combo->SetImages(&pictures);
  combo->ItemsEx()->AddItem("MP4 video", 0);
  combo->ItemsEx()->AddItem("3GP video", 1);

  TAction plain(nullptr);
  plain.SetCaption("Open");
  plain.SetHint("Open a file");
  plain.SetChecked(true);
  TUniAction wide(nullptr);
  wide.SetCaption(U8("Άνοιγμα"));
  wide.SetHint(U8("Άνοιγμα αρχείου"));
  wide.SetEnabled(false);
  TUniAction choose(nullptr);
  choose.SetCaption(U8("Μορφή αρχείου"));
  choose.SetHint(U8("Η μορφή του νέου αρχείου"));
  plainButton->SetAction(&plain);
  wideButton->SetAction(&wide);
  combo->SetAction(&choose);

  HWND wnd = bar->Handle();
  auto nativeText = [wnd](TToolButton* Button) {
    wchar_t text[64] = {};
    SendMessageW(wnd, TB_GETBUTTONTEXTW, Button->CommandId(), reinterpret_cast<LPARAM>(text));
    return WideString(text);
  };
  auto tooltip = [wnd](TToolButton* Button) {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(wnd, TB_GETTOOLTIPS, 0, 0));
    info.hdr.idFrom = Button->CommandId();
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageA(wnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info.lpszText ? WideString(info.lpszText) : WideString();
  };
  EXPECT_EQ(plainButton->ActionLink()->ClassType(), TToolButtonActionLink::StaticClass());
  EXPECT_EQ(nativeText(plainButton), U8("Open"));
  EXPECT_EQ(tooltip(plainButton), U8("Open a file"));
  EXPECT_TRUE(SendMessageA(wnd, TB_ISBUTTONCHECKED, plainButton->CommandId(), 0));
  EXPECT_TRUE(SendMessageA(wnd, TB_ISBUTTONENABLED, plainButton->CommandId(), 0));
  EXPECT_EQ(nativeText(wideButton), U8("Άνοιγμα"));
  EXPECT_EQ(tooltip(wideButton), U8("Άνοιγμα αρχείου"));
  EXPECT_FALSE(SendMessageA(wnd, TB_ISBUTTONENABLED, wideButton->CommandId(), 0));
  // A new caption that differs only outside the code page reaches the bar.
  wide.SetCaption(U8("Άνοιξε"));
  wide.SetEnabled(true);
  EXPECT_EQ(nativeText(wideButton), U8("Άνοιξε"));
  EXPECT_TRUE(SendMessageA(wnd, TB_ISBUTTONENABLED, wideButton->CommandId(), 0));

  HWND edit = reinterpret_cast<HWND>(SendMessageA(combo->Handle(), CBEM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(edit);
  EXPECT_EQ(UnicodeWindowText(edit), U8("Μορφή αρχείου"));
  EXPECT_EQ(combo->Text(), U8("Μορφή αρχείου"));
  EXPECT_EQ(combo->Hint(), U8("Η μορφή του νέου αρχείου"));
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 2);

  form->Show();
  UpdateWindow(form->Handle());
  HWND inner = reinterpret_cast<HWND>(SendMessageA(combo->Handle(), CBEM_GETCOMBOCONTROL, 0, 0));
  SendMessageA(inner, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageA(inner, CB_SETCURSEL, 1, 0);
  Application->ProcessMessages();
  COMBOBOXINFO dropped{};
  dropped.cbSize = sizeof dropped;
  GetComboBoxInfo(inner, &dropped);
  UpdateWindow(dropped.hwndList);
  if (const char* path = std::getenv("KAVO_BAR_ACTION_SHOT")) SaveWindowShot(form->Handle(), path);
  SendMessageA(inner, CB_SHOWDROPDOWN, FALSE, 0);
  plainButton->SetAction(nullptr);
  wideButton->SetAction(nullptr);
  combo->SetAction(nullptr);
}

// A form whose ExecuteAction shows hints, the way a status bar does.
class THintShowingForm : public TForm {
  VCL_CLASS(THintShowingForm)
 public:
  using TForm::TForm;
  std::vector<WideString> WideHints;
  std::vector<AnsiString> PlainHints;
  bool ExecuteAction(TBasicAction* Action) override {
    if (auto* wide = dynamic_cast<TUniHintAction*>(Action)) {
      WideHints.push_back(wide->Hint());
      return true;
    }
    if (auto* plain = dynamic_cast<THintAction*>(Action)) {
      PlainHints.push_back(plain->Hint());
      return true;
    }
    return TForm::ExecuteAction(Action);
  }
};
VCL_CLASS_IMPL(THintShowingForm, TForm, nullptr, nullptr)

TEST_F(WideActions, AHintReachesWhoeverShowsHintsWholeInUtf16) {
  std::unique_ptr<THintShowingForm, FormFree> shower(TCustomForm::CreateNew<THintShowingForm>(nullptr));
  shower->SetBorderStyle(bsNone);
  shower->HandleNeeded();
  SendMessageA(shower->WindowHandle(), WM_ACTIVATE, WA_ACTIVE, 0);
  ASSERT_EQ(Screen->ActiveForm(), shower.get());

  WideApplication->SetHint(U8("進行状況|ファイルを解析しています"));
  ASSERT_EQ(shower->WideHints.size(), 1u);
  EXPECT_EQ(shower->WideHints[0], U8("進行状況|ファイルを解析しています"));
  EXPECT_TRUE(shower->PlainHints.empty());

  // An 8-bit hint set behind the wide application's back goes as it is.
  Application->SetHint("plain text");
  ASSERT_EQ(shower->WideHints.size(), 2u);
  EXPECT_EQ(shower->WideHints[1], U8("plain text"));
  SendMessageA(shower->WindowHandle(), WM_ACTIVATE, WA_INACTIVE, 0);
}

TEST(WideClipboard, WideTextGoesAsUnicodeAndAs8BitText) {
  const WideString text = U8("Ελληνικά — 日本語 — Français");
  WideClipboard()->SetWideText(text);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  HANDLE ansi = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(wide && ansi);
  EXPECT_EQ(WideString(static_cast<const WCHAR*>(GlobalLock(wide))), text);
  GlobalUnlock(wide);
  EXPECT_EQ(AnsiString(static_cast<const char*>(GlobalLock(ansi))), WideToAnsi(text));
  GlobalUnlock(ansi);
  CloseClipboard();
  // The framework's reader sees the 8-bit form.
  EXPECT_EQ(Clipboard()->AsText(), WideToAnsi(text));
}

}  // namespace
