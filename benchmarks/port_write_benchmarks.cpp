// What a port write costs a host on the virtual port library, with its live
// window shown and without: bytes are clocked in as the driver clocks them
// (four writes a byte), as fast as the host can, so the window has a new
// screen to draw at every refresh. Run it once with HD_VLCD_WINDOW=0 and
// once with HD_VLCD_WINDOW=1 (scripts/benchmark.sh does both).
//
// Bytes this fast break the controller's timing; the library counts every
// violation and describes only the first thousand, so the figure is the
// model's steady cost, not a growing list's.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "module_loader.h"
#include "port_library_abi.h"
#include "wiring.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t kData = 0x378;
constexpr int32_t kControl = kData + vlcd::kControlOffset;
// RS high (a data byte), R/W low, E low; then E high.
constexpr int32_t kIdle = vlcd::kControlPinsLow | vlcd::kRegisterSelectBit;
constexpr int32_t kStrobe = kIdle & ~vlcd::kEnableBit;
constexpr double kRoundSeconds = 2.0;
constexpr int kRounds = 3;

double WritesPerSecond(PortWriteFn out) {
  long long writes = 0;
  uint8_t byte = 'A';
  const Clock::time_point start = Clock::now();
  std::chrono::duration<double> elapsed{};
  while ((elapsed = Clock::now() - start).count() < kRoundSeconds) {
    for (int i = 0; i < 1000; ++i) {
      out(kControl, kIdle);
      out(kData, byte);
      out(kControl, kStrobe);
      out(kControl, kIdle);
      byte = static_cast<uint8_t>(byte == 'Z' ? 'A' : byte + 1);
    }
    writes += 4000;
  }
  return static_cast<double>(writes) / elapsed.count();
}

}  // namespace

int main(int argc, char** argv) {
  // An empty path would load the program itself.
  if (argc != 2 || *argv[1] == '\0') {
    std::fprintf(stderr, "usage: port_write_benchmarks VIRTUAL_PORT_LIBRARY\n");
    return 2;
  }
  std::string reason;
  const loader::ModuleHandle library = loader::LoadModule(argv[1], &reason);
  if (library == nullptr) {
    std::fprintf(stderr, "cannot load %s: %s\n", argv[1], reason.c_str());
    return 1;
  }
  const auto out = loader::FindEntryAs<PortWriteFn>(library, "Out32");
  if (out == nullptr) {
    std::fprintf(stderr, "%s has no Out32\n", argv[1]);
    return 1;
  }
  // The first access opens the window, if any; give it time to appear.
  out(kControl, kIdle);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  double best = 0;
  for (int round = 0; round < kRounds; ++round) best = std::max(best, WritesPerSecond(out));
  const char* window = std::getenv("HD_VLCD_WINDOW");
  std::printf("HD_VLCD_WINDOW=%s: %.2f million port writes/s (best of %d rounds of %.0f s)\n",
              window == nullptr ? "(unset)" : window, best / 1e6, kRounds, kRoundSeconds);
  loader::UnloadModule(library);
  return 0;
}
