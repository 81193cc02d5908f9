// The framework's timer: ticks on the thread that created it (the main thread), through
// a hidden window's WM_TIMER, so its handler runs inside any message loop.
#pragma once

#include "vcl/classes.h"

class TTimer : public TComponent {
  VCL_CLASS(TTimer)
 public:
  // Enabled, as a timer of a form's description starts; a timer created disabled makes no
  // window until it is first armed.
  explicit TTimer(TComponent* AOwner, bool Enabled = true);
  ~TTimer() override;

  // The system timer exists only while the timer is enabled and the interval is not 0; its
  // window is made when it is first armed. SetTimer works on the window's own thread only:
  // change these on the main thread.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool v);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned ms);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent handler) { FOnTimer = std::move(handler); }

  // The window that receives the ticks; null until the timer is first armed.
  HWND WindowHandle() const { return FWindow; }

 protected:
  // One tick: calls OnTimer. Descendants that count ticks override it.
  virtual void Timer();

 private:
  void UpdateTimer();
  HWND MakeWindow();

  HWND FWindow = nullptr;
  unsigned FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
};
