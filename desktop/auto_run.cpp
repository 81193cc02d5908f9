#include "desktop/auto_run.h"

#include "desktop/system_version.h"
#include "desktop/utility_routines.h"
#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& AutoRunProperties() {
  using T = TdkAutoRun;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("AutoRun", &T::AutoRun, &T::SetAutoRun).Default(false)
      .Property("FileName", &T::FileName, &T::SetFileName)
      .Property("Kind", &T::Kind, &T::SetKind).Default(aekMachineRun)
      .Table();
  return table;
}

AnsiString ProgramPath() {
  char path[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return AnsiString(path, n);
}

}  // namespace

VCL_CLASS_IMPL(TdkAutoRun, TdkComponent, &CreateComponentOf<TdkAutoRun>, &AutoRunProperties)

TdkAutoRun::TdkAutoRun(TComponent* AOwner) : TdkComponent(AOwner) {
  if (!HasState(csDesigning)) FFileName = ProgramPath();
}

AnsiString TdkAutoRun::ValueName() const { return PathFileName(FFileName); }

bool TdkAutoRun::Refused() const {
  return (FKind == aekServiceRun || FKind == aekServiceRunOnce) && SystemVersion().IsWinNT;
}

bool TdkAutoRun::Remove() {
  if (HasState(csDesigning)) return true;
  if (Refused()) return false;
  const TdkAutoRunKey key = AutoRunKey(FKind);
  TRegistry reg;
  reg.SetRootKey(key.Root);
  if (!reg.OpenKey(key.Path, false) || !reg.ValueExists(ValueName())) return true;
  return reg.DeleteValue(ValueName());
}

bool TdkAutoRun::Apply() {
  if (HasState(csDesigning)) return true;
  if (Refused()) return false;
  Remove();
  if (!FAutoRun) return true;
  const TdkAutoRunKey key = AutoRunKey(FKind);
  TRegistry reg;
  OpenRegistryKey(reg, key.Root, key.Path);
  WriteRegistryString(reg, ValueName(), FFileName);
  return true;
}

template <class F>
void TdkAutoRun::Change(F store) {
  // While loading, Loaded writes the entry once all values are in.
  if (HasState(csLoading | csReading)) {
    store();
    return;
  }
  Remove();
  store();
  Apply();
}

void TdkAutoRun::SetAutoRun(bool Value) {
  if (Value != FAutoRun) Change([&] { FAutoRun = Value; });
}

void TdkAutoRun::SetFileName(const AnsiString& Value) {
  if (Value != FFileName) Change([&] { FFileName = Value; });
}

void TdkAutoRun::SetKind(TdkAutoExecKind Value) {
  if (Value != FKind) Change([&] { FKind = Value; });
}

void TdkAutoRun::Loaded() {
  TdkComponent::Loaded();
  Apply();
}
