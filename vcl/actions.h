// Actions: commands whose caption, hint, shortcut and state are shared by the controls
// linked to them, and the links that carry an action's changes to a control.
//
// A control linked to an action (TControl::SetAction) gets a link from CreateActionLink;
// the action tells every link of each change, and the link passes it to its control
// when the control still shows what the action showed before (the Is*Linked tests).
// The application's idle step asks each visible control's action to update itself
// (InitiateAction -> link Update -> action Update -> OnUpdate).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "vcl/classes.h"
#include "vcl/keyboard.h"

class TBasicActionLink;
class TControl;
class TActionList;

class TBasicAction : public TComponent {
  VCL_CLASS(TBasicAction)
  friend class TBasicActionLink;

 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;

  // Runs OnExecute; false when there is none.
  virtual bool Execute();
  // Runs OnUpdate; false when there is none.
  virtual bool Update();
  // Whether the action works on Target by itself; ExecuteTarget/UpdateTarget then do it.
  virtual bool HandlesTarget(TObject* Target) { return false; }
  virtual void ExecuteTarget(TObject* Target) {}
  virtual void UpdateTarget(TObject* Target) {}

  // The component whose click executed the action last (its link's client).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value);

  int ClientCount() const { return static_cast<int>(FClients.size()); }
  TBasicActionLink* Clients(int Index) const { return FClients.at(static_cast<size_t>(Index)); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  // Any property of the action changed (the links hear of it too).
  TNotifyEvent OnChange;

 protected:
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::vector<TBasicActionLink*> FClients;
  TComponent* FActionComponent = nullptr;
};

class TBasicActionLink : public TObject {
  VCL_CLASS(TBasicActionLink)
  friend class TBasicAction;

 public:
  explicit TBasicActionLink(TObject* AClient) {}
  ~TBasicActionLink() override;

  TBasicAction* Action() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  // Executes the action on behalf of AComponent (the client that was clicked).
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();
  // Whether the client's click runs the action (it has no click handler of its own).
  virtual bool IsOnExecuteLinked() { return true; }

  // The action changed; Sender is the action.
  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  TBasicAction* FAction = nullptr;
};

// An action with the texts and state its clients show.
class TCustomAction : public TBasicAction {
  VCL_CLASS(TCustomAction)
 public:
  explicit TCustomAction(TComponent* AOwner);

  // Updates the action first; a disabled action does not run. Without OnExecute the
  // application gets CM_ACTIONEXECUTE (its window hooks, then the active form and its
  // controls).
  bool Execute() override;
  // Without OnUpdate the application gets CM_ACTIONUPDATE.
  bool Update() override;

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The picture of the action in its list's images (-1: none).
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // The list the action belongs to (null: none); its OnExecute and OnUpdate see the
  // action's execution and update first.
  TActionList* ActionList() const { return FActionList; }
  void SetActionList(TActionList* Value);
  // An action that nobody handles is disabled by the update that finds no handler.
  bool DisableIfNoHandler = true;

 private:
  AnsiString FCaption;
  AnsiString FHint;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  TShortCut FShortCut = scNone;
  int FImageIndex = -1;
  TActionList* FActionList = nullptr;

 public:
  // Stored descriptions: an action lives inside its list (and is read into it).
  bool HasParent() const override;
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  ~TCustomAction() override;
};

class TAction : public TCustomAction {
  VCL_CLASS(TAction)
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// Carries a changed application hint to whoever shows hints (a status bar answers it in
// its ExecuteAction). The application executes one each time its Hint changes and no
// OnHint handler takes the change.
class THintAction : public TCustomAction {
  VCL_CLASS(THintAction)
 public:
  explicit THintAction(TComponent* AOwner);
};

// The base of actions that offer a list of items to choose from (controls test for it).
class TCustomListAction : public TCustomAction {
  VCL_CLASS(TCustomListAction)
 public:
  using TCustomAction::TCustomAction;
};

using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

// A list of actions: what a form's actions are kept in. Its OnExecute and OnUpdate see
// each of its actions before the action's own handlers (Handled stops them).
class TActionList : public TComponent {
  VCL_CLASS(TActionList)
  friend class TCustomAction;

 public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;

  int ActionCount() const { return static_cast<int>(FActions.size()); }
  TCustomAction* Actions(int Index) const { return FActions.at(static_cast<size_t>(Index)); }
  // Asks OnExecute / OnUpdate; true when it handled the action.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  TActionEvent OnExecute;
  TActionEvent OnUpdate;

  void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

 private:
  std::vector<TCustomAction*> FActions;
};

// The link between a TCustomAction and a client: each Is*Linked test tells whether the
// client still follows the action; each Set* passes a change to a client that follows.
class TActionLink : public TBasicActionLink {
  VCL_CLASS(TActionLink)
 public:
  using TBasicActionLink::TBasicActionLink;

  virtual bool IsCaptionLinked();
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsHintLinked();
  virtual bool IsShortCutLinked();
  virtual bool IsVisibleLinked();
  virtual void SetCaption(const AnsiString& Value) {}
  virtual void SetChecked(bool Value) {}
  virtual void SetEnabled(bool Value) {}
  virtual void SetHint(const AnsiString& Value) {}
  virtual void SetShortCut(TShortCut Value) {}
  virtual void SetVisible(bool Value) {}
  // The picture is followed by clients that show one (menu items, buttons with glyphs).
  virtual bool IsImageIndexLinked();
  virtual void SetImageIndex(int Value) {}

  // Before a hint shows: with the application's HintShortCuts and an action with a
  // shortcut, the hint becomes "hint (shortcut)". False keeps the hint from showing.
  virtual bool DoShowHint(AnsiString& HintStr);

 protected:
  TCustomAction* CustomAction() const;
};

// The link of a control: it follows the action while its caption, hint, enabling and
// visibility equal the action's.
class TControlActionLink : public TActionLink {
  VCL_CLASS(TControlActionLink)
 public:
  explicit TControlActionLink(TControl* AClient);
  TControl* Client() const { return FClient; }

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const AnsiString& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const AnsiString& Value) override;
  void SetVisible(bool Value) override;

 protected:
  TControl* FClient;
};

// The link of a windowed control (the base of the button and list links).
class TWinControlActionLink : public TControlActionLink {
  VCL_CLASS(TWinControlActionLink)
 public:
  using TControlActionLink::TControlActionLink;
};

// Links an owner (a control, a menu item) to an action through its action link, made by
// Create on first use; the link reports every change of the action to Changed (defaults off).
// Null unlinks. An action still being read keeps what the owner's own description says.
template <class TLink>
void LinkToAction(std::unique_ptr<TLink>& Link, TBasicAction* Value, const std::function<TLink*()>& Create,
                  const std::function<void(TObject*, bool)>& Changed) {
  if (!Value) {
    Link.reset();
    return;
  }
  if (!Link) Link.reset(Create());
  Link->SetAction(Value);
  Link->OnChange = [&Link, Changed](TObject* Sender) {
    if (Link && Sender == Link->Action()) Changed(Sender, false);
  };
  Changed(Value, Value->HasState(csLoading));
}
