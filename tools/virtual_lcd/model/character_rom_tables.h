// The character generator ROMs as data: for each code, the Unicode character
// nearest to what it shows and its dots, after the character tables (ROM
// codes A00 and A02) of Hitachi's HD44780U datasheet, checked code by code
// against two public emulators' tables (vrEmuLcd's and luma.lcd's): where
// both draw a code alike, so do we; where they split, each ROM's file says
// which we follow. The model gives the HD66712 the same tables.
#ifndef VIRTUAL_LCD_CHARACTER_ROM_TABLES_H
#define VIRTUAL_LCD_CHARACTER_ROM_TABLES_H

#include <cstdint>
#include <span>

namespace vlcd {

struct RomGlyph {
  uint8_t code;
  const char* character;  // UTF-8
  // Rows of five dots, '#' lit, a space between rows, top row first; ""
  // for a code the ROM leaves blank. Patterns of ten rows are the 5x10
  // characters, of which a 5x8 display shows the top eight.
  const char* rows;
};

// A00: ASCII 0x20-0x7D but 0x5C, then its own codes 0x10-0x1F, 0x5C and
// 0x7E-0xFF.
extern const std::span<const RomGlyph> kA00AsciiGlyphs;
extern const std::span<const RomGlyph> kA00Glyphs;
// A02: every code from 0x10.
extern const std::span<const RomGlyph> kA02Glyphs;

}  // namespace vlcd

#endif  // VIRTUAL_LCD_CHARACTER_ROM_TABLES_H
