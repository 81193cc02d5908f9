#include "vcl/typinfo.h"

#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

// --- Identifiers -----------------------------------------------------------------

static char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool SameIdent(const AnsiString& a, const AnsiString& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

static AnsiString IdentKey(const AnsiString& s) {
  AnsiString k = s;
  for (char& c : k) c = AsciiUpper(c);
  return k;
}

AnsiString TEnumInfo::NameOf(int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= Count()) return AnsiString();
  return Names[static_cast<size_t>(ordinal)];
}

int TEnumInfo::ValueOf(const AnsiString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameIdent(Names[static_cast<size_t>(i)], name)) return i;
  return -1;
}

const TEnumInfo* BooleanTypeInfo() {
  static const TEnumInfo info{"Boolean", {"False", "True"}};
  return &info;
}

AnsiString SetToString(const TEnumInfo* element, uint64_t bits, bool brackets) {
  AnsiString s;
  for (int i = 0; i < element->Count() && i < 64; ++i)
    if (bits & (uint64_t{1} << i)) {
      if (!s.empty()) s += ',';
      s += element->Names[static_cast<size_t>(i)];
    }
  return brackets ? "[" + s + "]" : s;
}

uint64_t StringToSet(const TEnumInfo* element, const AnsiString& text) {
  AnsiString t = Trim(text);
  if (!t.empty() && t.front() == '[') t.erase(0, 1);
  if (!t.empty() && t.back() == ']') t.pop_back();
  uint64_t bits = 0;
  size_t start = 0;
  while (start <= t.size()) {
    size_t comma = t.find(',', start);
    AnsiString name = Trim(t.substr(start, comma == AnsiString::npos ? AnsiString::npos : comma - start));
    if (!name.empty()) {
      int v = element->ValueOf(name);
      if (v < 0) throw EPropertyError(Format("Invalid property element: %s", name.c_str()));
      bits |= uint64_t{1} << v;
    }
    if (comma == AnsiString::npos) break;
    start = comma + 1;
  }
  return bits;
}

// --- TPropInfo -------------------------------------------------------------------

bool TPropInfo::IsOrdinal() const {
  switch (Kind) {
    case tkInteger: case tkCardinal: case tkInt64: case tkChar: case tkWChar:
    case tkBoolean: case tkEnumeration: case tkSet:
      return true;
    default:
      return false;
  }
}

bool TPropInfo::CanRead() const {
  if (IsOrdinal()) return static_cast<bool>(GetOrd);
  switch (Kind) {
    case tkFloat: return static_cast<bool>(GetFloat);
    case tkLString: return static_cast<bool>(GetStr);
    case tkWString: return static_cast<bool>(GetWStr);
    case tkClass: return static_cast<bool>(GetObj);
    case tkMethod: return static_cast<bool>(GetMethod);
    default: return false;
  }
}

bool TPropInfo::CanWrite() const {
  if (IsOrdinal()) return static_cast<bool>(SetOrd);
  switch (Kind) {
    case tkFloat: return static_cast<bool>(SetFloat);
    case tkLString: return static_cast<bool>(SetStr);
    case tkWString: return static_cast<bool>(SetWStr);
    case tkClass: return static_cast<bool>(SetObj);
    case tkMethod: return static_cast<bool>(SetMethod);
    default: return false;
  }
}

bool TPropInfo::IsStored(TObject* instance) const {
  return StoredProc ? StoredProc(instance) : StoredConst;
}

bool TPropInfo::IsComponentReference() const {
  return Kind == tkClass && ClassType && ClassType->InheritsFrom(TComponent::StaticClass());
}

// --- Lookup ------------------------------------------------------------------------

namespace {

struct TClassPropList {
  std::vector<const TPropInfo*> List;
  std::unordered_map<AnsiString, const TPropInfo*> ByName;  // upper-case keys
};

std::mutex& PropCacheLock() {
  static std::mutex m;
  return m;
}

// Flattened lists are built once per class and kept for the life of the program: the
// tables they point into are static.
std::map<const TMetaClass*, std::unique_ptr<TClassPropList>>& PropCache() {
  static std::map<const TMetaClass*, std::unique_ptr<TClassPropList>> cache;
  return cache;
}

const TClassPropList& ClassPropList(const TMetaClass* cls) {
  std::lock_guard<std::mutex> lock(PropCacheLock());
  auto& cache = PropCache();
  auto it = cache.find(cls);
  if (it != cache.end()) return *it->second;

  std::vector<const TMetaClass*> chain;
  for (const TMetaClass* c = cls; c; c = c->Parent) chain.push_back(c);
  auto list = std::make_unique<TClassPropList>();
  std::unordered_map<AnsiString, size_t> position;
  for (auto c = chain.rbegin(); c != chain.rend(); ++c) {
    if (!(*c)->OwnProperties) continue;
    for (const TPropInfo& p : (*c)->OwnProperties()) {
      AnsiString key = IdentKey(p.Name);
      auto pos = position.find(key);
      if (pos != position.end()) {
        list->List[pos->second] = &p;  // redeclared: keeps the base's place
      } else {
        position[key] = list->List.size();
        list->List.push_back(&p);
      }
      list->ByName[key] = &p;
    }
  }
  return *cache.emplace(cls, std::move(list)).first->second;
}

[[noreturn]] void PropKindError(const TPropInfo* prop) {
  throw EPropertyError(Format("Invalid property type: %s", prop->Name.c_str()));
}

[[noreturn]] void PropAccessError(const TPropInfo* prop, bool write) {
  throw EPropertyError(Format(write ? "Property %s is read-only" : "Property %s is write-only",
                              prop->Name.c_str()));
}

}  // namespace

const std::vector<const TPropInfo*>& GetPropList(const TMetaClass* cls) {
  return ClassPropList(cls).List;
}

const TPropInfo* GetPropInfo(const TMetaClass* cls, const AnsiString& name) {
  const auto& byName = ClassPropList(cls).ByName;
  auto it = byName.find(IdentKey(name));
  return it == byName.end() ? nullptr : it->second;
}

const TPropInfo* GetPropInfo(const TObject* instance, const AnsiString& name) {
  return GetPropInfo(instance->ClassType(), name);
}

const TPropInfo* FindPropInfo(const TMetaClass* cls, const AnsiString& name) {
  const TPropInfo* p = GetPropInfo(cls, name);
  if (!p) throw EPropertyError(Format("Property %s does not exist", name.c_str()));
  return p;
}

// --- Access ----------------------------------------------------------------------

int64_t GetOrdProp(TObject* instance, const TPropInfo* prop) {
  if (!prop->IsOrdinal()) PropKindError(prop);
  if (!prop->GetOrd) PropAccessError(prop, false);
  return prop->GetOrd(instance);
}

void SetOrdProp(TObject* instance, const TPropInfo* prop, int64_t value) {
  if (!prop->IsOrdinal()) PropKindError(prop);
  if (!prop->SetOrd) PropAccessError(prop, true);
  prop->SetOrd(instance, value);
}

double GetFloatProp(TObject* instance, const TPropInfo* prop) {
  if (prop->Kind != tkFloat) PropKindError(prop);
  if (!prop->GetFloat) PropAccessError(prop, false);
  return prop->GetFloat(instance);
}

void SetFloatProp(TObject* instance, const TPropInfo* prop, double value) {
  if (prop->Kind != tkFloat) PropKindError(prop);
  if (!prop->SetFloat) PropAccessError(prop, true);
  prop->SetFloat(instance, value);
}

WideString GetWideStrProp(TObject* instance, const TPropInfo* prop) {
  switch (prop->Kind) {
    case tkWString:
      if (!prop->GetWStr) PropAccessError(prop, false);
      return prop->GetWStr(instance);
    case tkLString:
      return AnsiToWide(GetStrProp(instance, prop));
    case tkChar:
      return AnsiToWide(AnsiString(1, static_cast<char>(GetOrdProp(instance, prop))));
    case tkWChar:
      return WideString(1, static_cast<wchar_t>(GetOrdProp(instance, prop)));
    default:
      PropKindError(prop);
  }
}

void SetWideStrProp(TObject* instance, const TPropInfo* prop, const WideString& value) {
  switch (prop->Kind) {
    case tkWString:
      if (!prop->SetWStr) PropAccessError(prop, true);
      prop->SetWStr(instance, value);
      return;
    case tkLString:
      SetStrProp(instance, prop, WideToAnsi(value));
      return;
    case tkChar:
      SetStrProp(instance, prop, WideToAnsi(value));
      return;
    case tkWChar:
      SetOrdProp(instance, prop, value.empty() ? 0 : static_cast<int64_t>(value[0]));
      return;
    default:
      PropKindError(prop);
  }
}

AnsiString GetStrProp(TObject* instance, const TPropInfo* prop) {
  switch (prop->Kind) {
    case tkLString:
      if (!prop->GetStr) PropAccessError(prop, false);
      return prop->GetStr(instance);
    case tkWString:
    case tkWChar:
      return WideToAnsi(GetWideStrProp(instance, prop));
    case tkChar:
      return AnsiString(1, static_cast<char>(GetOrdProp(instance, prop)));
    default:
      PropKindError(prop);
  }
}

void SetStrProp(TObject* instance, const TPropInfo* prop, const AnsiString& value) {
  switch (prop->Kind) {
    case tkLString:
      if (!prop->SetStr) PropAccessError(prop, true);
      prop->SetStr(instance, value);
      return;
    case tkWString:
    case tkWChar:
      SetWideStrProp(instance, prop, AnsiToWide(value));
      return;
    case tkChar:
      SetOrdProp(instance, prop, value.empty() ? 0 : static_cast<unsigned char>(value[0]));
      return;
    default:
      PropKindError(prop);
  }
}

TObject* GetObjectProp(TObject* instance, const TPropInfo* prop) {
  if (prop->Kind != tkClass) PropKindError(prop);
  if (!prop->GetObj) PropAccessError(prop, false);
  return prop->GetObj(instance);
}

void SetObjectProp(TObject* instance, const TPropInfo* prop, TObject* value) {
  if (prop->Kind != tkClass) PropKindError(prop);
  if (!prop->SetObj) PropAccessError(prop, true);
  if (value && !value->InheritsFrom(prop->ClassType))
    throw EPropertyError(Format("Invalid property value: %s is not a %s", value->ClassName().c_str(),
                                prop->ClassType->Name));
  prop->SetObj(instance, value);
}

std::any GetMethodProp(TObject* instance, const TPropInfo* prop) {
  if (prop->Kind != tkMethod) PropKindError(prop);
  if (!prop->GetMethod) PropAccessError(prop, false);
  return prop->GetMethod(instance);
}

void SetMethodProp(TObject* instance, const TPropInfo* prop, const std::any& value) {
  if (prop->Kind != tkMethod) PropKindError(prop);
  if (!prop->SetMethod) PropAccessError(prop, true);
  if (value.has_value() && value.type() != *prop->EventType) PropKindError(prop);
  prop->SetMethod(instance, value);
}

AnsiString GetEnumProp(TObject* instance, const TPropInfo* prop) {
  if (prop->Kind != tkEnumeration && prop->Kind != tkBoolean) PropKindError(prop);
  return prop->EnumType->NameOf(GetOrdProp(instance, prop));
}

void SetEnumProp(TObject* instance, const TPropInfo* prop, const AnsiString& ident) {
  if (prop->Kind != tkEnumeration && prop->Kind != tkBoolean) PropKindError(prop);
  int v = prop->EnumType->ValueOf(ident);
  if (v < 0) throw EPropertyError(Format("Invalid property element: %s", ident.c_str()));
  SetOrdProp(instance, prop, v);
}

AnsiString GetSetProp(TObject* instance, const TPropInfo* prop) {
  if (prop->Kind != tkSet) PropKindError(prop);
  return SetToString(prop->EnumType, static_cast<uint64_t>(GetOrdProp(instance, prop)));
}

void SetSetProp(TObject* instance, const TPropInfo* prop, const AnsiString& text) {
  if (prop->Kind != tkSet) PropKindError(prop);
  SetOrdProp(instance, prop, static_cast<int64_t>(StringToSet(prop->EnumType, text)));
}

bool IsStoredProp(TObject* instance, const TPropInfo* prop) { return prop->IsStored(instance); }

int64_t GetOrdProp(TObject* instance, const AnsiString& name) {
  return GetOrdProp(instance, FindPropInfo(instance->ClassType(), name));
}
void SetOrdProp(TObject* instance, const AnsiString& name, int64_t value) {
  SetOrdProp(instance, FindPropInfo(instance->ClassType(), name), value);
}
AnsiString GetStrProp(TObject* instance, const AnsiString& name) {
  return GetStrProp(instance, FindPropInfo(instance->ClassType(), name));
}
void SetStrProp(TObject* instance, const AnsiString& name, const AnsiString& value) {
  SetStrProp(instance, FindPropInfo(instance->ClassType(), name), value);
}
WideString GetWideStrProp(TObject* instance, const AnsiString& name) {
  return GetWideStrProp(instance, FindPropInfo(instance->ClassType(), name));
}
void SetWideStrProp(TObject* instance, const AnsiString& name, const WideString& value) {
  SetWideStrProp(instance, FindPropInfo(instance->ClassType(), name), value);
}
TObject* GetObjectProp(TObject* instance, const AnsiString& name) {
  return GetObjectProp(instance, FindPropInfo(instance->ClassType(), name));
}
bool IsStoredProp(TObject* instance, const AnsiString& name) {
  return IsStoredProp(instance, FindPropInfo(instance->ClassType(), name));
}

// --- Published members -------------------------------------------------------------

const THandlerInfo* FindHandler(const TMetaClass* cls, const AnsiString& name) {
  for (const TMetaClass* c = cls; c; c = c->Parent) {
    if (!c->OwnMembers) continue;
    for (const THandlerInfo& h : c->OwnMembers().Handlers)
      if (SameIdent(h.Name, name)) return &h;
  }
  return nullptr;
}

const TFieldInfo* FindField(const TMetaClass* cls, const AnsiString& name) {
  for (const TMetaClass* c = cls; c; c = c->Parent) {
    if (!c->OwnMembers) continue;
    for (const TFieldInfo& f : c->OwnMembers().Fields)
      if (SameIdent(f.Name, name)) return &f;
  }
  return nullptr;
}

AnsiString HandlerName(TObject* root, const std::any& event) {
  if (!root || !event.has_value()) return AnsiString();
  for (const TMetaClass* c = root->ClassType(); c; c = c->Parent) {
    if (!c->OwnMembers) continue;
    for (const THandlerInfo& h : c->OwnMembers().Handlers)
      if (*h.EventType == event.type() && h.Matches(event, root)) return h.Name;
  }
  return AnsiString();
}

std::any BindHandler(TObject* root, const AnsiString& name, const std::type_info& eventType) {
  const THandlerInfo* h = FindHandler(root->ClassType(), name);
  if (!h) return std::any();
  if (*h->EventType != eventType)
    throw EPropertyError(Format("Handler %s.%s does not have the parameters of this event",
                                root->ClassName().c_str(), h->Name.c_str()));
  return h->Bind(root);
}
