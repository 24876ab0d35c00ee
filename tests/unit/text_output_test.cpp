#include "lcd/text_output.h"

#include <gtest/gtest.h>

#include "displaydll.h"
#include "driver_fixture.h"

namespace {

class TextOutputTest : public DriverTest {
 protected:
  void Start(int columns, int rows, const char* chip) {
    Init(columns, rows, (std::string("LPT1,") + chip).c_str());
    ASSERT_EQ(ok_, 1);
    TakeCycles();
  }
  // The instruction byte DISPLAYDLL_SetPosition sends for (x, y).
  uint8_t AddressFor(uint8_t x, uint8_t y) {
    DISPLAYDLL_SetPosition(x, y);
    const std::vector<DecodedCycle> cycles = TakeCycles();
    EXPECT_EQ(cycles.size(), 1u);
    EXPECT_FALSE(cycles.empty() || cycles[0].data);
    return cycles.empty() ? 0 : cycles[0].byte;
  }
};

struct AddressCase {
  int columns, rows;
  const char* chip;
  uint8_t x, y;
  uint8_t instruction;
};

// HD44780 rows 3 and 4 continue rows 1 and 2 after the module's width;
// HD66712 rows are 32 cells apart, and past row 4 the instruction byte keeps
// only its low 8 bits.
TEST_F(TextOutputTest, PositionsBecomeTheAddressOfEachChipsRows) {
  const AddressCase cases[] = {
      {20, 4, "HD44780", 1, 1, 0x80},  {20, 4, "HD44780", 0, 0, 0x80},
      {20, 4, "HD44780", 1, 2, 0xC0},  {20, 4, "HD44780", 1, 3, 0x94},
      {20, 4, "HD44780", 3, 3, 0x96},  {20, 4, "HD44780", 1, 4, 0xD4},
      {20, 4, "HD44780", 25, 9, 0xE7}, {16, 4, "HD44780", 1, 3, 0x90},
      {16, 4, "HD44780", 1, 4, 0xD0},  {20, 8, "HD66712", 1, 2, 0xA0},
      {20, 8, "HD66712", 1, 4, 0xE0},  {20, 8, "HD66712", 2, 5, 0x01},
  };
  for (const AddressCase& c : cases) {
    Start(c.columns, c.rows, c.chip);
    EXPECT_EQ(AddressFor(c.x, c.y), c.instruction) << c.columns << "x" << c.rows << " " << c.chip
                                                   << " (" << int{c.x} << ", " << int{c.y} << ")";
  }
}

TEST_F(TextOutputTest, PositionsOutOfRangeClampToTheLastCell) {
  Start(20, 4, "HD44780");
  EXPECT_EQ(AddressFor(25, 9), 0xD4 + 19);
  EXPECT_EQ(cursor_state().column, 19);
  EXPECT_EQ(cursor_state().row, 3);
}

TEST_F(TextOutputTest, PositionsArriveUnsigned) {
  Start(255, 255, "HD66712");
  EXPECT_EQ(AddressFor(200, 1), static_cast<uint8_t>(0x80 + 199));
  EXPECT_EQ(cursor_state().column, 199);
  DISPLAYDLL_SetPosition(255, 255);
  EXPECT_EQ(cursor_state().column, 254);
  EXPECT_EQ(cursor_state().row, 254);
}

TEST_F(TextOutputTest, EmptyDisplayClampsToMinusOneButAddressesTheFirstCell) {
  Start(0, 0, "HD44780");
  EXPECT_EQ(AddressFor(5, 5), 0x80);
  EXPECT_EQ(cursor_state().column, -1);
  EXPECT_EQ(cursor_state().row, -1);
  DISPLAYDLL_Write("ab");
  const std::vector<DecodedCycle> cycles = TakeCycles();
  ASSERT_EQ(cycles.size(), 4u);
  EXPECT_EQ(cycles[1].byte, 0x80);
  EXPECT_EQ(cycles[3].byte, 0x80);
}

TEST_F(TextOutputTest, FullRowWrapsToTheNextRowAndTheLastRowToTheTop) {
  Start(20, 4, "HD66712");
  DISPLAYDLL_SetPosition(1, 1);
  TakeCycles();
  const std::string screen(80, 'x');
  DISPLAYDLL_Write(screen.c_str());
  const std::vector<DecodedCycle> cycles = TakeCycles();
  ASSERT_EQ(cycles.size(), 84u);
  EXPECT_EQ(InstructionBytes(cycles), (std::vector<uint8_t>{0xA0, 0xC0, 0xE0, 0x80}));
  for (size_t row_end : {20u, 41u, 62u, 83u}) EXPECT_FALSE(cycles[row_end].data) << row_end;
  EXPECT_EQ(cursor_state().column, 0);
  EXPECT_EQ(cursor_state().row, 0);
}

TEST_F(TextOutputTest, PositionZeroZeroIsTheFirstCellForTheRowWrapToo) {
  Start(20, 4, "HD44780");
  EXPECT_EQ(AddressFor(0, 0), 0x80);
  DISPLAYDLL_Write(std::string(20, 'z').c_str());
  const std::vector<DecodedCycle> cycles = TakeCycles();
  ASSERT_EQ(cycles.size(), 21u);
  EXPECT_EQ(InstructionBytes(cycles), std::vector<uint8_t>{0xC0});
  EXPECT_FALSE(cycles[20].data);
}

TEST_F(TextOutputTest, OneRowDisplayWrapsOntoItself) {
  Start(20, 1, "HD44780");
  DISPLAYDLL_SetPosition(1, 1);
  TakeCycles();
  DISPLAYDLL_Write(std::string(20, 'y').c_str());
  const std::vector<DecodedCycle> cycles = TakeCycles();
  ASSERT_EQ(cycles.size(), 21u);
  EXPECT_EQ(cycles.back().byte, 0x80);
  EXPECT_FALSE(cycles.back().data);
}

TEST_F(TextOutputTest, HighBytesReachTheDataRegisterUnchanged) {
  Start(20, 4, "HD44780");
  DISPLAYDLL_Write("\xDF\xC3\x80\xFF\x01");
  EXPECT_EQ(DataBytes(TakeCycles()), (std::vector<uint8_t>{0xDF, 0xC3, 0x80, 0xFF, 0x01}));
}

TEST_F(TextOutputTest, EmptyOrMissingTextSendsNothing) {
  Start(20, 4, "HD44780");
  DISPLAYDLL_Write("");
  DISPLAYDLL_Write(nullptr);
  EXPECT_TRUE(TakeCycles().empty());
}

TEST_F(TextOutputTest, OnlyPositioningAndWritingMoveTheTrackedCursor) {
  Start(20, 4, "HD44780");
  DISPLAYDLL_SetPosition(5, 3);
  DISPLAYDLL_Write("ab");
  const CursorState before = cursor_state();
  const uint8_t glyph[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  DISPLAYDLL_CustomChar(2, glyph);
  DISPLAYDLL_PowerResume();
  Init(20, 4, "LPT1,HD44780");
  DISPLAYDLL_Done();
  EXPECT_EQ(cursor_state().column, before.column);
  EXPECT_EQ(cursor_state().row, before.row);
  EXPECT_EQ(before.column, 6);
  EXPECT_EQ(before.row, 2);
}

}  // namespace
