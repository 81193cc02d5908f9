// Component lists: a list of components that follows their lives (a component freed
// elsewhere leaves the list by itself) and, when it owns them, frees them with it.
#pragma once

#include <memory>
#include <vector>

#include "vcl/classes.h"

class TComponentList : public TObject {
 public:
  explicit TComponentList(bool AOwnsObjects = true);
  TComponentList(const TComponentList&) = delete;
  TComponentList& operator=(const TComponentList&) = delete;
  // Frees the components it owns, last first.
  ~TComponentList() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  // EListError "List index out of bounds (%d)" outside 0..Count-1.
  TComponent* Items(int Index) const;
  TComponent* operator[](int Index) const { return Items(Index); }
  int Add(TComponent* AComponent);
  // 0 <= Index <= Count.
  void Insert(int Index, TComponent* AComponent);
  // Takes the component out and frees it when the list owns it.
  void Delete(int Index);
  int Remove(TComponent* AComponent);
  // Takes the component out without freeing it; null when it is not in the list.
  TComponent* Extract(TComponent* AComponent);
  int IndexOf(TComponent* AComponent) const;
  // Deletes every component (freed when owned).
  void Clear();
  bool OwnsObjects() const { return FOwnsObjects; }

 private:
  class TNexus;
  // A component freed elsewhere: it leaves the list without being freed again.
  void HandleFreeNotify(TComponent* AComponent);
  void Take(int Index);

  bool FOwnsObjects;
  std::vector<TComponent*> FItems;
  std::unique_ptr<TNexus> FNexus;
};
