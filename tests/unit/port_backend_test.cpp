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

// A 64-bit process first tries the usual name of inpout's 64-bit build.
#ifdef _WIN64
const Names kFirst = {"inpoutx64.dll"};
#else
const Names kFirst = {};
#endif

Names After(const Names& first, const Names& rest) {
  Names names = first;
  names.insert(names.end(), rest.begin(), rest.end());
  return names;
}

TEST_F(PortBackendTest, LoggingTriesTheDebugLibraryFirst) {
  fake_ports::InstallAll();
  fake_ports::state.present.erase("inpoutx64.dll");
  Init(20, 4, "LPT1,HD66712,Log");
  EXPECT_EQ(fake_ports::state.loaded, Names{"inpout32_debug.dll"});
}

TEST_F(PortBackendTest, WithoutLoggingTheDebugLibraryIsNeverTried) {
  fake_ports::state.present["inpout32_debug.dll"] = {};
  const std::string result = Init(20, 4, "LPT1,HD66712");
  EXPECT_EQ(result, "LoadLibrary for parallel port Failed");
  EXPECT_EQ(ok_, 0);
  EXPECT_EQ(fake_ports::state.open_attempts, After(kFirst, {"inpout32.dll", "dlportio.dll"}));
}

TEST_F(PortBackendTest, FallsBackInOrderUntilOneLoads) {
  fake_ports::state.present["dlportio.dll"] = {};
  Init(20, 4, "LPT1,HD66712,Log");
  EXPECT_EQ(ok_, 1);
  EXPECT_EQ(fake_ports::state.open_attempts,
            After(kFirst, {"inpout32_debug.dll", "inpout32.dll", "dlportio.dll"}));
  EXPECT_FALSE(fake_ports::state.writes.empty());
}

// A 64-bit host's user will put the 32-bit inpout32.dll beside it; only the
// 64-bit driver can say so, and the 32-bit one keeps the message hosts know.
TEST_F(PortBackendTest, ALibraryOfTheWrongKindIsNamedByTheSixtyFourBitDriverOnly) {
#ifdef _WIN64
  const std::string expected =
      "LoadLibrary for parallel port Failed: inpout32.dll is not a 64-bit library (it is a "
      "32-bit one, or no library at all); a 64-bit host needs inpoutx64.dll, the 64-bit build "
      "of the port library";
#else
  const std::string expected = "LoadLibrary for parallel port Failed";
#endif
  fake_ports::state.wrong_kind = {"inpout32.dll", "dlportio.dll"};
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"), expected);
  EXPECT_EQ(ok_, 0);
}

// A host keeps its plug-ins in a folder of their own, and the user puts the
// port library beside the driver there: the system's search never looks
// there, so the driver says where it must go.
TEST_F(PortBackendTest, ALibraryBesideTheDriverIsNamedWithWhereItMustGo) {
  fake_ports::state.present["inpout32_debug.dll"] = {};  // tried only when logging
  fake_ports::state.beside_driver = {"dlportio.dll"};
  EXPECT_EQ(Init(20, 4, "LPT1,HD66712"),
            "LoadLibrary for parallel port Failed: dlportio.dll is beside this driver in "
            "C:\\host\\displays, where the system does not look for it; put it in the host "
            "program's own folder (where its .exe is) or in the system folder");
  EXPECT_EQ(ok_, 0);
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
