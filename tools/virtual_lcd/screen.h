// What the module shows: the codes in its cells, the same as text, and the
// dot matrix as an image.
#ifndef VIRTUAL_LCD_SCREEN_H
#define VIRTUAL_LCD_SCREEN_H

#include <cstdint>
#include <string>
#include <vector>

#include "virtual_lcd.h"

namespace vlcd {

// One code per cell, rows top to bottom; -1 where the controller drives
// nothing. A display that is off shows no codes: every cell is -1.
std::vector<std::vector<int>> ScreenCodes(const VirtualLcd& lcd);

// Codes 0-15 show custom glyphs: they are drawn as the block character
// nearest to the glyph's share of lit dots.
std::string CellText(const VirtualLcd& lcd, int code);
// The rows as UTF-8 lines, each ending in '\n'.
std::string ScreenText(const VirtualLcd& lcd);
// The rows in a box drawn with line characters.
std::string FramedScreen(const VirtualLcd& lcd);

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // row-major, three bytes a pixel
};

// Each dot becomes a `scale` x `scale` square; cells are a dot apart, with
// a margin of two dots. The cursor is drawn where the controller's address
// counter points: an underline, or a full block while blink is on.
// The image is refused (left empty, with the reason in `refused`) when it
// would exceed kMaxImagePixels.
Image RenderDots(const VirtualLcd& lcd, int scale, std::string* refused);
// Why RenderDots would refuse this module's picture, or "" when it would not.
std::string PictureRefusal(const Module& module, int scale);
constexpr int64_t kMaxImagePixels = 16 * 1024 * 1024;
// The scale screens are saved at.
constexpr int kPictureScale = 4;
// The saved scale, or less for a screen that would not fit 1600 pixels across.
int WindowScale(const Module& module);
bool WritePng(const Image& image, const std::string& path);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_SCREEN_H
