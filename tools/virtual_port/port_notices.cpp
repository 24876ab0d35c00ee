// What the device says on standard error unasked: that it is a simulator,
// and how far a long write has come.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "port_device.h"
#include "report.h"

namespace port_device {

namespace {
constexpr int64_t kProgressEveryNs = 2000000000;
}  // namespace

void Introduce() {
  if (device.configured || device.introduced) return;
  device.introduced = true;
  const char* output = std::getenv("HD_VLCD_OUTPUT");
  std::string saved =
      "The screen is not saved (set HD_VLCD_OUTPUT to a file prefix or a folder "
      "to save it).";
  if (output != nullptr && *output != '\0') {
    // Found now, not when the host has gone and the screen is lost.
    const std::string prefix = vlcd::ScreenPrefixFor(output);
    Problem unsaved = vlcd::CheckScreenPrefix(prefix);
    if (!unsaved) unsaved = vlcd::CheckScreenWritable(prefix);
    std::error_code unknown;
    saved = unsaved ? "HD_VLCD_OUTPUT=" + std::string(output) + ": " + *unsaved + "."
                    : "The screen is written to " +
                          std::filesystem::absolute(prefix, unknown).lexically_normal().string() +
                          ".txt and .png when the library is unloaded.";
  }
  Complain(
      "this is a simulator, not a port library: nothing is written to any port. " + saved +
      " To drive the real port again, delete " VIRTUAL_PORT_FILE
      " and virtual_lcd_window.dll from the host program's folder and put your own port library "
      "back.");
  if (device.window.wanted) {
    if (const Problem problem = ShowScreenWindow()) Complain(*problem);
  }
}

void ShowProgress(int64_t now) {
  if (device.progress.shown_ns == 0) device.progress.shown_ns = now;
  if (now - device.progress.shown_ns < kProgressEveryNs) return;
  device.progress.shown_ns = now;
  const int64_t written = device.lcd.traffic.data_bytes;
  const int64_t done = written - device.progress.from_bytes;
  if (written >= device.progress.expected_bytes || done <= 0) {
    std::fprintf(stderr, "virtual LCD: %lld bytes latched so far\n",
                 static_cast<long long>(LatchedBytes()));
    return;
  }
  const double seconds_left = static_cast<double>(device.progress.expected_bytes - written) *
                              static_cast<double>(now - device.progress.from_ns) / 1e9 /
                              static_cast<double>(done);
  std::fprintf(stderr, "virtual LCD: %lld of %lld characters written, about %.0f s left\n",
               static_cast<long long>(done),
               static_cast<long long>(device.progress.expected_bytes - device.progress.from_bytes),
               seconds_left);
}

}  // namespace port_device
