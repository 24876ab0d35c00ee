// Starting and shutting down the driver.
#include "displaydll.h"
#include "driver/driver_state.h"
#include "hd66712_log_format.h"
#include "hd66712_parameters.h"
#include "lcd/controller_link.h"
#include "lcd/display_config.h"
#include "lcd/power_up.h"
#include "log/diag_log.h"
#include "port/port_backend.h"

namespace {

// Returns nullptr when a port library is ready to write through.
const char* PreparePortBackend(const char* parameters) {
  if (!driver_state().initialised) {
    MarkDriverStarted(EndsWithLog(parameters));
    dp_enable_log(driver_state().log_enabled);
    dp_open_log();
    dp_log(hd66712_log::kInit, "Called ");
    return LoadPortBackend(driver_state().log_enabled);
  }
  dp_log(hd66712_log::kInit, "reCalled ");
  // A first start that failed left no write entry; reporting success now
  // would leave the host writing to nothing, so the load is tried again.
  if (!PortBackendReady()) return LoadPortBackend(driver_state().log_enabled);
  return nullptr;
}

void Configure(uint8_t columns, uint8_t rows, const char* parameters) {
  DisplayConfig config = display_config();
  config.width = columns;
  config.height = rows;
  dp_logf(hd66712_log::kInit, "%s%d%s%d", hd66712_log::kWidthLabel, config.width,
          hd66712_log::kHeightLabel, config.height);
  config.port_address = ParsePort(parameters);
  const ChipChoice choice = ChooseChip(parameters, driver_state().log_enabled, config.chip_type);
  dp_logf(hd66712_log::kParameters, "%d, l=%d, startup_parameters=%s", choice.position,
          choice.length, parameters);
  config.chip_type = choice.chip;
  dp_logf(hd66712_log::kInit, "%s0x%3x, %s%d", hd66712_log::kPortLabel,
          static_cast<unsigned>(config.port_address), hd66712_log::kChipLabel,
          static_cast<int>(config.chip_type));
  SetDisplayConfig(config);
}

}  // namespace

extern "C" {

const char* DISPLAYDLL_CALL DISPLAYDLL_Init(uint8_t columns, uint8_t rows, const char* parameters,
                                            uint8_t* ok) {
  if (parameters == nullptr) parameters = "";
  if (ok != nullptr) *ok = 0;
  const char* failure = PreparePortBackend(parameters);
  if (failure != nullptr) return failure;
  Configure(columns, rows, parameters);
  PowerUp();
  if (ok != nullptr) *ok = 1;
  return DISPLAYDLL_DriverName();
}

void DISPLAYDLL_CALL DISPLAYDLL_Done(void) {
  dp_log(hd66712_log::kDone, "Bye");
  WriteC(kClearDisplay);
  ReleasePortBackend();
  MarkDriverStopped();
  dp_close_log();
}

}  // extern "C"
