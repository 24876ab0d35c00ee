// A character-LCD module on a PC parallel port: the port's pins as wired to
// the module, the controller behind them, and a checker for every timing
// rule a driver that never reads the busy flag must keep.
#ifndef VIRTUAL_LCD_VIRTUAL_LCD_H
#define VIRTUAL_LCD_VIRTUAL_LCD_H

#include <cstdint>
#include <string>
#include <vector>

#include "controller.h"

namespace vlcd {

// The module is wired as the driver drives it: E on pin 1 (Strobe), RS on
// pin 16 (Initialize), R/W on pin 14 (Auto-feed, low to write).
struct Module {
  Chip chip = Chip::HD66712;
  int columns = 20;
  int rows = 4;
  uint16_t port_base = 0x378;
};

struct Violation {
  std::string description;
};

struct VirtualLcd {
  Module module;
  Controller controller;
  // Register contents and when each control line last changed.
  uint8_t data_register = 0;
  uint8_t control_register = 0;
  bool enable_high = false;
  int64_t enable_rose_ns = 0;
  int64_t register_select_changed_ns = 0;
  int64_t data_changed_ns = 0;
  int64_t busy_until_ns = 0;
  // What the driver sent.
  int64_t port_writes = 0;
  int64_t instructions = 0;
  int64_t data_bytes = 0;
  int64_t first_write_ns = -1;
  int64_t last_write_ns = -1;
  std::vector<Violation> violations;
};

VirtualLcd MakeVirtualLcd(const Module& module);
// A module of this chip and size on LPT1, wired the default way.
VirtualLcd MakeVirtualLcd(Chip chip, int columns, int rows);

// One write of the driver's port library, at time `ns`. Writes to other
// addresses than the module's two registers are ignored.
void PortWrite(VirtualLcd& lcd, int32_t port, int32_t value, int64_t ns);

// "N bytes (I instructions, D data) in T ms, V timing violations".
std::string Summary(const VirtualLcd& lcd);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_VIRTUAL_LCD_H
