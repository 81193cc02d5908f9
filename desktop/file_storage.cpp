#include "desktop/file_storage.h"

#include <cstdint>

#include "desktop/utility_routines.h"
#include "vcl/resstrings.h"
#include "vcl/streaming.h"
#include "vcl/typinfo.h"

namespace {

bool IsExistingFile(const AnsiString& Name) {
  DWORD attributes = GetFileAttributesA(Name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const std::vector<TPropInfo>& FileStorageProperties() {
  using T = TdkCustomFileStorage;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("SaveName", &T::SaveName, &T::SetSaveName)
      .Property("FileName", &T::FileName, &T::SetFileName)
      .Property("DataSize", &T::GetDataSize, &T::SetDataSize).Stored(false)
      .Property("AutoSave", &T::AutoSave, &T::SetAutoSave).Default(false)
      .Property("OnLoad", &T::OnLoad)
      .Property("OnSave", &T::OnSave)
      .Property("OnConfirmOverride", &T::OnConfirmOverride)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomFileStorage, TdkComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TdkFileStorage, TdkCustomFileStorage, &CreateComponentOf<TdkFileStorage>, &FileStorageProperties)

TdkCustomFileStorage::TdkCustomFileStorage(TComponent* AOwner)
    : TdkComponent(AOwner), FData(new TMemoryStream) {}

TdkCustomFileStorage::~TdkCustomFileStorage() = default;

void TdkCustomFileStorage::Clear() { FData->Clear(); }

unsigned TdkCustomFileStorage::GetDataSize() const { return static_cast<unsigned>(FData->Size()); }

bool TdkCustomFileStorage::LoadFromFile(const AnsiString& Name) {
  Clear();
  bool successful = false;
  if (IsExistingFile(Name)) {
    try {
      TFileStream file(Name, fmOpenRead | fmShareDenyWrite);
      FData->LoadFromStream(&file);
      successful = true;
    } catch (const EStreamError&) {
      // A file that cannot be read leaves no half of itself behind.
      Clear();
    }
  }
  if (OnLoad) OnLoad(this, successful);
  return successful;
}

bool TdkCustomFileStorage::SaveToFile(const AnsiString& Name) {
  bool overrideFile = true;
  bool exists = IsExistingFile(Name);
  if (exists && OnConfirmOverride) OnConfirmOverride(this, overrideFile);
  bool successful = false;
  if (!exists || overrideFile) {
    try {
      TFileStream file(Name, fmCreate);
      FData->SaveToStream(&file);
      successful = true;
    } catch (const EStreamError&) {
      // Reported through OnSave and the result, like a refused override.
    }
  }
  if (OnSave) OnSave(this, successful);
  return successful;
}

void TdkCustomFileStorage::SetFileName(const AnsiString& Value) {
  FFileName = Value;
  if (HasState(csDesigning) && !HasState(csLoading)) Load();
}

void TdkCustomFileStorage::SetSaveName(const AnsiString& Value) {
  FSaveName = Value;
  if (HasState(csDesigning) && !HasState(csLoading) && !IsCreatableFileName(Value)) FAutoSave = false;
}

void TdkCustomFileStorage::SetAutoSave(bool Value) {
  if (Value && HasState(csDesigning) && !HasState(csLoading) && !IsCreatableFileName(FSaveName)) {
    MessageBoxA(nullptr, "AutoSave can not be set because the SaveName property contains a wrong file name",
                "Warning", MB_ICONWARNING);
    FAutoSave = false;
    return;
  }
  FAutoSave = Value;
}

void TdkCustomFileStorage::Loaded() {
  TdkComponent::Loaded();
  if (FAutoSave && !HasState(csDesigning)) Save();
}

void TdkCustomFileStorage::DefineProperties(TFiler* Filer) {
  TdkComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "FileData", [this](TStream* Stream) { ReadData(Stream); },
      [this](TStream* Stream) { WriteData(Stream); }, GetDataSize() > 0);
}

void TdkCustomFileStorage::ReadData(TStream* Stream) {
  uint8_t sizeBytes[4];
  Stream->ReadBuffer(sizeBytes, 4);
  uint32_t size = sizeBytes[0] | (sizeBytes[1] << 8) | (sizeBytes[2] << 16) | (uint32_t{sizeBytes[3]} << 24);
  Clear();
  // A size beyond the stored bytes is a damaged description: ReadBuffer raises instead of
  // inventing the missing part.
  if (size > Stream->Size() - Stream->Position()) throw EReadError(LoadResString(&SReadError));
  FData->SetSize(size);
  if (size) Stream->ReadBuffer(FData->Memory(), size);
  FData->SetPosition(0);
}

void TdkCustomFileStorage::WriteData(TStream* Stream) {
  uint32_t size = GetDataSize();
  uint8_t sizeBytes[4] = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                          static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
  Stream->WriteBuffer(sizeBytes, 4);
  if (size) Stream->WriteBuffer(FData->Memory(), size);
}
