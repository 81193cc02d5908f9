#include "widetext/uni_actions.h"

#include <memory>

#include "widetext/synced_strings.h"
#include "widetext/uni_list_view.h"
#include "widetext/uni_menus.h"
#include "widetext/uniexceptions.h"
#include "widetext/wide_props.h"

namespace {

const std::vector<TPropInfo>& UniActionProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniAction>()
      .Property("Caption", &TUniAction::Caption, &TUniAction::SetCaption)
      .Property("Hint", &TUniAction::Hint, &TUniAction::SetHint)
      .Table();
  return table;
}

const std::vector<TPropInfo>& UniHintActionProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniHintAction>()
      .Property("Caption", &TUniHintAction::Caption, &TUniHintAction::SetCaption)
      .Property("Hint", &TUniHintAction::Hint, &TUniHintAction::SetHint)
      .Table();
  return table;
}

// One wide text of an action (its caption or its hint) with the state of setting it.
struct TWideActionText {
  WideString& Value;
  bool& Setting;
  WideString& Previous;
  AnsiString& NewAnsi;
};

WideString ReadText(TWideActionText Text, const AnsiString& Current) {
  // Asked during the blank step of the store: what the action showed before.
  if (Text.Setting && Current != Text.NewAnsi) return Text.Previous;
  return GetSyncedWideString(Text.Value, Current);
}

void WriteText(TWideActionText Text, const WideString& Value, const AnsiString& Current,
               const std::function<void(const AnsiString&)>& SetAnsi) {
  Text.Previous = ReadText(Text, Current);
  Text.NewAnsi = WideToAnsi(Value);
  Text.Setting = true;
  struct Lower {
    bool& flag;
    ~Lower() { flag = false; }
  } lower{Text.Setting};
  SetSyncedWideString(Value, Text.Value, Current, [&](const AnsiString& s) {
    SetAnsi(s);
    // After the blank step the clients show the empty text: nothing of before is left.
    if (s.empty() && !Text.NewAnsi.empty()) Text.Previous.clear();
  });
}

}  // namespace

VCL_CLASS_IMPL(TCustomActionHelper, TComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TUniAction, TAction, &CreateComponentOf<TUniAction>, &UniActionProperties)
VCL_CLASS_IMPL(TUniHintAction, THintAction, &CreateComponentOf<TUniHintAction>, &UniHintActionProperties)
VCL_CLASS_IMPL(TUniControlActionLink, TControlActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TUniWinControlActionLink, TWinControlActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TUniMenuActionLink, TMenuActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TUniButtonActionLink, TButtonActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TUniSpeedButtonActionLink, TSpeedButtonActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TUniToolButtonActionLink, TToolButtonActionLink, nullptr, nullptr)
VCL_CLASS_IMPL(TUniComboBoxExActionLink, TComboBoxExActionLink, nullptr, nullptr)

// ---------------------------------------------------------------------------
// TCustomActionHelper

TCustomActionHelper::TCustomActionHelper(TCustomAction* Action) : TComponent(Action), FAction(Action) {
  if (!Action) throw EUniInternalError("Internal Error: an action helper needs its action");
}

WideString TCustomActionHelper::Caption() {
  return ReadText({FCaption, FSettingNewCaption, FOldWideCaption, FNewAnsiCaption}, FAction->TCustomAction::Caption());
}

void TCustomActionHelper::SetCaption(const WideString& Value) {
  TCustomAction* action = FAction;
  WriteText({FCaption, FSettingNewCaption, FOldWideCaption, FNewAnsiCaption}, Value, action->TCustomAction::Caption(),
            [action](const AnsiString& s) { action->TCustomAction::SetCaption(s); });
}

WideString TCustomActionHelper::Hint() {
  return ReadText({FHint, FSettingNewHint, FOldWideHint, FNewAnsiHint}, FAction->TCustomAction::Hint());
}

void TCustomActionHelper::SetHint(const WideString& Value) {
  TCustomAction* action = FAction;
  WriteText({FHint, FSettingNewHint, FOldWideHint, FNewAnsiHint}, Value, action->TCustomAction::Hint(),
            [action](const AnsiString& s) { action->TCustomAction::SetHint(s); });
}

TCustomActionHelper* FindActionHelper(TBasicAction* Action) {
  auto* action = dynamic_cast<TCustomAction*>(Action);
  if (!action || !dynamic_cast<IWideCustomAction*>(Action)) return nullptr;
  for (int i = 0; i < action->ComponentCount(); ++i)
    if (auto* helper = dynamic_cast<TCustomActionHelper*>(action->Components(i))) return helper;
  return new TCustomActionHelper(action);
}

// ---------------------------------------------------------------------------
// Wide texts of any action

WideString WideActionCaption(TBasicAction* Action) {
  if (TCustomActionHelper* helper = FindActionHelper(Action)) return helper->Caption();
  auto* action = dynamic_cast<TCustomAction*>(Action);
  return action ? AnsiToWide(action->TCustomAction::Caption()) : WideString();
}

void SetWideActionCaption(TBasicAction* Action, const WideString& Value) {
  if (TCustomActionHelper* helper = FindActionHelper(Action))
    helper->SetCaption(Value);
  else if (auto* action = dynamic_cast<TCustomAction*>(Action))
    action->TCustomAction::SetCaption(WideToAnsi(Value));
}

WideString PendingWideActionCaption(TBasicAction* Action, const WideString& Default) {
  TCustomActionHelper* helper = FindActionHelper(Action);
  return helper && helper->SettingNewCaption() ? helper->StoredCaption() : Default;
}

WideString WideActionHint(TBasicAction* Action) {
  if (TCustomActionHelper* helper = FindActionHelper(Action)) return helper->Hint();
  auto* action = dynamic_cast<TCustomAction*>(Action);
  return action ? AnsiToWide(action->TCustomAction::Hint()) : WideString();
}

void SetWideActionHint(TBasicAction* Action, const WideString& Value) {
  if (TCustomActionHelper* helper = FindActionHelper(Action))
    helper->SetHint(Value);
  else if (auto* action = dynamic_cast<TCustomAction*>(Action))
    action->TCustomAction::SetHint(WideToAnsi(Value));
}

WideString PendingWideActionHint(TBasicAction* Action, const WideString& Default) {
  TCustomActionHelper* helper = FindActionHelper(Action);
  return helper && helper->SettingNewHint() ? helper->StoredHint() : Default;
}

void ApplyWideActionTexts(TControl* Control, TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action || !dynamic_cast<IWideCustomAction*>(Sender)) return;
  WideString caption = UniControl_GetText(Control);
  if (!CheckDefaults || caption.empty() || caption == AnsiToWide(Control->Name()))
    UniControl_SetText(Control, WideActionCaption(action));
  if (!CheckDefaults || UniControl_GetHint(Control).empty()) UniControl_SetHint(Control, WideActionHint(action));
}

const TMetaClass* WideActionLinkClassFor(TControl* Control, const TMetaClass* InheritedLinkClass) {
  const TMetaClass* wide;
  if (dynamic_cast<TUniCustomListView*>(Control))
    wide = TUniListViewActionLink::StaticClass();
  else if (dynamic_cast<TCustomComboBoxEx*>(Control))
    wide = TUniComboBoxExActionLink::StaticClass();
  else if (dynamic_cast<TSpeedButton*>(Control))
    wide = TUniSpeedButtonActionLink::StaticClass();
  else if (dynamic_cast<TToolButton*>(Control))
    wide = TUniToolButtonActionLink::StaticClass();
  else if (dynamic_cast<TButtonControl*>(Control))
    wide = TUniButtonActionLink::StaticClass();
  else if (dynamic_cast<TWinControl*>(Control))
    wide = TUniWinControlActionLink::StaticClass();
  else
    wide = TUniControlActionLink::StaticClass();
  if (wide->Parent != InheritedLinkClass)
    throw EUniInternalError(AnsiString("No wide action link for ") + InheritedLinkClass->Name);
  return wide;
}

TControlActionLink* CreateWideActionLink(TControl* Control, TControlActionLink* InheritedLink) {
  std::unique_ptr<TControlActionLink> inherited(InheritedLink);
  const TMetaClass* wide = WideActionLinkClassFor(Control, inherited->ClassType());
  if (wide == TUniListViewActionLink::StaticClass())
    return new TUniListViewActionLink(static_cast<TUniCustomListView*>(Control));
  if (wide == TUniComboBoxExActionLink::StaticClass())
    return new TUniComboBoxExActionLink(static_cast<TCustomComboBoxEx*>(Control));
  if (wide == TUniSpeedButtonActionLink::StaticClass())
    return new TUniSpeedButtonActionLink(static_cast<TSpeedButton*>(Control));
  if (wide == TUniToolButtonActionLink::StaticClass())
    return new TUniToolButtonActionLink(static_cast<TToolButton*>(Control));
  if (wide == TUniButtonActionLink::StaticClass())
    return new TUniButtonActionLink(static_cast<TButtonControl*>(Control));
  if (wide == TUniWinControlActionLink::StaticClass()) return new TUniWinControlActionLink(Control);
  return new TUniControlActionLink(Control);
}

// ---------------------------------------------------------------------------
// Wide actions

namespace {

// After the framework's assignment: the wide texts of an action or of a control.
void AssignWideTexts(TBasicAction* Dest, TPersistent* Source) {
  auto* dest = dynamic_cast<TCustomAction*>(Dest);
  if (!dest) return;
  if (auto* action = dynamic_cast<TCustomAction*>(Source)) {
    dest->TCustomAction::SetCaption(WideToAnsi(WideActionCaption(action)));
    dest->TCustomAction::SetHint(WideToAnsi(WideActionHint(action)));
  } else if (auto* control = dynamic_cast<TControl*>(Source)) {
    dest->TCustomAction::SetCaption(WideToAnsi(UniControl_GetText(control)));
    dest->TCustomAction::SetHint(WideToAnsi(UniControl_GetHint(control)));
  }
}

}  // namespace

void TUniAction::DefineProperties(TFiler* Filer) {
  TAction::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniAction::Assign(TPersistent* Source) {
  TAction::Assign(Source);
  AssignWideTexts(this, Source);
}

void TUniHintAction::DefineProperties(TFiler* Filer) {
  THintAction::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniHintAction::Assign(TPersistent* Source) {
  THintAction::Assign(Source);
  AssignWideTexts(this, Source);
}

// ---------------------------------------------------------------------------
// TUniMenuActionLink

bool TUniMenuActionLink::IsCaptionLinked() {
  if (!TMenuActionLink::IsCaptionLinked()) return false;
  auto* item = dynamic_cast<TUniMenuItem*>(FClient);
  if (!item) return true;
  return SameCaptionText(item->Caption(), WideActionCaption(Action()));
}

bool TUniMenuActionLink::IsHintLinked() {
  if (!TMenuActionLink::IsHintLinked()) return false;
  auto* item = dynamic_cast<TUniMenuItem*>(FClient);
  return !item || item->Hint() == WideActionHint(Action());
}

void TUniMenuActionLink::SetCaption(const AnsiString& Value) {
  if (!IsCaptionLinked()) return;
  if (auto* item = dynamic_cast<TUniMenuItem*>(FClient))
    item->SetCaption(PendingWideActionCaption(Action(), AnsiToWide(Value)));
  else
    FClient->SetCaption(Value);
}

void TUniMenuActionLink::SetHint(const AnsiString& Value) {
  if (!IsHintLinked()) return;
  if (auto* item = dynamic_cast<TUniMenuItem*>(FClient))
    item->SetHint(PendingWideActionHint(Action(), AnsiToWide(Value)));
  else
    FClient->SetHint(Value);
}
