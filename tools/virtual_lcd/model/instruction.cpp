#include "instruction.h"

namespace vlcd {

namespace {

// The basic instruction set: the highest bit set names the op.
void Basic(uint8_t byte, Instruction& i) {
  if (byte & 0x80) {
    i.op = Op::SetDdramAddress;
    i.value = byte & 0x7F;
  } else if (byte & 0x40) {
    i.op = Op::SetCgramAddress;
    i.value = byte & 0x3F;
  } else if (byte & 0x20) {
    i.op = Op::FunctionSet;
  } else if (byte & 0x10) {
    i.op = Op::CursorOrDisplayShift;
  } else if (byte & 0x08) {
    i.op = Op::DisplayControl;
  } else if (byte & 0x04) {
    i.op = Op::EntryMode;
  } else if (byte & 0x02) {
    i.op = Op::ReturnHome;
  } else if (byte & 0x01) {
    i.op = Op::ClearDisplay;
  }
}

// The HD66712's instructions 0x08-0xFF while RE is set.
void Extended(uint8_t byte, Instruction& i) {
  if (byte & 0x80) {
    i.op = Op::SetScrollQuantity;
    i.value = byte & 0x3F;
  } else if (byte & 0x40) {
    i.op = Op::SetSegramAddress;
    i.value = byte & 0x0F;
  } else if (byte & 0x20) {
    i.op = Op::FunctionSet;
  } else if (byte & 0x10) {
    i.op = Op::ScrollEnable;
    i.value = byte & 0x0F;
  } else {
    i.op = Op::ExtendedFunctionSet;
  }
}

}  // namespace

Instruction DecodeInstruction(const Controller& c, uint8_t byte) {
  Instruction i;
  if (c.chip == Chip::HD66712 && c.extension && byte >= 0x08) {
    Extended(byte, i);
  } else {
    Basic(byte, i);
  }
  // The operand bits; each op reads only its own.
  i.increment = byte & 0x02;
  i.shift = byte & 0x01;
  i.display_on = byte & 0x04;
  i.cursor_on = byte & 0x02;
  i.blink_on = byte & 0x01;
  i.shift_display = byte & 0x08;
  i.right = byte & 0x04;
  i.eight_bit = byte & 0x10;
  i.two_lines = byte & 0x08;
  i.bit2 = byte & 0x04;
  i.four_lines = byte & 0x01;
  return i;
}

}  // namespace vlcd
