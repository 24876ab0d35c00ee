// Replaying a driver log: sessions split at each opening, every byte line
// form the driver writes, and lines that cannot be read named.
#include "log_replay.h"

#include <gtest/gtest.h>

#include "screen.h"

namespace {

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

}  // namespace
