// Checks a decoded power-up against the instructions and the waits that must
// follow each of them.
#ifndef TESTS_SUPPORT_POWER_UP_CHECK_H
#define TESTS_SUPPORT_POWER_UP_CHECK_H

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "bus_trace.h"

struct PowerUpStep {
  uint8_t instruction;
  int64_t wait_after_us;  // beyond the 40 us that follows every port write
};

// The four power-up shapes the driver knows.
std::vector<PowerUpStep> Hd66712FourRowPowerUp();
std::vector<PowerUpStep> Hd66712TwoRowPowerUp();
std::vector<PowerUpStep> Hd44780PowerUp();
std::vector<PowerUpStep> Hd44780OneRowPowerUp();

// `cycles` must start with the power-up; `done_ns` is when the call returned.
::testing::AssertionResult MatchesPowerUp(const std::vector<DecodedCycle>& cycles,
                                          const std::vector<PowerUpStep>& steps, int64_t done_ns);

#endif  // TESTS_SUPPORT_POWER_UP_CHECK_H
