// The flat view of a provider's item tree that a list-like control shows: one row per shown
// item with its level and expanded state, kept in step with the provider's changes, and the
// navigation a tree-like list asks for (parent, next sibling, n-th child, connector lines).
#pragma once

#include <cstdint>
#include <vector>

#include "wizard/data_consumer.h"

// Per row: bits 0 to 23 the level, bit 29 expanded (its children follow it), bit 30 the
// item has a sub-item list, bit 31 that list is not empty.
constexpr uint32_t kvrLevelMask = 0x00FFFFFFu;
constexpr uint32_t kvrExpanded = 1u << 29;
constexpr uint32_t kvrHasSubItems = 1u << 30;
constexpr uint32_t kvrHasChildren = 1u << 31;

struct TKvViewRow {
  TKvDataItemID ID;
  uint32_t Flags = 0;
};

// One bit per level (bit k in word k / 32): the connector lines that continue past a row.
using TKvLevelBits = std::vector<uint32_t>;

KV_INTERFACE(IKvDataConsumerViewList, 0xF3A78F68, 0xD998, 0x4877, 0x8C, 0x73, 0x1E, 0x0D, 0x29, 0x87, 0x80, 0x8D) {
  virtual int STDMETHODCALLTYPE GetAutoExpandLevel() = 0;
  virtual void STDMETHODCALLTYPE SetAutoExpandLevel(int Value) = 0;
  virtual bool STDMETHODCALLTYPE GetExpandOnNewItem() = 0;
  virtual void STDMETHODCALLTYPE SetExpandOnNewItem(bool Value) = 0;
  virtual int STDMETHODCALLTYPE GetLevelIndent() = 0;
  virtual void STDMETHODCALLTYPE SetLevelIndent(int Value) = 0;
  virtual void STDMETHODCALLTYPE RebuildView() = 0;
  virtual void STDMETHODCALLTYPE ExpandTreeTo(IKvDataItem* Item) = 0;
  virtual void STDMETHODCALLTYPE ToggleItem(int Index) = 0;
  virtual int STDMETHODCALLTYPE IndexOfItem(IKvDataItem* Item) = 0;
  virtual int STDMETHODCALLTYPE IndexOfID(const TKvDataItemID& ID) = 0;
  virtual int STDMETHODCALLTYPE ChildIndexOfItem(IKvDataItem* Item) = 0;
  virtual int STDMETHODCALLTYPE ChildIndexOfID(const TKvDataItemID& ID) = 0;
  virtual IKvDataItem* STDMETHODCALLTYPE ItemAt(int Index) = 0;
  virtual int STDMETHODCALLTYPE ItemLevel(int Index) = 0;
  virtual bool STDMETHODCALLTYPE ItemIsExpanded(int Index) = 0;
  virtual bool STDMETHODCALLTYPE ItemHasChildren(int Index) = 0;
  virtual IKvDataItem* STDMETHODCALLTYPE ItemParent(int Index) = 0;
  virtual int STDMETHODCALLTYPE ItemParentIndex(int Index) = 0;
  virtual IKvDataItem* STDMETHODCALLTYPE ItemSibling(int Index) = 0;
  virtual int STDMETHODCALLTYPE ItemSiblingIndex(int Index) = 0;
  virtual IKvDataItem* STDMETHODCALLTYPE SubItemOfItem(IKvDataItem* Item, int N) = 0;
  virtual IKvDataItem* STDMETHODCALLTYPE SubItem(int Index, int N) = 0;
  virtual int STDMETHODCALLTYPE SubItemIndexOfItem(IKvDataItem* Item, int N) = 0;
  virtual int STDMETHODCALLTYPE SubItemIndex(int Index, int N) = 0;
  virtual void STDMETHODCALLTYPE LevelLines(int Index, TKvLevelBits& Bits) = 0;
  virtual int STDMETHODCALLTYPE Count() = 0;
};

class TKvCustomDataConsumerViewList : public TKvDataConsumerAggregatedObject, public IKvDataConsumerViewList {
  VCL_CLASS(TKvCustomDataConsumerViewList)
 public:
  using TKvDataConsumerAggregatedObject::TKvDataConsumerAggregatedObject;
  KV_FORWARD_AGGREGATED_IUNKNOWN(TKvDataConsumerAggregatedObject)
  bool GetOwnInterface(REFIID iid, void** obj) override;
  // Builds the view at once when the consumer has a provider.
  void AfterConstruction() override;

  int STDMETHODCALLTYPE GetAutoExpandLevel() override { return FAutoExpandLevel; }
  void STDMETHODCALLTYPE SetAutoExpandLevel(int Value) override { FAutoExpandLevel = Value; }
  bool STDMETHODCALLTYPE GetExpandOnNewItem() override { return FExpandOnNewItem; }
  void STDMETHODCALLTYPE SetExpandOnNewItem(bool Value) override { FExpandOnNewItem = Value; }
  int STDMETHODCALLTYPE GetLevelIndent() override { return FLevelIndent; }
  void STDMETHODCALLTYPE SetLevelIndent(int Value) override;

  void STDMETHODCALLTYPE RebuildView() override;
  void STDMETHODCALLTYPE ExpandTreeTo(IKvDataItem* Item) override;
  void STDMETHODCALLTYPE LevelLines(int Index, TKvLevelBits& Bits) override;

  // The row operations of a concrete view list.
  virtual void AddItemTree(int ParentIndex, IKvDataItem* Item, int Depth) = 0;
  virtual void AddChildren(int& Pos, IKvDataItems* List, int Depth) = 0;
  virtual void AddItem(int ParentIndex, IKvDataItem* Item) = 0;
  virtual void InsertItem(int Index, int ParentIndex, IKvDataItem* Item) = 0;
  virtual void DeleteItem(int Index) = 0;
  virtual void CollapseItem(int Index) = 0;
  virtual void SetItemFlags(int Index, uint32_t Value, uint32_t Mask) = 0;
  virtual void ClearView();

  // Whether the consumer may show the item (the consumer asked, then the item).
  static bool ShowsItem(IKvDataItem* Item);

  // The service's life with its consumer.
  void ProviderChanging() override { ClearView(); }
  void ProviderChanged() override { RebuildView(); }
  void ContextChanged() override { RebuildView(); }
  void ViewChanged(TKvDataConsumerAggregatedObject* Source) override { RebuildView(); }
  void ProviderNotice(bool Changing, TKvDataProviderChangeReason Reason, IUnknown* Source) override;

 protected:
  // Runs Work between the consumer's announcement to its provider and its withdrawal.
  void Announced(const std::function<void()>& Work);

 private:
  void ItemAdded(IKvDataItem* Item);

  int FAutoExpandLevel = 0;
  bool FExpandOnNewItem = false;
  int FLevelIndent = 16;
};

class TKvDataConsumerViewList : public TKvCustomDataConsumerViewList {
  VCL_CLASS(TKvDataConsumerViewList)
 public:
  using TKvCustomDataConsumerViewList::TKvCustomDataConsumerViewList;

  void AddItemTree(int ParentIndex, IKvDataItem* Item, int Depth) override;
  void AddChildren(int& Pos, IKvDataItems* List, int Depth) override;
  void AddItem(int ParentIndex, IKvDataItem* Item) override;
  void InsertItem(int Index, int ParentIndex, IKvDataItem* Item) override;
  void DeleteItem(int Index) override;
  void CollapseItem(int Index) override;
  void SetItemFlags(int Index, uint32_t Value, uint32_t Mask) override;
  void ClearView() override { FRows.clear(); }

  void STDMETHODCALLTYPE ToggleItem(int Index) override;
  int STDMETHODCALLTYPE IndexOfItem(IKvDataItem* Item) override;
  int STDMETHODCALLTYPE IndexOfID(const TKvDataItemID& ID) override;
  int STDMETHODCALLTYPE ChildIndexOfItem(IKvDataItem* Item) override;
  int STDMETHODCALLTYPE ChildIndexOfID(const TKvDataItemID& ID) override;
  IKvDataItem* STDMETHODCALLTYPE ItemAt(int Index) override;
  int STDMETHODCALLTYPE ItemLevel(int Index) override;
  bool STDMETHODCALLTYPE ItemIsExpanded(int Index) override;
  bool STDMETHODCALLTYPE ItemHasChildren(int Index) override;
  IKvDataItem* STDMETHODCALLTYPE ItemParent(int Index) override;
  int STDMETHODCALLTYPE ItemParentIndex(int Index) override;
  IKvDataItem* STDMETHODCALLTYPE ItemSibling(int Index) override;
  int STDMETHODCALLTYPE ItemSiblingIndex(int Index) override;
  IKvDataItem* STDMETHODCALLTYPE SubItemOfItem(IKvDataItem* Item, int N) override;
  IKvDataItem* STDMETHODCALLTYPE SubItem(int Index, int N) override;
  int STDMETHODCALLTYPE SubItemIndexOfItem(IKvDataItem* Item, int N) override;
  int STDMETHODCALLTYPE SubItemIndex(int Index, int N) override;
  int STDMETHODCALLTYPE Count() override { return static_cast<int>(FRows.size()); }

  const std::vector<TKvViewRow>& Rows() const { return FRows; }

 private:
  uint32_t& FlagsOf(int Index) { return FRows[static_cast<size_t>(Index)].Flags; }
  // The row after Index's shown descendants.
  int EndOfDescendants(int Index);
  static uint32_t ChildBits(IKvDataItem* Item);

  std::vector<TKvViewRow> FRows;
};
