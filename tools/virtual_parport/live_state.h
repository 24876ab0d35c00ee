// The virtual LCD as it is now, shared through a file that the program on
// the virtual parallel port and a live view both map: the preload writes
// it after every change of the pins, the view reads it as often as it
// redraws. A sequence number, odd while a copy is being written, lets the
// reader take a whole copy without a lock either side could be left
// holding.
#ifndef VIRTUAL_PARPORT_LIVE_STATE_H
#define VIRTUAL_PARPORT_LIVE_STATE_H

#include <atomic>
#include <cstdint>
#include <type_traits>

#include "virtual_lcd.h"

namespace vparport {

struct LiveSnapshot {
  vlcd::Module module;
  vlcd::Controller controller;
  vlcd::Traffic traffic;  // every controller's
  bool has_lower = false;
  vlcd::Controller lower;  // a second controller's, rows 3 and 4
  // Set while the last byte was a clear display: the controller before it,
  // what the program last showed (most clear the module as they end).
  bool cleared = false;
  vlcd::Controller before_clear;
};
static_assert(std::is_trivially_copyable_v<LiveSnapshot>);

struct LiveState {
  uint32_t version = 0;  // kLiveVersion once a writer has set the file up
  std::atomic<uint32_t> sequence{0};
  LiveSnapshot snapshot;
};
inline constexpr uint32_t kLiveVersion = 0x4C495631;  // "LIV1"

// The state in the file at `path`, which the view made (its size is
// sizeof(LiveState)); nullptr when it cannot be mapped.
LiveState* MapLiveState(const char* path);
void PublishLive(LiveState& state, const vlcd::VirtualLcd& lcd);
// A whole copy, or false when none has been published yet (or every try
// met a writer mid-copy).
bool ReadLive(const LiveState& state, LiveSnapshot* snapshot);

}  // namespace vparport

#endif  // VIRTUAL_PARPORT_LIVE_STATE_H
