// Collections: lists of items of one class, owned by a component property and stored with
// it (list view columns, favourite links...). Each item class publishes its own properties.
#pragma once

#include <vector>

#include "vcl/classes.h"

class TCollection;

class TCollectionItem : public TPersistent {
  VCL_CLASS(TCollectionItem)
 public:
  // Joins collection (null: none yet).
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;  // leaves its collection

  TCollection* Collection() const { return FCollection; }
  virtual void SetCollection(TCollection* value);
  int ID() const { return FID; }
  int Index() const;
  virtual void SetIndex(int value);
  AnsiString DisplayName() const { return GetDisplayName(); }
  virtual void SetDisplayName(const AnsiString& value) { Changed(false); }

  TPersistent* GetOwner() override;
  std::string GetNamePath() override;

 protected:
  virtual AnsiString GetDisplayName() const { return ClassName(); }
  // Tells the collection that this item (or, allItems, everything) changed.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

// How a collection makes its items: their class and a factory.
struct TCollectionItemClass {
  const TMetaClass* Class = nullptr;
  TCollectionItem* (*Create)(TCollection* collection) = nullptr;
};

template <class T>
TCollectionItemClass CollectionItemClassOf() {
  return {T::StaticClass(), [](TCollection* c) -> TCollectionItem* { return new T(c); }};
}

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  VCL_CLASS(TCollection)
 public:
  explicit TCollection(TCollectionItemClass itemClass);
  ~TCollection() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int index) const;
  TCollectionItem* FindItemID(int id) const;
  const TMetaClass* ItemClass() const { return FItemClass.Class; }

  // Changes inside an update bracket are told once, at its end.
  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Copies the items of another collection (each item's own Assign copies its values).
  void Assign(TPersistent* source) override;
  std::string GetNamePath() override;

 protected:
  // An item changed (item null: the whole collection).
  virtual void Update(TCollectionItem* item) {}
  virtual void Notify(TCollectionItem* item, TCollectionNotification action) {}
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void ItemChanged(TCollectionItem* item);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FNextID = 0;
  int FUpdateCount = 0;
};

// A collection that a persistent object owns: GetOwner names it (for name paths).
class TOwnedCollection : public TCollection {
  VCL_CLASS(TOwnedCollection)
 public:
  TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass)
      : TCollection(itemClass), FOwner(owner) {}
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};
