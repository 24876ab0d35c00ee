// Faults a host's process must survive, through the real module.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "module_fixture.h"

namespace {

namespace fs = std::filesystem;
using FaultModuleTest = ModuleTest;

// Whenever the driver has no port to write, every entry a host may still
// call sends nothing: before the first Init, after Done (once or twice),
// and after an Init that found the port library gone. The cases run in
// order on one loaded module.
TEST_F(FaultModuleTest, EntriesWithNoPortToWriteSendNothing) {
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  const struct {
    const char* when;
    std::function<void()> before;
  } cases[] = {
      {"before the first Init", [] {}},
      {"after Done",
       [this] {
         Init(20, 2, "LPT1,HD44780");
         driver_.Done();
       }},
      {"after Done twice",
       [this] {
         Init(20, 4, "LPT1,HD66712");
         driver_.Done();
         driver_.Done();
       }},
      {"after the port library was removed between sessions",
       [this] {
         Init(20, 4, "LPT1,HD66712");
         ASSERT_EQ(ok_, 1);
         driver_.Done();
         fs::remove("inpout32.dll");
         EXPECT_EQ(Init(20, 4, "LPT1,HD66712"), "LoadLibrary for parallel port Failed");
         EXPECT_EQ(ok_, 0);
       }},
  };
  const uint8_t glyph[8] = {};
  for (const auto& c : cases) {
    c.before();
    const size_t written = ReadWrites().size();
    driver_.PowerResume();
    driver_.SetPosition(3, 3);
    driver_.Write("late");
    driver_.CustomChar(1, glyph);
    driver_.Done();
    EXPECT_EQ(ReadWrites().size(), written) << c.when;
  }
}

}  // namespace
