// Cursor addressing and text: where the next character goes, and how a
// column and row become a display-memory address on each chip.
#ifndef LCD_TEXT_OUTPUT_H
#define LCD_TEXT_OUTPUT_H

#include <cstdint>

struct CursorState {
  int32_t column = 0;  // of the next character, from 0
  int32_t row = 0;
};

const CursorState& cursor_state();
// Back to the load-time values, as a fresh load of the module leaves it;
// for the unit tests, which load the driver once for many cases.
void ResetCursorState();

// Host positions count from 1; out-of-range values clamp to the display.
void SetCursorPosition(uint8_t x, uint8_t y);
void WriteText(const char* text);

#endif  // LCD_TEXT_OUTPUT_H
