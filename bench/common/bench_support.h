// What every benchmark measures with: the performance counter, read as seconds or
// milliseconds since an arbitrary start.
#pragma once

#include <windows.h>

inline double SecondsNow() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double MillisecondsNow() { return SecondsNow() * 1000.0; }
