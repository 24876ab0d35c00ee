#include "lcd/display_config.h"

// The record itself is declared in no header: only this file writes it. The
// unit tests reach it to put it back to its load-time values.
DisplayConfig display_config_record;

const DisplayConfig& display_config() { return display_config_record; }

void SetDisplayConfig(const DisplayConfig& config) { display_config_record = config; }
