// The consumer side of the data provider framework, held by a control: the provider and
// context it shows, its services (item selection, the flat view list), and the
// announcement through which a provider learns which consumer is asking.
#pragma once

#include <functional>
#include <vector>

#include "wizard/data_contexts.h"

class TKvDataConsumer;
class TKvDataConsumerAggregatedObject;

// Whoever may ask a consumer for services: the provider (through IKvDataProvider), a
// context's implementer and the component that holds the consumer.
class IKvDataServiceSource {
 public:
  virtual void GetServiceClasses(std::vector<const TMetaClass*>& Classes) = 0;
  // Whether the holder shows the items as a flat list of rows.
  virtual bool NeedsViewList() { return false; }

 protected:
  ~IKvDataServiceSource() = default;
};

using TKvDataConsumerChangeEvent = std::function<void(TObject* Sender, TKvDataConsumerChangeReason Reason)>;
using TKvDataProviderNoticeEvent =
    std::function<void(TObject* Sender, TKvDataProviderChangeReason Reason, IUnknown* Source)>;
using TKvDataServiceEvent = std::function<void(TObject* Sender, const TMetaClass* ServiceClass)>;

class TKvDataConsumer : public TExtensibleInterfacedPersistent,
                        public IKvDataConsumer,
                        public IKvDataConsumerServices,
                        public IKvDataConsumerViewChanges,
                        public IKvDataConsumerAnnounce,
                        public IKvDataChangeNotify {
  VCL_CLASS(TKvDataConsumer)
 public:
  // Owner: the component that holds the consumer (repainted on changes when it is a control).
  explicit TKvDataConsumer(TComponent* Owner);
  // Forgets its events and its provider first.
  ~TKvDataConsumer() override;

  // The consumer belongs to its holder and is not counted.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override {
    return TExtensibleInterfacedPersistent::QueryInterface(iid, obj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

  TComponent* Owner() const { return FOwner; }
  TPersistent* GetOwner() override { return FOwner; }

  // --- provider and context
  IKvDataProvider* Provider() const { return FProvider; }
  void SetProvider(IKvDataProvider* Value);
  // The published form: a component that implements IKvDataProvider (EInvalidCast when it
  // does not).
  TComponent* ProviderComponent() const { return FProviderComponent; }
  void SetProviderComponent(TComponent* Value);
  TKvDataContextID Context() const;
  void SetContext(const TKvDataContextID& Value);
  IKvDataContext* ContextIntf() const { return FContext; }
  void SetContextIntf(IKvDataContext* Value);
  bool IsContextStored() const;
  // Applies a context name remembered while the holder was loading.
  void Loaded();

  // --- services
  int STDMETHODCALLTYPE ServiceCount() override;
  TObject* STDMETHODCALLTYPE Service(int Index) override;
  TObject* STDMETHODCALLTYPE ServiceOf(const TMetaClass* Class) override;
  template <class T>
  T* FindService() {
    return static_cast<T*>(ServiceOf(T::StaticClass()));
  }
  // Makes the services asked for and drops those no longer wanted (fixed ones stay), then
  // lets each update itself.
  void UpdateServices();

  // --- announcement to the provider
  void STDMETHODCALLTYPE Enter() override;
  void STDMETHODCALLTYPE Leave() override;
  // The root list of the view: the sub-items of the selected item when an item-select
  // service has one, else the provider's own items.
  IKvDataItems* STDMETHODCALLTYPE RootItems() override;

  // --- notices
  TObject* STDMETHODCALLTYPE GetImplementer() override { return this; }
  void STDMETHODCALLTYPE Changed(TKvDataConsumerChangeReason Reason) override;
  void STDMETHODCALLTYPE ViewChanged(TObject* Source) override;
  void ProviderChanging(TKvDataProviderChangeReason Reason, IUnknown* Source) override;
  void ProviderChanged(TKvDataProviderChangeReason Reason, IUnknown* Source) override;

  TKvDataConsumerChangeEvent OnChanging;
  TKvDataConsumerChangeEvent OnChanged;
  TKvDataProviderNoticeEvent OnProviderChanging;
  TKvDataProviderNoticeEvent OnProviderChanged;
  TKvDataServiceEvent OnServiceCreating;
  TKvDataServiceEvent OnServiceCreated;

 protected:
  bool GetOwnInterface(REFIID iid, void** obj) override;

 private:
  void Changing(TKvDataConsumerChangeReason Reason);
  void ApplyContextName(const TKvDataContextID& Name);
  std::vector<TKvDataConsumerAggregatedObject*> Services() const;
  template <class F>
  void ForEachService(F f) {
    for (TKvDataConsumerAggregatedObject* s : Services()) f(s);
  }

  TComponent* FOwner;
  IKvDataProvider* FProvider = nullptr;
  TComponent* FProviderComponent = nullptr;
  IKvDataContext* FContext = nullptr;  // counted
  TKvDataContextID FPendingContext;
  bool FHasPendingContext = false;
};

// Base of consumer services.
class TKvDataConsumerAggregatedObject : public TAggregatedPersistentEx {
  VCL_CLASS(TKvDataConsumerAggregatedObject)
 public:
  explicit TKvDataConsumerAggregatedObject(TKvDataConsumer* Consumer) : TAggregatedPersistentEx(Consumer) {}
  TKvDataConsumer* Consumer() const { return static_cast<TKvDataConsumer*>(Controller()); }

  // A fixed service stays through provider and context changes.
  bool Fixed() const { return FFixed; }
  void SetFixed(bool Value) { FFixed = Value; }

  virtual void ProviderChanging() {}
  virtual void ProviderChanged() {}
  virtual void ContextChanging() {}
  virtual void ContextChanged() {}
  // Another service changed the view.
  virtual void ViewChanged(TKvDataConsumerAggregatedObject* Source) {}
  virtual void ProviderNotice(bool Changing, TKvDataProviderChangeReason Reason, IUnknown* Source) {}
  virtual void UpdateService() {}

 protected:
  // Tells the consumer (and through it every other service) that this service changed the
  // view.
  void NotifyViewChanged() { Consumer()->ViewChanged(this); }

 private:
  bool FFixed = false;
};

// The selected item of a consumer.
class TKvDataConsumerItemSelect : public TKvDataConsumerAggregatedObject, public IKvDataConsumerItemSelect {
  VCL_CLASS(TKvDataConsumerItemSelect)
 public:
  using TKvDataConsumerAggregatedObject::TKvDataConsumerAggregatedObject;
  KV_FORWARD_AGGREGATED_IUNKNOWN(TKvDataConsumerAggregatedObject)
  bool GetOwnInterface(REFIID iid, void** obj) override;

  // The selected item in the current context; none when nothing is selected.
  IKvDataItem* STDMETHODCALLTYPE GetItem() override;
  // Stores a different item and tells the consumer that the view changed.
  void STDMETHODCALLTYPE SetItem(IKvDataItem* Value) override;

  // The published form: the ID. Setting it needs a provider ("You must specify a provider
  // before setting the item") and an item of that ID in the current context ("Item not
  // found in the selected context"); an empty ID clears the selection.
  TKvDataItemID ItemID() const { return FItemID; }
  void SetItemID(const TKvDataItemID& Value);

  void ProviderNotice(bool Changing, TKvDataProviderChangeReason Reason, IUnknown* Source) override;
  void ProviderChanged() override;

 private:
  IKvDataItem* FindInContext(const TKvDataItemID& ID);
  TKvDataItemID FItemID;
};

// Registers the data provider's classes for streaming, once.
void RegisterDataProviderClasses();
