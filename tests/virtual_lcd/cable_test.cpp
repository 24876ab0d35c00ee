// Cables as data: each row of the table puts the port's registers on the
// module's pins as its source documents, the port's own inversions applied
// once; the written form reads as lcd4linux's Wire block and kernel-style
// pin numbers give a cable, and refuses what no cable can be.
#include "cable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const vlcd::Cable& Named(const std::string& name) {
  for (const vlcd::NamedCable& row : vlcd::Cables()) {
    if (name == row.name) return row.cable;
  }
  ADD_FAILURE() << "no cable " << name;
  return vlcd::Cables().front().cable;
}

// Levels: DB0-DB7 in bits 0-7, RS 0x100, R/W 0x200, E 0x400, E2 0x800.
// Control 0x00 puts Strobe, Auto-feed and Select-in high and Initialize
// low; 0x0F the opposite.
TEST(CableTest, EachRowWiresThePinsAsItsSourceSays) {
  const struct {
    const char* name;
    int levels_5a_00;
    int levels_a5_0f;
  } rows[] = {
      {"ours", 0x65A, 0x1A5},           {"lcdproc-winamp", 0xE5A, 0x1A5},
      {"lcdproc-8bit", 0x35A, 0x4A5},   {"lcdproc-4bit", 0x5A0, 0xA50},
      {"lcd4linux-8bit", 0x55A, 0x0A5}, {"lcd4linux-4bit", 0x5A0, 0x250},
  };
  ASSERT_EQ(vlcd::Cables().size(), std::size(rows));
  EXPECT_STREQ(vlcd::Cables().front().name, "ours");
  for (const auto& row : rows) {
    const vlcd::Cable& cable = Named(row.name);
    EXPECT_EQ(vlcd::SignalLevels(cable, 0x5A, 0x00), row.levels_5a_00) << row.name;
    EXPECT_EQ(vlcd::SignalLevels(cable, 0xA5, 0x0F), row.levels_a5_0f) << row.name;
    vlcd::Cable read;
    EXPECT_EQ(vlcd::ReadCable(row.name, &read), std::nullopt);
    EXPECT_EQ(read, cable) << row.name;
    EXPECT_EQ(vlcd::CableName(cable), row.name);
  }
  // A port whose data lines are inputs drives none of them: pulled high.
  EXPECT_EQ(vlcd::SignalLevels(Named("ours"), 0x00, 0x20), 0x6FF);
}

TEST(CableTest, TheWrittenFormMirrorsAWireBlockOrAPinSet) {
  const struct {
    const char* text;
    const char* named;  // the row it is, or its written form read back
  } wirings[] = {
      {"RS=INIT,RW=AUTOFD,E=STROBE,DATA=8", "ours"},
      {"rs=init,rw=autofd,enable=strobe", "ours"},
      {"RS=DB4,RW=DB5,ENABLE=DB6,DATA=4", "lcd4linux-4bit"},
      {"RS=6,RW=7,E=8,E2=9,DATA=4", "lcdproc-4bit"},
      {"RS=AUTOFD,RW=GND,E=1", "lcd4linux-8bit"},
      {"E=-STROBE,RS=INIT,RW=AUTOFD", "RS=INIT,RW=AUTOFD,E=-STROBE,DATA=8"},
  };
  for (const auto& wiring : wirings) {
    vlcd::Cable cable;
    EXPECT_EQ(vlcd::ReadCable(wiring.text, &cable), std::nullopt) << wiring.text;
    EXPECT_EQ(vlcd::CableName(cable), wiring.named) << wiring.text;
  }
  vlcd::Cable inverted;
  ASSERT_EQ(vlcd::ReadCable("E=-STROBE,RS=INIT", &inverted), std::nullopt);
  EXPECT_EQ(vlcd::SignalLevels(inverted, 0x00, 0x00) & 0x400, 0);  // Strobe's pin high: E low

  const struct {
    const char* text;
    const char* problem;
  } refused[] = {
      {"winamp",
       "'winamp' is not a cable (ours, lcdproc-winamp, lcdproc-8bit, lcdproc-4bit, "
       "lcd4linux-8bit, lcd4linux-4bit, or a wiring such as RS=INIT,RW=AUTOFD,E=STROBE,DATA=8)"},
      {"RS=INIT,RW=AUTOFD",
       "'RS=INIT,RW=AUTOFD' wires no E: nothing would ever reach the controller"},
      {"RS=INIT,E=INIT", "'RS=INIT,E=INIT' puts two of the module's inputs on INIT"},
      {"RS=DB0,E=STROBE", "'RS=DB0,E=STROBE' puts two of the module's inputs on DB0"},
      {"E=PIN1",
       "E: 'PIN1' is not a port line (STROBE, AUTOFD, INIT, SLCTIN, DB0-DB7 or GND, or a "
       "pin number: 1, 2-9, 14, 16, 17; '-' before it inverts it)"},
      {"E=STROBE,DATA=6", "DATA=6: 8 (DB0-DB7 on DB0-DB7) or 4 (DB4-DB7 on DB0-DB3)"},
      {"E=STROBE,E=INIT", "E is given twice"},
      {"E=STROBE,BL=INIT",
       "'BL=INIT' is not a wire: write SIGNAL=LINE, SIGNAL one of RS, RW, E, E2 or DATA"},
  };
  for (const auto& bad : refused) {
    vlcd::Cable cable = vlcd::kOurCable;
    EXPECT_EQ(vlcd::ReadCable(bad.text, &cable).value_or(""), bad.problem) << bad.text;
    EXPECT_EQ(cable, vlcd::kOurCable) << bad.text;  // left as it was
  }
}

}  // namespace
