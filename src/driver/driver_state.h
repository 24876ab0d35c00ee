#ifndef DRIVER_DRIVER_STATE_H
#define DRIVER_DRIVER_STATE_H

struct DriverState {
  bool initialised = false;  // set by the first start, cleared by shut-down
  bool log_enabled = false;  // read from the parameters of the first start only
  char driver_name[32] = "";
};

extern DriverState driver_state;

#endif  // DRIVER_DRIVER_STATE_H
