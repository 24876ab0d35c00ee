// The timing checker: bytes clocked into the model faster than it can take them.
#include <gtest/gtest.h>

#include "virtual_lcd.h"

namespace {

constexpr int32_t kBase = 0x378;
constexpr int64_t kUs = 1000;

// Clocks one byte the way the driver does, with `spacing_ns` between writes.
int64_t Cycle(vlcd::VirtualLcd& lcd, bool data, uint8_t byte, int64_t start, int64_t spacing_ns) {
  const int32_t idle = data ? 0x0F : 0x0B;
  const int32_t strobe = data ? 0x06 : 0x02;
  vlcd::PortWrite(lcd, kBase + 2, idle, start);
  vlcd::PortWrite(lcd, kBase, byte, start + spacing_ns);
  vlcd::PortWrite(lcd, kBase + 2, strobe, start + 2 * spacing_ns);
  vlcd::PortWrite(lcd, kBase + 2, idle, start + 3 * spacing_ns);
  return start + 4 * spacing_ns;
}

TEST(TimingCheckerTest, DriverPacedBytesPass) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  int64_t t = 0;
  t = Cycle(lcd, false, 0x38, t, 40 * kUs);
  t = Cycle(lcd, true, 'A', t, 40 * kUs);
  EXPECT_TRUE(lcd.violations.empty());
  EXPECT_EQ(lcd.instructions, 1);
  EXPECT_EQ(lcd.data_bytes, 1);
}

TEST(TimingCheckerTest, BytesTenMicrosecondsApartAreTooFast) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  int64_t t = 0;
  for (char c : std::string("abc")) t = Cycle(lcd, true, static_cast<uint8_t>(c), t, 2500);
  // Each byte needs 37 us but the next comes 10 us later.
  ASSERT_EQ(lcd.violations.size(), 2u);
  EXPECT_NE(lcd.violations[0].description.find("data 0x62 (byte 2) latched 27000 ns before"),
            std::string::npos)
      << lcd.violations[0].description;
}

TEST(TimingCheckerTest, DataStraightAfterAClearIsReportedWithHowEarly) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  int64_t t = Cycle(lcd, false, 0x01, 0, 40 * kUs);
  Cycle(lcd, true, 'x', t, 40 * kUs);
  ASSERT_EQ(lcd.violations.size(), 1u);
  // Latched 160 us after the clear, which needs 1520 us.
  EXPECT_NE(lcd.violations[0].description.find("data 0x78 (byte 2) latched 1360000 ns before"),
            std::string::npos)
      << lcd.violations[0].description;
}

TEST(TimingCheckerTest, ShortPulsesAndSetUpTimesAreCaught) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  // RS and E change in the same write; E falls 100 ns later; data 50 ns before.
  vlcd::PortWrite(lcd, kBase + 2, 0x06, 1000 * kUs);
  vlcd::PortWrite(lcd, kBase, 0x41, 1000 * kUs + 50);
  vlcd::PortWrite(lcd, kBase + 2, 0x0F, 1000 * kUs + 100);
  ASSERT_EQ(lcd.violations.size(), 3u);
  EXPECT_NE(lcd.violations[0].description.find("RS changed only 0 ns"), std::string::npos);
  EXPECT_NE(lcd.violations[1].description.find("E high for only 100 ns"), std::string::npos);
  EXPECT_NE(lcd.violations[2].description.find("data set up only 50 ns"), std::string::npos);
}

TEST(TimingCheckerTest, OtherPortsAreIgnored) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  Cycle(lcd, true, 'q', 0, kUs);
  vlcd::PortWrite(lcd, 0x278 + 2, 0x06, 0);
  EXPECT_EQ(lcd.port_writes, 4);
}

}  // namespace
