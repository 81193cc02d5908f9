// The interfaces of the data provider framework: a provider of tree-shaped items, the item
// lists and items, their optional abilities (text, image, renderer, management, image
// lists), the provider's named contexts and the consumer side held by a control.
//
// They are COM-style: every interface derives from IUnknown and is identified by its GUID
// (__uuidof). An object exposes its optional abilities through extension objects that it
// finds for QueryInterface, so a caller always asks for an ability rather than casting.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <vector>

#include "vcl/classes.h"
#include "vcl/controls.h"
#include "vcl/graphics.h"

struct IKvDataItems;
struct IKvDataProvider;
struct IKvDataContexts;
struct IKvDataConsumer;

// An item's identifier: 32 upper-case hexadecimal digits of a GUID, or whatever was stored.
using TKvDataItemID = AnsiString;
// A context's name.
using TKvDataContextID = AnsiString;

// Why a provider's data change; the same number comes before and after the change.
enum TKvDataProviderChangeReason : int {
  pcrAdd = 0,            // an item is added to a list (the item)
  pcrDelete = 1,         // one item is deleted (the item)
  pcrUpdate = 2,         // an item's caption or image settings change (the item)
  pcrListClear = 3,      // a list is emptied (the list)
  pcrDestroy = 4,        // the provider is going away
  pcrContextAdd = 5,     // a context is added (the context)
};

// Why a consumer reports a change to its own listeners.
enum TKvDataConsumerChangeReason : int {
  ccrProviderSelect = 0,
  ccrContextSelect = 1,
  ccrViewChange = 2,
  ccrContextChange = 3,
  ccrServiceChange = 4,
};

#define KV_INTERFACE(Name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  struct Name;                                                         \
  __CRT_UUID_DECL(Name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)     \
  struct Name : public IUnknown

KV_INTERFACE(IKvDataItem, 0xC965CF64, 0xA1F2, 0x44A4, 0xB8, 0x56, 0x3A, 0x4E, 0xC6, 0xB6, 0x93, 0xE1) {
  virtual IKvDataItems* STDMETHODCALLTYPE GetItems() = 0;
  // The item's place in its list, searched from the end; -1 when it is not there.
  virtual int STDMETHODCALLTYPE GetIndex() = 0;
  virtual TObject* STDMETHODCALLTYPE GetImplementer() = 0;
  virtual TKvDataItemID STDMETHODCALLTYPE GetID() = 0;
  virtual void STDMETHODCALLTYPE ContextDestroying(IUnknown* Context) = 0;
  virtual bool STDMETHODCALLTYPE IsParentOf(IKvDataItem* Item, bool DirectOnly) = 0;
  virtual bool STDMETHODCALLTYPE IsDeletable() = 0;
};

KV_INTERFACE(IKvDataItems, 0x93747660, 0x24FB, 0x4294, 0xBF, 0x4E, 0xC7, 0xF8, 0x8E, 0xA2, 0x39, 0x83) {
  virtual int STDMETHODCALLTYPE GetCount() = 0;
  virtual IKvDataItem* STDMETHODCALLTYPE GetItem(int Index) = 0;
  // The item that owns the list; none for a root list.
  virtual IKvDataItem* STDMETHODCALLTYPE GetParent() = 0;
  virtual IKvDataProvider* STDMETHODCALLTYPE GetProvider() = 0;
  virtual TObject* STDMETHODCALLTYPE GetImplementer() = 0;
  virtual int STDMETHODCALLTYPE IndexOf(IKvDataItem* Item) = 0;
  // The item at a path of IDs separated by "\" or "/", ".." for the parent list; none when
  // a segment is not found.
  virtual IKvDataItem* STDMETHODCALLTYPE ItemByPath(const AnsiString& Path) = 0;
  // The list reached by ItemByPath's rules for a path that ends in a list.
  virtual IKvDataItems* STDMETHODCALLTYPE GetRoot() = 0;
  virtual void STDMETHODCALLTYPE ContextDestroying(IUnknown* Context) = 0;
};

KV_INTERFACE(IKvDataItemsSearch, 0x0F5BDC79, 0x893B, 0x45C9, 0x94, 0xE9, 0xC2, 0xB2, 0xFD, 0x4A, 0xBF, 0xE7) {
  // In the list only, or through every level (depth first, last item first).
  virtual IKvDataItem* STDMETHODCALLTYPE FindItemID(const TKvDataItemID& ID, bool Recursive) = 0;
};

KV_INTERFACE(IKvDataItemText, 0x94FA56D9, 0x281B, 0x4252, 0xB4, 0x6D, 0x15, 0xE7, 0xBA, 0xDA, 0x70, 0xDA) {
  virtual AnsiString STDMETHODCALLTYPE GetCaption() = 0;
  virtual void STDMETHODCALLTYPE SetCaption(const AnsiString& Value) = 0;
  virtual bool STDMETHODCALLTYPE Editable() = 0;
};

KV_INTERFACE(IKvDataItemImage, 0x6425D73A, 0x90CF, 0x42ED, 0x9A, 0xB2, 0x63, 0x12, 0x5A, 0x4C, 0x07, 0x74) {
  virtual TAlignment STDMETHODCALLTYPE GetAlignment() = 0;
  virtual void STDMETHODCALLTYPE SetAlignment(TAlignment Value) = 0;
  virtual int STDMETHODCALLTYPE GetImageIndex() = 0;
  virtual void STDMETHODCALLTYPE SetImageIndex(int Value) = 0;
  virtual int STDMETHODCALLTYPE GetSelectedIndex() = 0;
  virtual void STDMETHODCALLTYPE SetSelectedIndex(int Value) = 0;
};

// Hooks for extensions of items: no extension of the framework answers it, and an item
// extension never passes a query for it on to its item.
KV_INTERFACE(IKvDataItemExtension, 0x7067F5C1, 0x05DC, 0x4DAC, 0xA5, 0x95, 0xAF, 0x91, 0x51, 0x69, 0x5F, 0xBB) {
  virtual void STDMETHODCALLTYPE ItemNotify() = 0;
  virtual bool STDMETHODCALLTYPE ItemCanDelete() = 0;
};

KV_INTERFACE(IKvDataItemsRenderer, 0x4EA490F4, 0x7CCF, 0x44A1, 0xAA, 0x26, 0x53, 0x20, 0xCD, 0xE9, 0xFA, 0xFC) {
  virtual void STDMETHODCALLTYPE DrawItem(IKvDataItem* Item, TCanvas* Canvas, const RECT& Rect) = 0;
  virtual void STDMETHODCALLTYPE DrawItemIdx(int Index, TCanvas* Canvas, const RECT& Rect) = 0;
  virtual SIZE STDMETHODCALLTYPE MeasureItem(IKvDataItem* Item, TCanvas* Canvas) = 0;
  // Index -1 measures the average item.
  virtual SIZE STDMETHODCALLTYPE MeasureItemIdx(int Index, TCanvas* Canvas) = 0;
  virtual SIZE STDMETHODCALLTYPE AvgItemSize(TCanvas* Canvas) = 0;
};

KV_INTERFACE(IKvDataItemsManagement, 0x76611CC0, 0x9DCD, 0x4394, 0x8B, 0x6E, 0x1A, 0xDE, 0xF1, 0x94, 0x2B, 0xC3) {
  virtual IKvDataItem* STDMETHODCALLTYPE Add(IKvDataItem* Item) = 0;
  virtual IKvDataItem* STDMETHODCALLTYPE New() = 0;
  virtual void STDMETHODCALLTYPE Clear() = 0;
  virtual void STDMETHODCALLTYPE Delete(int Index) = 0;
  virtual void STDMETHODCALLTYPE Remove(IKvDataItem* Item) = 0;
};

KV_INTERFACE(IKvDataContext, 0xF226D92A, 0x3493, 0x4EF8, 0x9C, 0xE6, 0x03, 0x73, 0x57, 0xEB, 0x0C, 0xEA) {
  virtual TKvDataContextID STDMETHODCALLTYPE GetName() = 0;
  virtual IKvDataContexts* STDMETHODCALLTYPE GetContexts() = 0;
  virtual IKvDataProvider* STDMETHODCALLTYPE GetProvider() = 0;
  virtual TObject* STDMETHODCALLTYPE GetImplementer() = 0;
};

KV_INTERFACE(IKvDataContexts, 0xBA5DC787, 0x29C6, 0x40FA, 0x95, 0x42, 0xF0, 0xA1, 0xE9, 0x2A, 0x2B, 0x30) {
  virtual int STDMETHODCALLTYPE GetCount() = 0;
  virtual IKvDataContext* STDMETHODCALLTYPE GetContext(int Index) = 0;
  // Without regard to case, last first; a path reaches nested context lists.
  virtual IKvDataContext* STDMETHODCALLTYPE GetContextByName(const TKvDataContextID& Name) = 0;
  virtual IKvDataProvider* STDMETHODCALLTYPE GetProvider() = 0;
  virtual TObject* STDMETHODCALLTYPE GetImplementer() = 0;
  virtual IKvDataContext* STDMETHODCALLTYPE GetParentContext() = 0;
};

KV_INTERFACE(IKvDataContextManaged, 0x530367D8, 0x601C, 0x4E36, 0xB5, 0xF0, 0x35, 0x71, 0x60, 0x49, 0x7C, 0x50) {
  virtual void STDMETHODCALLTYPE SetName(const TKvDataContextID& Value) = 0;
};

// What a provider tells the consumers registered with it, before and after a change.
struct IKvDataChangeNotify {
  virtual void ProviderChanging(TKvDataProviderChangeReason Reason, IUnknown* Source) = 0;
  virtual void ProviderChanged(TKvDataProviderChangeReason Reason, IUnknown* Source) = 0;

 protected:
  ~IKvDataChangeNotify() = default;
};

KV_INTERFACE(IKvDataProvider, 0x62A7A17D, 0x1E21, 0x427E, 0x86, 0x1D, 0xC9, 0x2F, 0xBB, 0x9B, 0x09, 0xA6) {
  virtual void STDMETHODCALLTYPE RegisterChangeNotify(IKvDataChangeNotify* Notify) = 0;
  virtual void STDMETHODCALLTYPE UnregisterChangeNotify(IKvDataChangeNotify* Notify) = 0;
  // The consumer (and its context) asking while a consumer service does its work.
  virtual void STDMETHODCALLTYPE SelectConsumer(IKvDataConsumer* Consumer) = 0;
  virtual IKvDataConsumer* STDMETHODCALLTYPE CurrentConsumer() = 0;
  virtual void STDMETHODCALLTYPE ReleaseConsumer() = 0;
  virtual void STDMETHODCALLTYPE SelectContext(IKvDataContext* Context) = 0;
  virtual IKvDataContext* STDMETHODCALLTYPE CurrentContext() = 0;
  virtual void STDMETHODCALLTYPE ReleaseContext() = 0;
  // Announced by the lists and contexts around every change of the provider's data; the
  // provider passes them on to the registered consumers.
  virtual void STDMETHODCALLTYPE Changing(TKvDataProviderChangeReason Reason, IUnknown* Source) = 0;
  virtual void STDMETHODCALLTYPE Changed(TKvDataProviderChangeReason Reason, IUnknown* Source) = 0;
  // The consumer services the provider asks a consumer to have.
  virtual void STDMETHODCALLTYPE GetServiceClasses(std::vector<const TMetaClass*>& Classes) = 0;
};

KV_INTERFACE(IKvDataConsumer, 0xB2F18D03, 0xF615, 0x4AA2, 0xA5, 0x1A, 0x74, 0xD3, 0x30, 0xC0, 0x5C, 0x0E) {
  virtual TObject* STDMETHODCALLTYPE GetImplementer() = 0;
  virtual void STDMETHODCALLTYPE Changed(TKvDataConsumerChangeReason Reason) = 0;
};

// The consumer services: finding one, and hearing that one changed the view.
KV_INTERFACE(IKvDataConsumerServices, 0xD1AAAFDF, 0xBEB1, 0x44DB, 0xB8, 0xD8, 0xA6, 0x00, 0x80, 0xCE, 0xF3, 0xC7) {
  virtual int STDMETHODCALLTYPE ServiceCount() = 0;
  virtual TObject* STDMETHODCALLTYPE Service(int Index) = 0;
  virtual TObject* STDMETHODCALLTYPE ServiceOf(const TMetaClass* Class) = 0;
};
KV_INTERFACE(IKvDataConsumerViewChanges, 0x1F01D2E5, 0x2ACB, 0x4B84, 0xAF, 0xE6, 0x67, 0xE5, 0x63, 0xFB, 0x47, 0x0B) {
  virtual void STDMETHODCALLTYPE ViewChanged(TObject* Source) = 0;
};
KV_INTERFACE(IKvDataConsumerAnnounce, 0x5B9D1847, 0x6D35, 0x4D9C, 0x8B, 0xC2, 0x20, 0x54, 0x99, 0x7A, 0xB1, 0x20) {
  // Selects the consumer, then its context, at the provider; Leave undoes it.
  virtual void STDMETHODCALLTYPE Enter() = 0;
  virtual void STDMETHODCALLTYPE Leave() = 0;
  virtual IKvDataItems* STDMETHODCALLTYPE RootItems() = 0;
};

KV_INTERFACE(IKvDataConsumerItemSelect, 0xF11554AE, 0x263D, 0x4C04, 0xBC, 0xDB, 0x79, 0xF0, 0x4D, 0xE8, 0x96, 0x09) {
  virtual IKvDataItem* STDMETHODCALLTYPE GetItem() = 0;
  virtual void STDMETHODCALLTYPE SetItem(IKvDataItem* Value) = 0;
};

// The show test: a consumer may hide items (0 hides; 2 and 3 leave the question to the
// item), and an item may hide itself (0 hides).
KV_INTERFACE(IKvDataConsumerFilter, 0x09EBDED8, 0x502E, 0x4C2E, 0x98, 0x42, 0x31, 0x28, 0x50, 0xFF, 0x33, 0x58) {
  virtual int STDMETHODCALLTYPE ItemShowState(IKvDataItem* Item) = 0;
};
KV_INTERFACE(IKvDataItemShowState, 0x5BD81E0B, 0xDAD2, 0x4560, 0x94, 0x3A, 0x20, 0x5E, 0x0F, 0xF2, 0xA9, 0x7F) {
  virtual int STDMETHODCALLTYPE ShowState() = 0;
};

// A counted interface reference: adds a reference when it takes a pointer and releases it
// when it lets go.
template <class I>
class TKvRef {
 public:
  TKvRef() = default;
  TKvRef(I* p) : FPtr(p) {  // NOLINT: converting on purpose, like an interface variable
    if (FPtr) FPtr->AddRef();
  }
  TKvRef(const TKvRef& o) : TKvRef(o.FPtr) {}
  TKvRef(TKvRef&& o) noexcept : FPtr(o.FPtr) { o.FPtr = nullptr; }
  ~TKvRef() { Clear(); }
  TKvRef& operator=(const TKvRef& o) {
    if (o.FPtr) o.FPtr->AddRef();
    Clear();
    FPtr = o.FPtr;
    return *this;
  }
  TKvRef& operator=(TKvRef&& o) noexcept {
    if (this != &o) {
      Clear();
      FPtr = o.FPtr;
      o.FPtr = nullptr;
    }
    return *this;
  }
  void Clear() {
    I* p = FPtr;
    FPtr = nullptr;
    if (p) p->Release();
  }
  I* get() const { return FPtr; }
  I* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  bool operator==(const TKvRef& o) const { return FPtr == o.FPtr; }

 private:
  I* FPtr = nullptr;
};

// The interface I of an object, or null; the result is not counted (the caller holds the
// object through another reference), which is the way the framework asks for abilities.
template <class I>
I* KvQuery(IUnknown* Obj) {
  if (!Obj) return nullptr;
  void* p = nullptr;
  if (FAILED(Obj->QueryInterface(__uuidof(I), &p)) || !p) return nullptr;
  static_cast<I*>(p)->Release();
  return static_cast<I*>(p);
}
template <class I>
bool KvSupports(IUnknown* Obj) {
  return KvQuery<I>(Obj) != nullptr;
}
