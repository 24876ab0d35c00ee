#include <gtest/gtest.h>

#include <cstring>

#include "displaydll.h"
#include "driver/driver_state.h"
#include "driver_fixture.h"
#include "fake_port_libraries.h"
#include "lcd/display_config.h"
#include "test_names.h"

namespace {

using Names = std::vector<std::string>;
using LifecycleTest = DriverTest;

TEST(DescribeTest, TextsAreFixedAndWorkBeforeStart) {
  EXPECT_STREQ(DISPLAYDLL_Usage(), "HD66712 usage: LPT1,HD66712,Log");
  EXPECT_STREQ(DISPLAYDLL_DefaultParameters(), "LPT1,HD66712");
  const char* name = DISPLAYDLL_DriverName();
  // The name as hosts know it, written out here only: the rest use kDriverName.
  EXPECT_STREQ(name, "HD66712 Display v1.0.4.21");
  EXPECT_EQ(std::strlen(name), 25u);
  EXPECT_EQ(DISPLAYDLL_DriverName(), name);
  EXPECT_STREQ(DISPLAYDLL_DriverName(), kDriverName);
}

TEST_F(LifecycleTest, SuccessReturnsTheDriverNameAndSetsTheFlag) {
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"), kDriverName);
  EXPECT_EQ(ok_, 1);
  EXPECT_TRUE(driver_state().initialised);
}

TEST_F(LifecycleTest, FailureClearsTheFlagAndKeepsTheConfiguration) {
  fake_ports::state.present["other.dll"] = {};
  EXPECT_EQ(Init(16, 2, "LPT2,HD44780"), "LoadLibrary for parallel port Failed");
  EXPECT_EQ(ok_, 0);
  EXPECT_TRUE(driver_state().initialised);
  EXPECT_EQ(display_config().width, 20);
  EXPECT_EQ(display_config().port_address, 0x378);
  EXPECT_EQ(display_config().chip_type, ChipType::HD66712);
}

TEST_F(LifecycleTest, RepeatedStartReconfiguresWithoutReloading) {
  Init(20, 4, "LPT1,HD66712");
  ok_ = 0;
  EXPECT_EQ(Init(16, 2, "LPT1,HD44780"), kDriverName);
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(fake_ports::state.loaded, Names{"inpout32.dll"});
  EXPECT_EQ(display_config().chip_type, ChipType::HD44780);
}

TEST_F(LifecycleTest, RepeatedStartAfterAFailureRetriesTheLoad) {
  fake_ports::state.present["other.dll"] = {};
  Init(20, 4, "LPT1,HD66712");
  ASSERT_EQ(ok_, 0);
  // Still no library: the failure is reported again, not success.
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"), "LoadLibrary for parallel port Failed");
  EXPECT_EQ(ok_, 0);
  EXPECT_TRUE(fake_ports::state.writes.empty());
  fake_ports::state.present["dlportio.dll"] = {};
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"), kDriverName);
  EXPECT_EQ(ok_, 1);
  EXPECT_FALSE(fake_ports::state.writes.empty());
}

TEST_F(LifecycleTest, RetryReleasesTheLibraryThatLackedAnEntry) {
  fake_ports::state.present["inpout32.dll"] = fake_ports::Library{true, false};
  Init(20, 4, "LPT1,HD66712");
  fake_ports::state.present["inpout32.dll"] = fake_ports::Library{};
  Init(20, 4, "LPT1,HD66712");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(fake_ports::state.released, Names{"inpout32.dll"});
}

TEST_F(LifecycleTest, DoneClearsReleasesAndTheNextStartLoadsAfresh) {
  Init(20, 4, "LPT1,HD66712");
  TakeCycles();
  DISPLAYDLL_Done();
  const std::vector<DecodedCycle> cycles = TakeCycles();
  ASSERT_EQ(cycles.size(), 1u);
  EXPECT_FALSE(cycles[0].data);
  EXPECT_EQ(cycles[0].byte, 0x01);
  EXPECT_EQ(fake_ports::state.released, Names{"inpout32.dll"});
  EXPECT_FALSE(driver_state().initialised);
  fake_ports::state.present["inpout32_debug.dll"] = {};
  Init(20, 4, "LPT1,HD66712,Log");
  EXPECT_EQ(fake_ports::state.loaded, (Names{"inpout32.dll", "inpout32_debug.dll"}));
  EXPECT_TRUE(driver_state().log_enabled);
}

TEST_F(LifecycleTest, MissingParametersReadAsEmptyAndAMissingFlagIsNotWritten) {
  EXPECT_STREQ(DISPLAYDLL_Init(20, 4, nullptr, nullptr), "LoadLibrary for parallel port Failed");
  fake_ports::state.present["inpout32.dll"] = {};
  EXPECT_STREQ(DISPLAYDLL_Init(20, 4, nullptr, nullptr), kDriverName);
  EXPECT_EQ(display_config().port_address, 0x378);
}

}  // namespace
