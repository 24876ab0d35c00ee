#include <windows.h>

#include "platform/clock.h"

namespace platform {

int64_t ClockTicks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

int64_t ClockFrequency() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

void SleepMilliseconds(uint32_t milliseconds) { Sleep(milliseconds); }

// The system time itself: the C runtime's time() also consults the time
// zone on every call, which under Wine costs several times a whole log line.
std::time_t WallClockSeconds() {
  constexpr int64_t kTicksPerSecond = 10000000;            // FILETIME counts 100 ns
  constexpr int64_t kUnixEpochTicks = 116444736000000000;  // 1601-01-01 to 1970-01-01
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const int64_t ticks =
      (static_cast<int64_t>(now.dwHighDateTime) << 32) | static_cast<int64_t>(now.dwLowDateTime);
  return static_cast<std::time_t>((ticks - kUnixEpochTicks) / kTicksPerSecond);
}

}  // namespace platform
