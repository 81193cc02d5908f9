// Reference-counted persistent objects whose optional abilities live in extension objects
// aggregated into them, and the streaming of those extensions as a collection of entries
// named by class.
#pragma once

#include <unknwn.h>

#include <functional>
#include <vector>

#include "vcl/classes.h"
#include "vcl/streaming.h"
#include "vcl/sysutils.h"
#include "wizard/data_provider_interfaces.h"

VCL_DECLARE_EXCEPTION(EKVCLException, Exception)
VCL_DECLARE_EXCEPTION(EKVCLDataProvider, EKVCLException)
VCL_DECLARE_EXCEPTION(EKVCLDataConsumer, EKVCLDataProvider)
VCL_DECLARE_EXCEPTION(EKVCLDataItems, EKVCLDataProvider)
VCL_DECLARE_EXCEPTION(EKVCLDataContexts, EKVCLDataProvider)

class TAggregatedPersistentEx;

// Construction in two steps, as the framework's objects expect: the object is made whole
// first and only then told that its construction is complete (it may then add itself to
// its controller, take its ID, give up its construction reference). An object whose
// completion fails is freed and the error passes on.
template <class T, class... A>
T* KvCreate(A&&... args) {
  T* obj = new T(std::forward<A>(args)...);
  try {
    obj->AfterConstruction();
  } catch (...) {
    obj->AbandonConstruction();
    delete obj;
    throw;
  }
  return obj;
}

class TExtensibleInterfacedPersistent : public TPersistent, public IUnknown {
  VCL_CLASS(TExtensibleInterfacedPersistent)
 public:
  TExtensibleInterfacedPersistent() = default;
  // Frees the extensions, last first.
  ~TExtensibleInterfacedPersistent() override;
  TExtensibleInterfacedPersistent(const TExtensibleInterfacedPersistent&) = delete;
  TExtensibleInterfacedPersistent& operator=(const TExtensibleInterfacedPersistent&) = delete;

  // The object's own interfaces first, then each extension's, from the last added.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  // Frees the object when the last reference goes.
  ULONG STDMETHODCALLTYPE Release() override;

  // The count is 1 while the object is being made, so that nothing frees it half-made, and
  // drops to 0 here.
  virtual void AfterConstruction();
  void AbandonConstruction() { FRefCount = 0; }
  LONG RefCount() const { return FRefCount; }

  int ExtensionCount() const { return static_cast<int>(FExtensions.size()); }
  TAggregatedPersistentEx* Extension(int Index) const { return FExtensions.at(static_cast<size_t>(Index)); }
  // The extension of that class or of a class derived from it; null when none.
  TAggregatedPersistentEx* FindExtension(const TMetaClass* Class) const;
  // EKVCLException "Implementation of that class already exists" when an extension of its
  // class (or one derived from it) is present.
  void AddExtension(TAggregatedPersistentEx* Extension);
  // Takes the extension out and frees it.
  void RemoveExtension(TAggregatedPersistentEx* Extension);
  // Takes it out without freeing it (the extension leaving as it is destroyed).
  void DetachExtension(TAggregatedPersistentEx* Extension);

  // "Extensions": one entry per stored extension, its class name first.
  void DefineProperties(TFiler* Filer) override;

 protected:
  // The interfaces the object itself implements; the base answers IUnknown.
  virtual bool GetOwnInterface(REFIID iid, void** obj);

 private:
  void ReadExtensions(TReader* Reader);
  void WriteExtensions(TWriter* Writer);
  bool HasStoredExtensions() const;

  volatile LONG FRefCount = 1;
  std::vector<TAggregatedPersistentEx*> FExtensions;
};

// An object living inside a controller: reference counting and interface queries go to the
// controller, so a caller holding one of its interfaces holds the controller.
class TAggregatedPersistent : public TPersistent, public IUnknown {
  VCL_CLASS(TAggregatedPersistent)
 public:
  explicit TAggregatedPersistent(TExtensibleInterfacedPersistent* Controller) : FController(Controller) {}
  TAggregatedPersistent(const TAggregatedPersistent&) = delete;
  TAggregatedPersistent& operator=(const TAggregatedPersistent&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** obj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  virtual void AfterConstruction() {}
  void AbandonConstruction() {}
  TExtensibleInterfacedPersistent* Controller() const { return FController; }
  // The interfaces this object implements itself (asked by its controller).
  virtual bool GetOwnInterface(REFIID iid, void** obj) { return false; }

 private:
  TExtensibleInterfacedPersistent* FController;
};

// An extension: joins its controller's extensions once it is made, leaves them as it goes.
class TAggregatedPersistentEx : public TAggregatedPersistent {
  VCL_CLASS(TAggregatedPersistentEx)
 public:
  using TAggregatedPersistent::TAggregatedPersistent;
  ~TAggregatedPersistentEx() override;
  void AfterConstruction() override;
  // Whether the controller writes it under "Extensions" (an extension that the controller
  // stores in a form of its own answers false).
  virtual bool IsStored() const { return true; }

 private:
  bool FJoined = false;
};

// --- Classes made by name while a description is read -------------------------------------

// Makes an object of a registered class inside Context: the controller of an extension,
// the list of an item, the item of a sub-item list.
using TKvFactory = std::function<TPersistent*(TPersistent* Context)>;

// Registers the class for streaming and how to make it.
void RegisterKvClass(const TMetaClass* Class, TKvFactory Factory);
// A factory making T inside a context of class C; EReadError "Invalid class type" when the
// context is of another kind (an item's extension stored under a list, say).
template <class T, class C>
TKvFactory KvFactoryOf() {
  return [](TPersistent* context) -> TPersistent* {
    auto* typed = dynamic_cast<C*>(context);
    if (!typed) throw EReadError("Invalid class type");
    return KvCreate<T>(typed);
  };
}
// The factory of a class; null when it has none.
const TKvFactory* FindKvFactory(const TMetaClass* Class);

// Reads the class name that starts a stored entry ("ClassName" first, compared without
// regard to case) and answers the registered class, which must descend from Base:
// EReadError "Missing ClassName property" or "Invalid class type", or the registry's own
// class-not-found error.
const TMetaClass* ReadEntryClass(TReader* Reader, const TMetaClass* Base);
// Checks that a collection comes next: EReadError "Expected collection".
void ReadCollectionStart(TReader* Reader);
// Writes an entry's class name the way ReadEntryClass reads it.
void WriteEntryClass(TWriter* Writer, const TPersistent* Instance);

// Runs Write with the writer's property path emptied (nested entries are written with
// their own names) and puts the path back afterwards, also when Write fails.
void WithEmptyPropPath(TWriter* Writer, const std::function<void()>& Write);

// A new GUID as its 16 bytes in memory order, two upper-case hexadecimal digits each.
AnsiString NewKvID();
