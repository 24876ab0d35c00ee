#include <errno.h>
#include <time.h>

#include "platform/clock.h"

namespace platform {

namespace {
constexpr int64_t kNanosecondsPerSecond = 1000000000;
}

int64_t ClockTicks() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

int64_t ClockFrequency() { return kNanosecondsPerSecond; }

void SleepMilliseconds(uint32_t milliseconds) {
  timespec remaining{static_cast<time_t>(milliseconds / 1000),
                     static_cast<long>(milliseconds % 1000) * 1000000L};
  // A signal must not cut a controller wait short.
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

std::time_t WallClockSeconds() { return std::time(nullptr); }

}  // namespace platform
