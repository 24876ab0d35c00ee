#include "driver_records.h"

#include "driver/driver_state.h"
#include "fake_port_libraries.h"
#include "lcd/display_config.h"
#include "lcd/text_output.h"
#include "log/diag_log.h"
#include "port/port_backend.h"
#include "sim_clock.h"

// Each of the driver's records is kept, and reset, by its own file.
void ResetDriverRecords() {
  dp_close_log();
  ResetDriverState();
  ResetPortBackend();
  ResetDisplayConfig();
  ResetCursorState();
  ResetLogState();
  sim_clock::state = sim_clock::State{};
  fake_ports::state = fake_ports::State{};
}
