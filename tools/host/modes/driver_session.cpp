#include "driver_session.h"

#include <cstdio>

#include "demo_script.h"
#include "hd66712_parameters.h"
#include "messages.h"
#include "port_verdicts.h"

namespace {

// Writes that take longer than a few seconds are announced.
constexpr size_t kLongWriteBytes = 20000;

std::string Duration(double seconds) {
  char text[32];
  if (seconds < 120) {
    std::snprintf(text, sizeof text, "%.0f s", seconds);
  } else if (seconds < 7200) {
    std::snprintf(text, sizeof text, "%.0f min", seconds / 60);
  } else {
    std::snprintf(text, sizeof text, "%.1f h", seconds / 3600);
  }
  return text;
}

}  // namespace

Problem LoadDriver(const std::string& path, loader::ModuleHandle* module, DriverEntries* driver) {
  std::string reason;
  bool wrong_kind = false;
  *module = loader::LoadModule(path, &reason, &wrong_kind);
  // Windows says only "Bad EXE format for %1": say which build is which.
  const int bits = wrong_kind ? loader::WindowsModuleBits(path) : 0;
  if (*module == nullptr && bits != 0 && bits != loader::kOwnBits) {
    return path + " " + kOtherBuildOfTheDriver + std::to_string(bits) + "-bit; this lcd_host is " +
           std::to_string(loader::kOwnBits) + "-bit and runs the driver of its own folder (" +
           (loader::kOwnBits == 64 ? "64-bit\\" : "the top of the package") + ")";
  }
  if (*module == nullptr) return "cannot load the driver module " + path + ": " + reason;
  if (const Problem missing = FindDriverEntries(*module, driver))
    return path + " lacks " + *missing;
  return std::nullopt;
}

Problem ReadSessionScript(const Options& options, Builtin builtin,
                          std::vector<ScriptCommand>* commands) {
  std::string name = options.script_path;
  std::vector<std::string> warnings;
  Problem problem;
  if (name.empty()) {
    name = builtin.test_pattern ? "test pattern" : "demo";
    const std::string script =
        builtin.test_pattern
            ? TestPatternScript(options.display.columns, options.display.rows, builtin.pages,
                                options.page_ms)
            : DemoScript(options.display.columns, options.display.rows, options.display.rom);
    problem = ParseScript(script, commands, &warnings, options.display.rom);
  } else {
    problem = ParseScriptFile(name, commands, &warnings, options.display.rom);
  }
  for (const std::string& warning : warnings) Warn(name + ", " + warning);
  if (problem) return name + ", " + *problem;
  return std::nullopt;
}

void WatchDriverCalls(StdoutCapture& capture, SessionSettings& session,
                      std::function<void(size_t)> long_write) {
  session.call_driver = [&capture](const std::function<void()>& call) {
    const std::string printed = capture.Run(call);
    if (printed.empty()) return;
    std::printf("driver printed: %s%s", printed.c_str(), printed.back() == '\n' ? "" : "\n");
  };
  session.writing = [long_write](size_t bytes) {
    if (bytes < kLongWriteBytes) return;
    std::fflush(stdout);
    std::fprintf(stderr,
                 "lcd_host: writing %zu characters, which takes at least %s at the driver's "
                 "%d us a byte\n",
                 bytes, Duration(static_cast<double>(bytes) * kMicrosecondsPerByte / 1e6).c_str(),
                 kMicrosecondsPerByte);
    if (long_write) long_write(bytes);
  };
}
