// The power-up as a host sees it: the real module, loaded by path, writing
// through a port library found by the platform loader, in real time.
#include <gtest/gtest.h>

#include "module_fixture.h"
#include "power_up_check.h"
#include "test_names.h"

namespace {

struct PowerUpCase {
  const char* name;
  int rows;
  const char* parameters;
  int32_t base;
  std::vector<PowerUpStep> (*steps)();
};

// gtest would otherwise print the case's raw bytes, padding included.
void PrintTo(const PowerUpCase& c, std::ostream* out) { *out << c.name; }

class PowerUpModuleTest : public ModuleTest, public ::testing::WithParamInterface<PowerUpCase> {};

TEST_P(PowerUpModuleTest, FollowsTheDatasheetsSequence) {
  const PowerUpCase& c = GetParam();
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  const int64_t called_ns = NowNs();
  EXPECT_EQ(Init(20, c.rows, c.parameters), kDriverName);
  const int64_t returned_ns = NowNs();
  EXPECT_EQ(ok_, 1);
  const std::vector<PortWriteRecord> writes = ReadWrites();
  ASSERT_FALSE(writes.empty());
  EXPECT_GE(writes.front().ns - called_ns, 1000 * kMillisecond);
  EXPECT_GE(ShortestGapNs(writes), 40 * kMicrosecond);
  const std::vector<DecodedCycle> cycles = ReadCycles(c.base);
  const std::vector<PowerUpStep> steps = c.steps();
  EXPECT_EQ(cycles.size(), steps.size());
  EXPECT_TRUE(MatchesPowerUp(cycles, steps, returned_ns));
}

INSTANTIATE_TEST_SUITE_P(
    EachChipAndSize, PowerUpModuleTest,
    ::testing::Values(PowerUpCase{"Hd66712FourRows", 4, "LPT1,HD66712", 0x378,
                                  Hd66712FourRowPowerUp},
                      PowerUpCase{"Hd66712TwoRows", 2, "LPT2,HD66712", 0x278, Hd66712TwoRowPowerUp},
                      PowerUpCase{"Hd44780", 4, "0x3BC,HD44780", 0x3BC, Hd44780PowerUp},
                      PowerUpCase{"Hd44780OneRow", 1, "LPT1,HD44780", 0x378, Hd44780OneRowPowerUp}),
    [](const ::testing::TestParamInfo<PowerUpCase>& row) { return std::string(row.param.name); });

}  // namespace
