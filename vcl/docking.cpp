#include "vcl/docking.h"

#include <algorithm>

#include "vcl/forms.h"
#include "vcl/scopeexit.h"

namespace {

void EraseClient(std::vector<TControl*>& List, TControl* Client) {
  List.erase(std::remove(List.begin(), List.end(), Client), List.end());
}

}  // namespace

// ---------------------------------------------------------------------------
// The client's side

bool TControl::ManualDock(TWinControl* NewDockSite, TControl* DropControl, TAlign ControlSide) {
  // Where the control is now, on the screen.
  RECT r = BoundsRect();
  if (FParent && FParent->HandleAllocated())
    MapWindowPoints(FParent->WindowHandle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  if (!NewDockSite) return ManualFloat(r);
  if (FHostDockSite && !FHostDockSite->DoUnDock(NewDockSite, this)) return false;
  TDragDockObject source;
  source.Control = this;
  source.DockRect = r;
  source.DropAlign = ControlSide;
  source.DropOnControl = DropControl;
  POINT drop{r.left, r.top};
  if (NewDockSite->HandleAllocated()) ::ScreenToClient(NewDockSite->WindowHandle(), &drop);
  NewDockSite->DockDrop(&source, drop.x, drop.y);
  return true;
}

bool TControl::ManualFloat(const RECT& ScreenPos) {
  if (!dynamic_cast<TCustomForm*>(this)) return false;
  if (FHostDockSite && !FHostDockSite->DoUnDock(nullptr, this)) return false;
  SetParent(nullptr);
  SetBoundsRect(ScreenPos);
  Dock(nullptr, ScreenPos);
  return true;
}

void TControl::Dock(TWinControl* NewDockSite, const RECT& ARect) {
  TWinControl* previous = FHostDockSite;
  ControlState |= csDocking;
  ScopeExit done{[this] { ControlState &= ~csDocking; }};
  RECT r = ARect;
  if (NewDockSite) DoDock(NewDockSite, r);
  FHostDockSite = NewDockSite;
  if (NewDockSite) {
    auto& clients = NewDockSite->FDockClients;
    const bool listed = std::find(clients.begin(), clients.end(), this) != clients.end();
    if (!listed) clients.push_back(this);
    // Docked again into the same site, the control is adopted again too (a page control
    // gives it the new sheet and lets the old one go).
    try {
      NewDockSite->DoAddDockClient(this, r);
    } catch (...) {
      // Not docked after all: the control stays where it was.
      if (!listed) EraseClient(NewDockSite->FDockClients, this);
      FHostDockSite = previous;
      throw;
    }
  }
  if (previous) {
    if (previous != NewDockSite) EraseClient(previous->FDockClients, this);
    previous->DoRemoveDockClient(this);
  }
}

void TControl::DoDock(TWinControl*, RECT& ARect) {
  if (!dynamic_cast<TWinControl*>(this)) InvalidateControl(Visible(), false);
  SetBoundsRect(ARect);
}

void TControl::SendDockNotification(UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!FHostDockSite) return;
  TDockNotifyRec rec{Msg, WParam, LParam};
  FHostDockSite->Perform(CM_DOCKNOTIFICATION, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&rec));
}

// ---------------------------------------------------------------------------
// The site's side

void TWinControl::SetDockSite(bool Value) {
  if (FDockSite == Value) return;
  FDockSite = Value;
  if (HasState(csDesigning)) return;
  if (!Value)
    FDockManager.reset();
  else if (FUseDockManager && !FDockManager)
    FDockManager.reset(CreateDockManager());
}

void TWinControl::SetUseDockManager(bool Value) {
  if (FUseDockManager == Value) return;
  FUseDockManager = Value;
  if (HasState(csDesigning)) return;
  if (!Value)
    FDockManager.reset();
  else if (FDockSite && !FDockManager)
    FDockManager.reset(CreateDockManager());
}

TDockManager* TWinControl::CreateDockManager() { return new TDockTree(this); }

void TWinControl::DockDrop(TDragDockObject* Source, int X, int Y) {
  Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(Source),
          MAKELPARAM(static_cast<WORD>(static_cast<short>(X)), static_cast<WORD>(static_cast<short>(Y))));
}

bool TWinControl::DoUnDock(TWinControl* NewTarget, TControl* Client) {
  bool mayGo =
      Perform(CM_UNDOCKCLIENT, reinterpret_cast<WPARAM>(NewTarget), reinterpret_cast<LPARAM>(Client)) == 0;
  if (mayGo && FUseDockManager && FDockManager && !HasState(csDestroying)) FDockManager->RemoveControl(Client);
  return mayGo;
}

void TWinControl::DoAddDockClient(TControl* Client, const RECT&) { Client->SetParent(this); }

void TWinControl::CMDockClient(TMessage& Message) {
  TDragDockObject* source = TCMDockClient{Message}.DockSource();
  Message.Result = 0;
  if (!source || !source->Control) return;
  RECT r = source->DockRect;
  if (FHandle) MapWindowPoints(HWND_DESKTOP, FHandle, reinterpret_cast<POINT*>(&r), 2);
  {
    DisableAlign();
    ScopeExit enable{[this] { EnableAlign(); }};
    source->Control->Dock(this, r);
    if (FUseDockManager && FDockManager)
      FDockManager->InsertControl(source->Control, source->DropAlign, source->DropOnControl);
  }
  Message.Result = 1;
}

// ---------------------------------------------------------------------------
// TDockTree

TDockTree::TDockTree(TWinControl* DockSite) : FDockSite(DockSite), FOldWndProc(DockSite->WindowProc) {
  FDockSite->WindowProc = TWindowMethod{this};
}

TDockTree::~TDockTree() {
  // Only a method still ours goes back; one put in front of ours since keeps its place.
  const TWindowMethod* current = FDockSite->WindowProc.target<TWindowMethod>();
  if (current && current->Tree == this) FDockSite->WindowProc = FOldWndProc;
}

void TDockTree::WindowProcHook(TMessage& Message) {
  FOldWndProc(Message);
  if (Message.Msg == WM_SIZE) ResetBounds(false);
}

void TDockTree::InsertControl(TControl* Control, TAlign InsertAt, TControl* DropCtl) {
  EraseClient(FControls, Control);
  const bool before = InsertAt == alTop || InsertAt == alLeft;
  auto at = std::find(FControls.begin(), FControls.end(), DropCtl);
  if (at == FControls.end())
    at = before ? FControls.begin() : FControls.end();
  else if (!before)
    ++at;
  FControls.insert(at, Control);
  // The bands are the manager's to place, not the site's alignment.
  Control->SetAlign(alNone);
  ResetBounds(true);
}

void TDockTree::RemoveControl(TControl* Control) {
  EraseClient(FControls, Control);
  ResetBounds(true);
}

void TDockTree::ResetBounds(bool Force) {
  RECT client = FDockSite->ClientRect();
  if (!Force && EqualRect(&client, &FLastClient)) return;
  FLastClient = client;
  std::vector<TControl*> shown;
  for (TControl* c : FControls)
    if (c->Visible()) shown.push_back(c);
  if (shown.empty()) return;
  const int count = static_cast<int>(shown.size());
  const int height = client.bottom - client.top;
  for (int i = 0; i < count; ++i) {
    int top = client.top + height * i / count;
    int bottom = client.top + height * (i + 1) / count;
    shown[static_cast<size_t>(i)]->SetBounds(client.left, top, client.right - client.left, bottom - top);
  }
}
