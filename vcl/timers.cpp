#include "vcl/timers.h"

#include "vcl/typinfo.h"
#include "vcl/utilwnd.h"

namespace {
// Forms keep their timers' settings and handlers in their descriptions.
const std::vector<TPropInfo>& TimerProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TTimer>()
      .Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true)
      .Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000)
      .Property("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer)
      .Table();
  return table;
}
}  // namespace

VCL_CLASS_IMPL(TTimer, TComponent, &CreateComponentOf<TTimer>, &TimerProperties)

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* AOwner, bool Enabled) : TComponent(AOwner), FEnabled(Enabled) { UpdateTimer(); }

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindow);
}

void TTimer::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == FInterval) return;
  FInterval = ms;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FWindow) KillTimer(FWindow, kTimerId);
  if (!FEnabled || FInterval == 0) return;
  if (!FWindow) FWindow = MakeWindow();
  if (!SetTimer(FWindow, kTimerId, FInterval, nullptr)) throw EOutOfResources("Not enough timers available");
}

HWND TTimer::MakeWindow() {
  return AllocateMessageHWnd([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (msg == WM_TIMER && wParam == kTimerId) {
      try {
        Timer();
      } catch (...) {
        if (ApplicationHandleException) ApplicationHandleException(this);
      }
      return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
  });
}

void TTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}
