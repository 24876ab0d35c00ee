// In-process port libraries behind the platform library seam: tests choose
// which file names "exist" and which entries each offers, and read back the
// load attempts and every port write, stamped with virtual time.
#ifndef TESTS_SUPPORT_FAKE_PORT_LIBRARIES_H
#define TESTS_SUPPORT_FAKE_PORT_LIBRARIES_H

#include <list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bus_trace.h"

namespace fake_ports {

struct Library {
  bool has_read = true;
  bool has_write = true;
};

// What a load handed out; it outlives the file, as a loaded library does.
struct LoadedLibrary {
  std::string name;
  Library entries;
};

struct State {
  std::map<std::string, Library> present;  // by file name
  // Files there that do not load: another machine type, or not a library.
  std::set<std::string> wrong_kind;
  // Files beside the driver's own file, where the search does not look.
  std::set<std::string> beside_driver;
  std::list<LoadedLibrary> handles;
  std::vector<std::string> open_attempts;
  std::vector<std::string> loaded;
  std::vector<std::string> released;
  std::vector<PortWriteRecord> writes;
  int open_libraries = 0;
  // Writes that arrived while no library was loaded: calls through a stale entry.
  int writes_without_library = 0;
};

extern State state;

// Makes every standard library file present with both its entries.
void InstallAll();

}  // namespace fake_ports

#endif  // TESTS_SUPPORT_FAKE_PORT_LIBRARIES_H
