// A virtual clock behind the platform clock seam. By default the counter
// moves one microsecond per read and a sleep moves it by the time slept, so
// waits of any length cost no real time. A test that must see exactly when
// a wait stops scripts the readings instead, and may set another frequency.
#ifndef TESTS_SUPPORT_SIM_CLOCK_H
#define TESTS_SUPPORT_SIM_CLOCK_H

#include <cstdint>
#include <ctime>
#include <deque>
#include <vector>

namespace sim_clock {

constexpr int64_t kTicksPerSecond = 1000000;

struct State {
  int64_t ticks = 0;
  int64_t frequency = kTicksPerSecond;
  // Each counter read takes the next of these while any are left.
  std::deque<int64_t> readings;
  std::vector<uint32_t> sleeps_ms;
  // What the wall clock says, for the log's time stamps.
  std::time_t wall_seconds = 0;
};

extern State state;

inline int64_t NowNs() { return state.ticks * (1000000000 / kTicksPerSecond); }

}  // namespace sim_clock

#endif  // TESTS_SUPPORT_SIM_CLOCK_H
