// A provider for the data provider tests: a component with a root item list per context
// (and one without context), optional named contexts, a log of the notices it hears, and
// the stacks of announced consumers and contexts.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "vcl/classes.h"
#include "wizard/consumer_view_list.h"
#include "wizard/data_consumer.h"

class TTestProvider : public TComponent, public IKvDataProvider {
 public:
  explicit TTestProvider(bool WithContexts = false) : TComponent(nullptr) {
    RegisterDataProviderClasses();
    FItems = NewRootList();
    if (WithContexts) {
      FContexts = KvCreate<TKvDataContexts>(this);
      FContexts->AddRef();
    }
  }
  ~TTestProvider() override {
    for (IKvDataChangeNotify* n : std::vector<IKvDataChangeNotify*>(Notifies)) n->ProviderChanging(pcrDestroy, nullptr);
    for (auto& [context, list] : FContextItems) list->Release();
    if (FContexts) FContexts->Release();
    FItems->Release();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override {
    *obj = nullptr;
    if (iid == __uuidof(IKvDataProvider) || iid == IID_IUnknown) *obj = static_cast<IKvDataProvider*>(this);
    else if (iid == __uuidof(IKvDataItems)) *obj = static_cast<IKvDataItems*>(Items());
    else if (iid == __uuidof(IKvDataContexts) && FContexts) *obj = static_cast<IKvDataContexts*>(FContexts);
    if (!*obj) return E_NOINTERFACE;
    static_cast<IUnknown*>(*obj)->AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  void STDMETHODCALLTYPE RegisterChangeNotify(IKvDataChangeNotify* Notify) override { Notifies.push_back(Notify); }
  void STDMETHODCALLTYPE UnregisterChangeNotify(IKvDataChangeNotify* Notify) override {
    std::erase(Notifies, Notify);
  }
  void STDMETHODCALLTYPE SelectConsumer(IKvDataConsumer* Consumer) override {
    Log.push_back("select consumer");
    Consumers.push_back(Consumer);
  }
  IKvDataConsumer* STDMETHODCALLTYPE CurrentConsumer() override {
    return Consumers.empty() ? nullptr : Consumers.back();
  }
  void STDMETHODCALLTYPE ReleaseConsumer() override {
    Log.push_back("release consumer");
    if (!Consumers.empty()) Consumers.pop_back();
  }
  void STDMETHODCALLTYPE SelectContext(IKvDataContext* Context) override {
    Log.push_back("select context");
    if (FailSelectContext) throw EKVCLException("select context failed");
    ContextStack.push_back(Context);
  }
  IKvDataContext* STDMETHODCALLTYPE CurrentContext() override {
    return ContextStack.empty() ? nullptr : ContextStack.back();
  }
  void STDMETHODCALLTYPE ReleaseContext() override {
    Log.push_back("release context");
    if (FailReleaseContext) throw EKVCLException("release context failed");
    if (!ContextStack.empty()) ContextStack.pop_back();
  }
  void STDMETHODCALLTYPE Changing(TKvDataProviderChangeReason Reason, IUnknown* Source) override {
    Log.push_back("changing " + std::to_string(Reason));
    for (IKvDataChangeNotify* n : std::vector<IKvDataChangeNotify*>(Notifies)) n->ProviderChanging(Reason, Source);
  }
  void STDMETHODCALLTYPE Changed(TKvDataProviderChangeReason Reason, IUnknown* Source) override {
    Log.push_back("changed " + std::to_string(Reason));
    for (IKvDataChangeNotify* n : std::vector<IKvDataChangeNotify*>(Notifies)) n->ProviderChanged(Reason, Source);
  }
  void STDMETHODCALLTYPE GetServiceClasses(std::vector<const TMetaClass*>& Classes) override {
    Classes.insert(Classes.end(), ServiceClasses.begin(), ServiceClasses.end());
  }

  // The items of the announced context (or of none).
  TKvDataItemsList* Items() { return ItemsOf(CurrentContext()); }
  TKvDataItemsList* ItemsOf(IKvDataContext* Context) {
    if (!Context) return FItems;
    auto it = FContextItems.find(Context);
    if (it == FContextItems.end()) it = FContextItems.emplace(Context, NewRootList()).first;
    return it->second;
  }
  TKvDataContexts* Contexts() const { return FContexts; }
  IKvDataContext* AddContext(const char* Name) { return KvCreate<TKvFixedDataContext>(FContexts, Name); }

  std::vector<std::string> Log;
  std::vector<IKvDataChangeNotify*> Notifies;
  std::vector<IKvDataConsumer*> Consumers;
  std::vector<IKvDataContext*> ContextStack;
  std::vector<const TMetaClass*> ServiceClasses;
  bool FailSelectContext = false;
  bool FailReleaseContext = false;

 private:
  TKvDataItemsList* NewRootList() {
    auto* list = KvCreate<TKvDataItemsList>(static_cast<IKvDataProvider*>(this));
    list->AddRef();
    KvCreate<TKvBaseDataItemsListManagement>(list);
    KvCreate<TKvCustomDataItemsTextRenderer>(list);
    return list;
  }

  TKvDataItemsList* FItems;
  TKvDataContexts* FContexts = nullptr;
  std::map<IKvDataContext*, TKvDataItemsList*> FContextItems;
};

// A plain item with a caption, added through the list's management.
inline IKvDataItem* AddItem(IKvDataItems* List, const char* Caption) {
  IKvDataItem* item = KvQuery<IKvDataItemsManagement>(List)->New();
  KvQuery<IKvDataItemText>(item)->SetCaption(Caption);
  return item;
}

// The child list of an item, made when it has none.
inline IKvDataItems* ChildList(IKvDataItem* Item) {
  if (IKvDataItems* sub = KvSubItems(Item)) return sub;
  auto* list = KvCreate<TKvDataItemsList>(static_cast<TKvBaseDataItem*>(Item->GetImplementer()));
  KvCreate<TKvBaseDataItemsListManagement>(list);
  return list;
}

inline AnsiString CaptionOf(IKvDataItem* Item) {
  auto* text = KvQuery<IKvDataItemText>(Item);
  return text ? text->GetCaption() : AnsiString("<none>");
}
