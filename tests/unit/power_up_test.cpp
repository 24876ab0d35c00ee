#include <gtest/gtest.h>

#include "displaydll.h"
#include "driver_fixture.h"
#include "fake_port_libraries.h"
#include "power_up_check.h"
#include "sim_clock.h"

namespace {

class PowerUpTest : public DriverTest {
 protected:
  void ExpectPowerUp(int rows, const char* parameters, const std::vector<PowerUpStep>& steps) {
    Init(20, rows, parameters);
    ASSERT_EQ(ok_, 1);
    ASSERT_FALSE(fake_ports::state.writes.empty());
    // The supply settles for a whole second before the first write.
    ASSERT_FALSE(sim_clock::state.sleeps_ms.empty());
    EXPECT_EQ(sim_clock::state.sleeps_ms.front(), 1000u);
    EXPECT_GE(fake_ports::state.writes.front().ns, 1000 * kMillisecond);
    EXPECT_GT(ShortestGapNs(fake_ports::state.writes), 40 * kMicrosecond);
    const std::vector<DecodedCycle> cycles = TakeCycles();
    EXPECT_EQ(cycles.size(), steps.size());
    EXPECT_TRUE(MatchesPowerUp(cycles, steps, sim_clock::NowNs()));
  }
};

struct PowerUpCase {
  const char* name;
  int rows;
  const char* parameters;
  std::vector<PowerUpStep> (*steps)();
};

// An HD66712 on one row still sets up its extension first, then uses the
// one-line function set.
std::vector<PowerUpStep> Hd66712OneRowPowerUp() {
  std::vector<PowerUpStep> steps = Hd66712TwoRowPowerUp();
  for (int i = 3; i < 7; ++i) steps[i].instruction = 0x30;
  return steps;
}

void PrintTo(const PowerUpCase& c, std::ostream* out) { *out << c.name; }

class PowerUpTableTest : public PowerUpTest, public ::testing::WithParamInterface<PowerUpCase> {};

TEST_P(PowerUpTableTest, SendsTheSequenceForTheChipAndRows) {
  ExpectPowerUp(GetParam().rows, GetParam().parameters, GetParam().steps());
}

INSTANTIATE_TEST_SUITE_P(
    EveryShape, PowerUpTableTest,
    ::testing::Values(
        PowerUpCase{"Hd66712FourRowsSelectsFourLineMode", 4, "LPT1,HD66712", Hd66712FourRowPowerUp},
        PowerUpCase{"Hd66712TwoRowsLeavesFourLineModeOff", 2, "LPT1,HD66712", Hd66712TwoRowPowerUp},
        PowerUpCase{"Hd66712FiveRowsLeavesFourLineModeOff", 5, "LPT1,HD66712",
                    Hd66712TwoRowPowerUp},
        PowerUpCase{"Hd44780GetsNoExtendedInstructions", 4, "LPT1,HD44780", Hd44780PowerUp},
        PowerUpCase{"OneRowUsesOneLineFunctionSet", 1, "LPT1,HD44780", Hd44780OneRowPowerUp},
        PowerUpCase{"NoRowsCountAsOneRow", 0, "LPT1,HD44780", Hd44780OneRowPowerUp},
        PowerUpCase{"OneRowHd66712StillSetsUpItsExtensionFirst", 1, "LPT1,HD66712",
                    Hd66712OneRowPowerUp}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(PowerUpTest, PowerResumeRepeatsTheSequence) {
  Init(20, 4, "LPT1,HD44780");
  TakeCycles();
  const int64_t before = sim_clock::NowNs();
  DISPLAYDLL_PowerResume();
  const std::vector<DecodedCycle> cycles = TakeCycles();
  EXPECT_TRUE(MatchesPowerUp(cycles, Hd44780PowerUp(), sim_clock::NowNs()));
  ASSERT_FALSE(cycles.empty());
  EXPECT_GE(cycles.front().first_ns - before, 1000 * kMillisecond);
}

TEST_F(PowerUpTest, BytesGoToTheConfiguredPortWithSignWidenedValues) {
  Init(20, 4, "0x3BC,HD44780");
  ASSERT_EQ(ok_, 1);
  ASSERT_FALSE(fake_ports::state.writes.empty());
  const PortWriteRecord& first = fake_ports::state.writes.front();
  EXPECT_EQ(first.port, 0x3BE);
  EXPECT_EQ(first.value, 0x0B);
  // Port 0xFFFE: the control register wraps to 0x0000 in 16 bits, and the
  // data register's address reaches the library widened with its sign.
  fake_ports::state.writes.clear();
  Init(20, 4, "0xFFFE,HD44780");
  ASSERT_GE(fake_ports::state.writes.size(), 2u);
  EXPECT_EQ(fake_ports::state.writes[0].port, 0);
  EXPECT_EQ(fake_ports::state.writes[1].port, -2);
}

}  // namespace
