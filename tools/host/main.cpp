// lcd_host: loads a display-driver module the way a host application does,
// runs a session of driver calls against the virtual LCD, and shows the
// screen the module would display. With --replay it shows instead what a
// driver log from a real machine should have put on the screen; with
// --write-real-port the driver drives the real module through the user's
// own port library.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "demo_script.h"
#include "driver_module.h"
#include "log_replay.h"
#include "module_settings.h"
#include "platform/library.h"
#include "report.h"
#include "screen.h"
#include "session.h"
#include "test_pattern.h"
#include "virtual_lcd_port.h"

namespace {

namespace fs = std::filesystem;

constexpr int kUsageError = 2;
constexpr int kRunError = 1;

struct Options {
  std::string script_path;
  std::string replay_path;
  std::string columns = "20";
  std::string rows = "4";
  std::string chip_name = "HD66712";
  std::string parameters;
  std::string port = "0x378";
  std::string output = "virtual_lcd";
  std::string module;
  std::string port_library;
  bool trace = false;
  bool test_pattern = false;
  bool real_port = false;
};

// The settings once checked.
struct Settings {
  SessionSettings session;
  vlcd::Module module;
  std::vector<ScriptCommand> commands;
};

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "lcd_host: %s\n", message.c_str());
  return status;
}

void Warn(const std::string& message) {
  std::fprintf(stderr, "lcd_host: warning: %s\n", message.c_str());
}

std::string ReadFile(const std::string& path, std::string* text) {
  std::error_code error;
  if (fs::is_directory(path, error)) return path + " is a folder, not a file";
  std::ifstream file(path, std::ios::binary);
  if (!file) return "cannot read " + path + ": " + std::strerror(errno);
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return "cannot read " + path;
  *text = contents.str();
  return "";
}

// The chip a parameter string names in its second field, as the driver reads it.
std::string ChipNamedIn(const std::string& parameters) {
  const size_t comma = parameters.find(',');
  if (comma == std::string::npos) return "";
  const std::string name = parameters.substr(comma + 1, 7);
  return name == "HD66712" || name == "HD44780" ? name : "";
}

std::string ParametersFor(uint16_t port, const std::string& chip) {
  if (port == 0x378) return "LPT1," + chip;
  if (port == 0x278) return "LPT2," + chip;
  char text[24];
  std::snprintf(text, sizeof text, "0x%X,", port);
  return text + chip;
}

// Returns "" or the message for a bad option, naming it.
std::string CheckOptions(const Options& options, Settings* settings) {
  long columns = 0, rows = 0, port = 0;
  std::string error =
      vlcd::ParseNumber(options.columns, vlcd::NumberForm::Decimal, 0, vlcd::kMaxSize, &columns);
  if (!error.empty()) return "--columns: " + error;
  error = vlcd::ParseNumber(options.rows, vlcd::NumberForm::Decimal, 0, vlcd::kMaxSize, &rows);
  if (!error.empty()) return "--rows: " + error;
  error = vlcd::ParseNumber(options.port, vlcd::NumberForm::Address, 0, vlcd::kMaxPort, &port);
  if (!error.empty()) return "--port: " + error;
  error = vlcd::ParseChip(options.chip_name, &settings->module.chip);
  if (!error.empty()) return "--chip: " + error;
  if (options.output.empty()) return "--output: an empty prefix names no file";
  settings->module.columns = static_cast<int>(columns);
  settings->module.rows = static_cast<int>(rows);
  settings->module.port_base = static_cast<uint16_t>(port);
  settings->session.columns = settings->module.columns;
  settings->session.rows = settings->module.rows;
  settings->session.parameters = options.parameters.empty()
                                     ? ParametersFor(settings->module.port_base, options.chip_name)
                                     : options.parameters;
  return "";
}

void WarnAboutSettings(const Options& options, const Settings& settings) {
  const std::string warning = vlcd::GeometryWarning(settings.module.columns, settings.module.rows);
  if (!warning.empty()) Warn(warning);
  if (options.parameters.empty()) return;
  const std::string named = ChipNamedIn(options.parameters);
  if (named.empty()) {
    if (options.chip_name != "HD66712") {
      Warn("--params names no chip, so the driver keeps its HD66712 setting; the module is " +
           options.chip_name);
    }
  } else if (named != options.chip_name) {
    Warn("--params names " + named + " but the module is " + options.chip_name + " (--chip)");
  }
}

// The output files must not replace a file this run reads.
std::string CheckOutput(const std::string& prefix, const std::vector<fs::path>& inputs) {
  for (const char* extension : {".txt", ".png"}) {
    // A path that cannot be resolved is compared as written.
    std::error_code ignored;
    const fs::path output = fs::weakly_canonical(prefix + extension, ignored);
    for (const fs::path& input : inputs) {
      if (!input.empty() && !output.empty() && output == fs::weakly_canonical(input, ignored)) {
        return "--output: " + prefix + extension + " would overwrite " + input.string();
      }
    }
  }
  return "";
}

// Loads the driver module and finds its entries; returns "" or why not.
std::string LoadDriver(const std::string& path, platform::LibraryHandle* module,
                       DriverEntries* driver) {
  *module = platform::LibraryOpen(path.c_str());
  if (*module == nullptr) return "cannot load the driver module " + path;
  const std::string missing = FindDriverEntries(*module, driver);
  return missing.empty() ? "" : path + " lacks " + missing;
}

std::string NumberedPrefix(const std::string& prefix, int number) {
  return prefix + "-" + std::to_string(number);
}

const vlcd::VirtualLcd& ShownScreen(const ReplayedSession& session) {
  return session.shut_down ? session.before_shut_down : session.lcd;
}

int RunReplay(const Options& options, const Settings& settings) {
  std::string log;
  const std::string error = ReadFile(options.replay_path, &log);
  if (!error.empty()) return Fail(kRunError, error);
  const Replay replay = ReplayLog(log, settings.module);
  for (const std::string& problem : replay.unreadable) Warn(options.replay_path + ": " + problem);
  if (replay.sessions.empty())
    return Fail(kRunError, options.replay_path + " holds no driver session");
  for (const ReplayedSession& session : replay.sessions) {
    std::printf("Session of lines %d-%d on a %dx%d %s, %s:\n", session.first_line,
                session.last_line, settings.module.columns, settings.module.rows,
                vlcd::ChipName(settings.module.chip),
                session.shut_down ? "as it was before the driver shut down and cleared it"
                                  : "as it was at the end of the log");
    const vlcd::VirtualLcd& shown = ShownScreen(session);
    std::fputs((vlcd::FramedScreen(shown) + vlcd::Notes(shown)).c_str(), stdout);
  }
  std::string problems;
  const std::string report =
      vlcd::SaveScreen(ShownScreen(replay.sessions.back()), options.output, &problems);
  std::fputs(report.substr(report.find_last_of('\n', report.size() - 2) + 1).c_str(), stdout);
  return problems.empty() ? 0 : kRunError;
}

struct PortLibrary {
  VirtualLcdConfigureFn configure = nullptr;
  VirtualLcdSnapshotFn snapshot = nullptr;
  VirtualLcdTraceFn trace = nullptr;
};

int RunSessionOnVirtualLcd(const Options& options, Settings& settings) {
  // Loaded first, the virtual port is what the driver's own by-name load of
  // "inpout32.dll" finds.
  platform::LibraryHandle port = platform::LibraryOpen(options.port_library.c_str());
  if (port == nullptr)
    return Fail(kRunError, "cannot load the virtual port library " + options.port_library);
  PortLibrary library{
      reinterpret_cast<VirtualLcdConfigureFn>(platform::LibraryFind(port, kVirtualLcdConfigure)),
      reinterpret_cast<VirtualLcdSnapshotFn>(platform::LibraryFind(port, kVirtualLcdSnapshot)),
      reinterpret_cast<VirtualLcdTraceFn>(platform::LibraryFind(port, kVirtualLcdTraceEntry))};
  if (library.configure == nullptr || library.snapshot == nullptr || library.trace == nullptr) {
    return Fail(kRunError, options.port_library + " is not the virtual LCD");
  }
  const int flags = kVirtualLcdProgress | (options.trace ? kVirtualLcdTrace : 0);
  if (library.configure(vlcd::ChipName(settings.module.chip), settings.module.columns,
                        settings.module.rows, settings.module.port_base, flags) != 1) {
    return Fail(kRunError, "the virtual LCD refused the module's settings");
  }

  platform::LibraryHandle module = nullptr;
  DriverEntries driver;
  std::string error = LoadDriver(options.module, &module, &driver);
  if (!error.empty()) return Fail(kRunError, error);

  std::printf("%s, %dx%d %s, parameters \"%s\"\n", driver.DriverName(), settings.module.columns,
              settings.module.rows, vlcd::ChipName(settings.module.chip),
              settings.session.parameters.c_str());
  int snapshots = 0;
  settings.session.snapshot = [&]() -> std::string {
    int saved = 0;
    const std::string prefix = NumberedPrefix(options.output, ++snapshots);
    std::printf("Snapshot %d:\n%s", snapshots, library.snapshot(prefix.c_str(), &saved));
    return saved == 1 ? "" : "the snapshot could not be saved";
  };
  error = RunCommands(driver, settings.session, settings.commands);
  if (options.trace) std::fputs(library.trace(), stdout);
  int status = 0;
  if (!error.empty()) {
    status = Fail(kRunError, error + " (the screen was not saved)");
  } else {
    int saved = 0;
    std::fputs(library.snapshot(options.output.c_str(), &saved), stdout);
    if (saved != 1) status = Fail(kRunError, "the screen could not be saved");
  }
  // As a host does on exit: shut the driver down, then unload it.
  driver.Done();
  platform::LibraryClose(module);
  platform::LibraryClose(port);
  return status;
}

// No virtual LCD: the driver finds the user's own port library, as under a
// host, and every byte goes to the real port.
int RunOnRealPort(const Options& options, Settings& settings) {
  platform::LibraryHandle module = nullptr;
  DriverEntries driver;
  std::string error = LoadDriver(options.module, &module, &driver);
  if (!error.empty()) return Fail(kRunError, error);
  std::printf(
      "lcd_host: writing the REAL parallel port as \"%s\" says, through the port library the "
      "driver loads (inpout32.dll, else dlportio.dll)\n%s, %dx%d %s\n",
      settings.session.parameters.c_str(), driver.DriverName(), settings.module.columns,
      settings.module.rows, vlcd::ChipName(settings.module.chip));
  int sent = 0;
  settings.session.announce = [&sent](const std::string& line) {
    std::printf("sent: %s\n", line.c_str());
    std::fflush(stdout);
    ++sent;
  };
  settings.session.snapshot = [] {
    return std::string("snapshot saves the virtual LCD's screen; here, look at the module");
  };
  error = RunCommands(driver, settings.session, settings.commands);
  if (!error.empty()) return Fail(kRunError, error);
  // The driver is left running, so the module keeps showing the last screen.
  std::printf("%d commands sent; the module should now show the last screen.\n", sent);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  const fs::path tool_folder = fs::absolute(argv[0]).parent_path();
  // Beside the tool, as in the release; else where the build puts it.
  const fs::path beside = tool_folder / fs::path(HD66712_MODULE_FILE).filename();
  std::error_code missing;
  options.module =
      (fs::exists(beside, missing) ? beside : tool_folder / HD66712_MODULE_FILE).string();
  options.port_library = (tool_folder / VIRTUAL_PORT_LIBRARY).string();

  CLI::App app{
      "Runs a session of driver calls against a virtual LCD and shows the screen the module\n"
      "would display. Without --script it runs a demo sized to the module.\n"};
  app.add_option("--script", options.script_path, "Session script (below)")->type_name("FILE");
  app.add_option("--replay", options.replay_path,
                 "Driver log written with Log: show the screen each session should leave")
      ->type_name("FILE");
  app.add_option("--columns", options.columns, "Module columns, 0-255")
      ->type_name("N")
      ->capture_default_str();
  app.add_option("--rows", options.rows, "Module rows, 0-255")
      ->type_name("N")
      ->capture_default_str();
  app.add_option("--chip", options.chip_name, "HD66712 or HD44780")
      ->type_name("CHIP")
      ->capture_default_str();
  app.add_option("--params", options.parameters,
                 "Driver parameters (default: built from --port and --chip)")
      ->type_name("TEXT");
  app.add_option("--port", options.port, "Where the virtual module is plugged in")
      ->type_name("ADDRESS")
      ->capture_default_str();
  app.add_option("--output", options.output, "Screen files: PREFIX.txt and PREFIX.png")
      ->type_name("PREFIX")
      ->capture_default_str();
  app.add_option("--module", options.module, "Driver module to load")
      ->type_name("PATH")
      ->capture_default_str();
  app.add_option("--port-library", options.port_library, "Virtual port library to load")
      ->type_name("PATH")
      ->capture_default_str();
  app.add_flag("--trace", options.trace, "List every byte the module latched");
  app.add_flag("--test-pattern", options.test_pattern,
               "Run the test pattern sized to the module instead of the demo");
  app.add_flag("--write-real-port", options.real_port,
               "No virtual LCD: the driver writes the real parallel port through your own port "
               "library (runs the test pattern unless --script is given)")
      ->excludes("--replay")
      ->excludes("--trace")
      ->excludes("--port-library");
  app.get_option("--replay")->excludes("--script");
  app.footer(
      "\nScript: one command a line; a line starting with # is a comment.\n"
      "  init                 DISPLAYDLL_Init with the size and --params\n"
      "  position X Y         DISPLAYDLL_SetPosition (1 1 is the top left)\n"
      "  write TEXT           DISPLAYDLL_Write with the rest of the line; \\xHH is a byte\n"
      "                       (01-FF), \\gN glyph N's code (1-8), \\\\ a backslash\n"
      "  glyph N R0 .. R7     DISPLAYDLL_CustomChar, rows in hexadecimal\n"
      "  resume               DISPLAYDLL_PowerResume\n"
      "  done                 DISPLAYDLL_Done\n"
      "  snapshot             save the screen now, as PREFIX-1, PREFIX-2, ...\n"
      "  wait MS              pause MS milliseconds (up to 60000)\n"
      "Exit status: 0 done, 1 the run failed (nothing saved), 2 a bad option.");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return Fail(kUsageError, std::string(e.what()) + " (see --help)");
  }

  for (const char* name : {"--script", "--replay", "--module", "--port-library"}) {
    if (app.count(name) > 0 && app[name]->as<std::string>().empty()) {
      return Fail(kUsageError, std::string(name) + ": an empty path names no file");
    }
  }
  Settings settings;
  const std::string error = CheckOptions(options, &settings);
  if (!error.empty()) return Fail(kUsageError, error);
  WarnAboutSettings(options, settings);
  const std::string clash = CheckOutput(options.output, {options.script_path, options.replay_path,
                                                         options.module, options.port_library});
  if (!clash.empty()) return Fail(kUsageError, clash);

  if (!options.replay_path.empty()) return RunReplay(options, settings);
  // The whole script is checked before anything is loaded or run.
  std::string script;
  std::string script_name = options.script_path;
  if (options.script_path.empty()) {
    const bool pattern = options.test_pattern || options.real_port;
    script_name = pattern ? "test pattern" : "demo";
    script = pattern ? TestPatternScript(settings.module.columns, settings.module.rows)
                     : DemoScript(settings.module.columns, settings.module.rows);
  } else {
    const std::string read_error = ReadFile(options.script_path, &script);
    if (!read_error.empty()) return Fail(kRunError, read_error);
  }
  const std::string script_error = ParseScript(script, &settings.commands);
  if (!script_error.empty()) return Fail(kRunError, script_name + ", " + script_error);
  if (options.real_port) return RunOnRealPort(options, settings);
  return RunSessionOnVirtualLcd(options, settings);
}
