// Actions and their links to controls: what a linked control follows, what its click
// runs, actions named in descriptions, and the idle step's updates.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/vcl/app_loop.h"
#include "vcl/actions.h"
#include "vcl/application.h"
#include "vcl/forms.h"
#include "vcl/menus.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "tests/support/forms.h"

namespace {

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

TEST_F(Actions, ACaptionChangeReachesTheButtonAndTheMenuItemThatFollowIt) {
  TAction action(nullptr);
  action.SetCaption("&Mux");
  action.SetShortCut(ShortCut('M', ssCtrl));
  action.SetChecked(true);
  TButton* button = AddButton("Button");
  EXPECT_TRUE(dynamic_cast<TWinControlActionLink*>(button->ActionLink()) == nullptr);  // none yet
  button->SetAction(&action);
  EXPECT_TRUE(dynamic_cast<TWinControlActionLink*>(button->ActionLink()) != nullptr);
  TPopupMenu menu(nullptr);
  auto* item = new TMenuItem(&menu);
  menu.Items()->Add(item);
  auto* own = new TMenuItem(&menu);
  menu.Items()->Add(own);
  item->SetAction(&action);
  own->SetAction(&action);
  own->SetCaption("Own caption");
  EXPECT_TRUE(own->IsCaptionStored());
  EXPECT_FALSE(item->IsCaptionStored());
  EXPECT_EQ(item->Caption(), "&Mux");
  EXPECT_EQ(item->ShortCut(), ShortCut('M', ssCtrl));
  EXPECT_TRUE(item->Checked());

  action.SetCaption("&Join");
  action.SetChecked(false);
  action.SetImageIndex(3);
  EXPECT_EQ(button->Caption(), "&Join");
  EXPECT_EQ(item->Caption(), "&Join");
  EXPECT_FALSE(item->Checked());
  EXPECT_EQ(item->ImageIndex(), 3);
  // The entry of the built menu shows the new text too.
  char text[64] = {};
  GetMenuStringA(menu.Handle(), item->Command(), text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "&Join\tCtrl+M");

  // A click of the item runs the action.
  int executed = 0;
  action.OnExecute = [&](TObject*) { ++executed; };
  item->Click();
  EXPECT_EQ(executed, 1);
  button->SetAction(nullptr);
}

TEST_F(Actions, TheActionListSeesItsActionsFirst) {
  TActionList list(nullptr);
  TAction handledByList(nullptr), ownHandler(nullptr);
  handledByList.SetActionList(&list);
  ownHandler.SetActionList(&list);
  ASSERT_EQ(list.ActionCount(), 2);
  std::vector<TBasicAction*> seen;
  list.OnExecute = [&](TBasicAction* action, bool& handled) {
    seen.push_back(action);
    handled = action == &handledByList;
  };
  int ownRuns = 0, listRuns = 0;
  handledByList.OnExecute = [&](TObject*) { ++listRuns; };
  ownHandler.OnExecute = [&](TObject*) { ++ownRuns; };
  EXPECT_TRUE(handledByList.Execute());
  EXPECT_TRUE(ownHandler.Execute());
  EXPECT_EQ(listRuns, 0);
  EXPECT_EQ(ownRuns, 1);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], &handledByList);
  // The action leaves its list when it goes, and the list lets go of the rest.
  {
    TAction brief(nullptr);
    brief.SetActionList(&list);
    EXPECT_EQ(list.ActionCount(), 3);
  }
  EXPECT_EQ(list.ActionCount(), 2);
}

}  // namespace
