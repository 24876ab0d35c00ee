// What the driver costs on top of the waits its controller protocol
// mandates, as ratios so that a busy machine does not change the meaning.
// Runs the driver in-process with a port library that does nothing.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "allocation_counter.h"
#include "displaydll.h"
#include "lcd/controller_link.h"
#include "platform/library.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kBusCycleMs = 0.160;
// 80 data cycles and the 4 row-end address instructions.
constexpr double kFullScreenWaitsMs = 84 * kBusCycleMs;
constexpr double kPowerSettleMs = 1000.0;
constexpr double kHd66712PowerUpMs = kPowerSettleMs + 12 * kBusCycleMs + 11.5;
constexpr double kHd44780PowerUpMs = kPowerSettleMs + 9 * kBusCycleMs + 7.4;

const std::string kScreen(80, 'x');

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void Start(const char* parameters) {
  uint8_t ok = 0;
  DISPLAYDLL_Init(20, 4, parameters, &ok);
  if (ok != 1) std::fprintf(stderr, "DISPLAYDLL_Init(%s) failed\n", parameters);
}

void BM_DelayUs(benchmark::State& state) {
  const auto microseconds = static_cast<int32_t>(state.range(0));
  Clock::duration total{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    DelayUs(microseconds);
    total += Clock::now() - start;
  }
  const double mean_us = Milliseconds(total) * 1000.0 / static_cast<double>(state.iterations());
  state.counters["x_mandated"] = mean_us / microseconds;
  state.counters["overshoot_us"] = mean_us - microseconds;
}
BENCHMARK(BM_DelayUs)->Arg(40)->Arg(100)->Arg(1600)->Arg(4100)->Unit(benchmark::kMicrosecond);

// A full 20x4 screen from the top left; the cursor wraps back there after
// each one, so every iteration writes the same cells.
void FullScreen(benchmark::State& state, const char* parameters) {
  Start(parameters);
  DISPLAYDLL_SetPosition(1, 1);
  // The first line logged sets up the log file's buffer; count from the
  // second screen on, as a host refreshes it.
  DISPLAYDLL_Write(kScreen.c_str());
  Clock::duration total{};
  int64_t allocations = 0;
  for (auto _ : state) {
    const int64_t allocations_before = AllocationCount();
    const Clock::time_point start = Clock::now();
    DISPLAYDLL_Write(kScreen.c_str());
    total += Clock::now() - start;
    allocations += AllocationCount() - allocations_before;
  }
  DISPLAYDLL_Done();
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["x_mandated"] = Milliseconds(total) / iterations / kFullScreenWaitsMs;
  state.counters["allocations"] = static_cast<double>(allocations) / iterations;
}

void BM_FullScreenLogOff(benchmark::State& state) { FullScreen(state, "LPT1,HD66712"); }
void BM_FullScreenLogOn(benchmark::State& state) { FullScreen(state, "LPT1,HD66712,Log"); }
BENCHMARK(BM_FullScreenLogOff)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_FullScreenLogOn)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void PowerUp(benchmark::State& state, const char* parameters, double mandated_ms) {
  Start(parameters);
  Clock::duration total{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    DISPLAYDLL_PowerResume();
    total += Clock::now() - start;
  }
  DISPLAYDLL_Done();
  state.counters["x_mandated"] =
      Milliseconds(total) / static_cast<double>(state.iterations()) / mandated_ms;
}

void BM_PowerUpHd66712(benchmark::State& state) {
  PowerUp(state, "LPT1,HD66712", kHd66712PowerUpMs);
}
void BM_PowerUpHd44780(benchmark::State& state) {
  PowerUp(state, "LPT1,HD44780", kHd44780PowerUpMs);
}
BENCHMARK(BM_PowerUpHd66712)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PowerUpHd44780)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  // The null port, loaded first, is what the driver's load of
  // "inpout32.dll" finds; the log goes to a folder of the run's own.
  const fs::path tool_folder = fs::absolute(argv[0]).parent_path();
  const std::string port = (tool_folder / NULL_PORT_LIBRARY).string();
  if (platform::LibraryOpen(port.c_str()) == nullptr) {
    std::fprintf(stderr, "cannot load %s\n", port.c_str());
    return 1;
  }
  const fs::path run_folder = fs::temp_directory_path() / "hd66712-benchmarks";
  fs::create_directories(run_folder);
  fs::current_path(run_folder);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
