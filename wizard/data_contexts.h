// The named contexts of a provider: alternative sets of its items that a consumer chooses
// between by name (or by a path of names through nested context lists).
#pragma once

#include <vector>

#include "wizard/data_items.h"

class TKvBaseDataContext;

class TKvBaseDataContexts : public TExtensibleInterfacedPersistent, public IKvDataContexts {
  VCL_CLASS(TKvBaseDataContexts)
 public:
  // The contexts of a provider, or the nested contexts of a context.
  explicit TKvBaseDataContexts(IKvDataProvider* Provider, TKvBaseDataContext* ParentContext = nullptr)
      : FProvider(Provider), FParentContext(ParentContext) {}
  ~TKvBaseDataContexts() override;
  KV_FORWARD_IUNKNOWN(TExtensibleInterfacedPersistent)

  int STDMETHODCALLTYPE GetCount() override { return static_cast<int>(FContexts.size()); }
  IKvDataContext* STDMETHODCALLTYPE GetContext(int Index) override;
  IKvDataContext* STDMETHODCALLTYPE GetContextByName(const TKvDataContextID& Name) override;
  IKvDataProvider* STDMETHODCALLTYPE GetProvider() override { return FProvider; }
  TObject* STDMETHODCALLTYPE GetImplementer() override { return this; }
  IKvDataContext* STDMETHODCALLTYPE GetParentContext() override;

  // A context of that name other than Except (without regard to case, last first).
  TKvBaseDataContext* FindByName(const TKvDataContextID& Name, const TKvBaseDataContext* Except) const;
  // Adds a context that was just made: EKVCLDataContexts "A context with that name already
  // exists" when another has its name; announced to the provider (reason pcrContextAdd).
  void AddContext(TKvBaseDataContext* Context);
  // Takes a context out: the provider's items hear that it goes away, then it is released.
  void DeleteContext(TKvBaseDataContext* Context);

 protected:
  bool GetOwnInterface(REFIID iid, void** obj) override;

 private:
  IKvDataProvider* FProvider;
  TKvBaseDataContext* FParentContext;
  std::vector<TKvBaseDataContext*> FContexts;  // each counted
};

class TKvDataContexts : public TKvBaseDataContexts {
  VCL_CLASS(TKvDataContexts)
 public:
  using TKvBaseDataContexts::TKvBaseDataContexts;
};

class TKvBaseDataContext : public TExtensibleInterfacedPersistent, public IKvDataContext {
  VCL_CLASS(TKvBaseDataContext)
 public:
  // EKVCLDataContexts "Cannot create a context without a context list owner" without Owner.
  TKvBaseDataContext(TKvBaseDataContexts* Owner, const TKvDataContextID& Name);
  ~TKvBaseDataContext() override;
  KV_FORWARD_IUNKNOWN(TExtensibleInterfacedPersistent)
  // Joins its list once whole.
  void AfterConstruction() override;

  TKvDataContextID STDMETHODCALLTYPE GetName() override { return FName; }
  IKvDataContexts* STDMETHODCALLTYPE GetContexts() override { return FOwner; }
  IKvDataProvider* STDMETHODCALLTYPE GetProvider() override { return FOwner->GetProvider(); }
  TObject* STDMETHODCALLTYPE GetImplementer() override { return this; }

  const TKvDataContextID& Name() const { return FName; }
  TKvBaseDataContexts* Owner() const { return FOwner; }
  // The context's own nested contexts, made when first asked for.
  TKvBaseDataContexts* SubContexts();
  // The same, null when it has none yet (lookups never make one).
  TKvBaseDataContexts* NestedContexts() const { return FSubContexts; }

 protected:
  bool GetOwnInterface(REFIID iid, void** obj) override;
  void StoreName(const TKvDataContextID& Value) { FName = Value; }

 private:
  TKvBaseDataContexts* FOwner;
  TKvDataContextID FName;
  TKvBaseDataContexts* FSubContexts = nullptr;  // counted
};

class TKvDataContext : public TKvBaseDataContext {
  VCL_CLASS(TKvDataContext)
 public:
  using TKvBaseDataContext::TKvBaseDataContext;
};

// A context that can change its name (not to one another context of its list has).
class TKvManagedDataContext : public TKvDataContext, public IKvDataContextManaged {
  VCL_CLASS(TKvManagedDataContext)
 public:
  using TKvDataContext::TKvDataContext;
  KV_FORWARD_IUNKNOWN(TKvDataContext)
  void STDMETHODCALLTYPE SetName(const TKvDataContextID& Value) override;

 protected:
  bool GetOwnInterface(REFIID iid, void** obj) override;
};

// A context whose name never changes.
class TKvFixedDataContext : public TKvDataContext {
  VCL_CLASS(TKvFixedDataContext)
 public:
  using TKvDataContext::TKvDataContext;
};
