#include "driver/driver_state.h"

#include <cstdio>

// The record itself is declared in no header: only this file writes it. The
// unit tests reach it to put it back to its load-time values.
DriverState driver_state_record;

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
