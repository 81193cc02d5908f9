// The pace at which a long loop on the main thread hands the window its messages: often
// enough that it answers at once to the eye, seldom enough that the loop does not pay for a
// round of messages (and a repaint) at every step.
#pragma once

#include <windows.h>

class TMessagePace {
 public:
  explicit TMessagePace(DWORD IntervalMs = 20) : FInterval(IntervalMs), FLast(GetTickCount()) {}
  // True once Interval milliseconds have passed since the last true (or the start).
  bool Due() {
    const DWORD now = GetTickCount();
    if (now - FLast < FInterval) return false;
    FLast = now;
    return true;
  }

 private:
  DWORD FInterval;
  DWORD FLast;
};
