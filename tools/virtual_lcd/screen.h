// What the module shows: the codes in its cells, the same as text, and the
// dot matrix as an image.
#ifndef VIRTUAL_LCD_SCREEN_H
#define VIRTUAL_LCD_SCREEN_H

#include <cstdint>
#include <string>
#include <vector>

#include "controller.h"
#include "module.h"

namespace vlcd {

// All the glass shows depends on: the module's settings, and the
// controller's memories and settings.
struct Screen {
  Module module;
  Controller controller;
  // This is not the module's present screen but the one before the
  // driver's final clear display.
  bool before_final_clear = false;
  // A blinking cursor's phase: the block (the controller alternates it with
  // the character every kBlinkIntervalNs) or the character.
  bool blink_block = true;
  // A second controller's, for rows 3 and 4 of a module that has one.
  std::vector<Controller> lower;
};

// How long a blinking cursor shows each phase: 102,400 clock cycles (the
// data sheet's 409.6 ms at 250 kHz), so 379.3 ms at the model's oscillator;
// and the phase at a time.
constexpr int64_t kBlinkCycles = 102'400;
constexpr int64_t kBlinkIntervalNs = kBlinkCycles * 1'000'000'000 / kOscillatorHz;
constexpr bool BlinkBlockAt(int64_t ns) { return (ns / kBlinkIntervalNs) % 2 == 0; }

// The cell the address counter points at, or false when no cursor shows:
// the display is off, cursor and blink are off, or that address is not on
// the glass.
bool CursorCell(const Screen& screen, int* row, int* column);

// One code per cell, rows top to bottom; -1 where the controller drives
// nothing. A display that is off shows no codes: every cell is -1.
std::vector<std::vector<int>> ScreenCodes(const Screen& screen);

// Codes 0-15 show custom glyphs: they are drawn as the block character
// nearest to the glyph's share of lit dots.
std::string CellText(const Screen& screen, int code);
// The rows as UTF-8 lines, each ending in '\n'.
std::string ScreenText(const Screen& screen);
// The rows in a box drawn with line characters.
std::string FramedScreen(const Screen& screen);

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // row-major, three bytes a pixel
};

// Each dot becomes a `scale` x `scale` square; cells are a dot apart, with
// a margin of two dots. The cursor is drawn where the controller's address
// counter points: an underline, and the blink's block in its block phase.
// The image is refused (left empty, with the reason in `refused`) when it
// would exceed kMaxImagePixels.
Image RenderDots(const Screen& screen, int scale, std::string* refused);
// Why RenderDots would refuse the picture of a screen this size, or "" when
// it would not.
std::string PictureRefusal(int columns, int rows, int scale);
constexpr int64_t kMaxImagePixels = 16 * 1024 * 1024;
// The scale screens are saved at.
constexpr int kPictureScale = 4;
// The saved scale, or less for a screen that would not fit 1600 pixels across.
int WindowScale(int columns);
bool WritePng(const Image& image, const std::string& path);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_SCREEN_H
