#include "wizard/extensible_objects.h"

#include <objbase.h>

#include <algorithm>
#include <map>

#include "vcl/scopeexit.h"

VCL_CLASS_IMPL(TExtensibleInterfacedPersistent, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TAggregatedPersistent, TPersistent, nullptr, nullptr)
VCL_CLASS_IMPL(TAggregatedPersistentEx, TAggregatedPersistent, nullptr, nullptr)

// --- TExtensibleInterfacedPersistent ------------------------------------------------------

TExtensibleInterfacedPersistent::~TExtensibleInterfacedPersistent() {
  while (!FExtensions.empty()) {
    TAggregatedPersistentEx* last = FExtensions.back();
    FExtensions.pop_back();
    delete last;
  }
}

HRESULT STDMETHODCALLTYPE TExtensibleInterfacedPersistent::QueryInterface(REFIID iid, void** obj) {
  if (!obj) return E_POINTER;
  *obj = nullptr;
  if (GetOwnInterface(iid, obj)) {
    static_cast<IUnknown*>(*obj)->AddRef();
    return S_OK;
  }
  for (auto it = FExtensions.rbegin(); it != FExtensions.rend(); ++it) {
    if ((*it)->GetOwnInterface(iid, obj)) {
      static_cast<IUnknown*>(*obj)->AddRef();
      return S_OK;
    }
  }
  return E_NOINTERFACE;
}

bool TExtensibleInterfacedPersistent::GetOwnInterface(REFIID iid, void** obj) {
  if (iid != IID_IUnknown) return false;
  *obj = static_cast<IUnknown*>(this);
  return true;
}

ULONG STDMETHODCALLTYPE TExtensibleInterfacedPersistent::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&FRefCount));
}

ULONG STDMETHODCALLTYPE TExtensibleInterfacedPersistent::Release() {
  LONG count = InterlockedDecrement(&FRefCount);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

void TExtensibleInterfacedPersistent::AfterConstruction() { InterlockedDecrement(&FRefCount); }

TAggregatedPersistentEx* TExtensibleInterfacedPersistent::FindExtension(const TMetaClass* Class) const {
  for (TAggregatedPersistentEx* e : FExtensions)
    if (e->InheritsFrom(Class)) return e;
  return nullptr;
}

void TExtensibleInterfacedPersistent::AddExtension(TAggregatedPersistentEx* Extension) {
  if (FindExtension(Extension->ClassType()))
    throw EKVCLException("Implementation of that class already exists");
  FExtensions.push_back(Extension);
}

void TExtensibleInterfacedPersistent::RemoveExtension(TAggregatedPersistentEx* Extension) {
  DetachExtension(Extension);
  delete Extension;
}

void TExtensibleInterfacedPersistent::DetachExtension(TAggregatedPersistentEx* Extension) {
  auto it = std::find(FExtensions.begin(), FExtensions.end(), Extension);
  if (it != FExtensions.end()) FExtensions.erase(it);
}

bool TExtensibleInterfacedPersistent::HasStoredExtensions() const {
  return std::any_of(FExtensions.begin(), FExtensions.end(),
                     [](const TAggregatedPersistentEx* e) { return e->IsStored(); });
}

void TExtensibleInterfacedPersistent::DefineProperties(TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Extensions", [this](TReader* r) { ReadExtensions(r); },
      [this](TWriter* w) { WriteExtensions(w); }, HasStoredExtensions());
}

void TExtensibleInterfacedPersistent::ReadExtensions(TReader* Reader) {
  ReadCollectionStart(Reader);
  while (!Reader->EndOfList()) {
    Reader->ReadListBegin();
    const TMetaClass* cls = ReadEntryClass(Reader, TAggregatedPersistentEx::StaticClass());
    // An extension the object made for itself takes the stored values; another is made.
    TAggregatedPersistentEx* ext = nullptr;
    for (TAggregatedPersistentEx* e : FExtensions)
      if (e->ClassType() == cls) ext = e;
    if (!ext) {
      const TKvFactory* factory = FindKvFactory(cls);
      if (!factory) throw EReadError("Invalid class type");
      ext = static_cast<TAggregatedPersistentEx*>((*factory)(this));
    }
    while (!Reader->EndOfList()) Reader->ReadProperty(ext);
    Reader->ReadListEnd();
  }
  Reader->ReadListEnd();
}

void TExtensibleInterfacedPersistent::WriteExtensions(TWriter* Writer) {
  WithEmptyPropPath(Writer, [&] {
    Writer->WriteValue(vaCollection);
    for (TAggregatedPersistentEx* e : FExtensions) {
      if (!e->IsStored()) continue;
      Writer->WriteListBegin();
      WriteEntryClass(Writer, e);
      Writer->WriteProperties(e);
      Writer->WriteListEnd();
    }
    Writer->WriteListEnd();
  });
}

// --- Aggregation --------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TAggregatedPersistent::QueryInterface(REFIID iid, void** obj) {
  return FController->QueryInterface(iid, obj);
}
ULONG STDMETHODCALLTYPE TAggregatedPersistent::AddRef() { return FController->AddRef(); }
ULONG STDMETHODCALLTYPE TAggregatedPersistent::Release() { return FController->Release(); }

TAggregatedPersistentEx::~TAggregatedPersistentEx() {
  if (FJoined) Controller()->DetachExtension(this);
}

void TAggregatedPersistentEx::AfterConstruction() {
  TAggregatedPersistent::AfterConstruction();
  Controller()->AddExtension(this);
  FJoined = true;
}

// --- Streaming helpers ----------------------------------------------------------------------

namespace {

std::map<const TMetaClass*, TKvFactory>& Factories() {
  static std::map<const TMetaClass*, TKvFactory> factories;
  return factories;
}

}  // namespace

void RegisterKvClass(const TMetaClass* Class, TKvFactory Factory) {
  RegisterClass(Class);
  Factories()[Class] = std::move(Factory);
}

const TKvFactory* FindKvFactory(const TMetaClass* Class) {
  auto it = Factories().find(Class);
  return it == Factories().end() ? nullptr : &it->second;
}

void ReadCollectionStart(TReader* Reader) {
  if (Reader->ReadValue() != vaCollection) throw EReadError("Expected collection");
}

const TMetaClass* ReadEntryClass(TReader* Reader, const TMetaClass* Base) {
  if (Reader->EndOfList() || !SameIdent(Reader->ReadStr(), "ClassName"))
    throw EReadError("Missing ClassName property");
  const TMetaClass* cls = FindClass(Reader->ReadString());
  if (!cls->InheritsFrom(Base)) throw EReadError("Invalid class type");
  return cls;
}

void WriteEntryClass(TWriter* Writer, const TPersistent* Instance) {
  Writer->WriteStr("ClassName");
  Writer->WriteString(Instance->ClassName());
}

void WithEmptyPropPath(TWriter* Writer, const std::function<void()>& Write) {
  AnsiString saved = Writer->PropPath();
  Writer->SetPropPath(AnsiString());
  ScopeExit restore{[&] { Writer->SetPropPath(saved); }};
  Write();
}

AnsiString NewKvID() {
  GUID g{};
  CoCreateGuid(&g);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&g);
  static const char kHex[] = "0123456789ABCDEF";
  AnsiString id;
  id.reserve(32);
  for (size_t i = 0; i < sizeof g; ++i) {
    id += kHex[bytes[i] >> 4];
    id += kHex[bytes[i] & 15];
  }
  return id;
}
