// What a virtual module is, apart from anything a driver did to it: its
// controller, the ROM that controller was made with, its size, and where it
// is plugged in.
#ifndef VIRTUAL_LCD_MODULE_H
#define VIRTUAL_LCD_MODULE_H

#include <cstdint>

#include "character_rom.h"
#include "controller.h"

namespace vlcd {

struct Module {
  Chip chip = Chip{};
  CharacterRom rom = CharacterRom::A00;
  int columns = 20;
  int rows = 4;
  uint16_t port_base = 0x378;
};

// Modules of more than 80 cells on more than two rows (40x4, say) carry a
// second controller for their lower rows, enabled by a line of its own that
// is not wired to the port.
// The first row that a second controller drives.
constexpr int kSecondControllerFirstRow = 2;
constexpr bool NeedsSecondController(int columns, int rows) {
  constexpr int kCellsPerController = 80;
  return rows > kSecondControllerFirstRow && columns * rows > kCellsPerController;
}

}  // namespace vlcd

#endif  // VIRTUAL_LCD_MODULE_H
