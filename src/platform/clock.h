// The high-resolution counter and the millisecond sleep that pace the bus,
// and the wall clock that stamps the log. The unit tests link a simulated
// clock in its place (tests/support/sim_clock.cpp): virtual time that sleeps
// advance, read by read, so second-long power-ups cost no test time.
#ifndef PLATFORM_CLOCK_H
#define PLATFORM_CLOCK_H

#include <cstdint>
#include <ctime>

namespace platform {

// Monotonic counter, in ticks of ClockFrequency() per second.
int64_t ClockTicks();
int64_t ClockFrequency();
void SleepMilliseconds(uint32_t milliseconds);
// Seconds since the epoch, as std::time gives them.
std::time_t WallClockSeconds();

}  // namespace platform

#endif  // PLATFORM_CLOCK_H
