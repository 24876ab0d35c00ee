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

std::time_t WallClockSeconds() { return std::time(nullptr); }

}  // namespace platform
