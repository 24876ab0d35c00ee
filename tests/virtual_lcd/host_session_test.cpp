// lcd_host's session scripts, run against the driver's own entries in
// virtual time and shown on the virtual LCD.
#include <gtest/gtest.h>

#include "displaydll.h"
#include "driver_fixture.h"
#include "fake_port_libraries.h"
#include "replay_writes.h"
#include "screen.h"
#include "session.h"

namespace {

class HostSessionTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    fake_ports::state.present["inpout32.dll"] = {};
    driver_ = DriverEntries{
        DISPLAYDLL_Usage,          DISPLAYDLL_DriverName,  DISPLAYDLL_DefaultParameters,
        DISPLAYDLL_Init,           DISPLAYDLL_PowerResume, DISPLAYDLL_Done,
        DISPLAYDLL_Write,          DISPLAYDLL_SetPosition, DISPLAYDLL_CustomChar,
        DISPLAYDLL_CustomCharIndex};
  }
  std::string Screen(int columns, int rows) {
    return vlcd::ScreenText(ReplayWrites(vlcd::Chip::HD44780, columns, rows));
  }
  DriverEntries driver_;
  SessionSettings settings_{8, 2, "LPT1,HD44780"};
};

TEST_F(HostSessionTest, ScriptDrivesTheDisplay) {
  const std::string script =
      "# comment\n"
      "init\n"
      "\n"
      "glyph 2 1f 1f 1f 1f 1f 1f 1f 1f\r\n"
      "position 2 1\n"
      "write a\\g2\\xDF\\\\b\n"
      "position 1 2\n"
      "write  two\n";
  EXPECT_EQ(RunSession(driver_, settings_, script), "");
  EXPECT_EQ(Screen(8, 2), " a█°¥b  \n two    \n");
}

TEST_F(HostSessionTest, ErrorsNameTheLine) {
  EXPECT_EQ(RunSession(driver_, settings_, "init\nposition 1\n"),
            "line 2: position needs a column and a row from 0 to 255");
  EXPECT_EQ(RunSession(driver_, settings_, "glyph 1 1f 1f\n"),
            "line 1: glyph needs eight hexadecimal row bytes");
  EXPECT_EQ(RunSession(driver_, settings_, "write \\q\n"),
            "line 1: unknown escape in \"\\q\" (use \\xHH, \\gN or \\\\)");
  EXPECT_EQ(RunSession(driver_, settings_, "jump\n"), "line 1: unknown command \"jump\"");
  DISPLAYDLL_Done();
  fake_ports::state.present.clear();
  EXPECT_EQ(RunSession(driver_, settings_, "init\n"),
            "line 1: DISPLAYDLL_Init failed: LoadLibrary for parallel port Failed");
}

}  // namespace
