// The timing checker: bytes clocked into the model faster than it can take them.
#include <gtest/gtest.h>

#include "report.h"
#include "test_lcd.h"
#include "virtual_lcd.h"

namespace {

constexpr int32_t kBase = 0x378;
constexpr int64_t kUs = 1000;
constexpr int64_t kMs = 1000 * kUs;

// Clocks one byte the way the driver does, with `spacing_ns` between writes.
TEST(TimingCheckerTest, DriverPacedBytesPass) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  int64_t t = 0;
  t = vlcd::ClockInByte(lcd, false, 0x38, t, 40 * kUs);
  t = vlcd::ClockInByte(lcd, true, 'A', t, 40 * kUs);
  EXPECT_TRUE(lcd.findings.violations.empty());
  EXPECT_EQ(lcd.traffic.instructions, 1);
  EXPECT_EQ(lcd.traffic.data_bytes, 1);
}

TEST(TimingCheckerTest, BytesTenMicrosecondsApartAreTooFast) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  int64_t t = 0;
  for (char c : std::string("abc"))
    t = vlcd::ClockInByte(lcd, true, static_cast<uint8_t>(c), t, 2500);
  // Each byte needs 37 us but the next comes 10 us later.
  ASSERT_EQ(lcd.findings.violations.size(), 2u);
  EXPECT_NE(
      lcd.findings.violations[0].description.find("data 0x62 (byte 2) latched 27000 ns before"),
      std::string::npos)
      << lcd.findings.violations[0].description;
}

TEST(TimingCheckerTest, DataStraightAfterAClearIsReportedWithHowEarly) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  int64_t t = vlcd::ClockInByte(lcd, false, 0x01, 0, 40 * kUs);
  vlcd::ClockInByte(lcd, true, 'x', t, 40 * kUs);
  ASSERT_EQ(lcd.findings.violations.size(), 1u);
  // Latched 160 us after the clear, which needs 1520 us.
  EXPECT_NE(
      lcd.findings.violations[0].description.find("data 0x78 (byte 2) latched 1360000 ns before"),
      std::string::npos)
      << lcd.findings.violations[0].description;
}

TEST(TimingCheckerTest, ShortPulsesAndSetUpTimesAreCaught) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  // RS and E change in the same write; E falls 100 ns later; data 50 ns before.
  vlcd::ReceivePortWrite(lcd, kBase + 2, 0x06, 1000 * kUs);
  vlcd::ReceivePortWrite(lcd, kBase, 0x41, 1000 * kUs + 50);
  vlcd::ReceivePortWrite(lcd, kBase + 2, 0x0F, 1000 * kUs + 100);
  ASSERT_EQ(lcd.findings.violations.size(), 3u);
  EXPECT_NE(lcd.findings.violations[0].description.find("RS changed only 0 ns"), std::string::npos);
  EXPECT_NE(lcd.findings.violations[1].description.find("E high for only 100 ns"),
            std::string::npos);
  EXPECT_NE(lcd.findings.violations[2].description.find("data set up only 50 ns"),
            std::string::npos);
}

// R/W as E rises makes the cycle a read, which latches nothing and meets
// the port's driven data lines unless a bidirectional port has them as
// inputs (bit 5); RS and R/W must still hold as E falls (the HD44780U's
// tAH, 10 ns).
TEST(TimingCheckerTest, EachCycleIsJudgedByTheLinesAtItsEdges) {
  const struct {
    const char* what;
    uint8_t idle, rise, fall;
    int64_t instructions;
    const char* violations;
  } cases[] = {
      {"a write", 0x0B, 0x02, 0x0B, 1, ""},
      {"a read while the port drives", 0x09, 0x08, 0x09, 0,
       "bus contention: E rose with R/W high, a read, while the port drove the data lines "
       "(write 2)"},
      {"a read with the data lines as inputs", 0x29, 0x28, 0x29, 0, ""},
      {"a read ended by R/W and RS falling with E", 0x0D, 0x0C, 0x0B, 0,
       "bus contention: E rose with R/W high, a read, while the port drove the data lines "
       "(write 2); RS or R/W changed as E fell, held 0 of 10 ns (write 3)"},
      {"a write whose RS rose with E's fall", 0x0B, 0x02, 0x0F, 1,
       "RS or R/W changed as E fell, held 0 of 10 ns (write 3)"},
  };
  for (const auto& c : cases) {
    vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
    vlcd::ReceivePortWrite(lcd, kBase + 2, c.idle, 1000 * kUs);
    vlcd::ReceivePortWrite(lcd, kBase + 2, c.rise, 2000 * kUs);
    vlcd::ReceivePortWrite(lcd, kBase + 2, c.fall, 3000 * kUs);
    std::string violations;
    for (const vlcd::Violation& v : lcd.findings.violations) {
      violations += (violations.empty() ? "" : "; ") + v.description;
    }
    EXPECT_EQ(violations, c.violations) << c.what;
    EXPECT_EQ(lcd.traffic.instructions, c.instructions) << c.what;
    EXPECT_EQ(lcd.traffic.data_bytes, 0) << c.what;
  }
}

// A read as the port sees it, step by step: nothing on the lines until
// E has been high 160 ns, then the busy flag and all seven bits of the
// address counter (RS low; the second line starts at 0x40) or the memory
// at the address counter (RS high), which then moves on and keeps the
// controller busy; with the lines as outputs, the port's latch.
TEST(TimingCheckerTest, ReadsAnswerWithTheBusyFlagAddressOrMemory) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  int64_t t = vlcd::ClockInByte(lcd, false, 0x38, 0, 40 * kUs);
  t = vlcd::ClockInByte(lcd, false, 0xC0, t + 100 * kUs, 40 * kUs);
  t = vlcd::ClockInByte(lcd, true, 'A', t + 100 * kUs, 40 * kUs);
  t = vlcd::ClockInByte(lcd, false, 0xC0, t + 100 * kUs, 40 * kUs);
  const int64_t t0 = t + 100 * kUs;
  const struct {
    int64_t at_ns;
    char what;  // c: control written, d: data written, r: data lines read
    int value;  // written, or what the read gives
  } steps[] = {
      {0, 'c', 0x21},      // lines as inputs, R/W high, RS low, E low
      {1000, 'r', 0xFF},   // nothing drives them
      {2000, 'c', 0x20},   // E rises
      {2100, 'r', 0xFF},   // the answer is not there yet
      {2200, 'r', 0x40},   // ready, address 0x40
      {3000, 'c', 0x21},   // E falls
      {4000, 'c', 0x25},   // RS high
      {5000, 'c', 0x24},   // E rises
      {5200, 'r', 0x41},   // the memory at 0x40: 'A'
      {6000, 'c', 0x25},   // E falls: the address moves on, busy 37 us
      {7000, 'c', 0x21},   // RS low
      {8000, 'c', 0x20},   // E rises
      {8200, 'r', 0xC1},   // busy, address 0x41
      {9000, 'c', 0x21},   // E falls
      {50000, 'c', 0x20},  // E rises
      {50200, 'r', 0x41},  // ready
      {51000, 'c', 0x21},  // E falls
      {52000, 'c', 0x0B},  // lines as outputs, R/W low
      {53000, 'd', 0x5A},  // the port's latch
      {54000, 'r', 0x5A},
  };
  for (const auto& step : steps) {
    const int64_t ns = t0 + step.at_ns;
    if (step.what == 'r') {
      EXPECT_EQ(vlcd::ReceivePortRead(lcd, kBase, ns), step.value) << "read at " << step.at_ns;
    } else {
      vlcd::ReceivePortWrite(lcd, step.what == 'c' ? kBase + 2 : kBase, step.value, ns);
    }
  }
  EXPECT_EQ(lcd.traffic.violation_count, 0) << vlcd::Report(lcd, vlcd::ScreenNow(lcd));
  EXPECT_EQ(lcd.traffic.data_bytes, 1);  // reads latch nothing
}

// A 4-bit module's driver: three function sets and 0x2 as 8-bit transfers
// switch the controller to 4 bits; every byte after is two transfers on
// DB4-DB7, high nibble first, and so is every read.
TEST(TimingCheckerTest, FourBitModeTakesEachByteAsTwoNibbles) {
  vlcd::VirtualLcd lcd = MakeTestLcd(vlcd::Chip::HD44780, 16, 2);
  const struct {
    bool data;
    uint8_t nibble;  // on D4-D7
    int64_t wait_us;
  } transfers[] = {
      {false, 0x3, 5000}, {false, 0x3, 200},  {false, 0x3, 200},
      {false, 0x2, 200},  {false, 0x2, 100},  {false, 0x8, 100},  // function set: 4 bits, 2 lines
      {false, 0x0, 100},  {false, 0xC, 100},                      // display on
      {false, 0x0, 100},  {false, 0x1, 2000},                     // clear
      {true, 0x4, 100},   {true, 0x8, 100},                       // 'H'
      {true, 0x6, 100},   {true, 0x9, 100},                       // 'i'
  };
  int64_t t = 0;
  for (const auto& transfer : transfers) {
    t = vlcd::ClockInByte(lcd, transfer.data, static_cast<uint8_t>(transfer.nibble << 4), t, kUs) +
        transfer.wait_us * kUs;
  }
  EXPECT_EQ(vlcd::ScreenText(vlcd::ScreenNow(lcd)).substr(0, 3), "Hi ");
  EXPECT_EQ(lcd.traffic.instructions, 7);
  EXPECT_EQ(lcd.traffic.data_bytes, 2);
  EXPECT_EQ(lcd.traffic.first_nibbles, 5);  // five two-transfer bytes
  // The busy flag and address (2) in two reads, DB0-DB3 undriven.
  for (const int expected : {0x0F, 0x2F}) {
    vlcd::ReceivePortWrite(lcd, kBase + 2, 0x21, t);
    vlcd::ReceivePortWrite(lcd, kBase + 2, 0x20, t + kUs);
    EXPECT_EQ(vlcd::ReceivePortRead(lcd, kBase, t + 2 * kUs), expected);
    vlcd::ReceivePortWrite(lcd, kBase + 2, 0x21, t + 3 * kUs);
    t += 10 * kUs;
  }
  EXPECT_EQ(lcd.traffic.violation_count, 0) << vlcd::Report(lcd, vlcd::ScreenNow(lcd));
}

// The screen before a clear stands for what the host showed only while
// that clear is the last byte, as at the driver's shut-down.
TEST(TimingCheckerTest, OnlyAFinalClearShowsTheScreenBeforeIt) {
  vlcd::VirtualLcd lcd = MakeTestLcd(vlcd::Chip::HD44780, 4, 1);
  int64_t t = 0;
  for (uint8_t instruction : {0x38, 0x0C}) t = vlcd::ClockInByte(lcd, false, instruction, t, kMs);
  t = vlcd::ClockInByte(lcd, true, 'A', t, kMs);
  t = vlcd::ClockInByte(lcd, false, 0x01, t, kMs);
  EXPECT_TRUE(vlcd::ScreenLastShown(lcd).before_final_clear);
  EXPECT_EQ(vlcd::ScreenText(vlcd::ScreenLastShown(lcd)), "A███\n");  // never cleared before
  vlcd::ClockInByte(lcd, true, 'B', t, kMs);
  EXPECT_FALSE(vlcd::ScreenLastShown(lcd).before_final_clear);
  EXPECT_EQ(vlcd::ScreenText(vlcd::ScreenLastShown(lcd)), "B   \n");
}

TEST(TimingCheckerTest, OtherPortsAreIgnored) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  vlcd::ClockInByte(lcd, true, 'q', 0, kUs);
  vlcd::ReceivePortWrite(lcd, 0x278 + 2, 0x06, 0);
  EXPECT_EQ(lcd.traffic.port_writes, 4);
}

TEST(TimingCheckerTest, WritesElsewhereAreNamedWhenNoneReachedTheModule) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  for (int32_t port : {0x27A, 0x278, 0x27A}) vlcd::ReceivePortWrite(lcd, port, 0x0B, 0);
  EXPECT_EQ(vlcd::Notes(lcd),
            "No byte reached the module: the driver wrote to 0x27A/0x278; the virtual module is "
            "at 0x378. The port in the driver's parameters decides where it writes.\n");
}

// The rules besides the write cycle's own: t_AS holds for R/W as for RS,
// RS and R/W stay put while E is high, and no read comes between the two
// halves of a 4-bit write. Each case is control register writes (R/W raised
// with the data lines as inputs, so no read is a contention) and the one
// finding expected, with its rule.
TEST(TimingCheckerTest, AddressSetUpStabilityAndNibbleOrder) {
  const struct {
    bool four_bit;
    std::vector<std::pair<int64_t, int>> writes;  // ns, control register
    vlcd::Rule rule;
    const char* finding;
  } cases[] = {
      {false,
       {{0, 0x2B}, {1000, 0x29}, {1020, 0x28}, {2000, 0x29}},
       vlcd::Rule::AddressSetup,
       "R/W changed only 20 ns before E rose (write 3)"},
      {false,
       {{0, 0x0B}, {1000, 0x0A}, {1500, 0x0E}, {2000, 0x0F}},
       vlcd::Rule::StableWhileEnabled,
       "RS changed while E was high (write 3)"},
      {true,
       {{0, 0x0B}, {1000, 0x0A}, {2000, 0x0B}, {3000, 0x29}, {4000, 0x28}, {5000, 0x29}},
       vlcd::Rule::ReadBetweenNibbles,
       "a read between the two halves of a 4-bit write (write 9): the controller takes it as "
       "the second half, and every byte after it a nibble out of step"},
  };
  for (const auto& c : cases) {
    vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
    int64_t start = 0;
    if (c.four_bit) start = vlcd::ClockInByte(lcd, false, 0x28, 0, kMs);  // 4 writes
    for (const auto& [ns, value] : c.writes) {
      vlcd::ReceivePortWrite(lcd, kBase + 2, value, start + kMs + ns);
    }
    ASSERT_EQ(lcd.findings.violations.size(), 1u) << c.finding;
    EXPECT_EQ(lcd.findings.violations[0].description, c.finding);
    EXPECT_EQ(lcd.findings.by_rule[static_cast<size_t>(c.rule)], 1) << c.finding;
    EXPECT_NE(vlcd::Report(lcd, vlcd::ScreenNow(lcd))
                  .find("By rule:\n    " + std::string(vlcd::RuleText(c.rule)) + ": 1\n"),
              std::string::npos)
        << c.finding;
  }  // R/W alone changing while E is high breaks the same rule.
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  for (const auto& [ns, value] : {std::pair{0, 0x0B}, {1000, 0x0A}, {1500, 0x08}}) {
    vlcd::ReceivePortWrite(lcd, kBase + 2, value, kMs + ns);
  }
  EXPECT_EQ(lcd.findings.by_rule[static_cast<size_t>(vlcd::Rule::StableWhileEnabled)], 1);
  ASSERT_FALSE(lcd.findings.violations.empty());
  EXPECT_EQ(lcd.findings.violations.back().description, "R/W changed while E was high (write 3)");
}

// A 40x4 is two controllers sharing every pin but E: on a cable that wires
// E2 (LCDproc's winamp: Select-in), each takes the bytes its own E latches,
// rows 3 and 4 are the second's rows 1 and 2, and a read is answered by the
// enabled one.
TEST(TimingCheckerTest, ASecondControllerTakesWhatE2Latches) {
  vlcd::Module module;
  module.chip = vlcd::Chip::HD44780;
  module.columns = 40;
  module.rows = 4;
  ASSERT_EQ(vlcd::ReadCable("lcdproc-winamp", &module.cable), std::nullopt);
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(module);
  ASSERT_EQ(lcd.lower.size(), 1u);
  int64_t t = 0;
  // Control registers: E pulses clear Strobe (0x01), E2 pulses clear
  // Select-in (0x08); RS is Initialize (0x04).
  const auto cycle = [&](uint8_t idle, uint8_t strobe, uint8_t byte) {
    vlcd::ReceivePortWrite(lcd, kBase + 2, idle, t += kMs);
    vlcd::ReceivePortWrite(lcd, kBase, byte, t += kMs);
    vlcd::ReceivePortWrite(lcd, kBase + 2, strobe, t += kMs);
    vlcd::ReceivePortWrite(lcd, kBase + 2, idle, t += kMs);
  };
  for (const uint8_t instruction : {0x38, 0x0C, 0x01}) {
    cycle(0x0B, 0x0A, instruction);
    cycle(0x0B, 0x03, instruction);
  }
  cycle(0x0F, 0x0E, 'A');
  cycle(0x0F, 0x07, 'B');
  cycle(0x0F, 0x07, 'C');
  const std::string text = vlcd::ScreenText(vlcd::ScreenNow(lcd));
  const std::string blank(39, ' ');
  EXPECT_EQ(text,
            "A" + blank + "\n" + blank + " \nBC" + std::string(38, ' ') + "\n" + blank + " \n");
  EXPECT_EQ(vlcd::AllTraffic(lcd).data_bytes, 3);
  EXPECT_EQ(vlcd::AllTraffic(lcd).instructions, 6);
  EXPECT_EQ(vlcd::Notes(lcd), "");  // rows 3-4 are addressed: no note says otherwise
  // A busy-flag read with E2 high: the second controller's address, 2.
  vlcd::ReceivePortWrite(lcd, kBase + 2, 0x29, t += kMs);  // R/W high, data lines inputs
  vlcd::ReceivePortWrite(lcd, kBase + 2, 0x21, t += kMs);  // E2 rises
  EXPECT_EQ(vlcd::ReceivePortRead(lcd, kBase, t += kMs), 0x02);
  vlcd::ReceivePortWrite(lcd, kBase + 2, 0x29, t += kMs);
  vlcd::ReceivePortWrite(lcd, kBase + 2, 0x28, t += kMs);  // E rises
  EXPECT_EQ(vlcd::ReceivePortRead(lcd, kBase, t += kMs), 0x01);
}

// A program on the virtual parallel port has no driver's parameters: its
// user picks the module with HD_VLCD_CHIP.
TEST(TimingCheckerTest, AProgramsChipNoteNamesTheVariable) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});  // a 20x4 HD66712
  lcd.driver = vlcd::Driver::PortProgram;
  vlcd::ClockInByte(lcd, false, 0x38, 0, kMs);
  EXPECT_EQ(vlcd::Notes(lcd),
            "The driver set the controller up as an HD44780 (it never used the HD66712's "
            "extension register), which does not suit a 20x4 HD66712 module: rows after the "
            "first land in the wrong place. If the module is an HD44780, set "
            "HD_VLCD_CHIP=HD44780; if it is an HD66712, set the program up for an HD66712.\n");
}

// The driver computes the control register in 16 bits: 0xFFFF + 2 is 0x0001,
// and a library sees the data register's address widened with its sign.
TEST(TimingCheckerTest, ControlRegisterAddressWrapsInSixteenBits) {
  vlcd::Module module;
  module.port_base = 0xFFFF;
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(module);
  vlcd::ReceivePortWrite(lcd, 0x0001, 0x0F, 0);
  vlcd::ReceivePortWrite(lcd, -1, 'w', 100 * kUs);
  vlcd::ReceivePortWrite(lcd, 0x0001, 0x06, 200 * kUs);
  vlcd::ReceivePortWrite(lcd, 0x0001, 0x0F, 300 * kUs);
  EXPECT_EQ(lcd.traffic.data_bytes, 1);
}

// A host that ignores the timing for hours must not fill its memory: every
// violation is counted, only the first thousand are kept.
TEST(TimingCheckerTest, ViolationsAreAllCountedButOnlyTheFirstThousandKept) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  // E rises and falls with R/W held high, a read against the port's driven
  // data lines: one violation a pulse, nothing written. R/W is raised first,
  // well before the first pulse.
  vlcd::ReceivePortWrite(lcd, kBase + 2, 0x09, 0);
  for (int64_t byte = 1; byte <= 1500; ++byte) {
    vlcd::ReceivePortWrite(lcd, kBase + 2, 0x08, byte * 1000 * kUs);
    vlcd::ReceivePortWrite(lcd, kBase + 2, 0x09, byte * 1000 * kUs + 500 * kUs);
    // The report lists twenty, and says when there are more.
    if (byte == 20 || byte == 21) {
      EXPECT_EQ(vlcd::Report(lcd, vlcd::ScreenNow(lcd)).find("  ...\n") != std::string::npos,
                byte == 21)
          << byte;
    }
  }
  EXPECT_EQ(lcd.traffic.violation_count, 1500);
  ASSERT_EQ(lcd.findings.violations.size(), 1000u);
  // Each pulse is two writes after the first: the thousandth rose at write 2000.
  EXPECT_EQ(lcd.findings.violations.back().description,
            "bus contention: E rose with R/W high, a read, while the port drove the data lines "
            "(write 2000)");
  EXPECT_EQ(lcd.traffic.instructions + lcd.traffic.data_bytes, 0);
  EXPECT_NE(vlcd::Summary(lcd.module, lcd.traffic).find(", 1500 timing violations"),
            std::string::npos)
      << vlcd::Summary(lcd.module, lcd.traffic);
}

TEST(TimingCheckerTest, TraceGivesEachByteItsMeaningTimeAndViolations) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  lcd.findings.record_bytes = true;
  int64_t t = vlcd::ClockInByte(lcd, false, 0x3C, 0, 40 * kUs);
  t = vlcd::ClockInByte(lcd, false, 0x09, t + 4000 * kUs, 40 * kUs);
  t = vlcd::ClockInByte(lcd, false, 0x38, t, 40 * kUs);
  t = vlcd::ClockInByte(lcd, false, 0x01, t, 40 * kUs);
  vlcd::ClockInByte(lcd, true, 'A', t, 40 * kUs);
  const std::string trace = vlcd::TraceLines(lcd, 3);
  EXPECT_EQ(trace,
            "      4  instruction 0x01  +    0.160 ms  clear display\n"
            "      5  data        0x41  +    0.160 ms  data 'A'  !! data 0x41 (byte 5) latched "
            "1360000 ns before the controller was ready\n");
  ASSERT_EQ(lcd.findings.latched.size(), 5u);
  EXPECT_EQ(lcd.findings.latched[0].meaning, "function set: 8-bit, 2 lines, RE on");
  EXPECT_EQ(lcd.findings.latched[1].meaning, "extended function set: 4-line mode on");
  EXPECT_EQ(lcd.findings.latched[2].meaning, "function set: 8-bit, 2 lines, RE off");
}

// A program traced for hours keeps the first bytes and counts the rest.
TEST(TimingCheckerTest, TraceMemoryIsBounded) {
  vlcd::VirtualLcd lcd = vlcd::MakeVirtualLcd(vlcd::Module{});
  lcd.findings.record_bytes = true;
  int64_t t = vlcd::ClockInByte(lcd, false, 0x38, 0, 40 * kUs);
  for (int i = 0; i < 100004; ++i) t = vlcd::ClockInByte(lcd, true, 'A', t, 40 * kUs);
  EXPECT_EQ(lcd.findings.latched.size(), 100000u);
  EXPECT_EQ(vlcd::TraceLines(lcd, 100000),
            "  ... and 5 more bytes latched, not kept: a trace keeps the first 100000\n");
  EXPECT_EQ(lcd.traffic.data_bytes, 100004);
}

}  // namespace
