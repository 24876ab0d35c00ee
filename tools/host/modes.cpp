#include "modes.h"

#include "module_settings.h"
#include "run_modes.h"

namespace {

// A mode that runs a module, virtual or real, takes every module setting.
std::vector<std::string> WithModuleSettings(std::vector<std::string> takes) {
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    takes.push_back(std::string("--") + setting.name);
  }
  return takes;
}

}  // namespace

const std::vector<Mode>& Modes() {
  static const std::vector<Mode> modes = {
      {"",
       "a session on the virtual LCD: the demo, --script FILE or --test-pattern, shown and saved",
       WithModuleSettings({"--script", "--test-pattern", "--params", "--port", "--output",
                           "--module", "--port-library", "--trace", "--window"}),
       false, RunOnVirtualLcd},
      {"--replay", "the screens a driver log says each session left",
       WithModuleSettings({"--output"}), false,
       [](const Options& options, Settings& settings) { return RunReplay(options, settings); }},
      {"--check-port",
       "which port library loads and whether a port answers at --port",
       {"--port", "--port-library", "--host-folder"},
       true,
       [](const Options& options, Settings&) { return RunCheckPort(options); }},
      {"--wiring-walk", "each signal high in turn, to check the cable pin by pin; then the pattern",
       WithModuleSettings({"--step-ms", "--page-ms", "--params", "--port", "--output", "--module",
                           "--port-library"}),
       true, RunWiringWalk},
      {"--write-real-port", "the driver writes the real port: the test pattern or --script FILE",
       WithModuleSettings({"--script", "--page-ms", "--params", "--port", "--module"}), true,
       RunOnRealPort},
  };
  return modes;
}

std::string ModeName(const Mode& mode) {
  return *mode.flag != '\0' ? mode.flag : "a session on the virtual LCD";
}

std::string ModesHelp() {
  std::string help = "Modes, one at a time:\n";
  for (const Mode& mode : Modes()) {
    help += std::string("  ") + (*mode.flag != '\0' ? mode.flag : "(no mode flag)") + ": " +
            mode.what + "\n    takes";
    for (const std::string& option : mode.takes) help += " " + option;
    help += "\n";
  }
  return help;
}
