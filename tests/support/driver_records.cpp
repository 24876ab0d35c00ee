#include "driver_records.h"

#include "driver/driver_state.h"
#include "fake_port_libraries.h"
#include "lcd/display_config.h"
#include "lcd/text_output.h"
#include "log/diag_log.h"
#include "port/port_backend.h"
#include "sim_clock.h"

// The driver's process-wide records, which no driver header declares: each
// is written only by the file that keeps it. Tests put them back to their
// load-time values here, and nowhere else.
extern DriverState driver_state_record;
extern PortBackend port_backend_record;
extern DisplayConfig display_config_record;
extern CursorState cursor_state_record;
extern LogState log_state_record;

void ResetDriverRecords() {
  dp_close_log();
  driver_state_record = DriverState{};
  port_backend_record = PortBackend{};
  display_config_record = DisplayConfig{};
  cursor_state_record = CursorState{};
  log_state_record = LogState{};
  sim_clock::state = sim_clock::State{};
  fake_ports::state = fake_ports::State{};
}
