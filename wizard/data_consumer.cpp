#include "wizard/data_consumer.h"

#include <algorithm>

#include "vcl/controls.h"
#include "vcl/typinfo.h"
#include "wizard/consumer_view_list.h"
#include "wizard/data_item_images.h"

namespace {

const std::vector<TPropInfo>& DataConsumerProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvDataConsumer>()
      .Property("Provider", &TKvDataConsumer::ProviderComponent, &TKvDataConsumer::SetProviderComponent)
      .Property("Context", &TKvDataConsumer::Context, &TKvDataConsumer::SetContext)
          .Stored(&TKvDataConsumer::IsContextStored)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ItemSelectProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvDataConsumerItemSelect>()
      .Property("Item", &TKvDataConsumerItemSelect::ItemID, &TKvDataConsumerItemSelect::SetItemID)
      .Table();
  return table;
}

bool OwnerIsLoading(const TComponent* Owner) { return Owner && Owner->HasState(csLoading); }

// Contexts are made in their list, under a name given later.
template <class T>
TKvFactory ContextFactory() {
  return [](TPersistent* context) -> TPersistent* {
    auto* owner = dynamic_cast<TKvBaseDataContexts*>(context);
    if (!owner) throw EReadError("Invalid class type");
    return KvCreate<T>(owner, TKvDataContextID());
  };
}

IKvDataContexts* ProviderContexts(IKvDataProvider* Provider) { return KvQuery<IKvDataContexts>(Provider); }

}  // namespace

VCL_CLASS_IMPL(TKvDataConsumer, TExtensibleInterfacedPersistent, nullptr, &DataConsumerProperties)
VCL_CLASS_IMPL(TKvDataConsumerAggregatedObject, TAggregatedPersistentEx, nullptr, nullptr)
VCL_CLASS_IMPL(TKvDataConsumerItemSelect, TKvDataConsumerAggregatedObject, nullptr, &ItemSelectProperties)

// --- TKvDataConsumer ------------------------------------------------------------------------

TKvDataConsumer::TKvDataConsumer(TComponent* Owner) : FOwner(Owner) { RegisterDataProviderClasses(); }

TKvDataConsumer::~TKvDataConsumer() {
  OnChanging = nullptr;
  OnChanged = nullptr;
  OnProviderChanging = nullptr;
  OnProviderChanged = nullptr;
  OnServiceCreating = nullptr;
  OnServiceCreated = nullptr;
  SetProvider(nullptr);
  if (FContext) FContext->Release();
  FContext = nullptr;
}

bool TKvDataConsumer::GetOwnInterface(REFIID iid, void** obj) {
  if (iid == __uuidof(IKvDataConsumer)) *obj = static_cast<IKvDataConsumer*>(this);
  else if (iid == __uuidof(IKvDataConsumerServices)) *obj = static_cast<IKvDataConsumerServices*>(this);
  else if (iid == __uuidof(IKvDataConsumerViewChanges)) *obj = static_cast<IKvDataConsumerViewChanges*>(this);
  else if (iid == __uuidof(IKvDataConsumerAnnounce)) *obj = static_cast<IKvDataConsumerAnnounce*>(this);
  else return TExtensibleInterfacedPersistent::GetOwnInterface(iid, obj);
  return true;
}

void TKvDataConsumer::Changing(TKvDataConsumerChangeReason Reason) {
  if (OnChanging) OnChanging(this, Reason);
}

void STDMETHODCALLTYPE TKvDataConsumer::Changed(TKvDataConsumerChangeReason Reason) {
  if (OnChanged) OnChanged(this, Reason);
  if (auto* control = dynamic_cast<TControl*>(FOwner)) control->Invalidate();
}

void TKvDataConsumer::SetProvider(IKvDataProvider* Value) {
  if (Value == FProvider) return;
  Changing(ccrProviderSelect);
  ForEachService([](TKvDataConsumerAggregatedObject* s) { s->ProviderChanging(); });
  if (FProvider) FProvider->UnregisterChangeNotify(this);
  if (FContext) FContext->Release();
  FContext = nullptr;
  FProvider = Value;
  if (!Value) FProviderComponent = nullptr;
  if (FProvider) {
    FProvider->RegisterChangeNotify(this);
    if (!FHasPendingContext) {
      IKvDataContexts* contexts = ProviderContexts(FProvider);
      if (contexts && contexts->GetCount() > 0) {
        FContext = contexts->GetContext(0);
        FContext->AddRef();
      }
    } else if (!OwnerIsLoading(FOwner)) {
      FHasPendingContext = false;
      ApplyContextName(FPendingContext);
    }
  }
  ForEachService([](TKvDataConsumerAggregatedObject* s) { s->ProviderChanged(); });
  UpdateServices();
  Changed(ccrProviderSelect);
}

void TKvDataConsumer::SetProviderComponent(TComponent* Value) {
  IKvDataProvider* provider = nullptr;
  if (Value) {
    provider = dynamic_cast<IKvDataProvider*>(Value);
    if (!provider) throw EInvalidCast("Invalid class typecast");
  }
  FProviderComponent = Value;
  SetProvider(provider);
  FProviderComponent = Value;
}

TKvDataContextID TKvDataConsumer::Context() const {
  if (FHasPendingContext) return FPendingContext;
  return FContext ? FContext->GetName() : TKvDataContextID();
}

void TKvDataConsumer::SetContext(const TKvDataContextID& Value) {
  if (AnsiCompareText(Value, Context()) == 0) return;
  if (!FProvider) {
    if (!OwnerIsLoading(FOwner))
      throw EKVCLDataConsumer("You must specify a provider before setting the context");
    FPendingContext = Value;
    FHasPendingContext = true;
    return;
  }
  ApplyContextName(Value);
}

void TKvDataConsumer::ApplyContextName(const TKvDataContextID& Name) {
  if (Name.empty()) {
    SetContextIntf(nullptr);
    return;
  }
  IKvDataContexts* contexts = ProviderContexts(FProvider);
  if (!contexts) throw EKVCLDataConsumer("Provider does not support contexts");
  IKvDataContext* context = contexts->GetContextByName(Name);
  if (!context) throw EKVCLDataConsumer(Format("Provider has no context named \"%s\"", Name.c_str()));
  SetContextIntf(context);
}

void TKvDataConsumer::SetContextIntf(IKvDataContext* Value) {
  if (Value == FContext) return;
  if (Value && Value->GetProvider() != FProvider)
    throw EKVCLDataConsumer("The specified context is not part of the same provider");
  Changing(ccrContextSelect);
  ForEachService([](TKvDataConsumerAggregatedObject* s) { s->ContextChanging(); });
  if (Value) Value->AddRef();
  if (FContext) FContext->Release();
  FContext = Value;
  ForEachService([](TKvDataConsumerAggregatedObject* s) { s->ContextChanged(); });
  UpdateServices();
  Changed(ccrContextSelect);
}

bool TKvDataConsumer::IsContextStored() const {
  IKvDataContexts* contexts = ProviderContexts(FProvider);
  return contexts && contexts->GetCount() > 0 && FContext != contexts->GetContext(0);
}

void TKvDataConsumer::Loaded() {
  if (!FHasPendingContext) return;
  FHasPendingContext = false;
  TKvDataContextID name = FPendingContext;
  FPendingContext.clear();
  if (FProvider) ApplyContextName(name);
}

std::vector<TKvDataConsumerAggregatedObject*> TKvDataConsumer::Services() const {
  std::vector<TKvDataConsumerAggregatedObject*> services;
  for (int i = 0; i < ExtensionCount(); ++i)
    if (auto* s = dynamic_cast<TKvDataConsumerAggregatedObject*>(Extension(i))) services.push_back(s);
  return services;
}

int STDMETHODCALLTYPE TKvDataConsumer::ServiceCount() { return static_cast<int>(Services().size()); }

TObject* STDMETHODCALLTYPE TKvDataConsumer::Service(int Index) { return Services().at(static_cast<size_t>(Index)); }

TObject* STDMETHODCALLTYPE TKvDataConsumer::ServiceOf(const TMetaClass* Class) { return FindExtension(Class); }

void TKvDataConsumer::UpdateServices() {
  std::vector<const TMetaClass*> wanted;
  bool viewList = false;
  if (FProvider) {
    FProvider->GetServiceClasses(wanted);
    if (auto* source = dynamic_cast<IKvDataServiceSource*>(FContext ? FContext->GetImplementer() : nullptr))
      source->GetServiceClasses(wanted);
    if (auto* source = dynamic_cast<IKvDataServiceSource*>(FOwner)) {
      source->GetServiceClasses(wanted);
      viewList = source->NeedsViewList();
    }
  }
  if (viewList) wanted.push_back(TKvDataConsumerViewList::StaticClass());

  for (const TMetaClass* cls : wanted) {
    if (FindExtension(cls)) continue;
    const TKvFactory* factory = FindKvFactory(cls);
    if (!factory) continue;
    if (OnServiceCreating) OnServiceCreating(this, cls);
    (*factory)(this);
    if (OnServiceCreated) OnServiceCreated(this, cls);
  }
  for (TKvDataConsumerAggregatedObject* s : Services()) {
    bool keep = s->Fixed() || std::any_of(wanted.begin(), wanted.end(),
                                          [&](const TMetaClass* c) { return s->InheritsFrom(c); });
    if (!keep) RemoveExtension(s);
  }
  ForEachService([](TKvDataConsumerAggregatedObject* s) { s->UpdateService(); });
}

void STDMETHODCALLTYPE TKvDataConsumer::Enter() {
  if (!FProvider) return;
  FProvider->SelectConsumer(this);
  try {
    FProvider->SelectContext(FContext);
  } catch (...) {
    FProvider->ReleaseConsumer();
    throw;
  }
}

void STDMETHODCALLTYPE TKvDataConsumer::Leave() {
  if (!FProvider) return;
  IKvDataConsumer* before = FProvider->CurrentConsumer();
  FProvider->ReleaseConsumer();
  try {
    FProvider->ReleaseContext();
  } catch (...) {
    FProvider->SelectConsumer(before);
    throw;
  }
}

IKvDataItems* STDMETHODCALLTYPE TKvDataConsumer::RootItems() {
  if (auto* select = FindService<TKvDataConsumerItemSelect>())
    if (IKvDataItem* item = select->GetItem()) return KvSubItems(item);
  return KvQuery<IKvDataItems>(FProvider);
}

void STDMETHODCALLTYPE TKvDataConsumer::ViewChanged(TObject* Source) {
  auto* source = dynamic_cast<TKvDataConsumerAggregatedObject*>(Source);
  ForEachService([&](TKvDataConsumerAggregatedObject* s) {
    if (s != source) s->ViewChanged(source);
  });
  Changed(ccrViewChange);
}

void TKvDataConsumer::ProviderChanging(TKvDataProviderChangeReason Reason, IUnknown* Source) {
  if (OnProviderChanging) OnProviderChanging(this, Reason, Source);
  ForEachService([&](TKvDataConsumerAggregatedObject* s) { s->ProviderNotice(true, Reason, Source); });
  if (Reason == pcrDestroy) SetProvider(nullptr);
}

void TKvDataConsumer::ProviderChanged(TKvDataProviderChangeReason Reason, IUnknown* Source) {
  if (OnProviderChanged) OnProviderChanged(this, Reason, Source);
  ForEachService([&](TKvDataConsumerAggregatedObject* s) { s->ProviderNotice(false, Reason, Source); });
}

// --- TKvDataConsumerItemSelect --------------------------------------------------------------

bool TKvDataConsumerItemSelect::GetOwnInterface(REFIID iid, void** obj) {
  if (iid != __uuidof(IKvDataConsumerItemSelect)) return false;
  *obj = static_cast<IKvDataConsumerItemSelect*>(this);
  return true;
}

IKvDataItem* TKvDataConsumerItemSelect::FindInContext(const TKvDataItemID& ID) {
  TKvDataConsumer* consumer = Consumer();
  IKvDataProvider* provider = consumer->Provider();
  if (!provider || ID.empty()) return nullptr;
  consumer->Enter();
  IKvDataItem* found = nullptr;
  try {
    if (auto* search = KvQuery<IKvDataItemsSearch>(KvQuery<IKvDataItems>(provider)))
      found = search->FindItemID(ID, true);
  } catch (...) {
    consumer->Leave();
    throw;
  }
  consumer->Leave();
  return found;
}

IKvDataItem* STDMETHODCALLTYPE TKvDataConsumerItemSelect::GetItem() { return FindInContext(FItemID); }

void STDMETHODCALLTYPE TKvDataConsumerItemSelect::SetItem(IKvDataItem* Value) {
  TKvDataItemID id = KvItemID(Value);
  if (SameIdent(id, FItemID)) return;
  FItemID = id;
  NotifyViewChanged();
}

void TKvDataConsumerItemSelect::SetItemID(const TKvDataItemID& Value) {
  if (Value.empty()) {
    SetItem(nullptr);
    return;
  }
  TKvDataConsumer* consumer = Consumer();
  if (!consumer->Provider()) {
    // Read before the provider reference of a stored description is resolved.
    if (OwnerIsLoading(consumer->Owner())) {
      FItemID = Value;
      return;
    }
    throw EKVCLDataConsumer("You must specify a provider before setting the item");
  }
  IKvDataItem* item = FindInContext(Value);
  if (!item) throw EKVCLDataConsumer("Item not found in the selected context");
  SetItem(item);
}

void TKvDataConsumerItemSelect::ProviderNotice(bool Changing, TKvDataProviderChangeReason Reason,
                                               IUnknown* Source) {
  if (!Changing || Reason != pcrDelete || FItemID.empty()) return;
  auto* deleted = KvQuery<IKvDataItem>(Source);
  IKvDataItem* selected = GetItem();
  if (deleted && selected && (deleted == selected || deleted->IsParentOf(selected, false)))
    FItemID.clear();  // quietly: the view list follows the deletion itself
}

void TKvDataConsumerItemSelect::ProviderChanged() {
  if (!OwnerIsLoading(Consumer()->Owner())) FItemID.clear();
}

// --- Registration ----------------------------------------------------------------------------

void RegisterDataProviderClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterKvDataItemClasses();
  RegisterKvClass(TKvCustomDataItemsImages::StaticClass(), KvFactoryOf<TKvCustomDataItemsImages, TKvBaseDataItems>());
  RegisterKvClass(TKvDataConsumer::StaticClass(), [](TPersistent* context) -> TPersistent* {
    auto* consumer = new TKvDataConsumer(dynamic_cast<TComponent*>(context));
    consumer->AfterConstruction();
    return consumer;
  });
  RegisterKvClass(TKvDataConsumerItemSelect::StaticClass(), KvFactoryOf<TKvDataConsumerItemSelect, TKvDataConsumer>());
  RegisterKvClass(TKvCustomDataConsumerViewList::StaticClass(), KvFactoryOf<TKvDataConsumerViewList, TKvDataConsumer>());
  RegisterKvClass(TKvDataConsumerViewList::StaticClass(), KvFactoryOf<TKvDataConsumerViewList, TKvDataConsumer>());
  RegisterKvClass(TKvDataContexts::StaticClass(), [](TPersistent* context) -> TPersistent* {
    auto* owner = dynamic_cast<TKvBaseDataContext*>(context);
    return KvCreate<TKvDataContexts>(owner ? owner->GetProvider() : nullptr, owner);
  });
  RegisterKvClass(TKvDataContext::StaticClass(), ContextFactory<TKvDataContext>());
  RegisterKvClass(TKvManagedDataContext::StaticClass(), ContextFactory<TKvManagedDataContext>());
  RegisterKvClass(TKvFixedDataContext::StaticClass(), ContextFactory<TKvFixedDataContext>());
}
