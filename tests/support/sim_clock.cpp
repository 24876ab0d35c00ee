#include "sim_clock.h"

#include "platform/clock.h"

namespace sim_clock {
State state;
}

namespace platform {

int64_t ClockTicks() { return sim_clock::state.ticks++; }

int64_t ClockFrequency() { return sim_clock::kTicksPerSecond; }

void SleepMilliseconds(uint32_t milliseconds) {
  sim_clock::state.sleeps_ms.push_back(milliseconds);
  sim_clock::state.ticks += static_cast<int64_t>(milliseconds) * sim_clock::kTicksPerSecond / 1000;
}

}  // namespace platform
