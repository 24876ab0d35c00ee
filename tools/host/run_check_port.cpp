// The port check: which port library the driver would use, whether its
// kernel driver is open, and whether a parallel port answers at the
// address, by writing its registers and reading them back. A standard port
// returns what was written; where no port decodes the address the reads do
// not follow the writes (typically 0xFF).
#include <cstdio>
#include <string>

#include "messages.h"
#include "port_access.h"
#include "run_modes.h"
#include "virtual_lcd.h"

namespace {

constexpr uint8_t kDataPatterns[] = {0x00, 0x55, 0xAA, 0xFF};
// The control register's four output bits; the others are inputs or unused.
constexpr uint8_t kControlOutputs = 0x0F;
constexpr uint8_t kControlPatterns[] = {0x00, 0x05, 0x0A, 0x0F};

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// Writes each pattern and reads it back; true when every read matched.
bool ReadsFollowWrites(const PortLibrary& library, uint16_t port, const uint8_t (&patterns)[4],
                       uint8_t mask, const char* what) {
  std::string wrote;
  std::string read;
  bool follows = true;
  for (uint8_t pattern : patterns) {
    library.Write(port, pattern);
    const uint8_t back = library.Read(port) & mask;
    follows = follows && back == pattern;
    wrote += " " + Hex(pattern, 2);
    read += " " + Hex(back, 2);
  }
  std::printf("%s at %s: wrote%s, read%s\n", what, Hex(port, 3).c_str(), wrote.c_str(),
              read.c_str());
  return follows;
}

}  // namespace

int RunCheckPort(const Options& options) {
  PortLibrary library;
  if (const Problem problem =
          OpenPortLibrary(options.port_library_given ? options.port_library : "", &library)) {
    return Fail(kRunError, *problem);
  }
  std::printf("Port library: %s (entries %s)\n", library.file.c_str(), library.entries.c_str());
  if (library.virtual_pins != nullptr) {
    const std::string file = library.file;
    ClosePortLibrary(&library);
    return Fail(kRunError, file +
                               " is the virtual LCD's library, a simulator: it answers like a "
                               "port but drives none. Check with your own port library.");
  }
  if (library.driver_open != nullptr) {
    if (library.driver_open() == 0) {
      ClosePortLibrary(&library);
      std::printf(
          "the port library's driver is not installed: run its installer once as "
          "administrator. Until then the library loads but every write is lost, so no port "
          "was tried.\n");
      return kRunError;
    }
    std::printf("The port library's driver is open.\n");
  }
  const auto data = static_cast<uint16_t>(options.port);
  const auto control = static_cast<uint16_t>(options.port + vlcd::kControlOffset);
  const bool data_follows = ReadsFollowWrites(library, data, kDataPatterns, 0xFF, "Data register");
  const bool control_follows = ReadsFollowWrites(library, control, kControlPatterns,
                                                 kControlOutputs, "Control register (bits 0-3)");
  LeavePortIdle(library, data);
  ClosePortLibrary(&library);
  const std::string address = Hex(data, 3);
  if (data_follows && control_follows) {
    std::printf("a parallel port answers at %s\n", address.c_str());
  } else {
    std::printf(
        "no port answers at %s. Find your port's address: on Windows in Device Manager, the "
        "port's Resources, \"I/O Range\" (PCI and PCIe cards sit at addresses such as 0xD010 "
        "or 0xE000); on Linux in /proc/sys/dev/parport/*/base-addr or lspci -v. Then give it "
        "with --port. A USB-to-parallel adapter cannot drive an LCD: it emulates a printer, "
        "and no program can set its pins.\n",
        address.c_str());
  }
  return data_follows && control_follows ? 0 : kRunError;
}
