#include "screen.h"

#include <algorithm>

#include "character_rom.h"
#include "stb_image_write.h"

namespace vlcd {

namespace {

constexpr int kGlyphCodes = 16;
// A glyph of the second controller's own memory, in the codes ScreenCodes
// gives: its code with this added.
constexpr int kLowerGlyph = 0x100;
constexpr int kMarginDots = 2;
constexpr uint8_t kLit[3] = {0x10, 0x20, 0x60};
constexpr uint8_t kUnlit[3] = {0x90, 0xC8, 0x30};
constexpr uint8_t kBackground[3] = {0x80, 0xB8, 0x28};

// In 64 bits, so that no size can wrap into a small buffer.
int64_t PictureWidth(int columns, int scale) {
  return (2 * kMarginDots + int64_t{columns} * (kCellWidth + 1) - 1) * scale;
}

int64_t PictureHeight(int rows, int scale) {
  return (2 * kMarginDots + int64_t{rows} * (kCellHeight + 1) - 1) * scale;
}

std::array<uint8_t, kCellHeight> CellPattern(const Controller& c, int code) {
  if (code < kGlyphCodes) {
    std::array<uint8_t, kCellHeight> glyph{};
    const int first = (code % 8) * kCellHeight;
    for (int row = 0; row < kCellHeight; ++row) glyph[row] = c.cgram[first + row] & 0x1F;
    return glyph;
  }
  return RomPattern(c.rom, static_cast<uint8_t>(code));
}

// The dots of a code as ScreenCodes gives it.
std::array<uint8_t, kCellHeight> PatternOf(const Screen& screen, int code) {
  if (code >= kLowerGlyph && !screen.lower.empty()) {
    return CellPattern(screen.lower.front(), code - kLowerGlyph);
  }
  return CellPattern(screen.controller, code);
}

// The display address a cell shows, or -1 where nothing drives it.
int ShownAddress(const Screen& screen, int row, int column) {
  if (NeedsSecondController(screen.module.columns, screen.module.rows) &&
      row >= kSecondControllerFirstRow)
    return -1;
  return VisibleAddress(screen.controller, row, column, screen.module.columns);
}

void Fill(Image& image, int x, int y, int size, const uint8_t color[3]) {
  for (int dy = 0; dy < size; ++dy) {
    for (int dx = 0; dx < size; ++dx) {
      uint8_t* pixel = &image.rgb[3 * ((y + dy) * image.width + x + dx)];
      for (int i = 0; i < 3; ++i) pixel[i] = color[i];
    }
  }
}

}  // namespace

std::vector<std::vector<int>> ScreenCodes(const Screen& screen) {
  const Controller& c = screen.controller;
  const size_t rows = static_cast<size_t>(std::max(0, screen.module.rows));
  const size_t columns = static_cast<size_t>(std::max(0, screen.module.columns));
  std::vector<std::vector<int>> codes(rows, std::vector<int>(columns, -1));
  for (int row = 0; row < screen.module.rows; ++row) {
    for (int column = 0; column < screen.module.columns; ++column) {
      const int address = ShownAddress(screen, row, column);
      if (address >= 0 && c.display_on) codes[row][column] = c.ddram[address];
    }
  }
  // Rows 3 and 4 of a module with a second controller are its rows 1 and 2.
  if (screen.lower.empty() || !NeedsSecondController(screen.module.columns, screen.module.rows)) {
    return codes;
  }
  const Controller& lower = screen.lower.front();
  for (int row = kSecondControllerFirstRow; row < screen.module.rows; ++row) {
    for (int column = 0; column < screen.module.columns; ++column) {
      const int address =
          VisibleAddress(lower, row - kSecondControllerFirstRow, column, screen.module.columns);
      if (address < 0 || !lower.display_on) continue;
      const int code = lower.ddram[address];
      codes[row][column] = code < kGlyphCodes ? code + kLowerGlyph : code;
    }
  }
  return codes;
}

std::string CellText(const Screen& screen, int code) {
  if (code < 0) return " ";
  if (code >= kGlyphCodes && code < kLowerGlyph) {
    return RomCharacter(screen.controller.rom, static_cast<uint8_t>(code));
  }
  static const char* const kShades[] = {" ", "░", "▒", "▓", "█"};
  int lit = 0;
  for (uint8_t row : PatternOf(screen, code)) {
    for (int bit = 0; bit < kCellWidth; ++bit) lit += (row >> bit) & 1;
  }
  const int dots = kCellWidth * kCellHeight;
  return kShades[(lit * 4 + dots / 2) / dots];
}

std::string ScreenText(const Screen& screen) {
  std::string text;
  for (const std::vector<int>& row : ScreenCodes(screen)) {
    for (int code : row) text += CellText(screen, code);
    text += '\n';
  }
  return text;
}

std::string FramedScreen(const Screen& screen) {
  std::string border;
  for (int i = 0; i < screen.module.columns; ++i) border += "─";
  std::string framed = "┌" + border + "┐\n";
  for (const std::vector<int>& row : ScreenCodes(screen)) {
    framed += "│";
    for (int code : row) framed += CellText(screen, code);
    framed += "│\n";
  }
  return framed + "└" + border + "┘\n";
}

std::string PictureRefusal(int columns, int rows, int scale) {
  const int64_t width = PictureWidth(columns, scale);
  const int64_t height = PictureHeight(rows, scale);
  if (columns >= 0 && rows >= 0 && scale >= 1 && width * height <= kMaxImagePixels) return "";
  return "a " + std::to_string(columns) + "x" + std::to_string(rows) + " screen at scale " +
         std::to_string(scale) + " would be " + std::to_string(width) + "x" +
         std::to_string(height) + " pixels, more than an image of " +
         std::to_string(kMaxImagePixels) + " pixels this tool draws";
}

bool CursorCell(const Screen& screen, int* row, int* column) {
  const Controller& c = screen.controller;
  if (!c.display_on || c.address_in_cgram || !(c.cursor_on || c.blink_on)) return false;
  for (int r = 0; r < screen.module.rows; ++r) {
    for (int col = 0; col < screen.module.columns; ++col) {
      if (ShownAddress(screen, r, col) == c.address) {
        *row = r;
        *column = col;
        return true;
      }
    }
  }
  return false;
}

Image RenderDots(const Screen& screen, int scale, std::string* refused) {
  const int pitch_x = kCellWidth + 1;
  const int pitch_y = kCellHeight + 1;
  const int64_t width = PictureWidth(screen.module.columns, scale);
  const int64_t height = PictureHeight(screen.module.rows, scale);
  Image image;
  *refused = PictureRefusal(screen.module.columns, screen.module.rows, scale);
  if (!refused->empty()) return image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.rgb.resize(static_cast<size_t>(3 * width * height));
  for (int p = 0; p < image.width * image.height; ++p) {
    for (int i = 0; i < 3; ++i) image.rgb[3 * p + i] = kBackground[i];
  }
  int cursor_row = -1;
  int cursor_column = -1;
  const bool cursor = CursorCell(screen, &cursor_row, &cursor_column);
  const std::vector<std::vector<int>> codes = ScreenCodes(screen);
  for (int row = 0; row < screen.module.rows; ++row) {
    for (int column = 0; column < screen.module.columns; ++column) {
      const int code = codes[row][column];
      std::array<uint8_t, kCellHeight> dots{};
      if (code >= 0) dots = PatternOf(screen, code);
      if (cursor && row == cursor_row && column == cursor_column) {
        if (screen.controller.blink_on && screen.blink_block) dots.fill(0x1F);
        if (screen.controller.cursor_on) dots[kCellHeight - 1] = 0x1F;
      }
      for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
          const bool lit = (dots[y] >> (kCellWidth - 1 - x)) & 1;
          Fill(image, (kMarginDots + column * pitch_x + x) * scale,
               (kMarginDots + row * pitch_y + y) * scale, scale, lit ? kLit : kUnlit);
        }
      }
    }
  }
  return image;
}

int WindowScale(int columns) {
  constexpr int kWidestWindow = 1600;
  const int width_at_one = static_cast<int>(PictureWidth(columns, 1));
  return std::clamp(kWidestWindow / std::max(1, width_at_one), 1, kPictureScale);
}

bool WritePng(const Image& image, const std::string& path) {
  return stbi_write_png(path.c_str(), image.width, image.height, 3, image.rgb.data(),
                        image.width * 3) != 0;
}

}  // namespace vlcd
