#include "vcl/contnrs.h"

#include <algorithm>

#include "vcl/resstrings.h"

// Asks the listed components to tell it of their end, and hands the notice to the list.
class TComponentList::TNexus : public TComponent {
 public:
  explicit TNexus(TComponentList* List) : TComponent(nullptr), FList(List) {}
  ~TNexus() override { Destroying(); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    if (Operation == opRemove && AComponent) FList->HandleFreeNotify(AComponent);
    TComponent::Notification(AComponent, Operation);
  }

 private:
  TComponentList* FList;
};

TComponentList::TComponentList(bool AOwnsObjects)
    : FOwnsObjects(AOwnsObjects), FNexus(std::make_unique<TNexus>(this)) {}

TComponentList::~TComponentList() {
  Clear();
  FNexus.reset();
}

static void ComponentListIndexError(int Index) {
  throw EListError(LoadResString(&SListIndexError).c_str(), Index);
}

TComponent* TComponentList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ComponentListIndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

int TComponentList::Add(TComponent* AComponent) {
  Insert(Count(), AComponent);
  return Count() - 1;
}

void TComponentList::Insert(int Index, TComponent* AComponent) {
  if (Index < 0 || Index > Count()) ComponentListIndexError(Index);
  FItems.insert(FItems.begin() + Index, AComponent);
  if (AComponent) AComponent->FreeNotification(FNexus.get());
}

// Removes the entry at Index; the component stops notifying the list once no other
// entry holds it.
void TComponentList::Take(int Index) {
  TComponent* c = FItems[static_cast<size_t>(Index)];
  FItems.erase(FItems.begin() + Index);
  if (c && std::find(FItems.begin(), FItems.end(), c) == FItems.end()) c->RemoveFreeNotification(FNexus.get());
}

void TComponentList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) ComponentListIndexError(Index);
  TComponent* c = FItems[static_cast<size_t>(Index)];
  Take(Index);
  if (FOwnsObjects) delete c;
}

int TComponentList::Remove(TComponent* AComponent) {
  const int i = IndexOf(AComponent);
  if (i >= 0) Delete(i);
  return i;
}

TComponent* TComponentList::Extract(TComponent* AComponent) {
  const int i = IndexOf(AComponent);
  if (i < 0) return nullptr;
  Take(i);
  return AComponent;
}

int TComponentList::IndexOf(TComponent* AComponent) const {
  auto it = std::find(FItems.begin(), FItems.end(), AComponent);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TComponentList::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

void TComponentList::HandleFreeNotify(TComponent* AComponent) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), AComponent), FItems.end());
}
