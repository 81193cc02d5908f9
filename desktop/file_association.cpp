#include "desktop/file_association.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>

#include "desktop/window_routines.h"
#include "vcl/registry.h"
#include "vcl/typinfo.h"

namespace {

// The default value of a key under Root; empty when the key or the value is missing or
// holds no text.
AnsiString ReadDefaultValue(HKEY Root, const AnsiString& Path) {
  TRegistry registry(KEY_READ);
  registry.SetRootKey(Root);
  if (!registry.OpenKeyReadOnly(Path)) return AnsiString();
  try {
    return registry.ReadString("");
  } catch (const ERegistryException&) {
    return AnsiString();
  }
}

// Creates the key when missing and sets its default value.
bool WriteDefaultValue(HKEY Root, const AnsiString& Path, const AnsiString& Value) {
  TRegistry registry(KEY_WRITE);
  registry.SetRootKey(Root);
  if (!registry.OpenKey(Path, true)) return false;
  try {
    registry.WriteString("", Value);
    return true;
  } catch (const ERegistryException&) {
    return false;
  }
}

// Both sizes of icon Index of a file, or false when the file has none.
bool ExtractIcons(const AnsiString& File, int Index, TIcon* Large, TIcon* Small) {
  HICON large = nullptr, small = nullptr;
  UINT count = ExtractIconExA(File.c_str(), Index, &large, &small, 1);
  if (count == 0 || count == UINT_MAX || (!large && !small)) {
    if (large) DestroyIcon(large);
    if (small) DestroyIcon(small);
    return false;
  }
  Large->SetHandle(large);
  Small->SetHandle(small);
  return true;
}

const std::vector<TPropInfo>& FileAssociationProperties() {
  using T = TdkFileAssociation;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Extension", &T::Extension, &T::SetExtension)
      .Property("ExtDescription", &T::ExtDescription, &T::SetExtDescription)
      .Property("FileDescription", &T::FileDescription, &T::SetFileDescription)
      .Property("IconFile", &T::IconFile, &T::SetIconFile)
      .Property("IconIndex", &T::IconIndex, &T::SetIconIndex).Default(0)
      .Property("OpenCommand", &T::OpenCommand, &T::SetOpenCommand)
      .Property("OpenCommandDescription", &T::OpenCommandDescription, &T::SetOpenCommandDescription)
      .Property("OpenNewCommand", &T::OpenNewCommand, &T::SetOpenNewCommand)
      .Property("OpenNewCommandDescription", &T::OpenNewCommandDescription, &T::SetOpenNewCommandDescription)
      .Property("EditCommand", &T::EditCommand, &T::SetEditCommand)
      .Property("EditCommandDescription", &T::EditCommandDescription, &T::SetEditCommandDescription)
      .Property("PrintCommand", &T::PrintCommand, &T::SetPrintCommand)
      .Property("PrintCommandDescription", &T::PrintCommandDescription, &T::SetPrintCommandDescription)
      .Property("PrintToCommand", &T::PrintToCommand, &T::SetPrintToCommand)
      .Property("PrintToCommandDescription", &T::PrintToCommandDescription, &T::SetPrintToCommandDescription)
      .Property("LargeIcon", &T::LargeIcon, &T::SetLargeIcon).Stored(false)
      .Property("SmallIcon", &T::SmallIcon, &T::SetSmallIcon).Stored(false)
      .Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(true)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkFileAssociation, TdkComponent, &CreateComponentOf<TdkFileAssociation>,
               &FileAssociationProperties)

const TdkFileAssociation::TVerb TdkFileAssociation::Verbs[5] = {
    {"open", &TdkFileAssociation::FOpenCommand, &TdkFileAssociation::FOpenCommandDescription},
    {"opennew", &TdkFileAssociation::FOpenNewCommand, &TdkFileAssociation::FOpenNewCommandDescription},
    {"edit", &TdkFileAssociation::FEditCommand, &TdkFileAssociation::FEditCommandDescription},
    {"print", &TdkFileAssociation::FPrintCommand, &TdkFileAssociation::FPrintCommandDescription},
    {"printto", &TdkFileAssociation::FPrintToCommand, &TdkFileAssociation::FPrintToCommandDescription},
};

TdkFileAssociation::TdkFileAssociation(TComponent* AOwner)
    : TdkComponent(AOwner), FLargeIcon(new TIcon), FSmallIcon(new TIcon) {}

TdkFileAssociation::~TdkFileAssociation() = default;

void TdkFileAssociation::SetExtension(const AnsiString& Value) {
  AnsiString extension = Value;
  if (!extension.empty() && extension[0] != '.') extension.insert(extension.begin(), '.');
  if (extension == FExtension) return;
  FExtension = extension;
  Read();
}

bool TdkFileAssociation::MayChange() const { return HasState(csDesigning) || !FReadOnly; }

void TdkFileAssociation::SetText(AnsiString& Field, const AnsiString& Value) {
  // A read-only association at run time keeps what the registry holds: storing the value
  // alone would show a setting that is not in effect, and writing it would defeat the
  // protection.
  if (!MayChange()) return;
  Field = Value;
  Apply();
}

void TdkFileAssociation::SetIconIndex(int Value) {
  if (!MayChange()) return;
  FIconIndex = Value;
  Apply();
}

void TdkFileAssociation::ClearEntries() {
  FExtDescription.clear();
  FFileDescription.clear();
  FIconFile.clear();
  FIconIndex = 0;
  for (const TVerb& verb : Verbs) {
    (this->*verb.Command).clear();
    (this->*verb.Description).clear();
  }
  FLargeIcon->Assign(nullptr);
  FSmallIcon->Assign(nullptr);
}

void TdkFileAssociation::Read() {
  ClearEntries();
  if (!FExtension.empty()) {
    FExtDescription = ReadDefaultValue(FRootKey, FExtension);
    if (!FExtDescription.empty()) {
      const AnsiString& type = FExtDescription;
      FFileDescription = ReadDefaultValue(FRootKey, type);
      AnsiString icon = ReadDefaultValue(FRootKey, type + "\\DefaultIcon");
      size_t comma = icon.rfind(',');
      FIconFile = icon.substr(0, comma);
      if (comma != AnsiString::npos) {
        AnsiString number = Trim(icon.substr(comma + 1));
        char* end = nullptr;
        long index = std::strtol(number.c_str(), &end, 10);
        FIconIndex = (!number.empty() && end && *end == '\0') ? static_cast<int>(index) : 0;
      }
      for (const TVerb& verb : Verbs) {
        AnsiString path = type + "\\shell\\" + verb.Key;
        this->*verb.Description = ReadDefaultValue(FRootKey, path);
        this->*verb.Command = ReadDefaultValue(FRootKey, path + "\\command");
      }
    }
  }
  ReadIcons();
}

void TdkFileAssociation::ReadIcons() {
  if (!FIconFile.empty() && ExtractIcons(FIconFile, FIconIndex, FLargeIcon.get(), FSmallIcon.get())) return;
  // The shell's icons for a program and for a document of no known kind.
  LoadShellIcon(AnsiCompareText(FExtension, ".exe") == 0 ? 2 : 0, FLargeIcon.get(), FSmallIcon.get());
}

bool TdkFileAssociation::Write() {
  if (FExtension.empty()) return false;
  if (FExtDescription.empty()) FExtDescription = FExtension.substr(1) + "file";
  const AnsiString& type = FExtDescription;
  bool ok = WriteDefaultValue(FRootKey, FExtension, type);
  ok = WriteDefaultValue(FRootKey, type, FFileDescription) && ok;
  ok = WriteDefaultValue(FRootKey, type + "\\DefaultIcon", FIconFile + "," + IntToStr(FIconIndex)) && ok;
  for (const TVerb& verb : Verbs) {
    AnsiString path = type + "\\shell\\" + verb.Key;
    const AnsiString& command = this->*verb.Command;
    // A verb without a command would be a dead entry of the shell's menu, so none is written;
    // what the registry holds there stays: a verb whose command key has no default value
    // (one run through DelegateExecute) reads as empty and is not ours to take away.
    if (command.empty()) continue;
    ok = WriteDefaultValue(FRootKey, path, this->*verb.Description) && ok;
    ok = WriteDefaultValue(FRootKey, path + "\\command", command) && ok;
  }
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  return ok;
}

bool TdkFileAssociation::Delete() {
  if (HasState(csLoading | csDestroying)) return false;
  if (FExtension.empty()) return true;
  TRegistry registry(KEY_ALL_ACCESS);
  registry.SetRootKey(FRootKey);
  if (!registry.KeyExists(FExtension)) return true;
  bool ok = registry.DeleteKey(FExtension);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  Read();
  return ok;
}

void TdkFileAssociation::Apply() {
  if (HasState(csLoading | csDestroying)) return;
  if (!HasState(csDesigning)) {
    Write();
    return;
  }
  if (FReadOnly) {
    MessageBoxA(nullptr, "Cannot change the property in Read-Only mode.", "Warning", MB_ICONWARNING);
    return;
  }
  if (!Write()) MessageBoxA(nullptr, "Cannot write to registry.", "Error", MB_ICONERROR);
}
