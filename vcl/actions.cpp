#include "vcl/actions.h"

#include <algorithm>

#include "vcl/application.h"
#include "vcl/controls.h"
#include "vcl/messages.h"

namespace {

const std::vector<TPropInfo>& CustomActionProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomAction>()
      .Property("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption)
      .Property("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked).Default(false)
      .Property("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled).Default(true)
      .Property("Hint", &TCustomAction::Hint, &TCustomAction::SetHint)
      .Property("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex).Default(-1)
      .Property("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut).Default(0)
      .Property("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible).Default(true)
      .Property("OnExecute", &TCustomAction::OnExecute)
      .Property("OnUpdate", &TCustomAction::OnUpdate)
      .Table();
  return table;
}

// The application window answers CM_ACTIONEXECUTE / CM_ACTIONUPDATE (its hooks first).
LRESULT SendAppMessage(UINT Msg, TBasicAction* Action) {
  if (!Application || !Application->Handle()) return 0;
  return SendMessageA(Application->Handle(), Msg, 0, reinterpret_cast<LPARAM>(Action));
}

}  // namespace

VCL_CLASS_IMPL(TBasicAction, TComponent, &CreateComponentOf<TBasicAction>, nullptr)
VCL_CLASS_IMPL(TBasicActionLink, TObject, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomAction, TBasicAction, &CreateComponentOf<TCustomAction>, &CustomActionProperties)
VCL_CLASS_IMPL(TAction, TCustomAction, &CreateComponentOf<TAction>, nullptr)
VCL_CLASS_IMPL(THintAction, TCustomAction, &CreateComponentOf<THintAction>, nullptr)
VCL_CLASS_IMPL(TActionLink, TBasicActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TControlActionLink, TActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TWinControlActionLink, TControlActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomListAction, TCustomAction, nullptr, nullptr)
VCL_CLASS_IMPL(TActionList, TComponent, &CreateComponentOf<TActionList>, nullptr)

// ---------------------------------------------------------------------------
// TBasicAction

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  Destroying();
  // The links outlive their action as empty links: their clients drop them later.
  for (TBasicActionLink* link : FClients) link->FAction = nullptr;
  FClients.clear();
  SetActionComponent(nullptr);
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::SetActionComponent(TComponent* Value) {
  if (FActionComponent == Value) return;
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
  FActionComponent = Value;
  if (FActionComponent) FActionComponent->FreeNotification(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

void TBasicAction::Change() {
  if (OnChange) OnChange(this);
  // A link may go while it hears of the change (its client unlinks): walk a copy.
  std::vector<TBasicActionLink*> links = FClients;
  for (TBasicActionLink* link : links)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
}

// ---------------------------------------------------------------------------
// TBasicActionLink

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction) {
    auto& list = FAction->FClients;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  FAction = Value;
  if (FAction) FAction->FClients.push_back(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  FAction->SetActionComponent(AComponent);
  struct Reset {
    TBasicAction* action;
    ~Reset() { action->SetActionComponent(nullptr); }
  };
  TBasicAction* action = FAction;
  Reset reset{action};
  return action->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

// ---------------------------------------------------------------------------
// TCustomAction

template <class T, class LinkSetter>
static void ChangeLinked(TCustomAction* action, T& field, const T& value, LinkSetter set);

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TCustomAction::~TCustomAction() {
  Destroying();
  SetActionList(nullptr);
}

bool TCustomAction::Execute() {
  Update();
  if (!FEnabled) return false;
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  return TBasicAction::Execute() || SendAppMessage(CM_ACTIONEXECUTE, this) == 1;
}

bool TCustomAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  return TBasicAction::Update() || SendAppMessage(CM_ACTIONUPDATE, this) == 1;
}

void TCustomAction::SetActionList(TActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) {
    auto& list = FActionList->FActions;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  FActionList = Value;
  if (FActionList) FActionList->FActions.push_back(this);
}

// While it is read, an action may be read into a list (the reader asks before it knows).
bool TCustomAction::HasParent() const { return FActionList != nullptr || HasState(csReading); }
TComponent* TCustomAction::GetParentComponent() const { return FActionList; }

void TCustomAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TActionList*>(Value)) SetActionList(list);
}

void TCustomAction::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  ChangeLinked(this, FImageIndex, Value, &TActionLink::SetImageIndex);
  Change();
}

// Each setter tells the links first, while the action still holds the old value: a link
// passes the change on only to a client that still shows that old value.
template <class T, class LinkSetter>
static void ChangeLinked(TCustomAction* action, T& field, const T& value, LinkSetter set) {
  if (field == value) return;
  for (int i = 0; i < action->ClientCount(); ++i)
    if (auto* link = dynamic_cast<TActionLink*>(action->Clients(i))) (link->*set)(value);
  field = value;
}

void TCustomAction::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  ChangeLinked(this, FCaption, Value, &TActionLink::SetCaption);
  Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value) return;
  ChangeLinked(this, FChecked, Value, &TActionLink::SetChecked);
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  ChangeLinked(this, FEnabled, Value, &TActionLink::SetEnabled);
  Change();
}

void TCustomAction::SetHint(const AnsiString& Value) {
  if (FHint == Value) return;
  ChangeLinked(this, FHint, Value, &TActionLink::SetHint);
  Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  ChangeLinked(this, FShortCut, Value, &TActionLink::SetShortCut);
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  ChangeLinked(this, FVisible, Value, &TActionLink::SetVisible);
  Change();
}

THintAction::THintAction(TComponent* AOwner) : TCustomAction(AOwner) { DisableIfNoHandler = false; }

// ---------------------------------------------------------------------------
// Links

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }

bool TActionLink::DoShowHint(AnsiString& HintStr) {
  TCustomAction* action = CustomAction();
  if (action && Application && Application->HintShortCuts && action->ShortCut() != scNone && !HintStr.empty())
    HintStr = Format("%s (%s)", HintStr.c_str(), ShortCutToText(action->ShortCut()).c_str());
  return true;
}

TControlActionLink::TControlActionLink(TControl* AClient) : TActionLink(AClient), FClient(AClient) {}

bool TControlActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && FClient->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && FClient->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && FClient->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && FClient->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() { return TActionLink::IsOnExecuteLinked() && !FClient->OnClick; }

void TControlActionLink::SetCaption(const AnsiString& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const AnsiString& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

// ---------------------------------------------------------------------------
// TActionList

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  Destroying();
  // The actions live on (their owner frees them), outside any list.
  while (!FActions.empty()) FActions.back()->SetActionList(nullptr);
}

bool TActionList::ExecuteAction(TBasicAction* Action) {
  bool handled = false;
  if (OnExecute) OnExecute(Action, handled);
  return handled;
}

bool TActionList::UpdateAction(TBasicAction* Action) {
  bool handled = false;
  if (OnUpdate) OnUpdate(Action, handled);
  return handled;
}

void TActionList::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
  for (TCustomAction* action : FActions)
    if (action->Owner() == Root) Proc(action);
}
