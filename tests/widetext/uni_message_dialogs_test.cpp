// Wide message dialogs: default and cancel buttons, the caption and icon by type, wrapping,
// and Ctrl+C copying the dialog in both clipboard formats.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "widetext/platform.h"
#include "tests/widetext/wide_form_controls.h"
#include "widetext/codecs.h"
#include "widetext/uni_message_dialogs.h"
#include "widetext/uniexceptions.h"

using namespace widetest;

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

// Runs Action once from a timer of the modal loop that is about to start.
void WhenShown(std::function<void(TUniMessageForm*)> Action) {
  static std::function<void(TUniMessageForm*)> pending;
  pending = std::move(Action);
  SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
    TUniMessageForm* form = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* f = dynamic_cast<TUniMessageForm*>(Screen->Forms(i)); f && IsWindowVisible(f->WindowHandle())) form = f;
    if (!form) return;
    KillTimer(nullptr, id);
    auto action = std::move(pending);
    pending = nullptr;
    action(form);
  });
}

TButton* ButtonOf(TUniMessageForm* form, const char* name) { return static_cast<TButton*>(form->FindComponent(name)); }

void PressKey(HWND wnd, WORD key) { PostMessageW(wnd, WM_KEYDOWN, key, 1); }

class UniMessageDialogs : public ::testing::Test {
 protected:
  TestApplication app;
};

TEST_F(UniMessageDialogs, OkIsTheDefaultAndCancelTheCancelButton) {
  WideString caption;
  bool okDefaultAndFocused = false, cancelIsCancel = false;
  WhenShown([&](TUniMessageForm* form) {
    caption = form->Caption();
    okDefaultAndFocused = ButtonOf(form, "OK")->Default() && ButtonOf(form, "OK")->Focused();
    cancelIsCancel = ButtonOf(form, "Cancel")->Cancel && !ButtonOf(form, "OK")->Cancel;
    EXPECT_TRUE(IsWindowUnicode(form->WindowHandle()));
    EXPECT_TRUE(form->FindComponent("Image"));
    PressKey(GetFocus(), VK_RETURN);
  });
  EXPECT_EQ(WideMessageDlg(U8("Να αφαιρεθούν τα αρχεία;"), mtWarning, mbOKCancel, 0), mrOk);
  EXPECT_TRUE(okDefaultAndFocused);
  EXPECT_TRUE(cancelIsCancel);
  EXPECT_EQ(caption, L"Warning");

  WhenShown([&](TUniMessageForm*) { PressKey(GetFocus(), VK_ESCAPE); });
  EXPECT_EQ(WideMessageDlg(L"Remove?", mtWarning, mbOKCancel, 0), mrCancel);
}

TEST_F(UniMessageDialogs, YesAndNoMakeYesTheDefaultAndNoTheCancelButton) {
  bool yesDefault = false;
  WhenShown([&](TUniMessageForm* form) {
    yesDefault = ButtonOf(form, "Yes")->Default() && ButtonOf(form, "Yes")->Focused();
    EXPECT_TRUE(ButtonOf(form, "No")->Cancel);
    PressKey(GetFocus(), VK_ESCAPE);
  });
  EXPECT_EQ(WideMessageDlg(L"Go on?", mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo), 0), mrNo);
  EXPECT_TRUE(yesDefault);

  // A chosen default button answers Enter.
  WhenShown([&](TUniMessageForm*) { PressKey(GetFocus(), VK_RETURN); });
  EXPECT_EQ(WideMessageDlgDefault(L"Go on?", mtConfirmation, mbYesNoCancel, mbNo, 0), mrNo);
}

// Help closes nothing: it opens the dialog's help context (and file) through the application.
TEST_F(UniMessageDialogs, HelpOpensTheDialogsHelpContext) {
  std::vector<std::pair<WORD, int>> asked;
  AnsiString helpFile;
  Application->HelpFile = "kavo.hlp";
  Application->OnHelp = [&](WORD command, int data, bool& callHelp) {
    asked.emplace_back(command, data);
    helpFile = Application->CurrentHelpFile();
    callHelp = false;  // no help program under test
    return true;
  };
  bool stillShown = false;
  WhenShown([&](TUniMessageForm* form) {
    SendMessageW(ButtonOf(form, "Help")->WindowHandle(), BM_CLICK, 0, 0);
    stillShown = IsWindowVisible(form->WindowHandle()) != FALSE;
    PostMessageW(ButtonOf(form, "OK")->WindowHandle(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(WideMessageDlgPosHelp(L"Tags", mtInformation, MsgDlgButton(mbOK) | MsgDlgButton(mbHelp), 4711, -1, -1,
                                  L"tags.hlp", mbOK),
            mrOk);
  EXPECT_TRUE(stillShown);
  EXPECT_EQ(asked, (std::vector<std::pair<WORD, int>>{{HELP_CONTEXT, 4711}}));
  EXPECT_EQ(helpFile, "tags.hlp");  // the dialog's own file before the application's
  Application->OnHelp = nullptr;
}

TEST_F(UniMessageDialogs, TypesGiveCaptionsAndIconsAndBadValuesAreInternalFaults) {
  WideApplication->SetTitle(U8("Κάβο"));
  struct Case {
    TMsgDlgType type;
    WideString caption;
    bool icon;
  } cases[] = {
      {mtWarning, L"Warning", true}, {mtError, L"Error", true}, {mtInformation, L"Information", true},
      {mtConfirmation, L"Confirm", true}, {mtCustom, U8("Κάβο"), false},
  };
  for (const auto& c : cases) {
    TUniMessageForm* form = CreateMessageDialog(L"Text", c.type, MsgDlgButton(mbOK), mbOK);
    EXPECT_EQ(form->Caption(), c.caption);
    EXPECT_EQ(form->FindComponent("Image") != nullptr, c.icon) << c.type;
    form->Free();
  }
  EXPECT_THROW(GetMessageCaption(static_cast<TMsgDlgType>(5)), EUniInternalError);
  EXPECT_THROW(GetButtonCaption(static_cast<TMsgDlgBtn>(11)), EUniInternalError);
}

TEST_F(UniMessageDialogs, LongMessageWrapsAtHalfTheScreen) {
  WideString message;
  for (int i = 0; i < 60; ++i) message += U8("λέξη 言葉 ");
  TUniMessageForm* form = CreateMessageDialog(message, mtInformation, MsgDlgButton(mbOK), mbOK);
  auto* label = static_cast<TControl*>(form->FindComponent("Message"));
  EXPECT_LE(label->Width(), GetSystemMetrics(SM_CXSCREEN) / 2);
  EXPECT_GT(label->Height(), 3 * -form->Font()->Height());
  EXPECT_LT(label->Left() + label->Width(), form->ClientWidth());
  form->Free();
}

WideString ClipboardUnicodeText() {
  WideString text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

AnsiString ClipboardAnsiText() {
  AnsiString text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

TEST_F(UniMessageDialogs, CtrlCCopiesTheDialogInBothClipboardFormats) {
  const WideString message = U8("Το αρχείο δεν βρέθηκε: 映画.mp4");
  WhenShown([&](TUniMessageForm* form) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(GetFocus(), WM_KEYDOWN, 'C', 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    PressKey(GetFocus(), VK_RETURN);
  });
  EXPECT_EQ(WideMessageDlg(message, mtError, MsgDlgButton(mbOK) | MsgDlgButton(mbHelp), 0), mrOk);

  const WideString divider = WideString(27, L'-') + L"\r\n";
  const WideString expected =
      divider + L"Error\r\n" + divider + message + L"\r\n" + divider + L"OK   Help   \r\n" + divider;
  EXPECT_EQ(ClipboardUnicodeText(), expected);
  EXPECT_EQ(ClipboardAnsiText(), WideToAnsi(expected));
}

}  // namespace
