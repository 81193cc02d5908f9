#include "widetext/wide_props.h"

#include "vcl/resstrings.h"
#include "widetext/codecs.h"
#include "widetext/wide_strings.h"

bool LegacyWidePropertyDecoding = false;

namespace {

// Turns the switch off again when the program shuts down, for descriptions read by the
// destructors of other units.
struct TLegacyDecodingFinalizer {
  ~TLegacyDecodingFinalizer() { LegacyWidePropertyDecoding = false; }
} LegacyDecodingFinalizer;

bool IsStringValue(TValueType t) { return t == vaString || t == vaLString || t == vaWString; }

[[noreturn]] void InvalidPropertyValue(TReader* Reader) { Reader->ReadError(LoadResString(&SInvalidProperty)); }

// The legacy names of a WideString property P: P + "W" holds the text as UTF-8,
// P + "_UTF7" as UTF-7, each in an 8-bit string value. Neither is ever written.
class TUniWideStringPropertyFiler {
 public:
  TUniWideStringPropertyFiler(TPersistent* Instance, const TPropInfo* Prop) : FInstance(Instance), FProp(Prop) {}

  void DefineProperties(TFiler* Filer) {
    Filer->DefineProperty(
        FProp->Name + "W", [this](TReader* Reader) { ReadLegacy(Reader, &Utf8Decode); }, nullptr, false);
    Filer->DefineProperty(
        FProp->Name + "_UTF7", [this](TReader* Reader) { ReadLegacy(Reader, &Utf7ToWide); }, nullptr, false);
  }

 private:
  void ReadLegacy(TReader* Reader, WideString (*Decode)(const AnsiString&)) {
    const AnsiString stored = Reader->ReadString();
    // Without legacy decoding the value under the plain name stands.
    if (IsLegacyDecoding(Reader)) SetWideStrProp(FInstance, FProp, Decode(stored));
  }

  TPersistent* FInstance;
  const TPropInfo* FProp;
};

// The names of a WideChar property P: P + "W" holds the character as a one-character
// text (written as a wide string, so that it never passes through a code page),
// P + "_UTF7" as UTF-7 (read only).
class TUniWideCharPropertyFiler {
 public:
  TUniWideCharPropertyFiler(TPersistent* Instance, const TPropInfo* Prop) : FInstance(Instance), FProp(Prop) {}

  void DefineProperties(TFiler* Filer) {
    Filer->DefineProperty(
        FProp->Name + "W", [this](TReader* Reader) { ReadData_W(Reader); },
        [this](TWriter* Writer) { WriteData_W(Writer); }, HasData(Filer));
    Filer->DefineProperty(
        FProp->Name + "_UTF7", [this](TReader* Reader) { ReadData_UTF7(Reader); }, nullptr, false);
  }

 private:
  WideChar Value(TPersistent* Instance) const { return static_cast<WideChar>(FProp->GetOrd(Instance)); }

  void ReadData_W(TReader* Reader) {
    if (!IsStringValue(Reader->NextValue())) InvalidPropertyValue(Reader);
    const WideString stored = Reader->ReadWideString();
    // An empty value is as unusable as a longer one: there is no character to take.
    if (stored.size() != 1) InvalidPropertyValue(Reader);
    SetOrdProp(FInstance, FProp, stored[0]);
  }

  void WriteData_W(TWriter* Writer) {
    const WideChar c = Value(FInstance);
    const uint32_t length = 1;
    Writer->WriteValue(vaWString);
    Writer->Write(&length, 4);
    Writer->Write(&c, 2);
  }

  void ReadData_UTF7(TReader* Reader) {
    const WideString decoded = Utf7ToWide(Reader->ReadString());
    SetOrdProp(FInstance, FProp, decoded.empty() ? WideChar(0) : decoded[0]);
  }

  // Written only when stored, readable and writable, different from the ancestor's value
  // when the ancestor has the property, and different from the reference value: the
  // ancestor's when it is of the instance's class, else the declared default.
  bool HasData(TFiler* Filer) const {
    if (!FProp->IsStored(FInstance) || !FProp->CanRead() || !FProp->CanWrite()) return false;
    const int64_t value = FProp->GetOrd(FInstance);
    TPersistent* ancestor = Filer->Ancestor;
    if (ancestor) {
      const TPropInfo* ancestorProp = GetPropInfo(ancestor->ClassType(), FProp->Name);
      if (ancestorProp && ancestorProp->IsOrdinal() && ancestorProp->CanRead() &&
          value == ancestorProp->GetOrd(ancestor))
        return false;
      if (ancestor->ClassType() == FInstance->ClassType()) return value != FProp->GetOrd(ancestor);
    }
    return !FProp->HasDefault || value != FProp->Default;
  }

  TPersistent* FInstance;
  const TPropInfo* FProp;
};

}  // namespace

bool IsLegacyDecoding(TReader* Reader) {
  TComponent* owner = Reader->Owner();
  return owner && !owner->HasState(csDesigning) && LegacyWidePropertyDecoding;
}

void DefineWideProperties(TFiler* Filer, TPersistent* Instance) {
  for (const TPropInfo* prop : GetPropList(Instance->ClassType())) {
    if (prop->Kind == tkWString) {
      TUniWideStringPropertyFiler(Instance, prop).DefineProperties(Filer);
    } else if (prop->Kind == tkWChar) {
      TUniWideCharPropertyFiler(Instance, prop).DefineProperties(Filer);
    }
  }
}

void ReadWideStringsValue(TReader* Reader, TWideStrings* Strings) {
  const TValueType kind = Reader->NextValue();
  if (IsStringValue(kind)) {
    Strings->SetTextStr(Reader->ReadWideString());
    return;
  }
  if (kind != vaList) InvalidPropertyValue(Reader);
  Reader->ReadListBegin();
  InUpdateBracket(*Strings, [&] {
    Strings->Clear();
    while (!Reader->EndOfList()) {
      if (!IsStringValue(Reader->NextValue())) InvalidPropertyValue(Reader);
      Strings->Add(Reader->ReadWideString());
    }
  });
  Reader->ReadListEnd();
}
