// lcd_host's session scripts, run against the driver's own entries in
// virtual time and shown on the virtual LCD.
#include <gtest/gtest.h>

#include <sstream>

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

SessionSettings EightByTwo() {
  SessionSettings settings;
  settings.columns = 8;
  settings.rows = 2;
  settings.parameters = "LPT1,HD44780";
  return settings;
}

// A script run as lcd_host runs one: every line read before any runs.
Problem RunSession(const DriverEntries& driver, const SessionSettings& settings,
                   const std::string& script) {
  std::vector<ScriptCommand> commands;
  if (Problem problem = ParseScript(script, &commands)) return problem;
  return RunCommands(driver, settings, commands);
}

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
    return vlcd::ScreenText(vlcd::ScreenNow(ReplayWrites(vlcd::Chip::HD44780, columns, rows)));
  }
  DriverEntries driver_;
  SessionSettings settings_ = EightByTwo();
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
  EXPECT_EQ(RunSession(driver_, settings_, script), std::nullopt);
  EXPECT_EQ(Screen(8, 2), " a█°¥b  \n two    \n");
}

TEST_F(HostSessionTest, EveryLineIsCheckedBeforeAnythingRuns) {
  const std::pair<const char*, const char*> cases[] = {
      {"init\nposition 1\n", "line 2: position takes a column and a row, nothing else"},
      // Lone CRs are a line each, CRs before an LF one line end.
      {"init\r\r\rposition 1\r\r\n", "line 4: position takes a column and a row, nothing else"},
      {"init\r\r\nwrite x\r\rposition 1\n",
       "line 4: position takes a column and a row, nothing else"},
      {"position 1 2 # top\n", "line 1: position takes a column and a row, nothing else"},
      {"position 1 256\n", "line 1: position row: '256' is out of range (0 to 255)"},
      // A minute is the longest pause, here and in --step-ms and --page-ms.
      {"wait 60001\n", "line 1: wait: '60001' is out of range (0 to 60000)"},
      {"init now\n", "line 1: init takes nothing after it, found \"now\""},
      {"glyph 1 1f 1f\n", "line 1: glyph takes a number and eight hexadecimal rows, nothing else"},
      {"glyph 1 1f 1f 1f 1f 1f 1f 1f 100\n",
       "line 1: glyph row 7: '100' is not one or two hexadecimal digits"},
      {"glyph 1 1f 1f 1f 1f 1f 1f 1f 0ff\n",
       "line 1: glyph row 7: '0ff' is not one or two hexadecimal digits"},
      {"write \\q\n", "line 1: unknown escape \\q (use \\xHH, \\gN or \\\\)"},
      {"write \\x 4b\n", "line 1: \\x takes exactly two hexadecimal digits, as in \\x4B"},
      {"write \\x00\n", "line 1: \\x00 cannot be sent: the driver's text ends at its first 0 byte"},
      {"write \\g9\n", "line 1: \\g takes a glyph number from 1 to 8, as in \\g1"},
      {"write \\g0\n", "line 1: \\g takes a glyph number from 1 to 8, as in \\g1"},
      {"write ab\\\n", "line 1: a lone \\ at the end of the text (write \\\\ for a backslash)"},
      {"jump\n",
       "line 1: unknown command \"jump\"; a script's commands are init, position, write, glyph, "
       "resume, done, snapshot, wait"},
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
  settings_.snapshot = [&snapshots]() -> Problem {
    if (++snapshots == 1) return std::nullopt;
    return "disk full";
  };
  // A line whose first non-blank is # is a comment, indented or not.
  EXPECT_EQ(RunSession(driver_, settings_,
                       "\xEF\xBB\xBFinit\n \t# indented comment\nwrite hi # x\nsnapshot\n"),
            std::nullopt);
  EXPECT_EQ(Screen(8, 2), "hi # x  \n        \n");
  EXPECT_EQ(RunSession(driver_, settings_, "snapshot\n"), "line 1: disk full");
}

// Blank lines of any kind are skipped, every kind of line end counts once
// (so line numbers match an editor's), and lines of other kinds than CR LF
// still read.
TEST_F(HostSessionTest, ScriptsFromAnyEditorReadLineForLine) {
  const std::pair<std::string, int> cases[] = {
      {"init\n\r\r\nwrite x\n", 3},  // line ends converted twice
      {"init\n\v\nwrite x\n", 3},    {"init\n\f\nwrite x\n", 3},
      {"init\n \t\r\nwrite x\n", 3}, {"init\rwrite x\r", 2},  // CR alone
      {"init\r\rwrite x", 3},        {"init\r\nwrite x\r\n", 2},
  };
  for (const auto& [script, write_line] : cases) {
    std::vector<ScriptCommand> commands;
    EXPECT_EQ(ParseScript(script, &commands), std::nullopt);
    ASSERT_EQ(commands.size(), 2u) << script;
    EXPECT_EQ(commands[1].line, write_line) << script;
    EXPECT_EQ(commands[1].text, "x") << script;
  }
}

// Scripts that would run without error but not do what was meant.
TEST_F(HostSessionTest, ScriptsThatWouldSendNothingOrTheWrongBytesAreCalledOut) {
  const std::pair<std::string, std::string> errors[] = {
      {"write hi\n",
       "line 1: write before init: the driver sends nothing until DISPLAYDLL_Init (put an init "
       "line before it)"},
      {"init\ndone\nposition 1 1\n",
       "line 3: position after done: the driver sends nothing until DISPLAYDLL_Init (put an "
       "init line before it)"},
      {"resume\n",
       "line 1: resume before init: the driver sends nothing until DISPLAYDLL_Init "
       "(put an init line before it)"},
      {std::string("\xFF\xFEi\0n\0", 6),
       "the script is UTF-16 (\"Unicode\" in Notepad): save it as UTF-8 or ANSI"},
      {std::string("i\0n\0i\0t\0", 8),
       "the script is UTF-16 (\"Unicode\" in Notepad): save it as UTF-8 or ANSI"},
  };
  for (const auto& [script, error] : errors) {
    std::vector<ScriptCommand> commands;
    EXPECT_EQ(ParseScript(script, &commands), error);
  }
  struct Warned {
    std::string script, warning;
    vlcd::CharacterRom rom = vlcd::CharacterRom::A00;
  };
  const Warned warned[] = {
      {"", "the script holds no commands, so nothing is sent to the driver"},
      {"# only a comment\n", "the script holds no commands, so nothing is sent to the driver"},
      {"snapshot\n", "the script has no init, so nothing is sent to the driver"},
      {"init\nwrite 42\xC2\xB0"
       "C\n",
       "line 2: \"\xC2\xB0\" is UTF-8 text, sent as 2 bytes that the module shows as characters "
       "of its own; write \\xDF for \"\xC2\xB0\" instead (character ROM A00)"},
      {"init\nwrite \xE2\x82\xAC\n",
       "line 2: \"\xE2\x82\xAC\" is UTF-8 text, sent as 3 bytes that the module shows as "
       "characters of its own; \"\xE2\x82\xAC\" has no code on character ROM A00 (a glyph of "
       "your own can show it: glyph N, then \\gN)"},
      // Every character is named: micro sign and middle dot by their look-alikes,
      // full-width katakana by the ROM's half-width forms, a voiced one as two.
      {"init\nwrite \xE2\x86\x92 1\xC2\xB5s \xC2\xB7\xE3\x82\xAB\xE3\x82\xAC\xC3\x84\xC2\xB5\n",
       "line 2: \"\xE2\x86\x92\", \"\xC2\xB5\", \"\xC2\xB7\", \"\xE3\x82\xAB\", "
       "\"\xE3\x82\xAC\" and \"\xC3\x84\" are UTF-8 text, each sent as 2 or more bytes that the "
       "module shows as characters of its own; write \\x7E for \"\xE2\x86\x92\", \\xE4 for "
       "\"\xC2\xB5\", \\xA5 for \"\xC2\xB7\", \\xB6 for \"\xE3\x82\xAB\" and \\xB6\\xDE for "
       "\"\xE3\x82\xAC\" instead (character ROM A00); \"\xC3\x84\" has no code on character ROM "
       "A00 (a glyph of your own can show it: glyph N, then \\gN)"},
      {"init\nglyph 1 1F 11 11 11 11 11 1F 00\nwrite \\g1\n",
       "line 3: write right after glyph, with no position between: the controller's address "
       "still points into the glyph memory, so the text changes glyphs instead of showing (put a "
       "position line before it)"},
      // The European ROM has the letter, and its degree sign elsewhere.
      {"init\nwrite caf\xC3\xA9 \xCE\xBC\n",
       "line 2: \"\xC3\xA9\" and \"\xCE\xBC\" are UTF-8 text, each sent as 2 or more bytes that "
       "the module shows as characters of its own; write \\xE9 for \"\xC3\xA9\" and \\xB5 for "
       "\"\xCE\xBC\" instead (character ROM A02)",
       vlcd::CharacterRom::A02},
  };
  for (const auto& [script, warning, rom] : warned) {
    std::vector<ScriptCommand> commands;
    std::vector<std::string> warnings;
    EXPECT_EQ(ParseScript(script, &commands, &warnings, rom), std::nullopt);
    EXPECT_EQ(warnings, std::vector<std::string>{warning}) << script;
  }
  // A byte of the module's own code page is not UTF-8, and is not warned about.
  std::vector<ScriptCommand> commands;
  std::vector<std::string> warnings;
  EXPECT_EQ(ParseScript("init\nwrite 42\xDF\n", &commands, &warnings), std::nullopt);
  EXPECT_TRUE(warnings.empty());
}

// The demo's title, long line and bar each keep rows of their own on every
// size, and stay on the rows a single controller drives.
TEST_F(HostSessionTest, DemoKeepsEachPartOnItsOwnRows) {
  struct Layout {
    int columns, rows;
    const char* first_row;
    int long_line_row;  // -1: none
    int bar_row;        // -1: none
  };
  const Layout layouts[] = {
      {8, 1, " HD66712", -1, -1},
      {16, 1, " HD66712 virtual", -1, -1},
      {8, 2, " HD66712", -1, 1},
      {16, 2, " HD66712 virtual", -1, 1},
      {20, 2, " HD66712 virtual LCD", -1, 1},
      {40, 2, " HD66712 virtual LCD", -1, 1},
      {16, 3, " HD66712 virtual", 1, 2},
      {16, 4, " HD66712 virtual", 1, 3},
      {20, 4, " HD66712 virtual LCD", 1, 3},
      {40, 4, " HD66712 virtual LCD", -1, 1},
  };
  for (const Layout& layout : layouts) {
    fake_ports::state.writes.clear();
    settings_.columns = layout.columns;
    settings_.rows = layout.rows;
    ASSERT_EQ(RunSession(driver_, settings_,
                         DemoScript(layout.columns, layout.rows, vlcd::CharacterRom::A00)),
              std::nullopt);
    std::vector<std::string> rows;
    std::istringstream lines(vlcd::ScreenText(
        vlcd::ScreenNow(ReplayWrites(vlcd::Chip::HD44780, layout.columns, layout.rows))));
    for (std::string row; std::getline(lines, row);) rows.push_back(row);
    const std::string where = std::to_string(layout.columns) + "x" + std::to_string(layout.rows);
    ASSERT_EQ(rows.size(), static_cast<size_t>(layout.rows)) << where;
    EXPECT_EQ(rows[0].rfind(layout.first_row, 0), 0u) << where << ": " << rows[0];
    if (layout.long_line_row >= 0) {
      EXPECT_EQ(rows[layout.long_line_row].rfind("Too long", 0), 0u) << where;
    }
    if (layout.bar_row >= 0) {
      // The whole row: the bar cut to the module, and nothing else on it.
      const char* cells[] = {"L", "o", "a", "d", "█", "█", "█", "█", "█",
                             "█", "█", "█", "▒", " ", "4", "2", "°"};
      std::string bar;
      for (int column = 0; column < layout.columns; ++column) {
        bar += column < static_cast<int>(std::size(cells)) ? cells[column] : " ";
      }
      EXPECT_EQ(rows[layout.bar_row], bar) << where;
    }
  }
}

// Each ROM keeps the degree sign at its own code.
TEST(GeneratedScriptTest, TheDemosDegreeSignIsAtTheRomsOwnCode) {
  for (const auto& [rom, degree] : {std::pair{vlcd::CharacterRom::A00, "42\\xDF\n"},
                                    std::pair{vlcd::CharacterRom::A02, "42\\xB0\n"}}) {
    const std::string demo = DemoScript(20, 4, rom);
    EXPECT_NE(demo.find(degree), std::string::npos) << demo;
  }
}

// The scripts lcd_host makes itself are valid for every size, and the
// release's test_pattern.lcd is the 20x4 pattern.
TEST(GeneratedScriptTest, DemoAndTestPatternParseForEverySize) {
  std::vector<ScriptCommand> commands;
  for (const auto& [columns, rows] :
       {std::pair{0, 0}, {1, 1}, {8, 1}, {16, 2}, {20, 4}, {40, 4}, {255, 255}}) {
    EXPECT_EQ(ParseScript(DemoScript(columns, rows, vlcd::CharacterRom::A00), &commands),
              std::nullopt)
        << columns << "x" << rows;
    for (PatternPages pages : {PatternPages::Paused, PatternPages::Snapshots}) {
      EXPECT_EQ(ParseScript(TestPatternScript(columns, rows, pages), &commands), std::nullopt)
          << columns << "x" << rows;
    }
  }
  EXPECT_EQ(ReadFileBytes(SHIPPED_TEST_PATTERN), TestPatternScript(20, 4, PatternPages::Paused));
}

}  // namespace
