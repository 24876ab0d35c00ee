// Arbitrary startup parameter strings, display sizes and port libraries,
// with logging on and off.
//
// Input: columns, rows, a flags byte, then the parameter text. Flags bit 0
// appends "Log"; bits 1-3 install each candidate library; bits 4-5 take its
// read or write entry away.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>

#include "displaydll.h"
#include "driver_records.h"
#include "fuzz_checks.h"
#include "lcd/display_config.h"
#include "port/port_backend.h"

namespace {

// Bits 1-3 of the flags, one a library.
static_assert(std::size(kPortLibraryFiles) <= 3, "one flag bit a port library");

void InstallLibraries(uint8_t flags) {
  for (size_t i = 0; i < std::size(kPortLibraryFiles); ++i) {
    if (flags & (2 << i)) {
      fake_ports::state.present[kPortLibraryFiles[i].file_name] =
          fake_ports::Library{!(flags & 0x10), !(flags & 0x20)};
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  ResetDriverRecords();
  InstallLibraries(data[2]);
  std::string parameters(reinterpret_cast<const char*>(data + 3), size - 3);
  if (data[2] & 1) parameters += "Log";

  uint8_t ok = 0xAA;
  const char* result = DISPLAYDLL_Init(data[0], data[1], parameters.c_str(), &ok);
  FUZZ_CHECK(ok == 0 || ok == 1, "success flag is 0 or 1");
  FUZZ_CHECK(result != nullptr, "Init returns a text");
  if (ok == 1) {
    FUZZ_CHECK(PortBackendReady(), "success without a write entry");
    FUZZ_CHECK(std::strcmp(result, "HD66712 Display v" HD66712_VERSION) == 0,
               "success returns the name");
    FUZZ_CHECK(display_config().width == data[0] && display_config().height == data[1],
               "size taken as given");
  } else {
    FUZZ_CHECK(fake_ports::state.writes.empty(), "failed start wrote to the port");
  }
  size_t seen = 0;
  CheckNewBusCycles(&seen, display_config().port_address);
  DISPLAYDLL_Done();
  std::error_code ignored;
  std::filesystem::remove_all("logs", ignored);
  return 0;
}
