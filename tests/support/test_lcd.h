// A virtual LCD of a chip and size on LPT1, wired our way: what most tests
// of the model, the stand-in port and the fuzz targets start from.
#ifndef TEST_SUPPORT_TEST_LCD_H
#define TEST_SUPPORT_TEST_LCD_H

#include "virtual_lcd.h"

inline vlcd::VirtualLcd MakeTestLcd(vlcd::Chip chip, int columns, int rows) {
  vlcd::Module module;
  module.chip = chip;
  module.columns = columns;
  module.rows = rows;
  return vlcd::MakeVirtualLcd(module);
}

#endif  // TEST_SUPPORT_TEST_LCD_H
