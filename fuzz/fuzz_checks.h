// Invariant checks for the fuzz targets: a broken one stops the run with a
// message, which libFuzzer reports as a crash with the input that caused it.
#ifndef FUZZ_FUZZ_CHECKS_H
#define FUZZ_FUZZ_CHECKS_H

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bus_trace.h"
#include "fake_port_libraries.h"

#define FUZZ_CHECK(condition, what)                                          \
  do {                                                                       \
    if (!(condition)) {                                                      \
      std::fprintf(stderr, "invariant broken: %s (%s)\n", what, #condition); \
      std::abort();                                                          \
    }                                                                        \
  } while (0)

// The port writes made since `*seen` form whole, well-formed bus cycles at
// `base`, and none went through a released library.
inline void CheckNewBusCycles(size_t* seen, int32_t base) {
  const std::vector<PortWriteRecord>& all = fake_ports::state.writes;
  const std::vector<PortWriteRecord> fresh(all.begin() + static_cast<std::ptrdiff_t>(*seen),
                                           all.end());
  *seen = all.size();
  std::string error;
  DecodeBusCycles(fresh, base, &error);
  FUZZ_CHECK(error.empty(), error.c_str());
  FUZZ_CHECK(fake_ports::state.writes_without_library == 0, "port write without a library");
}

#endif  // FUZZ_FUZZ_CHECKS_H
