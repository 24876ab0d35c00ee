// Replaying a driver log: sessions split at each opening, every byte line
// form the driver writes, and lines that cannot be read named.
#include "log_replay.h"

#include <gtest/gtest.h>

#include <fstream>

#include "module_settings.h"
#include "scratch_directory.h"
#include "screen.h"

namespace {

// The log as a file, replayed as lcd_host replays one; a file that cannot be
// replayed at all leaves its reason among the warnings. ctest runs these
// tests side by side, so each writes in a folder of its own.
Replay ReplayLog(const std::string& log, const vlcd::Module& module, FromTheLog from_log = {}) {
  const ScratchDirectory scratch;
  std::ofstream("driver.log", std::ios::binary) << log;
  Replay replay;
  if (const Problem problem = ReplayLogFile("driver.log", module, from_log, &replay)) {
    replay.warnings.push_back(*problem);
  }
  return replay;
}

std::string Line(const char* name, const char* text, const char* end = "\r\n") {
  return std::string("17:04:05 15/01/26 ") + name + " : " + text + end;
}

TEST(LogReplayTest, ShowsEachSessionAsTheHostLeftIt) {
  const std::string log = Line("dp_open_log", "HD66712 Initialising") + Line("Init", "Called ") +
                          Line("Init", "inpout32.dll loaded") + Line("WriteC", " 56 (0x38) '8'") +
                          Line("WriteC", " 12 (0x0c) '\f'") + Line("WriteC", "  1 (0x01) '\x01'") +
                          Line("Write", "AB") + Line("WriteD", " 65 (0x41) 'A'") +
                          // A byte 0 ends the text at the quote; a line feed byte breaks the line.
                          Line("WriteD", "  0 (0x00) '") + Line("WriteD", " 10 (0x0a) '\n'") +
                          Line("Done", "Bye") + Line("WriteC", "  1 (0x01) '\x01'", "\n") +
                          "garbage\n" + Line("dp_open_log", "HD66712 Initialising", "\n") +
                          Line("WriteC", " 56 (0x38) '8'", "\n") +
                          Line("WriteC", " 12 (0x0c) '\f'", "\n") +
                          Line("WriteD", " 90 (0x5a) 'Z'", "\n") + Line("WriteD", "oops", "\n");
  vlcd::Module module;
  module.chip = vlcd::Chip::HD44780;
  module.columns = 4;
  module.rows = 2;
  const Replay replay = ReplayLog(log, module);

  ASSERT_EQ(replay.sessions.size(), 2u);
  const ReplayedSession& first = replay.sessions[0];
  EXPECT_EQ(first.first_line, 1);
  EXPECT_EQ(first.last_line, 13);
  EXPECT_TRUE(first.shut_down);
  EXPECT_EQ(vlcd::ScreenCodes(first.before_shut_down),
            (std::vector<std::vector<int>>{{'A', 0, 10, ' '}, {' ', ' ', ' ', ' '}}));
  EXPECT_EQ(vlcd::ScreenText(vlcd::ScreenNow(first.lcd)), "    \n    \n");
  EXPECT_TRUE(first.lcd.findings.violations.empty());

  const ReplayedSession& second = replay.sessions[1];
  EXPECT_EQ(second.first_line, 15);
  EXPECT_FALSE(second.shut_down);
  // No clear in this session: the rest of the memory is as it powered up.
  EXPECT_EQ(vlcd::ScreenCodes(vlcd::ScreenNow(second.lcd))[0][0], 'Z');
  EXPECT_EQ(replay.unreadable, (std::vector<std::string>{"line 14: not a log line",
                                                         "line 19: WriteD without a byte in it"}));
}

// A failed Init still logs the bytes of later calls, though none was sent;
// a written text may hold line feeds; lines of two runs may be mixed.
TEST(LogReplayTest, FailedInitTextLineFeedsAndOutOfOrderStamps) {
  const std::string log = Line("dp_open_log", "HD66712 Initialising") + Line("Init", "Called ") +
                          Line("Write", "two\nlines") + Line("WriteD", "116 (0x74) 't'") +
                          "17:04:04 15/01/26 Done : Bye\n";
  const Replay replay = ReplayLog(log, vlcd::Module{});
  ASSERT_EQ(replay.sessions.size(), 1u);
  EXPECT_TRUE(replay.sessions[0].init_failed);
  EXPECT_EQ(replay.sessions[0].lcd.traffic.port_writes, 0);
  EXPECT_TRUE(replay.unreadable.empty());
  ASSERT_EQ(replay.warnings.size(), 1u);
  EXPECT_EQ(replay.warnings[0].rfind("line 6: its time stamp is earlier than line 5's", 0), 0u)
      << replay.warnings[0];
}

// Each session is judged on its own lines: one whose Init failed between
// two that loaded a library sends nothing, and takes nothing from the first.
TEST(LogReplayTest, SessionsAroundAFailedOneAreEachTheirOwn) {
  const auto session = [](bool loads, const char* byte) {
    return Line("dp_open_log", "HD66712 Initialising") + Line("Init", "Called ") +
           (loads ? Line("Init", "inpout32.dll loaded") : "") + Line("WriteC", " 56 (0x38) '8'") +
           Line("WriteC", " 12 (0x0c) '\f'") + Line("WriteD", byte);
  };
  const Replay replay =
      ReplayLog(session(true, " 65 (0x41) 'A'") + session(false, " 66 (0x42) 'B'") +
                    session(true, " 67 (0x43) 'C'"),
                vlcd::Module{});
  ASSERT_EQ(replay.sessions.size(), 3u);
  EXPECT_FALSE(replay.sessions[0].init_failed);
  EXPECT_TRUE(replay.sessions[1].init_failed);
  EXPECT_EQ(replay.sessions[1].unsent_bytes, 3);
  EXPECT_FALSE(replay.sessions[2].init_failed);
  EXPECT_EQ(vlcd::ScreenCodes(vlcd::ScreenNow(replay.sessions[2].lcd))[0][0], 'C');
}

// What the user left out comes from each session's own Init, up to its
// first byte; a log saved with CR line ends and a byte order mark reads
// the same; a binary file's lines are counted, not listed.
TEST(LogReplayTest, EachSessionIsTheModuleItsInitRecorded) {
  const auto session = [](const char* size, const char* chip, const char* end) {
    return Line("dp_open_log", "HD66712 Initialising", end) +
           Line("Init", "inpout32.dll loaded", end) + Line("Init", size, end) +
           Line("Init", chip, end) + Line("WriteD", " 65 (0x41) 'A'", end) +
           Line("Init", "Display width=40, height=1", end);
  };
  const std::string log = "\xEF\xBB\xBF" +
                          session("Display width=16, height=2", "port=0x378, Chip type=1", "\r") +
                          session("Display width=8, height=1", "port=0x278, Chip type=0", "\r");
  FromTheLog from_log;
  from_log.columns = from_log.chip = true;
  vlcd::Module module;
  module.rows = 3;
  const Replay replay = ReplayLog(log, module, from_log);
  ASSERT_EQ(replay.sessions.size(), 2u);
  EXPECT_EQ(vlcd::Describe(replay.sessions[0].lcd.module), "16x3 HD44780 with ROM A00");
  EXPECT_EQ(replay.sessions[0].from_log, "columns and chip");
  EXPECT_EQ(replay.sessions[1].first_line, 7);
  EXPECT_EQ(vlcd::Describe(replay.sessions[1].lcd.module), "8x3 HD66712 with ROM A00");
  EXPECT_TRUE(replay.unreadable.empty());
  EXPECT_EQ(ReplayLog(log, module).sessions[0].from_log, "");

  std::string binary;
  for (int line = 0; line < 25; ++line) binary += "\x01\x02\n";
  const Replay garbage = ReplayLog(binary + session("", "", "\n"), module);
  EXPECT_EQ(garbage.unreadable.size(), 10u);
  EXPECT_EQ(garbage.unreadable.back(), "line 10: not a log line");
  EXPECT_EQ(garbage.more_unreadable, 15);
  EXPECT_EQ(garbage.sessions.size(), 1u);
}

}  // namespace
