// The wiring walk, for someone with a multimeter or an LED: each signal the
// driver uses is driven high alone, in turn, with the DB-25 pin and the LCD
// pin where it should show; then the module is powered up and the test
// pattern runs. Against the virtual LCD's library each step also says what
// the virtual module's pins see, so the walk itself can be checked.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "messages.h"
#include "port_access.h"
#include "run_modes.h"
#include "virtual_lcd.h"

namespace {

struct Signal {
  const char* name;  // on the port
  int port_pin;      // DB-25
  const char* lcd_signal;
  int lcd_pin;
  uint8_t data;     // data register while it is high
  uint8_t control;  // control register while it is high
  int seen;         // the virtual module's pin it raises
};

constexpr uint8_t kLow = vlcd::kControlPinsLow;
constexpr Signal kSignals[] = {
    {"D0", 2, "DB0", 7, 0x01, kLow, 0x01},
    {"D1", 3, "DB1", 8, 0x02, kLow, 0x02},
    {"D2", 4, "DB2", 9, 0x04, kLow, 0x04},
    {"D3", 5, "DB3", 10, 0x08, kLow, 0x08},
    {"D4", 6, "DB4", 11, 0x10, kLow, 0x10},
    {"D5", 7, "DB5", 12, 0x20, kLow, 0x20},
    {"D6", 8, "DB6", 13, 0x40, kLow, 0x40},
    {"D7", 9, "DB7", 14, 0x80, kLow, 0x80},
    {"Initialize", 16, "RS", 4, 0x00, kLow | vlcd::kInitializeBit, vlcd::kRsPin},
    {"Auto-feed", 14, "R/W", 5, 0x00, kLow & ~vlcd::kAutoFeedBit, vlcd::kReadWritePin},
    {"Strobe", 1, "E", 6, 0x00, kLow & ~vlcd::kStrobeBit, vlcd::kEnablePin},
};

// The pins the virtual module sees high, by name.
std::string HighPins(int levels) {
  static const char* const kNames[] = {"DB0", "DB1", "DB2", "DB3", "DB4", "DB5",
                                       "DB6", "DB7", "RS",  "R/W", "E"};
  std::string high;
  for (int pin = 0; pin < 11; ++pin) {
    if (levels & (1 << pin)) high += (high.empty() ? "" : ", ") + std::string(kNames[pin]);
  }
  return high.empty() ? "none" : high;
}

}  // namespace

int RunWiringWalk(const Options& options, Settings& settings) {
  PortLibrary library;
  if (const Problem problem =
          OpenPortLibrary(options.port_library_given ? options.port_library : "", &library)) {
    return Fail(kRunError, *problem);
  }
  const bool simulator = library.virtual_pins != nullptr;
  std::printf("Port library: %s%s\n", library.file.c_str(),
              simulator ? " (the virtual LCD's library, a simulator: each step shows what the "
                          "virtual module's pins see)"
                        : "");
  const auto data = static_cast<uint16_t>(options.port);
  const auto control = static_cast<uint16_t>(options.port + vlcd::kControlOffset);
  bool walked = true;
  for (const Signal& signal : kSignals) {
    library.Write(control, signal.control);
    library.Write(data, signal.data);
    std::printf("pin %d (%s) high: LCD pin %d (%s) should now read +5 V against pin 1\n",
                signal.port_pin, signal.name, signal.lcd_pin, signal.lcd_signal);
    if (simulator) {
      const int levels = library.virtual_pins();
      std::printf("  the virtual module sees high: %s%s\n", HighPins(levels).c_str(),
                  levels == signal.seen ? "" : " (not what this step drives)");
    }
    if (options.step_ms >= 0) {
      std::fflush(stdout);
      std::this_thread::sleep_for(std::chrono::milliseconds(options.step_ms));
      continue;
    }
    std::printf("  Press Enter for the next pin.\n");
    std::fflush(stdout);
    std::string line;
    if (!std::getline(std::cin, line)) {
      walked = false;
      break;
    }
  }
  LeavePortIdle(library, data);
  const std::string file = library.file;
  ClosePortLibrary(&library);
  if (!walked) {
    return Fail(kRunError,
                "standard input ended before the walk did; use --step-ms N for an unattended walk");
  }
  std::printf("Every signal walked; now the module is powered up and the test pattern runs.\n");
  std::fflush(stdout);
  Options pattern = options;
  pattern.test_pattern = true;
  if (simulator) {
    pattern.port_library = file;
    if (pattern.output.empty()) pattern.output = "virtual_lcd";
    settings.output = pattern.output;
    return RunOnVirtualLcd(pattern, settings);
  }
  pattern.real_port = true;
  return RunOnRealPort(pattern, settings);
}
