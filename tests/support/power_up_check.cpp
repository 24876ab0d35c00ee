#include "power_up_check.h"

#include <sstream>

namespace {
constexpr int64_t kWriteHoldNs = 40 * kMicrosecond;
}

std::vector<PowerUpStep> Hd66712FourRowPowerUp() {
  return {{0x3C, 4100}, {0x09, 0}, {0x38, 0},    {0x38, 4100}, {0x38, 100}, {0x38, 0},
          {0x38, 0},    {0x08, 0}, {0x01, 1600}, {0x0C, 0},    {0x06, 0},   {0x02, 1600}};
}

std::vector<PowerUpStep> Hd66712TwoRowPowerUp() {
  std::vector<PowerUpStep> steps = Hd66712FourRowPowerUp();
  steps[1].instruction = 0x08;
  return steps;
}

std::vector<PowerUpStep> Hd44780PowerUp() {
  return {{0x38, 4100}, {0x38, 100}, {0x38, 0}, {0x38, 0},   {0x08, 0},
          {0x01, 1600}, {0x0C, 0},   {0x06, 0}, {0x02, 1600}};
}

std::vector<PowerUpStep> Hd44780OneRowPowerUp() {
  std::vector<PowerUpStep> steps = Hd44780PowerUp();
  for (int i = 0; i < 4; ++i) steps[i].instruction = 0x30;
  return steps;
}

::testing::AssertionResult MatchesPowerUp(const std::vector<DecodedCycle>& cycles,
                                          const std::vector<PowerUpStep>& steps, int64_t done_ns) {
  if (cycles.size() < steps.size()) {
    return ::testing::AssertionFailure()
           << "only " << cycles.size() << " cycles for " << steps.size() << " instructions";
  }
  for (size_t i = 0; i < steps.size(); ++i) {
    std::ostringstream where;
    where << "instruction " << i << " (0x" << std::hex << int{steps[i].instruction} << ")";
    if (cycles[i].data || cycles[i].byte != steps[i].instruction) {
      return ::testing::AssertionFailure()
             << where.str() << ": got " << (cycles[i].data ? "data" : "instruction") << " 0x"
             << std::hex << int{cycles[i].byte};
    }
    const int64_t next_ns = i + 1 < cycles.size() ? cycles[i + 1].first_ns : done_ns;
    const int64_t needed_ns = kWriteHoldNs + steps[i].wait_after_us * kMicrosecond;
    if (next_ns - cycles[i].last_ns < needed_ns) {
      return ::testing::AssertionFailure()
             << where.str() << " followed by only " << (next_ns - cycles[i].last_ns) << " ns";
    }
  }
  return ::testing::AssertionSuccess();
}
