#include "modes.h"

#include <algorithm>

#include "module_settings.h"
#include "run_modes.h"

namespace {

// A mode that runs a module, virtual or real, takes the module settings
// that matter to it: on a real module only those the driver or the script
// depend on.
std::vector<std::string> WithModuleSettings(std::vector<std::string> shares, bool real_module) {
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    if (real_module && !setting.matters_on_a_real_module) continue;
    shares.push_back(std::string("--") + setting.name);
  }
  return shares;
}

}  // namespace

const std::vector<Mode>& Modes() {
  static const std::vector<Mode> modes = {
      {"",
       "a session on the virtual LCD: the demo, --script FILE or --test-pattern, shown and saved",
       AddVirtualLcdOptions,
       WithModuleSettings(
           {"--script", "--params", "--port", "--output", "--module", "--port-library", "--trace"},
           false),
       false, SavesScreens::Always, RunOnVirtualLcd},
      {"--replay", "the screens a driver log says each session left", AddReplayOptions,
       WithModuleSettings({"--output", "--trace"}, false), false, SavesScreens::WhenAsked,
       RunReplay},
      {"--check-port",
       "which port library loads and whether a port answers at --port",
       AddCheckPortOptions,
       {"--port", "--port-library"},
       true,
       SavesScreens::Never,
       RunCheckPort},
      {"--wiring-walk", "each signal high in turn, to check the cable pin by pin; then the pattern",
       AddWiringWalkOptions,
       WithModuleSettings(
           {"--page-ms", "--params", "--port", "--output", "--module", "--port-library"}, false),
       true, SavesScreens::OnTheSimulator, RunWiringWalk},
      {"--write-real-port", "the driver writes the real port: the test pattern or --script FILE",
       AddRealPortOptions,
       WithModuleSettings({"--script", "--page-ms", "--params", "--port", "--module"}, true), true,
       SavesScreens::Never, RunOnRealPort},
  };
  return modes;
}

std::string ModeName(const Mode& mode) {
  return *mode.flag != '\0' ? mode.flag : "a session on the virtual LCD";
}

std::string OwnHeading(const Mode& mode) { return "Only " + ModeName(mode); }

bool Takes(const Mode& mode, const CLI::Option& option) {
  const std::string name = option.get_name();
  return option.get_group() == OwnHeading(mode) ||
         std::find(mode.shares.begin(), mode.shares.end(), name) != mode.shares.end();
}

std::string ModesHelp(const CLI::App& app) {
  std::string help = "Modes, one at a time:\n";
  for (const Mode& mode : Modes()) {
    help += std::string("  ") + (*mode.flag != '\0' ? mode.flag : "(no mode flag)") + ": " +
            mode.what + "\n    takes";
    for (const CLI::Option* option : app.get_options()) {
      if (option->get_name() != mode.flag && Takes(mode, *option)) {
        help += " " + option->get_name();
      }
    }
    help += "\n";
  }
  return help;
}
