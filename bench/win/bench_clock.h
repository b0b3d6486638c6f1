#pragma once
// The benchmarks' clock: QueryPerformanceCounter in milliseconds.

#include <windows.h>

inline double nowMs() {
  static const double msPerTick = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 / static_cast<double>(frequency.QuadPart);
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * msPerTick;
}
