// The monotonic clock that stamps port writes, in the port libraries that
// record them and in the tests that read the records back.
#ifndef PORT_ABI_STEADY_NANOSECONDS_H
#define PORT_ABI_STEADY_NANOSECONDS_H

#include <chrono>
#include <cstdint>

inline int64_t SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

#endif  // PORT_ABI_STEADY_NANOSECONDS_H
