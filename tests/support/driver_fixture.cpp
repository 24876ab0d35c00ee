#include "driver_fixture.h"

#include "displaydll.h"
#include "driver_records.h"
#include "fake_port_libraries.h"
#include "lcd/display_config.h"

void DriverTest::SetUp() {
  scratch_ = std::make_unique<ScratchDirectory>();
  ResetDriverRecords();
}

void DriverTest::TearDown() {
  ResetDriverRecords();
  scratch_.reset();
}

std::string DriverTest::Init(int columns, int rows, const char* parameters) {
  if (fake_ports::state.present.empty()) fake_ports::state.present["inpout32.dll"] = {};
  return DISPLAYDLL_Init(static_cast<uint8_t>(columns), static_cast<uint8_t>(rows), parameters,
                         &ok_);
}

std::vector<DecodedCycle> DriverTest::TakeCycles() {
  const std::vector<PortWriteRecord> all = fake_ports::state.writes;
  std::vector<PortWriteRecord> fresh(all.begin() + static_cast<std::ptrdiff_t>(taken_), all.end());
  taken_ = all.size();
  std::string error;
  std::vector<DecodedCycle> cycles = DecodeBusCycles(fresh, display_config().port_address, &error);
  EXPECT_EQ(error, "");
  return cycles;
}
