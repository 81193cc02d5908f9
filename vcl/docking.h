// Dock managers: what lays out the controls docked to a dock site that uses one
// (TWinControl::UseDockManager). The docking itself (ManualDock, Dock, the CM_DOCKCLIENT,
// CM_UNDOCKCLIENT and CM_DOCKNOTIFICATION messages) belongs to the controls (controls.h).
#pragma once

#include "vcl/controls.h"

class TDockManager {
 public:
  virtual ~TDockManager() = default;
  // Control has been docked; InsertAt and DropCtl say where (alNone and null: last).
  virtual void InsertControl(TControl* Control, TAlign InsertAt, TControl* DropCtl) = 0;
  virtual void RemoveControl(TControl* Control) = 0;
  // Places the docked controls again (Force: even when nothing seems to have changed).
  virtual void ResetBounds(bool Force) = 0;
};

// The framework's dock manager: the docked controls share the site's client area in
// bands from top to bottom, in the order they came; a control dropped on the top or left
// side of another goes before it, on any other side after it. The manager sits in front
// of the site's window method to follow its size, and puts back the method it found when
// it goes.
class TDockTree : public TDockManager {
 public:
  explicit TDockTree(TWinControl* DockSite);
  ~TDockTree() override;
  TDockTree(const TDockTree&) = delete;
  TDockTree& operator=(const TDockTree&) = delete;

  void InsertControl(TControl* Control, TAlign InsertAt, TControl* DropCtl) override;
  void RemoveControl(TControl* Control) override;
  void ResetBounds(bool Force) override;

  TWinControl* DockSite() const { return FDockSite; }
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const { return FControls.at(static_cast<size_t>(Index)); }

 private:
  struct TWindowMethod {
    TDockTree* Tree;
    void operator()(TMessage& Message) const { Tree->WindowProcHook(Message); }
  };
  void WindowProcHook(TMessage& Message);

  TWinControl* FDockSite;
  TWndMethod FOldWndProc;
  std::vector<TControl*> FControls;
  RECT FLastClient{};
};
