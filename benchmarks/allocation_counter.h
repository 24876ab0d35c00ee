// Counts heap allocations made anywhere in the process, C and C++ alike.
#ifndef BENCHMARKS_ALLOCATION_COUNTER_H
#define BENCHMARKS_ALLOCATION_COUNTER_H

#include <cstdint>

int64_t AllocationCount();

#endif  // BENCHMARKS_ALLOCATION_COUNTER_H
