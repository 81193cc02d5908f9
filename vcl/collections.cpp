#include "vcl/collections.h"

#include <algorithm>

#include "vcl/typinfo.h"

VCL_CLASS_IMPL(TCollectionItem, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TCollection, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TOwnedCollection, TCollection, nullptr, nullptr)

// --- TCollectionItem ---------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* value) {
  if (value == FCollection) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (value) value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int value) {
  int cur = Index();
  if (cur < 0 || value < 0 || cur == value) return;
  auto& items = FCollection->FItems;
  if (value >= static_cast<int>(items.size())) value = static_cast<int>(items.size()) - 1;
  items.erase(items.begin() + cur);
  items.insert(items.begin() + value, this);
  Changed(true);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

std::string TCollectionItem::GetNamePath() {
  if (!FCollection) return ClassName();
  return Format("%s[%d]", FCollection->GetNamePath().c_str(), Index());
}

void TCollectionItem::Changed(bool allItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->ItemChanged(allItems ? nullptr : this);
}

// --- TCollection -------------------------------------------------------------------

TCollection::TCollection(TCollectionItemClass itemClass) : FItemClass(itemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;  // nothing to tell while going away
  Clear();
}

TCollectionItem* TCollection::Add() {
  if (!FItemClass.Create) throw EInvalidOperation("Collection item class cannot be created");
  TCollectionItem* item = FItemClass.Create(this);
  Notify(item, cnAdded);
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  BeginUpdate();
  TCollectionItem* item = nullptr;
  try {
    item = Add();
    item->SetIndex(index);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  delete item;  // leaves the list through RemoveItem
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    Notify(item, cnDeleting);
    delete item;
  }
  EndUpdate();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError("List index out of bounds (%d)", index);
  return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == id) return item;
  return nullptr;
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::ItemChanged(TCollectionItem* item) { Update(item); }

void TCollection::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : other->FItems) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// Owner's path and the name of the owner's property holding this collection ("ListView1.Columns").
std::string TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  std::string path = owner->GetNamePath();
  if (path.empty()) return ClassName();
  for (const TPropInfo* p : GetPropList(owner->ClassType()))
    if (p->Kind == tkClass && p->GetObj && p->GetObj(owner) == this) return path + "." + p->Name;
  return ClassName();
}

void TCollection::InsertItem(TCollectionItem* item) {
  FItems.push_back(item);
  item->FCollection = this;
  item->FID = FNextID++;
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it != FItems.end()) FItems.erase(it);
  item->FCollection = nullptr;
  Changed();
}
