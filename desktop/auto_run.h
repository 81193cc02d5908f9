// Registers the program (or another file) to start with Windows, under the Run keys.
#pragma once

#include "desktop/desktop_component.h"
#include "vcl/typinfo.h"
#include "desktop/registry_routines.h"

VCL_ENUM_INFO(TdkAutoExecKind, "aekMachineRun", "aekMachineRunOnce", "aekUserRun", "aekUserRunOnce", "aekServiceRun",
              "aekServiceRunOnce")

class TdkAutoRun : public TdkComponent {
  VCL_CLASS(TdkAutoRun)
 public:
  // At run time FileName starts as the program's own path.
  explicit TdkAutoRun(TComponent* AOwner);

  // Each setter takes the entry of the old values away and writes the new one.
  bool AutoRun() const { return FAutoRun; }
  void SetAutoRun(bool Value);
  const AnsiString& FileName() const { return FFileName; }
  void SetFileName(const AnsiString& Value);
  TdkAutoExecKind Kind() const { return FKind; }
  void SetKind(TdkAutoExecKind Value);

  // The value's name: the file name part of FileName.
  AnsiString ValueName() const;
  // Removes the entry, then writes it when AutoRun. False for the service kinds on NT.
  virtual bool Apply();
  // Deletes the entry when there is one; true when none is left.
  virtual bool Remove();

  void Loaded() override;

 private:
  bool Refused() const;
  template <class F>
  void Change(F store);

  bool FAutoRun = false;
  AnsiString FFileName;
  TdkAutoExecKind FKind = aekMachineRun;
};
