#include "wizard/consumer_view_list.h"

#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& ViewListProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvCustomDataConsumerViewList>()
      .Property("LevelIndent", &TKvCustomDataConsumerViewList::GetLevelIndent,
                &TKvCustomDataConsumerViewList::SetLevelIndent)
          .Default(16)
      .Table();
  return table;
}

int LevelOf(uint32_t Flags) { return static_cast<int>(Flags & kvrLevelMask); }

}  // namespace

VCL_CLASS_IMPL(TKvCustomDataConsumerViewList, TKvDataConsumerAggregatedObject, nullptr, &ViewListProperties)
VCL_CLASS_IMPL(TKvDataConsumerViewList, TKvCustomDataConsumerViewList, nullptr, nullptr)

// --- TKvCustomDataConsumerViewList ----------------------------------------------------------

bool TKvCustomDataConsumerViewList::GetOwnInterface(REFIID iid, void** obj) {
  if (iid != __uuidof(IKvDataConsumerViewList)) return false;
  *obj = static_cast<IKvDataConsumerViewList*>(this);
  return true;
}

void TKvCustomDataConsumerViewList::AfterConstruction() {
  TKvDataConsumerAggregatedObject::AfterConstruction();
  if (Consumer()->Provider()) RebuildView();
}

void STDMETHODCALLTYPE TKvCustomDataConsumerViewList::SetLevelIndent(int Value) {
  if (Value == FLevelIndent) return;
  FLevelIndent = Value;
  SetFixed(Consumer()->Provider() == nullptr);
  Consumer()->Changed(ccrServiceChange);
}

void TKvCustomDataConsumerViewList::ClearView() {
  while (Count() > 0) DeleteItem(0);
}

bool TKvCustomDataConsumerViewList::ShowsItem(IKvDataItem* Item) {
  if (!Item) return true;
  int answer = 3;
  IKvDataItems* list = Item->GetItems();
  IKvDataProvider* provider = list ? list->GetProvider() : nullptr;
  IKvDataConsumer* consumer = provider ? provider->CurrentConsumer() : nullptr;
  if (auto* filter = KvQuery<IKvDataConsumerFilter>(consumer)) answer = filter->ItemShowState(Item);
  if (answer == 2 || answer == 3)
    if (auto* state = KvQuery<IKvDataItemShowState>(Item)) answer = state->ShowState();
  return answer != 0;
}

void TKvCustomDataConsumerViewList::Announced(const std::function<void()>& Work) {
  TKvDataConsumer* consumer = Consumer();
  consumer->Enter();
  try {
    Work();
  } catch (...) {
    consumer->Leave();
    throw;
  }
  consumer->Leave();
}

void STDMETHODCALLTYPE TKvCustomDataConsumerViewList::RebuildView() {
  ClearView();
  TKvDataConsumer* consumer = Consumer();
  if (consumer->Provider()) {
    IKvDataItems* root = consumer->RootItems();
    Announced([&] {
      int pos = 0;
      if (root) AddChildren(pos, root, FAutoExpandLevel);
    });
  }
  NotifyViewChanged();
}

void STDMETHODCALLTYPE TKvCustomDataConsumerViewList::ExpandTreeTo(IKvDataItem* Item) {
  if (!Item || !ShowsItem(Item) || IndexOfItem(Item) >= 0) return;
  IKvDataItems* list = Item->GetItems();
  IKvDataItem* parent = list ? list->GetParent() : nullptr;
  if (!parent) return;
  ExpandTreeTo(parent);
  int parentRow = IndexOfItem(parent);
  if (parentRow < 0) return;
  if (ItemIsExpanded(parentRow)) throw EKVCLDataConsumer("ViewList out of sync");
  ToggleItem(parentRow);
}

void STDMETHODCALLTYPE TKvCustomDataConsumerViewList::LevelLines(int Index, TKvLevelBits& Bits) {
  const int level = ItemLevel(Index);
  Bits.assign(static_cast<size_t>((level + 31) / 32), 0u);
  // The next sibling of each ancestor lies beyond the previous one's, so one scan serves all.
  int pos = Index + 1;
  const int count = Count();
  for (int k = level - 1; k >= 0; --k) {
    while (pos < count && ItemLevel(pos) > k) ++pos;
    if (pos < count && ItemLevel(pos) == k) Bits[static_cast<size_t>(k / 32)] |= 1u << (k % 32);
  }
}

void TKvCustomDataConsumerViewList::ProviderNotice(bool Changing, TKvDataProviderChangeReason Reason,
                                                   IUnknown* Source) {
  auto* item = KvQuery<IKvDataItem>(Source);
  if (!item) return;
  if (Changing && Reason == pcrDelete) {
    Announced([&] {
      int row = IndexOfItem(item);
      if (row < 0) return;
      DeleteItem(row);
      NotifyViewChanged();
    });
  } else if (!Changing && Reason == pcrAdd) {
    Announced([&] { ItemAdded(item); });
  }
}

void TKvCustomDataConsumerViewList::ItemAdded(IKvDataItem* Item) {
  IKvDataItems* list = Item->GetItems();
  IKvDataItem* parent = list ? list->GetParent() : nullptr;
  if (!parent) {
    AddItem(-1, Item);
    NotifyViewChanged();
    return;
  }
  int parentRow = IndexOfItem(parent);
  if (parentRow < 0 && FExpandOnNewItem) {
    ExpandTreeTo(parent);
    parentRow = IndexOfItem(parent);
  }
  if (parentRow < 0) return;
  if (!ItemIsExpanded(parentRow)) {
    if (!FExpandOnNewItem) return;
    if (!ItemHasChildren(parentRow)) SetItemFlags(parentRow, kvrHasSubItems | kvrHasChildren, kvrHasSubItems | kvrHasChildren);
    ToggleItem(parentRow);
  } else {
    AddItem(parentRow, Item);
    NotifyViewChanged();
  }
}

// --- TKvDataConsumerViewList: the rows ------------------------------------------------------

uint32_t TKvDataConsumerViewList::ChildBits(IKvDataItem* Item) {
  IKvDataItems* sub = KvSubItems(Item);
  if (!sub) return 0;
  return sub->GetCount() > 0 ? kvrHasSubItems | kvrHasChildren : kvrHasSubItems;
}

int TKvDataConsumerViewList::EndOfDescendants(int Index) {
  if (Index < 0) return Count();
  const int level = ItemLevel(Index);
  int pos = Index + 1;
  while (pos < Count() && ItemLevel(pos) > level) ++pos;
  return pos;
}

void TKvDataConsumerViewList::AddChildren(int& Pos, IKvDataItems* List, int Depth) {
  const int n = List->GetCount();
  int level = 0;
  if (Pos > 0) {
    level = ItemLevel(Pos - 1) + 1;
    FlagsOf(Pos - 1) |= kvrExpanded;
  }
  // One gap for the whole list; what hidden items leave of it is closed at the end.
  FRows.insert(FRows.begin() + Pos, static_cast<size_t>(n), TKvViewRow{});
  int hidden = 0;
  for (int i = 0; i < n; ++i) {
    IKvDataItem* item = List->GetItem(i);
    if (!ShowsItem(item)) {
      ++hidden;
      continue;
    }
    const uint32_t bits = ChildBits(item);
    FRows[static_cast<size_t>(Pos)] = TKvViewRow{item->GetID(), static_cast<uint32_t>(level) | bits};
    int next = Pos + 1;
    if ((bits & kvrHasChildren) && Depth != 0) AddChildren(next, KvSubItems(item), Depth - 1);
    Pos = next;
  }
  if (hidden > 0) FRows.erase(FRows.begin() + Pos, FRows.begin() + Pos + hidden);
}

void TKvDataConsumerViewList::InsertItem(int Index, int ParentIndex, IKvDataItem* Item) {
  if (!ShowsItem(Item)) return;
  const uint32_t level = ParentIndex < 0 ? 0u : static_cast<uint32_t>(ItemLevel(ParentIndex) + 1);
  FRows.insert(FRows.begin() + Index, TKvViewRow{Item->GetID(), level | ChildBits(Item)});
  if (ParentIndex >= 0) FlagsOf(ParentIndex) |= kvrExpanded | kvrHasSubItems | kvrHasChildren;
}

void TKvDataConsumerViewList::AddItem(int ParentIndex, IKvDataItem* Item) {
  if (!ShowsItem(Item)) return;
  if (ParentIndex < 0) {
    InsertItem(Count(), -1, Item);
    return;
  }
  if (!ItemIsExpanded(ParentIndex)) {
    if (!ItemHasChildren(ParentIndex))
      SetItemFlags(ParentIndex, kvrHasSubItems | kvrHasChildren, kvrHasSubItems | kvrHasChildren);
    ToggleItem(ParentIndex);
  }
  if (IndexOfItem(Item) < 0) InsertItem(EndOfDescendants(ParentIndex), ParentIndex, Item);
}

void TKvDataConsumerViewList::AddItemTree(int ParentIndex, IKvDataItem* Item, int Depth) {
  if (!ShowsItem(Item)) return;
  if (ParentIndex >= 0 && !ItemIsExpanded(ParentIndex)) {
    IKvDataItems* siblings = KvSubItems(ItemAt(ParentIndex));
    if (siblings && siblings->GetCount() > 0) {
      ToggleItem(ParentIndex);
      return;
    }
  }
  const int row = EndOfDescendants(ParentIndex);
  InsertItem(row, ParentIndex, Item);
  IKvDataItems* sub = KvSubItems(Item);
  if (Depth != 0 && sub && sub->GetCount() > 0) {
    int pos = row + 1;
    AddChildren(pos, sub, Depth - 1);
  }
}

void TKvDataConsumerViewList::CollapseItem(int Index) {
  const uint32_t flags = FlagsOf(Index);
  if (!(flags & kvrHasChildren) || !(flags & kvrExpanded)) return;
  FRows.erase(FRows.begin() + Index + 1, FRows.begin() + EndOfDescendants(Index));
  FlagsOf(Index) &= ~kvrExpanded;
}

void TKvDataConsumerViewList::DeleteItem(int Index) {
  CollapseItem(Index);
  const int level = ItemLevel(Index);
  FRows.erase(FRows.begin() + Index);
  // A parent whose only shown child went no longer shows as expandable.
  const int parent = Index - 1;
  if (parent >= 0 && ItemLevel(parent) == level - 1 && (Index >= Count() || ItemLevel(Index) != level))
    FlagsOf(parent) &= ~(kvrHasChildren | kvrExpanded);
}

void TKvDataConsumerViewList::SetItemFlags(int Index, uint32_t Value, uint32_t Mask) {
  FlagsOf(Index) = (FlagsOf(Index) & ~Mask) | (Value & Mask);
}

void STDMETHODCALLTYPE TKvDataConsumerViewList::ToggleItem(int Index) {
  if (!ItemHasChildren(Index)) return;
  if (ItemIsExpanded(Index)) {
    CollapseItem(Index);
  } else if (IKvDataItems* sub = KvSubItems(ItemAt(Index))) {
    int pos = Index + 1;
    AddChildren(pos, sub, 0);
  }
  NotifyViewChanged();
}

// --- Navigation ------------------------------------------------------------------------------

int STDMETHODCALLTYPE TKvDataConsumerViewList::IndexOfItem(IKvDataItem* Item) {
  return Item ? IndexOfID(Item->GetID()) : -1;
}

int STDMETHODCALLTYPE TKvDataConsumerViewList::IndexOfID(const TKvDataItemID& ID) {
  for (int i = Count() - 1; i >= 0; --i)
    if (SameIdent(FRows[static_cast<size_t>(i)].ID, ID)) return i;
  return -1;
}

int STDMETHODCALLTYPE TKvDataConsumerViewList::ChildIndexOfItem(IKvDataItem* Item) {
  return Item ? ChildIndexOfID(Item->GetID()) : -1;
}

int STDMETHODCALLTYPE TKvDataConsumerViewList::ChildIndexOfID(const TKvDataItemID& ID) {
  const int row = IndexOfID(ID);
  if (row < 0) return -1;
  const int level = ItemLevel(row);
  int siblings = 0;
  for (int i = row - 1; i >= 0 && ItemLevel(i) >= level; --i)
    if (ItemLevel(i) == level) ++siblings;
  return siblings;
}

IKvDataItem* STDMETHODCALLTYPE TKvDataConsumerViewList::ItemAt(int Index) {
  IKvDataItems* list = nullptr;
  if (ItemLevel(Index) == 0) {
    list = Consumer()->RootItems();
  } else {
    int parent = ItemParentIndex(Index);
    list = parent >= 0 ? KvSubItems(ItemAt(parent)) : nullptr;
  }
  auto* search = KvQuery<IKvDataItemsSearch>(list);
  return search ? search->FindItemID(FRows[static_cast<size_t>(Index)].ID, false) : nullptr;
}

int STDMETHODCALLTYPE TKvDataConsumerViewList::ItemLevel(int Index) { return LevelOf(FlagsOf(Index)); }

bool STDMETHODCALLTYPE TKvDataConsumerViewList::ItemIsExpanded(int Index) {
  return (FlagsOf(Index) & kvrExpanded) != 0;
}

bool STDMETHODCALLTYPE TKvDataConsumerViewList::ItemHasChildren(int Index) {
  return (FlagsOf(Index) & kvrHasChildren) != 0;
}

IKvDataItem* STDMETHODCALLTYPE TKvDataConsumerViewList::ItemParent(int Index) {
  int parent = ItemParentIndex(Index);
  return parent >= 0 ? ItemAt(parent) : nullptr;
}

int STDMETHODCALLTYPE TKvDataConsumerViewList::ItemParentIndex(int Index) {
  const int level = ItemLevel(Index);
  for (int i = Index - 1; i >= 0; --i)
    if (ItemLevel(i) < level) return i;
  return -1;
}

IKvDataItem* STDMETHODCALLTYPE TKvDataConsumerViewList::ItemSibling(int Index) {
  int sibling = ItemSiblingIndex(Index);
  return sibling >= 0 ? ItemAt(sibling) : nullptr;
}

int STDMETHODCALLTYPE TKvDataConsumerViewList::ItemSiblingIndex(int Index) {
  const int level = ItemLevel(Index);
  int pos = Index + 1;
  while (pos < Count() && ItemLevel(pos) > level) ++pos;
  return pos < Count() && ItemLevel(pos) == level ? pos : -1;
}

IKvDataItem* STDMETHODCALLTYPE TKvDataConsumerViewList::SubItemOfItem(IKvDataItem* Item, int N) {
  int row = IndexOfItem(Item);
  return row >= 0 ? SubItem(row, N) : nullptr;
}

IKvDataItem* STDMETHODCALLTYPE TKvDataConsumerViewList::SubItem(int Index, int N) {
  int row = SubItemIndex(Index, N);
  return row >= 0 ? ItemAt(row) : nullptr;
}

int STDMETHODCALLTYPE TKvDataConsumerViewList::SubItemIndexOfItem(IKvDataItem* Item, int N) {
  int row = IndexOfItem(Item);
  return row >= 0 ? SubItemIndex(row, N) : -1;
}

int STDMETHODCALLTYPE TKvDataConsumerViewList::SubItemIndex(int Index, int N) {
  if (!ItemIsExpanded(Index) || Index + 1 >= Count() || ItemLevel(Index + 1) != ItemLevel(Index) + 1)
    return -1;
  int row = Index + 1;
  for (int i = 0; i < N && row >= 0; ++i) row = ItemSiblingIndex(row);
  return row;
}
