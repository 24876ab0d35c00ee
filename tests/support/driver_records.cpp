#include "driver_records.h"

#include "driver/driver_state.h"
#include "fake_port_libraries.h"
#include "lcd/display_config.h"
#include "lcd/text_output.h"
#include "log/diag_log.h"
#include "port/port_backend.h"
#include "sim_clock.h"

void ResetDriverRecords() {
  dp_close_log();
  log_state = LogState{};
  driver_state = DriverState{};
  port_backend = PortBackend{};
  display_config = DisplayConfig{};
  cursor_state = CursorState{};
  sim_clock::state = sim_clock::State{};
  fake_ports::state = fake_ports::State{};
}
