// The session lcd_host runs when given no script: a title, a line that wraps
// onto the next row where there is room for it, and a bar graph drawn with
// glyphs, each cut to the module's size so nothing overwrites itself.
#ifndef HOST_DEMO_SCRIPT_H
#define HOST_DEMO_SCRIPT_H

#include <string>

#include "character_rom.h"

// The bar's degree sign is written at `rom`'s own code for it.
std::string DemoScript(int columns, int rows, vlcd::CharacterRom rom);

#endif  // HOST_DEMO_SCRIPT_H
