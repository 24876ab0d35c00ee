// The controller's built-in character patterns (ROM code A00) and how each
// code reads as text.
#ifndef VIRTUAL_LCD_CHARACTER_ROM_H
#define VIRTUAL_LCD_CHARACTER_ROM_H

#include <array>
#include <cstdint>
#include <string>

namespace vlcd {

constexpr int kCellWidth = 5;
constexpr int kCellHeight = 8;

// Eight rows of five dots (bit 4 is the leftmost), for codes 16-255. Codes
// the table does not draw get a hollow box, so they are seen, not hidden.
std::array<uint8_t, kCellHeight> RomPattern(uint8_t code);

// The nearest Unicode character for a ROM code, as UTF-8.
std::string RomCharacter(uint8_t code);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_CHARACTER_ROM_H
