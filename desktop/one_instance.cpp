#include "desktop/one_instance.h"

#include "desktop/utility_routines.h"
#include "desktop/window_routines.h"
#include "vcl/application.h"
#include "vcl/typinfo.h"

namespace {

// The "Default" mutex of the first copy, held until the process ends.
struct TInstanceMutex {
  HANDLE Handle = nullptr;
  ~TInstanceMutex() { Release(); }
  void Release() {
    if (!Handle) return;
    ReleaseMutex(Handle);
    CloseHandle(Handle);
    Handle = nullptr;
  }
};

TInstanceMutex& InstanceMutex() {
  static TInstanceMutex mutex;
  return mutex;
}

AnsiString ProgramPathUpper() {
  char path[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return UpperCase(AnsiString(path, n));
}

const std::vector<TPropInfo>& OneInstanceProperties() {
  using T = TdkOneInstance;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("ActivatePrevInstance", &T::ActivatePrevInstance).Default(true)
      .Property("ExeNameAsIdentifier", &T::ExeNameAsIdentifier).Default(false)
      .Property("Identifier", &T::Identifier)
      .Property("Message", &T::Message)
      .Property("ShowMessage", &T::ShowMessage).Default(false)
      .Property("OnShowMessage", &T::OnShowMessage)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkOneInstance, TdkComponent, &CreateComponentOf<TdkOneInstance>, &OneInstanceProperties)

AnsiString AlreadyRunningText(const AnsiString& Title) {
  return Format("Application \"%s\" is already running.", Title.c_str());
}

void ReleaseOneInstance() { InstanceMutex().Release(); }

AnsiString TdkOneInstance::InstanceName() const {
  const AnsiString stem = ExeNameAsIdentifier ? ProgramPathUpper() : (Application ? Application->Title() : AnsiString());
  AnsiString name = stem + Identifier + ".OneInstance.";
  ReplaceChar(name, '\\', '/');
  return name;
}

bool TdkOneInstance::AlreadyExists() {
  if (HasState(csDesigning)) return false;
  bool exists = true;
  const AnsiString name = InstanceName();
  // The first mutex keeps two copies starting at once from both taking the second.
  HANDLE critical = CreateMutexA(nullptr, TRUE, (name + "CriticalSection").c_str());
  const DWORD created = GetLastError();
  if (critical && created == 0) {
    TInstanceMutex& instance = InstanceMutex();
    if (!instance.Handle) instance.Handle = CreateMutexA(nullptr, FALSE, (name + "Default").c_str());
    exists = instance.Handle && WaitForSingleObject(instance.Handle, 0) == WAIT_TIMEOUT;
  }
  if (critical) {
    ReleaseMutex(critical);
    CloseHandle(critical);
  }
  return exists;
}

bool TdkOneInstance::Check() {
  if (!AlreadyExists()) return false;
  FTerminating = true;
  const bool showMainForm = Application ? Application->ShowMainForm : true;
  if (Application) Application->ShowMainForm = false;
  if (ShowMessage) DoShowMessage();
  if (ActivatePrevInstance) ActivatePreviousInstance();
  if (FTerminating) {
    if (Application) Application->Terminate();
  } else if (Application) {
    Application->ShowMainForm = showMainForm;
  }
  return true;
}

void TdkOneInstance::Loaded() {
  TdkComponent::Loaded();
  Check();
}

void TdkOneInstance::DoShowMessage() {
  if (OnShowMessage) {
    OnShowMessage(this, FTerminating);
    return;
  }
  const AnsiString title = Application ? Application->Title() : AnsiString();
  const AnsiString text = Message.empty() ? AlreadyRunningText(title) : Message;
  MessageBoxExA(Application ? Application->Handle() : nullptr, text.c_str(), title.c_str(), MB_ICONWARNING, 0);
}

void TdkOneInstance::ActivatePreviousInstance() { ::ActivatePreviousInstance(); }
