#include "wizard/data_items.h"

#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& BaseDataItemProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvBaseDataItem>()
      .Property("ID", &TKvBaseDataItem::ID, &TKvBaseDataItem::SetID)
      .Table();
  return table;
}

const std::vector<TPropInfo>& DataItemTextProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvDataItemTextImpl>()
      .Property("Caption", &TKvDataItemTextImpl::GetCaption, &TKvDataItemTextImpl::SetCaption)
      .Table();
  return table;
}

const std::vector<TPropInfo>& DataItemImageProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvDataItemImageImpl>()
      .Property("Alignment", &TKvDataItemImageImpl::GetAlignment, &TKvDataItemImageImpl::SetAlignment)
          .Default(taLeftJustify)
      .Property("ImageIndex", &TKvDataItemImageImpl::GetImageIndex, &TKvDataItemImageImpl::SetImageIndex)
          .Default(0)
      .Property("SelectedIndex", &TKvDataItemImageImpl::GetSelectedIndex,
                &TKvDataItemImageImpl::SetSelectedIndex)
          .Default(0)
      .Table();
  return table;
}

template <class I, class T>
bool Answer(T* self, REFIID iid, void** obj) {
  if (iid != __uuidof(I)) return false;
  *obj = static_cast<I*>(self);
  return true;
}

}  // namespace

VCL_CLASS_IMPL(TKvBaseDataItem, TExtensibleInterfacedPersistent, nullptr, &BaseDataItemProperties)
VCL_CLASS_IMPL(TKvDataItemAggregatedObject, TAggregatedPersistentEx, nullptr, nullptr)
VCL_CLASS_IMPL(TKvBaseDataItemTextImpl, TKvDataItemAggregatedObject, nullptr, nullptr)
VCL_CLASS_IMPL(TKvDataItemTextImpl, TKvBaseDataItemTextImpl, nullptr, &DataItemTextProperties)
VCL_CLASS_IMPL(TKvBaseDataItemImageImpl, TKvDataItemAggregatedObject, nullptr, nullptr)
VCL_CLASS_IMPL(TKvDataItemImageImpl, TKvBaseDataItemImageImpl, nullptr, &DataItemImageProperties)
VCL_CLASS_IMPL(TKvBaseDataItemSubItems, TKvDataItemAggregatedObject, nullptr, nullptr)
VCL_CLASS_IMPL(TKvBaseDataItems, TExtensibleInterfacedPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TKvDataItemsList, TKvBaseDataItems, nullptr, nullptr)
VCL_CLASS_IMPL(TKvDataItemsAggregatedObject, TAggregatedPersistentEx, nullptr, nullptr)
VCL_CLASS_IMPL(TKvBaseDataItemsRenderer, TKvDataItemsAggregatedObject, nullptr, nullptr)
VCL_CLASS_IMPL(TKvCustomDataItemsTextRenderer, TKvBaseDataItemsRenderer, nullptr, nullptr)
VCL_CLASS_IMPL(TKvBaseDataItemsManagement, TKvDataItemsAggregatedObject, nullptr, nullptr)
VCL_CLASS_IMPL(TKvBaseDataItemsListManagement, TKvBaseDataItemsManagement, nullptr, nullptr)

std::vector<AnsiString> SplitKvPath(const AnsiString& Path, bool& FromRoot) {
  std::vector<AnsiString> segments;
  FromRoot = !Path.empty() && (Path[0] == '\\' || Path[0] == '/');
  size_t start = FromRoot ? 1 : 0;
  while (start <= Path.size()) {
    size_t sep = Path.find_first_of("\\/", start);
    if (sep == AnsiString::npos) {
      if (start < Path.size()) segments.push_back(Path.substr(start));
      break;
    }
    if (sep > start) segments.push_back(Path.substr(start, sep - start));
    start = sep + 1;
  }
  return segments;
}

TKvDataItemID KvItemID(IKvDataItem* Item) { return Item ? Item->GetID() : TKvDataItemID(); }

IKvDataItems* KvSubItems(IKvDataItem* Item) { return KvQuery<IKvDataItems>(Item); }

// --- TKvBaseDataItem ------------------------------------------------------------------------

void TKvBaseDataItem::AfterConstruction() {
  FID = NewKvID();
  TExtensibleInterfacedPersistent::AfterConstruction();
}

bool TKvBaseDataItem::GetOwnInterface(REFIID iid, void** obj) {
  return Answer<IKvDataItem>(this, iid, obj) || TExtensibleInterfacedPersistent::GetOwnInterface(iid, obj);
}

IKvDataItems* STDMETHODCALLTYPE TKvBaseDataItem::GetItems() { return FItems; }

int STDMETHODCALLTYPE TKvBaseDataItem::GetIndex() { return FItems ? FItems->IndexOf(this) : -1; }

void STDMETHODCALLTYPE TKvBaseDataItem::ContextDestroying(IUnknown* Context) {
  for (int i = 0; i < ExtensionCount(); ++i)
    if (auto* ext = dynamic_cast<TKvDataItemAggregatedObject*>(Extension(i))) ext->ContextDestroying(Context);
  if (TKvBaseDataItems* sub = SubItemList()) sub->ContextDestroying(Context);
}

bool STDMETHODCALLTYPE TKvBaseDataItem::IsParentOf(IKvDataItem* Item, bool DirectOnly) {
  if (!Item) return false;
  IKvDataItems* list = Item->GetItems();
  for (IKvDataItem* parent = list ? list->GetParent() : nullptr; parent;) {
    if (parent == static_cast<IKvDataItem*>(this)) return true;
    if (DirectOnly) return false;
    list = parent->GetItems();
    parent = list ? list->GetParent() : nullptr;
  }
  return false;
}

TKvBaseDataItems* TKvBaseDataItem::SubItemList() {
  auto* ext = static_cast<TKvBaseDataItemSubItems*>(FindExtension(TKvBaseDataItemSubItems::StaticClass()));
  return ext ? ext->List() : nullptr;
}

void TKvBaseDataItem::NotifyExtensions() {
  for (int i = 0; i < ExtensionCount(); ++i) {
    void* p = nullptr;
    if (Extension(i)->GetOwnInterface(__uuidof(IKvDataItemExtension), &p))
      static_cast<IKvDataItemExtension*>(p)->ItemNotify();
  }
}

bool TKvBaseDataItem::ExtensionsAllowDelete() {
  for (int i = 0; i < ExtensionCount(); ++i) {
    void* p = nullptr;
    if (Extension(i)->GetOwnInterface(__uuidof(IKvDataItemExtension), &p) &&
        !static_cast<IKvDataItemExtension*>(p)->ItemCanDelete())
      return false;
  }
  return true;
}

void TKvBaseDataItem::DefineProperties(TFiler* Filer) {
  TExtensibleInterfacedPersistent::DefineProperties(Filer);
  Filer->DefineProperty(
      "SubItems", [this](TReader* r) { ReadSubItems(r); }, [this](TWriter* w) { WriteSubItems(w); },
      SubItemList() != nullptr);
}

void TKvBaseDataItem::WriteSubItems(TWriter* Writer) {
  TKvBaseDataItems* list = SubItemList();
  WithEmptyPropPath(Writer, [&] {
    Writer->WriteValue(vaCollection);
    Writer->WriteListBegin();
    WriteEntryClass(Writer, list);
    Writer->WriteProperties(list);
    Writer->WriteListEnd();
    Writer->WriteListEnd();
  });
}

void TKvBaseDataItem::ReadSubItems(TReader* Reader) {
  // Replacing the sub-items extension must not free the item under the reader.
  TKvRef<IKvDataItem> keepAlive(this);
  ReadCollectionStart(Reader);
  Reader->ReadListBegin();
  const TMetaClass* cls = ReadEntryClass(Reader, TKvBaseDataItems::StaticClass());
  TKvBaseDataItems* list = SubItemList();
  if (!list || list->ClassType() != cls) {
    if (auto* old = FindExtension(TKvBaseDataItemSubItems::StaticClass())) RemoveExtension(old);
    const TKvFactory* factory = FindKvFactory(cls);
    if (!factory) throw EReadError("Invalid class type");
    list = static_cast<TKvBaseDataItems*>((*factory)(this));
  }
  while (!Reader->EndOfList()) Reader->ReadProperty(list);
  Reader->ReadListEnd();
  Reader->ReadListEnd();
}

// --- Item extensions --------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TKvDataItemAggregatedObject::QueryInterface(REFIID iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (GetOwnInterface(iid, obj)) {
    static_cast<IUnknown*>(*obj)->AddRef();
    return S_OK;
  }
  if (iid == __uuidof(IKvDataItemExtension)) return E_NOINTERFACE;
  return Controller()->QueryInterface(iid, obj);
}

void TKvDataItemAggregatedObject::ChangeItem(const std::function<void()>& Change) {
  TKvBaseDataItems* list = Item()->OwnerList();
  IUnknown* source = static_cast<IKvDataItem*>(Item());
  if (list) list->Changing(pcrUpdate, source);
  Change();
  if (list) list->Changed(pcrUpdate, source);
}

bool TKvBaseDataItemTextImpl::GetOwnInterface(REFIID iid, void** obj) {
  return Answer<IKvDataItemText>(this, iid, obj);
}

void STDMETHODCALLTYPE TKvBaseDataItemTextImpl::SetCaption(const AnsiString& Value) {
  if (Value == FCaption) return;
  ChangeItem([&] { FCaption = Value; });
}

bool TKvBaseDataItemImageImpl::GetOwnInterface(REFIID iid, void** obj) {
  return Answer<IKvDataItemImage>(this, iid, obj);
}

void STDMETHODCALLTYPE TKvBaseDataItemImageImpl::SetAlignment(TAlignment Value) {
  if (Value != FAlignment) ChangeItem([&] { FAlignment = Value; });
}
void STDMETHODCALLTYPE TKvBaseDataItemImageImpl::SetImageIndex(int Value) {
  if (Value != FImageIndex) ChangeItem([&] { FImageIndex = Value; });
}
void STDMETHODCALLTYPE TKvBaseDataItemImageImpl::SetSelectedIndex(int Value) {
  if (Value != FSelectedIndex) ChangeItem([&] { FSelectedIndex = Value; });
}

TKvBaseDataItemSubItems::TKvBaseDataItemSubItems(TKvBaseDataItem* Item, TKvBaseDataItems* List)
    : TKvDataItemAggregatedObject(Item), FList(List) {
  static_cast<IKvDataItems*>(FList)->AddRef();
}

TKvBaseDataItemSubItems::~TKvBaseDataItemSubItems() { static_cast<IKvDataItems*>(FList)->Release(); }

bool TKvBaseDataItemSubItems::GetOwnInterface(REFIID iid, void** obj) {
  if (iid != __uuidof(IKvDataItems)) return false;
  *obj = static_cast<IKvDataItems*>(FList);
  return true;
}

// --- TKvBaseDataItems -------------------------------------------------------------------------

void TKvBaseDataItems::AfterConstruction() {
  TExtensibleInterfacedPersistent::AfterConstruction();
  if (FParentItem) KvCreate<TKvBaseDataItemSubItems>(FParentItem, this);
}

bool TKvBaseDataItems::GetOwnInterface(REFIID iid, void** obj) {
  return Answer<IKvDataItems>(this, iid, obj) || Answer<IKvDataItemsSearch>(this, iid, obj) ||
         TExtensibleInterfacedPersistent::GetOwnInterface(iid, obj);
}

IKvDataProvider* STDMETHODCALLTYPE TKvBaseDataItems::GetProvider() {
  if (FProvider) return FProvider;
  TKvBaseDataItems* owner = FParentItem ? FParentItem->OwnerList() : nullptr;
  return owner ? owner->GetProvider() : nullptr;
}

int STDMETHODCALLTYPE TKvBaseDataItems::IndexOf(IKvDataItem* Item) {
  for (int i = GetCount() - 1; i >= 0; --i)
    if (GetItem(i) == Item) return i;
  return -1;
}

IKvDataItems* STDMETHODCALLTYPE TKvBaseDataItems::GetRoot() {
  IKvDataItems* list = this;
  while (IKvDataItem* parent = list->GetParent()) {
    IKvDataItems* up = parent->GetItems();
    if (!up) break;
    list = up;
  }
  return list;
}

IKvDataItem* STDMETHODCALLTYPE TKvBaseDataItems::ItemByPath(const AnsiString& Path) {
  bool fromRoot = false;
  std::vector<AnsiString> segments = SplitKvPath(Path, fromRoot);
  IKvDataItems* list = fromRoot ? GetRoot() : static_cast<IKvDataItems*>(this);
  IKvDataItem* found = nullptr;
  for (const AnsiString& segment : segments) {
    if (!list) return nullptr;
    if (segment == "..") {
      IKvDataItem* parent = list->GetParent();
      list = parent ? parent->GetItems() : nullptr;
      found = parent;
      continue;
    }
    found = nullptr;
    for (int i = list->GetCount() - 1; i >= 0 && !found; --i) {
      IKvDataItem* item = list->GetItem(i);
      if (SameIdent(item->GetID(), segment)) found = item;
    }
    if (!found) return nullptr;
    list = KvSubItems(found);
  }
  return found;
}

void STDMETHODCALLTYPE TKvBaseDataItems::ContextDestroying(IUnknown* Context) {
  for (int i = 0; i < GetCount(); ++i) GetItem(i)->ContextDestroying(Context);
}

IKvDataItem* STDMETHODCALLTYPE TKvBaseDataItems::FindItemID(const TKvDataItemID& ID, bool Recursive) {
  for (int i = GetCount() - 1; i >= 0; --i) {
    IKvDataItem* item = GetItem(i);
    if (SameIdent(item->GetID(), ID)) return item;
    if (!Recursive) continue;
    if (auto* search = KvQuery<IKvDataItemsSearch>(KvSubItems(item)))
      if (IKvDataItem* deeper = search->FindItemID(ID, true)) return deeper;
  }
  return nullptr;
}

void TKvBaseDataItems::Changing(TKvDataProviderChangeReason Reason, IUnknown* Source) {
  if (IKvDataProvider* provider = GetProvider()) provider->Changing(Reason, Source);
}

void TKvBaseDataItems::Changed(TKvDataProviderChangeReason Reason, IUnknown* Source) {
  if (IKvDataProvider* provider = GetProvider()) provider->Changed(Reason, Source);
}

void TKvBaseDataItems::DefineProperties(TFiler* Filer) {
  TExtensibleInterfacedPersistent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Items", [this](TReader* r) { ReadItems(r); }, [this](TWriter* w) { WriteItems(w); },
      GetCount() > 0);
}

void TKvBaseDataItems::WriteItems(TWriter* Writer) {
  WithEmptyPropPath(Writer, [&] {
    Writer->WriteValue(vaCollection);
    for (int i = 0; i < GetCount(); ++i) {
      auto* item = static_cast<TKvBaseDataItem*>(GetItem(i)->GetImplementer());
      Writer->WriteListBegin();
      WriteEntryClass(Writer, item);
      Writer->WriteProperties(item);
      Writer->WriteListEnd();
    }
    Writer->WriteListEnd();
  });
}

void TKvBaseDataItems::ReadItems(TReader* Reader) {
  ReadCollectionStart(Reader);
  ClearItemObjects();
  while (!Reader->EndOfList()) {
    Reader->ReadListBegin();
    const TMetaClass* cls = ReadEntryClass(Reader, TKvBaseDataItem::StaticClass());
    const TKvFactory* factory = FindKvFactory(cls);
    if (!factory) throw EReadError("Invalid class type");
    auto* item = static_cast<TKvBaseDataItem*>((*factory)(this));
    AddItemObject(item);
    while (!Reader->EndOfList()) Reader->ReadProperty(item);
    Reader->ReadListEnd();
  }
  Reader->ReadListEnd();
}

// --- TKvDataItemsList -------------------------------------------------------------------------

TKvDataItemsList::~TKvDataItemsList() { ClearItemObjects(); }

IKvDataItem* STDMETHODCALLTYPE TKvDataItemsList::GetItem(int Index) {
  return FList.at(static_cast<size_t>(Index));
}

void TKvDataItemsList::AddItemObject(TKvBaseDataItem* Item) {
  static_cast<IKvDataItem*>(Item)->AddRef();
  FList.push_back(Item);
}

void TKvDataItemsList::DeleteItemObject(int Index) {
  TKvBaseDataItem* item = FList.at(static_cast<size_t>(Index));
  FList.erase(FList.begin() + Index);
  static_cast<IKvDataItem*>(item)->Release();
}

void TKvDataItemsList::ClearItemObjects() {
  while (!FList.empty()) DeleteItemObject(static_cast<int>(FList.size()) - 1);
}

// --- Renderers --------------------------------------------------------------------------------

bool TKvBaseDataItemsRenderer::GetOwnInterface(REFIID iid, void** obj) {
  return Answer<IKvDataItemsRenderer>(this, iid, obj);
}

IKvDataItem* TKvBaseDataItemsRenderer::CheckedItem(int Index) {
  if (Index < 0 || Index >= Items()->GetCount())
    throw EKVCLDataItems(Format("List index out of bounds (%d)", Index));
  return Items()->GetItem(Index);
}

void STDMETHODCALLTYPE TKvBaseDataItemsRenderer::DrawItemIdx(int Index, TCanvas* Canvas, const RECT& Rect) {
  DrawItem(CheckedItem(Index), Canvas, Rect);
}

SIZE STDMETHODCALLTYPE TKvBaseDataItemsRenderer::MeasureItemIdx(int Index, TCanvas* Canvas) {
  if (Index == -1) return AvgItemSize(Canvas);
  return MeasureItem(CheckedItem(Index), Canvas);
}

AnsiString TKvCustomDataItemsTextRenderer::ItemText(IKvDataItem* Item) {
  if (auto* text = KvQuery<IKvDataItemText>(Item)) return text->GetCaption();
  return "(item does not support the IKvDataItemText interface)";
}

void STDMETHODCALLTYPE TKvCustomDataItemsTextRenderer::DrawItem(IKvDataItem* Item, TCanvas* Canvas,
                                                                const RECT& Rect) {
  Canvas->TextRect(Rect, Rect.left, Rect.top, ItemText(Item));
}

SIZE STDMETHODCALLTYPE TKvCustomDataItemsTextRenderer::MeasureItem(IKvDataItem* Item, TCanvas* Canvas) {
  return Canvas->TextExtent(ItemText(Item));
}

SIZE STDMETHODCALLTYPE TKvCustomDataItemsTextRenderer::AvgItemSize(TCanvas* Canvas) {
  return Canvas->TextExtent("WyWyWyWyWyWyWyWyWyWy");
}

// --- Management -------------------------------------------------------------------------------

bool TKvBaseDataItemsManagement::GetOwnInterface(REFIID iid, void** obj) {
  return Answer<IKvDataItemsManagement>(this, iid, obj);
}

IKvDataItem* STDMETHODCALLTYPE TKvBaseDataItemsListManagement::Add(IKvDataItem* Item) {
  auto* item = static_cast<TKvBaseDataItem*>(Item->GetImplementer());
  Items()->Changing(pcrAdd, Item);
  Items()->AddItemObject(item);
  Items()->Changed(pcrAdd, Item);
  return Item;
}

IKvDataItem* STDMETHODCALLTYPE TKvBaseDataItemsListManagement::New() {
  auto* item = KvCreate<TKvBaseDataItem>(Items());
  TKvRef<IKvDataItem> hold(item);
  KvCreate<TKvDataItemTextImpl>(item);
  KvCreate<TKvDataItemImageImpl>(item);
  return Add(item);
}

void STDMETHODCALLTYPE TKvBaseDataItemsListManagement::Clear() {
  IUnknown* source = static_cast<IKvDataItems*>(Items());
  Items()->Changing(pcrListClear, source);
  Items()->ClearItemObjects();
  Items()->Changed(pcrListClear, source);
}

void STDMETHODCALLTYPE TKvBaseDataItemsListManagement::Delete(int Index) {
  // The item stays whole until the announcement after its removal has been heard.
  TKvRef<IKvDataItem> item(Items()->GetItem(Index));
  if (!item->IsDeletable()) throw EKVCLDataItems("Item cannot be deleted");
  Items()->Changing(pcrDelete, item.get());
  Items()->DeleteItemObject(Items()->IndexOf(item.get()));
  Items()->Changed(pcrDelete, item.get());
}

void STDMETHODCALLTYPE TKvBaseDataItemsListManagement::Remove(IKvDataItem* Item) {
  int index = Items()->IndexOf(Item);
  if (index >= 0) Delete(index);
}

void RegisterKvDataItemClasses() {
  RegisterKvClass(TKvDataItemsList::StaticClass(), KvFactoryOf<TKvDataItemsList, TKvBaseDataItem>());
  RegisterKvClass(TKvCustomDataItemsTextRenderer::StaticClass(),
                  KvFactoryOf<TKvCustomDataItemsTextRenderer, TKvBaseDataItems>());
  RegisterKvClass(TKvBaseDataItemsListManagement::StaticClass(),
                  KvFactoryOf<TKvBaseDataItemsListManagement, TKvBaseDataItems>());
  RegisterKvClass(TKvBaseDataItem::StaticClass(), KvFactoryOf<TKvBaseDataItem, TKvBaseDataItems>());
  RegisterKvClass(TKvDataItemTextImpl::StaticClass(), KvFactoryOf<TKvDataItemTextImpl, TKvBaseDataItem>());
  RegisterKvClass(TKvDataItemImageImpl::StaticClass(), KvFactoryOf<TKvDataItemImageImpl, TKvBaseDataItem>());
}
