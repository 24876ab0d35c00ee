// Text and glyphs through the real module and a port library it loaded.
#include <gtest/gtest.h>

#include "module_fixture.h"
#include "test_names.h"

namespace {

class TextModuleTest : public ModuleTest {
 protected:
  void Start(int columns, int rows, const char* parameters) {
    InstallPortLibrary(RECORDER_INPOUT32, "inpout32.dll");
    ASSERT_EQ(Init(columns, rows, parameters), kDriverName);
    seen_ = ReadCycles().size();
  }
  std::vector<DecodedCycle> NewCycles() {
    std::vector<DecodedCycle> cycles = ReadCycles();
    cycles.erase(cycles.begin(), cycles.begin() + static_cast<std::ptrdiff_t>(seen_));
    seen_ += cycles.size();
    return cycles;
  }
  size_t seen_ = 0;
};

TEST_F(TextModuleTest, Hd44780AddressingClampingAndBytes) {
  Start(20, 4, "LPT1,HD44780");
  driver_.SetPosition(1, 1);
  driver_.SetPosition(0, 0);
  driver_.SetPosition(3, 3);
  driver_.SetPosition(1, 4);
  driver_.SetPosition(25, 9);
  driver_.SetPosition(200, 2);
  EXPECT_EQ(InstructionBytes(NewCycles()),
            (std::vector<uint8_t>{0x80, 0x80, 0x96, 0xD4, 0xE7, 0xD3}));
  driver_.Write("");
  driver_.Write(nullptr);
  EXPECT_TRUE(NewCycles().empty());
  driver_.SetPosition(1, 1);
  driver_.Write("A\xDF\xC3");
  EXPECT_EQ(DataBytes(NewCycles()), (std::vector<uint8_t>{'A', 0xDF, 0xC3}));
  // The library receives high bytes widened with their sign.
  EXPECT_EQ(ReadWrites().at(ReadWrites().size() - 3).value, static_cast<int32_t>(-61));
}

TEST_F(TextModuleTest, Hd66712FullScreenWrapsEveryRow) {
  Start(20, 4, "LPT1,HD66712");
  driver_.SetPosition(1, 1);
  NewCycles();
  driver_.Write("Row one is this wideRow two follows hereRow three comes nextRow four ends it all");
  const std::vector<DecodedCycle> cycles = NewCycles();
  ASSERT_EQ(cycles.size(), 84u);
  EXPECT_EQ(InstructionBytes(cycles), (std::vector<uint8_t>{0xA0, 0xC0, 0xE0, 0x80}));
  EXPECT_EQ(cycles[20].data, false);
  EXPECT_EQ(cycles[21].byte, 'R');
}

TEST_F(TextModuleTest, GlyphsLoadIntoTheCharacterGenerator) {
  Start(20, 2, "LPT1,HD44780");
  const uint8_t rows[8] = {0x04, 0x0E, 0x1F, 0x00, 0x11, 0x0A, 0x04, 0x1B};
  driver_.CustomChar(1, rows);
  driver_.CustomChar(8, rows);
  driver_.CustomChar(3, nullptr);
  const std::vector<DecodedCycle> cycles = NewCycles();
  ASSERT_EQ(cycles.size(), 18u);
  EXPECT_EQ(InstructionBytes(cycles), (std::vector<uint8_t>{0x40, 0x78}));
  const std::vector<uint8_t> data = DataBytes(cycles);
  EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 8),
            std::vector<uint8_t>(rows, rows + 8));
  const uint8_t codes[] = {8, 1, 2, 3, 4, 5, 6, 7};
  for (uint8_t g = 1; g <= 8; ++g) EXPECT_EQ(driver_.CustomCharIndex(g), codes[g - 1]);
  EXPECT_EQ(driver_.CustomCharIndex(0), 255);
}

}  // namespace
