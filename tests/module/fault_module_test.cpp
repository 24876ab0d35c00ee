// Faults a host's process must survive, through the real module.
#include <gtest/gtest.h>

#include <filesystem>

#include "module_fixture.h"

namespace {

namespace fs = std::filesystem;
using FaultModuleTest = ModuleTest;

TEST_F(FaultModuleTest, PortLibraryRemovedBetweenSessions) {
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  Init(20, 4, "LPT1,HD66712");
  ASSERT_EQ(ok_, 1);
  driver_.Done();
  const size_t written = ReadWrites().size();
  fs::remove("inpout32.dll");
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"), "LoadLibrary for parallel port Failed");
  EXPECT_EQ(ok_, 0);
  driver_.Write("nothing");
  driver_.SetPosition(1, 1);
  driver_.Done();
  EXPECT_EQ(ReadWrites().size(), written);
}

TEST_F(FaultModuleTest, DoneTwiceAndEntriesAfterDoneSendNothing) {
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  Init(20, 2, "LPT1,HD44780");
  driver_.Done();
  const size_t written = ReadWrites().size();
  driver_.Done();
  driver_.Write("late");
  const uint8_t glyph[8] = {};
  driver_.CustomChar(1, glyph);
  EXPECT_EQ(ReadWrites().size(), written);
}

TEST_F(FaultModuleTest, PowerResumeBeforeInitSendsNothing) {
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  driver_.PowerResume();
  driver_.SetPosition(3, 3);
  driver_.Write("early");
  EXPECT_TRUE(ReadTrace().empty());
}

}  // namespace
