#include "test_pattern.h"

#include "script.h"

namespace {

// From the first code the ROMs draw: A02 has arrows and symbols below 0x20.
constexpr int kFirstRomCode = 0x10;
constexpr int kLastRomCode = 0xFF;

std::string PageEnd(PatternPages pages, int page_ms) {
  return pages == PatternPages::Paused ? "wait " + std::to_string(page_ms) + "\n" : "snapshot\n";
}

// A script text for one code: printable ASCII as itself, the rest escaped.
std::string Cell(int code) {
  if (code >= 0x20 && code < 0x7F && code != '\\') return std::string(1, static_cast<char>(code));
  return ByteEscape(code);
}

// "R2:" and then the last digit of each column's number (from 1), so a cell
// out of place shows.
std::string LabelledRows(int columns, int rows) {
  std::string script;
  for (int row = 1; row <= rows; ++row) {
    const std::string label = "R" + std::to_string(row) + ":";
    std::string text;
    for (int column = 1; column <= columns; ++column) {
      text += column <= static_cast<int>(label.size()) ? label[column - 1]
                                                       : static_cast<char>('0' + column % 10);
    }
    script += "position 1 " + std::to_string(row) + "\nwrite " + text + "\n";
  }
  return script;
}

// One write from the top left fills the screen: the driver moves on to the
// next row at each row's end.
std::string FullScreen(const std::string& cells) { return "position 1 1\nwrite " + cells + "\n"; }

}  // namespace

std::string TestPatternScript(int columns, int rows, PatternPages pages, int page_ms) {
  std::string script = "# lcd_host test pattern for a " + std::to_string(columns) + "x" +
                       std::to_string(rows) + " module\ninit\n";
  const int cells = columns * rows;
  if (cells == 0) return script;
  // Glyph N lights the bottom N dot rows: a bar of eight heights.
  for (int glyph = 1; glyph <= 8; ++glyph) {
    script += "glyph " + std::to_string(glyph);
    for (int dot_row = 0; dot_row < 8; ++dot_row) script += dot_row >= 8 - glyph ? " 1f" : " 00";
    script += "\n";
  }
  script += "# Every row labelled, every cell written once\n" + LabelledRows(columns, rows) +
            PageEnd(pages, page_ms);
  script += "# The character set, a screen at a time\n";
  for (int first = kFirstRomCode; first <= kLastRomCode; first += cells) {
    std::string page;
    for (int i = 0; i < cells; ++i) page += first + i <= kLastRomCode ? Cell(first + i) : " ";
    script += FullScreen(page) + PageEnd(pages, page_ms);
  }
  script += "# The eight glyphs\n";
  std::string glyphs;
  for (int i = 0; i < cells; ++i) glyphs += i < 8 ? "\\g" + std::to_string(i + 1) : " ";
  script += FullScreen(glyphs) + PageEnd(pages, page_ms);
  script += "# Blank (the power-up clears the display) and redraw\nresume\n";
  return script + LabelledRows(columns, rows);
}
