#include <gtest/gtest.h>

#include "driver/driver_state.h"
#include "driver_fixture.h"
#include "hd66712_parameters.h"
#include "lcd/display_config.h"
#include "test_names.h"

namespace {

struct ParameterCase {
  const char* parameters;
  uint16_t port;
  ChipType chip;  // starting from the load-time HD66712
  bool logging;
};

// gtest would otherwise print the case's raw bytes, padding included.
void PrintTo(const ParameterCase& c, std::ostream* out) { *out << c.parameters; }

class StartupParameterTest : public DriverTest,
                             public ::testing::WithParamInterface<ParameterCase> {};

TEST_P(StartupParameterTest, SelectsPortChipAndLogging) {
  const ParameterCase& expected = GetParam();
  Init(20, 4, expected.parameters);
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(display_config().port_address, expected.port);
  EXPECT_EQ(display_config().chip_type, expected.chip);
  EXPECT_EQ(driver_state().log_enabled, expected.logging);
}

constexpr ChipType k66712 = ChipType::HD66712;
constexpr ChipType k44780 = ChipType::HD44780;

INSTANTIATE_TEST_SUITE_P(Cases, StartupParameterTest,
                         ::testing::Values(ParameterCase{"LPT1,HD66712", 0x378, k66712, false},
                                           ParameterCase{"LPT2,HD44780", 0x278, k44780, false},
                                           ParameterCase{"LPT3,HD66712", 0x378, k66712, false},
                                           ParameterCase{"LPT 2,HD44780", 0x278, k44780, false},
                                           ParameterCase{"LPT+2", 0x278, k66712, false},
                                           ParameterCase{"0x3BC,HD44780", 0x3BC, k44780, false},
                                           ParameterCase{"0x3bc,HD44780", 0x3BC, k44780, false},
                                           ParameterCase{"0xff,HD44780", 0x0FF, k44780, false},
                                           ParameterCase{"0xFa9", 0xFA9, k66712, false},
                                           ParameterCase{"0X3BC,HD44780", 0x378, k44780, false},
                                           ParameterCase{"lpt2,HD44780", 0x378, k44780, false},
                                           ParameterCase{"0x,HD44780", 0x0000, k44780, false},
                                           ParameterCase{"0x123456789", 0x6789, k66712, false},
                                           ParameterCase{"LPT1,hd44780", 0x378, k66712, false},
                                           ParameterCase{"LPT1,HD44780X", 0x378, k44780, false},
                                           ParameterCase{"LPT1,HD44781", 0x378, k66712, false},
                                           ParameterCase{"LPT0x2,HD44780", 0x378, k44780, false},
                                           ParameterCase{"HD44780", 0x378, k44780, false},
                                           ParameterCase{"HD44780,x", 0x378, k66712, false},
                                           ParameterCase{"LPT2,HD44780,Log", 0x278, k44780, true},
                                           ParameterCase{"LPT1Log", 0x378, k66712, true},
                                           ParameterCase{"LPT1,Log", 0x378, k66712, true},
                                           ParameterCase{"Log", 0x378, k66712, true},
                                           ParameterCase{"LogLPT2", 0x378, k66712, false},
                                           ParameterCase{"LPT2,Log,HD44780", 0x278, k66712, false},
                                           ParameterCase{"LPT2,HD44780,Logs", 0x278, k44780, false},
                                           ParameterCase{"Lo", 0x378, k66712, false},
                                           ParameterCase{"", 0x378, k66712, false}),
                         [](const auto& test) { return TestNameFrom(test.param.parameters); });

TEST(HexToIntTest, ReadsDigitsUntilTheFirstOtherCharacterAndWraps) {
  EXPECT_EQ(HexToInt(""), 0u);
  EXPECT_EQ(HexToInt("g1"), 0u);
  EXPECT_EQ(HexToInt("3BC,HD"), 0x3BCu);
  EXPECT_EQ(HexToInt("aBcDeF"), 0xABCDEFu);
  // The ends of each digit range, and the characters just outside them.
  EXPECT_EQ(HexToInt("09afAF"), 0x09AFAFu);
  for (const char* outside : {"/", ":", "@", "G", "`", "g"})
    EXPECT_EQ(HexToInt(outside), 0u) << outside;
  EXPECT_EQ(HexToInt("123456789"), 0x23456789u);
  EXPECT_EQ(HexToInt("FFFFFFFFFFFF0278"), 0xFFFF0278u);
}

TEST(ChipNamePositionTest, FindsTheFirstCommaWithinTheLength) {
  EXPECT_EQ(ChipNamePosition("LPT1,HD66712,Log", 12), 5);
  EXPECT_EQ(ChipNamePosition("LPT1,Log", 4), 0);
  EXPECT_EQ(ChipNamePosition("LPT1", 4), 0);
  EXPECT_EQ(ChipNamePosition("LP", -2), 0);
}

using RepeatedStartTest = DriverTest;

TEST_F(RepeatedStartTest, KeepsTheChipWhenNoneIsNamed) {
  Init(20, 4, "LPT1,HD44780");
  Init(20, 4, "LPT1");
  EXPECT_EQ(display_config().chip_type, ChipType::HD44780);
  Init(20, 4, "LPT1,HD66712");
  Init(20, 4, "0x278");
  EXPECT_EQ(display_config().chip_type, ChipType::HD66712);
  // A name one character off in the last one compared names no chip,
  // whichever chip the driver had before.
  const struct {
    const char* first;
    const char* second;
    ChipType chip;
  } near_misses[] = {{"LPT1,HD44780", "LPT1,HD66713", ChipType::HD44780},
                     {"LPT1,HD44780", "LPT1,HD44781", ChipType::HD44780},
                     {"LPT1,HD66712", "LPT1,HD44781", ChipType::HD66712},
                     {"LPT1,HD66712", "LPT1,HD66713", ChipType::HD66712}};
  for (const auto& [first, second, chip] : near_misses) {
    Init(20, 4, first);
    Init(20, 4, second);
    EXPECT_EQ(display_config().chip_type, chip) << first << " then " << second;
  }
}

TEST_F(RepeatedStartTest, KeepsTheFirstLogChoiceAndItsSuffixLength) {
  Init(20, 4, "LPT1,HD66712,Log");
  ASSERT_TRUE(driver_state().log_enabled);
  // Four characters stay set aside for ",Log" although this string lacks
  // it: the comma at 7 lies outside the first 5 characters, so the chip name
  // is read from the start.
  Init(20, 4, "HD44780,x");
  EXPECT_TRUE(driver_state().log_enabled);
  EXPECT_EQ(display_config().chip_type, ChipType::HD44780);
}

TEST_F(RepeatedStartTest, TakesTheNewSizeAndPort) {
  Init(20, 4, "LPT1,HD44780");
  Init(16, 2, "LPT2");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(display_config().width, 16);
  EXPECT_EQ(display_config().height, 2);
  EXPECT_EQ(display_config().port_address, 0x278);
}

}  // namespace
