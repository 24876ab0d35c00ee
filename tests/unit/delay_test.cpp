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

TEST_F(DelayTest, NegativeWaitsReturnAtOnce) {
  EXPECT_LE(Elapsed(-5), 2);
  EXPECT_TRUE(sim_clock::state.sleeps_ms.empty());
}

}  // namespace
