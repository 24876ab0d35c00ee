// lcd_host's session scripts, run against the driver's own entries in
// virtual time and shown on the virtual LCD.
#include <gtest/gtest.h>

#include "demo_script.h"
#include "displaydll.h"
#include "driver_fixture.h"
#include "fake_port_libraries.h"
#include "log_file.h"
#include "replay_writes.h"
#include "screen.h"
#include "session.h"
#include "test_pattern.h"

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
  SessionSettings settings_{8, 2, "LPT1,HD44780", nullptr, nullptr};
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

TEST_F(HostSessionTest, EveryLineIsCheckedBeforeAnythingRuns) {
  const std::pair<const char*, const char*> cases[] = {
      {"init\nposition 1\n", "line 2: position takes a column and a row, nothing else"},
      {"position 1 2 # top\n", "line 1: position takes a column and a row, nothing else"},
      {"position 1 256\n", "line 1: position row: '256' is out of range (0 to 255)"},
      {"init now\n", "line 1: init takes nothing after it, found \"now\""},
      {"glyph 1 1f 1f\n", "line 1: glyph takes a number and eight hexadecimal rows, nothing else"},
      {"glyph 1 1f 1f 1f 1f 1f 1f 1f 100\n",
       "line 1: glyph row 7: '100' is not one or two hexadecimal digits"},
      {"write \\q\n", "line 1: unknown escape \\q (use \\xHH, \\gN or \\\\)"},
      {"write \\x 4b\n", "line 1: \\x takes exactly two hexadecimal digits, as in \\x4B"},
      {"write \\x00\n", "line 1: \\x00 cannot be sent: the driver's text ends at its first 0 byte"},
      {"write \\g9\n", "line 1: \\g takes a glyph number from 1 to 8, as in \\g1"},
      {"write \\g0\n", "line 1: \\g takes a glyph number from 1 to 8, as in \\g1"},
      {"write ab\\\n", "line 1: a lone \\ at the end of the text (write \\\\ for a backslash)"},
      {"jump\n", "line 1: unknown command \"jump\""},
  };
  for (const auto& [script, error] : cases) {
    EXPECT_EQ(RunSession(driver_, settings_, script), error) << script;
  }
  // Nothing ran: the first case's init was never called.
  EXPECT_TRUE(fake_ports::state.writes.empty());
  const std::string with_nul("init\nwrite a\0b\n", 15);
  EXPECT_EQ(RunSession(driver_, settings_, with_nul),
            "line 2: a NUL byte in the script (write \\xHH for a byte from 01 to FF)");
  fake_ports::state.present.clear();
  EXPECT_EQ(RunSession(driver_, settings_, "init\n"),
            "line 1: DISPLAYDLL_Init failed: LoadLibrary for parallel port Failed");
}

TEST_F(HostSessionTest, ByteOrderMarkIsSkippedAndAHashInAWriteIsText) {
  int snapshots = 0;
  settings_.snapshot = [&snapshots] { return ++snapshots == 1 ? "" : "disk full"; };
  EXPECT_EQ(RunSession(driver_, settings_, "\xEF\xBB\xBFinit\nwrite hi # x\nsnapshot\n"), "");
  EXPECT_EQ(Screen(8, 2), "hi # x  \n        \n");
  EXPECT_EQ(RunSession(driver_, settings_, "snapshot\n"), "line 1: disk full");
}

// The scripts lcd_host makes itself are valid for every size, and the
// release's test_pattern.lcd is the 20x4 pattern.
TEST(GeneratedScriptTest, DemoAndTestPatternParseForEverySize) {
  std::vector<ScriptCommand> commands;
  for (const auto& [columns, rows] :
       {std::pair{0, 0}, {1, 1}, {8, 1}, {16, 2}, {20, 4}, {40, 4}, {255, 255}}) {
    EXPECT_EQ(ParseScript(DemoScript(columns, rows), &commands), "") << columns << "x" << rows;
    EXPECT_EQ(ParseScript(TestPatternScript(columns, rows), &commands), "")
        << columns << "x" << rows;
  }
  EXPECT_EQ(ReadFileBytes(SHIPPED_TEST_PATTERN), TestPatternScript(20, 4));
}

}  // namespace
