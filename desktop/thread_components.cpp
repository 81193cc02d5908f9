#include "desktop/thread_components.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

namespace {

const std::vector<TPropInfo>& ThreadComponentProperties() {
  using T = TdkThreadComponent;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Priority", &T::Priority, &T::SetPriority).Default(tpNormal)
      .Property("ReturnValue", &T::ReturnValue, &T::SetReturnValue).Default(0)
      .Property("Suspended", &T::Suspended, &T::SetSuspended).Default(true)
      .Property("Synchronized", &T::Synchronized, &T::SetSynchronized).Default(false)
      .Property("OnException", &T::OnException)
      .Property("OnExecute", &T::OnExecute)
      .Property("OnTerminate", &T::OnTerminate)
      .Property("OnFinish", &T::OnFinish)
      .Table();
  return table;
}

const std::vector<TPropInfo>& ThreadTimerProperties() {
  using T = TdkThreadTimer;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Interval", &T::Interval, &T::SetInterval).Default(1000u)
      .Property("Priority", &T::Priority, &T::SetPriority).Default(tpNormal)
      .Property("Synchronized", &T::Synchronized, &T::SetSynchronized).Default(false)
      .Property("OnTimer", &T::OnTimer, &T::SetOnTimer)
      .Property("Enabled", &T::Enabled, &T::SetEnabled).Default(false)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomThreadComponent, TdkComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TdkThreadComponent, TdkCustomThreadComponent, &CreateComponentOf<TdkThreadComponent>,
               &ThreadComponentProperties)
VCL_CLASS_IMPL(TdkCustomThreadTimer, TdkCustomThreadComponent, nullptr, nullptr)
VCL_CLASS_IMPL(TdkThreadTimer, TdkCustomThreadTimer, &CreateComponentOf<TdkThreadTimer>, &ThreadTimerProperties)

AnsiString ExceptionClassName(const std::exception& E) {
  const char* mangled = typeid(E).name();
  int status = 0;
  char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  AnsiString name = status == 0 && plain ? plain : mangled;
  std::free(plain);
  return name;
}

AnsiString ThreadExceptionText(const AnsiString& ComponentName, std::exception_ptr E) {
  AnsiString cls = "Exception", message;
  try {
    if (E) std::rethrow_exception(E);
  } catch (const std::exception& e) {
    cls = ExceptionClassName(e);
    message = e.what();
  } catch (...) {
    message = "Unknown exception";
  }
  return Format("Thread %s raised exception class %s with message \"%s\".", ComponentName.c_str(), cls.c_str(),
                message.c_str());
}

// --- thread component -----------------------------------------------------------

TdkCustomThreadComponent::TdkCustomThreadComponent(TComponent* AOwner) : TdkComponent(AOwner) {
  if (AtRunTime()) InstallThread(CreateThread());
}

TdkCustomThreadComponent::TdkCustomThreadComponent(TComponent* AOwner, TNoWorker) : TdkComponent(AOwner) {}

TdkCustomThreadComponent::~TdkCustomThreadComponent() { DestroyThread(); }

TdkEventThread* TdkCustomThreadComponent::CreateThread() {
  auto* worker = new TdkEventThread(true);
  worker->SetOnExecute([this](TObject*) { Execute(); });
  return worker;
}

void TdkCustomThreadComponent::InstallThread(TdkEventThread* Worker) {
  Worker->SetPriority(FPriority);
  Worker->Synchronized.store(FSynchronized);
  Worker->OnTerminate = [this](TObject* Sender) {
    if (OnTerminate) OnTerminate(Sender);
  };
  Worker->OnFinish = [this](TObject* Sender) {
    if (OnFinish) OnFinish(Sender);
  };
  FThread = Worker;
}

void TdkCustomThreadComponent::DestroyThread() {
  if (!FThread) return;
  TdkEventThread* worker = FThread;
  worker->SetOnExecute(nullptr);
  worker->Terminate();
  if (worker->IsSuspended()) worker->SetSuspended(false);
  delete worker;  // waits for it, running its synchronised calls meanwhile
  FThread = nullptr;
}

void TdkCustomThreadComponent::Loaded() {
  TdkComponent::Loaded();
  if (ActsOnThread()) FThread->SetSuspended(FSuspended);
}

TThreadPriority TdkCustomThreadComponent::Priority() const {
  return FThread && AtRunTime() ? FThread->Priority() : FPriority;
}

void TdkCustomThreadComponent::SetPriority(TThreadPriority Value) {
  FPriority = Value;
  if (FThread && AtRunTime()) FThread->SetPriority(Value);
}

int TdkCustomThreadComponent::ReturnValue() const { return FThread && AtRunTime() ? FThread->ReturnValue : FReturnValue; }

void TdkCustomThreadComponent::SetReturnValue(int Value) {
  FReturnValue = Value;
  if (FThread && AtRunTime()) FThread->ReturnValue = Value;
}

bool TdkCustomThreadComponent::Suspended() const {
  return FThread && AtRunTime() ? FThread->IsSuspended() : FSuspended;
}

void TdkCustomThreadComponent::SetSuspended(bool Value) {
  FSuspended = Value;
  if (ActsOnThread()) FThread->SetSuspended(Value);
}

bool TdkCustomThreadComponent::Synchronized() const {
  return FThread && AtRunTime() ? FThread->Synchronized.load() : FSynchronized;
}

void TdkCustomThreadComponent::SetSynchronized(bool Value) {
  FSynchronized = Value;
  if (FThread && AtRunTime()) FThread->Synchronized.store(Value);
}

void TdkCustomThreadComponent::Execute() {
  try {
    if (OnExecute) OnExecute(this);
  } catch (...) {
    SynchronizeEx([this](std::exception_ptr E) { HandleException(E); }, std::current_exception());
  }
}

void TdkCustomThreadComponent::HandleException(std::exception_ptr E) {
  if (OnException) {
    try {
      std::rethrow_exception(E);
    } catch (const std::exception& e) {
      OnException(this, e);
    } catch (...) {
      OnException(this, Exception("Unknown exception"));
    }
    return;
  }
  const AnsiString text = ThreadExceptionText(Name(), E);
  const AnsiString title = Application ? Application->Title() : AnsiString();
  MessageBoxExA(Application ? Application->Handle() : nullptr, text.c_str(), title.c_str(),
                MB_ICONERROR | MB_SETFOREGROUND, 0);
}

void TdkCustomThreadComponent::Synchronize(const std::function<void()>& Method) {
  if (FThread) FThread->Synchronize(Method);
}

void TdkCustomThreadComponent::SynchronizeEx(const TdkThreadMethodEx& Method, std::exception_ptr Argument) {
  if (HasState(csDesigning) || FSyncPending || !FThread) return;
  FSyncPending = true;
  try {
    FThread->Synchronize([&] { Method(Argument); });
  } catch (...) {
    // What the main thread raised stays there: the worker has nobody to tell.
  }
  FSyncPending = false;
}

void TdkCustomThreadComponent::Restart() {
  if (!AtRunTime()) return;
  TdkEventThread* old = FThread;
  if (old) {
    FPriority = old->Priority();
    FSynchronized = old->Synchronized.load();
  }
  InstallThread(CreateThread());
  if (old) {
    // The old worker is asked to end and given time to do so, running its synchronised
    // calls meanwhile; it stays silent, the new worker now speaks for the component.
    old->SetOnExecute(nullptr);
    old->OnTerminate = nullptr;
    old->OnFinish = nullptr;
    old->Terminate();
    if (old->IsSuspended()) old->SetSuspended(false);
    if (old->WaitFor(RestartTimeoutMs)) {
      delete old;
    } else {
      // Last resort. Its object is left alone: a thread killed at an unknown point may have
      // held a lock its destructor would wait for.
      old->DropSynchronize();
      TerminateThread(old->Handle(), 0);
      WaitForSingleObject(old->Handle(), RestartTimeoutMs);
    }
  }
  FSuspended = false;
  FThread->SetSuspended(false);
}

// --- thread timer ------------------------------------------------------------------

TdkCustomThreadTimer::TdkCustomThreadTimer(TComponent* AOwner) : TdkCustomThreadComponent(AOwner, TNoWorker{}) {
  if (AtRunTime()) InstallThread(CreateThread());
}

TdkCustomThreadTimer::~TdkCustomThreadTimer() { SetEnabled(false); }

TdkEventThread* TdkCustomThreadTimer::CreateThread() {
  auto* worker = new TdkTimerThread(true);
  worker->SetInterval(FInterval);
  worker->SetOnExecute([this](TObject*) { Execute(); });
  return worker;
}

unsigned TdkCustomThreadTimer::Interval() const {
  auto* timer = dynamic_cast<TdkTimerThread*>(FThread);
  return timer && AtRunTime() ? timer->Interval() : FInterval;
}

void TdkCustomThreadTimer::SetInterval(unsigned Value) {
  FInterval = Value;
  if (auto* timer = dynamic_cast<TdkTimerThread*>(FThread); timer && AtRunTime()) timer->SetInterval(Value);
}
