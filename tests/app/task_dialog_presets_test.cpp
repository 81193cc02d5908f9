#include <gtest/gtest.h>

#include <memory>

#include "app/ui/task_dialog_presets.h"
#include "dialogs/task_message_form.h"
#include "vcl/timers.h"
#include "tests/app/recording_view.h"
#include "tests/support/window_shot.h"
#include "vcl/application.h"

namespace {

struct TShown {
  WideString title, instruction, content, expanded, expandControl, collapsControl;
  TTaskDialogIcon icon;
  std::vector<WideString> buttons;
  int defaultButton;
  bool operator==(const TShown& o) const {
    return title == o.title && instruction == o.instruction && content == o.content && expanded == o.expanded &&
           expandControl == o.expandControl && collapsControl == o.collapsControl && icon == o.icon &&
           buttons == o.buttons && defaultButton == o.defaultButton;
  }
};

std::ostream& operator<<(std::ostream& os, const TShown& s) {
  os << WideToAnsi(s.title) << " | " << WideToAnsi(s.instruction) << " | " << WideToAnsi(s.content) << " | "
     << WideToAnsi(s.expanded) << " | " << WideToAnsi(s.expandControl) << " | " << WideToAnsi(s.collapsControl)
     << " | icon " << s.icon << " | default " << s.defaultButton << " |";
  for (const auto& b : s.buttons) os << " [" << WideToAnsi(b) << "]";
  return os;
}

TShown Read(TUniTaskDialog* d) {
  TShown s{d->Title, d->Instruction(), d->Content(), d->ExpandedText(), d->ExpandControlText,
           d->CollapsControlText, d->Icon, {}, d->DefaultButton};
  for (int i = 0; i < d->CustomButtons()->Count(); ++i) s.buttons.push_back(d->CustomButtons()->Strings(i));
  return s;
}

TEST(TaskDialogPresets, EachFillsTheWholeDialog) {
  InitApplication();
  TNamedTexts t = KeyTexts();
  t.MsgOverwriteOrNot = L"Remplacer %s (100%) :";  // a translation is no pattern
  auto d = std::make_unique<TUniTaskDialog>(nullptr);
  const std::vector<WideString> yesNo{L"btYes", L"btNo"}, ok{L"&Ok"};

  ShowOverwriteQuestion(d.get(), L"C:\\out\\film \u00e9t\u00e9.mp4", t);
  EXPECT_EQ(Read(d.get()), (TShown{L"Overwriting", L"Remplacer %s (100%) : film \u00e9t\u00e9.mp4 ?", L"",
                                   L"OverwriteMsgExp", L"ClickToHideMsg", L"ClickToSeeMoreMsg", tiQuestion, yesNo,
                                   100}));
  // Each preset starts from an empty dialog: nothing of the one before is left.
  ShowMP4BoxPathNotice(d.get(), t);
  EXPECT_EQ(Read(d.get()), (TShown{L"Information", L"Msg41", L"Msg4", L"", L"", L"", tiInformation, ok, 100}));
  ShowDeleteQuestion(d.get(), t);
  EXPECT_EQ(Read(d.get()), (TShown{L"Delete", L"Msg1", L"", L"", L"", L"", tiWarning, yesNo, 100}));
  ShowRawAVCNotice(d.get(), t);
  EXPECT_EQ(Read(d.get()), (TShown{L"Information", L"MsgNotifying", L"rawAVCMsg", L"", L"", L"", tiInformation, ok, 100}));
}

// Presses the first button of the dialog once it is up (the drawn form: this system's
// common controls are older than 6), after an optional look at it.
class TPressFirstButton {
 public:
  TPressFirstButton(TUniTaskDialog& d, const char* shotVariable = nullptr) : FTimer(nullptr) {
    FTimer.SetInterval(20);
    FTimer.SetOnTimer([this, &d, shotVariable](TObject*) {
      TTaskMessageForm* form = d.Form();
      if (FPressed || !form || !form->HandleAllocated() || !IsWindowVisible(form->WindowHandle())) return;
      FPressed = true;
      if (const char* shot = shotVariable ? getenv(shotVariable) : nullptr) Shoot(form, shot);
      PostMessageW(static_cast<TWinControl*>(form->CustomButtonList.at(0))->Handle(), BM_CLICK, 0, 0);
    });
  }

 private:
  static void Shoot(TTaskMessageForm* form, const char* file) {
    form->Repaint();
    SaveWindowShot(form->WindowHandle(), file);
  }
  TTimer FTimer;
  bool FPressed = false;
};

TEST(TaskDialogPresets, NoticesThatShowThemselvesAnswerTheirOkButton) {
  InitApplication();
  if (TUniTaskDialog::NativeDialogAvailable()) GTEST_SKIP() << "the system's own task dialog is in use";
  TNamedTexts t = KeyTexts();
  auto d = std::make_unique<TUniTaskDialog>(nullptr);
  const std::pair<int, const wchar_t*> kinds[] = {
      {0, L"Msgx264VFWCompatiblity"}, {1, L"MsgNotCompatible1"}, {2, L"MsgNotCompatible2"}, {7, L"MsgNotCompatible2"}};
  for (const auto& [kind, content] : kinds) {
    TPressFirstButton press(*d);
    EXPECT_EQ(ShowCompatibilityNotice(d.get(), kind, t), 100);
    EXPECT_EQ(d->Content(), content);
    EXPECT_EQ(d->Instruction(), L"MsgNotifying");
  }
  TPressFirstButton press(*d);
  EXPECT_EQ(ShowProcessRunningNotice(d.get(), t), 100);
  EXPECT_EQ(Read(d.get()), (TShown{L"Information", L"ProcessIsRunningMsg", L"", L"", L"", L"", tiInformation, {L"&Ok"}, 100}));
  // The overwrite question with the English texts, shown to be looked at.
  ShowOverwriteQuestion(d.get(), L"C:\\out\\\u03c4\u03b1\u03b9\u03bd\u03af\u03b1.mp4");
  TPressFirstButton pressYes(*d, "KAVO_PRESET_SHOT");
  EXPECT_EQ(d->Execute(), 100);
}

}  // namespace
