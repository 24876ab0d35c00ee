// The driver module's cost as a host meets it: loaded by path, its entries
// found by name, writing through a port library that does nothing. The same
// program runs natively and, as a 32-bit Windows program under Wine, on the
// shipped DLL itself, so the two sets of figures sit side by side.
//
// Google Benchmark has no build for the Windows cross compilers, so this
// program keeps its own clock; it prints figures and judges nothing.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "driver_module.h"
#include "module_loader.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// 80 data cycles and 4 row-end address instructions of 160 us each.
constexpr double kFullScreenWaitsMs = 84 * 0.160;
constexpr int kLinesPerScreen = 84;
constexpr double kMeasureSeconds = 2.0;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Mean milliseconds of one full 20x4 screen, from the second screen on.
double FullScreenMs(const DriverEntries& driver, const char* parameters) {
  uint8_t ok = 0;
  driver.Init(20, 4, parameters, &ok);
  if (ok != 1) {
    std::fprintf(stderr, "DISPLAYDLL_Init(%s) failed\n", parameters);
    return 0;
  }
  const std::string screen(80, 'x');
  driver.SetPosition(1, 1);
  driver.Write(screen.c_str());
  int screens = 0;
  const Clock::time_point start = Clock::now();
  while (Seconds(Clock::now() - start) < kMeasureSeconds) {
    driver.Write(screen.c_str());
    ++screens;
  }
  const double ms = Seconds(Clock::now() - start) * 1000.0 / screens;
  driver.Done();
  return ms;
}

constexpr int kLines = 20000;

// What one logged line costs the driver, as a host meets it: writing an
// empty text logs its line and sends no byte, so no wait is in the figure.
double LoggedLineUs(const DriverEntries& driver) {
  uint8_t ok = 0;
  driver.Init(20, 4, "LPT1,HD66712,Log", &ok);
  if (ok != 1) return 0;
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < kLines; ++i) driver.Write("");
  const double us = Seconds(Clock::now() - start) * 1e6 / kLines;
  driver.Done();
  return us;
}

// What the same line costs written bare (one fputs and one fflush), in a
// file opened for appending as the driver's log is.
double FlushedLineUs() {
  std::remove("flushed_lines.txt");
  std::FILE* file = std::fopen("flushed_lines.txt", "a");
  if (file == nullptr) return 0;
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < kLines; ++i) {
    std::fputs("12:34:56 08/12/26 Write : \n", file);
    std::fflush(file);
  }
  const double us = Seconds(Clock::now() - start) * 1e6 / kLines;
  std::fclose(file);
  return us;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: hosted_benchmarks MODULE PORT_LIBRARY\n");
    return 2;
  }
  const std::string module_path = fs::absolute(argv[1]).string();
  const std::string port_path = fs::absolute(argv[2]).string();
  // Loaded first, the null port is what the driver's load of "inpout32.dll" finds.
  if (loader::LoadModule(port_path) == nullptr) {
    std::fprintf(stderr, "hosted_benchmarks: cannot load the port library %s\n", argv[2]);
    return 1;
  }
  loader::ModuleHandle module = loader::LoadModule(module_path);
  if (module == nullptr) {
    std::fprintf(stderr, "hosted_benchmarks: cannot load the driver module %s\n", argv[1]);
    return 1;
  }
  DriverEntries driver;
  if (const Problem missing = FindDriverEntries(module, &driver)) {
    std::fprintf(stderr, "hosted_benchmarks: %s lacks %s\n", argv[1], missing->c_str());
    return 1;
  }
  const fs::path run_folder = fs::temp_directory_path() / "hd66712-hosted-benchmarks";
  fs::create_directories(run_folder);
  fs::current_path(run_folder);

  const double off_ms = FullScreenMs(driver, "LPT1,HD66712");
  const double on_ms = FullScreenMs(driver, "LPT1,HD66712,Log");
  const double line_us = FlushedLineUs();
  const double logged_us = LoggedLineUs(driver);
  const double floor_ms = kFullScreenWaitsMs + kLinesPerScreen * line_us / 1000.0;

  std::printf("module %s\n", argv[1]);
  std::printf("  full 20x4 screen, log off  %8.3f ms  %.4f x mandated\n", off_ms,
              off_ms / kFullScreenWaitsMs);
  std::printf("  full 20x4 screen, log on   %8.3f ms  %.4f x mandated\n", on_ms,
              on_ms / kFullScreenWaitsMs);
  std::printf("  one bare flushed line (fputs + fflush alone)  %.2f us\n", line_us);
  std::printf("  one logged line (an empty write's)  %.2f us  %.2f x a bare line\n", logged_us,
              logged_us / line_us);
  std::printf("  log-on floor: waits + %d such lines = %.4f x mandated\n", kLinesPerScreen,
              floor_ms / kFullScreenWaitsMs);
  return 0;
}
