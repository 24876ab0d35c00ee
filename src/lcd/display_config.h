// What the driver knows of the attached module: where it is and its shape.
#ifndef LCD_DISPLAY_CONFIG_H
#define LCD_DISPLAY_CONFIG_H

#include <cstdint>

#include "hd66712_parameters.h"

struct DisplayConfig {
  uint16_t port_address = kLpt1Port;  // data register; control register at +2
  int32_t width = 20;
  int32_t height = 4;
  ChipType chip_type = ChipType::HD66712;
};

const DisplayConfig& display_config();
// Back to the load-time values, as a fresh load of the module leaves it;
// for the unit tests, which load the driver once for many cases.
void ResetDisplayConfig();
// The driver's start records the module it was told of, all at once.
void SetDisplayConfig(const DisplayConfig& config);

#endif  // LCD_DISPLAY_CONFIG_H
