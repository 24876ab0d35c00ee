// An instruction byte decoded once, as the controller in its present mode
// takes it: the model acts on this and a trace words it, so the two cannot
// tell different stories about one byte.
#ifndef VIRTUAL_LCD_INSTRUCTION_H
#define VIRTUAL_LCD_INSTRUCTION_H

#include <cstdint>

#include "controller.h"

namespace vlcd {

enum class Op {
  NoOperation,
  ClearDisplay,
  ReturnHome,
  EntryMode,
  DisplayControl,
  CursorOrDisplayShift,
  FunctionSet,
  SetCgramAddress,
  SetDdramAddress,
  // The HD66712's, while its RE bit is set.
  ExtendedFunctionSet,
  ScrollEnable,
  SetSegramAddress,
  SetScrollQuantity,
};

struct Instruction {
  Op op = Op::NoOperation;
  // The operand bits, by the name each has in the op they belong to.
  bool increment = false;      // entry mode I/D
  bool shift = false;          // entry mode S: the display shifts on entry
  bool display_on = false;     // display control D
  bool cursor_on = false;      // display control C
  bool blink_on = false;       // display control B
  bool shift_display = false;  // cursor or display shift S/C
  bool right = false;          // cursor or display shift R/L
  bool eight_bit = false;      // function set DL
  bool two_lines = false;      // function set N
  bool bit2 = false;           // function set: F (5x10 dots) on the HD44780, RE on the HD66712
  bool four_lines = false;     // extended function set NW
  uint8_t value = 0;           // an address, scroll bits or quantity
};

// `c` is the controller as the byte arrives: the HD66712's RE bit selects
// which instruction set the byte belongs to.
Instruction DecodeInstruction(const Controller& c, uint8_t byte);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_INSTRUCTION_H
