#include "vcl/streaming.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "vcl/collections.h"
#include "vcl/formtext.h"
#include "vcl/resstrings.h"

VCL_CLASS_IMPL(TFiler, TObject, nullptr, nullptr)
VCL_CLASS_IMPL(TReader, TFiler, nullptr, nullptr)
VCL_CLASS_IMPL(TWriter, TFiler, nullptr, nullptr)

namespace {

const char kSignature[4] = {'T', 'P', 'F', '0'};
constexpr size_t kBufferSize = 4096;

bool IsIntegerValue(TValueType t) { return t == vaInt8 || t == vaInt16 || t == vaInt32 || t == vaInt64; }
bool IsStringValue(TValueType t) { return t == vaString || t == vaLString || t == vaWString; }

AnsiString UpperKey(const AnsiString& s) { return UpperCase(s); }

}  // namespace

// --- Class registry ------------------------------------------------------------------

namespace {

std::mutex& RegistryLock() {
  static std::mutex m;
  return m;
}

std::map<AnsiString, const TMetaClass*>& Registry() {
  static std::map<AnsiString, const TMetaClass*> classes;
  return classes;
}

}  // namespace

void RegisterClass(const TMetaClass* cls) {
  std::lock_guard<std::mutex> lock(RegistryLock());
  for (const TMetaClass* c = cls; c && c != TPersistent::StaticClass(); c = c->Parent) {
    auto [it, added] = Registry().emplace(UpperKey(c->Name), c);
    if (!added && it->second != c)
      throw EFilerError(Format("A class named %s already exists", c->Name));
  }
}

void RegisterClasses(std::initializer_list<const TMetaClass*> classes) {
  for (const TMetaClass* c : classes) RegisterClass(c);
}

void UnRegisterClass(const TMetaClass* cls) {
  std::lock_guard<std::mutex> lock(RegistryLock());
  auto it = Registry().find(UpperKey(cls->Name));
  if (it != Registry().end() && it->second == cls) Registry().erase(it);
}

const TMetaClass* GetClass(const AnsiString& name) {
  std::lock_guard<std::mutex> lock(RegistryLock());
  auto it = Registry().find(UpperKey(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TMetaClass* FindClass(const AnsiString& name) {
  const TMetaClass* c = GetClass(name);
  if (!c) throw EClassNotFound(Format("Class %s not found", name.c_str()));
  return c;
}

namespace {
std::recursive_mutex& NameSpaceMutex() {
  static std::recursive_mutex m;
  return m;
}
}  // namespace

void TNameSpaceLock::BeginWrite() { NameSpaceMutex().lock(); }
void TNameSpaceLock::EndWrite() { NameSpaceMutex().unlock(); }

TNameSpaceLock& GlobalNameSpace() {
  static TNameSpaceLock lock;
  return lock;
}

// --- TComponent's part --------------------------------------------------------------

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }
void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

// --- TReader: values -----------------------------------------------------------------

TReader::TReader(TStream* stream, AnsiString sourceName)
    : TFiler(stream), FSourceName(std::move(sourceName)), FBuffer(kBufferSize) {}

TReader::~TReader() {
  try {
    if (FBufEnd > FBufPos) FStream->Seek(-static_cast<int64_t>(FBufEnd - FBufPos), soCurrent);
  } catch (...) {
  }
}

void TReader::FillBuffer() {
  FBufPos = 0;
  FBufEnd = static_cast<size_t>(FStream->Read(FBuffer.data(), static_cast<int64_t>(FBuffer.size())));
  if (FBufEnd == 0) ReadError(LoadResString(&SReadError));
}

uint8_t TReader::ReadByte() {
  if (FBufPos == FBufEnd) FillBuffer();
  return FBuffer[FBufPos++];
}

void TReader::Read(void* buffer, int64_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    if (FBufPos == FBufEnd) FillBuffer();
    size_t n = std::min(static_cast<size_t>(count), FBufEnd - FBufPos);
    std::memcpy(out, FBuffer.data() + FBufPos, n);
    FBufPos += n;
    out += n;
    count -= static_cast<int64_t>(n);
  }
}

TValueType TReader::ReadValue() { return static_cast<TValueType>(ReadByte()); }

void TReader::CheckAvailable(int64_t count) {
  int64_t held = static_cast<int64_t>(FBufEnd - FBufPos);
  if (count <= held) return;
  const int64_t size = FStream->Size();
  const int64_t position = FStream->Position();
  // A stream that cannot tell its size is left to fail where it runs dry.
  if (size < 0 || position < 0) return;
  if (count - held > size - position) ReadError(LoadResString(&SReadError));
}

TReader::TDepthGuard::TDepthGuard(TReader& reader) : FReader(reader) {
  if (++FReader.FDepth > kMaxDepth) {
    --FReader.FDepth;
    FReader.ReadError("Description nested too deeply");
  }
}

namespace {

// A number as the stream holds it: little-endian, as wide as its type.
template <class T>
T ReadFixed(TReader& reader) {
  T v;
  reader.Read(&v, sizeof v);
  return v;
}

// The length-counted UTF-16 text that follows a vaWString marker.
WideString ReadWideChars(TReader& reader) {
  const uint32_t len = ReadFixed<uint32_t>(reader);
  reader.CheckAvailable(int64_t{len} * 2);
  WideString w(len, L'\0');
  if (len) reader.Read(w.data(), int64_t{len} * 2);
  return w;
}

}  // namespace

TValueType TReader::NextValue() {
  if (FBufPos == FBufEnd) FillBuffer();
  return static_cast<TValueType>(FBuffer[FBufPos]);
}

void TReader::CheckValue(TValueType expected) {
  if (ReadValue() != expected) PropValueError();
}

void TReader::ReadListBegin() { CheckValue(vaList); }
void TReader::ReadListEnd() { CheckValue(vaNull); }

void TReader::PropValueError() { throw EReadError(LoadResString(&SInvalidProperty)); }

AnsiString TReader::ErrorContext() const {
  AnsiString where = FComponentName;
  AnsiString path = FPathPrefix + FPropPath;
  if (!path.empty()) where += (where.empty() ? "" : ".") + path;
  AnsiString s = "Error reading " + (FSourceName.empty() ? AnsiString("stream") : FSourceName);
  return where.empty() ? s + ": " : s + ": " + where + ": ";
}

void TReader::ReadError(const AnsiString& what) { throw EReadError(ErrorContext() + what); }

void TReader::SkipValue() {
  TDepthGuard depth(*this);
  auto skipBytes = [this](int64_t n) {
    CheckAvailable(n);
    uint8_t tmp[256];
    while (n > 0) {
      int64_t k = std::min<int64_t>(n, sizeof tmp);
      Read(tmp, k);
      n -= k;
    }
  };
  switch (ReadValue()) {
    case vaNull: case vaFalse: case vaTrue: case vaNil:
      break;
    case vaList:
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    case vaInt8: skipBytes(1); break;
    case vaInt16: skipBytes(2); break;
    case vaInt32: case vaSingle: skipBytes(4); break;
    case vaInt64: case vaCurrency: case vaDate: skipBytes(8); break;
    case vaExtended: skipBytes(10); break;
    case vaString: case vaIdent: skipBytes(ReadByte()); break;
    case vaLString: case vaBinary: skipBytes(ReadFixed<uint32_t>(*this)); break;
    case vaWString: skipBytes(int64_t{ReadFixed<uint32_t>(*this)} * 2); break;
    case vaSet:
      while (!ReadStr().empty()) {
      }
      break;
    case vaCollection:
      while (!EndOfList()) {
        if (IsIntegerValue(NextValue())) SkipValue();
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
    default:
      PropValueError();
  }
}

int64_t TReader::ReadIntegerValue(TValueType type) {
  switch (type) {
    case vaInt8: return ReadFixed<int8_t>(*this);
    case vaInt16: return ReadFixed<int16_t>(*this);
    case vaInt32: return ReadFixed<int32_t>(*this);
    case vaInt64: return ReadFixed<int64_t>(*this);
    default:
      PropValueError();
  }
}

int TReader::ReadInteger() {
  int64_t v = ReadIntegerValue(ReadValue());
  if (v < INT32_MIN || v > INT32_MAX) PropValueError();
  return static_cast<int>(v);
}

int64_t TReader::ReadInt64() { return ReadIntegerValue(ReadValue()); }

bool TReader::ReadBoolean() {
  TValueType t = ReadValue();
  if (t != vaTrue && t != vaFalse) PropValueError();
  return t == vaTrue;
}

char TReader::ReadChar() {
  AnsiString s = ReadString();
  if (s.size() != 1) PropValueError();
  return s[0];
}

WideChar TReader::ReadWideChar() {
  WideString s = ReadWideString();
  if (s.size() != 1) PropValueError();
  return s[0];
}

double TReader::ReadFloat() {
  TValueType t = ReadValue();
  switch (t) {
    case vaExtended: {
      // The x87 extended format, which is the compiler's long double on this target.
      static_assert(sizeof(long double) >= 10, "long double must be the 80-bit format");
      long double v = 0;
      std::memset(&v, 0, sizeof v);
      Read(&v, 10);
      return static_cast<double>(v);
    }
    case vaSingle: return ReadFixed<float>(*this);
    case vaDate: return ReadFixed<double>(*this);
    case vaCurrency: return static_cast<double>(ReadFixed<int64_t>(*this)) / 10000.0;
    default:
      return static_cast<double>(ReadIntegerValue(t));
  }
}

AnsiString TReader::ReadStr() {
  uint8_t len = ReadByte();
  AnsiString s(len, '\0');
  if (len) Read(s.data(), len);
  return s;
}

AnsiString TReader::ReadString() {
  TValueType t = ReadValue();
  uint32_t len = 0;
  switch (t) {
    case vaString:
      len = ReadByte();
      break;
    case vaLString:
      len = ReadFixed<uint32_t>(*this);
      break;
    case vaWString:
      return WideToAnsi(ReadWideChars(*this));
    default:
      PropValueError();
  }
  CheckAvailable(len);
  AnsiString s(len, '\0');
  if (len) Read(s.data(), len);
  return s;
}

WideString TReader::ReadWideString() {
  if (NextValue() != vaWString) {
    if (!IsStringValue(NextValue())) PropValueError();
    return AnsiToWide(ReadString());
  }
  ReadValue();
  return ReadWideChars(*this);
}

AnsiString TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: PropValueError();
  }
}

uint64_t TReader::ReadSet(const TEnumInfo* element) {
  if (ReadValue() != vaSet) PropValueError();
  uint64_t bits = 0;
  for (AnsiString name = ReadStr(); !name.empty(); name = ReadStr()) {
    int v = element->ValueOf(name);
    if (v < 0 || v >= 64) ReadError(Format("Invalid property element %s", name.c_str()));
    bits |= uint64_t{1} << v;
  }
  return bits;
}

void TReader::ReadSignature() {
  char sig[4];
  Read(sig, 4);
  if (std::memcmp(sig, kSignature, 4) != 0) ReadError("Invalid stream format");
}

void TReader::ReadPrefix(unsigned& flags, int& childPos) {
  flags = 0;
  childPos = 0;
  if ((NextValue() & 0xF0) == 0xF0) {
    flags = ReadByte() & 0x0F;
    if (flags & ffChildPos) childPos = ReadInteger();
  }
}

// --- TReader: components ---------------------------------------------------------------

TComponent* TReader::ReadRootComponent(TComponent* root) {
  ReadSignature();
  unsigned flags;
  int childPos;
  ReadPrefix(flags, childPos);
  ReadStr();  // the class name: the caller chose the root
  AnsiString name = ReadStr();

  std::vector<TComponent*> loaded;
  FLoaded = &loaded;
  FRoot = root;
  FLookupRoot = root;
  FOwner = root;
  FComponentName = name.empty() ? root->ClassName() : name;
  FStoredRootName = name;
  try {
    root->SetComponentState(csLoading | csReading, true);
    if (!name.empty()) {
      // Another component of the owner may hold the stored name (a second instance of a
      // form): the framework then numbers the new one.
      AnsiString unique = name;
      TComponent* owner = root->Owner();
      for (int i = 1; owner && owner->FindComponent(unique) && owner->FindComponent(unique) != root; ++i)
        unique = name + "_" + IntToStr(i);
      root->SetName(unique);
    }
    loaded.push_back(root);
    root->ReadState(this);
    root->SetComponentState(csReading, false);
    FixupReferences();
  } catch (...) {
    FFixups.clear();
    for (TComponent* c : loaded) c->SetComponentState(csLoading | csReading, false);
    FLoaded = nullptr;
    throw;
  }
  FLoaded = nullptr;
  for (TComponent* c : loaded) c->Loaded();
  return root;
}

TComponent* TReader::ReadComponent(TComponent* component) {
  TDepthGuard depth(*this);
  unsigned flags;
  int childPos;
  ReadPrefix(flags, childPos);
  AnsiString className = ReadStr();
  AnsiString name = ReadStr();

  AnsiString savedName = FComponentName;
  AnsiString savedPath = FPropPath;
  FComponentName = name.empty() ? className : name;
  FPropPath.clear();

  bool created = false;
  TComponent* result = component;
  if (!result && (flags & ffInherited)) {
    result = FOwner ? FOwner->FindComponent(name) : nullptr;
    if (!result) ReadError(Format("Ancestor for %s not found", name.c_str()));
  }
  if (!result) {
    const TMetaClass* cls = GetClass(className);
    if (!cls) throw EClassNotFound(ErrorContext() + Format("Class %s not found", className.c_str()));
    if (!cls->Create || !cls->InheritsFrom(TComponent::StaticClass()))
      ReadError(Format("Class %s cannot be created", className.c_str()));
    result = cls->Create(FOwner);
    created = true;
  }

  try {
    result->SetComponentState(csLoading | csReading, true);
    // Loaded follows the order of creation: a container before what it holds.
    if (FLoaded && std::find(FLoaded->begin(), FLoaded->end(), result) == FLoaded->end())
      FLoaded->push_back(result);
    if (created) {
      try {
        result->SetName(name);
      } catch (const EComponentError& e) {
        ReadError(e.Message);
      }
      if (FRoot && FOwner == FRoot && !name.empty())
        if (const TFieldInfo* field = FindField(FRoot->ClassType(), name)) {
          if (!result->InheritsFrom(field->ClassType))
            ReadError(Format("Field %s of %s is not a %s", field->Name.c_str(),
                             FRoot->ClassName().c_str(), className.c_str()));
          field->Set(FRoot, result);
        }
      if (FParent && result->HasParent()) result->SetParentComponent(FParent);
    }
    result->ReadState(this);
    result->SetComponentState(csReading, false);
  } catch (...) {
    if (created) {
      // A half-read component goes, with whatever it owns; drop them from the list of
      // components waiting for Loaded.
      if (FLoaded)
        FLoaded->erase(std::remove_if(FLoaded->begin(), FLoaded->end(),
                                      [result](TComponent* c) {
                                        for (TComponent* o = c; o; o = o->Owner())
                                          if (o == result) return true;
                                        return false;
                                      }),
                       FLoaded->end());
      if (FRoot && !name.empty())
        if (const TFieldInfo* field = FindField(FRoot->ClassType(), name)) field->Set(FRoot, nullptr);
      delete result;
    }
    throw;
  }
  FComponentName = savedName;
  FPropPath = savedPath;
  return result;
}

void TReader::ReadData(TComponent* instance) {
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
  FPropPath.clear();

  TComponent* savedOwner = FOwner;
  TComponent* savedParent = FParent;
  FParent = instance->GetChildParent();
  FOwner = instance->GetChildOwner();
  if (!FOwner) FOwner = FRoot;
  try {
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
  } catch (...) {
    FOwner = savedOwner;
    FParent = savedParent;
    throw;
  }
  FOwner = savedOwner;
  FParent = savedParent;
}

void TReader::ReadProperty(TPersistent* instance) {
  TDepthGuard depth(*this);
  AnsiString path = ReadStr();
  FPropPath = path;
  TPersistent* target = instance;
  size_t start = 0;
  for (;;) {
    size_t dot = path.find('.', start);
    FPropName = path.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start);
    if (dot == AnsiString::npos) break;
    const TPropInfo* p = GetPropInfo(target->ClassType(), FPropName);
    if (!p || p->Kind != tkClass || !p->GetObj)
      ReadError(Format("Property %s does not exist", FPropName.c_str()));
    auto* sub = dynamic_cast<TPersistent*>(p->GetObj(target));
    if (!sub) ReadError(Format("Property %s has no object", FPropName.c_str()));
    target = sub;
    start = dot + 1;
  }

  if (const TPropInfo* prop = GetPropInfo(target->ClassType(), FPropName)) {
    ReadPropValue(target, prop);
  } else {
    // Not published: perhaps a name the object stores itself.
    AnsiString name = FPropName;
    target->DefineProperties(this);
    if (!FPropName.empty()) ReadError(Format("Property %s does not exist", name.c_str()));
  }
}

void TReader::ReadPropValue(TPersistent* instance, const TPropInfo* prop) {
  bool collection = prop->Kind == tkClass && NextValue() == vaCollection;
  if (!prop->CanWrite() && !collection) ReadError(Format("Property %s is read-only", prop->Name.c_str()));
  switch (prop->Kind) {
    case tkFloat: {
      TValueType t = NextValue();
      if (!IsIntegerValue(t) && t != vaExtended && t != vaSingle && t != vaDate && t != vaCurrency)
        ReadError(LoadResString(&SInvalidProperty));
      prop->SetFloat(instance, ReadFloat());
      break;
    }
    case tkLString:
      if (!IsStringValue(NextValue())) ReadError(LoadResString(&SInvalidProperty));
      prop->SetStr(instance, ReadString());
      break;
    case tkWString:
      if (!IsStringValue(NextValue())) ReadError(LoadResString(&SInvalidProperty));
      prop->SetWStr(instance, ReadWideString());
      break;
    case tkClass:
      ReadClassValue(instance, prop);
      break;
    case tkMethod:
      ReadMethodValue(instance, prop);
      break;
    default:
      if (!prop->IsOrdinal()) ReadError(LoadResString(&SInvalidProperty));
      ReadOrdValue(instance, prop);
  }
}

void TReader::ReadOrdValue(TPersistent* instance, const TPropInfo* prop) {
  TValueType t = NextValue();
  int64_t v = 0;
  switch (prop->Kind) {
    case tkInteger:
    case tkCardinal:
    case tkInt64:
      if (IsIntegerValue(t)) {
        v = ReadInt64();
      } else if (t == vaIdent && prop->Idents && prop->Idents->IdentToInt) {
        AnsiString ident = ReadIdent();
        if (!prop->Idents->IdentToInt(ident, v)) ReadError(LoadResString(&SInvalidProperty) + " " + ident);
      } else {
        ReadError(LoadResString(&SInvalidProperty));
      }
      break;
    case tkChar: {
      if (!IsStringValue(t)) ReadError(LoadResString(&SInvalidProperty));
      AnsiString s = ReadString();
      if (s.size() != 1) ReadError(LoadResString(&SInvalidProperty));
      v = static_cast<unsigned char>(s[0]);
      break;
    }
    case tkWChar:
      if (IsIntegerValue(t)) {
        v = ReadInt64();
      } else {
        if (!IsStringValue(t)) ReadError(LoadResString(&SInvalidProperty));
        WideString s = ReadWideString();
        if (s.size() != 1) ReadError(LoadResString(&SInvalidProperty));
        v = s[0];
      }
      break;
    case tkBoolean:
    case tkEnumeration: {
      if (t != vaIdent && t != vaFalse && t != vaTrue) ReadError(LoadResString(&SInvalidProperty));
      AnsiString ident = ReadIdent();
      v = prop->EnumType->ValueOf(ident);
      if (v < 0) ReadError(LoadResString(&SInvalidProperty) + " " + ident);
      break;
    }
    case tkSet:
      if (t != vaSet) ReadError(LoadResString(&SInvalidProperty));
      v = static_cast<int64_t>(ReadSet(prop->EnumType));
      break;
    default:
      ReadError(LoadResString(&SInvalidProperty));
  }
  prop->SetOrd(instance, v);
}

void TReader::ReadClassValue(TPersistent* instance, const TPropInfo* prop) {
  switch (NextValue()) {
    case vaCollection: {
      auto* collection = dynamic_cast<TCollection*>(prop->GetObj ? prop->GetObj(instance) : nullptr);
      if (!collection) ReadError("Expected collection");
      ReadValue();
      ReadCollection(collection);
      break;
    }
    case vaNil:
      ReadValue();
      prop->SetObj(instance, nullptr);
      break;
    case vaIdent:
      if (!prop->IsComponentReference()) ReadError(LoadResString(&SInvalidProperty));
      // Resolved once the whole tree exists: the component may come later in the text.
      FFixups.push_back({instance, prop, ReadIdent(), FComponentName, FPathPrefix + FPropPath});
      break;
    default:
      ReadError(LoadResString(&SInvalidProperty));
  }
}

void TReader::ReadMethodValue(TPersistent* instance, const TPropInfo* prop) {
  switch (NextValue()) {
    case vaNil:
      ReadValue();
      prop->SetMethod(instance, std::any());
      break;
    case vaIdent: {
      AnsiString name = ReadIdent();
      if (!FRoot) ReadError(Format("Handler %s has no root to be found in", name.c_str()));
      const THandlerInfo* handler = FindHandler(FRoot->ClassType(), name);
      if (!handler) ReadError(Format("Handler %s not found in %s", name.c_str(), FRoot->ClassName().c_str()));
      if (*handler->EventType != *prop->EventType)
        ReadError(Format("Handler %s of %s does not have the parameters of event %s", handler->Name.c_str(),
                         FRoot->ClassName().c_str(), prop->Name.c_str()));
      prop->SetMethod(instance, handler->Bind(FRoot));
      break;
    }
    default:
      ReadError(LoadResString(&SInvalidProperty));
  }
}

void TReader::ReadCollection(TCollection* collection) {
  TDepthGuard depth(*this);
  AnsiString savedPrefix = FPathPrefix;
  AnsiString collectionPath = FPathPrefix + FPropPath;
  collection->BeginUpdate();
  try {
    if (!EndOfList()) collection->Clear();
    for (int i = 0; !EndOfList(); ++i) {
      if (IsIntegerValue(NextValue())) ReadInteger();  // the item's place in an ancestor
      TCollectionItem* item = collection->Add();
      FPathPrefix = collectionPath + "[" + IntToStr(i) + "].";
      FPropPath.clear();
      ReadListBegin();
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
    }
    ReadListEnd();
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  FPathPrefix = savedPrefix;
  FPropPath = collectionPath.substr(savedPrefix.size());
  collection->EndUpdate();
}

TComponent* TReader::FindReference(const AnsiString& name) const {
  TComponent* root = FLookupRoot;
  if (!root) return nullptr;
  // The root answers to its stored name too, should it have been renamed to stay unique.
  auto isRoot = [&](const AnsiString& n) {
    return (!root->Name().empty() && SameIdent(n, root->Name())) ||
           (root == FRoot && !FStoredRootName.empty() && SameIdent(n, FStoredRootName));
  };
  size_t dot = name.find('.');
  if (dot != AnsiString::npos) {
    // "Root.Name": only references into this description can be resolved here.
    if (!isRoot(name.substr(0, dot))) return nullptr;
    return root->FindComponent(name.substr(dot + 1));
  }
  if (isRoot(name)) return root;
  return root->FindComponent(name);
}

void TReader::FixupReferences() {
  std::vector<TFixup> fixups;
  fixups.swap(FFixups);
  for (const TFixup& f : fixups) {
    FComponentName = f.Component;
    FPathPrefix.clear();
    FPropPath = f.Path;
    TComponent* c = FindReference(f.Name);
    if (!c) ReadError(Format("Component %s not found", f.Name.c_str()));
    if (!c->InheritsFrom(f.Prop->ClassType))
      ReadError(Format("Component %s is not a %s", f.Name.c_str(), f.Prop->ClassType->Name));
    f.Prop->SetObj(f.Instance, c);
  }
}

void TReader::DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                             const TWriterProc& WriteData, bool HasData) {
  if (ReadData && !FPropName.empty() && SameIdent(Name, FPropName)) {
    FPropName.clear();  // before the call: the reader may read nested properties
    ReadData(this);
    // Nested properties leave their names behind; the stored name has been read whole.
    FPropName.clear();
  }
}

void TReader::DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                   const TStreamProc& WriteData, bool HasData) {
  if (!ReadData || FPropName.empty() || !SameIdent(Name, FPropName)) return;
  FPropName.clear();
  if (ReadValue() != vaBinary) PropValueError();
  const uint32_t size = ReadFixed<uint32_t>(*this);
  CheckAvailable(size);
  TMemoryStream data;
  data.SetSize(size);
  if (size) Read(data.Memory(), size);
  data.SetPosition(0);
  ReadData(&data);
}

// --- TWriter --------------------------------------------------------------------------

TWriter::TWriter(TStream* stream) : TFiler(stream) { FBuffer.reserve(kBufferSize); }

TWriter::~TWriter() {
  try {
    FlushBuffer();
  } catch (...) {
  }
}

void TWriter::FlushBuffer() {
  if (FBuffer.empty()) return;
  FStream->WriteBuffer(FBuffer.data(), static_cast<int64_t>(FBuffer.size()));
  FBuffer.clear();
}

void TWriter::Write(const void* buffer, int64_t count) {
  const auto* p = static_cast<const uint8_t*>(buffer);
  FBuffer.insert(FBuffer.end(), p, p + count);
  if (FBuffer.size() >= kBufferSize) FlushBuffer();
}

namespace {

// The counterpart of ReadFixed: the value little-endian, as wide as its type.
template <class T>
void WriteFixed(TWriter& writer, T value) {
  writer.Write(&value, sizeof value);
}

}  // namespace

void TWriter::WriteValue(TValueType value) { WriteFixed<uint8_t>(*this, value); }

void TWriter::WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }

void TWriter::WriteInteger(int64_t value) {
  if (value >= INT8_MIN && value <= INT8_MAX) {
    WriteValue(vaInt8);
    WriteFixed(*this, static_cast<int8_t>(value));
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    WriteValue(vaInt16);
    WriteFixed(*this, static_cast<int16_t>(value));
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    WriteValue(vaInt32);
    WriteFixed(*this, static_cast<int32_t>(value));
  } else {
    WriteValue(vaInt64);
    WriteFixed(*this, value);
  }
}

void TWriter::WriteChar(char value) { WriteString(AnsiString(1, value)); }

void TWriter::WriteWideChar(WideChar value) { WriteWideString(WideString(1, value)); }

void TWriter::WriteFloat(double value) {
  WriteValue(vaExtended);
  long double v = value;
  Write(&v, 10);
}

void TWriter::WriteString(const AnsiString& value) {
  if (value.size() <= 255) {
    WriteValue(vaString);
    WriteFixed(*this, static_cast<uint8_t>(value.size()));
  } else {
    WriteValue(vaLString);
    WriteFixed(*this, static_cast<uint32_t>(value.size()));
  }
  Write(value.data(), static_cast<int64_t>(value.size()));
}

void TWriter::WriteWideString(const WideString& value) {
  bool ascii = std::all_of(value.begin(), value.end(), [](wchar_t c) { return c < 128; });
  if (ascii) {
    WriteString(AnsiString(value.begin(), value.end()));
    return;
  }
  WriteValue(vaWString);
  const uint32_t len = static_cast<uint32_t>(value.size());
  WriteFixed(*this, len);
  Write(value.data(), int64_t{len} * 2);
}

void TWriter::WriteIdent(const AnsiString& ident) {
  if (SameIdent(ident, "False")) {
    WriteValue(vaFalse);
  } else if (SameIdent(ident, "True")) {
    WriteValue(vaTrue);
  } else if (SameIdent(ident, "Null")) {
    WriteValue(vaNull);
  } else if (SameIdent(ident, "nil")) {
    WriteValue(vaNil);
  } else {
    WriteValue(vaIdent);
    WriteStr(ident);
  }
}

void TWriter::WriteStr(const AnsiString& value) {
  if (value.size() > 255) throw EWriteError(Format("Name too long: %s", value.substr(0, 40).c_str()));
  WriteFixed(*this, static_cast<uint8_t>(value.size()));
  Write(value.data(), static_cast<int64_t>(value.size()));
}

void TWriter::WriteSet(const TEnumInfo* element, uint64_t bits) {
  WriteValue(vaSet);
  for (int i = 0; i < element->Count() && i < 64; ++i)
    if (bits & (uint64_t{1} << i)) WriteStr(element->Names[static_cast<size_t>(i)]);
  WriteStr(AnsiString());
}

void TWriter::WriteSignature() { Write(kSignature, 4); }

void TWriter::WritePrefix(unsigned flags, int childPos) {
  if (!flags) return;
  WriteFixed(*this, static_cast<uint8_t>(0xF0 | (flags & 0x0F)));
  if (flags & ffChildPos) WriteInteger(childPos);
}

void TWriter::WriteCollection(TCollection* collection) {
  WriteValue(vaCollection);
  AnsiString savedPath = FPropPath;
  TPersistent* savedAncestor = Ancestor;
  FPropPath.clear();
  Ancestor = nullptr;
  for (int i = 0; i < collection->Count(); ++i) {
    WriteListBegin();
    WriteProperties(collection->Items(i));
    WriteListEnd();
  }
  WriteListEnd();
  FPropPath = savedPath;
  Ancestor = savedAncestor;
}

void TWriter::WriteRootComponent(TComponent* root) { WriteDescendent(root, nullptr); }

void TWriter::WriteDescendent(TComponent* root, TComponent* ancestor) {
  FRoot = root;
  FLookupRoot = root;
  RootAncestor = ancestor;
  Ancestor = ancestor;
  WriteSignature();
  WriteComponent(root);
  FlushBuffer();
}

void TWriter::WriteComponent(TComponent* component) {
  component->SetComponentState(csWriting, true);
  try {
    component->WriteState(this);
  } catch (...) {
    component->SetComponentState(csWriting, false);
    throw;
  }
  component->SetComponentState(csWriting, false);
}

void TWriter::WriteData(TComponent* instance) {
  WritePrefix(Ancestor ? unsigned{ffInherited} : 0u, 0);
  WriteStr(instance->ClassName());
  WriteStr(instance->Name());
  AnsiString savedPath = FPropPath;
  FPropPath.clear();
  WriteProperties(instance);
  WriteListEnd();
  FPropPath = savedPath;

  TPersistent* savedAncestor = Ancestor;
  instance->GetChildren(
      [this](TComponent* child) {
        TComponent* ancestor = RootAncestor ? RootAncestor->FindComponent(child->Name()) : nullptr;
        Ancestor = (ancestor && ancestor->ClassType() == child->ClassType()) ? ancestor : nullptr;
        WriteComponent(child);
      },
      FRoot);
  Ancestor = savedAncestor;
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance) {
  for (const TPropInfo* prop : GetPropList(instance->ClassType()))
    if (prop->IsStored(instance)) WriteProperty(instance, prop);
  instance->DefineProperties(this);
}

void TWriter::WritePropName(const AnsiString& name) { WriteStr(FPropPath + name); }

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo* prop) {
  if (!prop->CanRead()) return;
  bool subObject = prop->Kind == tkClass && !prop->IsComponentReference();
  if (!prop->CanWrite() && !subObject) return;  // could not be read back
  // The ancestor's value counts as the default when the ancestor has the same property.
  TPersistent* ancestor =
      (Ancestor && GetPropInfo(Ancestor->ClassType(), prop->Name) == prop) ? Ancestor : nullptr;

  switch (prop->Kind) {
    case tkFloat: {
      double v = prop->GetFloat(instance);
      if (v == (ancestor ? prop->GetFloat(ancestor) : 0.0)) return;
      WritePropName(prop->Name);
      WriteFloat(v);
      return;
    }
    case tkLString: {
      AnsiString v = prop->GetStr(instance);
      if (v == (ancestor ? prop->GetStr(ancestor) : AnsiString())) return;
      WritePropName(prop->Name);
      WriteString(v);
      return;
    }
    case tkWString: {
      WideString v = prop->GetWStr(instance);
      if (v == (ancestor ? prop->GetWStr(ancestor) : WideString())) return;
      WritePropName(prop->Name);
      WriteWideString(v);
      return;
    }
    case tkClass:
      WriteClassProperty(instance, prop, ancestor);
      return;
    case tkMethod:
      WriteMethodProperty(instance, prop, ancestor);
      return;
    default:
      if (prop->IsOrdinal()) WriteOrdProperty(instance, prop, ancestor);
  }
}

bool TWriter::WriteOrdProperty(TPersistent* instance, const TPropInfo* prop, TPersistent* ancestor) {
  int64_t v = prop->GetOrd(instance);
  if (ancestor) {
    if (v == prop->GetOrd(ancestor)) return false;
  } else if (prop->HasDefault && v == prop->Default) {
    return false;
  }
  WritePropName(prop->Name);
  switch (prop->Kind) {
    case tkChar:
      WriteChar(static_cast<char>(v));
      break;
    case tkWChar:
      WriteWideChar(static_cast<WideChar>(v));
      break;
    case tkBoolean:
      WriteBoolean(v != 0);
      break;
    case tkEnumeration: {
      AnsiString ident = prop->EnumType->NameOf(v);
      if (ident.empty())
        throw EWriteError(Format("Invalid property value %s: %d", prop->Name.c_str(), static_cast<int>(v)));
      WriteIdent(ident);
      break;
    }
    case tkSet:
      WriteSet(prop->EnumType, static_cast<uint64_t>(v));
      break;
    default: {
      AnsiString ident;
      if (prop->Idents && prop->Idents->IntToIdent && prop->Idents->IntToIdent(v, ident))
        WriteIdent(ident);
      else
        WriteInteger(v);
    }
  }
  return true;
}

AnsiString TWriter::ReferenceName(TComponent* c) const {
  if (!c || c->Name().empty()) return AnsiString();
  if (c == FLookupRoot || c->Owner() == FLookupRoot) return c->Name();
  if (c->Owner() && !c->Owner()->Name().empty()) return c->Owner()->Name() + "." + c->Name();
  return AnsiString();
}

void TWriter::WriteClassProperty(TPersistent* instance, const TPropInfo* prop, TPersistent* ancestor) {
  TObject* value = prop->GetObj(instance);
  TObject* ancestorValue = ancestor ? prop->GetObj(ancestor) : nullptr;

  if (prop->IsComponentReference()) {
    AnsiString name = ReferenceName(dynamic_cast<TComponent*>(value));
    if (value && name.empty()) return;  // not reachable by name from the root
    if (ancestor) {
      // The ancestor's reference lies in the ancestor's tree: compare by name.
      auto* a = dynamic_cast<TComponent*>(ancestorValue);
      AnsiString ancestorName = a ? a->Name() : AnsiString();
      if (a && a == RootAncestor) ancestorName = FLookupRoot->Name();
      if (SameIdent(name, ancestorName)) return;
    } else if (!value) {
      return;
    }
    WritePropName(prop->Name);
    if (value)
      WriteIdent(name);
    else
      WriteValue(vaNil);
    return;
  }

  if (auto* collection = dynamic_cast<TCollection*>(value)) {
    auto* ancestorCollection = dynamic_cast<TCollection*>(ancestorValue);
    if (ancestorCollection) {
      // Equal collections write the same bytes.
      auto bytesOf = [this](TCollection* c, TComponent* root) {
        TMemoryStream out;
        {
          TWriter w(&out);
          w.FRoot = root;
          w.FLookupRoot = root;
          w.WriteCollection(c);
        }
        const auto* p = static_cast<const uint8_t*>(out.Memory());
        return std::vector<uint8_t>(p, p + out.Size());
      };
      if (collection->Count() == ancestorCollection->Count() &&
          bytesOf(collection, FLookupRoot) == bytesOf(ancestorCollection, RootAncestor))
        return;
    } else if (collection->Count() == 0) {
      return;
    }
    WritePropName(prop->Name);
    WriteCollection(collection);
    return;
  }

  if (auto* sub = dynamic_cast<TPersistent*>(value)) {
    AnsiString savedPath = FPropPath;
    TPersistent* savedAncestor = Ancestor;
    FPropPath += prop->Name + ".";
    Ancestor = dynamic_cast<TPersistent*>(ancestorValue);
    try {
      WriteProperties(sub);
    } catch (...) {
      FPropPath = savedPath;
      Ancestor = savedAncestor;
      throw;
    }
    FPropPath = savedPath;
    Ancestor = savedAncestor;
  }
}

void TWriter::WriteMethodProperty(TPersistent* instance, const TPropInfo* prop, TPersistent* ancestor) {
  // Only handlers of the root can be stored: they are written by name.
  AnsiString name = HandlerName(FLookupRoot, prop->GetMethod(instance));
  if (ancestor) {
    AnsiString ancestorName = HandlerName(RootAncestor, prop->GetMethod(ancestor));
    if (SameIdent(name, ancestorName)) return;
  } else if (name.empty()) {
    return;
  }
  WritePropName(prop->Name);
  if (name.empty())
    WriteValue(vaNil);
  else
    WriteIdent(name);
}

void TWriter::DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                             const TWriterProc& WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                   const TStreamProc& WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteValue(vaBinary);
  TMemoryStream data;
  WriteData(&data);
  const uint32_t size = static_cast<uint32_t>(data.Size());
  WriteFixed(*this, size);
  Write(data.Memory(), size);
}

// --- Whole trees --------------------------------------------------------------------------

void WriteComponent(TStream* stream, TComponent* root) {
  TWriter writer(stream);
  writer.WriteRootComponent(root);
}

static bool HasSignature(const void* data, size_t size) {
  return size >= 4 && std::memcmp(data, kSignature, 4) == 0;
}

TComponent* ReadComponentData(const void* data, size_t size, TComponent* root, const AnsiString& sourceName) {
  TMemoryStream binary;
  if (HasSignature(data, size)) {
    binary.WriteBuffer(data, static_cast<int64_t>(size));
  } else {
    ObjectTextToBinary(AnsiString(static_cast<const char*>(data), size), &binary, sourceName);
  }
  binary.SetPosition(0);
  TReader reader(&binary, sourceName);
  return reader.ReadRootComponent(root);
}

TComponent* ReadComponent(TStream* stream, TComponent* root, const AnsiString& sourceName) {
  int64_t start = stream->Position();
  char head[4] = {};
  int64_t got = stream->Read(head, 4);
  stream->SetPosition(start);
  if (HasSignature(head, static_cast<size_t>(got))) {
    TReader reader(stream, sourceName);
    return reader.ReadRootComponent(root);
  }
  AnsiString text(static_cast<size_t>(stream->Size() - start), '\0');
  stream->ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  return ReadComponentData(text.data(), text.size(), root, sourceName);
}

HMODULE FindClassHInstance(const TMetaClass* cls) {
  HMODULE module = nullptr;
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(cls), &module))
    return module;
  return GetModuleHandleA(nullptr);
}

// The name of the text file a description resource was made from (kavo_add_form_resources
// stores it beside the description), for error messages.
static AnsiString FormSourceName(HMODULE module, const AnsiString& resName) {
  if (HRSRC r = FindResourceA(module, resName.c_str(), "FORMSOURCE")) {
    const char* p = static_cast<const char*>(LockResource(LoadResource(module, r)));
    DWORD size = SizeofResource(module, r);
    if (p && size) return AnsiString(p, strnlen(p, size));
  }
  return "resource " + resName;
}

bool InternalReadComponentRes(const AnsiString& resName, HMODULE module, TComponent* root) {
  HRSRC r = FindResourceA(module, resName.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!r) return false;
  HGLOBAL g = LoadResource(module, r);
  const void* data = g ? LockResource(g) : nullptr;
  if (!data) return false;
  ReadComponentData(data, SizeofResource(module, r), root, FormSourceName(module, resName));
  return true;
}

TComponent* ReadComponentRes(const AnsiString& resName, TComponent* root) {
  HMODULE module = FindClassHInstance(root->ClassType());
  if (!InternalReadComponentRes(resName, module, root))
    throw EResNotFound(Format(LoadResString(&SResNotFound).c_str(), resName.c_str()));
  return root;
}

bool InitInheritedComponent(TComponent* instance, const TMetaClass* rootAncestor) {
  std::function<bool(const TMetaClass*)> init = [&](const TMetaClass* cls) -> bool {
    if (!cls || cls == TComponent::StaticClass() || cls == rootAncestor) return false;
    bool found = init(cls->Parent);  // the ancestors' descriptions first
    return InternalReadComponentRes(cls->Name, FindClassHInstance(cls), instance) || found;
  };
  GlobalNameSpace().BeginWrite();
  try {
    bool found = init(instance->ClassType());
    GlobalNameSpace().EndWrite();
    return found;
  } catch (...) {
    GlobalNameSpace().EndWrite();
    throw;
  }
}
