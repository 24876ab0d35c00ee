// A model of the HD44780 and HD66712 character-LCD controllers as they see
// bytes latched on E's falling edge: display and character-generator memory,
// the address counter, and every setting the instruction set can change.
#ifndef VIRTUAL_LCD_CONTROLLER_H
#define VIRTUAL_LCD_CONTROLLER_H

#include <array>
#include <cstddef>
#include <cstdint>

#include "character_rom.h"

namespace vlcd {

// The one oscillator every time of the model follows: the data sheets'
// nominal 270 kHz, at which they give the execution times (37 us, 1.52 ms).
constexpr int64_t kOscillatorHz = 270000;

// HD66712 first: the default, as the driver's own.
enum class Chip { HD66712, HD44780 };

// The characters a controller's display memory holds: one line of 80, or
// two of 40. A line longer than this, or a module with more cells on more
// than two rows, needs a second controller.
constexpr int kDisplayRamCells = 80;

template <size_t N>
constexpr std::array<uint8_t, N> Filled(uint8_t value) {
  std::array<uint8_t, N> cells{};
  cells.fill(value);
  return cells;
}

struct Controller {
  Chip chip = Chip::HD66712;
  CharacterRom rom = CharacterRom::A00;  // which mask the chip was made with
  // Display memory, by 7-bit address. Its power-on content is undefined;
  // full blocks make a missing clear plain to see.
  std::array<uint8_t, 128> ddram = Filled<128>(0xFF);
  std::array<uint8_t, 64> cgram{};  // 8 glyphs of 8 rows
  uint8_t address = 0;              // address counter
  bool address_in_cgram = false;    // which memory data bytes go to
  // Entry mode.
  bool increment = true;
  bool shift_display_on_entry = false;
  // Display control.
  bool display_on = false;
  bool cursor_on = false;
  bool blink_on = false;
  // Function set.
  bool two_lines = false;
  bool four_bit = false;  // DL=0: a byte is two transfers on DB4-DB7
  // HD66712 extension register and what it unlocks.
  bool extension = false;   // RE
  bool four_lines = false;  // NW
  int display_shift = 0;    // cells the display has moved left
};

// Applies an instruction; returns the nanoseconds it takes to execute.
int64_t ExecuteInstruction(Controller& controller, uint8_t instruction);
// Stores a data byte at the address counter; returns the execution time.
int64_t WriteDataByte(Controller& controller, uint8_t byte);
// The byte at the address counter, which a data read puts on the bus.
uint8_t MemoryAtAddress(const Controller& controller);
// Ends a data read: the address counter moves as after a write, the
// display does not shift; returns the execution time.
int64_t FinishDataRead(Controller& controller);

// Length of one display-memory line in the current mode (shift wraps in it).
int LineLength(const Controller& controller);
// Display-memory address shown at a module's row and column.
// Returns -1 where the controller drives nothing.
int VisibleAddress(const Controller& controller, int row, int column, int columns);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_CONTROLLER_H
