// A timer on its own hidden message window: ticks arrive as WM_TIMER on the thread that
// created it (the main thread). Descendants (the tray icon, the colour picker) extend its
// window procedure.
#pragma once

#include <windows.h>

#include "desktop/desktop_component.h"
#include "vcl/messages.h"

class TdkCustomTimer : public TdkComponent {
  VCL_CLASS(TdkCustomTimer)
 public:
  explicit TdkCustomTimer(TComponent* AOwner);
  ~TdkCustomTimer() override;

  // A system timer runs only while Enabled, Interval is not 0 and OnTimer is assigned.
  // Change them on the window's thread (SetTimer works there only).
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& Value);

  HWND WindowHandle() const { return FWindowHandle; }

 protected:
  // Kills the timer and sets it again when it should run; EOutOfResources "Not enough timers
  // available" when the system has none left.
  void UpdateTimer();
  // The message window's procedure: WM_TIMER runs Timer (an exception goes to the
  // application's handler); other messages go to DefWindowProc.
  virtual void WndProc(TMessage& Msg);
  // One tick: fires OnTimer.
  virtual void Timer();

 private:
  HWND FWindowHandle = nullptr;
  unsigned FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
};
