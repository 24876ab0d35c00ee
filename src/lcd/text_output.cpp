#include "lcd/text_output.h"

#include "hd66712_log_format.h"
#include "lcd/controller_link.h"
#include "lcd/display_config.h"
#include "log/diag_log.h"

namespace {
// Only this file reads or writes the record; others see it through the
// functions below.
CursorState cursor_state_record;
}  // namespace

void ResetCursorState() { cursor_state_record = CursorState{}; }

const CursorState& cursor_state() { return cursor_state_record; }

namespace {

constexpr int32_t kHd66712RowPitch = 0x20;
constexpr int32_t kHd44780SecondLine = 0x40;

// A display configured with no columns or rows clamps to position -1, which
// no row has; it is addressed as the first cell so the byte sent stays defined.
int32_t DisplayAddress(int32_t column, int32_t row) {
  if (column < 0) column = 0;
  if (row < 0) row = 0;
  if (display_config().chip_type == ChipType::HD66712) return kHd66712RowPitch * row + column;
  // The HD44780 has two memory lines; rows 2 and 3 continue rows 0 and 1
  // past the last visible column.
  switch (row) {
    case 0:
      return column;
    case 1:
      return kHd44780SecondLine + column;
    case 2:
      return display_config().width + column;
    default:
      return kHd44780SecondLine + display_config().width + column;
  }
}

int32_t ClampToSize(uint8_t position, int32_t size) {
  if (position == 0) return 0;
  return position <= size ? position - 1 : size - 1;
}

}  // namespace

// Addresses the controller; leaves the cursor record alone.
void Setpos(int32_t column, int32_t row) {
  const int32_t address = DisplayAddress(column, row);
  dp_logf("Setpos", "x=%d, y=%d, cursor=%d", column, row, address);
  WriteC(kSetDdramAddress + address);
}

// Writes one character and advances the cursor, wrapping at row ends.
void PutChar(uint8_t byte) {
  WriteD(byte);
  ++cursor_state_record.column;
  if (cursor_state_record.column < display_config().width) return;
  // The memory cell after a row's end is not the next row's start.
  cursor_state_record.column = 0;
  ++cursor_state_record.row;
  if (cursor_state_record.row >= display_config().height) cursor_state_record.row = 0;
  Setpos(0, cursor_state_record.row);
}

void SetCursorPosition(uint8_t x, uint8_t y) {
  cursor_state_record.column = ClampToSize(x, display_config().width);
  cursor_state_record.row = ClampToSize(y, display_config().height);
  dp_logf("SetPosition", "x=%d, y=%d", x, y);
  Setpos(cursor_state_record.column, cursor_state_record.row);
}

void WriteText(const char* text) {
  dp_log(hd66712_log::kWrite, text);
  for (const char* next = text; *next != '\0'; ++next) PutChar(static_cast<uint8_t>(*next));
}
