// The controller's built-in character patterns and how each code reads as
// text, for the two ROMs modules are sold with.
#ifndef VIRTUAL_LCD_CHARACTER_ROM_H
#define VIRTUAL_LCD_CHARACTER_ROM_H

#include <array>
#include <cstdint>
#include <string>

namespace vlcd {

constexpr int kCellWidth = 5;
constexpr int kCellHeight = 8;

// A00: Japanese (katakana); A02: European (Latin-1, Cyrillic, Greek).
enum class CharacterRom { A00, A02 };

// Eight rows of five dots (bit 4 is the leftmost), for codes 16-255. Codes
// below 16 are the glyph memory's, not the ROM's: they get a hollow box, so
// that a caller that draws them from here is seen, not hidden.
std::array<uint8_t, kCellHeight> RomPattern(CharacterRom rom, uint8_t code);

// The nearest Unicode character for a ROM code, as UTF-8: a space where the
// ROM is blank, "·" below 16.
std::string RomCharacter(CharacterRom rom, uint8_t code);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_CHARACTER_ROM_H
