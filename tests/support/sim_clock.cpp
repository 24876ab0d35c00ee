#include "sim_clock.h"

#include "platform/clock.h"

namespace sim_clock {
State state;
}

namespace platform {

int64_t ClockTicks() {
  if (sim_clock::state.readings.empty()) return sim_clock::state.ticks++;
  sim_clock::state.ticks = sim_clock::state.readings.front();
  sim_clock::state.readings.pop_front();
  return sim_clock::state.ticks;
}

int64_t ClockFrequency() { return sim_clock::state.frequency; }

void SleepMilliseconds(uint32_t milliseconds) {
  sim_clock::state.sleeps_ms.push_back(milliseconds);
  sim_clock::state.ticks += static_cast<int64_t>(milliseconds) * sim_clock::state.frequency / 1000;
}

std::time_t WallClockSeconds() { return sim_clock::state.wall_seconds; }

}  // namespace platform
