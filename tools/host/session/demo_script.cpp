#include "demo_script.h"

#include <algorithm>

#include "module.h"

namespace {

constexpr char kTitle[] = " HD66712 virtual LCD";
constexpr char kLongLine[] = "Too long for one row, this line wraps.";
constexpr int kBarCells = 9;

// `text` cut to `cells` characters; every escape counts as one cell.
std::string Cut(const std::string& text, int cells) {
  std::string cut;
  for (size_t i = 0; i < text.size() && cells > 0; --cells) {
    const size_t length = text[i] != '\\' ? 1 : text[i + 1] == 'x' ? 4 : 3;
    cut += text.substr(i, length);
    i += length;
  }
  return cut;
}

std::string Line(int row, const std::string& text, int columns) {
  return "position 1 " + std::to_string(row) + "\nwrite " + Cut(text, columns) + "\n";
}

}  // namespace

std::string DemoScript(int columns, int rows, vlcd::CharacterRom rom) {
  // Glyphs 1-5 light one to five columns of a cell.
  std::string script =
      "# lcd_host demo\n"
      "init\n"
      "glyph 1 10 10 10 10 10 10 10 10\n"
      "glyph 2 18 18 18 18 18 18 18 18\n"
      "glyph 3 1c 1c 1c 1c 1c 1c 1c 1c\n"
      "glyph 4 1e 1e 1e 1e 1e 1e 1e 1e\n"
      "glyph 5 1f 1f 1f 1f 1f 1f 1f 1f\n";
  if (columns < 1 || rows < 1) return script;
  script += Line(1, kTitle, columns);
  std::string bar = "Load";
  for (int i = 1; i < kBarCells; ++i) bar += "\\g5";
  // The ROMs keep the degree sign at different codes: 0xDF is A02's sharp s.
  bar += rom == vlcd::CharacterRom::A02 ? "\\g3 42\\xB0" : "\\g3 42\\xDF";
  // A module with a second controller shows only the rows of its first.
  if (vlcd::NeedsSecondController(columns, rows)) rows = vlcd::kSecondControllerFirstRow;
  if (rows == 1) return script;
  // The long line takes the rows between the title and the bar: two where
  // there are four, so it shows its wrap; none on a 2-row module.
  if (rows >= 3) {
    const int room = rows >= 4 ? 2 * columns : columns;
    script += Line(2, Cut(kLongLine, std::min<int>(room, sizeof kLongLine - 1)), room);
  }
  return script + Line(std::min(rows, 4), bar, columns);
}
