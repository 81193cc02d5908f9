#include <gtest/gtest.h>

#include <memory>

#include "app/ui/task_dialog_presets.h"
#include "tests/app/recording_view.h"
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

}  // namespace
