#include "log/diag_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "displaydll.h"
#include "driver_fixture.h"
#include "fake_port_libraries.h"
#include "log_file.h"
#include "sim_clock.h"
#include "test_names.h"

namespace {

namespace fs = std::filesystem;

// Sets the process's time zone for one test, and puts the old one back.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) previous_ = old;
    Set(zone);
  }
  ~ScopedTimeZone() { Set(previous_.empty() ? nullptr : previous_.c_str()); }

 private:
  static void Set(const char* zone) {
#if defined(_WIN32)
    _putenv_s("TZ", zone == nullptr ? "" : zone);
    _tzset();
#else
    if (zone == nullptr) {
      unsetenv("TZ");
    } else {
      setenv("TZ", zone, 1);
    }
    tzset();
#endif
  }
  std::string previous_;
};
using Lines = std::vector<std::string>;

class DiagLogTest : public DriverTest {
 protected:
  Lines Events() {
    std::string error;
    Lines events = ReadLogEvents(kLogPath, &error);
    EXPECT_EQ(error, "");
    return events;
  }
  // The events logged since the last call.
  Lines NewEvents() {
    Lines events = Events();
    events.erase(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(seen_));
    seen_ += events.size();
    return events;
  }
  size_t seen_ = 0;
};

Lines PowerUpEvents() {
  return {"PowerResume : Entered",      "WriteC :  60 (0x3c) '<'",  "WriteC :   9 (0x09) '\t'",
          "WriteC :  56 (0x38) '8'",    "WriteC :  56 (0x38) '8'",  "WriteC :  56 (0x38) '8'",
          "WriteC :  56 (0x38) '8'",    "WriteC :  56 (0x38) '8'",  "WriteC :   8 (0x08) '\b'",
          "WriteC :   1 (0x01) '\x01'", "WriteC :  12 (0x0c) '\f'", "WriteC :   6 (0x06) '\x06'",
          "WriteC :   2 (0x02) '\x02'", "PowerResume : Complete"};
}

TEST_F(DiagLogTest, OffTouchesNoFileOrFolder) {
  Init(20, 4, "LPT1,HD66712");
  DISPLAYDLL_SetPosition(1, 1);
  DISPLAYDLL_Write("text");
  const uint8_t glyph[8] = {};
  DISPLAYDLL_CustomChar(1, glyph);
  DISPLAYDLL_PowerResume();
  DISPLAYDLL_Done();
  EXPECT_FALSE(fs::exists("logs"));
}

TEST_F(DiagLogTest, SessionLogsEveryCallAndByteInOrder) {
  fake_ports::state.present["inpout32_debug.dll"] = {};
  fake_ports::state.present["inpout32.dll"] = {};
  Init(20, 4, "LPT1,HD66712,Log");
  Lines expected = {"dp_open_log : HD66712 Initialising",
                    "Init : Called ",
                    "Init : inpout32_debug.dll loaded",
                    "Init : Display width=20, height=4",
                    "j= : 5, l=12, startup_parameters=LPT1,HD66712,Log",
                    "Init : port=0x378, Chip type=0"};
  const Lines power_up = PowerUpEvents();
  expected.insert(expected.end(), power_up.begin(), power_up.end());
  EXPECT_EQ(NewEvents(), expected);

  DISPLAYDLL_SetPosition(1, 2);
  DISPLAYDLL_Write("H");
  const uint8_t glyph[8] = {0x04, 0x1F, 0x00, 0xA5, 0x10, 0x0E, 0x01, 0x11};
  DISPLAYDLL_CustomChar(2, glyph);
  EXPECT_EQ(DISPLAYDLL_CustomCharIndex(2), 1);
  DISPLAYDLL_Usage();
  DISPLAYDLL_DriverName();
  EXPECT_EQ(
      NewEvents(),
      (Lines{"SetPosition : x=1, y=2", "Setpos : x=0, y=1, cursor=32", "WriteC : 160 (0xa0) '\xa0'",
             "Write : H", "WriteD :  72 (0x48) 'H'",
             "CustomChar :   2 - 0x 4 0x1f 0x 0 0xa5 0x10 0x e 0x 1 0x11",
             "WriteC :  72 (0x48) 'H'", "WriteD :   4 (0x04) '\x04'", "WriteD :  31 (0x1f) '\x1f'",
             "WriteD :   0 (0x00) '", "WriteD : 165 (0xa5) '\xa5'", "WriteD :  16 (0x10) '\x10'",
             "WriteD :  14 (0x0e) '\x0e'", "WriteD :   1 (0x01) '\x01'",
             "WriteD :  17 (0x11) '\x11'"}));

  // The host's own arguments, as sent, however far out of range.
  DISPLAYDLL_SetPosition(30, 9);
  const Lines clamped = NewEvents();
  ASSERT_FALSE(clamped.empty());
  EXPECT_EQ(clamped[0], "SetPosition : x=30, y=9");

  DISPLAYDLL_Done();
  EXPECT_EQ(NewEvents(), (Lines{"Done : Bye", "WriteC :   1 (0x01) '\x01'"}));
  EXPECT_EQ(dp_log_file(), nullptr);
}

TEST_F(DiagLogTest, StampIsLocalTimeDayFirstAndFollowsTheClock) {
  // Five hours behind UTC in January; 17:04 so that a 12-hour clock shows.
  ScopedTimeZone zone("EST5EDT");
  sim_clock::state.wall_seconds = 1768514645;  // 2026-01-15 22:04:05 UTC
  Init(20, 4, "LPT1,HD66712,Log");
  sim_clock::state.wall_seconds += 1;
  DISPLAYDLL_Write("x");
  const std::string bytes = ReadFileBytes(kLogPath);
  EXPECT_EQ(bytes.rfind("17:04:05 15/01/26 dp_open_log : HD66712 Initialising", 0), 0u)
      << bytes.substr(0, 60);
  EXPECT_NE(bytes.find(std::string(kLineEnd) + "17:04:06 15/01/26 Write : x"), std::string::npos);
}

TEST_F(DiagLogTest, RepeatedStartAndPortZero) {
  Init(20, 2, "LPT1,HD44780,Log");
  NewEvents();
  Init(16, 1, "0x,HD44780xxxx");
  const Lines events = NewEvents();
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(
      Lines(events.begin(), events.begin() + 4),
      (Lines{"Init : reCalled ", "Init : Display width=16, height=1",
             "j= : 3, l=10, startup_parameters=0x,HD44780xxxx", "Init : port=0x  0, Chip type=1"}));
}

TEST_F(DiagLogTest, EventAfterDoneReopensAndAppends) {
  Init(20, 4, "LPT1,HD66712,Log");
  DISPLAYDLL_Done();
  NewEvents();
  DISPLAYDLL_Write("again");
  EXPECT_EQ(NewEvents(),
            (Lines{"dp_open_log : HD66712 Initialising", "Write : again", "WriteD :  97 (0x61) 'a'",
                   "WriteD : 103 (0x67) 'g'", "WriteD :  97 (0x61) 'a'", "WriteD : 105 (0x69) 'i'",
                   "WriteD : 110 (0x6e) 'n'"}));
  // The next start meets the file still open: it keeps writing to it.
  std::FILE* open_file = dp_log_file();
  ASSERT_NE(open_file, nullptr);
  Init(20, 4, "LPT1,HD66712,Log");
  EXPECT_EQ(dp_log_file(), open_file);
  const Lines events = NewEvents();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[0], "dp_open_log : HD66712 Initialising");
  EXPECT_EQ(events[1], "Init : Called ");
}

TEST_F(DiagLogTest, UnopenableLogIsReportedOnceAndTheDriverCarriesOn) {
  std::ofstream("logs") << "a file where the folder should be";
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712,Log"), kDriverName);
  EXPECT_EQ(ok_, 1);
  DISPLAYDLL_Write("dropped");
  DISPLAYDLL_Done();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to open ini file");
  EXPECT_FALSE(TakeCycles().empty());
  // Closing reset the attempt: the next event tries (and reports) again.
  ::testing::internal::CaptureStdout();
  DISPLAYDLL_PowerResume();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to open ini file");
}

TEST_F(DiagLogTest, LongTextsAreLoggedWhole) {
  const std::string parameters = "LPT1,HD66712," + std::string(1 << 16, 'p') + "Log";
  Init(20, 4, parameters.c_str());
  const std::string text(1 << 16, 't');
  DISPLAYDLL_Write(text.c_str());
  const Lines events = Events();
  ASSERT_GE(events.size(), 5u);
  EXPECT_EQ(events[4], "j= : 5, l=" + std::to_string(parameters.size() - 4) +
                           ", startup_parameters=" + parameters);
  EXPECT_EQ(std::count(events.begin(), events.end(), "Write : " + text), 1);
}

// Around the length at which a line no longer fits in one piece.
TEST_F(DiagLogTest, LinesOfEveryLengthNearTheBufferAreWrittenWhole) {
  Init(20, 4, "LPT1,HD66712,Log");
  for (size_t length = 220; length <= 240; ++length) {
    DISPLAYDLL_Write(std::string(length, static_cast<char>('a' + length % 26)).c_str());
  }
  const Lines events = Events();
  for (size_t length = 220; length <= 240; ++length) {
    const std::string text(length, static_cast<char>('a' + length % 26));
    EXPECT_EQ(std::count(events.begin(), events.end(), "Write : " + text), 1) << length;
  }
}

}  // namespace
