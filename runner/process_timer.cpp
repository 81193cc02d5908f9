#include "runner/process_timer.h"

VCL_CLASS_IMPL(TProcessTimer, TTimer, nullptr, nullptr)

TProcessTimer::TProcessTimer(TComponent* AOwner) : TTimer(AOwner, false) {}

void TProcessTimer::Beginning() {
  SetInterval(1000);
  FSinceBeginning.store(0);
  FSinceLastOutput.store(0);
  SetEnabled(true);
}

void TProcessTimer::Ending() { SetEnabled(false); }

void TProcessTimer::Timer() {
  FSinceBeginning.fetch_add(1, std::memory_order_relaxed);
  FSinceLastOutput.fetch_add(1, std::memory_order_relaxed);
  TTimer::Timer();
}
