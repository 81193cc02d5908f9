// A file kept inside the stored form description: its bytes travel with the form and can
// be written out again at run time.
#pragma once

#include <functional>
#include <memory>

#include "desktop/desktop_component.h"
#include "vcl/streams.h"

using TdkFileStorageOnFileOperation = std::function<void(TObject* Sender, bool Successful)>;
using TdkFileStorageOnConfirmOverride = std::function<void(TObject* Sender, bool& OverrideFile)>;

class TdkCustomFileStorage : public TdkComponent {
  VCL_CLASS(TdkCustomFileStorage)
 public:
  explicit TdkCustomFileStorage(TComponent* AOwner);
  ~TdkCustomFileStorage() override;

  // Replaces the data with the whole file (no data when it does not exist); OnLoad tells.
  virtual bool LoadFromFile(const AnsiString& Name);
  // Writes the data to the file; an existing file only when OnConfirmOverride allows it.
  virtual bool SaveToFile(const AnsiString& Name);
  virtual bool Load() { return LoadFromFile(FFileName); }
  virtual bool Save() { return SaveToFile(FSaveName); }
  virtual void Clear();

  bool AutoSave() const { return FAutoSave; }
  virtual void SetAutoSave(bool Value);
  const AnsiString& FileName() const { return FFileName; }
  virtual void SetFileName(const AnsiString& Value);
  const AnsiString& SaveName() const { return FSaveName; }
  void SetSaveName(const AnsiString& Value);
  virtual unsigned GetDataSize() const;
  // The size follows the data; a stored value is ignored.
  virtual void SetDataSize(unsigned) {}
  TMemoryStream* Data() const { return FData.get(); }

  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;

  TdkFileStorageOnFileOperation OnLoad;
  TdkFileStorageOnFileOperation OnSave;
  TdkFileStorageOnConfirmOverride OnConfirmOverride;

 protected:
  // The stored "FileData": a 4-byte little-endian size, then the bytes.
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);

  AnsiString FFileName;

 private:
  std::unique_ptr<TMemoryStream> FData;
  bool FAutoSave = false;
  AnsiString FSaveName;
};

class TdkFileStorage : public TdkCustomFileStorage {
  VCL_CLASS(TdkFileStorage)
 public:
  using TdkCustomFileStorage::TdkCustomFileStorage;
};
