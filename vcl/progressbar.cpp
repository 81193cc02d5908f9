#include "vcl/progressbar.h"

#include <commctrl.h>

#include <algorithm>

#include "vcl/comctrls_common.h"
#include "vcl/streaming.h"

namespace {

const char* const kRangeError = "Progress bar range %d..%d is empty";

const std::vector<TPropInfo>& ProgressBarProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TProgressBar>()
      .Property("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0)
      .Property("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100)
      .Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0)
      .Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false)
      .Property("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TProgressBar, TWinControl, &CreateComponentOf<TProgressBar>, &ProgressBarProperties)

void RegisterProgressBar() { RegisterClasses({TProgressBar::StaticClass()}); }

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& Params) {
  InitCommonControlsOnce();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, PROGRESS_CLASSA);
  if (FSmooth) Params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = WindowHandle();
  SendMessageA(wnd, PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
  SendMessageA(wnd, PBM_SETSTEP, static_cast<WPARAM>(FStep), 0);
  SendMessageA(wnd, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetRange(int AMin, int AMax) {
  // While a description is read the ends arrive one at a time.
  if (AMax < AMin && !HasState(csLoading)) throw EInvalidOperation(Format(kRangeError, AMin, AMax));
  FMin = AMin;
  FMax = AMax;
  if (FMin <= FMax) FPosition = std::clamp(FPosition, FMin, FMax);
  if (HandleAllocated()) {
    SendMessageA(WindowHandle(), PBM_SETRANGE32, static_cast<WPARAM>(FMin), static_cast<LPARAM>(FMax));
    SendMessageA(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
  }
}

void TProgressBar::SetMin(int Value) { SetRange(Value, FMax); }
void TProgressBar::SetMax(int Value) { SetRange(FMin, Value); }

int TProgressBar::Position() const {
  if (HandleAllocated()) return static_cast<int>(SendMessageA(WindowHandle(), PBM_GETPOS, 0, 0));
  return FPosition;
}

void TProgressBar::SetPosition(int Value) {
  FPosition = FMin <= FMax ? std::clamp(Value, FMin, FMax) : Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetStep(int Value) {
  FStep = Value;
  if (HandleAllocated()) SendMessageA(WindowHandle(), PBM_SETSTEP, static_cast<WPARAM>(Value), 0);
}

void TProgressBar::StepIt() { StepBy(FStep); }

void TProgressBar::StepBy(int Delta) {
  int next = Position() + Delta;
  if (FMax > FMin && next > FMax) next = FMin + (next - FMin) % (FMax - FMin);
  SetPosition(next);
}

void TProgressBar::SetSmooth(bool Value) {
  if (FSmooth == Value) return;
  FSmooth = Value;
  RecreateWnd();
}
