// The command button: what it paints in each state, and its click on a modal form.
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/task_dialog_button.h"
#include "dialogs/task_message_form.h"
#include "tests/support/pump.h"
#include "vcl/forms.h"
#include "vcl/messages.h"
#include "vcl/timers.h"
#include "tests/support/forms.h"

namespace {


class CommandButton : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBounds(100, 100, 300, 200);
    button = new TTaskDialogButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 200, 40);
    button->BorderColorHot = clRed;
    button->BorderColorDown = clBlue;
    ASSERT_TRUE(LoadBitmapResource(button->Picture(), "TD_UNIARW"));
    ASSERT_TRUE(LoadBitmapResource(button->PictureHot(), "TD_UNIARWHOT"));
    ASSERT_TRUE(LoadBitmapResource(button->PictureDisabled(), "TD_UNIEXP"));
    form->Show();
  }
  std::unique_ptr<TForm, FormFree> form;
  TTaskDialogButton* button = nullptr;
};

TEST_F(CommandButton, BorderAndPictureFollowHotPressedFocusedAndDisabled) {
  EXPECT_EQ(button->CurrentBorderColor(), clNone);
  EXPECT_EQ(button->CurrentPicture(), button->Picture());
  button->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(button->Hot());
  EXPECT_EQ(button->CurrentBorderColor(), clRed);
  EXPECT_EQ(button->CurrentPicture(), button->PictureHot());
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(button->CurrentBorderColor(), clBlue);
  // No pressed picture: the hot one stays.
  EXPECT_EQ(button->CurrentPicture(), button->PictureHot());
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  button->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(button->CurrentBorderColor(), clNone);
  button->SetEnabled(false);
  EXPECT_EQ(button->CurrentPicture(), button->PictureDisabled());
  EXPECT_EQ(button->CurrentBorderColor(), clNone);
}

TEST_F(CommandButton, APictureWithoutCaptionIsCentred) {
  button->Repaint();
  HDC dc = GetDC(button->Handle());
  // The arrow's tip row is at y = height / 2: its pixels lie around the centre column only.
  int centre = button->Width() / 2, row = button->Height() / 2;
  COLORREF atCentre = GetPixel(dc, centre, row), atLeft = GetPixel(dc, 6, row);
  ReleaseDC(button->Handle(), dc);
  EXPECT_NE(atCentre, atLeft);
}

TEST_F(CommandButton, ClickOnAModalFormClosesItWithTheResultAndSpaceClicks) {
  auto* modal = TCustomForm::CreateNew<TForm>(nullptr);
  auto* link = new TTaskDialogButton(modal);
  link->SetParent(modal);
  link->ModalResult = 101;
  link->SetTabStop(true);
  int clicks = 0;
  link->OnClick = [&](TObject*) { ++clicks; };
  TTimer timer(nullptr);
  timer.SetInterval(20);
  timer.SetOnTimer([&](TObject*) {
    if (!modal->Showing()) return;
    timer.SetEnabled(false);
    link->SetFocus();
    PostMessageW(link->Handle(), WM_CHAR, ' ', 1);
  });
  EXPECT_EQ(modal->ShowModal(), 101);
  EXPECT_EQ(clicks, 1);
  modal->Free();
}

TEST(DrawnTaskDialogLive, ATextSetWhileTheFormIsUpLaysItOutAgain) {
  TUniTaskDialog td(nullptr);
  td.CustomButtons()->Add(L"&Ok");
  td.SetInstruction(L"Short");
  int before = 0, after = 0;
  TTimer timer(nullptr);
  timer.SetInterval(20);
  timer.SetOnTimer([&](TObject*) {
    TTaskMessageForm* form = td.Form();
    if (!form || !form->Showing()) return;
    timer.SetEnabled(false);
    before = form->ClientHeight();
    td.SetContent(L"A content that was not there before,\nover\nseveral\nlines.");
    after = form->ClientHeight();
    PostMessageW(static_cast<TWinControl*>(form->CustomButtonList[0])->Handle(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(ShowEmulatedTaskDialog(&td, -1, -1), 100);
  EXPECT_GT(after, before);
}

}  // namespace
