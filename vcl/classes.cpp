#include "vcl/classes.h"

#include <algorithm>

#include "vcl/resstrings.h"
#include "vcl/typinfo.h"

std::function<void(TObject*)> ApplicationHandleException;
std::function<void(const std::exception&)> ApplicationShowException;

const TMetaClass* TObject::StaticClass() {
  static const TMetaClass mc{"TObject", nullptr, nullptr, nullptr};
  return &mc;
}

VCL_CLASS_IMPL(TPersistent, TObject, nullptr, nullptr)
// Name is published for the tables' sake but never stored as a value: the object header
// carries it.
static const std::vector<TPropInfo>& ComponentProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TComponent>()
      .Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false)
      .Property("Tag", &TComponent::Tag).Default(0)
      .Table();
  return table;
}

VCL_CLASS_IMPL(TComponent, TPersistent, &CreateComponentOf<TComponent>, &ComponentProperties)

// --- TPersistent ------------------------------------------------------------

void TPersistent::Assign(TPersistent* source) {
  if (source)
    source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source) {
  std::string name = source ? source->ClassName() : std::string("nil");
  throw EConvertError(Format("Cannot assign a %s to a %s", name.c_str(), ClassName().c_str()));
}

std::string TPersistent::GetNamePath() { return ClassName(); }

// --- TComponent -------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone who asked to hear of our end; each removes itself from our list.
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    c->RemoveFreeNotification(this);  // drop its link back to us
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (FComponentState & csDestroying) return;
  FComponentState |= csDestroying;
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    c->BeforeDestruction();
    Remove(c);
    delete c;
  }
}

void TComponent::Free() {
  BeforeDestruction();
  delete this;
}

void TComponent::Insert(TComponent* c) {
  FComponents.push_back(c);
  c->FOwner = this;
}

void TComponent::Remove(TComponent* c) {
  c->FOwner = nullptr;
  auto it = std::find(FComponents.begin(), FComponents.end(), c);
  if (it != FComponents.end()) FComponents.erase(it);
}

void TComponent::InsertComponent(TComponent* c) {
  ValidateRename(c, std::string(), c->FName);
  Insert(c);
  Notification(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  Notification(c, opRemove);
  Remove(c);
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& v = FOwner->FComponents;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

// Names are identifiers: an ASCII case-insensitive compare is exact for them, and keeps
// reading a form of hundreds of components (each name checked against the others) fast.
TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameIdent(c->FName, name)) return c;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* c, const std::string& cur, const std::string& next) {
  if (c && !next.empty() && !SameIdent(cur, next)) {
    TComponent* other = FindComponent(next);
    if (other && other != c)
      throw EComponentError(Format("A component named %s already exists", next.c_str()));
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == FName) return;
  if (FOwner) FOwner->ValidateRename(this, FName, name);
  FName = name;
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(c);
    c->FreeNotification(this);  // the link goes both ways, as in the framework
  }
  FComponentState |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), c);
  if (it != FFreeNotifies.end()) {
    FFreeNotifies.erase(it);
    c->RemoveFreeNotification(this);
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  for (size_t i = 0; i < FComponents.size(); ++i) FComponents[i]->Notification(AComponent, Operation);
}

void TComponent::SetLoadingState(bool on) { SetComponentState(csLoading | csReading, on); }

void TComponent::SetComponentState(unsigned flags, bool on) {
  if (on)
    FComponentState |= flags;
  else
    FComponentState &= ~flags;
}

void TComponent::Loaded() { FComponentState &= ~csLoading; }

// --- TList ------------------------------------------------------------------

static void ListIndexError(int i) { throw EListError(LoadResString(&SListIndexError).c_str(), i); }

void* TList::Items(int i) const {
  if (i < 0 || i >= Count()) ListIndexError(i);
  return FItems[static_cast<size_t>(i)];
}

void TList::SetItems(int i, void* p) {
  if (i < 0 || i >= Count()) ListIndexError(i);
  FItems[static_cast<size_t>(i)] = p;
}

int TList::Add(void* p) {
  FItems.push_back(p);
  return Count() - 1;
}

void TList::Insert(int i, void* p) {
  if (i < 0 || i > Count()) ListIndexError(i);
  FItems.insert(FItems.begin() + i, p);
}

void TList::Delete(int i) {
  if (i < 0 || i >= Count()) ListIndexError(i);
  FItems.erase(FItems.begin() + i);
}

int TList::IndexOf(void* p) const {
  auto it = std::find(FItems.begin(), FItems.end(), p);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TList::Remove(void* p) {
  int i = IndexOf(p);
  if (i >= 0) Delete(i);
  return i;
}

void TList::Exchange(int a, int b) {
  if (a < 0 || a >= Count()) ListIndexError(a);
  if (b < 0 || b >= Count()) ListIndexError(b);
  std::swap(FItems[static_cast<size_t>(a)], FItems[static_cast<size_t>(b)]);
}

void TList::Move(int from, int to) {
  if (from == to) return;
  void* p = Items(from);
  Delete(from);
  Insert(to, p);
}
