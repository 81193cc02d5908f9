// The one-second timer that measures a run for the runner's time-outs.
#pragma once

#include <atomic>

#include "vcl/timers.h"

class TProcessTimer : public TTimer {
  VCL_CLASS(TProcessTimer)
 public:
  // Created disabled.
  explicit TProcessTimer(TComponent* AOwner);

  // Seconds (ticks) since the run began and since its last output. Read by the worker
  // without a lock: a reading one tick late is good enough.
  int SinceBeginning() const { return FSinceBeginning.load(std::memory_order_relaxed); }
  int SinceLastOutput() const { return FSinceLastOutput.load(std::memory_order_relaxed); }

  // Main thread (SetTimer works on the timer window's thread only).
  void Beginning();
  void Ending();
  // Any thread.
  void NewOutput() { FSinceLastOutput.store(0, std::memory_order_relaxed); }

 protected:
  void Timer() override;

 private:
  std::atomic<int> FSinceBeginning{0};
  std::atomic<int> FSinceLastOutput{0};
};
