#include "port/port_backend.h"

#include <gtest/gtest.h>

#include "displaydll.h"
#include "driver_fixture.h"
#include "fake_port_libraries.h"
#include "missing_entry_cases.h"
#include "test_names.h"

namespace {

using Names = std::vector<std::string>;
using PortBackendTest = DriverTest;

TEST_F(PortBackendTest, LoggingTriesTheDebugLibraryFirst) {
  fake_ports::InstallAll();
  Init(20, 4, "LPT1,HD66712,Log");
  EXPECT_EQ(fake_ports::state.loaded, Names{"inpout32_debug.dll"});
}

TEST_F(PortBackendTest, WithoutLoggingTheDebugLibraryIsNeverTried) {
  fake_ports::state.present["inpout32_debug.dll"] = {};
  const std::string result = Init(20, 4, "LPT1,HD66712");
  EXPECT_EQ(result, "LoadLibrary for parallel port Failed");
  EXPECT_EQ(ok_, 0);
  EXPECT_EQ(fake_ports::state.open_attempts, (Names{"inpout32.dll", "dlportio.dll"}));
}

TEST_F(PortBackendTest, FallsBackInOrderUntilOneLoads) {
  fake_ports::state.present["dlportio.dll"] = {};
  Init(20, 4, "LPT1,HD66712,Log");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(fake_ports::state.open_attempts,
            (Names{"inpout32_debug.dll", "inpout32.dll", "dlportio.dll"}));
  EXPECT_FALSE(fake_ports::state.writes.empty());
}

class MissingEntryTest : public DriverTest,
                         public ::testing::WithParamInterface<MissingEntryCase> {};

TEST_P(MissingEntryTest, EndsTheSearchWithThatLibrarysMessage) {
  const MissingEntryCase& c = GetParam();
  fake_ports::state.present[c.library] = fake_ports::Library{c.has_read, c.has_write};
  // The search must end at the first library that loads.
  fake_ports::state.present.try_emplace("dlportio.dll");
  const std::string result = Init(20, 4, c.logging ? "LPT1,HD66712,Log" : "LPT1,HD66712");
  EXPECT_EQ(result, c.message);
  EXPECT_EQ(ok_, 0);
  ASSERT_FALSE(fake_ports::state.open_attempts.empty());
  EXPECT_EQ(fake_ports::state.open_attempts.back(), c.library);
  // The library that lacked an entry stays loaded, but nothing is written.
  EXPECT_FALSE(PortBackendReady());
  EXPECT_TRUE(fake_ports::state.released.empty());
  DISPLAYDLL_Write("x");
  DISPLAYDLL_PowerResume();
  EXPECT_TRUE(fake_ports::state.writes.empty());
  DISPLAYDLL_Done();
  EXPECT_EQ(fake_ports::state.released, Names{c.library});
}

INSTANTIATE_TEST_SUITE_P(EveryLibrary, MissingEntryTest, ::testing::ValuesIn(kMissingEntryCases),
                         [](const auto& test) {
                           return TestNameFrom(test.param.message) +
                                  (test.param.has_read || test.param.has_write ? "" : "_Neither");
                         });

TEST_F(PortBackendTest, NothingIsWrittenBeforeStartOrAfterShutDown) {
  DISPLAYDLL_PowerResume();
  DISPLAYDLL_SetPosition(1, 1);
  DISPLAYDLL_Done();
  EXPECT_TRUE(fake_ports::state.writes.empty());
  Init(20, 4, "LPT1,HD66712");
  DISPLAYDLL_Done();
  const size_t written = fake_ports::state.writes.size();
  DISPLAYDLL_Write("after");
  DISPLAYDLL_PowerResume();
  DISPLAYDLL_Done();
  EXPECT_EQ(fake_ports::state.writes.size(), written);
}

}  // namespace
