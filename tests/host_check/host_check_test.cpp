// The shipped DLL as a 32-bit Windows host meets it, with nothing arranged
// by our own compiler: entries found under every name and ordinal a host may
// use, called with hand-pushed arguments whose upper bytes hold junk, as a
// host that pushes whole registers leaves them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "log_file.h"
#include "module_fixture.h"
#include "stdcall_probe.h"
#include "test_names.h"

namespace {

struct ExportedEntry {
  const char* name;
  WORD ordinal;
  const char* decorated_name;
  WORD decorated_ordinal;
};

constexpr ExportedEntry kEntries[] = {
    {"DISPLAYDLL_Usage", 1, "DISPLAYDLL_Usage@0", 19},
    {"DISPLAYDLL_DriverName", 2, "DISPLAYDLL_DriverName@0", 15},
    {"DISPLAYDLL_DefaultParameters", 3, "DISPLAYDLL_DefaultParameters@0", 13},
    {"DISPLAYDLL_Init", 4, "DISPLAYDLL_Init@16", 16},
    {"DISPLAYDLL_PowerResume", 5, "DISPLAYDLL_PowerResume@0", 17},
    {"DISPLAYDLL_Done", 6, "DISPLAYDLL_Done@0", 14},
    {"DISPLAYDLL_Write", 7, "DISPLAYDLL_Write@4", 20},
    {"DISPLAYDLL_SetPosition", 8, "DISPLAYDLL_SetPosition@8", 18},
    {"DISPLAYDLL_CustomChar", 9, "DISPLAYDLL_CustomChar@8", 11},
    {"DISPLAYDLL_CustomCharIndex", 10, "DISPLAYDLL_CustomCharIndex@4", 12},
};

class HostCheckTest : public ModuleTest {
 protected:
  const void* Entry(const char* name) const {
    return reinterpret_cast<const void*>(GetProcAddress(static_cast<HMODULE>(module()), name));
  }
  const void* Entry(WORD ordinal) const {
    return reinterpret_cast<const void*>(
        GetProcAddress(static_cast<HMODULE>(module()), MAKEINTRESOURCEA(ordinal)));
  }

  // Calls `name` with `arguments` and checks that it removed them all.
  ProbeResult Call(const char* name, std::initializer_list<uint32_t> arguments) {
    const void* entry = Entry(name);
    EXPECT_NE(entry, nullptr) << name;
    if (entry == nullptr) return {};
    const uint32_t count = static_cast<uint32_t>(arguments.size());
    const ProbeResult result = CallWithStackProbe(entry, arguments.begin(), count);
    EXPECT_EQ(result.bytes_removed, 4 * count) << name;
    return result;
  }

  static uint32_t Address(const void* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
  }
  static std::string Text(const ProbeResult& result) {
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(result.eax));
  }
};

TEST_F(HostCheckTest, EveryEntryIsOneCodeUnderItsNamesAndOrdinals) {
  for (const ExportedEntry& entry : kEntries) {
    const void* plain = Entry(entry.name);
    ASSERT_NE(plain, nullptr) << entry.name;
    EXPECT_EQ(Entry(entry.decorated_name), plain) << entry.decorated_name;
    EXPECT_EQ(Entry(entry.ordinal), plain) << entry.name << " at ordinal " << entry.ordinal;
    EXPECT_EQ(Entry(entry.decorated_ordinal), plain)
        << entry.decorated_name << " at ordinal " << entry.decorated_ordinal;
  }
}

TEST_F(HostCheckTest, HandPushedSessionWithJunkInTheUpperBytes) {
  EXPECT_EQ(Text(Call("DISPLAYDLL_Usage", {})), "HD66712 usage: LPT1,HD66712,Log");
  EXPECT_EQ(Text(Call("DISPLAYDLL_DriverName", {})), kDriverName);
  EXPECT_EQ(Text(Call("DISPLAYDLL_DefaultParameters", {})), "LPT1,HD66712");
  // Taken whole, 0xFFFFFF01 would not be glyph 1, which alone maps to 8.
  EXPECT_EQ(Call("DISPLAYDLL_CustomCharIndex", {0xFFFFFF01u}).eax & 0xFF, 8u);
  EXPECT_EQ(Call("DISPLAYDLL_CustomCharIndex", {0xA5A5A503u}).eax & 0xFF, 2u);

  // The success flag is one byte: its neighbours must keep their values.
  const char parameters[] = "LPT1,HD44780,Log";
  uint8_t flag[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  const uint32_t columns = 0xA5A5A514u;  // 20
  const uint32_t rows = 0x5A5A5A04u;     // 4
  EXPECT_EQ(Text(Call("DISPLAYDLL_Init", {columns, rows, Address(parameters), Address(flag)})),
            "LoadLibrary for parallel port Failed");
  EXPECT_EQ(std::vector<uint8_t>(flag, flag + 4), (std::vector<uint8_t>{0, 0xAA, 0xAA, 0xAA}));
  InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
  EXPECT_EQ(Text(Call("DISPLAYDLL_Init", {columns, rows, Address(parameters), Address(flag)})),
            kDriverName);
  EXPECT_EQ(std::vector<uint8_t>(flag, flag + 4), (std::vector<uint8_t>{1, 0xAA, 0xAA, 0xAA}));

  Call("DISPLAYDLL_SetPosition", {0xFFFFFF03u, 0x12345602u});
  const char text[] = "Hi";
  Call("DISPLAYDLL_Write", {Address(text)});
  const uint8_t glyph[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  Call("DISPLAYDLL_CustomChar", {0xDEADBE01u, Address(glyph)});
  Call("DISPLAYDLL_PowerResume", {});
  Call("DISPLAYDLL_Done", {});

  std::string error;
  const std::vector<std::string> events = ReadLogEvents(kLogPath, &error);
  EXPECT_EQ(error, "");
  for (const char* expected : {"Init : Display width=20, height=4", "SetPosition : x=3, y=2",
                               "Setpos : x=2, y=1, cursor=66", "Write : Hi",
                               "CustomChar :   1 - 0x 1 0x 2 0x 3 0x 4 0x 5 0x 6 0x 7 0x 8"}) {
    EXPECT_NE(std::find(events.begin(), events.end(), expected), events.end()) << expected;
  }
  // Column 3, row 2 of a 20x4 HD44780 is address 0x42; glyph 1 is at 0x40.
  const std::vector<uint8_t> instructions = InstructionBytes(ReadCycles());
  EXPECT_NE(std::find(instructions.begin(), instructions.end(), 0xC2), instructions.end());
  EXPECT_NE(std::find(instructions.begin(), instructions.end(), 0x40), instructions.end());
}

}  // namespace
