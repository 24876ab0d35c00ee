// A virtual clock behind the platform clock seam: the counter moves one
// microsecond per read and a sleep moves it by the time slept, so waits of
// any length cost no real time.
#ifndef TESTS_SUPPORT_SIM_CLOCK_H
#define TESTS_SUPPORT_SIM_CLOCK_H

#include <cstdint>
#include <vector>

namespace sim_clock {

constexpr int64_t kTicksPerSecond = 1000000;

struct State {
  int64_t ticks = 0;
  std::vector<uint32_t> sleeps_ms;
};

extern State state;

inline int64_t NowNs() { return state.ticks * (1000000000 / kTicksPerSecond); }

}  // namespace sim_clock

#endif  // TESTS_SUPPORT_SIM_CLOCK_H
