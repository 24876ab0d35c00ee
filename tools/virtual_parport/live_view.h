// What the live view draws in a terminal for one moment of the virtual LCD:
// its screen framed as the report frames it, the cursor as the module shows
// it, and the summary line. Plain text with a terminal's own attributes, so
// it works over SSH and in tmux.
#ifndef VIRTUAL_PARPORT_LIVE_VIEW_H
#define VIRTUAL_PARPORT_LIVE_VIEW_H

#include <cstdint>
#include <string>

#include "live_state.h"

namespace vparport {

// The cursor cell is underlined for the underline cursor, and shown in
// reverse while a blinking cursor shows its block (the phase at `now_ns`).
// `last_shown`, once the program has ended: the screen before a final clear
// display, as the saved report shows it, and said so.
std::string LiveFrame(const LiveSnapshot& snapshot, int64_t now_ns, bool last_shown = false);

}  // namespace vparport

#endif  // VIRTUAL_PARPORT_LIVE_VIEW_H
