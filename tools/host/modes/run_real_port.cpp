// A session on the real port: no virtual LCD is loaded, so the driver finds
// the user's own port library by name, as under a host, and every byte
// goes to the port. The port is checked first, with the library the driver
// will load, and watched after every command, so that a run that reaches
// no port stops instead of reporting commands as sent.
#include <cstdio>

#include "driver_session.h"
#include "hd66712_parameters.h"
#include "messages.h"
#include "module_settings.h"
#include "port_access.h"
#include "port_verdicts.h"
#include "run_modes.h"
#include "virtual_lcd_port.h"

namespace {

// The virtual LCD's library carries a port library's name; loaded here by
// name, it would take every byte and drive nothing. Says why the run must
// not go on, if it must not; `found` gets the files the system's search finds.
Problem RefuseTheSimulator(std::string* found) {
  for (const PortLibraryFile& candidate : kPortLibraryFiles) {
    const char* name = candidate.file_name;
    loader::ModuleHandle library = loader::LoadModule(name);
    if (library == nullptr) continue;
    const std::string file = loader::ModuleFile(library);
    const bool simulator = loader::FindEntry(library, kVirtualLcdConfigure) != nullptr;
    loader::UnloadModule(library);
    const std::string shown = file.empty() ? name : file;
    if (simulator) {
      return shown + " " + kIsTheSimulator +
             " that writes no port: the driver would load it and nothing would reach the "
             "module. Put your port library's own " +
             name + " there instead (see README.txt, \"The port library\").";
    }
    *found += (found->empty() ? "" : ", ") + shown;
  }
  return std::nullopt;
}

// Says, before anything is written, that the real port is, through which
// library, and reminds of the HD44780 setting where the parameters keep the
// HD66712's on a 2-row module.
void AnnounceRealPort(const Settings& settings, const DriverEntries& driver,
                      const std::string& found) {
  const char* parameters = settings.session.parameters.c_str();
  // The chip the driver sets the controller up for is the parameters'
  // (it starts as an HD66712), whatever --chip says of the module.
  const ChipType used = ChooseChip(parameters, EndsWithLog(parameters), ChipType::HD66712).chip;
  std::printf(
      "lcd_host: writing the REAL parallel port as \"%s\" says, through the port library the "
      "driver loads (found: %s)\n%s, %dx%d, the driver setting the controller up as an %s\n",
      parameters, found.c_str(), driver.DriverName(), settings.module.columns, settings.module.rows,
      used == ChipType::HD44780 ? "HD44780" : "HD66712");
  // Only a second row lands elsewhere, and only when the parameters keep
  // the HD66712 setting.
  if (settings.module.rows == 2 && used != ChipType::HD44780) {
    Warn(std::string("a 2-row module needs the driver's HD44780 setting (parameters such as "
                     "LPT1,HD44780); \"") +
         parameters + "\" keeps HD66712, with which the second row lands in the wrong place");
  }
}

}  // namespace

Mode AddRealPortMode(CLI::App& app, Options* options) {
  CLI::App* command = app.add_subcommand(
      "real-port",
      "No virtual LCD: the driver writes the real parallel port through your own port library "
      "(the test pattern, or --script FILE)");
  AddModuleSettings(*command, options, ModuleSettingsFor::RealModule);
  AddDriverOptions(*command, options);
  AddScriptOption(*command, options);
  AddPageMsOption(*command, options);
  Mode mode;
  mode.command = command;
  mode.drives_a_port = true;
  mode.check = [command](const Options&) -> Problem {
    if (command->count("--script") > 0 && command->count("--page-ms") > 0) {
      return "--page-ms: a --script has no pages, the test pattern has";
    }
    return std::nullopt;
  };
  mode.run = RunOnRealPort;
  return mode;
}

int RunOnRealPort(const Options& options, Settings& settings) {
  std::vector<ScriptCommand> commands;
  if (const Problem problem =
          ReadSessionScript(options, Builtin{true, PatternPages::Paused}, &commands)) {
    return Fail(kRunError, *problem);
  }
  std::string found;
  if (const Problem simulator = RefuseTheSimulator(&found)) return Fail(kRunError, *simulator);

  // The library and the port the driver will use, by its own reading of
  // the parameters; held open through the run so its state can be asked.
  const char* parameters = settings.session.parameters.c_str();
  const uint16_t port = ParsePort(parameters);
  PortLibrary library;
  if (const Problem problem = OpenPortLibrary("", EndsWithLog(parameters), &library, "")) {
    return Fail(kRunError, *problem);
  }
  std::printf("Port library: %s; checking the port at %s before the driver writes it\n",
              library.file.c_str(), HexAddress(port).c_str());
  if (const Problem unreached = CheckPortReached(library, port, PortProbe::DataRegister)) {
    ClosePortLibrary(&library);
    return Fail(kRunError, *unreached);
  }

  loader::ModuleHandle module = nullptr;
  DriverEntries driver;
  if (const Problem problem = LoadDriver(options.module, &module, &driver)) {
    ClosePortLibrary(&library);
    return Fail(kRunError, *problem);
  }
  AnnounceRealPort(settings, driver, found.empty() ? library.file : found);
  int sent = 0;
  settings.session.announce = [&sent](const std::string& line) {
    std::printf("sent: %s\n", line.c_str());
    std::fflush(stdout);
    ++sent;
  };
  settings.session.after_command = [&library]() { return CheckPortStillReached(library); };
  settings.session.snapshot = []() -> Problem {
    return "snapshot saves the virtual LCD's screen; here, look at the module";
  };
  StdoutCapture capture;
  WatchDriverCalls(capture, settings.session, nullptr);
  const Problem problem = RunCommands(driver, settings.session, commands);
  // The driver is left running, so the module keeps showing the last
  // screen; it holds the library too.
  ClosePortLibrary(&library);
  if (problem) return Fail(kRunError, *problem);
  std::printf("%d %s.\n", sent, kCommandsSent);
  return 0;
}
