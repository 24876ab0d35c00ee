#include "live_state.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace vparport {

LiveState* MapLiveState(const char* path) {
  const int fd = open(path, O_RDWR | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status {};
  void* mapped = MAP_FAILED;
  if (fstat(fd, &status) == 0 && status.st_size >= static_cast<off_t>(sizeof(LiveState))) {
    mapped = mmap(nullptr, sizeof(LiveState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  }
  close(fd);
  return mapped == MAP_FAILED ? nullptr : static_cast<LiveState*>(mapped);
}

void PublishLive(LiveState& state, const vlcd::VirtualLcd& lcd) {
  const uint32_t sequence = state.sequence.load(std::memory_order_relaxed);
  state.sequence.store(sequence | 1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  state.version = kLiveVersion;
  LiveSnapshot snapshot{lcd.module, lcd.controller, vlcd::AllTraffic(lcd), false, {}, false, {}};
  if (lcd.cleared_from) {
    snapshot.cleared = true;
    snapshot.before_clear = *lcd.cleared_from;
  }
  if (!lcd.lower.empty()) {
    snapshot.has_lower = true;
    snapshot.lower = lcd.lower.front().controller;
  }
  std::memcpy(&state.snapshot, &snapshot, sizeof snapshot);
  std::atomic_thread_fence(std::memory_order_release);
  state.sequence.store((sequence | 1) + 1, std::memory_order_release);
}

bool ReadLive(const LiveState& state, LiveSnapshot* snapshot) {
  constexpr int kTries = 1000;
  for (int tries = 0; tries < kTries; ++tries) {
    const uint32_t before = state.sequence.load(std::memory_order_acquire);
    if (before == 0) return false;
    if (before & 1) continue;
    std::memcpy(snapshot, &state.snapshot, sizeof *snapshot);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (state.sequence.load(std::memory_order_relaxed) == before) {
      return state.version == kLiveVersion;
    }
  }
  return false;
}

}  // namespace vparport
