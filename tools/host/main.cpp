// lcd_host: loads a display-driver module the way a host application does,
// runs a session of driver calls against the virtual LCD, and shows the
// screen the module would display.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "driver_module.h"
#include "platform/library.h"
#include "session.h"
#include "virtual_lcd_port.h"

namespace {

namespace fs = std::filesystem;

// A title, a line that wraps onto the next row, and a bar graph drawn with
// glyphs 1-5 (one to five columns lit).
constexpr char kDemoScript[] = R"(# lcd_host demo
init
glyph 1 10 10 10 10 10 10 10 10
glyph 2 18 18 18 18 18 18 18 18
glyph 3 1c 1c 1c 1c 1c 1c 1c 1c
glyph 4 1e 1e 1e 1e 1e 1e 1e 1e
glyph 5 1f 1f 1f 1f 1f 1f 1f 1f
position 1 1
write  HD66712 virtual LCD
position 1 2
write Too long for one row, this line wraps.
position 1 4
write Load\g5\g5\g5\g5\g5\g5\g5\g5\g3 42\xDF
)";

constexpr char kUsage[] =
    "usage: lcd_host [--script FILE] [--columns N] [--rows N] [--chip HD66712|HD44780]\n"
    "                [--params TEXT] [--port ADDRESS] [--output PREFIX] [--module PATH]\n"
    "                [--port-library PATH]\n"
    "Runs the demo session when no script is given. --port is where the virtual\n"
    "module is plugged in (default 0x378, LPT1); the parameters must name it too.\n";

struct Options {
  SessionSettings session;
  std::string chip = "HD66712";
  std::string script_path;
  std::string output = "virtual_lcd";
  int port = 0x378;
  fs::path module;
  fs::path port_library;
  bool parameters_given = false;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  const fs::path tool_folder = fs::absolute(argv[0]).parent_path();
  options->module = tool_folder / HD66712_MODULE_FILE;
  options->port_library = tool_folder / VIRTUAL_PORT_LIBRARY;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (flag == "--script") {
      options->script_path = value;
    } else if (flag == "--columns") {
      options->session.columns = std::atoi(value.c_str());
    } else if (flag == "--rows") {
      options->session.rows = std::atoi(value.c_str());
    } else if (flag == "--chip") {
      options->chip = value;
    } else if (flag == "--params") {
      options->session.parameters = value;
      options->parameters_given = true;
    } else if (flag == "--port") {
      options->port = static_cast<int>(std::strtol(value.c_str(), nullptr, 0));
    } else if (flag == "--output") {
      options->output = value;
    } else if (flag == "--module") {
      options->module = value;
    } else if (flag == "--port-library") {
      options->port_library = value;
    } else {
      return false;
    }
  }
  if (!options->parameters_given) options->session.parameters = "LPT1," + options->chip;
  return options->chip == "HD66712" || options->chip == "HD44780";
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "lcd_host: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string script = kDemoScript;
  if (!options.script_path.empty()) {
    std::ifstream file(options.script_path);
    if (!file) return Fail("cannot read " + options.script_path);
    std::ostringstream text;
    text << file.rdbuf();
    script = text.str();
  }

  // Loaded first, the virtual port is what the driver's own by-name load of
  // "inpout32.dll" finds.
  const std::string port_path = options.port_library.string();
  platform::LibraryHandle port = platform::LibraryOpen(port_path.c_str());
  if (port == nullptr) return Fail("cannot load the virtual port library " + port_path);
  auto configure =
      reinterpret_cast<VirtualLcdConfigureFn>(platform::LibraryFind(port, kVirtualLcdConfigure));
  auto snapshot =
      reinterpret_cast<VirtualLcdSnapshotFn>(platform::LibraryFind(port, kVirtualLcdSnapshot));
  if (configure == nullptr || snapshot == nullptr)
    return Fail(port_path + " is not the virtual LCD");
  configure(options.chip.c_str(), options.session.columns, options.session.rows, options.port);

  const std::string module_path = options.module.string();
  platform::LibraryHandle module = platform::LibraryOpen(module_path.c_str());
  if (module == nullptr) return Fail("cannot load the driver module " + module_path);
  DriverEntries driver;
  const std::string missing = FindDriverEntries(module, &driver);
  if (!missing.empty()) return Fail(module_path + " lacks " + missing);

  std::printf("%s, %dx%d %s, parameters \"%s\"\n", driver.DriverName(), options.session.columns,
              options.session.rows, options.chip.c_str(), options.session.parameters.c_str());
  const std::string error = RunSession(driver, options.session, script);
  std::fputs(snapshot(options.output.c_str()), stdout);
  // As a host does on exit: shut the driver down, then unload it.
  driver.Done();
  platform::LibraryClose(module);
  platform::LibraryClose(port);
  return error.empty() ? 0 : Fail(error);
}
