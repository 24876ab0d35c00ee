#include "controller.h"

#include "instruction.h"

namespace vlcd {

namespace {

// Execution times as the data sheets give them at kOscillatorHz (10 and 410
// clock cycles); the HD66712 matches.
constexpr int64_t kShortExecutionNs = 37000;
constexpr int64_t kClearOrHomeNs = 1520000;
static_assert(kOscillatorHz == 270000, "the execution times above are the 270 kHz figures");

// Where each mode's memory lines start and end.
constexpr int kSecondLineStart = 0x40;
constexpr int kOneLineLength = kDisplayRamCells;
constexpr int kTwoLineLength = kDisplayRamCells / 2;
constexpr int kFourLinePitch = 0x20;

// The address counter's next value after a write in the current mode.
uint8_t StepDdramAddress(const Controller& c, int address) {
  const int step = c.increment ? 1 : -1;
  if (c.four_lines) return static_cast<uint8_t>((address + step) & 0x7F);
  if (!c.two_lines) {
    const int next = address + step;
    if (next < 0) return kOneLineLength - 1;
    return static_cast<uint8_t>(next >= kOneLineLength ? 0 : next);
  }
  // Two lines: 0x00-0x27 runs on into 0x40-0x67, which runs back to 0x00.
  const int next = address + step;
  if (c.increment) {
    if (next == kTwoLineLength) return kSecondLineStart;
    if (next == kSecondLineStart + kTwoLineLength) return 0;
  } else {
    if (next == kSecondLineStart - 1) return kTwoLineLength - 1;
    if (next < 0) return kSecondLineStart + kTwoLineLength - 1;
  }
  return static_cast<uint8_t>(next & 0x7F);
}

void ShiftDisplay(Controller& c, bool right) {
  const int length = LineLength(c);
  c.display_shift = ((c.display_shift + (right ? -1 : 1)) % length + length) % length;
}

// The address counter's step after a data byte, in the memory it points at.
void StepAddress(Controller& c) {
  c.address = c.address_in_cgram ? static_cast<uint8_t>((c.address + (c.increment ? 1 : -1)) & 0x3F)
                                 : StepDdramAddress(c, c.address);
}

}  // namespace

int LineLength(const Controller& c) {
  if (c.four_lines) return kFourLinePitch;
  return c.two_lines ? kTwoLineLength : kOneLineLength;
}

int VisibleAddress(const Controller& c, int row, int column, int columns) {
  const int length = LineLength(c);
  const int shifted = (column + c.display_shift) % length;
  if (c.four_lines) return row < 4 ? kFourLinePitch * row + shifted : -1;
  // In 1-line mode the controller drives the first row only.
  if (!c.two_lines) return row == 0 && column < kOneLineLength ? shifted : -1;
  // Two memory lines; a four-row HD44780 module shows each line's second
  // half on rows 2 and 3. The HD66712 drives rows 2 and 3 only in 4-line mode.
  if (row >= 4 || (row >= 2 && c.chip == Chip::HD66712)) return -1;
  const int line_start = (row % 2 == 0) ? 0 : kSecondLineStart;
  const int offset = row >= 2 ? columns : 0;
  return line_start + (offset + shifted) % length;
}

int64_t ExecuteInstruction(Controller& c, uint8_t byte) {
  const Instruction i = DecodeInstruction(c, byte);
  switch (i.op) {
    case Op::SetDdramAddress:
    case Op::SetCgramAddress:
      c.address = i.value;
      c.address_in_cgram = i.op == Op::SetCgramAddress;
      break;
    case Op::FunctionSet:
      // The HD44780's 5x10 font does not change what a screen of 5x8
      // cells shows; bit 2 is RE on the HD66712.
      c.two_lines = i.two_lines;
      c.four_bit = !i.eight_bit;
      if (c.chip == Chip::HD66712) c.extension = i.bit2;
      break;
    case Op::CursorOrDisplayShift:
      if (i.shift_display) {
        ShiftDisplay(c, i.right);
      } else if (!c.address_in_cgram) {
        const bool increment = c.increment;
        c.increment = i.right;
        c.address = StepDdramAddress(c, c.address);
        c.increment = increment;
      }
      break;
    case Op::DisplayControl:
      c.display_on = i.display_on;
      c.cursor_on = i.cursor_on;
      c.blink_on = i.blink_on;
      break;
    case Op::EntryMode:
      c.increment = i.increment;
      c.shift_display_on_entry = i.shift;
      break;
    case Op::ReturnHome:
      c.address = 0;
      c.address_in_cgram = false;
      c.display_shift = 0;
      return kClearOrHomeNs;
    case Op::ClearDisplay:
      c.ddram.fill(' ');
      c.address = 0;
      c.address_in_cgram = false;
      c.display_shift = 0;
      c.increment = true;
      return kClearOrHomeNs;
    case Op::ExtendedFunctionSet:
      c.four_lines = i.four_lines;
      break;
    // Scroll quantity, SEGRAM address and scroll enable are taken and not
    // modelled: they do not change what the screen shows.
    case Op::ScrollEnable:
    case Op::SetSegramAddress:
    case Op::SetScrollQuantity:
    case Op::NoOperation:
      break;
  }
  return kShortExecutionNs;
}

int64_t WriteDataByte(Controller& c, uint8_t byte) {
  (c.address_in_cgram ? c.cgram[c.address & 0x3F] : c.ddram[c.address & 0x7F]) = byte;
  const bool in_ddram = !c.address_in_cgram;
  StepAddress(c);
  if (in_ddram && c.shift_display_on_entry) ShiftDisplay(c, !c.increment);
  return kShortExecutionNs;
}

uint8_t MemoryAtAddress(const Controller& c) {
  return c.address_in_cgram ? c.cgram[c.address & 0x3F] : c.ddram[c.address & 0x7F];
}

int64_t FinishDataRead(Controller& c) {
  StepAddress(c);
  return kShortExecutionNs;
}

}  // namespace vlcd
