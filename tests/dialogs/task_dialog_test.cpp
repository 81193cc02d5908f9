// The task dialog: the system dialog driven from its own callback, and the drawn form
// driven by clicks and keys from a timer, in the shapes the application asks.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include "dialogs/task_message_form.h"
#include "dialogs/uni_task_dialog.h"
#include "tests/support/pump.h"
#include "tests/support/window_shot.h"
#include "vcl/timers.h"
#include "widetext/codecs.h"
#include "tests/support/forms.h"

namespace {

WideString U8(const char* text) { return Utf8Decode(AnsiString(text)); }

// The application's two question shapes.
void AskYesNo(TUniTaskDialog& td) {
  td.Title = L"Overwriting";
  td.Icon = tiQuestion;
  td.CustomButtons()->Clear();
  td.CustomButtons()->Add(L"&Yes");
  td.CustomButtons()->Add(L"&No");
  td.DefaultButton = 100;
  td.SetInstruction(U8("Overwrite Ελληνικά 日本語.mp4 ?"));
  td.SetContent(L"");
  td.SetExpandedText(L"The file exists already.");
  td.ExpandControlText = L"Click to hide";
  td.CollapsControlText = L"Click to see more";
}

void NoticeOk(TUniTaskDialog& td) {
  td.Title = L"Information";
  td.Icon = tiInformation;
  td.CustomButtons()->Clear();
  td.CustomButtons()->Add(L"&Ok");
  td.DefaultButton = 100;
  td.SetInstruction(L"MP4Box was not found");
  td.SetContent(L"Choose its folder on the settings page.");
}

// ----- the system dialog, called directly

TEST(NativeTaskDialog, FlagsFromTheOptions) {
  struct Case {
    TTaskDialogOptions options;
    TTaskDialogPosition position;
    bool customIcon;
    UINT flags;
  };
  const Case cases[] = {
      {0, dpScreenCenter, false, 0},
      {Bit(doCommandLinks), dpScreenCenter, false, TDF_USE_COMMAND_LINKS},
      {Bit(doCommandLinks) | Bit(doCommandLinksNoIcon), dpScreenCenter, false, TDF_USE_COMMAND_LINKS_NO_ICON},
      {Bit(doHyperlinks) | Bit(doExpandedDefault) | Bit(doExpandedFooter), dpScreenCenter, false,
       TDF_ENABLE_HYPERLINKS | TDF_EXPANDED_BY_DEFAULT | TDF_EXPAND_FOOTER_AREA},
      {Bit(doAllowMinimize) | Bit(doVerifyChecked), dpScreenCenter, false,
       TDF_CAN_BE_MINIMIZED | TDF_VERIFICATION_FLAG_CHECKED},
      {Bit(doProgressBar), dpScreenCenter, false, TDF_SHOW_PROGRESS_BAR | TDF_CALLBACK_TIMER},
      {Bit(doProgressBarMarquee), dpScreenCenter, false, TDF_SHOW_MARQUEE_PROGRESS_BAR | TDF_CALLBACK_TIMER},
      {Bit(doTimer), dpScreenCenter, false, TDF_CALLBACK_TIMER},
      {Bit(doNoDefaultRadioButton) | Bit(doAllowDialogCancel), dpOwnerFormCenter, true,
       TDF_NO_DEFAULT_RADIO_BUTTON | TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW |
           TDF_USE_HICON_MAIN},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TUniTaskDialog::NativeFlags(c.options, c.position, c.customIcon), c.flags) << c.options;
}

TEST(NativeTaskDialog, LineBreaksAreExpandedInTheWideTextItself) {
  EXPECT_EQ(ExpandLineBreaks(U8("Ελληνικά\\n日本語")), U8("Ελληνικά\n日本語"));
  EXPECT_EQ(ExpandLineBreaks(L"a\\\\n\\nb\\"), L"a\\\n\nb\\");
  EXPECT_EQ(ExpandLineBreaks(L"plain"), L"plain");
}

TEST(NativeTaskDialog, LinksOpenOnlyWithASchemeSeparator) {
  EXPECT_FALSE(OpenLink(nullptr, L"mailto:someone@example.org"));
  EXPECT_FALSE(OpenLink(nullptr, L"readme.txt"));
}

// Runs the system dialog; Act is called once it is created, with its window.
int RunNative(TUniTaskDialog& td, std::function<void(HWND)> act) {
  td.OnDialogCreated = [&td, act](TObject*) { act(td.DialogHandle()); };
  int result = -1;
  EXPECT_TRUE(td.ExecuteNative(result));
  EXPECT_EQ(td.DialogHandle(), nullptr) << "the window is forgotten when the dialog ends";
  return result;
}


TEST(NativeTaskDialog, TheApplicationsQuestionsAnswerTheButtonPressed) {
  TUniTaskDialog td(nullptr);
  AskYesNo(td);
  std::vector<int> clicks;
  td.OnDialogButtonClick = [&](TObject*, int id) { clicks.push_back(id); };
  // The dialog is modal for the whole program: another window waits while it is up.
  std::unique_ptr<TForm, FormFree> other(TCustomForm::CreateNew<TForm>(nullptr));
  other->Show();
  bool otherDisabled = false;
  EXPECT_EQ(RunNative(td,
                      [&](HWND w) {
                        otherDisabled = !IsWindowEnabled(other->Handle());
                        PostMessageW(w, TDM_CLICK_BUTTON, 101, 0);
                      }),
            101);
  EXPECT_TRUE(otherDisabled);
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  EXPECT_EQ(clicks, std::vector<int>{101});
  // A setter after the dialog has ended sends nothing anywhere.
  td.SetContent(L"later");

  NoticeOk(td);
  EXPECT_EQ(RunNative(td, [](HWND w) { PostMessageW(w, TDM_CLICK_BUTTON, 100, 0); }), 100);
}

TEST(NativeTaskDialog, TheProgressHandlerStartsFromTheBarsPosition) {
  TUniTaskDialog td(nullptr);
  td.CommonButtons = Bit(cbOK);
  td.SetInstruction(L"Working");
  td.Options = Bit(doProgressBar);
  std::vector<int> seen;
  HWND window = nullptr;
  td.OnDialogProgress = [&](TObject*, int& pos, TTaskDialogProgressState& state) {
    seen.push_back(pos);
    pos += 10;
    state = psNormal;
    if (seen.size() == 4) PostMessageW(window, TDM_CLICK_BUTTON, IDOK, 0);
  };
  EXPECT_EQ(RunNative(td, [&](HWND w) { window = w; }), IDOK);
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(std::vector<int>(seen.begin(), seen.begin() + 4), (std::vector<int>{0, 10, 20, 30}));
}

TEST(NativeTaskDialog, CommonButtonsRadiosAndTheVetoedClose) {
  TUniTaskDialog td(nullptr);
  td.CommonButtons = Bit(cbYes) | Bit(cbNo) | Bit(cbClose);
  td.RadioButtons()->Add(L"one");
  td.RadioButtons()->Add(L"two");
  td.DefaultRadioButton = 201;
  td.VerificationText = L"Do not ask again";
  td.Options = Bit(doVerifyChecked) | Bit(doTimer);
  int asked = 0, ticks = 0;
  td.OnDialogTimer = [&](TObject*) { ++ticks; };
  td.OnDialogClose = [&](TObject*, bool& can) { can = ++asked > 1; };
  int result = RunNative(td, [](HWND w) {
    PostMessageW(w, TDM_CLICK_BUTTON, IDNO, 0);  // vetoed
    PostMessageW(w, TDM_CLICK_BUTTON, IDCLOSE, 0);
  });
  EXPECT_EQ(result, IDCLOSE);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(td.RadioResult, 201);
  EXPECT_TRUE(td.VerifyResult);
}

// ----- the drawn form

// Watches from a timer for the drawn form to be up, then acts on it once. A form still up
// five seconds after that is closed, so that a failing test ends instead of waiting.
class FormDriver {
 public:
  FormDriver(TUniTaskDialog& td, std::function<void(TTaskMessageForm*)> act) : FTimer(nullptr) {
    FTimer.SetInterval(20);
    FTimer.SetOnTimer([this, &td, act](TObject*) {
      TTaskMessageForm* form = td.Form();
      if (!form || !form->HandleAllocated() || !IsWindowVisible(form->WindowHandle())) return;
      if (FActedAt == 0) {
        FActedAt = GetTickCount();
        act(form);
      } else if (GetTickCount() - FActedAt > 5000) {
        ADD_FAILURE() << "the drawn form stayed open";
        PostMessageW(form->WindowHandle(), WM_CLOSE, 0, 0);
        FActedAt = GetTickCount();
      }
    });
  }

 private:
  TTimer FTimer;
  DWORD FActedAt = 0;
};

// With the variable set, the form's picture goes to the file it names (to look at).
void SaveShotIfAsked(TTaskMessageForm* form, const char* variable) {
  const char* shot = getenv(variable);
  if (!shot) return;
  form->Repaint();
  SaveWindowShot(form->WindowHandle(), shot);
}

void Click(TControl* c) { PostMessageW(static_cast<TWinControl*>(c)->Handle(), BM_CLICK, 0, 0); }

// Esc goes through the message loop, as typed keys do.
void PostEsc() {
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageW(GetFocus(), WM_CHAR, VK_ESCAPE, 1);
}

void PressKey(HWND focus, WORD key, bool ctrl) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  SetKeyboardState(state);
  SendMessageW(focus, WM_KEYDOWN, key, 1);
  state[VK_CONTROL] = 0;
  SetKeyboardState(state);
}

// The height a plain text needs when it wraps in Width pixels in the form's font.
int WrappedHeight(TTaskMessageForm* form, const WideString& text, int width) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, form->Font()->Handle());
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r.bottom;
}

int Right(TControl* c) { return c->Left() + c->Width(); }

// The program's last question ("quit now, or a new task?"), in English and in French,
// with and without its icon: the texts are measured where they are drawn, so that no line
// is lost whatever the width of the text column.
TEST(DrawnTaskDialog, TextsAreMeasuredInTheColumnTheyAreDrawnIn) {
  struct Question {
    const char* Shot;
    TTaskDialogIcon Icon;
    const char *Title, *Yes, *No, *Instruction, *Details, *Hide, *See;
  };
  const Question questions[] = {
      {"td_newtask_en_icon.png", tiQuestion, "Task finished", "&Yes", "&No", "Do you want to quit Kavo now?",
       "Answer No to go back to the start page and begin a new task.", "Hide details", "See details"},
      {"td_newtask_en.png", tiNotUsed, "Task finished", "&Yes", "&No", "Do you want to quit Kavo now?",
       "Answer No to go back to the start page and begin a new task.", "Hide details", "See details"},
      {"td_newtask_fr_icon.png", tiQuestion, "Tâche terminée", "&Oui", "&Non", "Voulez-vous quitter Kavo maintenant ?",
       "Répondez Non pour revenir à la page d'accueil et commencer une nouvelle tâche.", "Masquer les détails",
       "Voir les détails"},
      {"td_newtask_fr.png", tiNotUsed, "Tâche terminée", "&Oui", "&Non", "Voulez-vous quitter Kavo maintenant ?",
       "Répondez Non pour revenir à la page d'accueil et commencer une nouvelle tâche.", "Masquer les détails",
       "Voir les détails"},
  };
  for (const Question& q : questions) {
    SCOPED_TRACE(q.Shot);
    TUniTaskDialog td(nullptr);
    td.Title = U8(q.Title);
    td.Icon = q.Icon;
    td.CustomButtons()->Add(U8(q.Yes));
    td.CustomButtons()->Add(U8(q.No));
    td.DefaultButton = 100;
    td.Options = Bit(doExpandedDefault);
    td.SetInstruction(U8(q.Instruction));
    td.SetExpandedText(U8(q.Details));
    td.ExpandControlText = U8(q.Hide);
    td.CollapsControlText = U8(q.See);
    FormDriver driver(td, [&](TTaskMessageForm* form) {
      RECT details = form->ExpandedTextRect();
      EXPECT_EQ(details.left, q.Icon == tiNotUsed ? form->HorzMargin : form->HorzMargin + 32 + form->HorzSpacing);
      EXPECT_GE(details.bottom - details.top, WrappedHeight(form, td.ExpandedText(), details.right - details.left));
      // With custom buttons only, the row ends one button spacing right of where common
      // buttons end.
      EXPECT_EQ(Right(form->CustomButtonList[1]),
                form->ClientWidth() - form->HorzSpacing - 4 + form->ButtonSpacing);
      EXPECT_EQ(form->CustomButtonList[0]->Top(), form->BandTop);
      if (const char* dir = getenv("KAVO_TD_SHOT_DIR")) {
        form->Repaint();
        SaveWindowShot(form->WindowHandle(), AnsiString(dir) + "\\" + q.Shot);
      }
      // Texts of every length, in the column beside the icon or the whole width.
      WideString text;
      for (int words = 1; words <= 30; ++words) {
        text += words % 3 ? L"wrap " : L"measured ";
        td.SetContent(text);
        td.SetExpandedText(text);
        RECT content = form->ContentRect(), shown = form->ExpandedTextRect();
        ASSERT_EQ(content.bottom - content.top, WrappedHeight(form, text, content.right - content.left)) << words;
        ASSERT_EQ(shown.bottom - shown.top, WrappedHeight(form, text, shown.right - shown.left)) << words;
        ASSERT_GE(shown.top, content.bottom) << words;
        ASSERT_GT(form->CustomButtonList[0]->Top(), shown.bottom) << words;
      }
      Click(form->CustomButtonList[1]);
    });
    EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 101);
  }
}

// Where the verification box, the common buttons, the radio buttons and the details shown
// in the lower band go.
TEST(DrawnTaskDialog, TheLowerBandsArrangement) {
  TUniTaskDialog td(nullptr);
  td.Title = L"Kavo";
  td.CommonButtons = Bit(cbOK) | Bit(cbCancel);
  td.SetInstruction(L"Choose a way");
  td.RadioButtons()->Add(L"first");
  td.RadioButtons()->Add(L"second");
  td.VerificationText = L"Do not ask again";
  FormDriver driver(td, [&](TTaskMessageForm* form) {
    TControl* cancel = form->CommonButtonList[1];
    EXPECT_EQ(Right(cancel), form->ClientWidth() - form->HorzSpacing - 4);
    EXPECT_EQ(form->VerifyCheck->Left(), form->VertMargin + 3);
    EXPECT_EQ(form->VerifyCheck->Top(), cancel->Top());
    EXPECT_LE(form->VerifyCheck->Top() + form->VerifyCheck->Height(), form->ClientHeight());
    EXPECT_LT(Right(form->VerifyCheck), form->CommonButtonList[0]->Left());
    EXPECT_EQ(form->RadioList[0]->Font()->Size(), 8);
    EXPECT_GT(form->RadioList[1]->Top(), form->RadioList[0]->Top() + form->RadioList[0]->Height() - 1);
    EXPECT_LT(form->RadioList[1]->Top() + form->RadioList[1]->Height(), form->BandTop);
    SaveShotIfAsked(form, "KAVO_TD_SHOT_BAND");
    Click(cancel);
  });
  EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 2);

  // Details shown in the footer part: the band starts at them, and the verification box
  // goes under the expand control.
  td.RadioButtons()->Clear();
  td.SetExpandedText(L"The details of the question.");
  td.Options = Bit(doExpandedFooter) | Bit(doExpandedDefault);
  FormDriver second(td, [&](TTaskMessageForm* form) {
    EXPECT_EQ(form->BandTop, form->ExpandedTextRect().top);
    EXPECT_EQ(form->VerifyCheck->Top(), form->ExpandButton->Top() + form->ExpandButton->Height());
    SaveShotIfAsked(form, "KAVO_TD_SHOT_FOOTER");
    form->SetExpanded(false);
    EXPECT_EQ(form->BandTop, form->CommonButtonList[0]->Top());
    Click(form->CommonButtonList[0]);
  });
  EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 1);
}

TEST(DrawnTaskDialog, TheApplicationsQuestionsThroughTheDrawnForm) {
  // Wine's common controls report a version below 6: the application sees the drawn form.
  TUniTaskDialog td(nullptr);
  AskYesNo(td);
  int heightCollapsed = 0, heightExpanded = 0;
  bool defaultFocused = false;
  FormDriver driver(td, [&](TTaskMessageForm* form) {
    ASSERT_EQ(form->CustomButtonList.size(), 2u);
    defaultFocused = GetFocus() == static_cast<TWinControl*>(form->CustomButtonList[0])->Handle();
    ASSERT_NE(form->ExpandButton, nullptr);
    EXPECT_FALSE(form->Expanded());
    heightCollapsed = form->ClientHeight();
    form->ExpandButton->Click();
    heightExpanded = form->ClientHeight();
    SaveShotIfAsked(form, "KAVO_TD_SHOT_QUESTION");
    Click(form->CustomButtonList[1]);
  });
  EXPECT_EQ(TUniTaskDialog::NativeDialogAvailable() ? -2 : td.Execute(), 101);
  EXPECT_TRUE(defaultFocused);
  EXPECT_GT(heightExpanded, heightCollapsed);
  EXPECT_EQ(td.Form(), nullptr);
}

TEST(DrawnTaskDialog, OkNoticeAnswers100AndTheCloseBoxAnswers2) {
  TUniTaskDialog td(nullptr);
  NoticeOk(td);
  {
    FormDriver driver(td, [](TTaskMessageForm* form) { Click(form->CustomButtonList[0]); });
    EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 100);
  }
  {
    // Alt+F4 is swallowed; the close box still closes.
    FormDriver driver(td, [](TTaskMessageForm* form) {
      BYTE state[256] = {};
      GetKeyboardState(state);
      state[VK_MENU] = 0x80;
      SetKeyboardState(state);
      SendMessageW(GetFocus(), WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29));
      state[VK_MENU] = 0;
      SetKeyboardState(state);
      // Whatever the key would have posted has its chance to close the form.
      PumpUntil([form] { return !IsWindowVisible(form->WindowHandle()) || form->ModalResult() != 0; }, 300);
      EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
      EXPECT_EQ(form->ModalResult(), 0);
      PostMessageW(form->WindowHandle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 2);
  }
}

TEST(DrawnTaskDialog, CommonButtonsDefaultsAndEsc) {
  TUniTaskDialog td(nullptr);
  td.CommonButtons = Bit(cbYes) | Bit(cbNo);
  td.Title = L"Delete";
  td.SetInstruction(L"Delete the job?");
  bool escIgnored = false;
  {
    FormDriver driver(td, [&](TTaskMessageForm* form) {
      auto* yes = dynamic_cast<TUniButton*>(form->FindComponent("Yes"));
      EXPECT_TRUE(yes && yes->Default());
      PostEsc();
      PumpUntil([] { return false; }, 300);
      escIgnored = IsWindowVisible(form->WindowHandle()) && form->ModalResult() == 0;
      Click(form->CommonButtonList[1]);
    });
    EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 7);
    EXPECT_TRUE(escIgnored);
  }
  td.Options = Bit(doAllowDialogCancel);
  {
    FormDriver driver(td, [](TTaskMessageForm*) { PostEsc(); });
    EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 7);
  }
  td.CommonButtons = 0;
  {
    // No buttons at all: one OK button, result 1.
    FormDriver driver(td, [](TTaskMessageForm* form) {
      ASSERT_EQ(form->CommonButtonList.size(), 1u);
      Click(form->CommonButtonList[0]);
    });
    EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 1);
  }
}

TEST(DrawnTaskDialog, CtrlCCopiesTheDialogAsText) {
  TUniTaskDialog td(nullptr);
  td.Title = U8("Τίτλος");
  td.SetInstruction(U8("日本語の質問"));
  td.CommonButtons = Bit(cbYes) | Bit(cbNo);
  WideString copied;
  FormDriver driver(td, [&](TTaskMessageForm* form) {
    PressKey(GetFocus(), 'C', true);
    if (OpenClipboard(nullptr)) {
      if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        copied = static_cast<const wchar_t*>(GlobalLock(h));
        GlobalUnlock(h);
      }
      CloseClipboard();
    }
    Click(form->CommonButtonList[0]);
  });
  EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 6);
  const WideString d = WideString(27, L'-') + L"\r\n";
  EXPECT_EQ(copied, d + U8("Τίτλος") + L"\r\n" + d + U8("日本語の質問") + L"\r\n" + d + L"Yes   No   \r\n" + d);
}

TEST(DrawnTaskDialog, RadiosVerificationAndTimerAreReadWhenTheFormCloses) {
  TUniTaskDialog td(nullptr);
  td.CustomButtons()->Add(L"Go");
  td.RadioButtons()->Add(L"first");
  td.RadioButtons()->Add(L"second");
  td.VerificationText = L"Remember";
  td.Options = Bit(doTimer);
  int ticks = 0;
  td.OnDialogTimer = [&](TObject*) { ++ticks; };
  FormDriver driver(td, [&](TTaskMessageForm* form) {
    EXPECT_TRUE(form->RadioList[0]->Checked());
    form->RadioList[1]->SetChecked(true);
    form->RadioList[0]->SetChecked(false);
    form->VerifyCheck->SetChecked(true);
    PumpUntil([&] { return ticks >= 2; }, 5000);
    Click(form->CustomButtonList[0]);
  });
  EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 100);
  EXPECT_EQ(td.RadioResult, 201);
  EXPECT_TRUE(td.VerifyResult);
  EXPECT_GE(ticks, 2);
}

TEST(DrawnTaskDialog, CommandLinksExpandedTextAndAFooterLink) {
  TUniTaskDialog td(nullptr);
  td.Title = L"Kavo";
  td.Icon = tiShield;
  td.FooterIcon = tfiInformation;
  td.Options = Bit(doCommandLinks) | Bit(doExpandedDefault) | Bit(doHyperlinks);
  td.SetInstruction(L"What should be done with the finished job?");
  td.SetContent(L"The job has ended. <b>Three</b> files were written.");
  td.CustomButtons()->Add(U8("&Start a new task\nThe wizard opens on its first page"));
  td.CustomButtons()->Add(U8("&Close Kavo\nΤέλος — 終わり"));
  td.SetExpandedText(L"The log holds every command line and the tools' answers.");
  td.ExpandControlText = L"Hide details";
  td.CollapsControlText = L"Show details";
  td.SetFooter(L"See <a href=\"https://example.org/kavo\">the manual</a> for more.");
  WideString linkHit;
  FormDriver driver(td, [&](TTaskMessageForm* form) {
    EXPECT_TRUE(form->Expanded());
    ASSERT_EQ(form->CustomButtonList.size(), 2u);
    auto* link = dynamic_cast<TTaskDialogButton*>(form->CustomButtonList[1]);
    ASSERT_NE(link, nullptr);
    EXPECT_FALSE(link->Picture()->Empty());
    form->Repaint();
    SaveShotIfAsked(form, "KAVO_TD_SHOT");
    // The footer's link is found under its text.
    for (int y = form->ClientHeight() - 1; y > form->ClientHeight() - 40 && linkHit.empty(); --y)
      for (int x = 0; x < form->ClientWidth() && linkHit.empty(); x += 2) linkHit = form->AnchorAt(x, y);
    // Alt+C-style accelerator of a command link closes with its result.
    form->Perform(CM_DIALOGCHAR, 'c', 0);
  });
  EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 101);
  EXPECT_EQ(linkHit, L"https://example.org/kavo");
}

}  // namespace
