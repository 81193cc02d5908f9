// Actions: commands whose caption, hint, shortcut and state are shared by the controls
// linked to them, and the links that carry an action's changes to a control.
//
// A control linked to an action (TControl::SetAction) gets a link from CreateActionLink;
// the action tells every link of each change, and the link passes it to its control
// when the control still shows what the action showed before (the Is*Linked tests).
// The application's idle step asks each visible control's action to update itself
// (InitiateAction -> link Update -> action Update -> OnUpdate).
#pragma once

#include <vector>

#include "vcl/classes.h"
#include "vcl/keyboard.h"

class TBasicActionLink;
class TControl;

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
  // An action that nobody handles is disabled by the update that finds no handler.
  bool DisableIfNoHandler = true;

 private:
  AnsiString FCaption;
  AnsiString FHint;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  TShortCut FShortCut = scNone;
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
