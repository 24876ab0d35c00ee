// The high-resolution counter and the millisecond sleep that pace the bus.
#ifndef PLATFORM_CLOCK_H
#define PLATFORM_CLOCK_H

#include <cstdint>

namespace platform {

// Monotonic counter, in ticks of ClockFrequency() per second.
int64_t ClockTicks();
int64_t ClockFrequency();
void SleepMilliseconds(uint32_t milliseconds);

}  // namespace platform

#endif  // PLATFORM_CLOCK_H
