// The hourglass while a long folder operation runs; the cursor before it comes back on
// every way out.
#pragma once

#include <windows.h>

class THourglass {
 public:
  THourglass() : FPrevious(SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
  ~THourglass() { SetCursor(FPrevious); }
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;

 private:
  HCURSOR FPrevious;
};
