#include "live_view.h"

#include <vector>

#include "report.h"
#include "screen.h"

namespace vparport {

namespace {

constexpr char kUnderline[] = "\x1b[4m";
constexpr char kReverse[] = "\x1b[7m";
constexpr char kPlain[] = "\x1b[0m";

}  // namespace

std::string LiveFrame(const LiveSnapshot& snapshot, int64_t now_ns, bool last_shown) {
  const bool before_clear = last_shown && snapshot.cleared;
  const vlcd::Screen screen{snapshot.module,
                            before_clear ? snapshot.before_clear : snapshot.controller,
                            before_clear, vlcd::BlinkBlockAt(now_ns),
                            snapshot.has_lower ? std::vector<vlcd::Controller>{snapshot.lower}
                                               : std::vector<vlcd::Controller>{}};
  int cursor_row = -1;
  int cursor_column = -1;
  const bool cursor = vlcd::CursorCell(screen, &cursor_row, &cursor_column);
  const vlcd::Controller& controller = screen.controller;
  std::string border;
  for (int i = 0; i < snapshot.module.columns; ++i) border += "─";
  std::string frame = "┌" + border + "┐\n";
  const std::vector<std::vector<int>> codes = vlcd::ScreenCodes(screen);
  for (size_t row = 0; row < codes.size(); ++row) {
    frame += "│";
    for (size_t column = 0; column < codes[row].size(); ++column) {
      const std::string cell = vlcd::CellText(screen, codes[row][column]);
      if (!cursor || static_cast<int>(row) != cursor_row ||
          static_cast<int>(column) != cursor_column) {
        frame += cell;
        continue;
      }
      std::string look;
      if (controller.cursor_on) look += kUnderline;
      if (controller.blink_on && screen.blink_block) look += kReverse;
      frame += look.empty() ? cell : look + cell + kPlain;
    }
    frame += "│\n";
  }
  frame += "└" + border + "┘\n";
  if (before_clear) {
    frame += "(the program cleared the module as it ended; this is the screen before)\n";
  } else if (!controller.display_on && snapshot.traffic.port_writes > 0) {
    frame += "(the display is off)\n";
  }
  return frame + vlcd::Summary(snapshot.module, snapshot.traffic) + "\n";
}

}  // namespace vparport
