// The port check: which port library the driver would use, whether its
// kernel driver is open, and whether a parallel port answers at the
// address, by writing its registers and reading them back. A standard port
// returns what was written; where no port decodes the address the reads do
// not follow the writes (typically 0xFF).
#include <cstdio>
#include <memory>
#include <string>

#include "messages.h"
#include "port_access.h"
#include "port_verdicts.h"
#include "run_modes.h"

namespace {

int RunCheckPort(const std::string& host_folder, const Options& options) {
  std::string path = options.port_library_given ? options.port_library : "";
  if (!host_folder.empty()) {
    if (const Problem none = FindAsAHostWould(host_folder, &path)) {
      return Fail(kRunError, *none);
    }
  }
  PortLibrary library;
  if (const Problem problem = OpenPortLibrary(
          path, false, &library,
          ", name it with --port-library, or check what a host in a folder DIR would load with "
          "--host-folder DIR")) {
    return Fail(kRunError, *problem);
  }
  std::printf("Port library: %s (entries %s)\n", library.file.c_str(), library.entries.c_str());
  if (library.virtual_pins != nullptr) {
    const std::string file = library.file;
    ClosePortLibrary(&library);
    return Fail(kRunError, file + " " + kIsTheSimulator +
                               ": it answers like a port but drives none. Check with your own "
                               "port library.");
  }
  const auto data = static_cast<uint16_t>(options.port);
  const Problem unreached = CheckPortReached(library, data, PortProbe::BothRegisters);
  ClosePortLibrary(&library);
  if (unreached) return Fail(kRunError, *unreached);
  std::printf("%s %s\n", kPortAnswers, HexAddress(data).c_str());
  return 0;
}

}  // namespace

Mode AddCheckPortMode(CLI::App& app, Options* options) {
  CLI::App* command = app.add_subcommand(
      "check-port",
      "Check the port: which port library loads, whether its driver is open, and whether a "
      "port answers at --port");
  AddPortOption(*command, options);
  AddPortLibraryOption(*command, options,
                       "Your port library to check (default: found as the driver finds it)");
  auto host_folder = std::make_shared<std::string>();
  command
      ->add_option("--host-folder", *host_folder,
                   "Check the port library that the driver would load inside a host whose "
                   "program (.exe) is in DIR")
      ->type_name("DIR")
      ->check(CLI::ExistingDirectory.description(""));
  Mode mode;
  mode.command = command;
  mode.drives_a_port = true;
  mode.check = [command](const Options&) -> Problem {
    if (command->count("--host-folder") > 0 && command->count("--port-library") > 0) {
      return "--host-folder and --port-library: the one finds the library as a host would, the "
             "other names it; give one";
    }
    return std::nullopt;
  };
  mode.run = [host_folder](const Options& given, Settings&) {
    return RunCheckPort(*host_folder, given);
  };
  return mode;
}
