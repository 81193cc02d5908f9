// Wide actions: TUniAction and TUniHintAction keep a wide Caption and Hint beside the
// framework's 8-bit ones, and the wide action links carry them to linked controls and
// menu items.
//
// An action offers its wide texts through IWideCustomAction; they live in a companion
// (TCustomActionHelper) the action owns. Any other action's texts are its 8-bit ones,
// converted.
//
// Every wide control calls ApplyWideActionTexts at the start of its ActionChange and makes
// its link with the wide twin of its framework link. The twins of the controls' links are
// TUniControlActionLinkOf<FrameworkLink>: a wide button link is
//
//   class TUniButtonActionLink : public TUniControlActionLinkOf<TButtonActionLink> {...};
#pragma once

#include "vcl/actions.h"
#include "vcl/buttons.h"
#include "vcl/comctrls_comboboxex.h"
#include "vcl/comctrls_toolbar.h"
#include "vcl/controls.h"
#include "vcl/menus.h"
#include "vcl/stdctrls.h"
#include "widetext/wide_control_text.h"

// The wide action interface: actions that keep wide texts in a TCustomActionHelper.
class IWideCustomAction {
 public:
  virtual ~IWideCustomAction() = default;
};

// The wide texts of one action. While a new text is being set, links that ask for the
// action's text during the blank step of the synced store get the previous one.
class TCustomActionHelper : public TComponent {
  VCL_CLASS(TCustomActionHelper)
 public:
  // Owned by Action (EUniInternalError for none).
  explicit TCustomActionHelper(TCustomAction* Action);

  TCustomAction* Action() const { return FAction; }
  WideString Caption();
  void SetCaption(const WideString& Value);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool SettingNewCaption() const { return FSettingNewCaption; }
  bool SettingNewHint() const { return FSettingNewHint; }
  // The stored wide texts themselves (the new ones while they are being set).
  const WideString& StoredCaption() const { return FCaption; }
  const WideString& StoredHint() const { return FHint; }

 private:
  TCustomAction* FAction;
  WideString FCaption;
  bool FSettingNewCaption = false;
  WideString FOldWideCaption;
  AnsiString FNewAnsiCaption;
  WideString FHint;
  bool FSettingNewHint = false;
  WideString FOldWideHint;
  AnsiString FNewAnsiHint;
};

// The helper of a wide action (made on first need); null for other actions.
TCustomActionHelper* FindActionHelper(TBasicAction* Action);

WideString WideActionCaption(TBasicAction* Action);
void SetWideActionCaption(TBasicAction* Action, const WideString& Value);
// Default, or the action's new wide caption while it is being set.
WideString PendingWideActionCaption(TBasicAction* Action, const WideString& Default);
WideString WideActionHint(TBasicAction* Action);
void SetWideActionHint(TBasicAction* Action, const WideString& Value);
WideString PendingWideActionHint(TBasicAction* Action, const WideString& Default);

// The wide caption and hint of a wide action go to Control (before the framework's
// ActionChange); with CheckDefaults only where the control has none of its own (a caption
// equal to the control's Name counts as none).
void ApplyWideActionTexts(TControl* Control, TObject* Sender, bool CheckDefaults);

class TUniAction : public TAction, public IWideCustomAction {
  VCL_CLASS(TUniAction)
 public:
  explicit TUniAction(TComponent* AOwner) : TAction(AOwner) {}
  WideString Caption() { return WideActionCaption(this); }
  void SetCaption(const WideString& Value) { SetWideActionCaption(this, Value); }
  WideString Hint() { return WideActionHint(this); }
  void SetHint(const WideString& Value) { SetWideActionHint(this, Value); }
  void DefineProperties(TFiler* Filer) override;
  // The framework's assignment, then the wide texts of an action or a control source.
  void Assign(TPersistent* Source) override;
};

class TUniHintAction : public THintAction, public IWideCustomAction {
  VCL_CLASS(TUniHintAction)
 public:
  explicit TUniHintAction(TComponent* AOwner) : THintAction(AOwner) {}
  WideString Caption() { return WideActionCaption(this); }
  void SetCaption(const WideString& Value) { SetWideActionCaption(this, Value); }
  WideString Hint() { return WideActionHint(this); }
  void SetHint(const WideString& Value) { SetWideActionHint(this, Value); }
  void DefineProperties(TFiler* Filer) override;
  void Assign(TPersistent* Source) override;
};

// The wide side of a control's link: the control follows the action while, beyond the
// framework's test, its wide caption (hint) equals the action's; a change of the
// action's text reaches the control whole.
template <class FrameworkLink>
class TUniControlActionLinkOf : public FrameworkLink {
 public:
  using FrameworkLink::FrameworkLink;

  bool IsCaptionLinked() override {
    return FrameworkLink::IsCaptionLinked() &&
           UniControl_GetText(this->Client()) == WideActionCaption(this->Action());
  }
  bool IsHintLinked() override {
    return FrameworkLink::IsHintLinked() && UniControl_GetHint(this->Client()) == WideActionHint(this->Action());
  }
  void SetCaption(const AnsiString& Value) override {
    if (IsCaptionLinked()) UniControl_SetText(this->Client(), PendingWideActionCaption(this->Action(), AnsiToWide(Value)));
  }
  void SetHint(const AnsiString& Value) override {
    if (IsHintLinked()) UniControl_SetHint(this->Client(), PendingWideActionHint(this->Action(), AnsiToWide(Value)));
  }
};

class TUniControlActionLink : public TUniControlActionLinkOf<TControlActionLink> {
  VCL_CLASS(TUniControlActionLink)
 public:
  using TUniControlActionLinkOf<TControlActionLink>::TUniControlActionLinkOf;
};

class TUniWinControlActionLink : public TUniControlActionLinkOf<TWinControlActionLink> {
  VCL_CLASS(TUniWinControlActionLink)
 public:
  using TUniControlActionLinkOf<TWinControlActionLink>::TUniControlActionLinkOf;
};

// A menu item's link; for a wide item the captions compare without hot-key marks and
// case.
class TUniMenuActionLink : public TMenuActionLink {
  VCL_CLASS(TUniMenuActionLink)
 public:
  using TMenuActionLink::TMenuActionLink;
  bool IsCaptionLinked() override;
  bool IsHintLinked() override;
  void SetCaption(const AnsiString& Value) override;
  void SetHint(const AnsiString& Value) override;
};

// The links of wide buttons: the framework's check-state following, the wide texts.
class TUniButtonActionLink : public TUniControlActionLinkOf<TButtonActionLink> {
  VCL_CLASS(TUniButtonActionLink)
 public:
  using TUniControlActionLinkOf<TButtonActionLink>::TUniControlActionLinkOf;
};

class TUniSpeedButtonActionLink : public TUniControlActionLinkOf<TSpeedButtonActionLink> {
  VCL_CLASS(TUniSpeedButtonActionLink)
 public:
  using TUniControlActionLinkOf<TSpeedButtonActionLink>::TUniControlActionLinkOf;
};

// The links of tool buttons (Down and picture follow the action) and of extended combo boxes.
class TUniToolButtonActionLink : public TUniControlActionLinkOf<TToolButtonActionLink> {
  VCL_CLASS(TUniToolButtonActionLink)
 public:
  using TUniControlActionLinkOf<TToolButtonActionLink>::TUniControlActionLinkOf;
};

class TUniComboBoxExActionLink : public TUniControlActionLinkOf<TComboBoxExActionLink> {
  VCL_CLASS(TUniComboBoxExActionLink)
 public:
  using TUniControlActionLinkOf<TComboBoxExActionLink>::TUniControlActionLinkOf;
};

// The wide twin of the link class the control's framework class makes (InheritedLinkClass):
// list views, extended combo boxes, speed buttons, tool buttons and button controls have
// links of their own, other windowed
// controls TUniWinControlActionLink, window-less ones TUniControlActionLink. A twin whose
// parent is not InheritedLinkClass is a fault of the layer (EUniInternalError).
const TMetaClass* WideActionLinkClassFor(TControl* Control, const TMetaClass* InheritedLinkClass);

// The link a wide control makes in CreateActionLink: the wide twin of InheritedLink, the
// link its framework class makes (which is freed).
TControlActionLink* CreateWideActionLink(TControl* Control, TControlActionLink* InheritedLink);

// The action overrides of every wide control, in a protected part of its class (Base: the
// framework class it derives from): the action's wide texts go first, then the framework's
// action change; the link is the wide twin of the framework's.
#define UNI_WIDE_ACTION_OVERRIDES(Base)                                 \
  void ActionChange(TObject* Sender, bool CheckDefaults) override {     \
    ApplyWideActionTexts(this, Sender, CheckDefaults);                  \
    Base::ActionChange(Sender, CheckDefaults);                          \
  }                                                                     \
  TControlActionLink* CreateActionLink() override {                     \
    return CreateWideActionLink(this, Base::CreateActionLink());        \
  }
