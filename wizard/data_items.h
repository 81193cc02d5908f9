// Items of a data provider and the lists that hold them: an item with its ID and its
// extensions (text, image, sub-items), an item list with its extensions (renderer,
// management), paths of IDs, and the streaming of items and sub-item lists.
#pragma once

#include <vector>

#include "wizard/extensible_objects.h"

class TKvBaseDataItems;

// The three IUnknown methods of a class that inherits IUnknown along several interfaces:
// each goes to the extensible base, which counts and answers for the whole object.
#define KV_FORWARD_IUNKNOWN(Base)                                                        \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override {            \
    return Base::QueryInterface(iid, obj);                                               \
  }                                                                                      \
  ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }                   \
  ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

// Splits an item or context path into its segments: separated by "\" or "/" (whichever
// comes first in the rest of the path). FromRoot is set when the path starts with a
// separator (an empty first segment).
std::vector<AnsiString> SplitKvPath(const AnsiString& Path, bool& FromRoot);

class TKvBaseDataItem : public TExtensibleInterfacedPersistent, public IKvDataItem {
  VCL_CLASS(TKvBaseDataItem)
 public:
  // Items: the list the item belongs to (it does not count the list).
  explicit TKvBaseDataItem(TKvBaseDataItems* Items) : FItems(Items) {}
  KV_FORWARD_IUNKNOWN(TExtensibleInterfacedPersistent)

  // Takes a new ID once the item is whole; a stored item then reads its own.
  void AfterConstruction() override;

  IKvDataItems* STDMETHODCALLTYPE GetItems() override;
  int STDMETHODCALLTYPE GetIndex() override;
  TObject* STDMETHODCALLTYPE GetImplementer() override { return this; }
  TKvDataItemID STDMETHODCALLTYPE GetID() override { return FID; }
  void STDMETHODCALLTYPE ContextDestroying(IUnknown* Context) override;
  bool STDMETHODCALLTYPE IsParentOf(IKvDataItem* Item, bool DirectOnly) override;
  bool STDMETHODCALLTYPE IsDeletable() override { return true; }

  const TKvDataItemID& ID() const { return FID; }
  void SetID(const TKvDataItemID& Value) { FID = Value; }
  TKvBaseDataItems* OwnerList() const { return FItems; }
  // The list of the item's children, or null.
  TKvBaseDataItems* SubItemList();

  // Hooks for extensions (IKvDataItemExtension): a notice to each that answers it, in
  // order; and whether every one that answers lets the item be deleted.
  void NotifyExtensions();
  bool ExtensionsAllowDelete();

  // "SubItems" after the extensions.
  void DefineProperties(TFiler* Filer) override;

 protected:
  bool GetOwnInterface(REFIID iid, void** obj) override;

 private:
  void ReadSubItems(TReader* Reader);
  void WriteSubItems(TWriter* Writer);

  TKvBaseDataItems* FItems;
  TKvDataItemID FID;
};

// Base of item extensions. It answers from its own interfaces first and passes every other
// question to its item, except the extension hook, which only extensions answer.
class TKvDataItemAggregatedObject : public TAggregatedPersistentEx {
  VCL_CLASS(TKvDataItemAggregatedObject)
 public:
  explicit TKvDataItemAggregatedObject(TKvBaseDataItem* Item) : TAggregatedPersistentEx(Item) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override;
  TKvBaseDataItem* Item() const { return static_cast<TKvBaseDataItem*>(Controller()); }
  // The item hears that a context is going away and tells each of its extensions.
  virtual void ContextDestroying(IUnknown* Context) {}

 protected:
  // Announces a change of the item (reason pcrUpdate) to its provider around Change.
  void ChangeItem(const std::function<void()>& Change);
};

class TKvBaseDataItemTextImpl : public TKvDataItemAggregatedObject, public IKvDataItemText {
  VCL_CLASS(TKvBaseDataItemTextImpl)
 public:
  using TKvDataItemAggregatedObject::TKvDataItemAggregatedObject;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override {
    return TKvDataItemAggregatedObject::QueryInterface(iid, obj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TKvDataItemAggregatedObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TKvDataItemAggregatedObject::Release(); }
  bool GetOwnInterface(REFIID iid, void** obj) override;

  AnsiString STDMETHODCALLTYPE GetCaption() override { return FCaption; }
  void STDMETHODCALLTYPE SetCaption(const AnsiString& Value) override;
  bool STDMETHODCALLTYPE Editable() override { return true; }

 private:
  AnsiString FCaption;
};
class TKvDataItemTextImpl : public TKvBaseDataItemTextImpl {
  VCL_CLASS(TKvDataItemTextImpl)
 public:
  using TKvBaseDataItemTextImpl::TKvBaseDataItemTextImpl;
};

class TKvBaseDataItemImageImpl : public TKvDataItemAggregatedObject, public IKvDataItemImage {
  VCL_CLASS(TKvBaseDataItemImageImpl)
 public:
  using TKvDataItemAggregatedObject::TKvDataItemAggregatedObject;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override {
    return TKvDataItemAggregatedObject::QueryInterface(iid, obj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TKvDataItemAggregatedObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TKvDataItemAggregatedObject::Release(); }
  bool GetOwnInterface(REFIID iid, void** obj) override;

  TAlignment STDMETHODCALLTYPE GetAlignment() override { return FAlignment; }
  void STDMETHODCALLTYPE SetAlignment(TAlignment Value) override;
  int STDMETHODCALLTYPE GetImageIndex() override { return FImageIndex; }
  void STDMETHODCALLTYPE SetImageIndex(int Value) override;
  int STDMETHODCALLTYPE GetSelectedIndex() override { return FSelectedIndex; }
  void STDMETHODCALLTYPE SetSelectedIndex(int Value) override;

 private:
  TAlignment FAlignment = taLeftJustify;
  int FImageIndex = 0;
  int FSelectedIndex = 0;
};
class TKvDataItemImageImpl : public TKvBaseDataItemImageImpl {
  VCL_CLASS(TKvDataItemImageImpl)
 public:
  using TKvBaseDataItemImageImpl::TKvBaseDataItemImageImpl;
};

// Gives an item a list of children: the item answers IKvDataItems with it. The list is
// stored by the item itself ("SubItems"), not among its extensions.
class TKvBaseDataItemSubItems : public TKvDataItemAggregatedObject {
  VCL_CLASS(TKvBaseDataItemSubItems)
 public:
  TKvBaseDataItemSubItems(TKvBaseDataItem* Item, TKvBaseDataItems* List);
  ~TKvBaseDataItemSubItems() override;
  bool GetOwnInterface(REFIID iid, void** obj) override;
  bool IsStored() const override { return false; }
  TKvBaseDataItems* List() const { return FList; }

 private:
  TKvBaseDataItems* FList;  // counted
};

class TKvBaseDataItems : public TExtensibleInterfacedPersistent,
                         public IKvDataItems,
                         public IKvDataItemsSearch {
  VCL_CLASS(TKvBaseDataItems)
 public:
  // A root list belongs to a provider; a sub-item list to its parent item, which gets the
  // list as its sub-items once the list is whole.
  explicit TKvBaseDataItems(IKvDataProvider* Provider) : FProvider(Provider) {}
  explicit TKvBaseDataItems(TKvBaseDataItem* ParentItem) : FParentItem(ParentItem) {}
  KV_FORWARD_IUNKNOWN(TExtensibleInterfacedPersistent)
  void AfterConstruction() override;

  IKvDataItem* STDMETHODCALLTYPE GetParent() override { return FParentItem; }
  IKvDataProvider* STDMETHODCALLTYPE GetProvider() override;
  TObject* STDMETHODCALLTYPE GetImplementer() override { return this; }
  int STDMETHODCALLTYPE IndexOf(IKvDataItem* Item) override;
  IKvDataItem* STDMETHODCALLTYPE ItemByPath(const AnsiString& Path) override;
  IKvDataItems* STDMETHODCALLTYPE GetRoot() override;
  void STDMETHODCALLTYPE ContextDestroying(IUnknown* Context) override;
  IKvDataItem* STDMETHODCALLTYPE FindItemID(const TKvDataItemID& ID, bool Recursive) override;

  TKvBaseDataItem* ParentItem() const { return FParentItem; }
  // The provider is told before and after a change of its data.
  void Changing(TKvDataProviderChangeReason Reason, IUnknown* Source);
  void Changed(TKvDataProviderChangeReason Reason, IUnknown* Source);

  // Storage of the items themselves, for the list classes.
  virtual void AddItemObject(TKvBaseDataItem* Item) = 0;
  virtual void DeleteItemObject(int Index) = 0;
  virtual void ClearItemObjects() = 0;

  // "Items": one entry per item, its class name first.
  void DefineProperties(TFiler* Filer) override;

 protected:
  bool GetOwnInterface(REFIID iid, void** obj) override;

 private:
  void ReadItems(TReader* Reader);
  void WriteItems(TWriter* Writer);

  IKvDataProvider* FProvider = nullptr;
  TKvBaseDataItem* FParentItem = nullptr;
};

// Items kept in a list of their own, each counted while it is in the list.
class TKvDataItemsList : public TKvBaseDataItems {
  VCL_CLASS(TKvDataItemsList)
 public:
  using TKvBaseDataItems::TKvBaseDataItems;
  ~TKvDataItemsList() override;

  int STDMETHODCALLTYPE GetCount() override { return static_cast<int>(FList.size()); }
  IKvDataItem* STDMETHODCALLTYPE GetItem(int Index) override;

  void AddItemObject(TKvBaseDataItem* Item) override;
  void DeleteItemObject(int Index) override;
  void ClearItemObjects() override;

 private:
  std::vector<TKvBaseDataItem*> FList;
};

// Base of item-list extensions.
class TKvDataItemsAggregatedObject : public TAggregatedPersistentEx {
  VCL_CLASS(TKvDataItemsAggregatedObject)
 public:
  explicit TKvDataItemsAggregatedObject(TKvBaseDataItems* Items) : TAggregatedPersistentEx(Items) {}
  TKvBaseDataItems* Items() const { return static_cast<TKvBaseDataItems*>(Controller()); }
};

#define KV_FORWARD_AGGREGATED_IUNKNOWN(Base)                                             \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override {            \
    return Base::QueryInterface(iid, obj);                                               \
  }                                                                                      \
  ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }                   \
  ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

class TKvBaseDataItemsRenderer : public TKvDataItemsAggregatedObject, public IKvDataItemsRenderer {
  VCL_CLASS(TKvBaseDataItemsRenderer)
 public:
  using TKvDataItemsAggregatedObject::TKvDataItemsAggregatedObject;
  KV_FORWARD_AGGREGATED_IUNKNOWN(TKvDataItemsAggregatedObject)
  bool GetOwnInterface(REFIID iid, void** obj) override;

  // EKVCLDataItems "List index out of bounds (%d)" outside the list.
  void STDMETHODCALLTYPE DrawItemIdx(int Index, TCanvas* Canvas, const RECT& Rect) override;
  SIZE STDMETHODCALLTYPE MeasureItemIdx(int Index, TCanvas* Canvas) override;

 private:
  IKvDataItem* CheckedItem(int Index);
};

// Draws the captions only.
class TKvCustomDataItemsTextRenderer : public TKvBaseDataItemsRenderer {
  VCL_CLASS(TKvCustomDataItemsTextRenderer)
 public:
  using TKvBaseDataItemsRenderer::TKvBaseDataItemsRenderer;
  void STDMETHODCALLTYPE DrawItem(IKvDataItem* Item, TCanvas* Canvas, const RECT& Rect) override;
  SIZE STDMETHODCALLTYPE MeasureItem(IKvDataItem* Item, TCanvas* Canvas) override;
  SIZE STDMETHODCALLTYPE AvgItemSize(TCanvas* Canvas) override;

  // What is drawn for an item.
  static AnsiString ItemText(IKvDataItem* Item);
};

class TKvBaseDataItemsManagement : public TKvDataItemsAggregatedObject, public IKvDataItemsManagement {
  VCL_CLASS(TKvBaseDataItemsManagement)
 public:
  using TKvDataItemsAggregatedObject::TKvDataItemsAggregatedObject;
  KV_FORWARD_AGGREGATED_IUNKNOWN(TKvDataItemsAggregatedObject)
  bool GetOwnInterface(REFIID iid, void** obj) override;
};

// Adds, clears, deletes and removes the items of a list, announcing each change.
class TKvBaseDataItemsListManagement : public TKvBaseDataItemsManagement {
  VCL_CLASS(TKvBaseDataItemsListManagement)
 public:
  using TKvBaseDataItemsManagement::TKvBaseDataItemsManagement;
  IKvDataItem* STDMETHODCALLTYPE Add(IKvDataItem* Item) override;
  // A plain item with a caption and an image, added to the list.
  IKvDataItem* STDMETHODCALLTYPE New() override;
  void STDMETHODCALLTYPE Clear() override;
  // EKVCLDataItems "Item cannot be deleted" for an item that refuses.
  void STDMETHODCALLTYPE Delete(int Index) override;
  void STDMETHODCALLTYPE Remove(IKvDataItem* Item) override;
};

// The ID of an item, or empty for none.
TKvDataItemID KvItemID(IKvDataItem* Item);
// The sub-item list of an item (its IKvDataItems), or null.
IKvDataItems* KvSubItems(IKvDataItem* Item);

// Registers the item classes for streaming (the data provider's own registration calls it).
void RegisterKvDataItemClasses();
