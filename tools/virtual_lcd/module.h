// What a virtual module is, apart from anything a driver did to it: its
// controller, the ROM that controller was made with, its size, and where it
// is plugged in.
#ifndef VIRTUAL_LCD_MODULE_H
#define VIRTUAL_LCD_MODULE_H

#include <cstdint>

#include "cable.h"
#include "character_rom.h"
#include "controller.h"
#include "hd66712_parameters.h"

namespace vlcd {

struct Module {
  Chip chip = Chip{};
  CharacterRom rom = CharacterRom::A00;
  int columns = 20;
  int rows = 4;
  uint16_t port_base = kLpt1Port;  // where the driver writes unless told otherwise
  Cable cable = kOurCable;         // how it hangs on the port
};

// Modules of more than 80 cells on more than two rows (40x4, say) carry a
// second controller for their lower rows, enabled by a line of its own that
// is not wired to the port.
// The first row that a second controller drives.
constexpr int kSecondControllerFirstRow = 2;
constexpr bool NeedsSecondController(int columns, int rows) {
  return rows > kSecondControllerFirstRow && columns * rows > kDisplayRamCells;
}

}  // namespace vlcd

#endif  // VIRTUAL_LCD_MODULE_H
