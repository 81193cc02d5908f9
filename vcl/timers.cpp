#include "vcl/timers.h"

#include "vcl/utilwnd.h"

VCL_CLASS_IMPL(TTimer, TComponent, &CreateComponentOf<TTimer>, nullptr)

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindow = AllocateHWnd([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
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
  UpdateTimer();
}

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
  KillTimer(FWindow, kTimerId);
  if (FEnabled && FInterval != 0 && !SetTimer(FWindow, kTimerId, FInterval, nullptr))
    throw EOutOfResources("Not enough timers available");
}

void TTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}
