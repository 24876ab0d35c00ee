// How the module hangs on the parallel port, as the driver drives it: E on
// pin 1 (Strobe), RS on pin 16 (Initialize), R/W on pin 14 (Auto-feed, low
// to write), DB0-DB7 on the data pins.
#ifndef VIRTUAL_LCD_WIRING_H
#define VIRTUAL_LCD_WIRING_H

#include <cstdint>

#include "module.h"

namespace vlcd {

// A parallel port's control register sits two above its data register; the
// address wraps in 16 bits, as a driver's does.
constexpr int kControlOffset = 2;
constexpr uint16_t ControlRegister(const Module& module) {
  return static_cast<uint16_t>(module.port_base + kControlOffset);
}

// The control register's bits and the connector pins they drive. Strobe,
// Auto-feed and Select-in are inverted between register and pin.
constexpr uint8_t kStrobeBit = 0x01;      // pin 1, the module's E
constexpr uint8_t kAutoFeedBit = 0x02;    // pin 14, R/W
constexpr uint8_t kInitializeBit = 0x04;  // pin 16, RS
constexpr uint8_t kSelectInBit = 0x08;    // pin 17, not wired
// On a bidirectional port: the data lines are inputs, the port drives none.
constexpr uint8_t kDataInputBit = 0x20;
// Every control pin low.
constexpr uint8_t kControlPinsLow = kStrobeBit | kAutoFeedBit | kSelectInBit;

// The levels on the module's pins, a bit each: DB0-DB7 in bits 0-7, then RS,
// R/W and E.
constexpr int kRsPin = 1 << 8;
constexpr int kReadWritePin = 1 << 9;
constexpr int kEnablePin = 1 << 10;

}  // namespace vlcd

#endif  // VIRTUAL_LCD_WIRING_H
