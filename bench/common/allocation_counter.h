// Counts every allocation of the program that includes it, so that a benchmark can say what
// one row or one line costs. Include it in exactly one file of a benchmark program: it
// replaces the global operator new and delete.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

inline std::atomic<long long> gAllocations{0};

void* operator new(size_t n) {
  ++gAllocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
