// The wiring walk, for someone with a multimeter or an LED: each signal the
// driver uses is driven high alone, in turn, with the DB-25 pin and the LCD
// pin where it should show; then the module is powered up and the test
// pattern runs. The port is checked before the first step and read back at
// every step, so a dead port stops the walk rather than sending the user
// after a cable fault. Against the virtual LCD's library each step also says
// what the virtual module's pins see, so the walk itself can be checked.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "messages.h"
#include "module_settings.h"
#include "option_checks.h"
#include "port_access.h"
#include "port_verdicts.h"
#include "report.h"
#include "run_modes.h"
#include "script.h"
#include "virtual_lcd_port.h"
#include "wiring.h"

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
    {"Initialize", 16, "RS", 4, 0x00, kLow | vlcd::kRegisterSelectBit, vlcd::kRsPin},
    {"Auto-feed", 14, "R/W", 5, 0x00, kLow & ~vlcd::kReadWriteBit, vlcd::kReadWritePin},
    {"Strobe", 1, "E", 6, 0x00, kLow & ~vlcd::kEnableBit, vlcd::kEnablePin},
};

// An answer is Enter; anything much longer is not someone at the keyboard.
constexpr size_t kLongestAnswer = 256;

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

// Waits for Enter; says why the walk cannot go on when input ends or
// brings something no one types.
Problem AwaitEnter() {
  std::printf("  Press Enter for the next pin.\n");
  std::fflush(stdout);
  for (size_t length = 0;; ++length) {
    const int c = std::cin.get();
    if (c == '\n') return std::nullopt;
    if (c == std::char_traits<char>::eof()) {
      return std::string(kInputEnded) + "; use --step-ms N for an unattended walk";
    }
    if (length == kLongestAnswer) {
      return std::string(kLineTooLong) + " (" + std::to_string(kLongestAnswer) +
             " characters) on standard input, which is not a keyboard; the walk stops. Use "
             "--step-ms N for an unattended walk";
    }
  }
}

// One signal high; says why the walk must stop, if it must.
Problem Drive(const PortLibrary& library, uint16_t data, const Signal& signal, bool simulator) {
  library.Write(static_cast<uint16_t>(data + vlcd::kControlOffset), signal.control);
  library.Write(data, signal.data);
  const uint8_t back = library.Read(data);
  if (const Problem gone = CheckPortStillReached(library)) return gone;
  if (back != signal.data) {
    return std::string(kPortStoppedAnswering) + " at " + HexAddress(data) + ": wrote " +
           HexByte(signal.data) + " to the data register and read " + HexByte(back) +
           " back, so the walk stops. Run lcd_host check-port.";
  }
  std::printf(
      "DB-25 pin %d (%s) high: LCD pin %d (%s) should now read +5 V against LCD pin 1 "
      "(VSS, ground)\n",
      signal.port_pin, signal.name, signal.lcd_pin, signal.lcd_signal);
  if (simulator) {
    const int levels = library.virtual_pins();
    std::printf("  the virtual module sees high: %s%s\n", HighPins(levels).c_str(),
                levels == signal.seen ? "" : " (not what this step drives)");
  }
  return std::nullopt;
}

// Pauses `step_ms` per pin; -1 waits for Enter.
Problem Walk(const PortLibrary& library, uint16_t data, int step_ms) {
  if (const Problem unreached = CheckPortReached(library, data, PortProbe::DataRegister)) {
    return unreached;
  }
  for (const Signal& signal : kSignals) {
    if (const Problem stop = Drive(library, data, signal, library.virtual_pins != nullptr)) {
      return stop;
    }
    if (step_ms < 0) {
      if (const Problem stop = AwaitEnter()) return stop;
      continue;
    }
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(step_ms));
  }
  return std::nullopt;
}

int RunWiringWalk(int step_ms, const Options& options, Settings& settings) {
  PortLibrary library;
  if (const Problem problem =
          OpenPortLibrary(options.port_library_given ? options.port_library : "", false, &library,
                          ", or name it with --port-library")) {
    return Fail(kRunError, *problem);
  }
  const bool simulator = library.virtual_pins != nullptr;
  std::printf("Port library: %s%s\n", library.file.c_str(),
              simulator ? " (the virtual LCD's library, a simulator: each step shows what the "
                          "virtual module's pins see)"
                        : "");
  const auto data = static_cast<uint16_t>(options.port);
  if (simulator) {
    // Told the module first, it knows it runs under lcd_host, which saves
    // its screens, and keeps its notice for hosts that did not.
    if (const Problem refused =
            ConfigureVirtualLcd(library.handle, vlcd::SettingsText(settings.module), data, 0)) {
      ClosePortLibrary(&library);
      return Fail(kRunError, *refused);
    }
  }
  const Problem stopped = Walk(library, data, step_ms);
  LeavePortIdle(library, data);
  const std::string file = library.file;
  ClosePortLibrary(&library);
  if (stopped) return Fail(kRunError, *stopped);
  std::printf("%s; now the module is powered up and the test pattern runs.\n", kEverySignalWalked);
  std::fflush(stdout);
  if (!simulator) return RunOnRealPort(options, settings);
  Options pattern = options;
  pattern.port_library = file;
  if (pattern.output.empty()) pattern.output = vlcd::kDefaultScreenPrefix;
  settings.output = pattern.output;
  return RunSessionOnVirtualLcd(pattern, settings, true, false);
}

}  // namespace

Mode AddWiringWalkMode(CLI::App& app, Options* options) {
  CLI::App* command = app.add_subcommand(
      "wiring-walk",
      "Drive each signal high in turn to check the cable pin by pin, then run the test "
      "pattern");
  AddModuleSettings(*command, options, ModuleSettingsFor::VirtualModule);
  AddDriverOptions(*command, options);
  AddOutputOption(*command, options);
  AddPortLibraryOption(*command, options,
                       "Your port library (default: found as the driver finds it)");
  AddPageMsOption(*command, options);
  auto step_ms = std::make_shared<int>(-1);
  command->add_option("--step-ms", *step_ms, "Pause N ms per pin instead of waiting for Enter")
      ->transform(NumberCheck(vlcd::NumberForm::Decimal, kMaxWaitMs))
      ->type_name("N");
  Mode mode;
  mode.command = command;
  mode.drives_a_port = true;
  mode.saves_screens = SavesScreens::OnTheSimulator;
  mode.run = [step_ms](const Options& given, Settings& settings) {
    return RunWiringWalk(*step_ms, given, settings);
  };
  return mode;
}
