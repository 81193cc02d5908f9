// Wide actions: wide captions and hints carried to linked wide controls and menu items,
// the wide hint action, and wide text on the clipboard.
#include <gtest/gtest.h>

#include <memory>

#include "widetext/platform.h"
#include "tests/widetext/wide_form_controls.h"
#include "widetext/codecs.h"
#include "widetext/uni_actions.h"
#include "widetext/uni_clipboard.h"
#include "widetext/uni_menus.h"
#include "tests/support/forms.h"

using namespace widetest;

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }


// A wide button as the wide controls make theirs: wide texts first, then the framework's
// action change, and the wide link.
class TActionUniButton : public TTestUniButton {
  VCL_CLASS(TActionUniButton)
 public:
  using TTestUniButton::TTestUniButton;
  using TControl::ActionChange;

 protected:
  void ActionChange(TObject* Sender, bool CheckDefaults) override {
    ApplyWideActionTexts(this, Sender, CheckDefaults);
    TTestUniButton::ActionChange(Sender, CheckDefaults);
  }
  TControlActionLink* CreateActionLink() override { return CreateWideActionLink(this); }
};
VCL_CLASS_IMPL(TActionUniButton, TTestUniButton, nullptr, nullptr)

class WideActions : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    button = new TActionUniButton(form.get());
    button->SetName("Button");
    button->SetParent(form.get());
    button->HandleNeeded();
  }
  TestApplication app;
  std::unique_ptr<TForm, FormFree> form;
  TActionUniButton* button = nullptr;
};

TEST_F(WideActions, ACaptionChangedOnlyOutsideTheCodePageReachesEveryLinkedClient) {
  TUniAction action(nullptr);
  action.SetCaption(U8("Ελληνικά"));
  action.SetHint(U8("日本|日本語のヒント"));
  button->SetAction(&action);
  EXPECT_TRUE(dynamic_cast<TUniWinControlActionLink*>(button->ActionLink()));
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
