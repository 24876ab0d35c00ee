// Reading a virtual module's settings from text, strictly and alike for
// lcd_host's options and the port library's HD_VLCD_* variables: a typo is
// named, never read as something else.
#ifndef VIRTUAL_LCD_MODULE_SETTINGS_H
#define VIRTUAL_LCD_MODULE_SETTINGS_H

#include <cstdint>
#include <string>

#include "controller.h"
#include "problem.h"

namespace vlcd {

enum class NumberForm {
  Decimal,      // digits only
  Address,      // digits, or "0x" and hexadecimal digits
  Hexadecimal,  // hexadecimal digits only, either case
};

// `text` as a message quotes it: whole up to a line's worth (60 bytes),
// else its start and "...", cut between characters.
std::string Excerpt(const std::string& text);

// A whole number from `low` to `high`: no sign, blank, leading zero (which
// some read as octal) or trailing character. Sets `value`, or says what is wrong.
Problem ParseNumber(const std::string& text, NumberForm form, long low, long high, long* value);

// A chip's name exactly as ChipNames() lists them.
Problem ReadChipName(const std::string& text, Chip* chip);
const char* ChipName(Chip chip);
// "HD66712 or HD44780", for help texts and messages.
std::string ChipNames();

// The character ROM a module's controller carries, likewise.
Problem ReadRomName(const std::string& text, CharacterRom* rom);
const char* RomName(CharacterRom rom);
std::string RomNames();

// Driver parameters that name this port and chip: "LPT1,HD44780",
// "0x3BC,HD66712".
std::string ParametersFor(uint16_t port, Chip chip);

// The driver takes sizes as bytes; the port is a 16-bit address.
constexpr long kMaxSize = 255;
constexpr long kMaxPort = 0xFFFF;

// Nothing for a size a single controller can show, else a warning naming the
// limit that is exceeded (80 cells a line, 4 rows).
Problem GeometryWarning(int columns, int rows);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_MODULE_SETTINGS_H
