// The port check: which port library the driver would use, whether its
// kernel driver is open, and whether a parallel port answers at the
// address, by writing its registers and reading them back. A standard port
// returns what was written; where no port decodes the address the reads do
// not follow the writes (typically 0xFF).
#include <cstdio>
#include <string>

#include "messages.h"
#include "port_access.h"
#include "port_verdicts.h"
#include "run_modes.h"

namespace {

// Where --host-folder says a host's program is; empty when not given.
std::string host_folder;

}  // namespace

void AddCheckPortOptions(CLI::App& app, const std::string& heading) {
  app.add_flag("--check-port")
      ->description(
          "Check the port: which port library loads, whether its driver is "
          "open, and whether a port answers at --port")
      ->group(heading);
  app.add_option("--host-folder", host_folder,
                 "Check the port library that the driver would load inside a host whose "
                 "program (.exe) is in DIR")
      ->type_name("DIR")
      ->check(CLI::ExistingDirectory.description(""))
      ->group(heading);
}

int RunCheckPort(const Options& options, Settings&) {
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
