// What every stand-in port I/O library shares: entries exported under their
// plain names with the calling convention the driver uses for them, and the
// monotonic clock that stamps the writes it receives.
#ifndef PORT_ABI_PORT_LIBRARY_ABI_H
#define PORT_ABI_PORT_LIBRARY_ABI_H

#include <chrono>
#include <cstdint>

#if defined(_WIN32)
#define PORT_LIBRARY_EXPORT extern "C" __declspec(dllexport)
#define PORT_LIBRARY_ENTRY __stdcall
#else
#define PORT_LIBRARY_EXPORT extern "C" __attribute__((visibility("default")))
#define PORT_LIBRARY_ENTRY
#endif

inline int64_t SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

#endif  // PORT_ABI_PORT_LIBRARY_ABI_H
