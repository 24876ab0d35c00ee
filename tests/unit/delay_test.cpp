#include <gtest/gtest.h>

#include "driver_fixture.h"
#include "lcd/controller_link.h"
#include "sim_clock.h"

namespace {

using DelayTest = DriverTest;

// Virtual microseconds that DelayUs(us) took.
int64_t Elapsed(int32_t us) {
  const int64_t before = sim_clock::state.ticks;
  DelayUs(us);
  return sim_clock::state.ticks - before;
}

TEST_F(DelayTest, ShortWaitsSpinStrictlyPastTheTargetWithoutSleeping) {
  for (int32_t us : {0, 1, 40, 100, 1000}) {
    const int64_t elapsed = Elapsed(us);
    EXPECT_GT(elapsed, us) << us;
    // The spin stops at the first read past the target.
    EXPECT_LE(elapsed, us + 2) << us;
  }
  EXPECT_TRUE(sim_clock::state.sleeps_ms.empty());
}

TEST_F(DelayTest, LongWaitsSleepWholeMillisecondsThatCountTowardTheWait) {
  EXPECT_GT(Elapsed(1001), 1001);
  EXPECT_LE(Elapsed(4100), 4102);
  EXPECT_GT(Elapsed(1600), 1600);
  EXPECT_EQ(sim_clock::state.sleeps_ms, (std::vector<uint32_t>{1, 4, 1}));
}

// The counter reads that end a wait: the target in ticks (worked out by hand
// from microseconds x frequency / 10^6, truncated) must be strictly passed.
struct ScriptedWait {
  int32_t us;
  int64_t frequency;
  int64_t target_ticks;
  std::vector<uint32_t> sleeps_ms;
};

TEST_F(DelayTest, StopsAtTheFirstReadingStrictlyPastTheTarget) {
  const ScriptedWait waits[] = {
      {0, 1000000, 0, {}},
      {40, 3579545, 143, {}},  // the ACPI timer's rate: 143.18 ticks
      {1000, 10000000, 10000, {}},
      {1001, 10000000, 10010, {1}},
      {4100, 3579545, 14676, {4}},
      // Beyond 32 bits on the way: 1600 x 24 MHz.
      {1600, 24000000, 38400, {1}},
      {2000000, 3000000000, 6000000000, {2000}},
  };
  constexpr int64_t kStart = 5000;
  constexpr int64_t kUnread = 987654321;
  for (const ScriptedWait& wait : waits) {
    sim_clock::state.frequency = wait.frequency;
    sim_clock::state.sleeps_ms.clear();
    sim_clock::state.readings = {kStart, kStart + wait.target_ticks, kStart + wait.target_ticks + 1,
                                 kUnread};
    DelayUs(wait.us);
    // Reaching the target is not enough; the reading past it ends the wait.
    EXPECT_EQ(sim_clock::state.readings, std::deque<int64_t>{kUnread}) << wait.us;
    EXPECT_EQ(sim_clock::state.sleeps_ms, wait.sleeps_ms) << wait.us;
  }
}

TEST_F(DelayTest, EachWriteOfABusCycleIsHeldStrictlyPastFortyMicroseconds) {
  Init(20, 4, "LPT1,HD44780");
  // Four waits, each ended only by the reading one tick past 40 us.
  constexpr int64_t kUnread = 987654321;
  sim_clock::state.readings.clear();
  for (int64_t start : {0, 100, 200, 300}) {
    for (int64_t offset : {0, 40, 41}) sim_clock::state.readings.push_back(start + offset);
  }
  sim_clock::state.readings.push_back(kUnread);
  WriteD('A');
  EXPECT_EQ(sim_clock::state.readings, std::deque<int64_t>{kUnread});
}

TEST_F(DelayTest, NegativeWaitsReturnAtOnce) {
  EXPECT_LE(Elapsed(-5), 2);
  EXPECT_TRUE(sim_clock::state.sleeps_ms.empty());
}

}  // namespace
