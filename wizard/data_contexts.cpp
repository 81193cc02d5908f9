#include "wizard/data_contexts.h"

#include <algorithm>

VCL_CLASS_IMPL(TKvBaseDataContexts, TExtensibleInterfacedPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TKvDataContexts, TKvBaseDataContexts, nullptr, nullptr)
VCL_CLASS_IMPL(TKvBaseDataContext, TExtensibleInterfacedPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TKvDataContext, TKvBaseDataContext, nullptr, nullptr)
VCL_CLASS_IMPL(TKvManagedDataContext, TKvDataContext, nullptr, nullptr)
VCL_CLASS_IMPL(TKvFixedDataContext, TKvDataContext, nullptr, nullptr)

// --- TKvBaseDataContexts ----------------------------------------------------------------------

TKvBaseDataContexts::~TKvBaseDataContexts() {
  while (!FContexts.empty()) {
    TKvBaseDataContext* last = FContexts.back();
    FContexts.pop_back();
    static_cast<IKvDataContext*>(last)->Release();
  }
}

bool TKvBaseDataContexts::GetOwnInterface(REFIID iid, void** obj) {
  if (iid == __uuidof(IKvDataContexts)) {
    *obj = static_cast<IKvDataContexts*>(this);
    return true;
  }
  return TExtensibleInterfacedPersistent::GetOwnInterface(iid, obj);
}

IKvDataContext* STDMETHODCALLTYPE TKvBaseDataContexts::GetContext(int Index) {
  return FContexts.at(static_cast<size_t>(Index));
}

IKvDataContext* STDMETHODCALLTYPE TKvBaseDataContexts::GetParentContext() { return FParentContext; }

TKvBaseDataContext* TKvBaseDataContexts::FindByName(const TKvDataContextID& Name,
                                                    const TKvBaseDataContext* Except) const {
  for (auto it = FContexts.rbegin(); it != FContexts.rend(); ++it)
    if (*it != Except && AnsiCompareText((*it)->Name(), Name) == 0) return *it;
  return nullptr;
}

IKvDataContext* STDMETHODCALLTYPE TKvBaseDataContexts::GetContextByName(const TKvDataContextID& Name) {
  bool fromRoot = false;
  std::vector<AnsiString> segments = SplitKvPath(Name, fromRoot);
  TKvBaseDataContexts* list = this;
  if (fromRoot)
    while (list->FParentContext) list = list->FParentContext->Owner();
  TKvBaseDataContext* found = nullptr;
  for (const AnsiString& segment : segments) {
    if (!list) return nullptr;
    if (segment == "..") {
      found = list->FParentContext;
      list = found ? found->Owner() : nullptr;
      continue;
    }
    found = list->FindByName(segment, nullptr);
    if (!found) return nullptr;
    list = found->NestedContexts();
  }
  return found;
}

void TKvBaseDataContexts::AddContext(TKvBaseDataContext* Context) {
  if (FindByName(Context->Name(), nullptr))
    throw EKVCLDataContexts("A context with that name already exists");
  IUnknown* source = static_cast<IKvDataContext*>(Context);
  if (FProvider) FProvider->Changing(pcrContextAdd, source);
  static_cast<IKvDataContext*>(Context)->AddRef();
  FContexts.push_back(Context);
  if (FProvider) FProvider->Changed(pcrContextAdd, source);
}

void TKvBaseDataContexts::DeleteContext(TKvBaseDataContext* Context) {
  auto it = std::find(FContexts.begin(), FContexts.end(), Context);
  if (it == FContexts.end()) return;
  if (auto* items = KvQuery<IKvDataItems>(FProvider))
    items->ContextDestroying(static_cast<IKvDataContext*>(Context));
  FContexts.erase(it);
  static_cast<IKvDataContext*>(Context)->Release();
}

// --- TKvBaseDataContext -----------------------------------------------------------------------

TKvBaseDataContext::TKvBaseDataContext(TKvBaseDataContexts* Owner, const TKvDataContextID& Name)
    : FOwner(Owner), FName(Name) {
  if (!Owner) throw EKVCLDataContexts("Cannot create a context without a context list owner");
}

TKvBaseDataContext::~TKvBaseDataContext() {
  if (FSubContexts) static_cast<IKvDataContexts*>(FSubContexts)->Release();
}

void TKvBaseDataContext::AfterConstruction() {
  TExtensibleInterfacedPersistent::AfterConstruction();
  FOwner->AddContext(this);
}

bool TKvBaseDataContext::GetOwnInterface(REFIID iid, void** obj) {
  if (iid == __uuidof(IKvDataContext)) {
    *obj = static_cast<IKvDataContext*>(this);
    return true;
  }
  if (iid == __uuidof(IKvDataContexts) && FSubContexts) {
    *obj = static_cast<IKvDataContexts*>(FSubContexts);
    return true;
  }
  return TExtensibleInterfacedPersistent::GetOwnInterface(iid, obj);
}

TKvBaseDataContexts* TKvBaseDataContext::SubContexts() {
  if (!FSubContexts) {
    FSubContexts = KvCreate<TKvDataContexts>(FOwner->GetProvider(), this);
    static_cast<IKvDataContexts*>(FSubContexts)->AddRef();
  }
  return FSubContexts;
}

void STDMETHODCALLTYPE TKvManagedDataContext::SetName(const TKvDataContextID& Value) {
  if (Owner()->FindByName(Value, this)) throw EKVCLDataContexts("A context with that name already exists");
  StoreName(Value);
}

bool TKvManagedDataContext::GetOwnInterface(REFIID iid, void** obj) {
  if (iid == __uuidof(IKvDataContextManaged)) {
    *obj = static_cast<IKvDataContextManaged*>(this);
    return true;
  }
  return TKvDataContext::GetOwnInterface(iid, obj);
}
