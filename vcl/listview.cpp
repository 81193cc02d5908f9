#include "vcl/listview.h"

#include <algorithm>
#include <cstring>

#include "vcl/comctrls_common.h"
#include "vcl/scopeexit.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"
#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& ListColumnProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TListColumn>()
      .Property("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment).Default(taLeftJustify)
      .Property("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize).Default(false)
      .Property("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
      .Property("ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex).Default(-1)
      .Property("MaxWidth", &TListColumn::MaxWidth, &TListColumn::SetMaxWidth).Default(0)
      .Property("MinWidth", &TListColumn::MinWidth, &TListColumn::SetMinWidth).Default(0)
      .Property("Tag", &TListColumn::Tag).Default(0)
      .Property("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50)
      .Table();
  return table;
}

}  // namespace

const std::vector<TPropInfo>& ListViewPublishedProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TCustomListView>()
      .Property("Checkboxes", &TCustomListView::Checkboxes, &TCustomListView::SetCheckboxes).Default(false)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents()).Default(clWindow)
      .Property("Columns", &TCustomListView::Columns, &TCustomListView::SetColumns)
      .Property("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines).Default(false)
      .Property("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection).Default(true)
      .Property("HotTrack", &TCustomListView::HotTrack, &TCustomListView::SetHotTrack).Default(false)
      .Property("Items", &TCustomListView::Items, &TCustomListView::SetItems).Stored(&TCustomListView::IsItemsStored)
      .Property("LargeImages", &TCustomListView::LargeImages, &TCustomListView::SetLargeImages)
      .Property("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect).Default(false)
      .Property("OwnerData", &TCustomListView::OwnerData, &TCustomListView::SetOwnerData).Default(false)
      .Property("OwnerDraw", &TCustomListView::OwnerDraw, &TCustomListView::SetOwnerDraw).Default(false)
      .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false)
      .Property("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly).Default(false)
      .Property("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect).Default(false)
      .Property("ShowColumnHeaders", &TCustomListView::ShowColumnHeaders, &TCustomListView::SetShowColumnHeaders).Default(true)
      .Property("SmallImages", &TCustomListView::SmallImages, &TCustomListView::SetSmallImages)
      .Property("SortType", &TCustomListView::SortType, &TCustomListView::SetSortType).Default(stNone)
      .Property("StateImages", &TCustomListView::StateImages, &TCustomListView::SetStateImages)
      .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true)
      .Property("ViewStyle", &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle).Default(vsIcon)
      .Property("OnChange", &TCustomListView::OnChange)
      .Property("OnColumnClick", &TCustomListView::OnColumnClick)
      .Property("OnColumnRightClick", &TCustomListView::OnColumnRightClick)
      .Property("OnCompare", &TCustomListView::OnCompare)
      .Property("OnCustomDraw", &TCustomListView::OnCustomDraw)
      .Property("OnCustomDrawItem", &TCustomListView::OnCustomDrawItem)
      .Property("OnCustomDrawSubItem", &TCustomListView::OnCustomDrawSubItem)
      .Property("OnData", &TCustomListView::OnData)
      .Property("OnDataFind", &TCustomListView::OnDataFind)
      .Property("OnDrawItem", &TCustomListView::OnDrawItem)
      .Property("OnEdited", &TCustomListView::OnEdited)
      .Property("OnEditing", &TCustomListView::OnEditing)
      .Property("OnInfoTip", &TCustomListView::OnInfoTip)
      .Property("OnSelectItem", &TCustomListView::OnSelectItem)
      .Table();
  return table;
}

namespace {

// Posted to itself on NM_CLICK: the click is told once the window has done with the mouse
// (a click on a check box toggles it after NM_CLICK), so OnClick sees the new state.
constexpr UINT CM_DEFERREDCLICK = CM_BASE + 100;

constexpr UINT kKeptStates = LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED;

TCustomDrawState CustomDrawStateOf(UINT ItemState) {
  TCustomDrawState s = 0;
  if (ItemState & CDIS_SELECTED) s |= cdsSelected;
  if (ItemState & CDIS_GRAYED) s |= cdsGrayed;
  if (ItemState & CDIS_DISABLED) s |= cdsDisabled;
  if (ItemState & CDIS_CHECKED) s |= cdsChecked;
  if (ItemState & CDIS_FOCUS) s |= cdsFocused;
  if (ItemState & CDIS_DEFAULT) s |= cdsDefault;
  if (ItemState & CDIS_HOT) s |= cdsHot;
  if (ItemState & CDIS_MARKED) s |= cdsMarked;
  if (ItemState & CDIS_INDETERMINATE) s |= cdsIndeterminate;
  return s;
}

}  // namespace

VCL_CLASS_IMPL(TListColumn, TCollectionItem, nullptr, &ListColumnProperties)
VCL_CLASS_IMPL(TListColumns, TCollection, nullptr, nullptr)
VCL_CLASS_IMPL(TSubItems, TStringList, nullptr, nullptr)
VCL_CLASS_IMPL(TListItem, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TListItems, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TCustomListView, TCustomListControl, nullptr, nullptr)
VCL_CLASS_IMPL(TListView, TCustomListView, &CreateComponentOf<TListView>, &ListViewPublishedProperties)
VCL_CLASS_IMPL(TListViewActionLink, TWinControlActionLink, nullptr, nullptr)

void RegisterListViews() {
  RegisterImageLists();
  RegisterClasses({TListView::StaticClass()});
}

PFNLVCOMPARE DefaultListViewCompare() { return &TCustomListView::DefaultCompare; }

// ---------------------------------------------------------------------------
// TListColumn

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

TListColumn::~TListColumn() = default;

TCustomListView* TListColumn::ListView() const {
  auto* columns = dynamic_cast<TListColumns*>(Collection());
  return columns ? columns->Owner() : nullptr;
}

AnsiString TListColumn::GetDisplayName() const { return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption; }

void TListColumn::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed(false);
}

int TListColumn::Width() const {
  TCustomListView* lv = ListView();
  if (lv && lv->HandleAllocated() && FOrderTag >= 0)
    return static_cast<int>(SendMessageA(lv->WindowHandle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(FOrderTag), 0));
  return FWidth;
}

void TListColumn::SetWidth(int Value) {
  if (FMaxWidth > 0 && Value > FMaxWidth) Value = FMaxWidth;
  if (Value < FMinWidth) Value = FMinWidth;
  FWidth = Value;
  Changed(false);
}

void TListColumn::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Changed(false);
}

void TListColumn::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  Changed(false);
}

void TListColumn::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Changed(false);
}

void TListColumn::UpdateColumn() {
  TCustomListView* lv = ListView();
  if (!lv || !lv->HandleAllocated() || lv->HasState(csDestroying) || FOrderTag < 0) return;
  static const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
  col.fmt = formats[FAlignment];
  col.pszText = const_cast<char*>(FCaption.c_str());
  col.cx = FAutoSize ? LVSCW_AUTOSIZE_USEHEADER : FWidth;
  if (FImageIndex >= 0) {
    col.mask |= LVCF_IMAGE;
    col.fmt |= LVCFMT_IMAGE;
    col.iImage = FImageIndex;
  }
  SendMessageA(lv->WindowHandle(), LVM_SETCOLUMNA, static_cast<WPARAM>(FOrderTag), reinterpret_cast<LPARAM>(&col));
  if (FAutoSize) SendMessageA(lv->WindowHandle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(FOrderTag), LVSCW_AUTOSIZE_USEHEADER);
}

void TListColumn::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TListColumn*>(Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  FCaption = src->FCaption;
  FWidth = src->Width();
  FAlignment = src->FAlignment;
  FMinWidth = src->FMinWidth;
  FMaxWidth = src->FMaxWidth;
  FAutoSize = src->FAutoSize;
  FImageIndex = src->FImageIndex;
  Tag = src->Tag;
  Changed(false);
}

// ---------------------------------------------------------------------------
// TListColumns

TListColumns::TListColumns(TCustomListView* AOwner) : TListColumns(AOwner, CollectionItemClassOf<TListColumn>()) {}

TListColumns::TListColumns(TCustomListView* AOwner, TCollectionItemClass ItemClass)
    : TCollection(ItemClass), FOwner(AOwner) {}

TPersistent* TListColumns::GetOwner() { return FOwner; }

TListColumn* TListColumns::FindByOrderTag(int Tag) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->FOrderTag == Tag) return Items(i);
  return nullptr;
}

void TListColumns::RenumberTags() {
  for (int i = 0; i < Count(); ++i) Items(i)->FOrderTag = i;
}

void TListColumns::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  auto* column = static_cast<TListColumn*>(Item);
  HWND wnd = FOwner && FOwner->HandleAllocated() && !FOwner->HasState(csDestroying) ? FOwner->WindowHandle() : nullptr;
  if (Action == cnAdded) {
    ++FCompleteCount;
    column->FOrderTag = column->Index();
    if (wnd) {
      LVCOLUMNA col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      col.fmt = LVCFMT_LEFT;
      col.cx = column->FWidth;
      col.pszText = const_cast<char*>(column->FCaption.c_str());
      SendMessageA(wnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column->FOrderTag), reinterpret_cast<LPARAM>(&col));
    }
  } else if (Action == cnDeleting || Action == cnExtracting) {
    --FCompleteCount;
    int tag = column->FOrderTag;
    if (wnd && tag >= 0) SendMessageA(wnd, LVM_DELETECOLUMN, static_cast<WPARAM>(tag), 0);
    column->FOrderTag = -1;
    for (int i = 0; i < Count(); ++i)
      if (Items(i)->FOrderTag > tag) --Items(i)->FOrderTag;
  }
}

void TListColumns::Update(TCollectionItem* Item) {
  if (Count() != FCompleteCount) return;  // a column is being made or removed
  if (Item) {
    static_cast<TListColumn*>(Item)->UpdateColumn();
    return;
  }
  // Order or several columns changed: the window columns follow the collection's order.
  RenumberTags();
  for (int i = 0; i < Count(); ++i) Items(i)->UpdateColumn();
}

// ---------------------------------------------------------------------------
// TSubItems

void TSubItems::Put(int Index, const AnsiString& S) {
  TStringList::Put(Index, S);
  if (!FUpdating) FOwner->SubItemChanged(Index);
}

int TSubItems::AddObject(const AnsiString& S, TObject* Obj) {
  int index = TStringList::AddObject(S, Obj);
  if (!FUpdating) FOwner->SubItemChanged(index);
  return index;
}

void TSubItems::InsertObject(int Index, const AnsiString& S, TObject* Obj) {
  TStringList::InsertObject(Index, S, Obj);
  if (!FUpdating) FOwner->SubItemInserted(Index);
}

void TSubItems::Delete(int Index) {
  TStringList::Delete(Index);
  if (!FUpdating) FOwner->SubItemsChangedFrom(Index);
}

void TSubItems::Clear() {
  bool had = GetCount() > 0;
  TStringList::Clear();
  if (had && !FUpdating) FOwner->SubItemsChangedFrom(0);
}

void TSubItems::Exchange(int Index1, int Index2) {
  TStringList::Exchange(Index1, Index2);
  if (FUpdating) return;
  FOwner->SubItemChanged(Index1);
  FOwner->SubItemChanged(Index2);
}

void TSubItems::SetUpdateState(bool Updating) {
  TStringList::SetUpdateState(Updating);
  FUpdating = Updating;
  if (!Updating) FOwner->SubItemsChangedFrom(0);
}

// ---------------------------------------------------------------------------
// TListItem

TListItem::TListItem(TListItems* AOwner)
    : FOwner(AOwner), FOwnSubItems(std::make_unique<TSubItems>(this)), FSubItems(FOwnSubItems.get()) {}

TListItem::TListItem(TListItems* AOwner, TStrings* SubItems) : FOwner(AOwner), FSubItems(SubItems) {}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return FOwner ? FOwner->Owner() : nullptr; }

bool TListItem::InWindow() const {
  TCustomListView* lv = ListView();
  return lv && lv->HandleAllocated() && !lv->OwnerData() && FIndex >= 0 && !lv->FFilling;
}

void TListItem::SubItemChanged(int Index) {
  if (InWindow()) ListView()->SetTextCallback(FIndex, Index + 1);
}

void TListItem::SubItemInserted(int Index) {
  // At the end only its own column changes; before it, every column from there on.
  if (Index == FSubItems->Count() - 1)
    SubItemChanged(Index);
  else
    SubItemsChangedFrom(Index);
}

void TListItem::SubItemsChangedFrom(int From) {
  if (!InWindow()) return;
  TCustomListView* lv = ListView();
  for (int i = From; i < FSubItems->Count(); ++i) lv->SetTextCallback(FIndex, i + 1);
  // Columns beyond the new end show the empty text of their display request.
  SendMessageA(lv->WindowHandle(), LVM_UPDATE, static_cast<WPARAM>(FIndex), 0);
}

bool TListItem::HasWindowState() const {
  TCustomListView* lv = ListView();
  return lv && lv->HandleAllocated() && FIndex >= 0;
}

void TListItem::SetCaption(const AnsiString& Value) {
  FCaption = Value;
  if (InWindow()) ListView()->CaptionChanged(this);
  if (TCustomListView* lv = ListView(); lv && FIndex >= 0 && !lv->OwnerData()) lv->SortAfter(true);
}

void TListItem::SetSubItems(TStrings* Value) { FSubItems->Assign(Value); }

void TListItem::SetData(void* Value) {
  FData = Value;
  if (TCustomListView* lv = ListView(); lv && FIndex >= 0 && !lv->OwnerData()) lv->SortAfter(false);
}

void TListItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (InWindow()) SendMessageA(ListView()->WindowHandle(), LVM_REDRAWITEMS, static_cast<WPARAM>(FIndex), FIndex);
}

void TListItem::SetStateIndex(int Value) {
  if (FStateIndex == Value) return;
  FStateIndex = Value;
  TCustomListView* lv = ListView();
  if (InWindow() && !lv->Checkboxes())
    SetState(INDEXTOSTATEIMAGEMASK(static_cast<UINT>(Value + 1)), LVIS_STATEIMAGEMASK, true);
}

void TListItem::SetOverlayIndex(int Value) {
  if (FOverlayIndex == Value) return;
  FOverlayIndex = Value;
  if (InWindow()) SetState(INDEXTOOVERLAYMASK(static_cast<UINT>(Value + 1)), LVIS_OVERLAYMASK, true);
}

void TListItem::SetIndent(int Value) {
  if (FIndent == Value) return;
  FIndent = Value;
  if (InWindow()) {
    LVITEMA it{};
    it.mask = LVIF_INDENT;
    it.iItem = FIndex;
    it.iIndent = Value;
    SendMessageA(ListView()->WindowHandle(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
  }
}

void TListItem::SetState(UINT State, UINT Mask, bool On) {
  if (!HasWindowState()) {
    FSavedState = On ? (FSavedState | Mask) : (FSavedState & ~Mask);
    return;
  }
  LVITEMA it{};
  it.stateMask = Mask;
  it.state = On ? State : 0;
  SendMessageA(ListView()->WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&it));
}

bool TListItem::GetState(UINT Mask) const {
  if (!HasWindowState()) return (FSavedState & Mask) != 0;
  return (SendMessageA(ListView()->WindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(FIndex), Mask) & Mask) != 0;
}

bool TListItem::Checked() const {
  TCustomListView* lv = ListView();
  if (lv && lv->Checkboxes() && HasWindowState()) {
    UINT state = static_cast<UINT>(
        SendMessageA(lv->WindowHandle(), LVM_GETITEMSTATE, static_cast<WPARAM>(FIndex), LVIS_STATEIMAGEMASK));
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
  }
  return FChecked;
}

void TListItem::SetChecked(bool Value) {
  FChecked = Value;
  TCustomListView* lv = ListView();
  if (lv && lv->Checkboxes() && HasWindowState())
    SetState(INDEXTOSTATEIMAGEMASK(Value ? 2u : 1u), LVIS_STATEIMAGEMASK, true);
}

bool TListItem::Selected() const { return GetState(LVIS_SELECTED); }
void TListItem::SetSelected(bool Value) { SetState(LVIS_SELECTED, LVIS_SELECTED, Value); }
bool TListItem::Focused() const { return GetState(LVIS_FOCUSED); }
void TListItem::SetFocused(bool Value) { SetState(LVIS_FOCUSED, LVIS_FOCUSED, Value); }
bool TListItem::Cut() const { return GetState(LVIS_CUT); }
void TListItem::SetCut(bool Value) { SetState(LVIS_CUT, LVIS_CUT, Value); }

void TListItem::Update() {
  if (HasWindowState()) SendMessageA(ListView()->WindowHandle(), LVM_UPDATE, static_cast<WPARAM>(FIndex), 0);
}

void TListItem::MakeVisible(bool PartialOK) {
  if (HasWindowState())
    SendMessageA(ListView()->WindowHandle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(FIndex), PartialOK ? 1 : 0);
}

bool TListItem::EditCaption() {
  if (!HasWindowState()) return false;
  TCustomListView* lv = ListView();
  ::SetFocus(lv->WindowHandle());
  return lv->Perform(LVM_EDITLABELA, static_cast<WPARAM>(FIndex), 0) != 0;
}

RECT TListItem::DisplayRect(int Code) const {
  RECT r{};
  if (HasWindowState()) {
    r.left = Code;
    SendMessageA(ListView()->WindowHandle(), LVM_GETITEMRECT, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&r));
  }
  return r;
}

void TListItem::Delete() {
  if (FOwner && FIndex >= 0 && FOwner->IndexOf(this) == FIndex) FOwner->Delete(FIndex);
}

void TListItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TListItem*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  SetCaption(src->Caption());
  SetData(src->Data());
  SetImageIndex(src->ImageIndex());
  SetIndent(src->Indent());
  SetOverlayIndex(src->OverlayIndex());
  SetStateIndex(src->StateIndex());
  SubItems()->Assign(src->SubItems());
  SetChecked(src->Checked());
}

// ---------------------------------------------------------------------------
// TListItems

TListItems::TListItems(TCustomListView* AOwner) : FOwner(AOwner) {}

TListItems::~TListItems() {
  for (TListItem* item : FItems) delete item;
}

TPersistent* TListItems::GetOwner() { return FOwner; }

TListItem* TListItems::Add() { return AddItem(nullptr, -1); }

TListItem* TListItems::Insert(int Index) { return AddItem(nullptr, Index); }

TListItem* TListItems::AddItem(TListItem* Item, int Index) {
  if (FOwner->OwnerData()) throw EInvalidOperation("An owner-data list view holds no items");
  int count = static_cast<int>(FItems.size());
  if (Index < 0 || Index > count) Index = count;
  std::unique_ptr<TListItem> owned(Item ? Item : FOwner->MakeListItem());
  owned->FOwner = this;
  FItems.insert(FItems.begin() + Index, owned.get());
  TListItem* item = owned.release();
  Renumber(Index);
  if (FOwner->HandleAllocated()) InsertIntoWindow(item);
  return item;
}

void TListItems::InsertIntoWindow(TListItem* Item) {
  HWND wnd = FOwner->WindowHandle();
  LVITEMA it{};
  it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
  it.iItem = Item->FIndex;
  it.pszText = LPSTR_TEXTCALLBACKA;
  it.iImage = I_IMAGECALLBACK;
  it.lParam = reinterpret_cast<LPARAM>(Item);
  it.iIndent = Item->FIndent;
  it.stateMask = kKeptStates;
  it.state = Item->FSavedState & kKeptStates;
  if (!FOwner->Checkboxes() && Item->FStateIndex >= 0) {
    it.stateMask |= LVIS_STATEIMAGEMASK;
    it.state |= INDEXTOSTATEIMAGEMASK(static_cast<UINT>(Item->FStateIndex + 1));
  }
  if (Item->FOverlayIndex >= 0) {
    it.stateMask |= LVIS_OVERLAYMASK;
    it.state |= INDEXTOOVERLAYMASK(static_cast<UINT>(Item->FOverlayIndex + 1));
  }
  int index = static_cast<int>(SendMessageA(wnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
  if (index < 0) return;
  Item->FSavedState = 0;
  if (FOwner->Checkboxes() && Item->FChecked) Item->SetChecked(true);
  // The texts, caption first: each is asked for when shown.
  if (FOwner->FFilling) FOwner->SetTextCallback(index, 0);
  for (int k = 1; k <= Item->SubItems()->Count(); ++k) FOwner->SetTextCallback(index, k);
}

void TListItems::Renumber(int From) {
  for (size_t i = static_cast<size_t>(std::max(From, 0)); i < FItems.size(); ++i) FItems[i]->FIndex = static_cast<int>(i);
}

void TListItems::Delete(int Index) {
  if (FOwner->OwnerData()) {
    if (Index >= 0 && Index < Count()) SetCount(Count() - 1);
    return;
  }
  if (Index < 0 || Index >= static_cast<int>(FItems.size())) throw EListError("List index out of bounds (%d)", Index);
  std::unique_ptr<TListItem> item(FItems[static_cast<size_t>(Index)]);
  if (FOwner->HandleAllocated()) SendMessageA(FOwner->WindowHandle(), LVM_DELETEITEM, static_cast<WPARAM>(Index), 0);
  FItems.erase(FItems.begin() + Index);
  item->FIndex = -1;
  Renumber(Index);
}

void TListItems::Clear() {
  if (FOwner->OwnerData()) {
    SetCount(0);
    return;
  }
  BeginUpdate();
  ScopeExit done{[this] { EndUpdate(); }};
  if (FOwner->HandleAllocated()) SendMessageA(FOwner->WindowHandle(), LVM_DELETEALLITEMS, 0, 0);
  std::vector<TListItem*> items;
  items.swap(FItems);
  for (TListItem* item : items) delete item;
}

int TListItems::Count() const {
  if (!FOwner->OwnerData()) return static_cast<int>(FItems.size());
  if (FOwner->HandleAllocated()) return static_cast<int>(SendMessageA(FOwner->WindowHandle(), LVM_GETITEMCOUNT, 0, 0));
  return FCount;
}

void TListItems::SetCount(int Value) {
  if (!FOwner->OwnerData()) return;
  FCount = std::max(Value, 0);
  if (FOwner->HandleAllocated())
    SendMessageA(FOwner->WindowHandle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(FCount), LVSICF_NOINVALIDATEALL);
}

TListItem* TListItems::Item(int Index) const {
  if (FOwner->OwnerData()) {
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (%d)", Index);
    TListItem* temp = FOwner->TempItem();
    temp->FIndex = Index;
    FOwner->OwnerDataFetch(temp, LVIF_TEXT | LVIF_IMAGE | LVIF_STATE | LVIF_INDENT | LVIF_PARAM);
    return temp;
  }
  if (Index < 0 || Index >= static_cast<int>(FItems.size())) throw EListError("List index out of bounds (%d)", Index);
  return FItems[static_cast<size_t>(Index)];
}

int TListItems::IndexOf(const TListItem* Value) const {
  if (!Value || Value->FOwner != this) return -1;
  int i = Value->FIndex;
  return i >= 0 && i < static_cast<int>(FItems.size()) && FItems[static_cast<size_t>(i)] == Value ? i : -1;
}

void TListItems::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) SendMessageA(FOwner->WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  if (FOwner->HandleAllocated()) {
    SendMessageA(FOwner->WindowHandle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FOwner->WindowHandle(), nullptr, TRUE);
  }
  if (FOwner->FSortPending) {
    FOwner->FSortPending = false;
    FOwner->AlphaSort();
  }
}

void TListItems::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TListItems*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  ScopeExit done{[this] { EndUpdate(); }};
  Clear();
  for (int i = 0; i < src->Count(); ++i) Add()->Assign(src->Item(i));
}

namespace {

void WriteInt(TStream* s, int32_t v) { s->WriteBuffer(&v, sizeof v); }
int32_t ReadInt(TStream* s) {
  int32_t v = 0;
  s->ReadBuffer(&v, sizeof v);
  return v;
}
void WriteText(TStream* s, const AnsiString& t) {
  WriteInt(s, static_cast<int32_t>(t.size()));
  if (!t.empty()) s->WriteBuffer(t.data(), static_cast<int64_t>(t.size()));
}
AnsiString ReadText(TStream* s) {
  int32_t n = ReadInt(s);
  if (n < 0 || n > s->Size() - s->Position()) throw EReadError("Invalid list item data");
  AnsiString t(static_cast<size_t>(n), '\0');
  if (n) s->ReadBuffer(t.data(), n);
  return t;
}

}  // namespace

// Per item: image, state image, overlay and indent, the caption and the sub-items.
void TListItems::WriteData(TStream* Stream) {
  WriteInt(Stream, Count());
  for (TListItem* item : FItems) {
    WriteInt(Stream, item->FImageIndex);
    WriteInt(Stream, item->FStateIndex);
    WriteInt(Stream, item->FOverlayIndex);
    WriteInt(Stream, item->FIndent);
    WriteText(Stream, item->FCaption);
    WriteInt(Stream, item->SubItems()->Count());
    for (int k = 0; k < item->SubItems()->Count(); ++k) WriteText(Stream, item->SubItems()->Strings(k));
  }
}

void TListItems::ReadData(TStream* Stream) {
  BeginUpdate();
  ScopeExit done{[this] { EndUpdate(); }};
  Clear();
  int32_t count = ReadInt(Stream);
  for (int32_t i = 0; i < count; ++i) {
    TListItem* item = Add();
    item->SetImageIndex(ReadInt(Stream));
    item->SetStateIndex(ReadInt(Stream));
    item->SetOverlayIndex(ReadInt(Stream));
    item->SetIndent(ReadInt(Stream));
    item->SetCaption(ReadText(Stream));
    int32_t subs = ReadInt(Stream);
    if (subs < 0) throw EReadError("Invalid list item data");
    item->SubItems()->BeginUpdate();
    for (int32_t k = 0; k < subs; ++k) item->SubItems()->Add(ReadText(Stream));
    item->SubItems()->EndUpdate();
  }
}

void TListItems::DefineProperties(TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !FItems.empty());
}

// ---------------------------------------------------------------------------
// TCustomListView

TCustomListView::TCustomListView(TComponent* AOwner) : TCustomListControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
  InitCommonControlsOnce();
  ControlStyle = 0;  // clicks and double clicks come as NM_CLICK / NM_DBLCLK
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetParentColor(false);
  auto link = [this](std::unique_ptr<TChangeLink>& l) {
    l = std::make_unique<TChangeLink>();
    l->OnChange = [this](TObject* Sender) { ImageListChange(Sender); };
  };
  link(FLargeChangeLink);
  link(FSmallChangeLink);
  link(FStateChangeLink);
}

TCustomListView::~TCustomListView() {
  Destroying();
  // The window is let go of by the framework before it is destroyed, so nothing it still
  // says reaches these; the items and columns go without telling the window.
  FTempItem.reset();
  FListItems.reset();
  FListColumns.reset();
}

TListItems* TCustomListView::Items() const {
  if (!FListItems) FListItems.reset(const_cast<TCustomListView*>(this)->CreateListItems());
  return FListItems.get();
}

TListColumns* TCustomListView::Columns() const {
  if (!FListColumns) FListColumns.reset(const_cast<TCustomListView*>(this)->CreateListColumns());
  return FListColumns.get();
}

TListItem* TCustomListView::TempItem() const {
  if (!FTempItem) {
    FTempItem.reset(const_cast<TCustomListView*>(this)->CreateListItem());
    FTempItem->FOwner = Items();
  }
  return FTempItem.get();
}

TListItems* TCustomListView::CreateListItems() { return new TListItems(this); }
TListColumns* TCustomListView::CreateListColumns() { return new TListColumns(this); }

TListItem* TCustomListView::CreateListItem() {
  TListItemClass cls = ListItemClassOf<TListItem>();
  if (OnCreateItemClass) OnCreateItemClass(this, cls);
  if (!cls.Create) throw EInvalidOperation("The list item class cannot be created");
  return cls.Create(Items());
}

TListItem* TCustomListView::MakeListItem() { return CreateListItem(); }

TControlActionLink* TCustomListView::CreateActionLink() { return new TListViewActionLink(this); }

void TCustomListView::CreateParams(TCreateParams& Params) {
  TCustomListControl::CreateParams(Params);
  CreateSubClass(Params, WC_LISTVIEWA);
  static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  Params.Style |= views[FViewStyle] | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE;
  if (!FMultiSelect) Params.Style |= LVS_SINGLESEL;
  if (!FReadOnly) Params.Style |= LVS_EDITLABELS;
  if (!FHideSelection) Params.Style |= LVS_SHOWSELALWAYS;
  if (!FShowColumnHeaders) Params.Style |= LVS_NOCOLUMNHEADER;
  if (FOwnerData) Params.Style |= LVS_OWNERDATA;
  if (FOwnerDraw && FViewStyle == vsReport) Params.Style |= LVS_OWNERDRAWFIXED;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
  // The class's own background: the control paints it in its own colour.
  Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListView::CreateWnd() {
  TCustomListControl::CreateWnd();
  HWND wnd = WindowHandle();
  SetControlUnicodeFormat(wnd, UnicodeNotifications());
  COLORREF back = ColorToRGB(Color());
  SendMessageA(wnd, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
  SendMessageA(wnd, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
  SendMessageA(wnd, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font()->Color())));
  UpdateExtendedStyles();
  ApplyImageList(LVSIL_NORMAL);
  ApplyImageList(LVSIL_SMALL);
  ApplyImageList(LVSIL_STATE);
  TListColumns* columns = Columns();
  for (int i = 0; i < columns->Count(); ++i) {
    TListColumn* column = columns->Items(i);
    column->FOrderTag = i;
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.cx = column->FWidth;
    col.pszText = const_cast<char*>(column->FCaption.c_str());
    SendMessageA(wnd, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    column->UpdateColumn();
  }
  if (FOwnerData)
    SendMessageA(wnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(Items()->FCount), 0);
  else
    FillWindow();
  if (FSavedTopIndex > 0 && FSavedTopIndex < Items()->Count())
    SendMessageA(wnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(FSavedTopIndex), 0);
  FSavedTopIndex = 0;
}

void TCustomListView::FillWindow() {
  TListItems* items = Items();
  if (items->FItems.empty()) return;
  HWND wnd = WindowHandle();
  FFilling = true;
  ScopeExit done{[this] { FFilling = false; }};
  SendMessageA(wnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(items->FItems.size()), 0);
  for (TListItem* item : items->FItems) items->InsertIntoWindow(item);
}

void TCustomListView::DestroyWnd() {
  if (!HasState(csDestroying)) {
    HWND wnd = WindowHandle();
    TListItems* items = Items();
    for (int i = 0; i < Columns()->Count(); ++i) Columns()->Items(i)->FWidth = Columns()->Items(i)->Width();
    if (FOwnerData) {
      items->FCount = items->Count();
    } else {
      for (TListItem* item : items->FItems) {
        item->FChecked = item->Checked();
        item->FSavedState = static_cast<UINT>(
            SendMessageA(wnd, LVM_GETITEMSTATE, static_cast<WPARAM>(item->FIndex), kKeptStates));
      }
    }
    FSavedTopIndex = static_cast<int>(SendMessageA(wnd, LVM_GETTOPINDEX, 0, 0));
  }
  // Dropping the window's items is no change of ours.
  FFilling = true;
  ScopeExit done{[this] { FFilling = false; }};
  TCustomListControl::DestroyWnd();
}

void TCustomListView::Loaded() {
  TCustomListControl::Loaded();
  if (FSortType != stNone) AlphaSort();
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomListControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
  if (AComponent == FSmallImages) SetSmallImages(nullptr);
  if (AComponent == FStateImages) SetStateImages(nullptr);
}

// --- looks -------------------------------------------------------------------

void TCustomListView::SetViewStyle(TViewStyle Value) {
  if (FViewStyle == Value) return;
  FViewStyle = Value;
  if (!HandleAllocated()) return;
  if (FOwnerDraw) {
    RecreateWnd();
    return;
  }
  static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  LONG_PTR style = GetWindowLongPtrA(WindowHandle(), GWL_STYLE);
  SetWindowLongPtrA(WindowHandle(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | views[Value]);
}

void TCustomListView::SetCheckboxes(bool Value) {
  if (FCheckboxes == Value) return;
  // The check states live in the items while the window's state images change kind.
  if (HandleAllocated() && !FOwnerData)
    for (TListItem* item : Items()->FItems) item->FChecked = item->Checked();
  FCheckboxes = Value;
  UpdateExtendedStyles();
  if (HandleAllocated() && !FOwnerData && Value)
    for (TListItem* item : Items()->FItems) item->SetChecked(item->FChecked);
}

void TCustomListView::SetRowSelect(bool Value) {
  if (FRowSelect == Value) return;
  FRowSelect = Value;
  UpdateExtendedStyles();
}

void TCustomListView::SetGridLines(bool Value) {
  if (FGridLines == Value) return;
  FGridLines = Value;
  UpdateExtendedStyles();
}

void TCustomListView::SetHotTrack(bool Value) {
  if (FHotTrack == Value) return;
  FHotTrack = Value;
  UpdateExtendedStyles();
}

void TCustomListView::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListView::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  RecreateWnd();
}

void TCustomListView::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
  if (FShowColumnHeaders == Value) return;
  FShowColumnHeaders = Value;
  RecreateWnd();
}

void TCustomListView::SetOwnerData(bool Value) {
  if (FOwnerData == Value) return;
  // The items cannot follow: an owner-data list has none, and a plain list starts empty.
  Items()->Clear();
  FOwnerData = Value;
  Items()->FCount = 0;
  RecreateWnd();
}

void TCustomListView::SetOwnerDraw(bool Value) {
  if (FOwnerDraw == Value) return;
  FOwnerDraw = Value;
  RecreateWnd();
}

void TCustomListView::UpdateExtendedStyles() {
  if (!HandleAllocated()) return;
  DWORD ex = 0;
  if (FCheckboxes) ex |= LVS_EX_CHECKBOXES;
  if (FRowSelect) ex |= LVS_EX_FULLROWSELECT;
  if (FGridLines) ex |= LVS_EX_GRIDLINES;
  if (FHotTrack) ex |= LVS_EX_TRACKSELECT;
  if (OnInfoTip) ex |= LVS_EX_INFOTIP;
  Perform(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(ex));
}

// --- image lists -----------------------------------------------------------------

void TCustomListView::SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value, int Which) {
  if (RelinkImageList(this, Field, Link, Value)) ApplyImageList(Which);
}

void TCustomListView::SetLargeImages(TCustomImageList* Value) {
  SetImageList(FLargeImages, FLargeChangeLink.get(), Value, LVSIL_NORMAL);
}
void TCustomListView::SetSmallImages(TCustomImageList* Value) {
  SetImageList(FSmallImages, FSmallChangeLink.get(), Value, LVSIL_SMALL);
}
void TCustomListView::SetStateImages(TCustomImageList* Value) {
  SetImageList(FStateImages, FStateChangeLink.get(), Value, LVSIL_STATE);
}

void TCustomListView::ApplyImageList(int Which) {
  if (!HandleAllocated()) return;
  TCustomImageList* list = Which == LVSIL_NORMAL ? FLargeImages : Which == LVSIL_SMALL ? FSmallImages : FStateImages;
  // Check boxes are the window's own state images.
  if (Which == LVSIL_STATE && FCheckboxes) return;
  SendMessageA(WindowHandle(), LVM_SETIMAGELIST, static_cast<WPARAM>(Which),
               reinterpret_cast<LPARAM>(list ? list->Handle() : nullptr));
}

void TCustomListView::ImageListChange(TObject* Sender) {
  if (!HandleAllocated()) return;
  if (Sender == FLargeImages) ApplyImageList(LVSIL_NORMAL);
  if (Sender == FSmallImages) ApplyImageList(LVSIL_SMALL);
  if (Sender == FStateImages) ApplyImageList(LVSIL_STATE);
  Invalidate();
}

// --- selection and focus --------------------------------------------------------

TListItem* TCustomListView::Selected() const { return GetNextItem(nullptr, sdAll, isSelected); }

void TCustomListView::SetSelected(TListItem* Value) {
  ClearSelection();
  if (Value) Value->SetSelected(true);
}

int TCustomListView::ItemIndex() const {
  TListItem* item = Selected();
  return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int Value) {
  if (Value < 0)
    ClearSelection();
  else
    SetSelected(Items()->Item(Value));
}

TListItem* TCustomListView::ItemFocused() const { return GetNextItem(nullptr, sdAll, isFocused); }

void TCustomListView::SetItemFocused(TListItem* Value) {
  if (Value)
    Value->SetFocused(true);
  else if (TListItem* item = ItemFocused())
    item->SetFocused(false);
}

int TCustomListView::SelCount() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageA(WindowHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
  int n = 0;
  for (TListItem* item : Items()->FItems) n += (item->FSavedState & LVIS_SELECTED) ? 1 : 0;
  return n;
}

void TCustomListView::SelectAll() {
  if (!FMultiSelect) return;
  LVITEMA it{};
  it.stateMask = LVIS_SELECTED;
  it.state = LVIS_SELECTED;
  if (HandleAllocated())
    SendMessageA(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
  else
    for (TListItem* item : Items()->FItems) item->FSavedState |= LVIS_SELECTED;
}

void TCustomListView::ClearSelection() {
  LVITEMA it{};
  it.stateMask = LVIS_SELECTED;
  if (HandleAllocated())
    SendMessageA(WindowHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
  else
    for (TListItem* item : Items()->FItems) item->FSavedState &= ~static_cast<UINT>(LVIS_SELECTED);
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States) const {
  int start = StartItem ? StartItem->Index() : -1;
  if (!HandleAllocated()) {
    // Only the states kept for the next window can be asked.
    UINT mask = ((States & isSelected) ? LVIS_SELECTED : 0) | ((States & isFocused) ? LVIS_FOCUSED : 0) |
                ((States & isCut) ? LVIS_CUT : 0) | ((States & isDropHilited) ? LVIS_DROPHILITED : 0);
    const auto& items = Items()->FItems;
    for (size_t i = static_cast<size_t>(start + 1); i < items.size(); ++i)
      if (!mask || (items[i]->FSavedState & mask) == mask) return items[i];
    return nullptr;
  }
  static const UINT directions[] = {LVNI_TOLEFT, LVNI_TORIGHT, LVNI_ABOVE, LVNI_BELOW, LVNI_ALL};
  UINT flags = directions[Direction];
  if (States & isCut) flags |= LVNI_CUT;
  if (States & isDropHilited) flags |= LVNI_DROPHILITED;
  if (States & isFocused) flags |= LVNI_FOCUSED;
  if (States & isSelected) flags |= LVNI_SELECTED;
  int index = static_cast<int>(SendMessageA(WindowHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
  return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
}

TListItem* TCustomListView::GetItemAt(int X, int Y) const {
  if (!HandleAllocated()) return nullptr;
  LVHITTESTINFO info{};
  info.pt = POINT{X, Y};
  int index = static_cast<int>(SendMessageA(WindowHandle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  return index >= 0 && (info.flags & LVHT_ONITEM) ? Items()->Item(index) : nullptr;
}

TListItem* TCustomListView::TopItem() const {
  if (!HandleAllocated() || Items()->Count() == 0) return nullptr;
  int index = static_cast<int>(SendMessageA(WindowHandle(), LVM_GETTOPINDEX, 0, 0));
  return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
}

void TCustomListView::Scroll(int DX, int DY) {
  if (HandleAllocated()) SendMessageA(WindowHandle(), LVM_SCROLL, static_cast<WPARAM>(DX), DY);
}

bool TCustomListView::IsEditing() const {
  return HandleAllocated() && SendMessageA(WindowHandle(), LVM_GETEDITCONTROL, 0, 0) != 0;
}

HWND TCustomListView::GetHeaderHandle() const {
  return HandleAllocated() ? reinterpret_cast<HWND>(SendMessageA(WindowHandle(), LVM_GETHEADER, 0, 0)) : nullptr;
}

void TCustomListView::AddItem(const AnsiString& Item, TObject* AObject) {
  TListItem* item = Items()->Add();
  item->SetCaption(Item);
  item->SetData(AObject);
}

bool TCustomListView::IsItemsStored() const {
  if (FOwnerData) return false;
  // List actions fill the items themselves.
  if (TBasicAction* action = Action())
    for (const TMetaClass* c = action->ClassType(); c; c = c->Parent)
      if (std::strcmp(c->Name, "TCustomListAction") == 0) return false;
  return true;
}

// --- sorting ---------------------------------------------------------------------

int CALLBACK TCustomListView::DefaultCompare(LPARAM Item1, LPARAM Item2, LPARAM Data) {
  auto* lv = reinterpret_cast<TCustomListView*>(Data);
  auto* a = reinterpret_cast<TListItem*>(Item1);
  auto* b = reinterpret_cast<TListItem*>(Item2);
  if (!lv || !a || !b) return 0;
  if (lv->OnCompare) {
    int compare = 0;
    lv->OnCompare(lv, a, b, static_cast<int>(lv->FSortData), compare);
    return compare;
  }
  if (lv->FSortType == stData) {
    auto da = reinterpret_cast<uintptr_t>(a->Data()), db = reinterpret_cast<uintptr_t>(b->Data());
    return da < db ? -1 : da > db ? 1 : 0;
  }
  return lstrcmpA(a->Caption().c_str(), b->Caption().c_str());
}

bool TCustomListView::AlphaSort() { return CustomSort(nullptr, 0); }

bool TCustomListView::CustomSort(PFNLVCOMPARE SortProc, LPARAM lParam) {
  if (!HandleAllocated() || FOwnerData) return false;
  bool done;
  if (!SortProc) {
    FSortData = lParam;
    done = Perform(LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&DefaultCompare)) != 0;
    FSortData = 0;
  } else {
    done = Perform(LVM_SORTITEMS, static_cast<WPARAM>(lParam), reinterpret_cast<LPARAM>(SortProc)) != 0;
  }
  ReadOrderFromWindow();
  return done;
}

void TCustomListView::ReadOrderFromWindow() {
  TListItems* items = Items();
  HWND wnd = WindowHandle();
  std::vector<TListItem*> order;
  order.reserve(items->FItems.size());
  for (int i = 0; i < static_cast<int>(items->FItems.size()); ++i) {
    LVITEMA it{};
    it.mask = LVIF_PARAM;
    it.iItem = i;
    SendMessageA(wnd, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    order.push_back(reinterpret_cast<TListItem*>(it.lParam));
  }
  // Only a complete permutation of our items replaces the list.
  std::vector<TListItem*> a = order, b = items->FItems;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  if (a != b) return;
  items->FItems = std::move(order);
  items->Renumber(0);
}

void TCustomListView::SetSortType(TSortType Value) {
  if (FSortType == Value) return;
  FSortType = Value;
  if (Value != stNone && !HasState(csLoading)) AlphaSort();
}

void TCustomListView::SortAfter(bool TextChanged) {
  bool wanted = TextChanged ? (FSortType == stText || FSortType == stBoth) : (FSortType == stData || FSortType == stBoth);
  if (!wanted || !HandleAllocated() || HasState(csLoading)) return;
  if (Items()->UpdateCount() > 0)
    FSortPending = true;
  else
    AlphaSort();
}

void TCustomListView::CaptionChanged(TListItem* Item) {
  // The window holds every caption as a callback, so setting it again only redraws the item
  // and reports a text change. Inside an update bracket of a report view the bracket's end
  // redraws the whole list and no label keeps a measured extent, so the change is reported
  // here without the two notifications and the message a row would cost (a list filled row
  // by row sets every caption right after inserting it).
  if (Items()->UpdateCount() > 0 && FViewStyle == vsReport && HandleAllocated()) {
    if (!(ControlState & csDestroyingHandle) && !HasState(csDestroying)) Change(Item, ctText);
    return;
  }
  SetTextCallback(Item->Index(), 0);
}

void TCustomListView::SetTextCallback(int Index, int SubItem) {
  LVITEMA it{};
  it.iSubItem = SubItem;
  it.pszText = LPSTR_TEXTCALLBACKA;
  Perform(LVM_SETITEMTEXTA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&it));
}

// --- events ----------------------------------------------------------------------

bool TCustomListView::CanEdit(TListItem* Item) {
  bool allow = true;
  if (OnEditing) OnEditing(this, Item, allow);
  return allow;
}

void TCustomListView::Edit(const LVITEMA& Item) {
  TListItem* item = ItemOfNotify(Item.iItem, Item.lParam, (Item.mask & LVIF_PARAM) != 0);
  if (!item || !Item.pszText) return;
  AnsiString s = Item.pszText;
  if (OnEdited) OnEdited(this, item, s);
  item->SetCaption(s);
}

void TCustomListView::Change(TListItem* Item, int Change) {
  if (OnChange) OnChange(this, Item, static_cast<TItemChange>(Change));
}

void TCustomListView::ColClick(TListColumn* Column) {
  if (OnColumnClick) OnColumnClick(this, Column);
}

void TCustomListView::ColRightClick(TListColumn* Column, POINT Point) {
  if (OnColumnRightClick) OnColumnRightClick(this, Column, Point);
}

bool TCustomListView::OwnerDataFetch(TListItem* Item, UINT Request) {
  if (!OnData) return false;
  Item->FCaption.clear();
  Item->FSubItems->Clear();
  Item->FImageIndex = -1;
  Item->FStateIndex = -1;
  Item->FIndent = 0;
  Item->FData = nullptr;
  OnData(this, Item);
  return true;
}

int TCustomListView::OwnerDataFind(TItemFind Find, const AnsiString& FindString, POINT FindPosition, void* FindData,
                                   int StartIndex, TSearchDirection Direction, bool Wrap) {
  int index = -1;
  if (OnDataFind) OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap, index);
  return index;
}

void TCustomListView::DrawItem(TListItem* Item, const RECT& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Item, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Item) FCanvas->TextOut(Rect.left + 2, Rect.top, Item->Caption());
}

bool TCustomListView::CustomDraw(const RECT& ARect, DWORD Stage) {
  bool defaultDraw = true;
  if (OnCustomDraw && Stage == CDDS_PREPAINT) OnCustomDraw(this, ARect, defaultDraw);
  return defaultDraw;
}

bool TCustomListView::CustomDrawItem(TListItem* Item, TCustomDrawState State, DWORD Stage) {
  bool defaultDraw = true;
  if (OnCustomDrawItem && Stage == CDDS_ITEMPREPAINT) OnCustomDrawItem(this, Item, State, defaultDraw);
  return defaultDraw;
}

bool TCustomListView::CustomDrawSubItem(TListItem* Item, int SubItem, TCustomDrawState State, DWORD Stage) {
  bool defaultDraw = true;
  if (OnCustomDrawSubItem && Stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM))
    OnCustomDrawSubItem(this, Item, SubItem, State, defaultDraw);
  return defaultDraw;
}

// --- notifications -----------------------------------------------------------------

TListItem* TCustomListView::ItemOfNotify(int Index, LPARAM Param, bool HasParam) const {
  if (FOwnerData) {
    if (Index < 0 || Index >= Items()->Count()) return nullptr;
    TListItem* temp = TempItem();
    temp->FIndex = Index;
    return temp;
  }
  if (HasParam && Param) return reinterpret_cast<TListItem*>(Param);
  const auto& items = Items()->FItems;
  return Index >= 0 && Index < static_cast<int>(items.size()) ? items[static_cast<size_t>(Index)] : nullptr;
}

AnsiString TCustomListView::ItemText(TListItem* Item, int SubItem) {
  if (!Item) return AnsiString();
  if (SubItem == 0) return Item->Caption();
  TStrings* subs = Item->SubItems();
  return SubItem > 0 && SubItem <= subs->Count() ? subs->Strings(SubItem - 1) : AnsiString();
}

void TCustomListView::AnswerDispInfo(TMessage& Message, bool Wide) {
  // NMLVDISPINFOA and NMLVDISPINFOW differ only in the type of the text pointer.
  auto* info = reinterpret_cast<NMLVDISPINFOA*>(Message.LParam);
  LVITEMA& it = info->item;
  TListItem* item;
  if (FOwnerData) {
    item = ItemOfNotify(it.iItem, 0, false);
    if (item) OwnerDataFetch(item, it.mask);
  } else {
    item = ItemOfNotify(it.iItem, it.lParam, true);
  }
  if (!item) return;
  if (it.mask & LVIF_TEXT) {
    AnsiString text = ItemText(item, it.iSubItem);
    if (Wide)
      CopyNotifyText(reinterpret_cast<wchar_t*>(it.pszText), it.cchTextMax, AnsiToWide(text));
    else
      CopyNotifyText(it.pszText, it.cchTextMax, text);
  }
  if ((it.mask & LVIF_IMAGE) && it.iSubItem == 0) it.iImage = item->ImageIndex();
  if (it.mask & LVIF_INDENT) it.iIndent = item->Indent();
  if (FOwnerData && (it.mask & LVIF_STATE)) {
    if (item->StateIndex() >= 0) {
      it.state |= INDEXTOSTATEIMAGEMASK(static_cast<UINT>(item->StateIndex() + 1));
      it.stateMask |= LVIS_STATEIMAGEMASK;
    }
  }
}

void TCustomListView::HandleItemChanged(const NMLISTVIEW* Info) {
  if (FFilling || (ControlState & csDestroyingHandle) || HasState(csDestroying)) return;
  if (Info->iItem < 0 || Info->iItem >= Items()->Count()) return;
  TListItem* item = FOwnerData ? Items()->Item(Info->iItem) : ItemOfNotify(Info->iItem, Info->lParam, true);
  if (Info->uChanged & LVIF_TEXT) Change(item, ctText);
  if (Info->uChanged & LVIF_IMAGE) Change(item, ctImage);
  if (Info->uChanged & LVIF_STATE) {
    Change(item, ctState);
    if (((Info->uNewState ^ Info->uOldState) & LVIS_SELECTED) && OnSelectItem)
      OnSelectItem(this, item, (Info->uNewState & LVIS_SELECTED) != 0);
  }
}

void TCustomListView::HandleCustomDraw(TMessage& Message) {
  auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(Message.LParam);
  DWORD stage = cd->nmcd.dwDrawStage;
  Message.Result = CDRF_DODEFAULT;
  if (stage == CDDS_PREPAINT) {
    if (OnCustomDraw) {
      FCanvas->SetHandle(cd->nmcd.hdc);
      bool draw = CustomDraw(cd->nmcd.rc, stage);
      FCanvas->SetHandle(nullptr);
      if (!draw) {
        Message.Result = CDRF_SKIPDEFAULT;
        return;
      }
    }
    if (OnCustomDrawItem || OnCustomDrawSubItem) Message.Result = CDRF_NOTIFYITEMDRAW;
    return;
  }
  bool sub = (stage & CDDS_SUBITEM) != 0;
  if ((stage & ~static_cast<DWORD>(CDDS_SUBITEM)) != CDDS_ITEMPREPAINT) return;
  int index = static_cast<int>(cd->nmcd.dwItemSpec);
  if (index < 0 || index >= Items()->Count()) return;
  TListItem* item = FOwnerData ? Items()->Item(index) : ItemOfNotify(index, cd->nmcd.lItemlParam, true);
  // The canvas starts as the window would draw the item; what the handler changes is used.
  FCanvas->Font()->Assign(Font());
  if (cd->clrText != CLR_DEFAULT) FCanvas->Font()->SetColor(static_cast<TColor>(cd->clrText));
  FCanvas->Brush()->SetColor(cd->clrTextBk != CLR_DEFAULT && cd->clrTextBk != CLR_NONE
                                 ? static_cast<TColor>(cd->clrTextBk)
                                 : Color());
  FCanvas->SetHandle(cd->nmcd.hdc);
  TCustomDrawState state = CustomDrawStateOf(cd->nmcd.uItemState);
  bool draw = sub ? CustomDrawSubItem(item, cd->iSubItem, state, stage) : CustomDrawItem(item, state, stage);
  FCanvas->SetHandle(nullptr);
  if (!draw) {
    Message.Result = CDRF_SKIPDEFAULT;
    return;
  }
  cd->clrText = ColorToRGB(FCanvas->Font()->Color());
  cd->clrTextBk = ColorToRGB(FCanvas->Brush()->Color());
  SelectObject(cd->nmcd.hdc, FCanvas->Font()->Handle());
  Message.Result = CDRF_NEWFONT;
  if (!sub && OnCustomDrawSubItem) Message.Result |= CDRF_NOTIFYSUBITEMDRAW;
}

void TCustomListView::CNNotify(TMessage& Message) {
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  UINT code = hdr->code;
  switch (code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW: AnswerDispInfo(Message, code == LVN_GETDISPINFOW); break;
    case LVN_ITEMCHANGED: HandleItemChanged(reinterpret_cast<NMLISTVIEW*>(Message.LParam)); break;
    // No item of ours is told of its removal from the window: the list need not send a
    // notice for each one of all its items going at once.
    case LVN_DELETEALLITEMS: Message.Result = TRUE; break;
    case LVN_COLUMNCLICK: {
      auto* info = reinterpret_cast<NMLISTVIEW*>(Message.LParam);
      if (TListColumn* column = Columns()->FindByOrderTag(info->iSubItem)) ColClick(column);
      break;
    }
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(Message.LParam);
      TListItem* item = ItemOfNotify(info->item.iItem, info->item.lParam, (info->item.mask & LVIF_PARAM) != 0);
      Message.Result = CanEdit(item) ? 0 : 1;
      break;
    }
    case LVN_ENDLABELEDITA:
    case LVN_ENDLABELEDITW: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(Message.LParam);
      if (info->item.pszText && info->item.iItem != -1) {
        LVITEMA it = info->item;
        AnsiString text;
        if (code == LVN_ENDLABELEDITW) {
          text = WideToAnsi(reinterpret_cast<const wchar_t*>(info->item.pszText));
          it.pszText = text.data();
        }
        Edit(it);
      }
      Message.Result = 0;  // the caption is the item's, set by Edit
      break;
    }
    case LVN_ODFINDITEMA:
    case LVN_ODFINDITEMW: {
      auto* info = reinterpret_cast<NMLVFINDITEMA*>(Message.LParam);
      const LVFINDINFOA& fi = info->lvfi;
      TItemFind find = (fi.flags & LVFI_PARAM)      ? ifData
                       : (fi.flags & LVFI_PARTIAL)  ? ifPartialString
                       : (fi.flags & LVFI_STRING)   ? ifExactString
                                                    : ifNearest;
      AnsiString text;
      if (fi.psz)
        text = code == LVN_ODFINDITEMW ? WideToAnsi(reinterpret_cast<const wchar_t*>(fi.psz)) : AnsiString(fi.psz);
      TSearchDirection dir = fi.vkDirection == VK_LEFT ? sdLeft
                             : fi.vkDirection == VK_RIGHT ? sdRight
                             : fi.vkDirection == VK_UP    ? sdAbove
                             : fi.vkDirection == VK_DOWN  ? sdBelow
                                                          : sdAll;
      Message.Result = OwnerDataFind(find, text, fi.pt, reinterpret_cast<void*>(fi.lParam), info->iStart, dir,
                                     (fi.flags & LVFI_WRAP) != 0);
      break;
    }
    case LVN_GETINFOTIPA:
    case LVN_GETINFOTIPW: {
      if (!OnInfoTip) break;
      auto* info = reinterpret_cast<NMLVGETINFOTIPA*>(Message.LParam);
      TListItem* item = ItemOfNotify(info->iItem, 0, false);
      if (!item) break;
      if (code == LVN_GETINFOTIPW) {
        auto* buf = reinterpret_cast<wchar_t*>(info->pszText);
        AnsiString tip = buf && info->cchTextMax > 0 ? WideToAnsi(buf) : AnsiString();
        OnInfoTip(this, item, tip);
        CopyNotifyText(buf, info->cchTextMax, AnsiToWide(tip));
      } else {
        AnsiString tip = info->pszText && info->cchTextMax > 0 ? AnsiString(info->pszText) : AnsiString();
        OnInfoTip(this, item, tip);
        CopyNotifyText(info->pszText, info->cchTextMax, tip);
      }
      break;
    }
    case NM_CUSTOMDRAW: HandleCustomDraw(Message); break;
    case NM_CLICK: PostMessageA(WindowHandle(), CM_DEFERREDCLICK, 0, 0); break;
    case NM_DBLCLK: DblClick(); break;
    default: break;
  }
}

void TCustomListView::WMNotify(TMessage& Message) {
  TCustomListControl::Dispatch(Message);
  auto* hdr = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!hdr || hdr->hwndFrom != GetHeaderHandle()) return;
  switch (hdr->code) {
    case NM_RCLICK: {
      DWORD pos = GetMessagePos();
      POINT screen{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
      HDHITTESTINFO hit{};
      hit.pt = screen;
      ::ScreenToClient(hdr->hwndFrom, &hit.pt);
      int index = static_cast<int>(SendMessageA(hdr->hwndFrom, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
      if (TListColumn* column = index >= 0 ? Columns()->FindByOrderTag(index) : nullptr) {
        POINT client = screen;
        ::ScreenToClient(WindowHandle(), &client);
        ColRightClick(column, client);
      }
      break;
    }
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW: {
      // The new width is the window's; keep it within the column's limits.
      auto* info = reinterpret_cast<NMHEADERA*>(Message.LParam);
      TListColumn* column = Columns()->FindByOrderTag(info->iItem);
      if (!column) break;
      int width = info->pitem && (info->pitem->mask & HDI_WIDTH) ? info->pitem->cxy : column->Width();
      int limited = width;
      if (column->MaxWidth() > 0 && limited > column->MaxWidth()) limited = column->MaxWidth();
      if (limited < column->MinWidth()) limited = column->MinWidth();
      column->FWidth = limited;
      if (limited != width) PostMessageA(WindowHandle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(info->iItem), limited);
      break;
    }
    default: break;
  }
}

void TCustomListView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: CNNotify(Message); break;
    case CM_DEFERREDCLICK: Click(); break;
    case CN_NOTIFYFORMAT:
      if (!AnswerNotifyFormat(Message, UnicodeNotifications())) TCustomListControl::Dispatch(Message);
      break;
    case WM_NOTIFY: WMNotify(Message); break;
    case CN_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
      int index = static_cast<int>(dis->itemID);
      TListItem* item = index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
      TOwnerDrawState state = OwnerDrawStateOf(dis->itemState);
      FCanvas->Font()->Assign(Font());
      FCanvas->Brush()->SetColor((state & odSelected) ? clHighlight : Color());
      if (state & odSelected) FCanvas->Font()->SetColor(clHighlightText);
      FCanvas->SetHandle(dis->hDC);
      ScopeExit release{[this] { FCanvas->SetHandle(nullptr); }};
      DrawItem(item, dis->rcItem, state);
      Message.Result = 1;
      break;
    }
    case CM_COLORCHANGED:
      TCustomListControl::Dispatch(Message);
      if (HandleAllocated()) {
        COLORREF back = ColorToRGB(Color());
        SendMessageA(WindowHandle(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
        SendMessageA(WindowHandle(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
        Invalidate();
      }
      break;
    case CM_FONTCHANGED:
      TCustomListControl::Dispatch(Message);
      if (HandleAllocated()) SendMessageA(WindowHandle(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font()->Color())));
      break;
    default: TCustomListControl::Dispatch(Message); break;
  }
}
