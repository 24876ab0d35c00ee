#include "driver/driver_state.h"

#include <cstdio>

namespace {
// Only this file reads or writes the record; others see it through the
// functions below.
DriverState driver_state_record;
}  // namespace

void ResetDriverState() { driver_state_record = DriverState{}; }

const DriverState& driver_state() { return driver_state_record; }

void MarkDriverStarted(bool log_enabled) {
  driver_state_record.initialised = true;
  driver_state_record.log_enabled = log_enabled;
}

void MarkDriverStopped() { driver_state_record.initialised = false; }

const char* FormatDriverName(const char* name, const char* version) {
  std::snprintf(driver_state_record.driver_name, sizeof driver_state_record.driver_name, "%s%s",
                name, version);
  return driver_state_record.driver_name;
}
