// Runs the driver in-process on virtual time with fake port libraries, every
// process-wide record back at its load-time value before each test.
#ifndef TESTS_SUPPORT_DRIVER_FIXTURE_H
#define TESTS_SUPPORT_DRIVER_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bus_trace.h"
#include "scratch_directory.h"

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the driver with "inpout32.dll" present unless the test chose.
  std::string Init(int columns, int rows, const char* parameters);
  // The cycles sent since the last call, decoded at the configured port.
  std::vector<DecodedCycle> TakeCycles();

  uint8_t ok_ = 0xAA;
  std::unique_ptr<ScratchDirectory> scratch_;

 private:
  size_t taken_ = 0;
};

#endif  // TESTS_SUPPORT_DRIVER_FIXTURE_H
