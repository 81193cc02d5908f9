#include "desktop/custom_timer.h"

#include "vcl/typinfo.h"
#include "vcl/utilwnd.h"

namespace {

constexpr UINT_PTR kTimerId = 1;

const std::vector<TPropInfo>& TimerProperties() {
  using T = TdkCustomTimer;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("Enabled", &T::Enabled, &T::SetEnabled).Default(true)
      .Property("Interval", &T::Interval, &T::SetInterval).Default(1000u)
      .Property("OnTimer", &T::OnTimer, &T::SetOnTimer)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkCustomTimer, TdkComponent, nullptr, &TimerProperties)

TdkCustomTimer::TdkCustomTimer(TComponent* AOwner) : TdkComponent(AOwner) {
  FWindowHandle = AllocateMessageHWnd([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    FWindowHandle = wnd;  // known from the window's first message on
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
  });
}

TdkCustomTimer::~TdkCustomTimer() {
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);
  FWindowHandle = nullptr;
}

void TdkCustomTimer::SetInterval(unsigned Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TdkCustomTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TdkCustomTimer::SetOnTimer(const TNotifyEvent& Value) {
  FOnTimer = Value;
  UpdateTimer();
}

void TdkCustomTimer::UpdateTimer() {
  if (!FWindowHandle) return;
  KillTimer(FWindowHandle, kTimerId);
  if (FInterval != 0 && FEnabled && FOnTimer && !SetTimer(FWindowHandle, kTimerId, FInterval, nullptr))
    throw EOutOfResources("Not enough timers available");
}

void TdkCustomTimer::WndProc(TMessage& Msg) {
  if (Msg.Msg == WM_TIMER) {
    try {
      Timer();
    } catch (...) {
      if (ApplicationHandleException) ApplicationHandleException(this);
    }
    return;
  }
  Msg.Result = DefWindowProcA(FWindowHandle, Msg.Msg, Msg.WParam, Msg.LParam);
}

void TdkCustomTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}
