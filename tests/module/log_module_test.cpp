// The log file as the real module writes it on this platform.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "log_file.h"
#include "module_fixture.h"
#include "test_names.h"

namespace {

namespace fs = std::filesystem;
using LogModuleTest = ModuleTest;

// The local time now, as the log stamps its lines.
std::string LocalStamp() {
  const std::time_t now = std::time(nullptr);
  char stamp[20] = "";
  std::strftime(stamp, sizeof stamp, "%H:%M:%S %d/%m/%y", std::localtime(&now));
  return stamp;
}

TEST_F(LogModuleTest, RunsAppendTextModeLinesInTheLogsFolder) {
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  const std::string before = LocalStamp();
  Init(20, 4, "LPT1,HD44780,Log");
  const std::string after = LocalStamp();
  ASSERT_EQ(ok_, 1);
  driver_.Write("Hi");
  driver_.Done();
  Init(20, 4, "LPT2,HD66712,Log");
  driver_.Done();

  const std::string bytes = ReadFileBytes(kLogPath);
  ASSERT_FALSE(bytes.empty());
  // The platform's own wall clock and local time, not a simulated one.
  const std::string first_stamp = bytes.substr(0, 17);
  // Init waits over a second for the power-up (much longer under valgrind),
  // so its first line may be stamped at any second in between; a stamp
  // reads in time order within a day, and a run across midnight wraps.
  const bool in_order = before <= after ? before <= first_stamp && first_stamp <= after
                                        : first_stamp >= before || first_stamp <= after;
  EXPECT_TRUE(in_order) << first_stamp << " is not from " << before << " to " << after;
  // Every line ends in the platform's text-mode line end, CR LF on Windows.
  const std::string line_end = kLineEnd;
  EXPECT_EQ(bytes.substr(bytes.size() - line_end.size()), line_end);
  EXPECT_EQ(bytes.find("\r\n") != std::string::npos, line_end == "\r\n");

  std::string error;
  const std::vector<std::string> events = ReadLogEvents(kLogPath, &error);
  EXPECT_EQ(error, "");
  EXPECT_EQ(std::count(events.begin(), events.end(), "dp_open_log : HD66712 Initialising"), 2);
  EXPECT_EQ(std::count(events.begin(), events.end(), "Init : port=0x278, Chip type=0"), 1);
  EXPECT_EQ(std::count(events.begin(), events.end(), "WriteD :  72 (0x48) 'H'"), 1);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), "WriteC :   1 (0x01) '\x01'");
}

TEST_F(LogModuleTest, UnopenableLogGoesToStandardOutputAndStartStillSucceeds) {
  std::ofstream("logs") << "not a folder";
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(Init(20, 2, "LPT1,HD44780,Log"), kDriverName);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Failed to open ini file");
  EXPECT_EQ(ok_, 1);
  EXPECT_TRUE(fs::is_regular_file("logs"));
}

}  // namespace
