// What a module would show after the port writes the fake libraries took.
#ifndef TESTS_VIRTUAL_LCD_REPLAY_WRITES_H
#define TESTS_VIRTUAL_LCD_REPLAY_WRITES_H

#include "fake_port_libraries.h"
#include "test_lcd.h"
#include "virtual_lcd.h"

inline vlcd::VirtualLcd ReplayWrites(vlcd::Chip chip, int columns, int rows) {
  vlcd::VirtualLcd lcd = MakeTestLcd(chip, columns, rows);
  for (const PortWriteRecord& w : fake_ports::state.writes) {
    vlcd::ReceivePortWrite(lcd, w.port, w.value, w.ns);
  }
  return lcd;
}

#endif  // TESTS_VIRTUAL_LCD_REPLAY_WRITES_H
