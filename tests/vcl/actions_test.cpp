// Actions and their links to controls: what a linked control follows, what its click
// runs, actions named in descriptions, and the idle step's updates.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/vcl/app_loop.h"
#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"

namespace {

struct FormFree {
  void operator()(TCustomForm* f) const { f->Free(); }
};
using FormPtr = std::unique_ptr<TForm, FormFree>;

class Actions : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(50, 50, 300, 200);
  }
  TButton* AddButton(const char* name) {
    auto* b = new TButton(form.get());
    b->SetName(name);
    b->SetParent(form.get());
    return b;
  }
  FormPtr form;
};

TEST_F(Actions, ALinkedControlFollowsWhileItShowsWhatTheActionShowed) {
  TAction action(nullptr);
  action.SetCaption("&Save");
  action.SetHint("Save|Saves the file");
  TButton* follower = AddButton("Follower");
  TButton* own = AddButton("Own");
  follower->SetAction(&action);
  own->SetAction(&action);
  EXPECT_EQ(follower->Caption(), "&Save");
  EXPECT_EQ(follower->Hint(), "Save|Saves the file");
  EXPECT_EQ(follower->Action(), &action);

  // What follows the action is the action's to store; a caption of its own is the control's.
  own->SetCaption("Keep");
  EXPECT_FALSE(follower->IsCaptionStored());
  EXPECT_FALSE(follower->IsHintStored());
  EXPECT_TRUE(own->IsCaptionStored());
  EXPECT_FALSE(own->IsHintStored());

  action.SetCaption("Save &as");
  action.SetEnabled(false);
  action.SetVisible(false);
  EXPECT_EQ(follower->Caption(), "Save &as");
  EXPECT_FALSE(follower->Enabled());
  EXPECT_FALSE(follower->Visible());

  // Gone with its action: the control keeps what it shows and stores it again.
  {
    TAction shortLived(nullptr);
    shortLived.SetCaption("Brief");
    follower->SetAction(&shortLived);
    EXPECT_EQ(follower->Caption(), "Brief");
  }
  EXPECT_EQ(follower->Action(), nullptr);
  EXPECT_EQ(follower->Caption(), "Brief");
  EXPECT_TRUE(follower->IsCaptionStored());
}

TEST_F(Actions, AClickRunsTheActionUnlessTheControlHasAHandlerOfItsOwn) {
  TAction action(nullptr);
  int executed = 0;
  TComponent* executedFor = nullptr;
  action.OnExecute = [&](TObject*) {
    ++executed;
    executedFor = action.ActionComponent();
  };
  TButton* button = AddButton("Button");
  button->SetAction(&action);
  button->Click();
  EXPECT_EQ(executed, 1);
  EXPECT_EQ(executedFor, button);
  EXPECT_EQ(action.ActionComponent(), nullptr);

  action.SetEnabled(false);  // a disabled action does not run
  button->Click();
  EXPECT_EQ(executed, 1);

  action.SetEnabled(true);
  int own = 0;
  button->OnClick = [&](TObject*) { ++own; };
  button->Click();
  EXPECT_EQ(own, 1);
  EXPECT_EQ(executed, 1);
}

TEST_F(Actions, ADescriptionNamesTheActionAndKeepsTheControlsOwnCaption) {
  const char* text = R"(object ActionsForm: TForm
  object actOpen: TAction
    Caption = 'Open...'
    Hint = 'Open|Opens a file'
    ShortCut = 16463
  end
  object btPlain: TButton
    Action = actOpen
  end
  object btOwn: TButton
    Action = actOpen
    Caption = 'Browse'
  end
end
)";
  FormPtr loaded(TCustomForm::CreateNew<TForm>(nullptr));
  ReadComponentData(text, std::strlen(text), loaded.get(), "actions.dfm");
  auto* action = dynamic_cast<TAction*>(loaded->FindComponent("actOpen"));
  auto* plain = dynamic_cast<TButton*>(loaded->FindComponent("btPlain"));
  auto* own = dynamic_cast<TButton*>(loaded->FindComponent("btOwn"));
  ASSERT_TRUE(action && plain && own);
  EXPECT_EQ(action->ShortCut(), ShortCut('O', ssCtrl));
  EXPECT_EQ(plain->Action(), action);
  EXPECT_EQ(plain->Caption(), "Open...");
  EXPECT_EQ(plain->Hint(), "Open|Opens a file");
  EXPECT_EQ(own->Caption(), "Browse");
  EXPECT_EQ(own->Hint(), "Open|Opens a file");
}

TEST_F(Actions, TheIdleStepUpdatesTheActionsOfVisibleForms) {
  TAction updated(nullptr);
  bool wanted = false;
  int updates = 0;
  updated.OnUpdate = [&](TObject*) {
    ++updates;
    updated.SetEnabled(wanted);
  };
  updated.OnExecute = [](TObject*) {};
  TAction orphan(nullptr);  // no OnExecute, no OnUpdate, nobody to handle it
  TButton* a = AddButton("A");
  TButton* b = AddButton("B");
  b->SetTop(40);
  a->SetAction(&updated);
  b->SetAction(&orphan);

  // A hidden form's actions wait.
  apploop::RunUntil([] { return false; }, 50);
  EXPECT_EQ(updates, 0);

  form->Show();
  ASSERT_TRUE(apploop::RunUntil([&] { return updates > 0; }));
  EXPECT_FALSE(a->Enabled());
  wanted = true;
  ASSERT_TRUE(apploop::RunUntil([&] { return a->Enabled(); }));
  // An action nothing handles is switched off, and its control with it.
  EXPECT_FALSE(orphan.Enabled());
  EXPECT_FALSE(b->Enabled());
  a->SetAction(nullptr);
  b->SetAction(nullptr);
}

}  // namespace
