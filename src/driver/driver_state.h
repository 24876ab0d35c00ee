#ifndef DRIVER_DRIVER_STATE_H
#define DRIVER_DRIVER_STATE_H

struct DriverState {
  bool initialised = false;  // set by the first start, cleared by shut-down
  bool log_enabled = false;  // read from the parameters of the first start only
  char driver_name[32] = "";
};

const DriverState& driver_state();
// Back to the load-time values, as a fresh load of the module leaves it;
// for the unit tests, which load the driver once for many cases.
void ResetDriverState();
// The first start sets `initialised` and the log choice; shut-down clears
// `initialised` alone.
void MarkDriverStarted(bool log_enabled);
void MarkDriverStopped();
// Joins name and version into `driver_name` and returns it.
const char* FormatDriverName(const char* name, const char* version);

#endif  // DRIVER_DRIVER_STATE_H
