// A program of the user's (lcd4linux, LCDd, ...) on the virtual parallel
// port, as virtual-lcd-run starts it.
#include <memory>

#include "launch.h"
#include "messages.h"
#include "run_modes.h"

Mode AddRunProgramMode(CLI::App& app, Options*) {
  CLI::App* command = app.add_subcommand(
      "run",
      "Run PROGRAM (lcd4linux, LCDd, ...) with the virtual parallel port preloaded: the "
      "parallel-port device it opens is a virtual LCD, shown live in this terminal and saved "
      "with --output when it ends (as virtual-lcd-run)");
  command->footer(
      "PROGRAM and its ARGUMENTS follow the options (after --, if one of them starts with -).\n"
      "Example: lcd_host run --chip HD44780 --output screen -- lcd4linux -F -f lcd4linux.conf");
  auto launch = std::make_shared<Launch>();
  launch->name = "lcd_host run";
  AddLaunchOptions(*command, launch.get());
  Mode mode;
  mode.command = command;
  mode.check = [command, launch](const Options&) -> Problem {
    const std::string wrong = FinishLaunch(*command, launch.get());
    if (wrong.empty()) return std::nullopt;
    return wrong;
  };
  mode.run = [launch](const Options&, Settings&) { return RunLaunch(*launch); };
  return mode;
}
