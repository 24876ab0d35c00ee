// The power-up as a host sees it: the real module, loaded by path, writing
// through a port library found by the platform loader, in real time.
#include <gtest/gtest.h>

#include "module_fixture.h"
#include "power_up_check.h"

namespace {

class PowerUpModuleTest : public ModuleTest {
 protected:
  void ExpectPowerUp(int rows, const char* parameters, int32_t base,
                     const std::vector<PowerUpStep>& steps) {
    InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
    const int64_t called_ns = NowNs();
    EXPECT_EQ(Init(20, rows, parameters), "HD66712 Display v1.0.4.21");
    const int64_t returned_ns = NowNs();
    EXPECT_EQ(ok_, 1);
    const std::vector<PortWriteRecord> writes = ReadWrites();
    ASSERT_FALSE(writes.empty());
    EXPECT_GE(writes.front().ns - called_ns, 1000 * kMillisecond);
    EXPECT_GE(ShortestGapNs(writes), 40 * kMicrosecond);
    const std::vector<DecodedCycle> cycles = ReadCycles(base);
    EXPECT_EQ(cycles.size(), steps.size());
    EXPECT_TRUE(MatchesPowerUp(cycles, steps, returned_ns));
  }
};

TEST_F(PowerUpModuleTest, Hd66712FourRows) {
  ExpectPowerUp(4, "LPT1,HD66712", 0x378, Hd66712FourRowPowerUp());
}

TEST_F(PowerUpModuleTest, Hd66712TwoRows) {
  ExpectPowerUp(2, "LPT2,HD66712", 0x278, Hd66712TwoRowPowerUp());
}

TEST_F(PowerUpModuleTest, Hd44780) { ExpectPowerUp(4, "0x3BC,HD44780", 0x3BC, Hd44780PowerUp()); }

TEST_F(PowerUpModuleTest, Hd44780OneRow) {
  ExpectPowerUp(1, "LPT1,HD44780", 0x378, Hd44780OneRowPowerUp());
}

}  // namespace
