// The controller model on its own: bytes latched by hand, no driver.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <tuple>

#include "byte_meaning.h"
#include "character_rom.h"
#include "controller.h"
#include "module_settings.h"
#include "report.h"
#include "screen.h"
#include "test_lcd.h"
#include "virtual_lcd.h"

namespace {

using vlcd::Chip;
using vlcd::Controller;

Controller Hd44780() {
  Controller c;
  c.chip = Chip::HD44780;
  return c;
}

void Data(Controller& c, const std::string& text) {
  for (char ch : text) vlcd::WriteDataByte(c, static_cast<uint8_t>(ch));
}

TEST(ControllerModelTest, TwoLineAddressCounterRunsOnIntoTheOtherLine) {
  Controller c = Hd44780();
  vlcd::ExecuteInstruction(c, 0x38);
  vlcd::ExecuteInstruction(c, 0x80 + 0x27);
  Data(c, "a");
  EXPECT_EQ(c.address, 0x40);
  vlcd::ExecuteInstruction(c, 0x80 + 0x67);
  Data(c, "b");
  EXPECT_EQ(c.address, 0x00);
  // Decrementing runs the other way.
  vlcd::ExecuteInstruction(c, 0x04);
  Data(c, "c");
  EXPECT_EQ(c.address, 0x67);
  vlcd::ExecuteInstruction(c, 0x80 + 0x40);
  Data(c, "d");
  EXPECT_EQ(c.address, 0x27);
}

TEST(ControllerModelTest, OneLineAddressCounterWrapsAtTheEightiethCell) {
  Controller c = Hd44780();
  vlcd::ExecuteInstruction(c, 0x30);
  vlcd::ExecuteInstruction(c, 0x80 + 0x4F);
  Data(c, "z");
  EXPECT_EQ(c.address, 0x00);
  EXPECT_EQ(c.ddram[0x4F], 'z');
}

TEST(ControllerModelTest, ClearAndHomeTakeLongAndResetTheAddress) {
  Controller c = Hd44780();
  vlcd::ExecuteInstruction(c, 0x38);
  vlcd::ExecuteInstruction(c, 0x18);  // display shifted left
  Data(c, "xy");
  EXPECT_EQ(vlcd::ExecuteInstruction(c, 0x02), 1520000);
  EXPECT_EQ(c.address, 0);
  EXPECT_EQ(c.display_shift, 0);
  EXPECT_EQ(c.ddram[0], 'x');
  vlcd::ExecuteInstruction(c, 0x04);  // entry mode: decrement
  EXPECT_EQ(vlcd::ExecuteInstruction(c, 0x01), 1520000);
  EXPECT_EQ(c.ddram[0], ' ');
  // Clear also sets the entry mode back to increment.
  EXPECT_TRUE(c.increment);
  EXPECT_EQ(vlcd::ExecuteInstruction(c, 0x0F), 37000);
  EXPECT_TRUE(c.display_on && c.cursor_on && c.blink_on);
}

TEST(ControllerModelTest, Hd66712ExtensionRegisterUnlocksFourLineMode) {
  Controller c;
  c.chip = Chip::HD66712;
  vlcd::ExecuteInstruction(c, 0x3C);
  EXPECT_TRUE(c.extension);
  vlcd::ExecuteInstruction(c, 0x09);  // extended function set, not display control
  EXPECT_TRUE(c.four_lines);
  EXPECT_FALSE(c.display_on);
  // Scroll enable, SEGRAM address and scroll quantity, not a cursor shift,
  // a character-generator address or a display address.
  for (uint8_t instruction : {0x1A, 0x45, 0x83}) {
    EXPECT_EQ(vlcd::ExecuteInstruction(c, instruction), 37000);
    EXPECT_EQ(c.address, 0) << int{instruction};
    EXPECT_FALSE(c.address_in_cgram) << int{instruction};
    EXPECT_TRUE(c.four_lines) << int{instruction};
  }
  vlcd::ExecuteInstruction(c, 0x38);
  EXPECT_FALSE(c.extension);
  EXPECT_TRUE(c.four_lines);
  for (int row = 0; row < 4; ++row) EXPECT_EQ(vlcd::VisibleAddress(c, row, 3, 20), 0x20 * row + 3);
}

TEST(ControllerModelTest, CharacterGeneratorTakesDataAndCodesAliasItsGlyphs) {
  vlcd::VirtualLcd lcd = MakeTestLcd(Chip::HD44780, 2, 1);
  Controller& c = lcd.controller;
  vlcd::ExecuteInstruction(c, 0x30);
  vlcd::ExecuteInstruction(c, 0x0C);
  vlcd::ExecuteInstruction(c, 0x48);  // glyph 1
  for (int row = 0; row < 8; ++row) vlcd::WriteDataByte(c, 0x1F);
  EXPECT_EQ(c.ddram[0], 0xFF);  // display memory untouched
  vlcd::ExecuteInstruction(c, 0x80);
  vlcd::WriteDataByte(c, 1);
  vlcd::WriteDataByte(c, 9);
  EXPECT_EQ(vlcd::ScreenText(vlcd::ScreenNow(lcd)), "██\n");
}

TEST(ControllerModelTest, DisplayShiftMovesTheVisibleWindow) {
  vlcd::VirtualLcd lcd = MakeTestLcd(Chip::HD44780, 4, 2);
  Controller& c = lcd.controller;
  for (uint8_t instruction : {0x38, 0x01, 0x0C, 0x06}) vlcd::ExecuteInstruction(c, instruction);
  Data(c, "abcde");
  vlcd::ExecuteInstruction(c, 0x18);
  EXPECT_EQ(vlcd::ScreenText(vlcd::ScreenNow(lcd)), "bcde\n    \n");
  vlcd::ExecuteInstruction(c, 0x1C);
  vlcd::ExecuteInstruction(c, 0x1C);
  EXPECT_EQ(vlcd::ScreenText(vlcd::ScreenNow(lcd)), " abc\n    \n");
}

// What a real module shows that a model easily gets wrong: 1-line mode
// drives the first row only; a 40x4 module's lower rows need a second
// controller the driver never enables.
TEST(ControllerModelTest, RowsNoControllerDrivesStayBlank) {
  vlcd::VirtualLcd lcd = MakeTestLcd(Chip::HD44780, 4, 2);
  vlcd::ExecuteInstruction(lcd.controller, 0x30);
  vlcd::ExecuteInstruction(lcd.controller, 0x0C);
  Data(lcd.controller, "abcdefgh");
  EXPECT_EQ(vlcd::ScreenText(vlcd::ScreenNow(lcd)), "abcd\n    \n");

  lcd = MakeTestLcd(Chip::HD44780, 40, 4);
  vlcd::ExecuteInstruction(lcd.controller, 0x38);
  vlcd::ExecuteInstruction(lcd.controller, 0x0C);
  vlcd::ExecuteInstruction(lcd.controller, 0x01);
  Data(lcd.controller, std::string(40, 'x'));
  const std::vector<std::vector<int>> codes = vlcd::ScreenCodes(vlcd::ScreenNow(lcd));
  EXPECT_EQ(codes[0][39], 'x');
  EXPECT_EQ(codes[2][0], -1);
  EXPECT_EQ(codes[3][39], -1);
  EXPECT_NE(vlcd::Notes(lcd).find("Rows 3-4 belong to the module's second controller"),
            std::string::npos);
  EXPECT_EQ(vlcd::Notes(MakeTestLcd(Chip::HD44780, 20, 4)), "");
  // Four rows on one HD44780: rows 3 and 4 continue rows 1 and 2 after the
  // module's width, whatever that is.
  Controller two_lines = Hd44780();
  vlcd::ExecuteInstruction(two_lines, 0x38);
  for (const auto& [columns, row_starts] : {std::pair{16, std::array{0x00, 0x40, 0x10, 0x50}},
                                            std::pair{20, std::array{0x00, 0x40, 0x14, 0x54}}}) {
    for (int row = 0; row < 4; ++row) {
      EXPECT_EQ(vlcd::VisibleAddress(two_lines, row, 0, columns), row_starts[row])
          << columns << " columns, row " << row;
    }
  }
  // Two rows are one controller's, however long.
  EXPECT_EQ(vlcd::Notes(MakeTestLcd(Chip::HD44780, 41, 2)), "");
}

using vlcd::CharacterRom;

struct RomCase {
  CharacterRom rom;
  uint8_t code;
  const char* text;
  std::array<uint8_t, 8> dots;
};

// Glyphs from each region of each ROM, as both emulators we checked the
// tables against draw them (or, where they split, as the table chose).
TEST(ControllerModelTest, EachRomDrawsItsOwnCharacters) {
  const RomCase cases[] = {
      // The emulators split on A00's A; the table keeps the bar on row 3.
      {CharacterRom::A00, 'A', "A", {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11, 0}},
      {CharacterRom::A00, 0x5C, "¥", {0x11, 0x0A, 0x1F, 0x04, 0x1F, 0x04, 0x04, 0}},
      {CharacterRom::A00, 0x7E, "→", {0x00, 0x04, 0x02, 0x1F, 0x02, 0x04, 0x00, 0}},
      {CharacterRom::A00, 0xB1, "ｱ", {0x1F, 0x01, 0x05, 0x06, 0x04, 0x04, 0x08, 0}},
      {CharacterRom::A00, 0xC0, "ﾀ", {0x00, 0x0F, 0x09, 0x15, 0x03, 0x02, 0x0C, 0}},
      {CharacterRom::A00, 0xDF, "°", {0x1C, 0x14, 0x1C, 0, 0, 0, 0, 0}},
      {CharacterRom::A00, 0xF4, "Ω", {0x00, 0x00, 0x0E, 0x11, 0x11, 0x0A, 0x1B, 0}},
      // 5x10 characters: the top of the descender shows in the eighth row.
      {CharacterRom::A00, 0xE7, "g", {0x00, 0x00, 0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01}},
      {CharacterRom::A00, 0xEA, "j", {0x02, 0x00, 0x06, 0x02, 0x02, 0x02, 0x02, 0x02}},
      {CharacterRom::A00, 0xFF, "█", {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F}},
      // A02's letters stand a row lower, its A pointed.
      {CharacterRom::A02, 'A', "A", {0x00, 0x04, 0x0A, 0x11, 0x11, 0x1F, 0x11, 0x11}},
      {CharacterRom::A02, 'g', "g", {0x00, 0x00, 0x0F, 0x11, 0x11, 0x0F, 0x01, 0x0E}},
      {CharacterRom::A02, 0x10, "▶", {0x00, 0x08, 0x0C, 0x0E, 0x0F, 0x0E, 0x0C, 0x08}},
      {CharacterRom::A02, 0x5C, "\\", {0x00, 0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0}},
      {CharacterRom::A02, 0x7F, "⌂", {0x00, 0x04, 0x0A, 0x11, 0x11, 0x11, 0x1F, 0}},
      {CharacterRom::A02, 0x80, "Б", {0x00, 0x1F, 0x11, 0x10, 0x1E, 0x11, 0x11, 0x1E}},
      {CharacterRom::A02, 0xA0, "▥", {0x00, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B}},
      {CharacterRom::A02, 0xB0, "°", {0x0C, 0x12, 0x12, 0x12, 0x0C, 0, 0, 0}},
      {CharacterRom::A02, 0xC9, "É", {0x02, 0x04, 0x00, 0x1F, 0x10, 0x1E, 0x10, 0x1F}},
      {CharacterRom::A02, 0xE9, "é", {0x02, 0x04, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}},
      {CharacterRom::A02, 0xFF, "ÿ", {0x00, 0x0A, 0x00, 0x11, 0x11, 0x0F, 0x01, 0x0E}},
  };
  for (const RomCase& c : cases) {
    const char* rom = vlcd::RomName(c.rom);
    EXPECT_EQ(vlcd::RomPattern(c.rom, c.code), c.dots) << rom << " " << int{c.code};
    EXPECT_EQ(vlcd::RomCharacter(c.rom, c.code), c.text) << rom << " " << int{c.code};
  }
}

// Every character from 0x20 to 0x7F by its count of dots, counted off the
// data sheet's pictures: a dot lost from, or added to, any letter, digit or
// sign a host writes shows here with its code.
TEST(ControllerModelTest, EachAsciiCharacterHasItsDataSheetDotCount) {
  constexpr int kA00[96] = {
      0,  5,  6,  20, 17, 13, 15, 4,  7,  7,  11, 9,  4,  5,  4,  5,   // 0x20
      19, 10, 14, 14, 14, 17, 15, 11, 17, 15, 8,  8,  7,  10, 7,  9,   // 0x30
      18, 18, 20, 13, 16, 18, 14, 18, 17, 11, 11, 14, 11, 18, 17, 16,  // 0x40
      15, 17, 18, 15, 11, 15, 13, 17, 13, 11, 15, 11, 17, 11, 5,  5,   // 0x50
      3,  14, 16, 10, 16, 14, 11, 16, 14, 9,  9,  12, 10, 13, 12, 12,  // 0x60
      12, 12, 9,  12, 11, 12, 9,  12, 9,  12, 13, 7,  7,  7,  9,  9,   // 0x70
  };
  constexpr int kA02[96] = {
      0,  5,  6,  20, 17, 13, 15, 4,  7,  7,  11, 9,  4,  5,  4,  5,   // 0x20
      19, 10, 14, 14, 14, 17, 15, 11, 17, 15, 8,  8,  7,  10, 7,  9,   // 0x30
      18, 16, 20, 13, 16, 18, 14, 18, 17, 11, 11, 14, 11, 18, 17, 16,  // 0x40
      15, 17, 18, 15, 11, 15, 13, 17, 13, 11, 15, 11, 5,  11, 5,  5,   // 0x50
      3,  14, 16, 10, 16, 14, 11, 16, 14, 9,  9,  12, 10, 13, 12, 12,  // 0x60
      12, 12, 9,  12, 11, 12, 9,  12, 9,  12, 13, 7,  7,  7,  5,  14,  // 0x70
  };
  for (const auto& [rom, counts] : {std::pair<CharacterRom, const int*>{CharacterRom::A00, kA00},
                                    std::pair<CharacterRom, const int*>{CharacterRom::A02, kA02}}) {
    for (int code = 0x20; code <= 0x7F; ++code) {
      int dots = 0;
      for (const uint8_t row : vlcd::RomPattern(rom, static_cast<uint8_t>(code))) {
        for (int bit = 0; bit < 5; ++bit) dots += (row >> bit) & 1;
      }
      EXPECT_EQ(dots, counts[code - 0x20])
          << vlcd::RomName(rom) << " " << vlcd::RomCharacter(rom, static_cast<uint8_t>(code));
    }
  }
}

// Blank codes are drawn blank, as on the module; every other code of either
// ROM has a pattern, and each character beyond ASCII stands at one code only,
// which the script hint names; only the glyph memory's codes are not the ROM's.
TEST(ControllerModelTest, RomsAreCompleteAndBlankWhereTheModuleIs) {
  const std::array<uint8_t, 8> box = vlcd::RomPattern(CharacterRom::A00, 0x00);
  const auto a00_blank = [](int code) {
    return code <= 0x20 || (code >= 0x80 && code <= 0xA0) || code == 0xFE;
  };
  const auto a02_blank = [](int code) { return code == 0x20; };
  for (const auto& [rom, is_blank] :
       {std::pair<CharacterRom, bool (*)(int)>{CharacterRom::A00, a00_blank},
        std::pair<CharacterRom, bool (*)(int)>{CharacterRom::A02, a02_blank}}) {
    const std::string name = vlcd::RomName(rom);
    EXPECT_EQ(vlcd::RomPattern(rom, 0x0F), box) << name;
    std::map<std::string, int> first_code;
    for (int code = 0x10; code <= 0xFF; ++code) {
      const std::array<uint8_t, 8> dots = vlcd::RomPattern(rom, static_cast<uint8_t>(code));
      const std::string text = vlcd::RomCharacter(rom, static_cast<uint8_t>(code));
      EXPECT_NE(dots, box) << name << " " << code;
      const bool dark = dots == std::array<uint8_t, 8>{};
      EXPECT_EQ(dark, is_blank(code)) << name << " " << code;
      EXPECT_EQ(text == " ", is_blank(code)) << name << " " << code;
      if (text.size() == 1) continue;  // ASCII, and A00's 5x10 g, j, p, q and y
      const auto [at, inserted] = first_code.emplace(text, code);
      EXPECT_TRUE(inserted) << name << ": " << text << " at " << at->second << " and " << code;
    }
  }
}

TEST(ControllerModelTest, BytesAreNamedByWhatTheControllerDoesWithThem) {
  vlcd::Controller hd44780;
  hd44780.chip = vlcd::Chip::HD44780;
  vlcd::Controller cgram = hd44780;
  cgram.address_in_cgram = true;
  cgram.address = 0x0A;
  vlcd::Controller extended;
  extended.chip = vlcd::Chip::HD66712;
  extended.extension = true;
  const std::tuple<const vlcd::Controller*, bool, uint8_t, const char*> cases[] = {
      {&hd44780, false, 0xD4, "set DDRAM address 0x54"},
      {&hd44780, false, 0x48, "set CGRAM address 0x08"},
      {&hd44780, false, 0x0E, "display on, cursor on, blink off"},
      {&hd44780, false, 0x07, "entry mode: address increments, display shifts"},
      {&hd44780, false, 0x1C, "shift display right"},
      {&hd44780, false, 0x34, "function set: 8-bit, 1 line, 5x10 dots"},
      {&hd44780, true, 0x08, "data 0x08 (glyph 1)"},
      {&hd44780, true, 0xDF, "data '°'"},
      {&cgram, true, 0x1F, "glyph 2 row 2 = 0x1F"},
      {&extended, false, 0x08, "extended function set: 4-line mode off"},
      {&extended, false, 0x83, "set scroll quantity 3"},
  };
  for (const auto& [controller, data, byte, meaning] : cases) {
    EXPECT_EQ(vlcd::ByteMeaning(*controller, data, byte), meaning) << int{byte};
  }
}

}  // namespace

// The cursor's dots, read back from the picture (lit dots are the dark
// ones): 'A' in the top-left cell, with the address counter on it or on
// the next cell.
TEST(ControllerModelTest, TheCursorIsAnUnderlineAndTheBlinksBlockInItsPhase) {
  // The A00 table's 'A', its bar on the fourth row.
  constexpr std::array<uint8_t, 8> kA = {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11, 0x00};
  constexpr std::array<uint8_t, 8> kUnderlinedA = {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11, 0x1F};
  constexpr std::array<uint8_t, 8> kBlock = {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F};
  const struct {
    bool cursor, blink, block_phase;
    uint8_t address;
    std::array<uint8_t, 8> dots;
  } cases[] = {
      {false, false, true, 0, kA},          {true, false, true, 0, kUnderlinedA},
      {false, true, true, 0, kBlock},       {false, true, false, 0, kA},
      {true, true, false, 0, kUnderlinedA}, {true, true, true, 1, kA},
  };
  for (const auto& c : cases) {
    vlcd::Screen screen;
    screen.module.columns = 2;
    screen.module.rows = 1;
    screen.controller = Hd44780();
    screen.controller.ddram[0] = 'A';
    screen.controller.display_on = true;
    screen.controller.cursor_on = c.cursor;
    screen.controller.blink_on = c.blink;
    screen.controller.address = c.address;
    screen.blink_block = c.block_phase;
    std::string refused;
    const vlcd::Image image = vlcd::RenderDots(screen, 1, &refused);
    std::array<uint8_t, 8> dots{};
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 5; ++x) {
        const int margin = 2;
        const bool lit = image.rgb[3 * ((margin + y) * image.width + margin + x)] < 0x50;
        dots[y] = static_cast<uint8_t>(dots[y] | (lit ? 0x10 >> x : 0));
      }
    }
    EXPECT_EQ(dots, c.dots) << "cursor " << c.cursor << ", blink " << c.blink << ", block phase "
                            << c.block_phase << ", address " << int{c.address};
  }
}

// The blink follows the same 270 kHz clock as the execution times: 102,400
// cycles a phase, 379.26 ms (409.6 ms would be the 250 kHz clock's).
TEST(ControllerModelTest, TheBlinkTakesTurnsAtTheModelsOneOscillator) {
  const struct {
    int64_t ns;
    bool block;
  } moments[] = {{0, true},
                 {379'259'000, true},
                 {379'260'000, false},
                 {409'600'000, false},
                 {758'518'000, false},
                 {758'519'000, true}};
  for (const auto& moment : moments) {
    EXPECT_EQ(vlcd::BlinkBlockAt(moment.ns), moment.block) << moment.ns;
  }
}
