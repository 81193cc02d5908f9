// Stored form descriptions: the class registry, the binary stored-form format and its
// reader and writer (TFiler, TReader, TWriter), and reading a component tree from a
// resource.
//
// Binary layout: the signature "TPF0", then one object: an optional prefix byte
// (0xF0 | flags, then the child position when ffChildPos), the class name and the component
// name as short strings (a length byte then the bytes), the properties (each a short-string
// name, possibly dotted like "Font.Name", then a value), a vaNull ending them, the child
// objects, and a vaNull ending those. A value is one type byte (TValueType) then its data;
// integers and lengths are little-endian.
#pragma once

#include <functional>
#include <initializer_list>
#include <vector>

#include "vcl/classes.h"
#include "vcl/streams.h"
#include "vcl/typinfo.h"

class TCollection;

enum TValueType : uint8_t {
  vaNull = 0,        // end of a list
  vaList = 1,        // values up to a vaNull
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,    // 10-byte x87 extended float
  vaString = 6,      // length byte + 8-bit text
  vaIdent = 7,       // length byte + identifier
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,     // 4-byte size + bytes
  vaSet = 11,        // short-string element names up to an empty one
  vaLString = 12,    // 4-byte length + 8-bit text
  vaNil = 13,
  vaCollection = 14, // items (optional order integer, vaList, properties, vaNull) up to a vaNull
  vaSingle = 15,
  vaCurrency = 16,   // 8-byte integer, value * 10000
  vaDate = 17,       // 8-byte double
  vaWString = 18,    // 4-byte length in UTF-16 units + UTF-16LE text
  vaInt64 = 19,
};

// Object header flags.
enum TFilerFlag : unsigned { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

// --- Class registry ------------------------------------------------------------------
// Classes the reader creates by name. Names compare ASCII case-insensitively.

// Registers a class and its ancestors up to TPersistent; registering a class again is a
// no-op, another class under a registered name raises EFilerError.
void RegisterClass(const TMetaClass* cls);
void RegisterClasses(std::initializer_list<const TMetaClass*> classes);
void UnRegisterClass(const TMetaClass* cls);
// The registered class of that name, or null.
const TMetaClass* GetClass(const AnsiString& name);
// Same; EClassNotFound "Class X not found" when absent.
const TMetaClass* FindClass(const AnsiString& name);

// The lock of the global name space (the class registry and the loading of descriptions):
// form creation takes it for writing around reading its descriptions. Re-entrant, so that a
// form created while another loads does not dead-lock.
class TNameSpaceLock {
 public:
  void BeginWrite();
  void EndWrite();
  void BeginRead() { BeginWrite(); }
  void EndRead() { EndWrite(); }
};
TNameSpaceLock& GlobalNameSpace();

// --- Filers ----------------------------------------------------------------------------

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
  VCL_CLASS(TFiler)
 public:
  explicit TFiler(TStream* stream) : FStream(stream) {}

  // Values stored under names of the instance's own choosing (TPersistent::DefineProperties).
  // A reader calls ReadData when the stored name is Name; a writer writes Name and calls
  // WriteData when HasData. DefineBinaryProperty stores raw bytes (vaBinary).
  virtual void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                              const TWriterProc& WriteData, bool HasData) = 0;
  virtual void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;

  TStream* Stream() const { return FStream; }
  TComponent* Root() const { return FRoot; }
  virtual void SetRoot(TComponent* root) { FRoot = root; }
  // The component names of references are looked up in (and written relative to).
  TComponent* LookupRoot() const { return FLookupRoot; }
  // While writing: the object whose values count as defaults (an inherited form's ancestor
  // part), or null. Null while reading.
  TPersistent* Ancestor = nullptr;

 protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
};

class TReader : public TFiler {
  VCL_CLASS(TReader)
 public:
  // SourceName names the description in error messages (a file or resource).
  explicit TReader(TStream* stream, AnsiString sourceName = AnsiString());
  // Gives the bytes read ahead back to the stream.
  ~TReader() override;

  void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                      const TWriterProc& WriteData, bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // --- values
  void Read(void* buffer, int64_t count);
  TValueType ReadValue();
  TValueType NextValue();  // without consuming it
  bool EndOfList() { return NextValue() == vaNull; }
  void ReadListBegin();
  void ReadListEnd();
  void CheckValue(TValueType expected);
  void SkipValue();
  bool ReadBoolean();
  int ReadInteger();
  int64_t ReadInt64();
  char ReadChar();
  WideChar ReadWideChar();
  double ReadFloat();
  // 8-bit text: vaString, vaLString, or vaWString converted through ConversionCodePage.
  AnsiString ReadString();
  // Wide text: vaWString, or the 8-bit kinds converted through ConversionCodePage.
  WideString ReadWideString();
  // An identifier, or the names of vaFalse, vaTrue, vaNil and vaNull.
  AnsiString ReadIdent();
  // A raw short string (names in headers and property names).
  AnsiString ReadStr();
  uint64_t ReadSet(const TEnumInfo* element);
  void ReadSignature();
  void ReadPrefix(unsigned& flags, int& childPos);
  // The read error unless the stream still holds count bytes: a length read from the stream
  // is checked before anything is allocated for it.
  void CheckAvailable(int64_t count);

  // --- components
  // Reads a whole description into root: its values and its children, then fixes up the
  // component references and calls Loaded on root and every component read, in reading
  // order. Root's class name in the description is not checked.
  TComponent* ReadRootComponent(TComponent* root);
  // Reads one child object: creates it by its registered class name (or, for an inherited
  // one, finds the existing component of that name) and reads it.
  TComponent* ReadComponent(TComponent* component);
  // The values and children of instance (TComponent::ReadState's work).
  void ReadData(TComponent* instance);
  void ReadProperty(TPersistent* instance);
  void ReadCollection(TCollection* collection);

  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* owner) { FOwner = owner; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* parent) { FParent = parent; }
  // The name of the property being read (the last part of a dotted path).
  const AnsiString& PropName() const { return FPropName; }
  const AnsiString& SourceName() const { return FSourceName; }

  // EReadError "Invalid property value".
  [[noreturn]] void PropValueError();
  // EReadError naming the source, the component and the property being read.
  [[noreturn]] void ReadError(const AnsiString& what);

 private:
  struct TFixup {
    TPersistent* Instance;
    const TPropInfo* Prop;
    AnsiString Name;
    AnsiString Component;  // for messages
    AnsiString Path;
  };

  void ReadPropValue(TPersistent* instance, const TPropInfo* prop);
  void ReadOrdValue(TPersistent* instance, const TPropInfo* prop);
  void ReadClassValue(TPersistent* instance, const TPropInfo* prop);
  void ReadMethodValue(TPersistent* instance, const TPropInfo* prop);
  int64_t ReadIntegerValue(TValueType type);
  TComponent* FindReference(const AnsiString& name) const;
  void FixupReferences();
  AnsiString ErrorContext() const;
  uint8_t ReadByte();
  void FillBuffer();
  // Counts one level of nesting (a component, a property, a collection, a skipped list) for
  // as long as it lives; past kMaxDepth the description is refused before the stack runs out.
  class TDepthGuard {
   public:
    explicit TDepthGuard(TReader& reader);
    ~TDepthGuard() { --FReader.FDepth; }
    TDepthGuard(const TDepthGuard&) = delete;
    TDepthGuard& operator=(const TDepthGuard&) = delete;

   private:
    TReader& FReader;
  };
  static constexpr int kMaxDepth = 512;
  int FDepth = 0;

  AnsiString FSourceName;
  std::vector<uint8_t> FBuffer;
  size_t FBufPos = 0;
  size_t FBufEnd = 0;
  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  AnsiString FPropName;
  AnsiString FPropPath;        // the stored name being read, for messages
  AnsiString FPathPrefix;      // "Columns[2]." while reading collection items
  AnsiString FComponentName;   // the component being read, for messages
  AnsiString FStoredRootName;  // the root's name in the description
  std::vector<TComponent*>* FLoaded = nullptr;
  std::vector<TFixup> FFixups;
};

class TWriter : public TFiler {
  VCL_CLASS(TWriter)
 public:
  explicit TWriter(TStream* stream);
  ~TWriter() override;  // flushes

  void DefineProperty(const AnsiString& Name, const TReaderProc& ReadData,
                      const TWriterProc& WriteData, bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, const TStreamProc& ReadData,
                            const TStreamProc& WriteData, bool HasData) override;

  // --- values
  void Write(const void* buffer, int64_t count);
  void WriteValue(TValueType value);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteBoolean(bool value);
  void WriteInteger(int64_t value);  // the smallest integer kind that holds it
  void WriteChar(char value);
  void WriteWideChar(WideChar value);
  void WriteFloat(double value);
  void WriteString(const AnsiString& value);  // vaString, or vaLString above 255 bytes
  // 8-bit when the text is plain ASCII, else vaWString: wide text never passes through a
  // code page, so it reads back the same on any system.
  void WriteWideString(const WideString& value);
  void WriteIdent(const AnsiString& ident);
  void WriteStr(const AnsiString& value);  // raw short string
  void WriteSet(const TEnumInfo* element, uint64_t bits);
  void WriteSignature();
  void WritePrefix(unsigned flags, int childPos);
  void WriteCollection(TCollection* collection);

  // --- components
  // Writes the signature and root with its whole tree.
  void WriteRootComponent(TComponent* root);
  // Same, storing only what differs from ancestor (a component of root's ancestor class as
  // its stored description left it); components found in ancestor by name are marked
  // inherited.
  void WriteDescendent(TComponent* root, TComponent* ancestor);
  void WriteComponent(TComponent* component);
  // The header, values and children of instance (TComponent::WriteState's work).
  void WriteData(TComponent* instance);
  void WriteProperties(TPersistent* instance);
  void WriteProperty(TPersistent* instance, const TPropInfo* prop);

  TComponent* RootAncestor = nullptr;
  const AnsiString& PropPath() const { return FPropPath; }
  void SetPropPath(const AnsiString& path) { FPropPath = path; }
  void FlushBuffer();

 private:
  void WritePropName(const AnsiString& name);
  bool WriteOrdProperty(TPersistent* instance, const TPropInfo* prop, TPersistent* ancestor);
  void WriteClassProperty(TPersistent* instance, const TPropInfo* prop, TPersistent* ancestor);
  void WriteMethodProperty(TPersistent* instance, const TPropInfo* prop, TPersistent* ancestor);
  AnsiString ReferenceName(TComponent* c) const;

  std::vector<uint8_t> FBuffer;
  AnsiString FPropPath;
};

// --- Whole trees ------------------------------------------------------------------------

// Writes root and its tree to stream in the binary format.
void WriteComponent(TStream* stream, TComponent* root);
// Reads a description (binary, or text which is converted first) from stream into root.
TComponent* ReadComponent(TStream* stream, TComponent* root, const AnsiString& sourceName);
// Reads a description from a block of memory, binary or text (see vcl/formtext.h).
TComponent* ReadComponentData(const void* data, size_t size, TComponent* root,
                              const AnsiString& sourceName);

// The RCDATA resource named resName of module: false when the module has none.
bool InternalReadComponentRes(const AnsiString& resName, HMODULE module, TComponent* root);
// Reads the description stored as resource resName of the module holding root's class;
// EResNotFound "Resource X not found" when absent.
TComponent* ReadComponentRes(const AnsiString& resName, TComponent* root);
// Reads, into instance, the descriptions of its class and of each ancestor class below
// rootAncestor (the ancestor's first), each stored as a resource named after its class.
// Answers false when none of them has a description.
// Call it once the instance is whole (from a factory after construction, or from the most
// derived constructor's body): inside a base constructor the object is not yet of its final
// class, so its class's descriptions, handlers and fields would not be found, and fields set
// there would be initialised again by the derived constructor.
bool InitInheritedComponent(TComponent* instance, const TMetaClass* rootAncestor);

// The module whose resources hold the descriptions of a class: the one its code lives in.
HMODULE FindClassHInstance(const TMetaClass* cls);
