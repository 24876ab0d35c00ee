#include <gtest/gtest.h>

#include "displaydll.h"
#include "driver_fixture.h"

namespace {

class CustomCharsTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    Init(20, 4, "LPT1,HD44780");
    TakeCycles();
  }
  const uint8_t glyph_[8] = {0x1F, 0x11, 0x04, 0x00, 0xFF, 0x80, 0x0A, 0x15};
};

TEST_F(CustomCharsTest, SetsTheGeneratorAddressThenSendsTheRowsAsData) {
  const uint8_t addresses[] = {0x40, 0x48, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78};
  for (int g = 1; g <= 8; ++g) {
    DISPLAYDLL_CustomChar(static_cast<uint8_t>(g), glyph_);
    const std::vector<DecodedCycle> cycles = TakeCycles();
    ASSERT_EQ(cycles.size(), 9u);
    EXPECT_EQ(InstructionBytes(cycles), std::vector<uint8_t>{addresses[g - 1]});
    EXPECT_FALSE(cycles[0].data);
    EXPECT_EQ(DataBytes(cycles), std::vector<uint8_t>(glyph_, glyph_ + 8));
  }
}

TEST_F(CustomCharsTest, NumbersOutsideOneToEightKeepTheFormula) {
  for (auto [glyph, instruction] : {std::pair<int, int>{0, 0x38}, {9, 0x80}, {255, 0x30}}) {
    DISPLAYDLL_CustomChar(static_cast<uint8_t>(glyph), glyph_);
    const std::vector<DecodedCycle> cycles = TakeCycles();
    ASSERT_EQ(cycles.size(), 9u);
    EXPECT_EQ(cycles[0].byte, instruction) << glyph;
  }
}

TEST_F(CustomCharsTest, MissingRowsSendNothing) {
  DISPLAYDLL_CustomChar(1, nullptr);
  EXPECT_TRUE(TakeCycles().empty());
}

TEST(CustomCharIndexTest, GlyphOneUsesTheAliasEightAndTheRestCountFromZero) {
  const uint8_t expected[] = {255, 8, 1, 2, 3, 4, 5, 6, 7, 8};
  for (int g = 0; g <= 9; ++g)
    EXPECT_EQ(DISPLAYDLL_CustomCharIndex(static_cast<uint8_t>(g)), expected[g]) << g;
  EXPECT_EQ(DISPLAYDLL_CustomCharIndex(255), 254);
}

}  // namespace
