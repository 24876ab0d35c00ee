// A session on the virtual LCD, of the demo, a script or the test pattern:
// the virtual port library is loaded first, so the driver's own load of
// "inpout32.dll" by name finds it.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "driver_session.h"
#include "live_window_link.h"
#include "messages.h"
#include "module_settings.h"
#include "option_checks.h"
#include "output_files.h"
#include "port_access.h"
#include "run_modes.h"
#include "virtual_lcd_port.h"

namespace {

struct VirtualPort {
  VirtualLcdSnapshotFn snapshot = nullptr;
  VirtualLcdTraceFn trace = nullptr;
  VirtualLcdExpectFn expect = nullptr;
  VirtualLcdShowWindowFn show_window = nullptr;
};

// Loads the virtual port library and configures its module; a problem when
// it is not the virtual LCD or refuses the settings.
Problem OpenVirtualPort(const Options& options, const Settings& settings, bool window,
                        loader::ModuleHandle* port, VirtualPort* library) {
  std::string reason;
  *port = loader::LoadModule(options.port_library, &reason);
  if (*port == nullptr) {
    return "cannot load the virtual port library " + options.port_library + ": " + reason;
  }
  *library = VirtualPort{loader::FindEntryAs<VirtualLcdSnapshotFn>(*port, kVirtualLcdSnapshot),
                         loader::FindEntryAs<VirtualLcdTraceFn>(*port, kVirtualLcdTraceEntry),
                         loader::FindEntryAs<VirtualLcdExpectFn>(*port, kVirtualLcdExpect),
                         loader::FindEntryAs<VirtualLcdShowWindowFn>(*port, kVirtualLcdShowWindow)};
  if (library->snapshot == nullptr || library->trace == nullptr || library->expect == nullptr ||
      library->show_window == nullptr) {
    return options.port_library + " is not the virtual LCD";
  }
  const int flags = kVirtualLcdProgress | (options.trace ? kVirtualLcdTrace : 0);
  if (const Problem refused = ConfigureVirtualLcd(*port, vlcd::SettingsText(settings.module),
                                                  settings.module.port_base, flags)) {
    return refused;
  }
  if (window) {
    if (const char* refused = library->show_window()) return refused;
  }
  return std::nullopt;
}

// Each "snapshot" saves the screen as PREFIX-1, PREFIX-2, ..., and a failure
// names the page of a built-in pattern rather than its line.
void SaveSnapshots(const VirtualPort& library, Settings& settings) {
  settings.session.snapshot = [&library, &settings, snapshots = 0]() mutable -> Problem {
    int saved = 0;
    const std::string prefix = NumberedPrefix(settings.output, ++snapshots);
    std::printf("Snapshot %d:\n%s", snapshots, library.snapshot(prefix.c_str(), &saved));
    if (saved == 1) return std::nullopt;
    if (!settings.session.lines_named) {
      return "page " + std::to_string(snapshots) + " of the test pattern could not be saved";
    }
    return "snapshot " + std::to_string(snapshots) + " could not be saved";
  };
}

// The options every session on the virtual LCD takes; --window is kept in
// `window`.
Mode AddSessionMode(CLI::App& app, Options* options, const std::string& name,
                    const std::string& what, bool test_pattern) {
  CLI::App* command = app.add_subcommand(name, what);
  AddModuleSettings(*command, options, ModuleSettingsFor::VirtualModule);
  AddDriverOptions(*command, options);
  AddOutputOption(*command, options);
  AddTraceOption(*command, options);
  AddPortLibraryOption(*command, options, "Virtual port library to load");
  auto window = std::make_shared<bool>(false);
  command->add_flag("--window", *window,
                    "Show the virtual LCD live in a window as the session runs (Windows); it "
                    "stays until you press Enter");
  Mode mode;
  mode.command = command;
  mode.saves_screens = SavesScreens::Always;
  mode.check = [window](const Options&) -> Problem {
    if (*window && !kLiveWindowExists) {
      return "--window: the live window is shown on Windows only; without --window the screen "
             "is shown here and saved to files";
    }
    return std::nullopt;
  };
  mode.run = [window, test_pattern](const Options& given, Settings& settings) {
    return RunSessionOnVirtualLcd(given, settings, test_pattern, *window);
  };
  return mode;
}

}  // namespace

Mode AddDemoMode(CLI::App& app, Options* options) {
  return AddSessionMode(app, options, "demo",
                        "The demo, sized to the module, on the virtual LCD: shown and saved "
                        "(what lcd_host runs when given no mode)",
                        false);
}

Mode AddScriptMode(CLI::App& app, Options* options) {
  Mode mode = AddSessionMode(app, options, "script",
                             "A session script on the virtual LCD: shown and saved", false);
  mode.command->add_option("SCRIPT", options->script_path, "The session script (lcd_host --help)")
      ->required()
      ->check(ExistingFileCheck())
      ->type_name("FILE");
  return mode;
}

Mode AddTestPatternMode(CLI::App& app, Options* options) {
  return AddSessionMode(app, options, "test-pattern",
                        "The test pattern, sized to the module, on the virtual LCD; each page "
                        "is saved as a numbered snapshot",
                        true);
}

int RunSessionOnVirtualLcd(const Options& options, Settings& settings, bool test_pattern,
                           bool window) {
  std::vector<ScriptCommand> commands;
  if (const Problem problem =
          ReadSessionScript(options, Builtin{test_pattern, PatternPages::Snapshots}, &commands)) {
    return Fail(kRunError, *problem);
  }
  loader::ModuleHandle port = nullptr;
  VirtualPort library;
  if (const Problem problem = OpenVirtualPort(options, settings, window, &port, &library)) {
    return Fail(kRunError, *problem);
  }

  loader::ModuleHandle module = nullptr;
  DriverEntries driver;
  if (const Problem problem = LoadDriver(options.module, &module, &driver)) {
    return Fail(kRunError, *problem);
  }

  std::printf("%s, %s, parameters \"%s\"\n", driver.DriverName(),
              vlcd::Describe(settings.module).c_str(), settings.session.parameters.c_str());
  SaveSnapshots(library, settings);
  StdoutCapture capture;
  WatchDriverCalls(capture, settings.session,
                   [&library](size_t bytes) { library.expect(static_cast<int64_t>(bytes)); });
  bool driver_open = false;
  const Problem problem = RunCommands(driver, settings.session, commands, &driver_open);
  if (options.trace) std::fputs(library.trace(), stdout);
  int status = 0;
  if (problem) {
    status = Fail(kRunError, *problem + " (the screen was not saved)");
  } else {
    int saved = 0;
    std::fputs(library.snapshot(settings.output.c_str(), &saved), stdout);
    if (saved != 1) status = Fail(kRunError, "the screen could not be saved");
  }
  if (window) {
    std::printf("The window stays open until you press Enter.\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
  }
  // As a host does on exit: shut the driver down, unless the script did,
  // then unload it.
  if (driver_open) settings.session.call_driver([&driver] { driver.Done(); });
  loader::UnloadModule(module);
  loader::UnloadModule(port);
  return status;
}
