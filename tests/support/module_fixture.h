// Loads the built driver module afresh for each test, as a host would, in a
// scratch folder where the test installs stand-in port libraries under the
// names the driver looks for.
#ifndef TESTS_SUPPORT_MODULE_FIXTURE_H
#define TESTS_SUPPORT_MODULE_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bus_trace.h"
#include "driver_module.h"
#include "scratch_directory.h"

// What the recording stand-in appended to the trace file.
struct PortEvent {
  std::string kind;  // "load", "unload" or "write"
  std::string library;
  PortWriteRecord write;
};

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Copies a built stand-in into the scratch folder under `file_name`.
  void InstallPortLibrary(const char* stand_in, const char* file_name);
  std::string Init(int columns, int rows, const char* parameters);

  std::vector<PortEvent> ReadTrace() const;
  std::vector<PortWriteRecord> ReadWrites() const;
  // Load and unload events, as "load inpout32.dll" and so on.
  std::vector<std::string> ReadLifecycle() const;
  // The cycles written so far, decoded at `base`; a malformed cycle fails the test.
  std::vector<DecodedCycle> ReadCycles(int32_t base = 0x378) const;

  static int64_t NowNs();
  loader::ModuleHandle module() const { return module_; }

  DriverEntries driver_;
  uint8_t ok_ = 0xAA;
  std::unique_ptr<ScratchDirectory> scratch_;

 private:
  loader::ModuleHandle module_ = nullptr;
};

#endif  // TESTS_SUPPORT_MODULE_FIXTURE_H
