// Choosing and loading the port library through the platform's own loader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "missing_entry_cases.h"
#include "module_fixture.h"
#include "test_names.h"

namespace {

namespace fs = std::filesystem;
using Events = std::vector<std::string>;
using PortLoadingModuleTest = ModuleTest;

TEST_F(PortLoadingModuleTest, DescribingEntriesWorkBeforeStart) {
  EXPECT_STREQ(driver_.Usage(), "HD66712 usage: LPT1,HD66712,Log");
  EXPECT_STREQ(driver_.DefaultParameters(), "LPT1,HD66712");
  EXPECT_STREQ(driver_.DriverName(), kDriverName);
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

#ifdef _WIN64
// What the system's loader says of a file it cannot load as a 64-bit library
// reaches the host: the mistake a 64-bit host's user makes with the 32-bit
// inpout32.dll.
TEST_F(PortLoadingModuleTest, AFileThatIsNoSixtyFourBitLibraryIsNamed) {
  std::ofstream("inpout32.dll") << "MZ, but not a library";
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"),
            "LoadLibrary for parallel port Failed: inpout32.dll is not a 64-bit library (it is a "
            "32-bit one, or no library at all); a 64-bit host needs inpoutx64.dll, the 64-bit "
            "build of the port library");
  EXPECT_EQ(ok_, 0);
}
#endif

// Hosts keep plug-ins in a folder of their own; a port library put beside
// the driver there is not where the system's search looks, and the driver
// says so, through the platform's own idea of where the driver is.
TEST_F(PortLoadingModuleTest, ALibraryBesideADriverInAPlugInFolderIsNamed) {
  const fs::path folder = fs::current_path() / "displays";
  fs::create_directory(folder);
  fs::copy_file(scratch_->home() / HD66712_MODULE_FILE,
                folder / fs::path(HD66712_MODULE_FILE).filename());
  fs::copy_file(scratch_->home() / RECORDER_DLPORTIO, folder / "dlportio.dll");
  loader::ModuleHandle plug_in =
      loader::LoadModule((folder / fs::path(HD66712_MODULE_FILE).filename()).string());
  ASSERT_NE(plug_in, nullptr);
  DriverEntries entries;
  ASSERT_EQ(FindDriverEntries(plug_in, &entries), std::nullopt);
  uint8_t ok = 7;
  const std::string result = entries.Init(20, 4, "LPT1,HD66712", &ok);
  EXPECT_EQ(ok, 0);
  EXPECT_EQ(result,
            "LoadLibrary for parallel port Failed: dlportio.dll is beside this driver in " +
                folder.string() +
                ", where the system does not look for it; put it in "
                "the host program's own folder (where its .exe is) or in the system folder");
  loader::UnloadModule(plug_in);
}

TEST_F(PortLoadingModuleTest, DlportioIsTheLastResort) {
  InstallPortLibrary(RECORDER_DLPORTIO, "dlportio.dll");
  Init(20, 4, "LPT1,HD44780");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(ReadLifecycle(), Events{"load dlportio.dll"});
  EXPECT_FALSE(ReadWrites().empty());
}

// The stand-in that lacks what the case's library lacks.
const char* StandInFor(const MissingEntryCase& c) {
  const bool dlportio = std::string(c.library) == "dlportio.dll";
  if (!c.has_read && !c.has_write) return INPOUT32_WITHOUT_EITHER;
  if (!c.has_read) return dlportio ? DLPORTIO_WITHOUT_READ : INPOUT32_WITHOUT_READ;
  return dlportio ? DLPORTIO_WITHOUT_WRITE : INPOUT32_WITHOUT_WRITE;
}

class MissingEntryModuleTest : public ModuleTest,
                               public ::testing::WithParamInterface<MissingEntryCase> {};

TEST_P(MissingEntryModuleTest, ReportsExactlyTheLibrarysMessage) {
  const MissingEntryCase& c = GetParam();
  InstallPortLibrary(StandInFor(c), c.library);
  // A later candidate must not be tried once one has loaded.
  if (std::string(c.library) != "dlportio.dll") {
    InstallPortLibrary(RECORDER_DLPORTIO, "dlportio.dll");
  }
  EXPECT_EQ(Init(20, 4, c.logging ? "LPT1,HD66712,Log" : "LPT1,HD66712"), c.message);
  EXPECT_EQ(ok_, 0);
  // Only the library that lacked the entry was loaded, and nothing written.
  EXPECT_EQ(ReadLifecycle().size(), 1u);
  EXPECT_TRUE(ReadWrites().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryRow, MissingEntryModuleTest, ::testing::ValuesIn(kMissingEntryCases),
                         [](const auto& test) {
                           return TestNameFrom(test.param.message) +
                                  (test.param.has_read || test.param.has_write ? "" : "_Neither");
                         });

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
