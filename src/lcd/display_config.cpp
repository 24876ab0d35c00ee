#include "lcd/display_config.h"

namespace {
// Only this file reads or writes the record; others see it through the
// functions below.
DisplayConfig display_config_record;
}  // namespace

void ResetDisplayConfig() { display_config_record = DisplayConfig{}; }

const DisplayConfig& display_config() { return display_config_record; }

void SetDisplayConfig(const DisplayConfig& config) { display_config_record = config; }
