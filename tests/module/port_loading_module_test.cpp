// Choosing and loading the port library through the platform's own loader.
#include <gtest/gtest.h>

#include "module_fixture.h"
#include "test_names.h"

namespace {

using Events = std::vector<std::string>;
using PortLoadingModuleTest = ModuleTest;

TEST_F(PortLoadingModuleTest, DescribingEntriesWorkBeforeStart) {
  EXPECT_STREQ(driver_.Usage(), "HD66712 usage: LPT1,HD66712,Log");
  EXPECT_STREQ(driver_.DefaultParameters(), "LPT1,HD66712");
  EXPECT_STREQ(driver_.DriverName(), "HD66712 Display v1.0.4.21");
  EXPECT_EQ(driver_.CustomCharIndex(1), 8);
}

TEST_F(PortLoadingModuleTest, NoLibraryAtAll) {
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"), "LoadLibrary for parallel port Failed");
  EXPECT_EQ(ok_, 0);
}

TEST_F(PortLoadingModuleTest, DebugLibraryAloneIsIgnoredWithoutLogging) {
  InstallPortLibrary(RECORDER_INPOUT32_DEBUG, "inpout32_debug.dll");
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"), "LoadLibrary for parallel port Failed");
  EXPECT_EQ(ok_, 0);
  EXPECT_TRUE(ReadTrace().empty());
}

TEST_F(PortLoadingModuleTest, LoggingPrefersTheDebugLibrary) {
  InstallPortLibrary(RECORDER_INPOUT32_DEBUG, "inpout32_debug.dll");
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  Init(20, 4, "LPT1,HD66712,Log");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(ReadLifecycle(), Events{"load inpout32_debug.dll"});
  const std::vector<PortEvent> trace = ReadTrace();
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.back().library, "inpout32_debug.dll");
}

TEST_F(PortLoadingModuleTest, DlportioIsTheLastResort) {
  InstallPortLibrary(RECORDER_DLPORTIO, "dlportio.dll");
  Init(20, 4, "LPT1,HD44780");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(ReadLifecycle(), Events{"load dlportio.dll"});
  EXPECT_FALSE(ReadWrites().empty());
}

struct MissingEntryCase {
  const char* stand_in;
  const char* file_name;
  bool logging;
  const char* message;
};

// gtest would otherwise print the case's raw bytes, padding included.
void PrintTo(const MissingEntryCase& c, std::ostream* out) { *out << c.message; }

class MissingEntryModuleTest : public ModuleTest,
                               public ::testing::WithParamInterface<MissingEntryCase> {};

TEST_P(MissingEntryModuleTest, ReportsExactlyTheLibrarysMessage) {
  const MissingEntryCase& c = GetParam();
  InstallPortLibrary(c.stand_in, c.file_name);
  // A later candidate must not be tried once one has loaded.
  if (std::string(c.file_name) != "dlportio.dll") {
    InstallPortLibrary(RECORDER_DLPORTIO, "dlportio.dll");
  }
  EXPECT_EQ(Init(20, 4, c.logging ? "LPT1,HD66712,Log" : "LPT1,HD66712"), c.message);
  EXPECT_EQ(ok_, 0);
  // Only the library that lacked the entry was loaded, and nothing written.
  EXPECT_EQ(ReadLifecycle().size(), 1u);
  EXPECT_TRUE(ReadWrites().empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, MissingEntryModuleTest,
    ::testing::Values(MissingEntryCase{INPOUT32_WITHOUT_READ, "inpout32_debug.dll", true,
                                       "GetProcAddress for inpout32_debug.dll/Inp32 Failed"},
                      MissingEntryCase{INPOUT32_WITHOUT_WRITE, "inpout32_debug.dll", true,
                                       "GetProcAddress for inpout32_debug.dll/Out32 Failed"},
                      MissingEntryCase{INPOUT32_WITHOUT_READ, "inpout32.dll", false,
                                       "GetProcAddress for inpout32.dll/Inp32 Failed"},
                      MissingEntryCase{INPOUT32_WITHOUT_WRITE, "inpout32.dll", false,
                                       "GetProcAddress for inpout32.dll/Out32 Failed"},
                      // dlportio's messages name the inpout32 entries, not its own.
                      MissingEntryCase{DLPORTIO_WITHOUT_READ, "dlportio.dll", false,
                                       "GetProcAddress for dlportio.dll/Inp32 Failed"},
                      MissingEntryCase{DLPORTIO_WITHOUT_WRITE, "dlportio.dll", false,
                                       "GetProcAddress for dlportio.dll/Out32 Failed"}),
    [](const auto& test) { return TestNameFrom(test.param.message); });

TEST_F(PortLoadingModuleTest, RepeatedStartKeepsTheLibraryAndDoneThenStartReloads) {
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  Init(20, 4, "LPT1,HD44780");
  Init(20, 2, "LPT1,HD44780");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(ReadLifecycle(), Events{"load inpout32.dll"});
  driver_.Done();
  EXPECT_EQ(ReadLifecycle(), (Events{"load inpout32.dll", "unload inpout32.dll"}));
  const std::vector<DecodedCycle> cycles = ReadCycles();
  ASSERT_FALSE(cycles.empty());
  EXPECT_EQ(cycles.back().byte, 0x01);
  EXPECT_FALSE(cycles.back().data);
  Init(20, 4, "LPT1,HD44780");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(ReadLifecycle(),
            (Events{"load inpout32.dll", "unload inpout32.dll", "load inpout32.dll"}));
}

}  // namespace
