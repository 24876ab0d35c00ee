#include "driver/driver_state.h"

DriverState driver_state;
